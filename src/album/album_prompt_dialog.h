#pragma once
// The small album dialogs: a prompt, one edit box, OK and Cancel.
// "New Album Name" (166) builds and creates the album folder, "Album Rename"
// (174) refuses an empty name, "Image Rename" (184) takes any name, "Image
// search" (190) hands the text to a check that may keep the dialog open.
#include <functional>
#include <string>

#include "base/dialog.h"
#include "res/resource.h"

class CAlbumPromptDlg : public base::CDialog {
 public:
  CAlbumPromptDlg(UINT templateId, HWND parent, bool fixedSize)
      : CDialog(templateId, parent), m_bFixedSize(fixedSize) {}
  // The dialog's result: the typed text, or what the dialog made of it.
  std::wstring m_strResult;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  // The typed text on OK; false keeps the dialog open.
  virtual bool Accept(const std::wstring& text) = 0;

 private:
  bool m_bFixedSize;
};

class CNewAlbumDlg : public CAlbumPromptDlg {
 public:
  explicit CNewAlbumDlg(HWND parent) : CAlbumPromptDlg(IDD_NEW_ALBUM, parent, true) {}

 protected:
  bool Accept(const std::wstring& text) override;
};

class CAlbumRenameDlg : public CAlbumPromptDlg {
 public:
  explicit CAlbumRenameDlg(HWND parent) : CAlbumPromptDlg(IDD_ALBUM_RENAME, parent, false) {}

 protected:
  bool Accept(const std::wstring& text) override;
};

// "Image Rename" (184): the typed name as it is, even an empty one.
class CImageRenameDlg : public CAlbumPromptDlg {
 public:
  explicit CImageRenameDlg(HWND parent) : CAlbumPromptDlg(IDD_IMAGE_RENAME, parent, true) {}

 protected:
  bool Accept(const std::wstring& text) override {
    m_strResult = text;
    return true;
  }
};

class CImageSearchDlg : public CAlbumPromptDlg {
 public:
  // `search` gets a non-empty text and gives false to keep the dialog open.
  CImageSearchDlg(HWND parent, std::function<bool(const std::wstring&)> search)
      : CAlbumPromptDlg(IDD_IMAGE_SEARCH, parent, true), m_search(std::move(search)) {}

 protected:
  bool Accept(const std::wstring& text) override;

 private:
  std::function<bool(const std::wstring&)> m_search;
};
