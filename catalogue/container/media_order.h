// The display orders of the shown list: by name, date or size, each with its own direction,
// folders always ahead of files.
#pragma once

#include "catalogue/items/media_item.h"
#include "platform/core/types.h"

namespace catalogue {

struct SortDirections {
    bool nameAscending = true;
    bool dateNewestFirst = true;
    bool sizeSmallestFirst = true;
};

// Whether `a` goes before `b` under `mode` (SORT_BY_NAME, SORT_BY_DATE or SORT_BY_SIZE). Equal
// names go first in either direction when ascending; equal times and sizes fall back to the name
// ascending whatever their own direction.
bool GoesBefore(const CMediaItem& a, const CMediaItem& b, DWORD mode,
                const SortDirections& directions);

// -1, 0 or 1 as `a` is older than, as old as, or newer than `b`.
int CompareModified(const SYSTEMTIME& a, const SYSTEMTIME& b);

}  // namespace catalogue
