#include "fs_test_support.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/handle.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/fs/find.h"

namespace fs_test {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name))
        saved_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (saved_) {
        ::setenv(name_.c_str(), saved_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

TempDir::TempDir(const std::string& base) {
    std::string pattern = base + "/fs-test-XXXXXX";
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
    if (path_.empty())
        ADD_FAILURE() << "mkdtemp in " << base << " failed";
}

TempDir::~TempDir() {
    if (path_.empty())
        return;
    std::error_code ignored;
    // Read-only files left by a test must not stop the clean-up.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteHostFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool HostExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

void MakeHostDir(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    ASSERT_FALSE(error) << path << ": " << error.message();
}

std::vector<std::string> HostNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> FindNames(const WCHAR* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(platform::ToUtf8(data.cFileName));
    } while (FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(find));
    std::sort(names.begin(), names.end());
    return names;
}

DeviceTest::DeviceTest()
    : home_(temp_.Path() + "/home"),
      homeEnv_("HOME", home_),
      dataEnv_("XDG_DATA_HOME", home_ + "/.local/share"),
      configEnv_("XDG_CONFIG_HOME", home_ + "/.config"),
      root_(temp_.Path() + "/device") {}

void DeviceTest::SetUp() {
    MakeHostDir(home_);
    ASSERT_TRUE(platform::ConfigureDevice(root_, ""));
}

std::string DeviceTest::Root(const std::string& relative) const {
    return root_ + relative;
}

void DeviceTest::UseCard(const std::string& cardHost) {
    ASSERT_TRUE(platform::ConfigureDevice(root_, cardHost));
}

}  // namespace fs_test
