// The per-file record over real protected files: which files get one, the status bits the
// service's answers give, and the expiry flag before and after uses are spent.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "imaging/rights/drm_info.h"
#include "platform/rights/file_drm.h"
#include "tests/imaging/rights/rights_test_files.h"

namespace {

using namespace rights_test;

constexpr std::string_view kIssuer = "http://rights.example/buy";

struct RecordCase {
    const char* name;
    std::function<std::u16string(RightsFiles&)> make;
    DWORD mediaType;
    bool hasRecord;
    DWORD status;
    DWORD expired;
};

class DrmFileInfoTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(DrmFileInfoTest, BuildsRecordAndJudgesExpiry) {
    const RecordCase& c = GetParam();
    RightsFiles files;
    const std::u16string path = c.make(files);
    DrmFileInfoPtr info(CreateDrmFileInfo(path.c_str(), c.mediaType));
    ASSERT_EQ(info != nullptr, c.hasRecord);
    if (!info)
        return;
    EXPECT_EQ(info->dwValid, 1u);
    EXPECT_EQ(info->dwMediaType, c.mediaType);
    EXPECT_EQ(std::u16string(info->szPath), path);
    EXPECT_EQ(info->dwStatus, c.status);
    EXPECT_EQ(info->dwExpired, 0u) << "a new record is not judged yet";
    EXPECT_EQ(UpdateDrmExpiry(info.get()), c.expired);
    EXPECT_EQ(info->dwExpired, c.expired);
}

const Terms kUnlimited{};
const Terms kCountOne = CountTerms(1);
const Terms kEnded = DateTerms(kNow - 10 * kDay, kNow - kDay);
const Terms kNotYet = DateTerms(kNow + kDay, kNow + 10 * kDay);
const Terms kRunning = DateTerms(kNow - kDay, kNow + kDay);

INSTANTIATE_TEST_SUITE_P(
    Files, DrmFileInfoTest,
    ::testing::Values(
        RecordCase{"PlainFile", [](RightsFiles& f) { return f.Plain(u"plain.jpg"); }, MEDIA_IMAGE,
                   false, 0, 0},
        RecordCase{"DamagedContainer", [](RightsFiles& f) { return f.Damaged(u"cut.dcf"); },
                   MEDIA_IMAGE, false, 0, 0},
        RecordCase{"MissingFile", [](RightsFiles&) { return std::u16string(u"\\nowhere.dm"); },
                   MEDIA_IMAGE, false, 0, 0},
        RecordCase{"ForwardLockImage",
                   [](RightsFiles& f) { return f.ForwardLock(u"fl.dm", "image/jpeg"); },
                   MEDIA_IMAGE, true, DRM_FORWARD_LOCKED, 0},
        RecordCase{"ForwardLockMusic",
                   [](RightsFiles& f) { return f.ForwardLock(u"fl.dm", "audio/mpeg"); },
                   MEDIA_MUSIC, true, DRM_FORWARD_LOCKED, 0},
        // A count still left is only checked, so the record sees rights.
        RecordCase{"CombinedCountLeft",
                   [](RightsFiles& f) {
                       return f.Combined(u"cd.dm", "image/jpeg", Permission::Display, kCountOne);
                   },
                   MEDIA_IMAGE, true, DRM_FORWARD_LOCKED, 0},
        // Granted play only: a picture, judged by display, has none.
        RecordCase{"CombinedWrongPermission",
                   [](RightsFiles& f) {
                       return f.Combined(u"cd.dm", "image/jpeg", Permission::Play, kUnlimited);
                   },
                   MEDIA_IMAGE, true, DRM_FORWARD_LOCKED | DRM_NO_RIGHTS, 0},
        RecordCase{"CombinedEnded",
                   [](RightsFiles& f) {
                       return f.Combined(u"cd.dm", "image/jpeg", Permission::Display, kEnded);
                   },
                   MEDIA_IMAGE, true, DRM_FORWARD_LOCKED | DRM_NO_RIGHTS, 1},
        RecordCase{"SeparateNoRightsInstalled",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Nothing);
                   },
                   MEDIA_IMAGE, true, DRM_NO_RIGHTS, 0},
        RecordCase{"SeparateUnlimited",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Rights);
                   },
                   MEDIA_IMAGE, true, 0, 0},
        RecordCase{"SeparateEnded",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kEnded,
                                         Installed::Rights);
                   },
                   MEDIA_IMAGE, true, DRM_NO_RIGHTS, 1},
        // Not yet valid is not expired.
        RecordCase{"SeparateNotYetValid",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kNotYet,
                                         Installed::Rights);
                   },
                   MEDIA_IMAGE, true, DRM_NO_RIGHTS, 0},
        RecordCase{"SeparateMusicPlays",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "audio/mpeg", Permission::Play, kRunning,
                                         Installed::Rights);
                   },
                   MEDIA_MUSIC, true, 0, 0},
        // A document is judged by play, which a display-only rights object lacks.
        RecordCase{"SeparateDocumentDisplayOnly",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "text/plain", Permission::Display, kUnlimited,
                                         Installed::Rights);
                   },
                   MEDIA_DOCUMENT, true, DRM_NO_RIGHTS, 0},
        // With a rights issuer the constraints decide: none readable reads as expired.
        RecordCase{"IssuerNoRightsInstalled",
                   [](RightsFiles& f) {
                       return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Nothing, kIssuer);
                   },
                   MEDIA_IMAGE, true, DRM_HAS_RIGHTS_ISSUER, 1},
        RecordCase{"IssuerRunning",
                   [](RightsFiles& f) {
                       return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kRunning,
                                         Installed::Rights, kIssuer);
                   },
                   MEDIA_IMAGE, true, DRM_HAS_RIGHTS_ISSUER, 0},
        RecordCase{"IssuerEnded",
                   [](RightsFiles& f) {
                       return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kEnded,
                                         Installed::Rights, kIssuer);
                   },
                   MEDIA_IMAGE, true, DRM_HAS_RIGHTS_ISSUER, 1}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return info.param.name; });

TEST(DrmFileInfo, NoRecordForPathsItCannotHold) {
    RightsFiles files;
    EXPECT_EQ(CreateDrmFileInfo(nullptr, MEDIA_IMAGE), nullptr);
    EXPECT_EQ(CreateDrmFileInfo(u"", MEDIA_IMAGE), nullptr);
    // Longer than the record holds: a cut path would name some other file.
    const std::u16string longName(MAX_PATH, u'a');
    EXPECT_EQ(CreateDrmFileInfo((u"\\" + longName).c_str(), MEDIA_IMAGE), nullptr);
}

TEST(DrmFileInfo, PathOfTheLongestLengthItHoldsIsKeptWhole) {
    RightsFiles files;
    const std::u16string prefix = u"\\My Documents\\";
    const std::u16string name(MAX_PATH - 1 - prefix.size() - 3, u'n');
    const std::u16string path = files.ForwardLock(name + u".dm", "image/jpeg");
    ASSERT_EQ(path.size(), static_cast<size_t>(MAX_PATH - 1));
    DrmFileInfoPtr info(CreateDrmFileInfo(path.c_str(), MEDIA_IMAGE));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::u16string(info->szPath), path);
}

struct SpendCase {
    const char* name;
    std::function<std::u16string(RightsFiles&)> make;
    int usesBeforeExpiry;
    DWORD statusAfter;  // of a record built once every use is spent
    // Only a rights issuer's record reads the constraints themselves; the others learn of the
    // last use when the record is rebuilt, as the catalogue does before asking again.
    DWORD staleRecordExpired;
};

class DrmExpiryAfterUseTest : public ::testing::TestWithParam<SpendCase> {};

// A record built afterwards says in its status that the uses ran out, and is expired.
TEST_P(DrmExpiryAfterUseTest, ExpiresWhenTheLastUseIsSpent) {
    const SpendCase& c = GetParam();
    RightsFiles files;
    const std::u16string path = c.make(files);
    DrmFileInfoPtr info(CreateDrmFileInfo(path.c_str(), MEDIA_IMAGE));
    ASSERT_NE(info, nullptr);
    for (int use = 0; use < c.usesBeforeExpiry; ++use) {
        EXPECT_EQ(UpdateDrmExpiry(info.get()), 0u) << "before use " << use;
        ASSERT_TRUE(SpendOneUse(path, FDRRF_DISPLAY)) << "use " << use;
    }
    EXPECT_EQ(UpdateDrmExpiry(info.get()), c.staleRecordExpired);
    EXPECT_FALSE(SpendOneUse(path, FDRRF_DISPLAY));

    DrmFileInfoPtr rebuilt(CreateDrmFileInfo(path.c_str(), MEDIA_IMAGE));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->dwStatus, c.statusAfter);
    EXPECT_EQ(UpdateDrmExpiry(rebuilt.get()), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DrmExpiryAfterUseTest,
    ::testing::Values(SpendCase{"CombinedCountOne",
                                [](RightsFiles& f) {
                                    return f.Combined(u"cd.dm", "image/jpeg", Permission::Display,
                                                      kCountOne);
                                },
                                1, DRM_FORWARD_LOCKED | DRM_NO_RIGHTS, 0},
                      SpendCase{"SeparateCountThree",
                                [](RightsFiles& f) {
                                    return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                                      CountTerms(3), Installed::Rights);
                                },
                                3, DRM_NO_RIGHTS, 0},
                      SpendCase{"IssuerCountTwo",
                                [](RightsFiles& f) {
                                    return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display,
                                                      CountTerms(2), Installed::Rights, kIssuer);
                                },
                                2, DRM_HAS_RIGHTS_ISSUER, 1}),
    [](const ::testing::TestParamInfo<SpendCase>& info) { return info.param.name; });

TEST(DrmFileInfo, ExpiryFollowsTheClock) {
    RightsFiles files;
    const std::u16string path =
        files.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kRunning, Installed::Rights);
    const auto expiredNow = [&] {
        DrmFileInfoPtr info(CreateDrmFileInfo(path.c_str(), MEDIA_IMAGE));
        return info ? UpdateDrmExpiry(info.get()) : 99u;
    };
    EXPECT_EQ(expiredNow(), 0u);
    files.Clock().Advance(2 * kDay);
    EXPECT_EQ(expiredNow(), 1u);
    files.Clock().Set(kNow);
    EXPECT_EQ(expiredNow(), 0u);
}

TEST(DrmFileInfo, ExpiryOfNoRecordIsNothing) {
    EXPECT_EQ(UpdateDrmExpiry(nullptr), 0u);
}

}  // namespace
