// The start request: parsed from the command line, and sent byte for byte to a running instance
// as the payload of WM_COPYDATA.
#pragma once

#include <array>
#include <cstddef>

#include "catalogue/media_types.h"
#include "platform/core/types.h"

enum LaunchSource : DWORD { SOURCE_NONE = 0, SOURCE_CAMERA = 1, SOURCE_CAMCORDER = 2 };
enum OpenMode : DWORD { OPEN_FOLDER = 1, OPEN_FILE = 3 };

// dwData of the WM_COPYDATA that carries a LaunchContext.
constexpr ULONG_PTR COPYDATA_LAUNCH = 1004;

// Wire format: 536 bytes, little-endian, no padding. The path is UTF-16LE, NUL-terminated, with
// the unused tail zero-filled.
struct LaunchContext {
    DWORD source;
    DWORD isExplicit;
    DWORD openMode;
    DWORD typeFilter;
    WCHAR path[MAX_PATH];
};
static_assert(sizeof(LaunchContext) == 536);
static_assert(offsetof(LaunchContext, source) == 0);
static_assert(offsetof(LaunchContext, isExplicit) == 4);
static_assert(offsetof(LaunchContext, openMode) == 8);
static_assert(offsetof(LaunchContext, typeFilter) == 12);
static_assert(offsetof(LaunchContext, path) == 16);

constexpr DWORD LAUNCH_CONTEXT_SIZE = sizeof(LaunchContext);

// Reads a received record. False when it is not exactly one LaunchContext; otherwise `out` holds
// it with its path terminated within the record, whatever the sender put there.
bool ReadLaunchContext(const void* data, std::size_t size, LaunchContext& out);
