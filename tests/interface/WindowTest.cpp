/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Message.h>
#include <Messenger.h>
#include <TranslationUtils.h>
#include <View.h>
#include <Window.h>

#include "../../platform/private/HeadlessScreen.h"
#include "DrawTestSupport.h"
#include "EventLog.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


const rgb_color kViewColor = {200, 30, 40, 255};
const rgb_color kSquareColor = {20, 40, 220, 255};


// What the windows and views of a test report, from their threads.
struct Events : EventLog {
	int32 draws = 0;
	thread_id drawThread = -1;
	std::vector<uint32> received;
	thread_id receiveThread = -1;
	std::vector<int32> clicks;
	std::vector<BPoint> downs;
	std::vector<BPoint> ups;
	std::vector<uint32> transits;
	std::vector<BPoint> windowMoves;
	std::string keys;
	std::vector<BPoint> viewResizes;
	std::vector<BPoint> windowResizes;
	std::vector<BPoint> windowMovedTo;
	int32 pulses = 0;
	thread_id pulseThread = -1;
	int32 quitRequests = 0;
	bool deleted = false;
};


class TestView : public BView {
public:
	TestView(BRect frame, Events* events, uint32 resizingMode = B_FOLLOW_NONE, uint32 flags = 0)
		: BView(frame, "test view", resizingMode, B_WILL_DRAW | flags), fEvents(events)
	{
		SetViewColor(kViewColor);
	}

	virtual void
	Draw(BRect)
	{
		SetHighColor(kSquareColor);
		FillRect(BRect(10, 10, 19, 19));
		fEvents->Change([this]() {
			fEvents->draws++;
			fEvents->drawThread = find_thread(NULL);
		});
	}

	virtual void
	MessageReceived(BMessage* message)
	{
		uint32 what = message->what;
		fEvents->Change([this, what]() {
			fEvents->received.push_back(what);
			fEvents->receiveThread = find_thread(NULL);
		});
	}

	virtual void
	MouseDown(BPoint where)
	{
		int32 clicks = -1;
		Window()->CurrentMessage()->FindInt32("clicks", &clicks);
		fEvents->Change([this, where, clicks]() {
			fEvents->downs.push_back(where);
			fEvents->clicks.push_back(clicks);
		});
	}

	virtual void
	MouseUp(BPoint where)
	{
		fEvents->Change([this, where]() { fEvents->ups.push_back(where); });
	}

	virtual void
	MouseMoved(BPoint where, uint32 transit, const BMessage*)
	{
		BPoint windowWhere;
		Window()->CurrentMessage()->FindPoint("where", &windowWhere);
		fEvents->Change([this, where, transit, windowWhere]() {
			fEvents->transits.push_back(transit);
			fEvents->windowMoves.push_back(windowWhere);
			(void)where;
		});
	}

	virtual void
	KeyDown(const char* bytes, int32 numBytes)
	{
		std::string key(bytes, numBytes);
		fEvents->Change([this, key]() { fEvents->keys += key; });
	}

	virtual void
	FrameResized(float width, float height)
	{
		fEvents->Change(
			[this, width, height]() { fEvents->viewResizes.push_back(BPoint(width, height)); });
	}

	virtual void
	Pulse()
	{
		fEvents->Change([this]() {
			fEvents->pulses++;
			fEvents->pulseThread = find_thread(NULL);
		});
	}

private:
	Events* fEvents;
};


class TestWindow : public BWindow {
public:
	TestWindow(BRect frame, Events* events, uint32 flags = 0)
		: BWindow(frame, "Test", B_TITLED_WINDOW, flags), fEvents(events), fAllowQuit(true)
	{ }

	virtual ~TestWindow()
	{
		fEvents->Change([this]() { fEvents->deleted = true; });
	}

	virtual bool
	QuitRequested()
	{
		fEvents->Change([this]() { fEvents->quitRequests++; });
		return fAllowQuit;
	}

	virtual void
	FrameResized(float width, float height)
	{
		fEvents->Change(
			[this, width, height]() { fEvents->windowResizes.push_back(BPoint(width, height)); });
	}

	virtual void
	FrameMoved(BPoint where)
	{
		fEvents->Change([this, where]() { fEvents->windowMovedTo.push_back(where); });
	}

	Events* fEvents;
	bool fAllowQuit;
};


// Waits until everything posted to the window so far is handled.
void
Sync(BWindow* window)
{
	BMessage reply;
	ASSERT_EQ(BMessenger(window).SendMessage('sync', &reply), B_OK);
}


void
QuitWindow(BWindow* window)
{
	ASSERT_TRUE(window->Lock());
	window->Quit();
}


rgb_color
ScreenPixel(int32 x, int32 y)
{
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	if (screen == NULL)
		return make_color(0, 0, 0, 0);
	return PixelAt(screen.get(), x, y);
}


} // namespace


TEST(WindowTest, ShowsWhatItsViewsDrawAtItsFrame)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 100, 299, 199), &events);
	TestView* view = new TestView(BRect(20, 30, 119, 79), &events);
	window->AddChild(view);
	EXPECT_EQ(view->Window(), window);
	EXPECT_EQ(window->FindView("test view"), view);
	EXPECT_EQ(window->CountChildren(), 1);
	EXPECT_EQ(window->ChildAt(0), view);
	EXPECT_EQ(view->Parent(), (BView*)NULL);
	EXPECT_TRUE(window->IsHidden());
	window->Show();
	EXPECT_FALSE(window->IsHidden());
	ASSERT_TRUE(events.WaitFor([&]() { return events.draws > 0; }));
	EXPECT_EQ(events.drawThread, window->Thread());
	Sync(window);

	std::string path = env.Root() + "/screen.png";
	ASSERT_EQ(headless_save_screenshot(path.c_str()), B_OK);
	std::unique_ptr<BBitmap> shot(BTranslationUtils::GetBitmap(path.c_str()));
	ASSERT_NE(shot, nullptr);
	EXPECT_EQ(shot->Bounds(), BRect(0, 0, kHeadlessScreenWidth - 1, kHeadlessScreenHeight - 1));
	// The view at (120, 130) on the screen, its square 10 pixels in
	EXPECT_EQ(PixelAt(shot.get(), 120, 130), kViewColor);
	EXPECT_EQ(PixelAt(shot.get(), 219, 179), kViewColor);
	EXPECT_EQ(PixelAt(shot.get(), 130, 140), kSquareColor);
	EXPECT_EQ(PixelAt(shot.get(), 139, 149), kSquareColor);
	// The top view around it, the desktop around the window
	EXPECT_EQ(PixelAt(shot.get(), 100, 100), make_color(255, 255, 255));
	EXPECT_EQ(PixelAt(shot.get(), 299, 199), make_color(255, 255, 255));
	EXPECT_EQ(PixelAt(shot.get(), 50, 50), kHeadlessDesktopColor);
	EXPECT_EQ(PixelAt(shot.get(), 400, 150), kHeadlessDesktopColor);
	EXPECT_EQ(headless_window_at(BPoint(150, 150)), window);

	// Hidden, it leaves the screen.
	window->Hide();
	EXPECT_TRUE(window->IsHidden());
	EXPECT_EQ(ScreenPixel(120, 130), kHeadlessDesktopColor);
	EXPECT_EQ(headless_window_at(BPoint(150, 150)), (BWindow*)NULL);
	window->Show();
	EXPECT_EQ(ScreenPixel(120, 130), kViewColor);

	// A view removed is drawn over.
	ASSERT_TRUE(window->Lock());
	int32 draws = events.draws;
	EXPECT_TRUE(window->RemoveChild(view));
	EXPECT_EQ(view->Window(), (BWindow*)NULL);
	window->Unlock();
	Sync(window);
	EXPECT_EQ(ScreenPixel(120, 130), make_color(255, 255, 255));
	EXPECT_EQ(events.draws, draws);
	delete view;

	QuitWindow(window);
	EXPECT_TRUE(events.deleted);
	EXPECT_EQ(ScreenPixel(120, 130), kHeadlessDesktopColor);
}


TEST(WindowTest, InvalidateDrawsOnTheWindowThreadOnce)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 100, 299, 199), &events);
	TestView* view = new TestView(BRect(0, 0, 99, 99), &events);
	window->AddChild(view);
	window->Show();
	ASSERT_TRUE(events.WaitFor([&]() { return events.draws > 0; }));
	Sync(window);

	int32 draws = events.draws;
	ASSERT_TRUE(window->Lock());
	view->Invalidate();
	view->Invalidate(BRect(0, 0, 5, 5));
	view->Invalidate(BRect(50, 50, 60, 60));
	EXPECT_TRUE(window->NeedsUpdate());
	window->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return events.draws > draws; }));
	Sync(window);
	EXPECT_EQ(events.draws, draws + 1);
	EXPECT_EQ(events.drawThread, window->Thread());
	EXPECT_FALSE(window->NeedsUpdate());

	QuitWindow(window);
}


TEST(WindowTest, MessengerToAViewDeliversOnTheWindowThread)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(10, 10, 109, 109), &events);
	TestView* view = new TestView(BRect(0, 0, 9, 9), &events);
	BView* parent = new BView(BRect(0, 0, 49, 49), "parent", B_FOLLOW_NONE, 0);
	parent->AddChild(view);
	window->AddChild(parent);
	EXPECT_EQ(view->Looper(), window);
	EXPECT_EQ(view->NextHandler(), parent);
	EXPECT_EQ(parent->NextHandler(), window->ChildAt(0)->NextHandler());
	window->Show();

	BMessenger messenger(view);
	ASSERT_TRUE(messenger.IsValid());
	ASSERT_EQ(messenger.SendMessage('abcd'), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return !events.received.empty(); }));
	EXPECT_EQ(events.received[0], (uint32)'abcd');
	EXPECT_EQ(events.receiveThread, window->Thread());

	// A view that left the window gets no more.
	ASSERT_TRUE(window->Lock());
	parent->RemoveSelf();
	window->Unlock();
	EXPECT_EQ(view->Looper(), (BLooper*)NULL);
	messenger.SendMessage('efgh');
	Sync(window);
	EXPECT_EQ(events.received.size(), 1u);
	delete parent;

	QuitWindow(window);
}


TEST(WindowTest, PointerAndKeysReachTheViews)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(200, 200, 399, 399), &events);
	TestView* view = new TestView(BRect(10, 10, 109, 109), &events);
	window->AddChild(view);
	window->Show();
	Sync(window);

	// A double click, then a press too far away, one too late and one with other buttons
	const bigtime_t start = 100000000;
	ASSERT_EQ(headless_inject_mouse(BPoint(250, 260), 1, B_MOUSE_DOWN, 0, start), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(250, 260), 0, B_MOUSE_UP, 0, start + 50000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(252, 261), 1, B_MOUSE_DOWN, 0, start + 200000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(252, 261), 0, B_MOUSE_UP, 0, start + 250000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 1, B_MOUSE_DOWN, 0, start + 300000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 0, B_MOUSE_UP, 0, start + 350000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 1, B_MOUSE_DOWN, 0, start + 900000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 0, B_MOUSE_UP, 0, start + 950000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 2, B_MOUSE_DOWN, 0, start + 1000000), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(280, 290), 0, B_MOUSE_UP, 0, start + 1050000), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.ups.size() == 5; }));
	ASSERT_EQ(events.clicks, (std::vector<int32> {1, 2, 1, 1, 1}));
	EXPECT_EQ(events.downs[0], BPoint(40, 50));
	EXPECT_EQ(events.downs[1], BPoint(42, 51));
	EXPECT_EQ(events.ups[0], BPoint(40, 50));

	// A release outside goes to the view that got the press.
	ASSERT_EQ(headless_inject_mouse(BPoint(250, 260), 1, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(600, 600), 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.ups.size() == 6; }));
	EXPECT_EQ(events.ups[5], BPoint(390, 390));

	// Moves: in, inside, out to the top view; "where" is in window coordinates.
	events.Change([&]() {
		events.transits.clear();
		events.windowMoves.clear();
	});
	ASSERT_EQ(headless_inject_mouse(BPoint(230, 230), 0, B_MOUSE_MOVED), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(231, 231), 0, B_MOUSE_MOVED), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(380, 380), 0, B_MOUSE_MOVED), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.transits.size() == 3; }));
	EXPECT_EQ(
		events.transits, (std::vector<uint32> {B_ENTERED_VIEW, B_INSIDE_VIEW, B_EXITED_VIEW}));
	EXPECT_EQ(events.windowMoves[0], BPoint(30, 30));
	EXPECT_EQ(headless_inject_mouse(BPoint(700, 700), 0, B_MOUSE_MOVED), B_ENTRY_NOT_FOUND);

	// While the window is busy (the test holds its lock) the pointer is pressed, moved
	// hundreds of times and let go: the release is not lost behind the moves.
	ASSERT_TRUE(window->Lock());
	ASSERT_EQ(headless_inject_mouse(BPoint(250, 260), 1, B_MOUSE_DOWN), B_OK);
	for (int i = 0; i < 400; i++)
		headless_inject_mouse(BPoint(250 + i % 50, 260), 1, B_MOUSE_MOVED);
	ASSERT_EQ(headless_inject_mouse(BPoint(260, 270), 0, B_MOUSE_UP), B_OK);
	window->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return events.ups.size() == 7; }));
	EXPECT_EQ(events.ups[6], BPoint(50, 60));

	// Keys go to the focus view.
	ASSERT_TRUE(window->Lock());
	view->MakeFocus(true);
	EXPECT_EQ(window->CurrentFocus(), view);
	window->Unlock();
	EXPECT_EQ(headless_active_window(), window);
	ASSERT_EQ(headless_inject_key("a", B_KEY_DOWN), B_OK);
	ASSERT_EQ(headless_inject_key("\xc3\xa9", B_KEY_DOWN), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.keys.size() == 3; }));
	EXPECT_EQ(events.keys, "a\xc3\xa9");

	// Bad input is refused.
	EXPECT_EQ(headless_inject_mouse(BPoint(250, 260), 1, 'what'), B_BAD_VALUE);
	EXPECT_EQ(headless_inject_key(NULL, B_KEY_DOWN), B_BAD_VALUE);

	QuitWindow(window);
	EXPECT_EQ(headless_active_window(), (BWindow*)NULL);
	EXPECT_EQ(headless_inject_key("a", B_KEY_DOWN), B_ENTRY_NOT_FOUND);
}


TEST(WindowTest, ResizesWithinItsLimitsAndViewsFollow)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 100, 299, 199), &events);
	TestView* view
		= new TestView(BRect(10, 10, 189, 89), &events, B_FOLLOW_ALL_SIDES, B_FRAME_EVENTS);
	TestView* corner
		= new TestView(BRect(180, 90, 189, 94), &events, B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM);
	window->AddChild(view);
	window->AddChild(corner);
	window->Show();

	ASSERT_TRUE(window->Lock());
	window->SetSizeLimits(100, 400, 50, 300);
	float minWidth, maxWidth, minHeight, maxHeight;
	window->GetSizeLimits(&minWidth, &maxWidth, &minHeight, &maxHeight);
	EXPECT_EQ(minWidth, 100);
	EXPECT_EQ(maxWidth, 400);
	EXPECT_EQ(minHeight, 50);
	EXPECT_EQ(maxHeight, 300);
	window->ResizeTo(1000, 20);
	EXPECT_EQ(window->Frame(), BRect(100, 100, 500, 150));
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 400, 50));
	EXPECT_EQ(view->Frame(), BRect(10, 10, 390, 40));
	EXPECT_EQ(corner->Frame(), BRect(381, 41, 390, 45));
	window->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return !events.windowResizes.empty(); }));
	EXPECT_EQ(events.windowResizes[0], BPoint(400, 50));
	EXPECT_EQ(events.viewResizes.back(), BPoint(380, 30));
	Sync(window);
	EXPECT_EQ(ScreenPixel(480, 130), kViewColor);
	EXPECT_EQ(ScreenPixel(500, 150), make_color(255, 255, 255));
	EXPECT_EQ(ScreenPixel(505, 150), kHeadlessDesktopColor);

	// Tighter limits shrink the window; ResizeBy keeps within them too.
	ASSERT_TRUE(window->Lock());
	window->SetSizeLimits(100, 150, 50, 60);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 150, 50));
	window->ResizeBy(-500, 500);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 100, 60));
	window->MoveTo(300, 320);
	window->MoveBy(1, 2);
	EXPECT_EQ(window->Frame(), BRect(301, 322, 401, 382));
	EXPECT_EQ(window->ConvertToScreen(BPoint(1, 1)), BPoint(302, 323));
	EXPECT_EQ(view->ConvertToScreen(BPoint(0, 0)), BPoint(311, 332));
	window->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return events.windowMovedTo.size() == 2; }));
	EXPECT_EQ(events.windowMovedTo[1], BPoint(301, 322));
	Sync(window);
	EXPECT_EQ(ScreenPixel(320, 340), kViewColor);
	EXPECT_EQ(ScreenPixel(150, 150), kHeadlessDesktopColor);

	QuitWindow(window);
}


TEST(WindowTest, QuitsFromAnotherThreadUnlessItRefuses)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 100, 199, 199), &events);
	TestView* view = new TestView(BRect(0, 0, 9, 9), &events, B_FOLLOW_NONE, B_PULSE_NEEDED);
	window->AddChild(view);
	window->SetPulseRate(10000);
	window->Show();
	ASSERT_TRUE(events.WaitFor([&]() { return events.pulses >= 2; }));
	EXPECT_EQ(events.pulseThread, window->Thread());

	window->fAllowQuit = false;
	BMessage reply;
	ASSERT_EQ(BMessenger(window).SendMessage(B_QUIT_REQUESTED, &reply), B_OK);
	EXPECT_FALSE(reply.GetBool("result", true));
	EXPECT_EQ(events.quitRequests, 1);
	EXPECT_FALSE(events.deleted);
	EXPECT_EQ(headless_window_at(BPoint(150, 150)), window);

	// Quit() does not ask.
	QuitWindow(window);
	EXPECT_TRUE(events.deleted);
	EXPECT_EQ(events.quitRequests, 1);
	EXPECT_EQ(headless_window_at(BPoint(150, 150)), (BWindow*)NULL);

	// A window that never ran quits as well.
	Events unshown;
	TestWindow* hidden = new TestWindow(BRect(0, 0, 10, 10), &unshown);
	QuitWindow(hidden);
	EXPECT_TRUE(unshown.deleted);
}


TEST(WindowTest, TheCloseBoxAsksTheWindowToQuit)
{
	TestEnv env;
	Events events;
	TestWindow* window = new TestWindow(BRect(100, 100, 299, 199), &events);
	window->Show();
	Sync(window);

	BRect closeBox = headless_close_box(window);
	ASSERT_TRUE(closeBox.IsValid());
	EXPECT_LT(closeBox.bottom, 100);
	BPoint center((closeBox.left + closeBox.right) / 2, (closeBox.top + closeBox.bottom) / 2);

	// Let go elsewhere: nothing happens.
	window->fAllowQuit = false;
	ASSERT_EQ(headless_inject_mouse(center, 1, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(BPoint(center.x + 100, center.y), 0, B_MOUSE_UP), B_OK);
	ASSERT_EQ(headless_inject_mouse(center, 1, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(center, 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.quitRequests == 1; }));
	Sync(window);
	EXPECT_EQ(events.quitRequests, 1);
	EXPECT_FALSE(events.deleted);

	ASSERT_TRUE(window->Lock());
	window->fAllowQuit = true;
	window->Unlock();
	ASSERT_EQ(headless_inject_mouse(center, 1, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(center, 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(events.WaitFor([&]() { return events.deleted; }));
	EXPECT_EQ(events.quitRequests, 2);

	// No close box without a tab, or when it may not close
	Events other;
	TestWindow* notClosable = new TestWindow(BRect(0, 50, 20, 70), &other, B_NOT_CLOSABLE);
	notClosable->Show();
	EXPECT_FALSE(headless_close_box(notClosable).IsValid());
	QuitWindow(notClosable);
}
