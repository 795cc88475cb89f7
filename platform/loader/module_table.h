// The platform's built-in modules: each a name and a table of exports by ordinal and name.
#pragma once

#include <span>
#include <string_view>

#include "platform/loader/loader.h"

namespace platform::loader {

struct Export {
    WORD ordinal;
    std::string_view name;
    FARPROC function;  // callers cast it back to the function's exact type before calling
};

struct Module {
    std::u16string_view name;  // the file name, without a folder
    std::span<const Export> exports;
};

std::span<const Module> BuiltInModules();

}  // namespace platform::loader
