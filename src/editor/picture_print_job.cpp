#include "editor/picture_print_job.h"

#include <commdlg.h>

#include <optional>

#include "base/app.h"
#include "base/file_dialog.h"
#include "base/handles.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/print_layout.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"

namespace {

constexpr WORD kLastPage = 0xFFFF;
constexpr wchar_t kPrintFileExtension[] = L"prn";

// Keeps the windows of this thread responsive while the page is spooled.
// False, with the quit message put back for the message loop, when the
// program is asked to end.
BOOL CALLBACK PumpWhilePrinting(HDC, int) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}

// Whether the program is asked to end (the abort procedure stops the job
// then, also before it starts).
bool QuitPending() {
  MSG msg;
  return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// The main window is disabled while the job runs and enabled again
// whatever way the job ends.
class MainWindowDisabled {
 public:
  MainWindowDisabled() : m_hwnd(base::AppMainWindow()) {
    if (m_hwnd) ::EnableWindow(m_hwnd, FALSE);
  }
  ~MainWindowDisabled() {
    if (m_hwnd) ::EnableWindow(m_hwnd, TRUE);
  }
  MainWindowDisabled(const MainWindowDisabled&) = delete;
  MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;

 private:
  HWND m_hwnd;
};

// The name of the file to print into, confirmed by the user when it
// exists; nothing when the user cancels.
std::optional<std::wstring> AskOutputFile(HWND owner) {
  base::FileDialogSpec spec{base::LoadResString(IDS_PRINT_TO_FILE_TITLE),
                            base::LoadResString(IDS_PRINT_TO_FILE_FILTER), kPrintFileExtension, L""};
  spec.initialName = base::LoadResString(IDS_PRINT_TO_FILE_NAME);
  spec.confirmOverwrite = true;
  return base::AskSaveFileName(owner, spec);
}

void Tell(UINT textId) { base::AppMessageBox(base::LoadResString(textId)); }

}  // namespace

CPicturePrintJob::CPicturePrintJob(HBITMAP picture) : m_hPicture(picture) {
  const SIZE size = imaging::BitmapSize(picture);
  m_rectDraw = {0, 0, size.cx, size.cy};
}

CPicturePrintJob::Outcome CPicturePrintJob::Run(HWND owner) {
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = owner;
  pd.Flags = PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_RETURNDC;
  pd.nMinPage = 1;
  pd.nMaxPage = kLastPage;
  pd.nFromPage = 1;
  pd.nToPage = kLastPage;
  const BOOL chosen = ::PrintDlgW(&pd);
  // The dialog's settings are the caller's to free, chosen or not.
  const base::GlobalMemory devMode(pd.hDevMode);
  const base::GlobalMemory devNames(pd.hDevNames);
  const base::MemoryDc printer(pd.hDC);
  if (!chosen || !printer) return Outcome::kCancelled;
  std::wstring outputFile;
  if (pd.Flags & PD_PRINTTOFILE) {
    const auto file = AskOutputFile(owner);
    if (!file) return Outcome::kCancelled;
    outputFile = *file;
  }
  return PrintOn(printer.Get(), outputFile);
}

// The user hears of a failure once the main window is enabled again.
CPicturePrintJob::Outcome CPicturePrintJob::PrintOn(HDC printer, const std::wstring& outputFile) {
  const Outcome outcome = Spool(printer, outputFile);
  if (outcome == Outcome::kNotStarted) Tell(IDS_PRINT_START_FAILED);
  if (outcome == Outcome::kFailed) Tell(IDS_PRINT_FAILED);
  return outcome;
}

// One page; a document that was started is ended or aborted.
CPicturePrintJob::Outcome CPicturePrintJob::Spool(HDC printer, const std::wstring& outputFile) {
  const MainWindowDisabled disabled;
  ::SetAbortProc(printer, PumpWhilePrinting);
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = m_strDocName.c_str();
  doc.lpszOutput = outputFile.empty() ? nullptr : outputFile.c_str();
  if (::StartDocW(printer, &doc) <= 0) return QuitPending() ? Outcome::kAborted : Outcome::kNotStarted;
  const bool pageDone = ::StartPage(printer) > 0 && DrawPage(printer) && ::EndPage(printer) > 0;
  if (pageDone && !PumpWhilePrinting(printer, 0)) {
    ::AbortDoc(printer);  // the quit message is back in the queue for the message loop
    return Outcome::kAborted;
  }
  if (!pageDone || ::EndDoc(printer) <= 0) {
    ::AbortDoc(printer);
    return Outcome::kFailed;
  }
  return Outcome::kPrinted;
}

// The picture at the top left of the printable area, its size by the page
// rules; the source is copied as it is.
bool CPicturePrintJob::DrawPage(HDC printer) const {
  base::MemoryDc memory(::CreateCompatibleDC(printer));
  if (!memory) return false;
  const base::SelectScope select(memory.Get(), m_hPicture);
  const core::PrinterPage page{::GetDeviceCaps(printer, HORZSIZE), ::GetDeviceCaps(printer, VERTSIZE),
                               ::GetDeviceCaps(printer, LOGPIXELSX), ::GetDeviceCaps(printer, LOGPIXELSY)};
  const core::PictureSize size = core::PrintedPictureSize({m_rectDraw.right, m_rectDraw.bottom}, page);
  const int oldMode = ::SetBkMode(printer, TRANSPARENT);
  ::SetStretchBltMode(printer, COLORONCOLOR);
  const BOOL drawn = ::StretchBlt(printer, 0, 0, size.width, size.height, memory.Get(), 0, 0,
                                  m_rectDraw.right, m_rectDraw.bottom, SRCCOPY);
  ::SetBkMode(printer, oldMode);
  return drawn != FALSE;
}
