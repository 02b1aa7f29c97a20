#pragma once
// One page with one picture: the system's print dialog, the output file
// when the user prints to a file, and the page with the picture at the
// printable area's top left, scaled by the page rules of core/print_layout.
// The user hears of every failure; the main window is enabled again
// whatever happens.
#include <windows.h>

#include <string>

class CPicturePrintJob {
 public:
  enum class Outcome {
    kPrinted,
    kCancelled,   // no printer chosen, or the output file not named
    kNotStarted,  // the document could not be started
    kFailed,      // the page could not be finished: the document was aborted
    kAborted,     // the program is ending: the document was aborted
  };

  // `picture` stays the caller's; it must outlive the job.
  explicit CPicturePrintJob(HBITMAP picture);

  // Asks for the printer (and the output file when printing to a file),
  // with `owner` owning the dialogs, then prints the page.
  Outcome Run(HWND owner);

  // Prints the page on `printer`, into `outputFile` when it is not empty,
  // else to the printer's port, and tells the user when that fails.
  Outcome PrintOn(HDC printer, const std::wstring& outputFile);

 private:
  Outcome Spool(HDC printer, const std::wstring& outputFile);
  bool DrawPage(HDC printer) const;

  std::wstring m_strDocName = L" ";
  RECT m_rectDraw{};
  HBITMAP m_hPicture;
};
