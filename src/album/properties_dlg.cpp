#include "album/properties_dlg.h"

#include <windows.h>
#include <vfw.h>

#include <optional>

#include "base/com_ptr.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/file_operations.h"
#include "core/picture_files.h"
#include "imaging/dib_bitmap.h"
#include "imaging/image_library.h"
#include "res/resource.h"

namespace {

SYSTEMTIME LocalTimeOf(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME time{};
  ::FileTimeToLocalFileTime(&utc, &local);
  ::FileTimeToSystemTime(&local, &time);
  return time;
}

std::wstring DateTimeOf(const FILETIME& utc) {
  const SYSTEMTIME t = LocalTimeOf(utc);
  return core::DateTimeText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// The frame size in a clip's header; -1 x -1 when it does not open.
SIZE ClipFrameSize(const std::wstring& path) {
  SIZE size{-1, -1};
  ::AVIFileInit();
  PAVIFILE file = nullptr;
  if (::AVIFileOpenW(&file, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) == 0) {
    AVIFILEINFOW info{};
    if (::AVIFileInfoW(file, &info, sizeof info) == 0) {
      size = {static_cast<LONG>(info.dwWidth), static_cast<LONG>(info.dwHeight)};
    }
    ::AVIFileRelease(file);
  }
  ::AVIFileExit();
  return size;
}

// A JPEG picture measured through a bitmap copy in the user's temporary
// folder (the program folder may not be writable); nothing when the library
// is missing or the picture cannot be read.
std::optional<SIZE> JpegSize(const std::wstring& path, const std::wstring& programFolder) {
  wchar_t folder[MAX_PATH] = L"";
  wchar_t temp[MAX_PATH] = L"";
  if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"lum", 0, temp)) return {};
  std::optional<SIZE> size;
  const imaging::ImageLibrary library(programFolder);
  if (library.Convert(path, temp, kZImgBmp)) {
    const base::Bitmap bitmap = imaging::LoadBitmapFile(temp);
    if (bitmap) size = imaging::BitmapSize(bitmap.Get());
  }
  ::DeleteFileW(temp);
  return size;
}

}  // namespace

CPropertiesDlg::CPropertiesDlg(HWND parent, std::wstring path, std::wstring programFolder)
    : CDialog(IDD_IMAGE_PROPERTIES, parent),
      m_strPath(std::move(path)),
      m_strProgramFolder(std::move(programFolder)) {}

void CPropertiesDlg::SetField(int id, const std::wstring& text) {
  ::SetDlgItemTextW(m_hWnd, id, text.c_str());
}

BOOL CPropertiesDlg::OnInitDialog() {
  ::SetWindowTextW(m_hWnd,
                   (base::FileNameOf(m_strPath) + base::LoadResString(IDS_FILE_PROPERTIES_TITLE)).c_str());
  SetField(IDC_PROP_TYPE, core::FileTypeText(m_strPath, base::LoadResString(IDS_FILE_KIND_IMAGE),
                                             base::LoadResString(IDS_FILE_KIND_VIDEO)));
  SetField(IDC_PROP_LOCATION, m_strPath);
  ShowTimes();
  ShowPictureSize();
  return TRUE;
}

void CPropertiesDlg::ShowTimes() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(m_strPath.c_str(), GetFileExInfoStandard, &data)) return;
  const std::uint64_t bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  SetField(IDC_PROP_SIZE, core::SizeText(bytes));
  SetField(IDC_PROP_CREATED, DateTimeOf(data.ftCreationTime));
  SetField(IDC_PROP_MODIFIED, DateTimeOf(data.ftLastWriteTime));
  const SYSTEMTIME accessed = LocalTimeOf(data.ftLastAccessTime);
  SetField(IDC_PROP_ACCESSED, core::DateText(accessed.wYear, accessed.wMonth, accessed.wDay));
}

void CPropertiesDlg::ShowPictureSize() {
  SIZE size{-1, -1};
  if (core::IsClipName(m_strPath)) {
    size = ClipFrameSize(m_strPath);
  } else if (core::PictureTypeOf(m_strPath) == core::PictureType::kBmp) {
    size = imaging::BitmapSize(imaging::LoadBitmapFile(m_strPath).Get());
  } else if (const auto jpeg = JpegSize(m_strPath, m_strProgramFolder)) {
    size = *jpeg;
  } else {
    base::AppMessageBox(base::LoadResString(IDS_FILE_INFO_FAILED));
  }
  SetField(IDC_PROP_WIDTH, std::to_wstring(size.cx));
  SetField(IDC_PROP_HEIGHT, std::to_wstring(size.cy));
}
