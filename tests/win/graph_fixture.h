#pragma once
// What the capture-graph tests share: the simulated camera installed for the
// test's duration, a window with a child preview area that records the
// device-removal notices it gets, and waits that keep messages flowing.
#include <windows.h>

#include <chrono>
#include <string>

namespace testing_win {

using namespace std::chrono_literals;

// Runs bin\simcamctl.exe with `arguments`; its exit code, or -1.
int RunSimcamctl(const std::wstring& arguments);

// Installs the simulated camera (footprint and filter) and removes it again.
class SimulatedCamera {
 public:
  explicit SimulatedCamera(const wchar_t* family = L"qvc5520");
  ~SimulatedCamera();
  SimulatedCamera(const SimulatedCamera&) = delete;
  SimulatedCamera& operator=(const SimulatedCamera&) = delete;
  bool Installed() const { return m_bInstalled; }

 private:
  bool m_bInstalled = false;
};

// A hidden top-level window with a 352x288 child as the preview area.
class PreviewHost {
 public:
  PreviewHost();
  ~PreviewHost();
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;
  HWND Frame() const { return m_frame; }
  HWND Preview() const { return m_preview; }
  // Capture-class removal notices the child preview area has received.
  int RemovalNotices() const;

 private:
  HWND m_frame = nullptr;
  HWND m_preview = nullptr;
};

// Handles this thread's messages for the given time.
void Pump(std::chrono::milliseconds time);
// Pumps until `done` gives true or `limit` passes; whether it did.
template <class Pred>
bool WaitUntil(Pred done, std::chrono::milliseconds limit = 5s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Pump(10ms);
  }
  return true;
}

}  // namespace testing_win
