// The memory stream.
#include "toolkit/MemoryStream.h"

#include "toolkit/Error.h"

#include <gtest/gtest.h>

TEST(MemoryStream, WritesGrowTheStreamAndReadsFollowThePosition)
{
    TMemoryStream stream;
    stream.Write("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(2);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 3), 3u);
    EXPECT_STREQ(buffer, "cde");
    EXPECT_EQ(stream.Read(buffer, 8), 1u); // only what is left
    EXPECT_EQ(stream.Read(buffer, 8), 0u);
}

TEST(MemoryStream, ReadBufferWantsEveryByteOrNone)
{
    TMemoryStream stream(std::vector<std::uint8_t>{1, 2, 3});
    std::uint8_t buffer[4] = {};
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
    EXPECT_EQ(stream.Position(), 0);
    stream.ReadBuffer(buffer, 3);
    EXPECT_EQ(buffer[2], 3);
}

TEST(MemoryStream, SeekingStaysAtOrAboveZeroAndMayPassTheEnd)
{
    TMemoryStream stream(std::vector<std::uint8_t>(10));
    EXPECT_EQ(stream.Seek(-4, TSeekOrigin::soEnd), 6);
    EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 0);
    EXPECT_EQ(stream.Seek(20, TSeekOrigin::soBeginning), 20);
    char c;
    EXPECT_EQ(stream.Read(&c, 1), 0u);
    stream.Write("x", 1); // writing past the end fills the gap
    EXPECT_EQ(stream.Size(), 21);
    stream.SetSize(5);
    EXPECT_EQ(stream.Position(), 5);
}
