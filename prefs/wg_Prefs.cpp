/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Prefs.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <Directory.h>
#include <Entry.h>
#include <FindDirectory.h>
#include <InterfaceDefs.h>
#include <Node.h>
#include <OS.h>
#include <fs_attr.h>


// Window frames: left, top, width and height.
static const float kPrefsWindowLeft = 30;
static const float kPrefsWindowTop = 50;
static const float kPrefsWindowWidth = 660;
static const float kPrefsWindowHeight = 240;
static const float kMainWindowLeft = 30;
static const float kMainWindowTop = 50;
static const float kMainWindowWidth = 150;
static const float kMainWindowHeight = 80;

static const BRect kPrefsWindowRect(kPrefsWindowLeft, kPrefsWindowTop,
	kPrefsWindowLeft + kPrefsWindowWidth, kPrefsWindowTop + kPrefsWindowHeight);
static const BRect kMainWindowRect(kMainWindowLeft, kMainWindowTop,
	kMainWindowLeft + kMainWindowWidth, kMainWindowTop + kMainWindowHeight);

// The text sizes the view can draw in
static const int32 kMinTextSize = 4;
static const int32 kMaxTextSize = 128;

// Strings are read back through a buffer of this size: 255 bytes of text and the NUL.
static const size_t kMaxStringAttr = 256;


Prefs* Prefs::aPrefsZgr = NULL;


Prefs::Prefs()
	: fatal(false), stat(false), settWindowOpen(false), PresetAtView(0),
	  nextUpdateDue(system_time() - 1000000), viewSize(0, 0, kMainWindowWidth, kMainWindowHeight),
	  presetList(NULL), prefs_window_rect(kPrefsWindowRect), opWinRect(kMainWindowRect),
	  window_by_begin(true), wget_avalibel(false), pageLoaded(false), opFirstOpen(false),
	  opInDeskbar(false), opShowImgNames(false), opFixedViewSize(true),
	  // The log book is switched on until the settings say otherwise, so that every start
	  // begins a new log book and it never grows across runs.
	  opUseLog(true), opUseCertOption(false), opUseTagCounting(true), opViewFailImage(false),
	  opUpdateSpeed(0), opTextSize(11), opNoneWallpaperStyle(1), scratch(0), settingsFile(NULL),
	  presetLock("preset list"), fRetiredPresets(20), fReadOnly(false)
{
	// Whatever the construction calls finds this instance, never a second one.
	aPrefsZgr = this;
	memset(tagList, 0, sizeof(tagList));
	printf("got new SINGLETON-Prefs\n");

	BPath settingsPath;
	_SettingsPath(&settingsPath, false);

	Logbuch(1, NULL, "Init-Prefs", true, true);

	opColor = ui_color(B_PANEL_BACKGROUND_COLOR);
	opTextColor = make_color(30, 30, 30, 0);
	boxColor = make_color(200, 200, 200, 50);
	stat = false;
	fatal = false;

	InitCheck();

	presetList = new BList(20);
	settingsFile = new BFile(settingsPath.Path(), B_READ_WRITE | B_CREATE_FILE);
	if (settingsFile->InitCheck() != B_OK && BEntry(settingsPath.Path()).IsFile()) {
		// A settings file that can only be read still holds the user's settings.
		BFile* readOnly = new BFile(settingsPath.Path(), B_READ_ONLY);
		if (readOnly->InitCheck() == B_OK) {
			delete settingsFile;
			settingsFile = readOnly;
			fReadOnly = true;
			printf("Settings can't be saved: '%s' is read-only\n", settingsPath.Path());
		} else
			delete readOnly;
	}

	stat = LoadPrefs();
	printf("Prefs after Load stat:%d | fatal:%d )\n", stat, fatal);

	if (fatal && !fReadOnly) {
		delete settingsFile;
		printf(" NEW  - prefs.file \n");
		settingsFile = new BFile(settingsPath.Path(), B_READ_WRITE | B_CREATE_FILE);
		Save();
		stat = LoadPrefs();
	}

	GetPresets();
	GetTagList();
}


Prefs::~Prefs()
{
	Save();
	delete settingsFile;
	settingsFile = NULL;

	// Nothing can point into the presets any more once the store is gone.
	presetLock.Lock();
	ReleaseRetiredPresets();
	for (int32 i = presetList->CountItems() - 1; i >= 0; i--)
		delete (Preset*)presetList->ItemAt(i);
	presetList->MakeEmpty();
	delete presetList;
	presetList = NULL;
	presetLock.Unlock();

	if (aPrefsZgr == this)
		aPrefsZgr = NULL;
}


void
Prefs::DeleteMe()
{
	delete this;
	aPrefsZgr = NULL;
	printf("DESTROY-Prefs::DeleteMe()\n");
}


Prefs*
Prefs::getSTPrefs()
{
	if (aPrefsZgr == NULL)
		new Prefs();
	return aPrefsZgr;
}


void
Prefs::_SettingsPath(BPath* path, bool create)
{
	if (find_directory(B_USER_SETTINGS_DIRECTORY, path, create) != B_OK) {
		path->Unset();
		return;
	}
	path->Append(WG_SETTINGS_FOLDER);
	if (!create)
		path->Append(WG_SETTINGS_FILE);
}


void
Prefs::InitCheck()
{
	BPath folder;
	_SettingsPath(&folder, true);
	if (folder.InitCheck() != B_OK) {
		printf(">> no settings folder\n");
		return;
	}

	BDirectory directory(folder.Path());
	if (directory.InitCheck() != B_OK) {
		mkdir(folder.Path(), 0755);
		printf(">> musste machen: %s\n", folder.Path());
		directory.SetTo(folder.Path());
	}

	if (directory.Contains(WG_SETTINGS_FILE)) {
		BFile file(&directory, WG_SETTINGS_FILE, B_READ_WRITE | B_CREATE_FILE);
		if (file.InitCheck() == B_OK)
			printf("[File found]\n");
		else
			printf("[init error]\n");
	} else {
		printf("[File not found]\n");
		BFile file;
		if (directory.CreateFile(WG_SETTINGS_FILE, &file) == B_OK)
			printf("[File created]\n");
	}
}


bool
Prefs::LoadPrefs()
{
	BRect rect;
	bool flag;
	rgb_color color;
	char text[512];

	rect = kPrefsWindowRect;
	if (!GetRect("prefs_window_rect", &prefs_window_rect, &rect))
		return false;
	flag = false;
	if (!GetBool("window_by_begin", &window_by_begin, &flag))
		return false;
	wget_avalibel = true;
	if (!GetBool("wget_avalibel", &wget_avalibel, &wget_avalibel))
		return false;
	rect = kMainWindowRect;
	if (!GetRect("opWinRect", &opWinRect, &rect))
		return false;
	opFirstOpen = false;
	if (!GetBool("opFirstOpen", &opFirstOpen, &opFirstOpen))
		return false;
	opFixedViewSize = true;
	if (!GetBool("opFixedViewSize", &opFixedViewSize, &opFixedViewSize))
		return false;
	opUseLog = true;
	if (!GetBool("opUseLog", &opUseLog, &opUseLog))
		return false;
	opViewFailImage = false;
	if (!GetBool("opViewFailImage", &opViewFailImage, &opViewFailImage))
		return false;
	opShowImgNames = false;
	if (!GetBool("opShowImgNames", &opShowImgNames, &opShowImgNames))
		return false;
	opShowImgNames = true;
	opUseCertOption = true;
	if (!GetBool("opUseCertOption", &opUseCertOption, &opUseCertOption))
		return false;

	scratch = 7;
	if (!GetInt("opUpdateSpeed", &opUpdateSpeed, &scratch))
		return false;
	// A negative speed means standby, as 0 does.
	if (opUpdateSpeed < 0)
		opUpdateSpeed = 0;
	scratch = 11;
	if (!GetInt("opTextSize", &opTextSize, &scratch))
		return false;
	// A text size no font can be drawn in is held to the nearest sane one.
	if (opTextSize < kMinTextSize)
		opTextSize = kMinTextSize;
	if (opTextSize > kMaxTextSize)
		opTextSize = kMaxTextSize;
	scratch = 1;
	if (!GetInt("opNoneWallpaperStyle", &opNoneWallpaperStyle, &scratch))
		return false;

	color = make_color(30, 30, 30, 24);
	if (!GetCol("opTextColor", &opTextColor, &color))
		return false;

	BPath apps;
	if (find_directory(B_APPS_DIRECTORY, &apps) == B_OK && apps.Append("Webgrazer") == B_OK)
		PathToApp = apps;
	else
		PathToApp.Unset();
	snprintf(text, sizeof(text), "%s", PathToApp.Path() != NULL ? PathToApp.Path() : "");
	if (!GetStr("PathToApp", text, text)) {
		BPath home;
		if (find_directory(B_USER_DIRECTORY, &home) == B_OK)
			PathToApp = home;
		else
			PathToApp.Unset();
		return false;
	}
	PathToApp.SetTo(text);

	PresetName = WG_DEFAULT_PRESET_FILE;
	snprintf(text, sizeof(text), "%s", WG_DEFAULT_PRESET_FILE);
	if (!GetStr("PresetName", text, text))
		return false;
	PresetName = text;

	opUseTagCounting = true;
	if (!GetBool("opUseTagCounting", &opUseTagCounting, &opUseTagCounting))
		return false;

	return true;
}


bool
Prefs::Save()
{
	printf("Prefs -Save \n");

	if (!PutRect("prefs_window_rect", &prefs_window_rect)
		|| !PutBool("window_by_begin", &window_by_begin)
		|| !PutBool("wget_avalibel", &wget_avalibel) || !PutRect("opWinRect", &opWinRect)
		|| !PutBool("opFirstOpen", &opFirstOpen) || !PutBool("opShowImgNames", &opShowImgNames)
		|| !PutBool("opFixedViewSize", &opFixedViewSize) || !PutBool("opUseLog", &opUseLog)
		|| !PutBool("opUseCertOption", &opUseCertOption)
		|| !PutBool("opViewFailImage", &opViewFailImage)
		|| !PutStr("PathToApp", PathToApp.Path() != NULL ? PathToApp.Path() : "")
		|| !PutInt("opUpdateSpeed", &opUpdateSpeed) || !PutInt("opTextSize", &opTextSize)
		|| !PutCol("opTextColor", &opTextColor) || !PutCol("opColor", &opColor)
		|| !PutInt("opNoneWallpaperStyle", &opNoneWallpaperStyle)
		|| !PutBool("opUseTagCounting", &opUseTagCounting)
		|| !PutStr("PresetName", PresetName.String())) {
		return false;
	}

	printf("Prefs -Save ok\n");
	return true;
}


void
Prefs::PrintToStream()
{
	printf("\n--Prefs--\n\n");
	printf("        PathToApp: '%s'\n", PathToApp.Path() != NULL ? PathToApp.Path() : "");
	printf("prefs_window_rect: ");
	prefs_window_rect.PrintToStream();
	printf("        opWinRect: ");
	opWinRect.PrintToStream();
	printf("  window_by_begin: '%d'\n", window_by_begin);
	printf("      opFirstOpen: '%d'\n", opFirstOpen);
	printf("      opInDeskbar: '%d'\n", opInDeskbar);
	printf("    opUpdateSpeed: '%" B_PRId32 "'\n", opUpdateSpeed);
	printf("       opTextSize: '%" B_PRId32 "'\n", opTextSize);
	printf("    wget_avalibel: '%d'\n", wget_avalibel);
	printf("     PresetAtView: '%" B_PRId32 "'\n", PresetAtView);
}


//	#pragma mark - attribute access


// Reads a value of a fixed size. A stored value of another type, or one shorter than the
// value, is taken as missing, so that it is replaced by the default like a missing one.
// Returns the bytes read, B_ENTRY_NOT_FOUND or another error.
static ssize_t
read_value(BFile* file, const char* key, type_code type, void* buffer, size_t size)
{
	if (file == NULL)
		return B_NO_INIT;

	attr_info info;
	status_t status = file->GetAttrInfo(key, &info);
	if (status == B_OK && (info.type != type || (size_t)info.size < size))
		return B_ENTRY_NOT_FOUND;

	ssize_t result = file->ReadAttr(key, type, 0, buffer, size);
	if (result >= 0 && (size_t)result < size)
		return B_ENTRY_NOT_FOUND;
	return result;
}


bool
Prefs::_WriteAttr(const char* key, type_code type, const void* value, size_t size, bool isString)
{
	// The user was told once that the settings can't be saved.
	if (fReadOnly)
		return false;
	ssize_t written = settingsFile != NULL ? settingsFile->WriteAttr(key, type, 0, value, size)
										   : (ssize_t)B_NO_INIT;
	if (written >= 0)
		return true;

	if (isString) {
		printf("Unknown error writing %s '%s' \n%s\n", key, (const char*)value,
			strerror((int)written));
	} else
		printf("Unknown error writing %s:\n%s\n", key, strerror((int)written));
	fatal = true;
	return false;
}


// Shared by the loaders: takes the value read, or stores the default when the key is
// missing. `value` and `deflt` may be the same place.
bool
Prefs::_ReadFixed(const char* key, type_code type, void* value, size_t size, const void* deflt)
{
	uint8 buffer[sizeof(BRect)];
	ssize_t result = read_value(settingsFile, key, type, buffer, size);

	if (result == B_ENTRY_NOT_FOUND) {
		memmove(value, deflt, size);
		if (fReadOnly)
			return true;
		ssize_t written = settingsFile->WriteAttr(key, type, 0, value, size);
		bool failed = type == B_RGB_COLOR_TYPE ? written != 4 : written < 0;
		if (failed) {
			printf("WriteAttr on %s died\n", key);
			fatal = true;
			return false;
		}
		return true;
	}
	if (result < 0) {
		printf("Unknown error reading %s:\n%s\n", key, strerror((int)result));
		fatal = true;
		return false;
	}

	memcpy(value, buffer, size);
	return true;
}


bool
Prefs::GetInt(const char* key, int32* value, int32* deflt)
{
	return _ReadFixed(key, B_INT32_TYPE, value, sizeof(int32), deflt);
}


bool
Prefs::GetBool(const char* key, bool* value, bool* deflt)
{
	// Any byte other than 0 reads as true.
	uint8 byte = *deflt ? 1 : 0;
	uint8 defaultByte = byte;
	if (!_ReadFixed(key, B_BOOL_TYPE, &byte, 1, &defaultByte))
		return false;
	*value = byte != 0;
	return true;
}


bool
Prefs::GetRect(const char* key, BRect* value, BRect* deflt)
{
	float buffer[4];
	float defaultBuffer[4] = {deflt->left, deflt->top, deflt->right, deflt->bottom};
	if (!_ReadFixed(key, B_RECT_TYPE, buffer, sizeof(buffer), defaultBuffer))
		return false;
	value->Set(buffer[0], buffer[1], buffer[2], buffer[3]);
	return true;
}


bool
Prefs::GetCol(const char* key, rgb_color* value, rgb_color* deflt)
{
	return _ReadFixed(key, B_RGB_COLOR_TYPE, value, sizeof(rgb_color), deflt);
}


bool
Prefs::GetStr(const char* key, char* value, char* deflt)
{
	char buffer[kMaxStringAttr];
	ssize_t result = settingsFile != NULL
		? settingsFile->ReadAttr(key, B_STRING_TYPE, 0, buffer, sizeof(buffer))
		: (ssize_t)B_NO_INIT;

	if (result == B_ENTRY_NOT_FOUND) {
		if (value != deflt) {
			snprintf(value, kMaxStringAttr, "%s", deflt);
		}
		if (fReadOnly)
			return true;
		ssize_t written = settingsFile->WriteAttr(key, B_STRING_TYPE, 0, value, strlen(value) + 1);
		if (written < 0) {
			printf("WriteAttr on %s died\n", key);
			fatal = true;
			return false;
		}
		return true;
	}
	if (result < 0) {
		printf("Unknown error reading %s:\n%s\n", key, strerror((int)result));
		fatal = true;
		return false;
	}

	// A stored text may lack its NUL or be longer than the buffer: it ends at the first NUL,
	// and after 255 bytes at the latest.
	buffer[min_c((size_t)result, kMaxStringAttr - 1)] = '\0';
	strcpy(value, buffer);

	// An over-long stored text would take the room of the other settings: it is replaced by
	// the part that was read.
	attr_info info;
	if (!fReadOnly && settingsFile->GetAttrInfo(key, &info) == B_OK
		&& info.size > (off_t)kMaxStringAttr) {
		printf("%s was too long: cut to %zu bytes\n", key, strlen(value));
		settingsFile->WriteAttr(key, B_STRING_TYPE, 0, value, strlen(value) + 1);
	}
	return true;
}


bool
Prefs::PutInt(const char* key, int32* value)
{
	return _WriteAttr(key, B_INT32_TYPE, value, sizeof(int32), false);
}


bool
Prefs::PutBool(const char* key, bool* value)
{
	uint8 byte = *value ? 1 : 0;
	return _WriteAttr(key, B_BOOL_TYPE, &byte, 1, false);
}


bool
Prefs::PutRect(const char* key, BRect* value)
{
	float buffer[4] = {value->left, value->top, value->right, value->bottom};
	return _WriteAttr(key, B_RECT_TYPE, buffer, sizeof(buffer), false);
}


bool
Prefs::PutStr(const char* key, const char* value)
{
	if (value == NULL)
		value = "";
	return _WriteAttr(key, B_STRING_TYPE, value, strlen(value) + 1, true);
}


bool
Prefs::PutCol(const char* key, rgb_color* value)
{
	return _WriteAttr(key, B_RGB_COLOR_TYPE, value, sizeof(rgb_color), false);
}
