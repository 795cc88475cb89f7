// The constraint words of the pack commands, and which of them a command takes.
#include <gtest/gtest.h>

#include "tools/drm/drm_terms.h"

namespace drmtest {
namespace {

using drmtool::PackKind;
namespace rights = platform::rights;

constexpr std::int64_t k2027 = 1798761600;  // 2027-01-01T00:00:00Z

// A constraint with the fields given, the rest absent.
rights::Constraint C(std::optional<std::uint32_t> count = {},
                     std::optional<std::int64_t> start = {}, std::optional<std::int64_t> end = {},
                     std::optional<std::int64_t> interval = {}) {
    return rights::Constraint{count, start, end, interval};
}

struct TermsCase {
    const char* name;
    std::vector<std::string> words;
    PackKind kind;
    bool accepted;
    rights::Constraint constraint = C();
    std::vector<std::string> files = {};
};

const TermsCase kCases[] = {
    {"nothing", {}, PackKind::Combined, true},
    {"files kept in order",
     {"a", "--count", "1", "b"},
     PackKind::Combined,
     true,
     C(1u),
     {"a", "b"}},
    {"count zero", {"--count", "0"}, PackKind::Combined, true, C(0u)},
    {"count joined", {"--count=7"}, PackKind::Separate, true, C(7u)},
    {"count at the limit", {"--count", "4294967295"}, PackKind::Combined, true, C(4294967295u)},
    {"count past the limit", {"--count", "4294967296"}, PackKind::Combined, false},
    {"count negative", {"--count", "-1"}, PackKind::Combined, false},
    {"count with plus", {"--count", "+1"}, PackKind::Combined, false},
    {"count with blank", {"--count", " 1"}, PackKind::Combined, false},
    {"count with tail", {"--count", "1x"}, PackKind::Combined, false},
    {"count empty", {"--count="}, PackKind::Combined, false},
    {"count twice", {"--count", "1", "--count", "2"}, PackKind::Combined, false},
    {"start in UTC",
     {"--start", "2027-01-01T00:00:00Z"},
     PackKind::Combined,
     true,
     C(std::nullopt, k2027)},
    {"start with offset",
     {"--start", "2027-01-01T02:00:00+02:00"},
     PackKind::Combined,
     true,
     C(std::nullopt, k2027)},
    {"start month 13", {"--start", "2027-13-01T00:00:00Z"}, PackKind::Combined, false},
    {"start 31 April", {"--start", "2027-04-31T00:00:00Z"}, PackKind::Combined, false},
    {"end as a word", {"--end", "tomorrow"}, PackKind::Combined, false},
    {"start and end",
     {"--start", "2027-01-01T00:00:00Z", "--end", "2027-01-02T00:00:00Z"},
     PackKind::Combined,
     true,
     C(std::nullopt, k2027, k2027 + 86400)},
    {"end equal to start",
     {"--start", "2027-01-01T00:00:00Z", "--end", "2027-01-01T00:00:00Z"},
     PackKind::Combined,
     false},
    {"end before start",
     {"--end", "2026-12-31T00:00:00Z", "--start", "2027-01-01T00:00:00Z"},
     PackKind::Combined,
     false},
    {"interval a day",
     {"--interval", "P1D"},
     PackKind::Combined,
     true,
     C(std::nullopt, std::nullopt, std::nullopt, 86400)},
    {"interval minutes",
     {"--interval", "PT10M"},
     PackKind::Separate,
     true,
     C(std::nullopt, std::nullopt, std::nullopt, 600)},
    {"interval weeks",
     {"--interval", "P2W"},
     PackKind::Combined,
     true,
     C(std::nullopt, std::nullopt, std::nullopt, 14 * 86400)},
    {"interval zero", {"--interval", "PT0S"}, PackKind::Combined, false},
    {"interval without P", {"--interval", "1D"}, PackKind::Combined, false},
    {"interval bare P", {"--interval", "P"}, PackKind::Combined, false},
    {"all together",
     {"--count", "3", "--start", "2027-01-01T00:00:00Z", "--end", "2027-01-02T00:00:00Z",
      "--interval", "PT1H"},
     PackKind::Separate,
     true,
     C(3u, k2027, k2027 + 86400, 3600)},
    {"rights issuer on separate", {"--ri", "http://ri/"}, PackKind::Separate, true},
    {"rights issuer on combined", {"--ri", "http://ri/"}, PackKind::Combined, false},
    {"rights issuer over two lines", {"--ri", "http://ri/\r\nX: y"}, PackKind::Separate, false},
    {"wbxml on combined", {"--wbxml"}, PackKind::Combined, false},
    {"constraints on forward lock", {"--count", "1"}, PackKind::ForwardLock, false},
    {"unknown option", {"--colour", "red"}, PackKind::Combined, false},
    {"option without value", {"--start"}, PackKind::Combined, false},
    {"double dash ends options",
     {"--", "--count", "x"},
     PackKind::ForwardLock,
     true,
     {},
     {"--count", "x"}},
};

void PrintTo(const TermsCase& c, std::ostream* out) {
    *out << c.name;
}

class TermsTest : public ::testing::TestWithParam<TermsCase> {};

TEST_P(TermsTest, ParsesOrRefuses) {
    const TermsCase& c = GetParam();
    std::string error;
    const std::optional<drmtool::PackWords> words = drmtool::ParsePackWords(c.words, c.kind, error);
    ASSERT_EQ(words.has_value(), c.accepted) << error;
    if (!words) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(words->terms.constraint, c.constraint);
    EXPECT_EQ(words->files, c.files);
}

INSTANTIATE_TEST_SUITE_P(Words, TermsTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
});

TEST(TermsExtrasTest, PermissionRightsIssuerAndWbxml) {
    std::string error;
    const std::vector<std::string> words = {"--permission", "PRINT", "--ri", "http://ri/x",
                                            "--wbxml"};
    const auto parsed = drmtool::ParsePackWords(words, PackKind::Separate, error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->terms.permission, rights::Permission::Print);
    EXPECT_EQ(parsed->terms.rightsIssuer, "http://ri/x");
    EXPECT_TRUE(parsed->terms.wbxml);

    const auto plain = drmtool::ParsePackWords({}, PackKind::Separate, error);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->terms.permission);
    EXPECT_FALSE(plain->terms.wbxml);
    EXPECT_EQ(plain->terms.rightsIssuer, "");
}

}  // namespace
}  // namespace drmtest
