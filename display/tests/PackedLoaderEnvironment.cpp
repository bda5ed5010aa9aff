// Surfaces read picture files through CDibSection::Load, which knows the
// sprite file format only once a program installs the packed image loader.
// Every program does that at start; this test binary does it before its
// first test, the same way.

#include "sprites/CDibPacked.h"

#include <gtest/gtest.h>

namespace {
class PackedLoaderEnvironment : public ::testing::Environment {
public:
    void SetUp() override { InstallPackedImageLoader(); }
};

const ::testing::Environment* const g_packedLoader = ::testing::AddGlobalTestEnvironment(new PackedLoaderEnvironment);
} // namespace
