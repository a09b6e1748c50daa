/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The desktop's system tray (the freedesktop System Tray Protocol over XEmbed) and panel
// windows, for the Deskbar host.


#include <string.h>

#include <string>

#include <AppDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <SystemTray.h>

#include "X11Display.h"

#include <X11/Xatom.h>


namespace BPrivate {


namespace {


// SYSTEM_TRAY_REQUEST_DOCK, and XEmbed's messages and flags
enum { kTrayRequestDock = 0, kXEmbedEmbeddedNotify = 0, kXEmbedMapped = 1 << 0 };


// What the tray code keeps, with the display's lock held
struct TrayState {
	bool interned = false;
	Atom selection = None;
	Atom opcode = None;
	Atom manager = None;
	Atom xembed = None;
	Atom xembedInfo = None;
	Atom netWmWindowTypeDock = None;
	Atom netWmState = None;
	Atom netWmStateAbove = None;
	Atom netWmStateSticky = None;
	Atom netWmStateSkipTaskbar = None;
	Atom netWmStateSkipPager = None;
	Atom netWmDesktop = None;

	// The tray manager's window that we watch, 0 when none
	Window owner = 0;
	bool watching = false;
	BMessenger target;
	uint32 what = 0;
};


TrayState sTray;


// The X11 display, or NULL when windows go elsewhere
X11Display*
x11_display()
{
	Display* display = Display::Default();
	if (display == NULL || strcmp(display->Name(), "x11") != 0)
		return NULL;
	return static_cast<X11Display*>(display);
}


void
intern_atoms(X11Display* display)
{
	if (sTray.interned)
		return;
	std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(display->fScreen);
	struct {
		Atom* atom;
		const char* name;
	} atoms[] = {
		{&sTray.selection, selection.c_str()},
		{&sTray.opcode, "_NET_SYSTEM_TRAY_OPCODE"},
		{&sTray.manager, "MANAGER"},
		{&sTray.xembed, "_XEMBED"},
		{&sTray.xembedInfo, "_XEMBED_INFO"},
		{&sTray.netWmWindowTypeDock, "_NET_WM_WINDOW_TYPE_DOCK"},
		{&sTray.netWmState, "_NET_WM_STATE"},
		{&sTray.netWmStateAbove, "_NET_WM_STATE_ABOVE"},
		{&sTray.netWmStateSticky, "_NET_WM_STATE_STICKY"},
		{&sTray.netWmStateSkipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR"},
		{&sTray.netWmStateSkipPager, "_NET_WM_STATE_SKIP_PAGER"},
		{&sTray.netWmDesktop, "_NET_WM_DESKTOP"},
	};
	const int count = sizeof(atoms) / sizeof(atoms[0]);
	char* names[count];
	Atom values[count];
	for (int i = 0; i < count; i++)
		names[i] = const_cast<char*>(atoms[i].name);
	if (XInternAtoms(display->fX, names, count, False, values) == 0)
		return;
	for (int i = 0; i < count; i++)
		*atoms[i].atom = values[i];
	sTray.interned = true;
}


X11Window*
find_window(X11Display* display, BWindow* window)
{
	for (X11Window* candidate : display->fWindows) {
		if (candidate->fClient->ClientWindow() == window)
			return candidate;
	}
	return NULL;
}


// Follows the tray manager's window: its destruction tells that the tray went away.
void
watch_owner(X11Display* display, Window owner)
{
	sTray.owner = owner;
	if (owner != 0)
		XSelectInput(display->fX, owner, StructureNotifyMask);
}


void
notify(bool available)
{
	if (!sTray.watching)
		return;
	BMessage message(sTray.what);
	message.AddBool("available", available);
	sTray.target.SendMessage(&message);
}


} // namespace


bool
system_tray_available()
{
	X11Display* display = x11_display();
	if (display == NULL)
		return false;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	intern_atoms(display);
	return sTray.interned && XGetSelectionOwner(display->fX, sTray.selection) != None;
}


status_t
dock_in_system_tray(BWindow* window)
{
	X11Display* display = x11_display();
	if (display == NULL)
		return B_UNSUPPORTED;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	intern_atoms(display);
	X11Window* x11Window = find_window(display, window);
	if (x11Window == NULL || x11Window->fGone)
		return B_BAD_VALUE;
	::Display* x = display->fX;
	Window owner = sTray.interned ? XGetSelectionOwner(x, sTray.selection) : None;
	if (owner == None)
		return B_UNSUPPORTED;

	// Trays ask for the icon's size in its size hints.
	XSizeHints* hints = XAllocSizeHints();
	if (hints != NULL) {
		hints->flags = PMinSize | PBaseSize;
		hints->min_width = hints->base_width = (int)x11Window->fFrame.Width() + 1;
		hints->min_height = hints->base_height = (int)x11Window->fFrame.Height() + 1;
		XSetWMNormalHints(x, x11Window->fWindow, hints);
		XFree(hints);
	}

	// The tray maps the icon itself, once it has it.
	long info[2] = {0, kXEmbedMapped};
	XChangeProperty(x, x11Window->fWindow, sTray.xembedInfo, sTray.xembedInfo, 32, PropModeReplace,
		(unsigned char*)info, 2);
	x11Window->fEmbedded = true;

	XEvent event;
	memset(&event, 0, sizeof(event));
	event.xclient.type = ClientMessage;
	event.xclient.window = owner;
	event.xclient.message_type = sTray.opcode;
	event.xclient.format = 32;
	event.xclient.data.l[0] = CurrentTime;
	event.xclient.data.l[1] = kTrayRequestDock;
	event.xclient.data.l[2] = (long)x11Window->fWindow;
	XSendEvent(x, owner, False, NoEventMask, &event);
	display->Flush();
	return B_OK;
}


status_t
make_panel_window(BWindow* window)
{
	X11Display* display = x11_display();
	if (display == NULL)
		return B_UNSUPPORTED;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	intern_atoms(display);
	X11Window* x11Window = find_window(display, window);
	if (x11Window == NULL || x11Window->fGone || !sTray.interned)
		return B_BAD_VALUE;
	::Display* x = display->fX;
	Window xWindow = x11Window->fWindow;

	x11Window->fFlags |= B_AVOID_FOCUS;
	XWMHints* hints = XAllocWMHints();
	if (hints != NULL) {
		hints->flags = InputHint | StateHint;
		hints->input = False;
		hints->initial_state = NormalState;
		XSetWMHints(x, xWindow, hints);
		XFree(hints);
	}
	XChangeProperty(x, xWindow, display->fAtoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
		(unsigned char*)&sTray.netWmWindowTypeDock, 1);
	Atom states[] = {sTray.netWmStateAbove, sTray.netWmStateSticky, sTray.netWmStateSkipTaskbar,
		sTray.netWmStateSkipPager};
	XChangeProperty(x, xWindow, sTray.netWmState, XA_ATOM, 32, PropModeReplace,
		(unsigned char*)states, sizeof(states) / sizeof(states[0]));
	long allDesktops = 0xffffffff;
	XChangeProperty(x, xWindow, sTray.netWmDesktop, XA_CARDINAL, 32, PropModeReplace,
		(unsigned char*)&allDesktops, 1);
	// No decorations (_MOTIF_WM_HINTS: decorations given, none)
	long motif[5] = {1 << 1, 0, 0, 0, 0};
	XChangeProperty(x, xWindow, display->fAtoms.motifWmHints, display->fAtoms.motifWmHints, 32,
		PropModeReplace, (unsigned char*)motif, 5);
	display->Flush();
	return B_OK;
}


void
watch_system_tray(const BMessenger& target, uint32 what)
{
	X11Display* display = x11_display();
	if (display == NULL)
		return;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	intern_atoms(display);
	if (!sTray.interned)
		return;
	sTray.target = target;
	sTray.what = what;
	sTray.watching = true;
	// A new tray manager announces itself with a MANAGER message to the root window.
	XSelectInput(display->fX, display->fRoot, PropertyChangeMask | StructureNotifyMask);
	watch_owner(display, XGetSelectionOwner(display->fX, sTray.selection));
	display->Flush();
}


// Called by the event thread, with the display locked, for every event; true when the event
// was the tray's.
bool
x11_tray_handle_event(X11Display* display, XEvent& event)
{
	if (!sTray.interned)
		return false;

	if (event.type == ClientMessage && event.xclient.window == display->fRoot
		&& event.xclient.message_type == sTray.manager
		&& (Atom)event.xclient.data.l[1] == sTray.selection) {
		watch_owner(display, (Window)event.xclient.data.l[2]);
		notify(true);
		return true;
	}

	if (event.type == DestroyNotify && sTray.owner != 0
		&& event.xdestroywindow.window == sTray.owner) {
		sTray.owner = 0;
		notify(false);
		return true;
	}

	// The tray moves the icon with the window it put it in, which tells us nothing: the
	// pointer's events tell where the icon is now, before they are handled.
	if (event.type == ButtonPress || event.type == EnterNotify) {
		X11Window* window = display->FindWindow(event.xany.window);
		int rootX = event.type == ButtonPress ? event.xbutton.x_root : event.xcrossing.x_root;
		int rootY = event.type == ButtonPress ? event.xbutton.y_root : event.xcrossing.y_root;
		int x = event.type == ButtonPress ? event.xbutton.x : event.xcrossing.x;
		int y = event.type == ButtonPress ? event.xbutton.y : event.xcrossing.y;
		BPoint where(rootX - x, rootY - y);
		if (window != NULL && window->fEmbedded && where != window->fFrame.LeftTop()) {
			window->fFrame.OffsetTo(where);
			BMessage moved(B_WINDOW_MOVED);
			moved.AddInt64("when", system_time());
			moved.AddPoint("where", where);
			window->fClient->PostDisplayMessage(&moved);
		}
		return false;
	}

	if (event.type == ClientMessage && event.xclient.message_type == sTray.xembed) {
		// The tray took the icon in: it shows it when the program does.
		X11Window* window = display->FindWindow(event.xclient.window);
		if (window != NULL && event.xclient.data.l[1] == kXEmbedEmbeddedNotify && window->fShown
			&& !window->fGone) {
			XMapWindow(display->fX, window->fWindow);
			XFlush(display->fX);
		}
		return true;
	}
	return false;
}


} // namespace BPrivate
