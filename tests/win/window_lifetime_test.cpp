// Who deletes a window object: the creator while creation runs (also when it
// fails after WM_NCCREATE has attached the object), the window afterwards;
// and the end of the session, which closes the main window from inside its
// own handler and runs the application's exit steps once.
//
// Deletions are counted by this program's own operator delete, so these
// tests form a program of their own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "base/app.h"
#include "base/frame.h"

namespace {

constexpr unsigned char kFreedByte = 0xDD;

// A block watched by the tests: never given back, so that a second delete
// is counted instead of corrupting the heap. A poisoned block is filled with
// kFreedByte when deleted; any later write into it shows.
struct WatchedBlock {
  const void* block = nullptr;
  std::size_t size = 0;
  bool poison = false;
  int deletes = 0;
};
WatchedBlock g_watched[8];

void Watch(const void* block, std::size_t size, bool poison = false) {
  for (WatchedBlock& w : g_watched) {
    if (!w.block) {
      w = {block, size, poison, 0};
      return;
    }
  }
  ADD_FAILURE() << "too many watched blocks";
}

int Deletes(const void* block) {
  for (const WatchedBlock& w : g_watched) {
    if (w.block == block) return w.deletes;
  }
  return -1;
}

bool UntouchedSinceDeleted(const void* block) {
  for (const WatchedBlock& w : g_watched) {
    if (w.block != block) continue;
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < w.size; ++i) {
      if (bytes[i] != kFreedByte) return false;
    }
    return true;
  }
  return false;
}

bool KeepIfWatched(void* block) {
  for (WatchedBlock& w : g_watched) {
    if (!block || w.block != block) continue;
    ++w.deletes;
    if (w.poison) std::memset(block, kFreedByte, w.size);
    return true;
  }
  return false;
}

class WindowLifetime : public ::testing::Test {
 protected:
  void TearDown() override {
    for (WatchedBlock& w : g_watched) w = {};
  }
};

std::string g_log;

// Refuses its creation in WM_CREATE, after WM_NCCREATE attached it.
template <class Base>
class Refusing : public Base {
 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::MessageEntry<&Refusing::OnCreate>(WM_CREATE),
    };
    static const base::MessageMap kMap{Base::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  LRESULT OnCreate(WPARAM, LPARAM) { return -1; }
};

class LoggingView : public base::CView {
 protected:
  const base::MessageMap* GetMessageMap() const override {
    static constexpr base::MsgMapEntry kEntries[] = {
        base::MessageEntry<&LoggingView::OnDestroy>(WM_DESTROY),
    };
    static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
    return &kMap;
  }

 private:
  LRESULT OnDestroy(WPARAM, LPARAM) {
    g_log += "view closed;";
    return Default();
  }
};

TEST_F(WindowLifetime, CreationFailingAfterNcCreateDeletesEachObjectOnce) {
  auto* refusingMain = new Refusing<base::CMDIFrameWnd>;
  Watch(refusingMain, sizeof *refusingMain);
  EXPECT_FALSE(refusingMain->LoadFrame(128, WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(Deletes(refusingMain), 1);

  auto* main = new base::CMDIFrameWnd;
  ASSERT_TRUE(main->LoadFrame(128, WS_OVERLAPPEDWINDOW));

  auto* refusingChild = new Refusing<base::CMDIChildWnd>;
  auto* view = new base::CView;
  Watch(refusingChild, sizeof *refusingChild);
  Watch(view, sizeof *view);
  EXPECT_FALSE(refusingChild->LoadFrame(*main, 128, WS_OVERLAPPEDWINDOW, view));
  EXPECT_EQ(Deletes(refusingChild), 1);
  EXPECT_EQ(Deletes(view), 1);

  // The frame exists when its view fails: the window takes the frame along.
  auto* child = new base::CMDIChildWnd;
  auto* refusingView = new Refusing<base::CView>;
  Watch(child, sizeof *child);
  Watch(refusingView, sizeof *refusingView);
  EXPECT_FALSE(child->LoadFrame(*main, 128, WS_OVERLAPPEDWINDOW, refusingView));
  EXPECT_EQ(Deletes(child), 1);
  EXPECT_EQ(Deletes(refusingView), 1);

  ::DestroyWindow(main->m_hWnd);
}

// Ends a message loop that nothing else ended.
void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(1); }

// The main frame is told that the session ends from its own message loop.
class SessionApp : public base::CWinApp {
 public:
  SessionApp() : CWinApp(L"SessionTest") {}

  BOOL InitInstance() override {
    auto* frame = new base::CMDIFrameWnd;
    if (!frame->LoadFrame(128, WS_OVERLAPPEDWINDOW)) return FALSE;
    m_pMainWnd = frame;
    auto* child = new base::CMDIChildWnd;
    if (!child->LoadFrame(*frame, 128, WS_OVERLAPPEDWINDOW, new LoggingView)) return FALSE;
    m_frame = frame;
    Watch(frame, sizeof *frame, true);

    const HWND hwnd = frame->m_hWnd;
    m_queryAnswer = ::SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    ::SendMessageW(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // another program refused
    m_openAfterCancel = ::IsWindow(hwnd) != FALSE;
    ::PostMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    // Without an answer to the end of the session the loop would wait forever.
    m_timer = ::SetTimer(nullptr, 0, 5000, QuitLoop);
    return TRUE;
  }

  int ExitInstance() override {
    g_log += "exit steps;";
    return 7;
  }

  const void* m_frame = nullptr;
  UINT_PTR m_timer = 0;
  LRESULT m_queryAnswer = 0;
  bool m_openAfterCancel = false;
};

TEST_F(WindowLifetime, EndOfTheSessionClosesTheWindowsAndExitsOnce) {
  g_log.clear();
  SessionApp app;
  EXPECT_EQ(app.Main(::GetModuleHandleW(nullptr), SW_HIDE), 7);
  ::KillTimer(nullptr, app.m_timer);
  EXPECT_EQ(app.m_queryAnswer, TRUE);
  EXPECT_TRUE(app.m_openAfterCancel);
  EXPECT_EQ(g_log, "view closed;exit steps;");
  // The frame deleted itself inside its own handler; nothing wrote into it
  // afterwards.
  EXPECT_EQ(Deletes(app.m_frame), 1);
  EXPECT_TRUE(UntouchedSinceDeleted(app.m_frame));
}

}  // namespace

// Allocation through malloc, so that the delete below may hand back to free
// what it does not keep.
void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

// GCC sees new and free meet once these are inlined; they are a pair here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
  if (!KeepIfWatched(block)) std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  if (!KeepIfWatched(block)) std::free(block);
}
#pragma GCC diagnostic pop
