// The rights summary over real protected files: forwardability, the rights issuer, which
// permission's constraints are read for each media type, and how the entries are filled.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "imaging/rights/drm_info.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/store/rights_store.h"
#include "tests/imaging/rights/rights_test_files.h"

namespace {

using namespace rights_test;

constexpr std::string_view kIssuer = "http://rights.example/buy";

// A summary released whatever the test does.
struct OwnedSummary {
    DrmRightsSummary value{};
    ~OwnedSummary() { FreeDrmRightsSummary(&value); }
};

std::vector<DWORD> Kinds(const DrmRightsSummary& summary) {
    std::vector<DWORD> kinds;
    for (int i = 0; i < summary.nConstraintCount; ++i)
        kinds.push_back(summary.pConstraints[i].dwKind);
    return kinds;
}

struct SummaryCase {
    const char* name;
    std::function<std::u16string(RightsFiles&)> make;
    DWORD mediaType;
    DWORD forwardable;
    DWORD hasRightsIssuer;
    std::vector<DWORD> kinds;
    bool allExpired;
    bool unlimited;
};

class DrmRightsSummaryTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(DrmRightsSummaryTest, ReadsTheFilesRights) {
    const SummaryCase& c = GetParam();
    RightsFiles files;
    const std::u16string path = c.make(files);
    OwnedSummary summary;
    ASSERT_EQ(ReadDrmRightsSummary(path.c_str(), c.mediaType, &summary.value), 1);
    EXPECT_EQ(summary.value.dwForwardable, c.forwardable);
    EXPECT_EQ(summary.value.dwHasRightsIssuer, c.hasRightsIssuer);
    EXPECT_EQ(Kinds(summary.value), c.kinds);
    EXPECT_EQ(summary.value.pConstraints == nullptr, c.kinds.empty());
    EXPECT_EQ(AllDrmConstraintsExpired(&summary.value) != FALSE, c.allExpired);
    EXPECT_EQ(HasUnlimitedDrmConstraint(&summary.value) != FALSE, c.unlimited);
}

const Terms kUnlimited{};
const Terms kCountThree = CountTerms(3);
const Terms kEnded = DateTerms(kNow - 10 * kDay, kNow - kDay);

std::u16string PlayCountDisplayFree(RightsFiles& f) {
    return f.SeparatePlayAndDisplay(u"both.dcf", kCountThree, kUnlimited);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DrmRightsSummaryTest,
    ::testing::Values(
        // Forward lock needs no rights object: one unlimited entry, never forwardable.
        SummaryCase{"ForwardLock",
                    [](RightsFiles& f) { return f.ForwardLock(u"fl.dm", "image/jpeg"); },
                    MEDIA_IMAGE,
                    0,
                    0,
                    {CONSTRAINT_NONE},
                    false,
                    true},
        SummaryCase{"SeparateNoRightsInstalled",
                    [](RightsFiles& f) {
                        return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                          Installed::Nothing);
                    },
                    MEDIA_IMAGE,
                    1,
                    0,
                    {},
                    true,
                    false},
        // No constraint readable, but the issuer gives the view one row to offer new rights.
        SummaryCase{"IssuerNoRightsInstalled",
                    [](RightsFiles& f) {
                        return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                          Installed::Nothing, kIssuer);
                    },
                    MEDIA_IMAGE,
                    1,
                    1,
                    {CONSTRAINT_UNREADABLE},
                    true,
                    false},
        SummaryCase{"IssuerUnlimited",
                    [](RightsFiles& f) {
                        return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                          Installed::Rights, kIssuer);
                    },
                    MEDIA_IMAGE,
                    1,
                    1,
                    {CONSTRAINT_NONE},
                    false,
                    true},
        SummaryCase{"SeparateEnded",
                    [](RightsFiles& f) {
                        return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kEnded,
                                          Installed::Rights);
                    },
                    MEDIA_IMAGE,
                    1,
                    0,
                    {CONSTRAINT_DATETIME},
                    true,
                    false},
        SummaryCase{"CombinedCount",
                    [](RightsFiles& f) {
                        return f.Combined(u"cd.dm", "image/jpeg", Permission::Display, kCountThree);
                    },
                    MEDIA_IMAGE,
                    0,
                    0,
                    {CONSTRAINT_COUNT},
                    false,
                    false},
        SummaryCase{"IntervalNotStarted",
                    [](RightsFiles& f) {
                        return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                          IntervalTerms(kDay), Installed::Rights);
                    },
                    MEDIA_IMAGE,
                    1,
                    0,
                    {CONSTRAINT_INTERVAL},
                    false,
                    false},
        // Music and video read the play permission; pictures and documents read display.
        SummaryCase{"MusicReadsPlay",
                    PlayCountDisplayFree,
                    MEDIA_MUSIC,
                    1,
                    0,
                    {CONSTRAINT_COUNT},
                    false,
                    false},
        SummaryCase{"VideoReadsPlay",
                    PlayCountDisplayFree,
                    MEDIA_VIDEO,
                    1,
                    0,
                    {CONSTRAINT_COUNT},
                    false,
                    false},
        SummaryCase{"ImageReadsDisplay",
                    PlayCountDisplayFree,
                    MEDIA_IMAGE,
                    1,
                    0,
                    {CONSTRAINT_NONE},
                    false,
                    true},
        SummaryCase{"DocumentReadsDisplay",
                    PlayCountDisplayFree,
                    MEDIA_DOCUMENT,
                    1,
                    0,
                    {CONSTRAINT_NONE},
                    false,
                    true}),
    [](const ::testing::TestParamInfo<SummaryCase>& info) { return info.param.name; });

TEST(DrmRightsSummary, EveryInstalledRightsObjectGivesItsEntries) {
    RightsFiles files;
    const testing_support::SeparateDelivery sd =
        testing_support::SeparateDeliveryFile("image/jpeg", testing_support::SampleContent(),
                                              "cid:twice@test", Permission::Display, CountTerms(2));
    files.Device().Install(sd.rights, sd.rightsXml);
    const auto second = testing_support::MakeRights(
        "cid:twice@test", Permission::Display, DateTerms(kNow - kDay, kNow + kDay), sd.rights.key);
    files.Device().Install(second, testing_support::RightsXml(second));
    files.Device().Write(u"\\My Documents\\twice.dcf", sd.dcf);

    OwnedSummary summary;
    ASSERT_EQ(ReadDrmRightsSummary(u"\\My Documents\\twice.dcf", MEDIA_IMAGE, &summary.value), 1);
    EXPECT_EQ(Kinds(summary.value), (std::vector<DWORD>{CONSTRAINT_COUNT, CONSTRAINT_DATETIME}));
    EXPECT_EQ(summary.value.pConstraints[0].nCountTotal, 2);
    EXPECT_EQ(summary.value.pConstraints[0].nCountUsed, 0);
    EXPECT_FALSE(AllDrmConstraintsExpired(&summary.value));
}

// More constraints than the summary holds are cut at its limit, not read as none at all.
TEST(DrmRightsSummary, ConstraintsPastTheLimitAreCut) {
    constexpr std::uint32_t kRightsObjects = 525;
    RightsFiles files;
    const testing_support::SeparateDelivery sd =
        testing_support::SeparateDeliveryFile("image/jpeg", testing_support::SampleContent(),
                                              "cid:many@test", Permission::Display, CountTerms(1));
    {
        platform::rights::RightsStore store =
            platform::rights::RightsStore::Open(files.Device().StorePath());
        for (std::uint32_t i = 0; i < kRightsObjects; ++i) {
            const auto rights = testing_support::MakeRights("cid:many@test", Permission::Display,
                                                            CountTerms(i + 1), sd.rights.key);
            store.Install(rights, testing_support::RightsXml(rights));
        }
    }
    files.Device().Write(u"\\My Documents\\many.dcf", sd.dcf);

    OwnedSummary summary;
    ASSERT_EQ(ReadDrmRightsSummary(u"\\My Documents\\many.dcf", MEDIA_IMAGE, &summary.value), 1);
    ASSERT_EQ(summary.value.nConstraintCount, 520);
    EXPECT_EQ(summary.value.pConstraints[0].nCountTotal, 1);
    EXPECT_EQ(summary.value.pConstraints[519].nCountTotal, 520);
    EXPECT_FALSE(AllDrmConstraintsExpired(&summary.value));
}

// Spending uses shows in the count entry; the summary is expired once the last one is spent.
TEST(DrmRightsSummary, CountEntryFollowsUses) {
    RightsFiles files;
    const std::u16string path = files.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                               CountTerms(5), Installed::Rights);
    for (int used = 0; used <= 5; ++used) {
        OwnedSummary summary;
        ASSERT_EQ(ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &summary.value), 1);
        ASSERT_EQ(summary.value.nConstraintCount, 1);
        EXPECT_EQ(summary.value.pConstraints[0].nCountTotal, 5);
        EXPECT_EQ(summary.value.pConstraints[0].nCountUsed, used);
        EXPECT_EQ(AllDrmConstraintsExpired(&summary.value) != FALSE, used == 5) << used;
        if (used < 5) {
            ASSERT_TRUE(SpendOneUse(path, FDRRF_DISPLAY));
        }
    }
}

// An interval starts at the first use and then ends after its duration on the client's clock.
TEST(DrmRightsSummary, IntervalRunsFromTheFirstUse) {
    RightsFiles files;
    const std::u16string path = files.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                               IntervalTerms(3600), Installed::Rights);
    ASSERT_TRUE(SpendOneUse(path, FDRRF_DISPLAY));
    const struct {
        std::int64_t after;
        bool valid;
    } steps[] = {{0, true}, {1800, true}, {3599, true}, {3601, false}, {kDay, false}};
    for (const auto& step : steps) {
        files.Clock().Set(kNow + step.after);
        OwnedSummary summary;
        ASSERT_EQ(ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &summary.value), 1);
        ASSERT_EQ(Kinds(summary.value), std::vector<DWORD>{CONSTRAINT_INTERVAL});
        // Copied: the packed 64-bit fields must not bind to the macros' references.
        EXPECT_GT(std::int64_t{summary.value.pConstraints[0].llIntervalStart}, 0);
        EXPECT_EQ(std::int64_t{summary.value.pConstraints[0].llIntervalDuration},
                  3600LL * 10'000'000);
        EXPECT_EQ(IsDrmConstraintValid(&summary.value.pConstraints[0]) != FALSE, step.valid)
            << step.after;
    }
}

TEST(DrmRightsSummary, FilesTheClientCannotOpenGiveNoSummary) {
    RightsFiles files;
    const std::u16string plain = files.Plain(u"plain.jpg");
    const std::u16string damaged = files.Damaged(u"cut.dcf");
    for (const std::u16string& path :
         {plain, damaged, std::u16string(u"\\missing.dcf"), std::u16string()}) {
        OwnedSummary summary;
        summary.value.nConstraintCount = 7;  // stale contents must not survive
        EXPECT_EQ(ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &summary.value), 0);
        EXPECT_EQ(summary.value.nConstraintCount, 0);
        EXPECT_EQ(summary.value.pConstraints, nullptr);
        EXPECT_EQ(summary.value.dwForwardable, 0u);
    }
    EXPECT_EQ(ReadDrmRightsSummary(plain.c_str(), MEDIA_IMAGE, nullptr), 0);
}

TEST(DrmRightsSummary, FreeingClearsTheSummary) {
    RightsFiles files;
    const std::u16string path = files.Separate(u"ri.dcf", "image/jpeg", Permission::Display,
                                               kUnlimited, Installed::Nothing, kIssuer);
    DrmRightsSummary summary{};
    ASSERT_EQ(ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &summary), 1);
    ASSERT_NE(summary.pConstraints, nullptr);
    FreeDrmRightsSummary(&summary);
    EXPECT_EQ(summary.pConstraints, nullptr);
    EXPECT_EQ(summary.nConstraintCount, 0);
    FreeDrmRightsSummary(&summary);  // a second free is harmless
    FreeDrmRightsSummary(nullptr);
}

}  // namespace
