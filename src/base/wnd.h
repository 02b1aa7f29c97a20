#pragma once
// The base window class: one C++ object per window, found again through a
// window property, messages dispatched through the class's message map.
#include <windows.h>

#include <string>

#include "base/message_map.h"

namespace base {

// Takes `style` bits off a window and lets its frame be drawn anew.
void RemoveWindowStyle(HWND hwnd, LONG_PTR style);

// The text of item `index` of a combo box; empty when there is none.
std::wstring ComboItemText(HWND combo, LRESULT index);

// Registers a window class of this program once (double clicks, arrow
// cursor, window-colour background); true when it exists afterwards.
bool EnsureClass(const wchar_t* className, WNDPROC proc);

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  // The object attached to a window of this program, or null.
  static CWnd* FromHandle(HWND hwnd);

  // Registers the class once (with this program's window procedure) and
  // creates the window with this object attached.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                int x, int y, int cx, int cy, HWND parent, HMENU menuOrId);

  // Attaches this object to an existing window of another class.
  bool SubclassWindow(HWND hwnd);

  // Carries out a command if this object's map has it.
  virtual bool OnCmdMsg(UINT id);
  // Fills `state` for a command this window handles (its state entry, or
  // enabled for a plain command entry); false when it does not handle it.
  virtual bool OnCommandState(CommandState& state);

  // Gives the message to the translation of this window before dispatch.
  virtual bool PreTranslateMessage(MSG* msg);

  void DestroyWindow();
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

  static const MessageMap* GetThisMessageMap();

 protected:
  virtual const MessageMap* GetMessageMap() const;
  // Processing for messages the map does not take (or that call Default()).
  virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is gone: objects that own themselves delete themselves here.
  virtual void PostNcDestroy() {}
  // Every message of the window; the map, then the default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: the map's command entries; true when handled.
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  // WM_INITDIALOG of dialog-backed windows.
  virtual BOOL OnInitDialog() { return TRUE; }

  // From inside a handler: the default processing of the current message.
  LRESULT Default();

  // Creates a dialog-backed window from a template (modeless).
  bool CreateFromTemplate(UINT templateId, HWND parent);

  // Runs `create`, the platform call that makes this object's window and
  // gives its handle. Until it returns the creator owns this object: a
  // window destroyed during its own creation (a WM_CREATE that fails) does
  // not run PostNcDestroy. True when the window exists afterwards; on false
  // the object is still the creator's to delete.
  template <class Create>
  bool CreateWindowWith(Create create) {
    m_bCreating = true;
    const HWND hwnd = create();
    m_bCreating = false;
    return hwnd && hwnd == m_hWnd;
  }

  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref);
  void Attach(HWND hwnd);
  void Detach();
  // WM_NCDESTROY has been handled.
  void WindowGone();
  // Runs WindowProc for one message; false when a dialog-backed window left
  // it to the dialog manager.
  bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The messages this object is handling, innermost first.
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool defaultAsked;
    bool objectDeleted;  // a handler destroyed the window, and this object with it
    CurrentMessage* outer;
  };
  CurrentMessage* m_current = nullptr;
  bool m_bCreating = false;
  enum class Kind { Window, Dialog, Subclass } m_kind = Kind::Window;
};

}  // namespace base
