// The thumbnail view over a real container on the headless screen: a parent window of a chosen
// client size, files written into a temporary device (pictures made by ImageMagick, positions by
// exiftool, protected files by the rights fixtures), and the screen read back in the view's own
// coordinates.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/thumbnail_view.h"
#include "tests/support/rights_fixtures.h"
#include "tests/support/screen_test.h"

namespace viewtest {

// The view with its page set straight from the test: the paging itself is the browser's.
class TestView : public CThumbnailView {
  public:
    // Shows shown items first..last (first -1: nothing) of `container`.
    void ShowPage(CMediaContainer* container, int first, int last);
    int CheckWidth() const { return m_nCheckWidth; }
    int CheckHeight() const { return m_nCheckHeight; }
};

// The folder every test writes into (the device's own folders stay out of it).
inline const std::u16string kFolder = u"\\Gallery";

class ViewTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A visible top-level parent at the top of the work area with this client size.
    HWND MakeParent(int width, int height);
    // The view created on `parent`, shown.
    TestView& MakeView(HWND parent);

    // Files in kFolder. Each returns the file name.
    std::u16string Put(const std::u16string& name, const testing_support::Bytes& bytes) const;
    // A JPEG of one colour (ImageMagick colour name such as "red"), optionally with a GPS tag.
    std::u16string Jpeg(const std::u16string& name, const std::string& colour,
                        bool withPosition = false) const;
    testing_support::Bytes JpegBytes(const std::string& colour) const;

    // Loads kFolder into the container, all kinds, sorted by name.
    CMediaContainer* LoadFolder();

    // The screen pixel at the view's client point.
    COLORREF ViewPixel(int x, int y) const;
    // Fills the view's client area on the screen with `colour`.
    void FillView(COLORREF colour) const;
    // Whether skin bitmap `id` (its size, or stretched to width x height) shows at the view's
    // client point: every non-magenta pixel equal as the screen shows it.
    bool ShowsSkin(UINT id, int x, int y, int width = 0, int height = 0) const;
    static SIZE SkinSize(UINT id);

    testing_support::RightsDevice device_;
    HWND parent_ = nullptr;
    std::unique_ptr<TestView> view_;
};

// Colours equal within the RGB565 round trip and a small tolerance for JPEG.
bool NearColour(COLORREF a, COLORREF b, int tolerance = 8);

}  // namespace viewtest

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::ostream& operator<<(std::ostream& out, const RECT& r);
