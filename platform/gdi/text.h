// Fonts and text: CreateFontIndirectW, ExtTextOutW, DrawTextW and the measuring functions.
#pragma once

#include "platform/core/types.h"
#include "platform/gdi/font.h"
