#include "common/effect_dialog.h"

#include <commctrl.h>

#include "base/strings.h"
#include "base/trace.h"
#include "common/effect_ids.h"
#include "core/effects/preview_rect.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace plugins {

CEffectDialog::CEffectDialog(const EffectTraits& traits)
    : CDialog(traits.dialogId, nullptr), m_traits(traits) {}

CEffectDialog::~CEffectDialog() { DestroyWindow(); }

const base::MessageMap* CEffectDialog::GetThisMessageMap() {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CEffectDialog::OnClose>(WM_CLOSE),
      base::MessageEntry<&CEffectDialog::OnDestroy>(WM_DESTROY),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

const base::MessageMap* CEffectDialog::GetMessageMap() const { return GetThisMessageMap(); }

HINSTANCE CEffectDialog::Module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

bool CEffectDialog::AcceptsCommand(std::uint32_t command) const {
  return m_traits.acceptsAnyCommand ? command != 0 : command == kEffectCommand;
}

std::uint32_t CEffectDialog::Open(const EffectParams& params,
                                  const core::effects::PackedLayout& layout) {
  // One window per object: a dialog left from an earlier call says goodbye
  // to its own caller first.
  DestroyWindow();
  m_hNotifyWindow = params.notifyWindow;
  if (!m_image.Take(params.image, layout, m_traits.keepsBase)) return kStatusSetupFailed;
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  if (!::InitCommonControlsEx(&classes) ||
      !::CreateDialogParamW(Module(), MAKEINTRESOURCEW(m_traits.dialogId), nullptr, StaticDlgProc,
                            reinterpret_cast<LPARAM>(this))) {
    m_image.Free();
    return kStatusSetupFailed;
  }
  ::ShowWindow(m_hWnd, SW_SHOW);
  return 0;
}

BOOL CEffectDialog::OnInitDialog() {
  ApplyLayout(m_hWnd, *m_traits.layout);
  const core::effects::Geometry& g = m_image.Geometry();
  const core::effects::PreviewRect r = core::effects::PlacePreview(g.width, g.height);
  PlaceControl(m_hWnd, IDC_PREVIEW, {r.left, r.top, r.right, r.bottom});
  if (!m_preview.SubclassWindow(GetDlgItem(IDC_PREVIEW))) base::Trace("effect dialog: no preview");
  if (HWND slider = GetDlgItem(IDC_SLIDER); slider && !m_slider.SubclassWindow(slider)) {
    base::Trace("effect dialog: slider releases not watched");
  }
  FillChannelBox();
  OnOpen();
  ShowResult();
  return TRUE;
}

void CEffectDialog::FillChannelBox() {
  HWND box = GetDlgItem(IDC_CHANNEL);
  if (!box) return;
  for (UINT id : {IDS_CHANNEL_RGB, IDS_CHANNEL_RED, IDS_CHANNEL_GREEN, IDS_CHANNEL_BLUE}) {
    const std::wstring text = base::LoadResString(id, Module());
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(box, CB_SETCURSEL, 0, 0);
}

core::effects::Channel CEffectDialog::SelectedChannel() const {
  const LRESULT item = ::SendDlgItemMessageW(m_hWnd, IDC_CHANNEL, CB_GETCURSEL, 0, 0);
  if (item < 0 || item > 3) return core::effects::Channel::Rgb;
  return static_cast<core::effects::Channel>(item);
}

void CEffectDialog::SetUpSlider(int min, int max, int page, int position) {
  HWND slider = GetDlgItem(IDC_SLIDER);
  ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, min);
  ::SendMessageW(slider, TBM_SETRANGEMAX, FALSE, max);
  ::SendMessageW(slider, TBM_SETPAGESIZE, 0, page);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

void CEffectDialog::ShowResult() {
  if (m_image.Held()) m_preview.Rebuild(m_image.WorkingInfo(), m_image.WorkingPixels());
}

bool CEffectDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == IDC_CHANNEL) {
    if (code == CBN_SELCHANGE && m_image.Held()) {
      m_image.CopyWorkingOverBase();
      OnChannelChanged();
    }
    return true;
  }
  if (id == IDC_PROCESS) {
    if (code == BN_CLICKED && m_image.Held()) OnProcess();
    return true;
  }
  return CDialog::OnCommand(wParam, lParam);
}

// A mouse move of the slider, a drag of the thumb or a click on the track,
// applies when the button is released, so that the preview and OK always
// show what the slider shows; keyboard moves apply nothing.
void CEffectDialog::OnSliderMouseReleased() {
  if (!m_image.Held()) return;
  OnSliderReleased(static_cast<int>(::SendMessageW(m_slider.m_hWnd, TBM_GETPOS, 0, 0)));
}

// Keyboard navigation inside the dialog when the host's message loop asks.
bool CEffectDialog::PreTranslateMessage(MSG* msg) {
  return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
}

void CEffectDialog::OnOK() {
  m_image.CommitToCaller();
  m_image.Free();
  ::ShowWindow(m_hWnd, SW_HIDE);
  Notify(m_traits.notificationsOnOk);
}

void CEffectDialog::OnCancel() {
  ::ShowWindow(m_hWnd, SW_HIDE);
  m_image.Free();
  Notify(1);
}

// The platform's handling follows (it posts Cancel, which notifies again).
LRESULT CEffectDialog::OnClose(WPARAM, LPARAM) {
  Default();
  m_image.Free();
  Notify(1);
  return 0;
}

LRESULT CEffectDialog::OnDestroy(WPARAM, LPARAM) {
  m_image.Free();
  Notify(1);
  return 0;
}

void CEffectDialog::Notify(int times) const {
  for (int i = 0; i < times; ++i) ::SendMessageW(m_hNotifyWindow, kEffectDoneMessage, 0, 0);
}

}  // namespace plugins
