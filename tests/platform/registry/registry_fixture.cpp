#include "tests/platform/registry/registry_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace registry_test {

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/pictarium-reg-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void RegistryTest::SetUp() {
    ASSERT_TRUE(platform::ConfigureRegistry(RegistryFile()));
}

void RegistryTest::TearDown() {
    platform::CloseRegistry();
}

void RegistryTest::Create(const char16_t* subKey, ScopedKey& key) {
    ASSERT_EQ(LONG{ERROR_SUCCESS}, RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0,
                                                   KEY_ALL_ACCESS, nullptr, key.Out(), nullptr));
}

LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

LONG SetString(HKEY key, const char16_t* name, std::u16string_view text) {
    const std::u16string terminated(text);
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(terminated.c_str()),
                          static_cast<DWORD>((terminated.size() + 1) * sizeof(char16_t)));
}

DWORD GetDword(HKEY key, const char16_t* name, DWORD fallback) {
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG error =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    return error == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : fallback;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace registry_test
