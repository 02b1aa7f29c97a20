#include "core/ini_text.h"

#include <gtest/gtest.h>

namespace core {
namespace {

const char kFile[] =
    "[Setting]\r\n"
    "Init=TRUE\r\n"
    "CaptureDuringTime=\r\n"
    "  FrameRate =  15  \r\n"
    "Quoted=\"a b\"\r\n"
    "\r\n"
    "[ALBUM]\r\n"
    "AlbumNum=1\r\n";

TEST(IniFind, PresentAbsentAndEmptyKeys) {
  EXPECT_EQ(IniFind(kFile, "Setting", "Init"), "TRUE");
  EXPECT_EQ(IniFind(kFile, "Setting", "CaptureDuringTime"), "");
  EXPECT_EQ(IniFind(kFile, "Setting", "WindowSize"), std::nullopt);
  EXPECT_EQ(IniFind(kFile, "Nowhere", "Init"), std::nullopt);
  // A key of another section does not leak into this one.
  EXPECT_EQ(IniFind(kFile, "Setting", "AlbumNum"), std::nullopt);
  EXPECT_EQ(IniFind("", "Setting", "Init"), std::nullopt);
}

TEST(IniFind, NamesIgnoreCaseBlanksAndQuotes) {
  EXPECT_EQ(IniFind(kFile, "setting", "INIT"), "TRUE");
  EXPECT_EQ(IniFind(kFile, "Setting", "FrameRate"), "15");
  EXPECT_EQ(IniFind(kFile, "Setting", "Quoted"), "a b");
  EXPECT_EQ(IniFind("[ S ]\nk=v", "S", "k"), "v");
}

TEST(IniFind, OddTextIsReadSafely) {
  const char odd[] =
      "k=before any section\n"
      "[Setting\n"
      "garbage line\n"
      "[Setting]\n"
      "=no key\n"
      "Init=first\n"
      "Init=second\n"
      "Value=a=b\n"
      "Lone=\"\n";
  EXPECT_EQ(IniFind(odd, "Setting", "k"), std::nullopt);
  EXPECT_EQ(IniFind(odd, "Setting", "Init"), "first");
  EXPECT_EQ(IniFind(odd, "Setting", "Value"), "a=b");
  EXPECT_EQ(IniFind(odd, "Setting", "Lone"), "\"");
  EXPECT_EQ(IniFind(std::string("[S]\nk=a\0b", 9), "S", "k"), std::string("a\0b", 3));
}

TEST(IniResult, DefaultAndCapacityCut) {
  EXPECT_EQ(IniResult(std::nullopt, "352x288", 128), "352x288");
  EXPECT_EQ(IniResult(std::string(), "15", 128), "");
  EXPECT_EQ(IniResult(std::string("123456789"), "", 5), "1234");
  EXPECT_EQ(IniResult(std::nullopt, "123456789", 5), "1234");
  EXPECT_EQ(IniResult(std::string("abc"), "", 1), "");
  EXPECT_EQ(IniResult(std::string("abc"), "", 0), "");
}

TEST(IniReplace, ReplacesTheOneLineAndKeepsTheRest) {
  const std::string out = IniReplace(kFile, "Setting", "framerate", "30");
  EXPECT_EQ(out,
            "[Setting]\r\n"
            "Init=TRUE\r\n"
            "CaptureDuringTime=\r\n"
            "framerate=30\r\n"
            "Quoted=\"a b\"\r\n"
            "\r\n"
            "[ALBUM]\r\n"
            "AlbumNum=1\r\n");
}

TEST(IniReplace, AddsKeyAfterTheLastEntryOfItsSection) {
  EXPECT_EQ(IniReplace(kFile, "Setting", "Index", "0"),
            "[Setting]\r\n"
            "Init=TRUE\r\n"
            "CaptureDuringTime=\r\n"
            "  FrameRate =  15  \r\n"
            "Quoted=\"a b\"\r\n"
            "Index=0\r\n"
            "\r\n"
            "[ALBUM]\r\n"
            "AlbumNum=1\r\n");
  EXPECT_EQ(IniReplace(kFile, "ALBUM", "Album0", "C:\\x"),
            std::string(kFile) + "Album0=C:\\x\r\n");
}

TEST(IniReplace, CreatesSectionsAndFiles) {
  EXPECT_EQ(IniReplace("", "Setting", "Init", "TRUE"), "[Setting]\r\nInit=TRUE\r\n");
  EXPECT_EQ(IniReplace("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
  EXPECT_EQ(IniReplace("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(IniReplace("[A]\n", "A", "y", "2"), "[A]\ny=2\n");
}

TEST(IniReplace, ValueCannotInjectLines) {
  const std::string out = IniReplace("", "S", "k", "v\r\n[Evil]\r\nx=1");
  EXPECT_EQ(out, "[S]\r\nk=v\r\n");
  EXPECT_EQ(IniFind(out, "Evil", "x"), std::nullopt);
}

TEST(IniReplace, RoundTripsEveryWrittenValue) {
  std::string text;
  for (int i = 0; i < 50; ++i) {
    text = IniReplace(text, i % 2 ? "Setting" : "ALBUM", "Key" + std::to_string(i % 7),
                      "v" + std::to_string(i));
  }
  for (int i = 43; i < 50; ++i) {
    EXPECT_EQ(IniFind(text, i % 2 ? "Setting" : "ALBUM", "Key" + std::to_string(i % 7)),
              "v" + std::to_string(i));
  }
}

}  // namespace
}  // namespace core
