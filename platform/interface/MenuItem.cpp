/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MenuItem.h>

#include <stdlib.h>
#include <string.h>

#include <Menu.h>
#include <Message.h>
#include <OS.h>

#include "MenuTracker.h"


BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut, uint32 modifiers)
	: BInvoker(message, NULL, NULL), fLabel(strdup(label != NULL ? label : "")), fSubmenu(NULL),
	  fSuper(NULL), fModifiers(modifiers), fShortcutChar(shortcut), fMark(false), fEnabled(true)
{ }


BMenuItem::BMenuItem(BMenu* menu, BMessage* message)
	: BInvoker(message, NULL, NULL),
	  fLabel(strdup(menu != NULL && menu->Name() != NULL ? menu->Name() : "")), fSubmenu(menu),
	  fSuper(NULL), fModifiers(0), fShortcutChar(0), fMark(false), fEnabled(true)
{
	if (menu != NULL)
		menu->fSuperitem = this;
}


BMenuItem::~BMenuItem()
{
	BPrivate::menu_item_deleted(this);
	if (fSuper != NULL)
		fSuper->RemoveItem(this);
	delete fSubmenu;
	free(fLabel);
}


void
BMenuItem::SetLabel(const char* label)
{
	free(fLabel);
	fLabel = strdup(label != NULL ? label : "");
}


void
BMenuItem::SetEnabled(bool enable)
{
	fEnabled = enable;
}


void
BMenuItem::SetMarked(bool mark)
{
	fMark = mark;
	if (mark && fSuper != NULL)
		fSuper->_ItemMarked(this);
}


void
BMenuItem::SetShortcut(char shortcut, uint32 modifiers)
{
	fShortcutChar = shortcut;
	fModifiers = modifiers;
}


const char*
BMenuItem::Label() const
{
	return fLabel;
}


bool
BMenuItem::IsEnabled() const
{
	if (!fEnabled)
		return false;
	return fSuper == NULL || fSuper->IsEnabled();
}


bool
BMenuItem::IsMarked() const
{
	return fMark;
}


char
BMenuItem::Shortcut(uint32* _modifiers) const
{
	if (_modifiers != NULL)
		*_modifiers = fModifiers;
	return fShortcutChar;
}


BMenu*
BMenuItem::Submenu() const
{
	return fSubmenu;
}


BMenu*
BMenuItem::Menu() const
{
	return fSuper;
}


BRect
BMenuItem::Frame() const
{
	return fBounds;
}


// Sends a copy of the item's message with "when", "source" and "index" added, as a chosen
// item does.
status_t
BMenuItem::Invoke(BMessage* message)
{
	if (!IsEnabled())
		return B_ERROR;
	if (message == NULL)
		message = Message();
	if (message == NULL)
		return B_BAD_VALUE;

	BMessage copy(*message);
	copy.AddInt64("when", system_time());
	copy.AddPointer("source", this);
	copy.AddInt32("index", fSuper != NULL ? fSuper->IndexOf(this) : -1);
	return BInvoker::Invoke(&copy);
}


BSeparatorItem::BSeparatorItem() : BMenuItem("", NULL)
{
	BMenuItem::SetEnabled(false);
}


BSeparatorItem::~BSeparatorItem() { }


void
BSeparatorItem::SetEnabled(bool)
{
	// a separator is never enabled
}
