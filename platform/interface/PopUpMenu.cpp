/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <PopUpMenu.h>

#include <MenuItem.h>

#include "MenuTracker.h"


BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool labelFromMarked, menu_layout layout)
	: BMenu(name, layout), fAutoDestruct(false)
{
	SetRadioMode(radioMode);
	if (labelFromMarked)
		SetLabelFromMarked(true);
}


BPopUpMenu::~BPopUpMenu() { }


BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool openAnyway, bool async)
{
	return Go(where, deliversMessage, openAnyway, BRect(), async);
}


// The menu opens whether or not a button is still held, so openAnyway changes nothing here.
BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool, BRect clickToOpen, bool async)
{
	return BPrivate::track_menu(
		this, where, clickToOpen, deliversMessage, async, async && fAutoDestruct);
}


void
BPopUpMenu::SetAsyncAutoDestruct(bool on)
{
	fAutoDestruct = on;
}


bool
BPopUpMenu::AsyncAutoDestruct() const
{
	return fAutoDestruct;
}
