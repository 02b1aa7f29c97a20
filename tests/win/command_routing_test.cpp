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
 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::CommandEntry<&TestFrame::OnThree>(3),
        base::CommandEntry<&TestFrame::OnTwo>(2),
    };
    static const base::MessageMap kMap{CMDIFrameWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  void OnThree() { g_log += "frame;"; }
  void OnTwo() { g_log += "frame2;"; }
};

TEST(CommandRouting, ViewThenChildThenMainFrameThenApplication) {
  TestApp app;
  auto* frame = new TestFrame;
  ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPEDWINDOW));
  auto* child = new TestChild;
  ASSERT_TRUE(child->LoadFrame(*frame, 128, WS_OVERLAPPEDWINDOW, new TestView));
  child->InitialUpdateFrame();
  ASSERT_EQ(frame->MDIGetActive(), child);

  g_log.clear();
  for (UINT id : {1u, 2u, 3u, 4u, 11u, 99u}) ::SendMessageW(frame->m_hWnd, WM_COMMAND, id, 0);
  EXPECT_EQ(g_log, "view;child;frame;app;view11;");

  // Without its view, the child frame is first.
  g_log.clear();
  ::DestroyWindow(child->GetActiveView()->m_hWnd);
  ::SendMessageW(frame->m_hWnd, WM_COMMAND, 1, 0);
  EXPECT_EQ(g_log, "child1;");

  ::DestroyWindow(frame->m_hWnd);  // the frames delete themselves
}

TEST(CommandRouting, ViewsHearWhenTheirFrameIsActivated) {
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
