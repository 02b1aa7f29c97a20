// The camera driver's "StatusReport" mark while Lumora runs and after it ends.
#include <gtest/gtest.h>

#include "lumora_session.h"

namespace e2e {
namespace {

class DriverMark : public ::testing::Test {
 protected:
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }

  // Starts Lumora with the camera installed and waits for the mark.
  void StartMarked() {
    ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
    ASSERT_EQ(DriverStatusReport(), 0xF0000001u);
    lumora.Start();
    ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(WaitFor([] { return DriverStatusReport() == 0xF0000101u; }));
  }

  LumoraSession lumora;
};

TEST_F(DriverMark, SetWhileRunningAndMaskedAtExit) {
  ASSERT_NO_FATAL_FAILURE(StartMarked());
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(DriverStatusReport(), 0x00000001u);
}

// While the camera is away the camera search forgets the driver key; the
// exit still unmarks the key marked at start.
TEST_F(DriverMark, MaskedAtExitAfterTheCameraWentAway) {
  ASSERT_NO_FATAL_FAILURE(StartMarked());
  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  const auto notice = lumora.WaitForDialog();
  ASSERT_TRUE(notice.has_value());
  ASSERT_TRUE(LumoraSession::Answer(*notice, IDOK));
  ::Sleep(3000);  // the capture window looks for the camera again about once a second
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(DriverStatusReport(), 0x00000001u);
}

TEST_F(DriverMark, PlaceholderVendorLeavesTheDriverAlone) {
  // The generic family is accepted as a camera but has no TWAIN.INI, so the
  // driver key stays unknown.
  ASSERT_EQ(RunTool(L"simcamctl.exe install generic"), 0);
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  EXPECT_EQ(DriverStatusReport(), 0xF0000001u);
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(DriverStatusReport(), 0xF0000001u);
}

}  // namespace
}  // namespace e2e
