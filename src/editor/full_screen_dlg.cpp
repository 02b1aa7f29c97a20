#include "editor/full_screen_dlg.h"

#include "app/lumora_app.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/picture_view.h"
#include "editor/working_copy.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"

CFullScreenDlg::CFullScreenDlg(HWND owner, core::FolderFiles& files, base::Bitmap& picture)
    : CDialog(IDD_FULL_SCREEN, owner), m_files(files), m_picture(picture) {}

const base::MessageMap* CFullScreenDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CFullScreenDlg::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&CFullScreenDlg::OnPaint>(WM_PAINT),
      base::MessageEntry<&CFullScreenDlg::OnKeyUp>(WM_KEYUP),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

// Covers the whole display.
BOOL CFullScreenDlg::OnInitDialog() {
  const base::WindowDc screen(nullptr);
  ::MoveWindow(m_hWnd, 0, 0, ::GetDeviceCaps(screen.Get(), HORZRES),
               ::GetDeviceCaps(screen.Get(), VERTRES), FALSE);
  ::SetFocus(m_hWnd);
  return FALSE;
}

LRESULT CFullScreenDlg::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

// Black, with the picture fitted inside a 2-pixel border when larger than
// the screen.
LRESULT CFullScreenDlg::OnPaint(WPARAM, LPARAM) {
  base::PaintDc dc(m_hWnd);
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  ::FillRect(dc.Get(), &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  const SIZE size = imaging::BitmapSize(m_picture.Get());
  const core::Placement at =
      core::LayOutFullScreenPicture({rc.left, rc.top, rc.right, rc.bottom}, {size.cx, size.cy});
  if (!m_picture || at.width <= 0 || at.height <= 0) return 0;
  base::MemoryDc source(::CreateCompatibleDC(dc.Get()));
  if (!source) return 0;
  base::SelectScope select(source.Get(), m_picture.Get());
  ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
  ::StretchBlt(dc.Get(), at.x, at.y, at.width, at.height, source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  return 0;
}

LRESULT CFullScreenDlg::OnKeyUp(WPARAM key, LPARAM) {
  switch (key) {
    case VK_PRIOR:
    case VK_LEFT:
    case VK_UP:
      Step(-1);
      return 0;
    case VK_NEXT:
    case VK_RIGHT:
    case VK_DOWN:
      Step(+1);
      return 0;
    default:
      return Default();
  }
}

// At an end of the list the end's picture is shown with the end's message.
void CFullScreenDlg::Step(int step) {
  const int count = static_cast<int>(m_files.paths.size());
  if (count == 0) return;
  const int current = m_files.current;
  const bool atEnd = step < 0 ? current <= 0 : current >= count - 1;
  if (!atEnd) {
    ShowEntry(current + step);
    return;
  }
  ShowEntry(step < 0 ? 0 : count - 1);
  base::AppMessageBox(base::LoadResString(step < 0 ? IDS_FIRST_FILE : IDS_LAST_FILE));
}

// The list moves to the entry only when its picture could be shown.
bool CFullScreenDlg::ShowEntry(int index) {
  const base::WaitCursor wait;
  const std::wstring& path = m_files.paths[static_cast<std::size_t>(index)];
  if (!editor::MakeWorkingCopy(path, g_strProgramFolder)) return false;
  base::Bitmap picture = imaging::LoadBitmapFile(editor::WorkingCopyPath());
  if (!picture) return false;
  m_picture = std::move(picture);
  m_files.current = index;
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  return true;
}
