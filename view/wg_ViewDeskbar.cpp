/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The view away from its window: its archive for replicant shelves, the Deskbar's entry
// point, and the switch between the window and the Deskbar.


#include "wg_View.h"

#include <stdio.h>
#include <string.h>

#include <Application.h>
#include <Deskbar.h>
#include <Dragger.h>
#include <Entry.h>
#include <Roster.h>
#include <Window.h>

#include "wg_Gui.h"
#include "wg_Prefs.h"
#include "wg_Tools.h"


static const char* kDeskbarItemName = "Web Grazer";


BArchivable*
WView::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "WView"))
		return NULL;
	return new WView(archive);
}


status_t
WView::Archive(BMessage* archive, bool deep) const
{
	status_t status = BView::Archive(archive, deep);
	archive->AddString("add_on", WG_APP_SIGNATURE);
	archive->AddString("class", "WView");
	archive->AddBool("be:unique_replicant", true);
	return status;
}


BView*
instantiate_deskbar_item()
{
	// Only the Deskbar calls this: the view made here, and any the Deskbar rebuilds from its
	// archive, lives in the Deskbar's process. The Deskbar keeps the program loaded, and with
	// it the settings store of an item it showed before: that store reads the settings anew,
	// as the program saved them when it moved its view here.
	const bool kept = Prefs::aPrefsZgr != NULL;
	Prefs* prefs = Prefs::getSTPrefs();
	if (kept) {
		prefs->LoadPrefs();
		prefs->GetPresets();
		prefs->GetTagList();
	}
	prefs->opInDeskbar = true;
	return new WView(BRect(0, 0, 16, 16));
}


void
WView::AddToDeskbar(Prefs*)
{
	printf("WView::AddToDeskbar( Prefs *prefs) %d\n", 769);
	BDeskbar* deskbar = new BDeskbar();
	entry_ref ref;
	be_roster->FindApp(WG_APP_SIGNATURE, &ref);
	status_t status = deskbar->AddItem(&ref);
	printf(" Adding to Deskbar \"%s\" \n", strerror(status));
	delete deskbar;
	if (status != B_OK)
		DoAlert("Error Adding to Deskbar");
}


void
WView::RemoveFromDeskbar()
{
	BDeskbar* deskbar = new BDeskbar();
	status_t status = deskbar->RemoveItem(kDeskbarItemName);
	if (status != B_OK) {
		printf(" Error Removing fromt Deskbar \"%s\" \n", strerror(status));
		DoAlert("Error Removing fromt Deskbar ");
	}
	delete deskbar;
}


bool
WView::IsInDeskbar()
{
	BDeskbar* deskbar = new BDeskbar();
	bool inDeskbar = deskbar->HasItem(kDeskbarItemName);
	delete deskbar;
	return inDeskbar;
}


// Window mode and Deskbar mode: each switch ends this view; the other mode starts anew.
void
WView::_SwitchDeskbar()
{
	inDeskbar = prefs->opInDeskbar;
	if (!inDeskbar && !isReplicant && Window() != NULL)
		prefs->opWinRect = Window()->Frame();
	prefs->opInDeskbar = !prefs->opInDeskbar;
	Quit();
	// The other mode starts with a settings store of its own, read from the file: it has to
	// find this one's settings there, the window's frame among them.
	prefs->Save();

	if (inDeskbar) {
		RemoveFromDeskbar();
		be_roster->Launch(WG_APP_SIGNATURE);
	} else if (!isReplicant) {
		// The item is installed before the program ends. When the Deskbar did not take it,
		// the program stays in its window (ending it would also close the error alert
		// before it could be read, and leave the user with no view at all). Only the
		// program's own application ends here, never a host's.
		AddToDeskbar(Prefs::getSTPrefs());
		if (!IsInDeskbar()) {
			prefs->opInDeskbar = false;
			Init();
			dragger = dynamic_cast<BDragger*>(FindView("_dragger_"));
			if (Window() != NULL)
				AttachedToWindow();
		} else if (dynamic_cast<DSApplication*>(be_app) != NULL)
			be_app->PostMessage(B_QUIT_REQUESTED);
	} else if (Looper() != NULL)
		Looper()->PostMessage(kMsgReplicantQuit, this);
}
