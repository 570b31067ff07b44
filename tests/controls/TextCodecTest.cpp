#include "TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodecTest, Windows1252RoundTripAndUnmappableCharacters)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    EXPECT_EQ(ToBytes(FromBytes(all)), all);

    EXPECT_EQ(FromBytes("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(FromBytes("caf\xE9"), QString::fromUtf8("café"));
    EXPECT_EQ(ToBytes(QString::fromUtf8("€5 – ok")), "\x80" "5 \x96 ok");
    EXPECT_EQ(ToBytes(QString::fromUtf8("日本")), "??");
}
