// Process-wide state that every part of the program reads.
#pragma once

#include "platform/core/types.h"

// The instance handle, for loading resources.
extern HINSTANCE g_hInstance;
