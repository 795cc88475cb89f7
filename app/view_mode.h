#pragma once

// Which kind of view is in front of the main window.
enum ViewMode : int {
    VIEW_NONE = 0,     // after construction, before anything was shown
    VIEW_BROWSER = 1,  // the thumbnail grid
    VIEW_EXPAND = 3,   // a full-screen view (4 is treated alike)
};
