/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ViewTestSupport.h"

#include <math.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <Application.h>
#include <Font.h>
#include <Messenger.h>
#include <Window.h>

#include "../../platform/private/HeadlessScreen.h"


using namespace BPrivate;


static const char* kPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n";
static const bigtime_t kPatience = 10000000;


// The display view in a window on the headless screen, driven through messages as the
// program drives it.
class ViewMessagesTest : public ViewTest {
protected:
	void
	TearDown() override
	{
		if (fWindow != NULL && fWindow->Lock())
			fWindow->Quit();
		fWindow = NULL;
		ViewTest::TearDown();
	}

	WView*
	Show(BRect frame = BRect(100, 100, 249, 179))
	{
		WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
		fWindow = new BWindow(frame, "Webgrazer", B_TITLED_WINDOW, 0);
		WView* view = NULL;
		Quiet([&] {
			view = new WView(fWindow->Bounds());
			fWindow->AddChild(view);
		});
		fWindow->Show();
		return view;
	}

	std::string
	Log() const
	{
		std::ifstream file(LogFile());
		std::stringstream text;
		text << file.rdbuf();
		return text.str();
	}

	// Waits until the log book holds the text count times.
	bool
	WaitForLog(const std::string& text, int count = 1)
	{
		return WaitUntil([&]() { return Count(Log(), text) >= count; });
	}

	static int
	Count(const std::string& text, const std::string& part)
	{
		int count = 0;
		for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
			count++;
		return count;
	}

	BWindow* fWindow = NULL;
};


TEST_F(ViewMessagesTest, TheContextMessageOpensTheMenuWhoseItemsDriveTheView)
{
	WView* view = Show();
	BMessenger messenger(view);
	BMessage context('wvco');
	context.AddPoint("where", BPoint(10, 10));
	ASSERT_EQ(messenger.SendMessage(&context), B_OK);
	ASSERT_TRUE(WaitForLog("WV_CONTEXT "));

	// The menu opens with its corner at the point, on the screen.
	BPoint corner(110, 110);
	ASSERT_TRUE(WaitUntil([&]() {
		BWindow* menu = headless_window_at(corner + BPoint(3, 3));
		return menu != NULL && menu != fWindow;
	}));
	EXPECT_EQ(headless_window_at(corner + BPoint(3, 3))->Frame().LeftTop(), corner);

	// "Next": below "About Webgrazer", a separator, "Preferences" and "Preset ".
	font_height height;
	be_plain_font->GetHeight(&height);
	float item = ceilf(height.ascent + height.descent + height.leading) + 3;
	BPoint next(corner.x + 30, corner.y + 2 + 3 * item + 11 + item / 2);
	ASSERT_EQ(headless_inject_mouse(next, 0, B_MOUSE_MOVED), B_OK);
	ASSERT_EQ(headless_inject_mouse(next, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(next, 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(WaitForLog("WV_NEXT_PRESET "));
	// The next preset is fetched at once.
	ASSERT_TRUE(WaitForLog("WV_UPDATE "));
	EXPECT_TRUE(WaitUntil([&]() { return headless_window_at(corner + BPoint(3, 3)) == fWindow; }));

	// Without "where" the menu opens at the view's corner.
	ASSERT_EQ(messenger.SendMessage('wvco'), B_OK);
	ASSERT_TRUE(WaitForLog("WV_CONTEXT ", 2));
	BPoint origin(100, 100);
	EXPECT_TRUE(WaitUntil([&]() {
		BWindow* menu = headless_window_at(origin + BPoint(3, 3));
		return menu != NULL && menu != fWindow;
	}));
	ASSERT_EQ(headless_inject_mouse(BPoint(900, 700), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	// The press closed the menu; the release may find no window any more.
	headless_inject_mouse(BPoint(900, 700), 0, B_MOUSE_UP);
	EXPECT_TRUE(WaitUntil([&]() { return headless_window_at(origin + BPoint(3, 3)) == fWindow; }));
	EXPECT_EQ(Count(Log(), "WV_NEXT_PRESET "), 1);
}


TEST_F(ViewMessagesTest, CodesWithoutAnEntryActAndUnknownCodesAreLoggedAndPassedOn)
{
	WView* view = Show();
	BMessenger messenger(view);

	// 'wpcx' forgets the settings window and resets the status text, with no entry.
	ASSERT_EQ(messenger.SendMessage('wpcx'), B_OK);
	// An unknown code is logged with the message.
	ASSERT_EQ(messenger.SendMessage('zzzz'), B_OK);
	ASSERT_TRUE(WaitForLog("View  'zzzz'"));
	std::string log = Log();
	EXPECT_NE(log.find("zzzz"), std::string::npos) << log;
	fWindow->Lock();
	EXPECT_STREQ(view->statusText->String(), "Msgr.: -- ");
	EXPECT_EQ(view->settWindow, nullptr);
	EXPECT_NE(view->labelList, nullptr);
	fWindow->Unlock();
	EXPECT_EQ(Count(log, "WP_CLOSE "), 0);

	// 'wpcl' redraws without fetching and restarts the pulse.
	bigtime_t due = fPrefs->nextUpdateDue;
	ASSERT_EQ(messenger.SendMessage('wpcl'), B_OK);
	ASSERT_TRUE(WaitForLog("WP_CLOSE "));
	fWindow->Lock();
	EXPECT_EQ(fPrefs->nextUpdateDue, due);
	EXPECT_NE(view->pulseRunner, nullptr);
	fWindow->Unlock();
}


// Ticks that pile up while the view is busy give one update, not one each; the update
// message still runs its own.
TEST_F(ViewMessagesTest, TicksThatPileUpCauseOneUpdate)
{
	WView* view = Show();
	BMessenger messenger(view);
	ASSERT_TRUE(WaitForLog("\thost0"));
	int updates = Count(Log(), "\thost");

	ASSERT_TRUE(fWindow->Lock());
	for (int i = 0; i < 5; i++)
		ASSERT_EQ(messenger.SendMessage(kMsgPulse), B_OK);
	fWindow->Unlock();
	ASSERT_TRUE(WaitForLog("WV_PULSE ", 5));
	ASSERT_EQ(messenger.SendMessage(kMsgUpdate), B_OK);
	ASSERT_TRUE(WaitForLog("WV_UPDATE "));
	// (The update message comes after the ticks, so its update is the last.)
	ASSERT_TRUE(WaitUntil([&]() { return Count(Log(), "\thost") >= updates + 2; }));
	BMessage reply;
	ASSERT_EQ(messenger.SendMessage('TICK', &reply), B_OK);
	EXPECT_EQ(Count(Log(), "\thost"), updates + 2) << Log();
}


namespace {


class QuitRecordingApp : public BApplication {
public:
	QuitRecordingApp() : BApplication("application/x-vnd.QK-ViewMessagesTest") { }

	virtual bool
	QuitRequested()
	{
		fQuitRequests++;
		return BApplication::QuitRequested();
	}

	std::atomic<int> fQuitRequests {0};
};


} // namespace


TEST_F(ViewMessagesTest, QuitEndsTheProgramButAReplicantOnlyPostsItsNoteToItself)
{
	// The application runs on the thread that made it, as a program's main thread does.
	std::atomic<QuitRecordingApp*> started {NULL};
	std::atomic<int> quitRequests {-1};
	std::thread running([&]() {
		QuitRecordingApp* made = new QuitRecordingApp;
		started = made;
		made->Run();
		quitRequests = made->fQuitRequests.load();
		delete made;
	});
	ASSERT_TRUE(WaitUntil([&]() { return started.load() != NULL; }));
	QuitRecordingApp* app = started.load();

	WView* view = Show();
	BMessenger messenger(view);

	// As a replicant the view posts 'JAHA' to itself, which nothing handles.
	fWindow->Lock();
	view->isReplicant = true;
	fWindow->Unlock();
	ASSERT_EQ(messenger.SendMessage('wvqu'), B_OK);
	ASSERT_TRUE(WaitForLog("WV_QUIT "));
	ASSERT_TRUE(WaitForLog("View  'JAHA'"));
	EXPECT_EQ(app->fQuitRequests.load(), 0);

	// In the main window it asks the application to quit, which closes the window.
	fWindow->Lock();
	view->isReplicant = false;
	fWindow->Unlock();
	ASSERT_EQ(messenger.SendMessage('wvqu'), B_OK);
	running.join();
	EXPECT_EQ(quitRequests.load(), 1);
	EXPECT_EQ(Count(Log(), "WV_QUIT "), 2);
	fWindow = NULL;
}


TEST_F(ViewMessagesTest, ASecondaryOrControlClickOpensTheMenuAndADoubleClickDisarms)
{
	WView* view = Show();
	BPoint inside(130, 120);
	auto menuShown = [&]() {
		BWindow* window = headless_window_at(inside + BPoint(3, 3));
		return window != NULL && window != fWindow;
	};
	auto closeMenu = [&]() {
		ASSERT_EQ(
			headless_inject_mouse(BPoint(900, 700), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
		headless_inject_mouse(BPoint(900, 700), 0, B_MOUSE_UP);
		ASSERT_TRUE(WaitUntil([&]() { return !menuShown(); }));
	};

	// A secondary click pops the menu up at the pointer.
	ASSERT_EQ(headless_inject_mouse(inside, B_SECONDARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	headless_inject_mouse(inside, 0, B_MOUSE_UP);
	ASSERT_TRUE(WaitUntil(menuShown));
	closeMenu();

	// So does the primary button with Control.
	ASSERT_EQ(
		headless_inject_mouse(inside, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN, B_CONTROL_KEY), B_OK);
	headless_inject_mouse(inside, 0, B_MOUSE_UP, B_CONTROL_KEY);
	ASSERT_TRUE(WaitUntil(menuShown));
	closeMenu();

	// A plain click arms; the second click of a double click disarms and opens the site.
	ASSERT_EQ(headless_inject_mouse(inside, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(inside, 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(WaitUntil([&]() {
		fWindow->Lock();
		bool armed = view->contextArmed;
		fWindow->Unlock();
		return armed;
	}));
	ASSERT_EQ(headless_inject_mouse(inside, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(inside, 0, B_MOUSE_UP), B_OK);
	ASSERT_TRUE(WaitUntil([&]() {
		fWindow->Lock();
		bool armed = view->contextArmed;
		fWindow->Unlock();
		return !armed;
	}));
	EXPECT_FALSE(menuShown());
}
