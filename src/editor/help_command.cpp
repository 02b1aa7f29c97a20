#include "editor/help_command.h"

#include "base/handles.h"
#include "base/message_box.h"
#include "base/process.h"
#include "base/strings.h"
#include "res/resource.h"

namespace editor {
namespace {

constexpr LANGID kSimplifiedChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr LANGID kTraditionalChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

bool FileFound(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  const base::FindHandle find(::FindFirstFileW(path.c_str(), &data));
  return static_cast<bool>(find);
}

}  // namespace

bool StartProcess(const std::wstring& application, const std::wstring& commandLine) {
  return base::StartProgram(application, commandLine, SW_SHOWNORMAL);
}

const wchar_t* HelpFileName(LANGID language) {
  if (language == kSimplifiedChinese) return L"LumoraHelpSC.chm";
  if (language == kTraditionalChinese) return L"LumoraHelpTC.chm";
  return L"LumoraHelp.chm";
}

bool ShowHelp(const std::wstring& programFolder, LANGID language, const ProcessStarter& start) {
  const std::wstring helpFile = programFolder + HelpFileName(language);
  if (!FileFound(helpFile)) {
    base::AppMessageBox(base::LoadResString(IDS_HELP_MISSING));
    return false;
  }
  // The Windows folder's viewer, by its full path.
  const std::wstring viewer = base::ProgramIn(&::GetWindowsDirectoryW, L"hh.exe");
  return !viewer.empty() && start(viewer, L"Hh.exe " + helpFile);
}

}  // namespace editor
