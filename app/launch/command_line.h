// The start request's grammar:
//   [:from CAMERA|CAMCORDER] (:path|:file) "FOLDER-OR-FILE" :type IMAGE|DOCUMENT|MUSIC|VIDEO
// and the defaults used when a command line does not follow it (the camera's picture folder).
#pragma once

#include <string_view>

#include "app/launch/launch_context.h"
#include "platform/core/types.h"

// The grammar alone, without the registry: 1 with every field but isExplicit filled, or 0.
// On 0, `path` holds whatever the quoted-text step copied before the failure (or is untouched),
// which the defaults may keep.
int ParseLaunchGrammar(std::u16string_view line, LaunchContext& ctx);

// The defaults: source none, folder mode, all kinds, and the camera's current picture folder
// (from the registry), or My Pictures when that folder does not exist.
void ApplyLaunchDefaults(LaunchContext& ctx);

// The program's parser: fills source, openMode, typeFilter and path (always all four) and
// returns 1 when the line parsed completely, 0 when the defaults were used.
int ParseCommandLine(LPCWSTR line, LaunchContext& ctx);

// The camera folder's name for a DCF file number: 1..100 give 100HVCAM, 101..200 101HVCAM, and
// the "unset" value -1 gives 100HVCAM.
int CameraFolderNumber(LONG dcfNumber);
