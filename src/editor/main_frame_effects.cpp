// The effect plug-ins: each effect command loads its library from the
// program folder and hands it the pixel buffer; the plug-in's dialog changes
// the buffer and sends kEffectDoneMessage, on which the display bitmap and
// the working copy are made from the buffer again. While a plug-in dialog is
// open, the commands that would replace or move the buffer (open, previous,
// next, full screen, rotations, undo, leaving the editor) are refused.
#include "app/lumora_app.h"
#include "base/proc_address.h"
#include "core/dib_check.h"
#include "editor/main_frame.h"
#include "editor/working_copy.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"

namespace {

using EffectEntry = void(WINAPI*)(plugins::EffectParams*);

// The plug-in file of each effect, in the order of the enum.
constexpr const wchar_t* kPluginFiles[] = {L"litefx.dll", L"tonefx.dll", L"edgefx.dll",
                                           L"tilefx.dll", L"warpfx.dll"};

// The plug-in names its entry in string 5 of its string table.
constexpr UINT kEntryNameString = 5;

struct DialogSearch {
  HINSTANCE module;
  bool found;
};

BOOL CALLBACK FindModuleWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  if (::IsWindowVisible(hwnd) &&
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)) == search->module) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void CMainFrame::OnEffectCommand(UINT id) {
  const UINT first = id >= ID_IMAGE_BRIGHTNESS && id <= ID_IMAGE_CONCAVECON ? ID_IMAGE_BRIGHTNESS
                                                                             : ID_TB_EDIT_BRIGHTNESS;
  RunEffect(static_cast<Effect>(id - first));
}

// The undo picture and the modified flag are set before the plug-in is
// even loaded: a missing or refusing plug-in still leaves Undo available.
void CMainFrame::RunEffect(Effect effect) {
  if (!HasPicture()) return;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(m_pDib.get());
  if (!(effect == Effect::kBrightness ? m_bEditable : CheckEditableSize(header))) return;
  // The plug-in changes the buffer in place: it must hold the whole picture
  // its header describes.
  if (!core::CheckDib(m_pDib.get(), m_nDibBytes)) return;
  m_bModified = true;
  m_hUndoBitmap = imaging::CopyBitmap(m_hCurBitmap.Get());
  DropEffectModule();

  const std::wstring path = g_strProgramFolder + kPluginFiles[static_cast<int>(effect)];
  m_hEffectModule.Reset(::LoadLibraryW(path.c_str()));
  if (!m_hEffectModule) return;
  char entryName[30] = "";
  if (::LoadStringA(m_hEffectModule.Get(), kEntryNameString, entryName, sizeof entryName) <= 0) return;
  const auto entry = base::ProcAddress<EffectEntry>(m_hEffectModule.Get(), entryName);
  if (!entry) return;
  m_effectStatus = 0;
  m_effectParams = {};
  m_effectParams.size = sizeof m_effectParams;
  m_effectParams.command = plugins::kEffectCommand;
  m_effectParams.status = &m_effectStatus;
  m_effectParams.image = reinterpret_cast<BITMAPINFOHEADER*>(m_pDib.get());
  m_effectParams.notifyWindow = m_hWnd;
  entry(&m_effectParams);
}

// Releasing a plug-in whose dialog is open closes the dialog, which sends
// its notification once more while the buffer is still in place.
void CMainFrame::DropEffectModule() { m_hEffectModule.Reset(); }

// Every notification is handled alike (after OK, Cancel, closing, or the
// release of the library): the picture is made again from the buffer.
LRESULT CMainFrame::OnEffectDone(WPARAM wParam, LPARAM) {
  if (wParam != 0 || !HasPicture()) return 0;
  base::Bitmap picture = BitmapFromDib();
  if (!picture) return 0;
  m_hCurBitmap = std::move(picture);
  WriteBitmapFile(m_hCurBitmap.Get(), editor::WorkingCopyPath());
  m_lastEdit = LastEdit::kEffect;
  RedrawPicture();
  return 0;
}

// A visible window made from the plug-in's module: its dialog.
bool CMainFrame::EffectDialogOpen() const {
  if (!m_hEffectModule) return false;
  DialogSearch search{m_hEffectModule.Get(), false};
  ::EnumThreadWindows(::GetCurrentThreadId(), FindModuleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
