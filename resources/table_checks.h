// Compile-time checks shared by the resource tables.
#pragma once

#include <cstddef>
#include <span>

namespace resources {

// Every table is looked up by binary search on `id`, so it must be strictly ascending: sorted and
// without duplicates.
template <typename Entry>
constexpr bool StrictlyAscendingIds(std::span<const Entry> entries) {
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i - 1].id >= entries[i].id)
            return false;
    }
    return true;
}

}  // namespace resources
