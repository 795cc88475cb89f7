#include "platform/core/global_memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/error.h"

namespace {

TEST(GlobalMemoryTest, ZeroInitialisedBlockKeepsItsContentsWhenItGrows) {
    HGLOBAL block = GlobalAlloc(GHND, 4);
    ASSERT_NE(block, nullptr);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0] | bytes[1] | bytes[2] | bytes[3], 0);
    std::memcpy(bytes, "abcd", 4);
    GlobalUnlock(block);

    ASSERT_EQ(GlobalReAlloc(block, 8, GMEM_ZEROINIT), block);
    EXPECT_EQ(GlobalSize(block), 8u);
    bytes = static_cast<unsigned char*>(GlobalLock(block));
    EXPECT_EQ(std::memcmp(bytes, "abcd\0\0\0\0", 8), 0);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemoryTest, LockedBlockNeverMovesButMayShrink) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    void* address = GlobalLock(block);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GlobalReAlloc(block, 8, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalLock(block), address);
    EXPECT_EQ(GlobalSize(block), 8u);
    EXPECT_TRUE(GlobalUnlock(block));  // still locked once
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    GlobalFree(block);
}

TEST(GlobalMemoryTest, FreedAndForgedHandlesFailCleanly) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 1);
    ASSERT_EQ(GlobalFree(block), nullptr);
    const HGLOBAL forged = reinterpret_cast<HGLOBAL>(std::uintptr_t{0x1234});
    for (HGLOBAL handle : {block, forged}) {
        SetLastError(NO_ERROR);
        EXPECT_EQ(GlobalLock(handle), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_EQ(GlobalSize(handle), 0u);
        EXPECT_EQ(GlobalReAlloc(handle, 4, 0), nullptr);
        EXPECT_EQ(GlobalFree(handle), handle);
    }
}

}  // namespace
