#pragma once
// Dialogs from the resource templates: modal through DoModal, with OK and
// Cancel ending them unless a class maps those commands itself.
#include <windows.h>

#include "base/wnd.h"

namespace base {

class CDialog : public CWnd {
 public:
  CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}
  // Runs the dialog; its EndDialog result (IDOK, IDCANCEL, ...), -1 on failure.
  INT_PTR DoModal();
  void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
  static const MessageMap* GetThisMessageMap();

 protected:
  const MessageMap* GetMessageMap() const override;
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

 private:
  UINT m_templateId;
  HWND m_hParent;
};

}  // namespace base
