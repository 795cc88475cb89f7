// A registry file that cannot be used: moved aside intact and replaced, reported once, and the
// program carries on; in memory when not even that works.
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/core/debug.h"
#include "tests/platform/registry/registry_fixture.h"

namespace registry_test {
namespace {

namespace fs = std::filesystem;

int CountReports(const std::string& output) {
    int count = 0;
    for (std::size_t at = output.find("Registry: "); at != std::string::npos;
         at = output.find("Registry: ", at + 1)) {
        ++count;
    }
    return count;
}

// Main files moved aside (not their -wal and -shm companions), oldest name first.
std::vector<fs::path> AsideFiles(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("registry.db.corrupt-") && !name.ends_with("-wal") &&
            !name.ends_with("-shm")) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

class RecoveryTest : public RegistryTest {
  protected:
    // Runs one registry call that must work whatever state the file was in.
    void UseRegistry(DWORD value) {
        ScopedKey key;
        Create(u"Software\\Halvern\\Lumisto", key);
        ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"Loading", value));
        EXPECT_EQ(value, GetDword(key, u"Loading", DWORD(-1)));
    }
};

TEST_F(RecoveryTest, GarbageFileIsMovedAsideWithItsLogAndReplaced) {
    const std::vector<std::uint8_t> garbage(6000, 0xA5);
    const std::vector<std::uint8_t> log = {'n', 'o', 't', ' ', 'a', ' ', 'l', 'o', 'g'};
    WriteFileBytes(RegistryFile(), garbage);
    WriteFileBytes(RegistryFile() + "-wal", log);

    platform::DebugOutputCapture capture;
    UseRegistry(1);
    const std::string output = capture.Utf8();
    EXPECT_EQ(1, CountReports(output)) << output;
    EXPECT_NE(std::string::npos, output.find(RegistryFile())) << output;

    const auto aside = AsideFiles(Folder());
    ASSERT_EQ(1u, aside.size());
    EXPECT_NE(std::string::npos, output.find(aside[0].string())) << output;
    EXPECT_EQ(garbage, ReadFileBytes(aside[0]));
    EXPECT_EQ(log, ReadFileBytes(aside[0].string() + "-wal"));
    EXPECT_TRUE(platform::RegistryIsPersistent());

    // The fresh file is an ordinary registry from now on.
    platform::CloseRegistry();
    UseRegistry(2);
    EXPECT_EQ(1, CountReports(capture.Utf8()));
}

TEST_F(RecoveryTest, DamagedDatabaseFailingItsCheckIsReplaced) {
    {
        ScopedKey key;
        Create(u"Software\\Bulk", key);
        const std::vector<std::uint8_t> data(200, 7);
        for (int i = 0; i < 200; ++i) {
            const std::u16string name = u"Value" + std::u16string(1, char16_t(u'A' + i % 26)) +
                                        std::u16string(i / 26 + 1, u'x');
            ASSERT_EQ(LONG{ERROR_SUCCESS},
                      RegSetValueExW(key, name.c_str(), 0, REG_BINARY, data.data(), 200));
        }
    }
    platform::CloseRegistry();
    std::vector<std::uint8_t> bytes = ReadFileBytes(RegistryFile());
    ASSERT_GT(bytes.size(), 4u * 4096);
    // Leave the first page (the schema) alone and wreck the tree pages after it.
    std::fill(bytes.begin() + 2 * 4096, bytes.end(), 0x5A);
    WriteFileBytes(RegistryFile(), bytes);

    platform::DebugOutputCapture capture;
    UseRegistry(3);
    EXPECT_EQ(1, CountReports(capture.Utf8())) << capture.Utf8();
    const auto aside = AsideFiles(Folder());
    ASSERT_EQ(1u, aside.size());
    EXPECT_EQ(bytes, ReadFileBytes(aside[0]));
    ScopedKey bulk;
    EXPECT_EQ(LONG{ERROR_FILE_NOT_FOUND},
              RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Bulk", 0, KEY_READ, bulk.Out()));
}

TEST_F(RecoveryTest, BadFilesInTheSameSecondAreAllKept) {
    const std::vector<std::uint8_t> first(100, '1');
    const std::vector<std::uint8_t> second(100, '2');
    WriteFileBytes(RegistryFile(), first);
    UseRegistry(1);
    platform::CloseRegistry();
    fs::remove(RegistryFile() + "-wal");
    fs::remove(RegistryFile() + "-shm");
    WriteFileBytes(RegistryFile(), second);
    UseRegistry(2);

    const auto aside = AsideFiles(Folder());
    ASSERT_EQ(2u, aside.size());
    EXPECT_EQ(first, ReadFileBytes(aside[0]));
    EXPECT_EQ(second, ReadFileBytes(aside[1]));
}

TEST_F(RecoveryTest, UnreplaceableFileFallsBackToMemoryAndSaysSoOnce) {
    // A plain file where the registry's folder should be: nothing can be created there.
    WriteFileBytes(Folder() / "blocked", {'x'});
    const std::string path = (Folder() / "blocked" / "registry.db").string();
    EXPECT_FALSE(platform::ConfigureRegistry(path));

    platform::DebugOutputCapture capture;
    UseRegistry(4);
    UseRegistry(5);
    EXPECT_FALSE(platform::RegistryIsPersistent());
    EXPECT_EQ(1, CountReports(capture.Utf8())) << capture.Utf8();
    EXPECT_NE(std::string::npos, capture.Utf8().find("memory")) << capture.Utf8();

    // Closing must not throw away the only copy of the settings.
    platform::CloseRegistry();
    ScopedKey key;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Halvern\\Lumisto",
                                                 0, KEY_READ, key.Out()));
    EXPECT_EQ(DWORD{5}, GetDword(key, u"Loading", 0));
}

TEST_F(RecoveryTest, NewerSchemaIsLeftUntouched) {
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open(RegistryFile().c_str(), &db));
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, "CREATE TABLE future(x); PRAGMA user_version = 99;",
                                          nullptr, nullptr, nullptr));
        sqlite3_close(db);
    }
    const std::vector<std::uint8_t> before = ReadFileBytes(RegistryFile());

    platform::DebugOutputCapture capture;
    UseRegistry(6);
    EXPECT_FALSE(platform::RegistryIsPersistent());
    EXPECT_EQ(1, CountReports(capture.Utf8())) << capture.Utf8();
    EXPECT_EQ(before, ReadFileBytes(RegistryFile()));
    EXPECT_TRUE(AsideFiles(Folder()).empty());
}

}  // namespace
}  // namespace registry_test
