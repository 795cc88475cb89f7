// How libjpeg's failures reach us: its error manager jumps back to the small guarded function that
// called into the library, warnings are counted instead of printed, and the failing message code is
// kept so it can become an HRESULT.
#pragma once

#include <csetjmp>

#include "platform/core/error.h"
#include "platform/imaging/codec/jpeg/jpeg_lib.h"

namespace platform::imaging::jpeg {

struct ErrorTrap {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the trap
    std::jmp_buf jump;
    int warnings = 0;
    int failureCode = 0;           // libjpeg's message code of the error that ended the call
    const char* reason = nullptr;  // our own reason, when we ended the call ourselves
};

// Points `common->err` at `trap` with handlers that count warnings and jump on errors.
void InstallErrorTrap(jpeg_common_struct* common, ErrorTrap* trap);

// E_OUTOFMEMORY for libjpeg running out of (allowed) working memory, E_FAIL for everything else.
HRESULT FailureResult(const ErrorTrap& trap);

// The text of the failing message, for a debug line.
void FailureText(jpeg_common_struct* common, char (&text)[JMSG_LENGTH_MAX]);

}  // namespace platform::imaging::jpeg
