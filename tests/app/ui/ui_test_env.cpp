#include "tests/app/ui/ui_test_env.h"

#include <fstream>

#include "platform/fs/device.h"
#include "platform/registry/registry.h"

namespace uitest {

void DeviceFixture::SetUp() {
    ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", ""));
    ASSERT_TRUE(platform::ConfigureRegistry(dir_ / "registry.db"));
}

void DeviceFixture::TearDown() {
    platform::CloseRegistry();
}

std::string DeviceFixture::Host(const std::string& devicePath) const {
    std::string host = dir_ / "device";
    for (char c : devicePath)
        host += c == '\\' ? '/' : c;
    return host;
}

void DeviceFixture::Touch(const std::string& devicePath) const {
    std::ofstream(Host(devicePath)) << "x";
}

}  // namespace uitest
