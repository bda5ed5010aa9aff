// The ground row kernels: the vector twin against the portable reference on
// seeded random rows (every width from 1 to 67 samples and the game's 320,
// spans of either sign up to far beyond the texture, both pixel sizes,
// single and double width), with guard bytes past the row.

#include "hunt/GroundKernels.h"

#include "imaging/CpuFeatures.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct Fixture {
    std::vector<uint8_t> texture8 = std::vector<uint8_t>(256 * 256 + 16);
    std::vector<uint16_t> texture16 = std::vector<uint16_t>(256 * 256 + 8);

    explicit Fixture(std::mt19937& random)
    {
        for (auto& t : texture8)
            t = uint8_t(random());
        for (auto& t : texture16)
            t = uint16_t(random());
    }
};

// Runs one kernel into a buffer with guard bytes after the row.
std::vector<uint8_t> RunRow(GroundRowKernel kernel, GroundRow row, int bytes)
{
    const size_t size = size_t(row.samples) * size_t(bytes) + 64;
    std::vector<uint8_t> out(size, 0xA5);
    row.target = out.data();
    kernel(row);
    return out;
}

} // namespace

TEST(GroundKernels, TheFixedPointStepGivesTheExactFloor)
{
    // ⌊j·|span|/n⌋ mod 256 for every j, across awkward spans and widths.
    for (int n : {1, 2, 7, 64, 319, 320, 640})
        for (int32_t span : {0, 1, -1, 255, 256, 319, 320, 321, 641, 12345, -30000, 65535, 1 << 24, -(1 << 30)}) {
            const uint32_t step = GroundFixedStep(span, n);
            const int64_t magnitude = span < 0 ? -int64_t(span) : span;
            for (int j = 0; j < n; ++j)
                ASSERT_EQ((uint32_t(j) * step) >> 24, uint32_t((j * magnitude / n) & 255))
                    << "n " << n << " span " << span << " j " << j;
        }
}

TEST(GroundKernels, TheVectorTwinWritesWhatThePortableKernelWrites)
{
    if (!CpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    const uint32_t seed = 20261207;
    std::mt19937 random(seed);
    Fixture fixture(random);
    std::vector<int> widths;
    for (int n = 1; n <= 67; ++n)
        widths.push_back(n);
    widths.push_back(320);
    for (GroundPixels pixels : {GroundPixels::Index8, GroundPixels::Rgb16})
        for (bool doubled : {false, true}) {
                const int bytes = (pixels == GroundPixels::Index8 ? 1 : 2) * (doubled ? 2 : 1);
                for (int n : widths)
                    for (int trial = 0; trial < 12; ++trial) {
                        const int32_t reach = trial < 4 ? 300 : trial < 8 ? 40000 : 1 << 28;
                        std::uniform_int_distribution<int32_t> coordinate(-reach, reach);
                        GroundRow row{};
                        row.texture = pixels == GroundPixels::Index8
                                          ? static_cast<const void*>(fixture.texture8.data())
                                          : static_cast<const void*>(fixture.texture16.data());
                        row.samples = n;
                        row.uLeft = coordinate(random);
                        row.vLeft = coordinate(random);
                        row.uSpan = coordinate(random);
                        row.vSpan = coordinate(random);
                        const auto expected = RunRow(PortableGroundKernel(pixels, doubled), row, bytes);
                        const auto actual = RunRow(Avx2GroundKernel(pixels, doubled), row, bytes);
                        ASSERT_EQ(expected, actual)
                            << "seed " << seed << " pixels " << int(pixels) << " doubled " << doubled << " n " << n << " u " << row.uLeft << "+" << row.uSpan << " v " << row.vLeft
                            << "+" << row.vSpan;
                    }
            }
}

TEST(GroundKernels, SamplesWalkFromTheLeftPointTowardsTheRightPoint)
{
    // A texture whose texel is its u: a span of 256 over 4 samples reads
    // u = 10, 74, 138, 202.
    std::vector<uint8_t> texture(256 * 256 + 16);
    for (int v = 0; v < 256; ++v)
        for (int u = 0; u < 256; ++u)
            texture[size_t(v * 256 + u)] = uint8_t(u);
    GroundRow row{};
    row.texture = texture.data();
    row.samples = 4;
    row.uLeft = 10;
    row.uSpan = 256;
    const auto forward = RunRow(PortableGroundKernel(GroundPixels::Index8, true), row, 2);
    EXPECT_EQ(std::vector<uint8_t>(forward.begin(), forward.begin() + 8),
              (std::vector<uint8_t>{10, 10, 74, 74, 138, 138, 202, 202}));
    EXPECT_EQ(forward[8], 0xA5); // nothing past the row
    row.uSpan = -256;
    const auto backward = RunRow(PortableGroundKernel(GroundPixels::Index8, false), row, 1);
    EXPECT_EQ(std::vector<uint8_t>(backward.begin(), backward.begin() + 4), (std::vector<uint8_t>{10, 202, 138, 74}));
}
