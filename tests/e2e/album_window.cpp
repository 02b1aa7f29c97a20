#include "album_window.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "res/resource.h"

namespace e2e {
namespace {

constexpr int kFileNameBox = 1148;  // the file dialogs' name box

// A visible dialog of the program with a control of id `control`: the name
// box of the album dialogs, or the text (0xFFFF) of a message box.
struct DialogSearch {
  DWORD pid;
  int control;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && ClassName(hwnd) == L"#32770" && ::IsWindowVisible(hwnd) &&
      ::GetDlgItem(hwnd, search->control)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}


HWND SplitterChild(HWND albumFrame, const wchar_t* className) {
  HWND splitter = ::FindWindowExW(albumFrame, nullptr, L"LumoraSplitter", nullptr);
  return splitter ? ::FindWindowExW(splitter, nullptr, className, nullptr) : nullptr;
}

}  // namespace

HWND WaitForDialogWith(const LumoraSession& lumora, int control) {
  DialogSearch search{lumora.ProcessId(), control, nullptr};
  WaitFor([&] {
    ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

HWND AlbumTree(HWND albumFrame) { return SplitterChild(albumFrame, WC_TREEVIEWW); }

HWND FileList(HWND albumFrame) { return SplitterChild(albumFrame, WC_LISTVIEWW); }

AlbumWindows StartWithAlbumWindow(LumoraSession& lumora) {
  lumora.Start();
  return FindAlbumWindows(lumora, lumora.WaitForMainWindow());
}

AlbumWindows FindAlbumWindows(const LumoraSession& lumora, HWND main) {
  AlbumWindows windows;
  windows.main = main;
  if (!main) return windows;
  WaitFor([&] { return (windows.frame = lumora.FindChild(main, L"Album")) != nullptr; });
  if (!windows.frame) return windows;
  windows.tree = AlbumTree(windows.frame);
  windows.list = FileList(windows.frame);
  return windows;
}

void Select(HWND tree, int index) {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i = 0; i < index && item; ++i) {
    item = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  ASSERT_NE(item, nullptr);
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void ClickTreeItem(HWND tree, int index) {
  const int height = static_cast<int>(::SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
  const LPARAM at = MAKELPARAM(36, height * index + height / 2);
  ::PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(tree, WM_LBUTTONUP, 0, at);
}

void ClickCell(HWND cell, bool ctrl) {
  ::PostMessageW(cell, WM_LBUTTONDOWN, MK_LBUTTON | (ctrl ? MK_CONTROL : 0), MAKELPARAM(10, 10));
  ::PostMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

void DoubleClickCell(HWND cell) {
  ClickCell(cell);
  ::PostMessageW(cell, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  ::PostMessageW(cell, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

void AnswerPrompt(const LumoraSession& lumora, const std::wstring& text, bool waitForClose) {
  HWND prompt = WaitForDialogWith(lumora, IDC_ALBUM_TEXT);
  ASSERT_NE(prompt, nullptr);
  ::SendMessageW(::GetDlgItem(prompt, IDC_ALBUM_TEXT), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  if (waitForClose) {
    ASSERT_TRUE(LumoraSession::Answer({prompt, L"", L""}, IDOK));
  } else {
    ::PostMessageW(prompt, WM_COMMAND, IDOK, 0);
  }
}

// Message boxes only: an album dialog may still be open beneath one.
void ExpectMessage(const LumoraSession& lumora, const std::wstring& text) {
  HWND box = WaitForDialogWith(lumora, 0xFFFF);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(box, 0xFFFF)), text);
  EXPECT_TRUE(LumoraSession::Answer({box, L"", L""}, IDOK));
}

ImportDialog OpenImportDialog(const LumoraSession& lumora, HWND list) {
  ImportDialog dialog;
  ::PostMessageW(list, WM_COMMAND, ID_IMAGE_IMPORT, 0);
  dialog.chooser = WaitForDialogWith(lumora, kFileNameBox);
  if (!dialog.chooser) return dialog;
  WaitFor([&] {
    for (HWND child = ::GetWindow(dialog.chooser, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (::GetDlgItem(child, IDC_IMPORT_TICK)) dialog.panel = child;
    }
    return dialog.panel != nullptr;
  });
  return dialog;
}

void ChooseImport(const ImportDialog& dialog, const std::wstring& path, int albumIndex) {
  ::SendMessageW(::GetDlgItem(dialog.panel, IDC_IMPORT_ALBUMS), CB_SETCURSEL, albumIndex, 0);
  ::SendMessageW(::GetDlgItem(dialog.chooser, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
  ::PostMessageW(dialog.chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog.chooser, IDOK)));
}

bool Eventually(const LumoraSession& lumora, const char* section, const char* key,
                const std::string& value) {
  return WaitFor([&] {
    if (lumora.Setting(section, key) == value) return true;
    ::Sleep(150);
    return false;
  });
}

HWND FocusOfThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace e2e
