/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "X11Widget.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "ShelfPrivate.h"

#include <X11/Xatom.h>


namespace BPrivate {


// What a widget window keeps besides an X11Window's usual members
struct X11WidgetData {
	// The ARGB visual, with the colormap and GC that go with it; visual NULL without one
	Visual* visual = NULL;
	Colormap colormap = 0;
	GC gc = 0;
};


static Atom
atom(X11Display* display, const char* name)
{
	return XInternAtom(display->fX, name, False);
}


bool
x11_is_widget_type(uint32 type)
{
	return type == (uint32)kDesktopWidgetWindowType;
}


bool
x11_compositor_runs(X11Display* display)
{
	char name[64];
	snprintf(name, sizeof(name), "_NET_WM_CM_S%d", display->fScreen);
	return XGetSelectionOwner(display->fX, atom(display, name)) != None;
}


static Visual*
find_argb_visual(X11Display* display)
{
	XVisualInfo pattern;
	pattern.screen = display->fScreen;
	pattern.depth = 32;
	pattern.c_class = TrueColor;
	int count = 0;
	XVisualInfo* infos = XGetVisualInfo(
		display->fX, VisualScreenMask | VisualDepthMask | VisualClassMask, &pattern, &count);
	Visual* found = NULL;
	for (int i = 0; i < count && found == NULL; i++) {
		// The channels as B_RGB32 has them, and the alpha in the remaining byte
		if (infos[i].red_mask == 0xff0000 && infos[i].green_mask == 0xff00
			&& infos[i].blue_mask == 0xff)
			found = infos[i].visual;
	}
	if (infos != NULL)
		XFree(infos);
	return found;
}


Window
x11_create_widget_window(
	X11Window* window, BRect frame, XSetWindowAttributes* attributes, unsigned long mask)
{
	X11Display* display = window->fDisplay;
	::Display* x = display->fX;
	X11WidgetData* data = new X11WidgetData;
	window->fWidget = data;
	int left = (int)floorf(frame.left);
	int top = (int)floorf(frame.top);
	unsigned int width = (unsigned int)std::max(1.0f, frame.Width() + 1);
	unsigned int height = (unsigned int)std::max(1.0f, frame.Height() + 1);

	Visual* visual = x11_compositor_runs(display) ? find_argb_visual(display) : NULL;
	if (visual != NULL) {
		data->colormap = XCreateColormap(x, display->fRoot, visual, AllocNone);
		attributes->colormap = data->colormap;
		attributes->background_pixel = 0;
		attributes->border_pixel = 0;
		Window created = XCreateWindow(x, display->fRoot, left, top, width, height, 0, 32,
			InputOutput, visual, mask | CWColormap | CWBackPixel | CWBorderPixel, attributes);
		if (created != 0) {
			data->visual = visual;
			data->gc = XCreateGC(x, created, 0, NULL);
			return created;
		}
		XFreeColormap(x, data->colormap);
		data->colormap = 0;
	}
	return XCreateWindow(x, display->fRoot, left, top, width, height, 0, CopyFromParent,
		InputOutput, CopyFromParent, mask, attributes);
}


void
x11_set_widget_hints(X11Window* window)
{
	X11Display* display = window->fDisplay;
	::Display* x = display->fX;
	Window w = window->fWindow;

	Atom type = atom(display, "_NET_WM_WINDOW_TYPE_UTILITY");
	XChangeProperty(x, w, display->fAtoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
		(unsigned char*)&type, 1);
	Atom states[4] = {atom(display, "_NET_WM_STATE_BELOW"), atom(display, "_NET_WM_STATE_STICKY"),
		atom(display, "_NET_WM_STATE_SKIP_TASKBAR"), atom(display, "_NET_WM_STATE_SKIP_PAGER")};
	XChangeProperty(x, w, atom(display, "_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
		(unsigned char*)states, 4);
	long allDesktops = 0xFFFFFFFF;
	XChangeProperty(x, w, atom(display, "_NET_WM_DESKTOP"), XA_CARDINAL, 32, PropModeReplace,
		(unsigned char*)&allDesktops, 1);
	// No decorations (_MOTIF_WM_HINTS: flags, functions, decorations, input mode, status)
	long motif[5] = {1 << 1, 0, 0, 0, 0};
	XChangeProperty(x, w, display->fAtoms.motifWmHints, display->fAtoms.motifWmHints, 32,
		PropModeReplace, (unsigned char*)motif, 5);
}


bool
x11_repaint_widget(X11Window* window, int left, int top, int width, int height)
{
	X11WidgetData* data = window->fWidget;
	if (data == NULL || data->visual == NULL)
		return false;
	X11Display* display = window->fDisplay;
	XImage* image
		= XCreateImage(display->fX, data->visual, 32, ZPixmap, 0, NULL, width, height, 32, 0);
	if (image == NULL)
		return true;
	image->data = static_cast<char*>(malloc((size_t)image->bytes_per_line * height));
	if (image->data == NULL) {
		XDestroyImage(image);
		return true;
	}
	const WindowPixels& contents = window->fContents;
	for (int y = 0; y < height; y++) {
		const uint32* row = &contents.pixels[(size_t)(top + y) * contents.width + left];
		for (int column = 0; column < width; column++) {
			// Premultiplied, as compositors take ARGB windows
			uint32 pixel = row[column];
			uint32 alpha = pixel >> 24;
			uint32 red = ((pixel >> 16) & 0xff) * alpha / 255;
			uint32 green = ((pixel >> 8) & 0xff) * alpha / 255;
			uint32 blue = (pixel & 0xff) * alpha / 255;
			XPutPixel(image, column, y, alpha << 24 | red << 16 | green << 8 | blue);
		}
	}
	XPutImage(display->fX, window->fWindow, data->gc, image, 0, 0, left, top, width, height);
	XDestroyImage(image);
	return true;
}


void
x11_destroy_widget(X11Window* window)
{
	X11WidgetData* data = window->fWidget;
	if (data == NULL)
		return;
	if (data->gc != 0)
		XFreeGC(window->fDisplay->fX, data->gc);
	if (data->colormap != 0)
		XFreeColormap(window->fDisplay->fX, data->colormap);
	delete data;
	window->fWidget = NULL;
}


DisplayClient*
x11_client_at(X11Display* display, BPoint screenWhere)
{
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	int x;
	int y;
	Window child = 0;
	if (!XTranslateCoordinates(display->fX, display->fRoot, display->fRoot,
			(int)floorf(screenWhere.x), (int)floorf(screenWhere.y), &x, &y, &child)
		|| child == 0)
		return NULL;
	for (X11Window* window : display->fWindows) {
		if (window->IsValid() && window->fShown
			&& (window->fWindow == child || window->fParent == child))
			return window->fClient;
	}
	return NULL;
}


} // namespace BPrivate


//	#pragma mark - X11Display


BPrivate::DisplayClient*
BPrivate::X11Display::ClientAt(BPoint screenWhere)
{
	return x11_client_at(this, screenWhere);
}


bool
BPrivate::X11Display::TranslucentWidgets()
{
	std::lock_guard<std::recursive_mutex> lock(fLock);
	return x11_compositor_runs(this);
}
