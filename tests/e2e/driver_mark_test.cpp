// The camera driver's "StatusReport" mark while Lumora runs and after it ends.
#include <gtest/gtest.h>

#include "lumora_session.h"

namespace e2e {
namespace {

const wchar_t kDriverKey[] = L"SYSTEM\\CurrentControlSet\\Services\\QV818UCM\\Parameters";

std::optional<DWORD> StatusReport() {
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kDriverKey, L"StatusReport", RRF_RT_REG_DWORD, nullptr,
                     &value, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

class DriverMark : public ::testing::Test {
 protected:
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }
};

TEST_F(DriverMark, SetWhileRunningAndMaskedAtExit) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  ASSERT_EQ(StatusReport(), 0xF0000001u);

  LumoraSession lumora;
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  EXPECT_TRUE(WaitFor([] { return StatusReport() == 0xF0000101u; }));
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(StatusReport(), 0x00000001u);
}

TEST_F(DriverMark, PlaceholderVendorLeavesTheDriverAlone) {
  // The generic family is accepted as a camera but has no TWAIN.INI, so the
  // driver key stays unknown.
  ASSERT_EQ(RunTool(L"simcamctl.exe install generic"), 0);
  LumoraSession lumora;
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  EXPECT_EQ(StatusReport(), 0xF0000001u);
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(StatusReport(), 0xF0000001u);
}

}  // namespace
}  // namespace e2e
