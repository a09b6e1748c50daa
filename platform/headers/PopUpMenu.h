/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _POP_UP_MENU_H
#define _POP_UP_MENU_H


#include <Menu.h>


class BPopUpMenu : public BMenu {
public:
	BPopUpMenu(const char* name, bool radioMode = true, bool labelFromMarked = true,
		menu_layout layout = B_ITEMS_IN_COLUMN);
	virtual ~BPopUpMenu();

	BMenuItem* Go(
		BPoint where, bool deliversMessage = false, bool openAnyway = false, bool async = false);
	BMenuItem* Go(
		BPoint where, bool deliversMessage, bool openAnyway, BRect clickToOpen, bool async = false);

	void SetAsyncAutoDestruct(bool on);
	bool AsyncAutoDestruct() const;

private:
	bool fAutoDestruct;
};


#endif // _POP_UP_MENU_H
