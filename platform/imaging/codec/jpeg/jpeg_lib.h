// libjpeg's headers, included in the one order that works: they need FILE declared, and they
// define TRUE and FALSE as macros unless our own constants exist first.
#pragma once

#include <cstdio>

#include "platform/core/types.h"

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
