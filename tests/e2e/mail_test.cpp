// E-mail of the album's selected files through the test mail service (a
// MAPI32.DLL beside the program that records what it is sent): one message
// with the selected files that still exist, the list's last first; the
// messages for an empty selection and for a missing mail service.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "album_window.h"
#include "base/handles.h"
#include "lumora_session.h"
#include "resource.h"
#include "solid_bmp.h"
#include "test_pictures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// An environment variable of this process (and so of the program it
// starts) while the object lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name, nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const wchar_t* m_name;
};

// Which mail service Lumora.exe loads, as Wine's per-program DLL
// override (Wine takes WINEDLLOVERRIDES from the Unix environment only, so
// the registry is the way to reach a program this test starts): "native,
// builtin" takes the test mail service beside the program, "" none at all.
class ScopedMailService {
 public:
  explicit ScopedMailService(const wchar_t* loadOrder) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, m_key.Put(), nullptr);
    ::RegSetValueExW(m_key.Get(), L"mapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                     static_cast<DWORD>((::lstrlenW(loadOrder) + 1) * sizeof(wchar_t)));
  }
  ~ScopedMailService() { ::RegDeleteValueW(m_key.Get(), L"mapi32"); }
  ScopedMailService(const ScopedMailService&) = delete;
  ScopedMailService& operator=(const ScopedMailService&) = delete;

 private:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Lumora.exe\\DllOverrides";
  base::RegKey m_key;
};

std::vector<std::string> Lines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The messages recorded so far, each as its lines up to "end".
std::vector<std::vector<std::string>> Messages(const fs::path& record) {
  std::vector<std::vector<std::string>> messages(1);
  for (const std::string& line : Lines(record)) {
    if (line == "end") {
      messages.emplace_back();
    } else {
      messages.back().push_back(line);
    }
  }
  messages.pop_back();
  return messages;
}


// The record of one attachment: the full path of a file of the album.
std::string Attachment(const fs::path& album, const std::wstring& name) {
  return "file reserved=0 flags=0 position=-1 path=" + (album / name).string() +
         " name=(none) type=(none)";
}

void CtrlClick(HWND cell) {
  ::PostMessageW(cell, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(10, 10));
  ::PostMessageW(cell, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(10, 10));
}

class Mail : public ::testing::Test {
 protected:
  void SetUp() override {
    album = lumora.Documents() / L"Lumora" / L"Default album";
    fs::create_directories(album);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"}) testing_win::WriteSolidBmp(album / name, 4, 3, 0x60);
    lumora.WriteSettings("[ALBUM]\r\nShowImageMode=1\r\n");
  }

  // The list's cells in their order, once all three are there.
  std::vector<HWND> Cells() {
    std::vector<HWND> cells;
    EXPECT_TRUE(WaitFor([&] {
      cells.clear();
      for (int i = 0; i < 3; ++i) {
        HWND cell = ::GetDlgItem(windows.list, 2000 + i);
        if (cell && ::IsWindowVisible(cell)) cells.push_back(cell);
      }
      return cells.size() == 3;
    }));
    return cells;
  }

  LumoraSession lumora;
  fs::path album;
  AlbumWindows windows;
};

TEST_F(Mail, SelectedFilesGoAsOneMessageTheListsLastFirstWithoutTheFilesThatAreGone) {
  const fs::path record = lumora.Documents() / L"mail.txt";
  const ScopedMailService service(L"native,builtin");
  const ScopedEnvironment recordTo(L"LUMORA_MAIL_RECORD", record.wstring());
  windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.main && windows.list);
  const std::vector<HWND> cells = Cells();
  ASSERT_EQ(cells.size(), 3u);
  // Posted to the program's one thread, the clicks come before the command.
  for (HWND cell : cells) CtrlClick(cell);
  const std::vector<std::wstring> order = NamesInFolderOrder(album, L"*.bmp");  // the list's order
  ASSERT_EQ(order.size(), 3u);

  // The album window's E-mail button goes through the main window's command.
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EMAIL, 0);
  ASSERT_TRUE(WaitFor([&] { return Messages(record).size() == 1; }));
  EXPECT_EQ(Messages(record)[0],
            (std::vector<std::string>{"session=0 window=0 flags=0x9 reserved=0", "subject=Picture",
                                      "note=Hello", "type=(none)", "recipients=0", "attachments=3",
                                      Attachment(album, order[2]), Attachment(album, order[1]),
                                      Attachment(album, order[0])}));

  // A selected file deleted on disk is left out; the list's own E-mail
  // command hands over to the main window.
  fs::remove(album / order[1]);
  ::PostMessageW(windows.list, WM_COMMAND, ID_IMAGE_EMAIL, 0);
  ASSERT_TRUE(WaitFor([&] { return Messages(record).size() == 2; }));
  const std::vector<std::string> second = Messages(record)[1];
  ASSERT_EQ(second.size(), 8u);
  EXPECT_EQ(second[5], "attachments=2");
  EXPECT_EQ(second[6], Attachment(album, order[2]));
  EXPECT_EQ(second[7], Attachment(album, order[0]));

  // With every selected file gone there is nothing to send.
  fs::remove(album / order[0]);
  fs::remove(album / order[2]);
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EMAIL, 0);
  const auto box = lumora.WaitForMessage(L"Please select a file!");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"Lumora");
  LumoraSession::Answer(*box, IDOK);
  EXPECT_EQ(Messages(record).size(), 2u);
}

TEST_F(Mail, NothingSelectedAndAMissingMailServiceAreTold) {
  // No mail service at all: the platform's library is switched off.
  const ScopedMailService service(L"");
  windows = StartWithAlbumWindow(lumora);
  ASSERT_TRUE(windows.main && windows.list);
  const std::vector<HWND> cells = Cells();
  ASSERT_EQ(cells.size(), 3u);

  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EMAIL, 0);
  ExpectMessage(lumora, L"Please select a file!");

  ClickCell(cells[1]);
  ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EMAIL, 0);
  const auto box = lumora.WaitForMessage(L"can't find the default email program on your mechine");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"Lumora");
  LumoraSession::Answer(*box, IDOK);
  // The program goes on.
  EXPECT_TRUE(::IsWindow(windows.main));
}

}  // namespace
}  // namespace e2e
