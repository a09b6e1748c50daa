/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <AppDefs.h>
#include <Application.h>
#include <Bitmap.h>
#include <Clipboard.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <TextControl.h>
#include <View.h>
#include <Window.h>

#include "../../platform/private/HeadlessScreen.h"
#include "EventLog.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


const rgb_color kSample = {10, 200, 30, 255};


struct Events : EventLog {
	bool active = false;
	// The invocations: the control's name and its text when the message arrived
	std::vector<std::pair<std::string, std::string>> invoked;
	int32 modified = 0;
};


// Records what its text controls send; a size out of 1..50 is put back to 11, as a
// program's handler does.
class TextWindow : public BWindow {
public:
	TextWindow(Events* events)
		: BWindow(BRect(100, 100, 419, 209), "Text", B_TITLED_WINDOW, 0), fEvents(events)
	{ }

	virtual void
	WindowActivated(bool active)
	{
		fEvents->Change([=]() { fEvents->active = active; });
	}

	virtual void
	MessageReceived(BMessage* message)
	{
		BTextControl* control = NULL;
		message->FindPointer("source", (void**)&control);
		switch (message->what) {
		case 'invk': {
			if (control == NULL)
				break;
			std::string name = control->Name();
			std::string text = control->Text();
			int size = atoi(text.c_str());
			if (name == "size" && (size < 1 || size > 50))
				control->SetText("11");
			fEvents->Change([=]() { fEvents->invoked.push_back({name, text}); });
			break;
		}
		case 'modf':
			fEvents->Change([=]() { fEvents->modified++; });
			break;
		default:
			BWindow::MessageReceived(message);
		}
	}

private:
	Events* fEvents;
};


void
Sync(BWindow* window)
{
	BMessage reply;
	ASSERT_EQ(BMessenger(window).SendMessage('sync', &reply), B_OK);
}


void
Press(const char* bytes, uint32 modifiers = 0, int32 key = 0)
{
	ASSERT_EQ(headless_inject_key(bytes, B_KEY_DOWN, key, modifiers), B_OK);
	ASSERT_EQ(headless_inject_key(bytes, B_KEY_UP, key, modifiers), B_OK);
}


void
Click(BPoint where)
{
	ASSERT_EQ(headless_inject_mouse(where, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(where, 0, B_MOUSE_UP), B_OK);
}


rgb_color
ScreenPixel(BPoint where)
{
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	if (screen == NULL)
		return make_color(0, 0, 0, 0);
	const uint8* pixel = (const uint8*)screen->Bits() + (int32)where.y * screen->BytesPerRow()
		+ (int32)where.x * 4;
	return make_color(pixel[2], pixel[1], pixel[0], 255);
}


// Text and selection of a control, read under the window's lock
struct State {
	std::string text;
	int32 start = -1;
	int32 end = -1;
	bool focus = false;
};


State
StateOf(BTextControl* control)
{
	State state;
	BWindow* window = control->Window();
	Sync(window);
	if (!window->Lock())
		return state;
	state.text = control->Text();
	control->TextView()->GetSelection(&state.start, &state.end);
	state.focus = control->TextView()->IsFocus();
	window->Unlock();
	return state;
}


} // namespace


// Two text fields and a disabled colour field, used with the pointer and the keys as a user
// would: typing, deleting, moving, selecting, Enter, leaving the field, copy and paste.
TEST(TextControlTest, EditingInvokingAndTheClipboard)
{
	TestEnv env;
	std::string runtime = env.Root() + "/run";
	mkdir(runtime.c_str(), 0700);
	setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
	BApplication app("application/x-vnd.wg-text-control-test");
	ASSERT_NE(be_clipboard, nullptr);

	Events events;
	TextWindow* window = new TextWindow(&events);
	BTextControl* name
		= new BTextControl(BRect(10, 10, 310, 30), "name", "Name", "hello", new BMessage('invk'));
	BTextControl* size
		= new BTextControl(BRect(10, 40, 310, 60), "size", "Size", "", new BMessage('invk'));
	size->SetModificationMessage(new BMessage('modf'));
	BTextControl* colour
		= new BTextControl(BRect(10, 70, 310, 90), "colour", "Colour", "x", new BMessage('invk'));
	BView* panel = new BView(window->Bounds(), "panel", B_FOLLOW_ALL, B_WILL_DRAW);
	panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	window->AddChild(panel);
	panel->AddChild(name);
	panel->AddChild(size);
	panel->AddChild(colour);
	// The program shows its colour in the disabled field.
	ASSERT_TRUE(window->Lock());
	colour->SetEnabled(false);
	colour->TextView()->SetLowColor(kSample);
	colour->TextView()->SetViewColor(kSample);
	colour->TextView()->Invalidate();
	EXPECT_EQ(name->Divider(), 150);
	EXPECT_EQ(name->TextView()->Frame(), BRect(152, 2, 298, 19));
	EXPECT_EQ(name->Bounds().Height(), 21) << "one line of the plain font, framed";
	EXPECT_TRUE((name->TextView()->Flags() & B_NAVIGABLE) != 0);
	EXPECT_TRUE((name->Flags() & B_NAVIGABLE) == 0);
	EXPECT_TRUE((colour->TextView()->Flags() & B_NAVIGABLE) == 0);
	window->Unlock();
	window->Show();
	ASSERT_TRUE(events.WaitFor([&]() { return events.active; }));

	BPoint origin = window->Frame().LeftTop();
	// A click right of the text puts the caret at its end.
	Click(origin + BPoint(290, 20));
	State state = StateOf(name);
	EXPECT_TRUE(state.focus);
	EXPECT_EQ(state.start, 5);
	EXPECT_EQ(state.end, 5);

	// Typing, Backspace, Home, End, Left, Delete; whole UTF-8 characters
	Press("!");
	Press("\x08");
	Press("\x01", 0, 0x20);
	Press("X");
	Press("\x04", 0, 0x35);
	Press("\x1c");
	Press("\x08");
	Press("\x7f");
	EXPECT_EQ(StateOf(name).text, "Xhel");
	Press("\xc3\xa9");
	EXPECT_EQ(StateOf(name).text, "Xhel\xc3\xa9");
	Press("\x08");
	EXPECT_EQ(StateOf(name).text, "Xhel");

	// Shift and the arrows select; typing replaces the selection.
	Press("\x01", 0, 0x20);
	Press("\x1d", B_SHIFT_KEY);
	Press("\x1d", B_SHIFT_KEY);
	state = StateOf(name);
	EXPECT_EQ(state.start, 0);
	EXPECT_EQ(state.end, 2);
	Press("Y");
	EXPECT_EQ(StateOf(name).text, "Yel");

	// A double click takes the word; a drag selects from the press to the pointer.
	Click(origin + BPoint(175, 20));
	Click(origin + BPoint(175, 20));
	state = StateOf(name);
	EXPECT_EQ(state.start, 0);
	EXPECT_EQ(state.end, 3);
	ASSERT_TRUE(window->Lock());
	BTextView* nameText = name->TextView();
	BPoint afterY = nameText->ConvertToScreen(nameText->PointAt(1) + BPoint(0, 5));
	window->Unlock();
	ASSERT_EQ(headless_inject_mouse(origin + BPoint(285, 20), 1, B_MOUSE_DOWN), B_OK);
	ASSERT_EQ(headless_inject_mouse(afterY, 1, B_MOUSE_MOVED), B_OK);
	ASSERT_EQ(headless_inject_mouse(afterY, 0, B_MOUSE_UP), B_OK);
	state = StateOf(name);
	EXPECT_EQ(state.start, 1);
	EXPECT_EQ(state.end, 3);

	// Enter invokes with the new text and selects it; a second Enter has nothing new.
	Press("\n");
	Press("\n");
	ASSERT_TRUE(events.WaitFor([&]() { return events.invoked.size() == 1; }));
	EXPECT_EQ(events.invoked[0], std::make_pair(std::string("name"), std::string("Yel")));
	state = StateOf(name);
	EXPECT_EQ(state.start, 0);
	EXPECT_EQ(state.end, 3);

	// Changed again, copied (Control+A, Command+C), then left with a click on the other
	// field: that invokes.
	Press("\x04", 0, 0x35);
	Press("s");
	Press("\x01", B_CONTROL_KEY, 0x3c);
	Press("c", B_COMMAND_KEY);
	Click(origin + BPoint(200, 50));
	ASSERT_TRUE(events.WaitFor([&]() { return events.invoked.size() == 2; }));
	EXPECT_EQ(events.invoked[1], std::make_pair(std::string("name"), std::string("Yels")));
	EXPECT_TRUE(StateOf(size).focus);
	// The focused field's frame shows it.
	EXPECT_TRUE(WaitUntil([&]() {
		return ScreenPixel(origin + BPoint(10 + 150 + 1, 40 + 5))
			== ui_color(B_KEYBOARD_NAVIGATION_COLOR);
	}));

	// Control+V pastes; every change sends the modification message.
	Press("\x16", B_CONTROL_KEY, 0x50);
	EXPECT_EQ(StateOf(size).text, "Yels");
	EXPECT_TRUE(events.WaitFor([&]() { return events.modified >= 1; }));
	ASSERT_TRUE(be_clipboard->Lock());
	const void* data = NULL;
	ssize_t length = 0;
	EXPECT_EQ(be_clipboard->Data()->FindData("text/plain", B_MIME_TYPE, &data, &length), B_OK);
	EXPECT_EQ(std::string((const char*)data, length), "Yels");
	be_clipboard->Unlock();

	// The handler puts an invalid size back with SetText() while the field has the focus:
	// the new text is selected, and it counts as unchanged.
	Press("\x01", B_CONTROL_KEY, 0x3c);
	Press("9");
	Press("9");
	Press("\n");
	ASSERT_TRUE(events.WaitFor([&]() { return events.invoked.size() == 3; }));
	EXPECT_EQ(events.invoked[2], std::make_pair(std::string("size"), std::string("99")));
	state = StateOf(size);
	EXPECT_EQ(state.text, "11");
	EXPECT_EQ(state.start, 0);
	EXPECT_EQ(state.end, 2);
	Sync(window);
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(headless_save_screenshot(WG_TEST_OUTPUT "/text-controls.png"), B_OK);

	// The disabled field takes no typing and shows the program's colour.
	Click(origin + BPoint(280, 80));
	Press("z");
	EXPECT_EQ(StateOf(colour).text, "x");
	EXPECT_EQ(ScreenPixel(origin + BPoint(280, 80)), kSample);
	// Leaving the size field unchanged sent nothing more.
	Sync(window);
	EXPECT_EQ(events.invoked.size(), 3u);

	ASSERT_TRUE(window->Lock());
	window->Quit();
}
