/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <math.h>
#include <sys/stat.h>

#include <functional>
#include <memory>
#include <thread>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <Looper.h>
#include <MenuItem.h>
#include <Message.h>
#include <OS.h>
#include <PopUpMenu.h>
#include <Window.h>

#include <gtest/gtest.h>

#include "../../platform/private/BitmapPNG.h"
#include "../../platform/private/HeadlessScreen.h"
#include "../app/AppTestSupport.h"
#include "DrawTestSupport.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {


bool
MenuShownAt(BPoint where)
{
	return headless_window_at(where) != NULL;
}


rgb_color
ScreenPixel(BPoint where)
{
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	if (screen == NULL)
		return make_color(0, 0, 0, 0);
	rgb_color color = PixelAt(screen.get(), (int32)where.x, (int32)where.y);
	color.alpha = 255;
	return color;
}


// Where the items of a menu opened at a point lie: one line of the plain font each, with
// padding, inside the window's frame and the menu's bevel (two pixels).
float
ItemHeight()
{
	font_height height;
	be_plain_font->GetHeight(&height);
	return ceilf(height.ascent + height.descent + height.leading) + 3;
}


BPoint
ItemCenter(BPoint menuAt, int32 index)
{
	return BPoint(menuAt.x + 30, menuAt.y + 2 + index * ItemHeight() + ItemHeight() / 2);
}


void
Click(BPoint where, uint32 buttons = B_PRIMARY_MOUSE_BUTTON)
{
	ASSERT_EQ(headless_inject_mouse(where, buttons, B_MOUSE_DOWN), B_OK);
	// A press outside closes the menu at once; its release may then find no window.
	headless_inject_mouse(where, 0, B_MOUSE_UP);
}


class CountedMenu : public BPopUpMenu {
public:
	CountedMenu(bool* deleted) : BPopUpMenu("menu", false, false), fDeleted(deleted) { }
	virtual ~CountedMenu() { *fDeleted = true; }

private:
	bool* fDeleted;
};


BMenuItem*
AddItem(BMenu* menu, const char* label, uint32 what)
{
	BMenuItem* item = new BMenuItem(label, new BMessage(what));
	menu->AddItem(item);
	return item;
}


} // namespace


TEST(PopUpMenuTest, AsynchronousMenuStaysOpenAfterTheOpeningClickAndDeliversTheChosenItem)
{
	TestEnv env;
	Journal journal;
	JournalLooper* target = new JournalLooper(&journal);
	target->Run();

	bool deleted = false;
	CountedMenu* menu = new CountedMenu(&deleted);
	AddItem(menu, "About", 'abou');
	menu->AddSeparatorItem();
	AddItem(menu, "Next", 'fNPs');
	AddItem(menu, "Quit", 'wvqu');
	menu->SetTargetForItems(BMessenger(target));
	menu->SetAsyncAutoDestruct(true);

	// Opened by a secondary click at (200, 200): the release of that click leaves the menu
	// open.
	BPoint at(200, 200);
	BRect clickToOpen(200, 200, 210, 210);
	EXPECT_EQ(menu->Go(at, true, true, clickToOpen, true), nullptr);
	ASSERT_TRUE(MenuShownAt(at + BPoint(5, 5)));
	// Here it strayed a pixel outside the square and the menu; soon after opening, the
	// release still leaves the menu open.
	ASSERT_EQ(headless_inject_mouse(at - BPoint(1, 1), 0, B_MOUSE_UP), B_OK);

	// Hovering highlights an item: a gradient from a shade darker than the selection colour
	// at its top to a shade lighter at its bottom; a picture is kept. (The separator's row
	// is 11 pixels.)
	BPoint next = ItemCenter(at, 1) + BPoint(0, 11);
	ASSERT_EQ(headless_inject_mouse(next, 0, B_MOUSE_MOVED), B_OK);
	rgb_color selected = ui_color(B_MENU_SELECTED_BACKGROUND_COLOR);
	BPoint nextTop(next.x + 40, next.y - floorf(ItemHeight() / 2) + 1);
	EXPECT_TRUE(WaitUntil([&]() {
		return ScreenPixel(nextTop) == tint_color(selected, 1.052f)
			&& ScreenPixel(nextTop + BPoint(0, ItemHeight() - 3)) == tint_color(selected, 0.9f);
	}));
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(headless_save_screenshot(WG_TEST_OUTPUT "/popup-menu.png"), B_OK);
	EXPECT_EQ(journal.Count(), 0u);

	// A click on the separator chooses nothing; a click on "Next" chooses it.
	Click(ItemCenter(at, 1) - BPoint(0, ItemHeight() / 2 - 4));
	Click(next);
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)'fNPs');
	EXPECT_EQ(journal.All()[0].index, 2);
	EXPECT_TRUE(WaitUntil([&]() { return !MenuShownAt(at + BPoint(5, 5)); }));
	EXPECT_TRUE(WaitUntil([&]() { return deleted; }));
	EXPECT_EQ(journal.Count(), 1u);

	target->Lock();
	target->Quit();
}


TEST(PopUpMenuTest, SynchronousMenuReturnsTheChosenItemOrNothing)
{
	TestEnv env;
	Journal journal;
	JournalLooper* target = new JournalLooper(&journal);
	target->Run();

	BPopUpMenu menu("radio", true, false);
	BMenuItem* first = AddItem(&menu, "first", 'frst');
	BMenuItem* second = AddItem(&menu, "second", 'scnd');
	first->SetMarked(true);
	menu.SetTargetForItems(BMessenger(target));

	BPoint at(300, 100);
	BMenuItem* chosen = first;
	std::thread tracking([&]() { chosen = menu.Go(at, true, false, false); });
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(at + BPoint(5, 5)); }));
	Click(ItemCenter(at, 1));
	tracking.join();
	ASSERT_TRUE(WaitUntil([&]() { return !MenuShownAt(at + BPoint(5, 5)); }));
	EXPECT_EQ(chosen, second);
	// In radio mode the chosen item is marked, and its message sent.
	EXPECT_TRUE(second->IsMarked());
	EXPECT_FALSE(first->IsMarked());
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)'scnd');

	// Without delivering, the item comes back but sends nothing; a click elsewhere closes
	// the menu with nothing chosen.
	std::thread quiet([&]() { chosen = menu.Go(at, false, false, false); });
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(at + BPoint(5, 5)); }));
	Click(ItemCenter(at, 0));
	quiet.join();
	ASSERT_TRUE(WaitUntil([&]() { return !MenuShownAt(at + BPoint(5, 5)); }));
	EXPECT_EQ(chosen, first);

	std::thread outside([&]() { chosen = menu.Go(at, true, false, false); });
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(at + BPoint(5, 5)); }));
	Click(BPoint(10, 700));
	outside.join();
	EXPECT_EQ(chosen, nullptr);
	EXPECT_TRUE(WaitUntil([&]() { return !MenuShownAt(at + BPoint(5, 5)); }));
	EXPECT_EQ(journal.Count(), 1u);

	target->Lock();
	target->Quit();
}


TEST(PopUpMenuTest, SubmenusOpenBesideTheirItemAndNearTheScreenEdgeTheMenuMovesIn)
{
	TestEnv env;
	Journal journal;
	JournalLooper* target = new JournalLooper(&journal);
	target->Run();

	BPopUpMenu menu("context", false, false);
	AddItem(&menu, "Preferences", 'wvpr');
	BMenu* presets = new BMenu("Preset ");
	menu.AddItem(presets);
	BMessage* message = new BMessage('fNPx');
	message->AddInt32("PresetNr", 1);
	presets->AddItem(new BMenuItem("weather.example", new BMessage('fNPx')));
	presets->AddItem(new BMenuItem("rates.example", message));
	presets->SetTargetForItems(BMessenger(target));
	menu.SetTargetForItems(BMessenger(target));

	// Opened close to the right and bottom edges, the menu lies fully on the screen.
	BPoint corner(kHeadlessScreenWidth - 3, kHeadlessScreenHeight - 3);
	EXPECT_EQ(menu.Go(corner, true, true, BRect(), true), nullptr);
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(corner); }));
	BWindow* window = headless_window_at(corner);
	ASSERT_NE(window, nullptr);
	BRect frame = window->Frame();
	EXPECT_LE(frame.right, kHeadlessScreenWidth - 1);
	EXPECT_LE(frame.bottom, kHeadlessScreenHeight - 1);
	EXPECT_GT(frame.Width(), 60);

	// Hovering "Preset " opens its submenu left of it, since there is no room on the right.
	BPoint presetItem = ItemCenter(frame.LeftTop(), 1);
	ASSERT_EQ(headless_inject_mouse(presetItem, 0, B_MOUSE_MOVED), B_OK);
	BPoint subAt(frame.left - 10, presetItem.y);
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(subAt); }));
	BRect subFrame = headless_window_at(subAt)->Frame();
	EXPECT_LT(subFrame.right, frame.left);

	// A click on the submenu's second item delivers its message with its field.
	Click(ItemCenter(subFrame.LeftTop(), 1));
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)'fNPx');
	EXPECT_EQ(journal.All()[0].index, 1);
	EXPECT_TRUE(WaitUntil([&]() { return !MenuShownAt(subAt) && !MenuShownAt(corner); }));

	target->Lock();
	target->Quit();
}


// A menu and its submenu close each other on their own threads: neither waits for the
// other's lock, so both go away even when their messages cross.
TEST(PopUpMenuTest, AMenuAndItsSubmenuClosingEachOtherNeverHang)
{
	TestEnv env;
	for (int round = 0; round < 5; round++) {
		BPopUpMenu* menu = new BPopUpMenu("menu", false, false);
		AddItem(menu, "zero", 'zero');
		BMenu* sub = new BMenu("sub");
		AddItem(sub, "s0", 's0  ');
		menu->AddItem(sub);
		AddItem(menu, "two", 'two ');
		menu->SetAsyncAutoDestruct(true);
		BPoint at(100, 100);
		menu->Go(at, false, true, BRect(), true);
		ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(at + BPoint(5, 5)); }));
		BWindow* parent = headless_window_at(at + BPoint(5, 5));
		ASSERT_EQ(headless_inject_mouse(ItemCenter(at, 1), 0, B_MOUSE_MOVED), B_OK);
		BPoint subAt(parent->Frame().right + 10, ItemCenter(at, 1).y);
		ASSERT_TRUE(WaitUntil([&]() {
			BWindow* window = headless_window_at(subAt);
			return window != NULL && window != parent;
		}));
		BWindow* submenu = headless_window_at(subAt);

		// While the submenu is busy, the parent handles a move that closes the submenu,
		// and the submenu gets a press outside that closes the parent. (The pauses only
		// let the two cross; the test waits for the outcome.)
		ASSERT_TRUE(submenu->Lock());
		BMessage move(B_MOUSE_MOVED);
		move.AddPoint("screen_where", ItemCenter(at, 2));
		parent->PostMessage(&move);
		snooze(20000);
		BMessage press(B_MOUSE_DOWN);
		press.AddPoint("screen_where", BPoint(700, 500));
		press.AddInt32("buttons", B_PRIMARY_MOUSE_BUTTON);
		submenu->PostMessage(&press);
		submenu->Unlock();
		// (The submenu may have closed before it saw its press; a press the user makes
		// outside closes whatever is left.)
		ASSERT_TRUE(WaitUntil([&]() { return headless_window_at(subAt) == NULL; }));
		if (MenuShownAt(at + BPoint(5, 5))) {
			headless_inject_mouse(BPoint(700, 500), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN);
			headless_inject_mouse(BPoint(700, 500), 0, B_MOUSE_UP);
		}

		ASSERT_TRUE(WaitUntil([&]() {
			return !MenuShownAt(at + BPoint(5, 5)) && headless_window_at(subAt) == NULL;
		})) << "round "
			<< round;
	}
}


// The owner of a shown menu deletes an item: a click on it chooses nothing.
TEST(PopUpMenuTest, AnItemDeletedWhileItsMenuIsShownIsNeverChosen)
{
	TestEnv env;
	Journal journal;
	JournalLooper* target = new JournalLooper(&journal);
	target->Run();

	BPopUpMenu menu("menu", false, false);
	AddItem(&menu, "keep", 'keep');
	BMenuItem* doomed = AddItem(&menu, "doomed", 'doom');
	menu.SetTargetForItems(BMessenger(target));

	BPoint at(400, 300);
	BMenuItem* chosen = doomed;
	std::thread tracking([&]() { chosen = menu.Go(at, true, false, false); });
	ASSERT_TRUE(WaitUntil([&]() { return MenuShownAt(at + BPoint(5, 5)); }));
	delete menu.RemoveItem(1);
	Click(ItemCenter(at, 1));
	// The menu stays open; the remaining item still works.
	Click(ItemCenter(at, 0));
	tracking.join();
	ASSERT_NE(chosen, nullptr);
	EXPECT_STREQ(chosen->Label(), "keep");
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)'keep');
	EXPECT_EQ(journal.Count(), 1u);

	target->Lock();
	target->Quit();
}
