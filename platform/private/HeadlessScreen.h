/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _HEADLESS_SCREEN_H
#define _HEADLESS_SCREEN_H


#include <GraphicsDefs.h>
#include <Point.h>
#include <Rect.h>


class BBitmap;
class BMessage;
class BWindow;


namespace BPrivate {


// The headless display: an in-memory screen that shows the windows in stacking order, for
// tests and scripted runs. These fail with B_NO_INIT when another display runs.

// The screen is this large, in B_RGB32, painted in the desktop colour where no window is.
const int32 kHeadlessScreenWidth = 1024;
const int32 kHeadlessScreenHeight = 768;
const rgb_color kHeadlessDesktopColor = {51, 102, 152, 255};

// Saves what the screen shows now as a PNG file.
status_t headless_save_screenshot(const char* path);
// A copy of what the screen shows now (B_RGB32); the caller deletes it. NULL on failure.
BBitmap* headless_screen_bitmap();

// A pointer event at a point of the screen: what is B_MOUSE_DOWN, B_MOUSE_UP or
// B_MOUSE_MOVED, buttons those held after the event. when < 0 means now. It goes to the window
// under the point (or to the one that got the press, while buttons are held), as its display
// would send it. B_ENTRY_NOT_FOUND when no window's content took it.
status_t headless_inject_mouse(
	BPoint screenWhere, uint32 buttons, uint32 what, uint32 modifiers = 0, bigtime_t when = -1);
// A key event (B_KEY_DOWN or B_KEY_UP) for the active window. B_ENTRY_NOT_FOUND when no
// window is active.
status_t headless_inject_key(
	const char* bytes, uint32 what, int32 key = 0, uint32 modifiers = 0, bigtime_t when = -1);
// What another program would drop at a point of the screen: the window whose content is
// there gets a copy of message, flagged as dropped with "_drop_point_" (see
// post_drop_message() in Display.h). B_ENTRY_NOT_FOUND when no window's content is there.
status_t headless_inject_drop(const BMessage* message, BPoint screenWhere);

// The close box of a window on the screen (screen coordinates); not valid when the window
// has none or is not shown.
BRect headless_close_box(const BWindow* window);
// The window whose content is at the point on top, and the active window; NULL if none.
BWindow* headless_window_at(BPoint screenWhere);
BWindow* headless_active_window();


} // namespace BPrivate


#endif // _HEADLESS_SCREEN_H
