#include "plugin_host.h"

#include <commctrl.h>

#include <chrono>

#include "common/effect_ids.h"

namespace plugin_test {
namespace {

struct DialogSearch {
  HMODULE module;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<DialogSearch*>(lp);
  wchar_t cls[8] = {};
  ::GetClassNameW(hwnd, cls, 8);
  if (std::wstring(cls) != L"#32770" ||
      reinterpret_cast<HMODULE>(::GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)) != search->module) {
    return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

}  // namespace

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring file(path);
  return file.substr(0, file.find_last_of(L'\\') + 1);
}

LRESULT CALLBACK PluginHost::NotifyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != plugins::kEffectDoneMessage) return ::DefWindowProcW(hwnd, msg, wp, lp);
  auto* counts = reinterpret_cast<Counts*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  ++counts->all;
  counts->malformed |= wp != 0 || lp != 0;
  return 0;
}

PluginHost::PluginHost(const std::wstring& dllName) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = NotifyProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LumoraPluginTestHost";
  ::RegisterClassW(&wc);
  m_notify = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
  ::SetWindowLongPtrW(m_notify, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_counts));
  m_module = ::LoadLibraryW((ProgramFolder() + dllName).c_str());
  char entry[30] = {};
  if (m_module && ::LoadStringA(m_module, IDS_EFFECT_ENTRY, entry, sizeof entry) > 0) {
    m_entry = reinterpret_cast<decltype(&SpecialEffects)>(
        reinterpret_cast<void*>(::GetProcAddress(m_module, entry)));
  }
}

PluginHost::~PluginHost() {
  Unload();
  ::DestroyWindow(m_notify);
}

std::uint32_t PluginHost::Call(BITMAPINFOHEADER* image, std::uint32_t command) {
  std::uint32_t status = kUntouched;
  plugins::EffectParams params{28, command, 0, &status, image, 0, m_notify};
  m_entry(&params);
  return status;
}

void PluginHost::Unload() {
  if (m_module) ::FreeLibrary(m_module);
  m_module = nullptr;
  m_entry = nullptr;
}

HWND PluginHost::Dialog() const {
  DialogSearch search{m_module, nullptr};
  if (m_module) {
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

void PluginHost::Slide(int position, WORD code) {
  HWND slider = Control(IDC_SLIDER);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
  for (WORD c : {code, static_cast<WORD>(TB_ENDTRACK)}) {
    ::SendMessageW(Dialog(), WM_HSCROLL, MAKEWPARAM(c, 0), reinterpret_cast<LPARAM>(slider));
  }
}

void PluginHost::ReleaseSlider(int position) {
  ::SendMessageW(Control(IDC_SLIDER), TBM_SETPOS, TRUE, position);
  MouseOnSlider(ThumbCentre(), ThumbCentre());
}

// Sent straight to the trackbar: a move during a click on the track would
// page once more, so a click sends none.
void PluginHost::MouseOnSlider(POINT from, POINT to) {
  HWND slider = Control(IDC_SLIDER);
  ::SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  if (from.x != to.x || from.y != to.y) {
    ::SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  }
  ::SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  Pump();
}

POINT PluginHost::ThumbCentre() const {
  RECT thumb{};
  ::SendMessageW(Control(IDC_SLIDER), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  return {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
}

void PluginHost::SelectChannel(int item) {
  HWND box = Control(IDC_CHANNEL);
  ::SendMessageW(box, CB_SETCURSEL, item, 0);
  ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_CHANNEL, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void PluginHost::Click(int id) {
  ::SendMessageW(Control(id), BM_CLICK, 0, 0);
  Pump();
}

void PluginHost::PressCloseBox() {
  ::SendMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
}

void PluginHost::Pump() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  MSG msg;
  while (std::chrono::steady_clock::now() < deadline &&
         ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace plugin_test
