// The result table of FileDrmVerifyRights, row by row, for the flags the program passes.
#include <gtest/gtest.h>

#include "platform/controls/message_box/message_box.h"
#include "platform/rights/file_drm.h"
#include "rights_service_test_util.h"
#include "tests/support/fixed_clock.h"

namespace {

namespace rights = platform::rights;
using rights::Permission;
using service_test::Count;
using service_test::Interval;
using service_test::kDay;
using service_test::kNow;
using service_test::Unlimited;
using service_test::Window;
using testing_support::Terms;

enum class Kind { ForwardLock, Combined, Separate, SeparateNotInstalled, Plain, Missing, Damaged };

constexpr std::string_view kUid = "cid:pic@example.org";
constexpr std::string_view kIssuer = "http://ri.example.org/buy";
constexpr HRESULT kCancelled = HRESULT_FROM_WIN32(1223);

struct Row {
    const char* name;
    Kind kind;
    Terms terms;
    DWORD right;
    DWORD flags;
    HRESULT result;
    DWORD status;
    std::size_t messages = 0;  // shown before answering
    bool issuer = false;       // the file names a rights issuer
    Permission granted = Permission::Display;
    int answer = IDYES;
};

std::vector<Row> Rows() {
    const Terms notYet = Window(kNow + kDay, std::nullopt);
    const Terms expired = Window(kNow - 2 * kDay, kNow - kDay);
    const Terms current = Window(kNow - kDay, kNow + kDay);
    return {
        // Forward lock: every use is allowed, forwarding never.
        {"FL display 0", Kind::ForwardLock, {}, FDRRF_DISPLAY, 0, S_OK, 0},
        {"FL display 1", Kind::ForwardLock, {}, FDRRF_DISPLAY, 1, S_OK, 0},
        {"FL display 3", Kind::ForwardLock, {}, FDRRF_DISPLAY, 3, S_OK, 0},
        {"FL display 5", Kind::ForwardLock, {}, FDRRF_DISPLAY, 5, S_OK, 0},
        {"FL forward 5", Kind::ForwardLock, {}, FDRRF_FORWARD, 5, E_FDRM_NOFORWARDRIGHTS, 0},
        {"FL forward 0", Kind::ForwardLock, {}, FDRRF_FORWARD, 0, E_FDRM_NOFORWARDRIGHTS, 0, 1},
        // Combined delivery.
        {"CD forward 5", Kind::Combined, Count(3), FDRRF_FORWARD, 5, E_FDRM_NOFORWARDRIGHTS, 0},
        {"CD unlimited 1", Kind::Combined, Unlimited(), FDRRF_DISPLAY, 1, S_OK, 0},
        {"CD count 1", Kind::Combined, Count(3), FDRRF_DISPLAY, 1, S_OK, FDRVS_EXPIRABLE},
        {"CD count 3", Kind::Combined, Count(3), FDRRF_DISPLAY, 3, S_OK, FDRVS_EXPIRABLE},
        {"CD count 5", Kind::Combined, Count(3), FDRRF_DISPLAY, 5, S_OK, 0},
        {"CD count 0 yes", Kind::Combined, Count(3), FDRRF_DISPLAY, 0, S_OK, 0, 1},
        {"CD count 0 no", Kind::Combined, Count(3), FDRRF_DISPLAY, 0, kCancelled, 0, 1, false,
         Permission::Display, IDNO},
        {"CD interval 1", Kind::Combined, Interval(kDay), FDRRF_DISPLAY, 1, S_OK, FDRVS_EXPIRABLE},
        {"CD interval 5", Kind::Combined, Interval(kDay), FDRRF_DISPLAY, 5, S_OK, 0},
        {"CD interval 0 no", Kind::Combined, Interval(kDay), FDRRF_DISPLAY, 0, kCancelled, 0, 1,
         false, Permission::Display, IDNO},
        {"CD datetime current 1", Kind::Combined, current, FDRRF_DISPLAY, 1, S_OK, 0},
        {"CD datetime current 0", Kind::Combined, current, FDRRF_DISPLAY, 0, S_OK, 0},
        {"CD not yet valid 1", Kind::Combined, notYet, FDRRF_DISPLAY, 1, E_FDRM_NOLICENSE, 0},
        {"CD not yet valid 3", Kind::Combined, notYet, FDRRF_DISPLAY, 3, S_FALSE, 0},
        {"CD not yet valid 0", Kind::Combined, notYet, FDRRF_DISPLAY, 0, E_FDRM_NOLICENSE, 0, 1},
        {"CD expired 1", Kind::Combined, expired, FDRRF_DISPLAY, 1, E_FDRM_LICENSEEXPIRED, 0},
        {"CD expired 5", Kind::Combined, expired, FDRRF_DISPLAY, 5, E_FDRM_LICENSEEXPIRED, 0},
        {"CD expired 3", Kind::Combined, expired, FDRRF_DISPLAY, 3, S_FALSE, 0},
        {"CD expired 0", Kind::Combined, expired, FDRRF_DISPLAY, 0, E_FDRM_LICENSEEXPIRED, 0, 1},
        {"CD not granted 1", Kind::Combined, Unlimited(), FDRRF_DISPLAY, 1, E_FDRM_NOLICENSE, 0, 0,
         false, Permission::Play},
        {"CD granted play 1", Kind::Combined, Unlimited(), FDRRF_PLAY, 1, S_OK, 0, 0, false,
         Permission::Play},
        // Separate delivery, rights installed apart.
        {"SD forward 5", Kind::Separate, Count(1), FDRRF_FORWARD, 5, S_OK, 0},
        {"SD forward 0", Kind::Separate, Count(1), FDRRF_FORWARD, 0, S_OK, 0},
        {"SD unlimited 5", Kind::Separate, Unlimited(), FDRRF_DISPLAY, 5, S_OK, 0},
        {"SD count 1", Kind::Separate, Count(2), FDRRF_DISPLAY, 1, S_OK, FDRVS_EXPIRABLE},
        {"SD no rights 1", Kind::SeparateNotInstalled, {}, FDRRF_DISPLAY, 1, E_FDRM_NOLICENSE, 0},
        {"SD+RI no rights 1",
         Kind::SeparateNotInstalled,
         {},
         FDRRF_DISPLAY,
         1,
         E_FDRM_NOLICENSE,
         FDRVS_USER_CAN_UPDATE,
         0,
         true},
        {"SD+RI no rights 5",
         Kind::SeparateNotInstalled,
         {},
         FDRRF_DISPLAY,
         5,
         E_FDRM_NOLICENSE,
         FDRVS_USER_CAN_UPDATE,
         0,
         true},
        {"SD+RI no rights 3",
         Kind::SeparateNotInstalled,
         {},
         FDRRF_DISPLAY,
         3,
         S_FALSE,
         0,
         0,
         true},
        {"SD+RI no rights 0",
         Kind::SeparateNotInstalled,
         {},
         FDRRF_DISPLAY,
         0,
         E_FDRM_NOLICENSE,
         FDRVS_USER_CAN_UPDATE,
         1,
         true},
        {"SD+RI expired 1", Kind::Separate, expired, FDRRF_DISPLAY, 1, E_FDRM_LICENSEEXPIRED,
         FDRVS_USER_CAN_UPDATE, 0, true},
        {"SD+RI not yet valid 1", Kind::Separate, notYet, FDRRF_DISPLAY, 1, E_FDRM_NOLICENSE,
         FDRVS_USER_CAN_UPDATE, 0, true},
        {"SD+RI count 1", Kind::Separate, Count(2), FDRRF_DISPLAY, 1, S_OK, FDRVS_EXPIRABLE, 0,
         true},
        {"SD expired 1", Kind::Separate, expired, FDRRF_DISPLAY, 1, E_FDRM_LICENSEEXPIRED, 0},
        {"SD not yet valid 1", Kind::Separate, notYet, FDRRF_DISPLAY, 1, E_FDRM_NOLICENSE, 0},
        // Files that are not (readable) protected content.
        {"plain 0", Kind::Plain, {}, FDRRF_DISPLAY, 0, S_OK, 0},
        {"plain forward 5", Kind::Plain, {}, FDRRF_FORWARD, 5, S_OK, 0},
        {"missing 1",
         Kind::Missing,
         {},
         FDRRF_DISPLAY,
         1,
         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
         0},
        {"damaged 0", Kind::Damaged, {}, FDRRF_DISPLAY, 0, E_FDRM_NOLICENSE, 0},
        {"damaged 3", Kind::Damaged, {}, FDRRF_DISPLAY, 3, E_FDRM_NOLICENSE, 0},
    };
}

constexpr char16_t kPath[] = u"\\My Documents\\picture.jpg";

void WriteFile(const testing_support::RightsDevice& device, const Row& row) {
    const testing_support::Bytes media = testing_support::SampleContent(64);
    switch (row.kind) {
        case Kind::ForwardLock:
            device.Write(kPath, testing_support::ForwardLockFile("image/jpeg", media));
            return;
        case Kind::Combined:
            device.Write(kPath, testing_support::CombinedDeliveryFile("image/jpeg", media, kUid,
                                                                      row.granted, row.terms));
            return;
        case Kind::Separate:
        case Kind::SeparateNotInstalled: {
            const auto sd = testing_support::SeparateDeliveryFile(
                "image/jpeg", media, kUid, row.granted, row.terms, row.issuer ? kIssuer : "");
            device.Write(kPath, sd.dcf);
            if (row.kind == Kind::Separate)
                device.Install(sd.rights, sd.rightsXml);
            return;
        }
        case Kind::Plain:
            device.Write(kPath, testing_support::SampleContent(100));
            return;
        case Kind::Missing:
            return;
        case Kind::Damaged: {
            auto dcf = testing_support::SeparateDeliveryFile("image/jpeg", media, kUid, row.granted,
                                                             row.terms)
                           .dcf;
            dcf.resize(dcf.size() - 17);
            device.Write(kPath, dcf);
            return;
        }
    }
}

TEST(FileDrmResultTableTest, EveryRowAnswersAsTheProgramExpects) {
    testing_support::FixedClock clock(kNow);
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        testing_support::RightsDevice device;
        WriteFile(device, row);
        service_test::MessageRecorder recorder(row.answer);
        DWORD status = 0xDEAD;
        EXPECT_EQ(FileDrmVerifyRights(nullptr, kPath, row.right, row.flags, &status), row.result);
        EXPECT_EQ(status, row.status);
        EXPECT_EQ(recorder.Messages().size(), row.messages);
        if ((row.flags & FDRVF_NOUI) != 0) {
            EXPECT_TRUE(recorder.Messages().empty());
        }
        // A check never spends: asking again answers the same.
        if (row.messages == 0) {
            EXPECT_EQ(FileDrmVerifyRights(nullptr, kPath, row.right, row.flags, &status),
                      row.result);
            EXPECT_EQ(status, row.status);
        }
    }
}

TEST(FileDrmResultTableTest, MessagesNameTheContentAndTheRightsIssuer) {
    testing_support::FixedClock clock(kNow);
    struct Case {
        const char* name;
        Row row;
        std::vector<std::string> mentions;
        UINT buttons;
    };
    const Case cases[] = {
        {"count",
         {"", Kind::Combined, Count(3), FDRRF_DISPLAY, 0, S_OK, 0},
         {"picture.jpg", "3 more times"},
         MB_YESNO},
        {"interval",
         {"", Kind::Combined, Interval(2 * kDay + 3600), FDRRF_DISPLAY, 0, S_OK, 0},
         {"2 days 1 hour", "first use"},
         MB_YESNO},
        {"no rights with issuer",
         {"", Kind::SeparateNotInstalled, {}, FDRRF_DISPLAY, 0, E_FDRM_NOLICENSE, 1, 1, true},
         {"picture.jpg", std::string(kIssuer)},
         MB_OK},
        {"not yet valid",
         {"", Kind::Combined, Window(kNow + kDay, std::nullopt), FDRRF_DISPLAY, 0, E_FDRM_NOLICENSE,
          0},
         {"cannot be used yet", "2027-01-16"},
         MB_OK},
        {"expired",
         {"", Kind::Combined, Window(std::nullopt, kNow - 1), FDRRF_DISPLAY, 0, 0, 0},
         {"expired"},
         MB_OK},
        {"forward",
         {"", Kind::ForwardLock, {}, FDRRF_FORWARD, 0, 0, 0},
         {"cannot be forwarded"},
         MB_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::RightsDevice device;
        WriteFile(device, c.row);
        service_test::MessageRecorder recorder(IDYES);
        DWORD status = 0;
        FileDrmVerifyRights(nullptr, kPath, c.row.right, c.row.flags, &status);
        ASSERT_EQ(recorder.Messages().size(), 1u);
        const auto& shown = recorder.Messages().front();
        for (const std::string& mention : c.mentions)
            EXPECT_NE(shown.text.find(mention), std::string::npos) << shown.text;
        EXPECT_EQ(shown.type & MB_TYPEMASK, c.buttons);
    }
}

// FDRVF_NORENEW answers plainly: the rights issuer is not offered, only the problem is told.
TEST(FileDrmResultTableTest, NoRenewDoesNotOfferTheRightsIssuer) {
    testing_support::FixedClock clock(kNow);
    testing_support::RightsDevice device;
    WriteFile(device, {"", Kind::SeparateNotInstalled, {}, 0, 0, 0, 0, 0, true});
    service_test::MessageRecorder recorder(IDOK);
    DWORD status = 7;
    EXPECT_EQ(FileDrmVerifyRights(nullptr, kPath, FDRRF_DISPLAY, FDRVF_NORENEW, &status), S_FALSE);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0].text.find(kIssuer), std::string::npos);
}

TEST(FileDrmResultTableTest, RefusesBadArguments) {
    testing_support::RightsDevice device;
    device.Write(kPath, testing_support::ForwardLockFile("image/jpeg", {1, 2, 3}));
    DWORD status = 5;
    EXPECT_EQ(FileDrmVerifyRights(nullptr, kPath, FDRRF_DISPLAY, 1, nullptr), E_POINTER);
    EXPECT_EQ(FileDrmVerifyRights(nullptr, nullptr, FDRRF_DISPLAY, 1, &status), E_INVALIDARG);
    EXPECT_EQ(status, 0u);
    for (const DWORD right : {0u, 3u, 0x20u}) {
        status = 5;
        EXPECT_EQ(FileDrmVerifyRights(nullptr, kPath, right, 1, &status), E_INVALIDARG);
        EXPECT_EQ(status, 0u);
    }
}

}  // namespace
