/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_GUI_H
#define _WG_GUI_H


#include <Application.h>
#include <Messenger.h>


class DSWindow;
class Prefs;


#define WG_APP_SIGNATURE "application/x-vnd.QK-Webgrazer"


// The program's application: loads the settings and presets and shows the main window.
class DSApplication : public BApplication {
public:
	DSApplication();
	virtual ~DSApplication();

	virtual void MessageReceived(BMessage* message);
	virtual void RefsReceived(BMessage* message);
	virtual void AboutRequested();
	virtual bool QuitRequested();

	Prefs* prefs;
	DSWindow* mainWindow;

private:
	// Messages for the main window go through this: the window deletes itself when it quits,
	// and a messenger to a window that is gone only fails to deliver.
	BMessenger fMainWindow;
};


#endif // _WG_GUI_H
