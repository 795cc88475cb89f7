// Reaching the imaging service the way the program does, and turning its failure results into
// exceptions so that a benchmark never times an operation that did not happen.
#pragma once

#include <string>

#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"

namespace imaging_bench {

// Throws std::runtime_error naming `what` and the result when `result` is a failure.
void CheckResult(HRESULT result, const char* what);

// CoInitializeEx for the life of the object, as the program's imaging users do first.
class ComInitialization {
  public:
    ComInitialization();
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    ~ComInitialization();
};

// A new factory by CoCreateInstance of CLSID_ImagingFactory, as each imaging user makes one.
ComPtr<IImagingFactory> NewImagingFactory();

}  // namespace imaging_bench
