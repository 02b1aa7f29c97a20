#include "settings_dialogs.h"

#include "lumora_session.h"

namespace e2e {
namespace {

constexpr UINT kSendLimitMs = 20000;

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kSendLimitMs, &result);
  return static_cast<LRESULT>(result);
}

std::wstring ItemText(HWND list, LRESULT index) {
  const LRESULT length = Send(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

std::vector<std::wstring> ListItems(HWND dialog, int listId) {
  HWND list = ::GetDlgItem(dialog, listId);
  std::vector<std::wstring> items;
  const LRESULT count = Send(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) items.push_back(ItemText(list, i));
  return items;
}

std::wstring ListSelection(HWND dialog, int listId) {
  HWND list = ::GetDlgItem(dialog, listId);
  const LRESULT index = Send(list, CB_GETCURSEL, 0, 0);
  return index < 0 ? std::wstring() : ItemText(list, index);
}

bool ChooseItem(HWND dialog, int listId, const std::wstring& text) {
  const std::vector<std::wstring> items = ListItems(dialog, listId);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] != text) continue;
    HWND list = ::GetDlgItem(dialog, listId);
    Send(list, CB_SETCURSEL, i, 0);
    Send(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
  }
  return false;
}

std::wstring FieldText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

void SetField(HWND dialog, int id, const std::wstring& text) {
  Send(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Checked(HWND dialog, int id) {
  return Send(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int id) { Send(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

namespace {

struct ControlSearch {
  DWORD processId;
  int id;
  const wchar_t* className;
  FoundControl found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  if (::GetDlgCtrlID(child) != search->id || ClassName(child) != search->className) return TRUE;
  search->found.control = child;
  return FALSE;
}

BOOL CALLBACK MatchTop(HWND top, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(top, &pid);
  if (pid != search->processId || !::IsWindowVisible(top)) return TRUE;
  ::EnumChildWindows(top, MatchChild, param);
  if (!search->found.control) return TRUE;
  search->found.top = top;
  return FALSE;
}

}  // namespace

FoundControl FindControlOfProcess(DWORD processId, int id, const wchar_t* className) {
  ControlSearch search{processId, id, className, {}};
  ::EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
  return search.found.top ? search.found : FoundControl{};
}

SIZE OuterSize(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace e2e
