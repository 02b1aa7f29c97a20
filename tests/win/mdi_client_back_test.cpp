// The painted MDI client background: the values it loads from the
// "MDIClient" section, the four display modes on screen, bad stored values,
// and the values it writes back when it goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "base/handles.h"
#include "editor/mdi_client_back.h"
#include "quad_bitmap.h"
#include "temp_folder.h"

namespace {

using testing_win::kQuadBottomLeft;
using testing_win::kQuadBottomRight;
using testing_win::kQuadTopLeft;
using testing_win::kQuadTopRight;
using testing_win::TempFolder;

constexpr COLORREF kBack = RGB(181, 222, 237);
constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;
constexpr int kBitmapWidth = 20;
constexpr int kBitmapHeight = 10;

class MdiClientBack : public ::testing::Test {
 protected:
  MdiClientBack()
      : m_appKey(L"Software\\Lumora Tests\\Background" + std::to_wstring(::GetCurrentProcessId())),
        m_section(m_appKey + L"\\MDIClient"),
        m_bitmap((m_folder.Path() / L"back.bmp").wstring()) {
    testing_win::WriteQuadBitmap(m_bitmap, kBitmapWidth, kBitmapHeight);
  }
  ~MdiClientBack() override {
    DestroyHost();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_appKey.c_str());
  }

  void SetInt(const wchar_t* name, DWORD value) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, m_section.c_str(), name, REG_DWORD, &value,
                                sizeof value),
              ERROR_SUCCESS);
  }
  void SetText(const wchar_t* name, const std::wstring& text) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, m_section.c_str(), name, REG_SZ, text.c_str(),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  DWORD StoredInt(const wchar_t* name) const {
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, m_section.c_str(), name, RRF_RT_REG_DWORD, nullptr,
                             &value, &size),
              ERROR_SUCCESS)
        << "no REG_DWORD " << name;
    return value;
  }
  std::wstring StoredText(const wchar_t* name) const {
    wchar_t text[MAX_PATH] = L"?";
    DWORD size = sizeof text;
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, m_section.c_str(), name, RRF_RT_REG_SZ, nullptr,
                             text, &size),
              ERROR_SUCCESS)
        << "no REG_SZ " << name;
    return text;
  }

  // A borderless host with an MDI client filling it, subclassed by the
  // painter under test, shown and painted.
  void MakeWindow() {
    m_host = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                               kClientWidth, kClientHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_host, nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    m_client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0,
                                 kClientWidth, kClientHeight, m_host, nullptr, nullptr, &ccs);
    ASSERT_NE(m_client, nullptr);
    m_back = std::make_unique<CMdiClientBack>();
    m_back->SetProfileKey(m_appKey);
    ASSERT_TRUE(m_back->SubclassWindow(m_client));
    Repaint();
  }
  void Repaint() {
    ::RedrawWindow(m_client, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  COLORREF Pixel(int x, int y) const {
    const base::WindowDc dc(m_client);
    return ::GetPixel(dc.Get(), x, y);
  }
  // The painter goes first (it writes back), then its window.
  void DestroyHost() {
    m_back.reset();
    if (m_host) ::DestroyWindow(m_host);
    m_host = m_client = nullptr;
  }

  TempFolder m_folder;
  std::wstring m_appKey;
  std::wstring m_section;
  std::wstring m_bitmap;
  HWND m_host = nullptr;
  HWND m_client = nullptr;
  std::unique_ptr<CMdiClientBack> m_back;
};

TEST_F(MdiClientBack, WithoutValuesTheWorkspaceColourFillsTheAreaAndDefaultsAreWrittenBack) {
  MakeWindow();
  const COLORREF workspace = ::GetSysColor(COLOR_APPWORKSPACE);
  EXPECT_EQ(Pixel(0, 0), workspace);
  EXPECT_EQ(Pixel(kClientWidth - 1, kClientHeight - 1), workspace);
  DestroyHost();
  EXPECT_EQ(StoredInt(L"DisplayMode"), 0u);
  EXPECT_EQ(StoredInt(L"OriginX"), 0u);
  EXPECT_EQ(StoredInt(L"OriginY"), 0u);
  EXPECT_EQ(StoredInt(L"BkColor"), workspace);
  EXPECT_EQ(StoredText(L"FileName"), L"");
}

TEST_F(MdiClientBack, ColourSetAfterSubclassingIsPaintedAndWrittenBack) {
  SetInt(L"BkColor", RGB(1, 2, 3));
  MakeWindow();
  EXPECT_EQ(Pixel(10, 10), RGB(1, 2, 3));
  m_back->SetBackColor(kBack);
  Repaint();
  EXPECT_EQ(Pixel(10, 10), kBack);
  DestroyHost();
  EXPECT_EQ(StoredInt(L"BkColor"), kBack);
}

TEST_F(MdiClientBack, TileRepeatsTheBitmapFromTheCorner) {
  SetText(L"FileName", m_bitmap);
  SetInt(L"BkColor", kBack);
  MakeWindow();
  EXPECT_EQ(Pixel(0, 0), kQuadTopLeft);
  EXPECT_EQ(Pixel(15, 2), kQuadTopRight);
  EXPECT_EQ(Pixel(5, 7), kQuadBottomLeft);
  EXPECT_EQ(Pixel(25, 2), kQuadTopLeft);     // second tile across
  EXPECT_EQ(Pixel(5, 12), kQuadTopLeft);     // second tile down
  EXPECT_EQ(Pixel(kClientWidth - 1, kClientHeight - 1), kQuadBottomRight);
  EXPECT_EQ(Pixel(103, 77), kQuadBottomLeft);
}

TEST_F(MdiClientBack, CentreDrawsOnceInTheMiddleOnTheColour) {
  SetText(L"FileName", m_bitmap);
  SetInt(L"DisplayMode", 1);
  SetInt(L"BkColor", kBack);
  MakeWindow();
  const int left = (kClientWidth - kBitmapWidth) / 2;   // 90
  const int top = (kClientHeight - kBitmapHeight) / 2;  // 70
  EXPECT_EQ(Pixel(left, top), kQuadTopLeft);
  EXPECT_EQ(Pixel(left + kBitmapWidth - 1, top + kBitmapHeight - 1), kQuadBottomRight);
  EXPECT_EQ(Pixel(left - 1, top), kBack);
  EXPECT_EQ(Pixel(left + kBitmapWidth, top), kBack);
  EXPECT_EQ(Pixel(0, 0), kBack);

  // A wider area moves the picture: the whole area is painted again, so no
  // copy stays at the old place.
  ::SetWindowPos(m_client, nullptr, 0, 0, kClientWidth + 100, kClientHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
  ::SetWindowPos(m_host, nullptr, 0, 0, kClientWidth + 100, kClientHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
  ::UpdateWindow(m_client);
  Pump();
  EXPECT_EQ(Pixel(left + 50, top), kQuadTopLeft);
  EXPECT_EQ(Pixel(left, top), kBack);
}

TEST_F(MdiClientBack, StretchCoversTheWholeArea) {
  SetText(L"FileName", m_bitmap);
  SetInt(L"DisplayMode", 2);
  MakeWindow();
  EXPECT_EQ(Pixel(0, 0), kQuadTopLeft);
  EXPECT_EQ(Pixel(50, 37), kQuadTopLeft);
  EXPECT_EQ(Pixel(150, 37), kQuadTopRight);
  EXPECT_EQ(Pixel(50, 112), kQuadBottomLeft);
  EXPECT_EQ(Pixel(150, 112), kQuadBottomRight);
  EXPECT_EQ(Pixel(kClientWidth - 1, kClientHeight - 1), kQuadBottomRight);
}

TEST_F(MdiClientBack, OriginPlacesTheBitmapAtSignedCoordinates) {
  SetText(L"FileName", m_bitmap);
  SetInt(L"DisplayMode", 3);
  SetInt(L"OriginX", 30);
  SetInt(L"OriginY", 40);
  SetInt(L"BkColor", kBack);
  MakeWindow();
  EXPECT_EQ(Pixel(30, 40), kQuadTopLeft);
  EXPECT_EQ(Pixel(49, 49), kQuadBottomRight);
  EXPECT_EQ(Pixel(29, 40), kBack);
  EXPECT_EQ(Pixel(50, 40), kBack);
  EXPECT_EQ(Pixel(30, 50), kBack);
  DestroyHost();

  SetInt(L"OriginX", static_cast<DWORD>(-10));
  SetInt(L"OriginY", static_cast<DWORD>(-5));
  MakeWindow();
  EXPECT_EQ(Pixel(0, 0), kQuadBottomRight);
  EXPECT_EQ(Pixel(9, 4), kQuadBottomRight);
  EXPECT_EQ(Pixel(10, 0), kBack);
  EXPECT_EQ(Pixel(0, 5), kBack);
  DestroyHost();
  EXPECT_EQ(StoredInt(L"DisplayMode"), 3u);
  EXPECT_EQ(StoredInt(L"OriginX"), static_cast<DWORD>(-10));
  EXPECT_EQ(StoredInt(L"OriginY"), static_cast<DWORD>(-5));
  EXPECT_EQ(StoredInt(L"BkColor"), kBack);
  EXPECT_EQ(StoredText(L"FileName"), m_bitmap);
}

// A missing or broken file shows the colour; the user's choice of file is
// written back as it was.
TEST_F(MdiClientBack, UnloadableFilesShowTheColourAndKeepTheName) {
  const std::wstring missing = (m_folder.Path() / L"gone.bmp").wstring();
  const std::wstring broken = (m_folder.Path() / L"broken.bmp").wstring();
  {
    // A header that claims 100000 x 100000 pixels over a few bytes.
    std::ofstream out(std::filesystem::path(broken), std::ios::binary);
    const auto header = core::BmpFileHeader(16);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = info.biHeight = 100000;
    info.biPlanes = 1;
    info.biBitCount = 24;
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out << "0123456789abcdef";
  }
  for (const std::wstring& name :
       {missing, broken, m_folder.Path().wstring(), std::wstring(40000, L'x')}) {
    for (DWORD mode = 0; mode < 4; ++mode) {
      SetText(L"FileName", name);
      SetInt(L"DisplayMode", mode);
      SetInt(L"BkColor", kBack);
      MakeWindow();
      EXPECT_EQ(Pixel(0, 0), kBack) << mode;
      EXPECT_EQ(Pixel(kClientWidth / 2, kClientHeight / 2), kBack) << mode;
      DestroyHost();
    }
  }
  SetText(L"FileName", missing);
  MakeWindow();
  DestroyHost();
  EXPECT_EQ(StoredText(L"FileName"), missing);
}

// Values of another type or out of range read as the defaults.
TEST_F(MdiClientBack, OddStoredValuesReadAsDefaults) {
  SetText(L"FileName", m_bitmap);
  SetText(L"DisplayMode", L"2");
  SetText(L"BkColor", L"255");
  MakeWindow();
  EXPECT_EQ(Pixel(25, 2), kQuadTopLeft);  // tiled
  DestroyHost();
  EXPECT_EQ(StoredInt(L"DisplayMode"), 0u);
  EXPECT_EQ(StoredInt(L"BkColor"), ::GetSysColor(COLOR_APPWORKSPACE));

  SetInt(L"DisplayMode", 7);
  SetInt(L"BkColor", 0x01000005);  // a palette index, not a colour
  const DWORD fileNameAsNumber = 5;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, m_section.c_str(), L"FileName", REG_DWORD,
                              &fileNameAsNumber, sizeof fileNameAsNumber),
            ERROR_SUCCESS);
  MakeWindow();
  EXPECT_EQ(Pixel(0, 0), ::GetSysColor(COLOR_APPWORKSPACE));
  DestroyHost();
  EXPECT_EQ(StoredInt(L"DisplayMode"), 0u);
  EXPECT_EQ(StoredText(L"FileName"), L"");
}

// Loading replaces the picture and the name, whether the file loads or not.
TEST_F(MdiClientBack, LoadedBitmapReplacesThePictureAtOnce) {
  MakeWindow();
  ASSERT_TRUE(m_back->LoadBackBitmap(m_bitmap));
  Pump();
  ::UpdateWindow(m_client);
  EXPECT_EQ(Pixel(25, 2), kQuadTopLeft);
  EXPECT_FALSE(m_back->LoadBackBitmap(m_bitmap + L".missing"));
  ::UpdateWindow(m_client);
  EXPECT_EQ(Pixel(25, 2), ::GetSysColor(COLOR_APPWORKSPACE));
  DestroyHost();
  EXPECT_EQ(StoredText(L"FileName"), m_bitmap + L".missing");
}

}  // namespace
