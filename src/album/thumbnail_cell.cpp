#include "album/thumbnail_cell.h"

#include <vector>

#include "album/clip_frame.h"
#include "album/picture_file.h"
#include "album/file_list_view.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/album_rules.h"
#include "core/dib_check.h"
#include "res/resource.h"

namespace {

const COLORREF kLabelText = RGB(0, 86, 185);
const COLORREF kLabelBack = RGB(99, 183, 255);
const COLORREF kFilmKey = RGB(255, 0, 0);
const int kFilmWidth = 25;

RECT BoxOf(const core::CellGeometry& g) {
  return {g.boxX, g.boxY, g.boxX + g.boxWidth, g.boxY + g.boxHeight};
}

// Copies a resource bitmap onto `dc` at (x, y).
void DrawResourceBitmap(HDC dc, UINT id, int x, int y, COLORREF key = CLR_INVALID) {
  base::Bitmap bmp(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
  if (!bmp) return;
  BITMAP bm{};
  ::GetObjectW(bmp.Get(), sizeof bm, &bm);
  base::MemoryDc mem(::CreateCompatibleDC(dc));
  if (!mem) return;
  base::SelectScope sel(mem.Get(), bmp.Get());
  if (key == CLR_INVALID) {
    ::BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
  } else {
    ::TransparentBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                     key);
  }
}

void StretchBitmap(HDC dc, HBITMAP bmp, const RECT& box) {
  BITMAP bm{};
  if (!bmp || !::GetObjectW(bmp, sizeof bm, &bm)) return;
  base::MemoryDc mem(::CreateCompatibleDC(dc));
  if (!mem) return;
  base::SelectScope sel(mem.Get(), bmp);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, mem.Get(), 0, 0,
               bm.bmWidth, bm.bmHeight, SRCCOPY);
}

}  // namespace

const base::MessageMap* ThumbnailCell::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&ThumbnailCell::OnPaint>(WM_PAINT),
      base::MessageEntry<&ThumbnailCell::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&ThumbnailCell::OnLButtonDown>(WM_LBUTTONDOWN),
      base::MessageEntry<&ThumbnailCell::OnRButtonDown>(WM_RBUTTONDOWN),
      base::MessageEntry<&ThumbnailCell::OnLButtonDblClk>(WM_LBUTTONDBLCLK),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

bool ThumbnailCell::Create(HWND list, const RECT& rc, bool details) {
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (details ? WS_BORDER : 0);
  // Not WS_EX_TRANSPARENT: the cell paints every pixel itself, and a
  // transparent child is left out of the list's clipping, so the list would
  // paint its background over the cells whenever it scrolls.
  return CreateEx(0, L"LumoraThumbnailCell", L"", style, rc.left, rc.top,
                  rc.right - rc.left, rc.bottom - rc.top, list,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + m_nIndex)));
}

void ThumbnailCell::SetIndex(int index) {
  m_nIndex = index;
  if (m_hWnd) ::SetWindowLongPtrW(m_hWnd, GWLP_ID, kFirstId + index);
}

void ThumbnailCell::SetSelected(bool selected) {
  if (m_bSelected == selected) return;
  m_bSelected = selected;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void ThumbnailCell::SetBitmapData(const BYTE* data, std::size_t size) {
  const auto layout = core::CheckDib(data, size);
  if (!layout) return;  // truncated or malformed: the cell stays empty
  const auto* info = reinterpret_cast<const BITMAPINFO*>(data);
  const BYTE* pixels = data + layout->pixelOffset;
  base::WindowDc screen(nullptr);
  if (layout->bitsPerPixel == 1) {
    m_bmpThumb.Reset(
        ::CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS));
  } else {
    const core::CellGeometry g = core::GeometryOf(m_owner.Mode());
    base::Bitmap thumb(::CreateCompatibleBitmap(screen.Get(), g.boxWidth, g.boxHeight));
    base::MemoryDc mem(::CreateCompatibleDC(screen.Get()));
    if (!thumb || !mem) return;
    {
      base::SelectScope sel(mem.Get(), thumb.Get());
      ::SetStretchBltMode(mem.Get(), COLORONCOLOR);
      ::StretchDIBits(mem.Get(), 0, 0, g.boxWidth, g.boxHeight, 0, 0, layout->width, layout->height,
                      pixels, info, DIB_RGB_COLORS, SRCCOPY);
    }
    m_bmpThumb = std::move(thumb);
  }
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void ThumbnailCell::LoadVideoFrame() {
  m_bVideoTried = true;
  ClipFrame clip = LoadClipFrame(m_strPath);
  m_bmpVideo = std::move(clip.bitmap);
  m_nStreams = clip.streams;
}

void ThumbnailCell::LoadPicture() {
  m_bPictureTried = true;
  switch (LoadPictureFile(m_strPath, m_pPicture)) {
    case PictureLoad::kCannotOpen:
      base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_CELL_OPEN_FAILED));
      return;
    case PictureLoad::kNotAPicture:
      return;  // not a picture: the cell stays empty
    case PictureLoad::kLoaded:
      break;
  }
  m_pPicture->get_Width(&m_cxPicture);
  m_pPicture->get_Height(&m_cyPicture);
  m_bPictureLoaded = true;
}

LRESULT ThumbnailCell::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

LRESULT ThumbnailCell::OnPaint(WPARAM, LPARAM) {
  base::PaintDc paint(m_hWnd);
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  // Drawn off screen first so that scrolling does not flicker.
  base::MemoryDc mem(::CreateCompatibleDC(paint.Get()));
  base::Bitmap surface(::CreateCompatibleBitmap(paint.Get(), rc.right, rc.bottom));
  if (!mem || !surface) return 0;
  {
    base::SelectScope sel(mem.Get(), surface.Get());
    Draw(mem.Get());
    ::BitBlt(paint.Get(), 0, 0, rc.right, rc.bottom, mem.Get(), 0, 0, SRCCOPY);
  }
  return 0;
}

void ThumbnailCell::Draw(HDC dc) {
  const core::DisplayMode mode = m_owner.Mode();
  const bool iconMode = mode != core::DisplayMode::Details;
  const bool large = mode == core::DisplayMode::Large;
  const core::CellGeometry g = core::GeometryOf(mode);
  DrawFrame(dc, iconMode, large);
  const RECT box = BoxOf(g);
  if (m_nKind == 1) {
    if (!m_bPictureTried) LoadPicture();
    DrawPicture(dc, box);
  } else if (core::KindOfFile(base::Narrow(m_strPath)) == core::AlbumFileKind::Video) {
    if (!m_bVideoTried) LoadVideoFrame();
    DrawVideo(dc, box, iconMode);
  } else if (m_bmpThumb) {
    BITMAP bm{};
    ::GetObjectW(m_bmpThumb.Get(), sizeof bm, &bm);
    base::MemoryDc mem(::CreateCompatibleDC(dc));
    if (mem) {
      base::SelectScope sel(mem.Get(), m_bmpThumb.Get());
      ::BitBlt(dc, box.left, box.top, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
    }
  }
  if (iconMode) DrawLabel(dc, large);
}

void ThumbnailCell::DrawFrame(HDC dc, bool iconMode, bool large) {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  if (!iconMode) {
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return;
  }
  const UINT id = large ? (m_bSelected ? IDB_CELL_LARGE_SELECTED : IDB_CELL_LARGE)
                        : (m_bSelected ? IDB_CELL_SMALL_SELECTED : IDB_CELL_SMALL);
  DrawResourceBitmap(dc, id, 0, 0);
}

void ThumbnailCell::DrawVideo(HDC dc, const RECT& box, bool iconMode) {
  if (!m_bmpVideo) return;  // a clip that cannot be read leaves the cell empty
  StretchBitmap(dc, m_bmpVideo.Get(), box);
  if (!iconMode) return;
  DrawResourceBitmap(dc, IDB_FILM_VIDEO, box.right - kFilmWidth, box.top, kFilmKey);
  if (m_nStreams > 1) DrawResourceBitmap(dc, IDB_FILM_SOUND, box.left, box.top, kFilmKey);
}

void ThumbnailCell::DrawPicture(HDC dc, const RECT& box) {
  if (!m_bPictureLoaded) return;
  // The picture is shrunk by dropping rows and columns, as bitmaps are; the
  // default mode would AND the dropped pixels into dark stripes.
  ::SetStretchBltMode(dc, COLORONCOLOR);
  const HRESULT hr =
      m_pPicture->Render(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0,
                         m_cyPicture, m_cxPicture, -m_cyPicture, nullptr);
  if (FAILED(hr) && !m_bRenderReported) {
    m_bRenderReported = true;  // once per cell, not at every paint
    base::ShowMessageBox(m_hWnd, base::LoadResString(IDS_CELL_RENDER_FAILED));
  }
}

void ThumbnailCell::DrawLabel(HDC dc, bool large) {
  RECT rc;
  ::GetClientRect(m_hWnd, &rc);
  std::wstring name = base::FileNameOf(m_strPath);
  if (const auto keep = core::CellLabelCut(name.size(), rc.right))
    name = name.substr(0, *keep) + L"...";
  ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  base::SelectScope font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetTextColor(dc, kLabelText);
  ::SetBkColor(dc, kLabelBack);
  ::SetBkMode(dc, OPAQUE);
  ::TextOutW(dc, 6, large ? 120 : 89, name.c_str(), static_cast<int>(name.size()));
}

// A click on a cell gives the list the keyboard focus, as a click on the
// list itself does: the Delete key acts on what has the focus.
LRESULT ThumbnailCell::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  ::SetFocus(m_owner.m_hWnd);
  if (m_owner.Mode() == core::DisplayMode::Details)
    return m_owner.PassClick(m_hWnd, WM_LBUTTONDOWN, wParam, lParam);
  m_owner.OnCellClick(*this, (wParam & MK_CONTROL) != 0);
  return 0;
}

LRESULT ThumbnailCell::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
  ::SetFocus(m_owner.m_hWnd);
  if (m_owner.Mode() == core::DisplayMode::Details)
    return m_owner.PassClick(m_hWnd, WM_RBUTTONDOWN, wParam, lParam);
  m_owner.OnCellRightClick(*this);
  return 0;
}

LRESULT ThumbnailCell::OnLButtonDblClk(WPARAM, LPARAM) {
  m_owner.OpenCurrentFile();
  return 0;
}
