// Items over a temporary device with a rights store, the program's skin bitmaps and a fixed
// wall clock: every test makes real files and real items through CreateMediaItem.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/items/media_item.h"
#include "platform/rights/rel/rights_object.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/rights_fixtures.h"

namespace items_test {

using platform::rights::Permission;
using testing_support::Bytes;
using testing_support::Terms;

constexpr std::int64_t kNow = 1'800'000'000;  // January 2027
constexpr std::int64_t kDay = 86'400;

using testing_support::CountTerms;
using testing_support::SpendOneUse;
inline Terms EndedTerms() {
    Terms terms;
    terms.start = kNow - 10 * kDay;
    terms.end = kNow - kDay;
    return terms;
}

// The grid's cell at 96 dpi in portrait, as the thumbnail view passes it.
constexpr int kCellWidth = 70;
constexpr int kCellHeight = 68;

class ItemTest : public testing::Test {
  public:
    ItemTest();
    ~ItemTest() override;

    // "\My Documents\<name>".
    static std::u16string PathOf(const std::u16string& name);
    std::string HostOf(const std::u16string& name) const;

    // Writes the file and returns its device path.
    std::u16string Put(const std::u16string& name, const Bytes& bytes) const;
    // A picture made by ImageMagick's convert: `source` such as "xc:red" at width x height.
    std::u16string Picture(const std::u16string& name, int width, int height,
                           const std::string& source = "xc:red") const;
    // Protected files in the test's rights store.
    std::u16string ForwardLocked(const std::u16string& name, const std::string& contentType,
                                 const Bytes& media) const;
    std::u16string Separate(const std::u16string& name, const std::string& contentType,
                            Permission permission, const Terms& terms, bool installRights,
                            const std::string& rightsIssuer = {},
                            testing_support::SeparateDelivery* made = nullptr);

    // An item for the file as the container makes it: its directory entry read back.
    std::unique_ptr<CMediaItem> Item(MediaType type, const std::u16string& name) const;
    template <typename T>
    std::unique_ptr<T> ItemAs(MediaType type, const std::u16string& name) const {
        std::unique_ptr<CMediaItem> item = Item(type, name);
        T* typed = dynamic_cast<T*>(item.get());
        if (typed == nullptr)
            return nullptr;
        item.release();
        return std::unique_ptr<T>(typed);
    }

    testing_support::FixedClock clock_{kNow};
    testing_support::RightsDevice device_;

  private:
    int uids_ = 0;
};

// The bitmap's size; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
// Every pixel of the bitmap as the screen shows it, row by row.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap);
// The pixels of skin bitmap `id` as LoadBitmap gives it now, with the magenta key replaced by
// `key` (as a 16-bit bitmap stores it) when one is given.
std::vector<COLORREF> SkinPixels(UINT id, const COLORREF* key = nullptr);

}  // namespace items_test

// Rectangles compared and printed in the tests' messages.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::ostream& operator<<(std::ostream& out, const RECT& r);
