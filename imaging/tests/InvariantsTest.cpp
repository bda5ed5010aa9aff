// The invariants the library states and checks itself in debug builds: one
// context at a time, heap images wherever the library deletes them, and the
// single place that decides which kernel tier runs.

#include "kernels/rect/BlitKernels.h"

#include "imaging/CDibContext.h"
#include "imaging/CDibSection.h"
#include "imaging/CpuFeatures.h"
#include "imaging/DibAssert.h"

#include <gtest/gtest.h>

TEST(DibInvariants, ImagesKnowWhetherTheyLiveOnTheHeap)
{
    CDibSection onStack;
    EXPECT_FALSE(onStack.IsOnHeap());
    auto* onHeap = new CDibSection;
    EXPECT_TRUE(onHeap->IsOnHeap());
    onHeap->Release();
    struct Holder {
        int before = 0;
        CDibSection inside;
    };
    auto* holder = new Holder;
    EXPECT_FALSE(holder->inside.IsOnHeap()); // a member, not an allocation of its own
    delete holder;
}

TEST(DibInvariants, ImagesLeaveTheRegistryOfTheContextTheyJoined)
{
    auto* context = new CDibContext;
    auto* kept = new CDibSection;
    auto* gone = new CDibSection;
    EXPECT_EQ(context->ImageCount(), 2u);
    gone->LeaveRegistry();
    gone->LeaveRegistry(); // a second time is harmless
    EXPECT_EQ(context->ImageCount(), 1u);
    delete context; // deletes `kept`, leaves `gone` alone
    EXPECT_EQ(CDibContext::Current(), nullptr);
    gone->Release();
    (void)kept;
}

TEST(DibInvariants, OneFunctionDecidesTheTier)
{
    EXPECT_EQ(ActiveBlitTier(), BlitTier::Portable); // no context
    CDibContext context;
    context.Init(nullptr, nullptr, DIBCTX_NO_SIMD);
    EXPECT_EQ(ActiveBlitTier(), BlitTier::Portable);
    context.Init(nullptr, nullptr, 0);
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

TEST(DibInvariantsDeathTest, ReleasingAnImageOffTheHeapIsCaught)
{
    if (!kDibAssertsLive)
        GTEST_SKIP() << "invariants are checked in debug builds only";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            CDibSection onStack;
            onStack.Release();
        },
        "lives on the heap");
}
