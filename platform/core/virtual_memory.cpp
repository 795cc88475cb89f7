#include "platform/core/virtual_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <mutex>

#include "platform/core/error.h"
#include "platform/core/no_destructor.h"

namespace {

std::uintptr_t PageSize() {
    static const std::uintptr_t size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    return size;
}

std::uintptr_t RoundDown(std::uintptr_t value) {
    return value & ~(PageSize() - 1);
}

// False on overflow, so a huge size cannot wrap round to a small range.
bool RoundUp(std::uintptr_t value, std::uintptr_t* rounded) {
    if (value > UINTPTR_MAX - (PageSize() - 1))
        return false;
    *rounded = (value + PageSize() - 1) & ~(PageSize() - 1);
    return true;
}

bool ToProtection(DWORD protect, int* prot) {
    switch (protect) {
        case PAGE_NOACCESS:
            *prot = PROT_NONE;
            return true;
        case PAGE_READONLY:
            *prot = PROT_READ;
            return true;
        case PAGE_READWRITE:
            *prot = PROT_READ | PROT_WRITE;
            return true;
        default:
            return false;
    }
}

// Every live reservation, base -> length, so commits and frees can be checked against them
// instead of touching whatever else is mapped at an address.
struct Reservations {
    std::mutex lock;
    std::map<std::uintptr_t, std::uintptr_t> ranges;

    // The reservation wholly containing [begin, end), or ranges.end().
    std::map<std::uintptr_t, std::uintptr_t>::iterator Containing(std::uintptr_t begin,
                                                                  std::uintptr_t end) {
        auto it = ranges.upper_bound(begin);
        if (it == ranges.begin())
            return ranges.end();
        --it;
        return end <= it->first + it->second ? it : ranges.end();
    }
};

Reservations& TheReservations() {
    static platform::NoDestructor<Reservations> reservations;
    return *reservations;
}

LPVOID Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

LPVOID Reserve(LPVOID address, SIZE_T size, DWORD allocationType, int prot) {
    std::uintptr_t length = 0;
    if (size == 0 || !RoundUp(size, &length))
        return Fail(ERROR_INVALID_PARAMETER);
    // A reservation alone holds no memory: nothing is counted against the system until commit.
    const int initial = (allocationType & MEM_COMMIT) ? prot : PROT_NONE;
    int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
    void* hint = nullptr;
    if (address) {
        hint = reinterpret_cast<void*>(RoundDown(reinterpret_cast<std::uintptr_t>(address)));
        flags |= MAP_FIXED_NOREPLACE;
    }
    void* mapped = mmap(hint, length, initial, flags, -1, 0);
    if (mapped == MAP_FAILED)
        return Fail(address ? ERROR_INVALID_ADDRESS : ERROR_NOT_ENOUGH_MEMORY);
    if (hint && mapped != hint) {  // older kernels treat the flag as a mere hint
        munmap(mapped, length);
        return Fail(ERROR_INVALID_ADDRESS);
    }
    Reservations& all = TheReservations();
    std::lock_guard guard(all.lock);
    all.ranges[reinterpret_cast<std::uintptr_t>(mapped)] = length;
    return mapped;
}

LPVOID Commit(LPVOID address, SIZE_T size, int prot) {
    const auto begin = RoundDown(reinterpret_cast<std::uintptr_t>(address));
    std::uintptr_t end = 0;
    const auto last = reinterpret_cast<std::uintptr_t>(address);
    if (size == 0 || last > UINTPTR_MAX - size || !RoundUp(last + size, &end))
        return Fail(ERROR_INVALID_PARAMETER);
    Reservations& all = TheReservations();
    std::lock_guard guard(all.lock);
    if (all.Containing(begin, end) == all.ranges.end())
        return Fail(ERROR_INVALID_ADDRESS);
    if (mprotect(reinterpret_cast<void*>(begin), end - begin, prot) != 0)
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    return reinterpret_cast<LPVOID>(begin);
}

}  // namespace

void GetSystemInfo(LPSYSTEM_INFO info) {
    if (!info)
        return;
    *info = SYSTEM_INFO{};
    info->wProcessorArchitecture = 5;  // ARM, as on the handheld
    info->dwPageSize = static_cast<DWORD>(PageSize());
    info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(PageSize());
    info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(UINTPTR_MAX - PageSize());
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    info->dwNumberOfProcessors = processors > 0 ? static_cast<DWORD>(processors) : 1;
    info->dwActiveProcessorMask = 1;
    // Reservations are made by mmap, so they start on any page.
    info->dwAllocationGranularity = static_cast<DWORD>(PageSize());
}

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
    int prot = 0;
    if (!ToProtection(protect, &prot))
        return Fail(ERROR_INVALID_PARAMETER);
    if (allocationType & MEM_RESERVE) {
        if (allocationType & ~(MEM_RESERVE | MEM_COMMIT))
            return Fail(ERROR_INVALID_PARAMETER);
        return Reserve(address, size, allocationType, prot);
    }
    if (allocationType != MEM_COMMIT || !address)
        return Fail(ERROR_INVALID_PARAMETER);
    return Commit(address, size, prot);
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
    const auto start = reinterpret_cast<std::uintptr_t>(address);
    Reservations& all = TheReservations();
    std::lock_guard guard(all.lock);
    if (freeType == MEM_RELEASE) {
        const auto it = all.ranges.find(start);
        if (size != 0 || it == all.ranges.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        munmap(address, it->second);
        all.ranges.erase(it);
        return TRUE;
    }
    if (freeType != MEM_DECOMMIT || !address) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uintptr_t begin = RoundDown(start);
    std::uintptr_t end = 0;
    if (size == 0) {
        const auto it = all.ranges.find(start);
        if (it == all.ranges.end()) {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        end = begin + it->second;
    } else if (start > UINTPTR_MAX - size || !RoundUp(start + size, &end) ||
               all.Containing(begin, end) == all.ranges.end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    // Dropping the pages gives the memory back; a later commit sees zeros again.
    void* first = reinterpret_cast<void*>(begin);
    if (mprotect(first, end - begin, PROT_NONE) != 0 ||
        madvise(first, end - begin, MADV_DONTNEED) != 0) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    return TRUE;
}
