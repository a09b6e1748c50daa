/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Looper.h>
#include <Menu.h>
#include <MenuItem.h>
#include <Message.h>
#include <PopUpMenu.h>

#include <gtest/gtest.h>

#include "../app/AppTestSupport.h"


TEST(Menu, ItemsSubmenusAndMarks)
{
	BPopUpMenu menu("context", false, false);
	BMenuItem* first = new BMenuItem("First", new BMessage('frst'));
	ASSERT_TRUE(menu.AddItem(first));
	ASSERT_TRUE(menu.AddSeparatorItem());
	BMenu* sub = new BMenu("Sub ");
	sub->SetRadioMode(true);
	ASSERT_TRUE(menu.AddItem(sub));
	BMenuItem* a = new BMenuItem("A", new BMessage('a   '));
	BMenuItem* b = new BMenuItem("B", new BMessage('b   '));
	sub->AddItem(a);
	sub->AddItem(b);

	EXPECT_EQ(menu.CountItems(), 3);
	EXPECT_FALSE(menu.ItemAt(1)->IsEnabled());
	EXPECT_STREQ(menu.ItemAt(2)->Label(), "Sub ");
	EXPECT_EQ(menu.SubmenuAt(2), sub);
	EXPECT_EQ(sub->Supermenu(), &menu);
	EXPECT_EQ(menu.FindItem('b   '), b);
	EXPECT_EQ(menu.FindItem("A"), a);
	EXPECT_EQ(menu.IndexOf(sub), 2);
	EXPECT_EQ(menu.ItemAt(99), nullptr);

	// In radio mode one item at most is marked.
	a->SetMarked(true);
	b->SetMarked(true);
	EXPECT_FALSE(a->IsMarked());
	EXPECT_EQ(sub->FindMarked(), b);
	EXPECT_EQ(sub->FindMarkedIndex(), 1);

	// A removed item is the caller's; an item is in one menu at most.
	EXPECT_EQ(sub->RemoveItem((int32)0), a);
	EXPECT_EQ(a->Menu(), nullptr);
	EXPECT_FALSE(menu.AddItem(b));
	EXPECT_TRUE(menu.AddItem(a, 0));
	EXPECT_EQ(menu.ItemAt(0), a);
	menu.SetEnabled(false);
	EXPECT_FALSE(b->IsEnabled());
}


TEST(Menu, ChosenItemsSendTheirMessageToTheTarget)
{
	Journal journal;
	JournalLooper* looper = new JournalLooper(&journal);
	looper->Run();

	BMenu menu("menu");
	BMessage* message = new BMessage('fNPx');
	message->AddInt32("PresetNr", 2);
	BMenuItem* item = new BMenuItem("third", message);
	menu.AddItem(new BMenuItem("first", new BMessage('frst')));
	menu.AddItem(item);
	ASSERT_EQ(menu.SetTargetForItems(BMessenger(looper)), B_OK);

	ASSERT_EQ(item->Invoke(), B_OK);
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)'fNPx');
	EXPECT_EQ(journal.All()[0].index, 1);

	// A disabled item sends nothing.
	item->SetEnabled(false);
	EXPECT_NE(item->Invoke(), B_OK);

	looper->Lock();
	looper->Quit();
}
