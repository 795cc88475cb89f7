// The main window in-process on the headless screen (240 x 400 at 96 dpi), over a device root of
// its own with a folder of real pictures and documents of known names, sizes and times.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "browser/browser.h"
#include "catalogue/media_types.h"
#include "platform/display/backend.h"
#include "tests/platform/script/test_json.h"
#include "tests/support/temp_dir.h"

namespace mainwndtest {

// The shown folder: \My Documents\Pics, with these files (oldest first by time).
inline constexpr const WCHAR* kPicsFolder = u"\\My Documents\\Pics";
struct FileSpec {
    const char* name;
    int kilobytes;  // picture files are padded to this size
    int hoursOld;   // modification time before now
};
const std::vector<FileSpec>& PicsFiles();
// How many of PicsFiles are pictures (the rest are documents) and one sub-folder, "Sub".
int PictureCount();

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and shows `folder` with `filter`, as a first start does.
    CMainWnd* Open(DWORD filter = FILTER_ALL, const WCHAR* folder = kPicsFolder);
    // The "mainWindow" section of the state document.
    platform::test::JsonValue State() const;
    // The soft-key bar of the main window as the shell reports it ("keys", "resource").
    platform::test::JsonValue ShellBar() const;
    // The names of the shown list, in order.
    std::vector<std::string> ShownNames() const;

    static void Pump();
    static void Inject(platform::InputEvent::Kind kind, int x = 0, int y = 0);
    // A stylus tap at a point of the main window's client area.
    void TapClient(POINT pt);
    // Writes a real 24-bit BMP of w x h, padded to `kilobytes`.
    void WritePicture(const std::string& devicePath, int w, int h, int kilobytes) const;
    std::string Host(const std::string& devicePath) const;

    testing_support::TempDir dir_;
    CMainWnd* wnd_ = nullptr;
};

}  // namespace mainwndtest
