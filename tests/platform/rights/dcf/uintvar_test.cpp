#include "platform/rights/dcf/uintvar.h"

#include <gtest/gtest.h>

namespace {

using platform::rights::AppendUintvar;
using platform::rights::DecodeUintvar;

struct UintvarCase {
    std::uint32_t value;
    std::vector<std::uint8_t> bytes;
};

TEST(UintvarTest, EncodesAndDecodesTheBoundaries) {
    const UintvarCase cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x81, 0x00}},
        {16383, {0xFF, 0x7F}},
        {16384, {0x81, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
        {0x10000000, {0x81, 0x80, 0x80, 0x80, 0x00}},
        {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> encoded;
        AppendUintvar(encoded, c.value);
        EXPECT_EQ(encoded, c.bytes) << c.value;

        // A following byte must not be taken as part of the value.
        std::vector<std::uint8_t> input = c.bytes;
        input.push_back(0xAA);
        std::uint32_t value = 0;
        std::size_t consumed = 0;
        ASSERT_TRUE(DecodeUintvar(input.data(), input.size(), value, consumed)) << c.value;
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(consumed, c.bytes.size());
    }
}

TEST(UintvarTest, AcceptsALongerThanNeededEncoding) {
    const std::uint8_t bytes[] = {0x80, 0x80, 0x01};
    std::uint32_t value = 0;
    std::size_t consumed = 0;
    ASSERT_TRUE(DecodeUintvar(bytes, sizeof bytes, value, consumed));
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(consumed, 3u);
}

TEST(UintvarTest, RefusesTruncatedOverlongAndOversizedValues) {
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"empty", {}},
        {"continuation without end", {0x81}},
        {"truncated after four", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"six bytes", {0x80, 0x80, 0x80, 0x80, 0x80, 0x01}},
        {"over 32 bits", {0x90, 0x80, 0x80, 0x80, 0x00}},
        {"all ones", {0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [name, bytes] : cases) {
        std::uint32_t value = 1234;
        std::size_t consumed = 99;
        // An exact-size heap copy, so a read past the end shows under the address sanitizer.
        const std::vector<std::uint8_t> exact(bytes);
        EXPECT_FALSE(DecodeUintvar(exact.data(), exact.size(), value, consumed)) << name;
        EXPECT_EQ(value, 1234u) << name;
        EXPECT_EQ(consumed, 99u) << name;
    }
}

}  // namespace
