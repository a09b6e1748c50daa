/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Gui.h"

#include <stdio.h>

#include <Entry.h>
#include <Messenger.h>
#include <Path.h>
#include <Roster.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"
#include "wg_Window.h"


DSApplication::DSApplication() : BApplication(WG_APP_SIGNATURE)
{
	prefs = Prefs::getSTPrefs();
	BRect frame = prefs->opWinRect;

	// The program's folder is the one that holds the running executable, whatever the
	// settings file says. (A path keeps no trailing slash: appending "/" would only unset it.)
	app_info info;
	BEntry entry;
	BPath path;
	if (GetAppInfo(&info) == B_OK && entry.SetTo(&info.ref) == B_OK && entry.GetPath(&path) == B_OK
		&& path.GetParent(&path) == B_OK) {
		prefs->PathToApp = path;
	}

	prefs->Logbuch(0, NULL, "Win Init ", true, true);
	printf("DSApplication:  prefs loadet\n");

	mainWindow = new DSWindow(frame);
	fMainWindow = BMessenger(mainWindow);

	if (prefs->presetList->CountItems() == 0)
		LoadPresets();

	mainWindow->Show();
}


DSApplication::~DSApplication()
{
	// The windows are gone: downloads of a later application run again.
	AbortDownloads(false);
	printf("DSApplication::~DSApplication() done\n");
}


void
DSApplication::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case 'DATA':
	case 'PAll':
	case 'cHPL':
	case 'nTPT':
	case 'wpcl':
	case 'wvpl':
		// Handled on the window's own thread.
		fMainWindow.SendMessage(message);
		break;

	case 'RPLY':
	case '_CNC':
	case '_DSA':
		break;

	case '_ABR':
		DoErrorB("APP under construction..\n enjoy");
		break;

	default:
		printf("DSApplication: ");
		message->PrintToStream();
		break;
	}
}


void
DSApplication::RefsReceived(BMessage* message)
{
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return;

	BEntry entry(&ref, false);
	BPath path;
	if (entry.GetPath(&path) != B_OK)
		return;

	BMessage open('DATA');
	open.AddRef("refs", &ref);
	open.AddString("open_prefs", path.Path());
	open.AddString("open", path.Leaf());
	fMainWindow.SendMessage(&open, (BHandler*)NULL, B_INFINITE_TIMEOUT);
}


// An about request is handed to this hook instead of MessageReceived(); it gets the answer
// that MessageReceived() gives it.
void
DSApplication::AboutRequested()
{
	BMessage about(B_ABOUT_REQUESTED);
	MessageReceived(&about);
}


// A download that runs while the program is asked to quit stops at once, so that the windows
// can quit.
bool
DSApplication::QuitRequested()
{
	AbortDownloads(true);
	bool quit = BApplication::QuitRequested();
	if (!quit)
		AbortDownloads(false);
	return quit;
}
