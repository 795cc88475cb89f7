// libpng reports errors by longjmp. These helpers keep every jump inside RunGuarded, whose steps
// hold only trivially destructible locals, so a jump never skips a C++ destructor.
#pragma once

#include <png.h>

namespace platform::imaging::png_support {

// The first error text libpng reported; what we print when a picture fails.
struct PngErrors {
    char text[160] = {};
};

// Handlers for png_create_*_struct with a PngErrors* as the error pointer.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message);
void OnPngWarning(png_structp png, png_const_charp message);

// libpng's allocator for our structures: no single block beyond a few rows' worth of a 65535-wide
// picture, so no chunk length a file claims can make libpng reserve gigabytes.
png_voidp BoundedMalloc(png_structp png, png_alloc_size_t size);
void FreeMemory(png_structp png, png_voidp block);

// A piece of libpng work. It and everything it calls keep only trivially destructible locals.
using PngStep = void (*)(png_structp png, png_infop info, void* context);

// Runs `step` with libpng's jump target set; false when libpng reported an error.
bool RunGuarded(png_structp png, png_infop info, PngStep step, void* context);

// Bounds on what a hostile file may make libpng allocate outside the picture itself.
void LimitMemory(png_structp png);

}  // namespace platform::imaging::png_support
