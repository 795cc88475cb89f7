// Pixels as text, so a test states the expected picture row by row: each colour a test names
// gets a letter, anything else shows as '?'.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace platform::test {

using Picture = std::vector<std::string>;

inline Picture Snapshot(HDC dc, int width, int height, const std::map<COLORREF, char>& letters) {
    Picture rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const auto it = letters.find(GetPixel(dc, x, y));
            row += it == letters.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

// Joined with newlines, so a failing comparison prints the two pictures one above the other.
inline std::string Show(const Picture& p) {
    std::string s = "\n";
    for (const std::string& row : p)
        s += row + "\n";
    return s;
}

}  // namespace platform::test
