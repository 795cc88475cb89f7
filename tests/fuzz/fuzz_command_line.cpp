// libFuzzer target: the start request's grammar over arbitrary UTF-16 text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/launch/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string line(size / 2, u'\0');
    std::memcpy(line.data(), data, line.size() * 2);
    LaunchContext ctx = {};
    if (ParseLaunchGrammar(line, ctx) == 1) {
        const bool knownFilter = ctx.typeFilter == FILTER_IMAGE ||
                                 ctx.typeFilter == FILTER_DOCUMENT ||
                                 ctx.typeFilter == FILTER_MUSIC || ctx.typeFilter == FILTER_VIDEO;
        const bool knownMode = ctx.openMode == OPEN_FOLDER || ctx.openMode == OPEN_FILE;
        if (!knownFilter || !knownMode || ctx.source > SOURCE_CAMCORDER)
            std::abort();
        if (ctx.typeFilter == FILTER_VIDEO && ctx.openMode != OPEN_FOLDER)
            std::abort();
    }
    // Whatever happened, the path must still be terminated inside the record.
    if (std::char_traits<char16_t>::find(ctx.path, MAX_PATH, u'\0') == nullptr)
        std::abort();
    return 0;
}
