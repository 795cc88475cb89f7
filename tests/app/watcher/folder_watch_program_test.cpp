// The real program following its folder on disk while another process changes it: files copied
// in, removed and renamed, the folder itself deleted, and the program closing with the watcher
// running.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::ChildProcess;
using testing_support::ReadFile;
using testing_support::WaitForText;

namespace fs = std::filesystem;

// The script writes the state this often, for this long; then the program is closed.
constexpr int kStateEveryMs = 100;
constexpr int kScriptMs = 12000;
// How long a change may take to show. The watcher looks once a second; the rest is slack for
// a loaded machine, not a speed target.
constexpr int kShowsWithinMs = 6000;

class FolderWatchProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Device() / "My Documents" / "Pics");
        fs::create_directories(Card() / "Trip");
        mkdir((dir_ / "runtime").c_str(), 0700);
        Write(Device() / "My Documents" / "Pics" / "keep.txt");
        Write(Device() / "My Documents" / "Pics" / "old.txt");
        Write(Card() / "Trip" / "card.txt");
        std::ofstream script(dir_ / "script.txt");
        for (int ms = 0; ms < kScriptMs; ms += kStateEveryMs)
            script << "wait " << kStateEveryMs << "\nstate " << State() << "\n";
        script << "quit\n";
    }

    fs::path Device() const { return fs::path(dir_ / "device"); }
    fs::path Card() const { return fs::path(dir_ / "card"); }
    std::string State() const { return dir_ / "state.json"; }
    std::string Log() const { return dir_ / "program.log"; }

    static void Write(const fs::path& path) { std::ofstream(path) << "some text\n"; }

    // Starts the program on device folder `request` (the handheld's request text).
    std::unique_ptr<ChildProcess> Start(const std::string& request,
                                        const std::string& script = "script.txt") {
        std::vector<std::string> argv = {
            PICTARIUM_BINARY, "--root",      Device().string(),    "--card",
            Card().string(),  "--registry",  dir_ / "registry.db", "--headless",
            "--script",       dir_ / script, "--debug-log",        Log(),
            request};
        auto child = std::make_unique<ChildProcess>(
            argv, std::vector<std::string>{"XDG_RUNTIME_DIR=" + (dir_ / "runtime")});
        return child;
    }

    // Polls the state the script keeps writing until it contains (or no longer contains) text.
    bool StateShows(const std::string& text, bool present = true) const {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kShowsWithinMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const bool found = ReadFile(State()).find(text) != std::string::npos;
            if (found == present)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(kStateEveryMs / 2));
        }
        return false;
    }

    testing_support::TempDir dir_;
};

std::string NameKey(const std::string& name) {
    return "\"name\":\"" + name + "\"";
}

TEST_F(FolderWatchProgramTest, FollowsChangesMadeByAnotherProcess) {
    auto program = Start(":path \"\\My Documents\\Pics\" :type DOCUMENT");
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(StateShows(NameKey("keep.txt"))) << ReadFile(State()) << ReadFile(Log());
    const fs::path folder = Device() / "My Documents" / "Pics";

    // Copied in by another program: listed.
    fs::copy_file(folder / "keep.txt", folder / "new.txt");
    EXPECT_TRUE(StateShows(NameKey("new.txt"))) << ReadFile(State());

    // Removed: no longer listed, the rest kept.
    fs::remove(folder / "new.txt");
    EXPECT_TRUE(StateShows(NameKey("new.txt"), false)) << ReadFile(State());
    EXPECT_NE(ReadFile(State()).find(NameKey("keep.txt")), std::string::npos);

    // Renamed: listed under the new name only.
    fs::rename(folder / "old.txt", folder / "renamed.txt");
    EXPECT_TRUE(StateShows(NameKey("renamed.txt"))) << ReadFile(State());
    EXPECT_EQ(ReadFile(State()).find(NameKey("old.txt")), std::string::npos);

    // Renamed to a kind the gallery does not list: gone.
    fs::rename(folder / "renamed.txt", folder / "renamed.bin");
    EXPECT_TRUE(StateShows(NameKey("renamed.txt"), false)) << ReadFile(State());
    EXPECT_EQ(ReadFile(State()).find(NameKey("renamed.bin")), std::string::npos);

    // The folder itself deleted: the phone root is shown.
    fs::remove_all(folder);
    EXPECT_TRUE(StateShows("\"folderPath\":\"\"")) << ReadFile(State());
    EXPECT_TRUE(StateShows(NameKey("My Documents"))) << ReadFile(State());

    // The script's end closes the program while the watcher runs: it ends cleanly.
    EXPECT_EQ(program->Wait(kScriptMs + 20000), 0) << ReadFile(Log());
    const std::string log = ReadFile(Log());
    EXPECT_NE(log.find("FolderChangeNoti - Enter"), std::string::npos);
    EXPECT_NE(log.find("FolderChangeNoti - Leave"), std::string::npos);
}

TEST_F(FolderWatchProgramTest, LosingACardFolderFallsBackToThePhone) {
    auto program = Start(":path \"\\Storage Card\\Trip\" :type DOCUMENT");
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(StateShows(NameKey("card.txt"))) << ReadFile(State()) << ReadFile(Log());

    fs::remove_all(Card() / "Trip");
    EXPECT_TRUE(StateShows(NameKey("card.txt"), false)) << ReadFile(State());
    const std::string state = ReadFile(State());
    // Back on the phone; no phone folder was visited, so its root.
    EXPECT_EQ(state.find("\"folderPath\":\"\\\\Storage Card"), std::string::npos) << state;
    EXPECT_TRUE(StateShows("\"folderPath\":\"\"")) << ReadFile(State());
    EXPECT_EQ(program->Wait(kScriptMs + 20000), 0) << ReadFile(Log());
}

// Whether the item `id` of the open menus in a state dump is enabled; -1 when it is not shown.
int MenuItemEnabled(const std::string& state, int id) {
    const size_t at = state.find("\"id\":" + std::to_string(id) + ",");
    if (at == std::string::npos)
        return -1;
    const size_t enabled = state.find("\"enabled\":", at);
    if (enabled == std::string::npos)
        return -1;
    return state.compare(enabled + 10, 4, "true") == 0 ? 1 : 0;
}

// The soft-key "Menu" opened in the real program shows the rules of the filter and the item.
TEST_F(FolderWatchProgramTest, MenuKeyShowsTheRulesOfTheCursorItem) {
    fs::create_directories(Device() / "Empty");
    {
        std::ofstream script(dir_ / "menu.txt");
        script << "wait 1500\nidle\nkey f2\nwait 300\nstate " << (dir_ / "menu.json")
               << "\nkey escape\nwait 100\nquit\n";
    }
    struct Case {
        const char* request;
        int deleteEnabled;
        int propertiesEnabled;
    };
    const Case cases[] = {
        {":path \"\\My Documents\\Pics\" :type DOCUMENT", 1, 1},
        {":path \"\\Empty\" :type DOCUMENT", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        fs::remove(dir_ / "menu.json");
        auto program = Start(c.request, "menu.txt");
        ASSERT_TRUE(program->started());
        EXPECT_EQ(program->Wait(30000), 0) << ReadFile(Log());
        const std::string state = ReadFile(dir_ / "menu.json");
        EXPECT_EQ(MenuItemEnabled(state, 32818), c.deleteEnabled) << state;
        EXPECT_EQ(MenuItemEnabled(state, 32831), c.propertiesEnabled) << state;
        // The document menu has neither slide show nor unlock.
        EXPECT_EQ(MenuItemEnabled(state, 32845), -1) << state;
        EXPECT_EQ(MenuItemEnabled(state, 32974), -1) << state;
    }
}

}  // namespace
