// Opening device files with their host program: the refusals, a real detached launch through the
// hand-off table, and whether the shell reports itself ready.
#include "platform/shell/shell_execute.h"

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/core/error.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "shell_test_support.h"
#include "tests/support/temp_dir.h"

namespace shelltest {
namespace {

using namespace std::chrono_literals;


class ShellExecuteTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", ""));
        ASSERT_TRUE(platform::ConfigureRegistry(dir_ / "registry.db"));
        std::filesystem::create_directories(dir_ / "device/Music");
        std::ofstream(dir_ / "device/Music/Song.WAV") << "RIFF";
        std::ofstream(dir_ / "device/Music/notes.txt") << "text";
        // Writes its second argument (the file opened) into the file its first one names.
        script_ = dir_ / "record.sh";
        std::ofstream(script_) << "#!/bin/sh\nprintf '%s' \"$2\" > \"$1.part\" && mv \"$1.part\" "
                                  "\"$1\"\n";
        std::filesystem::permissions(script_, std::filesystem::perms::owner_all);
    }
    void TearDown() override { platform::CloseRegistry(); }

    static void SetEntry(const std::u16string& name, const std::string& command) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Pictarium\\Open", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::u16string text = std::u16string(command.begin(), command.end());
        ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static SHELLEXECUTEINFO Record(LPCWSTR file, LPCWSTR verb = nullptr) {
        SHELLEXECUTEINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = verb;
        info.lpFile = file;
        return info;
    }

    // The file's text once it appears, or "" when it did not within the deadline.
    static std::string WaitForFile(const std::string& path) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(path);
            if (in) {
                std::stringstream text;
                text << in.rdbuf();
                return text.str();
            }
            std::this_thread::sleep_for(10ms);
        }
        return {};
    }

    // Children of this process that ended and were never reaped.
    static int ZombieChildren() {
        int zombies = 0;
        DIR* proc = opendir("/proc");
        while (const dirent* entry = proc ? readdir(proc) : nullptr) {
            std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
            std::string line;
            if (!std::getline(stat, line))
                continue;
            // pid (comm) state ppid: the name may hold blanks, so read after its last ')'.
            std::istringstream rest(line.substr(line.rfind(')') + 1));
            char state = 0;
            long ppid = 0;
            rest >> state >> ppid;
            zombies += state == 'Z' && ppid == getpid();
        }
        if (proc)
            closedir(proc);
        return zombies;
    }

    testing_support::TempDir dir_;
    std::string script_;
};

TEST_F(ShellExecuteTest, RefusesWithTheMatchingError) {
    SetEntry(u"*", script_ + " " + (dir_ / "never"));
    struct Case {
        const char* name;
        SHELLEXECUTEINFO info;
        DWORD error;
    };
    SHELLEXECUTEINFO shortRecord = Record(u"\\Music\\notes.txt");
    shortRecord.cbSize = sizeof(SHELLEXECUTEINFO) - 4;
    const Case cases[] = {
        {"wrong size", shortRecord, ERROR_INVALID_PARAMETER},
        {"no file", Record(nullptr), ERROR_INVALID_PARAMETER},
        {"empty file", Record(u""), ERROR_INVALID_PARAMETER},
        {"edit verb", Record(u"\\Music\\notes.txt", u"edit"), ERROR_NOT_SUPPORTED},
        {"print verb", Record(u"\\Music\\notes.txt", u"print"), ERROR_NOT_SUPPORTED},
        {"missing file", Record(u"\\Music\\gone.txt"), ERROR_FILE_NOT_FOUND},
        {"missing folder", Record(u"\\Nowhere\\a.txt"), ERROR_FILE_NOT_FOUND},
        {"escapes the root", Record(u"\\Music\\..\\..\\registry.db"), ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SHELLEXECUTEINFO info = c.info;
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteEx(&info));
        EXPECT_EQ(GetLastError(), c.error);
    }
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteEx(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "never"));
}

TEST_F(ShellExecuteTest, CommandThatCannotStartHasNoAssociation) {
    struct Case {
        const char* name;
        std::string command;
    };
    const Case cases[] = {
        {"missing program", dir_ / "no-such-program"},
        {"not executable", dir_ / "device/Music/notes.txt"},
        {"unknown name on the path", "pictarium-no-such-opener-program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetEntry(u".txt", c.command);
        SHELLEXECUTEINFO info = Record(u"\\Music\\notes.txt");
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteEx(&info));
        EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    }
}

TEST_F(ShellExecuteTest, LaunchesTheExtensionEntryBeforeTheCatchAll) {
    const std::string byExtension = dir_ / "by-extension";
    const std::string byAny = dir_ / "by-any";
    SetEntry(u".wav", script_ + "  " + byExtension);
    SetEntry(u"*", "\t" + script_ + " " + byAny + " ");

    // The extension is matched whatever its case; "Open" is the open verb.
    SHELLEXECUTEINFO song = Record(u"\\music\\song.wav", u"Open");
    ASSERT_TRUE(ShellExecuteEx(&song));
    EXPECT_GT(reinterpret_cast<INT_PTR>(song.hInstApp), 32);
    EXPECT_EQ(WaitForFile(byExtension), dir_ / "device/Music/Song.WAV");

    SHELLEXECUTEINFO notes = Record(u"\\Music\\notes.txt");
    ASSERT_TRUE(ShellExecuteEx(&notes));
    EXPECT_EQ(WaitForFile(byAny), dir_ / "device/Music/notes.txt");

    // Both children have ended by now; the waiter reaps them.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (ZombieChildren() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ZombieChildren(), 0);
}

TEST_F(ShellExecuteTest, BlankEntryFallsBackToTheCatchAll) {
    const std::string byAny = dir_ / "by-any";
    SetEntry(u".txt", "   ");
    SetEntry(u"*", script_ + " " + byAny);
    SHELLEXECUTEINFO notes = Record(u"\\Music\\notes.txt");
    ASSERT_TRUE(ShellExecuteEx(&notes));
    EXPECT_EQ(WaitForFile(byAny), dir_ / "device/Music/notes.txt");
}

class ShellReadyTest : public ShellTest {};

TEST_F(ShellReadyTest, ShellIsReadyOnceStarted) {
    EXPECT_FALSE(IsAPIReady(0));
    EXPECT_FALSE(IsAPIReady(SH_SHELL + 1));
    platform::StartShell();
    const HWND front = CreateFront(RECT{0, 26, 240, 374});
    EXPECT_TRUE(IsAPIReady(SH_SHELL));
    EXPECT_FALSE(IsAPIReady(SH_SHELL + 1));
    DestroyWindow(front);
}

}  // namespace
}  // namespace shelltest
