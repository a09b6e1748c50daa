/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include <AppDefs.h>
#include <Bitmap.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <View.h>
#include <Window.h>

#include "BitmapPNG.h"
#include "Display.h"
#include "DrawTestSupport.h"
#include "EventLog.h"
#include "TestEnv.h"
#include "XvfbTest.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>


// For readable failures
static void
PrintTo(const BPoint& point, std::ostream* out)
{
	*out << "BPoint(" << point.x << ", " << point.y << ")";
}


namespace {


const rgb_color kRed = {255, 0, 0, 255};
const rgb_color kWhite = {255, 255, 255, 255};


// What the windows and views of a test report, from their threads.
struct Events : EventLog {
	// The view's hooks
	std::vector<BPoint> downs;
	std::vector<int32> clicks;
	std::vector<uint32> downButtons;
	std::vector<BPoint> ups;
	std::string keys;
	std::vector<int32> keyCodes;
	std::vector<uint32> keyModifiers;
	int32 draws = 0;
	// The window's
	std::vector<BPoint> windowDowns;
	std::vector<BPoint> windowUps;
	std::vector<BPoint> moves;
	std::vector<BPoint> resizes;
	std::vector<bool> activations;
	std::vector<float> wheel;
	std::vector<int32> unmappedKeys;
	std::vector<uint32> unmappedModifiers;
	int32 quitRequests = 0;
	bool deleted = false;
};


class TestView : public BView {
public:
	TestView(BRect frame, Events* events, rgb_color color)
		: BView(frame, "test view", B_FOLLOW_NONE, B_WILL_DRAW), fEvents(events)
	{
		SetViewColor(color);
	}

	virtual void
	Draw(BRect)
	{
		fEvents->Change([this]() { fEvents->draws++; });
	}

	virtual void
	MouseDown(BPoint where)
	{
		BMessage* message = Window()->CurrentMessage();
		int32 clicks = message->GetInt32("clicks", -1);
		uint32 buttons = (uint32)message->GetInt32("buttons", 0);
		fEvents->Change([=]() {
			fEvents->downs.push_back(where);
			fEvents->clicks.push_back(clicks);
			fEvents->downButtons.push_back(buttons);
		});
	}

	virtual void
	MouseUp(BPoint where)
	{
		fEvents->Change([=]() { fEvents->ups.push_back(where); });
	}

	virtual void
	KeyDown(const char* bytes, int32 numBytes)
	{
		BMessage* message = Window()->CurrentMessage();
		std::string typed(bytes, numBytes);
		int32 key = message->GetInt32("key", -1);
		uint32 modifiers = (uint32)message->GetInt32("modifiers", 0);
		fEvents->Change([=]() {
			fEvents->keys += typed;
			fEvents->keyCodes.push_back(key);
			fEvents->keyModifiers.push_back(modifiers);
		});
	}

private:
	Events* fEvents;
};


class TestWindow : public BWindow {
public:
	TestWindow(BRect frame, const char* title, Events* events, window_type type = B_TITLED_WINDOW,
		uint32 flags = 0)
		: BWindow(frame, title, type, flags), fEvents(events), fAllowQuit(true)
	{ }

	virtual ~TestWindow()
	{
		fEvents->Change([this]() { fEvents->deleted = true; });
	}

	virtual void
	DispatchMessage(BMessage* message, BHandler* handler)
	{
		BPoint where;
		if (handler == this && message->FindPoint("screen_where", &where) == B_OK) {
			if (message->what == B_MOUSE_DOWN)
				fEvents->Change([=]() { fEvents->windowDowns.push_back(where); });
			else if (message->what == B_MOUSE_UP)
				fEvents->Change([=]() { fEvents->windowUps.push_back(where); });
		}
		BWindow::DispatchMessage(message, handler);
	}

	virtual void
	MessageReceived(BMessage* message)
	{
		switch (message->what) {
		case B_MOUSE_WHEEL_CHANGED: {
			float delta = message->GetFloat("be:wheel_delta_y", 0);
			fEvents->Change([=]() { fEvents->wheel.push_back(delta); });
			break;
		}
		case B_UNMAPPED_KEY_DOWN: {
			int32 key = message->GetInt32("key", -1);
			uint32 modifiers = (uint32)message->GetInt32("modifiers", 0);
			fEvents->Change([=]() {
				fEvents->unmappedKeys.push_back(key);
				fEvents->unmappedModifiers.push_back(modifiers);
			});
			break;
		}
		default:
			BWindow::MessageReceived(message);
		}
	}

	virtual bool
	QuitRequested()
	{
		fEvents->Change([this]() { fEvents->quitRequests++; });
		return fAllowQuit;
	}

	virtual void
	FrameMoved(BPoint where)
	{
		fEvents->Change([=]() { fEvents->moves.push_back(where); });
	}

	virtual void
	FrameResized(float width, float height)
	{
		fEvents->Change([=]() { fEvents->resizes.push_back(BPoint(width, height)); });
	}

	virtual void
	WindowActivated(bool active)
	{
		fEvents->Change([=]() { fEvents->activations.push_back(active); });
	}

	Events* fEvents;
	bool fAllowQuit;
};


void
QuitWindow(BWindow* window)
{
	ASSERT_TRUE(window->Lock());
	window->Quit();
}


// Waits until everything posted to the window so far is handled.
void
Sync(BWindow* window)
{
	BMessage reply;
	ASSERT_EQ(BMessenger(window).SendMessage('sync', &reply), B_OK);
}


// The Xvfb fixture, with the layer's display
class XvfbLayerTest : public XvfbTest {
protected:
	BPrivate::Display*
	Layer()
	{
		return BPrivate::Display::Default();
	}
};


// The same, with the layer's windows on that server
class X11DisplayTest : public XvfbLayerTest {
protected:
	virtual void
	SetUp()
	{
		ASSERT_NO_FATAL_FAILURE(XvfbLayerTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		ASSERT_STREQ(Layer()->Name(), "x11")
			<< "the display was chosen before: run each test in a process of its own (ctest)";
	}
};


} // namespace


TEST_F(X11DisplayTest, AWindowShowsAtItsFrameWithItsTitleAndLimits)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 120, 299, 269), "X11 window", &events);
	window->AddChild(new TestView(BRect(20, 30, 119, 79), &events, kRed));
	window->SetSizeLimits(100, 400, 80, 300);
	window->Show();

	Window x = FindWindow("X11 window");
	ASSERT_NE(x, 0u);
	EXPECT_EQ(Geometry(x), BRect(100, 120, 299, 269));
	EXPECT_EQ(Property(x, "_NET_WM_NAME"), "X11 window");
	EXPECT_EQ(Property(x, "_NET_WM_PID"), std::to_string(getpid()) + " ");
	XWindowAttributes attributes;
	ASSERT_NE(XGetWindowAttributes(fX, x, &attributes), 0);
	EXPECT_FALSE(attributes.override_redirect);

	// The close box asks, and the window manager keeps the limits (Haiku's, plus one).
	Atom* protocols = NULL;
	int count = 0;
	ASSERT_NE(XGetWMProtocols(fX, x, &protocols, &count), 0);
	ASSERT_EQ(count, 1);
	EXPECT_EQ(protocols[0], XInternAtom(fX, "WM_DELETE_WINDOW", False));
	XFree(protocols);
	XSizeHints hints;
	long supplied;
	ASSERT_NE(XGetWMNormalHints(fX, x, &hints, &supplied), 0);
	EXPECT_EQ(hints.flags & (PMinSize | PMaxSize | USPosition), PMinSize | PMaxSize | USPosition);
	EXPECT_EQ(hints.min_width, 101);
	EXPECT_EQ(hints.max_width, 401);
	EXPECT_EQ(hints.min_height, 81);
	EXPECT_EQ(hints.max_height, 301);

	// What the view drew, at its place: 20, 30 into the window
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(120, 150) == kRed; }));
	EXPECT_EQ(ScreenPixel(219, 179), kRed);
	EXPECT_EQ(ScreenPixel(119, 150), kWhite);
	EXPECT_EQ(ScreenPixel(220, 180), kWhite);
	EXPECT_EQ(ScreenPixel(100, 120), kWhite);
	EXPECT_NE(ScreenPixel(99, 119), kWhite);

	std::unique_ptr<BBitmap> shot(Screenshot(BRect(100, 120, 299, 269)));
	ASSERT_NE(shot, nullptr);
	EXPECT_EQ(PixelAt(shot.get(), 20, 30), kRed);
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(BPrivate::save_bitmap_as_png(shot.get(), WG_TEST_OUTPUT "/x11-window.png"), B_OK);

	// Titles: Latin-1 ones in WM_NAME as STRING, others as UTF-8; _NET_WM_NAME is UTF-8.
	window->SetTitle("Gr\xc3\xbc\xc3\x9f"
					 "e");
	Atom type;
	ASSERT_TRUE(WaitForX([&]() {
		return Property(x, "WM_NAME", &type)
			== "Gr\xfc\xdf"
			   "e";
	}));
	EXPECT_EQ(type, XA_STRING);
	EXPECT_EQ(Property(x, "_NET_WM_NAME"),
		"Gr\xc3\xbc\xc3\x9f"
		"e");
	window->SetTitle("\xd0\x9e\xd0\xba\xd0\xbd\xd0\xbe");
	ASSERT_TRUE(WaitForX(
		[&]() { return Property(x, "_NET_WM_NAME") == "\xd0\x9e\xd0\xba\xd0\xbd\xd0\xbe"; }));
	EXPECT_EQ(Property(x, "WM_NAME", &type), "\xd0\x9e\xd0\xba\xd0\xbd\xd0\xbe");
	EXPECT_EQ(type, XInternAtom(fX, "UTF8_STRING", False));

	// Moved by the program, twice at once: the server's answers to the first move are not
	// taken for the user moving it back.
	window->MoveTo(150, 160);
	window->MoveTo(170, 180);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(x) == BRect(170, 180, 369, 329); }));
	// Moved and resized by someone else (a window manager, the user): the window follows.
	XMoveResizeWindow(fX, x, 300, 310, 250, 180);
	XFlush(fX);
	ASSERT_TRUE(events.WaitFor([&]() { return events.resizes.size() == 1; }));
	Sync(window);
	EXPECT_EQ(
		events.moves, (std::vector<BPoint> {BPoint(150, 160), BPoint(170, 180), BPoint(300, 310)}));
	EXPECT_EQ(events.resizes[0], BPoint(249, 179));
	EXPECT_EQ(window->Frame(), BRect(300, 310, 549, 489));

	// The user drags an edge while the window is busy: when it catches up it does not ask
	// again for a size the user has already left.
	::Display* watcher = XOpenDisplay(NULL);
	ASSERT_NE(watcher, nullptr);
	XSelectInput(watcher, x, StructureNotifyMask);
	XSync(watcher, False);
	ASSERT_TRUE(window->Lock());
	XResizeWindow(fX, x, 260, 180);
	XResizeWindow(fX, x, 300, 180);
	XSync(fX, False);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(x) == BRect(300, 310, 599, 489); }));
	window->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return events.resizes.size() == 3; }));
	Sync(window);
	XSync(watcher, False);
	std::vector<int> widths;
	XEvent configured;
	while (XCheckTypedWindowEvent(watcher, x, ConfigureNotify, &configured))
		widths.push_back(configured.xconfigure.width);
	XCloseDisplay(watcher);
	EXPECT_EQ(widths, (std::vector<int> {260, 300}));
	EXPECT_EQ(window->Frame(), BRect(300, 310, 599, 489));

	// Past the window's limits it takes the largest size it may have.
	XResizeWindow(fX, x, 600, 500);
	XFlush(fX);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(x) == BRect(300, 310, 700, 610); }));
	Sync(window);
	EXPECT_EQ(window->Frame(), BRect(300, 310, 700, 610));

	// A modal window (an alert) is transient for the whole group of the process's windows,
	// so that window managers keep it above them.
	Events modalEvents;
	TestWindow* modal = new TestWindow(
		BRect(400, 100, 499, 179), "X11 modal", &modalEvents, B_MODAL_WINDOW, B_NOT_RESIZABLE);
	modal->Show();
	Window modalX = FindWindow("X11 modal");
	ASSERT_NE(modalX, 0u);
	Window transientFor = 0;
	ASSERT_NE(XGetTransientForHint(fX, modalX, &transientFor), 0);
	EXPECT_EQ(transientFor, fRoot);
	EXPECT_EQ(Property(modalX, "_NET_WM_STATE"),
		std::to_string(XInternAtom(fX, "_NET_WM_STATE_MODAL", False)) + " ");
	XWMHints* windowHints = XGetWMHints(fX, x);
	XWMHints* modalHints = XGetWMHints(fX, modalX);
	ASSERT_TRUE(windowHints != NULL && modalHints != NULL);
	EXPECT_TRUE((windowHints->flags & modalHints->flags & WindowGroupHint) != 0);
	EXPECT_EQ(windowHints->window_group, modalHints->window_group);
	XFree(windowHints);
	XFree(modalHints);
	EXPECT_EQ(XGetTransientForHint(fX, x, &transientFor), 0);
	QuitWindow(modal);

	window->Hide();
	ASSERT_TRUE(WaitForX([&]() { return !IsShown(x); }));
	QuitWindow(window);
	ASSERT_TRUE(WaitForX([&]() { return !IsOnScreen(x); }));
}


TEST_F(X11DisplayTest, ThePointerAndKeysReachTheViews)
{
	TestEnv env;
	Events events;
	// F12 types a letter that is not Latin-1, before anyone typed.
	KeyCode spare = XKeysymToKeycode(fX, XK_F12);
	ASSERT_NE(spare, 0);
	KeySym cyrillic = XK_Cyrillic_ya;
	XChangeKeyboardMapping(fX, spare, 1, &cyrillic, 1);
	ASSERT_TRUE(WaitForX([&]() {
		int perCode;
		KeySym* symbols = XGetKeyboardMapping(fX, spare, 1, &perCode);
		bool changed = symbols != NULL && symbols[0] == XK_Cyrillic_ya;
		if (symbols != NULL)
			XFree(symbols);
		return changed;
	}));

	TestWindow* window = new TestWindow(BRect(200, 200, 399, 399), "Pointer", &events);
	TestView* view = new TestView(BRect(10, 10, 109, 109), &events, kRed);
	window->AddChild(view);
	ASSERT_TRUE(window->Lock());
	view->MakeFocus(true);
	window->Unlock();
	window->Show();
	Window x = FindWindow("Pointer");
	ASSERT_NE(x, 0u);
	// Shown, it has the keyboard.
	ASSERT_TRUE(events.WaitFor([&]() { return events.activations == std::vector<bool> {true}; }));
	EXPECT_TRUE(window->IsActive());

	// A double click, then a click with the other button
	Click(250, 260);
	Click(250, 260);
	Click(250, 260, 3);
	ASSERT_TRUE(events.WaitFor([&]() { return events.ups.size() == 3; }));
	EXPECT_EQ(events.downs[0], BPoint(40, 50));
	EXPECT_EQ(events.ups[0], BPoint(40, 50));
	EXPECT_EQ(events.clicks, (std::vector<int32> {1, 2, 1}));
	EXPECT_EQ(events.downButtons,
		(std::vector<uint32> {
			B_PRIMARY_MOUSE_BUTTON, B_PRIMARY_MOUSE_BUTTON, B_SECONDARY_MOUSE_BUTTON}));

	// Let go outside: the view that got the press gets the release.
	XTestFakeMotionEvent(fX, -1, 250, 260, CurrentTime);
	XTestFakeButtonEvent(fX, 1, True, CurrentTime);
	XTestFakeMotionEvent(fX, -1, 600, 650, CurrentTime);
	XTestFakeButtonEvent(fX, 1, False, CurrentTime);
	XFlush(fX);
	ASSERT_TRUE(events.WaitFor([&]() { return events.ups.size() == 4; }));
	EXPECT_EQ(events.ups[3], BPoint(390, 440));
	EXPECT_EQ(events.windowUps[3], BPoint(600, 650));

	// The wheel, down
	Click(250, 260, 5);
	ASSERT_TRUE(events.WaitFor([&]() { return events.wheel.size() == 1; }));
	EXPECT_EQ(events.wheel[0], 1.0f);
	EXPECT_EQ(events.downs.size(), 4u);

	// Keys: characters, Haiku's keys, and UTF-8 of a key map that is not Latin-1
	Type(XK_a);
	Type(XK_b, XK_Shift_L);
	Type(XK_Return);
	Type(XK_Left);
	ASSERT_TRUE(events.WaitFor([&]() { return events.keyCodes.size() == 4; }));
	EXPECT_EQ(events.keys, std::string("aB") + (char)B_ENTER + (char)B_LEFT_ARROW);
	EXPECT_EQ(events.keyCodes, (std::vector<int32> {0x3c, 0x50, 0x47, 0x61}));
	EXPECT_EQ(events.keyModifiers[0] & (B_SHIFT_KEY | B_CONTROL_KEY), 0u);
	// B_SHIFT_KEY and B_LEFT_SHIFT_KEY
	EXPECT_EQ(events.keyModifiers[1] & 0x301, 0x101u);

	XTestFakeKeyEvent(fX, spare, True, CurrentTime);
	XTestFakeKeyEvent(fX, spare, False, CurrentTime);
	XFlush(fX);
	ASSERT_TRUE(events.WaitFor([&]() { return events.keyCodes.size() == 5; }));
	EXPECT_EQ(events.keys.substr(4), "\xd1\x8f");

	// Keys that type nothing: the left Shift key above, Haiku's left Windows key (an Option
	// key)
	Type(XK_Super_L);
	ASSERT_TRUE(events.WaitFor([&]() { return events.unmappedKeys.size() == 2; }));
	EXPECT_EQ(events.unmappedKeys, (std::vector<int32> {0x4b, 0x66}));
	// B_SHIFT_KEY and B_LEFT_SHIFT_KEY, B_OPTION_KEY and B_LEFT_OPTION_KEY
	EXPECT_EQ(events.unmappedModifiers[0] & 0x301, 0x101u);
	EXPECT_EQ(events.unmappedModifiers[1] & 0xc040, 0x4040u);

	QuitWindow(window);
	ASSERT_TRUE(WaitForX([&]() { return !IsOnScreen(x); }));
}


TEST_F(X11DisplayTest, TheCloseBoxAndOtherClientsEndAWindow)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(10, 10, 109, 109), "Closable", &events);
	window->fAllowQuit = false;
	window->Show();
	Window x = FindWindow("Closable");
	ASSERT_NE(x, 0u);

	// The window may refuse.
	SendDeleteWindow(x);
	ASSERT_TRUE(events.WaitFor([&]() { return events.quitRequests == 1; }));
	Sync(window);
	EXPECT_FALSE(events.deleted);
	EXPECT_TRUE(IsShown(x));

	// A window without a close box is not asked; one of a fixed size tells its window manager.
	Events fixedEvents;
	TestWindow* fixed = new TestWindow(BRect(200, 10, 299, 109), "Fixed", &fixedEvents,
		B_TITLED_WINDOW, B_NOT_CLOSABLE | B_NOT_RESIZABLE);
	fixed->Show();
	Window fixedX = FindWindow("Fixed");
	ASSERT_NE(fixedX, 0u);
	XSizeHints hints;
	long supplied;
	ASSERT_NE(XGetWMNormalHints(fX, fixedX, &hints, &supplied), 0);
	EXPECT_EQ(hints.min_width, 100);
	EXPECT_EQ(hints.max_width, 100);
	EXPECT_EQ(hints.min_height, 100);
	EXPECT_EQ(hints.max_height, 100);
	SendDeleteWindow(fixedX);

	ASSERT_TRUE(window->Lock());
	window->fAllowQuit = true;
	window->Unlock();
	SendDeleteWindow(x);
	ASSERT_TRUE(events.WaitFor([&]() { return events.deleted; }));
	EXPECT_EQ(events.quitRequests, 2);
	ASSERT_TRUE(WaitForX([&]() { return !IsOnScreen(x); }));
	// Both messages went through the same queue, in order.
	Sync(fixed);
	EXPECT_EQ(fixedEvents.quitRequests, 0);

	// A window another client destroys asks to quit.
	XDestroyWindow(fX, fixedX);
	XFlush(fX);
	ASSERT_TRUE(fixedEvents.WaitFor([&]() { return fixedEvents.deleted; }));
	EXPECT_EQ(fixedEvents.quitRequests, 1);
}


TEST_F(X11DisplayTest, AMenuWindowGetsEveryPressWhileItIsShown)
{
	TestEnv env;
	Events below;
	TestWindow* window = new TestWindow(BRect(50, 50, 249, 249), "Below", &below);
	window->AddChild(new TestView(BRect(0, 0, 199, 199), &below, kWhite));
	window->Show();
	Window belowX = FindWindow("Below");
	ASSERT_NE(belowX, 0u);
	ASSERT_TRUE(below.WaitFor([&]() { return below.activations.size() == 1; }));

	Events menuEvents;
	TestWindow* menu = new TestWindow(
		BRect(400, 300, 499, 399), "Menu", &menuEvents, BPrivate::kMenuWindowType, B_AVOID_FOCUS);
	menu->AddChild(new TestView(BRect(0, 0, 99, 99), &menuEvents, kRed));
	menu->Show();
	Window menuX = FindWindow("Menu");
	ASSERT_NE(menuX, 0u);
	XWindowAttributes attributes;
	ASSERT_NE(XGetWindowAttributes(fX, menuX, &attributes), 0);
	EXPECT_TRUE(attributes.override_redirect);
	EXPECT_GT(StackIndex(menuX), StackIndex(belowX));
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(450, 350) == kRed; }));

	// A press on the window below goes to the menu, where it is.
	Click(100, 100);
	Click(450, 350);
	ASSERT_TRUE(menuEvents.WaitFor([&]() { return menuEvents.windowUps.size() == 2; }));
	EXPECT_EQ(menuEvents.windowDowns, (std::vector<BPoint> {BPoint(100, 100), BPoint(450, 350)}));
	EXPECT_EQ(menuEvents.downs, (std::vector<BPoint> {BPoint(50, 50)}));
	// The window below kept the keyboard and got nothing.
	Window focus;
	int revert;
	XGetInputFocus(fX, &focus, &revert);
	EXPECT_EQ(focus, belowX);
	Sync(window);
	EXPECT_TRUE(below.windowDowns.empty());
	EXPECT_EQ(below.activations, std::vector<bool> {true});

	// A submenu takes the pointer while it is shown; when it goes, the menu takes it again.
	Events subEvents;
	TestWindow* submenu = new TestWindow(
		BRect(500, 300, 599, 399), "Submenu", &subEvents, BPrivate::kMenuWindowType, B_AVOID_FOCUS);
	submenu->AddChild(new TestView(BRect(0, 0, 99, 99), &subEvents, kRed));
	submenu->Show();
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(550, 350) == kRed; }));
	Sync(submenu);
	QuitWindow(submenu);
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(550, 350) != kRed; }));
	Click(100, 100);
	ASSERT_TRUE(menuEvents.WaitFor([&]() { return menuEvents.windowUps.size() == 3; }));
	Sync(window);
	EXPECT_TRUE(below.windowDowns.empty());

	// Hidden, it lets go.
	menu->Hide();
	ASSERT_TRUE(WaitForX([&]() { return !IsShown(menuX); }));
	Click(100, 100);
	ASSERT_TRUE(below.WaitFor([&]() { return below.downs.size() == 1; }));
	EXPECT_EQ(below.downs[0], BPoint(50, 50));
	Sync(menu);
	EXPECT_EQ(menuEvents.windowDowns.size(), 3u);

	QuitWindow(menu);
	QuitWindow(window);
}


TEST_F(XvfbLayerTest, WithoutAChoiceWindowsGoToTheServerThatDisplayNames)
{
	unsetenv("HAIKU_DISPLAY");
	EXPECT_STREQ(Layer()->Name(), "x11");
	EXPECT_EQ(Layer()->ScreenFrame(), BRect(0, 0, 1023, 767));
}


TEST_F(XvfbLayerTest, TheHeadlessScreenWhenChosen)
{
	setenv("HAIKU_DISPLAY", "headless", 1);
	EXPECT_STREQ(Layer()->Name(), "headless");
}


TEST(X11DisplayChoiceTest, NoServerMeansTheHeadlessScreenWithAWord)
{
	setenv("HAIKU_DISPLAY", "x11", 1);
	setenv("DISPLAY", ":64999", 1);
	testing::internal::CaptureStderr();
	const char* name = BPrivate::Display::Default()->Name();
	std::string output = testing::internal::GetCapturedStderr();
	EXPECT_STREQ(name, "headless");
	EXPECT_NE(output.find("HAIKU_DISPLAY=x11: no X server answers at DISPLAY ':64999'"),
		std::string::npos)
		<< output;
}
