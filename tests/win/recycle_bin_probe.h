#pragma once
// What went into the Recycle Bin, as Wine keeps it: the freedesktop.org
// trash of the user the prefix runs as ($XDG_DATA_HOME/Trash, else
// ~/.local/share/Trash), with each item in files/ and a description of it,
// with its original path, in info/<item>.trashinfo.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_win {

// The trash folder as a path of this process; empty when the platform
// keeps no such folder (not under Wine).
inline std::filesystem::path TrashFolder() {
  using ToDos = wchar_t*(CDECL*)(const char*);
  const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!toDos) return {};
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    data = std::string(home) + "/.local/share";
  } else {
    return {};
  }
  wchar_t* dos = toDos((data + "/Trash").c_str());
  if (!dos) return {};
  std::filesystem::path folder = dos;
  ::HeapFree(::GetProcessHeap(), 0, dos);
  return folder;
}

// Takes out of the Recycle Bin every item that holds a file named `name`
// with exactly `content`: the file itself, trashed under its name, or a
// folder with it inside. Gives how many items there were; taking them out
// keeps the bin of the test home from growing run after run.
inline int TakeFromRecycleBin(const std::wstring& name, const std::string& content) {
  namespace fs = std::filesystem;
  const fs::path trash = TrashFolder();
  std::error_code ec;
  if (trash.empty() || !fs::is_directory(trash / L"files", ec)) return 0;
  const auto holds = [&](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {}) == content;
  };
  // The original name of a trashed file: its info's "Path=" line ends in it
  // (a bin that already held that name keeps the item under another one).
  const auto originalName = [&](const fs::path& item) {
    std::ifstream info(trash / L"info" / (item.filename().wstring() + L".trashinfo"));
    std::string line;
    while (std::getline(info, line)) {
      if (line.rfind("Path=", 0) == 0) return fs::path(line.substr(5)).filename().wstring();
    }
    return std::wstring();
  };
  int found = 0;
  std::vector<fs::path> taken;
  for (const fs::directory_entry& item : fs::directory_iterator(trash / L"files", ec)) {
    bool match = false;
    if (item.is_directory(ec)) {
      for (const fs::directory_entry& inner : fs::recursive_directory_iterator(item.path(), ec)) {
        if (inner.path().filename() == name && inner.is_regular_file(ec) && holds(inner.path()))
          match = true;
      }
    } else {
      match = originalName(item.path()) == name && holds(item.path());
    }
    if (match) taken.push_back(item.path());
  }
  for (const fs::path& item : taken) {
    ++found;
    fs::remove_all(item, ec);
    fs::remove(trash / L"info" / (item.filename().wstring() + L".trashinfo"), ec);
  }
  return found;
}

}  // namespace testing_win
