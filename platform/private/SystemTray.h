/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SYSTEM_TRAY_H
#define _SYSTEM_TRAY_H


#include <SupportDefs.h>


class BMessenger;
class BWindow;


namespace BPrivate {


// The desktop's system tray and panel windows, for the Deskbar host. Only a display with a
// desktop around it (X11) has them; on others these do nothing.


// True when the display's desktop runs a system tray (on X11: the _NET_SYSTEM_TRAY_S<screen>
// selection has an owner).
bool system_tray_available();

// Hands the window, while it is still hidden, to the system tray as an icon (XEmbed): the
// tray takes it in, shows it and gives it the size it wants, which the window follows as
// any resize. The window must not be moved by the program afterwards. B_OK when asked,
// B_UNSUPPORTED without a tray, B_BAD_VALUE for a window the display does not know.
status_t dock_in_system_tray(BWindow* window);

// Makes the window, while it is still hidden, a panel: no border, above the other windows,
// on every workspace, out of the task bar and the pager, never focused.
status_t make_panel_window(BWindow* window);

// Whenever a system tray appears or goes away, target gets a message what with the bool
// "available". One target per process; a new call replaces it.
void watch_system_tray(const BMessenger& target, uint32 what);


} // namespace BPrivate


#endif // _SYSTEM_TRAY_H
