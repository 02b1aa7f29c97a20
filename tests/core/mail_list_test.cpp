// The mail command's file list and the answers of the mail service.
#include "core/mail_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace core {
namespace {

using Paths = std::vector<std::string>;

TEST(MailList, PathsAreSplitAtSemicolonsAndCommasTrimmedAndEmptyPiecesDropped) {
  EXPECT_EQ(SplitMailList("C:\\a\\c.bmp;C:\\a\\b.jpg;C:\\a\\a.bmp;"),
            (Paths{"C:\\a\\c.bmp", "C:\\a\\b.jpg", "C:\\a\\a.bmp"}));
  EXPECT_EQ(SplitMailList("  x.bmp , y .jpg;;\t;z.bmp"), (Paths{"x.bmp", "y .jpg", "z.bmp"}));
  EXPECT_EQ(SplitMailList("C:\\My Pictures\\p q.bmp"), (Paths{"C:\\My Pictures\\p q.bmp"}));
  EXPECT_TRUE(SplitMailList("").empty());
  EXPECT_TRUE(SplitMailList(" ; ,, ").empty());
}

TEST(MailList, SentCancelledAndFailedLogOnCountAsReached) {
  EXPECT_TRUE(MailServiceReached(0));
  EXPECT_TRUE(MailServiceReached(1));
  EXPECT_TRUE(MailServiceReached(3));
  EXPECT_FALSE(MailServiceReached(2));
  EXPECT_FALSE(MailServiceReached(26));  // no mail program
}

}  // namespace
}  // namespace core
