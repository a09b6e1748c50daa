/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include <Bitmap.h>
#include <Button.h>
#include <CheckBox.h>
#include <Font.h>
#include <Message.h>
#include <Messenger.h>
#include <Slider.h>
#include <StringView.h>
#include <Window.h>

#include "../../platform/private/HeadlessScreen.h"
#include "DrawTestSupport.h"
#include "EventLog.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


struct Sent {
	uint32 what;
	int32 value;
	void* source;
};


struct Events : EventLog {
	std::vector<Sent> sent;
};


// A settings window: it records the controls' messages.
class ControlsWindow : public BWindow {
public:
	ControlsWindow(Events* events)
		: BWindow(BRect(50, 50, 409, 289), "Controls", B_TITLED_WINDOW, B_ASYNCHRONOUS_CONTROLS),
		  fEvents(events)
	{
		BView* background = new BView(Bounds(), "background", B_FOLLOW_ALL, B_WILL_DRAW);
		// As a program's settings window does it: the alpha of these colours means nothing.
		background->SetViewColor(237, 242, 235, 0);
		AddChild(background);

		button = new BButton(BRect(10, 10, 125, 33), "ok", "OK", new BMessage('okay'));
		disabled = new BButton(BRect(140, 10, 255, 33), "off", "Disabled", new BMessage('off!'));
		disabled->SetEnabled(false);
		check = new BCheckBox(BRect(10, 50, 200, 69), "check", "Check me", new BMessage('chek'),
			B_FOLLOW_LEFT, B_WILL_DRAW | B_NAVIGABLE);
		slider = new BSlider(BRect(10, 80, 309, 130), "slider", "Update Frequency:5 minutes",
			new BMessage('slid'), 0, 15, B_BLOCK_THUMB);
		slider->SetModificationMessage(new BMessage('smod'));
		slider->SetHashMarks(B_HASH_MARKS_BOTTOM);
		slider->SetHashMarkCount(16);
		slider->SetKeyIncrementValue(1);
		slider->SetLimitLabels("  0 (off)", "15 ");
		label = new BStringView(BRect(10, 150, 200, 166), "label", "A string view");
		label->SetViewColor(210, 210, 210, 0);
		small = new BStringView(BRect(10, 175, 349, 190), "small", "small fixed text, centred");
		small->SetFont(be_fixed_font);
		small->SetFontSize(8);
		small->SetAlignment(B_ALIGN_CENTER);

		background->AddChild(button);
		background->AddChild(disabled);
		background->AddChild(check);
		background->AddChild(slider);
		background->AddChild(label);
		background->AddChild(small);
	}

	virtual void
	MessageReceived(BMessage* message)
	{
		if (message->what == 'sync') {
			BWindow::MessageReceived(message);
			return;
		}
		Sent sent = {message->what, message->GetInt32("be:value", -1), NULL};
		message->FindPointer("source", &sent.source);
		fEvents->Change([this, sent]() { fEvents->sent.push_back(sent); });
	}

	BButton* button;
	BButton* disabled;
	BCheckBox* check;
	BSlider* slider;
	BStringView* label;
	BStringView* small;

private:
	Events* fEvents;
};


// Waits until everything posted to the window so far is handled, and the drawing that
// caused.
void
Sync(BWindow* window)
{
	for (int32 i = 0; i < 2; i++) {
		BMessage reply;
		ASSERT_EQ(BMessenger(window).SendMessage('sync', &reply), B_OK);
	}
}


// A point of a view on the screen
BPoint
OnScreen(BView* view, BPoint where)
{
	BWindow* window = view->Window();
	EXPECT_TRUE(window->Lock());
	BPoint point = view->ConvertToScreen(where);
	window->Unlock();
	return point;
}


void
Click(BView* view, BPoint where)
{
	BPoint point = OnScreen(view, where);
	ASSERT_EQ(B_OK, headless_inject_mouse(point, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN));
	ASSERT_EQ(B_OK, headless_inject_mouse(point, 0, B_MOUSE_UP));
}


void
Key(BWindow* window, const char* bytes, uint32 modifiers = 0)
{
	ASSERT_EQ(B_OK, headless_inject_key(bytes, B_KEY_DOWN, 0, modifiers));
	ASSERT_EQ(B_OK, headless_inject_key(bytes, B_KEY_UP, 0, modifiers));
	Sync(window);
}


BView*
Focus(BWindow* window)
{
	EXPECT_TRUE(window->Lock());
	BView* focus = window->CurrentFocus();
	window->Unlock();
	return focus;
}


rgb_color
Pixel(BView* view, BPoint where)
{
	BPoint point = OnScreen(view, where);
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	if (screen == NULL)
		return make_color(0, 0, 0, 0);
	return PixelAt(screen.get(), (int32)point.x, (int32)point.y);
}


// The darkest grey in a rectangle of a view on the screen
int32
Darkest(BView* view, BRect rect)
{
	BPoint leftTop = OnScreen(view, rect.LeftTop());
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	int32 darkest = 255;
	for (int32 y = 0; y <= rect.IntegerHeight(); y++) {
		for (int32 x = 0; x <= rect.IntegerWidth(); x++) {
			rgb_color c = PixelAt(screen.get(), (int32)leftTop.x + x, (int32)leftTop.y + y);
			darkest = std::min(darkest, (int32)c.red);
		}
	}
	return darkest;
}


} // namespace


TEST(ControlsTest, PointerKeysFocusAndLook)
{
	TestEnv env;
	Events events;
	ControlsWindow* window = new ControlsWindow(&events);
	window->Show();
	ASSERT_TRUE(WaitUntil([&]() {
		window->Lock();
		bool active = window->IsActive();
		window->Unlock();
		return active;
	}));
	Sync(window);

	// The frame constructor makes a button as high as its label needs; the slider takes
	// the height of its bar, label and limit labels.
	EXPECT_EQ(window->button->Bounds().Height(), 26);
	EXPECT_EQ(window->slider->Bounds().Height(), 56);
	EXPECT_EQ(window->slider->Bounds().Width(), 299);

	// A click on the button sends its message; the disabled one stays silent.
	Click(window->disabled, BPoint(50, 12));
	Click(window->button, BPoint(50, 12));
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == 1; }));
	EXPECT_EQ(events.sent[0].what, (uint32)'okay');
	EXPECT_EQ(events.sent[0].source, window->button);

	// Held down, it looks pressed: its surface is darker.
	rgb_color up = Pixel(window->button, BPoint(10, 20));
	BPoint inButton = OnScreen(window->button, BPoint(50, 12));
	ASSERT_EQ(B_OK, headless_inject_mouse(inButton, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN));
	Sync(window);
	rgb_color down = Pixel(window->button, BPoint(10, 20));
	EXPECT_LT(down.red + 20, up.red);
	// Let go outside, nothing is sent and it springs back.
	ASSERT_EQ(B_OK, headless_inject_mouse(inButton + BPoint(0, 100), 1, B_MOUSE_MOVED));
	ASSERT_EQ(B_OK, headless_inject_mouse(inButton + BPoint(0, 100), 0, B_MOUSE_UP));
	Sync(window);
	EXPECT_EQ(Pixel(window->button, BPoint(10, 20)), up);

	// The check box turns on at a click and shows the mark.
	Click(window->check, BPoint(8, 10));
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == 2; }));
	EXPECT_EQ(events.sent[1].what, (uint32)'chek');
	EXPECT_EQ(events.sent[1].value, 1);
	Sync(window);
	rgb_color mark = Pixel(window->check, BPoint(8, 10));
	EXPECT_LT(mark.red, 80);
	EXPECT_GT(mark.blue, 120);

	// Pressing on the slider's bar takes the value there; dragging follows it with the
	// modification message; the release sends the message once.
	float y = window->slider->BarFrame().top + 3;
	BPoint press = OnScreen(window->slider, BPoint(103, y));
	ASSERT_EQ(B_OK, headless_inject_mouse(press, 1, B_MOUSE_DOWN));
	ASSERT_EQ(B_OK, headless_inject_mouse(press + BPoint(40, 20), 1, B_MOUSE_MOVED));
	ASSERT_EQ(B_OK, headless_inject_mouse(press + BPoint(93, 20), 1, B_MOUSE_MOVED));
	ASSERT_EQ(B_OK, headless_inject_mouse(press + BPoint(93, 20), 0, B_MOUSE_UP));
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == 6; }));
	EXPECT_EQ(events.sent[2].what, (uint32)'smod');
	EXPECT_EQ(events.sent[2].value, 5);
	EXPECT_EQ(events.sent[3].what, (uint32)'smod');
	EXPECT_EQ(events.sent[3].value, 7);
	EXPECT_EQ(events.sent[4].what, (uint32)'smod');
	EXPECT_EQ(events.sent[4].value, 10);
	EXPECT_EQ(events.sent[5].what, (uint32)'slid');
	EXPECT_EQ(events.sent[5].value, 10);
	EXPECT_EQ(events.sent[5].source, window->slider);

	// Tab walks the navigable controls in order, past the disabled button, and wraps;
	// Shift+Tab goes back.
	EXPECT_EQ(Focus(window), (BView*)NULL);
	Key(window, "\t");
	EXPECT_EQ(Focus(window), window->button);
	// The focused button shows the navigation colour on its frame.
	EXPECT_EQ(Pixel(window->button, BPoint(1, 12)), ui_color(B_KEYBOARD_NAVIGATION_COLOR));
	Key(window, "\t");
	EXPECT_EQ(Focus(window), window->check);
	Key(window, "\t");
	EXPECT_EQ(Focus(window), window->slider);
	Key(window, "\t");
	EXPECT_EQ(Focus(window), window->button);
	Key(window, "\t", B_SHIFT_KEY);
	EXPECT_EQ(Focus(window), window->slider);

	// The keys move the slider, each step with the modification message; the release of
	// the key sends the message.
	size_t count = events.sent.size();
	Key(window, "\x1d");
	Key(window, "\x01");
	Key(window, "\x1c");
	Key(window, "\x04");
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == count + 6; }));
	uint32 whats[6] = {'smod', 'slid', 'smod', 'slid', 'smod', 'slid'};
	int32 values[6] = {11, 11, 0, 0, 15, 15};
	for (int32 i = 0; i < 6; i++) {
		EXPECT_EQ(events.sent[count + i].what, whats[i]) << i;
		EXPECT_EQ(events.sent[count + i].value, values[i]) << i;
	}

	// Space toggles the focused check box and Enter presses the focused button.
	Key(window, "\t", B_SHIFT_KEY);
	Key(window, " ");
	Key(window, "\t", B_SHIFT_KEY);
	Key(window, "\n");
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == count + 8; }));
	EXPECT_EQ(events.sent[count + 6].what, (uint32)'chek');
	EXPECT_EQ(events.sent[count + 6].value, 0);
	EXPECT_EQ(events.sent[count + 7].what, (uint32)'okay');

	// The disabled button's label is grey, the other one's black; the string views stand
	// on their own colours.
	Sync(window);
	EXPECT_LT(Darkest(window->button, BRect(30, 5, 85, 21)), 60);
	int32 greyLabel = Darkest(window->disabled, BRect(20, 5, 95, 21));
	EXPECT_GT(greyLabel, 140);
	EXPECT_LT(greyLabel, 200);
	EXPECT_EQ(Pixel(window->label, BPoint(185, 2)), make_color(210, 210, 210));
	EXPECT_EQ(Pixel(window->small, BPoint(2, 2)), make_color(237, 242, 235));
	// Only the focused control shows the navigation colour.
	EXPECT_EQ(Pixel(window->button, BPoint(1, 12)), ui_color(B_KEYBOARD_NAVIGATION_COLOR));
	EXPECT_EQ(Pixel(window->check, BPoint(1, 10)), tint_color(make_color(237, 242, 235), 1.4f));

	mkdir(WG_TEST_OUTPUT, 0755);
	std::string path = std::string(WG_TEST_OUTPUT) + "/controls.png";
	EXPECT_EQ(B_OK, headless_save_screenshot(path.c_str()));

	// Enter goes to the default button, whatever has the focus.
	Key(window, "\t", B_SHIFT_KEY);
	ASSERT_EQ(Focus(window), window->slider);
	ASSERT_TRUE(window->Lock());
	window->button->MakeDefault(true);
	EXPECT_EQ(window->DefaultButton(), window->button);
	window->Unlock();
	// Inside its two border rings, the default button's recessed edge is darker than a
	// plain button's.
	Sync(window);
	EXPECT_EQ(Pixel(window->button, BPoint(3, 12)), make_color(144, 144, 144));
	count = events.sent.size();
	Key(window, "\n");
	ASSERT_TRUE(events.WaitFor([&]() { return events.sent.size() == count + 1; }));
	EXPECT_EQ(events.sent[count].what, (uint32)'okay');

	ASSERT_TRUE(window->Lock());
	window->Quit();
}
