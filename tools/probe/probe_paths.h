// Where a FILE of the command line is on the device, and the directory entry the catalogue would
// read for it.
#pragma once

#include <string>

#include "platform/fs/find.h"

namespace probetool {

enum class Lookup {
    Found,
    NotFound,  // no such file or folder on the device
    Invalid,   // not a usable device path: "." or "..", wildcards, too long
    Outside,   // a host path neither under the device root nor on the card
};

struct ProbeTarget {
    std::u16string path;    // the device path, "" for the root
    std::u16string folder;  // the path of its folder, as an item keeps it ("" for the root)
    WIN32_FIND_DATAW entry{};
};

// An argument starting with a backslash is a device path ("\My Documents\a.jpg", "\" for the
// root; "/" separates too); anything else is a host path, relative to the working folder, that
// must lie under the device root or on the card. The device path is set whenever one was made.
Lookup LocateFile(const std::string& argument, ProbeTarget& target);

// "\a\b" for the components of `path`, "" for none; false for "." or ".." components, wildcards,
// NUL or a result longer than the handheld allows.
bool NormaliseDevicePath(std::u16string_view path, std::u16string& out);

}  // namespace probetool
