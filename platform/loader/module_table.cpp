#include "platform/loader/module_table.h"

#include <array>

#include "platform/rights/client/ls_oma_client.h"

namespace platform::loader {

namespace {

// A FARPROC is only a token for the function; calling it through any type but the function's
// own is undefined, so every caller casts it back to the exact signature first.
template <typename Function>
FARPROC AsProc(Function* function) {
    return reinterpret_cast<FARPROC>(function);
}

const std::array kLsOmaClientExports = {
    Export{146, "LsOma_Open", AsProc(&LsOma_Open)},
    Export{143, "LsOma_GetForwardLockFlag", AsProc(&LsOma_GetForwardLockFlag)},
    Export{142, "LsOma_GetConstraint", AsProc(&LsOma_GetConstraint)},
    Export{141, "LsOma_GetHeader", AsProc(&LsOma_GetHeader)},
    Export{129, "LsOma_Close", AsProc(&LsOma_Close)},
    Export{150, "LsPlatformServicesSPI_GetAndValidateLocalTime",
           AsProc(&LsPlatformServicesSPI_GetAndValidateLocalTime)},
};

const std::array kModules = {
    Module{u"LsOmaClient.dll", kLsOmaClientExports},
};

}  // namespace

std::span<const Module> BuiltInModules() {
    return kModules;
}

}  // namespace platform::loader
