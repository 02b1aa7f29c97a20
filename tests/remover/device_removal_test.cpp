// The device-removal program on its own: it removes the interface entries
// of the id it is given, in every device class, only with that id's key.
#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "footprint.h"
#include "lumora_session.h"

namespace {

const std::wstring kClasses = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";
// The camera's interface in a second device class, and a neighbouring
// device whose id only begins like the camera's.
const std::wstring kSecondClassInterface =
    kClasses + L"{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\##?#USB#VID_0D7C&PID_41A0#cam#{x}";
const std::wstring kNeighbourInterface =
    kClasses + L"{6994AD05-93EF-11D0-A3CC-00A0C9223196}\\##?#USB#VID_0D7C&PID_41A0&MI_01#n#{x}";

bool Present(const std::wstring& key) {
  base::RegKey opened;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, opened.Put()) ==
         ERROR_SUCCESS;
}

void AddInterface(const std::wstring& key, const std::wstring& instance) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"DeviceInstance", REG_SZ,
                              instance.c_str(),
                              static_cast<DWORD>((instance.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

class DeviceRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
    AddInterface(kSecondClassInterface, simcam::DeviceInstance(simcam::Family::Qvc5520));
    AddInterface(kNeighbourInterface, L"USB\\VID_0D7C&PID_41A0&MI_01\\7&1");
  }
  void TearDown() override {
    simcam::RemoveFootprint();
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kSecondClassInterface.c_str());
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kNeighbourInterface.c_str());
  }
  static bool CameraPresent() {
    return Present(simcam::InterfaceKey(simcam::Family::Qvc5520)) && Present(kSecondClassInterface);
  }
};

TEST_F(DeviceRemoval, RemovesOnlyTheGivenIdAndOnlyWithItsKey) {
  // The other id's key, the other id, and no key at all leave it alone.
  EXPECT_EQ(e2e::RunTool(L"camclean.dll /HardwareID:\"USB\\Vid_0d7c&Pid_41a0\" /Key:1845502976"),
            1);
  EXPECT_EQ(e2e::RunTool(L"camclean.dll /HardwareID:\"USB\\Vid_0d7c&Pid_41af\" /Key:1845502976"),
            0);
  EXPECT_EQ(e2e::RunTool(L"camclean.dll /HardwareID:\"USB\\Vid_0d7c&Pid_41a0\""), 2);
  EXPECT_TRUE(CameraPresent());

  EXPECT_EQ(e2e::RunTool(L"camclean.dll /HardwareID:\"USB\\Vid_0d7c&Pid_41a0\" /Key:2718093541"),
            0);
  EXPECT_FALSE(Present(simcam::InterfaceKey(simcam::Family::Qvc5520)));
  EXPECT_FALSE(Present(kSecondClassInterface));
  EXPECT_TRUE(Present(kNeighbourInterface));
}

}  // namespace
