#include "editor/mail_sender.h"

#include <mapi.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "base/proc_address.h"
#include "base/strings.h"
#include "core/mail_list.h"

namespace editor {
namespace {

char kSubject[] = "Picture";
char kNoteText[] = "Hello";
// Log on with the mail program's own dialog if needed and show the message
// for the user to complete.
constexpr FLAGS kSendFlags = MAPI_LOGON_UI | MAPI_DIALOG;
constexpr ULONG kNoPosition = static_cast<ULONG>(-1);  // attachments have no place in the text

}  // namespace

bool SendMailWithFiles(const std::wstring& list, HWND mainWindow) {
  const base::Module mapi(::LoadLibraryW(L"MAPI32.DLL"));
  const auto send = base::ProcAddress<LPMAPISENDMAIL>(mapi.Get(), "MAPISendMail");
  if (!send) return false;

  // The message record is 8-bit text in the system code page.
  std::vector<std::string> paths = core::SplitMailList(base::Narrow(list));
  std::vector<MapiFileDesc> files(paths.size() + 1);  // never empty, so always a valid address
  for (std::size_t i = 0; i < paths.size(); ++i) {
    files[i].nPosition = kNoPosition;
    files[i].lpszPathName = paths[i].data();
  }
  MapiMessage message{};
  message.lpszSubject = kSubject;
  message.lpszNoteText = kNoteText;
  message.nFileCount = static_cast<ULONG>(paths.size());
  message.lpFiles = files.data();
  const ULONG result = send(0, 0, &message, kSendFlags, 0);
  if (mainWindow) ::BringWindowToTop(mainWindow);
  return core::MailServiceReached(result);
}

}  // namespace editor
