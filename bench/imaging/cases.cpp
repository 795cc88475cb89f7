#include "bench/imaging/cases.h"

#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>

#include "bench/imaging/file_bytes.h"
#include "bench/imaging/our_decodes.h"
#include "bench/imaging/our_encode.h"
#include "bench/imaging/turbo_floor.h"

namespace imaging_bench {
namespace {

constexpr Size kThumbnail{68, 64};
constexpr Size kScreens[] = {{240, 400}, {480, 800}};
constexpr double kThumbnailGoal = 1.25;
constexpr double kEmbeddedThumbnailMs = 1.0;
constexpr double kFittedGoal = 1.15;
constexpr double kEncodeGoal = 1.1;
constexpr int kEncodeQuality = 80;
constexpr double kEncodeDifferenceSlack = 1.25;

struct Picture {
    std::string hostPath;
    std::u16string devicePath;
    Size size;
};

std::u16string DevicePath(const std::string& relative) {
    std::u16string path = u"\\";
    for (char c : relative)
        path += c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c));
    return path;
}

// Reads every file once, so both sides start from the same warm page cache, and notes sizes.
std::vector<Picture> LoadSet(const Options& options, const PictureSet& set, TurboDecoder& decoder) {
    std::vector<Picture> pictures;
    std::vector<std::uint8_t> bytes;
    for (const std::string& file : set.files) {
        Picture picture{options.root + "/" + file, DevicePath(file), {}};
        ReadWholeFile(picture.hostPath, bytes);
        picture.size = decoder.ReadHeader(bytes).size;
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

std::string SizeText(Size size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

void Expect(Size got, Size wanted, const char* what) {
    if (got.width != wanted.width || got.height != wanted.height)
        throw std::runtime_error(std::string(what) + " gave " + SizeText(got) + ", wanted " +
                                 SizeText(wanted));
}

Row ThumbnailRow(const Options& options, const PictureSet& set,
                 const std::vector<Picture>& pictures, TurboDecoder& decoder) {
    std::vector<std::uint8_t> bytes;
    Row row;
    row.operation = "thumbnail " + SizeText(kThumbnail);
    row.set = set.label;
    row.floorName = "tj 1/8";
    row.toolName = "vipsthumbnail";
    row.paired = RunPaired(
        pictures.size(), options.rounds,
        [&](std::size_t i) {
            Expect(OurThumbnail(pictures[i].devicePath, kThumbnail), kThumbnail, "GetThumbnail");
        },
        [&](std::size_t i) {
            ReadWholeFile(pictures[i].hostPath, bytes);
            decoder.Decode(bytes, 1);
        });
    if (auto vips = options.vips.find(set.label); vips != options.vips.end())
        row.tool = vips->second;
    row.goal = set.hasExifThumbnail ? Goal{Goal::Kind::UnderMillis, kEmbeddedThumbnailMs}
                                    : Goal{Goal::Kind::RatioToFloor, kThumbnailGoal};
    return row;
}

Row FittedRow(const Options& options, const PictureSet& set, const std::vector<Picture>& pictures,
              Size screen, TurboDecoder& decoder) {
    std::vector<Size> fitted;
    std::vector<int> eighths;
    for (const Picture& picture : pictures) {
        fitted.push_back(FitInside(picture.size, screen));
        eighths.push_back(SmallestEighthCovering(picture.size, fitted.back()));
    }
    std::vector<std::uint8_t> bytes;
    Row row;
    row.operation = "fit " + SizeText(screen) + " 565";
    row.set = set.label;
    row.floorName = "tj " + std::to_string(eighths.front()) + "/8";
    row.goal = Goal{Goal::Kind::RatioToFloor, kFittedGoal};
    row.paired = RunPaired(
        pictures.size(), options.rounds,
        [&](std::size_t i) {
            Expect(OurFittedBitmap(pictures[i].devicePath, fitted[i], PixelFormat16bppRGB565),
                   fitted[i], "CreateBitmapFromImage");
        },
        [&](std::size_t i) {
            ReadWholeFile(pictures[i].hostPath, bytes);
            decoder.Decode(bytes, eighths[i]);
        });
    return row;
}

// Mean channel difference between a JPEG's decode and the picture.
double MeanDifference(std::span<const std::uint8_t> jpeg, const BgrPicture& picture) {
    TurboDecoder decoder;
    Expect(decoder.Decode(jpeg, 8), {picture.width, picture.height}, "the JPEG encoder");
    const std::uint8_t* decoded = decoder.Pixels();
    double sum = 0;
    for (std::size_t i = 0; i < picture.bgr.size(); ++i)
        sum += std::abs(static_cast<int>(decoded[i]) - static_cast<int>(picture.bgr[i]));
    return sum / static_cast<double>(picture.bgr.size());
}

// Our JPEG must decode to the picture about as well as libjpeg-turbo's own at the same
// quality, or the timing means nothing.
void CheckEncodedPicture(std::span<const std::uint8_t> ours, std::span<const std::uint8_t> floor,
                         const BgrPicture& picture) {
    const double oursDifference = MeanDifference(ours, picture);
    const double floorDifference = MeanDifference(floor, picture);
    if (oursDifference > floorDifference * kEncodeDifferenceSlack + 0.5) {
        throw std::runtime_error(
            "our JPEG differs from the picture by " + std::to_string(oursDifference) +
            " per channel, libjpeg-turbo's by " + std::to_string(floorDifference));
    }
}

}  // namespace

std::vector<Row> RunDecodeCases(const Options& options) {
    TurboDecoder decoder;
    std::vector<std::vector<Picture>> sets;
    for (const PictureSet& set : options.sets)
        sets.push_back(LoadSet(options, set, decoder));
    std::vector<Row> rows;
    for (std::size_t s = 0; s < sets.size(); ++s)
        rows.push_back(ThumbnailRow(options, options.sets[s], sets[s], decoder));
    for (Size screen : kScreens) {
        for (std::size_t s = 0; s < sets.size(); ++s)
            rows.push_back(FittedRow(options, options.sets[s], sets[s], screen, decoder));
    }
    return rows;
}

std::vector<Row> RunEncodeCase(const Options& options) {
    if (options.encodePicture.empty())
        return {};
    const BgrPicture picture = ReadPpmAsBgr(options.encodePicture);
    const Size size{picture.width, picture.height};
    OurJpegEncode ours(picture);
    TurboEncoder floor;
    Row row;
    row.operation = "jpeg q80 encode";
    row.set = SizeText(size);
    row.floorName = "tjCompress2";
    row.toolName = "tjbench";
    row.tool = options.tjbench;
    row.goal = Goal{Goal::Kind::RatioToTool, kEncodeGoal};
    row.paired = RunPaired(
        1, options.rounds, [&](std::size_t) { ours.Encode(kEncodeQuality); },
        [&](std::size_t) { floor.Compress(picture.bgr.data(), size, kEncodeQuality); });
    const std::vector<std::uint8_t> ourJpeg = ours.LastOutput();
    CheckEncodedPicture(ourJpeg, floor.Output(), picture);
    return {row};
}

}  // namespace imaging_bench
