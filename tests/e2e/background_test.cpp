// The main window's background choice in the per-user application key: what
// the user set there comes back after a run, with the frame's colour.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../win/quad_bitmap.h"
#include "lumora_session.h"

namespace e2e {
namespace {

constexpr wchar_t kSection[] =
    L"Software\\Local AppWizard-Generated Applications\\Lumora\\MDIClient";

DWORD StoredInt(const wchar_t* name) {
  DWORD value = 0xDEADBEEF;
  DWORD size = sizeof value;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSection, name, RRF_RT_REG_DWORD, nullptr, &value,
                           &size),
            ERROR_SUCCESS)
      << "no REG_DWORD " << name;
  return value;
}

std::wstring StoredText(const wchar_t* name) {
  wchar_t text[MAX_PATH] = L"?";
  DWORD size = sizeof text;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSection, name, RRF_RT_REG_SZ, nullptr, text,
                           &size),
            ERROR_SUCCESS)
      << "no REG_SZ " << name;
  return text;
}

// Leaves no background choice behind for the other tests.
class Background : public ::testing::Test {
 protected:
  Background() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection); }
  ~Background() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection); }
};

TEST_F(Background, ChosenBitmapAndModeSurviveRestarts) {
  LumoraSession lumora;
  const std::wstring bitmap = (lumora.Documents().parent_path() / L"back.bmp").wstring();
  ASSERT_TRUE(testing_win::WriteQuadBitmap(bitmap, 64, 48));
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSection, L"FileName", REG_SZ, bitmap.c_str(),
                              static_cast<DWORD>((bitmap.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  const DWORD centre = 1;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSection, L"DisplayMode", REG_DWORD, &centre,
                              sizeof centre),
            ERROR_SUCCESS);

  for (int run = 0; run < 2; ++run) {
    lumora.Start();
    ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(lumora.Close());
    EXPECT_EQ(StoredText(L"FileName"), bitmap) << run;
    EXPECT_EQ(StoredInt(L"DisplayMode"), centre) << run;
    EXPECT_EQ(StoredInt(L"OriginX"), 0u) << run;
    EXPECT_EQ(StoredInt(L"OriginY"), 0u) << run;
    EXPECT_EQ(StoredInt(L"BkColor"), RGB(181, 222, 237)) << run;
  }
}

}  // namespace
}  // namespace e2e
