/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MENU_ITEM_H
#define _MENU_ITEM_H


#include <Archivable.h>
#include <InterfaceDefs.h>
#include <Invoker.h>
#include <Menu.h>


class BMenu;


class BMenuItem : public BArchivable, public BInvoker {
public:
	BMenuItem(const char* label, BMessage* message, char shortcut = 0, uint32 modifiers = 0);
	BMenuItem(BMenu* menu, BMessage* message = NULL);
	virtual ~BMenuItem();

	virtual void SetLabel(const char* label);
	virtual void SetEnabled(bool enable);
	virtual void SetMarked(bool mark);
	virtual void SetShortcut(char shortcut, uint32 modifiers);

	const char* Label() const;
	bool IsEnabled() const;
	bool IsMarked() const;
	char Shortcut(uint32* _modifiers = NULL) const;

	BMenu* Submenu() const;
	BMenu* Menu() const;
	BRect Frame() const;

	virtual status_t Invoke(BMessage* message = NULL);

private:
	friend class BMenu;

	char* fLabel;
	BMenu* fSubmenu;
	BMenu* fSuper;
	BRect fBounds;
	uint32 fModifiers;
	char fShortcutChar;
	bool fMark;
	bool fEnabled;
};


class BSeparatorItem : public BMenuItem {
public:
	BSeparatorItem();
	virtual ~BSeparatorItem();

	virtual void SetEnabled(bool enable);
};


#endif // _MENU_ITEM_H
