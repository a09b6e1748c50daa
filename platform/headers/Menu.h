/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MENU_H
#define _MENU_H


#include <InterfaceDefs.h>
#include <List.h>
#include <View.h>


class BMenuItem;


enum menu_layout { B_ITEMS_IN_ROW = 0, B_ITEMS_IN_COLUMN, B_ITEMS_IN_MATRIX };


// A list of menu items. The menu owns its items; an item may carry a submenu, which the
// item owns.
class BMenu : public BView {
public:
	BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
	virtual ~BMenu();

	bool AddItem(BMenuItem* item);
	bool AddItem(BMenuItem* item, int32 index);
	bool AddItem(BMenu* menu);
	bool AddItem(BMenu* menu, int32 index);
	bool AddList(BList* list, int32 index);
	bool AddSeparatorItem();

	bool RemoveItem(BMenuItem* item);
	BMenuItem* RemoveItem(int32 index);
	bool RemoveItems(int32 index, int32 count, bool deleteItems = false);
	bool RemoveItem(BMenu* menu);

	BMenuItem* ItemAt(int32 index) const;
	BMenu* SubmenuAt(int32 index) const;
	int32 CountItems() const;
	int32 IndexOf(BMenuItem* item) const;
	int32 IndexOf(BMenu* menu) const;
	BMenuItem* FindItem(uint32 command) const;
	BMenuItem* FindItem(const char* label) const;

	virtual status_t SetTargetForItems(BHandler* target);
	virtual status_t SetTargetForItems(BMessenger messenger);
	virtual void SetEnabled(bool enable);
	virtual void SetRadioMode(bool on);
	virtual void SetTriggersEnabled(bool enable);
	virtual void SetLabelFromMarked(bool on);

	bool IsLabelFromMarked();
	bool IsEnabled() const;
	bool IsRadioMode() const;
	bool AreTriggersEnabled() const;

	BMenuItem* FindMarked();
	int32 FindMarkedIndex();

	BMenu* Supermenu() const;
	BMenuItem* Superitem() const;
	menu_layout Layout() const;

private:
	friend class BMenuItem;

	bool _AddItem(BMenuItem* item, int32 index);
	void _ItemMarked(BMenuItem* item);

	BList fItems;
	BMenuItem* fSuperitem;
	menu_layout fLayout;
	bool fEnabled;
	bool fRadioMode;
	bool fTriggersEnabled;
	bool fLabelFromMarked;
};


#endif // _MENU_H
