// The handheld shell's file-rights functions: is a file protected, open its clear content,
// verify a right, commit a use, and the service's own dialogs. Paths are device paths.
#pragma once

#include <string>

#include "platform/core/handle.h"
#include "platform/core/types.h"
#include "platform/fs/file_io.h"

// Rights (one at a time).
constexpr DWORD FDRRF_PLAY = 0x01;
constexpr DWORD FDRRF_DISPLAY = 0x02;
constexpr DWORD FDRRF_EXECUTE = 0x04;
constexpr DWORD FDRRF_PRINT = 0x08;
constexpr DWORD FDRRF_FORWARD = 0x10;
constexpr DWORD FDRR_DISPLAY = FDRRF_DISPLAY;

// FileDrmVerifyRights flags.
constexpr DWORD FDRVF_NOUI = 0x01;             // never show anything
constexpr DWORD FDRVF_NORENEW = 0x02;          // do not offer new rights; answer plainly
constexpr DWORD FDRVF_VERIFY_CONTINUE = 0x04;  // only checking: do not report metered rights

// FileDrmVerifyRights status bits.
constexpr DWORD FDRVS_USER_CAN_UPDATE = 0x01;  // the rights issuer can send new rights
constexpr DWORD FDRVS_EXPIRABLE = 0x04;        // allowed, and a use spends a count or an interval

// Results the program tells apart.
constexpr HRESULT E_FDRM_NOFORWARDRIGHTS = static_cast<HRESULT>(0x80040205);
constexpr HRESULT E_FDRM_LICENSEEXPIRED = static_cast<HRESULT>(0x8004020A);
constexpr HRESULT E_FDRM_NOLICENSE = static_cast<HRESULT>(0x8004020B);
// FileDrmIsDRM: the file starts like protected content, but its container cannot be read. The
// flag says unprotected; nothing can be opened from it.
constexpr HRESULT S_FDRM_UNREADABLE = 0x00040207;

// S_OK with *isDrm 1 for readable protected content, S_OK with 0 for any other readable file,
// S_FDRM_UNREADABLE with 0 (see above), or HRESULT_FROM_WIN32 of the error when the file
// cannot be read.
HRESULT FileDrmIsDRM(LPCWSTR path, BOOL* isDrm);

// A read-only handle whose ReadFile, GetFileSize and SetFilePointer give the clear content,
// closed with CloseHandle. Opening spends nothing. S_FALSE (1) with INVALID_HANDLE_VALUE when no
// right allows any use now; a failure when the file is missing, unprotected, damaged, or the
// access asked includes writing.
HRESULT FileDrmCreateFile(LPCWSTR path, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile, HANDLE* handle);

// Judges `right` for the file now and answers as the table in file_drm_results.cpp says; with
// FDRVF_NOUI clear and a use the user must know about, shows the service's own message first.
HRESULT FileDrmVerifyRights(HWND owner, LPCWSTR path, DWORD right, DWORD flags, DWORD* status);

// Spends one use of `right` on the content behind a FileDrmCreateFile handle, in one
// transaction. S_OK also for forward-locked content (nothing to spend); E_HANDLE for a handle
// that is not protected content; the verify results when no right allows the use any more.
HRESULT FileDrmCommitRights(HANDLE file, DWORD right, DWORD flags);

// Shows the message for a failed verify (expired, no rights, not yet valid), offering the rights
// issuer's address when the file names one. *status is 0.
HRESULT FileDrmHandleError(HWND owner, HRESULT error, LPCWSTR path, DWORD flags, DWORD* status);

// The rights dialog: what the file's rights allow and what is left of them.
HRESULT FileDrmShowLicenseInfo(HWND owner, LPCWSTR path);

namespace platform {

// The rights store file: set by tests and tools; by default "rights.db" beside the registry
// file. Takes effect for the next call.
void ConfigureRightsStore(const std::string& hostPath);
std::string RightsStorePath();

}  // namespace platform
