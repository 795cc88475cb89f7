#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "app/host/device_state.h"
#include "app/reg_key.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr const char16_t* kSlotKey = u"Drivers\\Active\\ExpSlot";

enum class Stale { None, DwordZero, DwordOther, String };

// Leaves "sckt" as an earlier run might have, then closes the registry so that the next use
// reads it back from the file as a new run would.
void LeaveStaleValue(Stale stale) {
    if (stale == Stale::None)
        return;
    CRegKey slot;
    ASSERT_TRUE(slot.Create(HKEY_LOCAL_MACHINE, kSlotKey));
    if (stale == Stale::String) {
        ASSERT_TRUE(slot.SetString(u"sckt", u"0"));
    } else {
        ASSERT_TRUE(slot.SetDword(u"sckt", stale == Stale::DwordZero ? 0 : 3));
    }
    ASSERT_TRUE(slot.SetString(u"Name", u"slot driver"));
    slot.Close();
    platform::CloseRegistry();
}

// The program's reading: the card is in when the DWORD read succeeds and gives 0.
bool ReadsAsPresent() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSlotKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 1;
    DWORD type = REG_NONE;
    DWORD size = sizeof(value);
    const LONG result =
        RegQueryValueExW(key, u"sckt", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value == 0;
}

bool ValueExists() {
    CRegKey slot;
    return slot.Open(HKEY_LOCAL_MACHINE, kSlotKey) && slot.HasValue(u"sckt");
}

// Waits for the watcher's next checks; the bound is generous and only keeps a broken watcher
// from hanging the run.
bool Eventually(const std::function<bool()>& condition) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class CardStateTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(platform::ConfigureRegistry(dir_ / "registry.db")); }
    void TearDown() override { platform::CloseRegistry(); }

    std::string Card() const { return dir_ / "card"; }

    testing_support::TempDir dir_;
};

TEST_F(CardStateTest, StartUpWritesOrClearsThePresence) {
    enum class CardAt { None, Folder, FolderMissing };
    struct StartCase {
        const char* name;
        Stale stale;
        CardAt card;
        bool present;
    };
    const StartCase cases[] = {
        {"card, nothing before", Stale::None, CardAt::Folder, true},
        {"card, stale other value", Stale::DwordOther, CardAt::Folder, true},
        {"card, stale string", Stale::String, CardAt::Folder, true},
        {"no card, nothing before", Stale::None, CardAt::None, false},
        {"no card, left by a run with a card", Stale::DwordZero, CardAt::None, false},
        {"no card, stale other value", Stale::DwordOther, CardAt::None, false},
        {"card folder missing, left by a run with it", Stale::DwordZero, CardAt::FolderMissing,
         false},
    };
    int run = 0;
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh registry file per case, as each case is a device of its own.
        ASSERT_TRUE(
            platform::ConfigureRegistry(dir_ / ("registry-" + std::to_string(++run) + ".db")));
        LeaveStaleValue(c.stale);
        std::filesystem::remove_all(Card());
        if (c.card == CardAt::Folder)
            std::filesystem::create_directories(Card());
        ASSERT_TRUE(
            platform::ConfigureDevice(dir_ / "device", c.card == CardAt::None ? "" : Card()));

        const StorageCardWatcher watcher;
        EXPECT_EQ(ReadsAsPresent(), c.present);
        EXPECT_EQ(ValueExists(), c.present);
        // Only the one value is the watcher's; the key's other values stay.
        if (c.stale != Stale::None) {
            CRegKey slot;
            ASSERT_TRUE(slot.Open(HKEY_LOCAL_MACHINE, kSlotKey));
            EXPECT_TRUE(slot.HasValue(u"Name"));
        }
    }
}

TEST_F(CardStateTest, ValueFollowsTheCardFolderWhileRunning) {
    std::filesystem::create_directories(Card() + "/DCIM");
    ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", Card()));
    const StorageCardWatcher watcher;
    ASSERT_TRUE(ReadsAsPresent());

    std::filesystem::remove_all(Card());
    EXPECT_TRUE(Eventually([] { return !ValueExists(); }));

    std::filesystem::create_directories(Card());
    EXPECT_TRUE(Eventually(ReadsAsPresent));

    // And again: the watcher keeps following after a full round.
    std::filesystem::remove_all(Card());
    EXPECT_TRUE(Eventually([] { return !ValueExists(); }));
    std::filesystem::create_directories(Card());
    EXPECT_TRUE(Eventually(ReadsAsPresent));
}

TEST_F(CardStateTest, PublishingIsIdempotent) {
    struct PublishCase {
        bool first;
        bool second;
    };
    const PublishCase cases[] = {{true, true}, {false, false}, {true, false}, {false, true}};
    for (const PublishCase& c : cases) {
        SCOPED_TRACE(std::string(c.first ? "in" : "out") + " then " + (c.second ? "in" : "out"));
        EXPECT_TRUE(PublishStorageCardState(c.first));
        EXPECT_TRUE(PublishStorageCardState(c.second));
        EXPECT_EQ(ReadsAsPresent(), c.second);
        EXPECT_EQ(ValueExists(), c.second);
    }
}

}  // namespace
