/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <string.h>

#include <new>

#include <Alert.h>
#include <Font.h>
#include <TextView.h>
#include <Window.h>


static const char* kProgramName = "Web-Grazer ";
static const char* kVersion = "Vers.: 130113";


// The program's information alert: its name in large bold letters, its version and the
// text. It shows without waiting and goes away with its button or Escape.
void
DoAlert(const char* text)
{
	char composed[512];
	int length = snprintf(composed, sizeof(composed), "%s\n%s  %s\n", kProgramName, kVersion,
		text != NULL ? text : "");
	// A text cut to the buffer ends with a whole character.
	if (length >= (int)sizeof(composed)) {
		size_t end = strlen(composed);
		size_t start = end;
		while (start > 0 && ((unsigned char)composed[start - 1] & 0xc0) == 0x80)
			start--;
		if (start > 0 && (unsigned char)composed[start - 1] >= 0xc0) {
			unsigned char lead = (unsigned char)composed[start - 1];
			size_t needed = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
			if (end - (start - 1) < needed)
				composed[start - 1] = '\0';
		}
	}

	BAlert* alert = new (std::nothrow)
		BAlert("Info", composed, "OK", NULL, NULL, B_WIDTH_AS_USUAL, B_INFO_ALERT);
	if (alert == NULL) {
		printf("%s", composed);
		return;
	}

	BTextView* view = alert->TextView();
	view->SetStylable(true);
	BFont font;
	view->GetFont(&font);
	font.SetSize(18);
	font.SetFace(B_BOLD_FACE);
	view->SetFontAndColor(0, (int32)strlen(kProgramName), &font, B_FONT_ALL);

	alert->SetFlags(alert->Flags() | B_CLOSE_ON_ESCAPE);
	alert->Go(NULL);
}
