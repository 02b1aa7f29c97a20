#pragma once
// The right pane of the album window: the image and video files of the
// current album as a grid of thumbnail cells (large or small icons) or as a
// details table. The list control serves as the grid's scrolling surface:
// one placeholder row per grid row, with the cells laid over the rows.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "album/album_host.h"
#include "album/thumbnail_cell.h"
#include "album/thumbnail_worker.h"
#include "base/frame.h"
#include "core/album_rules.h"

class CFileListView : public base::CView {
 public:
  // `host` opens the files the user double-clicks; none in the tests.
  explicit CFileListView(AlbumHost* host = nullptr) : m_pHost(host) {}
  ~CFileListView() override;

  bool CreateView(HWND parent, UINT id) override;

  // The display mode, kept by the album tree.
  core::DisplayMode Mode() const;
  // Style and background of the (empty) list for a mode.
  void ApplyModeStyle(core::DisplayMode mode);
  // Rebuilds the list from the folder's *.bmp, *.avi and *.jpg files.
  void ShowAlbum(const std::wstring& folder, core::DisplayMode mode);
  // Empties the list; `mode` is the mode being left.
  void ResetList(core::DisplayMode mode);
  // Appends a file just written into the current album. While the list is
  // being built or another file added (a message box of ours then runs a
  // message loop, in which a capture may end), the file waits and is added
  // once that work is done.
  void AddFile(const std::wstring& path);
  // The album on show was renamed: its files now lie in `newFolder`.
  void FolderRenamed(const std::wstring& oldFolder, const std::wstring& newFolder);
  // Deselects every cell.
  void ClearSelection();
  // 1 name, 2 size, 3 date.
  void Sort(int key);
  // Switches the display mode and shows the current album again.
  void ChangeDisplayMode(core::DisplayMode mode);
  // The search: selects every file whose name matches the wildcard text;
  // false, after telling the user, when none does.
  bool Search(const std::wstring& text);

  int Count() const { return static_cast<int>(m_items.size()); }
  int CurrentIndex() const { return m_nCurrent; }
  // The file last clicked, as "CurrentSelectFile" holds it; empty when none.
  const std::wstring& CurrentFile() const { return m_strCurrentFile; }
  // The paths of the selected files, in the list's order.
  std::vector<std::wstring> SelectedFiles() const;
  // Whether Paste has files to copy.
  bool HasCopiedFiles() const { return m_bCopied; }
  const ThumbnailCell& Cell(int i) const { return *m_cells[static_cast<std::size_t>(i)]; }
  // Whether thumbnails are still being made or wait to be handed to cells.
  bool ThumbnailsPending() const { return m_worker && m_worker->Busy(); }
  // The cell frames and film marks, loaded once for all cells.
  HBITMAP Artwork(UINT id);

  // From the cells.
  void OnCellClick(ThumbnailCell& cell, bool ctrl);
  void OnCellRightClick(ThumbnailCell& cell);
  LRESULT PassClick(HWND cell, UINT message, WPARAM wParam, LPARAM lParam);
  void OpenCurrentFile();

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  struct Item {
    std::wstring path;
    std::wstring title;
    std::uint32_t size = 0;
    std::uint32_t date = 0;
  };

  LRESULT OnReflectedNotify(WPARAM, LPARAM);
  LRESULT OnScroll(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnButtonDown(WPARAM, LPARAM);
  LRESULT OnRButtonDown(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnThumbnailsReady(WPARAM, LPARAM);
  void OnSortName() { Sort(1); }
  void OnSortSize() { Sort(2); }
  void OnSortDate() { Sort(3); }
  void OnSearch();
  void OnBrowse(UINT id);
  void OnPrint();
  void OnEmail();

  void BuildList(const std::wstring& folder, core::DisplayMode mode);
  void AppendFile(const std::wstring& path);
  void AddWaitingFiles();
  int WindowWidth() const;
  static Item ItemOf(const std::wstring& path, const WIN32_FIND_DATAW& found);
  bool AppendCell(const Item& item, int index);
  bool CheckBitmapCell(ThumbnailCell& cell);
  void MakeThumbnailNow(ThumbnailCell& cell);
  void QueueThumbnail(ThumbnailCell& cell, bool urgent);
  void QueueRemainingThumbnails();
  SIZE ThumbnailBox() const;
  void SetUpDetails();
  void SetUpGrid();
  void AddRow(int index);
  void WriteRow(int index);
  void ResetPlaceholders();
  void Relayout();
  void CopyRowSelection();
  // The file commands (file_list_operations.cpp).
  void ShowImageMenu();
  bool FillMoveMenu(HMENU move);
  void ApplyMenuStates(HMENU menu);
  int SelectedCount() const;
  void OnFileCommandState(base::CommandState& state);
  void RemoveItem(int index);
  int IndexOf(const std::wstring& path) const;
  void ShowWrittenFile(const std::wstring& path);
  void OnProperties();
  void OnRename();
  void OnDelete();
  void OnCopy();
  void OnPaste();
  void OnMoveToAlbum(UINT id);
  bool MoveIntoAlbum(const std::wstring& path, const std::wstring& album);
  void OnImport();
  void OnSaveAs();
  void SelectForSearch(int index);
  void WriteCurrentFile(const std::wstring& path);
  void Message(UINT id, const std::wstring& arg = L"") const;

  std::vector<std::unique_ptr<ThumbnailCell>> m_cells;  // grows past 1000 entries
  std::vector<Item> m_items;
  core::CellGeometry m_geometry = core::GeometryOf(core::DisplayMode::Large);
  int m_nColumns = 1;
  int m_nCurrent = -1;
  std::wstring m_strCurrentFile;  // as "CurrentSelectFile" holds it
  AlbumHost* m_pHost;
  bool m_bShown = false;
  bool m_bBuilding = false;             // ShowAlbum or AddFile under way
  std::vector<std::wstring> m_waiting;  // files handed over meanwhile
  std::wstring m_strFolder;
  // Thumbnails are made on the worker's thread, cells in view first; each
  // job is known by a ticket that no later job of this list takes again.
  static constexpr UINT kThumbnailsReady = WM_APP + 1;
  std::unique_ptr<ThumbnailWorker> m_worker;
  unsigned m_nLastTicket = 0;
  std::vector<std::pair<UINT, base::Bitmap>> m_artwork;
  HIMAGELIST m_hDetailImages = nullptr;
  HIMAGELIST m_hRowImages = nullptr;
  std::wstring m_strIniPath;
  // The last Copy: the selected files, whether they may be pasted, and the
  // current file of that moment.
  std::vector<std::wstring> m_copiedFiles;
  bool m_bCopied = false;
  std::wstring m_strClipboardSource;
};

// The one file list while the album window exists. The capture window hands
// every new file to it through ClearSelection and AddFile.
extern CFileListView* g_pFileListView;
