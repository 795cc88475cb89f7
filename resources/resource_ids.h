// Numeric ids of the program's resources: every visible text is loaded by one of these, every menu,
// soft-key bar and dialog is found by one. The values are the program's own and are kept as they
// are, because registry data, menus and other programs' expectations depend on them.
#pragma once

#include <array>

// ---------------------------------------------------------------------------------------------
// String table.

constexpr unsigned IDS_APP_TITLE = 1;     // the main window's title, message box captions
constexpr unsigned IDS_WINDOW_CLASS = 2;  // the main window's class name
constexpr unsigned IDS_SOFTKEY_SAVE = 5;
constexpr unsigned IDS_SOFTKEY_DONE = 6;
constexpr unsigned IDS_SOFTKEY_CANCEL = 7;
constexpr unsigned IDS_SOFTKEY_UP = 8;
constexpr unsigned IDS_SOFTKEY_MENU = 9;
constexpr unsigned IDS_ALERT = 17;
constexpr unsigned IDS_NO_MEMORY_TO_LOAD = 18;
constexpr unsigned IDS_RINGTONE_INVALID = 20;
constexpr unsigned IDS_RINGTONE_ERROR = 21;
constexpr unsigned IDS_SIZE = 25;            // sort name and properties label
constexpr unsigned IDS_TYPE_LABEL = 27;      // "Type : "
constexpr unsigned IDS_NAME = 28;            // sort name and properties label
constexpr unsigned IDS_DATE = 29;            // sort name and properties label
constexpr unsigned IDS_ALREADY_EXISTS = 30;  // %s: the name
constexpr unsigned IDS_ERROR = 33;
constexpr unsigned IDS_CANNOT_MOVE_SAME_FOLDER = 34;  // %.25s: the name
constexpr unsigned IDS_CONFIRM_FILE_DELETE = 37;
constexpr unsigned IDS_DELETE_FILE_PROMPT = 38;  // %.25s: the name
constexpr unsigned IDS_CONFIRM_MULTIPLE_DELETE = 39;
constexpr unsigned IDS_DELETE_ITEMS_PROMPT = 40;   // %d: the count
constexpr unsigned IDS_DELETE_FOLDER_PROMPT = 41;  // %.25s: the name
constexpr unsigned IDS_CONFIRM_FOLDER_DELETE = 42;
constexpr unsigned IDS_NEW_FOLDER_TITLE = 47;
constexpr unsigned IDS_SEND_TOO_LARGE = 48;  // %d: the limit in KB
constexpr unsigned IDS_FOLDER_EMPTY = 49;
constexpr unsigned IDS_ON = 56;
constexpr unsigned IDS_OFF = 57;
constexpr unsigned IDS_SECONDS = 58;

// Transition effect names; the effect id order is kTransitionEffectNameIds below.
constexpr unsigned IDS_EFFECT_NONE = 59;
constexpr unsigned IDS_EFFECT_WIPE_RIGHT = 60;
constexpr unsigned IDS_EFFECT_WIPE_LEFT = 61;
constexpr unsigned IDS_EFFECT_WIPE_UP = 62;
constexpr unsigned IDS_EFFECT_WIPE_DOWN = 63;
constexpr unsigned IDS_EFFECT_COVER_RIGHT = 64;
constexpr unsigned IDS_EFFECT_COVER_LEFT = 65;
constexpr unsigned IDS_EFFECT_COVER_UP = 66;
constexpr unsigned IDS_EFFECT_COVER_DOWN = 67;
constexpr unsigned IDS_EFFECT_BLIND_HORZ = 68;
constexpr unsigned IDS_EFFECT_BLIND_VERT = 69;
constexpr unsigned IDS_EFFECT_STRETCH_RIGHT = 70;
constexpr unsigned IDS_EFFECT_STRETCH_LEFT = 71;
constexpr unsigned IDS_EFFECT_STRETCH_UP = 72;
constexpr unsigned IDS_EFFECT_STRETCH_DOWN = 73;
constexpr unsigned IDS_EFFECT_STREW_RANDOM = 74;
constexpr unsigned IDS_EFFECT_STREW_LEFT = 75;
constexpr unsigned IDS_EFFECT_STREW_UP = 76;
constexpr unsigned IDS_EFFECT_STREW_DOWN = 77;
constexpr unsigned IDS_EFFECT_CLOCK_RIGHT = 78;
constexpr unsigned IDS_EFFECT_CLOCK_LEFT = 79;
constexpr unsigned IDS_EFFECT_SHOW_RECTANGLE = 80;
constexpr unsigned IDS_EFFECT_SHOW_ELLIPSE = 81;
constexpr unsigned IDS_EFFECT_SHOW_DIAMOND = 82;
constexpr unsigned IDS_RANDOM = 83;  // the last effect and the random show direction
constexpr unsigned IDS_FORWARD = 84;
constexpr unsigned IDS_BACKWARD = 85;
constexpr unsigned IDS_EFFECT_STREW_RIGHT = 86;  // added after the others, hence out of order

// Image editor: effect list lines, tool titles, resize modes.
constexpr unsigned IDS_EDIT_NO_EFFECT = 93;
constexpr unsigned IDS_EDIT_SEPIA = 95;
constexpr unsigned IDS_EDIT_NEGATIVE = 96;
constexpr unsigned IDS_EDIT_GRAY_SCALE = 97;
constexpr unsigned IDS_TOOL_CONTRAST = 101;
constexpr unsigned IDS_TOOL_BRIGHTNESS = 102;
constexpr unsigned IDS_TOOL_EFFECT = 103;
constexpr unsigned IDS_CONFIRM_FILE_REPLACE = 106;
constexpr unsigned IDS_REPLACE_FILE_PROMPT = 107;  // %.25s: the name
constexpr unsigned IDS_ERROR_MOVING_FILE = 108;
constexpr unsigned IDS_ERROR_RENAMING_FILE = 109;
constexpr unsigned IDS_TOOL_FLIP = 110;
constexpr unsigned IDS_TOOL_ROTATE = 111;
constexpr unsigned IDS_TOOL_RESIZE = 112;
constexpr unsigned IDS_CROP_TITLE = 113;
constexpr unsigned IDS_RESIZE_PIXELS = 114;
constexpr unsigned IDS_RESIZE_PERCENT = 115;

// File operations.
constexpr unsigned IDS_NEW_FOLDER_PROMPT = 120;
constexpr unsigned IDS_RENAME_PROMPT = 121;
constexpr unsigned IDS_RENAME_TITLE = 122;
constexpr unsigned IDS_CONFIRM_FOLDER_REPLACE = 125;
constexpr unsigned IDS_REPLACE_FOLDER_PROMPT = 126;  // %.25s: the name
constexpr unsigned IDS_SYSTEM_FOLDER = 128;          // %.25s: the name
constexpr unsigned IDS_ERROR_REPLACE_FOLDER = 129;
constexpr unsigned IDS_CONTENTS_LABEL = 130;
constexpr unsigned IDS_PROPERTIES_TITLE = 131;
constexpr unsigned IDS_TODAY_BACKGROUND_FAILED = 132;
constexpr unsigned IDS_UNABLE_TO_LOAD = 133;
constexpr unsigned IDS_INVALID_FILE_NAME = 134;
constexpr unsigned IDS_COPY_OF = 135;
constexpr unsigned IDS_COPYING_FILE = 136;
constexpr unsigned IDS_DELETING_FILE = 137;
constexpr unsigned IDS_EMPTY_FILE_NAME = 138;
constexpr unsigned IDS_UNDO_ALL_CHANGES = 140;
constexpr unsigned IDS_TODAY_NO_MEMORY = 142;

// Properties view.
constexpr unsigned IDS_FOLDER_TYPE = 143;
constexpr unsigned IDS_FOLDERS = 144;  // plural, 2 and more
constexpr unsigned IDS_FOLDER_ONE = 145;
constexpr unsigned IDS_FILE_ONE = 146;
constexpr unsigned IDS_FILES = 147;
constexpr unsigned IDS_KB = 148;
constexpr unsigned IDS_MB = 149;
constexpr unsigned IDS_LENGTH_LABEL = 202;
constexpr unsigned IDS_SOFTKEY_OK = 205;
constexpr unsigned IDS_OPTIONS_TITLE = 348;
constexpr unsigned IDS_ERROR_SELECTING_AREA = 354;
constexpr unsigned IDS_NO_PIXELS_SELECTED = 355;
constexpr unsigned IDS_MY_DEVICE = 356;  // the name shown for the device's root folder
constexpr unsigned IDS_RINGTONE_COPY_FAILED = 364;
constexpr unsigned IDS_RINGTONE_SET = 365;
constexpr unsigned IDS_RINGTONE_SET_TITLE = 366;
constexpr unsigned IDS_NOT_ENOUGH_MEMORY = 374;

// Rights status page of the properties view.
constexpr unsigned IDS_RIGHTS_TYPE = 412;
constexpr unsigned IDS_RIGHTS_VALIDITY = 413;
constexpr unsigned IDS_RIGHTS_USES = 414;
constexpr unsigned IDS_RIGHTS_UNLIMITED = 415;
constexpr unsigned IDS_RIGHTS_TIME = 416;
constexpr unsigned IDS_RIGHTS_INTERVAL = 417;
constexpr unsigned IDS_RIGHTS_COUNT = 418;
constexpr unsigned IDS_RIGHTS_NOT_AVAILABLE = 419;
constexpr unsigned IDS_RIGHTS_FORWARDING = 420;
constexpr unsigned IDS_RIGHTS_POSSIBLE = 421;
constexpr unsigned IDS_RIGHTS_IMPOSSIBLE = 422;
constexpr unsigned IDS_RIGHTS_EXPIRED = 423;
constexpr unsigned IDS_RIGHTS_LEFT = 424;
constexpr unsigned IDS_RIGHTS_DISPLAY = 425;
constexpr unsigned IDS_RIGHTS_PLAY = 426;

constexpr unsigned IDS_UNABLE_TO_SAVE = 429;
constexpr unsigned IDS_PROCESSING = 480;
constexpr unsigned IDS_CANNOT_COPY_SAME_FOLDER = 481;  // %.25s: the name
constexpr unsigned IDS_POSITION_LABEL = 482;
// The slide show's text for a picture it cannot decode; it had no entry of its own.
constexpr unsigned IDS_INVALID_IMAGE = 483;

// Transition effect names by effect id (the stored setting and the options list index).
constexpr std::array<unsigned, 26> kTransitionEffectNameIds = {
    IDS_EFFECT_NONE,           IDS_EFFECT_WIPE_RIGHT,
    IDS_EFFECT_WIPE_LEFT,      IDS_EFFECT_WIPE_UP,
    IDS_EFFECT_WIPE_DOWN,      IDS_EFFECT_COVER_RIGHT,
    IDS_EFFECT_COVER_LEFT,     IDS_EFFECT_COVER_UP,
    IDS_EFFECT_COVER_DOWN,     IDS_EFFECT_BLIND_HORZ,
    IDS_EFFECT_BLIND_VERT,     IDS_EFFECT_STRETCH_RIGHT,
    IDS_EFFECT_STRETCH_LEFT,   IDS_EFFECT_STRETCH_UP,
    IDS_EFFECT_STRETCH_DOWN,   IDS_EFFECT_STREW_RANDOM,
    IDS_EFFECT_STREW_RIGHT,    IDS_EFFECT_STREW_LEFT,
    IDS_EFFECT_STREW_UP,       IDS_EFFECT_STREW_DOWN,
    IDS_EFFECT_CLOCK_RIGHT,    IDS_EFFECT_CLOCK_LEFT,
    IDS_EFFECT_SHOW_RECTANGLE, IDS_EFFECT_SHOW_ELLIPSE,
    IDS_EFFECT_SHOW_DIAMOND,   IDS_RANDOM,
};

// ---------------------------------------------------------------------------------------------
// Menus (LoadMenu / a soft-key bar's menu). Each holds one top-level pop-up, GetSubMenu(menu, 0).

constexpr unsigned IDM_MENU_ALL = 104;
constexpr unsigned IDM_MENU_DOCUMENT = 105;
constexpr unsigned IDM_MENU_IMAGE = 106;
constexpr unsigned IDM_MENU_MUSIC = 107;
constexpr unsigned IDM_CONTEXT_NORMAL = 115;
constexpr unsigned IDM_CONTEXT_FOLDER = 116;
constexpr unsigned IDM_CONTEXT_MEDIA = 117;
constexpr unsigned IDM_CONTEXT_MARGIN = 118;  // tap and hold outside every cell
constexpr unsigned IDM_MENU_VIDEO = 119;
constexpr unsigned IDM_IMAGE_EDIT = 198;
constexpr unsigned IDM_PROPERTIES = 399;
constexpr unsigned IDM_IMAGE_VIEW = 10006;

// Positions of the sub-menus inside the "Menu" pop-ups, which WM_INITMENUPOPUP reports.
// All, Image and Music menus:
constexpr int POS_MENU_SEND = 0;
constexpr int POS_MENU_SET_AS = 1;
constexpr int POS_MENU_EDIT = 3;
constexpr int POS_MENU_SORT_BY = 4;
// Document and Video menus (no Set as):
constexpr int POS_MENU_NO_SET_AS_SEND = 0;
constexpr int POS_MENU_NO_SET_AS_EDIT = 2;
constexpr int POS_MENU_NO_SET_AS_SORT_BY = 3;
// The file context menu (117) and the image view's menu (10006):
constexpr int POS_CONTEXT_SEND = 8;
constexpr int POS_CONTEXT_SET_AS = 9;
constexpr int POS_IMAGE_VIEW_SEND = 1;
constexpr int POS_IMAGE_VIEW_SET_AS = 2;

// ---------------------------------------------------------------------------------------------
// Soft-key bars (SHCreateMenuBar's nToolBarId).

constexpr unsigned IDR_MENUBAR_ALL = 108;
constexpr unsigned IDR_MENUBAR_DOCUMENT = 109;
constexpr unsigned IDR_MENUBAR_IMAGE = 110;
constexpr unsigned IDR_MENUBAR_VIDEO = 111;
constexpr unsigned IDR_MENUBAR_MUSIC = 112;
constexpr unsigned IDR_MENUBAR_DONE_CANCEL = 113;  // slide show options, set-as view
constexpr unsigned IDR_MENUBAR_IMAGE_VIEW = 10004;
constexpr unsigned IDR_MENUBAR_IMAGE_EDIT = 10007;
constexpr unsigned IDR_MENUBAR_CROP = 10010;
constexpr unsigned IDR_MENUBAR_PROPERTIES = 10015;

// Accelerator table looked up at start-up (the program ships none).
constexpr unsigned IDR_ACCELERATORS = 2;
// The program's icon.
constexpr unsigned IDI_APP_ICON = 5;

// ---------------------------------------------------------------------------------------------
// Dialog templates and their controls.

constexpr unsigned IDD_SLIDESHOW_OPTIONS = 141;
constexpr unsigned IDD_NAME_INPUT = 197;  // Rename and New folder
constexpr unsigned IDD_SAVE_AS = 198;

constexpr unsigned IDC_STATIC = 0xFFFF;  // labels nobody addresses
constexpr unsigned IDC_SLIDESHOW_REPEAT = 1002;
constexpr unsigned IDC_SLIDESHOW_DURATION = 1003;
constexpr unsigned IDC_SLIDESHOW_EFFECT = 1004;
constexpr unsigned IDC_SLIDESHOW_DIRECTION = 1005;
constexpr unsigned IDC_NAME_EDIT = 1008;
constexpr unsigned IDC_SAVE_AS_EDIT = 1009;

// Controls the views create themselves.
constexpr unsigned IDC_SETAS_LESS = 15;
constexpr unsigned IDC_SETAS_MORE = 16;
constexpr unsigned IDC_EDIT_RESIZE_MODE = 100;
constexpr unsigned IDC_EDIT_RESIZE_SIZE = 101;
constexpr unsigned IDC_EDIT_EFFECT_LIST = 102;
constexpr unsigned IDC_EDIT_FLIP_0 = 1011;
constexpr unsigned IDC_EDIT_FLIP_1 = 1012;
constexpr unsigned IDC_EDIT_ROTATE_LEFT = 1013;
constexpr unsigned IDC_EDIT_ROTATE_RIGHT = 1014;
constexpr unsigned IDC_EDIT_BRIGHTNESS_DOWN = 1015;
constexpr unsigned IDC_EDIT_BRIGHTNESS_UP = 1016;
constexpr unsigned IDC_EDIT_CONTRAST_DOWN = 1017;
constexpr unsigned IDC_EDIT_CONTRAST_UP = 1018;
constexpr unsigned IDC_THUMBNAIL_SCROLLBAR = 1234;

// ---------------------------------------------------------------------------------------------
// Commands (WM_COMMAND low word).

constexpr unsigned ID_CROP = 32813;
constexpr unsigned ID_SEND_MMS = 32815;  // enabled and handled, but in no menu
constexpr unsigned ID_SEND_MESSAGE = 32816;
constexpr unsigned ID_SEND_BLUETOOTH = 32817;
constexpr unsigned ID_DELETE = 32818;
constexpr unsigned ID_EDIT_CUT = 32820;
constexpr unsigned ID_EDIT_COPY = 32821;
constexpr unsigned ID_EDIT_PASTE = 32822;
constexpr unsigned ID_EDIT_SELECT_TOGGLE = 32823;
constexpr unsigned ID_EDIT_SELECT_ALL = 32824;
constexpr unsigned ID_EDIT_SELECT_NONE = 32825;
constexpr unsigned ID_EDIT_NEW_FOLDER = 32827;
constexpr unsigned ID_SORT_BY_NAME = 32828;
constexpr unsigned ID_SORT_BY_DATE = 32829;
constexpr unsigned ID_SORT_BY_SIZE = 32830;
constexpr unsigned ID_PROPERTIES = 32831;
constexpr unsigned ID_SLIDESHOW_OPTIONS = 32832;
constexpr unsigned ID_SLIDESHOW_PLAY = 32845;
constexpr unsigned ID_SET_AS_RINGTONE = 32853;
constexpr unsigned ID_ADD_TO_NOW_PLAYING = 32857;
constexpr unsigned ID_SET_AS_TODAY = 32870;
constexpr unsigned ID_SET_AS_CALLER_ID = 32871;
constexpr unsigned ID_EDIT_IMAGE = 32918;
constexpr unsigned ID_EDIT_RENAME = 32952;
constexpr unsigned ID_IMAGE_EDIT_CANCEL = 32955;
constexpr unsigned ID_IMAGE_EDIT_SAVE_AS = 32956;
constexpr unsigned ID_UNLOCK = 32974;
constexpr unsigned ID_PROPERTIES_RIGHTS = 32975;
constexpr unsigned ID_PROPERTIES_BASIC = 32976;
constexpr unsigned ID_UPLOAD_TO_WEB = 32980;
constexpr unsigned ID_SEND_TO_DIARY = 33999;  // enabled and handled, but in no menu

// Soft-key commands.
constexpr unsigned ID_SOFTKEY_UP = 40000;
constexpr unsigned ID_SOFTKEY_MENU = 40001;  // also names the "Menu" pop-up in WM_INITMENUPOPUP
constexpr unsigned ID_SOFTKEY_DONE = 40002;
constexpr unsigned ID_SOFTKEY_CANCEL = 40003;
constexpr unsigned ID_FULL_SCREEN = 40004;
constexpr unsigned ID_EXIT_FULL_SCREEN = 40005;
constexpr unsigned ID_SOFTKEY_SAVE = 40006;
constexpr unsigned ID_SOFTKEY_EDIT_OK = 40008;
