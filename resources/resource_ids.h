// Numeric ids of the program's resources: every visible text is loaded by one of these.
#pragma once

// String table.
constexpr unsigned IDS_APP_TITLE = 1;     // the main window's title
constexpr unsigned IDS_WINDOW_CLASS = 2;  // the main window's class name
constexpr unsigned IDS_SOFTKEY_UP = 8;
constexpr unsigned IDS_SOFTKEY_MENU = 9;
constexpr unsigned IDS_MY_DEVICE = 356;  // the name shown for the device's root folder

// Accelerator table looked up at start-up (the program ships none).
constexpr unsigned IDR_ACCELERATORS = 2;
// The program's icon.
constexpr unsigned IDI_APP_ICON = 5;
