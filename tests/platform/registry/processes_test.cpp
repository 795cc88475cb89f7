// Several processes writing one registry file at once, as two program instances do at start-up.
#include <filesystem>
#include <set>
#include <string>

#include "platform/core/wstring.h"
#include "tests/platform/registry/child_process.h"
#include "tests/platform/registry/registry_fixture.h"

namespace registry_test {
namespace {

constexpr int kChildren = 4;
constexpr int kWrites = 60;

std::u16string ChildValueName(int child, int write) {
    return platform::FromUtf8("P" + std::to_string(child) + "-" + std::to_string(write));
}

// Each write opens the key the way the program does around "Loading": create, set, close.
int WriteAsChild(int child) {
    int failures = 0;
    for (int i = 0; i < kWrites; ++i) {
        ScopedKey key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Halvern\\Lumisto", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) != ERROR_SUCCESS) {
            ++failures;
            continue;
        }
        if (SetDword(key, ChildValueName(child, i).c_str(), DWORD(i)) != ERROR_SUCCESS)
            ++failures;
        if (SetDword(key, u"Loading", DWORD(child * 1000 + i)) != ERROR_SUCCESS)
            ++failures;
        if (GetDword(key, ChildValueName(child, i).c_str(), DWORD(-1)) != DWORD(i))
            ++failures;
    }
    return failures;
}

TEST_F(RegistryTest, ProcessesWriteConcurrentlyWithoutErrorsOrLostWrites) {
    // The parent has the file open when it forks; the children must not reuse its connection.
    ScopedKey parentKey;
    Create(u"Software\\Halvern\\Lumisto", parentKey);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(parentKey, u"Loading", 0));

    std::vector<std::function<int()>> bodies;
    for (int child = 0; child < kChildren; ++child) {
        bodies.push_back([child] { return WriteAsChild(child); });
    }
    EXPECT_EQ(std::vector<int>(kChildren, 0), RunChildren(bodies));

    for (int child = 0; child < kChildren; ++child) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(DWORD(i), GetDword(parentKey, ChildValueName(child, i).c_str(), DWORD(-1)))
                << "child " << child << " write " << i;
        }
    }
    // The shared value holds some child's last write.
    std::set<DWORD> lastWrites;
    for (int child = 0; child < kChildren; ++child)
        lastWrites.insert(child * 1000 + kWrites - 1);
    EXPECT_EQ(1u, lastWrites.count(GetDword(parentKey, u"Loading", DWORD(-1))));
}

// Two processes that find the same damaged file at once must move it aside only once: the later
// one must not move the first one's fresh registry away.
TEST_F(RegistryTest, ProcessesRecoveringTogetherReplaceTheFileOnce) {
    platform::CloseRegistry();
    const std::vector<std::uint8_t> garbage(5000, 'g');
    WriteFileBytes(RegistryFile(), garbage);

    std::vector<std::function<int()>> bodies;
    for (int child = 0; child < kChildren; ++child) {
        bodies.push_back([child] {
            ScopedKey key;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Recover", 0, nullptr, 0, 0, nullptr,
                                key.Out(), nullptr) != ERROR_SUCCESS) {
                return 1;
            }
            return SetDword(key, ChildValueName(child, 0).c_str(), 1) == ERROR_SUCCESS ? 0 : 1;
        });
    }
    EXPECT_EQ(std::vector<int>(kChildren, 0), RunChildren(bodies));

    int asideFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("registry.db.corrupt-") && !name.ends_with("-shm") &&
            !name.ends_with("-wal")) {
            ++asideFiles;
            EXPECT_EQ(garbage, ReadFileBytes(entry.path()));
        }
    }
    EXPECT_EQ(1, asideFiles);
    ScopedKey key;
    Create(u"Software\\Recover", key);
    for (int child = 0; child < kChildren; ++child) {
        EXPECT_EQ(DWORD{1}, GetDword(key, ChildValueName(child, 0).c_str(), 0)) << child;
    }
}

TEST_F(RegistryTest, KeyDeletedByAnotherProcessIsReportedHere) {
    ScopedKey key;
    Create(u"Software\\Shared\\Doomed", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"V", 1));
    const std::vector<std::function<int()>> deleter = {[] {
        return RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Shared\\Doomed") == ERROR_SUCCESS ? 0
                                                                                              : 1;
    }};
    ASSERT_EQ(std::vector<int>{0}, RunChildren(deleter));
    EXPECT_EQ(LONG{ERROR_KEY_DELETED}, SetDword(key, u"V", 2));
    DWORD size = 0;
    EXPECT_EQ(LONG{ERROR_KEY_DELETED},
              RegQueryValueExW(key, u"V", nullptr, nullptr, nullptr, &size));
}

}  // namespace
}  // namespace registry_test
