#include "media/G711.h"

#include <cstdlib>
#include <gtest/gtest.h>

// Values from the standard's tables: the end points, the codes around zero
// and the first step of each sign.
TEST(G711, MuLawMatchesTheStandardTable)
{
    EXPECT_EQ(MuLawToLinear(0x00), -32124);
    EXPECT_EQ(MuLawToLinear(0x80), 32124);
    EXPECT_EQ(MuLawToLinear(0x7F), 0);
    EXPECT_EQ(MuLawToLinear(0xFF), 0);
    EXPECT_EQ(MuLawToLinear(0x7E), -8);
    EXPECT_EQ(MuLawToLinear(0xFE), 8);
    EXPECT_EQ(MuLawToLinear(0x70), -120);
    EXPECT_EQ(MuLawToLinear(0x6F), -132);
    EXPECT_EQ(LinearToMuLaw(0), MULAW_SILENCE);
    EXPECT_EQ(LinearToMuLaw(32767), 0x80);
    EXPECT_EQ(LinearToMuLaw(-32768), 0x00);
}

TEST(G711, ALawMatchesTheStandardTable)
{
    EXPECT_EQ(ALawToLinear(0xD5), 8);
    EXPECT_EQ(ALawToLinear(0x55), -8);
    EXPECT_EQ(ALawToLinear(0xAA), 32256);
    EXPECT_EQ(ALawToLinear(0x2A), -32256);
    EXPECT_EQ(ALawToLinear(0xD4), 24);
    EXPECT_EQ(ALawToLinear(0xC5), 264);
    EXPECT_EQ(LinearToALaw(0), ALAW_SILENCE);
    EXPECT_EQ(LinearToALaw(32767), 0xAA);
    EXPECT_EQ(LinearToALaw(-32768), 0x2A);
}

TEST(G711, EveryCodeSurvivesARoundTrip)
{
    for (int code = 0; code < 256; ++code) {
        auto c = static_cast<uint8_t>(code);
        EXPECT_EQ(MuLawToLinear(LinearToMuLaw(MuLawToLinear(c))), MuLawToLinear(c)) << code;
        // Negative zero (0x7F) encodes as positive zero.
        if (code != 0x7F) {
            EXPECT_EQ(LinearToMuLaw(MuLawToLinear(c)), c) << code;
        }
        EXPECT_EQ(LinearToALaw(ALawToLinear(c)), c) << code;
    }
}

TEST(G711, QuantisationErrorStaysWithinHalfAStep)
{
    // Steps double with each segment, so the error allowed grows with the
    // magnitude: at most 1/16 of it, and never more than 16 near zero.
    for (int x = -32124; x <= 32124; ++x) {
        auto s = static_cast<int16_t>(x);
        int muError = std::abs(MuLawToLinear(LinearToMuLaw(s)) - x);
        int aError = std::abs(ALawToLinear(LinearToALaw(s)) - x);
        int allowed = std::max(16, std::abs(x) / 16);
        ASSERT_LE(muError, allowed) << x;
        ASSERT_LE(aError, allowed) << x;
    }
}
