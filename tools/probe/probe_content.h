// A picture's bytes as the catalogue reads them: the file itself, or for a protected file its
// clear content through the file-rights functions.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

namespace probetool {

// At most `limit` bytes from the start; empty when the file or its content cannot be opened.
std::vector<BYTE> ReadContentHead(const std::u16string& path, bool isProtected, DWORD limit);

// The imaging service's RawDataFormat of the picture, as "jpeg", "png", "gif", "bmp", "wbmp" or
// "unknown" (also when the service cannot open it).
std::string PictureFormat(const std::u16string& path, bool isProtected);

}  // namespace probetool
