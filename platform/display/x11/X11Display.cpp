/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <OS.h>

#include "X11Display.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>


namespace BPrivate {


// Xlib calls this for every error the server reports; the default handler would end the
// program. A request on a window that just went away is not worth that.
static int
handle_x_error(::Display* x, XErrorEvent* error)
{
	char text[256];
	XGetErrorText(x, error->error_code, text, sizeof(text));
	fprintf(stderr, "x11: %s (request %d.%d on 0x%lx)\n", text, error->request_code,
		error->minor_code, error->resourceid);
	return 0;
}


// Xlib calls this when the connection breaks (the server went away). Xlib cannot go on after
// it: when the handler returns, Xlib ends the process itself. So the program ends here, with
// a line that says why.
static int
handle_x_io_error(::Display*)
{
	fprintf(stderr, "x11: the connection to the X server is lost\n");
	// Other threads still run: no static destructors under their feet.
	fflush(NULL);
	_exit(1);
	return 0;
}


//	#pragma mark - opening


X11Display*
X11Display::Open()
{
	// Before any other Xlib call: several threads use the connection.
	static std::once_flag sInit;
	std::call_once(sInit, []() {
		XInitThreads();
		XSetErrorHandler(handle_x_error);
		XSetIOErrorHandler(handle_x_io_error);
	});

	::Display* x = XOpenDisplay(NULL);
	if (x == NULL)
		return NULL;
	X11Display* display = new (std::nothrow) X11Display(x);
	if (display == NULL || display->fWakePipe[0] < 0) {
		delete display;
		return NULL;
	}
	display->fThread = std::thread(&X11Display::_EventLoop, display);
	return display;
}


X11Display::X11Display(::Display* x)
	: fX(x), fScreen(DefaultScreen(x)), fRoot(RootWindow(x, fScreen)),
	  fVisual(DefaultVisual(x, fScreen)), fDepth(DefaultDepth(x, fScreen)), fGC(NULL),
	  fDirectPixels(false), fInputMethod(NULL), fHasWindowManager(false), fActive(NULL),
	  fSideModifiers(0), fLastPointer(-1, -1), fKeyBytes(256), fKeyRepeats(256, -1),
	  fClipboardWindow(0), fClipboardOwned(false), fQuitting(false)
{
	fWakePipe[0] = fWakePipe[1] = -1;
	if (pipe2(fWakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
		fWakePipe[0] = fWakePipe[1] = -1;
		return;
	}
	fcntl(ConnectionNumber(fX), F_SETFD, FD_CLOEXEC);

	struct {
		Atom* atom;
		const char* name;
	} atoms[] = {
		{&fAtoms.wmProtocols, "WM_PROTOCOLS"},
		{&fAtoms.wmDeleteWindow, "WM_DELETE_WINDOW"},
		{&fAtoms.utf8String, "UTF8_STRING"},
		{&fAtoms.netWmName, "_NET_WM_NAME"},
		{&fAtoms.netWmIconName, "_NET_WM_ICON_NAME"},
		{&fAtoms.netWmPid, "_NET_WM_PID"},
		{&fAtoms.netActiveWindow, "_NET_ACTIVE_WINDOW"},
		{&fAtoms.netSupportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
		{&fAtoms.netWmWindowType, "_NET_WM_WINDOW_TYPE"},
		{&fAtoms.netWmWindowTypeNormal, "_NET_WM_WINDOW_TYPE_NORMAL"},
		{&fAtoms.netWmWindowTypeDialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
		{&fAtoms.netWmWindowTypeUtility, "_NET_WM_WINDOW_TYPE_UTILITY"},
		{&fAtoms.netWmWindowTypePopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
		{&fAtoms.netWmState, "_NET_WM_STATE"},
		{&fAtoms.netWmStateModal, "_NET_WM_STATE_MODAL"},
		{&fAtoms.motifWmHints, "_MOTIF_WM_HINTS"},
		{&fAtoms.clipboard, "CLIPBOARD"},
		{&fAtoms.targets, "TARGETS"},
		{&fAtoms.text, "TEXT"},
		{&fAtoms.textPlainUtf8, "text/plain;charset=utf-8"},
		{&fAtoms.incr, "INCR"},
		{&fAtoms.clipboardProperty, "_WG_CLIPBOARD"},
		{&fAtoms.xdndAware, "XdndAware"},
		{&fAtoms.xdndEnter, "XdndEnter"},
		{&fAtoms.xdndPosition, "XdndPosition"},
		{&fAtoms.xdndStatus, "XdndStatus"},
		{&fAtoms.xdndLeave, "XdndLeave"},
		{&fAtoms.xdndDrop, "XdndDrop"},
		{&fAtoms.xdndFinished, "XdndFinished"},
		{&fAtoms.xdndSelection, "XdndSelection"},
		{&fAtoms.xdndTypeList, "XdndTypeList"},
		{&fAtoms.xdndActionCopy, "XdndActionCopy"},
		{&fAtoms.xdndData, "_WG_XDND_DATA"},
		{&fAtoms.uriList, "text/uri-list"},
		{&fAtoms.textPlain, "text/plain"},
	};
	const int count = sizeof(atoms) / sizeof(atoms[0]);
	char* names[count];
	Atom values[count];
	for (int i = 0; i < count; i++)
		names[i] = const_cast<char*>(atoms[i].name);
	if (XInternAtoms(fX, names, count, False, values) == 0)
		memset(values, 0, sizeof(values));
	for (int i = 0; i < count; i++)
		*atoms[i].atom = values[i];

	// Pixels go to the screen as they are when the visual is the usual 24-bit true colour.
	if (fVisual->c_class == TrueColor && fVisual->red_mask == 0xff0000
		&& fVisual->green_mask == 0xff00 && fVisual->blue_mask == 0xff) {
		int formatCount = 0;
		XPixmapFormatValues* formats = XListPixmapFormats(fX, &formatCount);
		for (int i = 0; i < formatCount; i++) {
			if (formats[i].depth == fDepth && formats[i].bits_per_pixel == 32)
				fDirectPixels = true;
		}
		if (formats != NULL)
			XFree(formats);
	}
	fGC = XCreateGC(fX, fRoot, 0, NULL);

	// Key repeats come as presses without releases in between.
	Bool supported;
	XkbSetDetectableAutoRepeat(fX, True, &supported);

	// The built-in input method: it composes, and gives UTF-8 whatever the locale.
	XSetLocaleModifiers("@im=none");
	fInputMethod = XOpenIM(fX, NULL, NULL, NULL);

	// The clipboard's window: never mapped, it only exchanges selections.
	fClipboardWindow = XCreateSimpleWindow(fX, fRoot, -10, -10, 1, 1, 0, 0, 0);
	XSelectInput(fX, fClipboardWindow, PropertyChangeMask);

	// A window manager announces itself on the root window.
	XSelectInput(fX, fRoot, PropertyChangeMask);
	_UpdateWindowManager();
	XFlush(fX);
}


X11Display::~X11Display()
{
	if (fThread.joinable()) {
		fQuitting = true;
		Flush();
		fThread.join();
	}
	if (fInputMethod != NULL)
		XCloseIM(fInputMethod);
	if (fClipboardWindow != 0)
		XDestroyWindow(fX, fClipboardWindow);
	if (fGC != NULL)
		XFreeGC(fX, fGC);
	XCloseDisplay(fX);
	if (fWakePipe[0] >= 0) {
		close(fWakePipe[0]);
		close(fWakePipe[1]);
	}
}


Display*
create_x11_display()
{
	return X11Display::Open();
}


//	#pragma mark -


BRect
X11Display::ScreenFrame() const
{
	return BRect(0, 0, DisplayWidth(fX, fScreen) - 1, DisplayHeight(fX, fScreen) - 1);
}


DisplayWindow*
X11Display::CreateWindow(
	DisplayClient* client, BRect frame, const char* title, window_type type, uint32 flags)
{
	if (client == NULL)
		return NULL;
	std::lock_guard<std::recursive_mutex> lock(fLock);
	X11Window* window = new X11Window(this, client, frame, title, type, flags);
	if (!window->IsValid()) {
		delete window;
		return NULL;
	}
	fWindows.push_back(window);
	Flush();
	return window;
}


X11Window*
X11Display::FindWindow(Window window) const
{
	for (X11Window* candidate : fWindows) {
		if (candidate->fWindow == window)
			return candidate;
	}
	return NULL;
}


void
X11Display::RemoveWindow(X11Window* window)
{
	fWindows.erase(std::remove(fWindows.begin(), fWindows.end(), window), fWindows.end());
	if (fActive == window)
		fActive = NULL;
}


void
X11Display::RegrabMenu()
{
	for (auto i = fWindows.rbegin(); i != fWindows.rend(); i++) {
		X11Window* window = *i;
		if (window->IsMenu() && window->fShown && !window->fGrabbed) {
			window->GrabPointer();
			return;
		}
	}
}


void
X11Display::SetActive(X11Window* window)
{
	if (window == fActive)
		return;
	if (fActive != NULL) {
		BMessage message(B_WINDOW_ACTIVATED);
		message.AddBool("active", false);
		fActive->fClient->PostDisplayMessage(&message);
	}
	fActive = window;
	if (window != NULL) {
		BMessage message(B_WINDOW_ACTIVATED);
		message.AddBool("active", true);
		window->fClient->PostDisplayMessage(&message);
	}
}


void
X11Display::Flush()
{
	XFlush(fX);
	if (fWakePipe[1] >= 0) {
		char byte = 0;
		// A full pipe wakes the thread as well.
		(void)!write(fWakePipe[1], &byte, 1);
	}
}


void
X11Display::_UpdateWindowManager()
{
	fHasWindowManager = false;
	Atom type;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = NULL;
	if (XGetWindowProperty(fX, fRoot, fAtoms.netSupportingWmCheck, 0, 1, False, XA_WINDOW, &type,
			&format, &count, &after, &data)
			== Success
		&& data != NULL) {
		fHasWindowManager = type == XA_WINDOW && format == 32 && count == 1;
	}
	if (data != NULL)
		XFree(data);
}


//	#pragma mark - the event thread


void
X11Display::_EventLoop()
{
	while (!fQuitting) {
		for (;;) {
			std::lock_guard<std::recursive_mutex> lock(fLock);
			if (XPending(fX) == 0)
				break;
			XEvent event;
			XNextEvent(fX, &event);
			// The input method takes what it composes from.
			if (XFilterEvent(&event, None))
				continue;
			_HandleEvent(event);
		}

		int timeout;
		{
			std::lock_guard<std::recursive_mutex> lock(fLock);
			timeout = _DragTimeout();
			if (timeout == 0) {
				// The data of a drop did not come in time.
				_FinishDrag(false);
				continue;
			}
		}
		struct pollfd fds[2] = {{ConnectionNumber(fX), POLLIN, 0}, {fWakePipe[0], POLLIN, 0}};
		if (poll(fds, 2, timeout) < 0 && errno != EINTR)
			break;
		if ((fds[1].revents & POLLIN) != 0) {
			char buffer[64];
			while (read(fWakePipe[0], buffer, sizeof(buffer)) > 0) {
			}
		}
	}
}


void
X11Display::_HandleEvent(XEvent& event)
{
	// The keyboard's map changed: Xlib's copy must follow.
	if (event.type == MappingNotify) {
		XRefreshKeyboardMapping(&event.xmapping);
		return;
	}
	if (x11_tray_handle_event(this, event))
		return;
	if (event.xany.window == fClipboardWindow && fClipboardWindow != 0) {
		_HandleClipboardEvent(event);
		return;
	}
	if (event.xany.window == fRoot) {
		if (event.type == PropertyNotify && event.xproperty.atom == fAtoms.netSupportingWmCheck)
			_UpdateWindowManager();
		return;
	}

	// Events for windows that are gone (or not ours) are dropped.
	X11Window* window = FindWindow(event.xany.window);
	if (window == NULL)
		return;

	switch (event.type) {
	case ButtonPress:
	case ButtonRelease:
		_HandleButton(window, event.xbutton);
		break;

	case MotionNotify:
		_HandleMotion(window, event.xmotion);
		break;

	case EnterNotify:
	case LeaveNotify:
		_HandleCrossing(window, event.xcrossing);
		break;

	case KeyPress:
	case KeyRelease:
		_HandleKey(window, event.xkey);
		break;

	case FocusIn:
	case FocusOut:
		_HandleFocus(window, event.xfocus);
		break;

	case Expose: {
		const XExposeEvent& expose = event.xexpose;
		window->Repaint(
			BRect(expose.x, expose.y, expose.x + expose.width - 1, expose.y + expose.height - 1));
		XFlush(fX);
		break;
	}

	case ConfigureNotify:
		_HandleConfigure(window, event.xconfigure);
		break;

	case ReparentNotify:
		window->fParent = event.xreparent.parent;
		break;

	case MapNotify:
		window->fMapped = true;
		if (window->fFocusOnMap) {
			window->fFocusOnMap = false;
			window->Focus();
		}
		if (window->fGrabOnMap)
			window->GrabPointer();
		XFlush(fX);
		break;

	case UnmapNotify:
		window->fMapped = false;
		break;

	case SelectionNotify:
		_HandleDragData(event.xselection);
		break;

	case PropertyNotify:
		_HandleDragChunk(event.xproperty);
		break;

	case ClientMessage: {
		const XClientMessageEvent& message = event.xclient;
		if (_HandleDragMessage(window, message))
			break;
		// The close box, unless the window has none
		if (message.message_type == fAtoms.wmProtocols && message.format == 32
			&& (Atom)message.data.l[0] == fAtoms.wmDeleteWindow
			&& (window->fFlags & B_NOT_CLOSABLE) == 0) {
			BMessage quit(B_QUIT_REQUESTED);
			window->fClient->PostDisplayMessage(&quit);
		}
		break;
	}

	case DestroyNotify: {
		// Not by us: we take windows off the list before we destroy them. The window is
		// gone, so the BWindow should go as well.
		if (event.xdestroywindow.window != window->fWindow)
			break;
		window->fGone = true;
		window->fMapped = false;
		window->fGrabbed = false;
		if (fActive == window)
			SetActive(NULL);
		BMessage quit(B_QUIT_REQUESTED);
		window->fClient->PostDisplayMessage(&quit);
		break;
	}
	}
}


void
X11Display::_HandleButton(X11Window* window, const XButtonEvent& event)
{
	BPoint where(event.x_root, event.y_root);
	uint32 modifiers = _WithSides(x11_modifiers(event.state));
	bigtime_t when = system_time();

	if (event.button >= 4 && event.button <= 7) {
		// The wheel: buttons 4 and 5 scroll up and down, 6 and 7 left and right.
		if (event.type != ButtonPress)
			return;
		BMessage wheel(B_MOUSE_WHEEL_CHANGED);
		wheel.AddInt64("when", when);
		wheel.AddFloat(
			"be:wheel_delta_x", event.button == 6 ? -1.0f : (event.button == 7 ? 1.0f : 0.0f));
		wheel.AddFloat(
			"be:wheel_delta_y", event.button == 4 ? -1.0f : (event.button == 5 ? 1.0f : 0.0f));
		window->fClient->PostDisplayMessage(&wheel);
		return;
	}
	uint32 button = x11_button(event.button);
	if (button == 0)
		return;
	fLastPointer.Set(event.x_root, event.y_root);

	uint32 held = x11_buttons(event.state);
	std::unique_ptr<BMessage> message;
	if (event.type == ButtonPress) {
		// Without a window manager, nobody else brings a window forward when it is clicked.
		if (!fHasWindowManager && held == 0 && window->TakesFocus()) {
			XRaiseWindow(fX, window->fWindow);
			if (window->fMapped)
				window->Focus();
		}
		uint32 buttons = held | button;
		// Server times are milliseconds; they measure the time between clicks best.
		int32 clicks
			= fClicks.Press(where, buttons, modifiers, (bigtime_t)event.time * 1000, window);
		message.reset(make_mouse_message(B_MOUSE_DOWN, where, buttons, modifiers, when, clicks));
	} else {
		message.reset(make_mouse_message(B_MOUSE_UP, where, held & ~button, modifiers, when, 0));
	}
	window->fClient->PostDisplayMessage(message.get());
}


void
X11Display::_HandleMotion(X11Window* window, const XMotionEvent& event)
{
	// Only the last of the moves already queued counts.
	if (XEventsQueued(fX, QueuedAlready) > 0) {
		XEvent next;
		XPeekEvent(fX, &next);
		if (next.type == MotionNotify && next.xmotion.window == event.window
			&& next.xmotion.state == event.state)
			return;
	}
	BPoint where(event.x_root, event.y_root);
	if (where == fLastPointer)
		return;
	fLastPointer = where;
	std::unique_ptr<BMessage> message(
		make_mouse_message(B_MOUSE_MOVED, BPoint(event.x_root, event.y_root),
			x11_buttons(event.state), _WithSides(x11_modifiers(event.state)), system_time(), 0));
	window->fClient->PostDisplayMessage(message.get());
}


void
X11Display::_HandleCrossing(X11Window* window, const XCrossingEvent& event)
{
	if (event.detail == NotifyInferior)
		return;
	BPoint where(event.x_root, event.y_root);
	fLastPointer = where;
	uint32 buttons = x11_buttons(event.state);
	uint32 modifiers = _WithSides(x11_modifiers(event.state));
	if (event.type == EnterNotify) {
		if (event.mode == NotifyGrab)
			return;
		std::unique_ptr<BMessage> message(
			make_mouse_message(B_MOUSE_MOVED, where, buttons, modifiers, system_time(), 0));
		window->fClient->PostDisplayMessage(message.get());
		return;
	}

	// While buttons are held the window that got the press follows the pointer outside.
	if (event.mode == NotifyNormal && buttons != 0)
		return;
	std::unique_ptr<BMessage> message(
		make_mouse_message(B_MOUSE_MOVED, where, buttons, modifiers, system_time(), 0));
	message->AddBool("_exited", true);
	window->fClient->PostDisplayMessage(message.get());
}


void
X11Display::_HandleFocus(X11Window* window, const XFocusChangeEvent& event)
{
	// Focus moving within the window, following the pointer, or passing through a grab
	// (a window manager switching windows) does not change which window is active.
	if (event.detail == NotifyInferior || event.detail == NotifyPointer
		|| event.detail == NotifyPointerRoot || event.detail == NotifyDetailNone)
		return;
	if (event.mode == NotifyGrab || event.mode == NotifyUngrab)
		return;

	// What was held while the focus was elsewhere is not known.
	fSideModifiers = 0;
	std::fill(fKeyRepeats.begin(), fKeyRepeats.end(), -1);
	if (event.type == FocusIn) {
		if (window->fInputContext != NULL)
			XSetICFocus(window->fInputContext);
		SetActive(window);
	} else {
		if (window->fInputContext != NULL)
			XUnsetICFocus(window->fInputContext);
		if (fActive == window)
			SetActive(NULL);
	}
}


void
X11Display::_HandleConfigure(X11Window* window, const XConfigureEvent& event)
{
	// Where the content is on the screen: a window manager that put the window into a frame
	// of its own sends the place in root coordinates; otherwise it is asked for.
	int x = event.x;
	int y = event.y;
	if (!event.send_event && window->fParent != fRoot) {
		Window child;
		if (!XTranslateCoordinates(fX, window->fWindow, fRoot, 0, 0, &x, &y, &child))
			return;
	}
	BRect frame(x, y, x + event.width - 1, y + event.height - 1);
	if (!window->TakeConfigure(frame, event.serial))
		return;

	BRect old = window->fFrame;
	window->fFrame = frame;
	if (frame.LeftTop() != old.LeftTop()) {
		BMessage moved(B_WINDOW_MOVED);
		moved.AddInt64("when", system_time());
		moved.AddPoint("where", frame.LeftTop());
		window->fClient->PostDisplayMessage(&moved);
	}
	if (frame.Width() != old.Width() || frame.Height() != old.Height()) {
		window->fContents.Resize(event.width, event.height);
		BMessage resized(B_WINDOW_RESIZED);
		resized.AddInt64("when", system_time());
		resized.AddFloat("width", frame.Width());
		resized.AddFloat("height", frame.Height());
		window->fClient->PostDisplayMessage(&resized);
	}
}


} // namespace BPrivate
