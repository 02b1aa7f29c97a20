// The splitter: two panes beside a bar, the bar dragged with the mouse, and
// the panes' notifications handed back to the pane that sent them.
#include "base/splitter.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class NotifiedPane : public base::CWnd {
 public:
  UINT lastCode = 0;

 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::MessageEntry<&NotifiedPane::OnReflected>(base::kReflectedNotify),
    };
    static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  LRESULT OnReflected(WPARAM, LPARAM lParam) {
    lastCode = reinterpret_cast<const NMHDR*>(lParam)->code;
    return 42;
  }
};

RECT InParent(HWND hwnd) {
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

TEST(Splitter, LaysOutDragsAndReflects) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  base::CSplitter splitter;
  ASSERT_TRUE(splitter.Create(host, 1));
  ::MoveWindow(splitter.m_hWnd, 0, 0, 400, 300, TRUE);
  NotifiedPane left;
  ASSERT_TRUE(
      left.CreateEx(0, L"LumoraTestPane", L"", WS_CHILD, 0, 0, 0, 0, splitter.m_hWnd, nullptr));
  HWND right = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, splitter.m_hWnd, nullptr,
                                 nullptr, nullptr);
  splitter.SetPanes(left.m_hWnd, right, 100);
  EXPECT_EQ(InParent(left.m_hWnd).right, 100);
  EXPECT_EQ(InParent(right).left, 100 + base::CSplitter::kBarWidth);
  EXPECT_EQ(InParent(right).right, 400);
  EXPECT_EQ(InParent(right).bottom, 300);

  // Press on the bar, move, release: the bar follows the mouse.
  ::SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(102, 50));
  ::SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(202, 50));
  ::SendMessageW(splitter.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(202, 50));
  EXPECT_EQ(splitter.LeftWidth(), 200);
  EXPECT_EQ(InParent(right).left, 200 + base::CSplitter::kBarWidth);
  // A press beside the bar does not drag.
  ::SendMessageW(splitter.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 50));
  ::SendMessageW(splitter.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50));
  EXPECT_EQ(splitter.LeftWidth(), 200);

  NMHDR nm{left.m_hWnd, 7, 1234};
  EXPECT_EQ(::SendMessageW(splitter.m_hWnd, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&nm)), 42);
  EXPECT_EQ(left.lastCode, 1234u);
  ::DestroyWindow(host);
}

}  // namespace
