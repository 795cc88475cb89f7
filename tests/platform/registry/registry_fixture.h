// A fresh registry file in a temporary folder for each test, and small helpers around the API.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

namespace registry_test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// An HKEY closed when the test is done with it.
class ScopedKey {
  public:
    ScopedKey() = default;
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ~ScopedKey() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }
    operator HKEY() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string RegistryFile() const { return (folder_.Path() / "registry.db").string(); }
    const std::filesystem::path& Folder() const { return folder_.Path(); }

    // Creates `subKey` under HKEY_CURRENT_USER, failing the test if that does not work.
    void Create(const char16_t* subKey, ScopedKey& key);

  private:
    TempFolder folder_;
};

LONG SetDword(HKEY key, const char16_t* name, DWORD value);
// Stores the text with its terminator, as the program does.
LONG SetString(HKEY key, const char16_t* name, std::u16string_view text);
// The DWORD, or `fallback` when it cannot be read as one.
DWORD GetDword(HKEY key, const char16_t* name, DWORD fallback);
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace registry_test
