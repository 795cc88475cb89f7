#include "platform/imaging/codec/jpeg/jpeg_error.h"

namespace platform::imaging::jpeg {
namespace {

ErrorTrap* TrapOf(j_common_ptr common) {
    return reinterpret_cast<ErrorTrap*>(common->err);
}

void ExitToTrap(j_common_ptr common) {
    ErrorTrap* trap = TrapOf(common);
    trap->failureCode = trap->manager.msg_code;
    std::longjmp(trap->jump, 1);
}

// Level -1 is a warning (corrupt data, premature end); higher levels are trace output.
void CountMessage(j_common_ptr common, int level) {
    if (level < 0)
        ++TrapOf(common)->warnings;
}

void Silent(j_common_ptr) {}

}  // namespace

void InstallErrorTrap(jpeg_common_struct* common, ErrorTrap* trap) {
    common->err = jpeg_std_error(&trap->manager);
    trap->manager.error_exit = ExitToTrap;
    trap->manager.emit_message = CountMessage;
    trap->manager.output_message = Silent;
}

HRESULT FailureResult(const ErrorTrap& trap) {
    switch (trap.failureCode) {
        case JERR_OUT_OF_MEMORY:
        case JERR_NO_BACKING_STORE:
        case JERR_TFILE_CREATE:
            return E_OUTOFMEMORY;
        default:
            return E_FAIL;
    }
}

void FailureText(jpeg_common_struct* common, char (&text)[JMSG_LENGTH_MAX]) {
    text[0] = 0;
    const auto* trap = reinterpret_cast<const ErrorTrap*>(common->err);
    if (trap != nullptr && trap->reason != nullptr)
        std::snprintf(text, sizeof(text), "%s", trap->reason);
    else if (common->err != nullptr)
        common->err->format_message(common, text);
}

}  // namespace platform::imaging::jpeg
