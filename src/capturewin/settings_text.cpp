#include "capturewin/settings_text.h"

#include "base/app.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/capture_settings.h"
#include "res/resource.h"

namespace capturewin {

std::string FieldText(HWND dialog, int id) {
  HWND field = ::GetDlgItem(dialog, id);
  const int length = ::GetWindowTextLengthW(field);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(field, text.data(), length + 1)));
  return base::Narrow(text);
}

void SetFieldText(HWND dialog, int id, const std::string& text) {
  ::SetDlgItemTextW(dialog, id, base::Widen(text).c_str());
}

// The box belongs to the dialog, so that the dialog waits for the answer.
bool AcceptDelay(HWND dialog, const std::string& delay) {
  if (!core::IsDelayTooLong(delay)) return true;
  const base::CWinApp* app = base::CWinApp::Get();
  base::ShowMessageBox(dialog, base::LoadResString(IDS_DELAY_TOO_LONG),
                       app ? app->AppName() : std::wstring(), MB_OK);
  return false;
}

}  // namespace capturewin
