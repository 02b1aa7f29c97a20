// The player control on its own, in a window of the test: a clip loads with
// its size known, plays at once, pauses, stops, and comes back to the start
// at its end through the graph's event message; options change what it does;
// an empty path closes the clip and a file that is no clip fails without a
// graph left behind.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "player/media_player2.h"
#include "player/player_control.h"
#include "temp_folder.h"
#include "test_clips.h"

namespace {

using player::CPlayerControl;
using player::PlayerOption;
using player::PlayState;

class PlayerControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    ASSERT_TRUE(CPlayerControl::Register());
    host = ::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                             nullptr, nullptr, nullptr);
    control = ::CreateWindowExW(0, player::kPlayerClass, L"", WS_CHILD | WS_VISIBLE, 10, 10, 100,
                                100, host, nullptr, nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    wrapper.Attach(control);
    clip = (folder.Path() / L"clip.avi").wstring();
    ASSERT_TRUE(testing_win::WriteClip(clip, {64, 48, 15}));
  }
  void TearDown() override {
    if (host) ::DestroyWindow(host);
    ::CoUninitialize();
  }

  // Runs the test's message loop until `done` or the time is up.
  template <class Pred>
  bool PumpUntil(Pred done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      ::Sleep(10);
    }
    return true;
  }

  SIZE Size() const {
    RECT rc;
    ::GetWindowRect(control, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
  }

  testing_win::TempFolder folder;
  std::wstring clip;
  HWND host = nullptr;
  HWND control = nullptr;
  CMediaPlayer2 wrapper;
};

TEST_F(PlayerControl, PlaysPausesStopsAndReturnsToTheStartAtTheEnd) {
  EXPECT_EQ(wrapper.SetFileName(clip), S_OK);
  // The clip's size, no narrower than the bar's times, with the bar below.
  EXPECT_EQ(Size().cx, CPlayerControl::kMinWidth);
  EXPECT_EQ(Size().cy, 48 + CPlayerControl::kBarHeight);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
  wrapper.Pause();
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPaused);
  wrapper.Stop();
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kStopped);

  // Half a second of clip: its end arrives as a message and rewinds.
  HWND bar = ::FindWindowExW(control, nullptr, TRACKBAR_CLASSW, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(::SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), 500);
  wrapper.Play();
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
  EXPECT_TRUE(PumpUntil([&] { return wrapper.GetPlayState() == PlayState::kStopped; }));
  EXPECT_EQ(::SendMessageW(bar, TBM_GETPOS, 0, 0), 0);

  // The space bar plays again.
  ::SendMessageW(control, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
  ::SendMessageW(control, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPaused);

  // No clip: nothing to play.
  EXPECT_EQ(wrapper.SetFileName(L""), S_FALSE);
  wrapper.Play();
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kStopped);
}

TEST_F(PlayerControl, OptionsDecideStartSizeAndBar) {
  wrapper.SetOption(PlayerOption::kAutoStart, false);
  wrapper.SetOption(PlayerOption::kAutoSize, false);
  EXPECT_EQ(wrapper.SetFileName(clip), S_OK);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kStopped);
  EXPECT_EQ(Size().cx, 100);  // as created
  wrapper.SetOption(PlayerOption::kAutoSize, true);
  wrapper.SetOption(PlayerOption::kShowPositionBar, false);
  EXPECT_EQ(wrapper.SetFileName(clip), S_OK);
  EXPECT_EQ(Size().cy, 48);
  EXPECT_FALSE(::IsWindowVisible(::FindWindowExW(control, nullptr, TRACKBAR_CLASSW, nullptr)));
  // A number that is no option is refused.
  EXPECT_EQ(::SendMessageW(control, player::kPlayerSetOption, 0x999, TRUE), FALSE);
}

// At the end a looping clip plays on; without rewinding it stays on its end.
TEST_F(PlayerControl, TheEndLoopsOrStaysWhereTheOptionsSay) {
  HWND bar = ::FindWindowExW(control, nullptr, TRACKBAR_CLASSW, nullptr);
  wrapper.SetOption(PlayerOption::kLoop, true);
  ASSERT_EQ(wrapper.SetFileName(clip), S_OK);
  PumpUntil([] { return false; }, std::chrono::milliseconds(1200));
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);

  wrapper.SetOption(PlayerOption::kLoop, false);
  wrapper.SetOption(PlayerOption::kRewindAtEnd, false);
  ASSERT_EQ(wrapper.SetFileName(clip), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return wrapper.GetPlayState() == PlayState::kStopped; }));
  EXPECT_EQ(::SendMessageW(bar, TBM_GETPOS, 0, 0), 500);
}

// Dragging the bar moves the clip and the times; the space bar plays on
// from there.
TEST_F(PlayerControl, DraggingTheBarSeeks) {
  const std::wstring longer = (folder.Path() / L"longer.avi").wstring();
  ASSERT_TRUE(testing_win::WriteClip(longer, {64, 48, 90}));
  wrapper.SetOption(PlayerOption::kAutoStart, false);
  ASSERT_EQ(wrapper.SetFileName(longer), S_OK);
  HWND bar = ::FindWindowExW(control, nullptr, TRACKBAR_CLASSW, nullptr);
  HWND times = ::FindWindowExW(control, nullptr, L"Static", nullptr);
  ASSERT_TRUE(bar && times);
  wchar_t text[64] = L"";
  ::GetWindowTextW(times, text, 64);
  EXPECT_STREQ(text, L"0:00 / 0:03");
  ::SendMessageW(bar, TBM_SETPOS, TRUE, 2100);
  ::SendMessageW(control, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 2100),
                 reinterpret_cast<LPARAM>(bar));
  ::SendMessageW(control, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
  ::GetWindowTextW(times, text, 64);
  EXPECT_STREQ(text, L"0:02 / 0:03");
  EXPECT_EQ(::GetFocus(), control);
  ::SendMessageW(control, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
  // Less than a second is left: the end comes soon and rewinds.
  EXPECT_TRUE(PumpUntil([&] { return wrapper.GetPlayState() == PlayState::kStopped; },
                        std::chrono::milliseconds(2500)));
  ::GetWindowTextW(times, text, 64);
  EXPECT_STREQ(text, L"0:00 / 0:03");
}

// With sound, as the program records its clips: stopped and started again,
// the clip plays from its start for its whole length.
TEST_F(PlayerControl, AClipWithSoundPlaysAgainAfterStop) {
  const std::wstring sound = (folder.Path() / L"sound.avi").wstring();
  ASSERT_TRUE(testing_win::WriteClip(sound, {64, 48, 60, true}));
  ASSERT_EQ(wrapper.SetFileName(sound), S_OK);
  HWND bar = ::FindWindowExW(control, nullptr, TRACKBAR_CLASSW, nullptr);
  for (int round = 0; round < 2; ++round) {
    PumpUntil([] { return false; }, std::chrono::milliseconds(800));
    EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying) << round;
    EXPECT_GT(::SendMessageW(bar, TBM_GETPOS, 0, 0), 400) << round;
    wrapper.Stop();
    EXPECT_EQ(::SendMessageW(bar, TBM_GETPOS, 0, 0), 0);
    wrapper.Play();
  }
}

// Motion JPEG, as other programs write their clips, plays too.
TEST_F(PlayerControl, AMotionJpegClipPlays) {
  const std::wstring mjpeg = (folder.Path() / L"mjpeg.avi").wstring();
  ASSERT_TRUE(testing_win::WriteMjpegClip(mjpeg, 10));
  EXPECT_EQ(wrapper.SetFileName(mjpeg), S_OK);
  EXPECT_EQ(Size().cy, 16 + CPlayerControl::kBarHeight);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
  EXPECT_TRUE(PumpUntil([&] { return wrapper.GetPlayState() == PlayState::kStopped; }));
}

// Files that are no clip, or a clip cut off inside its header, fail to load
// and leave the control empty.
TEST_F(PlayerControl, AFileThatIsNoClipFailsAndLeavesNothingToPlay) {
  const auto text = folder.Path() / L"notes.avi";
  std::ofstream(text) << "not a clip";
  EXPECT_TRUE(FAILED(wrapper.SetFileName(text.wstring())));
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kStopped);
  EXPECT_TRUE(FAILED(wrapper.SetFileName((folder.Path() / L"missing.avi").wstring())));
  // Cut off in the middle of its pictures (no index): what is there plays
  // to its end, or the clip fails; it never hangs.
  const auto cut = folder.Path() / L"cut.avi";
  ASSERT_TRUE(testing_win::WriteClip(cut, {64, 48, 30}));
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
  if (SUCCEEDED(wrapper.SetFileName(cut.wstring()))) {
    EXPECT_TRUE(PumpUntil([&] { return wrapper.GetPlayState() == PlayState::kStopped; }));
  }
  // The control still plays a good clip afterwards.
  EXPECT_EQ(wrapper.SetFileName(clip), S_OK);
  EXPECT_EQ(wrapper.GetPlayState(), PlayState::kPlaying);
}

}  // namespace
