#include "platform/core/unknown.h"

#include <cstdlib>

const IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void* CoTaskMemAlloc(std::size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void* CoTaskMemRealloc(void* block, std::size_t size) {
    return std::realloc(block, size == 0 ? 1 : size);
}

void CoTaskMemFree(void* block) {
    std::free(block);
}
