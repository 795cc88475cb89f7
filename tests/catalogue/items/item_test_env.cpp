#include "tests/catalogue/items/item_test_env.h"

#include <ostream>

#include "platform/core/wstring.h"
#include "platform/fs/find.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/rights/file_drm.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/resource_tables.h"
#include "resources/skin/skin.h"
#include "tests/support/image_tools.h"
#include "tests/support/screen_test.h"

namespace items_test {

using testing_support::SampleContent;

ItemTest::ItemTest() {
    platform::ResourceCatalogue catalogue;
    catalogue.bitmaps = SkinBitmaps();
    platform::SetResourceCatalogue(catalogue);
}

ItemTest::~ItemTest() {
    platform::SetResourceCatalogue({});
}

std::u16string ItemTest::PathOf(const std::u16string& name) {
    return u"\\My Documents\\" + name;
}

std::string ItemTest::HostOf(const std::u16string& name) const {
    return device_.HostPath(PathOf(name));
}

std::u16string ItemTest::Put(const std::u16string& name, const Bytes& bytes) const {
    device_.Write(PathOf(name), bytes);
    return PathOf(name);
}

std::u16string ItemTest::Picture(const std::u16string& name, int width, int height,
                                 const std::string& source) const {
    const std::string host = HostOf(name);
    // The format follows the file's own extension unless the name hides it.
    EXPECT_TRUE(testing_support::RunConvert(
        {"-size", std::to_string(width) + "x" + std::to_string(height), source, host}))
        << host;
    return PathOf(name);
}

std::u16string ItemTest::ForwardLocked(const std::u16string& name, const std::string& contentType,
                                       const Bytes& media) const {
    return Put(name, testing_support::ForwardLockFile(contentType, media));
}

std::u16string ItemTest::Separate(const std::u16string& name, const std::string& contentType,
                                  Permission permission, const Terms& terms, bool installRights,
                                  const std::string& rightsIssuer,
                                  testing_support::SeparateDelivery* made) {
    const std::string uid = "cid:item" + std::to_string(++uids_) + "@test";
    const testing_support::SeparateDelivery sd = testing_support::SeparateDeliveryFile(
        contentType, SampleContent(), uid, permission, terms, rightsIssuer);
    if (installRights)
        device_.Install(sd.rights, sd.rightsXml);
    if (made != nullptr)
        *made = sd;
    return Put(name, sd.dcf);
}

std::unique_ptr<CMediaItem> ItemTest::Item(MediaType type, const std::u16string& name) const {
    WIN32_FIND_DATAW entry{};
    const std::u16string path = PathOf(name);
    HANDLE find = FindFirstFileW(path.c_str(), &entry);
    EXPECT_NE(find, INVALID_HANDLE_VALUE) << "no directory entry for the test file";
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    else
        lstrcpynW(entry.cFileName, name.c_str(), MAX_PATH);
    return CreateMediaItem(type, entry, u"\\My Documents");
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

std::vector<COLORREF> BitmapPixels(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    std::vector<COLORREF> pixels;
    const platform::ScopedDC dc(CreateCompatibleDC(nullptr));
    const platform::ScopedSelectObject select(dc.Get(), bitmap);
    if (!select)
        return pixels;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x)
            pixels.push_back(GetPixel(dc.Get(), x, y));
    }
    return pixels;
}

std::vector<COLORREF> SkinPixels(UINT id, const COLORREF* key) {
    const platform::ScopedGdiObject skin(LoadBitmapW(nullptr, MAKEINTRESOURCEW(id)));
    std::vector<COLORREF> pixels = BitmapPixels(static_cast<HBITMAP>(skin.Get()));
    if (key != nullptr) {
        for (COLORREF& p : pixels) {
            if (p == RGB(255, 0, 255))
                p = testsupport::AsShown(*key);
        }
    }
    return pixels;
}

}  // namespace items_test

std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
