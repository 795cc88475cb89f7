#include "platform/rights/rel/rel_wbxml.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

namespace platform::rights {
namespace {

// Builds WBXML by hand so the reader is checked against bytes, not against our own writer.
struct Bytes {
    std::vector<std::uint8_t> data;

    Bytes& operator()(std::initializer_list<int> bytes) {
        for (int b : bytes)
            data.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    Bytes& Str(std::string_view text) {  // STR_I
        data.push_back(0x03);
        data.insert(data.end(), text.begin(), text.end());
        data.push_back(0);
        return *this;
    }
};

constexpr int kHeader[] = {0x03, 0x0E, 0x6A, 0x00};

// rights(xmlns o-ex, o-dd, ds) / agreement / asset / context / uid, then `asset`, `permission`.
std::vector<std::uint8_t> Rights(std::initializer_list<int> header, const Bytes& assetTail,
                                 const Bytes& permission) {
    Bytes b;
    b(header)({0xC5, 0x05, 0x06, 0x07, 0x01, 0x49, 0x4A, 0x46, 0x48}).Str("cid:w")({0x01, 0x01});
    b.data.insert(b.data.end(), assetTail.data.begin(), assetTail.data.end());
    b({0x01, 0x4D});  // end asset, permission
    b.data.insert(b.data.end(), permission.data.begin(), permission.data.end());
    b({0x01, 0x01, 0x01});  // end permission, agreement, rights
    return b.data;
}

std::vector<std::uint8_t> Rights(const Bytes& assetTail, const Bytes& permission) {
    return Rights({kHeader[0], kHeader[1], kHeader[2], kHeader[3]}, assetTail, permission);
}

Bytes OpaqueKey(int length) {
    Bytes b;
    b({0x4B, 0x4C, 0xC3, length});
    for (int i = 0; i < length; ++i)
        b({i});
    return b({0x01, 0x01});
}

std::optional<RightsObject> Parse(const std::vector<std::uint8_t>& data) {
    return ParseRightsWbxml(data.data(), data.size());
}

TEST(RelWbxmlTest, ReadsKeyAsOpaqueDataAndConstraints) {
    Bytes permission;
    permission({0x0F, 0x4E, 0x52, 0x53}).Str("5")({0x01, 0x54, 0x55});
    permission.Str("2004-01-01T00:00:00Z")({0x01, 0x01, 0x57}).Str("PT10M")({0x01, 0x01, 0x01});
    const auto rights = Parse(Rights(OpaqueKey(16), permission));
    ASSERT_TRUE(rights);
    EXPECT_EQ(rights->uid, "cid:w");
    ASSERT_TRUE(rights->key);
    EXPECT_EQ((*rights->key)[15], 15);
    EXPECT_TRUE(rights->permissions.at(Permission::Display).Unconstrained());
    const Constraint& play = rights->permissions.at(Permission::Play);
    EXPECT_EQ(play.count, 5u);
    EXPECT_EQ(play.start, 1072915200);
    EXPECT_FALSE(play.end);
    EXPECT_EQ(play.interval, 600);
}

TEST(RelWbxmlTest, ReadsBase64KeyStringTableAndEntities) {
    Bytes key;
    key({0x4B, 0x4C}).Str("AAECAwQFBgcI")({0x83, 0x00, 0x01, 0x01});
    // The second half of the key comes from the string table.
    const auto rights = Parse(Rights(
        {0x03, 0x0E, 0x6A, 0x0D, 'C', 'Q', 'o', 'L', 'D', 'A', '0', 'O', 'D', 'w', '=', '=', 0x00},
        key, Bytes{}));
    ASSERT_TRUE(rights);
    ASSERT_TRUE(rights->key);
    EXPECT_EQ((*rights->key)[9], 9);
    EXPECT_TRUE(rights->permissions.empty());
}

TEST(RelWbxmlTest, RefusesBadInput) {
    Bytes none;
    Bytes depthBomb;
    for (int i = 0; i < 40; ++i)
        depthBomb({0x7F});
    Bytes mixed;
    mixed({0x4B, 0x4C, 0xC3, 0x01, 0x00}).Str("AA")({0x01, 0x01});
    auto trailing = Rights(none, none);
    ASSERT_TRUE(Parse(trailing));  // each case below breaks this valid object in one way
    trailing.push_back(0x01);
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"public id", Rights({0x03, 0x0F, 0x6A, 0x00}, none, none)},
        {"charset", Rights({0x03, 0x0E, 0x04, 0x00}, none, none)},
        {"version", Rights({0x04, 0x0E, 0x6A, 0x00}, none, none)},
        {"string table past end", Rights({0x03, 0x0E, 0x6A, 0x7F}, none, none)},
        {"15-byte key", Rights(OpaqueKey(15), none)},
        {"17-byte key", Rights(OpaqueKey(17), none)},
        {"opaque and string key", Rights(mixed, none)},
        {"code page 1", Rights(Bytes{}({0x00, 0x01, 0x0E}), none)},
        {"extension token", Rights(Bytes{}({0x40}), none)},
        {"literal tag", Rights(Bytes{}({0x04, 0x00}), none)},
        {"processing instruction", Rights(Bytes{}({0x43}), none)},
        {"STR_T past table", Rights(Bytes{}({0x46, 0x83, 0x05, 0x01}), none)},
        {"NUL entity", Rights(Bytes{}({0x46, 0x02, 0x00, 0x01}), none)},
        {"huge mb_u_int32",
         Rights(Bytes{}({0x46, 0x02, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}), none)},
        {"unknown attribute", Rights(Bytes{}({0xBF, 0x09, 0x01}), none)},
        {"bad count", Rights(none, Bytes{}({0x4E, 0x52, 0x53}).Str("x")({0x01, 0x01, 0x01}))},
        {"depth bomb", Rights(depthBomb, none)},
        {"trailing bytes", trailing},
        {"empty", {}},
    };
    for (const auto& [name, data] : cases)
        EXPECT_FALSE(Parse(data)) << name;
    EXPECT_FALSE(ParseRightsWbxml(nullptr, 0));
}

TEST(RelWbxmlTest, UnknownTagsOutsideConstraintsAreIgnored) {
    // An entity in the unknown tag's text is decoded and dropped with it.
    EXPECT_TRUE(Parse(Rights(Bytes{}({0x7F, 0x02, 0x81, 0x00}).Str("x")({0x01, 0x3F}), Bytes{})));
}

TEST(RelWbxmlTest, EveryTruncationIsRefused) {
    Bytes permission;
    permission({0x4E, 0x52, 0x53}).Str("5")({0x01, 0x01, 0x01});
    const auto data = Rights(OpaqueKey(16), permission);
    ASSERT_TRUE(Parse(data));
    for (std::size_t size = 0; size < data.size(); ++size) {
        // A copy of exactly `size` bytes, so ASan catches any read past the end.
        const std::vector<std::uint8_t> prefix(data.begin(), data.begin() + size);
        EXPECT_FALSE(ParseRightsWbxml(prefix.data(), prefix.size())) << size;
    }
}

}  // namespace
}  // namespace platform::rights
