#include "platform/com/com.h"

#include "platform/imaging/imaging.h"

namespace {

// The built-in classes. Video components join here when they become creatable by class id.
struct ClassEntry {
    const CLSID* clsid;
    HRESULT (*create)(REFIID iid, void** object);
};

const ClassEntry kClasses[] = {
    {&CLSID_ImagingFactory, &platform::CreateImagingFactory},
};

thread_local unsigned tInitCount = 0;

}  // namespace

HRESULT CoInitializeEx(void*, DWORD) {
    return tInitCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (tInitCount > 0)
        --tInitCount;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if ((clsContext & CLSCTX_INPROC) == 0)
        return REGDB_E_CLASSNOTREG;  // nothing runs out of process
    for (const ClassEntry& entry : kClasses) {
        if (!IsEqualCLSID(*entry.clsid, clsid))
            continue;
        // None of the built-in objects can be aggregated into another.
        return outer ? CLASS_E_NOAGGREGATION : entry.create(iid, object);
    }
    return REGDB_E_CLASSNOTREG;
}
