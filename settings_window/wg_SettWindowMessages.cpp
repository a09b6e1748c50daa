/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_SettWindow.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <AppDefs.h>
#include <Autolock.h>
#include <Button.h>
#include <Catalog.h>
#include <Entry.h>
#include <Menu.h>
#include <MenuItem.h>
#include <Messenger.h>
#include <Node.h>
#include <NodeMonitor.h>
#include <OS.h>
#include <PopUpMenu.h>
#include <Slider.h>
#include <String.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>
#include <TypeConstants.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"
#include "wg_View.h"
#include "wg_Window.h"


#undef B_TRANSLATION_CONTEXT
#define B_TRANSLATION_CONTEXT "Webgrazer Prefs"


// A dropped colour text counts with at most this many characters: "#" and six hex digits.
static const int32 kColorTextLength = 7;


// Colours dropped on the window: a text such as "#FF8000", or a file that carries a colour
// in its "RGBCOLOR" attribute. Returns whether the text colour changed.
bool
DSettWindow::_DropChecks(BMessage* message)
{
	bool changed = false;
	const void* data = NULL;
	ssize_t size = 0;
	if (message->FindData("text/plain", B_MIME_TYPE, &data, &size) == B_OK && data != NULL) {
		char text[kColorTextLength + 1];
		int32 length = size < kColorTextLength ? (int32)size : kColorTextLength;
		if (length < 0)
			length = 0;
		memcpy(text, data, length);
		text[length] = '\0';
		printf(">> *dragged text/plain*  '%s' '%ld' \n", text, (long)strlen(text));
		if (prefs != NULL) {
			txt2col(text, &prefs->opTextColor);
			_ShowTextColor();
			changed = true;
		}
	}

	entry_ref ref;
	if (message->FindRef("refs", &ref) == B_OK) {
		BNode node(&ref);
		rgb_color color;
		if (node.InitCheck() == B_OK && prefs != NULL
			&& node.ReadAttr("RGBCOLOR", B_RGB_COLOR_TYPE, 0, &color, sizeof(color))
				== (ssize_t)sizeof(color)) {
			prefs->opTextColor = color;
			printf(">> *dragged RGBCOLOR* \n");
			_ShowTextColor();
			bview->Invalidate();
			changed = true;
		}
	}
	return changed;
}


void
DSettWindow::MessageReceived(BMessage* message)
{
	_DropChecks(message);
	if (IsIgnoredInput(message->what))
		return;

	switch (message->what) {
	case kMsgUpdateSpeed:
		if (prefs == NULL)
			break;
		prefs->opUpdateSpeed = fUpdate->Value();
		_SetUpdateLabel();
		prefs->Save();
		break;

	case kMsgTextSize: {
		int32 size = atoi(fTextSize->Text());
		if (size < 9 || size > 16)
			size = 11;
		if (prefs != NULL)
			prefs->opTextSize = size;
		BString text;
		text.SetToFormat("%ld", (long)size);
		fTextSize->SetText(text.String());
		break;
	}

	case kMsgTextColor:
		DoAlert(" Hui.. WP_TEXTCOLOR 'fTco' ");
		break;

	case kMsgPresetChosen: {
		int32 number;
		if (prefs != NULL && message->FindInt32("PresetNr", &number) == B_OK)
			prefs->PresetAtView = number;
		PresetMenuSelected();
		break;
	}

	case kMsgPresetFileChosen: {
		const char* name;
		if (prefs == NULL || message->FindString("Filename", &name) != B_OK)
			break;
		prefs->PresetName = name;
		printf("** NEW: '%s'\n", prefs->PresetName.String());
		// An edit of the file shown before no longer matters: its watch ends, and the new
		// file can be opened for editing.
		watch_node(&presetNodeRef, B_STOP_WATCHING, BMessenger(this));
		fOpenPreset->SetEnabled(true);
		fReloadSet->SetEnabled(false);
		BString path(prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "");
		path << "/" << prefs->PresetName;
		presetEntry->SetTo(path.String());
		if (presetEntry->GetNodeRef(&presetNodeRef) != B_OK)
			presetNodeRef = node_ref();
		LoadPresets();
		FillPresetMenu();
		PresetMenuSelected();
		break;
	}

	case kMsgOpenPresets: {
		// An editor may have saved the file as a new node since the window looked at it. A
		// file that is gone can't be watched.
		if (presetEntry->GetNodeRef(&presetNodeRef) != B_OK)
			presetNodeRef = node_ref();
		status_t status = watch_node(&presetNodeRef, B_WATCH_STAT, BMessenger(this));
		printf(" WATCH_PRESETFILE: %s \n", strerror(status));
		fOpenPreset->SetEnabled(false);
		if (prefs != NULL) {
			BString name(prefs->PresetName);
			OpenFileWithTracker(1, name.LockBuffer(0));
			name.UnlockBuffer();
		}
		break;
	}

	case B_NODE_MONITOR:
		fReloadSet->SetEnabled(true);
		watch_node(&presetNodeRef, B_STOP_WATCHING, BMessenger(this));
		message->PrintToStream();
		break;

	case kMsgReloadSet:
		printf("  LoadPresets \n");
		fOpenPreset->SetEnabled(true);
		fReloadSet->SetEnabled(false);
		LoadPresets();
		FillPresetMenu();
		PresetMenuSelected();
		break;

	case kMsgGetSite: {
		fOpenSrc->SetEnabled(false);
		fScanTest->SetEnabled(false);
		bview->Invalidate();
		// The download blocks this window: show the disabled buttons while it runs.
		UpdateIfNeeded();
		BString url(fUrl->Text());
		XDownloadUrl(url.String());
		snooze(10000);
		fOpenSrc->SetEnabled(true);
		fScanTest->SetEnabled(true);
		bview->Invalidate();
		break;
	}

	case kMsgViewSite: {
		BString path = ScratchPath();
		OpenFileWithTracker(0, path.LockBuffer(0));
		path.UnlockBuffer();
		break;
	}

	case kMsgPresetTest: {
		BMessage update(kMsgUpdate);
		Message2Repl(&update);
		break;
	}

	case kMsgNextPreset:
		printf(" Hui.. WP_NEXTPRESET 'fNPs' ");
		Message2Repl(message);
		break;

	case 'fsCA':
	case 'fsCL':
	case 'sdCA':
		SaveDefaultPresets();
		break;

	case 'fSSe':
	case 'sdCL':
		SavePresets();
		break;

	case 'rPrf':
		if (prefs != NULL)
			prefs->LoadPrefs();
		break;

	case B_SIMPLE_DATA:
		message->PrintToStream();
		bview->Invalidate();
		break;

	case 'oINe':
		printf(" -new- selected ('oINe')\n");
		message->PrintToStream();
		break;

	case B_ABOUT_REQUESTED: {
		BString text("\n");
		text << kContactLine;
		DoAlert(text.String());
		break;
	}

	case B_UNMAPPED_KEY_DOWN:
		AddOptionalByWinKey(message);
		break;

	default:
		printf("\nDSettWindow::MessageReceived\n");
		message->PrintToStream();
		break;
	}
}


void
DSettWindow::FillPresetMenu()
{
	BMessage templateMessage(kMsgPresetChosen);
	templateMessage.AddInt32("PresetNr", 0);

	printf("FillPresetMenu() PresetPopUp-Items : %ld \n", (long)PresetPopUp->CountItems());
	for (int32 i = PresetPopUp->CountItems() - 1; i >= 0; i--)
		delete PresetPopUp->RemoveItem(i);
	printf("clear after %ld \n", (long)PresetPopUp->CountItems());

	if (prefs != NULL) {
		BAutolock lock(prefs->presetLock);
		for (int32 i = 0; prefs->presetList != NULL; i++) {
			Preset* preset = (Preset*)prefs->presetList->ItemAt(i);
			if (preset == NULL)
				break;
			templateMessage.ReplaceInt32("PresetNr", i);
			const char* label = preset->TextAt(0);
			PresetPopUp->AddItem(
				new BMenuItem(label != NULL ? label : "", new BMessage(templateMessage)));
		}
	}

	printf("FillPresetMenu() PresetPopUp-Items %ld \n", (long)PresetPopUp->CountItems());
	if (PresetPopUp->CountItems() < 1)
		DoAlert(" FillPresetMenu() no prefs-Presetlist ");
}


void
DSettWindow::PresetMenuSelected()
{
	int32 count = PresetPopUp->CountItems();
	int32 atView = prefs != NULL ? prefs->PresetAtView : 0;
	printf("PresetMenuSelected() fPrefs->PresetAtView : %ld \n", (long)atView);
	if (count == 0) {
		fUrl->SetText(" no Preset ");
		return;
	}

	int32 index = atView >= 0 && atView < count ? atView : 0;
	BMenuItem* item = PresetPopUp->ItemAt(index);
	if (item != NULL)
		item->SetMarked(true);
	if (prefs == NULL)
		return;

	BAutolock lock(prefs->presetLock);
	Preset* preset = prefs->presetList != NULL ? (Preset*)prefs->presetList->ItemAt(index) : NULL;
	if (preset == NULL)
		return;
	if (preset->CountItems() < 2)
		fUrl->SetText(" ooops.. ");
	else {
		const char* address = preset->TextAt(1);
		fUrl->SetText(address != NULL ? address : "");
	}
}


void
DSettWindow::Message2Repl(BMessage* message)
{
	if (viewMessenger == NULL) {
		printf("oops no msger: %p\n", (void*)viewMessenger);
		return;
	}
	printf("msger: %p\n", (void*)viewMessenger);
	viewMessenger->SendMessage(message, (BHandler*)NULL, B_INFINITE_TIMEOUT);
}


void
DSettWindow::AddOptionalByWinKey(BMessage* message)
{
	PrintWinKey(message);
}


void
DSettWindow::AboutRequested()
{
	BString text(" AboutRequested..\n");
	text << kContactLine;
	DoAlert(text.String());
}


void
DSettWindow::_SetUpdateLabel()
{
	BString label(B_TRANSLATE("Update Frequency:"));
	label << fUpdate->Value() << B_TRANSLATE(" minutes");
	fUpdate->SetLabel(label.String());
}
