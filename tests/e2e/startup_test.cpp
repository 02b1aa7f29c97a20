// Start-up and exit of Lumora.exe as a user meets them.
#include <gtest/gtest.h>

#include <fstream>

#include "lumora_session.h"

namespace e2e {
namespace {

TEST(Startup, FirstStartCreatesTheFoldersAndTheSettingsFile) {
  LumoraSession lumora;
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(lumora.Documents() / L"Lumora" / L"Default album"));
  EXPECT_EQ(lumora.Setting("Setting", "Init"), "TRUE");

  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(lumora.ExitCode(), 0u);
  EXPECT_EQ(lumora.Setting("Setting", "Index"), "0");
  EXPECT_FALSE(std::filesystem::exists(lumora.SettingsFile().wstring() + L".new"));
}

TEST(Startup, ExitRemovesOnlyTheEditorsWorkingFiles) {
  {
    LumoraSession lumora;
    const auto edit = lumora.Documents() / L"Lumora" / L"Edit";
    std::filesystem::create_directories(edit / L"kept");
    std::ofstream(edit / L"temp.bmp") << "x";
    std::ofstream(edit / L"changed.bmp") << "x";
    std::ofstream(edit / L"PrintTempFile.bmp") << "x";
    std::ofstream(edit / L"P0000001.BMP") << "a picture of the user";
    std::ofstream(edit / L"kept" / L"inner.bmp") << "x";
    lumora.Start();
    ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(lumora.Close());
    // The working files go; the user's own files, a folder inside and so
    // the folder itself stay.
    EXPECT_FALSE(std::filesystem::exists(edit / L"temp.bmp"));
    EXPECT_FALSE(std::filesystem::exists(edit / L"changed.bmp"));
    EXPECT_FALSE(std::filesystem::exists(edit / L"PrintTempFile.bmp"));
    EXPECT_TRUE(std::filesystem::exists(edit / L"P0000001.BMP"));
    EXPECT_TRUE(std::filesystem::exists(edit / L"kept" / L"inner.bmp"));
  }
  LumoraSession lumora;
  const auto edit = lumora.Documents() / L"Lumora" / L"Edit";
  std::filesystem::create_directories(edit);
  std::ofstream(edit / L"temp.bmp") << "x";
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(lumora.Close());
  EXPECT_FALSE(std::filesystem::exists(edit));
}

// The still-image service commands run the system's net.exe: a net.exe in
// the program's folder runs neither at start nor at exit.
TEST(Startup, ServiceCommandsNeverRunANetProgramInTheProgramFolder) {
  LumoraSession lumora;
  const std::filesystem::path program = lumora.Documents().parent_path() / L"program";
  std::filesystem::create_directories(program);
  std::filesystem::copy_file(BinFolder() + L"Lumora.exe", program / L"Lumora.exe");
  std::filesystem::copy_file(BinFolder() + L"planted_net.exe", program / L"net.exe");
  lumora.SetProgramFolder(program);
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  ASSERT_TRUE(lumora.Close());
  EXPECT_FALSE(WaitFor([&] { return std::filesystem::exists(program / L"net-ran.txt"); }, 2s));
}

TEST(Startup, StandingWindowsAndTheReducedMenu) {
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"Lumora");

  // 800 x 600, centred on the 1024 x 768 screen.
  RECT frame;
  ::GetWindowRect(main, &frame);
  EXPECT_EQ(frame.right - frame.left, 800);
  EXPECT_EQ(frame.bottom - frame.top, 600);
  EXPECT_EQ(frame.left, (1024 - 800) / 2);
  EXPECT_EQ(frame.top, (768 - 600) / 2);

  HWND video = lumora.FindChild(main, L"Video");
  HWND album = lumora.FindChild(main, L"Album");
  ASSERT_NE(video, nullptr);
  ASSERT_NE(album, nullptr);
  const RECT v = RectInParent(video);
  EXPECT_EQ(v.left, 0);
  EXPECT_EQ(v.top, 0);
  EXPECT_EQ(v.right - v.left, 352);
  EXPECT_EQ(v.bottom - v.top, 390);
  EXPECT_EQ(::GetWindowLongW(video, GWL_STYLE) & WS_THICKFRAME, 0);

  // The album window fills the room beside it and is the active one.
  RECT client;
  ::GetClientRect(main, &client);
  const RECT a = RectInParent(album);
  EXPECT_EQ(a.left, 352);
  EXPECT_EQ(a.top, 0);
  EXPECT_EQ(a.right - a.left, client.right - 352 - 3);
  EXPECT_EQ(a.bottom - a.top, client.bottom - 64);
  HWND mdiClient = ::GetParent(album);
  EXPECT_EQ(reinterpret_cast<HWND>(::SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, 0)), album);

  // The status bar's idle text.
  HWND status = ::FindWindowExW(main, nullptr, L"msctls_statusbar32", nullptr);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(WindowText(status), L"For Help,Press F1");
  EXPECT_TRUE(lumora.Close());
}

TEST(Startup, LargeVideoWindowGivesTheLargeFrame) {
  LumoraSession lumora;
  lumora.WriteSettings("[Setting]\r\nInit=TRUE\r\nWindowSize=640x480\r\n");
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  RECT frame;
  ::GetWindowRect(main, &frame);
  EXPECT_EQ(frame.right - frame.left, 960);
  EXPECT_EQ(frame.bottom - frame.top, 680);
  EXPECT_EQ(frame.left, (1024 - 960) / 2);
  HWND video = lumora.FindChild(main, L"Video");
  ASSERT_NE(video, nullptr);
  const RECT v = RectInParent(video);
  EXPECT_EQ(v.right - v.left, 640);
  EXPECT_EQ(v.bottom - v.top, 580);
  // A stored settings file is not reset by a later start.
  EXPECT_EQ(lumora.Setting("Setting", "WindowSize"), "640x480");
  EXPECT_TRUE(lumora.Close());
}

TEST(Startup, UnknownWindowSizeKeepsTheDefaultPlaces) {
  LumoraSession lumora;
  lumora.WriteSettings("[Setting]\r\nInit=TRUE\r\nWindowSize=12x34\r\n");
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  RECT frame;
  ::GetWindowRect(main, &frame);
  EXPECT_EQ(frame.right - frame.left, 800);
  EXPECT_EQ(frame.bottom - frame.top, 600);
  HWND video = lumora.FindChild(main, L"Video");
  ASSERT_NE(video, nullptr);
  const RECT v = RectInParent(video);
  EXPECT_NE(v.bottom - v.top, 390);  // left where the frame put it
  EXPECT_TRUE(lumora.Close());
}

TEST(Startup, NarrowScreenAsksAndNoEndsTheProgram) {
  LumoraSession lumora;
  lumora.Start(L"Narrow");  // a 640 x 480 desktop
  auto box = lumora.WaitForDialog();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"Warning!");
  EXPECT_EQ(box->text,
            L"The Lumora cannot run properly at the resolution below 800x600. \nIgnore and "
            L"continue?");
  ASSERT_NE(::GetDlgItem(box->hwnd, IDYES), nullptr);
  ASSERT_TRUE(LumoraSession::Answer(*box, IDNO));
  ASSERT_TRUE(lumora.WaitForExit());
  // Nothing was started: no settings file, no folders.
  EXPECT_FALSE(std::filesystem::exists(lumora.Documents() / L"Lumora"));
}

TEST(Startup, NarrowScreenYesRunsMaximised) {
  LumoraSession lumora;
  lumora.Start(L"Narrow");
  auto box = lumora.WaitForDialog();
  ASSERT_TRUE(box);
  ASSERT_TRUE(LumoraSession::Answer(*box, IDYES));
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(main) != FALSE; }));
  EXPECT_TRUE(lumora.Close());
}

TEST(Startup, AboutBoxAndExitCommand) {
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_COMMAND, 32957, 0);
  auto about = lumora.WaitForDialog();
  ASSERT_TRUE(about);
  EXPECT_EQ(about->caption, L"About Lumora");
  EXPECT_EQ(WindowText(::GetDlgItem(about->hwnd, 1100)), L"Lumora");
  ASSERT_TRUE(LumoraSession::Answer(*about, IDOK));

  ::PostMessageW(main, WM_COMMAND, 32844, 0);  // E&xit: no question
  ASSERT_TRUE(lumora.WaitForExit());
  EXPECT_EQ(lumora.Setting("Setting", "Index"), "0");
}

}  // namespace
}  // namespace e2e
