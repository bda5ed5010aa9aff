// Pictures load through CDibSection::Load (and surfaces through it), which
// knows the sprite file format only once a program installs the packed image
// loader. Every program does that at start; a test binary that loads
// pictures compiles this file in, and does it before its first test.

#include "sprites/CDibPacked.h"

#include <gtest/gtest.h>

namespace {
class PackedLoaderEnvironment : public ::testing::Environment {
public:
    void SetUp() override { InstallPackedImageLoader(); }
};

const ::testing::Environment* const g_packedLoader = ::testing::AddGlobalTestEnvironment(new PackedLoaderEnvironment);
} // namespace
