/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_SETT_WINDOW_H
#define _WG_SETT_WINDOW_H


#include <Node.h>
#include <Window.h>


class BButton;
class BCheckBox;
class BEntry;
class BMenuField;
class BMessenger;
class BPopUpMenu;
class BSlider;
class BString;
class BStringView;
class BTextControl;
class BView;
class Prefs;


// The settings window's first frame: the settings store's default for its frame is built
// from these. The width is fixed; the height may grow by 50.
const float PWIN_X = 30;
const float PWIN_Y = 50;
const float PWIN_W = 660;
const float PWIN_H = 240;


// Message codes of the settings window's controls.
enum {
	kMsgUpdateSpeed = 'wpus',
	kMsgTextSize = 'fTsz',
	kMsgTextColor = 'fTco',
	kMsgPresetChosen = 'fSel',
	kMsgPresetFileChosen = 'fSpf',
	kMsgOpenPresets = 'fOPs',
	kMsgReloadSet = 'fRSt',
	kMsgGetSite = 'fGSi',
	kMsgViewSite = 'fOSc',
	kMsgPresetTest = 'fSTe'
};


// The window in which the user edits the options and works on presets. The display view
// that opens it hands it a messenger aimed at the view; the window speaks to the view only
// through it. Closing the window stores the options, saves them and tells the view.
class DSettWindow : public BWindow {
public:
	DSettWindow(BRect frame, BMessenger* messenger);
	virtual ~DSettWindow();

	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();
	virtual void FrameResized(float width, float height);

	virtual void Message2Repl(BMessage* message);
	virtual void AddOptionalByWinKey(BMessage* message);
	virtual void AboutRequested();

	void FillPresetMenu();
	void PresetMenuSelected();

	Prefs* prefs;
	BEntry* presetEntry;
	node_ref presetNodeRef;
	BMessenger* viewMessenger;
	BString* watchError;
	BView* bview;
	BPopUpMenu* SelPresetPopUp;
	BMenuField* SelPresetMF;
	BPopUpMenu* PresetPopUp;
	BMenuField* PresetMF;
	BSlider* fUpdate;
	BButton* fReloadSet;
	BButton* fOpenPreset;
	BButton* fGetSite;
	BButton* fOpenSrc;
	BButton* fScanTest;
	BTextControl* fTextSize;
	BTextControl* fTextColor;
	BCheckBox* fRoundStyle;
	BCheckBox* fUseLogbuch;
	BCheckBox* fUseCertOption;
	BCheckBox* fViewFailImage;
	BStringView* fUrl;
	BStringView* BottomInfo;

private:
	bool _DropChecks(BMessage* message);
	void _ShowTextColor();
	void _SetUpdateLabel();
};


#endif // _WG_SETT_WINDOW_H
