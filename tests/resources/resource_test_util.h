// Small lookups shared by the resource table tests.
#pragma once

#include <algorithm>
#include <string>

#include "resources/resource_tables.h"

namespace resources_test {

inline std::u16string Text(const WCHAR* text) {
    return text != nullptr ? std::u16string(text) : std::u16string();
}

// The text of string `id`, found as the platform's lookup finds it, or null.
inline const WCHAR* StringText(unsigned id) {
    const auto strings = ProgramStrings();
    const auto it = std::lower_bound(
        strings.begin(), strings.end(), id,
        [](const StringResource& entry, unsigned wanted) { return entry.id < wanted; });
    return it != strings.end() && it->id == id ? it->text : nullptr;
}

// The items of the one top-level pop-up of menu `id`, or an empty span when there is none.
inline std::span<const platform::MenuItemResource> MenuPopupItems(UINT id) {
    for (const auto& menu : ProgramMenus()) {
        if (menu.id == id && !menu.items.empty())
            return menu.items[0].popup;
    }
    return {};
}

// Hands the program's tables to the platform for one test, as start-up does.
class ScopedProgramCatalogue {
  public:
    ScopedProgramCatalogue() {
        platform::SetResourceCatalogue(
            {ProgramMenus(), ProgramSoftKeyBars(), ProgramDialogs(), {}});
    }
    ~ScopedProgramCatalogue() { platform::SetResourceCatalogue({}); }
    ScopedProgramCatalogue(const ScopedProgramCatalogue&) = delete;
    ScopedProgramCatalogue& operator=(const ScopedProgramCatalogue&) = delete;
};

inline const platform::DialogResource* Dialog(UINT id) {
    for (const auto& dialog : ProgramDialogs()) {
        if (dialog.id == id)
            return &dialog;
    }
    return nullptr;
}

}  // namespace resources_test
