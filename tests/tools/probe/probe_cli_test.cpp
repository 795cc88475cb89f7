// The command line: usage errors, files that cannot be probed, host paths, the kinds of entry
// and their keys, and the real program giving the same lines as the in-process run.
#include "tests/tools/probe/probe_test_helpers.h"

namespace probetest {
namespace {

class CliDevice : public ProbeDevice {
  public:
    CliDevice() {
        Write(u"\\My Documents\\a.txt", testing_support::SampleContent(100));
        Write(u"\\My Documents\\s.mp3-DRM", testing_support::SampleContent(2048));
        Write(u"\\My Documents\\SONG.AMR", testing_support::SampleContent(10));
        Write(u"\\My Documents\\clip.mp4", testing_support::SampleContent(10));
        Write(u"\\My Documents\\locked.jpg",
              testing_support::ForwardLockFile("image/jpeg", testing_support::SampleContent(50)));
        Write(u"\\My Documents\\pic.jpg", testing_support::SampleContent(50));
    }
};

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
};

class ProbeUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(ProbeUsageTest, ExitsWithTwoAndOneLine) {
    const UsageCase& c = GetParam();
    testing_support::TempDir folder;
    for (const Outcome& outcome : {RunInProcess(c.args), RunBinary(c.args, folder.path())}) {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(outcome.err.starts_with("pictarium-probe: ")) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    // Nothing was made in the working folder (no registry, no device).
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ProbeUsageTest,
    ::testing::Values(UsageCase{"NoFile", {}}, UsageCase{"OnlyOptions", {"--root", "dev"}},
                      UsageCase{"UnknownOption", {"--bogus", "x"}},
                      UsageCase{"MissingValue", {"x", "--root"}},
                      UsageCase{"EmptyValue", {"--store=", "x"}},
                      UsageCase{"GivenTwice", {"--root=a", "--root", "b", "x"}},
                      UsageCase{"EmptyFile", {"--root=dev", ""}}),
    [](const auto& info) { return info.param.name; });

TEST(ProbeCliTest, HelpPrintsTheUsage) {
    const Outcome outcome = RunInProcess({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out.starts_with("usage: pictarium-probe")) << outcome.out;
    EXPECT_EQ(outcome.err, "");
}

TEST(ProbeCliTest, EveryFileGetsItsObjectAndFailuresGiveOne) {
    CliDevice device;
    const Outcome outcome =
        RunInProcess(device.Args({"\\nope.jpg", "\\My Documents\\a.txt", "/", "\\a\\..\\b",
                                  "\\My Documents\\*.txt", "\\My Documents\\a.txt\\more"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 6u);
    struct Expected {
        const char* path;
        const char* error;  // null: probed
    };
    const Expected expected[] = {
        {"\\nope.jpg", "not found"},
        {"\\My Documents\\a.txt", nullptr},
        {"/", "outside the device"},
        {"\\a\\..\\b", "invalid path"},
        {"\\My Documents\\*.txt", "invalid path"},
        {"\\My Documents\\a.txt\\more", "not found"},
    };
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(At(objects[i], "path").text, expected[i].path);
        if (expected[i].error) {
            EXPECT_EQ(Keys(objects[i]), (std::vector<std::string>{"path", "error"}));
            EXPECT_EQ(At(objects[i], "error").text, expected[i].error);
        } else {
            EXPECT_EQ(objects[i].Find("error"), nullptr);
        }
    }
}

TEST(ProbeCliTest, KeysFollowTheKind) {
    CliDevice device;
    const Outcome outcome = RunInProcess(device.Args(
        {"\\My Documents\\a.txt", "\\My Documents\\s.mp3-DRM", "\\My Documents\\SONG.AMR",
         "\\My Documents\\clip.mp4", "\\My Documents\\pic.jpg"}));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 5u);
    const std::vector<std::string> fileKeys = {"path",     "kind",   "sizeKB",
                                               "modified", "rights", "capabilities"};
    const std::vector<std::string> pictureKeys = {"path",   "kind",     "sizeKB", "modified",
                                                  "format", "width",    "height", "decodes",
                                                  "exif",   "position", "rights", "capabilities"};
    const char* kinds[] = {"document", "music", "unknown", "video", "image"};
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(kinds[i]);
        EXPECT_EQ(At(objects[i], "kind").text, kinds[i]);
        EXPECT_EQ(Keys(objects[i]), i == 4 ? pictureKeys : fileKeys);
        EXPECT_TRUE(IsNull(At(objects[i], "rights")));
    }
    EXPECT_EQ(At(objects[1], "sizeKB").number, 2);
    // The catalogue makes no item for an unlisted name, so there is nothing to ask.
    EXPECT_TRUE(IsNull(At(objects[2], "capabilities")));
    EXPECT_FALSE(At(At(objects[0], "capabilities"), "canSetAs").boolean);
    EXPECT_TRUE(At(At(objects[1], "capabilities"), "canSetAs").boolean);
    EXPECT_TRUE(At(At(objects[3], "capabilities"), "canSetAs").boolean);
}

// Names leave as UTF-8 inside valid JSON, whatever they hold.
TEST(ProbeCliTest, NamesAreWrittenAsUtf8) {
    CliDevice device;
    const std::string name = "caf\xC3\xA9 \"quoted\".txt";
    testing_support::WriteBytes(device.Root() + "/My Documents/" + name, {'x'});
    const Outcome outcome =
        RunInProcess(device.Args({"\\My Documents\\" + name, "\\My Documents"}));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(At(objects[0], "path").text, "\\My Documents\\" + name);
    EXPECT_EQ(At(objects[0], "kind").text, "document");
    const std::vector<std::string> names = Texts(At(At(objects[1], "sorted"), "name"));
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end());
}

TEST(ProbeCliTest, HostPathsUnderTheRoot) {
    CliDevice device;
    const std::string relative = "device/My Documents/a.txt";
    const std::string absolute = device.Host(u"\\My Documents\\s.mp3-DRM");
    const Outcome outcome = RunBinary(device.Args({relative, absolute}), device.Folder());
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(At(objects[0], "path").text, "\\My Documents\\a.txt");
    EXPECT_EQ(At(objects[1], "path").text, "\\My Documents\\s.mp3-DRM");
}

TEST(ProbeCliTest, ProgramPrintsWhatTheInProcessRunPrints) {
    CliDevice device;
    const std::vector<std::string> args =
        device.Args({"\\My Documents", "\\My Documents\\locked.jpg", "\\My Documents\\pic.jpg",
                     "\\My Documents\\a.txt", "\\missing"});
    const Outcome inProcess = RunInProcess(args);
    const Outcome program = RunBinary(args, device.Folder());
    EXPECT_EQ(program.status, 1);
    EXPECT_EQ(inProcess.status, 1);
    EXPECT_EQ(program.out, inProcess.out);
    EXPECT_EQ(program.err, "");
    const std::vector<JsonValue> objects = Objects(program.out);
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(At(At(objects[1], "rights"), "status").number, 1);
}

TEST(ProbeCliTest, RootThatIsNoFolderFails) {
    testing_support::TempDir folder;
    const Outcome outcome =
        RunInProcess({"--root", folder / "missing", "--registry", folder / "r.db", "\\"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(outcome.err.starts_with("pictarium-probe: ")) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace
}  // namespace probetest
