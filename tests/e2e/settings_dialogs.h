#pragma once
// The capture settings dialogs as the end-to-end tests drive them from
// outside the program: their lists, fields and buttons.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::vector<std::wstring> ListItems(HWND dialog, int listId);
std::wstring ListSelection(HWND dialog, int listId);
// Selects an item the way the user does: the selection, then the change
// notice, handled before this returns.
bool ChooseItem(HWND dialog, int listId, const std::wstring& text);
std::wstring FieldText(HWND dialog, int id);
void SetField(HWND dialog, int id, const std::wstring& text);
bool Checked(HWND dialog, int id);
// A click on a check box or radio button (it toggles, then notifies).
void Click(HWND dialog, int id);
// A press of a button whose handler may open a modal window: posted, so
// that the test is free to answer it.
void PressButton(HWND dialog, int id);
// A visible top-level window of a process that holds a control with this
// id and class anywhere inside it, and that control; null when none.
struct FoundControl {
  HWND top = nullptr;
  HWND control = nullptr;
};
FoundControl FindControlOfProcess(DWORD processId, int id, const wchar_t* className);
// The outer size of a window.
SIZE OuterSize(HWND hwnd);

}  // namespace e2e
