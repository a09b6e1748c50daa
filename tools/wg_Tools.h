/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_TOOLS_H
#define _WG_TOOLS_H


#include <stdio.h>

#include <GraphicsDefs.h>
#include <List.h>
#include <String.h>
#include <SupportDefs.h>


class BBitmap;


// Extraction: the values that follow each label's search pattern in the cleaned page.
// The three lists hold BString pointers, one per label pair; only valueList is changed.
void ExtractContent(const char* path, BList* patternList, BList* labelList, BList* valueList);

// Tokenizers for "@"-joined values and for words. Each returns 1 and the next piece in
// `out`, or 0 when there is none. A text of another length than the last one restarts
// them, so callers prime them with a short text first. `out` must hold the longest piece
// and its NUL, that is at most strlen(text) + 1 bytes.
int TupExtract(const char* text, char* out);
int TxExtract(const char* text, char* out);

// Cleaning passes; each rewrites the file at `path` in place.
void AddBreaksInFile(const char* path);
void ReplaceCriticals(const char* path);
void TagCounter(const char* path);

// Page fetch.
const char* GetPathWG(const char* base, const char* name1, const char* name2);
// Downloads end after 45 seconds at the latest, and a page may be at most 32 MiB large.
void XDownloadUrl(const char* url);
// Tells running and later downloads to stop at once (the program quits), or no longer to.
void AbortDownloads(bool abort);
void ReceiveX_wget(const char* url, BList* patternList, BList* labelList, BList* valueList);

// The file that holds the downloaded page, and its folder.
BString ScratchPath();

// `text` in apostrophes for the shell, an apostrophe inside written as '\''.
BString ShellQuoted(const char* text);

// The program's information alert; returns at once.
void DoAlert(const char* text);

// Small tools.
int h2u(char digit);
int hex2int(const char* text);
void txt2col(const char* text, rgb_color* color);
bool IfExist(const char* path);
BBitmap* GetImage(const char* path);
void SetImageComment(const char* path, const char* comment);


// The built-in presets: host name, page address, then label and search pattern pairs,
// closed by a NULL entry. A NULL pattern is written as " !empty! ".
extern const char* DefaultPresetA[];
extern const char* DefaultPresetB[];
extern const char* DefaultPresetC[];
extern const char* DefaultPresetD[];
extern const char* DefaultPresetE[];

// Writes one built-in preset as header, pair lines and trailer.
void SaveSinglePresets(FILE* stream, const char** table);

// Both write the built-in presets A to E into "Presets.txt" of the program's folder.
void SaveDefaultPresets();
void SavePresets();


#endif // _WG_TOOLS_H
