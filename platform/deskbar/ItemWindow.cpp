/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ItemWindow.h"

#include <Application.h>
#include <Dragger.h>
#include <MenuItem.h>
#include <PopUpMenu.h>
#include <Shelf.h>
#include <View.h>

#include <SystemTray.h>


ItemWindow::ItemWindow(BRect frame, const BMessage& archive, int32 id, bool inTray)
	: BWindow(frame, "Deskbar item", B_UNTYPED_WINDOW,
		B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_AVOID_FOCUS),
	  fContainer(NULL), fShelf(NULL), fView(NULL), fId(id), fQuitting(false)
{
	Lock();
	fContainer = new BView(Bounds(), "Status", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
	AddChild(fContainer);
	// The tray's shelf: its replicants cannot be dragged away.
	fShelf = new BShelf(fContainer, false, "DeskbarShelf");
	BMessage* replicant = new BMessage(archive);
	if (fShelf->AddReplicant(replicant, BPoint(0, 0)) == B_OK)
		fView = fContainer->ChildAt(0);
	else
		delete replicant;
	if (fView != NULL) {
		SetTitle(fView->Name());
		// The window takes the view's size, which it keeps in the strip; in the tray the
		// view follows the size the tray gives the icon.
		fViewBounds = fView->Bounds();
		fView->SetResizingMode(B_FOLLOW_NONE);
		fView->MoveTo(0, 0);
		ResizeTo(fViewBounds.Width(), fViewBounds.Height());
		fView->SetResizingMode(B_FOLLOW_ALL_SIDES);
	}
	Unlock();
	_Place(inTray);
}


ItemWindow::ItemWindow(BRect frame, BView* handle, bool inTray)
	: BWindow(frame, "Deskbar", B_UNTYPED_WINDOW,
		B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_AVOID_FOCUS),
	  fContainer(NULL), fShelf(NULL), fView(handle), fId(0), fQuitting(false)
{
	Lock();
	handle->MoveTo(0, 0);
	handle->ResizeTo(Bounds().Width(), Bounds().Height());
	AddChild(handle);
	Unlock();
	_Place(inTray);
}


ItemWindow::~ItemWindow()
{
	// While its container is still there
	delete fShelf;
}


void
ItemWindow::_Place(bool inTray)
{
	// A tray that just went away: the window shows as a panel until the host hears of it.
	if (!inTray || BPrivate::dock_in_system_tray(this) != B_OK)
		BPrivate::make_panel_window(this);
}


// Only the host ends an item. The display asks when the window's place went away (a tray
// that took it in ended): the item goes back to the host, which finds it a new place.
bool
ItemWindow::QuitRequested()
{
	if (!fQuitting)
		_GiveViewBack();
	return true;
}


void
ItemWindow::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case kMsgQuitItem:
		fQuitting = true;
		Quit();
		return;

	case kMsgGiveViewBack:
		_GiveViewBack();
		fQuitting = true;
		Quit();
		return;

	case kMsgPlace: {
		BPoint where;
		if (message->FindPoint("where", &where) == B_OK)
			MoveTo(where);
		return;
	}
	}
	BWindow::MessageReceived(message);
}


void
ItemWindow::_GiveViewBack()
{
	if (fView == NULL || fId == 0)
		return;
	// Its next place starts from the view's own size.
	fView->SetResizingMode(B_FOLLOW_NONE);
	fView->ResizeTo(fViewBounds.Width(), fViewBounds.Height());
	BMessage archive;
	if (fView->Archive(&archive, true) != B_OK)
		return;
	BMessage back(kMsgViewBack);
	back.AddMessage("archive", &archive);
	back.AddInt32("id", fId);
	be_app_messenger.SendMessage(&back);
	fView = NULL;
}


//	#pragma mark - HandleView


HandleView::HandleView(BRect frame)
	: BView(frame, "Deskbar handle", B_FOLLOW_ALL_SIDES, B_WILL_DRAW)
{
	SetViewColor(B_TRANSPARENT_COLOR);
}


void
HandleView::Draw(BRect)
{
	BRect bounds = Bounds();
	SetHighColor(216, 216, 216);
	FillRect(bounds);
	// A grip of dots
	for (float y = bounds.top + 3; y <= bounds.bottom - 3; y += 3) {
		for (float x = bounds.left + 3; x <= bounds.right - 3; x += 3) {
			SetHighColor(255, 255, 255);
			FillRect(BRect(x, y, x, y));
			SetHighColor(120, 120, 120);
			FillRect(BRect(x + 1, y + 1, x + 1, y + 1));
		}
	}
	SetHighColor(152, 152, 152);
	StrokeRect(bounds);
}


void
HandleView::MouseDown(BPoint where)
{
	BPopUpMenu* menu = new BPopUpMenu("Deskbar", false, false);
	BMenuItem* draggers = new BMenuItem("Show replicants", new BMessage(kMsgToggleDraggers));
	draggers->SetMarked(BDragger::AreDraggersDrawn());
	menu->AddItem(draggers);
	menu->AddSeparatorItem();
	menu->AddItem(new BMenuItem("Quit", new BMessage(B_QUIT_REQUESTED)));
	menu->SetTargetForItems(be_app);
	menu->SetAsyncAutoDestruct(true);
	// A click opens it; it stays open when the button goes up near where it went down.
	BPoint screenWhere = ConvertToScreen(where);
	BRect clickToOpen(screenWhere.x - 5, screenWhere.y - 5, screenWhere.x + 5, screenWhere.y + 5);
	menu->Go(screenWhere, true, true, clickToOpen, true);
}
