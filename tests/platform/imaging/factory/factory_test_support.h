// Shared pieces of the factory tests: a device root with pictures made by ImageMagick, the
// factory as the program creates it, and reading pixels back out of the service's objects.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace factory_test {

using testing_support::RgbaPicture;

// A fresh device root per test; pictures live in "\My Documents".
class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Makes "\My Documents\<name>" with ImageMagick's convert (`args` then the output path,
    // behind `outputPrefix` such as "BMP3:").
    void MakePicture(const std::string& name, const std::vector<std::string>& args,
                     const std::string& outputPrefix = "");
    // Host path and device path of "\My Documents\<name>".
    std::string HostPath(const std::string& name) const;
    static std::u16string DevicePath(const std::string& name);
    // The names in the pictures' folder, to look for left-over temporary files.
    std::vector<std::string> FolderEntries() const;

    ComPtr<IImagingFactory> factory_;

  private:
    testing_support::TempDir root_;
};

// The class id of the installed encoder that `matches`, as the program looks it up.
bool FindEncoderClsid(IImagingFactory* factory, const std::u16string& mimeType, CLSID* clsid);
bool FindEncoderClsidByFormat(IImagingFactory* factory, const GUID& format, CLSID* clsid);

// The image's pixels as RGBA, through a 32bppARGB bitmap of its own size.
bool ReadImagePixels(IImagingFactory* factory, IImage* image, RgbaPicture* out);
bool ReadBitmapPixels(IBitmapImage* bitmap, RgbaPicture* out);

// Pushes `image` into a new encoder `clsid` writing to the device path `path`, JPEG quality
// `quality` when not negative; the encoder is released at the end, as the program does.
HRESULT SaveImage(IImagingFactory* factory, IImage* image, const CLSID& clsid,
                  const std::u16string& path, int quality = -1);

// Four flat quadrants of 64 x 48: red, lime / blue, white.
std::vector<std::string> QuadrantArgs();
struct Quadrant {
    int x, y;  // the quadrant's centre in a picture of 64 x 48
    unsigned rgb;
};
extern const Quadrant kQuadrants[4];

// Each channel of `pixel` within `tolerance` of 0xRRGGBB.
::testing::AssertionResult NearColour(const std::uint8_t* rgba, unsigned rgb, int tolerance);

}  // namespace factory_test
