#include "platform/imaging/pixels/pixel_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/imaging/imaging.h"
#include "platform/imaging/pixels/buffer_pool.h"

namespace {

using platform::imaging::PixelBuffer;

// Restores the default budget and an empty pool around each test.
class PixelBufferTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::imaging::TrimPixelPool(); }
    void TearDown() override {
        platform::SetImagingMemoryBudget(std::size_t{256} << 20);
        platform::imaging::TrimPixelPool();
    }
};

TEST_F(PixelBufferTest, AllocatesAlignedTopDownRowsOrRefuses) {
    struct Case {
        int width, height;
        PixelFormatID format;
        HRESULT expected;
        std::ptrdiff_t stride;
    };
    const Case cases[] = {
        {1, 1, PixelFormat8bppIndexed, S_OK, 4},
        {5, 3, PixelFormat8bppIndexed, S_OK, 8},
        {3, 2, PixelFormat16bppRGB565, S_OK, 8},
        {2, 2, PixelFormat16bppRGB555, S_OK, 4},
        {5, 1, PixelFormat24bppRGB, S_OK, 16},
        {7, 7, PixelFormat32bppRGB, S_OK, 28},
        {1, 9, PixelFormat32bppARGB, S_OK, 4},
        {4, 4, PixelFormat32bppPARGB, S_OK, 16},
        {0, 4, PixelFormat24bppRGB, E_INVALIDARG, 0},
        {4, -1, PixelFormat24bppRGB, E_INVALIDARG, 0},
        {4, 4, PixelFormat16bppARGB1555, E_INVALIDARG, 0},
        {4, 4, PixelFormat1bppIndexed, E_INVALIDARG, 0},
        {4, 4, PixelFormatUndefined, E_INVALIDARG, 0},
        {65535, 65535, PixelFormat32bppARGB, E_OUTOFMEMORY, 0},
        {0x7FFFFFFF, 0x7FFFFFFF, PixelFormat32bppARGB, E_OUTOFMEMORY, 0},
        {0x7FFFFFFF, 1, PixelFormat24bppRGB, E_OUTOFMEMORY, 0},
    };
    for (const Case& c : cases) {
        PixelBuffer buffer;
        EXPECT_EQ(PixelBuffer::Allocate(c.width, c.height, c.format, &buffer), c.expected)
            << c.width << "x" << c.height;
        EXPECT_EQ(buffer.Stride(), c.stride);
        EXPECT_EQ(buffer.Empty(), c.expected != S_OK);
        if (c.expected == S_OK) {
            EXPECT_EQ(buffer.Width(), c.width);
            EXPECT_EQ(buffer.Height(), c.height);
            EXPECT_EQ(buffer.Format(), c.format);
            EXPECT_EQ(buffer.View().Row(1 % c.height) - buffer.Data(), (1 % c.height) * c.stride);
        }
    }
    EXPECT_EQ(PixelBuffer::Allocate(1, 1, PixelFormat24bppRGB, nullptr), E_INVALIDARG);
}

TEST_F(PixelBufferTest, BudgetRefusesBeforeAllocating) {
    platform::SetImagingMemoryBudget(1000);
    EXPECT_EQ(platform::ImagingMemoryBudget(), 1000u);
    struct Case {
        int width, height;
        PixelFormatID format;
        HRESULT expected;
    };
    const Case cases[] = {
        {250, 1, PixelFormat32bppARGB, S_OK},             // exactly the budget
        {10, 25, PixelFormat32bppARGB, S_OK},             // 1000 bytes
        {251, 1, PixelFormat32bppARGB, E_OUTOFMEMORY},    // 4 bytes over
        {333, 1, PixelFormat24bppRGB, S_OK},              // 999 rounded to 1000
        {334, 1, PixelFormat24bppRGB, E_OUTOFMEMORY},     // 1002 rounded to 1004
        {1, 251, PixelFormat8bppIndexed, E_OUTOFMEMORY},  // 4-byte rows
    };
    for (const Case& c : cases) {
        PixelBuffer buffer;
        EXPECT_EQ(PixelBuffer::Allocate(c.width, c.height, c.format, &buffer), c.expected)
            << c.width << "x" << c.height;
    }
    // A refusal leaves the caller's buffer as it was.
    PixelBuffer kept;
    ASSERT_EQ(PixelBuffer::Allocate(2, 2, PixelFormat32bppARGB, &kept), S_OK);
    std::uint8_t* before = kept.Data();
    EXPECT_EQ(PixelBuffer::Allocate(1000, 1000, PixelFormat32bppARGB, &kept), E_OUTOFMEMORY);
    EXPECT_EQ(kept.Data(), before);
    EXPECT_EQ(kept.Width(), 2);
}

TEST_F(PixelBufferTest, BytesForIsOverflowSafe) {
    EXPECT_EQ(PixelBuffer::BytesFor(3, 3, PixelFormat24bppRGB), 36u);
    EXPECT_EQ(PixelBuffer::BytesFor(65535, 65535, PixelFormat32bppARGB),
              std::size_t{65535} * 65535 * 4);
    EXPECT_EQ(PixelBuffer::BytesFor(0, 3, PixelFormat24bppRGB), 0u);
    EXPECT_EQ(PixelBuffer::BytesFor(3, 3, PixelFormat16bppARGB1555), 0u);
}

TEST_F(PixelBufferTest, ZeroedWhenAskedEvenWhenReused) {
    PixelBuffer first;
    ASSERT_EQ(PixelBuffer::Allocate(1024, 1024, PixelFormat32bppARGB, &first), S_OK);
    std::fill_n(first.Data(), 1024 * 1024 * 4, 0xAB);
    first = PixelBuffer();
    PixelBuffer second;
    ASSERT_EQ(PixelBuffer::Allocate(1024, 1024, PixelFormat32bppARGB, &second, true), S_OK);
    const std::uint8_t* p = second.Data();
    EXPECT_TRUE(std::all_of(p, p + 1024 * 1024 * 4, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(PixelBufferTest, PoolHandsBackAFittingLargeBufferOnly) {
    using platform::imaging::PooledPixelBytes;
    struct Case {
        int freedHeight;  // of a 1024-wide 32-bit buffer: 4 KiB a row
        int askedHeight;
        bool pooled;  // kept by the pool when freed
        bool reused;
    };
    const Case cases[] = {
        {512, 512, true, true},    // 2 MiB for 2 MiB
        {512, 300, true, true},    // 2 MiB for 1.2 MiB: not more than twice
        {512, 255, true, false},   // more than twice the request would be wasted
        {512, 513, true, false},   // too small
        {200, 200, false, false},  // below 1 MiB: never pooled
    };
    for (const Case& c : cases) {
        platform::imaging::TrimPixelPool();
        const std::size_t freedBytes = std::size_t{4096} * c.freedHeight;
        std::uint8_t* address = nullptr;
        {
            PixelBuffer freed;
            ASSERT_EQ(PixelBuffer::Allocate(1024, c.freedHeight, PixelFormat32bppARGB, &freed),
                      S_OK);
            address = freed.Data();
        }
        EXPECT_EQ(PooledPixelBytes(), c.pooled ? freedBytes : 0) << c.freedHeight;
        PixelBuffer again;
        ASSERT_EQ(PixelBuffer::Allocate(1024, c.askedHeight, PixelFormat32bppARGB, &again), S_OK);
        if (c.reused) {
            EXPECT_EQ(again.Data(), address) << c.freedHeight << " -> " << c.askedHeight;
            EXPECT_EQ(PooledPixelBytes(), 0u);
        } else {
            EXPECT_EQ(PooledPixelBytes(), c.pooled ? freedBytes : 0)
                << c.freedHeight << " -> " << c.askedHeight;
        }
    }
}

TEST_F(PixelBufferTest, PoolKeepsAtMostFourBuffers) {
    std::vector<PixelBuffer> buffers(6);
    for (PixelBuffer& b : buffers)
        ASSERT_EQ(PixelBuffer::Allocate(1024, 256, PixelFormat32bppARGB, &b), S_OK);
    buffers.clear();
    EXPECT_EQ(platform::imaging::PooledPixelBytes(), 4u * (1u << 20));
}

TEST_F(PixelBufferTest, PoolPicksTheSmallestFit) {
    PixelBuffer big, small;
    ASSERT_EQ(PixelBuffer::Allocate(1024, 1000, PixelFormat32bppARGB, &big), S_OK);
    ASSERT_EQ(PixelBuffer::Allocate(1024, 600, PixelFormat32bppARGB, &small), S_OK);
    std::uint8_t* smallAddress = small.Data();
    big = PixelBuffer();
    small = PixelBuffer();
    PixelBuffer again;
    ASSERT_EQ(PixelBuffer::Allocate(1024, 550, PixelFormat32bppARGB, &again), S_OK);
    EXPECT_EQ(again.Data(), smallAddress);
}

TEST_F(PixelBufferTest, MovesTransferOwnershipAndPalette) {
    PixelBuffer a;
    ASSERT_EQ(PixelBuffer::Allocate(3, 2, PixelFormat8bppIndexed, &a), S_OK);
    a.ColorTable().entries = {0xFF112233, 0xFF445566};
    std::uint8_t* data = a.Data();
    PixelBuffer b(std::move(a));
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(b.Data(), data);
    EXPECT_EQ(b.ColorTable().entries.size(), 2u);
    EXPECT_EQ(b.View().palette->entries[1], 0xFF445566u);
    b.Relabel(PixelFormat8bppIndexed);
    PixelBuffer c;
    c = std::move(b);
    EXPECT_EQ(c.Data(), data);
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(b.ColorTable().entries.empty());
}

}  // namespace
