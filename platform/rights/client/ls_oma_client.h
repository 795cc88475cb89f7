// The OMA rights client library (LsOmaClient.dll): open a protected file, read its forward-lock
// flag, its constraints one by one, a header, and the client's validated local time. Exported by
// ordinal; the loader's module table maps each ordinal to these functions. Strings are UTF-8
// device paths.
#pragma once

#include <cstdint>

#include "platform/core/types.h"

// Results.
constexpr int LS_OK = 0;
constexpr int LS_E_INVALIDARG = 0xF0001;
constexpr int LS_E_OPEN = 0xF0002;          // missing, unprotected or damaged file
constexpr int LS_E_NOHEADER = 0xF0003;      // no header of that name
constexpr int LS_E_NOCONSTRAINT = 0xF0004;  // no constraint at this index
constexpr int LS_E_BUFFER = 0xF0005;        // the buffer given is too small
constexpr int LS_E_HANDLE = 0xF0006;        // not an open handle

// Permission selectors for LsOma_GetConstraint.
constexpr DWORD LS_PERMISSION_PLAY = 0;
constexpr DWORD LS_PERMISSION_DISPLAY = 1;
constexpr DWORD LS_PERMISSION_EXECUTE = 2;
constexpr DWORD LS_PERMISSION_PRINT = 3;

// Constraint kinds as the client writes them.
constexpr DWORD LS_CONSTRAINT_NONE = 0;
constexpr DWORD LS_CONSTRAINT_DATETIME = 17;
constexpr DWORD LS_CONSTRAINT_INTERVAL = 256;
constexpr DWORD LS_CONSTRAINT_COUNT = 4096;

// One constraint of one rights object, laid out as the client writes it (44 bytes, 4-byte
// packing). Datetimes are UTC FILETIMEs; a datetime without an end has the largest FILETIME as
// its end, one without a start has 0. Interval values are 100-ns units on the client's clock
// (local time), the start 0 until the interval has started. The start is shifted by the zone
// offset in force now, the one ordinal 150 uses, so that "now <= start + duration" holds across a
// daylight-saving change.
#pragma pack(push, 4)
struct DrmConstraint {
    DWORD dwKind;
    FILETIME ftStart;
    FILETIME ftEnd;
    std::int64_t llIntervalDuration;
    std::int64_t llIntervalStart;
    std::int32_t nCountTotal;
    std::int32_t nCountUsed;
};
#pragma pack(pop)
static_assert(sizeof(DrmConstraint) == 44);

using LSHANDLE = void*;

// Ordinal 146. Opens the protected file at the UTF-8 device path; *handle is null on failure.
int LsOma_Open(const char* path, LSHANDLE* handle);
// Ordinal 143. *forwardLocked is 1 for forward-lock and combined-delivery content, 0 for
// separate delivery (which may be forwarded).
int LsOma_GetForwardLockFlag(LSHANDLE handle, DWORD* forwardLocked);
// Ordinal 142. The constraint at `index` of the permission `selector`, counted across every
// rights object installed for the content in install order: a permission without constraints
// gives one LS_CONSTRAINT_NONE entry, one with several gives one entry per constraint.
// LS_E_NOCONSTRAINT past the last one (and for separate or combined delivery without rights).
// Forward-lock content is unlimited: one LS_CONSTRAINT_NONE entry for every permission. What
// was spent is read when the handle is opened.
int LsOma_GetConstraint(LSHANDLE handle, DWORD selector, DWORD index, DrmConstraint* constraint);
// Ordinal 141. Copies the value of the header `name` (compared without case), terminated, into
// `buffer`; a null buffer only asks for the length. *length is in and out: the buffer's size,
// then the value's length plus 1 for the terminator. LS_E_NOHEADER when there is no such header.
int LsOma_GetHeader(LSHANDLE handle, const char* name, char* buffer, DWORD* length);
// Ordinal 129. Closes and clears *handle. Every function answers LS_E_HANDLE for a handle that is
// closed or was never opened; handles are never reused.
int LsOma_Close(LSHANDLE* handle);
// Ordinal 150. The current local time in 100-ns units since 1601, from the platform's wall clock.
int LsPlatformServicesSPI_GetAndValidateLocalTime(std::int64_t* time);
