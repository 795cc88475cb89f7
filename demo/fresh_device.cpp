// Telling a fresh device from a used one, and pointing the camera at the demo's folder.
#include <algorithm>
#include <filesystem>

#include "app/reg_key.h"
#include "demo/demo_device.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A real (not linked) folder with nothing in it.
bool IsEmptyFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(path, ec)) && fs::is_empty(path, ec) && !ec;
}

bool IsFreshMyDocuments(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(path, ec)))
        return false;
    for (fs::directory_iterator it(path, ec), end; it != end; it.increment(ec)) {
        if (ec)
            return false;
        if (Lower(it->path().filename().string()) != "my pictures")
            return false;
        // A link to the user's own pictures folder is what a fresh device gets; its content
        // belongs to the user, not to the device.
        if (!fs::is_symlink(it->symlink_status(ec)) && !IsEmptyFolder(it->path()))
            return false;
    }
    return !ec;
}

}  // namespace

bool IsFreshDevice(const std::string& root) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(root, ec);
    if (!fs::exists(status))
        return !root.empty();  // nothing there yet is as fresh as it gets
    if (!fs::is_directory(fs::status(root, ec)))
        return false;
    for (fs::directory_iterator it(root, ec), end; it != end; it.increment(ec)) {
        if (ec)
            return false;
        const std::string name = Lower(it->path().filename().string());
        const bool standard = name == "my documents" ? IsFreshMyDocuments(it->path())
                              : name == "application data" || name == "windows"
                                  ? IsEmptyFolder(it->path())
                                  : false;
        if (!standard)
            return false;
    }
    return !ec;
}

void PointCameraAtDemoFolder() {
    // StorageType 0 is "\My Documents\DCIM"; DCFNumber 1 to 100 is its folder 100HVCAM.
    CRegKey camera;
    if (camera.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera")) {
        camera.SetDword(u"StorageType", 0);
        camera.SetDword(u"DCFNumber", 1);
    }
}

}  // namespace demo
