// File handles: CreateFileW and the calls on the handle it returns, plus _wfopen. Handles are
// kernel objects of the core table and are closed with CloseHandle.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/core/handle.h"
#include "platform/core/types.h"
#include "platform/fs/attributes.h"

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_FLAG_WRITE_THROUGH = 0x80000000;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

// Accepted for the signatures' sake; the handheld does no overlapped file I/O and neither do we.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

namespace platform {

// What a file handle stands for: a host file, or content another service produces (such as the
// clear content of a protected file). The handle functions dispatch here. Each returns 0 or a
// Win32 error number.
class FileStream : public KernelObject {
  public:
    virtual DWORD Read(void* buffer, DWORD size, DWORD& done) = 0;
    virtual DWORD Write(const void* buffer, DWORD size, DWORD& done);
    virtual DWORD Position(std::uint64_t& position) = 0;
    virtual DWORD SetPosition(std::uint64_t position) = 0;
    virtual DWORD Size(std::uint64_t& size) = 0;
    virtual DWORD GetTimes(FILETIME* creation, FILETIME* access, FILETIME* write);
    virtual DWORD SetTimes(const FILETIME* creation, const FILETIME* access, const FILETIME* write);
    // Ends the file at the current position.
    virtual DWORD Truncate();
    virtual DWORD Flush();
};

}  // namespace platform

// Sharing modes are accepted but not enforced: the host has no mandatory locks. A folder cannot
// be opened (ERROR_ACCESS_DENIED), nor can a read-only file for writing. CREATE_NEW on an
// existing file fails with ERROR_FILE_EXISTS; CREATE_ALWAYS and OPEN_ALWAYS on one succeed with
// the last error ERROR_ALREADY_EXISTS. New files take FILE_ATTRIBUTE_READONLY/HIDDEN/SYSTEM/
// ARCHIVE from `flagsAndAttributes`.
HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);

// Reads until `toRead` bytes or the end of the file; at the end *read is 0 and the call succeeds.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped);
// With a null `distanceHigh` the distance is a signed 32-bit value and a result that does not
// fit in 32 bits fails. A position before the start fails with ERROR_NEGATIVE_SEEK (131).
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
// Null times are left as they are; the host keeps no settable creation time, so it is ignored.
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);

// fopen with a device path and a UTF-16 mode ("rb", "wb", "a+", ...). Null with errno and the
// last error set on failure; folders and, for writing, read-only files are refused.
FILE* _wfopen(const WCHAR* path, const WCHAR* mode);
