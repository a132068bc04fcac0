// The standard error box's text rule.
#include "toolkit/Error.h"

#include <gtest/gtest.h>

TEST(ErrorBoxText, APeriodFollowsALastCharacterThatSortsAfterThePeriod)
{
    EXPECT_EQ(ErrorBoxText("Unable to write to nomblet.ini"), "Unable to write to nomblet.ini.");
    EXPECT_EQ(ErrorBoxText("path/"), "path/.");            // '/' comes right after '.'
    EXPECT_EQ(ErrorBoxText("caf\xE9"), "caf\xE9.");        // bytes above 127 sort high
}

TEST(ErrorBoxText, NoPeriodAfterThePeriodOrWhatSortsBeforeIt)
{
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Really!"), "Really!");
    EXPECT_EQ(ErrorBoxText("minus-"), "minus-");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(Exception, CarriesItsMessage)
{
    try {
        throw EReadError("Stream read error");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}
