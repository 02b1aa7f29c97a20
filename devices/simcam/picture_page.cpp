#include "picture_page.h"

#include <commctrl.h>

#include <cstring>

#include "footprint.h"
#include "page_res.h"

namespace simcam {
namespace {

std::atomic<long> g_livePages{0};

constexpr const wchar_t* kPatternNames[] = {L"Gradient", L"Colour bars"};
constexpr wchar_t kTitle[] = L"Picture";

wchar_t* CoText(const wchar_t* text) {
  const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
  if (copy) std::memcpy(copy, text, bytes);
  return copy;
}

}  // namespace

PicturePage::PicturePage(HINSTANCE module) : m_module(module) { ++g_livePages; }

PicturePage::~PicturePage() {
  if (m_hDialog) ::DestroyWindow(m_hDialog);
  --g_livePages;
}

long PicturePage::LiveCount() { return g_livePages.load(); }

STDMETHODIMP PicturePage::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IPropertyPage) return E_NOINTERFACE;
  *ppv = static_cast<IPropertyPage*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) PicturePage::AddRef() { return ++m_cRef; }

STDMETHODIMP_(ULONG) PicturePage::Release() {
  const ULONG n = --m_cRef;
  if (n == 0) delete this;
  return n;
}

// The page keeps no site: it never reports itself dirty.
STDMETHODIMP PicturePage::SetPageSite(IPropertyPageSite*) { return S_OK; }

// The page works on the camera's driver key, whatever objects it is given.
STDMETHODIMP PicturePage::SetObjects(ULONG, IUnknown**) { return S_OK; }

STDMETHODIMP PicturePage::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (m_hDialog) return E_UNEXPECTED;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  m_hDialog = ::CreateDialogParamW(m_module, MAKEINTRESOURCEW(IDD_PICTURE_PAGE), parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  if (!m_hDialog) return E_FAIL;
  if (rect) Move(rect);
  return S_OK;
}

STDMETHODIMP PicturePage::Deactivate() {
  if (!m_hDialog) return E_UNEXPECTED;
  ::DestroyWindow(m_hDialog);
  m_hDialog = nullptr;
  return S_OK;
}

STDMETHODIMP PicturePage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  std::memset(info, 0, sizeof *info);
  info->cb = sizeof *info;
  info->pszTitle = CoText(kTitle);
  if (!info->pszTitle) return E_OUTOFMEMORY;
  info->size = {300, 130};
  return S_OK;
}

STDMETHODIMP PicturePage::Show(UINT show) {
  if (!m_hDialog) return E_UNEXPECTED;
  ::ShowWindow(m_hDialog, show);
  return S_OK;
}

STDMETHODIMP PicturePage::Move(LPCRECT rect) {
  if (!m_hDialog || !rect) return E_UNEXPECTED;
  ::MoveWindow(m_hDialog, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
  return S_OK;
}

void PicturePage::OnInit(HWND dialog) {
  m_bFilling = true;
  const PictureLook look = ReadPictureLook();
  HWND brightness = ::GetDlgItem(dialog, IDC_BRIGHTNESS);
  ::SendMessageW(brightness, TBM_SETRANGE, TRUE, MAKELPARAM(kMinBrightness, kMaxBrightness));
  ::SendMessageW(brightness, TBM_SETTICFREQ, 20, 0);
  ::SendMessageW(brightness, TBM_SETPOS, TRUE, look.brightness);
  HWND pattern = ::GetDlgItem(dialog, IDC_PATTERN);
  for (const wchar_t* name : kPatternNames) {
    ::SendMessageW(pattern, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  ::SendMessageW(pattern, CB_SETCURSEL, static_cast<WPARAM>(look.pattern), 0);
  m_bFilling = false;
}

// Every change goes to the driver key at once.
void PicturePage::OnChange(HWND dialog) {
  if (m_bFilling) return;
  PictureLook look;
  look.brightness =
      static_cast<int>(::SendDlgItemMessageW(dialog, IDC_BRIGHTNESS, TBM_GETPOS, 0, 0));
  const LRESULT pattern = ::SendDlgItemMessageW(dialog, IDC_PATTERN, CB_GETCURSEL, 0, 0);
  look.pattern = pattern == static_cast<LRESULT>(Pattern::Bars) ? Pattern::Bars : Pattern::Gradient;
  WritePictureLook(look);
}

INT_PTR CALLBACK PicturePage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    reinterpret_cast<PicturePage*>(lParam)->OnInit(dialog);
    return TRUE;
  }
  auto* page = reinterpret_cast<PicturePage*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (!page) return FALSE;
  if (message == WM_HSCROLL ||
      (message == WM_COMMAND && LOWORD(wParam) == IDC_PATTERN && HIWORD(wParam) == CBN_SELCHANGE)) {
    page->OnChange(dialog);
    return TRUE;
  }
  return FALSE;
}

}  // namespace simcam
