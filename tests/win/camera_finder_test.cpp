// The camera lookup and the driver mark against the simulated driver
// footprint in the registry and the Windows folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/driver_mark.h"
#include "capture/camera_finder.h"
#include "footprint.h"

namespace {

DWORD ReadDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0;
  DWORD bytes = sizeof value;
  ::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes);
  return value;
}

void SetLinked(DWORD linked) {
  const std::wstring key = simcam::InterfaceKey(simcam::Family::Qvc5520) + L"\\#GLOBAL\\Control";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Linked", REG_DWORD, &linked,
                              sizeof linked),
            ERROR_SUCCESS);
}

class CameraFinder : public ::testing::Test {
 protected:
  void TearDown() override {
    simcam::RemoveFootprint();
    capture::FindCamera();
  }
};

TEST_F(CameraFinder, Qvc5520FamilyIsKnownAndNamesItsDriverKey) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  EXPECT_TRUE(capture::FindCamera());
  EXPECT_TRUE(capture::g_bKnownCamera);
  EXPECT_TRUE(capture::g_bQvc5520Family);
  EXPECT_FALSE(capture::g_bQvc318Family);
  EXPECT_EQ(capture::g_strDriverRegistryPath, "SYSTEM\\CurrentControlSet\\Services\\QV818UCM\\Parameters");
}

TEST_F(CameraFinder, Qvc318FamilyReadsItsOwnTwainIni) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc318));
  EXPECT_TRUE(capture::FindCamera());
  EXPECT_TRUE(capture::g_bKnownCamera);
  EXPECT_FALSE(capture::g_bQvc5520Family);
  EXPECT_TRUE(capture::g_bQvc318Family);
  EXPECT_EQ(capture::g_strDriverRegistryPath, "SYSTEM\\CurrentControlSet\\Services\\QV818UCM\\Parameters");
}

TEST_F(CameraFinder, PlaceholderVendorIsACameraWithoutFlags) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Generic));
  EXPECT_TRUE(capture::FindCamera());
  EXPECT_FALSE(capture::g_bKnownCamera || capture::g_bQvc5520Family || capture::g_bQvc318Family);
  EXPECT_EQ(capture::g_strDriverRegistryPath, capture::kNoDriverRegistryPath);
}

TEST_F(CameraFinder, NoDeviceOrUnlinkedDeviceIsNoCamera) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::None));
  EXPECT_FALSE(capture::FindCamera());
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  SetLinked(0);
  EXPECT_FALSE(capture::FindCamera());
  EXPECT_EQ(capture::g_strDriverRegistryPath, capture::kNoDriverRegistryPath);
  SetLinked(1);
  EXPECT_TRUE(capture::FindCamera());
}

TEST_F(CameraFinder, DriverMarkSetsBit100AndExitMasksHighBits) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  ASSERT_TRUE(capture::FindCamera());
  const std::string marked = app::MarkDriverInUse();
  EXPECT_EQ(marked, capture::g_strDriverRegistryPath);
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0xF0000101u);
  app::MarkDriverInUse();
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0xF0000101u);
  app::ClearDriverMark(marked);
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0x00000001u);
}

// The search forgets the driver key while the camera is away; the exit still
// unmarks the key that start-up marked. With none marked at start, the key
// found later is the one masked.
TEST_F(CameraFinder, DriverMarkIsClearedOnTheKeyMarkedAtStart) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  ASSERT_TRUE(capture::FindCamera());
  const std::string marked = app::MarkDriverInUse();
  SetLinked(0);
  ASSERT_FALSE(capture::FindCamera());
  ASSERT_EQ(capture::g_strDriverRegistryPath, capture::kNoDriverRegistryPath);
  app::ClearDriverMark(marked);
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0x00000001u);

  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  SetLinked(0);
  ASSERT_FALSE(capture::FindCamera());
  EXPECT_EQ(app::MarkDriverInUse(), "");
  SetLinked(1);
  ASSERT_TRUE(capture::FindCamera());
  app::ClearDriverMark("");
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0x00000001u);
}

TEST_F(CameraFinder, DriverMarkWithoutAKnownKeyChangesNothing) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  SetLinked(0);
  ASSERT_FALSE(capture::FindCamera());
  app::ClearDriverMark(app::MarkDriverInUse());
  EXPECT_EQ(ReadDword(simcam::kDriverKey, L"StatusReport"), 0xF0000001u);
}

}  // namespace
