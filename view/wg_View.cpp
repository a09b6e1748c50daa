/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <initializer_list>

#include <Bitmap.h>
#include <Catalog.h>
#include <Dragger.h>
#include <Entry.h>
#include <FindDirectory.h>
#include <InterfaceDefs.h>
#include <Menu.h>
#include <MenuItem.h>
#include <MessageRunner.h>
#include <Messenger.h>
#include <Path.h>
#include <PopUpMenu.h>
#include <Roster.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


#undef B_TRANSLATION_CONTEXT
#define B_TRANSLATION_CONTEXT "WebgrazerView"


static const char* kAppSignature = "application/x-vnd.QK-Webgrazer";


WView::WView(BRect frame)
	: BView(
		frame, B_TRANSLATE("Web Grazer"), B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_FULL_UPDATE_ON_RESIZE)
{
	lastMouse.Set(0, 0);
	isReplicant = false;
	Init();

	BRect bounds = Bounds();
	dragger = new BDragger(BRect(bounds.right - 7, bounds.bottom - 7, bounds.right, bounds.bottom),
		this, B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM, B_WILL_DRAW);
	dragger->SetViewColor(B_TRANSPARENT_32_BIT);
	AddChild(dragger);
}


WView::WView(BMessage* archive) : BView(archive)
{
	lastMouse.Set(0, 0);
	isReplicant = true;
	Init();
	prefs->Logbuch(0, NULL, "Replicant-Init ", true, true);
}


WView::~WView()
{
	Quit();
}


void
WView::Init()
{
	lastMouse.Set(-1, -1);
	image = NULL;
	imageView = NULL;
	pulseRunner = NULL;
	contextArmed = false;
	SetFontSize(11);
	dragger = NULL;
	settWindow = NULL;

	prefs = Prefs::getSTPrefs();
	if (prefs == NULL)
		DoAlert("View: Can't find my prefs..");

	// The program's folder: the folder of the running application.
	// In a host's process (the Deskbar, a shelf) the program itself may not run: then its
	// folder is that of its executable.
	app_info info;
	BEntry entry;
	BPath path;
	if (be_roster->GetAppInfo(kAppSignature, &info) != B_OK)
		be_roster->FindApp(kAppSignature, &info.ref);
	if (entry.SetTo(&info.ref) == B_OK && entry.GetPath(&path) == B_OK
		&& path.GetParent(&path) == B_OK) {
		prefs->PathToApp = path;
	} else
		printf(" p2a: %s Error\n", path.Path() != NULL ? path.Path() : "");

	BPath wget;
	prefs->wget_avalibel = find_directory(B_SYSTEM_BIN_DIRECTORY, &wget) == B_OK
		&& wget.Append("wget") == B_OK && IfExist(wget.Path());

	SetFontSize(prefs->opTextSize);
	prefs->opFirstOpen = false;

	labelList = new BList(20);
	valueList = new BList(20);
	patternList = new BList(20);

	pulseCount = 0;
	presetNr = -1;
	fullRedraw = true;

	MakeImage();

	contextMenu = new BPopUpMenu("contextmenu", false, false, B_ITEMS_IN_COLUMN);
	aboutItem = new BMenuItem(B_TRANSLATE("About Webgrazer"), new BMessage(kMsgAbout));
	prefsItem = new BMenuItem(B_TRANSLATE("Preferences"), new BMessage(kMsgPreferences));
	nextItem = new BMenuItem(B_TRANSLATE("Next"), new BMessage(kMsgNextPreset));
	quitItem = new BMenuItem(B_TRANSLATE("Quit"), new BMessage(kMsgQuit));
	// The way between the window and the Deskbar; a replicant elsewhere has neither.
	deskbarItem = NULL;
	if (prefs->opInDeskbar)
		deskbarItem = new BMenuItem(B_TRANSLATE("Back to window"), new BMessage(kMsgDeskbarSwitch));
	else if (!isReplicant)
		deskbarItem
			= new BMenuItem(B_TRANSLATE("Move to Deskbar"), new BMessage(kMsgDeskbarSwitch));

	presetMenu = new BMenu("Preset ", B_ITEMS_IN_COLUMN);
	SetPresetMenu();

	if (!isReplicant) {
		contextMenu->AddItem(aboutItem);
		contextMenu->AddSeparatorItem();
	}
	contextMenu->AddItem(prefsItem);
	contextMenu->AddItem(presetMenu);
	contextMenu->AddItem(nextItem);
	if (deskbarItem != NULL && isReplicant)
		contextMenu->AddItem(deskbarItem);
	if (!isReplicant) {
		contextMenu->AddSeparatorItem();
		if (deskbarItem != NULL)
			contextMenu->AddItem(deskbarItem);
		contextMenu->AddItem(quitItem);
	} else {
		// Items a replicant does not show are still the view's to release.
		delete aboutItem;
		delete quitItem;
		aboutItem = NULL;
		quitItem = NULL;
	}

	SetViewColor(prefs->opColor);

	inDeskbar = prefs->opInDeskbar;
	presetNr = prefs->PresetAtView - 1;

	statusText = new BString("Init");

	SetPulse();
	printf(" WView INIT-ENDE \n");
}


void
WView::AttachedToWindow()
{
	SetViewColor(B_TRANSPARENT_32_BIT);
	BView* parent = Parent();
	if (parent != NULL && (parent->Flags() & B_DRAW_ON_CHILDREN) != 0)
		SetViewColor(B_TRANSPARENT_COLOR);
	else if (parent != NULL)
		SetViewColor(parent->ViewColor());
	else
		SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));

	SetPulse();

	BMessenger messenger(this);
	for (BMenuItem* item : {aboutItem, prefsItem, nextItem, deskbarItem, quitItem}) {
		if (item != NULL)
			item->SetTarget(messenger);
	}
	if (presetMenu != NULL)
		presetMenu->SetTargetForItems(messenger);

	fullRedraw = true;
	UpdateImage();
}


void
WView::SetPresetMenu()
{
	if (presetMenu == NULL)
		return;

	BMessage message(kMsgSelectPreset);
	message.AddInt32("PresetNr", 0);

	for (int32 i = presetMenu->CountItems() - 1; i >= 0; i--)
		delete presetMenu->RemoveItem(i);

	prefs->presetLock.Lock();
	BList* presets = prefs->presetList;
	for (int32 i = 0; i < presets->CountItems(); i++) {
		Preset* preset = (Preset*)presets->ItemAt(i);
		if (preset == NULL || preset->TextAt(0) == NULL)
			continue;
		message.ReplaceInt32("PresetNr", i);
		presetMenu->AddItem(new BMenuItem(preset->TextAt(0), new BMessage(message)));
	}
	prefs->presetLock.Unlock();

	presetMenu->SetTargetForItems(BMessenger(this));
}


void
WView::_EmptyLists()
{
	for (BList* list : {labelList, valueList, patternList}) {
		if (list == NULL)
			continue;
		for (int32 i = list->CountItems() - 1; i >= 0; i--)
			delete (BString*)list->ItemAt(i);
		list->MakeEmpty();
	}
}


void
WView::Quit()
{
	_EmptyLists();
	delete labelList;
	labelList = NULL;
	delete valueList;
	valueList = NULL;
	delete patternList;
	patternList = NULL;

	delete pulseRunner;
	pulseRunner = NULL;

	// The menu owns its items and the preset submenu.
	delete contextMenu;
	contextMenu = NULL;
	aboutItem = prefsItem = nextItem = quitItem = deskbarItem = NULL;
	presetMenu = NULL;

	delete image;
	image = NULL;
	imageView = NULL;

	delete statusText;
	statusText = NULL;
}


bool
WView::QuitRequested()
{
	return true;
}


void
WView::FrameResized(float width, float height)
{
	ResizeTo(width, height);
	ResizeImage();
	Draw(Bounds());
}
