#pragma once
// The left pane of the album window: one tree item per album. A selection
// makes that album the current one of the whole program (new captures land
// in it) and shows it in the file list; the TREE menu offers the album
// commands. The tree keeps the album list and the list's display mode.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/frame.h"
#include "core/album_rules.h"

class CFileTreeView : public base::CView {
 public:
  CFileTreeView() = default;
  ~CFileTreeView() override;

  bool CreateView(HWND parent, UINT id) override;
  void OnInitialUpdate() override;

  core::DisplayMode DisplayMode() const { return m_mode; }
  void SetDisplayMode(core::DisplayMode mode) { m_mode = mode; }
  const std::vector<std::wstring>& Albums() const { return m_albums; }
  // The Delete key while the tree has the focus.
  void OnDeleteAlbum();

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  void OnCreateAlbum();
  void OnRenameAlbum();
  void OnCopyAlbum();
  void OnPasteAlbum();
  LRESULT OnReflectedNotify(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);

  void CreateImageList();
  HTREEITEM AppendItem(const std::wstring& path);
  void OnSelectionChanged(HTREEITEM item);
  void OnRightClick();
  void ShowTreeMenu(bool onItem, bool onDefaultLabel);
  // Index of the current item in the album list, or -1.
  int CurrentIndex() const;
  // Clears the tree's selection without showing another album.
  void ClearTreeSelection();
  void Message(UINT id, const std::wstring& arg = L"") const;
  std::wstring ItemText(HTREEITEM item) const;

  std::vector<std::wstring> m_albums;  // grows past 1000 entries
  std::vector<HTREEITEM> m_items;
  HTREEITEM m_hCurrent = nullptr;
  std::wstring m_strCopied;
  std::wstring m_strPasteTarget;
  core::DisplayMode m_mode = core::DisplayMode::Large;
  HIMAGELIST m_hImages = nullptr;
  bool m_bInitialised = false;
  bool m_bQuiet = false;  // selection changes made by the commands themselves
  std::wstring m_strIniPath;
};

// The one album tree while the album window exists.
extern CFileTreeView* g_pFileTreeView;
