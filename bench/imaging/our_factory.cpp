#include "bench/imaging/our_factory.h"

#include <cstdio>
#include <stdexcept>

#include "platform/com/com.h"

namespace imaging_bench {

void CheckResult(HRESULT result, const char* what) {
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
        throw std::runtime_error(std::string(what) + " failed with " + code);
    }
}

ComInitialization::ComInitialization() {
    CheckResult(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");
}

ComInitialization::~ComInitialization() {
    CoUninitialize();
}

ComPtr<IImagingFactory> NewImagingFactory() {
    ComPtr<IImagingFactory> factory;
    CheckResult(
        CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                         reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())),
        "CoCreateInstance of the imaging factory");
    return factory;
}

}  // namespace imaging_bench
