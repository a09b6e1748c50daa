/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <Bitmap.h>
#include <BitmapStream.h>
#include <File.h>
#include <TranslatorRoster.h>
#include <TypeConstants.h>


BBitmap*
GetImage(const char* path)
{
	BBitmapStream* stream = new BBitmapStream();
	BTranslatorRoster* roster = BTranslatorRoster::Default();
	BFile file(path, B_READ_ONLY);

	BBitmap* bitmap = NULL;
	if (file.InitCheck() == B_OK && roster != NULL) {
		status_t status = roster->Translate(&file, NULL, NULL, stream, B_TRANSLATOR_BITMAP);
		if (status < B_OK) {
			printf("\xc2\xa0"
				   "can't translate '%s'\n",
				path);
			delete stream;
			return NULL;
		}
		if (stream->DetachBitmap(&bitmap) != B_OK)
			bitmap = NULL;
	}
	delete stream;
	return bitmap;
}


void
SetImageComment(const char* path, const char* comment)
{
	BFile file(path, B_READ_WRITE);
	if (file.InitCheck() != B_OK)
		return;

	time_t now = time(NULL);
	struct tm local;
	localtime_r(&now, &local);

	// A comment longer than 55 bytes is cut, so that the text stays below 64 bytes (the
	// buffer is larger only because the compiler cannot know that a date has two digits).
	char text[96];
	if (comment == NULL) {
		snprintf(text, sizeof(text), "wg_%02i%02i", local.tm_mon + 1, local.tm_mday);
		file.WriteAttr("Media:Comment", B_STRING_TYPE, 0, text, strlen(text) + 1);
	} else {
		snprintf(text, sizeof(text), "%.55s wg_%02i%02i", comment, local.tm_mon + 1, local.tm_mday);
		file.WriteAttr("Media:Comment", B_STRING_TYPE, 0, text, strlen(text));
	}
}
