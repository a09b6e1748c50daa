/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <PopUpMenu.h>

#include <MenuItem.h>


BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool labelFromMarked, menu_layout layout)
	: BMenu(name, layout), fAutoDestruct(false)
{
	SetRadioMode(radioMode);
	if (labelFromMarked)
		SetLabelFromMarked(true);
}


BPopUpMenu::~BPopUpMenu() { }


// Showing a menu needs a screen; until a display shows it, nothing is chosen.
BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool openAnyway, bool async)
{
	return Go(where, deliversMessage, openAnyway, BRect(), async);
}


BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool openAnyway, BRect clickToOpen, bool async)
{
	(void)where;
	(void)deliversMessage;
	(void)openAnyway;
	(void)clickToOpen;
	if (async && fAutoDestruct)
		delete this;
	return NULL;
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
