#include "core/TextNumber.h"
#include "base/InOutError.h"

#include <gtest/gtest.h>

using tarvok::ParseInteger;

TEST(ParseInteger, AcceptsDecimalHexAndSigns)
{
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger("  12"), 12);
    EXPECT_EQ(ParseInteger("-1"), -1);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("$1F"), 31);
    EXPECT_EQ(ParseInteger("0x0A"), 10);
    EXPECT_EQ(ParseInteger("X10"), 16);
    EXPECT_EQ(ParseInteger("-$10"), -16);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
}

TEST(ParseInteger, RejectsWhatIsNotAWholeNumber)
{
    for (const char* text : {"", "   ", "12 ", "1e3", "abc", "-", "$", "0x", "1.5", "12a", "99999999999", "2147483648",
                             "-2147483649", "$100000000", "\t"}) {
        EXPECT_FALSE(ParseInteger(text).has_value()) << '"' << text << '"';
    }
}

TEST(InOutError, MessagesFollowTheirCodes)
{
    EXPECT_STREQ(tarvok::EInOutError(2).what(), "File not found");
    EXPECT_STREQ(tarvok::EInOutError(3).what(), "Invalid filename");
    EXPECT_STREQ(tarvok::EInOutError(4).what(), "Too many open files");
    EXPECT_STREQ(tarvok::EInOutError(5).what(), "File access denied");
    EXPECT_STREQ(tarvok::EInOutError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(tarvok::EInOutError(101).what(), "Disk full");
    EXPECT_STREQ(tarvok::EInOutError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(tarvok::EInOutError(32).what(), "I/O error 32");
    EXPECT_EQ(tarvok::EInOutError(101).ErrorCode(), 101);
}

TEST(InOutError, ErrorBoxAppendsADotOnlyAfterCharactersAboveDot)
{
    EXPECT_EQ(tarvok::ErrorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(tarvok::ErrorBoxText("Restore Success."), "Restore Success.");
    EXPECT_EQ(tarvok::ErrorBoxText("Done!"), "Done!");      // '!' sorts below '.'
    EXPECT_EQ(tarvok::ErrorBoxText("error 5"), "error 5."); // digits sort above '.'
    EXPECT_EQ(tarvok::ErrorBoxText("path/"), "path/.");
    EXPECT_EQ(tarvok::ErrorBoxText(""), "");
    EXPECT_EQ(tarvok::ErrorBoxText("\xe5\xad\x98"), "\xe5\xad\x98.");
}
