/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MENU_TRACKER_H
#define _MENU_TRACKER_H


#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>


class BMenu;
class BMenuItem;


namespace BPrivate {


// Shows a menu in a window of its own at where (screen coordinates, its left-top corner) and
// follows the pointer through it and its submenus until an item is chosen or the user clicks
// elsewhere.
//
// A release of the button inside clickToOpen, before the pointer has left it, keeps the menu
// open (the click that opened it). With deliversMessage the chosen item is invoked (and marked
// in a radio-mode menu). Synchronous tracking returns the chosen item or NULL when nothing was
// chosen; asynchronous tracking returns NULL at once and, with deleteWhenDone, deletes the
// menu once tracking has ended. The menu's window is at least minWidth wide.
BMenuItem* track_menu(BMenu* menu, BPoint where, BRect clickToOpen, bool deliversMessage,
	bool async, bool deleteWhenDone, float minWidth = 0);


// Where the item at index lies in the menu's window when the menu opens (the window's
// coordinates), and the left end of its label's baseline there; false when the menu has no
// such item.
bool menu_item_layout(BMenu* menu, int32 index, BRect* frame, BPoint* labelBaseline);


// Called when a menu item is deleted: a shown menu stops offering it.
void menu_item_deleted(BMenuItem* item);


} // namespace BPrivate


#endif // _MENU_TRACKER_H
