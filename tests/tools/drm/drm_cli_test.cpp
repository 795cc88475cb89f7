// The command line as users meet it: exit statuses, one-line errors, and nothing written when a
// command is refused. Every row runs both in-process and as the real program.
#include <gtest/gtest.h>

#include "tests/tools/drm/drm_test_helpers.h"

namespace drmtest {
namespace {

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;  // "@/" stands for the test's folder
    int status;
};

const RefusedCase kRefused[] = {
    {"no command", {}, 2},
    {"unknown command", {"frobnicate"}, 2},
    {"unknown global option", {"--bogus", "list"}, 2},
    {"store without file", {"--store"}, 2},
    {"store and registry", {"--store", "@/a.db", "--registry", "@/r.db", "list"}, 2},
    {"store twice", {"--store", "@/a.db", "--store", "@/b.db", "list"}, 2},
    {"pack-fl one file", {"pack-fl", "@/in.jpg"}, 2},
    {"pack-fl three files", {"pack-fl", "@/in.jpg", "@/a.dm", "@/b.dm"}, 2},
    {"pack-fl takes no constraints", {"pack-fl", "@/in.jpg", "@/o.dm", "--count", "2"}, 2},
    {"negative count", {"pack-cd", "@/in.jpg", "@/o.dm", "--count", "-1"}, 2},
    {"word count", {"pack-cd", "@/in.jpg", "@/o.dm", "--count", "two"}, 2},
    {"impossible date", {"pack-cd", "@/in.jpg", "@/o.dm", "--start", "2027-02-30T00:00:00Z"}, 2},
    {"date as a word", {"pack-cd", "@/in.jpg", "@/o.dm", "--end", "yesterday"}, 2},
    {"end before start",
     {"pack-cd", "@/in.jpg", "@/o.dm", "--start", "2027-02-01T00:00:00Z", "--end",
      "2027-01-01T00:00:00Z"},
     2},
    {"duration in words", {"pack-cd", "@/in.jpg", "@/o.dm", "--interval", "1 day"}, 2},
    {"negative duration", {"pack-cd", "@/in.jpg", "@/o.dm", "--interval", "-P1D"}, 2},
    {"zero duration", {"pack-cd", "@/in.jpg", "@/o.dm", "--interval", "PT0S"}, 2},
    {"unknown permission", {"pack-cd", "@/in.jpg", "@/o.dm", "--permission", "copy"}, 2},
    {"two permissions",
     {"pack-cd", "@/in.jpg", "@/o.dm", "--permission", "play", "--permission", "display"},
     2},
    {"rights issuer on pack-cd", {"pack-cd", "@/in.jpg", "@/o.dm", "--ri", "http://x"}, 2},
    {"count without value", {"pack-cd", "@/in.jpg", "@/o.dm", "--count"}, 2},
    {"pack-sd two files", {"pack-sd", "@/in.jpg", "@/o.dcf"}, 2},
    {"pack-sd one file for both", {"pack-sd", "@/in.jpg", "@/same", "@/same"}, 2},
    {"pack-sd one file by two names", {"pack-sd", "@/in.jpg", "@/same", "@/./same"}, 2},
    {"pack-fl over its input", {"pack-fl", "@/in.jpg", "@/in.jpg"}, 2},
    {"pack-sd rights over its input", {"pack-sd", "@/in.jpg", "@/o.dcf", "@/./in.jpg"}, 2},
    {"wbxml with a value", {"pack-sd", "@/in.jpg", "@/o.dcf", "@/o.dr", "--wbxml=yes"}, 2},
    {"install nothing", {"install"}, 2},
    {"list with a file", {"list", "@/in.jpg"}, 2},
    {"status nothing", {"status"}, 2},
    {"missing input", {"pack-fl", "@/missing.jpg", "@/o.dm"}, 1},
    {"input is a folder", {"pack-cd", "@/", "@/o.dm"}, 1},
    {"output in a missing folder", {"pack-fl", "@/in.jpg", "@/nofolder/o.dm"}, 1},
    {"output is a folder", {"pack-fl", "@/in.jpg", "@/"}, 1},
    {"install a missing file", {"--store", "@/s.db", "install", "@/missing.dr"}, 1},
    {"install plain media", {"--store", "@/s.db", "install", "@/in.jpg"}, 1},
    {"status of a missing file", {"--store", "@/s.db", "status", "@/missing.jpg"}, 1},
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<std::string> InFolder(std::vector<std::string> args, const std::string& folder) {
    for (std::string& arg : args) {
        if (arg.starts_with("@/"))
            arg = folder + arg.substr(1);
    }
    return args;
}

class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, OneErrorLineTheRightStatusAndNothingWritten) {
    testing_support::TempDir temp;
    WriteBytes(temp / "in.jpg", Bytes(300, 0xAB));
    const std::set<std::string> before = Listing(temp.path());
    const std::vector<std::string> args = InFolder(GetParam().args, temp.path());

    for (const Outcome& outcome : {RunInProcess(args), RunBinary(args, temp.path())}) {
        EXPECT_EQ(outcome.status, GetParam().status) << outcome.err;
        EXPECT_EQ(LineCount(outcome.err), 1u) << outcome.err;
        EXPECT_TRUE(outcome.err.starts_with("pictarium-drm: ")) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(Listing(temp.path()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, RefusedTest, ::testing::ValuesIn(kRefused), [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

TEST(CommandLineTest, HelpShowsEveryCommand) {
    testing_support::TempDir temp;
    const Outcome outcome = RunBinary({"--help"}, temp.path());
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    for (const char* word : {"usage: pictarium-drm", "pack-fl", "pack-cd", "pack-sd", "install",
                             "list", "status", "--interval", "--wbxml", "--ri"})
        EXPECT_NE(outcome.out.find(word), std::string::npos) << word;
}

// The whole path a user takes, through the real program: make content, install its rights beside
// a registry file, and ask what the service sees.
TEST(CommandLineTest, PackInstallAndStatusBesideTheRegistry) {
    testing_support::TempDir temp;
    WriteBytes(temp / "song.mp3", Bytes(4000, 0x5A));
    const std::string registry = temp / "profile/registry.db";

    const Outcome pack = RunBinary({"pack-sd", temp / "song.mp3", temp / "song.dcf",
                                    temp / "song.dr", "--count", "3", "--ri", "http://ri.test/"},
                                   temp.path());
    ASSERT_EQ(pack.status, 0) << pack.err;
    const Outcome install =
        RunBinary({"--registry", registry, "install", temp / "song.dr"}, temp.path());
    ASSERT_EQ(install.status, 0) << install.err;
    EXPECT_TRUE(std::filesystem::exists(temp / "profile/rights.db"));

    const Outcome status =
        RunBinary({"--registry=" + registry, "status", temp / "song.dcf"}, temp.path());
    ASSERT_EQ(status.status, 0) << status.err;
    EXPECT_EQ(Field(status.out, "delivery: "), "separate delivery");
    EXPECT_EQ(Field(status.out, "type: "), "audio/mpeg");
    EXPECT_EQ(Field(status.out, "play: "), "Metered");
    EXPECT_EQ(Field(status.out, "display: "), "NotGranted");
    EXPECT_EQ(Field(status.out, "header: Rights-Issuer: "), "http://ri.test/");
    EXPECT_EQ(Field(status.out, "content key: "), "installed, decrypts the content");

    const Outcome list = RunBinary({"--store", temp / "profile/rights.db", "list"}, temp.path());
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("play: count 3; 3 left; Metered"), std::string::npos) << list.out;
}

struct StorePathCase {
    std::string store;
    std::string registry;
    std::string expected;
};

TEST(CommandLineTest, StorePathFollowsTheOptions) {
    const StorePathCase cases[] = {
        {"/x/own.db", "", "/x/own.db"},
        {"", "/home/u/.config/pictarium/registry.db", "/home/u/.config/pictarium/rights.db"},
        {"", "registry.db", "rights.db"},
        {"", "conf/registry.db", "conf/rights.db"},
    };
    for (const StorePathCase& c : cases)
        EXPECT_EQ(drmtool::ResolveStorePath(c.store, c.registry), c.expected) << c.registry;
}

}  // namespace
}  // namespace drmtest
