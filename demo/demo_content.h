// What the demo device holds: the lists of pictures per folder, with their sizes, looks, EXIF
// details and times. The writing is in demo_device.cpp.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "demo/demo_pictures.h"

namespace demo {

inline constexpr const char* kCameraFolder = "My Documents/DCIM/100HVCAM";

// The camera's pictures; the 12-MP ones become 1600x1200 without `largePictures`.
std::vector<CameraPicture> CameraPictures(bool largePictures);
// Pictures of the nested folders, each with its folder ('/'-separated, below the root).
struct FolderPicture {
    std::string folder;
    CameraPicture picture;
};
std::vector<FolderPicture> NestedPictures();
std::vector<FolderPicture> CardPictures();

// The demo's times: `step` steps of a few hours after a fixed day in spring 2026.
std::time_t DemoTime(int step);

}  // namespace demo
