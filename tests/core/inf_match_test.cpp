#include "core/inf_match.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace core {
namespace {

bool Matches(const std::string& text) {
  std::istringstream in(text);
  return InfNamesCamera(in);
}

const std::string kHead = "; Installs QV818UCM.INF\r\n";

TEST(InfNamesCamera, ThirdWordNamesTheDriverAndFirstVidWordNamesTheCamera) {
  EXPECT_TRUE(Matches(kHead + "[Models]\r\n%Cam%=Inst,USB\\VID_0D7C&PID_41A0\r\n"));
  EXPECT_TRUE(Matches("a\tb\v\fxQV818UCM.INFx\n\nUSB\\VID_0D7C&PID_41A0&MI_00"));
  // Case matters for both texts.
  EXPECT_FALSE(Matches("; Installs qv818ucm.inf USB\\VID_0D7C&PID_41A0"));
  EXPECT_FALSE(Matches(kHead + "USB\\vid_0d7c&pid_41a0"));
  // The driver's name must be the third word, not another one.
  EXPECT_FALSE(Matches("QV818UCM.INF b c USB\\VID_0D7C&PID_41A0"));
  EXPECT_FALSE(Matches("a b"));
  EXPECT_FALSE(Matches(""));
}

TEST(InfNamesCamera, OnlyTheFirstWordWithVidCounts) {
  EXPECT_FALSE(Matches(kHead + "USB\\VID_0D7C&PID_41A1 USB\\VID_0D7C&PID_41A0"));
  EXPECT_FALSE(Matches(kHead + "DriverVer=1 Provider=X\r\n"));      // no VID at all
  EXPECT_TRUE(Matches(kHead + "vid_0d7c USB\\VID_0D7C&PID_41A0"));  // lower case is no VID
}

TEST(InfNamesCamera, LongWordsAreCutAndStayOneWord) {
  const std::string filler(kInfTokenChars - 4, 'x');
  // A name straddling the cut is lost; one inside it is kept.
  EXPECT_FALSE(Matches("a b " + filler + "QV818UCM.INF USB\\VID_0D7C&PID_41A0"));
  EXPECT_TRUE(Matches("a b " + filler.substr(12) + "QV818UCM.INF USB\\VID_0D7C&PID_41A0"));
  // The rest of a cut word is not read as the next word.
  const std::string huge(100000, 'y');
  EXPECT_TRUE(Matches(huge + " b QV818UCM.INF " + huge + " USB\\VID_0D7C&PID_41A0" + huge));
  EXPECT_FALSE(Matches(kHead + filler + "VID_0D7C&PID_41A0"));
}

TEST(PrecompiledInfPath, ReplacesTheExtension) {
  EXPECT_EQ(PrecompiledInfPath("C:\\WINDOWS\\inf\\oem3.inf"), "C:\\WINDOWS\\inf\\oem3.pnf");
  EXPECT_EQ(PrecompiledInfPath("C:\\WINDOWS\\inf\\OEM12.INF"), "C:\\WINDOWS\\inf\\OEM12.pnf");
  EXPECT_EQ(PrecompiledInfPath("C:\\WINDOWS\\inf\\oem3.infx"), "");
  EXPECT_EQ(PrecompiledInfPath("inf"), "");
}

}  // namespace
}  // namespace core
