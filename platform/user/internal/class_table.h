// Finding registered window classes.
#pragma once

#include <memory>

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// The class registered under this name (any case) or atom; null when there is none.
std::shared_ptr<WindowClass> FindClass(LPCWSTR nameOrAtom);

}  // namespace platform::wm
