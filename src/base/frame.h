#pragma once
// Frames and views: the multiple-document main frame, its child frames, and
// the views that fill them. Commands go to the active view first, then its
// frame, then the main frame, then the application.
#include <windows.h>

#include "base/wnd.h"

namespace base {

class CMDIChildWnd;

// A view: the window that fills a child frame's client area.
class CView : public CWnd {
 public:
  // The frame's first update, after the view and frame exist.
  virtual void OnInitialUpdate() {}
  // The view's frame became (or stopped being) the active child frame.
  virtual void OnActivateView(bool /*active*/) {}
  CMDIChildWnd* GetParentFrame() const { return m_pFrame; }
  void SetParentFrame(CMDIChildWnd* frame) { m_pFrame = frame; }
  // Creates the view's window as a child of the frame's client area.
  virtual bool CreateView(HWND parent, UINT id);

 protected:
  void PostNcDestroy() override;

 private:
  CMDIChildWnd* m_pFrame = nullptr;
};

// A view whose window is made from a dialog template.
class CFormView : public CView {
 public:
  explicit CFormView(UINT templateId) : m_templateId(templateId) {}
  bool CreateView(HWND parent, UINT id) override;
  bool PreTranslateMessage(MSG* msg) override;

 private:
  UINT m_templateId;
};

class CMDIFrameWnd : public CWnd {
 public:
  // Registers the frame class with icon `resourceId`, loads accelerator
  // table `resourceId`, creates the window, then the MDI client, then runs
  // OnCreateFrame. On failure there is no window and this object is deleted.
  bool LoadFrame(UINT resourceId, DWORD style);

  HWND m_hWndMDIClient = nullptr;
  CMDIChildWnd* MDIGetActive() const;
  // Lays out the bars (top and bottom) and the MDI client between them.
  virtual void RecalcLayout();

  bool PreTranslateMessage(MSG* msg) override;
  static const MessageMap* GetThisMessageMap();

  // The state of a command along the command route: the active view, its
  // frame, this frame; false when none of them handles the command, which
  // is then shown disabled.
  bool RouteCommandState(CommandState& state);
  // The program went idle: bring the toolbars' button states up to date.
  virtual void OnIdleUpdate() {}

 protected:
  const MessageMap* GetMessageMap() const override;
  // The frame's own parts (toolbars, status bar); false fails the creation.
  virtual bool OnCreateFrame() { return true; }
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnQueryEndSession(WPARAM, LPARAM);
  LRESULT OnEndSession(WPARAM, LPARAM);
  LRESULT OnInitMenuPopup(WPARAM, LPARAM);
  // The bars that RecalcLayout places; either may be null or hidden.
  HWND m_hWndTopBar = nullptr;
  HWND m_hWndBottomBar = nullptr;

 private:
  HACCEL m_hAccel = nullptr;
};

class CMDIChildWnd : public CWnd {
 public:
  // Creates the child frame in `main`'s MDI client with icon `resourceId`
  // and `view` as its view (the view then belongs to its window). On failure
  // this object and the view are deleted.
  bool LoadFrame(CMDIFrameWnd& main, UINT resourceId, DWORD style, CView* view);
  // Runs the view's first update and shows the frame.
  void InitialUpdateFrame();
  CView* GetActiveView() const { return m_pView; }
  void SetActiveView(CView* view) { m_pView = view; }
  // Commands: the active view, then this frame.
  bool RouteCommand(UINT id);
  bool RouteCommandState(CommandState& state);
  void SetTitle(const wchar_t* title) { ::SetWindowTextW(m_hWnd, title); }
  static const MessageMap* GetThisMessageMap();

 protected:
  const MessageMap* GetMessageMap() const override;
  // Builds the client area; by default the one view filling it.
  virtual bool OnCreateClient();
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override { delete this; }
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnMDIActivate(WPARAM, LPARAM);
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  CMDIFrameWnd* m_pMainFrame = nullptr;

 private:
  CView* m_pView = nullptr;
};

}  // namespace base
