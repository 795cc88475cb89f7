// A throw-away device per test: a temporary root (and card) with HOME and the XDG folders moved
// into the same temporary tree, so no test ever sees or touches the real user's files.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace fs_test {

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

// A temporary host folder removed with everything in it.
class TempDir {
  public:
    explicit TempDir(const std::string& base = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

void WriteHostFile(const std::string& path, const std::string& content);
std::string ReadHostFile(const std::string& path);
bool HostExists(const std::string& path);
void MakeHostDir(const std::string& path);
// Names in a host folder, sorted.
std::vector<std::string> HostNames(const std::string& folder);
// Every name of a FindFirstFileW/FindNextFileW walk over `pattern`, sorted, as UTF-8.
std::vector<std::string> FindNames(const WCHAR* pattern);

// A configured device with a fresh root; HOME, XDG_DATA_HOME and XDG_CONFIG_HOME point into
// the same temporary tree.
class DeviceTest : public ::testing::Test {
  protected:
    DeviceTest();
    void SetUp() override;

    // The root's host path, with `relative` appended ("/My Documents/a.jpg").
    std::string Root(const std::string& relative = "") const;
    // Configures again with a card at `cardHost`.
    void UseCard(const std::string& cardHost);

    TempDir temp_;
    std::string home_;
    ScopedEnv homeEnv_;
    ScopedEnv dataEnv_;
    ScopedEnv configEnv_;
    std::string root_;
};

}  // namespace fs_test
