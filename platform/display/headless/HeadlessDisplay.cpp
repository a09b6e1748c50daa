/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Message.h>
#include <OS.h>
#include <String.h>

#include "BitmapPNG.h"
#include "Display.h"
#include "HeadlessScreen.h"


namespace BPrivate {


static const float kTabHeight = 20;
static const float kTabWidth = 180;
static const float kCloseBoxSize = 12;
static const rgb_color kBorderColor = {152, 152, 152, 255};
static const rgb_color kActiveTabColor = {255, 203, 0, 255};
static const rgb_color kInactiveTabColor = {232, 232, 232, 255};
static const rgb_color kCloseBoxColor = {255, 255, 255, 255};


class HeadlessDisplay;


class HeadlessWindow : public DisplayWindow {
public:
	HeadlessWindow(HeadlessDisplay* display, DisplayClient* client, BRect frame, const char* title,
		window_type type, uint32 flags);
	virtual ~HeadlessWindow();

	virtual void SetTitle(const char* title);
	virtual void SetFrame(BRect frame);
	virtual void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
	virtual void Show();
	virtual void Hide();
	virtual void Activate(bool active);
	virtual void UpdateContents(const DrawTarget& buffer, BRect rect);

	// The rest is used with the display locked.
	bool
	HasBorder() const
	{
		return fType != B_UNTYPED_WINDOW && !IsMenu();
	}
	bool
	IsMenu() const
	{
		return fType == kMenuWindowType;
	}
	bool
	HasTab() const
	{
		return fType == B_TITLED_WINDOW || fType == B_DOCUMENT_WINDOW || fType == B_FLOATING_WINDOW;
	}
	BRect TabFrame() const;
	BRect CloseBox() const;
	// The content, border and tab
	bool DecoratorContains(BPoint point) const;

	HeadlessDisplay* fDisplay;
	DisplayClient* fClient;
	BRect fFrame;
	BString fTitle;
	window_type fType;
	uint32 fFlags;
	bool fVisible;
	// The window's pixels as it last handed them over, B_RGB32
	WindowPixels fContents;
};


class HeadlessDisplay : public Display {
public:
	HeadlessDisplay();

	virtual const char*
	Name() const
	{
		return "headless";
	}
	virtual BRect
	ScreenFrame() const
	{
		return BRect(0, 0, kHeadlessScreenWidth - 1, kHeadlessScreenHeight - 1);
	}
	virtual DisplayWindow* CreateWindow(
		DisplayClient* client, BRect frame, const char* title, window_type type, uint32 flags);

	// No other program shares the screen: the process's own clipboard is the system's.
	virtual void
	SetClipboardText(const char* text, size_t length)
	{
		(void)text;
		(void)length;
	}
	virtual clipboard_source
	ReadClipboardText(std::string* text)
	{
		(void)text;
		return kClipboardOwn;
	}
	virtual DisplayClient*
	ClientAt(BPoint screenWhere)
	{
		std::lock_guard<std::recursive_mutex> lock(fLock);
		HeadlessWindow* window = WindowAt(screenWhere, false);
		return window != NULL ? window->fClient : NULL;
	}

	BBitmap* Compose();
	status_t InjectMouse(
		BPoint where, uint32 buttons, uint32 what, uint32 modifiers, bigtime_t when);
	status_t InjectKey(const char* bytes, uint32 what, int32 key, uint32 modifiers, bigtime_t when);
	HeadlessWindow* FindWindow(const BWindow* window) const;

	// With the lock held
	void RemoveWindow(HeadlessWindow* window);
	void Raise(HeadlessWindow* window);
	void SetActive(HeadlessWindow* window);
	HeadlessWindow* WindowAt(BPoint where, bool content) const;
	HeadlessWindow* TopMenu() const;

	std::recursive_mutex fLock;
	// From the bottom of the stack to the top
	std::vector<HeadlessWindow*> fWindows;
	HeadlessWindow* fActive;
	// The window that got the press, while buttons are held
	HeadlessWindow* fMouseWindow;
	// The window the pointer was last in, for its views' exits
	HeadlessWindow* fPointerWindow;
	// The window whose close box got the press
	HeadlessWindow* fCloseBoxWindow;
	uint32 fButtons;
	ClickCounter fClicks;
};


static void
post_activated(HeadlessWindow* window, bool active)
{
	BMessage message(B_WINDOW_ACTIVATED);
	message.AddBool("active", active);
	window->fClient->PostDisplayMessage(&message);
}


static void
fill_rect(BBitmap* screen, BRect rect, rgb_color color)
{
	rect = rect & screen->Bounds();
	if (!rect.IsValid())
		return;
	uint32 pixel
		= (uint32)color.blue | (uint32)color.green << 8 | (uint32)color.red << 16 | 0xff000000U;
	uint8* bits = static_cast<uint8*>(screen->Bits());
	for (int32 y = (int32)rect.top; y <= (int32)rect.bottom; y++) {
		uint32* row = reinterpret_cast<uint32*>(bits + y * screen->BytesPerRow());
		for (int32 x = (int32)rect.left; x <= (int32)rect.right; x++)
			row[x] = pixel;
	}
}


//	#pragma mark - HeadlessWindow


HeadlessWindow::HeadlessWindow(HeadlessDisplay* display, DisplayClient* client, BRect frame,
	const char* title, window_type type, uint32 flags)
	: fDisplay(display), fClient(client), fFrame(frame), fTitle(title), fType(type), fFlags(flags),
	  fVisible(false)
{
	fContents.Resize((int32)frame.Width() + 1, (int32)frame.Height() + 1);
}


HeadlessWindow::~HeadlessWindow()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fDisplay->RemoveWindow(this);
}


void
HeadlessWindow::SetTitle(const char* title)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fTitle = title;
}


void
HeadlessWindow::SetFrame(BRect frame)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fFrame = frame;
	fContents.Resize((int32)frame.Width() + 1, (int32)frame.Height() + 1);
}


void
HeadlessWindow::SetSizeLimits(float, float, float, float)
{
	// Nobody resizes windows by hand here.
}


void
HeadlessWindow::Show()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fVisible = true;
	fDisplay->Raise(this);
	if ((fFlags & B_AVOID_FOCUS) == 0)
		fDisplay->SetActive(this);
}


void
HeadlessWindow::Hide()
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	fVisible = false;
	if (fDisplay->fActive == this)
		fDisplay->SetActive(NULL);
	if (fDisplay->fMouseWindow == this)
		fDisplay->fMouseWindow = NULL;
}


void
HeadlessWindow::Activate(bool active)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (active && fVisible) {
		fDisplay->Raise(this);
		fDisplay->SetActive(this);
	} else if (!active && fDisplay->fActive == this)
		fDisplay->SetActive(NULL);
}


void
HeadlessWindow::UpdateContents(const DrawTarget& buffer, BRect rect)
{
	std::lock_guard<std::recursive_mutex> lock(fDisplay->fLock);
	if (!fContents.CopyFrom(buffer, rect, NULL))
		return;

	// A scripted run without a screen can ask for a picture of the screen after every
	// update of a window: HAIKU_HEADLESS_SNAPSHOT names the PNG file.
	const char* snapshot = getenv("HAIKU_HEADLESS_SNAPSHOT");
	if (snapshot != NULL && snapshot[0] != '\0' && fVisible
		&& BPrivate::headless_save_screenshot(snapshot) == B_OK) {
		printf("screen: %s\n", snapshot);
		fflush(stdout);
	}
}


BRect
HeadlessWindow::TabFrame() const
{
	if (!HasTab())
		return BRect();
	float width = std::max(kTabWidth, kCloseBoxSize + 8);
	return BRect(
		fFrame.left - 1, fFrame.top - 1 - kTabHeight, fFrame.left - 1 + width, fFrame.top - 2);
}


BRect
HeadlessWindow::CloseBox() const
{
	if (!HasTab() || (fFlags & B_NOT_CLOSABLE) != 0)
		return BRect();
	BRect tab = TabFrame();
	BRect box(0, 0, kCloseBoxSize - 1, kCloseBoxSize - 1);
	box.OffsetTo(tab.left + 4, tab.top + 4);
	return box;
}


bool
HeadlessWindow::DecoratorContains(BPoint point) const
{
	BRect outer = fFrame;
	if (HasBorder())
		outer.InsetBy(-1, -1);
	return outer.Contains(point) || (HasTab() && TabFrame().Contains(point));
}


//	#pragma mark - HeadlessDisplay


HeadlessDisplay::HeadlessDisplay()
	: fActive(NULL), fMouseWindow(NULL), fPointerWindow(NULL), fCloseBoxWindow(NULL), fButtons(0)
{ }


DisplayWindow*
HeadlessDisplay::CreateWindow(
	DisplayClient* client, BRect frame, const char* title, window_type type, uint32 flags)
{
	if (client == NULL)
		return NULL;
	HeadlessWindow* window = new HeadlessWindow(this, client, frame, title, type, flags);
	std::lock_guard<std::recursive_mutex> lock(fLock);
	fWindows.push_back(window);
	return window;
}


void
HeadlessDisplay::RemoveWindow(HeadlessWindow* window)
{
	fWindows.erase(std::remove(fWindows.begin(), fWindows.end(), window), fWindows.end());
	if (fActive == window)
		fActive = NULL;
	if (fMouseWindow == window)
		fMouseWindow = NULL;
	if (fPointerWindow == window)
		fPointerWindow = NULL;
	if (fCloseBoxWindow == window)
		fCloseBoxWindow = NULL;
}


// Menus stay above every other window.
void
HeadlessDisplay::Raise(HeadlessWindow* window)
{
	fWindows.erase(std::remove(fWindows.begin(), fWindows.end(), window), fWindows.end());
	auto position = fWindows.end();
	if (!window->IsMenu()) {
		position = std::find_if(fWindows.begin(), fWindows.end(),
			[](const HeadlessWindow* other) { return other->IsMenu(); });
	}
	fWindows.insert(position, window);
}


HeadlessWindow*
HeadlessDisplay::TopMenu() const
{
	for (auto i = fWindows.rbegin(); i != fWindows.rend(); i++) {
		if ((*i)->fVisible && (*i)->IsMenu())
			return *i;
	}
	return NULL;
}


void
HeadlessDisplay::SetActive(HeadlessWindow* window)
{
	if (window == fActive)
		return;
	if (fActive != NULL)
		post_activated(fActive, false);
	fActive = window;
	if (window != NULL)
		post_activated(window, true);
}


HeadlessWindow*
HeadlessDisplay::WindowAt(BPoint where, bool content) const
{
	for (auto i = fWindows.rbegin(); i != fWindows.rend(); i++) {
		HeadlessWindow* window = *i;
		if (!window->fVisible)
			continue;
		if (window->fFrame.Contains(where))
			return window;
		if (window->DecoratorContains(where))
			return content ? NULL : window;
	}
	return NULL;
}


HeadlessWindow*
HeadlessDisplay::FindWindow(const BWindow* window) const
{
	for (HeadlessWindow* candidate : fWindows) {
		if (candidate->fClient->ClientWindow() == window)
			return candidate;
	}
	return NULL;
}


BBitmap*
HeadlessDisplay::Compose()
{
	BBitmap* screen = new BBitmap(ScreenFrame(), B_RGB32);
	if (!screen->IsValid()) {
		delete screen;
		return NULL;
	}
	fill_rect(screen, screen->Bounds(), kHeadlessDesktopColor);

	std::lock_guard<std::recursive_mutex> lock(fLock);
	uint8* bits = static_cast<uint8*>(screen->Bits());
	for (HeadlessWindow* window : fWindows) {
		if (!window->fVisible)
			continue;
		if (window->HasBorder()) {
			BRect outer = window->fFrame;
			outer.InsetBy(-1, -1);
			fill_rect(screen, outer, kBorderColor);
		}
		if (window->HasTab()) {
			BRect tab = window->TabFrame();
			fill_rect(screen, tab, kBorderColor);
			tab.InsetBy(1, 1);
			fill_rect(screen, tab, window == fActive ? kActiveTabColor : kInactiveTabColor);
			if (window->CloseBox().IsValid())
				fill_rect(screen, window->CloseBox(), kCloseBoxColor);
		}

		BRect visible = window->fFrame & screen->Bounds();
		if (!visible.IsValid())
			continue;
		// A window that drew nothing yet shows white.
		if (!window->fContents.HasPixels()) {
			fill_rect(screen, visible, make_color(255, 255, 255, 255));
			continue;
		}
		int32 left = (int32)visible.left;
		int32 right = (int32)visible.right;
		for (int32 y = (int32)visible.top; y <= (int32)visible.bottom; y++) {
			int32 sourceY = y - (int32)window->fFrame.top;
			int32 sourceX = left - (int32)window->fFrame.left;
			if (sourceY < 0 || sourceY >= window->fContents.height || sourceX < 0)
				continue;
			int32 count = std::min(right - left + 1, window->fContents.width - sourceX);
			if (count <= 0)
				continue;
			uint32* row = reinterpret_cast<uint32*>(bits + y * screen->BytesPerRow());
			const uint32* source
				= &window->fContents.pixels[(size_t)sourceY * window->fContents.width + sourceX];
			for (int32 x = 0; x < count; x++)
				row[left + x] = source[x] | 0xff000000U;
		}
	}
	return screen;
}


status_t
HeadlessDisplay::InjectMouse(
	BPoint where, uint32 buttons, uint32 what, uint32 modifiers, bigtime_t when)
{
	if (what != B_MOUSE_DOWN && what != B_MOUSE_UP && what != B_MOUSE_MOVED)
		return B_BAD_VALUE;
	if (!isfinite(where.x) || !isfinite(where.y))
		return B_BAD_VALUE;
	if (when < 0)
		when = system_time();

	std::lock_guard<std::recursive_mutex> lock(fLock);
	uint32 oldButtons = fButtons;
	fButtons = buttons;

	// A shown menu holds the pointer: every event goes to it, wherever it happens.
	if (HeadlessWindow* menu = TopMenu()) {
		if (fPointerWindow != NULL && fPointerWindow != menu) {
			std::unique_ptr<BMessage> exited(
				make_mouse_message(B_MOUSE_MOVED, where, buttons, modifiers, when, 0));
			exited->AddBool("_exited", true);
			fPointerWindow->fClient->PostDisplayMessage(exited.get());
		}
		fPointerWindow = NULL;
		fMouseWindow = NULL;
		fCloseBoxWindow = NULL;
		int32 clicks
			= what == B_MOUSE_DOWN ? fClicks.Press(where, buttons, modifiers, when, menu) : 0;
		std::unique_ptr<BMessage> message(
			make_mouse_message(what, where, buttons, modifiers, when, clicks));
		menu->fClient->PostDisplayMessage(message.get());
		return B_OK;
	}

	// A press on a close box closes the window when it is let go there.
	if (what == B_MOUSE_DOWN && oldButtons == 0) {
		HeadlessWindow* top = WindowAt(where, false);
		if (top != NULL && top->CloseBox().IsValid() && top->CloseBox().Contains(where)) {
			fCloseBoxWindow = top;
			Raise(top);
			SetActive(top);
			return B_OK;
		}
	}
	if (fCloseBoxWindow != NULL) {
		HeadlessWindow* window = fCloseBoxWindow;
		if (what == B_MOUSE_UP && buttons == 0) {
			fCloseBoxWindow = NULL;
			if (window->CloseBox().Contains(where)) {
				BMessage quit(B_QUIT_REQUESTED);
				window->fClient->PostDisplayMessage(&quit);
			}
		}
		return B_OK;
	}

	HeadlessWindow* window = fMouseWindow;
	if (window == NULL)
		window = WindowAt(where, true);

	if (what == B_MOUSE_DOWN && window == NULL) {
		// A press on a border or tab brings the window forward.
		HeadlessWindow* decorated = WindowAt(where, false);
		if (decorated != NULL) {
			Raise(decorated);
			SetActive(decorated);
		}
	}

	// The window the pointer left learns it.
	if (fPointerWindow != NULL && fPointerWindow != window) {
		std::unique_ptr<BMessage> exited(
			make_mouse_message(B_MOUSE_MOVED, where, buttons, modifiers, when, 0));
		exited->AddBool("_exited", true);
		fPointerWindow->fClient->PostDisplayMessage(exited.get());
	}
	fPointerWindow = window;
	if (window == NULL)
		return B_ENTRY_NOT_FOUND;

	int32 clicks = 0;
	if (what == B_MOUSE_DOWN) {
		if (oldButtons == 0)
			fMouseWindow = window;
		if ((window->fFlags & B_AVOID_FOCUS) == 0) {
			Raise(window);
			SetActive(window);
		}
		clicks = fClicks.Press(where, buttons, modifiers, when, window);
	} else if (what == B_MOUSE_UP && buttons == 0)
		fMouseWindow = NULL;

	std::unique_ptr<BMessage> message(
		make_mouse_message(what, where, buttons, modifiers, when, clicks));
	window->fClient->PostDisplayMessage(message.get());
	return B_OK;
}


status_t
HeadlessDisplay::InjectKey(
	const char* bytes, uint32 what, int32 key, uint32 modifiers, bigtime_t when)
{
	if (bytes == NULL || (what != B_KEY_DOWN && what != B_KEY_UP))
		return B_BAD_VALUE;
	if (when < 0)
		when = system_time();
	std::lock_guard<std::recursive_mutex> lock(fLock);
	if (fActive == NULL)
		return B_ENTRY_NOT_FOUND;
	std::unique_ptr<BMessage> message(make_key_message(what, bytes, key, modifiers, when));
	fActive->fClient->PostDisplayMessage(message.get());
	return B_OK;
}


Display*
create_headless_display()
{
	return new HeadlessDisplay;
}


//	#pragma mark - the private interface


static HeadlessDisplay*
headless_display()
{
	return dynamic_cast<HeadlessDisplay*>(Display::Default());
}


status_t
headless_save_screenshot(const char* path)
{
	if (path == NULL)
		return B_BAD_VALUE;
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return B_NO_INIT;
	BBitmap* screen = display->Compose();
	if (screen == NULL)
		return B_NO_MEMORY;
	status_t status = save_bitmap_as_png(screen, path);
	delete screen;
	return status;
}


BBitmap*
headless_screen_bitmap()
{
	HeadlessDisplay* display = headless_display();
	return display != NULL ? display->Compose() : NULL;
}


status_t
headless_inject_mouse(
	BPoint screenWhere, uint32 buttons, uint32 what, uint32 modifiers, bigtime_t when)
{
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return B_NO_INIT;
	return display->InjectMouse(screenWhere, buttons, what, modifiers, when);
}


status_t
headless_inject_key(const char* bytes, uint32 what, int32 key, uint32 modifiers, bigtime_t when)
{
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return B_NO_INIT;
	return display->InjectKey(bytes, what, key, modifiers, when);
}


status_t
headless_inject_drop(const BMessage* message, BPoint screenWhere)
{
	if (message == NULL || !isfinite(screenWhere.x) || !isfinite(screenWhere.y))
		return B_BAD_VALUE;
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return B_NO_INIT;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	HeadlessWindow* window = display->WindowAt(screenWhere, true);
	if (window == NULL)
		return B_ENTRY_NOT_FOUND;
	post_drop_message(window->fClient, message, screenWhere);
	return B_OK;
}


BRect
headless_close_box(const BWindow* window)
{
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return BRect();
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	HeadlessWindow* headless = display->FindWindow(window);
	if (headless == NULL || !headless->fVisible)
		return BRect();
	return headless->CloseBox();
}


BWindow*
headless_window_at(BPoint screenWhere)
{
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return NULL;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	HeadlessWindow* window = display->WindowAt(screenWhere, true);
	return window != NULL ? window->fClient->ClientWindow() : NULL;
}


BWindow*
headless_active_window()
{
	HeadlessDisplay* display = headless_display();
	if (display == NULL)
		return NULL;
	std::lock_guard<std::recursive_mutex> lock(display->fLock);
	return display->fActive != NULL ? display->fActive->fClient->ClientWindow() : NULL;
}


} // namespace BPrivate
