/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <InterfaceDefs.h>
#include <Message.h>
#include <PopUpMenu.h>
#include <String.h>
#include <Window.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


// The point arguments are not used: the window's current message tells everything.
void
WView::MouseDown(BPoint)
{
	if (prefs->settWindowOpen) {
		printf("oops- SettingsWindow is open\n");
		return;
	}
	CloseContext();
	MakeFocus(true);

	int32 buttons = 0;
	int32 clicks = 0;
	BPoint where(0, 0);
	BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
	if (message != NULL) {
		message->FindInt32("buttons", &buttons);
		message->FindInt32("clicks", &clicks);
		message->FindPoint("where", &where);
	}
	printf("buttons:%ld clicks:%ld \n", (long)buttons, (long)clicks);

	if (buttons == B_SECONDARY_MOUSE_BUTTON
		|| (buttons == B_PRIMARY_MOUSE_BUTTON && (modifiers() & B_CONTROL_KEY) != 0)) {
		OpenContext(where);
	} else if (buttons == B_PRIMARY_MOUSE_BUTTON) {
		if (clicks > 1 && contextArmed) {
			contextArmed = false;
			OpenMainPage();
		} else {
			contextArmed = true;
			SetContext(where);
		}
	} else
		contextArmed = false;
}


void
WView::MouseUp(BPoint)
{
	CloseContext();
}


void
WView::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (where != lastMouse)
		CloseContext();
	lastMouse = where;
	contextArmed = false;
}


// Opens the shown preset's site (the page's host name, item 0 of the labels) in the browser.
void
WView::OpenMainPage()
{
	BString* title = labelList != NULL ? (BString*)labelList->ItemAt(0) : NULL;
	if (title == NULL) {
		DoAlert("Can't open title with Browser");
		return;
	}
	// The browser is the preferred application of "text/html"; this system has no registry
	// of preferred applications yet, so there is none to start.
	printf("WView::OpenMainPage: no application for text/html to open '%s'\n", title->String());
}


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
