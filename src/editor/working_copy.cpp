#include "editor/working_copy.h"

#include <windows.h>

#include "base/file_io.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/picture_files.h"
#include "imaging/dib_bitmap.h"
#include "imaging/image_library.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace editor {
namespace {

bool Refuse(UINT textId) {
  base::AppMessageBox(base::LoadResString(textId));
  return false;
}

}  // namespace

std::wstring WorkingCopyPath() { return settings::EditFolder() + L"\\temp.bmp"; }
std::wstring StagingPath() { return settings::EditFolder() + L"\\changed.bmp"; }

bool MakeWorkingCopy(const std::wstring& path, const std::wstring& programFolder) {
  // The product folder is made at start-up; made here too, so that the
  // working copy has its place whatever happened to it since.
  ::CreateDirectoryW(settings::ProductFolder().c_str(), nullptr);
  ::CreateDirectoryW(settings::EditFolder().c_str(), nullptr);
  switch (core::PictureTypeOf(path)) {
    case core::PictureType::kBmp:
      if (!imaging::LoadBitmapFile(path) || !base::ReplaceFileWithCopyOf(WorkingCopyPath(), path)) {
        return Refuse(IDS_LIST_READ_FAILED);
      }
      return true;
    case core::PictureType::kJpg: {
      const imaging::ImageLibrary library(programFolder);
      if (library.GetState() != imaging::ImageLibrary::State::kReady) {
        return Refuse(IDS_TRANSFORM_MODULE_FAILED);
      }
      return library.Convert(path, WorkingCopyPath(), kZImgBmp) || Refuse(IDS_LIST_READ_FAILED);
    }
    case core::PictureType::kOther:
      break;
  }
  return Refuse(IDS_FORMAT_NOT_SUPPORTED);
}

}  // namespace editor
