// The capture window and the album window together: a still taken with the
// Image button shows up in the album's file list as soon as the button's
// command returns, in the grid modes as a new thumbnail cell and in the
// details mode as a new, selected row; a still written elsewhere does not.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "album_window.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "res/resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kFirstCell = 2000;  // a cell's control id is 2000 + its list index

int CellCount(HWND list) {
  int count = 0;
  for (HWND child = ::GetWindow(list, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) == L"LumoraThumbnailCell") ++count;
  }
  return count;
}

// The texts of one details row, read through a buffer in the program's own
// address space (the list control writes into its caller's pointers).
class RowReader {
 public:
  explicit RowReader(DWORD pid)
      : m_process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
    if (m_process) m_remote = ::VirtualAllocEx(m_process, nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RowReader() {
    if (m_remote) ::VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    if (m_process) ::CloseHandle(m_process);
  }
  RowReader(const RowReader&) = delete;
  RowReader& operator=(const RowReader&) = delete;

  std::wstring Text(HWND list, int row, int column) const {
    if (!m_remote) return L"<no buffer>";
    auto* base = static_cast<char*>(m_remote);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(base + sizeof(LVITEMW));
    item.cchTextMax = kChars;
    if (!::WriteProcessMemory(m_process, m_remote, &item, sizeof item, nullptr)) return L"<no write>";
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(m_remote), SMTO_BLOCK,
                               5000, &length)) {
      return L"<no answer>";
    }
    wchar_t text[kChars] = {};
    if (!::ReadProcessMemory(m_process, item.pszText, text, sizeof text - sizeof(wchar_t), nullptr)) {
      return L"<no read>";
    }
    return text;
  }

 private:
  static constexpr int kChars = 512;
  static constexpr SIZE_T kBytes = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  HANDLE m_process;
  void* m_remote = nullptr;
};

// A running program with the simulated camera, its capture view and its
// album file list.
class StillIntoAlbum : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0); }
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  void Run(const std::string& settings) {
    if (!settings.empty()) lumora.WriteSettings(settings);
    lumora.Start();
    HWND main = lumora.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (frame = lumora.FindChild(main, L"Video - 352x288")) != nullptr; }));
    view = CaptureView(frame);
    ASSERT_NE(view, nullptr);
    albumFrame = lumora.FindChild(main, L"Album");
    ASSERT_NE(albumFrame, nullptr);
    list = FileList(albumFrame);
    ASSERT_NE(list, nullptr);
    album = lumora.Documents() / "Lumora" / "Default album";
  }

  // The album the tree selected at start is shown once its key is written.
  void WaitUntilDefaultAlbumShown() {
    ASSERT_TRUE(WaitFor([&] {
      if (lumora.Setting("ALBUM", "CurrentSelectAlbum") == album.string()) return true;
      ::Sleep(150);
      return false;
    }));
  }

  // Presses Image and returns once the view has handled the press: the list
  // must show the still by then, without any further waiting.
  void PressImage() {
    DWORD_PTR result = 0;
    ASSERT_TRUE(
        ::SendMessageTimeoutW(view, WM_COMMAND, MAKEWPARAM(IDC_IMAGE_BUTTON, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(view, IDC_IMAGE_BUTTON)),
                              SMTO_BLOCK, 10000, &result));
  }

  int Rows() const { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  bool RowSelected(int row) const {
    return ::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
  }

  // Clicks the cell of list index `index` and returns the file the program
  // then takes as the current one.
  std::string ClickCell(int index) {
    HWND cell = ::GetDlgItem(list, kFirstCell + index);
    if (!cell || !::IsWindowVisible(cell)) return "<no visible cell>";
    ::SendMessageW(cell, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10));
    ::SendMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    return lumora.Setting("ALBUM", "CurrentSelectFile").value_or("");
  }

  // Presses Video, records for a moment and presses Record; returns once
  // the buttons are back.
  void RecordClip() {
    const auto visible = [&](int id) { return ::IsWindowVisible(::GetDlgItem(view, id)) != FALSE; };
    const auto press = [&](int id) {
      ::PostMessageW(view, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(view, id)));
    };
    press(IDC_VIDEO_BUTTON);
    ASSERT_TRUE(WaitFor([&] { return visible(IDC_RECORD_BUTTON); }, 5s));
    ::Sleep(700);
    press(IDC_RECORD_BUTTON);
    ASSERT_TRUE(WaitFor([&] { return visible(IDC_VIDEO_BUTTON); }, 10s));
  }

  LumoraSession lumora;
  HWND view = nullptr;
  HWND albumFrame = nullptr;
  HWND list = nullptr;
  fs::path album;
};

TEST_F(StillIntoAlbum, LargeIconsGetOneCellPerStillOfTheAlbum) {
  Run("[ALBUM]\r\nShowImageMode=1\r\n");
  WaitUntilDefaultAlbumShown();
  ASSERT_EQ(CellCount(list), 0);

  PressImage();
  ASSERT_TRUE(fs::exists(album / "P0000001.BMP"));
  EXPECT_EQ(CellCount(list), 1);
  EXPECT_EQ(Rows(), 1);  // one placeholder row per grid row
  EXPECT_EQ(ClickCell(0), (album / "P0000001.BMP").string());

  PressImage();
  ASSERT_TRUE(fs::exists(album / "P0000002.BMP"));
  EXPECT_EQ(CellCount(list), 2);
  EXPECT_EQ(ClickCell(1), (album / "P0000002.BMP").string());
  EXPECT_EQ(::GetDlgItem(list, kFirstCell + 2), nullptr);

  // Stills sent to a folder apart from the album on show stay out of its list.
  const int rows = Rows();
  const fs::path elsewhere = lumora.Documents() / "Elsewhere";
  ::WritePrivateProfileStringA("Setting", "CapturedImageFilePath", elsewhere.string().c_str(),
                               lumora.SettingsFile().string().c_str());
  PressImage();
  ASSERT_TRUE(fs::exists(elsewhere / "P0000001.BMP"));
  EXPECT_EQ(CellCount(list), 2);
  EXPECT_EQ(Rows(), rows);
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

TEST_F(StillIntoAlbum, DetailsGetOneSelectedRowPerStill) {
  Run("[ALBUM]\r\nShowImageMode=2\r\n");
  WaitUntilDefaultAlbumShown();
  ASSERT_EQ(Rows(), 0);
  const RowReader reader(lumora.ProcessId());

  PressImage();
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(reader.Text(list, 0, 0), L"P0000001.BMP");
  EXPECT_EQ(reader.Text(list, 0, 1), L"297KB");  // 54 + 352 x 288 x 3 bytes
  EXPECT_EQ(reader.Text(list, 0, 2), L"BMP Image");
  EXPECT_EQ(reader.Text(list, 0, 3), (album / "P0000001.BMP").wstring());
  EXPECT_TRUE(RowSelected(0));

  PressImage();
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(reader.Text(list, 1, 0), L"P0000002.BMP");
  EXPECT_EQ(reader.Text(list, 1, 3), (album / "P0000002.BMP").wstring());
  EXPECT_FALSE(RowSelected(0));  // the earlier still lost its selection
  EXPECT_TRUE(RowSelected(1));
  EXPECT_EQ(CellCount(list), 2);
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// At a first start no album is selected and the list is empty; a still goes
// into the default album and is the one file the list then shows.
TEST_F(StillIntoAlbum, FirstStartWithNoAlbumSelected) {
  const fs::path defaultAlbum = lumora.Documents() / "Lumora" / "Default album";
  fs::create_directories(defaultAlbum);
  std::ofstream(defaultAlbum / "earlier.jpg") << "not shown until the album is selected";
  Run("");
  ASSERT_TRUE(WaitFor([&] { return lumora.Setting("ALBUM", "AlbumNum").has_value(); }));
  ASSERT_EQ(CellCount(list), 0);

  PressImage();
  ASSERT_TRUE(fs::exists(album / "P0000001.BMP"));
  EXPECT_EQ(CellCount(list), 1);
  EXPECT_EQ(ClickCell(0), (album / "P0000001.BMP").string());
  EXPECT_EQ(lumora.Setting("ALBUM", "CurrentSelectAlbum").value_or(""), "");
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// An album renamed while it is on show: stills and clips go on landing in
// it, in its new folder, and show up in its list at once.
TEST_F(StillIntoAlbum, RenamedAlbumKeepsTakingStillsAndClips) {
  Run("[ALBUM]\r\nShowImageMode=1\r\n");
  WaitUntilDefaultAlbumShown();
  const fs::path product = lumora.Documents() / "Lumora";
  ::PostMessageW(albumFrame, WM_COMMAND, ID_TREE_CREATE, 0);
  AnswerPrompt(lumora, L"Trip");
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", (product / "Trip").string()));
  ::PostMessageW(albumFrame, WM_COMMAND, ID_TREE_RENAME, 0);
  AnswerPrompt(lumora, L"Holiday");
  const fs::path holiday = product / "Holiday";
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "Album1", holiday.string()));

  PressImage();
  ASSERT_TRUE(fs::exists(holiday / "P0000001.BMP"));
  EXPECT_EQ(CellCount(list), 1);
  EXPECT_EQ(ClickCell(0), (holiday / "P0000001.BMP").string());

  RecordClip();
  EXPECT_TRUE(WaitFor([&] { return fs::exists(holiday / "P0000001.AVI"); }));
  EXPECT_TRUE(WaitFor([&] { return CellCount(list) == 2; }));
  EXPECT_EQ(ClickCell(1), (holiday / "P0000001.AVI").string());
  EXPECT_FALSE(fs::exists(product / "Trip"));  // the old folder does not come back
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());
  ASSERT_TRUE(lumora.Close());
}

// Stills go into the folder "CapturedImageFilePath" names, whole, however
// long its path is within the platform's limit.
TEST_F(StillIntoAlbum, LongStillFolderIsTakenWhole) {
  const fs::path folder = lumora.Documents() / "Lumora" / std::string(100, 'L');
  ASSERT_GT(folder.string().size(), 160u);
  Run("[Setting]\r\nCapturedImageFilePath=" + folder.string() + "\r\n");
  PressImage();
  EXPECT_TRUE(fs::exists(folder / "P0000001.BMP"));
  EXPECT_EQ(CellCount(list), 1);
  ASSERT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e
