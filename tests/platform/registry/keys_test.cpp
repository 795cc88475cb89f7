// Keys: creating, opening, deleting, enumerating, names and handles.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/wstring.h"
#include "tests/platform/registry/registry_fixture.h"

namespace registry_test {
namespace {

LONG Open(HKEY root, const char16_t* path, ScopedKey& key) {
    return RegOpenKeyExW(root, path, 0, KEY_READ, key.Out());
}

std::vector<std::u16string> SubkeyNames(HKEY key) {
    std::vector<std::u16string> names;
    WCHAR name[kMaxRegistryKeyNameLength + 1];
    for (DWORD i = 0;; ++i) {
        DWORD cch = static_cast<DWORD>(std::size(name));
        const LONG error = RegEnumKeyExW(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr);
        if (error != ERROR_SUCCESS) {
            EXPECT_EQ(LONG{ERROR_NO_MORE_ITEMS}, error);
            return names;
        }
        names.emplace_back(name, cch);
    }
}

TEST_F(RegistryTest, CreateMakesIntermediateKeysAndReportsDisposition) {
    ScopedKey first, second;
    DWORD disposition = 0;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Halvern\\Lumisto", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, first.Out(), &disposition));
    EXPECT_EQ(REG_CREATED_NEW_KEY, disposition);
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegCreateKeyExW(HKEY_CURRENT_USER, u"\\Software\\Halvern\\Lumisto\\", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, second.Out(), &disposition));
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(first, u"Loading", 1));
    EXPECT_EQ(DWORD{1}, GetDword(second, u"Loading", 0));

    ScopedKey middle;
    EXPECT_EQ(LONG{ERROR_SUCCESS}, Open(HKEY_CURRENT_USER, u"Software\\Halvern", middle));
    EXPECT_EQ(std::vector<std::u16string>{u"Lumisto"}, SubkeyNames(middle));
}

TEST_F(RegistryTest, OpenResolvesPathsAndReportsMissingKeys) {
    ScopedKey made;
    Create(u"Software\\Halvern\\Camera", made);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(made, u"StorageType", 2));
    struct {
        HKEY root;
        const char16_t* path;
        LONG result;
    } const cases[] = {
        {HKEY_CURRENT_USER, u"Software\\Halvern\\Camera", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, u"\\Software\\Halvern\\Camera", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, u"Software\\Halvern\\Camera\\", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, u"Software\\\\Halvern\\Camera", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, u"SOFTWARE\\halvern\\CAMERA", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, u"Software\\Halvern\\Camera\\Missing", ERROR_FILE_NOT_FOUND},
        {HKEY_CURRENT_USER, u"Software\\Halvern\\Camer", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, u"Software\\Halvern\\Camera", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        ScopedKey key;
        const LONG result = Open(c.root, c.path, key);
        EXPECT_EQ(c.result, result) << platform::ToUtf8(c.path);
        if (result == ERROR_SUCCESS) {
            EXPECT_EQ(DWORD{2}, GetDword(key, u"StorageType", 0));
        } else {
            EXPECT_EQ(nullptr, key.Get());
        }
    }
    ScopedKey relative;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, Open(HKEY_CURRENT_USER, u"Software", relative));
    ScopedKey below;
    EXPECT_EQ(LONG{ERROR_SUCCESS}, Open(relative, u"Halvern\\Camera", below));
    EXPECT_EQ(DWORD{2}, GetDword(below, u"StorageType", 0));
}

TEST_F(RegistryTest, NamesIgnoreCaseBeyondAsciiAndKeepTheirOwn) {
    ScopedKey made;
    Create(u"Software\\Ärger\\Ωmega\\Жук", made);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(made, u"Größe", 7));

    ScopedKey other;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, Open(HKEY_CURRENT_USER, u"software\\äRGER\\ωMEGA\\жУК", other));
    EXPECT_EQ(DWORD{7}, GetDword(other, u"gRÖße", 0));

    ScopedKey parent;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, Open(HKEY_CURRENT_USER, u"SOFTWARE\\ärger", parent));
    EXPECT_EQ(std::vector<std::u16string>{u"Ωmega"}, SubkeyNames(parent));

    DWORD disposition = 0;
    ScopedKey again;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\ÄRGER\\ΩMEGA", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, again.Out(), &disposition));
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
}

TEST_F(RegistryTest, EnumerationIsOrderedIgnoringCaseAndEndsCleanly) {
    ScopedKey key;
    Create(u"Software\\Order", key);
    for (const char16_t* name : {u"beta", u"Alpha", u"GAMMA", u"alpine"}) {
        ScopedKey child;
        ASSERT_EQ(LONG{ERROR_SUCCESS}, RegCreateKeyExW(key, name, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                       nullptr, child.Out(), nullptr));
        ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, name, 1));
    }
    const std::vector<std::u16string> expected = {u"Alpha", u"alpine", u"beta", u"GAMMA"};
    EXPECT_EQ(expected, SubkeyNames(key));

    for (DWORD i = 0; i < expected.size(); ++i) {
        WCHAR name[16];
        DWORD cch = 16;
        ASSERT_EQ(LONG{ERROR_SUCCESS},
                  RegEnumValueW(key, i, name, &cch, nullptr, nullptr, nullptr, nullptr));
        EXPECT_EQ(expected[i], std::u16string(name, cch));
    }
    for (DWORD past : {DWORD{4}, DWORD{5}, DWORD{0xFFFFFFFF}}) {
        WCHAR name[16];
        DWORD cch = 16;
        EXPECT_EQ(LONG{ERROR_NO_MORE_ITEMS},
                  RegEnumKeyExW(key, past, name, &cch, nullptr, nullptr, nullptr, nullptr));
        cch = 16;
        EXPECT_EQ(LONG{ERROR_NO_MORE_ITEMS},
                  RegEnumValueW(key, past, name, &cch, nullptr, nullptr, nullptr, nullptr));
    }
}

TEST_F(RegistryTest, EnumerationBuffersFollowWin32Rules) {
    ScopedKey key;
    Create(u"Software\\Sizes", key);
    ScopedKey child;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegCreateKeyExW(key, u"Child", 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, child.Out(), nullptr));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetString(key, u"Value", u"0123456789"));

    struct {
        DWORD cch;
        LONG result;
        DWORD cchOut;
    } const nameCases[] = {{6, ERROR_SUCCESS, 5}, {5, ERROR_MORE_DATA, 5}, {1, ERROR_MORE_DATA, 1}};
    for (const auto& c : nameCases) {
        WCHAR name[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
        DWORD cch = c.cch;
        EXPECT_EQ(c.result, RegEnumKeyExW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr));
        EXPECT_EQ(c.cchOut, cch);
        EXPECT_EQ(u'#', name[c.cch]) << "wrote past " << c.cch << " characters";
        cch = c.cch;
        EXPECT_EQ(c.result, RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr));
        EXPECT_EQ(c.cchOut, cch);
    }

    WCHAR name[8];
    DWORD cch = 8;
    DWORD type = 0;
    BYTE data[10];
    DWORD cbData = sizeof data;
    EXPECT_EQ(LONG{ERROR_MORE_DATA},
              RegEnumValueW(key, 0, name, &cch, nullptr, &type, data, &cbData));
    EXPECT_EQ(DWORD{22}, cbData);
    EXPECT_EQ(REG_SZ, type);
    cch = 8;
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER},
              RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, data, nullptr));
}

TEST_F(RegistryTest, QueryInfoCountsAndMeasures) {
    ScopedKey key;
    Create(u"Software\\Info", key);
    for (const char16_t* name : {u"a", u"longest-key"}) {
        ScopedKey child;
        ASSERT_EQ(LONG{ERROR_SUCCESS}, RegCreateKeyExW(key, name, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                       nullptr, child.Out(), nullptr));
    }
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"Loading", 1));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetString(key, u"x", u"twelve chars"));

    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    FILETIME written{};
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                               &values, &maxValueName, &maxValue, nullptr, &written));
    EXPECT_EQ(DWORD{2}, subKeys);
    EXPECT_EQ(DWORD{11}, maxSubKey);
    EXPECT_EQ(DWORD{2}, values);
    EXPECT_EQ(DWORD{7}, maxValueName);
    EXPECT_EQ(DWORD{26}, maxValue);
    EXPECT_NE(DWORD{0}, written.dwHighDateTime);

    ScopedKey empty;
    Create(u"Software\\Info\\a", empty);
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegQueryInfoKeyW(empty, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                               &values, &maxValueName, &maxValue, nullptr, nullptr));
    EXPECT_EQ(DWORD{0}, subKeys + maxSubKey + values + maxValueName + maxValue);
}

TEST_F(RegistryTest, DeleteKeyRules) {
    ScopedKey parent;
    Create(u"Software\\Del\\Child", parent);
    ScopedKey top;
    ASSERT_EQ(LONG{ERROR_SUCCESS}, Open(HKEY_CURRENT_USER, u"Software\\Del", top));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(top, u"V", 1));

    EXPECT_EQ(LONG{ERROR_ACCESS_DENIED}, RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Del"));
    EXPECT_EQ(LONG{ERROR_FILE_NOT_FOUND}, RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Nope"));
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER}, RegDeleteKeyW(HKEY_CURRENT_USER, nullptr));
    EXPECT_EQ(LONG{ERROR_ACCESS_DENIED}, RegDeleteKeyW(HKEY_CURRENT_USER, u""));
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegDeleteKeyW(top, u"CHILD"));
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Del"));

    // Recreating the key must not bring back the old values.
    ScopedKey again;
    Create(u"Software\\Del", again);
    EXPECT_EQ(DWORD{0}, GetDword(again, u"V", 0));
}

// Every call on a handle whose key is gone reports it, whoever deleted the key.
TEST_F(RegistryTest, HandleToDeletedKeyReportsKeyDeleted) {
    ScopedKey doomed;
    Create(u"Software\\Doomed", doomed);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(doomed, u"V", 1));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegDeleteValueW(doomed, u"V"));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Doomed"));
    ScopedKey replacement;
    Create(u"Software\\Doomed", replacement);

    const HKEY key = doomed;
    WCHAR name[16];
    DWORD cch = 16;
    DWORD size = 4;
    HKEY out = nullptr;
    const std::function<LONG()> calls[] = {
        [&] { return SetDword(key, u"V", 2); },
        [&] { return RegQueryValueExW(key, u"V", nullptr, nullptr, nullptr, &size); },
        [&] { return RegDeleteValueW(key, u"V"); },
        [&] { return RegEnumKeyExW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr); },
        [&] { return RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr); },
        [&] { return RegOpenKeyExW(key, u"", 0, KEY_READ, &out); },
        [&] { return RegCreateKeyExW(key, u"Sub", 0, nullptr, 0, 0, nullptr, &out, nullptr); },
        [&] { return RegDeleteKeyW(key, u"Sub"); },
        [&] {
            return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr);
        },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        EXPECT_EQ(LONG{ERROR_KEY_DELETED}, calls[i]()) << "call " << i;
    }
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegCloseKey(key));
    *doomed.Out() = nullptr;
}

TEST_F(RegistryTest, UnknownAndClosedHandlesAreRefused) {
    ScopedKey key;
    Create(u"Software\\Handles", key);
    HKEY closed = key.Get();
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegCloseKey(closed));
    *key.Out() = nullptr;

    DWORD size = 4;
    for (HKEY bad : {closed, static_cast<HKEY>(nullptr), reinterpret_cast<HKEY>(0x1234)}) {
        EXPECT_EQ(LONG{ERROR_INVALID_HANDLE}, RegCloseKey(bad));
        EXPECT_EQ(LONG{ERROR_INVALID_HANDLE}, SetDword(bad, u"V", 1));
        EXPECT_EQ(LONG{ERROR_INVALID_HANDLE},
                  RegQueryValueExW(bad, u"V", nullptr, nullptr, nullptr, &size));
        HKEY out = nullptr;
        EXPECT_EQ(LONG{ERROR_INVALID_HANDLE}, RegOpenKeyExW(bad, u"", 0, KEY_READ, &out));
        EXPECT_EQ(LONG{ERROR_INVALID_HANDLE}, RegFlushKey(bad));
    }

    // Roots survive being closed, and reopening a root gives the root back.
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegCloseKey(HKEY_CURRENT_USER));
    HKEY root = nullptr;
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &root));
    EXPECT_EQ(HKEY_CURRENT_USER, root);
    EXPECT_EQ(LONG{ERROR_SUCCESS}, SetDword(HKEY_CURRENT_USER, u"AtRoot", 3));
    EXPECT_EQ(DWORD{3}, GetDword(HKEY_CURRENT_USER, u"AtRoot", 0));
}

TEST_F(RegistryTest, KeyNameLengthLimit) {
    const std::u16string longest(kMaxRegistryKeyNameLength, u'k');
    ScopedKey fits;
    EXPECT_EQ(LONG{ERROR_SUCCESS}, RegCreateKeyExW(HKEY_CURRENT_USER, longest.c_str(), 0, nullptr,
                                                   0, 0, nullptr, fits.Out(), nullptr));
    const std::u16string tooLong = u"Software\\" + longest + u"k";
    ScopedKey refused;
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER},
              RegCreateKeyExW(HKEY_CURRENT_USER, tooLong.c_str(), 0, nullptr, 0, 0, nullptr,
                              refused.Out(), nullptr));
    EXPECT_EQ(LONG{ERROR_INVALID_PARAMETER}, Open(HKEY_CURRENT_USER, tooLong.c_str(), refused));
}

// Names are UTF-16 as given, including text that UTF-8 could not carry.
TEST_F(RegistryTest, LoneSurrogatesSurviveInNames) {
    const std::u16string odd = {u'a', char16_t{0xD800}, u'b'};
    ScopedKey key;
    Create(u"Software\\Odd", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, odd.c_str(), 9));
    WCHAR name[8];
    DWORD cch = 8;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegEnumValueW(key, 0, name, &cch, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(odd, std::u16string(name, cch));
}

TEST_F(RegistryTest, ValuesSurviveClosingAndReconfiguringTheRegistry) {
    ScopedKey key;
    Create(u"Software\\Halvern\\Lumisto", key);
    ASSERT_EQ(LONG{ERROR_SUCCESS}, SetDword(key, u"Loading", 1));
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegFlushKey(key));

    platform::CloseRegistry();  // open keys stay usable
    EXPECT_EQ(DWORD{1}, GetDword(key, u"Loading", 0));

    ASSERT_TRUE(platform::ConfigureRegistry(RegistryFile()));  // open keys are closed
    EXPECT_EQ(LONG{ERROR_INVALID_HANDLE}, SetDword(key, u"Loading", 0));
    *key.Out() = nullptr;
    ScopedKey reopened;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              Open(HKEY_CURRENT_USER, u"Software\\Halvern\\Lumisto", reopened));
    EXPECT_EQ(DWORD{1}, GetDword(reopened, u"Loading", 0));
    EXPECT_EQ(RegistryFile(), platform::RegistryPath());
    EXPECT_TRUE(platform::RegistryIsPersistent());
}

TEST_F(RegistryTest, ThreadsShareHandlesSafely) {
    ScopedKey key;
    Create(u"Software\\Threads", key);
    constexpr int kThreads = 4;
    constexpr int kWrites = 100;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kWrites; ++i) {
                const std::u16string name =
                    platform::FromUtf8("T" + std::to_string(t) + "-" + std::to_string(i));
                if (SetDword(key, name.c_str(), DWORD(i)) != ERROR_SUCCESS)
                    ++failures[t];
                if (GetDword(key, name.c_str(), DWORD(-1)) != DWORD(i))
                    ++failures[t];
                ScopedKey own;
                if (RegOpenKeyExW(key, u"", 0, KEY_READ, own.Out()) != ERROR_SUCCESS)
                    ++failures[t];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(std::vector<int>(kThreads, 0), failures);
    DWORD values = 0;
    ASSERT_EQ(LONG{ERROR_SUCCESS},
              RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(DWORD{kThreads * kWrites}, values);
}

}  // namespace
}  // namespace registry_test
