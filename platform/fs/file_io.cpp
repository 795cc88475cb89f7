// The calls on an open file handle; each dispatches to the handle's FileStream.
#include "platform/fs/file_io.h"

#include <memory>

#include "platform/core/error.h"

namespace {

// ERROR_NEGATIVE_SEEK: the handheld's answer to a move before the start of the file.
constexpr DWORD kErrorNegativeSeek = 131;

std::shared_ptr<platform::FileStream> StreamOf(HANDLE file) {
    return platform::LookupHandleAs<platform::FileStream>(file);
}

BOOL Result(DWORD error) {
    if (error == ERROR_SUCCESS)
        return TRUE;
    SetLastError(error);
    return FALSE;
}

// The position SetFilePointer asks for, or an error number.
DWORD TargetPosition(platform::FileStream& stream, std::int64_t distance, DWORD method,
                     std::uint64_t& target) {
    std::uint64_t base = 0;
    DWORD error = ERROR_SUCCESS;
    if (method == FILE_CURRENT) {
        error = stream.Position(base);
    } else if (method == FILE_END) {
        error = stream.Size(base);
    } else if (method != FILE_BEGIN) {
        error = ERROR_INVALID_PARAMETER;
    }
    if (error != ERROR_SUCCESS)
        return error;
    if (distance < 0 && static_cast<std::uint64_t>(-(distance + 1)) >= base) {
        return kErrorNegativeSeek;
    }
    target = base + static_cast<std::uint64_t>(distance);
    return ERROR_SUCCESS;
}

}  // namespace

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED) {
    if (read)
        *read = 0;
    auto stream = StreamOf(file);
    if (!stream)
        return FALSE;
    if (!buffer && toRead > 0)
        return Result(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    const DWORD error = stream->Read(buffer, toRead, done);
    if (read)
        *read = done;
    return Result(error);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
    if (written)
        *written = 0;
    auto stream = StreamOf(file);
    if (!stream)
        return FALSE;
    if (!buffer && toWrite > 0)
        return Result(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    const DWORD error = stream->Write(buffer, toWrite, done);
    if (written)
        *written = done;
    return Result(error);
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    auto stream = StreamOf(file);
    if (!stream)
        return INVALID_SET_FILE_POINTER;
    const std::int64_t move =
        distanceHigh ? static_cast<std::int64_t>((static_cast<std::uint64_t>(*distanceHigh) << 32) |
                                                 static_cast<DWORD>(distance))
                     : distance;
    std::uint64_t target = 0;
    DWORD error = TargetPosition(*stream, move, moveMethod, target);
    if (error == ERROR_SUCCESS && !distanceHigh && target > 0xFFFFFFFFull) {
        error = ERROR_INVALID_PARAMETER;
    }
    if (error == ERROR_SUCCESS)
        error = stream->SetPosition(target);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh)
        *distanceHigh = static_cast<LONG>(target >> 32);
    // 0xFFFFFFFF can be a valid low part; callers tell it from a failure by the last error.
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
    auto stream = StreamOf(file);
    if (!stream)
        return INVALID_FILE_SIZE;
    std::uint64_t size = 0;
    if (const DWORD error = stream->Size(size)) {
        SetLastError(error);
        return INVALID_FILE_SIZE;
    }
    if (sizeHigh)
        *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite) {
    auto stream = StreamOf(file);
    return stream ? Result(stream->GetTimes(creation, lastAccess, lastWrite)) : FALSE;
}

BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite) {
    auto stream = StreamOf(file);
    return stream ? Result(stream->SetTimes(creation, lastAccess, lastWrite)) : FALSE;
}

BOOL SetEndOfFile(HANDLE file) {
    auto stream = StreamOf(file);
    return stream ? Result(stream->Truncate()) : FALSE;
}

BOOL FlushFileBuffers(HANDLE file) {
    auto stream = StreamOf(file);
    return stream ? Result(stream->Flush()) : FALSE;
}
