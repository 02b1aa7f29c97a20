// The editor's files: the working copy "temp.bmp" made from the user's
// picture, the pixel buffer and display bitmap read from it, and saving
// through the staging file "changed.bmp". The user's file is only ever
// replaced by a complete new file.
#include <cstring>
#include <new>

#include "app/lumora_app.h"
#include "base/file_dialog.h"
#include "base/file_io.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "editor/main_frame.h"
#include "editor/working_copy.h"
#include "imaging/dib_bitmap.h"
#include "imaging/image_library.h"
#include "res/resource.h"

namespace {

void Tell(UINT textId) { base::AppMessageBox(base::LoadResString(textId)); }

}  // namespace

// A new file has no history: what Undo would bring back belongs to the
// picture shown before.
bool CMainFrame::LoadEditFile(const std::wstring& path) {
  if (!editor::MakeWorkingCopy(path, g_strProgramFolder)) return false;
  base::Bitmap picture = imaging::LoadBitmapFile(editor::WorkingCopyPath());
  if (!picture) {
    Tell(IDS_LIST_READ_FAILED);
    return false;
  }
  m_hCurBitmap = std::move(picture);
  m_hUndoBitmap.Reset();
  m_bModified = false;
  m_lastEdit = LastEdit::kNone;
  m_viewMode = core::ViewMode::kNormal;
  RedrawPicture();
  const SIZE size = imaging::BitmapSize(m_hCurBitmap.Get());
  m_zoom = {{size.cx, size.cy}, {size.cx, size.cy}, 0, 0};
  ReadDibFile(editor::WorkingCopyPath());
  if (m_pDib) CheckEditableSize(reinterpret_cast<const BITMAPINFOHEADER*>(m_pDib.get()));
  return true;
}

// The bytes behind the 14-byte file header. The buffer only grows; a file
// whose size field claims more than the file holds is read as far as it goes.
bool CMainFrame::ReadDibFile(const std::wstring& path) {
  if (path.empty()) return false;
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::uint8_t header[14];
  DWORD got = 0;
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size) ||
      !::ReadFile(file.Get(), header, sizeof header, &got, nullptr) || got != sizeof header) {
    return false;
  }
  const std::uint32_t stated = header[2] | header[3] << 8 | header[4] << 16 |
                               static_cast<std::uint32_t>(header[5]) << 24;
  if (header[0] != 'B' || header[1] != 'M' || stated <= 14) return false;
  const std::uint32_t payload = static_cast<std::uint32_t>(
      std::min<long long>(stated, size.QuadPart) - 14);
  if (m_nDibCapacity < payload) {
    m_pDib.reset(new (std::nothrow) std::uint8_t[payload + 100ull]);
    m_nDibCapacity = m_pDib ? payload + 100 : 0;
    m_nDibBytes = 0;
    if (!m_pDib) return false;
  }
  if (!::ReadFile(file.Get(), m_pDib.get(), payload, &got, nullptr)) got = 0;
  m_nDibBytes = got;
  return got == payload;
}

base::Bitmap CMainFrame::BitmapFromDib() const {
  return imaging::BitmapFromPackedDib(m_pDib.get(), m_nDibBytes);
}

// A 24-bit bottom-up bitmap file of exactly 54 + rows bytes.
bool CMainFrame::WriteBitmapFile(HBITMAP bitmap, const std::wstring& path) const {
  return imaging::WritePackedBitmapFile(path, imaging::PackedDib24Of(bitmap));
}

bool CMainFrame::CheckEditableSize(const BITMAPINFOHEADER* dib) {
  if (!dib) return false;
  m_bEditable = core::IsEditableArea(dib->biWidth, dib->biHeight);
  if (!m_bEditable) m_sizeTooBig = {dib->biWidth, dib->biHeight};
  return m_bEditable;
}

void CMainFrame::ShowTooBigMessage() const {
  base::ShowMessageBox(m_hWnd,
                       base::FormatW(base::LoadResString(IDS_PICTURE_TOO_BIG).c_str(),
                                     m_sizeTooBig.cx, m_sizeTooBig.cy),
                       theApp.AppName(), MB_OK);
}

// Saves over the file shown. The picture counts as saved only when the
// file was written, so a failed save still asks before the picture goes.
void CMainFrame::SaveEditedImage() {
  if (!HasPicture()) return;
  const int current = m_folderFiles.current;
  const std::wstring target = current >= 0 ? m_folderFiles.paths[static_cast<std::size_t>(current)]
                                           : m_strEditFile;
  if (SaveEditedImageTo(target)) m_bModified = false;
}

void CMainFrame::SaveEditedImageAs() {
  if (m_mode != FrameMode::kEditing || !HasPicture()) return;
  const base::FileDialogSpec spec{base::LoadResString(IDS_SAVE_IMAGE_TITLE),
                                  base::LoadResString(IDS_SAVE_IMAGE_FILTER), L"BMP", L""};
  if (const auto path = base::AskSaveFileName(m_hWnd, spec)) SaveEditedImageTo(*path);
}

// The display bitmap to the staging file, then a copy or a JPEG of it in
// place of `target`; the staging file goes once the target is written.
bool CMainFrame::SaveEditedImageTo(const std::wstring& target) {
  if (!HasPicture()) return false;
  const core::PictureType type = core::PictureTypeOf(target);
  if (type == core::PictureType::kOther) {
    Tell(IDS_FORMAT_NOT_SUPPORTED);
    return false;
  }
  bool saved = false;
  if (WriteBitmapFile(m_hCurBitmap.Get(), editor::StagingPath())) {
    if (type == core::PictureType::kBmp) {
      saved = base::ReplaceFileWithCopyOf(target, editor::StagingPath());
    } else {
      const imaging::ImageLibrary library(g_strProgramFolder);
      if (library.GetState() != imaging::ImageLibrary::State::kReady) {
        Tell(IDS_TRANSFORM_MODULE_MISSING_SAVE);
        return false;
      }
      saved = library.Convert(editor::StagingPath(), target, kZImgJpeg);
    }
  }
  if (!saved) {
    base::AppMessageBox(base::FormatResString(IDS_SAVE_FAILED, target));
    return false;
  }
  ::DeleteFileW(editor::StagingPath().c_str());
  Tell(IDS_SAVING_COMPLETE);
  return true;
}
