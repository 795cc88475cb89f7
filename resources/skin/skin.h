// The skin bitmaps, rasterised from resources/skin/art at build time and embedded in the binary.
#pragma once

#include <span>

#include "platform/user/resource_tables.h"

// Every skin bitmap, sorted by id, ready for ResourceCatalogue::bitmaps.
std::span<const platform::BitmapResource> SkinBitmaps();
