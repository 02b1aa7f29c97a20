#pragma once
// Presses OK on every message box of this process while it lives and keeps
// their texts, so that code under test that asks the user does not block.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testing_win {

class BoxAnswerer {
 public:
  BoxAnswerer() : m_thread([this] { Run(); }) {}
  ~BoxAnswerer() {
    m_stop = true;
    m_thread.join();
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  std::vector<std::wstring> Texts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
  }
  // Window texts (captions) of the boxes, in the same order as Texts().
  std::vector<std::wstring> Captions() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_captions;
  }

 private:
  static BOOL CALLBACK OnWindow(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    auto* self = reinterpret_cast<BoxAnswerer*>(param);
    if (pid == ::GetCurrentProcessId() && std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd) &&
        ::GetDlgItem(hwnd, 0xFFFF) && self->m_answered.insert(hwnd).second) {
      wchar_t text[512] = {};
      wchar_t caption[128] = {};
      ::GetDlgItemTextW(hwnd, 0xFFFF, text, 512);
      ::GetWindowTextW(hwnd, caption, 128);
      {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_texts.push_back(text);
        self->m_captions.push_back(caption);
      }
      ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
  }
  void Run() {
    while (!m_stop) {
      ::EnumWindows(OnWindow, reinterpret_cast<LPARAM>(this));
      ::Sleep(50);
    }
  }
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<std::wstring> m_texts;
  std::vector<std::wstring> m_captions;
  std::set<HWND> m_answered;  // a box stays visible for a moment after the answer
  std::thread m_thread;
};

}  // namespace testing_win
