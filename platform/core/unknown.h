// The base of every COM-style interface: reference counting and QueryInterface, with the
// handheld's IUnknown layout, and the GUID comparisons the interfaces need.
#pragma once

#include <cstring>

#include "platform/core/error.h"
#include "platform/core/types.h"

using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}
inline bool IsEqualIID(REFIID a, REFIID b) {
    return IsEqualGUID(a, b);
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return IsEqualGUID(a, b);
}

extern const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IUnknown() = default;  // objects die through Release, never through delete
};

// Task memory: blocks the platform hands to its caller, who frees them with CoTaskMemFree.
void* CoTaskMemAlloc(std::size_t size);
void* CoTaskMemRealloc(void* block, std::size_t size);
void CoTaskMemFree(void* block);

// The id of an interface type, for ComObject and ComPtr::As; each interface header names its
// own with PICTARIUM_INTERFACE_ID after the declaration.
template <typename Interface>
const IID& InterfaceIdOf();

#define PICTARIUM_INTERFACE_ID(Interface, iid)     \
    template <>                                    \
    inline const IID& InterfaceIdOf<Interface>() { \
        return iid;                                \
    }

PICTARIUM_INTERFACE_ID(IUnknown, IID_IUnknown)
