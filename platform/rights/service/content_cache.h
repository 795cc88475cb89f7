// The last protected-file checks, so that the verify, open and commit of one file do not read it
// three times. An entry serves only while the file's size and modification time are unchanged.
#pragma once

#include <string>

#include "platform/rights/content/protected_file.h"

namespace platform::rights {

// ReadProtectedFile through the cache. Unreadable results are never kept.
ReadResult ReadProtectedFileCached(const std::string& hostPath);

}  // namespace platform::rights
