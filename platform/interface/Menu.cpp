/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Menu.h>

#include <string.h>

#include <MenuItem.h>
#include <Message.h>


BMenu::BMenu(const char* name, menu_layout layout)
	: BView(BRect(0, 0, 0, 0), name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW), fItems(20),
	  fSuperitem(NULL), fLayout(layout), fEnabled(true), fRadioMode(false), fTriggersEnabled(true),
	  fLabelFromMarked(false)
{ }


BMenu::~BMenu()
{
	for (int32 i = fItems.CountItems() - 1; i >= 0; i--) {
		BMenuItem* item = (BMenuItem*)fItems.ItemAt(i);
		item->fSuper = NULL;
		delete item;
	}
	fItems.MakeEmpty();
}


bool
BMenu::_AddItem(BMenuItem* item, int32 index)
{
	if (item == NULL || item->fSuper != NULL || index < 0 || index > fItems.CountItems())
		return false;
	if (!fItems.AddItem(item, index))
		return false;
	item->fSuper = this;
	if (item->IsMarked())
		_ItemMarked(item);
	return true;
}


bool
BMenu::AddItem(BMenuItem* item)
{
	return _AddItem(item, fItems.CountItems());
}


bool
BMenu::AddItem(BMenuItem* item, int32 index)
{
	return _AddItem(item, index);
}


bool
BMenu::AddItem(BMenu* menu)
{
	return AddItem(menu, fItems.CountItems());
}


bool
BMenu::AddItem(BMenu* menu, int32 index)
{
	if (menu == NULL || menu->fSuperitem != NULL)
		return false;
	BMenuItem* item = new BMenuItem(menu);
	if (!_AddItem(item, index)) {
		item->fSubmenu = NULL;
		menu->fSuperitem = NULL;
		delete item;
		return false;
	}
	return true;
}


bool
BMenu::AddList(BList* list, int32 index)
{
	if (list == NULL)
		return false;
	for (int32 i = 0; i < list->CountItems(); i++) {
		if (!_AddItem((BMenuItem*)list->ItemAt(i), index + i))
			return false;
	}
	return true;
}


bool
BMenu::AddSeparatorItem()
{
	return AddItem(new BSeparatorItem());
}


bool
BMenu::RemoveItem(BMenuItem* item)
{
	if (item == NULL || !fItems.RemoveItem(item))
		return false;
	item->fSuper = NULL;
	return true;
}


BMenuItem*
BMenu::RemoveItem(int32 index)
{
	BMenuItem* item = (BMenuItem*)fItems.RemoveItem(index);
	if (item != NULL)
		item->fSuper = NULL;
	return item;
}


bool
BMenu::RemoveItems(int32 index, int32 count, bool deleteItems)
{
	if (index < 0 || count <= 0 || index + count > fItems.CountItems())
		return false;
	for (int32 i = 0; i < count; i++) {
		BMenuItem* item = RemoveItem(index);
		if (deleteItems)
			delete item;
	}
	return true;
}


bool
BMenu::RemoveItem(BMenu* menu)
{
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		BMenuItem* item = (BMenuItem*)fItems.ItemAt(i);
		if (item->Submenu() == menu) {
			RemoveItem(i);
			// The menu goes with its item; the caller asked for the menu only.
			item->fSubmenu = NULL;
			menu->fSuperitem = NULL;
			delete item;
			return true;
		}
	}
	return false;
}


BMenuItem*
BMenu::ItemAt(int32 index) const
{
	return (BMenuItem*)fItems.ItemAt(index);
}


BMenu*
BMenu::SubmenuAt(int32 index) const
{
	BMenuItem* item = ItemAt(index);
	return item != NULL ? item->Submenu() : NULL;
}


int32
BMenu::CountItems() const
{
	return fItems.CountItems();
}


int32
BMenu::IndexOf(BMenuItem* item) const
{
	return fItems.IndexOf(item);
}


int32
BMenu::IndexOf(BMenu* menu) const
{
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		if (ItemAt(i)->Submenu() == menu)
			return i;
	}
	return -1;
}


BMenuItem*
BMenu::FindItem(uint32 command) const
{
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		BMenuItem* item = ItemAt(i);
		if (item->Message() != NULL && item->Command() == command)
			return item;
		if (item->Submenu() != NULL) {
			BMenuItem* found = item->Submenu()->FindItem(command);
			if (found != NULL)
				return found;
		}
	}
	return NULL;
}


BMenuItem*
BMenu::FindItem(const char* label) const
{
	if (label == NULL)
		return NULL;
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		BMenuItem* item = ItemAt(i);
		if (strcmp(item->Label(), label) == 0)
			return item;
		if (item->Submenu() != NULL) {
			BMenuItem* found = item->Submenu()->FindItem(label);
			if (found != NULL)
				return found;
		}
	}
	return NULL;
}


status_t
BMenu::SetTargetForItems(BHandler* target)
{
	status_t status = B_OK;
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		status_t result = ItemAt(i)->SetTarget(target);
		if (result != B_OK)
			status = result;
	}
	return status;
}


status_t
BMenu::SetTargetForItems(BMessenger messenger)
{
	for (int32 i = 0; i < fItems.CountItems(); i++)
		ItemAt(i)->SetTarget(messenger);
	return B_OK;
}


void
BMenu::SetEnabled(bool enable)
{
	fEnabled = enable;
}


void
BMenu::SetRadioMode(bool on)
{
	fRadioMode = on;
	if (!on)
		fLabelFromMarked = false;
}


void
BMenu::SetTriggersEnabled(bool enable)
{
	fTriggersEnabled = enable;
}


void
BMenu::SetLabelFromMarked(bool on)
{
	fLabelFromMarked = on;
	if (on)
		fRadioMode = true;
}


bool
BMenu::IsLabelFromMarked()
{
	return fLabelFromMarked;
}


bool
BMenu::IsEnabled() const
{
	if (!fEnabled)
		return false;
	BMenu* super = Supermenu();
	return super == NULL || super->IsEnabled();
}


bool
BMenu::IsRadioMode() const
{
	return fRadioMode;
}


bool
BMenu::AreTriggersEnabled() const
{
	return fTriggersEnabled;
}


BMenuItem*
BMenu::FindMarked()
{
	int32 index = FindMarkedIndex();
	return index >= 0 ? ItemAt(index) : NULL;
}


int32
BMenu::FindMarkedIndex()
{
	for (int32 i = 0; i < fItems.CountItems(); i++) {
		if (ItemAt(i)->IsMarked())
			return i;
	}
	return -1;
}


BMenu*
BMenu::Supermenu() const
{
	return fSuperitem != NULL ? fSuperitem->Menu() : NULL;
}


BMenuItem*
BMenu::Superitem() const
{
	return fSuperitem;
}


menu_layout
BMenu::Layout() const
{
	return fLayout;
}


// In radio mode one item at most is marked; with label-from-marked the superitem shows it.
void
BMenu::_ItemMarked(BMenuItem* marked)
{
	if (fRadioMode) {
		for (int32 i = 0; i < fItems.CountItems(); i++) {
			BMenuItem* item = ItemAt(i);
			if (item != marked)
				item->fMark = false;
		}
	}
	if (fLabelFromMarked && fSuperitem != NULL)
		fSuperitem->SetLabel(marked->Label());
}
