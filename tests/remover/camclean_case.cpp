#include "camclean_case.h"

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>

#include "base/handles.h"
#include "footprint.h"
#include "lumora_session.h"

namespace remover_test {
namespace {

using namespace std::chrono_literals;

const wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\camclean.exe";

// Sets a variable of this process (and so of the programs it starts) for
// one run, and puts the earlier value back.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
    wchar_t old[4096];
    const DWORD length = ::GetEnvironmentVariableW(name, old, ARRAYSIZE(old));
    if (length > 0 && length < ARRAYSIZE(old)) m_old = std::wstring(old, length);
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* m_name;
  std::optional<std::wstring> m_old;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

// A visible dialog of process `pid`, or null.
HWND DialogOf(DWORD pid) {
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND hwnd : windows) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == pid && e2e::ClassName(hwnd) == L"#32770" &&
        (::GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)) {
      return hwnd;
    }
  }
  return nullptr;
}

bool OffersOkOnly(HWND box) {
  std::vector<HWND> children;
  ::EnumChildWindows(box, CollectWindow, reinterpret_cast<LPARAM>(&children));
  std::vector<int> buttons;
  for (HWND child : children) {
    if (e2e::ClassName(child) == L"Button" && (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) {
      buttons.push_back(::GetDlgCtrlID(child));
    }
  }
  return buttons == std::vector<int>{IDOK};
}

std::vector<Call> ReadCalls(const std::filesystem::path& log) {
  std::vector<Call> calls;
  std::ifstream in(log, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    Call call;
    std::string tick;
    std::getline(fields, call.who, '\t');
    std::getline(fields, tick, '\t');
    std::getline(fields, call.text, '\t');
    std::getline(fields, call.note);
    call.tick = std::stoul(tick);
    calls.push_back(call);
  }
  return calls;
}

// Clears the read-only marks that Lay sets, then removes.
void RemoveTree(const std::filesystem::path& path) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
    ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path, ec);
}

}  // namespace

void CamcleanTest::Reset() {
  for (const char* file : kCommonFiles) RemoveTree(InWindows(file));
  for (const char* file : kNineFiveFiles) RemoveTree(InWindows(file));
  for (const char* file : kNtFiles) RemoveTree(InWindows(file));
  for (const char* path : {"camclnr.exe", "Norvex", "twain_32\\QV5520", "inf\\other"}) {
    RemoveTree(InWindows(path));
  }
  std::vector<std::filesystem::path> installed;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(InWindows("inf"), ec)) {
    if (_wcsnicmp(entry.path().filename().c_str(), L"oem", 3) == 0) installed.push_back(entry.path());
  }
  for (const auto& path : installed) RemoveTree(path);
  simcam::RemoveFootprint();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
}

const char kCameraInf[] =
    "; Installs QV818UCM.INF for the camera\r\n"
    "[Models]\r\n"
    "%Camera%=Install,USB\\VID_0D7C&PID_41A0\r\n";
const char kInfWithoutVid[] =
    "; Installs QV818UCM.INF for the camera\r\n"
    "[Models]\r\n"
    "%Camera%=Install,USB\\PNP0D7C\r\n";

std::vector<std::string> Outcome::Texts(std::string_view who) const {
  std::vector<std::string> texts;
  for (const Call& call : calls) {
    if (call.who == who) texts.push_back(call.text);
  }
  return texts;
}

void CamcleanTest::SetUp() { Reset(); }
void CamcleanTest::TearDown() { Reset(); }

std::filesystem::path CamcleanTest::WindowsFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length);
}

std::filesystem::path CamcleanTest::InWindows(std::string_view suffix) {
  if (!suffix.empty() && suffix.front() == '\\') suffix.remove_prefix(1);
  return WindowsFolder() / std::string(suffix);
}

void CamcleanTest::Lay(std::string_view suffix, const std::string& text) {
  const std::filesystem::path path = InWindows(suffix);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY)) << path;
}

bool CamcleanTest::Exists(std::string_view suffix) {
  return std::filesystem::exists(InWindows(suffix));
}

void CamcleanTest::LayDriverFiles() {
  for (const char* file : kCommonFiles) Lay(file);
  for (const char* file : kNineFiveFiles) Lay(file);
  for (const char* file : kNtFiles) Lay(file);
  Lay(kBystander);
}

void CamcleanTest::PutRemovalProgramInCurrentFolder() const {
  std::filesystem::copy_file(e2e::BinFolder() + L"camclean.dll", m_current.Path() / L"camclean.dll",
                             std::filesystem::copy_options::overwrite_existing);
}

Outcome CamcleanTest::Run(const wchar_t* version, bool recordShell) {
  if (version) {
    EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kAppDefaults, L"Version", REG_SZ, version,
                                static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  const std::filesystem::path log =
      m_current.Path().parent_path() / (m_current.Path().filename().wstring() + L".log");
  std::filesystem::remove(log);
  const ScopedVariable logVariable(L"LUMORA_CALL_LOG", log.wstring());
  const ScopedVariable watch(L"LUMORA_WATCH_FILE", InWindows(kNtStillImageDriver).wstring());
  std::optional<ScopedVariable> shell;
  if (recordShell) shell.emplace(L"COMSPEC", e2e::BinFolder() + L"command_shell.exe");

  Outcome outcome;
  std::wstring line = L"\"" + e2e::BinFolder() + L"camclean.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        m_current.Path().c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start camclean.exe: " << ::GetLastError();
    return outcome;
  }
  const base::KernelHandle process(pi.hProcess);
  const base::KernelHandle thread(pi.hThread);
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (::WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "camclean.exe did not end";
      ::TerminateProcess(pi.hProcess, 1);
      ::WaitForSingleObject(pi.hProcess, 5000);
      break;
    }
    if (HWND box = DialogOf(pi.dwProcessId)) {
      outcome.boxes.push_back(e2e::WindowText(::GetDlgItem(box, 0xFFFF)));
      outcome.okButtonOnly = outcome.okButtonOnly && OffersOkOnly(box);
      EXPECT_TRUE(e2e::LumoraSession::Answer({box, L"", L""}, IDOK));
    }
  }
  ::GetExitCodeProcess(pi.hProcess, &outcome.exitCode);
  outcome.calls = ReadCalls(log);
  return outcome;
}

}  // namespace remover_test
