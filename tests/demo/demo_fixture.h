// One demo device generated for the whole test program (the pictures take a few seconds), with
// its device root, card and rights store configured, and ways to read its files back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"
#include "tests/support/temp_dir.h"

namespace demo_test {

class DemoDeviceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static std::string Root();
    static std::string Card();
    // Host path below the root of a '/'-separated relative path.
    static std::string Host(const std::string& relative);
    // The device path ("\My Documents\...") of a relative path below the root.
    static std::u16string Device(const std::string& relative);
    static std::vector<std::uint8_t> Bytes(const std::string& relative);

    // Decodes the file through the imaging service at its own size; false when it will not.
    bool Decode(const std::string& relative, int* width, int* height);

    ComPtr<IImagingFactory> factory_;

  private:
    static testing_support::TempDir* temp_;
};

}  // namespace demo_test
