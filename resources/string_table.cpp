#include "resources/string_table.h"

#include "resources/resource_ids.h"

namespace {

constexpr StringResource kStrings[] = {
    {IDS_APP_TITLE, u"Pictarium"}, {IDS_WINDOW_CLASS, u"QUORVANE"}, {IDS_SOFTKEY_UP, u"Up"},
    {IDS_SOFTKEY_MENU, u"Menu"},   {IDS_MY_DEVICE, u"My Device"},
};

constexpr bool SortedById() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(SortedById(), "the string table is looked up by binary search");

}  // namespace

std::span<const StringResource> ProgramStrings() {
    return kStrings;
}
