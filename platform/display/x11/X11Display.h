/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _X11_DISPLAY_H
#define _X11_DISPLAY_H


#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Display.h"

// Xlib last: it defines Bool, Status, None and friends as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>


namespace BPrivate {


class X11Display;
struct X11WidgetData;


// The atoms the backend uses, interned once when the display opens.
struct X11Atoms {
	Atom wmProtocols;
	Atom wmDeleteWindow;
	Atom utf8String;
	Atom netWmName;
	Atom netWmIconName;
	Atom netWmPid;
	Atom netActiveWindow;
	Atom netSupportingWmCheck;
	Atom netWmWindowType;
	Atom netWmWindowTypeNormal;
	Atom netWmWindowTypeDialog;
	Atom netWmWindowTypeUtility;
	Atom netWmWindowTypePopupMenu;
	Atom netWmState;
	Atom netWmStateModal;
	Atom motifWmHints;
	Atom clipboard;
	Atom targets;
	Atom text;
	Atom clipboardProperty;
	// Drag and drop from other programs (XDND)
	Atom xdndAware;
	Atom xdndEnter;
	Atom xdndPosition;
	Atom xdndStatus;
	Atom xdndLeave;
	Atom xdndDrop;
	Atom xdndFinished;
	Atom xdndSelection;
	Atom xdndTypeList;
	Atom xdndActionCopy;
	Atom xdndData;
	Atom incr;
	Atom uriList;
	Atom textPlainUtf8;
	Atom textPlain;
};


// A drag from another program over one of our windows (XDND), from XdndEnter to
// XdndFinished or XdndLeave.
struct X11Drag {
	X11Drag() { Reset(); }
	void Reset();

	// The dragging program's window; 0 when no drag is over our windows
	Window source;
	// Ours, that the drag is over
	Window target;
	int version;
	// The type we take, or None when nothing offered is text or files
	Atom type;
	// The last pointer position, in root coordinates
	BPoint where;
	// The data was asked for at the drop; it comes by then or never.
	bool fetching;
	bool incremental;
	bigtime_t deadline;
	std::string data;
};


// A top-level X window. The public methods run on the BWindow's thread; everything else is
// used by the display's event thread. Both hold the display's lock while they touch the
// members.
class X11Window : public DisplayWindow {
public:
	X11Window(X11Display* display, DisplayClient* client, BRect frame, const char* title,
		window_type type, uint32 flags);
	virtual ~X11Window();

	virtual void SetTitle(const char* title);
	virtual void SetFrame(BRect frame);
	virtual void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
	virtual void Show();
	virtual void Hide();
	virtual void Activate(bool active);
	virtual void UpdateContents(const DrawTarget& buffer, BRect rect);

	// The rest is used with the display locked.
	bool
	IsMenu() const
	{
		return fType == (uint32)kMenuWindowType;
	}
	bool
	TakesFocus() const
	{
		return !IsMenu() && (fFlags & B_AVOID_FOCUS) == 0;
	}
	bool
	IsValid() const
	{
		return fWindow != 0;
	}

	// Puts the window's copy of its pixels within rect (window coordinates) on the screen.
	void Repaint(BRect rect);
	// Gives the window the input focus now (it is viewable).
	void Focus();
	void GrabPointer();
	// What a ConfigureNotify tells: the window's content is at frame (screen coordinates)
	// after the request with this serial. True when this is news: neither our own request
	// coming back nor one that a later request of ours overrides.
	bool TakeConfigure(BRect frame, unsigned long serial);

	X11Display* fDisplay;
	DisplayClient* fClient;
	Window fWindow;
	// The window the window manager put ours in, or the root window
	Window fParent;
	XIC fInputContext;
	// A window_type; kMenuWindowType is outside the enumeration's values.
	uint32 fType;
	uint32 fFlags;
	// The content's frame in screen coordinates, as we asked for it or last heard of it
	BRect fFrame;
	float fMinWidth;
	float fMaxWidth;
	float fMinHeight;
	float fMaxHeight;
	// Shown by its BWindow, and mapped as far as the server told us
	bool fShown;
	bool fMapped;
	bool fFocusOnMap;
	bool fGrabOnMap;
	bool fGrabbed;
	// Someone else destroyed the X window.
	bool fGone;

	// Our requests to move or resize the window that the server may not have answered yet
	struct FrameRequest {
		unsigned long serial;
		BRect frame;
	};
	std::vector<FrameRequest> fFrameRequests;

	// The window's pixels as it last handed them over, B_RGB32
	WindowPixels fContents;
	// What a desktop widget window keeps (X11Widget.cpp); NULL for other windows
	X11WidgetData* fWidget;
	// An icon of the system tray (X11Tray.cpp): the tray maps, places and sizes it.
	bool fEmbedded;

private:
	void _SetTitle(const char* title);
	void _SetNormalHints();
	void _SetType();
	void _RequestFrame(BRect frame, bool move, bool resize);
};


class X11Display : public Display {
public:
	// The display DISPLAY names, or NULL when it does not answer.
	static X11Display* Open();
	virtual ~X11Display();

	virtual const char*
	Name() const
	{
		return "x11";
	}
	virtual BRect ScreenFrame() const;
	virtual DisplayWindow* CreateWindow(
		DisplayClient* client, BRect frame, const char* title, window_type type, uint32 flags);

	// The CLIPBOARD selection (X11Clipboard.cpp)
	virtual void SetClipboardText(const char* text, size_t length);
	virtual clipboard_source ReadClipboardText(std::string* text);
	// Desktop widgets (X11Widget.cpp)
	virtual DisplayClient* ClientAt(BPoint screenWhere);
	virtual bool TranslucentWidgets();

	// With the lock held
	X11Window* FindWindow(Window window) const;
	void RemoveWindow(X11Window* window);
	void SetActive(X11Window* window);
	// A menu let the pointer go: the menu shown before it (its parent) holds it again.
	void RegrabMenu();
	// Sends what Xlib buffered and wakes the event thread: another thread's call may have
	// read events into Xlib's queue while the event thread waits on the connection.
	void Flush();

	std::recursive_mutex fLock;
	::Display* fX;
	int fScreen;
	Window fRoot;
	Visual* fVisual;
	int fDepth;
	GC fGC;
	// The visual takes B_RGB32 words as they are: 32 bits per pixel, 0x00RRGGBB.
	bool fDirectPixels;
	XIM fInputMethod;
	X11Atoms fAtoms;
	X11Drag fDrag;
	// A window manager that follows the EWMH runs.
	bool fHasWindowManager;

	std::vector<X11Window*> fWindows;
	X11Window* fActive;
	ClickCounter fClicks;
	// The left and right modifier keys held, as B_LEFT_SHIFT_KEY and so on
	uint32 fSideModifiers;
	// Where the pointer was at the last pointer event, in root coordinates: a motion event
	// that does not move it is no move (a press or a fake motion to the same place).
	BPoint fLastPointer;
	// What each key held down typed, and how often it repeated
	std::vector<std::string> fKeyBytes;
	std::vector<int32> fKeyRepeats;
	// The clipboard: an unmapped window of ours owns CLIPBOARD and receives what other
	// programs convert it to.
	Window fClipboardWindow;
	bool fClipboardOwned;
	std::string fClipboardText;
	// A conversion of another program's CLIPBOARD that a thread waits for
	struct Conversion {
		bool pending = false;
		bool done = false;
		bool succeeded = false;
		bool incremental = false;
		std::string data;
	};
	Conversion fConversion;
	std::condition_variable_any fConversionDone;
	// One conversion at a time
	std::mutex fConversionLock;

private:
	X11Display(::Display* x);

	void _EventLoop();
	void _HandleEvent(XEvent& event);
	void _HandleButton(X11Window* window, const XButtonEvent& event);
	void _HandleMotion(X11Window* window, const XMotionEvent& event);
	void _HandleCrossing(X11Window* window, const XCrossingEvent& event);
	void _HandleKey(X11Window* window, XKeyEvent& event);
	void _HandleFocus(X11Window* window, const XFocusChangeEvent& event);
	void _HandleConfigure(X11Window* window, const XConfigureEvent& event);
	// XDND (X11Drops.cpp)
	bool _HandleDragMessage(X11Window* window, const XClientMessageEvent& event);
	void _HandleDragData(const XSelectionEvent& event);
	void _HandleDragChunk(const XPropertyEvent& event);
	void _FinishDrag(bool delivered);
	// Milliseconds until the data of a drop is late, -1 when none is awaited
	int _DragTimeout();
	void _SendToSource(Atom type, long data1, long data2, long data3, long data4);
	void _UpdateWindowManager();
	void _HandleClipboardEvent(XEvent& event);
	void _AnswerSelectionRequest(const XSelectionRequestEvent& request);
	void _ReadConversion(bool first);
	uint32 _WithSides(uint32 modifiers) const;

	int fWakePipe[2];
	std::atomic<bool> fQuitting;
	std::thread fThread;
};


// Haiku's names for what X tells about keys and buttons (X11Keys.cpp)

// Haiku's key code of a key, from its X key code; 0 when unknown
int32 x11_key_code(unsigned int keycode);
// The byte Haiku types for a key that has one of its own (arrows, B_ENTER, B_FUNCTION_KEY,
// ...); 0 for the others.
char x11_key_byte(KeySym keysym);
// For a modifier key: its modifier (B_SHIFT_KEY, ...) and its side (B_LEFT_SHIFT_KEY, ...);
// false for other keys.
bool x11_modifier_key(KeySym keysym, uint32* modifier, uint32* side);
// The modifiers in an X state, without sides
uint32 x11_modifiers(unsigned int state);
// The buttons held in an X state, and Haiku's button for an X button (0 for the wheel and
// others)
uint32 x11_buttons(unsigned int state);
uint32 x11_button(unsigned int button);

// The system tray's events (X11Tray.cpp): true when the event was the tray's
bool x11_tray_handle_event(X11Display* display, XEvent& event);


} // namespace BPrivate


#endif // _X11_DISPLAY_H
