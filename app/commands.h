// WM_COMMAND identifiers of the menu items. Keyboard shortcuts and engine
// start-up post the same numbers to the main window.
#pragma once

enum : int {
    ID_SITE_CHANGE = 101,
    ID_SITE_RELOAD = 102,
    ID_SITE_HOME = 103,
    ID_SITE_BLOCK_ADS = 104,
    ID_VIEW_FULLSCREEN = 105,
    ID_SITE_QUIT = 106,
    ID_VIEW_BACK = 107,
    ID_VIEW_FORWARD = 108,
    ID_SITE_ALLOWED_SITES = 109,
    ID_SITE_NOTIFICATIONS = 110,
    ID_VIEW_KEEP_IN_TRAY = 111,
    ID_VIEW_START_WITH_WINDOWS = 112,
    ID_SITE_CREATE_APP = 113,
    ID_SITE_REMOVE_APP = 114,
    ID_SITE_SAVE_PROGRAM = 115,
};
