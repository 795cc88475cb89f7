// A merge sort of a std::list that relinks the list's own nodes with splice, so that the elements
// (pointers to item records here) stay where they are in memory and iterators into the list stay
// valid. The caller's rule need not be a strict weak order: it only answers "does a go first?",
// and on a tie the merge takes the earlier element exactly when the rule says so.
#pragma once

#include <array>
#include <cstddef>
#include <list>

namespace catalogue {

// Merges `later` into `earlier`; both are already in order. `goesBefore(a, b)` with a from
// `earlier` and b from `later` decides which one is placed next.
template <typename T, typename GoesBefore>
void MergeLists(std::list<T>& earlier, std::list<T>& later, GoesBefore& goesBefore) {
    auto position = earlier.begin();
    while (position != earlier.end() && !later.empty()) {
        if (goesBefore(*position, later.front())) {
            ++position;
        } else {
            earlier.splice(position, later, later.begin());
        }
    }
    earlier.splice(earlier.end(), later);
}

// Bottom-up: runs of 1, 2, 4, ... elements are merged as they fill, so the list is never walked
// to find a middle. runs[k] holds 2^k elements or none, and a higher run always holds elements
// that came earlier in the list.
template <typename T, typename GoesBefore>
void MergeSortList(std::list<T>& items, GoesBefore goesBefore) {
    if (items.size() < 2)
        return;
    std::list<T> carry;
    std::array<std::list<T>, 64> runs;
    size_t filled = 0;
    while (!items.empty()) {
        carry.splice(carry.begin(), items, items.begin());
        size_t k = 0;
        for (; k < filled && !runs[k].empty(); ++k) {
            MergeLists(runs[k], carry, goesBefore);
            carry.swap(runs[k]);
        }
        carry.swap(runs[k]);
        if (k == filled)
            ++filled;
    }
    for (size_t k = 1; k < filled; ++k)
        MergeLists(runs[k], runs[k - 1], goesBefore);
    items.swap(runs[filled - 1]);
}

}  // namespace catalogue
