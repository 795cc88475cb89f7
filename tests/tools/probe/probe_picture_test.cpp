// Pictures as the probe reports them: the imaging service's format, the image control's size and
// decode test, the EXIF orientation and GPS position, and the menu capabilities, over real files
// made by ImageMagick and exiftool.
#include <sys/stat.h>

#include <optional>

#include "tests/platform/imaging/exif/camera_jpeg.h"
#include "tests/tools/probe/probe_test_helpers.h"

namespace probetest {
namespace {

using exif_testing::CameraJpeg;

struct ExifFields {
    int orientation;
    int width;
    int height;
};

struct PictureCase {
    const char* name;
    const char* format;
    int width;
    int height;
    bool decodes;
    std::optional<ExifFields> exif;
    bool hasPosition;
    bool canSetAs;
    bool canEdit;
};

const PictureCase kPictures[] = {
    {"photo.jpg", "jpeg", 64, 48, true, ExifFields{6, 640, 480}, true, true, true},
    {"plain.JPG", "jpeg", 41, 24, true, std::nullopt, false, true, true},
    {"pic.png", "png", 20, 10, true, std::nullopt, false, true, true},
    {"pic.gif", "gif", 16, 8, true, std::nullopt, false, true, false},
    {"pic.bmp", "bmp", 12, 6, true, std::nullopt, false, true, true},
    {"bad.jpg", "unknown", 0, 0, false, std::nullopt, false, false, true},
};

// Makes every picture of kPictures under \My Documents.
class PictureDevice : public ProbeDevice {
  public:
    PictureDevice() {
        testing_support::TempDir work;
        const std::vector<CameraJpeg> jpegs = {
            {"photo.jpg",
             {"-Orientation#=6", "-ExifImageWidth=640", "-ExifImageHeight=480",
              "-GPSLatitude=48.8583", "-GPSLatitudeRef=N", "-GPSLongitude=2.2945",
              "-GPSLongitudeRef=E", "-GPSAltitude=35.5", "-GPSAltitudeRef#=0"},
             64,
             48},
            {"plain.JPG", {}, 41, 24},
        };
        made_ = exif_testing::MakeCameraJpegs(work, jpegs) &&
                testing_support::RunConvert({"-size", "20x10", "xc:red", work / "pic.png"}) &&
                testing_support::RunConvert({"-size", "16x8", "xc:blue", work / "pic.gif"}) &&
                testing_support::RunConvert({"-size", "12x6", "xc:green", work / "pic.bmp"});
        for (const char* name : {"photo.jpg", "plain.JPG", "pic.png", "pic.gif", "pic.bmp"})
            Write(Device(name), testing_support::ReadBytes(work / name));
        // Bytes that are no picture at all, under a picture's name.
        Write(Device("bad.jpg"), testing_support::SampleContent(3000));
    }

    bool Made() const { return made_; }
    static std::u16string Device(const std::string& name) {
        return u"\\My Documents\\" + std::u16string(name.begin(), name.end());
    }
    static std::string DeviceArg(const std::string& name) { return "\\My Documents\\" + name; }

  private:
    bool made_ = false;
};

void ExpectPicture(const JsonValue& object, const PictureCase& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(At(object, "path").text, PictureDevice::DeviceArg(c.name));
    EXPECT_EQ(At(object, "kind").text, "image");
    EXPECT_EQ(At(object, "format").text, c.format);
    EXPECT_EQ(At(object, "width").number, c.width);
    EXPECT_EQ(At(object, "height").number, c.height);
    EXPECT_EQ(At(object, "decodes").boolean, c.decodes);
    const JsonValue& exif = At(object, "exif");
    if (c.exif) {
        ASSERT_EQ(exif.type, JsonValue::Type::Object);
        EXPECT_EQ(At(exif, "orientation").number, c.exif->orientation);
        EXPECT_EQ(At(exif, "width").number, c.exif->width);
        EXPECT_EQ(At(exif, "height").number, c.exif->height);
    } else {
        EXPECT_TRUE(IsNull(exif));
    }
    EXPECT_EQ(!IsNull(At(object, "position")), c.hasPosition);
    EXPECT_TRUE(IsNull(At(object, "rights")));
    const JsonValue& capabilities = At(object, "capabilities");
    EXPECT_TRUE(At(capabilities, "canSend").boolean);
    EXPECT_EQ(At(capabilities, "canSetAs").boolean, c.canSetAs);
    EXPECT_EQ(At(capabilities, "canEdit").boolean, c.canEdit);
}

double Degrees(const JsonValue& angle) {
    return At(angle, "degrees").number + At(angle, "minutes").number / 60 +
           At(angle, "seconds").number / 3600;
}

TEST(ProbePictureTest, EachPictureAsTheCatalogueSeesIt) {
    PictureDevice device;
    ASSERT_TRUE(device.Made());
    std::vector<std::string> files;
    for (const PictureCase& c : kPictures)
        files.push_back(PictureDevice::DeviceArg(c.name));
    const Outcome outcome = RunInProcess(device.Args(files));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), std::size(kPictures));
    for (std::size_t i = 0; i < objects.size(); ++i)
        ExpectPicture(objects[i], kPictures[i]);
}

TEST(ProbePictureTest, PositionIsTheTaggedOne) {
    PictureDevice device;
    ASSERT_TRUE(device.Made());
    const Outcome outcome = RunInProcess(device.Args({PictureDevice::DeviceArg("photo.jpg")}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 1u);
    const JsonValue& position = At(objects[0], "position");
    ASSERT_EQ(position.type, JsonValue::Type::Object);
    const JsonValue& latitude = At(position, "latitude");
    const JsonValue& longitude = At(position, "longitude");
    // Whole degrees and minutes are integers; the seconds carry the rest.
    EXPECT_EQ(At(latitude, "degrees").number, 48);
    EXPECT_EQ(At(latitude, "minutes").number, 51);
    EXPECT_EQ(At(longitude, "degrees").number, 2);
    EXPECT_EQ(At(longitude, "minutes").number, 17);
    EXPECT_NEAR(Degrees(latitude), 48.8583, 1e-5);
    EXPECT_NEAR(Degrees(longitude), 2.2945, 1e-5);
    EXPECT_NEAR(At(position, "altitude").number, 35.5, 1e-4);
}

TEST(ProbePictureTest, SizeIsTheEntrysBytesOver1024) {
    PictureDevice device;
    ASSERT_TRUE(device.Made());
    const Outcome outcome = RunInProcess(device.Args({PictureDevice::DeviceArg("bad.jpg")}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(At(objects[0], "sizeKB").number, 2.9296875);
}

TEST(ProbePictureTest, ReadOnlyPictureCannotBeEdited) {
    PictureDevice device;
    ASSERT_TRUE(device.Made());
    ASSERT_EQ(::chmod(device.Host(PictureDevice::Device("pic.png")).c_str(), 0444), 0);
    const Outcome outcome = RunInProcess(device.Args({PictureDevice::DeviceArg("pic.png")}));
    const std::vector<JsonValue> objects = Objects(outcome.out);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_FALSE(At(At(objects[0], "capabilities"), "canEdit").boolean);
    EXPECT_TRUE(At(At(objects[0], "capabilities"), "canSetAs").boolean);
}

}  // namespace
}  // namespace probetest
