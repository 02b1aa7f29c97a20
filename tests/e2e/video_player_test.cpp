// The video mode as a user meets it: a clip recorded with the camera opens
// from the album with a double click and plays (frames on the screen, the
// position bar moving, pause holding the picture, the end back on the first
// frame); the space bar plays and pauses; Previous and Next walk the clip's
// folder and say so at its ends; Save a copy writes the same bytes; a picture
// opened from the video mode goes to the editor; a clip's sound reaches the
// sound server; a damaged clip gives a message.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "../win/avi_reader.h"
#include "album_window.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "player/player_api.h"
#include "resource.h"
#include "test_clips.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using player::PlayState;
using testing_win::WriteClip;

constexpr int kFrameToolBar = 0xE800;
constexpr int kFirstCell = 2000;
// File name box of the file dialogs (explorer style, then the old style).
constexpr int kFileNameCombo = 0x47C, kFileNameEdit = 0x480;

struct FoundChild {
  const wchar_t* className;
  HWND hwnd;
};

BOOL CALLBACK FindClass(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<FoundChild*>(lp);
  if (ClassName(hwnd) != search->className) return TRUE;
  search->hwnd = hwnd;
  return FALSE;
}

// The first window of `className` anywhere below `parent`.
HWND FindDescendant(HWND parent, const wchar_t* className) {
  FoundChild search{className, nullptr};
  ::EnumChildWindows(parent, FindClass, reinterpret_cast<LPARAM>(&search));
  return search.hwnd;
}

PlayState StateOf(HWND player) {
  DWORD_PTR state = 0;
  ::SendMessageTimeoutW(player, player::kPlayerGetPlayState, 0, 0, SMTO_BLOCK, 5000, &state);
  return static_cast<PlayState>(state);
}

void Send(HWND player, UINT message) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(player, message, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

void PressSpace(HWND player) {
  ::PostMessageW(player, WM_KEYDOWN, VK_SPACE, 1);
  ::PostMessageW(player, WM_KEYUP, VK_SPACE, 0xC0000001);
}

// The renderer's window inside the player: the child that is neither the
// position bar nor the time text.
HWND PictureWindow(HWND player) {
  for (HWND child = ::GetWindow(player, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring cls = ClassName(child);
    if (cls != TRACKBAR_CLASSW && cls != L"Static" && ::IsWindowVisible(child)) return child;
  }
  return nullptr;
}

// What the screen shows of a window's client area, top row first, as
// blue-green-red triples.
struct Shot {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgr;
};

Shot TakeShot(HWND hwnd) {
  Shot shot;
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  POINT origin{0, 0};
  ::ClientToScreen(hwnd, &origin);
  shot.width = rc.right;
  shot.height = rc.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    ::SelectObject(memory, old);
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
      shot.bgr.insert(shot.bgr.end(), pixels + i * 4, pixels + i * 4 + 3);
    }
  }
  if (bitmap) ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return shot;
}

// The mean difference per colour value; large when the sizes differ.
double Difference(const Shot& a, const Shot& b) {
  if (a.width != b.width || a.height != b.height || a.bgr.empty()) return 255;
  double sum = 0;
  for (size_t i = 0; i < a.bgr.size(); ++i) sum += std::abs(int{a.bgr[i]} - int{b.bgr[i]});
  return sum / static_cast<double>(a.bgr.size());
}

// The clip's first frame (a bottom-up DIB) as a shot.
Shot FirstFrame(const fs::path& clip) {
  const testing_win::AviFile avi = testing_win::ReadAvi(clip);
  Shot shot;
  if (avi.streams.empty() || avi.streams[0].format.size() < 40) return shot;
  BITMAPINFOHEADER h;
  std::memcpy(&h, avi.streams[0].format.data(), sizeof h);
  for (const auto* chunk : avi.ChunksOf(0)) {
    if (chunk->data.empty()) continue;
    shot.width = h.biWidth;
    shot.height = h.biHeight;
    const int stride = (h.biWidth * 3 + 3) & ~3;
    if (chunk->data.size() < static_cast<size_t>(stride * h.biHeight)) return {};
    for (int y = h.biHeight - 1; y >= 0; --y) {
      const auto* row = chunk->data.data() + static_cast<size_t>(y) * stride;
      shot.bgr.insert(shot.bgr.end(), row, row + h.biWidth * 3);
    }
    break;
  }
  return shot;
}

std::vector<std::uint8_t> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The clips of a folder in the order of the platform's folder search.
std::vector<std::wstring> SearchOrder(const fs::path& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder / L"*.avi").wstring().c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(data.cFileName);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

class VideoPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
    album = lumora.Documents() / L"Lumora" / L"Default album";
    fs::create_directories(album);
  }
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  // The list shows thumbnails from the first start on.
  void Start() {
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
    windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.main && windows.list);
  }

  // Double-clicks the list's file `index` and waits for the player to play.
  void Open(int index) {
    HWND cell = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      cell = ::GetDlgItem(windows.list, kFirstCell + index);
      return cell && ::IsWindowVisible(cell);
    }));
    DoubleClickCell(cell);
    ASSERT_TRUE(WaitFor(
        [&] { return (player = FindDescendant(windows.main, player::kPlayerClass)) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }))
        << static_cast<int>(StateOf(player));
  }

  // A close request in the video or editing mode returns to the standing
  // windows; the second one ends the program.
  bool CloseBothModes() {
    ::PostMessageW(windows.main, WM_CLOSE, 0, 0);
    return WaitFor([&] { return lumora.FindChild(windows.main, L"Album") != nullptr; }) &&
           lumora.Close();
  }

  void Command(UINT id) {
    ::PostMessageW(windows.main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(windows.main, kFrameToolBar)));
  }

  std::wstring Title() const { return WindowText(windows.main); }
  static std::wstring PlayingTitle(const std::wstring& name) {
    return L"Lumora - Playing Video (" + name + L")";
  }

  // Answers the file dialog titled `title` with `path`.
  void ChooseFile(const std::wstring& title, const fs::path& path) {
    auto dialog = lumora.WaitForDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, title);
    HWND name = ::GetDlgItem(dialog->hwnd, kFileNameCombo);
    if (!name) name = ::GetDlgItem(dialog->hwnd, kFileNameEdit);
    ASSERT_NE(name, nullptr);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.wstring().c_str()));
    EXPECT_TRUE(LumoraSession::Answer(*dialog, IDOK));
  }

  LumoraSession lumora;
  fs::path album;
  AlbumWindows windows;
  HWND player = nullptr;
};

// Recorded with the camera, played from the album: frames reach the screen,
// the bar moves, pause holds the picture, the end shows the first frame
// again, and a close request brings the standing windows back.
TEST_F(VideoPlayer, ARecordedClipPlaysPausesAndEndsOnItsFirstFrame) {
  Start();
  HWND capture = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (capture = lumora.FindChild(windows.main, L"Video - 352x288")) != nullptr; }));
  HWND view = CaptureView(capture);
  Press(view, IDC_VIDEO_BUTTON);
  ASSERT_TRUE(WaitFor([&] { return Visible(view, IDC_RECORD_BUTTON); }, 5s));
  ::Sleep(2500);
  Press(view, IDC_RECORD_BUTTON);
  const fs::path clip = album / L"P0000001.AVI";
  ASSERT_TRUE(WaitFor([&] { return testing_win::ReadAvi(clip).hasIndex; }, 10s));

  Open(0);
  EXPECT_TRUE(WaitFor([&] { return Title() == PlayingTitle(L"P0000001.AVI"); })) << Title();
  EXPECT_EQ(lumora.FindChild(windows.main, L"Album"), nullptr);
  HWND bar = FindDescendant(player, TRACKBAR_CLASSW);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::SendMessageW(bar, TBM_GETPOS, 0, 0) > 0; }, 3s));
  // The player is centred in its view, also after the main window grew,
  // and has the keyboard (space bar).
  auto centred = [&] {
    const RECT place = RectInParent(player);
    RECT room{};
    ::GetClientRect(::GetParent(player), &room);
    return place.left == (room.right - (place.right - place.left)) / 2 &&
           place.top == (room.bottom - (place.bottom - place.top)) / 2;
  };
  EXPECT_TRUE(centred());
  const LONG left = RectInParent(player).left;
  RECT frame{};
  ::GetWindowRect(windows.main, &frame);
  ::SetWindowPos(windows.main, nullptr, 0, 0, frame.right - frame.left + 120,
                 frame.bottom - frame.top + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitFor([&] { return RectInParent(player).left == left + 60 && centred(); }));
  EXPECT_EQ(FocusOfThread(player), player);
  HWND picture = PictureWindow(player);
  ASSERT_NE(picture, nullptr);
  const Shot first = FirstFrame(clip);
  ASSERT_EQ(first.width, 352);

  // Stop: the first frame, and the bar at the start.
  Send(player, player::kPlayerStop);
  EXPECT_EQ(StateOf(player), PlayState::kStopped);
  EXPECT_TRUE(WaitFor([&] { return Difference(TakeShot(picture), first) < 6; }, 8s))
      << Difference(TakeShot(picture), first);
  EXPECT_EQ(::SendMessageW(bar, TBM_GETPOS, 0, 0), 0);

  // The space bar plays: a second later the picture has moved on.
  PressSpace(player);
  ASSERT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }));
  ::Sleep(1000);
  EXPECT_GT(Difference(TakeShot(picture), first), 6);

  // Paused, the picture holds.
  PressSpace(player);
  ASSERT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPaused; }));
  ::Sleep(300);
  const Shot paused = TakeShot(picture);
  ::Sleep(700);
  EXPECT_EQ(Difference(TakeShot(picture), paused), 0);

  // Played to its end, the clip shows its first frame again.
  PressSpace(player);
  EXPECT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kStopped; }, 10s));
  EXPECT_TRUE(WaitFor([&] { return Difference(TakeShot(picture), first) < 6; }, 3s))
      << Difference(TakeShot(picture), first);
  EXPECT_EQ(::SendMessageW(bar, TBM_GETPOS, 0, 0), 0);

  ::PostMessageW(windows.main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Title() == L"Lumora"; }));
  EXPECT_TRUE(WaitFor([&] { return lumora.FindChild(windows.main, L"Album") != nullptr; }));
  EXPECT_TRUE(
      WaitFor([&] { return lumora.FindChild(windows.main, L"Video - 352x288") != nullptr; }));
  EXPECT_FALSE(::IsWindow(player));
  EXPECT_TRUE(lumora.Close());
}

// Previous and Next go through the folder in its search order, with the
// title following, and say so at the ends.
TEST_F(VideoPlayer, PreviousAndNextWalkTheFolderAndStopAtItsEnds) {
  for (const wchar_t* name : {L"b.avi", L"c.avi", L"a.avi"}) ASSERT_TRUE(WriteClip(album / name));
  Start();
  Open(0);
  const std::vector<std::wstring> order = SearchOrder(album);
  ASSERT_EQ(order.size(), 3u);
  std::wstring now;
  ASSERT_TRUE(WaitFor([&] {
    now = Title();
    return now.starts_with(L"Lumora - Playing Video (");
  }));
  auto at = std::find_if(order.begin(), order.end(),
                         [&](const std::wstring& n) { return PlayingTitle(n) == now; });
  ASSERT_NE(at, order.end()) << now;

  for (auto i = at + 1; i != order.end(); ++i) {
    Command(ID_TB_VIDEO_NEXT);
    EXPECT_TRUE(WaitFor([&] { return Title() == PlayingTitle(*i); })) << Title();
    EXPECT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }));
  }
  Command(ID_TB_VIDEO_NEXT);
  auto box = lumora.WaitForMessage(L"This is the last file in the dirctory");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"Lumora");
  EXPECT_TRUE(LumoraSession::Answer(*box, IDOK));

  for (auto i = order.rbegin() + 1; i != order.rend(); ++i) {
    Command(ID_TB_VIDEO_PREV);
    EXPECT_TRUE(WaitFor([&] { return Title() == PlayingTitle(*i); })) << Title();
  }
  Command(ID_TB_VIDEO_PREV);
  box = lumora.WaitForMessage(L"This is the first file in the directory");
  ASSERT_TRUE(box);
  EXPECT_TRUE(LumoraSession::Answer(*box, IDOK));
  EXPECT_EQ(Title(), PlayingTitle(order.front()));
  EXPECT_TRUE(CloseBothModes());
}

// Save a copy writes the clip's bytes under the new name and plays on;
// Open cancelled plays the clip again; a clip opened from another folder
// makes Previous and Next walk that folder; a picture opened from the video
// mode goes to the editor, a ".jpeg" one (no type the editor knows) is
// refused with the clip playing on.
TEST_F(VideoPlayer, SaveACopyThenOpenAnotherClipAndAPicture) {
  ASSERT_TRUE(WriteClip(album / L"clip.avi", {64, 48, 30}));
  const fs::path other = lumora.Documents() / L"elsewhere";
  fs::create_directories(other);
  const auto& jpeg = testing_win::GreyJpeg();
  for (const wchar_t* name : {L"photo.jpeg", L"photo.jpg"}) {
    std::ofstream(other / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  }
  Start();
  Open(0);

  Command(ID_TB_VIDEO_SAVE);
  ChooseFile(L"Save Video File As", other / L"copy.avi");
  const auto original = Bytes(album / L"clip.avi");
  EXPECT_TRUE(WaitFor([&] { return Bytes(other / L"copy.avi") == original; }));
  EXPECT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }));

  Command(ID_TB_VIDEO_OPEN);
  auto dialog = lumora.WaitForDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->caption, L"Open Image/Video File");
  EXPECT_TRUE(LumoraSession::Answer(*dialog, IDCANCEL));
  EXPECT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }));
  EXPECT_EQ(Title(), PlayingTitle(L"clip.avi"));

  // The menu's Open, as the video view takes it; the path comes back in
  // capitals.
  ::PostMessageW(windows.main, WM_COMMAND, ID_FILE_OPEN, 0);
  ChooseFile(L"Open Image/Video File", other / L"copy.avi");
  EXPECT_TRUE(WaitFor([&] { return Title() == PlayingTitle(L"COPY.AVI"); })) << Title();
  EXPECT_TRUE(WaitFor([&] { return StateOf(player) == PlayState::kPlaying; }));
  Command(ID_TB_VIDEO_NEXT);
  auto box = lumora.WaitForMessage(L"This is the last file in the dirctory");
  ASSERT_TRUE(box);
  EXPECT_TRUE(LumoraSession::Answer(*box, IDOK));

  ::PostMessageW(windows.main, WM_COMMAND, ID_FILE_OPEN, 0);
  ChooseFile(L"Open Image/Video File", other / L"photo.jpeg");
  ExpectMessage(lumora, L"program don't support this format");
  EXPECT_TRUE(::IsWindow(player));
  ::PostMessageW(windows.main, WM_COMMAND, ID_FILE_OPEN, 0);
  ChooseFile(L"Open Image/Video File", other / L"photo.jpg");
  EXPECT_TRUE(WaitFor([&] { return Title() == L"Lumora - Image Editing (PHOTO.JPG)"; }))
      << Title();
  EXPECT_FALSE(::IsWindow(player));
  EXPECT_EQ(lumora.FindChild(windows.main, L"Album"), nullptr);
  HWND toolbar = ::GetDlgItem(windows.main, kFrameToolBar);
  EXPECT_EQ(::SendMessageW(toolbar, TB_COMMANDTOINDEX, ID_TB_EDIT_PREV, 0), 21);
  EXPECT_TRUE(CloseBothModes());
}

// A clip's PCM sound is played to the sound server: its null sink's
// monitor, the default recording source, hears the tone.
TEST_F(VideoPlayer, AClipsSoundReachesTheSoundServer) {
  ASSERT_TRUE(WriteClip(album / L"tone.avi", {64, 48, 150, true}));
  Start();
  Open(0);
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
  HWAVEIN in = nullptr;
  if (::waveInOpen(&in, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    CloseBothModes();
    GTEST_SKIP() << "no sound server";
  }
  std::vector<std::int16_t> samples(22050 * 2);
  WAVEHDR header{};
  header.lpData = reinterpret_cast<LPSTR>(samples.data());
  header.dwBufferLength = static_cast<DWORD>(samples.size() * 2);
  ::waveInPrepareHeader(in, &header, sizeof header);
  ::waveInAddBuffer(in, &header, sizeof header);
  ::waveInStart(in);
  WaitFor([&] { return (header.dwFlags & WHDR_DONE) != 0; }, 5s);
  ::waveInReset(in);
  ::waveInUnprepareHeader(in, &header, sizeof header);
  ::waveInClose(in);
  const auto recorded = samples.begin() + header.dwBytesRecorded / 2;
  const int loudest = std::accumulate(samples.begin(), recorded, 0, [](int m, std::int16_t s) {
    return std::max(m, std::abs(int{s}));
  });
  EXPECT_GT(header.dwBytesRecorded, 0u);
  EXPECT_GT(loudest, 4000);
  EXPECT_TRUE(CloseBothModes());
}

// A clip cut off in the middle of its header: a message, then the video
// mode with nothing to play, which Back leaves.
TEST_F(VideoPlayer, ADamagedClipGivesAMessage) {
  ASSERT_TRUE(WriteClip(album / L"whole.avi"));
  auto bytes = Bytes(album / L"whole.avi");
  fs::remove(album / L"whole.avi");
  bytes.resize(100);
  std::ofstream(album / L"cut.avi", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  Start();
  HWND cell = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (cell = ::GetDlgItem(windows.list, kFirstCell)) != nullptr; }));
  DoubleClickCell(cell);
  auto box =
      lumora.WaitForMessage(L"This video file can't be played. It may be damaged or incomplete.");
  ASSERT_TRUE(box);
  EXPECT_TRUE(LumoraSession::Answer(*box, IDOK));
  Command(ID_TB_VIDEO_BACK);
  EXPECT_TRUE(WaitFor([&] { return lumora.FindChild(windows.main, L"Album") != nullptr; }));
  EXPECT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e
