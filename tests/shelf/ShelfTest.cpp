/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// A shelf in a window of the program's own, on the headless screen: a dragger dragged onto
// it drops a replicant there; the replicant's 'JAHA' deletes it; the shelf refuses a second
// unique replicant, and saves and loads its replicants.


#include <gtest/gtest.h>

#include <Bitmap.h>
#include <DataIO.h>
#include <Dragger.h>
#include <Message.h>
#include <Messenger.h>
#include <Shelf.h>
#include <Window.h>

#include "HeadlessScreen.h"
#include "ShelfTestView.h"
#include "TestEnv.h"


TEST(ShelfTest, DropsDeletionUniquenessAndItsSavedFormat)
{
	TestEnv env;
	BWindow* source = new BWindow(BRect(10, 10, 109, 79), "Source", B_TITLED_WINDOW, 0);
	source->AddChild(new ShelfTestView(BPoint(0, 0)));
	source->Show();
	BWindow* target = new BWindow(BRect(300, 300, 599, 499), "Shelf", B_TITLED_WINDOW, 0);
	BView* container = new BView(target->Bounds(), "container", B_FOLLOW_ALL, B_WILL_DRAW);
	target->AddChild(container);
	BMallocIO stream;
	target->Lock();
	BShelf* shelf = new BShelf(&stream, container);
	target->Unlock();
	target->Show();
	ASSERT_TRUE(
		WaitUntil([&]() { return BPrivate::headless_window_at(BPoint(400, 400)) == target; }));

	// The handle is at 62..69, 42..49 of the screen: dragged from 4, 4 into it (56, 36 into
	// the view), so that the replicant's left top lands at 100, 50 of the container.
	using BPrivate::headless_inject_mouse;
	ASSERT_EQ(headless_inject_mouse(BPoint(66, 46), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN), B_OK);
	headless_inject_mouse(BPoint(80, 60), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_MOVED);
	headless_inject_mouse(BPoint(456, 386), B_PRIMARY_MOUSE_BUTTON, B_MOUSE_MOVED);
	headless_inject_mouse(BPoint(456, 386), 0, B_MOUSE_UP);
	auto count = [&]() {
		target->Lock();
		int32 replicants = shelf->CountReplicants();
		target->Unlock();
		return replicants;
	};
	ASSERT_TRUE(WaitUntil([&]() { return count() == 1; })) << "the drop made no replicant";
	BView* replicant = NULL;
	target->Lock();
	ASSERT_NE(shelf->ReplicantAt(0, &replicant), nullptr);
	EXPECT_EQ(replicant->Frame(), BRect(100, 50, 159, 89));
	EXPECT_STREQ(replicant->Name(), "Shelf test view");
	EXPECT_TRUE(dynamic_cast<ShelfTestView*>(replicant) != NULL);
	BDragger* dragger = dynamic_cast<BDragger*>(replicant->FindView("_dragger_"));
	ASSERT_NE(dragger, nullptr);
	EXPECT_TRUE(dragger->InShelf());
	EXPECT_EQ(dragger->Target(), replicant);

	// One of a unique kind is enough.
	BMessage* second = new BMessage;
	ASSERT_EQ(replicant->Archive(second), B_OK);
	EXPECT_EQ(shelf->AddReplicant(second, BPoint(0, 0)), B_ERROR);
	delete second;
	EXPECT_EQ(shelf->DeleteReplicant(7), B_BAD_INDEX);
	target->Unlock();

	// The replicant's own request to go
	BMessenger(replicant).SendMessage('JAHA');
	EXPECT_TRUE(WaitUntil([&]() { return count() == 0; }));

	// Saved as BShelf::Save() writes, and loaded by another shelf at the same place
	target->Lock();
	BMessage* archive = new BMessage;
	{
		ShelfTestView view(BPoint(0, 0));
		ASSERT_EQ(view.Archive(archive), B_OK);
	}
	ASSERT_EQ(shelf->AddReplicant(archive, BPoint(20, 30)), B_OK);
	ASSERT_EQ(shelf->Save(), B_OK);
	target->Unlock();
	BMessage saved;
	ASSERT_EQ(saved.Unflatten(static_cast<const char*>(stream.Buffer())), B_OK);
	EXPECT_STREQ(saved.GetString("class", ""), "BShelf");
	BMessage record;
	ASSERT_EQ(saved.FindMessage("replicant", &record), B_OK);
	EXPECT_EQ(record.GetPoint("position", BPoint()), BPoint(20, 30));
	EXPECT_STREQ(record.GetString("class", "none"), "none");
	BMessage message;
	ASSERT_EQ(record.FindMessage("message", &message), B_OK);
	EXPECT_STREQ(message.GetString("class", ""), "ShelfTestView");

	stream.Seek(0, SEEK_SET);
	target->Lock();
	BView* other = new BView(BRect(0, 0, 99, 99), "other", B_FOLLOW_NONE, 0);
	container->AddChild(other);
	BShelf* loaded = new BShelf(&stream, other);
	EXPECT_EQ(loaded->CountReplicants(), 1);
	BView* again = NULL;
	loaded->ReplicantAt(0, &again);
	ASSERT_NE(again, nullptr);
	EXPECT_EQ(again->Frame().LeftTop(), BPoint(20, 30));
	loaded->SetSaveLocation((BDataIO*)NULL);
	delete loaded;
	// A cut save is refused, never read past its end.
	BMemoryIO cut(stream.Buffer(), stream.BufferLength() / 2);
	BShelf* damaged = new BShelf(&cut, other);
	EXPECT_EQ(damaged->CountReplicants(), 0);
	damaged->SetSaveLocation((BDataIO*)NULL);
	delete damaged;
	shelf->SetSaveLocation((BDataIO*)NULL);
	delete shelf;
	target->Quit();
	source->Lock();
	source->Quit();
}
