// The service's messages: every one is shown through the one message box the tests can replace.
#pragma once

#include <string>

#include "platform/core/types.h"

namespace platform::rights {

// Shows `text` (UTF-8) with the service's caption; the button pressed.
int ShowRightsMessage(HWND owner, const std::string& text, UINT type);

}  // namespace platform::rights
