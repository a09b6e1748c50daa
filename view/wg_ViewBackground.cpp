/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>
#include <string.h>

#include <Bitmap.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


static const char* kPictureFolder = "Images";
static const char* kDefaultWallpaper = "_wallpaper.png";
static const size_t kNameBuffer = 1024;


BBitmap*
WView::GetVImage(char* name)
{
	if (name == NULL)
		return NULL;

	// A name is cut at an apostrophe, a question mark or a blank that stands after its
	// fifth byte and before its last one.
	const int32 limit = (int32)strlen(name) - 1;
	const struct {
		char character;
		const char* trace;
	} cuts[] = {
		{'\'', " (') %" B_PRId32 " abbruch bei %" B_PRId32 "\n"},
		{'?', " (?) %" B_PRId32 " abbruch bei %" B_PRId32 "\n"},
		{' ', " (?) %" B_PRId32 " abbruch bei %" B_PRId32 "\n"},
	};
	for (const auto& cut : cuts) {
		const char* found = strchr(name, cut.character);
		int32 index = found != NULL ? (int32)(found - name) : (int32)strlen(name);
		if (index > 4 && index < limit) {
			printf(cut.trace, limit, index);
			name[index] = '\0';
		}
	}

	// Names come from web pages: one that reaches out of the picture folder names no
	// picture (it would be loaded and stamped with a comment wherever it points).
	if (strchr(name, '/') != NULL) {
		printf(" not a picture name: '%s'\n", name);
		return NULL;
	}

	BString path(prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "");
	path << "/" << kPictureFolder << "/" << name;
	BBitmap* picture = GetImage(path.String());
	if (picture != NULL) {
		BString* first = labelList != NULL ? (BString*)labelList->ItemAt(0) : NULL;
		SetImageComment(path.String(), first != NULL ? first->String() : "");
	}
	return picture;
}


BBitmap*
WView::ChooseBitmap()
{
	BString* label = (BString*)labelList->ItemAt(0);
	BString* pattern = (BString*)patternList->ItemAt(0);

	BBitmap* picture = NULL;
	if (label != NULL && label->FindFirst("[BG_I") >= 0) {
		char name[kNameBuffer];
		snprintf(name, sizeof(name), "%s", pattern != NULL ? pattern->String() : "");
		picture = GetVImage(name);
		printf(" Alternate Wallpaper in Titel [1] '%s' \n", name);
		if (picture != NULL)
			SetImageComment(name, label->String());
	}

	if (picture == NULL) {
		char name[kNameBuffer];
		snprintf(name, sizeof(name), "%s", kDefaultWallpaper);
		picture = GetVImage(name);
	}
	return picture;
}


void
WView::TempBGImage(const char* value)
{
	if (image == NULL)
		return;
	image->Lock();

	char name[kNameBuffer];
	snprintf(name, sizeof(name), "bg_%s", value != NULL ? value : "");
	imageView->SetDrawingMode(B_OP_OVER);
	imageView->SetFontSize(prefs->opTextSize);

	BBitmap* picture = GetVImage(name);
	if (picture == NULL) {
		printf(" No TempBGImage \n");
		image->Unlock();
		return;
	}

	imageView->DrawBitmap(picture, picture->Bounds(), Bounds());
	delete picture;

	const int32 frameStyle = prefs->opNoneWallpaperStyle;
	if (Parent() != NULL && frameStyle == 1)
		_CutCorners();
	if (Parent() != NULL)
		_StrokeFrame(make_color(230, 230, 230, 0), frameStyle);

	imageView->Sync();
	image->Unlock();
}


// Makes three corners of the picture transparent, so that a rounded frame shows rounded.
void
WView::_CutCorners()
{
	const BRect b = Bounds();
	const float l = b.left, t = b.top, r = b.right, bt = b.bottom;
	const BRect cuts[] = {
		BRect(l, t, l + 1, t + 7),
		BRect(l, t, l + 2, t + 5),
		BRect(l, t, l + 5, t + 2),
		BRect(l, t, l + 7, t + 1),
		BRect(r - 1, t, r, t + 7),
		BRect(r - 2, t, r, t + 5),
		BRect(r - 5, t, r, t + 2),
		BRect(r - 7, t, r, t + 1),
		BRect(l, bt - 7, l + 1, bt),
		BRect(l, bt - 5, l + 2, bt),
		BRect(l, bt - 2, l + 5, bt),
		BRect(l, bt - 1, l + 7, bt),
	};

	imageView->SetLowColor(B_TRANSPARENT_COLOR);
	imageView->SetHighColor(B_TRANSPARENT_COLOR);
	for (const BRect& cut : cuts)
		imageView->FillRect(cut, B_SOLID_HIGH);
	imageView->Sync();
}
