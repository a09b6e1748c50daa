/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <Message.h>
#include <Messenger.h>
#include <PopUpMenu.h>
#include <Window.h>

#include "../../platform/private/HeadlessScreen.h"
#include "DrawTestSupport.h"
#include "EventLog.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


const uint32 kMsgPreset = 'prst';


struct Events : EventLog {
	std::vector<BMessage> received;
};


// The program's kind of window: the items have no target, so their messages come here.
class FieldWindow : public BWindow {
public:
	FieldWindow(Events* events)
		: BWindow(BRect(100, 100, 419, 279), "Fields", B_TITLED_WINDOW, 0), fEvents(events)
	{ }

	virtual void
	MessageReceived(BMessage* message)
	{
		if (message->what == kMsgPreset) {
			BMessage copy(*message);
			fEvents->Change([&]() { fEvents->received.push_back(copy); });
			return;
		}
		BWindow::MessageReceived(message);
	}

private:
	Events* fEvents;
};


BPopUpMenu*
PresetMenu(const std::vector<const char*>& labels)
{
	BPopUpMenu* menu = new BPopUpMenu("..not found");
	menu->SetRadioMode(true);
	menu->SetLabelFromMarked(true);
	for (size_t i = 0; i < labels.size(); i++) {
		BMessage* message = new BMessage(kMsgPreset);
		message->AddInt32("preset", (int32)i);
		menu->AddItem(new BMenuItem(labels[i], message));
	}
	return menu;
}


bool
MenuShownAt(BWindow* window, BPoint where)
{
	BWindow* top = headless_window_at(where);
	return top != NULL && top != window;
}


void
Click(BPoint where)
{
	ASSERT_EQ(headless_inject_mouse(where, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	headless_inject_mouse(where, 0, B_MOUSE_UP);
}


// Waits until the window handled everything posted to it so far; false when it is stuck.
bool
Sync(BWindow* window)
{
	BMessage sync('sync');
	BMessage reply;
	return BMessenger(window).SendMessage(&sync, &reply, 10000000, 10000000) == B_OK;
}


std::string
ItemLabel(BWindow* window, BMenuField* field)
{
	if (!window->Lock())
		return "";
	std::string label = field->MenuItem()->Label();
	window->Unlock();
	return label;
}


} // namespace


TEST(MenuFieldTest, TheMenuOpensOverTheFieldAndTheChosenItemIsMarkedShownAndSentToTheWindow)
{
	TestEnv env;
	Events events;
	FieldWindow* window = new FieldWindow(&events);
	BView* panel = new BView(window->Bounds(), "panel", B_FOLLOW_ALL, B_WILL_DRAW);
	panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	window->AddChild(panel);

	// As the settings window builds its preset fields
	BPopUpMenu* presets = PresetMenu({"Alpha", "Beta", "Gamma"});
	presets->ItemAt(0)->SetMarked(true);
	BMenuField* field = new BMenuField(BRect(10, 10, 250, 30), "PresetMF", NULL, presets, true,
		B_FOLLOW_LEFT, B_WILL_DRAW | B_NAVIGABLE);
	field->SetDivider(0);
	field->SetAlignment(B_ALIGN_LEFT);
	panel->AddChild(field);
	BMenuField* labelled = new BMenuField(BRect(10, 60, 300, 80), "other",
		"Preset file:", PresetMenu({"Presets.txt", "Mine.txt"}), false);
	panel->AddChild(labelled);
	window->Show();

	// The field is as tall as Haiku's, and shows the marked item.
	font_height height;
	be_plain_font->GetHeight(&height);
	EXPECT_EQ(field->Bounds().Height(), ceilf(height.ascent + height.descent + 4) + 4);
	EXPECT_EQ(ItemLabel(window, field), "Alpha");
	EXPECT_EQ(ItemLabel(window, labelled), "Presets.txt");
	EXPECT_EQ(labelled->Divider(), 145);

	ASSERT_TRUE(Sync(window));
	// A click opens the menu with the marked item over the field; its release leaves it open.
	BPoint fieldCenter(window->Frame().left + 10 + 120, window->Frame().top + 10 + 11);
	ASSERT_EQ(headless_inject_mouse(fieldCenter, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(window, fieldCenter); }));
	ASSERT_EQ(headless_inject_mouse(fieldCenter, 0, B_MOUSE_UP), B_OK);
	float itemHeight = ceilf(height.ascent + height.descent + height.leading) + 3;
	BPoint beta = fieldCenter + BPoint(0, itemHeight);
	ASSERT_TRUE(MenuShownAt(window, beta));
	ASSERT_EQ(headless_inject_mouse(beta, 0, B_MOUSE_MOVED), B_OK);
	// Highlighted, it shades from darker to lighter than the selection colour.
	rgb_color selected = ui_color(B_MENU_SELECTED_BACKGROUND_COLOR);
	EXPECT_TRUE(WaitUntil([&]() {
		std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
		rgb_color pixel = PixelAt(screen.get(), (int32)beta.x, (int32)beta.y);
		return pixel.red > tint_color(selected, 1.052f).red
			&& pixel.red < tint_color(selected, 0.9f).red && pixel.green == pixel.red;
	}));
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(headless_save_screenshot(WG_TEST_OUTPUT "/menu-field.png"), B_OK);

	// Choosing "Beta" marks it, shows it, and sends its message to the window.
	Click(beta);
	ASSERT_TRUE(events.WaitFor([&]() { return events.received.size() == 1; }));
	EXPECT_TRUE(WaitUntil([&]() { return !MenuShownAt(window, beta); }));
	{
		BMessage& message = events.received[0];
		EXPECT_EQ(message.what, kMsgPreset);
		EXPECT_EQ(message.GetInt32("preset", -1), 1);
		EXPECT_EQ(message.GetInt32("index", -1), 1);
		ASSERT_TRUE(window->Lock());
		EXPECT_EQ(message.GetPointer("source"), presets->ItemAt(1));
		EXPECT_EQ(presets->FindMarkedIndex(), 1);
		EXPECT_FALSE(presets->ItemAt(0)->IsMarked());
		window->Unlock();
	}
	EXPECT_EQ(ItemLabel(window, field), "Beta");

	// The program empties the menu, fills it again and marks an item: the field follows.
	ASSERT_TRUE(window->Lock());
	for (int32 i = presets->CountItems() - 1; i >= 0; i--)
		delete presets->RemoveItem(i);
	presets->AddItem(new BMenuItem("One", new BMessage(kMsgPreset)));
	presets->AddItem(new BMenuItem("Two", new BMessage(kMsgPreset)));
	presets->ItemAt(1)->SetMarked(true);
	EXPECT_STREQ(field->MenuItem()->Label(), "Two");
	window->Unlock();

	// Space on the focused field opens the menu too; a click elsewhere closes it unchosen.
	ASSERT_TRUE(window->Lock());
	field->MakeFocus(true);
	window->Unlock();
	// Focused in the active window, the field's frame turns the navigation colour.
	EXPECT_TRUE(WaitUntil([&]() {
		std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
		rgb_color pixel = PixelAt(
			screen.get(), (int32)window->Frame().left + 11, (int32)window->Frame().top + 20);
		return pixel.red == 0 && pixel.green == 0 && pixel.blue == 229;
	}));
	ASSERT_EQ(headless_inject_key(" ", B_KEY_DOWN), B_OK);
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(window, fieldCenter); }));
	Click(BPoint(5, 5));
	EXPECT_TRUE(WaitUntil([&]() { return !MenuShownAt(window, fieldCenter); }));
	ASSERT_TRUE(Sync(window));
	EXPECT_EQ(events.received.size(), 1u);

	// A disabled field ignores clicks, and Tab skips it.
	ASSERT_TRUE(window->Lock());
	field->SetEnabled(false);
	EXPECT_FALSE(field->IsEnabled());
	EXPECT_EQ(field->Flags() & B_NAVIGABLE, 0u);
	window->Unlock();
	Click(fieldCenter);
	ASSERT_TRUE(Sync(window));
	EXPECT_FALSE(MenuShownAt(window, fieldCenter));
	EXPECT_EQ(ItemLabel(window, field), "Two");

	ASSERT_TRUE(window->Lock());
	window->Quit();
}
