#include "demo/demo_content.h"

#include <array>
#include <map>

namespace demo {

namespace {

constexpr int kCameraPictures = 36;

struct Place {
    double latitude, longitude, altitude;
};
constexpr std::array<Place, 6> kPlaces = {{{48.8584, 2.2945, 35.0},
                                           {-33.8568, 151.2153, 4.5},
                                           {40.6892, -74.0445, 10.0},
                                           {35.3606, 138.7274, 3776.0},
                                           {-22.9519, -43.2105, 700.0},
                                           {31.5590, 35.4732, -430.5}}};

GpsPosition PlaceAt(int index) {
    const Place& place = kPlaces[static_cast<std::size_t>(index) % kPlaces.size()];
    return {place.latitude, place.longitude, place.altitude};
}

constexpr std::array<std::pair<int, int>, 4> kSizes = {
    {{320, 240}, {640, 480}, {1600, 1200}, {2592, 1944}}};

std::string CameraName(int number) {
    static const std::map<int, std::string> kNamed = {
        {3, "Beach walk.jpg"},      {7, "garden_party.jpg"},  {12, "Sunset harbour.jpg"},
        {18, "Mountain view.jpg"},  {22, "a quick snap.jpg"}, {27, "Zoo day.jpg"},
        {31, "Old town square.jpg"}};
    if (const auto named = kNamed.find(number); named != kNamed.end())
        return named->second;
    char text[32];
    std::snprintf(text, sizeof text, "HVC_%04d.jpg", number);
    return text;
}

std::uint16_t OrientationFor(int number) {
    switch (number % 8) {
        case 1:
            return 6;
        case 3:
            return 8;
        case 5:
            return 3;
        default:
            return number % 11 == 0 ? 0 : 1;  // a few carry no orientation tag at all
    }
}

}  // namespace

std::time_t DemoTime(int step) {
    constexpr std::time_t kStart = 1776501000;  // 2026-04-18 08:30 UTC
    return kStart + std::time_t{step} * 4 * 3600 + std::time_t{step % 7} * 1013;
}

std::vector<CameraPicture> CameraPictures(bool largePictures) {
    std::vector<CameraPicture> pictures;
    for (int number = 1; number <= kCameraPictures; ++number) {
        CameraPicture picture;
        picture.name = CameraName(number);
        const bool twelveMegapixels = number % 10 == 0;
        const auto [width, height] = twelveMegapixels
                                         ? (largePictures ? std::pair{4000, 3000} : kSizes[2])
                                         : kSizes[static_cast<std::size_t>(number % 4)];
        picture.width = width;
        picture.height = height;
        picture.art = static_cast<Art>(number % 5 == 4 ? 0 : number % 4);
        picture.variant = number;
        picture.orientation = OrientationFor(number);
        picture.thumbnail = number % 7 != 0;
        if (number % 3 == 0)
            picture.gps = PlaceAt(number / 3);
        // Times out of step with the numbers, so sorting by date and by name differ.
        picture.taken = DemoTime((number * 17) % kCameraPictures);
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

std::vector<FolderPicture> NestedPictures() {
    std::vector<FolderPicture> pictures;
    const std::string trip = std::string(kCameraFolder) + "/Trip/Day 1";
    for (int i = 1; i <= 3; ++i) {
        CameraPicture picture;
        picture.name = "Day 1 - 0" + std::to_string(i) + ".jpg";
        picture.art = i == 2 ? Art::Sunset : Art::Scene;
        picture.variant = 40 + i;
        picture.gps = PlaceAt(i);
        picture.taken = DemoTime(40 + i);
        pictures.push_back({trip, picture});
    }
    for (int i = 1; i <= 3; ++i) {
        CameraPicture picture;
        picture.name = "Family 0" + std::to_string(i) + ".jpg";
        picture.width = i == 3 ? 1600 : 640;
        picture.height = i == 3 ? 1200 : 480;
        picture.art = i == 1 ? Art::Shapes : Art::Scene;
        picture.variant = 50 + i;
        picture.taken = DemoTime(50 + i);
        pictures.push_back({"My Documents/My Pictures/Family", picture});
    }
    return pictures;
}

std::vector<FolderPicture> CardPictures() {
    std::vector<FolderPicture> pictures;
    for (int i = 1; i <= 4; ++i) {
        CameraPicture picture;
        char name[32];
        std::snprintf(name, sizeof name, "HVC_%04d.jpg", 5000 + i);
        picture.name = name;
        picture.art = static_cast<Art>(i % 4);
        picture.variant = 60 + i;
        picture.orientation = i == 2 ? 6 : 1;
        picture.taken = DemoTime(60 + i);
        pictures.push_back({"DCIM/100HVCAM", picture});
    }
    return pictures;
}

}  // namespace demo
