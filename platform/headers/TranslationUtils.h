/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TRANSLATION_UTILS_H
#define _TRANSLATION_UTILS_H


#include <GraphicsDefs.h>
#include <SupportDefs.h>
#include <TranslationDefs.h>


class BBitmap;
class BPositionIO;
class BTranslatorRoster;
struct entry_ref;


// Shortcuts to read pictures into bitmaps. Each returns a new bitmap that the caller owns,
// or NULL when the data cannot be read or translated. A NULL roster means the default
// one. The layer has no application resources, so names are always files.
class BTranslationUtils {
public:
	// A relative name is taken from the folder of the running executable, as the
	// application's folder.
	static BBitmap* GetBitmap(const char* name, BTranslatorRoster* roster = NULL);
	static BBitmap* GetBitmap(const entry_ref* ref, BTranslatorRoster* roster = NULL);
	static BBitmap* GetBitmap(BPositionIO* stream, BTranslatorRoster* roster = NULL);
	static BBitmap* GetBitmapFile(const char* name, BTranslatorRoster* roster = NULL);

private:
	BTranslationUtils();
	~BTranslationUtils();
	BTranslationUtils(const BTranslationUtils&);
	BTranslationUtils& operator=(const BTranslationUtils&);
};


#endif // _TRANSLATION_UTILS_H
