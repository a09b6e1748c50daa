/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _X11_WIDGET_H
#define _X11_WIDGET_H


// Desktop widget windows (kDesktopWidgetWindowType in ShelfPrivate.h) on X11: borderless,
// below the others, on every workspace, out of task bars and pagers, and with a 32-bit ARGB
// visual when a compositor runs. X11Window calls these with the display locked.


#include "X11Display.h"


namespace BPrivate {


bool x11_is_widget_type(uint32 type);
// A compositing manager owns _NET_WM_CM_S<screen>.
bool x11_compositor_runs(X11Display* display);
// Creates the widget's X window (an ARGB one when a compositor runs), or 0 on failure.
Window x11_create_widget_window(
	X11Window* window, BRect frame, XSetWindowAttributes* attributes, unsigned long mask);
// The window manager's hints for the widget, after the window's usual ones.
void x11_set_widget_hints(X11Window* window);
// Puts the pixels within the rectangle (window coordinates, clipped already) on the screen
// when the widget has an ARGB visual; false when the usual path should do it.
bool x11_repaint_widget(X11Window* window, int left, int top, int width, int height);
void x11_destroy_widget(X11Window* window);
// Our window on top at a point of the root window
DisplayClient* x11_client_at(X11Display* display, BPoint screenWhere);


} // namespace BPrivate


#endif // _X11_WIDGET_H
