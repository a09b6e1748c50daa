/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DISPLAY_H
#define _DISPLAY_H


#include <string>
#include <vector>

#include <Point.h>
#include <Rect.h>
#include <Window.h>

#include "Painter.h"


class BMessage;


namespace BPrivate {


// The window's side of a display window: where the display sends what happens to it.
//
// The display posts these messages, all to the window itself:
// - B_MOUSE_DOWN, B_MOUSE_UP, B_MOUSE_MOVED with "screen_where", "when", "buttons",
//   "modifiers" and, for B_MOUSE_DOWN, "clicks"; a B_MOUSE_MOVED with "_exited" true tells a
//   window that the pointer went to another one;
// - B_KEY_DOWN, B_KEY_UP with "when", "key", "modifiers", "byte", "bytes", "raw_char";
// - B_QUIT_REQUESTED when the user closes the window;
// - B_WINDOW_ACTIVATED with "active";
// - B_WINDOW_MOVED with "where" and B_WINDOW_RESIZED with "width" and "height" when the user
//   moves or resizes the window;
// - what the user dropped on the window from another program, through post_drop_message().
class DisplayClient {
public:
	virtual ~DisplayClient() { }

	// Called from any thread, with the display's own lock held: it must not lock the window.
	// The message is copied.
	virtual void PostDisplayMessage(BMessage* message) = 0;
	virtual BWindow* ClientWindow() const = 0;
};


// A window on a display. The window calls these from its thread (or while it is locked);
// frames are the content area's, in screen coordinates.
class DisplayWindow {
public:
	virtual ~DisplayWindow() { }

	virtual void SetTitle(const char* title) = 0;
	virtual void SetFrame(BRect frame) = 0;
	virtual void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
		= 0;
	virtual void Show() = 0;
	virtual void Hide() = 0;
	virtual void Activate(bool active) = 0;
	// The window drew into its back buffer within rect (window coordinates); the display
	// takes a copy of those pixels.
	virtual void UpdateContents(const DrawTarget& buffer, BRect rect) = 0;
};


// A display window's own copy of what its window drew, B_RGB32 words row after row, so that
// the display can show it again without asking the window.
struct WindowPixels {
	// Keeps what still fits; the new area is white. Without memory it holds nothing. The
	// pixels are made with the first copy: until then the window is white.
	void Resize(int32 newWidth, int32 newHeight);
	bool HasPixels() const;
	// Takes the pixels of the buffer within rect (window coordinates), clipped to both sizes;
	// the part taken goes to *copied. False when nothing was taken.
	bool CopyFrom(const DrawTarget& buffer, BRect rect, BRect* copied);

	std::vector<uint32> pixels;
	int32 width = 0;
	int32 height = 0;
};


// Windows of this type are pop-up menus: no border, never focused, above every other window.
// While one is shown it gets every pointer event of the screen (a pointer grab): presses and
// releases outside its frame arrive with a "screen_where" outside it, so it can close itself.
const window_type kMenuWindowType = (window_type)31;


// Who holds the system clipboard, as a display tells it.
enum clipboard_source {
	// This process: its own data stands (a display without a desktop clipboard always says so).
	kClipboardOwn,
	// Another program; its text (empty when it offers none) comes along.
	kClipboardForeign,
	// Nobody: the clipboard is empty.
	kClipboardNone
};


// Puts windows on a screen. The Interface Kit only talks to this interface: the backend is
// chosen once, at the first window (or the first use of the system clipboard).
class Display {
public:
	virtual ~Display() { }

	static Display* Default();

	virtual const char* Name() const = 0;
	virtual BRect ScreenFrame() const = 0;
	// A new, hidden window; its owner deletes it, which takes it off the screen.
	virtual DisplayWindow* CreateWindow(
		DisplayClient* client, BRect frame, const char* title, window_type type, uint32 flags)
		= 0;

	// The desktop's clipboard. SetClipboardText() makes the process its owner, offering
	// the text (UTF-8) to other programs until one of them takes it over. ReadClipboardText()
	// asks the owner, when it is another program, for its text; it waits a bounded time
	// for the answer. Both may be called from any thread.
	virtual void SetClipboardText(const char* text, size_t length) = 0;
	virtual clipboard_source ReadClipboardText(std::string* text) = 0;

	// The window of this process that shows at a point of the screen, on top there; NULL
	// when the point shows the desktop or another program's window. Any thread.
	virtual DisplayClient* ClientAt(BPoint screenWhere) = 0;
	// Windows of kDesktopWidgetWindowType (ShelfPrivate.h) show per-pixel transparency.
	virtual bool
	TranslucentWidgets()
	{
		return false;
	}
};


// Counts clicks as Haiku's input driver and app_server do: a press within the click speed of
// the previous one, with the same buttons and modifiers, in the same window and less than
// 4 pixels away, adds one; anything else starts again at 1.
class ClickCounter {
public:
	ClickCounter();

	int32 Press(
		BPoint screenWhere, uint32 buttons, uint32 modifiers, bigtime_t when, const void* window);
	void Reset();

	static const bigtime_t kClickSpeed = 500000;

private:
	BPoint fWhere;
	uint32 fButtons;
	uint32 fModifiers;
	bigtime_t fWhen;
	const void* fWindow;
	int32 fClicks;
};


// The event messages displays send, with the fields named above.
BMessage* make_mouse_message(uint32 what, BPoint screenWhere, uint32 buttons, uint32 modifiers,
	bigtime_t when, int32 clicks);
BMessage* make_key_message(
	uint32 what, const char* bytes, int32 key, uint32 modifiers, bigtime_t when);

// Drops from other programs, delivered as Haiku delivers them. The window gets a copy of
// message flagged as dropped (BMessage::WasDropped()), with "_drop_point_" (screenWhere) and
// "_drop_offset_" (0, 0) added; it hands it to the view under the drop point.
void post_drop_message(DisplayClient* client, const BMessage* message, BPoint screenWhere);
// A dropped text: B_MIME_DATA with the bytes (no NUL) as "text/plain" of B_MIME_TYPE.
BMessage* make_text_drop_message(const char* text, size_t length);
// Dropped files, from a text/uri-list (RFC 2483): B_SIMPLE_DATA with one entry_ref in "refs"
// per local file:// URI whose file exists. NULL when there is none.
BMessage* make_files_drop_message(const char* uriList, size_t length);

// The backends. create_x11_display returns NULL when no X server answers.
Display* create_headless_display();
Display* create_x11_display();


} // namespace BPrivate


#endif // _DISPLAY_H
