// Two real program instances: the second hands its request to the first and exits.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/reg_key.h"
#include "platform/registry/registry.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ChildProcess;
using testing_support::ReadFile;
using testing_support::RunProcess;
using testing_support::WaitForText;

struct HandoverCase {
    const char* name;
    bool busy;               // "Loading" is 1 when the second start comes
    std::string request;     // the second start's request text
    std::string folder;      // the first instance's folder afterwards
    std::string typeFilter;  // and its filter
    bool received;           // the first instance took the request
};

class HandoverTest : public ::testing::TestWithParam<HandoverCase> {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_ / "device/My Documents/My Pictures/Trip");
        mkdir((dir_ / "runtime").c_str(), 0700);
    }

    std::vector<std::string> Command(const std::vector<std::string>& extra) const {
        std::vector<std::string> argv = {PICTARIUM_BINARY,     "--root",
                                         dir_ / "device",      "--registry",
                                         dir_ / "registry.db", "--headless"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        return argv;
    }
    std::vector<std::string> Environment() const {
        return {"XDG_RUNTIME_DIR=" + (dir_ / "runtime")};
    }

    testing_support::TempDir dir_;
};

TEST_P(HandoverTest, SecondStartHandsItsRequestOver) {
    const HandoverCase& c = GetParam();
    {
        std::ofstream script(dir_ / "first.txt");
        script << "wait 4000\nstate " << (dir_ / "state.json") << "\nquit\n";
    }
    const std::string log = dir_ / "first.log";
    ChildProcess first(Command({"--script", dir_ / "first.txt", "--debug-log", log,
                                ":path \"\\My Documents\" :type IMAGE"}),
                       Environment());
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(WaitForText(log, "WinMain7==> Initailize() : done", 20000)) << ReadFile(log);

    if (c.busy) {
        platform::ConfigureRegistry(dir_ / "registry.db");
        CRegKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Lumisto"));
        ASSERT_TRUE(key.SetDword(u"Loading", 1));
    }
    std::vector<std::string> second = Command({"--debug-log", dir_ / "second.log"});
    if (!c.request.empty())
        second.push_back(c.request);
    EXPECT_EQ(RunProcess(second, Environment(), 15000), 0);

    ASSERT_EQ(first.Wait(30000), 0);
    const std::string state = ReadFile(dir_ / "state.json");
    EXPECT_NE(state.find("\"folder\":" + c.folder), std::string::npos) << state;
    EXPECT_NE(state.find("\"typeFilter\":\"" + c.typeFilter + "\""), std::string::npos) << state;
    const std::string firstLog = ReadFile(log);
    EXPECT_EQ(firstLog.find("Main : WM_COPYDATA : context setting") != std::string::npos,
              c.received)
        << firstLog;
    if (c.received && !c.busy) {
        EXPECT_NE(ReadFile(dir_ / "second.log").find("WM_COPYDATA Finished"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, HandoverTest,
    ::testing::Values(HandoverCase{"ExplicitRequestIsApplied", false,
                                   ":path \"\\My Documents\\My Pictures\\Trip\" :type MUSIC",
                                   R"("\\My Documents\\My Pictures\\Trip")", "0x1001", true},
                      HandoverCase{"PlainStartOnlyRaisesTheBrowser", false, "",
                                   R"("\\My Documents")", "0x11", true},
                      HandoverCase{"BusyInstanceDropsTheRequest", true,
                                   ":path \"\\My Documents\\My Pictures\\Trip\" :type MUSIC",
                                   R"("\\My Documents")", "0x11", false}),
    [](const ::testing::TestParamInfo<HandoverCase>& info) { return info.param.name; });

TEST(HostCommandLineTest, PathOutsideTheDeviceIsAnError) {
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir / "device");
    std::filesystem::create_directories(dir / "elsewhere");
    const std::vector<std::string> argv = {PICTARIUM_BINARY, "--root",     dir / "device",
                                           "--registry",     dir / "r.db", "--parse-only",
                                           dir / "elsewhere"};
    EXPECT_EQ(RunProcess(argv, {}, 15000), 2);
}

}  // namespace
