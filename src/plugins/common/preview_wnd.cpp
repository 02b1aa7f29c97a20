#include "common/preview_wnd.h"

namespace plugins {

const base::MessageMap* CPreviewWnd::GetThisMessageMap() {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CPreviewWnd::OnPaint>(WM_PAINT),
      base::MessageEntry<&CPreviewWnd::OnEraseBkgnd>(WM_ERASEBKGND),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

const base::MessageMap* CPreviewWnd::GetMessageMap() const { return GetThisMessageMap(); }

void CPreviewWnd::Rebuild(const BITMAPINFO* image, const void* pixels) {
  RECT client{};
  if (!::GetClientRect(m_hWnd, &client) || client.right <= 0 || client.bottom <= 0) return;
  base::WindowDc screen(m_hWnd);
  if (!screen.Get()) return;
  base::Bitmap picture(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  base::MemoryDc dc(::CreateCompatibleDC(screen.Get()));
  if (!picture || !dc) return;
  {
    base::SelectScope select(dc.Get(), picture.Get());
    ::SetStretchBltMode(dc.Get(), COLORONCOLOR);
    const int lines =
        ::StretchDIBits(dc.Get(), 0, 0, client.right, client.bottom, 0, 0, image->bmiHeader.biWidth,
                        image->bmiHeader.biHeight, pixels, image, DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) return;
  }
  m_picture = std::move(picture);
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  ::UpdateWindow(m_hWnd);
}

LRESULT CPreviewWnd::OnPaint(WPARAM, LPARAM) {
  base::PaintDc paint(m_hWnd);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  base::MemoryDc dc(::CreateCompatibleDC(paint.Get()));
  if (!m_picture || !dc) {
    ::FillRect(paint.Get(), &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    return 0;
  }
  base::SelectScope select(dc.Get(), m_picture.Get());
  ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
  return 0;
}

// The picture covers the whole control.
LRESULT CPreviewWnd::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

}  // namespace plugins
