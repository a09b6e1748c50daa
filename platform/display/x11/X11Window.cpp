/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include <AppDefs.h>
#include <Message.h>

#include "X11Display.h"
#include "X11Widget.h"

#include <X11/Xatom.h>


namespace BPrivate {


// X keeps positions in 16 bits, and sizes of at least 1.
static const int kMaxCoordinate = 32767;

static const long kEventMask = ExposureMask | StructureNotifyMask | FocusChangeMask | KeyPressMask
	| KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask
	| LeaveWindowMask | PropertyChangeMask;

// _MOTIF_WM_HINTS: which decorations and functions the window manager gives a window
enum {
	kMotifFunctions = 1 << 0,
	kMotifDecorations = 1 << 1,
	kMotifFunctionAll = 1 << 0,
	kMotifFunctionResize = 1 << 1,
	kMotifFunctionMove = 1 << 2,
	kMotifFunctionMinimize = 1 << 3,
	kMotifFunctionMaximize = 1 << 4,
	kMotifFunctionClose = 1 << 5,
	kMotifDecorBorder = 1 << 1
};


static int
clamp_position(float value)
{
	return (int)std::max<float>(-kMaxCoordinate - 1, std::min<float>(kMaxCoordinate, value));
}


static unsigned int
clamp_size(float value)
{
	return (unsigned int)std::max<float>(1, std::min<float>(kMaxCoordinate, value));
}


// Latin-1 for a UTF-8 text that has no other characters; false otherwise.
static bool
utf8_to_latin1(const char* text, std::string* latin1)
{
	latin1->clear();
	for (const uint8* c = (const uint8*)text; *c != '\0'; c++) {
		if (*c < 0x80)
			latin1->push_back((char)*c);
		else if ((*c == 0xc2 || *c == 0xc3) && (c[1] & 0xc0) == 0x80) {
			latin1->push_back((char)(((c[0] & 0x03) << 6) | (c[1] & 0x3f)));
			c++;
		} else
			return false;
	}
	return true;
}


// A channel of 8 bits scaled into a visual's mask
static unsigned long
scale_channel(uint32 value, unsigned long mask)
{
	if (mask == 0)
		return 0;
	int shift = __builtin_ctzl(mask);
	unsigned long maximum = mask >> shift;
	return ((value * maximum + 127) / 255) << shift;
}


//	#pragma mark - X11Window


X11Window::X11Window(X11Display* display, DisplayClient* client, BRect frame, const char* title,
	window_type type, uint32 flags)
	: fDisplay(display), fClient(client), fWindow(0), fParent(display->fRoot), fInputContext(NULL),
	  fType((uint32)type), fFlags(flags), fFrame(frame), fMinWidth(0), fMaxWidth(kMaxCoordinate),
	  fMinHeight(0), fMaxHeight(kMaxCoordinate), fShown(false), fMapped(false), fFocusOnMap(false),
	  fGrabOnMap(false), fGrabbed(false), fGone(false), fWidget(NULL), fEmbedded(false)
{
	::Display* x = display->fX;
	fContents.Resize((int32)frame.Width() + 1, (int32)frame.Height() + 1);

	XSetWindowAttributes attributes;
	attributes.background_pixel = WhitePixel(x, display->fScreen);
	attributes.border_pixel = 0;
	attributes.bit_gravity = NorthWestGravity;
	attributes.event_mask = kEventMask;
	// Menus go around the window manager: no frame, no focus.
	attributes.override_redirect = IsMenu() ? True : False;
	attributes.save_under = IsMenu() ? True : False;
	unsigned long mask = CWBackPixel | CWBorderPixel | CWBitGravity | CWEventMask
		| CWOverrideRedirect | CWSaveUnder;
	if (x11_is_widget_type(fType))
		fWindow = x11_create_widget_window(this, frame, &attributes, mask);
	else {
		fWindow = XCreateWindow(x, display->fRoot, clamp_position(frame.left),
			clamp_position(frame.top), clamp_size(frame.Width() + 1),
			clamp_size(frame.Height() + 1), 0, CopyFromParent, InputOutput, CopyFromParent, mask,
			&attributes);
	}
	if (fWindow == 0)
		return;

	_SetTitle(title);
	_SetType();
	if (fWidget != NULL)
		x11_set_widget_hints(this);

	// Who the window belongs to
	XClassHint* classHint = XAllocClassHint();
	if (classHint != NULL) {
		std::string name = program_invocation_short_name;
		std::string className = name;
		if (!className.empty())
			className[0] = (char)toupper((unsigned char)className[0]);
		classHint->res_name = const_cast<char*>(name.c_str());
		classHint->res_class = const_cast<char*>(className.c_str());
		XSetClassHint(x, fWindow, classHint);
		XFree(classHint);
	}
	long pid = getpid();
	XChangeProperty(x, fWindow, display->fAtoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
		(unsigned char*)&pid, 1);
	char host[256];
	if (gethostname(host, sizeof(host)) == 0) {
		host[sizeof(host) - 1] = '\0';
		char* list[] = {host};
		XTextProperty property;
		if (XStringListToTextProperty(list, 1, &property) != 0) {
			XSetWMClientMachine(x, fWindow, &property);
			XFree(property.value);
		}
	}

	XWMHints* hints = XAllocWMHints();
	if (hints != NULL) {
		hints->flags = InputHint | StateHint;
		hints->input = TakesFocus() ? True : False;
		hints->initial_state = NormalState;
		// The windows of a process are one group (led by its never shown clipboard window),
		// so that a modal window stays above all of them.
		if (display->fClipboardWindow != 0) {
			hints->flags |= WindowGroupHint;
			hints->window_group = display->fClipboardWindow;
		}
		XSetWMHints(x, fWindow, hints);
		XFree(hints);
	}
	_SetNormalHints();
	// The close box asks first.
	XSetWMProtocols(x, fWindow, &display->fAtoms.wmDeleteWindow, 1);
	// Other programs may drop text and files on the window (XDND version 5).
	if (!IsMenu()) {
		Atom version = 5;
		XChangeProperty(x, fWindow, display->fAtoms.xdndAware, XA_ATOM, 32, PropModeReplace,
			(unsigned char*)&version, 1);
	}

	if (display->fInputMethod != NULL && !IsMenu()) {
		fInputContext
			= XCreateIC(display->fInputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
				XNClientWindow, fWindow, XNFocusWindow, fWindow, NULL);
	}
}


X11Window::~X11Window()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	// The event thread drops whatever still comes for the window.
	fDisplay->RemoveWindow(this);
	if (fGrabbed) {
		XUngrabPointer(fDisplay->fX, CurrentTime);
		XUngrabKeyboard(fDisplay->fX, CurrentTime);
		fGrabbed = false;
		fDisplay->RegrabMenu();
	}
	if (fInputContext != NULL)
		XDestroyIC(fInputContext);
	if (fWindow != 0 && !fGone)
		XDestroyWindow(fDisplay->fX, fWindow);
	x11_destroy_widget(this);
	fDisplay->Flush();
}


void
X11Window::SetTitle(const char* title)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (fGone)
		return;
	_SetTitle(title);
	fDisplay->Flush();
}


void
X11Window::SetFrame(BRect frame)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (frame == fFrame)
		return;
	bool move = frame.LeftTop() != fFrame.LeftTop();
	bool resize = frame.Width() != fFrame.Width() || frame.Height() != fFrame.Height();
	fFrame = frame;
	if (resize) {
		fContents.Resize((int32)frame.Width() + 1, (int32)frame.Height() + 1);
		if ((fFlags & (B_NOT_RESIZABLE | B_NOT_H_RESIZABLE | B_NOT_V_RESIZABLE)) != 0)
			_SetNormalHints();
	}
	_RequestFrame(frame, move, resize);
	fDisplay->Flush();
}


void
X11Window::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fMinWidth = minWidth;
	fMaxWidth = maxWidth;
	fMinHeight = minHeight;
	fMaxHeight = maxHeight;
	_SetNormalHints();
	fDisplay->Flush();
}


void
X11Window::Show()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (fGone)
		return;
	fShown = true;
	::Display* x = fDisplay->fX;
	if (fEmbedded) {
		// The tray shows it once it took it in.
		if (fParent != fDisplay->fRoot)
			XMapWindow(x, fWindow);
		fDisplay->Flush();
		return;
	}
	XMapRaised(x, fWindow);
	if (IsMenu())
		GrabPointer();
	else {
		// Window managers may place a window where they like until it is shown.
		_RequestFrame(fFrame, true, false);
		if (TakesFocus() && !fDisplay->fHasWindowManager) {
			if (fMapped)
				Focus();
			else
				fFocusOnMap = true;
		}
	}
	fDisplay->Flush();
}


void
X11Window::Hide()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fShown = false;
	fFocusOnMap = false;
	fGrabOnMap = false;
	if (fGone)
		return;
	::Display* x = fDisplay->fX;
	bool regrab = fGrabbed;
	if (fGrabbed) {
		XUngrabPointer(x, CurrentTime);
		XUngrabKeyboard(x, CurrentTime);
		fGrabbed = false;
	}
	if (IsMenu() || fEmbedded)
		XUnmapWindow(x, fWindow);
	else
		XWithdrawWindow(x, fWindow, fDisplay->fScreen);
	if (regrab)
		fDisplay->RegrabMenu();
	fDisplay->Flush();
}


void
X11Window::Activate(bool active)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (fGone || !fShown)
		return;
	::Display* x = fDisplay->fX;
	if (active) {
		XRaiseWindow(x, fWindow);
		if (!TakesFocus()) {
			// Nothing more
		} else if (fDisplay->fHasWindowManager) {
			// The window manager decides; this asks it as an application does.
			XEvent event;
			memset(&event, 0, sizeof(event));
			event.xclient.type = ClientMessage;
			event.xclient.window = fWindow;
			event.xclient.message_type = fDisplay->fAtoms.netActiveWindow;
			event.xclient.format = 32;
			event.xclient.data.l[0] = 1;
			event.xclient.data.l[1] = CurrentTime;
			event.xclient.data.l[2] = fDisplay->fActive != NULL ? fDisplay->fActive->fWindow : 0;
			XSendEvent(x, fDisplay->fRoot, False, SubstructureRedirectMask | SubstructureNotifyMask,
				&event);
		} else if (fMapped)
			Focus();
		else
			fFocusOnMap = true;
	} else if (fDisplay->fActive == this)
		XSetInputFocus(x, PointerRoot, RevertToPointerRoot, CurrentTime);
	fDisplay->Flush();
}


void
X11Window::UpdateContents(const DrawTarget& buffer, BRect rect)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	BRect copied;
	if (!fContents.CopyFrom(buffer, rect, &copied))
		return;
	Repaint(copied);
	fDisplay->Flush();
}


//	#pragma mark - with the display locked


void
X11Window::Repaint(BRect rect)
{
	// Before the window drew anything, X11 shows its white background.
	if (fGone || !fShown || !fContents.HasPixels())
		return;
	int32 left = std::max<int32>(0, (int32)floorf(rect.left));
	int32 top = std::max<int32>(0, (int32)floorf(rect.top));
	int32 right = std::min<int32>(fContents.width - 1, (int32)ceilf(rect.right));
	int32 bottom = std::min<int32>(fContents.height - 1, (int32)ceilf(rect.bottom));
	if (right < left || bottom < top)
		return;
	int32 width = right - left + 1;
	int32 height = bottom - top + 1;
	::Display* x = fDisplay->fX;
	if (x11_repaint_widget(this, left, top, width, height))
		return;

	if (fDisplay->fDirectPixels) {
		// The image is our copy itself: B, G, R, A bytes are 32-bit words 0xAARRGGBB in
		// least significant byte first order, whatever order the server wants.
		XImage* image = XCreateImage(x, fDisplay->fVisual, fDisplay->fDepth, ZPixmap, 0,
			reinterpret_cast<char*>(fContents.pixels.data()), fContents.width, fContents.height, 32,
			fContents.width * 4);
		if (image == NULL)
			return;
		image->byte_order = LSBFirst;
		XPutImage(x, fWindow, fDisplay->fGC, image, left, top, left, top, width, height);
		image->data = NULL;
		XDestroyImage(image);
		return;
	}

	// Another visual: each pixel converted
	XImage* image = XCreateImage(
		x, fDisplay->fVisual, fDisplay->fDepth, ZPixmap, 0, NULL, width, height, 32, 0);
	if (image == NULL)
		return;
	image->data = static_cast<char*>(malloc((size_t)image->bytes_per_line * height));
	if (image->data == NULL) {
		XDestroyImage(image);
		return;
	}
	Visual* visual = fDisplay->fVisual;
	bool trueColor = visual->c_class == TrueColor || visual->c_class == DirectColor;
	unsigned long white = WhitePixel(x, fDisplay->fScreen);
	unsigned long black = BlackPixel(x, fDisplay->fScreen);
	for (int32 y = 0; y < height; y++) {
		const uint32* row = &fContents.pixels[(size_t)(top + y) * fContents.width + left];
		for (int32 column = 0; column < width; column++) {
			uint32 red = (row[column] >> 16) & 0xff;
			uint32 green = (row[column] >> 8) & 0xff;
			uint32 blue = row[column] & 0xff;
			unsigned long pixel;
			if (trueColor) {
				pixel = scale_channel(red, visual->red_mask)
					| scale_channel(green, visual->green_mask)
					| scale_channel(blue, visual->blue_mask);
			} else
				pixel = red * 3 + green * 6 + blue >= 1280 ? white : black;
			XPutPixel(image, column, y, pixel);
		}
	}
	XPutImage(x, fWindow, fDisplay->fGC, image, 0, 0, left, top, width, height);
	XDestroyImage(image);
}


void
X11Window::Focus()
{
	if (fGone || !TakesFocus())
		return;
	XSetInputFocus(fDisplay->fX, fWindow, RevertToPointerRoot, CurrentTime);
}


// While a menu is shown every press, release and move of the pointer comes to it, wherever
// the pointer is.
void
X11Window::GrabPointer()
{
	fGrabOnMap = false;
	if (fGone || !fShown)
		return;
	int result = XGrabPointer(fDisplay->fX, fWindow, False,
		ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
		None, CurrentTime);
	fGrabbed = result == GrabSuccess;
	// Not mapped yet: again when it is.
	fGrabOnMap = result == GrabNotViewable;
	if (fGrabbed) {
		// X keeps one grab for all our windows: a submenu's takes the grab of the menu
		// under it, which must take it again when the submenu goes.
		for (X11Window* other : fDisplay->fWindows) {
			if (other != this)
				other->fGrabbed = false;
		}
		// Keys come to the menu too, so that Escape closes it.
		XGrabKeyboard(fDisplay->fX, fWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime);
	} else if (!fGrabOnMap) {
		// Another client holds the pointer: a menu that cannot follow it closes.
		fprintf(stderr, "x11: a menu cannot take the pointer (%d)\n", result);
		BMessage quit(B_QUIT_REQUESTED);
		fClient->PostDisplayMessage(&quit);
	}
}


bool
X11Window::TakeConfigure(BRect frame, unsigned long serial)
{
	bool ours = false;
	bool later = false;
	for (auto i = fFrameRequests.begin(); i != fFrameRequests.end();) {
		if (i->serial <= serial) {
			if (i->frame == frame)
				ours = true;
			i = fFrameRequests.erase(i);
		} else {
			later = true;
			i++;
		}
	}
	return !ours && !later && frame != fFrame;
}


void
X11Window::_SetTitle(const char* title)
{
	if (title == NULL)
		title = "";
	::Display* x = fDisplay->fX;
	size_t length = strlen(title);

	// WM_NAME in Latin-1 when the title fits, else in UTF-8, which window managers read as
	// well; _NET_WM_NAME always in UTF-8.
	std::string latin1;
	XTextProperty property;
	if (utf8_to_latin1(title, &latin1)) {
		property.value = (unsigned char*)latin1.c_str();
		property.encoding = XA_STRING;
		property.nitems = latin1.size();
	} else {
		property.value = (unsigned char*)title;
		property.encoding = fDisplay->fAtoms.utf8String;
		property.nitems = length;
	}
	property.format = 8;
	XSetWMName(x, fWindow, &property);
	XSetWMIconName(x, fWindow, &property);
	XChangeProperty(x, fWindow, fDisplay->fAtoms.netWmName, fDisplay->fAtoms.utf8String, 8,
		PropModeReplace, (const unsigned char*)title, (int)length);
	XChangeProperty(x, fWindow, fDisplay->fAtoms.netWmIconName, fDisplay->fAtoms.utf8String, 8,
		PropModeReplace, (const unsigned char*)title, (int)length);
}


// The limits are Haiku's, one pixel less than the sizes.
void
X11Window::_SetNormalHints()
{
	XSizeHints* hints = XAllocSizeHints();
	if (hints == NULL)
		return;
	int width = (int)clamp_size(fFrame.Width() + 1);
	int height = (int)clamp_size(fFrame.Height() + 1);
	// Where the program puts it, its content's left top corner
	hints->flags = USPosition | PPosition | PSize | PMinSize | PMaxSize | PWinGravity;
	hints->x = clamp_position(fFrame.left);
	hints->y = clamp_position(fFrame.top);
	hints->width = width;
	hints->height = height;
	hints->win_gravity = StaticGravity;
	hints->min_width = (int)clamp_size(fMinWidth + 1);
	hints->max_width = std::max(hints->min_width, (int)clamp_size(fMaxWidth + 1));
	hints->min_height = (int)clamp_size(fMinHeight + 1);
	hints->max_height = std::max(hints->min_height, (int)clamp_size(fMaxHeight + 1));
	if ((fFlags & (B_NOT_RESIZABLE | B_NOT_H_RESIZABLE)) != 0)
		hints->min_width = hints->max_width = width;
	if ((fFlags & (B_NOT_RESIZABLE | B_NOT_V_RESIZABLE)) != 0)
		hints->min_height = hints->max_height = height;
	XSetWMNormalHints(fDisplay->fX, fWindow, hints);
	XFree(hints);
}


void
X11Window::_SetType()
{
	::Display* x = fDisplay->fX;
	const X11Atoms& atoms = fDisplay->fAtoms;
	Atom type = atoms.netWmWindowTypeNormal;
	if (IsMenu())
		type = atoms.netWmWindowTypePopupMenu;
	else if (fType == (uint32)B_MODAL_WINDOW)
		type = atoms.netWmWindowTypeDialog;
	else if (fType == (uint32)B_FLOATING_WINDOW)
		type = atoms.netWmWindowTypeUtility;
	XChangeProperty(
		x, fWindow, atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace, (unsigned char*)&type, 1);
	if (IsMenu())
		return;
	if (fType == (uint32)B_MODAL_WINDOW) {
		// Modal to the whole application: transient for the root window means for every
		// window of the group, and window managers keep it above them.
		XSetTransientForHint(x, fWindow, fDisplay->fRoot);
		Atom modal = atoms.netWmStateModal;
		XChangeProperty(
			x, fWindow, atoms.netWmState, XA_ATOM, 32, PropModeReplace, (unsigned char*)&modal, 1);
	}

	// What the window manager may draw and do
	long motif[5] = {0, 0, 0, 0, 0};
	if (fType == (uint32)B_UNTYPED_WINDOW || fType == (uint32)B_BORDERED_WINDOW) {
		motif[0] |= kMotifDecorations;
		motif[2] = fType == (uint32)B_BORDERED_WINDOW ? kMotifDecorBorder : 0;
	}
	long removed = 0;
	if ((fFlags & B_NOT_RESIZABLE) != 0)
		removed |= kMotifFunctionResize;
	if ((fFlags & B_NOT_MOVABLE) != 0)
		removed |= kMotifFunctionMove;
	if ((fFlags & B_NOT_MINIMIZABLE) != 0)
		removed |= kMotifFunctionMinimize;
	if ((fFlags & B_NOT_ZOOMABLE) != 0)
		removed |= kMotifFunctionMaximize;
	if ((fFlags & B_NOT_CLOSABLE) != 0)
		removed |= kMotifFunctionClose;
	if (removed != 0) {
		motif[0] |= kMotifFunctions;
		motif[1] = kMotifFunctionAll | removed;
	}
	if (motif[0] != 0) {
		XChangeProperty(x, fWindow, atoms.motifWmHints, atoms.motifWmHints, 32, PropModeReplace,
			(unsigned char*)motif, 5);
	}
}


// Asks the server to put the window at frame; the ConfigureNotify that answers is ours.
void
X11Window::_RequestFrame(BRect frame, bool move, bool resize)
{
	if (fGone || (!move && !resize))
		return;
	::Display* x = fDisplay->fX;
	// Requests that changed nothing get no answer; the oldest go.
	if (fFrameRequests.size() >= 32)
		fFrameRequests.erase(fFrameRequests.begin());
	fFrameRequests.push_back({NextRequest(x), frame});
	if (move && resize) {
		XMoveResizeWindow(x, fWindow, clamp_position(frame.left), clamp_position(frame.top),
			clamp_size(frame.Width() + 1), clamp_size(frame.Height() + 1));
	} else if (move)
		XMoveWindow(x, fWindow, clamp_position(frame.left), clamp_position(frame.top));
	else
		XResizeWindow(x, fWindow, clamp_size(frame.Width() + 1), clamp_size(frame.Height() + 1));
}


} // namespace BPrivate
