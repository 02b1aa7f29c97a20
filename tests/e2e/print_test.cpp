// Printing a picture from the editor on the test printer (Wine's PostScript
// driver, A4 at 600 dpi, the whole sheet printable) into a file: the file
// on disk is printed, not the unsaved change, at the size and place the page
// rules give. The page is rendered with Ghostscript and measured with
// ImageMagick, both run as Unix programs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "lumora_session.h"
#include "resource.h"
#include "solid_bmp.h"
#include "test_printer.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kPrintToFileBox = 0x410;  // the print dialog's "Print to file"
constexpr int kFileNameBox = 1148;      // the file dialogs' name box

// The Unix path of a file, through Wine's own export.
std::string UnixPath(const fs::path& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(path.wstring().c_str());
  if (!unix) return {};
  std::string out = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

// Runs a shell command line as a Unix process and waits for `done` to
// appear (Wine starts Unix programs without a handle to wait on).
bool RunShell(const std::string& command, const fs::path& done) {
  std::wstring line = L"/bin/sh -c \"" + std::wstring(command.begin(), command.end()) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  return WaitFor([&] { return fs::exists(done); }, 60s);
}

// The box around what the page shows, as "WIDTHxHEIGHT+X+Y" in pixels of
// the page rendered at 600 dpi.
std::string PrintedBox(const fs::path& postscript) {
  const fs::path png = postscript.parent_path() / L"page.png";
  const fs::path box = postscript.parent_path() / L"box.txt";
  const fs::path done = postscript.parent_path() / L"done";
  const std::string command =
      "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pnggray -r600 -sOutputFile='" + UnixPath(png) + "' '" +
      UnixPath(postscript) + "' && convert '" + UnixPath(png) +
      "' -bordercolor white -border 1 -threshold 50% -format %@ info: > '" + UnixPath(box) +
      "'; touch '" + UnixPath(done) + "'";
  if (!RunShell(command, done)) return "no render";
  std::ifstream in(box);
  std::string text;
  std::getline(in, text);
  return text;
}

class Print : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_win::InstallTestPrinter(L"FILE:"));
    album = lumora.Documents() / L"Lumora" / L"Default album";
    fs::create_directories(album);
  }

  // Print in the preview, "Print to file" in the print dialog, then the
  // output file's name; waits for the preview to close.
  void PrintToFile(const fs::path& output) {
    HWND preview = WaitForDialogWith(lumora, IDC_PRINT_PREVIEW_PRINT);
    ASSERT_NE(preview, nullptr);
    ::PostMessageW(preview, WM_COMMAND, IDC_PRINT_PREVIEW_PRINT, 0);
    HWND printDialog = WaitForDialogWith(lumora, kPrintToFileBox);
    ASSERT_NE(printDialog, nullptr);
    ::SendMessageW(::GetDlgItem(printDialog, kPrintToFileBox), BM_SETCHECK, BST_CHECKED, 0);
    ::PostMessageW(printDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(printDialog, IDOK)));
    HWND saveDialog = WaitForDialogWith(lumora, kFileNameBox);
    ASSERT_NE(saveDialog, nullptr);
    EXPECT_EQ(WindowText(saveDialog), L"Print to File");
    ::SendMessageW(::GetDlgItem(saveDialog, kFileNameBox), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(output.wstring().c_str()));
    ::PostMessageW(saveDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(saveDialog, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(preview); }, 60s));
  }

  LumoraSession lumora;
  fs::path album;
};

TEST_F(Print, TheEditorPrintsTheSavedFileAtTheSizeAndPlaceOfThePageRules) {
  testing_win::WriteSolidBmp(album / L"a.bmp", 640, 480, 0);
  lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
  AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.main && windows.list);
  HWND cell = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (cell = ::GetDlgItem(windows.list, 2000)) && ::IsWindowVisible(cell); }));
  DoubleClickCell(cell);
  ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora - Image Editing (a.bmp)"; }));

  // A quarter turn that is not saved: the page shows the file as it is.
  ::PostMessageW(windows.main, WM_COMMAND, ID_IMAGE_ROTATE_CW, 0);
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EDIT_PRINT, 0);
  const auto question = lumora.WaitForMessage(L"The modified image hasn't be saved, save it now?");
  ASSERT_TRUE(question);
  LumoraSession::Answer(*question, IDNO);
  const fs::path output = lumora.Documents() / L"page.ps";
  PrintToFile(output);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(output) && fs::file_size(output) > 0; }, 30s));
  EXPECT_TRUE(::IsWindowEnabled(windows.main));
  // 640 x 480 at s = 4724 / 1024 (200 mm at 600 dpi): 2952 x 2214 at the
  // top left (the rendering has a white border of one pixel, and its page
  // of 841.89 points is a pixel higher than the printer's).
  int width = 0, height = 0, x = 0, y = 0;
  const std::string box = PrintedBox(output);
  ASSERT_EQ(std::sscanf(box.c_str(), "%dx%d+%d+%d", &width, &height, &x, &y), 4) << box;
  EXPECT_EQ(width, 2952);
  EXPECT_EQ(height, 2214);
  EXPECT_EQ(x, 1);
  EXPECT_NEAR(y, 1, 1);
  EXPECT_EQ(lumora.Setting("ALBUM", "CurrentSelectFile").value_or(""), (album / L"a.bmp").string());
}

// The album's Print: nothing chosen is refused; a JPEG picture is previewed
// and printed through a temporary bitmap file that goes afterwards.
TEST_F(Print, TheAlbumPrintsTheChosenJpegPicture) {
  const fs::path done = lumora.Documents() / L"made";
  ASSERT_TRUE(RunShell("convert -size 640x480 xc:black '" + UnixPath(album / L"b.jpg") + "' && touch '" +
                           UnixPath(done) + "'",
                       done));
  lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
  AlbumWindows windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.main && windows.list);
  HWND cell = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (cell = ::GetDlgItem(windows.list, 2000)) && ::IsWindowVisible(cell); }));

  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_PRINT, 0);
  ExpectMessage(lumora, L"Please select an image");

  ClickCell(cell);
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_PRINT, 0);
  const fs::path output = lumora.Documents() / L"album.ps";
  PrintToFile(output);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(output) && fs::file_size(output) > 0; }, 30s));
  EXPECT_FALSE(fs::exists(lumora.Documents() / L"Lumora" / L"Edit" / L"PrintTempFile.bmp"));
  int width = 0, height = 0, x = 0, y = 0;
  const std::string box = PrintedBox(output);
  ASSERT_EQ(std::sscanf(box.c_str(), "%dx%d+%d+%d", &width, &height, &x, &y), 4) << box;
  EXPECT_EQ(width, 2952);
  EXPECT_EQ(height, 2214);
}

}  // namespace
}  // namespace e2e
