/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <vector>

#include <Alert.h>
#include <AppDefs.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <Invoker.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>
#include <TextView.h>

#include "../../platform/private/HeadlessScreen.h"
#include "EventLog.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


// What the alerts and the invoker's target of a test report, from their threads.
struct Events : EventLog {
	int32 activations = 0;
	int32 deleted = 0;
	std::vector<int32> which;
};


// An alert that tells when it is active and when it is gone
class TestAlert : public BAlert {
public:
	TestAlert(Events* events, const char* text, const char* button1, const char* button2 = NULL,
		const char* button3 = NULL)
		: BAlert("Test", text, button1, button2, button3), fEvents(events)
	{ }

	virtual ~TestAlert()
	{
		fEvents->Change([this]() { fEvents->deleted++; });
	}

	virtual void
	WindowActivated(bool active)
	{
		if (active)
			fEvents->Change([this]() { fEvents->activations++; });
	}

private:
	Events* fEvents;
};


// Where the invoker's messages go
class Target : public BLooper {
public:
	Target(Events* events) : BLooper("target"), fEvents(events) { }

	virtual void
	MessageReceived(BMessage* message)
	{
		if (message->what != 'done') {
			BLooper::MessageReceived(message);
			return;
		}
		int32 which = message->GetInt32("which", -100);
		fEvents->Change([this, which]() { fEvents->which.push_back(which); });
	}

private:
	Events* fEvents;
};


// Only the key's press: the alert may be gone before a release could reach it.
void
PressKey(const char* bytes)
{
	ASSERT_EQ(B_OK, headless_inject_key(bytes, B_KEY_DOWN));
}


// A click on the middle of the last button
void
ClickLastButton(BAlert* alert)
{
	BRect frame = alert->Frame();
	BPoint where(frame.right - 10 - 37, frame.bottom - 10 - 12);
	ASSERT_EQ(B_OK, headless_inject_mouse(where, 1, B_MOUSE_DOWN));
	headless_inject_mouse(where, 0, B_MOUSE_UP);
}


// Makes an alert and runs its synchronous Go() on a thread of their own (the thread that
// makes a window holds it until it runs), does `action` once the alert is active, and
// answers what Go() returned.
int32
GoAndDo(Events* events, const std::function<TestAlert*()>& make,
	const std::function<void(TestAlert*)>& action)
{
	int32 activations = events->activations;
	int32 deleted = events->deleted;
	std::promise<TestAlert*> made;
	std::future<TestAlert*> alert = made.get_future();
	std::future<int32> result = std::async(std::launch::async, [&]() {
		TestAlert* newAlert = make();
		made.set_value(newAlert);
		return newAlert->Go();
	});
	EXPECT_TRUE(events->WaitFor([&]() { return events->activations > activations; }));
	action(alert.get());
	EXPECT_TRUE(events->WaitFor([&]() { return events->deleted > deleted; }));
	if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
		ADD_FAILURE() << "Go() did not return";
		return -100;
	}
	return result.get();
}


float
LineHeightOf(const BFont& font)
{
	font_height height;
	font.GetHeight(&height);
	return ceilf(height.ascent + height.descent + height.leading);
}


} // namespace


TEST(AlertTest, TheTextIsInATextView)
{
	TestEnv env;
	Events events;
	BAlert* alert = new BAlert("Title", "Some text", "Cancel", "OK");
	EXPECT_EQ(2, alert->CountButtons());
	EXPECT_STREQ("OK", alert->ButtonLabel(1));
	EXPECT_EQ(NULL, alert->ButtonLabel(2));

	BTextView* view = alert->TextView();
	ASSERT_NE(nullptr, view);
	EXPECT_STREQ("_tv_", view->Name());
	EXPECT_STREQ("Some text", view->Text());
	EXPECT_STREQ("Some text", alert->Text());
	EXPECT_FALSE(view->IsEditable());
	EXPECT_FALSE(view->IsSelectable());
	EXPECT_TRUE(view->DoesWordWrap());
	EXPECT_EQ(alert, view->Window());
	EXPECT_EQ(alert->FindView("_tv_"), view);
	// Right of the icon stripe, inside the window, above the buttons
	BRect frame = view->ConvertToScreen(view->Bounds());
	EXPECT_GE(frame.left, alert->Frame().left + 30);
	EXPECT_LT(frame.right, alert->Frame().right);
	EXPECT_LE(frame.bottom, alert->Frame().bottom - 6 - 32 - 6);
	// As wide as Haiku's alerts are at least for the font size
	EXPECT_EQ(alert->Frame().Width(), roundf(310 * be_plain_font->Size() / 11));
	EXPECT_EQ(view->TextHeight(0, view->CountLines() - 1), view->Bounds().Height());

	ASSERT_TRUE(alert->Lock());
	alert->Quit();
}


TEST(AlertTest, GoSizesTheAlertToItsStyledText)
{
	TestEnv env;
	Events events;
	const char* text = "Web-Grazer \nVers.: 130113  text\n";
	TestAlert* plain = new TestAlert(&events, text, "OK");
	TestAlert* styled = new TestAlert(&events, text, "OK");
	BTextView* view = styled->TextView();
	view->SetStylable(true);
	BFont font;
	view->GetFont(&font);
	font.SetSize(18);
	font.SetFace(B_BOLD_FACE);
	view->SetFontAndColor(0, 11, &font, B_FONT_ALL);
	// Before Go(), the alert still has the size of the plain text.
	EXPECT_EQ(plain->Frame().Height(), styled->Frame().Height());

	ASSERT_EQ(B_OK, plain->Go(NULL));
	ASSERT_EQ(B_OK, styled->Go(NULL));
	ASSERT_TRUE(events.WaitFor([&]() { return events.activations == 2; }));
	ASSERT_TRUE(styled->Lock());
	float growth = LineHeightOf(font) - LineHeightOf(*be_plain_font);
	EXPECT_GT(growth, 0);
	EXPECT_EQ(plain->Frame().Height() + growth, styled->Frame().Height());
	EXPECT_EQ(view->TextHeight(0, 1), view->Bounds().Height());
	// Centred across the screen
	BRect frame = styled->Frame();
	EXPECT_EQ(roundf(kHeadlessScreenWidth / 2.0f - (frame.Width() + 1) / 2), frame.left);
	styled->Unlock();

	// A long text wraps into more lines, and the alert grows with them.
	TestAlert* wrapped = new TestAlert(&events,
		"A rather long text that cannot fit on one line of an alert, so that it wraps, "
		"and wraps again, and once more, until it has taken more lines than the others.",
		"OK");
	ASSERT_EQ(B_OK, wrapped->Go(NULL));
	ASSERT_TRUE(wrapped->Lock());
	EXPECT_GT(wrapped->TextView()->CountLines(), 3);
	EXPECT_GT(wrapped->Frame().Height(), plain->Frame().Height());
	wrapped->Quit();
	ASSERT_TRUE(styled->Lock());
	styled->Quit();
	ASSERT_TRUE(plain->Lock());
	plain->Quit();
	EXPECT_EQ(3, events.deleted);
}


TEST(AlertTest, SynchronousGoAnswersTheButton)
{
	TestEnv env;
	Events events;

	// A shortcut, Enter for the last button, a click
	auto threeButtons = [&]() {
		TestAlert* alert = new TestAlert(&events, "Which one?", "No", "Maybe", "Yes");
		alert->SetShortcut(1, 'm');
		EXPECT_EQ('m', alert->Shortcut(1));
		EXPECT_EQ(0, alert->Shortcut(5));
		return alert;
	};
	EXPECT_EQ(1, GoAndDo(&events, threeButtons, [](TestAlert*) { PressKey("m"); }));
	EXPECT_EQ(2, GoAndDo(&events, threeButtons, [](TestAlert*) { PressKey("\n"); }));
	EXPECT_EQ(2, GoAndDo(&events, threeButtons, ClickLastButton));

	// Escape closes an alert that closes on it: no button was pressed,
	auto closesOnEscape = [&]() {
		TestAlert* alert = new TestAlert(&events, "Close me", "Cancel", "OK");
		alert->SetFlags(alert->Flags() | B_CLOSE_ON_ESCAPE);
		return alert;
	};
	EXPECT_EQ(-1, GoAndDo(&events, closesOnEscape, [](TestAlert*) { PressKey("\x1b"); }));
	// unless a button has Escape for its shortcut.
	auto cancelsOnEscape = [&]() {
		TestAlert* alert = closesOnEscape();
		alert->SetShortcut(0, B_ESCAPE);
		return alert;
	};
	EXPECT_EQ(0, GoAndDo(&events, cancelsOnEscape, [](TestAlert*) { PressKey("\x1b"); }));

	// Asked to quit (its close box), it answers -1 too.
	EXPECT_EQ(-1, GoAndDo(&events, closesOnEscape, [](TestAlert* alert) {
		ASSERT_EQ(B_OK, BMessenger(alert).SendMessage(B_QUIT_REQUESTED));
	}));
	EXPECT_EQ(6, events.deleted);
}


TEST(AlertTest, AsynchronousGoReportsToItsInvokerOnce)
{
	TestEnv env;
	Events events;
	Target* target = new Target(&events);
	target->Run();

	TestAlert* alert = new TestAlert(&events, "Which one?", "No", "Yes");
	ASSERT_EQ(B_OK, alert->Go(new BInvoker(new BMessage('done'), target)));
	ASSERT_TRUE(events.WaitFor([&]() { return events.activations == 1; }));
	// Two presses before it is gone count once.
	ASSERT_TRUE(alert->Lock());
	PressKey("\n");
	PressKey("\n");
	alert->Unlock();
	ASSERT_TRUE(events.WaitFor([&]() { return events.deleted == 1 && events.which.size() == 1; }));
	EXPECT_EQ(1, events.which[0]);

	// Closed by Escape, it reports nothing.
	alert = new TestAlert(&events, "Close me", "OK");
	alert->SetFlags(alert->Flags() | B_CLOSE_ON_ESCAPE);
	ASSERT_EQ(B_OK, alert->Go(new BInvoker(new BMessage('done'), target)));
	ASSERT_TRUE(events.WaitFor([&]() { return events.activations == 2; }));
	PressKey("\x1b");
	ASSERT_TRUE(events.WaitFor([&]() { return events.deleted == 2; }));
	BMessage reply;
	ASSERT_EQ(B_OK, BMessenger(target).SendMessage('sync', &reply));
	EXPECT_EQ(1u, events.which.size());

	// Without an invoker it goes away on its own.
	alert = new TestAlert(&events, "Bye", "OK");
	ASSERT_EQ(B_OK, alert->Go(NULL));
	ASSERT_TRUE(events.WaitFor([&]() { return events.activations == 3; }));
	PressKey("\n");
	ASSERT_TRUE(events.WaitFor([&]() { return events.deleted == 3; }));
	EXPECT_EQ(NULL, headless_active_window());

	ASSERT_TRUE(target->Lock());
	target->Quit();
}
