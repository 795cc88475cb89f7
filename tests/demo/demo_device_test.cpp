#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "demo/demo_content.h"
#include "demo/demo_device.h"
#include "imaging/codec/codec_exif_reader.h"
#include "platform/core/global_memory.h"
#include "platform/core/stream.h"
#include "platform/imaging/exif/jpeg_header.h"
#include "tests/demo/demo_fixture.h"

namespace demo_test {
namespace {

using demo::CameraPicture;
using platform::imaging::ExifData;
using platform::imaging::JpegHeaderInfo;

const std::string kCamera = demo::kCameraFolder;

// The EXIF data of a JPEG on the device; false when it has none.
bool ReadExifOf(const std::vector<std::uint8_t>& bytes, ExifData* data) {
    JpegHeaderInfo header;
    return platform::imaging::ProbeJpegHeader(bytes, &header) && header.exifLength > 0 &&
           platform::imaging::ReadExif(bytes, header.exifOffset, header.exifLength, data);
}

TEST_F(DemoDeviceTest, CameraPicturesDecodeAtTheirSize) {
    const auto pictures = demo::CameraPictures(false);
    ASSERT_GE(pictures.size(), 30u);
    for (const CameraPicture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        int width = 0, height = 0;
        ASSERT_TRUE(Decode(kCamera + "/" + picture.name, &width, &height));
        EXPECT_EQ(width, picture.width);
        EXPECT_EQ(height, picture.height);
    }
}

TEST_F(DemoDeviceTest, CameraPicturesCarryTheirExif) {
    int orientations[9] = {};
    int thumbnails = 0, positions = 0;
    for (const CameraPicture& picture : demo::CameraPictures(false)) {
        SCOPED_TRACE(picture.name);
        const auto bytes = Bytes(kCamera + "/" + picture.name);
        ExifData exif;
        ASSERT_TRUE(ReadExifOf(bytes, &exif));
        EXPECT_EQ(exif.orientation, picture.orientation);
        ++orientations[exif.orientation];
        EXPECT_EQ(exif.pixelWidth, static_cast<std::uint32_t>(picture.width));
        EXPECT_EQ(exif.hasGps, picture.gps.has_value());
        positions += exif.hasGps;
        if (!picture.thumbnail) {
            EXPECT_EQ(exif.thumbnailLength, 0u);
            continue;
        }
        ++thumbnails;
        ASSERT_GT(exif.thumbnailLength, 0u);
        ComPtr<IImage> thumbnail;
        ASSERT_EQ(factory_->CreateImageFromBuffer(
                      bytes.data() + exif.thumbnailOffset, static_cast<UINT>(exif.thumbnailLength),
                      BufferDisposalFlagNone, thumbnail.ReleaseAndGetAddressOf()),
                  S_OK);
        ImageInfo info{};
        ASSERT_EQ(thumbnail->GetImageInfo(&info), S_OK);
        EXPECT_EQ(info.Width, UINT(demo::kThumbnailWidth));
        EXPECT_EQ(info.Height, UINT(demo::kThumbnailHeight));
    }
    for (int orientation : {0, 1, 3, 6, 8})
        EXPECT_GT(orientations[orientation], 0) << orientation;
    EXPECT_GT(thumbnails, 20);
    EXPECT_GT(positions, 5);
}

TEST_F(DemoDeviceTest, GpsPositionsReadBackThroughTheCodecReader) {
    int checked = 0;
    for (const CameraPicture& picture : demo::CameraPictures(false)) {
        if (!picture.gps)
            continue;
        SCOPED_TRACE(picture.name);
        const auto bytes = Bytes(kCamera + "/" + picture.name);
        JpegHeaderInfo header;
        ASSERT_TRUE(platform::imaging::ProbeJpegHeader(bytes, &header));
        CCodecExifReader reader;
        ASSERT_EQ(reader.Create(bytes.data(), DWORD(bytes.size()), DWORD(header.exifOffset),
                                DWORD(header.exifLength)),
                  0);
        CODEC_GPS_INFO gps{};
        ASSERT_EQ(reader.GetGpsInfo(&gps), 0);
        EXPECT_EQ(gps.cLatitudeRef, picture.gps->latitude < 0 ? 'S' : 'N');
        EXPECT_EQ(gps.cLongitudeRef, picture.gps->longitude < 0 ? 'W' : 'E');
        EXPECT_EQ(gps.latitude[0].dwNumerator, DWORD(std::fabs(picture.gps->latitude)));
        EXPECT_EQ(gps.longitude[0].dwNumerator, DWORD(std::fabs(picture.gps->longitude)));
        EXPECT_EQ(gps.bAltitudeRef, picture.gps->altitude < 0 ? 1 : 0);
        ++checked;
    }
    EXPECT_GT(checked, 5);
}

TEST_F(DemoDeviceTest, FileTimesFollowWhenThePicturesWereTaken) {
    std::set<std::time_t> times;
    for (const CameraPicture& picture : demo::CameraPictures(false)) {
        struct stat info {};
        ASSERT_EQ(::stat(Host(kCamera + "/" + picture.name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mtime, picture.taken) << picture.name;
        times.insert(info.st_mtime);
    }
    EXPECT_EQ(times.size(), demo::CameraPictures(false).size());
}

TEST_F(DemoDeviceTest, OtherFormatsDecode) {
    struct Case {
        std::string file;
        int width, height;
    };
    const Case cases[] = {{kCamera + "/Animation.gif", 240, 180},
                          {kCamera + "/Badge.png", 256, 256},
                          {kCamera + "/Drawing.bmp", 320, 240},
                          {kCamera + "/Logo.wbmp", 128, 96},
                          {kCamera + "/Trip/Day 1/Day 1 - 02.jpg", 640, 480},
                          {"My Documents/My Pictures/Family/Family 03.jpg", 1600, 1200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        int width = 0, height = 0;
        ASSERT_TRUE(Decode(c.file, &width, &height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

TEST_F(DemoDeviceTest, TheCorruptPictureDoesNotDecode) {
    const auto bytes = Bytes(kCamera + "/HVC_0037.jpg");
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    int width = 0, height = 0;
    EXPECT_FALSE(Decode(kCamera + "/HVC_0037.jpg", &width, &height));
}

TEST_F(DemoDeviceTest, TheAnimationHasSeveralFrames) {
    const auto bytes = Bytes(kCamera + "/Animation.gif");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_NE(block, nullptr);
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IImageDecoder> decoder;
    ASSERT_EQ(factory_->CreateImageDecoder(stream.Get(), DecoderInitFlagNone,
                                           decoder.ReleaseAndGetAddressOf()),
              S_OK);
    UINT frames = 0;
    ASSERT_EQ(decoder->GetFrameCount(&FrameDimensionTime, &frames), S_OK);
    EXPECT_EQ(frames, 8u);
    decoder->TerminateDecoder();
}

TEST_F(DemoDeviceTest, TheBadgeIsTransparentAroundItsCircle) {
    ComPtr<IImage> image;
    ASSERT_EQ(factory_->CreateImageFromFile(Device(kCamera + "/Badge.png").c_str(),
                                            image.ReleaseAndGetAddressOf()),
              S_OK);
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(
        factory_->CreateBitmapFromImage(image.Get(), 256, 256, PixelFormat32bppARGB,
                                        InterpolationHintDefault, bitmap.ReleaseAndGetAddressOf()),
        S_OK);
    BitmapData data{};
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data), S_OK);
    auto alpha = [&](int x, int y) {
        return static_cast<const std::uint8_t*>(data.Scan0)[y * data.Stride + x * 4 + 3];
    };
    EXPECT_EQ(alpha(2, 2), 0);                  // corner: outside the circle
    EXPECT_EQ(alpha(128, 100), 255);            // the badge itself
    EXPECT_GT(alpha(4, 250), alpha(250, 250));  // the caption band fades out to the right
    EXPECT_GT(alpha(250, 250), 0);
    bitmap->UnlockBits(&data);
}

TEST_F(DemoDeviceTest, SoundsAreShortPcmTones) {
    for (const std::string& file : std::vector<std::string>{
             "My Documents/My Music/Tone A.wav", "My Documents/My Music/Chime.wav",
             "My Documents/My Music/Scale.wav", kCamera + "/Voice memo.wav"}) {
        SCOPED_TRACE(file);
        const auto bytes = Bytes(file);
        ASSERT_GT(bytes.size(), 44u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
        auto field = [&](std::size_t at, int size) {
            std::uint32_t value = 0;
            for (int i = size - 1; i >= 0; --i)
                value = value << 8 | bytes[at + i];
            return value;
        };
        EXPECT_EQ(field(20, 2), 1u);     // PCM
        EXPECT_EQ(field(24, 4), 8000u);  // 8 kHz
        EXPECT_EQ(field(34, 2), 16u);    // 16-bit
        const std::uint32_t data = field(40, 4);
        EXPECT_EQ(data + 44, bytes.size());
        const double seconds = data / 2.0 / 8000;
        EXPECT_GE(seconds, 0.9);
        EXPECT_LE(seconds, 2.5);
    }
}

TEST_F(DemoDeviceTest, DocumentsAndCardPicturesAreThere) {
    for (const std::string& file : std::vector<std::string>{
             "My Documents/Notes/Shopping list.txt", "My Documents/Notes/Welcome.html",
             kCamera + "/About these pictures.txt"}) {
        EXPECT_GT(Bytes(file).size(), 20u) << file;
    }
    for (const auto& picture : demo::CardPictures()) {
        const std::string host = Card() + "/" + picture.folder + "/" + picture.picture.name;
        EXPECT_TRUE(std::filesystem::is_regular_file(host)) << host;
        // Through the device's own path, as the gallery reaches the card.
        ComPtr<IImage> image;
        const std::u16string device =
            u"\\Storage Card\\DCIM\\100HVCAM\\" +
            std::u16string(picture.picture.name.begin(), picture.picture.name.end());
        EXPECT_EQ(factory_->CreateImageFromFile(device.c_str(), image.ReleaseAndGetAddressOf()),
                  S_OK);
    }
}

TEST_F(DemoDeviceTest, NoTemporaryFilesAreLeft) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Root())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(DemoDeviceTest, ASecondRunKeepsWhatExistsAndPutsBackWhatIsMissing) {
    const std::string kept = Host("My Documents/Notes/Shopping list.txt");
    const std::string removed = Host(kCamera + "/HVC_0002.jpg");
    const auto original = Bytes(kCamera + "/HVC_0002.jpg");
    {
        std::ofstream out(kept, std::ios::trunc);
        out << "changed by the user";
    }
    ASSERT_TRUE(std::filesystem::remove(removed));
    demo::DemoOptions options;
    options.root = Root();
    options.card = Card();
    options.includeLargePictures = false;
    std::string error;
    ASSERT_TRUE(demo::GenerateDemoDevice(options, error)) << error;
    EXPECT_EQ(Bytes("My Documents/Notes/Shopping list.txt"),
              std::vector<std::uint8_t>({'c', 'h', 'a', 'n', 'g', 'e', 'd', ' ', 'b', 'y', ' ', 't',
                                         'h', 'e', ' ', 'u', 's', 'e', 'r'}));
    // Drawn again the same way: the same bytes.
    EXPECT_EQ(Bytes(kCamera + "/HVC_0002.jpg"), original);
}

}  // namespace
}  // namespace demo_test

namespace demo_test {
namespace {

// The fields our own reader does not look at, checked with an independent one.
std::string ExiftoolField(const std::string& path, const std::string& tag) {
    const std::string command = "exiftool -s -s -s -" + tag + " '" + path + "' 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

TEST_F(DemoDeviceTest, MakerAndTimesReadBackWithExiftool) {
    if (std::system("exiftool -ver >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "exiftool is not installed";
    const CameraPicture picture = demo::CameraPictures(false).at(2);
    const std::string path = Host(kCamera + "/" + picture.name);
    EXPECT_EQ(ExiftoolField(path, "Make"), "Halvern");
    EXPECT_EQ(ExiftoolField(path, "Model"), "HV Demo Camera");
    EXPECT_EQ(ExiftoolField(path, "DateTimeOriginal"), demo::ExifTime(picture.taken));
    EXPECT_EQ(ExiftoolField(path, "ImageWidth"), std::to_string(picture.width));
    EXPECT_EQ(ExiftoolField(path, "Warning"), "");
}

}  // namespace
}  // namespace demo_test
