// camclean under each Windows version it knows and some it refuses: which
// files and INFs go, which commands reach the command interpreter and the
// device-removal program, and which boxes appear.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/handles.h"
#include "base/strings.h"
#include "camclean_case.h"
#include "capture/camera_finder.h"
#include "footprint.h"
#include "lumora_session.h"

namespace remover_test {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

const std::string kFirstId = "/HardwareID:\"USB\\Vid_0d7c&Pid_41a0\" /Key:2718093541";
const std::string kSecondId = "/HardwareID:\"USB\\Vid_0d7c&Pid_41af\" /Key:1845502976";
const std::wstring kFailure = L"There is something error!";

bool CameraInterfacePresent() {
  base::RegKey key;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, simcam::InterfaceKey(simcam::Family::Qvc5520).c_str(),
                         0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

class Camclean : public CamcleanTest {
 protected:
  // The driver's files of both families, the camera installed, and the
  // removal program in the current folder.
  void LayInstallation() {
    ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
    LayDriverFiles();
    PutRemovalProgramInCurrentFolder();
  }

  void ExpectDriverFilesGone(const char* const (&familyOnly)[2],
                             const char* const (&otherFamilyOnly)[2]) {
    for (const char* file : kCommonFiles) EXPECT_FALSE(Exists(file)) << file;
    for (const char* file : familyOnly) EXPECT_FALSE(Exists(file)) << file;
    for (const char* file : otherFamilyOnly) EXPECT_TRUE(Exists(file)) << file;
    EXPECT_TRUE(Exists(kBystander));
  }

  void ExpectNothingTouched(const Outcome& run) {
    for (const char* file : kCommonFiles) EXPECT_TRUE(Exists(file)) << file;
    for (const char* file : kNineFiveFiles) EXPECT_TRUE(Exists(file)) << file;
    for (const char* file : kNtFiles) EXPECT_TRUE(Exists(file)) << file;
    EXPECT_TRUE(run.calls.empty());
    EXPECT_TRUE(CameraInterfacePresent());
    EXPECT_EQ(run.exitCode, 0u);
  }
};

TEST_F(Camclean, NineFiveRemovesTheDriverAndRunsACopyOfTheRemovalProgram) {
  for (const wchar_t* version : {L"win98", L"winme"}) {
    SCOPED_TRACE(base::Narrow(version));
    Reset();
    LayInstallation();
    Lay("\\inf\\other\\1Qv818ucm.inf", kInfWithoutVid);
    Lay("\\inf\\other\\2Qv818ucm.inf", kCameraInf);
    Lay("\\inf\\other\\camera.inf", kCameraInf);  // not a candidate by its name

    const Outcome run = Run(version);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(Exists("\\inf\\other\\1Qv818ucm.inf"));
    EXPECT_FALSE(Exists("\\inf\\other\\2Qv818ucm.inf"));
    EXPECT_TRUE(Exists("\\inf\\other\\camera.inf"));
    ExpectDriverFilesGone(kNineFiveFiles, kNtFiles);

    // The copy is run with its switches glued to its path, the second id
    // twice with the pause between, and deleted afterwards.
    const std::string copy = base::Narrow(WindowsFolder().wstring()) + "\\camclnr.exe";
    EXPECT_EQ(run.Texts("shell"), (Texts{copy + kFirstId, copy + kSecondId, copy + kSecondId}));
    EXPECT_EQ(run.Texts("removal"), (Texts{kFirstId, kSecondId, kSecondId}));
    ASSERT_EQ(run.calls.size(), 6u);
    EXPECT_GE(run.calls[4].tick - run.calls[3].tick, 1700u);
    EXPECT_FALSE(Exists("\\camclnr.exe"));
    EXPECT_FALSE(CameraInterfacePresent());
  }
}

TEST_F(Camclean, NineFiveWithoutTheRemovalProgramFailsAfterTheDeletions) {
  LayDriverFiles();
  Lay("\\inf\\other\\2Qv818ucm.inf", kCameraInf);
  const Outcome run = Run(L"win98");
  EXPECT_EQ(run.boxes, std::vector<std::wstring>{kFailure});
  EXPECT_TRUE(run.okButtonOnly);
  EXPECT_FALSE(Exists("\\inf\\other\\2Qv818ucm.inf"));
  ExpectDriverFilesGone(kNineFiveFiles, kNtFiles);
  EXPECT_TRUE(run.calls.empty());
  EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(Camclean, NtRemovesEachMatchingInstallationAroundTheStillImageService) {
  const std::string first = "camclean.dll " + kFirstId;
  const std::string second = "camclean.dll " + kSecondId;
  const std::string stop2000 = "net stop \"Still Image Service\"";
  const std::string start2000 = "net start \"Still Image Service\"";
  const std::string stopXp = "net stop \"Snapvisor\"";
  using Commands = std::vector<std::pair<std::string, std::string>>;  // text, driver file
  const std::pair<const wchar_t*, Commands> cases[] = {
      {L"win2k",
       {{stop2000, "present"},
        {start2000, "absent"},
        {stop2000, "absent"},
        {start2000, "absent"},
        {first, "absent"},
        {second, "absent"}}},
      {L"winxp", {{stopXp, "present"}, {stopXp, "absent"}, {first, "absent"}, {second, "absent"}}},
  };
  for (const auto& [version, commands] : cases) {
    SCOPED_TRACE(base::Narrow(version));
    Reset();
    LayInstallation();
    // Found in name order: the first names the driver but no VID, the
    // fourth names another driver; the second and third are the camera's.
    Lay("\\inf\\oem1.inf", kInfWithoutVid);
    Lay("\\inf\\oem2.inf", kCameraInf);
    Lay("\\inf\\oem3.inf", kCameraInf);
    Lay("\\inf\\oem4.inf", "; Installs OTHER.INF USB\\VID_0D7C&PID_41A0");
    for (const char* pnf :
         {"\\inf\\oem1.pnf", "\\inf\\oem2.pnf", "\\inf\\oem3.pnf", "\\inf\\oem4.pnf"}) {
      Lay(pnf);
    }

    const Outcome run = Run(version);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    for (const char* kept :
         {"\\inf\\oem1.inf", "\\inf\\oem1.pnf", "\\inf\\oem4.inf", "\\inf\\oem4.pnf"}) {
      EXPECT_TRUE(Exists(kept)) << kept;
    }
    for (const char* gone :
         {"\\inf\\oem2.inf", "\\inf\\oem2.pnf", "\\inf\\oem3.inf", "\\inf\\oem3.pnf"}) {
      EXPECT_FALSE(Exists(gone)) << gone;
    }
    ExpectDriverFilesGone(kNtFiles, kNineFiveFiles);

    Commands shell;
    for (const Call& call : run.calls) {
      if (call.who == "shell") shell.emplace_back(call.text, call.note);
    }
    EXPECT_EQ(shell, commands);
    EXPECT_EQ(run.Texts("removal"), (Texts{kFirstId, kSecondId}));
    EXPECT_FALSE(CameraInterfacePresent());
  }
}

TEST_F(Camclean, NtRunsTheRemovalProgramEvenWhenNoInfMatched) {
  LayInstallation();
  Lay("\\inf\\oem1.inf", kInfWithoutVid);
  const Outcome run = Run(L"winxp");
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_TRUE(Exists("\\inf\\oem1.inf"));
  for (const char* file : kCommonFiles) EXPECT_TRUE(Exists(file)) << file;
  for (const char* file : kNtFiles) EXPECT_TRUE(Exists(file)) << file;
  EXPECT_EQ(run.Texts("shell"), (Texts{"camclean.dll " + kFirstId, "camclean.dll " + kSecondId}));
  EXPECT_EQ(run.Texts("removal"), (Texts{kFirstId, kSecondId}));
}

TEST_F(Camclean, NtWithoutTheRemovalProgramShowsBothBoxesAndTouchesNothing) {
  ASSERT_TRUE(simcam::InstallFootprint(simcam::Family::Qvc5520));
  LayDriverFiles();
  Lay("\\inf\\oem2.inf", kCameraInf);
  const Outcome run = Run(L"win2k");
  EXPECT_EQ(run.boxes,
            (std::vector<std::wstring>{L"Can't find camclean.dll in this directory", kFailure}));
  EXPECT_TRUE(run.okButtonOnly);
  EXPECT_TRUE(Exists("\\inf\\oem2.inf"));
  ExpectNothingTouched(run);
}

TEST_F(Camclean, WithoutCandidateInfsNothingRuns) {
  for (const wchar_t* version : {L"win98", L"winxp"}) {
    SCOPED_TRACE(base::Narrow(version));
    Reset();
    LayInstallation();
    Lay("\\inf\\camera.inf", kCameraInf);
    Lay("\\inf\\other\\camera.inf", kCameraInf);
    const Outcome run = Run(version);
    EXPECT_TRUE(run.boxes.empty());
    ExpectNothingTouched(run);
  }
}

TEST_F(Camclean, OtherVersionsOnlyShowTheFailureBox) {
  for (const wchar_t* version : {L"win95", L"nt40", L"win2003", L"win7"}) {
    SCOPED_TRACE(base::Narrow(version));
    Reset();
    LayInstallation();
    Lay("\\inf\\oem2.inf", kCameraInf);
    Lay("\\inf\\other\\2Qv818ucm.inf", kCameraInf);
    const Outcome run = Run(version);
    EXPECT_EQ(run.boxes, std::vector<std::wstring>{kFailure});
    EXPECT_TRUE(run.okButtonOnly);
    EXPECT_TRUE(Exists("\\inf\\oem2.inf"));
    EXPECT_TRUE(Exists("\\inf\\other\\2Qv818ucm.inf"));
    ExpectNothingTouched(run);
  }
}

// Through the platform's own command interpreter, as on a user's machine.
TEST_F(Camclean, XpRunRemovesTheCameraAndLumoraStartsWithoutIt) {
  LayInstallation();
  Lay("\\inf\\oem2.inf", kCameraInf);
  ASSERT_TRUE(capture::FindCamera());

  const Outcome run = Run(L"winxp", false);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.Texts("removal"), (Texts{kFirstId, kSecondId}));
  EXPECT_FALSE(CameraInterfacePresent());
  EXPECT_FALSE(capture::FindCamera());

  e2e::LumoraSession lumora;
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);
  EXPECT_FALSE(lumora.WaitForDialog(500ms));
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(lumora.ExitCode(), 0u);
}

}  // namespace
}  // namespace remover_test
