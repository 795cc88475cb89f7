// Address-space reservations with the handheld's names: VirtualAlloc reserves a range that
// holds no memory and commits pages of it on demand, VirtualFree decommits or releases them.
// Realised with mmap/mprotect/madvise/munmap; ranges are whole pages.
#pragma once

#include "platform/core/types.h"

constexpr DWORD MEM_COMMIT = 0x00001000;
constexpr DWORD MEM_RESERVE = 0x00002000;
constexpr DWORD MEM_DECOMMIT = 0x00004000;
constexpr DWORD MEM_RELEASE = 0x00008000;

constexpr DWORD PAGE_NOACCESS = 0x01;
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;

constexpr DWORD ERROR_INVALID_ADDRESS = 487;

struct SYSTEM_INFO {
    WORD wProcessorArchitecture;
    WORD wReserved;
    DWORD dwPageSize;
    LPVOID lpMinimumApplicationAddress;
    LPVOID lpMaximumApplicationAddress;
    DWORD_PTR dwActiveProcessorMask;
    DWORD dwNumberOfProcessors;
    DWORD dwProcessorType;
    DWORD dwAllocationGranularity;
    WORD wProcessorLevel;
    WORD wProcessorRevision;
};
using LPSYSTEM_INFO = SYSTEM_INFO*;

void GetSystemInfo(LPSYSTEM_INFO info);

// MEM_RESERVE (with a null or free `address`) makes a new reservation of `size` rounded up to
// pages; adding MEM_COMMIT commits it all at once. MEM_COMMIT alone commits the pages covering
// [address, address + size) of an existing reservation and returns the first page's address;
// fresh pages read as zeros. Null with GetLastError on failure (ERROR_INVALID_ADDRESS outside
// a reservation, ERROR_INVALID_PARAMETER for a bad type or protection, ERROR_NOT_ENOUGH_MEMORY).
LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);

// MEM_DECOMMIT gives back the pages covering [address, address + size) (size 0 at the base:
// the whole reservation) and leaves them reserved and inaccessible; MEM_RELEASE frees the whole
// reservation and needs its base and size 0.
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType);
