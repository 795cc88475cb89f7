#include <algorithm>

#include "imaging/control/image_ctrl.h"

namespace {

// Makes [first, last) an even length by taking one more pixel: after `last` while that stays in
// the cell, else before `first`, else (a one-pixel-wide cell) by giving one up. Growing past the
// cell would draw over the next cell's gap.
void MakeEven(LONG& first, LONG& last, int cellLength) {
    if ((last - first) % 2 == 0)
        return;
    if (last < cellLength)
        ++last;
    else if (first > 0)
        --first;
    else
        --last;
}

}  // namespace

RECT ThumbnailRect(int cellWidth, int cellHeight, int width, int height) {
    RECT rect{};
    // Nothing fits an empty cell, and an empty picture has no proportions to keep.
    if (cellWidth <= 0 || cellHeight <= 0 || width <= 0 || height <= 0)
        return rect;
    // Products in 64 bits, so a very large picture cannot overflow them; a sliver of a picture
    // still gets one pixel (then two, when evened) rather than an empty thumbnail.
    const long long w = width, h = height, cw = cellWidth, ch = cellHeight;
    if (width < cellWidth && height < cellHeight) {
        rect.left = (cellWidth - width) / 2;
        rect.top = (cellHeight - height) / 2;
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    } else if (w * 100 / cw < h * 100 / ch) {
        const int scaled = std::max(1, static_cast<int>(ch * w / h));
        rect.left = (cellWidth - scaled) / 2;
        rect.top = 0;
        rect.right = rect.left + scaled;
        rect.bottom = cellHeight;
    } else {
        const int scaled = std::max(1, static_cast<int>(cw * h / w));
        rect.left = 0;
        rect.top = (cellHeight - scaled) / 2;
        rect.right = cellWidth;
        rect.bottom = rect.top + scaled;
        // A one-pixel strip under the picture would show as a seam, so the picture takes it.
        if (cellHeight - rect.bottom < 2)
            rect.bottom = cellHeight;
    }
    MakeEven(rect.left, rect.right, cellWidth);
    MakeEven(rect.top, rect.bottom, cellHeight);
    return rect;
}
