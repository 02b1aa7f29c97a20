#include "album/thumbnail_cell.h"

#include "album/file_list_view.h"
#include "base/message_box.h"
#include "base/strings.h"
#include "core/album_rules.h"
#include "res/resource.h"

namespace {

const COLORREF kLabelText = RGB(0, 86, 185);
const COLORREF kLabelBack = RGB(99, 183, 255);
const COLORREF kFilmKey = RGB(255, 0, 0);
const int kFilmWidth = 25;

RECT BoxOf(const core::CellGeometry& g) {
  return {g.boxX, g.boxY, g.boxX + g.boxWidth, g.boxY + g.boxHeight};
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

ThumbnailSource ThumbnailCell::Source() const {
  if (m_nKind == 1) return ThumbnailSource::kPicture;
  return core::KindOfFile(base::Narrow(m_strPath)) == core::AlbumFileKind::Video
             ? ThumbnailSource::kClip
             : ThumbnailSource::kBitmapFile;
}

void ThumbnailCell::MarkQueued(unsigned ticket) {
  m_state = ThumbnailState::kQueued;
  m_nTicket = ticket;
}

void ThumbnailCell::SetThumbnail(Thumbnail thumbnail) {
  m_state = ThumbnailState::kMade;
  m_bmpThumb = std::move(thumbnail.bitmap);
  m_nStreams = thumbnail.streams;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
  // Last: the box runs a message loop, in which the list may let this cell go.
  const HWND owner = m_hWnd ? m_hWnd : m_owner.m_hWnd;
  if (thumbnail.status == ThumbnailStatus::kCannotOpen) {
    base::ShowMessageBox(owner, base::LoadResString(IDS_CELL_OPEN_FAILED));
  } else if (thumbnail.status == ThumbnailStatus::kRenderFailed) {
    base::ShowMessageBox(owner, base::LoadResString(IDS_CELL_RENDER_FAILED));
  }
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
  const ThumbnailSource source = Source();
  if (source == ThumbnailSource::kBitmapFile) {
    // Copied unchanged: a 1-bit picture keeps its own size.
    BITMAP bm{};
    if (m_bmpThumb && ::GetObjectW(m_bmpThumb.Get(), sizeof bm, &bm)) {
      base::MemoryDc mem(::CreateCompatibleDC(dc));
      if (mem) {
        base::SelectScope sel(mem.Get(), m_bmpThumb.Get());
        ::BitBlt(dc, box.left, box.top, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
      }
    }
  } else if (m_bmpThumb) {
    StretchBitmap(dc, m_bmpThumb.Get(), box);
    if (source == ThumbnailSource::kClip && iconMode) DrawFilmMarks(dc, box);
  }
  if (iconMode) DrawLabel(dc, large);
}

// Copies one of the list's artwork bitmaps onto `dc` at (x, y), leaving out
// the pixels of colour `key` when one is given.
void ThumbnailCell::DrawArtwork(HDC dc, UINT id, int x, int y, COLORREF key) {
  const HBITMAP bmp = m_owner.Artwork(id);
  BITMAP bm{};
  if (!bmp || !::GetObjectW(bmp, sizeof bm, &bm)) return;
  base::MemoryDc mem(::CreateCompatibleDC(dc));
  if (!mem) return;
  base::SelectScope sel(mem.Get(), bmp);
  if (key == CLR_INVALID) {
    ::BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, SRCCOPY);
  } else {
    ::TransparentBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                     key);
  }
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
  DrawArtwork(dc, id, 0, 0);
}

// One mark in the top-right corner always, a second in the top-left corner
// for a clip with a sound track beside the video.
void ThumbnailCell::DrawFilmMarks(HDC dc, const RECT& box) {
  DrawArtwork(dc, IDB_FILM_VIDEO, box.right - kFilmWidth, box.top, kFilmKey);
  if (m_nStreams > 1) DrawArtwork(dc, IDB_FILM_SOUND, box.left, box.top, kFilmKey);
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
