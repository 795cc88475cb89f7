// Every test of the shared UI helpers runs on its own device root and registry, so nothing a
// test writes reaches the user's.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace uitest {

class DeviceFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The host path of device path `devicePath` ("\a\b" → root/a/b).
    std::string Host(const std::string& devicePath) const;
    // Writes a small file at a device path.
    void Touch(const std::string& devicePath) const;

    testing_support::TempDir dir_;
};

}  // namespace uitest
