// The demo's own menu, soft-key bar and texts, added to the program's resource tables so that
// the demo shows the program's dialogs next to its own pages.
#pragma once

#include "platform/core/types.h"

namespace demo {

constexpr UINT kSoftKeyBar = 60020;
constexpr UINT kMenu = 60010;

// Commands.
constexpr WORD kCmdNext = 60100;
constexpr WORD kCmdMenu = 60101;
constexpr WORD kCmdFirstPage = 60200;  // + page index
constexpr WORD kCmdFirstMessageBox = 60300;
constexpr WORD kCmdFirstDialog = 60400;
constexpr WORD kCmdToggleGrid = 60500;
constexpr WORD kCmdDisabled = 60501;
constexpr WORD kCmdQuit = 60502;

// Adds the demo's tables to the program's and hands both to the platform.
void InstallDemoResources();

}  // namespace demo
