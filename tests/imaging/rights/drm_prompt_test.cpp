// The "Unlock" prompt over real protected files: which of the service's dialogs the user sees
// for each state of the rights, answered by a recording message box.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "imaging/rights/drm_info.h"
#include "platform/controls/message_box/message_box.h"
#include "platform/core/wstring.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/rights_service.h"
#include "tests/imaging/rights/rights_test_files.h"

namespace {

using namespace rights_test;

constexpr std::string_view kIssuer = "http://rights.example/buy";

struct Shown {
    std::string text;
    UINT type;
};

std::vector<Shown>& ShownMessages() {
    static std::vector<Shown> shown;
    return shown;
}

// Records every message and declines whatever it is asked, so that nothing is spent.
int RecordingBox(HWND, LPCWSTR text, LPCWSTR, UINT type) {
    ShownMessages().push_back({platform::ToUtf8(text), type});
    return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
}

class RecordedMessages {
  public:
    RecordedMessages() {
        ShownMessages().clear();
        previous_ = platform::rights::SetRightsMessageBoxForTesting(&RecordingBox);
    }
    ~RecordedMessages() { platform::rights::SetRightsMessageBoxForTesting(previous_); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

  private:
    platform::rights::RightsMessageBox previous_ = nullptr;
};

struct PromptCase {
    const char* name;
    std::function<std::u16string(RightsFiles&)> make;
    UINT shown;  // the one message's kind: rights dialog, notice or question; 0 for none
    bool offersIssuer;
};

class DrmPromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(DrmPromptTest, ShowsTheServicesDialog) {
    const PromptCase& c = GetParam();
    RightsFiles files;
    const std::u16string path = c.make(files);
    DrmFileInfoPtr info(CreateDrmFileInfo(path.c_str(), MEDIA_IMAGE));
    ASSERT_NE(info, nullptr);
    DrmRightsSummary before{};
    ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &before);

    const RecordedMessages recorded;
    EXPECT_EQ(PromptDrmRights(nullptr, info.get()), 1);
    ASSERT_EQ(ShownMessages().size(), c.shown != 0 ? 1u : 0u);
    if (c.shown != 0) {
        EXPECT_EQ(ShownMessages().front().type, c.shown);
        EXPECT_EQ(ShownMessages().front().text.find(kIssuer) != std::string::npos, c.offersIssuer)
            << ShownMessages().front().text;
    }
    // Prompting only tells; it never spends a use.
    DrmRightsSummary after{};
    ReadDrmRightsSummary(path.c_str(), MEDIA_IMAGE, &after);
    ASSERT_EQ(after.nConstraintCount, before.nConstraintCount);
    for (int i = 0; i < after.nConstraintCount; ++i) {
        EXPECT_EQ(after.pConstraints[i].nCountUsed, before.pConstraints[i].nCountUsed);
        // Copied: the packed 64-bit fields must not bind to the macros' references.
        EXPECT_EQ(std::int64_t{after.pConstraints[i].llIntervalStart},
                  std::int64_t{before.pConstraints[i].llIntervalStart});
    }
    FreeDrmRightsSummary(&before);
    FreeDrmRightsSummary(&after);
}

constexpr UINT kRightsDialog = MB_OK | MB_ICONINFORMATION;
constexpr UINT kNotice = MB_OK | MB_ICONWARNING;
const Terms kUnlimited{};
const Terms kEnded = DateTerms(kNow - 10 * kDay, kNow - kDay);

INSTANTIATE_TEST_SUITE_P(
    Files, DrmPromptTest,
    ::testing::Values(
        // Usable without limit: the service has nothing to say.
        PromptCase{"ForwardLock",
                   [](RightsFiles& f) { return f.ForwardLock(u"fl.dm", "image/jpeg"); }, 0, false},
        PromptCase{"SeparateUnlimited",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Rights);
                   },
                   0, false},
        // Metered rights open the rights dialog.
        PromptCase{"SeparateCount",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                         CountTerms(3), Installed::Rights);
                   },
                   kRightsDialog, false},
        PromptCase{"IntervalNotStarted",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display,
                                         IntervalTerms(kDay), Installed::Rights);
                   },
                   kRightsDialog, false},
        // Without a rights issuer the service's own message says what is wrong.
        PromptCase{"SeparateNoRights",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Nothing);
                   },
                   kNotice, false},
        PromptCase{"SeparateEnded",
                   [](RightsFiles& f) {
                       return f.Separate(u"sd.dcf", "image/jpeg", Permission::Display, kEnded,
                                         Installed::Rights);
                   },
                   kNotice, false},
        // With one, the error dialog offers the issuer's address.
        PromptCase{"IssuerNoRights",
                   [](RightsFiles& f) {
                       return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kUnlimited,
                                         Installed::Nothing, kIssuer);
                   },
                   kNotice, true},
        PromptCase{"IssuerEnded",
                   [](RightsFiles& f) {
                       return f.Separate(u"ri.dcf", "image/jpeg", Permission::Display, kEnded,
                                         Installed::Rights, kIssuer);
                   },
                   kNotice, true}),
    [](const ::testing::TestParamInfo<PromptCase>& info) { return info.param.name; });

TEST(DrmPrompt, NoRecordShowsNothing) {
    const RecordedMessages recorded;
    EXPECT_EQ(PromptDrmRights(nullptr, nullptr), 1);
    DrmFileInfo* blank = static_cast<DrmFileInfo*>(std::calloc(1, sizeof(DrmFileInfo)));
    DrmFileInfoPtr owned(blank);
    EXPECT_EQ(PromptDrmRights(nullptr, blank), 1);
    EXPECT_TRUE(ShownMessages().empty());
}

}  // namespace
