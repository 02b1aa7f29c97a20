#include "capturewin/still_file.h"

#include "base/handles.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/bmp_file_header.h"
#include "core/capture_naming.h"
#include "core/dib_check.h"
#include "imaging/image_library.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace capturewin {
namespace {

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteAll(HANDLE file, const void* data, DWORD bytes) {
  DWORD written = 0;
  return ::WriteFile(file, data, bytes, &written, nullptr) && written == bytes;
}

// The header and pixels of a 24-bit frame; 0 when the buffer does not hold one.
DWORD FrameBytes(const unsigned char* dib, std::size_t bytes) {
  const auto layout = core::CheckDib(dib, bytes);
  if (!layout || layout->bitsPerPixel != 24 || layout->pixelOffset != 40) return 0;
  return static_cast<DWORD>(40 + layout->pixelBytes);
}

// File header, bitmap header and pixels; false (and no file) on any failure.
bool WriteBmpFile(const std::wstring& path, const unsigned char* dib, DWORD frameBytes) {
  base::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const auto header = core::BmpFileHeader(frameBytes - 40);
  const bool ok = WriteAll(file.Get(), header.data(), static_cast<DWORD>(header.size())) &&
                  WriteAll(file.Get(), dib, frameBytes);
  file.Reset();
  if (!ok) ::DeleteFileW(path.c_str());
  return ok;
}

struct Written {
  std::wstring name;  // the first free name; empty when none is left
  bool temp = false;  // the temporary file holds the whole frame
};

// Temporary file, then the first free name for it.
Written WriteTemp(const unsigned char* dib, std::size_t bytes, const std::wstring& temp,
                  const std::wstring& folder, const wchar_t* extension) {
  Written result;
  const DWORD frameBytes = FrameBytes(dib, bytes);
  if (!frameBytes) return result;
  result.temp = WriteBmpFile(temp, dib, frameBytes);
  result.name = core::FirstFreeCaptureName(folder, extension, FileExists);
  return result;
}

}  // namespace

std::wstring ImageFolder(const std::wstring& iniPath) {
  std::wstring folder = base::Widen(settings::Read(settings::kCapturedImageFilePath, iniPath));
  if (folder.empty()) folder = settings::DefaultAlbumFolder();
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring WriteBmpStill(const unsigned char* dib, std::size_t bytes, const std::wstring& folder) {
  const std::wstring temp = folder + L"\\temp.bmp";
  const Written written = WriteTemp(dib, bytes, temp, folder, L".BMP");
  if (written.temp && !written.name.empty()) ::MoveFileW(temp.c_str(), written.name.c_str());
  return written.name;
}

std::wstring WriteJpegStill(const unsigned char* dib, std::size_t bytes, const std::wstring& folder,
                            const std::wstring& programFolder, HWND owner) {
  const std::wstring temp = folder + L"\\temp.BMP";
  const Written written = WriteTemp(dib, bytes, temp, folder, L".JPG");
  const std::wstring& name = written.name;
  if (name.empty() || !written.temp) return name;

  const imaging::ImageLibrary library(programFolder);
  if (library.GetState() != imaging::ImageLibrary::State::kReady) {
    base::ShowMessageBox(owner, base::LoadResString(IDS_JPEG_MODULE_MISSING), MB_OK);
    return name;
  }
  if (library.Convert(temp, name, kZImgJpeg)) ::DeleteFileW(temp.c_str());
  return name;
}

}  // namespace capturewin
