// The invariants the library states and checks itself in debug builds: one
// context at a time, one owner for every image, and the single place that
// decides which kernel tier runs.

#include "kernels/rect/BlitKernels.h"

#include "imaging/CDibContext.h"
#include "imaging/CDibRegion.h"
#include "imaging/CDibSection.h"
#include "imaging/CpuFeatures.h"
#include "imaging/DibAssert.h"
#include "imaging/DibRef.h"

#include <gtest/gtest.h>

TEST(DibInvariants, HandlesCountTheReferencesOfTheImageTheyShare)
{
    DibRef<CDibSection> first = MakeDib<CDibSection>();
    ASSERT_EQ(first->Create(2, 2, PF_RGB565), DIB_OK);
    EXPECT_EQ(first->GetRefCount(), 1);
    {
        DibRef<CDibSection> copy = first;
        DibRef<CDib> asBase = DibRef<CDib>::Share(first.Get());
        EXPECT_EQ(first->GetRefCount(), 3);
        DibRef<CDib> moved = std::move(asBase);
        EXPECT_FALSE(asBase);
        EXPECT_EQ(first->GetRefCount(), 3);
    }
    EXPECT_EQ(first->GetRefCount(), 1);
    // A handle of a kind becomes a handle of its base without a new reference.
    DibRef<CDib> base = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(base->GetRefCount(), 1);
    EXPECT_EQ(base->GetWidth(), 2);
}

TEST(DibInvariants, ImagesOutliveTheContextTheyWereMadeIn)
{
    // The context owns no image: one made while it existed is its owner's to
    // free, before or after the context ends (the sanitizer build reports a
    // leak or a double free otherwise).
    auto* context = new CDibContext;
    DibRef<CDib> kept = MakeDib<CDibSection>();
    ASSERT_EQ(kept->Create(3, 1, PF_INDEX8), DIB_OK);
    CDibRegion* region = kept->NewClipRegion();
    kept->SetClipRegion(region);
    region->Release();
    delete context;
    EXPECT_EQ(CDibContext::Current(), nullptr);
    EXPECT_EQ(kept->GetWidth(), 3);
    EXPECT_NE(kept->GetClipRegion(), nullptr);
}

TEST(DibInvariants, OneFunctionDecidesTheTier)
{
    EXPECT_EQ(ActiveBlitTier(), BlitTier::Portable); // no context
    CDibContext context;
    EXPECT_EQ(context.Init(nullptr, nullptr, DIBCTX_NO_SIMD), DIB_OK);
    EXPECT_EQ(ActiveBlitTier(), BlitTier::Portable);
    EXPECT_EQ(context.Init(nullptr, nullptr, 0), DIB_OK);
    EXPECT_EQ(context.useMmx == 1, !SimdDisabledByEnvironment() && BestSimdTier() != BlitTier::Portable);
    EXPECT_EQ(ActiveBlitTier(), context.useMmx ? BestSimdTier() : BlitTier::Portable);
}

TEST(DibInvariantsDeathTest, ASecondContextIsCaught)
{
    if (!kDibAssertsLive)
        GTEST_SKIP() << "invariants are checked in debug builds only";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            CDibContext first;
            CDibContext second;
        },
        "one image library context");
}

