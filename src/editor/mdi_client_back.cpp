#include "editor/mdi_client_back.h"

#include "base/app.h"

namespace {

constexpr wchar_t kSection[] = L"MDIClient";
constexpr wchar_t kDisplayModeKey[] = L"DisplayMode";
constexpr wchar_t kOriginXKey[] = L"OriginX";
constexpr wchar_t kOriginYKey[] = L"OriginY";
constexpr wchar_t kBkColorKey[] = L"BkColor";
constexpr wchar_t kFileNameKey[] = L"FileName";

// Longer text cannot name a file the platform opens.
constexpr DWORD kMaxFileNameChars = 32767;

COLORREF DefaultColour() { return ::GetSysColor(COLOR_APPWORKSPACE); }

}  // namespace

CMdiClientBack::CMdiClientBack()
    : m_brBack(::CreateSolidBrush(DefaultColour())), m_crBack(DefaultColour()) {}

CMdiClientBack::~CMdiClientBack() {
  if (m_profile) Save(*m_profile);
}

const base::MessageMap* CMdiClientBack::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::MessageEntry<&CMdiClientBack::OnEraseBkgnd>(WM_ERASEBKGND),
      base::MessageEntry<&CMdiClientBack::OnPaint>(WM_PAINT),
      base::MessageEntry<&CMdiClientBack::OnSize>(WM_SIZE),
  };
  static const base::MessageMap kMap{CWnd::GetThisMessageMap(), kEntries};
  return &kMap;
}

bool CMdiClientBack::SubclassWindow(HWND hwnd) {
  if (!CWnd::SubclassWindow(hwnd)) return false;
  std::wstring appKey = m_strAppKey;
  if (appKey.empty() && base::CWinApp::Get()) appKey = base::CWinApp::Get()->ProfileKeyPath();
  if (appKey.empty()) return true;
  m_profile.emplace(appKey + L"\\" + kSection);
  Load(*m_profile);
  return true;
}

// Values of another type, modes the painter does not know and colours that
// are not plain RGB read as the defaults.
void CMdiClientBack::Load(const base::ProfileSection& profile) {
  const int mode = profile.GetInt(kDisplayModeKey, static_cast<int>(DisplayMode::Tile));
  m_displayMode = mode >= static_cast<int>(DisplayMode::Tile) &&
                          mode <= static_cast<int>(DisplayMode::AtOrigin)
                      ? static_cast<DisplayMode>(mode)
                      : DisplayMode::Tile;
  m_ptOrigin = {profile.GetInt(kOriginXKey, 0), profile.GetInt(kOriginYKey, 0)};
  const COLORREF defaultColour = DefaultColour();
  const auto colour = static_cast<COLORREF>(
      profile.GetInt(kBkColorKey, static_cast<int>(defaultColour)));
  SetBackColor((colour & 0xFF000000u) == 0 ? colour : defaultColour);
  const std::wstring fileName = profile.GetString(kFileNameKey, L"", kMaxFileNameChars);
  if (!fileName.empty()) LoadBackBitmap(fileName);
}

void CMdiClientBack::Save(const base::ProfileSection& profile) const {
  profile.WriteInt(kDisplayModeKey, static_cast<int>(m_displayMode));
  profile.WriteInt(kOriginXKey, m_ptOrigin.x);
  profile.WriteInt(kOriginYKey, m_ptOrigin.y);
  profile.WriteInt(kBkColorKey, static_cast<int>(m_crBack));
  profile.WriteString(kFileNameKey, m_strFileName);
}

void CMdiClientBack::SetBackColor(COLORREF colour) {
  base::Brush brush(::CreateSolidBrush(colour));
  if (!brush) return;
  m_crBack = colour;
  m_brBack = std::move(brush);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CMdiClientBack::LoadBackBitmap(const std::wstring& path) {
  m_strFileName = path;
  m_bmpBack.Reset(static_cast<HBITMAP>(::LoadImageW(
      nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS)));
  BITMAP info{};
  if (m_bmpBack && (::GetObjectW(m_bmpBack.Get(), sizeof info, &info) != sizeof info ||
                    info.bmWidth <= 0 || info.bmHeight <= 0)) {
    m_bmpBack.Reset();
  }
  m_sizeBitmap = m_bmpBack ? SIZE{info.bmWidth, info.bmHeight} : SIZE{0, 0};
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return static_cast<bool>(m_bmpBack);
}

// The paint handler covers the whole area, so erasing first would only flicker.
LRESULT CMdiClientBack::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

// Only the tiles stay where they are when the area changes size.
LRESULT CMdiClientBack::OnSize(WPARAM wParam, LPARAM) {
  const LRESULT result = Default();
  if (wParam != SIZE_MINIMIZED && m_displayMode != DisplayMode::Tile) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
  return result;
}

LRESULT CMdiClientBack::OnPaint(WPARAM, LPARAM) {
  base::PaintDc dc(m_hWnd);
  if (!dc.Get()) return 0;
  PaintBackground(dc.Get(), dc.Info().rcPaint);
  if (m_paintOver) m_paintOver(dc.Get());
  return 0;
}

void CMdiClientBack::PaintBackground(HDC dc, const RECT& update) const {
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  base::MemoryDc source;
  if (m_bmpBack) source.Reset(::CreateCompatibleDC(dc));
  if (!source) {
    ::FillRect(dc, &client, m_brBack.Get());
    return;
  }
  base::SelectScope bitmap(source.Get(), m_bmpBack.Get());
  switch (m_displayMode) {
    case DisplayMode::Tile:
      DrawTiled(dc, source.Get(), update);
      break;
    case DisplayMode::Centre:
      DrawOnce(dc, source.Get(), client,
               {(client.right - m_sizeBitmap.cx) / 2, (client.bottom - m_sizeBitmap.cy) / 2});
      break;
    case DisplayMode::Stretch:
      DrawStretched(dc, source.Get(), client);
      break;
    case DisplayMode::AtOrigin:
      DrawOnce(dc, source.Get(), client, m_ptOrigin);
      break;
  }
}

// Tiles from (0, 0) in steps of the bitmap's size; only those that meet the
// area being painted are drawn.
void CMdiClientBack::DrawTiled(HDC target, HDC source, const RECT& update) const {
  const int width = m_sizeBitmap.cx;
  const int height = m_sizeBitmap.cy;
  const int left = update.left > 0 ? update.left / width * width : 0;
  const int top = update.top > 0 ? update.top / height * height : 0;
  for (int y = top; y < update.bottom; y += height) {
    for (int x = left; x < update.right; x += width) {
      ::BitBlt(target, x, y, width, height, source, 0, 0, SRCCOPY);
    }
  }
}

void CMdiClientBack::DrawStretched(HDC target, HDC source, const RECT& client) const {
  // Whole pixels rather than the default AND of dropped rows, which darkens
  // a shrunk colour picture.
  const int oldMode = ::SetStretchBltMode(target, COLORONCOLOR);
  ::StretchBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, m_sizeBitmap.cx,
               m_sizeBitmap.cy, SRCCOPY);
  if (oldMode) ::SetStretchBltMode(target, oldMode);
}

void CMdiClientBack::DrawOnce(HDC target, HDC source, const RECT& client, POINT at) const {
  base::MemoryDc buffer(::CreateCompatibleDC(target));
  base::Bitmap canvas(buffer ? ::CreateCompatibleBitmap(target, client.right, client.bottom)
                             : nullptr);
  if (!canvas) {
    // No room for the off-screen copy: the same picture, drawn in place.
    ::FillRect(target, &client, m_brBack.Get());
    ::BitBlt(target, at.x, at.y, m_sizeBitmap.cx, m_sizeBitmap.cy, source, 0, 0, SRCCOPY);
    return;
  }
  base::SelectScope selected(buffer.Get(), canvas.Get());
  ::FillRect(buffer.Get(), &client, m_brBack.Get());
  ::BitBlt(buffer.Get(), at.x, at.y, m_sizeBitmap.cx, m_sizeBitmap.cy, source, 0, 0, SRCCOPY);
  ::BitBlt(target, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
}
