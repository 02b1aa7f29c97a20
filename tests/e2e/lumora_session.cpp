#include "lumora_session.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <fstream>

#include "core/ini_text.h"
#include "footprint.h"

namespace e2e {
namespace {

const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::optional<std::wstring> ReadPersonal() {
  wchar_t buf[MAX_PATH];
  DWORD bytes = sizeof buf;
  if (::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, L"Personal", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     nullptr, buf, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buf);
}

void WritePersonal(const std::optional<std::wstring>& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  if (value) {
    ::RegSetValueExW(key, L"Personal", 0, REG_EXPAND_SZ,
                     reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  } else {
    ::RegDeleteValueW(key, L"Personal");
  }
  ::RegCloseKey(key);
}

// The window's own visible style: IsWindowVisible also looks at the desktop
// window, which differs for a window on another desktop.
bool HasVisibleStyle(HWND hwnd) { return (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

std::wstring TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!info) return L"session";
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return std::wstring(name.begin(), name.end());
}

}  // namespace

// WM_GETTEXT itself: GetWindowText of another process's window gives only its
// caption, never a control's own text.
std::vector<unsigned char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[512] = L"";
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                        2000, &copied);
  return buf;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256] = L"";
  ::GetClassNameW(hwnd, buf, 256);
  return buf;
}

RECT RectInParent(HWND hwnd) {
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

int RunProgram(std::wstring commandLine, std::chrono::milliseconds limit) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(pi.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(pi.hProcess, &code);
  } else {
    ::TerminateProcess(pi.hProcess, 1);
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

int RunTool(const std::wstring& commandLine, std::chrono::milliseconds limit) {
  const size_t blank = commandLine.find(L' ');
  return RunProgram(L"\"" + BinFolder() + commandLine.substr(0, blank) + L"\"" +
                        (blank == std::wstring::npos ? L"" : commandLine.substr(blank)),
                    limit);
}

std::optional<DWORD> DriverStatusReport() {
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, simcam::kDriverKey, L"StatusReport", RRF_RT_REG_DWORD,
                     nullptr, &value, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::set<DWORD> ProcessIds(const wchar_t* exeName) {
  std::set<DWORD> ids;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) == 0) ids.insert(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return ids;
}

std::optional<DWORD> NewProcess(const wchar_t* exeName, const std::set<DWORD>& before) {
  for (DWORD id : ProcessIds(exeName)) {
    if (!before.count(id)) return id;
  }
  return std::nullopt;
}

void EndProcess(DWORD id) {
  if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

LumoraSession::LumoraSession()
    : m_root(std::filesystem::path(L"C:\\lumora-e2e") / TestName()),
      m_documents(m_root / L"Documents") {
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
  std::filesystem::create_directories(m_documents);
  m_oldPersonal = ReadPersonal();
  WritePersonal(m_documents.wstring());
}

LumoraSession::~LumoraSession() {
  if (m_pi.hProcess) {
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(m_pi.hProcess, 1);
      ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
  }
  WritePersonal(m_oldPersonal);
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
}

std::filesystem::path LumoraSession::SettingsFile() const {
  return m_documents / L"Lumora" / L"Default album" / L"settings.ini";
}

// Read with every sharing mode, so that the program can replace the file
// while the test looks at it.
std::optional<std::string> LumoraSession::Setting(const char* section, const char* key) const {
  HANDLE file = ::CreateFileW(SettingsFile().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
  ::CloseHandle(file);
  return core::IniFind(text, section, key);
}

void LumoraSession::WriteSettings(const std::string& text) const {
  std::filesystem::create_directories(SettingsFile().parent_path());
  std::ofstream(SettingsFile(), std::ios::binary) << text;
}

void LumoraSession::Start(const wchar_t* desktop) {
  const std::wstring folder = m_programFolder.empty() ? BinFolder() : m_programFolder.wstring() + L"\\";
  std::wstring line = L"\"" + folder + L"Lumora.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (m_pi.hProcess) {  // a run before this one
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    m_pi = {};
  }
  if (desktop) {
    m_desktop = desktop;
    si.lpDesktop = m_desktop.data();
  }
  ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &m_pi))
      << "cannot start Lumora.exe: " << ::GetLastError();
}

bool LumoraSession::WaitForExit(std::chrono::milliseconds limit) {
  return m_pi.hProcess &&
         ::WaitForSingleObject(m_pi.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

DWORD LumoraSession::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (m_pi.hProcess) ::GetExitCodeProcess(m_pi.hProcess, &code);
  return code;
}

std::vector<HWND> LumoraSession::TopLevelWindows() const {
  std::vector<HWND> all;
  if (m_desktop.empty()) {
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  } else if (HDESK desk = ::OpenDesktopW(m_desktop.c_str(), 0, FALSE, GENERIC_ALL)) {
    ::EnumDesktopWindows(desk, CollectWindow, reinterpret_cast<LPARAM>(&all));
    ::CloseDesktop(desk);
  }
  std::vector<HWND> ours;
  for (HWND hwnd : all) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == m_pi.dwProcessId) ours.push_back(hwnd);
  }
  return ours;
}

HWND LumoraSession::WaitForMainWindow(std::chrono::milliseconds limit) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (ClassName(hwnd) == L"LumoraFrame" && HasVisibleStyle(hwnd)) found = hwnd;
        }
        return found != nullptr;
      },
      limit);
  return found;
}

HWND LumoraSession::FindChild(HWND mainWindow, const std::wstring& title) const {
  HWND client = ::FindWindowExW(mainWindow, nullptr, L"MDIClient", nullptr);
  return client ? ::FindWindowExW(client, nullptr, nullptr, title.c_str()) : nullptr;
}

std::optional<MessageBoxInfo> LumoraSession::WaitForDialog(std::chrono::milliseconds limit) const {
  std::optional<MessageBoxInfo> box;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (ClassName(hwnd) == L"#32770" && HasVisibleStyle(hwnd)) {
            box = MessageBoxInfo{hwnd, WindowText(hwnd), WindowText(::GetDlgItem(hwnd, 0xFFFF))};
            return true;
          }
        }
        return false;
      },
      limit);
  return box;
}

std::optional<MessageBoxInfo> LumoraSession::WaitForMessage(const std::wstring& text,
                                                            std::chrono::milliseconds limit) const {
  std::optional<MessageBoxInfo> box;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (ClassName(hwnd) == L"#32770" && HasVisibleStyle(hwnd) &&
              WindowText(::GetDlgItem(hwnd, 0xFFFF)) == text) {
            box = MessageBoxInfo{hwnd, WindowText(hwnd), text};
            return true;
          }
        }
        return false;
      },
      limit);
  return box;
}

HWND LumoraSession::WaitForDialogTitled(const std::wstring& title,
                                        std::chrono::milliseconds limit) const {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows()) {
          if (ClassName(hwnd) == L"#32770" && HasVisibleStyle(hwnd) && WindowText(hwnd) == title) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      limit);
  return found;
}

bool LumoraSession::Answer(const MessageBoxInfo& box, int buttonId) {
  ::PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box.hwnd, buttonId)));
  return WaitFor([&] { return !::IsWindow(box.hwnd); });
}

bool LumoraSession::Close() {
  HWND main = WaitForMainWindow(2s);
  if (main) ::PostMessageW(main, WM_CLOSE, 0, 0);
  return WaitForExit();
}

}  // namespace e2e
