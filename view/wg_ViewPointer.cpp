/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <PopUpMenu.h>
#include <String.h>

#include "wg_Prefs.h"


// Pops up the context menu with its left-top corner at the pointer; the call returns at once
// and the chosen item's message comes to this view.
void
WView::OpenContext(BPoint where)
{
	if (contextMenu == NULL)
		return;
	ConvertToScreen(&where);
	BRect clickToOpen(-5, -5, 5, 5);
	ConvertToScreen(&clickToOpen);
	clickToOpen.OffsetTo(where);
	contextMenu->Go(where, true, true, clickToOpen, true);
}


void
WView::SetContext(BPoint)
{ }


void
WView::CloseContext()
{ }


void
WView::OpenPrefs()
{
	// The settings window is a unit of its own that this build does not have yet.
	printf("WView::OpenPrefs: no settings window \n");
}


void
WView::ClosePrefs()
{
	printf("WView::ClosePrefs \n");
	settWindow = NULL;
	if (statusText != NULL)
		statusText->SetTo("Msgr.: -- ");
	SetPresetMenu();
}
