// The album's file commands: renamed files' names, the properties texts and
// pasted files' names.
#include <gtest/gtest.h>

#include "core/file_operations.h"

namespace core {
namespace {

TEST(FileOperations, RenamedFilesKeepTheirExtensionAndCountUp) {
  EXPECT_EQ(ExtensionOf(L"C:\\a.b\\trip.JPG"), L".JPG");
  EXPECT_EQ(ExtensionOf(L"C:\\a.b\\noext"), L"");
  EXPECT_EQ(ExtensionOf(L"x.tar.gz"), L".gz");
  EXPECT_EQ(RenameTarget(L"C:\\al", L"Trip", L".jpg", 0), L"C:\\al\\Trip.jpg");
  EXPECT_EQ(RenameTarget(L"C:\\al", L"Trip", L".jpg", 2), L"C:\\al\\Trip-2.jpg");
  EXPECT_EQ(RenameTarget(L"C:\\al", L"", L".bmp", 0), L"C:\\al\\.bmp");  // an empty name is taken as typed
}

TEST(FileOperations, PastedFilesGainOneCopyOfPerTakenName) {
  EXPECT_EQ(PastedFileName(L"a.jpg", 0), L"a.jpg");
  EXPECT_EQ(PastedFileName(L"a.jpg", 2), L"Copy ofCopy ofa.jpg");
}

TEST(FileOperations, PropertiesTexts) {
  EXPECT_EQ(FileTypeText(L"c:\\x\\a.jpg", L" Image", L" Video"), L"JPG Image");
  EXPECT_EQ(FileTypeText(L"c:\\x\\clip.Avi", L" Image", L" Video"), L"AVI Video");
  EXPECT_EQ(FileTypeText(L"ab", L" Image", L" Video"), L"AB Image");
  EXPECT_EQ(SizeText(2048), L"2 KB(2048 bytes)");
  EXPECT_EQ(SizeText(1023), L"0 KB(1023 bytes)");
  EXPECT_EQ(DateTimeText(2026, 3, 5, 7, 8, 9), L"2026-3-5,7:8:9");
  EXPECT_EQ(DateText(2026, 12, 7), L"2026-12-7");
}

}  // namespace
}  // namespace core
