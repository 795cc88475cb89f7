// The program's string table.
#pragma once

#include <span>

#include "platform/core/types.h"

struct StringResource {
    unsigned id;
    const WCHAR* text;
};

// Every entry, sorted by id.
std::span<const StringResource> ProgramStrings();
