// A mail service that sends nothing: MAPISendMail appends the message it is
// given, field by field, to the text file named by the environment variable
// LUMORA_MAIL_RECORD and answers with the number in LUMORA_MAIL_RESULT (0
// when unset), so that a test can play a sent message, a cancelled one or a
// failing service.
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableA(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

const char* Text(const char* s) { return s ? s : "(none)"; }

}  // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message,
                                     FLAGS flags, ULONG reserved) {
  const std::string record = Environment("LUMORA_MAIL_RECORD");
  if (!record.empty() && message) {
    if (FILE* f = std::fopen(record.c_str(), "ab")) {
      std::fprintf(f, "session=%lu window=%lu flags=0x%lx reserved=%lu\n",
                   static_cast<unsigned long>(session), static_cast<unsigned long>(uiParam),
                   static_cast<unsigned long>(flags), static_cast<unsigned long>(reserved));
      std::fprintf(f, "subject=%s\nnote=%s\ntype=%s\nrecipients=%lu\nattachments=%lu\n",
                   Text(message->lpszSubject), Text(message->lpszNoteText),
                   Text(message->lpszMessageType), message->nRecipCount, message->nFileCount);
      for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
        const MapiFileDesc& file = message->lpFiles[i];
        std::fprintf(f, "file reserved=%lu flags=%lu position=%ld path=%s name=%s type=%s\n",
                     file.ulReserved, file.flFlags, static_cast<long>(file.nPosition),
                     Text(file.lpszPathName), Text(file.lpszFileName),
                     file.lpFileType ? "(set)" : "(none)");
      }
      std::fprintf(f, "end\n");
      std::fclose(f);
    }
  }
  const std::string result = Environment("LUMORA_MAIL_RESULT");
  return result.empty() ? SUCCESS_SUCCESS : std::strtoul(result.c_str(), nullptr, 10);
}
