// Protected files as the probe reports them: the item's rights record after its lookup, the
// rights summary with each constraint, and pictures measured through their clear content.
#include <ctime>

#include "tests/tools/probe/probe_test_helpers.h"

namespace probetest {
namespace {

using platform::rights::Permission;
using testing_support::Terms;

constexpr std::int64_t kDay = 86'400;
constexpr std::string_view kIssuer = "http://rights.example/buy";

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string IsoUtc(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm fields{};
    gmtime_r(&t, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &fields);
    return text;
}

// A real 41 x 24 JPEG, so that a protected picture's clear content can be measured.
Bytes SmallJpeg() {
    testing_support::TempDir work;
    if (!testing_support::RunConvert({"-size", "41x24", "xc:orange", work / "p.jpg"}))
        return {};
    return testing_support::ReadBytes(work / "p.jpg");
}

struct RightsCase {
    const char* name;  // under \My Documents
    Bytes (*make)(const ProbeDevice&, const Bytes& jpeg);
    const char* kind;
    int status;
    bool expired;
    bool forwardable;
    bool hasRightsIssuer;
    std::vector<std::string> constraintKinds;
    bool canSend;
    bool canSetAs;
    int width;  // pictures: measured through the clear content; 0 when no right allows it
};

Terms Count(std::uint32_t n) {
    Terms terms;
    terms.count = n;
    return terms;
}

Terms Interval(std::int64_t seconds) {
    Terms terms;
    terms.interval = seconds;
    return terms;
}

Terms Ended() {
    Terms terms;
    terms.start = Now() - 10 * kDay;
    terms.end = Now() - kDay;
    return terms;
}

Bytes Separate(const ProbeDevice& device, std::string_view type, const Bytes& media,
               std::string_view uid, Permission permission, const Terms& terms, bool install,
               std::string_view issuer = {}) {
    const testing_support::SeparateDelivery sd =
        testing_support::SeparateDeliveryFile(type, media, uid, permission, terms, issuer);
    if (install)
        device.Rights().Install(sd.rights, sd.rightsXml);
    return sd.dcf;
}

Bytes Locked(const ProbeDevice&, const Bytes& jpeg) {
    return testing_support::ForwardLockFile("image/jpeg", jpeg);
}
Bytes Counted(const ProbeDevice&, const Bytes& jpeg) {
    return testing_support::CombinedDeliveryFile("image/jpeg", jpeg, "cid:counted@test",
                                                 Permission::Display, Count(3));
}
Bytes EndedPicture(const ProbeDevice& d, const Bytes& jpeg) {
    return Separate(d, "image/jpeg", jpeg, "cid:ended@test", Permission::Display, Ended(), true);
}
Bytes IssuerOnly(const ProbeDevice& d, const Bytes& jpeg) {
    return Separate(d, "image/jpeg", jpeg, "cid:issuer@test", Permission::Display, Terms{}, false,
                    kIssuer);
}
Bytes Timed(const ProbeDevice& d, const Bytes& jpeg) {
    return Separate(d, "image/jpeg", jpeg, "cid:interval@test", Permission::Display, Interval(kDay),
                    true);
}
Bytes Song(const ProbeDevice& d, const Bytes&) {
    return Separate(d, "audio/mpeg", testing_support::SampleContent(), "cid:song@test",
                    Permission::Play, Terms{}, true);
}

// name, make, kind, status, expired, forwardable, issuer, constraints, canSend, canSetAs, width
const RightsCase kCases[] = {
    {"locked.jpg", Locked, "image", 1, false, false, false, {"none"}, false, false, 41},
    {"counted.jpg", Counted, "image", 1, false, false, false, {"count"}, false, false, 41},
    {"ended.jpg", EndedPicture, "image", 16, true, true, false, {"datetime"}, true, false, 0},
    // No constraint is readable; the issuer still gives one row to offer new rights.
    {"issuer.jpg", IssuerOnly, "image", 256, true, true, true, {"unreadable"}, true, false, 0},
    {"interval.jpg", Timed, "image", 0, false, true, false, {"interval"}, true, false, 41},
    {"song.mp3-DRM", Song, "music", 0, false, true, false, {"none"}, true, true, 0},
};

std::vector<std::string> ConstraintKinds(const JsonValue& summary) {
    std::vector<std::string> kinds;
    for (const JsonValue& c : At(summary, "constraints").items)
        kinds.push_back(At(c, "kind").text);
    return kinds;
}

class ProbeRightsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        jpeg_ = SmallJpeg();
        ASSERT_FALSE(jpeg_.empty());
        for (const RightsCase& c : kCases) {
            const std::string name = c.name;
            device_.Write(u"\\My Documents\\" + std::u16string(name.begin(), name.end()),
                          c.make(device_, jpeg_));
            files_.push_back("\\My Documents\\" + name);
        }
    }

    ProbeDevice device_;
    Bytes jpeg_;
    std::vector<std::string> files_;
};

TEST_F(ProbeRightsTest, RecordSummaryAndCapabilities) {
    const Outcome outcome = RunInProcess(device_.Args(files_));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), std::size(kCases));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const RightsCase& c = kCases[i];
        SCOPED_TRACE(c.name);
        const JsonValue& object = objects[i];
        EXPECT_EQ(At(object, "kind").text, c.kind);
        const JsonValue& rights = At(object, "rights");
        ASSERT_EQ(rights.type, JsonValue::Type::Object);
        EXPECT_EQ(At(rights, "status").number, c.status);
        EXPECT_EQ(At(rights, "forwardLocked").boolean, (c.status & 1) != 0);
        EXPECT_EQ(At(rights, "noRights").boolean, (c.status & 16) != 0);
        EXPECT_EQ(At(rights, "rightsIssuer").boolean, (c.status & 256) != 0);
        EXPECT_EQ(At(rights, "expired").boolean, c.expired);
        const JsonValue& summary = At(rights, "summary");
        ASSERT_EQ(summary.type, JsonValue::Type::Object);
        EXPECT_EQ(At(summary, "forwardable").boolean, c.forwardable);
        EXPECT_EQ(At(summary, "hasRightsIssuer").boolean, c.hasRightsIssuer);
        EXPECT_EQ(ConstraintKinds(summary), c.constraintKinds);
        const JsonValue& capabilities = At(object, "capabilities");
        EXPECT_EQ(At(capabilities, "canSend").boolean, c.canSend);
        EXPECT_EQ(At(capabilities, "canSetAs").boolean, c.canSetAs);
        if (std::string(c.kind) == "image") {
            EXPECT_EQ(At(object, "width").number, c.width);
            EXPECT_EQ(At(object, "format").text, c.width ? "jpeg" : "unknown");
        }
    }
}

TEST_F(ProbeRightsTest, ConstraintFields) {
    const Outcome outcome =
        RunInProcess(device_.Args({"\\My Documents\\counted.jpg", "\\My Documents\\ended.jpg",
                                   "\\My Documents\\interval.jpg"}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 3u);
    const JsonValue& count = At(At(At(objects[0], "rights"), "summary"), "constraints").items.at(0);
    EXPECT_EQ(At(count, "countTotal").number, 3);
    EXPECT_EQ(At(count, "countUsed").number, 0);
    EXPECT_TRUE(At(count, "valid").boolean);
    EXPECT_TRUE(IsNull(At(count, "start")));
    EXPECT_TRUE(IsNull(At(count, "end")));
    EXPECT_TRUE(IsNull(At(count, "intervalStart")));

    // The dates were written from Now() when the file was made; the test may cross a second.
    const JsonValue& date = At(At(At(objects[1], "rights"), "summary"), "constraints").items.at(0);
    EXPECT_FALSE(At(date, "valid").boolean);
    const std::string end = At(date, "end").text;
    EXPECT_TRUE(end == IsoUtc(Now() - kDay) || end == IsoUtc(Now() - kDay - 1)) << end;
    const std::string start = At(date, "start").text;
    EXPECT_TRUE(start == IsoUtc(Now() - 10 * kDay) || start == IsoUtc(Now() - 10 * kDay - 1))
        << start;

    // Not started until the first use: a duration and no start.
    const JsonValue& interval =
        At(At(At(objects[2], "rights"), "summary"), "constraints").items.at(0);
    EXPECT_EQ(At(interval, "intervalSeconds").number, kDay);
    EXPECT_TRUE(IsNull(At(interval, "intervalStart")));
    EXPECT_TRUE(At(interval, "valid").boolean);
}

// Looking is not using: probing a counted picture twice leaves its count untouched.
TEST_F(ProbeRightsTest, ProbingSpendsNothing) {
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const Outcome outcome = RunInProcess(device_.Args({"\\My Documents\\counted.jpg"}));
        const std::vector<JsonValue> objects = Objects(outcome.out);
        ASSERT_EQ(objects.size(), 1u);
        const JsonValue& rights = At(objects[0], "rights");
        EXPECT_FALSE(At(rights, "expired").boolean);
        const JsonValue& count = At(At(rights, "summary"), "constraints").items.at(0);
        EXPECT_EQ(At(count, "countUsed").number, 0);
        EXPECT_EQ(At(objects[0], "width").number, 41);
    }
}

}  // namespace
}  // namespace probetest
