// RegQueryValueExW and RegSetValueExW: sizes, short buffers, types and bad arguments.
#include <cctype>
#include <cstring>
#include <ostream>
#include <string_view>
#include <vector>

#include "tests/platform/registry/registry_fixture.h"

namespace registry_test {
namespace {

using namespace std::literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kGuard = 0xCC;

Bytes Utf16(std::u16string_view text, bool terminated) {
    Bytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

struct QueryCase {
    const char* what;
    DWORD type;
    Bytes stored;
    bool nullData;   // ask for the size only
    DWORD capacity;  // *cbData on entry
    LONG result;
    DWORD cbOut;       // *cbData on return
    Bytes expectHead;  // the first bytes of the buffer on return
};

// Test names and failure messages show the case's description instead of its bytes.
void PrintTo(const QueryCase& c, std::ostream* out) {
    *out << c.what;
}

class QueryValueTest : public RegistryTest, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QueryValueTest, FollowsWin32Rules) {
    const QueryCase& c = GetParam();
    ScopedKey key;
    Create(u"Software\\Halvern\\Query", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegSetValueExW(key, u"V", 0, c.type, c.stored.data(),
                                                  static_cast<DWORD>(c.stored.size())));

    Bytes buffer(c.capacity + 16, kGuard);
    DWORD type = 0xFFFF;
    DWORD cbData = c.capacity;
    EXPECT_EQ(c.result, RegQueryValueExW(key, u"V", nullptr, &type,
                                         c.nullData ? nullptr : buffer.data(), &cbData));
    EXPECT_EQ(c.cbOut, cbData);
    EXPECT_EQ(c.type, type);
    ASSERT_LE(c.expectHead.size(), c.capacity);
    EXPECT_EQ(c.expectHead, Bytes(buffer.begin(), buffer.begin() + c.expectHead.size()));
    for (std::size_t i = c.capacity; i < buffer.size(); ++i) {
        ASSERT_EQ(kGuard, buffer[i]) << "written past the buffer at " << i;
    }
}

const Bytes kDword = {0x39, 0, 0, 0};
const Bytes kAbc = Utf16(u"abc", true);

INSTANTIATE_TEST_SUITE_P(
    Cases, QueryValueTest,
    ::testing::Values(
        QueryCase{"dword size only", REG_DWORD, kDword, true, 0, ERROR_SUCCESS, 4, {}},
        QueryCase{"dword exact", REG_DWORD, kDword, false, 4, ERROR_SUCCESS, 4, kDword},
        QueryCase{"dword roomy", REG_DWORD, kDword, false, 64, ERROR_SUCCESS, 4, kDword},
        QueryCase{"dword one short", REG_DWORD, kDword, false, 3, ERROR_MORE_DATA, 4, {}},
        QueryCase{"dword empty buffer", REG_DWORD, kDword, false, 0, ERROR_MORE_DATA, 4, {}},
        QueryCase{"string exact", REG_SZ, kAbc, false, 8, ERROR_SUCCESS, 8, kAbc},
        QueryCase{"string one short", REG_SZ, kAbc, false, 7, ERROR_MORE_DATA, 8,
                  Utf16(u"ab", true)},
        QueryCase{"string two units", REG_SZ, kAbc, false, 4, ERROR_MORE_DATA, 8,
                  Utf16(u"a", true)},
        QueryCase{"string one byte", REG_SZ, kAbc, false, 1, ERROR_MORE_DATA, 8, {kGuard}},
        QueryCase{"unterminated string gets a terminator", REG_SZ, Utf16(u"abc", false), false, 8,
                  ERROR_SUCCESS, 6, kAbc},
        QueryCase{"unterminated string, no room", REG_SZ, Utf16(u"abc", false), false, 6,
                  ERROR_SUCCESS, 6, Utf16(u"abc", false)},
        QueryCase{"empty string", REG_SZ, {}, false, 4, ERROR_SUCCESS, 0, {0, 0}},
        QueryCase{"multi string short", REG_MULTI_SZ, Utf16(u"ab\0cd\0"sv, true), false, 8,
                  ERROR_MORE_DATA, 14, Utf16(u"ab\0"sv, true)},
        QueryCase{"binary short", REG_BINARY, {1, 2, 3, 4, 5}, false, 4, ERROR_MORE_DATA, 5, {}},
        QueryCase{"binary empty", REG_BINARY, {}, false, 8, ERROR_SUCCESS, 0, {}},
        QueryCase{
            "binary exact", REG_BINARY, {0, 255, 7}, false, 3, ERROR_SUCCESS, 3, {0, 255, 7}}),
    [](const ::testing::TestParamInfo<QueryCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

// The program reads folder names into 260-byte buffers and uses them even when they were too
// long; what it gets must be a terminated prefix, and nothing past the buffer may change.
TEST_F(RegistryTest, TooLongStringIntoFixedBufferIsTerminatedPrefix) {
    ScopedKey key;
    Create(u"Software\\Halvern\\SDCARD", key);
    const std::u16string longName(200, u'x');
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetString(key, u"InStorageFolder", longName));

    struct {
        WCHAR folder[130];
        WCHAR after[8];
    } buffers;
    std::memset(&buffers, 0xCC, sizeof buffers);
    DWORD cbData = sizeof buffers.folder;
    EXPECT_EQ(LONG{ERROR_MORE_DATA},
              RegQueryValueExW(key, u"InStorageFolder", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(buffers.folder), &cbData));
    EXPECT_EQ(DWORD{402}, cbData);
    EXPECT_EQ(std::u16string(129, u'x'), std::u16string(buffers.folder));
    for (WCHAR unit : buffers.after)
        EXPECT_EQ(char16_t{0xCCCC}, unit);
}

TEST_F(RegistryTest, MissingValueLeavesOutputsAlone) {
    ScopedKey key;
    Create(u"Software\\Halvern\\Camera", key);
    DWORD type = 77;
    DWORD cbData = 4;
    DWORD value = 5;
    EXPECT_EQ(LONG{ERROR_FILE_NOT_FOUND},
              RegQueryValueExW(key, u"DCFNumber", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &cbData));
    EXPECT_EQ(DWORD{77}, type);
    EXPECT_EQ(DWORD{4}, cbData);
    EXPECT_EQ(DWORD{5}, value);
}

TEST_F(RegistryTest, NullAndEmptyNamesAreTheDefaultValue) {
    ScopedKey key;
    Create(u"Software\\Default", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, nullptr, 11));
    EXPECT_EQ(DWORD{11}, GetDword(key, u"", 0));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"", 12));
    EXPECT_EQ(DWORD{12}, GetDword(key, nullptr, 0));
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegDeleteValueW(key, nullptr));
    EXPECT_EQ(DWORD{0}, GetDword(key, u"", 0));
}

TEST_F(RegistryTest, SetValueRejectsBadArguments) {
    ScopedKey key;
    Create(u"Software\\Bad", key);
    const BYTE eight[8] = {};
    struct {
        DWORD type;
        const BYTE* data;
        DWORD size;
    } const cases[] = {
        {REG_DWORD, eight, 0}, {REG_DWORD, eight, 3},   {REG_DWORD, eight, 5},
        {REG_DWORD, eight, 8}, {REG_DWORD, nullptr, 4}, {REG_BINARY, nullptr, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER},
                  RegSetValueExW(key, u"V", 0, c.type, c.data, c.size))
            << "type " << c.type << " size " << c.size;
    }
    DWORD size = 0;
    EXPECT_EQ(LONG{ERROR_FILE_NOT_FOUND},
              RegQueryValueExW(key, u"V", nullptr, nullptr, nullptr, &size));

    const std::u16string longName(kMaxRegistryValueNameLength + 1, u'n');
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER}, SetDword(key, longName.c_str(), 1));
    EXPECT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, longName.substr(1).c_str(), 1));

    BYTE data[4];
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER},
              RegQueryValueExW(key, u"V", nullptr, nullptr, data, nullptr));
}

TEST_F(RegistryTest, OverwriteChangesTypeAndKeepsOriginalNameCase) {
    ScopedKey key;
    Create(u"Software\\Overwrite", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"Loading", 1));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetString(key, u"LOADING", u"text"));

    WCHAR name[32];
    DWORD cchName = 32;
    DWORD type = 0;
    BYTE data[32];
    DWORD cbData = sizeof data;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegEnumValueW(key, 0, name, &cchName, nullptr, &type, data, &cbData));
    EXPECT_EQ(std::u16string(u"Loading"), std::u16string(name, cchName));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(DWORD{10}, cbData);
    EXPECT_EQ(LONG{ERROR_NO_MORE_ITEMS},
              RegEnumValueW(key, 1, name, &cchName, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RegistryTest, BinaryDataRoundTripsEveryByte) {
    ScopedKey key;
    Create(u"Software\\Binary", key);
    Bytes all(256 * 3);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegSetValueExW(key, u"Blob", 0, REG_BINARY, all.data(),
                                                  static_cast<DWORD>(all.size())));
    Bytes read(all.size());
    DWORD size = static_cast<DWORD>(read.size());
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegQueryValueExW(key, u"blob", nullptr, nullptr, read.data(), &size));
    EXPECT_EQ(all, read);
}

}  // namespace
}  // namespace registry_test
