#pragma once
// A fresh folder under the temporary folder, removed with its contents.
#include <windows.h>

#include <filesystem>

namespace testing_win {

class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    m_path = std::filesystem::path(base) /
             (L"lumora-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(s_next++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::all, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  static inline int s_next = 0;
  std::filesystem::path m_path;
};

}  // namespace testing_win
