// Error numbers that only the window layer reports. They belong with the others in
// platform/core/error.h; they live here until they move there.
#pragma once

#include "platform/core/error.h"

constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_INVALID_INDEX = 1413;
constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;
constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
