/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_VIEW_H
#define _WG_VIEW_H


#include <List.h>
#include <Point.h>
#include <String.h>
#include <View.h>


class BBitmap;
class BDragger;
class BMenu;
class BMenuItem;
class BMessageRunner;
class BPopUpMenu;
class DSettWindow;
class Prefs;


// Message codes the view understands.
enum {
	kMsgPulse = 'wpls',
	kMsgUpdate = 'wvup',
	kMsgPrefsUpdate = 'wpup',
	kMsgPrefsClosed = 'wpcl',
	kMsgPrefsCloseNow = 'wpcx',
	kMsgPreferences = 'wvpr',
	kMsgQuit = 'wvqu',
	kMsgContext = 'wvco',
	kMsgNextPreset = 'fNPs',
	kMsgSelectPreset = 'fNPx',
	kMsgDeskbarSwitch = 'wvid',
	kMsgAbout = 'wvab',
	kMsgInfo = 'wvif',
	kMsgReplicantQuit = 'JAHA'
};


// The display view: draws the labels and values of the shown preset into its own picture and
// shows that picture. It lives in the main window, on a replicant shelf or in the Deskbar.
class WView : public BView {
public:
	WView(BRect frame);
	WView(BMessage* archive);
	virtual ~WView();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void MessageReceived(BMessage* message);
	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void Pulse();
	virtual void FrameResized(float width, float height);

	void Init();
	void Quit();
	bool QuitRequested();
	void SetPresetMenu();

	void MakeImage();
	void ResizeImage();
	void UpdateImage();
	void AddTextBlock(const char* text, float y, bool shadow);

	BBitmap* ChooseBitmap();
	void TempBGImage(const char* value);
	BBitmap* GetVImage(char* name);

	void SetPulse();
	void PresetSelector();
	void GetWgetData();

	void OpenPrefs();
	void ClosePrefs();
	void OpenContext(BPoint where);
	void SetContext(BPoint where);
	void CloseContext();
	void OpenMainPage();

	void AddToDeskbar(Prefs* prefs);
	void RemoveFromDeskbar();
	bool IsInDeskbar();

	Prefs* prefs;
	bool isReplicant;
	bool inDeskbar;
	bool fullRedraw;
	BDragger* dragger;
	DSettWindow* settWindow;
	float textY;
	int32 pulseCount;
	int32 presetNr;
	BBitmap* image;
	BView* imageView;
	BPopUpMenu* contextMenu;
	BMenuItem* aboutItem;
	BMenuItem* prefsItem;
	BMenuItem* nextItem;
	BMenuItem* quitItem;
	BMenuItem* deskbarItem;
	BMenu* presetMenu;
	BMessageRunner* pulseRunner;
	BString* statusText;
	BList* labelList;
	BList* valueList;
	BList* patternList;
	const char* pageTitle;
	const char* pageUrl;
	BPoint lastMouse;
	bool contextArmed;

private:
	void _SwitchDeskbar();
	void _UpdateImage();
	bool _UpdateWaiting();
	void _DropWaitingTicks();
	void _EmptyLists();
	void _CutCorners();
	void _StrokeFrame(rgb_color color, int32 frameStyle);
	void _DrawShadowed(const char* text, BPoint where, bool shadow, BPoint shadowOffset);
};


// The Deskbar's way in: a new view for the Deskbar's tray, in the Deskbar's process.
extern "C" _EXPORT BView* instantiate_deskbar_item();


// Opens a file with Tracker: mode 1 names a file of the program's folder, mode 0 a full
// path. The command runs in the background.
void OpenFileWithTracker(int mode, char* name);


#endif // _WG_VIEW_H
