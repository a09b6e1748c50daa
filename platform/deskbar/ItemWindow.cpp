/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ItemWindow.h"

#include <Application.h>
#include <Dragger.h>
#include <MenuItem.h>
#include <PopUpMenu.h>
#include <View.h>

#include <SystemTray.h>


ItemWindow::ItemWindow(BRect frame, BView* view, int32 id, bool inTray)
	: BWindow(frame, id == 0 ? "Deskbar" : view->Name(), B_UNTYPED_WINDOW,
		B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_AVOID_FOCUS),
	  fView(view), fId(id), fQuitting(false)
{
	// In the tray the icon gets the size the tray gives it; in the strip the window has
	// the view's size.
	view->MoveTo(0, 0);
	view->ResizeTo(Bounds().Width(), Bounds().Height());
	view->SetResizingMode(B_FOLLOW_ALL_SIDES);
	Lock();
	AddChild(view);
	Unlock();
	// A tray that just went away: the window shows as a panel until the host hears of it.
	if (!inTray || BPrivate::dock_in_system_tray(this) != B_OK)
		BPrivate::make_panel_window(this);
}


// Only the host ends an item. The display asks when the window's place went away (a tray
// that took it in ended): the view goes back to the host, which finds it a new place.
bool
ItemWindow::QuitRequested()
{
	if (fQuitting)
		return true;
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
	if (fView == NULL)
		return;
	BView* view = fView;
	fView = NULL;
	RemoveChild(view);
	if (fId == 0) {
		delete view;
		return;
	}
	BMessage back(kMsgViewBack);
	back.AddPointer("view", view);
	back.AddInt32("id", fId);
	if (be_app_messenger.SendMessage(&back) != B_OK)
		delete view;
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
