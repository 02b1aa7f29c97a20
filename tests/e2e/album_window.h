#pragma once
// The album window of a running Lumora as the tests drive it: its tree and
// file list, the album dialogs with the name box, the program's message
// boxes and the settings values the album commands write.
#include <windows.h>

#include <string>

#include "lumora_session.h"

namespace e2e {

// The album tree and the file list inside the album window's splitter.
HWND AlbumTree(HWND albumFrame);
HWND FileList(HWND albumFrame);

// The windows of a started program that the album tests drive; null where
// one did not appear.
struct AlbumWindows {
  HWND main = nullptr;
  HWND frame = nullptr;  // the album window's child frame
  HWND tree = nullptr;
  HWND list = nullptr;
};
AlbumWindows StartWithAlbumWindow(LumoraSession& lumora);
// The album window's parts in a running program (waiting for the window to
// come back, as it does after the editing mode).
AlbumWindows FindAlbumWindows(const LumoraSession& lumora, HWND main);

// A visible dialog of the program holding a control of id `control`; null
// when none comes up in time.
HWND WaitForDialogWith(const LumoraSession& lumora, int control);

// Selects the tree's root item number `index` (as the program itself does,
// without moving the keyboard focus).
void Select(HWND tree, int index);

// Clicks as the mouse does (posted, at a point inside): the tree's root
// item number `index`, a thumbnail cell; a double click on a cell.
void ClickTreeItem(HWND tree, int index);
void ClickCell(HWND cell, bool ctrl = false);  // with Ctrl: adds to the selection
void DoubleClickCell(HWND cell);

// Types `text` into the open album dialog (the one with the name box, not
// some other box of the program), presses OK and waits for the dialog to
// close, unless `waitForClose` is false (a box the dialog shows over itself
// must be answered first).
void AnswerPrompt(const LumoraSession& lumora, const std::wstring& text, bool waitForClose = true);

// Waits for a message box with exactly `text` and presses its OK.
void ExpectMessage(const LumoraSession& lumora, const std::wstring& text);

// The list's import dialog as it opens from the list's Import command: the
// file chooser and the album panel inside it; null where one did not appear.
struct ImportDialog {
  HWND chooser = nullptr;
  HWND panel = nullptr;  // holds the tick box and the "Import To :" list
};
ImportDialog OpenImportDialog(const LumoraSession& lumora, HWND list);
// Chooses the album number `albumIndex` and the file `path`, and presses OK.
void ChooseImport(const ImportDialog& dialog, const std::wstring& path, int albumIndex);

// The settings file is rewritten key by key: waits for the value to arrive.
// The program replaces the file by moving a new one over it, which fails
// while a test holds the file open, so the file is read seldom.
bool Eventually(const LumoraSession& lumora, const char* section, const char* key,
                const std::string& value);

// The window that has the keyboard focus in the thread of `window`.
HWND FocusOfThread(HWND window);

}  // namespace e2e
