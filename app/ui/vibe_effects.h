// The two touch-feedback effects, as IVT blocks for the haptics library: a short firm click on
// press and a lighter, shorter one on release. Each holds one timeline, played as effect 0.
#pragma once

#include <array>

#include "platform/services/haptics.h"

constexpr std::size_t kVibeBlockBytes = 72;
using VibeBlock = std::array<VibeUInt8, kVibeBlockBytes>;

extern const VibeBlock g_ButtonDownIVT;
extern const VibeBlock g_ButtonUpIVT;
