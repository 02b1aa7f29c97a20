// The animation shown over the Record button: resource 276 opens and draws
// in an animation control, and clicks on it reach the button beneath.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "resource.h"

namespace {

TEST(RecordingAnimation, DrawsInAnAnimationControlOverAButton) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_ANIMATE_CLASS};
  ASSERT_TRUE(::InitCommonControlsEx(&icc));
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"Record", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON,
                                  10, 10, 150, 50, nullptr, nullptr, module, nullptr);
  ASSERT_NE(button, nullptr);
  HWND animation = ::CreateWindowExW(0, ANIMATE_CLASSW, nullptr,
                                     WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_AUTOPLAY, 3, 3, 144,
                                     44, button, nullptr, module, nullptr);
  ASSERT_NE(animation, nullptr);
  EXPECT_TRUE(Animate_OpenEx(animation, module, MAKEINTRESOURCEW(IDR_RECORDING_ANIMATION)));
  // Let it draw, then look at the red dot beside "REC".
  for (DWORD end = ::GetTickCount() + 500; static_cast<LONG>(end - ::GetTickCount()) > 0;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(10);
  }
  POINT dot{24, 22};
  ::ClientToScreen(animation, &dot);
  HDC screen = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(screen, dot.x, dot.y);
  ::ReleaseDC(nullptr, screen);
  EXPECT_GT(GetRValue(colour), 100) << std::hex << colour;
  EXPECT_LT(GetGValue(colour), 60) << std::hex << colour;
  EXPECT_EQ(::SendMessageW(animation, WM_NCHITTEST, 0, MAKELPARAM(80, 35)), HTTRANSPARENT);
  Animate_Close(animation);
  ::DestroyWindow(button);
}

}  // namespace
