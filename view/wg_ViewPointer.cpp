/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>
#include <stdlib.h>

#include <Catalog.h>
#include <Entry.h>
#include <FindDirectory.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <Mime.h>
#include <MimeType.h>
#include <Path.h>
#include <PopUpMenu.h>
#include <String.h>
#include <Window.h>

#include "wg_Prefs.h"
#include "wg_SettWindow.h"
#include "wg_Tools.h"


#undef B_TRANSLATION_CONTEXT
#define B_TRANSLATION_CONTEXT "WebgrazerView"


// The longest commands that start the browser and Tracker, with the terminating zero.
static const int32 kBrowserCommandSize = 256;
static const int32 kTrackerCommandSize = 2048;


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


// Opens the shown preset's site (the page's host name, item 0 of the labels) in the user's
// browser: the preferred application of "text/html".
void
WView::OpenMainPage()
{
	BString* title = labelList != NULL ? (BString*)labelList->ItemAt(0) : NULL;
	if (title == NULL) {
		DoAlert(B_TRANSLATE("Can't open title with Browser"));
		return;
	}

	char signature[B_MIME_TYPE_LENGTH];
	entry_ref ref;
	BPath appPath;
	BMimeType html("text/html");
	if (html.GetPreferredApp(signature, B_OPEN) != B_OK) {
		printf("WView::OpenMainPage: no application for text/html to open '%s'\n", title->String());
		return;
	}
	BMimeType app(signature);
	if (app.GetAppHint(&ref) != B_OK || appPath.SetTo(&ref) != B_OK) {
		printf("WView::OpenMainPage: can't find the application '%s'\n", signature);
		return;
	}

	// Every part stands in apostrophes, so that no title can run a command of its own.
	BString command;
	command << ShellQuoted(appPath.Path()) << " " << ShellQuoted(title->String()) << " &";
	if (command.Length() >= kBrowserCommandSize) {
		printf(
			"WView::OpenMainPage: command too long (%ld bytes), not run\n", (long)command.Length());
		return;
	}
	printf("%s\n", command.String());
	system(command.String());
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


// Opens the settings window, or brings the open one forward.
void
WView::OpenPrefs()
{
	if (prefs->settWindowOpen) {
		printf("WView:: aktivate SettWindow \n");
		if (settWindow != NULL)
			settWindow->Activate(true);
		return;
	}
	settWindow = new DSettWindow(Bounds(), new BMessenger(this));
	settWindow->Show();
}


// Forgets the settings window, quitting it if it still runs.
void
WView::ClosePrefs()
{
	printf("WView::ClosePrefs \n");
	if (settWindow != NULL && prefs->settWindowOpen) {
		if (settWindow->Lock())
			settWindow->Quit();
	}
	settWindow = NULL;
	if (statusText != NULL)
		statusText->SetTo("Msgr.: -- ");
	SetPresetMenu();
}


void
OpenFileWithTracker(int mode, char* name)
{
	BPath tracker;
	if (find_directory(B_SYSTEM_DIRECTORY, &tracker) != B_OK || tracker.Append("Tracker") != B_OK) {
		printf(" oops: couldn't execute \n");
		return;
	}
	BString file;
	if (mode == 1) {
		Prefs* prefs = Prefs::getSTPrefs();
		file << (prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "") << "/";
	}
	file << (name != NULL ? name : "");

	BString command;
	command << ShellQuoted(tracker.Path()) << " " << ShellQuoted(file.String()) << " &";
	if (command.Length() >= kTrackerCommandSize) {
		printf("[open] command too long (%ld bytes), not run\n", (long)command.Length());
		return;
	}
	printf("[open][%s]\n", command.String());
	if (system(command.String()) != 0)
		printf(" oops: couldn't execute \n");
}
