#include "core/camera_id.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(CameraInstance, VendorOrPlaceholderPrefix) {
  EXPECT_TRUE(IsCameraInstance("USB\\VID_0D7C&PID_41A0\\5&1"));
  EXPECT_TRUE(IsCameraInstance("USB\\VID_FFFF&PID_0001\\1"));
  EXPECT_FALSE(IsCameraInstance("USB\\VID_046D&PID_0825\\1"));
  EXPECT_FALSE(IsCameraInstance("usb\\vid_0d7c&pid_41a0"));  // callers upper-case first
}

TEST(CameraFamily, FamiliesAndTheirFolders) {
  CameraFamily a = ClassifyCamera("USB\\VID_0D7C&PID_41A0\\X");
  EXPECT_TRUE(a.known && a.qvc5520 && !a.qvc318);
  EXPECT_EQ(a.folder, "QV5520\\");
  EXPECT_TRUE(ClassifyCamera("USB\\VID_0D7C&PID_41AF\\X").qvc5520);

  CameraFamily b = ClassifyCamera("USB\\VID_0D7C&PID_41C8\\X");
  EXPECT_TRUE(b.known && b.qvc318 && !b.qvc5520);
  EXPECT_EQ(b.folder, "QFC419\\");

  CameraFamily c = ClassifyCamera("USB\\VID_0D7C&PID_9999\\X");
  EXPECT_TRUE(c.known && !c.qvc5520 && !c.qvc318);
  EXPECT_EQ(c.folder, "NULL");

  // The placeholder vendor is accepted as a camera but sets no flag.
  CameraFamily d = ClassifyCamera("USB\\VID_FFFF&PID_0001\\X");
  EXPECT_FALSE(d.known || d.qvc5520 || d.qvc318);
}

TEST(CameraFamily, TheSecondTestWinsWhenBothMatch) {
  CameraFamily both = ClassifyCamera("USB\\VID_0D7C&PID_41A0&PID_41C8");
  EXPECT_TRUE(both.qvc5520 && both.qvc318);
  EXPECT_EQ(both.folder, "QFC419\\");
}

TEST(TwainIniPath, JoinsWithOneBackslash) {
  EXPECT_EQ(TwainIniPath("C:\\windows", "QV5520\\"), "C:\\windows\\twain_32\\QV5520\\TWAIN.INI");
  EXPECT_EQ(TwainIniPath("C:\\", "QFC419\\"), "C:\\twain_32\\QFC419\\TWAIN.INI");
  EXPECT_EQ(TwainIniPath("C:\\windows", "NULL"), "C:\\windows\\twain_32\\NULLTWAIN.INI");
}

}  // namespace
}  // namespace core
