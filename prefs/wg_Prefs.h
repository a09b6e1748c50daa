/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_PREFS_H
#define _WG_PREFS_H


#include <stdio.h>

#include <atomic>

#include <File.h>
#include <GraphicsDefs.h>
#include <List.h>
#include <Locker.h>
#include <Message.h>
#include <Path.h>
#include <Rect.h>
#include <String.h>
#include <SupportDefs.h>


class BPopUpMenu;


// The settings folder below the user settings directory, and the settings file in it.
#define WG_SETTINGS_FOLDER "_LP_x-vnd.QK"
#define WG_SETTINGS_FILE "Webgrazer_settings"
#define WG_LOG_FILE "Webgrazer.log"
#define WG_TAG_LIST_FILE "TagList.txt"
#define WG_DEFAULT_PRESET_FILE "Presets.txt"

const int32 kTagCount = 25;
const int32 kTagPatternSize = 48;


// One preset: a list of BString pointers read in pairs. Pair 0 is the host name and the page
// address, every later pair a display label (or a marker) and its search pattern.
// The preset owns its strings.
class Preset : public BList {
public:
	Preset();
	virtual ~Preset();

	int32
	CountPairs() const
	{
		return CountItems() / 2;
	}
	const char* TextAt(int32 index) const;
};


// One entry of the tag table: a pattern and the number of times the counting pass met it.
struct TagEntry {
	char pattern[kTagPatternSize];
	int32 count;
};


// The settings of a process: options held as attributes of the settings file, the window
// frames, the flags the windows and the view share, the preset list and the tag table.
// There is one instance, reached through getSTPrefs().
class Prefs {
public:
	virtual ~Prefs();
	virtual void DeleteMe();

	static Prefs* getSTPrefs();

	void InitCheck();
	bool LoadPrefs();
	bool Save();
	void PrintToStream();

	bool GetInt(const char* key, int32* value, int32* deflt);
	bool GetBool(const char* key, bool* value, bool* deflt);
	bool GetRect(const char* key, BRect* value, BRect* deflt);
	bool GetStr(const char* key, char* value, char* deflt);
	bool GetCol(const char* key, rgb_color* value, rgb_color* deflt);

	bool PutInt(const char* key, int32* value);
	bool PutBool(const char* key, bool* value);
	bool PutRect(const char* key, BRect* value);
	bool PutStr(const char* key, const char* value);
	bool PutCol(const char* key, rgb_color* value);

	void Logbuch(int32 mode, BMessage* message, const char* text, bool stamp, bool newline);
	// Appends text to the log book as it is, in one write: what several calls of
	// Logbuch() without stamp or message would have written.
	void AppendToLogbuch(const char* text, size_t length);
	void GetTagList();
	void GetPresets();

	// The settings window's menus: the presets of the preset list, and the preset files of
	// the program's folder (every regular file whose name contains "Presets"). Both empty
	// the menu first; the items have no target, so they speak to the window that shows them.
	void FillPopUpMenu(BPopUpMenu* menu);
	void ScanForPresets(BPopUpMenu* menu);

	// Presets dropped by a reload of the preset file stay valid until the view's
	// next preset selection, which calls this under presetLock once it no longer
	// points into them.
	void ReleaseRetiredPresets();

	static Prefs* aPrefsZgr;

	bool fatal;
	bool stat;
	// The settings window sets it on its own thread; the view reads it on its window's.
	std::atomic<bool> settWindowOpen;
	int32 PresetAtView;
	bigtime_t nextUpdateDue;
	BRect viewSize;
	TagEntry tagList[kTagCount];
	rgb_color boxColor;
	rgb_color opTextColor;
	rgb_color opColor;
	BList* presetList;
	BPath PathToApp;
	BString PresetName;
	BRect prefs_window_rect;
	BRect opWinRect;
	bool window_by_begin;
	bool wget_avalibel;
	bool pageLoaded;
	bool opFirstOpen;
	bool opInDeskbar;
	bool opShowImgNames;
	bool opFixedViewSize;
	bool opUseLog;
	bool opUseCertOption;
	bool opUseTagCounting;
	bool opViewFailImage;
	int32 opUpdateSpeed;
	int32 opTextSize;
	int32 opNoneWallpaperStyle;
	int32 scratch;
	BFile* settingsFile;

	// Guards presetList and the retired presets against a reload on another thread.
	BLocker presetLock;

private:
	Prefs();

	bool _ReadFixed(const char* key, type_code type, void* value, size_t size, const void* deflt);
	bool _WriteAttr(const char* key, type_code type, const void* value, size_t size, bool isString);
	void _SettingsPath(BPath* path, bool create);

	BList fRetiredPresets;
	// The settings file could be opened for reading only: settings are read, not saved.
	bool fReadOnly;
};


// Reads the preset file into the settings store's list.
void LoadPresets();

// Opens a file for reading as fopen() does, but only a regular file: a pipe, a device or a
// folder is refused with a console line (reading one could wait for ever or never end).
FILE* OpenRegularFile(const char* path);

// The four characters of a message code as text; the buffer is valid until the next call.
char* long2asc(uint32 code);


#endif // _WG_PREFS_H
