#include "editor/print_preview_dlg.h"

#include <utility>

#include "app/lumora_app.h"
#include "base/app.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/picture_files.h"
#include "editor/picture_print_job.h"
#include "imaging/dib_bitmap.h"
#include "imaging/image_library.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr int kPictureInset = 7;  // the picture's left and top in the dialog's client area

// The current display mode's size; the primary screen's as a fallback.
SIZE ScreenSize() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
    return {static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
  }
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void Place(HWND control, const core::Placement& r) {
  if (control) ::MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

}  // namespace

CPrintPreviewDlg::CPrintPreviewDlg(HWND owner, std::wstring path)
    : CDialog(IDD_PRINT_PREVIEW, owner), m_strPrintFile(std::move(path)) {}

const base::MessageMap* CPrintPreviewDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CPrintPreviewDlg::OnPaint>(WM_PAINT),
      base::CommandEntry<&CPrintPreviewDlg::OnPrint>(IDC_PRINT_PREVIEW_PRINT),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

// A file that is no picture the preview knows closes the dialog with a
// message; the program goes on.
BOOL CPrintPreviewDlg::OnInitDialog() {
  if (!PreparePicture()) {
    base::AppMessageBox(base::LoadResString(IDS_FORMAT_NOT_SUPPORTED));
    EndDialog(IDCANCEL);
    return FALSE;
  }
  LayOut();
  return TRUE;
}

// A bitmap file is loaded as it is, a JPEG file through a temporary bitmap
// file in the edit folder. A file that does not load leaves the preview
// empty and Print without effect.
bool CPrintPreviewDlg::PreparePicture() {
  m_hPrintBitmap.Reset();
  switch (core::PictureTypeOf(m_strPrintFile)) {
    case core::PictureType::kBmp:
      m_hPrintBitmap = imaging::LoadBitmapFile(m_strPrintFile);
      break;
    case core::PictureType::kJpg: {
      const std::wstring temp = editor::PrintTempFilePath();
      ::CreateDirectoryW(settings::EditFolder().c_str(), nullptr);
      const imaging::ImageLibrary library(g_strProgramFolder);
      if (library.GetState() == imaging::ImageLibrary::State::kReady &&
          library.Convert(m_strPrintFile, temp, kZImgBmp)) {
        m_hPrintBitmap = imaging::LoadBitmapFile(temp);
        ::DeleteFileW(temp.c_str());
      }
      break;
    }
    case core::PictureType::kOther:
      return false;
  }
  m_bPrepared = true;
  const SIZE size = imaging::BitmapSize(m_hPrintBitmap.Get());
  m_previewSize = core::PrintPreviewSize({size.cx, size.cy});
  return true;
}

// The dialog around the picture, centred on the screen.
void CPrintPreviewDlg::LayOut() {
  RECT button{};
  ::GetWindowRect(GetDlgItem(IDCANCEL), &button);
  const core::PreviewMetrics metrics{
      m_previewSize,
      {button.right - button.left, button.bottom - button.top},
      {::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)},
      ::GetSystemMetrics(SM_CYCAPTION)};
  const core::PreviewLayout layout = core::LayOutPrintPreview(metrics);
  Place(GetDlgItem(IDC_PRINT_PREVIEW_FRAME), layout.frame);
  Place(GetDlgItem(IDC_PRINT_PREVIEW_PRINT), layout.print);
  Place(GetDlgItem(IDCANCEL), layout.cancel);
  const SIZE screen = ScreenSize();
  ::MoveWindow(m_hWnd, core::CentredOrigin(screen.cx, layout.dialog.width),
               core::CentredOrigin(screen.cy, layout.dialog.height), layout.dialog.width,
               layout.dialog.height, TRUE);
}

LRESULT CPrintPreviewDlg::OnPaint(WPARAM, LPARAM) {
  base::PaintDc dc(m_hWnd);
  if (!m_hPrintBitmap || !dc.Get()) return 0;
  base::MemoryDc source(::CreateCompatibleDC(dc.Get()));
  if (!source) return 0;
  const SIZE size = imaging::BitmapSize(m_hPrintBitmap.Get());
  base::SelectScope select(source.Get(), m_hPrintBitmap.Get());
  const int oldMode = ::SetBkMode(dc.Get(), TRANSPARENT);
  ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
  ::StretchBlt(dc.Get(), kPictureInset, kPictureInset, m_previewSize.width, m_previewSize.height,
               source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  ::SetBkMode(dc.Get(), oldMode);
  return 0;
}

void CPrintPreviewDlg::OnPrint() {
  if (!m_hPrintBitmap) return;
  ::EnableWindow(GetDlgItem(IDC_PRINT_PREVIEW_PRINT), FALSE);
  CPicturePrintJob job(m_hPrintBitmap.Get());
  job.Run(m_hWnd);
  EndDialog(IDOK);
}

namespace editor {

std::wstring PrintTempFilePath() { return settings::EditFolder() + L"\\PrintTempFile.bmp"; }

INT_PTR ShowPrintPreview(const std::wstring& path) {
  CPrintPreviewDlg dialog(base::AppMainWindow(), path);
  return dialog.DoModal();
}

}  // namespace editor
