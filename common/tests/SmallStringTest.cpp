#include "common/CSmallString.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(SmallString, AssignsAppendsAndSelfAssigns)
{
    CSmallString s("walk");
    s.Append(".bmp");
    EXPECT_EQ(s, "walk.bmp");
    EXPECT_EQ(s.Length(), 8u);
    s.Assign(s.View().substr(2)); // text from its own buffer
    EXPECT_EQ(s, "lk.bmp");
    CSmallString empty;
    EXPECT_STREQ(empty.CStr(), "");
}

TEST(SmallString, LockedBufferIsNeverReallocated)
{
    CSmallString s("ab");
    char* buffer = s.Lock(4);
    ASSERT_NE(buffer, nullptr);
    std::memcpy(buffer, "wxyz", 4);
    EXPECT_FALSE(s.Assign("a much longer text that would need a new buffer"));
    EXPECT_EQ(s.LockCount(), 1);
    s.Unlock(4);
    EXPECT_EQ(s, "wxyz");
}
