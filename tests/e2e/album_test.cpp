// The album tree as a user meets it: the album list in the settings file at
// start, and the TREE menu's commands with their dialogs and messages.
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "../win/recycle_bin_probe.h"
#include "album_window.h"
#include "lumora_session.h"
#include "res/resource.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

bool Gone(const fs::path& p) {
  return WaitFor([&] { return !fs::exists(p); });
}

// A file content no earlier run left in the Recycle Bin.
std::string UniqueContent(const char* what) {
  return std::string(what) + " of run " + std::to_string(::GetTickCount64()) + "-" +
         std::to_string(::GetCurrentProcessId());
}

// A click on the label of the tree's root item number `index`, as the
// mouse gives it (the tree takes the focus).
// The Delete key, to whatever window of the program has the focus.
void PressDelete(HWND main) {
  HWND focus = FocusOfThread(main);
  ::PostMessageW(focus, WM_KEYDOWN, VK_DELETE, 0x01530001);
  ::PostMessageW(focus, WM_KEYUP, VK_DELETE, 0xC1530001);
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
    ::PostMessageW(album, WM_COMMAND, ID_ALBUM_DISPLAY_MODE, 0);
    EXPECT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", mode));
  }
  ::PostMessageW(album, WM_COMMAND, ID_BROWSE_DETAIL, 0);
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", defaultAlbum));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", defaultAlbum));
  EXPECT_TRUE(lumora.Close());
}

TEST(Albums, CreateRenameCopyPasteDelete) {
  LumoraSession lumora;
  const AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.tree);
  HWND album = windows.frame;
  HWND tree = windows.tree;
  const fs::path product = lumora.Documents() / L"Lumora";
  const std::string trip = (product / "Trip").string();

  ::PostMessageW(album, WM_COMMAND, ID_TREE_CREATE, 0);
  AnswerPrompt(lumora, L"Trip");
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "Album1", trip));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", trip));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", trip));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", trip));
  EXPECT_TRUE(fs::is_directory(product / L"Trip"));

  ::PostMessageW(album, WM_COMMAND, ID_TREE_CREATE, 0);  // same folder, other letter case
  AnswerPrompt(lumora, L"TRIP");
  ExpectMessage(lumora, L"Selected directory already is a Album, Please choice another directory!");

  ::PostMessageW(album, WM_COMMAND, ID_TREE_RENAME, 0);
  AnswerPrompt(lumora, L"Default album");
  ExpectMessage(lumora, L"Album Default album already exist.Please input another name.");
  // The editor's working folder beside the albums is no album: its files
  // go at every exit.
  ::PostMessageW(album, WM_COMMAND, ID_TREE_RENAME, 0);
  AnswerPrompt(lumora, L"EDIT");
  ExpectMessage(lumora, L"Album EDIT already exist.Please input another name.");
  EXPECT_TRUE(fs::is_directory(product / L"Trip"));
  ::PostMessageW(album, WM_COMMAND, ID_TREE_CREATE, 0);
  AnswerPrompt(lumora, L"edit", false);  // refused before any folder is made
  ExpectMessage(lumora, L"Album edit already exist.Please input another name.");
  EXPECT_TRUE(WaitFor([&] { return !lumora.WaitForDialog(0ms).has_value(); }));  // and the dialog
  EXPECT_FALSE(fs::exists(product / L"edit"));
  EXPECT_EQ(lumora.Setting("ALBUM", "AlbumNum"), "2");

  ::PostMessageW(album, WM_COMMAND, ID_TREE_RENAME, 0);
  AnswerPrompt(lumora, L"Holiday");
  const std::string holiday = (product / "Holiday").string();
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "Album1", holiday));
  EXPECT_TRUE(fs::is_directory(product / L"Holiday"));
  EXPECT_FALSE(fs::exists(product / L"Trip"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", holiday));
  // New stills and clips follow the album into its new folder.
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedImageFilePath", holiday));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", holiday));

  // Paste a.jpg into an album that holds a.jpg and Copy of a.jpg.
  const std::string old = UniqueContent("a.jpg");
  std::ofstream(product / L"Default album" / L"a.jpg") << "new";
  std::ofstream(product / L"Holiday" / L"a.jpg") << old;
  std::ofstream(product / L"Holiday" / L"Copy of a.jpg") << "old";
  ::PostMessageW(album, WM_COMMAND, ID_ALBUM_PASTE, 0);  // nothing copied yet: nothing happens
  Select(tree, 0);
  ::PostMessageW(album, WM_COMMAND, ID_ALBUM_COPY, 0);
  ::PostMessageW(album, WM_COMMAND, ID_ALBUM_PASTE, 0);
  ExpectMessage(lumora, L"Can't copy file in same Album!");
  Select(tree, 1);
  ::PostMessageW(album, WM_COMMAND, ID_ALBUM_PASTE, 0);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(product / L"Holiday" / L"Copy of(1)a.jpg"); }));
  EXPECT_TRUE(fs::exists(product / L"Holiday" / L"settings.ini"));

  fs::create_directories(product / L"Holiday" / L"inner");
  ::PostMessageW(album, WM_COMMAND, ID_TREE_DELETE, 0);
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "1"));
  EXPECT_TRUE(Gone(product / L"Holiday" / L"a.jpg"));
  EXPECT_TRUE(fs::exists(product / L"Holiday" / L"inner"));  // a folder inside keeps it
  EXPECT_EQ(testing_win::TakeFromRecycleBin(L"a.jpg", old), 1);  // not gone for good
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", ""));
  // Clips no longer go into the deleted album's folder.
  EXPECT_TRUE(
      Eventually(lumora, "Setting", "CapturedVideoFilePath", (product / "Default album").string()));

  Select(tree, 0);
  ::PostMessageW(album, WM_COMMAND, ID_TREE_DELETE, 0);
  ExpectMessage(lumora, L"This is default album,Cannot be deleted.");
  EXPECT_TRUE(lumora.Close());
}

// A count of albums far beyond the list's capacity: the program starts as
// quickly as ever and shows the albums there are.
TEST(Albums, HugeAlbumCountStartsPromptly) {
  LumoraSession lumora;
  const fs::path kept = lumora.Documents() / L"Lumora" / L"Kept";
  fs::create_directories(kept);
  lumora.WriteSettings("[ALBUM]\r\nAlbumNum=999999999\r\nAlbum1=" + kept.string() + "\r\n");
  const AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.tree);
  EXPECT_EQ(::SendMessageW(windows.tree, TVM_GETCOUNT, 0, 0), 2);
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "2"));
  EXPECT_TRUE(Eventually(lumora, "ALBUM", "Album1", kept.string()));
  EXPECT_TRUE(lumora.Close());
}

// The list holds 1000 albums: a further one would be left out at the next
// start, so Create says so instead of asking for a name.
TEST(Albums, FullAlbumListTakesNoFurtherAlbum) {
  LumoraSession lumora;
  const fs::path product = lumora.Documents() / L"Lumora";
  std::string settings = "[ALBUM]\r\nAlbumNum=1000\r\nShowImageMode=1\r\n";
  for (int i = 1; i < 1000; ++i) {
    const fs::path folder = product / ("A" + std::to_string(i));
    fs::create_directories(folder);
    settings += "Album" + std::to_string(i) + "=" + folder.string() + "\r\n";
  }
  lumora.WriteSettings(settings);
  const AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.tree);
  EXPECT_EQ(::SendMessageW(windows.tree, TVM_GETCOUNT, 0, 0), 1000);
  ::PostMessageW(windows.frame, WM_COMMAND, ID_TREE_CREATE, 0);
  ExpectMessage(lumora, L"The album list is full (1000 albums). Please delete an album first.");
  EXPECT_FALSE(lumora.WaitForDialog(300ms).has_value());  // no name asked for
  EXPECT_EQ(lumora.Setting("ALBUM", "AlbumNum"), "1000");
  EXPECT_TRUE(lumora.Close());
}

// The Delete key acts on what has the keyboard focus. A click on a picture
// gives it to the file list in every display mode, so the key then asks
// about the picture and never deletes the album on show; with the focus on the tree it does, and the
// album's folder and files go to the Recycle Bin.
TEST(Albums, DeleteKeyFollowsTheClickAndDeletedAlbumsGoToTheRecycleBin) {
  LumoraSession lumora;
  const fs::path product = lumora.Documents() / L"Lumora";
  const fs::path trip = product / L"Trip";
  fs::create_directories(trip);
  const std::string content = UniqueContent("a.jpg");
  std::ofstream(trip / L"a.jpg") << content;
  std::ofstream(trip / L"b.jpg") << "b";
  lumora.WriteSettings("[ALBUM]\r\nAlbumNum=2\r\nAlbum1=" + trip.string() +
                       "\r\nShowImageMode=1\r\n");
  const AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.tree && windows.list);
  const auto [main, album, tree, list] = windows;
  const std::string defaultAlbum = (product / "Default album").string();
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", defaultAlbum));

  for (const char* nextMode : {"2", "3", "1"}) {  // large icons, details, small icons
    ClickTreeItem(tree, 1);
    ASSERT_TRUE(Eventually(lumora, "ALBUM", "CurrentSelectAlbum", trip.string()));
    ASSERT_TRUE(WaitFor([&] { return FocusOfThread(main) == tree; }));
    HWND cell = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      cell = ::GetDlgItem(list, 2000);
      return cell && ::IsWindowVisible(cell);
    }));
    ClickCell(cell);
    EXPECT_TRUE(WaitFor([&] { return FocusOfThread(main) == list; })) << nextMode;
    PressDelete(main);
    // The key asks about the selected file, not the album; Cancel keeps it.
    const auto ask = lumora.WaitForMessage(L"Are you sure of deleting the seleted file(s)?");
    ASSERT_TRUE(ask) << nextMode;
    EXPECT_EQ(ask->caption, L"Information");
    LumoraSession::Answer(*ask, IDCANCEL);
    // The mode command comes behind the key, so once it is done, so is the key.
    ::PostMessageW(album, WM_COMMAND, ID_ALBUM_DISPLAY_MODE, 0);
    ASSERT_TRUE(Eventually(lumora, "ALBUM", "ShowImageMode", nextMode));
    EXPECT_TRUE(fs::exists(trip / L"a.jpg")) << nextMode;
    EXPECT_EQ(lumora.Setting("ALBUM", "AlbumNum"), "2") << nextMode;
    EXPECT_FALSE(lumora.WaitForDialog(200ms).has_value());
  }

  ClickTreeItem(tree, 1);
  ASSERT_TRUE(WaitFor([&] { return FocusOfThread(main) == tree; }));
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", trip.string()));
  PressDelete(main);
  ASSERT_TRUE(Eventually(lumora, "ALBUM", "AlbumNum", "1"));
  EXPECT_TRUE(Gone(trip));
  EXPECT_EQ(testing_win::TakeFromRecycleBin(L"a.jpg", content), 1);  // the folder, with its files
  EXPECT_TRUE(Eventually(lumora, "Setting", "CapturedVideoFilePath", defaultAlbum));
  EXPECT_FALSE(lumora.WaitForDialog(200ms).has_value());
  EXPECT_TRUE(lumora.Close());
}

}  // namespace
}  // namespace e2e
