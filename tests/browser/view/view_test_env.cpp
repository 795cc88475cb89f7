#include "tests/browser/view/view_test_env.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include "tests/support/image_tools.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/resource_tables.h"
#include "platform/user/user.h"
#include "resources/skin/skin.h"

namespace viewtest {
namespace {

constexpr WCHAR kParentClass[] = u"ViewTestParent";

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void TestView::ShowPage(CMediaContainer* container, int first, int last) {
    m_ptMediaContainer = container;
    m_nFirstIndex = first;
    m_nLastIndex = last;
    m_posFirst = container->ShownItems().begin();
    if (first > 0)
        std::advance(m_posFirst, first);
}

void ViewTest::SetUp() {
    platform::ResourceCatalogue catalogue;
    catalogue.bitmaps = SkinBitmaps();
    platform::SetResourceCatalogue(catalogue);
    ASSERT_TRUE(CThumbnailView::RegisterWindowClass());
    WNDCLASSW existing{};
    if (!GetClassInfoW(nullptr, kParentClass, &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kParentClass;
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    // The folder exists even before the first file is written into it.
    std::filesystem::create_directories(
        std::filesystem::path(device_.HostPath(kFolder + u"\\x")).parent_path());
}

void ViewTest::TearDown() {
    view_.reset();
    if (parent_ != nullptr)
        DestroyWindow(parent_);
    CMediaContainer::ReleaseMediaContainer();
    platform::SetResourceCatalogue({});
}

HWND ViewTest::MakeParent(int width, int height) {
    const RECT work = platform::WorkArea();
    parent_ = CreateWindowExW(0, kParentClass, u"Parent", WS_POPUP | WS_VISIBLE, 0, work.top, width,
                              height, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(parent_, nullptr);
    RECT client{};
    GetClientRect(parent_, &client);
    EXPECT_EQ(client, (RECT{0, 0, width, height})) << "the parent's client area";
    return parent_;
}

TestView& ViewTest::MakeView(HWND parent) {
    view_ = std::make_unique<TestView>();
    EXPECT_TRUE(view_->CreateBrowserWindow(parent));
    ShowWindow(view_->GetHwnd(), SW_SHOW);
    return *view_;
}

std::u16string ViewTest::Put(const std::u16string& name,
                             const testing_support::Bytes& bytes) const {
    device_.Write(kFolder + u"\\" + name, bytes);
    return name;
}

std::u16string ViewTest::Jpeg(const std::u16string& name, const std::string& colour,
                              bool withPosition) const {
    const std::string host = device_.HostPath(kFolder + u"\\" + name);
    EXPECT_TRUE(testing_support::RunConvert({"-size", "64x48", "xc:" + colour, host}));
    if (withPosition) {
        EXPECT_TRUE(testing_support::RunExiftool({"-q", "-overwrite_original",
                                                  "-GPSLatitude=48.8583", "-GPSLatitudeRef=N",
                                                  "-GPSLongitude=2.2945", "-GPSLongitudeRef=E",
                                                  "-GPSAltitude=35", "-GPSAltitudeRef#=0", host}));
    }
    return name;
}

testing_support::Bytes ViewTest::JpegBytes(const std::string& colour) const {
    const std::string host = device_.Temp() / "media.jpg";
    EXPECT_TRUE(testing_support::RunConvert({"-size", "64x48", "xc:" + colour, host}));
    std::ifstream in(host, std::ios::binary);
    return testing_support::Bytes(std::istreambuf_iterator<char>(in), {});
}

CMediaContainer* ViewTest::LoadFolder() {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->LoadFolder(kFolder.c_str());
    container->ApplyFilter(FILTER_ALL);
    container->Sort(SORT_BY_NAME);
    return container;
}

COLORREF ViewTest::ViewPixel(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(view_->GetHwnd(), &p);
    return testsupport::ScreenPixel(p.x, p.y);
}

void ViewTest::FillView(COLORREF colour) const {
    const HDC dc = GetDC(view_->GetHwnd());
    RECT client{};
    GetClientRect(view_->GetHwnd(), &client);
    const platform::ScopedGdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &client, static_cast<HBRUSH>(brush.Get()));
    ReleaseDC(view_->GetHwnd(), dc);
}

SIZE ViewTest::SkinSize(UINT id) {
    const platform::ScopedGdiObject bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(id)));
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap.Get(), sizeof(info), &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool ViewTest::ShowsSkin(UINT id, int x, int y, int width, int height) const {
    const SIZE size = SkinSize(id);
    if (size.cx == 0)
        return false;
    width = width > 0 ? width : size.cx;
    height = height > 0 ? height : size.cy;
    // The skin drawn as the view would, into a bitmap of its own over black.
    const platform::ScopedDC dc(CreateCompatibleDC(nullptr));
    const platform::ScopedGdiObject canvas(CreateCompatibleBitmap(dc.Get(), width, height));
    const platform::ScopedGdiObject skin(LoadBitmapW(nullptr, MAKEINTRESOURCEW(id)));
    const platform::ScopedSelectObject select(dc.Get(), canvas.Get());
    const RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // Stretched without a key, so each destination pixel's source colour is known.
    const platform::ScopedDC source(CreateCompatibleDC(nullptr));
    const platform::ScopedSelectObject selectSkin(source.Get(), skin.Get());
    StretchBlt(dc.Get(), 0, 0, width, height, source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    int compared = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const COLORREF expected = GetPixel(dc.Get(), column, row);
            if (expected == RGB(255, 0, 255))
                continue;
            ++compared;
            if (ViewPixel(x + column, y + row) != testsupport::AsShown(expected))
                return false;
        }
    }
    return compared > 0;
}

bool NearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace viewtest

std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
