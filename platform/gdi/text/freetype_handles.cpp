#include "platform/gdi/text/freetype_handles.h"

#include "platform/core/no_destructor.h"

namespace platform::text {
namespace {

// Kept for the life of the process: faces cached in fonts that live until exit close against it.
struct Library {
    std::mutex mutex;
    FT_Library handle = nullptr;
    Library() {
        if (FT_Init_FreeType(&handle) != 0)
            handle = nullptr;
    }
};

Library& TheLibrary() {
    static NoDestructor<Library> library;
    return *library;
}

}  // namespace

void FtFaceFree::operator()(FT_Face face) const {
    Library& library = TheLibrary();
    std::lock_guard lock(library.mutex);
    FT_Done_Face(face);
}

FtFacePtr OpenFace(const std::string& path, int index) {
    Library& library = TheLibrary();
    std::lock_guard lock(library.mutex);
    if (!library.handle)
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library.handle, path.c_str(), index, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return FtFacePtr(face);
}

}  // namespace platform::text
