// The album tree as a user meets it: the album list in the settings file at
// start, and the TREE menu's commands with their dialogs and messages.
#include <windows.h>

#include <commctrl.h>

#include <fstream>

#include <gtest/gtest.h>

#include "lumora_session.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

const UINT kCreate = 32810;
const UINT kRename = 32831;
const UINT kDelete = 32830;
const UINT kCopy = 32833;
const UINT kPaste = 32834;
const UINT kDisplayMode = 32783;
const int kPromptEdit = 1191;
const UINT kBrowseDetail = 32790;

HWND AlbumTree(HWND album) {
  HWND splitter = ::FindWindowExW(album, nullptr, L"LumoraSplitter", nullptr);
  return splitter ? ::FindWindowExW(splitter, nullptr, WC_TREEVIEWW, nullptr) : nullptr;
}

struct PromptSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindPrompt(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<PromptSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
      ::GetDlgItem(hwnd, kPromptEdit)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Types `text` into the open album dialog (the one with the name box, not
// some other box of the program) and presses OK.
void AnswerPrompt(const LumoraSession& lumora, const std::wstring& text) {
  PromptSearch search{lumora.ProcessId(), nullptr};
  ASSERT_TRUE(WaitFor([&] {
    ::EnumWindows(FindPrompt, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }));
  ::SendMessageW(::GetDlgItem(search.found, kPromptEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_TRUE(LumoraSession::Answer({search.found, L"", L""}, IDOK));
}

void ExpectMessage(const LumoraSession& lumora, const std::wstring& text) {
  auto box = lumora.WaitForDialog();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, text);
  EXPECT_TRUE(LumoraSession::Answer(*box, IDOK));
}

// The settings file is rewritten key by key: wait for the value to arrive.
// The program replaces the file by moving a new one over it, which fails
// while this test holds the file open, so the file is read seldom.
bool Eventually(const LumoraSession& lumora, const char* section, const char* key,
                const std::string& value) {
  return WaitFor([&] {
    if (lumora.Setting(section, key) == value) return true;
    ::Sleep(150);
    return false;
  });
}

bool Gone(const fs::path& p) {
  return WaitFor([&] { return !fs::exists(p); });
}

void Select(HWND tree, int index) {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i = 0; i < index && item; ++i) {
    item = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  ASSERT_NE(item, nullptr);
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

TEST(Albums, FirstStartAndVanishedAlbums) {
  LumoraSession lumora;
  const fs::path product = lumora.Documents() / L"Lumora";
  fs::create_directories(product / L"Kept");
  lumora.WriteSettings("[ALBUM]\r\nAlbumNum=4\r\nAlbum1=" + (product / "Gone1").string() +
                       "\r\nAlbum2=" + (product / "Kept").string() +
                       "\r\nAlbum3=" + (product / "Gone2").string() + "\r\n");
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "Album0", (product / "Default album").string()));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "Album1", (product / "Kept").string()));
  // Without "ShowImageMode" no album is selected at first.
  EXPECT_FALSE(lumora.Setting("ALBUM", "CurrentSelectAlbum").value_or("").size());
  EXPECT_TRUE(lumora.Close());
}

TEST(Albums, StoredDisplayModeSelectsTheDefaultAlbum) {
  LumoraSession lumora;
  lumora.WriteSettings("[ALBUM]\r\nShowImageMode=7\r\n");
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  const std::string defaultAlbum = (lumora.Documents() / "Lumora" / "Default album").string();
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", "1"));  // unknown modes become 1
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", defaultAlbum));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", defaultAlbum));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", defaultAlbum));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "SortType", "1"));

  // The toolbar's Display  Mode button cycles 1, 2, 3, 1; the drop-down's
  // entries pick a mode. The album stays the current one throughout.
  HWND album = lumora.FindChild(lumora.WaitForMainWindow(), L"Album");
  ASSERT_NE(album, nullptr);
  for (const char* mode : {"2", "3", "1"}) {
    ::PostMessageW(album, WM_COMMAND, kDisplayMode, 0);
    EXPECT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", mode));
  }
  ::PostMessageW(album, WM_COMMAND, kBrowseDetail, 0);
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", defaultAlbum));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", defaultAlbum));
  EXPECT_TRUE(lumora.Close());
}

TEST(Albums, CreateRenameCopyPasteDelete) {
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND album = lumora.FindChild(main, L"Album");
  ASSERT_NE(album, nullptr);
  HWND tree = AlbumTree(album);
  ASSERT_NE(tree, nullptr);
  const fs::path product = lumora.Documents() / L"Lumora";
  const std::string trip = (product / "Trip").string();

  ::PostMessageW(album, WM_COMMAND, kCreate, 0);
  AnswerPrompt(lumora, L"Trip");
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "Album1", trip));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", trip));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", trip));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", trip));
  EXPECT_TRUE(fs::is_directory(product / L"Trip"));

  ::PostMessageW(album, WM_COMMAND, kCreate, 0);  // same folder, other letter case
  AnswerPrompt(lumora, L"TRIP");
  ExpectMessage(lumora, L"Selected directory already is a Album, Please choice another directory!");

  ::PostMessageW(album, WM_COMMAND, kRename, 0);
  AnswerPrompt(lumora, L"Default album");
  ExpectMessage(lumora, L"Album Default album already exist.Please input another name.");
  ::PostMessageW(album, WM_COMMAND, kRename, 0);
  AnswerPrompt(lumora, L"Holiday");
  const std::string holiday = (product / "Holiday").string();
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "Album1", holiday));
  EXPECT_TRUE(fs::is_directory(product / L"Holiday"));
  EXPECT_FALSE(fs::exists(product / L"Trip"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", holiday));

  // Paste a.jpg into an album that holds a.jpg and Copy of a.jpg.
  std::ofstream(product / L"Default album" / L"a.jpg") << "new";
  std::ofstream(product / L"Holiday" / L"a.jpg") << "old";
  std::ofstream(product / L"Holiday" / L"Copy of a.jpg") << "old";
  ::PostMessageW(album, WM_COMMAND, kPaste, 0);  // nothing copied yet: nothing happens
  Select(tree, 0);
  ::PostMessageW(album, WM_COMMAND, kCopy, 0);
  ::PostMessageW(album, WM_COMMAND, kPaste, 0);
  ExpectMessage(lumora, L"Can't copy file in same Album!");
  Select(tree, 1);
  ::PostMessageW(album, WM_COMMAND, kPaste, 0);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(product / L"Holiday" / L"Copy of(1)a.jpg"); }));
  EXPECT_TRUE(fs::exists(product / L"Holiday" / L"settings.ini"));

  fs::create_directories(product / L"Holiday" / L"inner");
  ::PostMessageW(album, WM_COMMAND, kDelete, 0);
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "1"));
  EXPECT_TRUE(Gone(product / L"Holiday" / L"a.jpg"));
  EXPECT_TRUE(fs::exists(product / L"Holiday" / L"inner"));  // a folder inside keeps it
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", ""));

  Select(tree, 0);
  ::PostMessageW(album, WM_COMMAND, kDelete, 0);
  ExpectMessage(lumora, L"This is default album,Cannot be deleted.");
  EXPECT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e
