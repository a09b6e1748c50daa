/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_SettWindow.h"

#include <stdio.h>
#include <string.h>

#include <Application.h>
#include <Button.h>
#include <Catalog.h>
#include <CheckBox.h>
#include <Entry.h>
#include <MenuField.h>
#include <Messenger.h>
#include <NodeMonitor.h>
#include <Path.h>
#include <PopUpMenu.h>
#include <Slider.h>
#include <String.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>
#include <View.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"
#include "wg_View.h"


#undef B_TRANSLATION_CONTEXT
#define B_TRANSLATION_CONTEXT "Webgrazer Prefs"


// The window flags the settings window has always been made with.
static const uint32 kSettingsWindowFlags = 0x20000000;

static const float kButtonLeft[] = {10, 146, 272, 398, 524};


DSettWindow::DSettWindow(BRect frame, BMessenger* messenger)
	: BWindow(frame, B_TRANSLATE("Webgrazer-Settings"), B_DOCUMENT_WINDOW, kSettingsWindowFlags,
		B_CURRENT_WORKSPACE),
	  prefs(NULL), presetEntry(NULL), viewMessenger(messenger), watchError(NULL), bview(NULL),
	  SelPresetPopUp(NULL), SelPresetMF(NULL), PresetPopUp(NULL), PresetMF(NULL), fUpdate(NULL),
	  fReloadSet(NULL), fOpenPreset(NULL), fGetSite(NULL), fOpenSrc(NULL), fScanTest(NULL),
	  fTextSize(NULL), fTextColor(NULL), fRoundStyle(NULL), fUseLogbuch(NULL), fUseCertOption(NULL),
	  fViewFailImage(NULL), fUrl(NULL), BottomInfo(NULL)
{
	SetSizeLimits(PWIN_W, PWIN_W, PWIN_H, PWIN_H + 50);

	prefs = Prefs::getSTPrefs();
	if (prefs != NULL) {
		MoveTo(prefs->prefs_window_rect.LeftTop());
		ResizeTo(prefs->prefs_window_rect.Width(), prefs->prefs_window_rect.Height());
	}
	watchError = new BString();

	BRect bounds = Bounds();
	float W = bounds.Width();
	float H = bounds.Height();

	bview = new BView(bounds, "bview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_FRAME_EVENTS);
	bview->SetViewColor(237, 242, 235, 0);
	bview->SetFontSize(10);
	AddChild(bview);

	const uint32 navigable = B_WILL_DRAW | B_NAVIGABLE;

	fUseCertOption = new BCheckBox(BRect(10, 10, W - 358, 30), "fUseCertOption",
		B_TRANSLATE("Use --no-check-certificate"), NULL, B_FOLLOW_LEFT, navigable);
	bview->AddChild(fUseCertOption);
	fUseLogbuch = new BCheckBox(BRect(10, 34, W - 358, 54), "fUseLogbuch",
		B_TRANSLATE("Use Logbook"), NULL, B_FOLLOW_LEFT, navigable);
	bview->AddChild(fUseLogbuch);
	fRoundStyle = new BCheckBox(BRect(10, 58, W - 358, 78), "fRoundStyle",
		B_TRANSLATE("Roundedborder"), NULL, B_FOLLOW_LEFT, navigable);
	bview->AddChild(fRoundStyle);
	fViewFailImage = new BCheckBox(BRect(10, 82, W - 358, 102), "fViewFailImage",
		B_TRANSLATE("Info Image fail"), NULL, B_FOLLOW_LEFT, navigable);
	bview->AddChild(fViewFailImage);
	if (prefs != NULL) {
		fUseCertOption->SetValue(prefs->opUseCertOption);
		fUseLogbuch->SetValue(prefs->opUseLog);
		fRoundStyle->SetValue(prefs->opNoneWallpaperStyle);
		fViewFailImage->SetValue(prefs->opViewFailImage);
	}

	int32 speed = prefs != NULL ? prefs->opUpdateSpeed : 0;
	BString sliderLabel(B_TRANSLATE("Update Frequency:"));
	sliderLabel << speed << B_TRANSLATE(" minutes");
	fUpdate = new BSlider(BRect(W - 348, 10, W - 10, 50), "fUpdate", sliderLabel.String(),
		new BMessage(kMsgUpdateSpeed), 0, 15, B_BLOCK_THUMB, B_FOLLOW_TOP | B_FOLLOW_LEFT_RIGHT,
		B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE);
	fUpdate->SetHashMarks(B_HASH_MARKS_BOTTOM);
	fUpdate->SetHashMarkCount(16);
	fUpdate->SetKeyIncrementValue(1);
	fUpdate->SetLimitLabels(B_TRANSLATE("  0 (off)"), "15 ");
	fUpdate->SetValue(speed);
	bview->AddChild(fUpdate);

	fTextSize = new BTextControl(BRect(W - 338, 70, W - 160, 85), "fTextSize",
		B_TRANSLATE("Textsize:"), "-", new BMessage(kMsgTextSize), B_FOLLOW_LEFT, navigable);
	fTextSize->SetDivider(80);
	fTextSize->SetAlignment(B_ALIGN_LEFT, B_ALIGN_LEFT);
	bview->AddChild(fTextSize);
	BString sizeText;
	sizeText.SetToFormat("%ld", (long)(prefs != NULL ? prefs->opTextSize : 11));
	fTextSize->SetText(sizeText.String());

	fTextColor = new BTextControl(BRect(W - 150, 70, W - 10, 85), "fTextColor",
		B_TRANSLATE("drag TextColor:"), "", new BMessage(kMsgTextColor), B_FOLLOW_LEFT_RIGHT,
		navigable);
	fTextColor->SetDivider(100);
	fTextColor->SetAlignment(B_ALIGN_LEFT, B_ALIGN_LEFT);
	fTextColor->SetEnabled(false);
	bview->AddChild(fTextColor);
	_ShowTextColor();

	PresetPopUp = new BPopUpMenu("..not found", true, true, B_ITEMS_IN_COLUMN);
	PresetPopUp->SetRadioMode(true);
	PresetPopUp->SetLabelFromMarked(true);
	if (prefs != NULL)
		prefs->FillPopUpMenu(PresetPopUp);
	PresetMF = new BMenuField(BRect(W - 348, 133, W - 10, 153), "PresetMF", NULL, PresetPopUp, true,
		B_FOLLOW_LEFT, navigable);
	PresetMF->SetDivider(0);
	PresetMF->SetAlignment(B_ALIGN_LEFT);
	bview->AddChild(PresetMF);

	SelPresetPopUp = new BPopUpMenu("..not found", true, true, B_ITEMS_IN_COLUMN);
	SelPresetPopUp->SetRadioMode(true);
	SelPresetPopUp->SetLabelFromMarked(true);
	if (prefs != NULL)
		prefs->ScanForPresets(SelPresetPopUp);
	SelPresetMF = new BMenuField(BRect(10, 132, W - 358, 152), "SelPresetMF", NULL, SelPresetPopUp,
		true, B_FOLLOW_LEFT, navigable);
	SelPresetMF->SetDivider(0);
	SelPresetMF->SetAlignment(B_ALIGN_LEFT);
	bview->AddChild(SelPresetMF);

	fUrl = new BStringView(
		BRect(10, 161, W - 10, 181), "fUrl", "--", B_FOLLOW_TOP | B_FOLLOW_LEFT_RIGHT, B_WILL_DRAW);
	fUrl->SetViewColor(210, 210, 210, 0);
	fUrl->SetAlignment(B_ALIGN_LEFT);
	bview->AddChild(fUrl);

	struct {
		BButton** button;
		const char* name;
		const char* label;
		uint32 what;
	} buttons[] = {
		{&fOpenPreset, "fOpenPreset", B_TRANSLATE("Open Presets"), kMsgOpenPresets},
		{&fReloadSet, "fReloadSet", B_TRANSLATE("Reload Set."), kMsgReloadSet},
		{&fGetSite, "fGetSite", B_TRANSLATE("Get Site"), kMsgGetSite},
		{&fOpenSrc, "fOpenSrc", B_TRANSLATE("View Site"), kMsgViewSite},
		{&fScanTest, "fScanTest", B_TRANSLATE("Preset Test"), kMsgPresetTest},
	};
	for (int32 i = 0; i < 5; i++) {
		float x = kButtonLeft[i];
		BButton* button = new BButton(BRect(x, 190, x + 126, 215), buttons[i].name,
			buttons[i].label, new BMessage(buttons[i].what), B_FOLLOW_LEFT | B_FOLLOW_TOP,
			B_FULL_UPDATE_ON_RESIZE | B_WILL_DRAW | B_NAVIGABLE);
		button->ResizeTo(116, 24);
		bview->AddChild(button);
		*buttons[i].button = button;
	}
	fReloadSet->SetEnabled(false);

	BottomInfo = new BStringView(BRect(1, H - 13, W - 14, H), "BottomInfo", "--",
		B_FOLLOW_BOTTOM | B_FOLLOW_LEFT_RIGHT, B_WILL_DRAW);
	BottomInfo->SetFontSize(8);
	BottomInfo->SetAlignment(B_ALIGN_CENTER);
	BottomInfo->SetFont(be_fixed_font);
	BottomInfo->SetViewColor(216, 222, 216, 0);
	bview->AddChild(BottomInfo);
	if (prefs == NULL)
		BottomInfo->SetText("no prefs-Pointer");
	else if (prefs->PathToApp.Path() == NULL || prefs->PathToApp.Path()[0] == '\0')
		BottomInfo->SetText("no prefs-Pointer (nil)");
	else
		BottomInfo->SetText(prefs->PathToApp.Path());

	// The preset file, watched once the user opens it for editing.
	BString presetPath(
		prefs != NULL && prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "");
	presetPath << "/" << (prefs != NULL ? prefs->PresetName.String() : "");
	presetEntry = new BEntry(presetPath.String());
	status_t status = presetEntry->InitCheck();
	if (status == B_OK)
		status = presetEntry->GetNodeRef(&presetNodeRef);
	if (status != B_OK) {
		watchError->SetTo("Can't watch:\n");
		*watchError << presetPath << "\n" << strerror(status);
		DoAlert(watchError->String());
	}

	printf("-- StartUp Window-End--\n");
	PresetMenuSelected();
	printf("-- StartUp DSettWindow-show prefs--\n");

	if (prefs != NULL)
		prefs->settWindowOpen = true;
	printf("-- StartUp DSettWindow-End--\n");
}


DSettWindow::~DSettWindow()
{
	printf("\n\nDSettWin ~DSettWindow()\n");
	watch_node(&presetNodeRef, B_STOP_WATCHING, BMessenger(this));

	if (prefs != NULL) {
		prefs->opFixedViewSize = false;
		prefs->opNoneWallpaperStyle = fRoundStyle->Value() != B_CONTROL_OFF ? 1 : 0;
		prefs->opUseLog = fUseLogbuch->Value() != B_CONTROL_OFF;
		prefs->opUseCertOption = fUseCertOption->Value() != B_CONTROL_OFF;
		prefs->opViewFailImage = fViewFailImage->Value() != B_CONTROL_OFF;
		prefs->settWindowOpen = false;
		prefs->prefs_window_rect = Frame();
		prefs->Logbuch(0, NULL, "PrefWin close ", true, true);
		prefs->Save();
	} else
		printf("### OOPS  losing prefs-pointer\n");

	if (viewMessenger != NULL) {
		printf("msger: %p\n", (void*)viewMessenger);
		BMessage closed(kMsgPrefsClosed);
		viewMessenger->SendMessage(&closed, (BHandler*)NULL, B_INFINITE_TIMEOUT);
	}
	printf("DSettWin send 'wpcl'  WP_CLOSE to app_messenger \n");
	be_app_messenger.SendMessage(kMsgPrefsClosed, (BHandler*)NULL);
	printf("DSWin ~DSWindow() done\n");

	delete viewMessenger;
	delete presetEntry;
	delete watchError;
}


bool
DSettWindow::QuitRequested()
{
	delete watchError;
	watchError = NULL;
	if (prefs != NULL)
		prefs->settWindowOpen = false;
	return true;
}


void
DSettWindow::FrameResized(float width, float height)
{
	(void)width;
	(void)height;
	bview->Invalidate(Bounds());
}


// The colour field shows the text colour in its text area.
void
DSettWindow::_ShowTextColor()
{
	if (prefs == NULL || fTextColor == NULL)
		return;
	BTextView* textView = fTextColor->TextView();
	textView->SetLowColor(prefs->opTextColor);
	textView->SetViewColor(prefs->opTextColor);
	textView->Invalidate();
	fTextColor->Invalidate();
}
