#include "base/dialog.h"

namespace base {

const MessageMap* CDialog::GetThisMessageMap() {
  static constexpr MsgMapEntry kEntries[] = {
      CommandEntry<&CDialog::OnOK>(IDOK),
      CommandEntry<&CDialog::OnCancel>(IDCANCEL),
  };
  static const MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

const MessageMap* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

INT_PTR CDialog::DoModal() {
  return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_hParent,
                           StaticDlgProc, reinterpret_cast<LPARAM>(this));
}

}  // namespace base
