// The program's rights records: the per-file record a catalogue item keeps, and the rights
// summary the properties view shows, built on the platform's file-rights functions and the
// rights client.
#pragma once

#include <cstdlib>
#include <memory>

#include "catalogue/media_types.h"
#include "platform/core/types.h"
#include "platform/rights/client/ls_oma_client.h"

constexpr DWORD DRM_FORWARD_LOCKED = 0x1;
constexpr DWORD DRM_NO_RIGHTS = 0x10;
constexpr DWORD DRM_HAS_RIGHTS_ISSUER = 0x100;

constexpr DWORD CONSTRAINT_NONE = LS_CONSTRAINT_NONE;
constexpr DWORD CONSTRAINT_DATETIME = LS_CONSTRAINT_DATETIME;
constexpr DWORD CONSTRAINT_INTERVAL = LS_CONSTRAINT_INTERVAL;
constexpr DWORD CONSTRAINT_COUNT = LS_CONSTRAINT_COUNT;
constexpr DWORD CONSTRAINT_UNREADABLE = 0xFFFFFFFF;

// Heap record (calloc), owned by the catalogue item and released with free.
struct DrmFileInfo {
    DWORD dwValid;   // 1 once built
    DWORD dwStatus;  // DRM_ bits: 0, 1, 16, 17, 256 or 257
    DWORD dwExpired;
    DWORD dwMediaType;  // MediaType
    WCHAR szPath[MAX_PATH];
};

struct DrmRightsSummary {
    DWORD dwForwardable;  // 1 "Possible", 0 "Impossible"
    DWORD dwHasRightsIssuer;
    int nConstraintCount;
    DrmConstraint* pConstraints;  // calloc'd; owned by whoever asked (FreeDrmRightsSummary)
};

// For owners that want RAII over the C-style records.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using DrmFileInfoPtr = std::unique_ptr<DrmFileInfo, FreeDeleter>;

// A record for a protected file, or null for an empty path or a file the platform calls
// unprotected or cannot judge.
DrmFileInfo* CreateDrmFileInfo(LPCWSTR path, DWORD mediaType);
// Checks the record's expiry now; stores the flag in the record and returns it.
DWORD UpdateDrmExpiry(DrmFileInfo* info);
// Fills `summary`, zeroed first (its earlier array is not freed); 1, or 0 when the file cannot be
// opened. Entries the client cannot read are CONSTRAINT_UNREADABLE.
int ReadDrmRightsSummary(LPCWSTR path, DWORD mediaType, DrmRightsSummary* summary);
// Frees the summary's array and zeroes it.
void FreeDrmRightsSummary(DrmRightsSummary* summary);
// A started interval counts as valid when the client's clock cannot be had (logged).
BOOL IsDrmConstraintValid(const DrmConstraint* constraint);
BOOL AllDrmConstraintsExpired(const DrmRightsSummary* summary);
BOOL HasUnlimitedDrmConstraint(const DrmRightsSummary* summary);
// The "Unlock" prompt: lets the rights service tell the user what the file's rights need.
int PromptDrmRights(HWND owner, const DrmFileInfo* info);
