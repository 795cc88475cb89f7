#include "platform/imaging/codec/png/png_guard.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace platform::imaging::png_support {

void OnPngError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    if (errors != nullptr && errors->text[0] == '\0' && message != nullptr)
        std::strncpy(errors->text, message, sizeof(errors->text) - 1);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {
    // Warnings (unknown chunks, a bad ancillary chunk) do not stop a picture from showing.
}

png_voidp BoundedMalloc(png_structp, png_alloc_size_t size) {
    constexpr png_alloc_size_t kLargestBlock = 16u << 20;
    return size <= kLargestBlock ? std::malloc(size) : nullptr;
}

void FreeMemory(png_structp, png_voidp block) {
    std::free(block);
}

bool RunGuarded(png_structp png, png_infop info, PngStep step, void* context) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    step(png, info, context);
    return true;
}

void LimitMemory(png_structp png) {
    // 65535 a side keeps width x height x 4 well inside the platform's integer types; larger
    // pictures could never fit the handheld's memory anyway.
    png_set_user_limits(png, 65535, 65535);
    png_set_chunk_malloc_max(png, 8u << 20);
    png_set_chunk_cache_max(png, 256);
    // Text, profiles and suggested palettes are never shown; libpng would decompress and keep
    // each (up to the limit above, hundreds of times over), so they are skipped unread.
    static constexpr png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0hIST\0pCAL\0sCAL\0";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, (sizeof(kSkipped) - 1) / 5);
}

}  // namespace platform::imaging::png_support
