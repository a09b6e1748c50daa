/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DESKBAR_ITEM_WINDOW_H
#define _DESKBAR_ITEM_WINDOW_H


#include <Window.h>


class BShelf;


// What the host and its windows tell each other
enum {
	// To the host: a system tray came or went ("available")
	kMsgTrayChanged = 'Dtry',
	// To the host: a window gives its item back ("archive", a fresh archive of the view, and
	// "id"), as asked with kMsgGiveViewBack or because its place on the screen went away.
	kMsgViewBack = 'Dvbk',
	// To the host: "Show replicants" of the host's menu
	kMsgToggleDraggers = 'Dtdg',

	// To an item window: quit, the item is gone
	kMsgQuitItem = 'Dqit',
	// To an item window: give the item back to the host and quit
	kMsgGiveViewBack = 'Dgvb',
	// To an item or handle window of the strip: move to "where"
	kMsgPlace = 'Dplc'
};


// The window of one Deskbar item: it runs the item's view in a thread of its own, as a tray
// icon or as part of the host's strip. The view is a replicant on a shelf of the window that
// allows no dragging (so its dragger stays hidden), and it follows the window's size.
class ItemWindow : public BWindow {
public:
	// The item's view is rebuilt from the archive; Replicant() is NULL when that failed.
	ItemWindow(BRect frame, const BMessage& archive, int32 id, bool inTray);
	// The host's own handle
	ItemWindow(BRect frame, BView* handle, bool inTray);
	virtual ~ItemWindow();

	BView*
	Replicant() const
	{
		return fView;
	}

	virtual bool QuitRequested();
	virtual void MessageReceived(BMessage* message);

private:
	void _Place(bool inTray);
	void _GiveViewBack();

	BView* fContainer;
	BShelf* fShelf;
	BView* fView;
	// The view's own size, before the tray gave it another
	BRect fViewBounds;
	int32 fId;
	bool fQuitting;
};


// The host's own handle: a grip with the host's menu (secondary button, or any button in
// the tray).
class HandleView : public BView {
public:
	HandleView(BRect frame);

	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
};


#endif // _DESKBAR_ITEM_WINDOW_H
