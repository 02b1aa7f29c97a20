// The framework's command routing: the active view, its frame, the main
// frame, then the application; the first that has the command takes it.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/app.h"
#include "base/frame.h"

namespace {

std::string g_log;

class TestApp : public base::CWinApp {
 public:
  TestApp() : CWinApp(L"RoutingTest") {}
  bool OnCmdMsg(UINT id) override {
    if (id != 4) return false;
    g_log += "app;";
    return true;
  }
};

class TestView : public base::CView {
 public:
  explicit TestView(std::string name = "view") : m_name(std::move(name)) {}
  void OnActivateView(bool active) override { g_log += m_name + (active ? "+;" : "-;"); }

 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::CommandEntry<&TestView::OnOne>(1),
        base::CommandRangeEntry<&TestView::OnRange>(10, 12),
    };
    static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  void OnOne() { g_log += "view;"; }
  void OnRange(UINT id) { g_log += "view" + std::to_string(id) + ";"; }
  std::string m_name;
};

class TestChild : public base::CMDIChildWnd {
 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::CommandEntry<&TestChild::OnOne>(1),
        base::CommandEntry<&TestChild::OnTwo>(2),
    };
    static const base::MessageMap kMap{CMDIChildWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  void OnOne() { g_log += "child1;"; }
  void OnTwo() { g_log += "child;"; }
};

class TestFrame : public base::CMDIFrameWnd {
 public:
  bool m_bThreeAllowed = true;
  bool m_bFiveChecked = false;

 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::CommandEntry<&TestFrame::OnThree>(3),
        base::CommandStateEntry<&TestFrame::OnThreeState>(3),
        base::CommandEntry<&TestFrame::OnTwo>(2),
        base::CommandEntry<&TestFrame::OnFive>(5),
        base::CommandStateEntry<&TestFrame::OnFiveState>(5),
    };
    static const base::MessageMap kMap{CMDIFrameWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  void OnThree() { g_log += "frame;"; }
  void OnThreeState(base::CommandState& state) { state.enabled = m_bThreeAllowed; }
  void OnTwo() { g_log += "frame2;"; }
  void OnFive() { g_log += "five;"; }
  void OnFiveState(base::CommandState& state) { state.checked = m_bFiveChecked; }
};

// The state of `id` as a menu would show it.
base::CommandState StateOf(TestFrame& frame, UINT id) {
  base::CommandState state{id};
  frame.RouteCommandState(state);
  return state;
}

// A main frame with one child frame and its view, active.
class CommandRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new TestFrame;
    ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW));
    child = new TestChild;
    ASSERT_TRUE(child->LoadFrame(*frame, 128, WS_OVERLAPPEDWINDOW, new TestView));
    child->InitialUpdateFrame();
  }
  void TearDown() override {
    if (frame) ::DestroyWindow(frame->m_hWnd);  // the frames delete themselves
  }

  TestApp app;
  TestFrame* frame = nullptr;
  TestChild* child = nullptr;
};

TEST_F(CommandRouting, ViewThenChildThenMainFrameThenApplication) {
  ASSERT_EQ(frame->MDIGetActive(), child);

  g_log.clear();
  for (UINT id : {1u, 2u, 3u, 4u, 11u, 99u}) ::SendMessageW(frame->m_hWnd, WM_COMMAND, id, 0);
  EXPECT_EQ(g_log, "view;child;frame;app;view11;");

  // Without its view, the child frame is first.
  g_log.clear();
  ::DestroyWindow(child->GetActiveView()->m_hWnd);
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, 1, 0);
  EXPECT_EQ(g_log, "child1;");
}

// Menus and toolbars ask the same route: the first window that handles a
// command decides its state; a command nobody handles is disabled; a menu
// entry or key of a disabled command does nothing.
TEST_F(CommandRouting, StatesFollowTheRouteAndDisabledCommandsDoNothing) {

  EXPECT_TRUE(StateOf(*frame, 1).enabled);   // the view's plain command
  EXPECT_TRUE(StateOf(*frame, 2).enabled);   // the child's, before the frame's
  EXPECT_FALSE(StateOf(*frame, 99).enabled);  // nobody's
  frame->m_bThreeAllowed = false;
  EXPECT_FALSE(StateOf(*frame, 3).enabled);
  frame->m_bFiveChecked = true;
  EXPECT_TRUE(StateOf(*frame, 5).checked);

  g_log.clear();
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(3, 1), 0);  // accelerator
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(3, 0), 0);  // menu
  EXPECT_EQ(g_log, "");
  frame->m_bThreeAllowed = true;
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(3, 1), 0);
  EXPECT_EQ(g_log, "frame;");

  // An opening menu shows the states: grey and check marks.
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, 3, L"three");
  ::AppendMenuW(menu, MF_STRING, 5, L"five");
  ::AppendMenuW(menu, MF_STRING, 99, L"nobody");
  frame->m_bThreeAllowed = false;
  ::SendMessageW(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  EXPECT_TRUE(::GetMenuState(menu, 3, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(menu, 5, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(menu, 5, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(menu, 99, MF_BYCOMMAND) & MF_GRAYED);
  ::DestroyMenu(menu);
}

TEST(ChildFrameActivation, ViewsHearWhenTheirFrameIsActivated) {
  TestApp app;
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW));
  auto* first = new TestChild;
  ASSERT_TRUE(first->LoadFrame(*frame, 128, WS_OVERLAPPEDWINDOW, new TestView("a")));
  first->InitialUpdateFrame();
  auto* second = new TestChild;
  ASSERT_TRUE(second->LoadFrame(*frame, 128, WS_OVERLAPPEDWINDOW, new TestView("b")));
  second->InitialUpdateFrame();

  g_log.clear();
  ::SendMessageW(frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->m_hWnd), 0);
  EXPECT_EQ(frame->MDIGetActive(), first);
  EXPECT_EQ(g_log, "b-;a+;");
  ::DestroyWindow(frame->m_hWnd);
}

}  // namespace
