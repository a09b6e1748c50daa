/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>
#include <string.h>

#include <new>

#include <Bitmap.h>
#include <Font.h>
#include <InterfaceDefs.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


// Work buffers of a line: its value, and each token of it.
static const size_t kValueBuffer = 1024;
static const size_t kTokenBuffer = 1024;
static const size_t kBlockBuffer = 2048;

static const rgb_color kFrameOnPicture = {230, 230, 230, 0};
static const rgb_color kFramePlain = {20, 20, 20, 0};
static const rgb_color kMissingImage = {230, 80, 80, 0};
static const rgb_color kStandby = {80, 80, 250, 0};
static const rgb_color kNotice = {230, 180, 80, 0};


static bool
starts_with(const BString* text, const char* marker)
{
	return text != NULL && text->FindFirst(marker) == 0;
}


static bool
is_image_token(const char* token)
{
	return strstr(token, ".png") != NULL || strstr(token, ".jpg") != NULL
		|| strstr(token, ".gif") != NULL;
}


void
WView::MakeImage()
{
	BRect bounds = Bounds();
	image = new BBitmap(bounds, B_RGBA32, true, false);
	imageView = new BView(bounds, "imageBitch", B_FOLLOW_ALL_SIDES, 0);
	imageView->SetFont(be_bold_font, B_FONT_ALL);
	imageView->SetFontSize(11);
	imageView->SetViewColor(B_TRANSPARENT_32_BIT);
	image->AddChild(imageView);
}


void
WView::ResizeImage()
{
	if (image != NULL) {
		delete image;
		image = NULL;
		imageView = NULL;
	} else
		printf(" There is no Image to Resize!\n");

	MakeImage();
	fullRedraw = false;
	UpdateImage();
}


void
WView::Draw(BRect updateRect)
{
	BView::Draw(updateRect);
	SetDrawingMode(B_OP_OVER);
	if (image != NULL)
		DrawBitmap(image, Bounds(), Bounds());
}


// Draws text in the text colour, first offset in the shadow colour when asked to.
void
WView::_DrawShadowed(const char* text, BPoint where, bool shadow, BPoint shadowOffset)
{
	if (shadow) {
		imageView->SetHighColor(prefs->boxColor);
		imageView->DrawString(text, where + shadowOffset);
	}
	imageView->SetHighColor(prefs->opTextColor);
	imageView->DrawString(text, where);
}


void
WView::_StrokeFrame(rgb_color color, int32 frameStyle)
{
	imageView->SetHighColor(color);
	if (frameStyle == 1) {
		imageView->SetPenSize(2);
		imageView->StrokeRoundRect(imageView->Bounds(), 10.5, 10.5);
	} else {
		imageView->SetPenSize(1);
		imageView->StrokeRect(imageView->Bounds());
	}
	imageView->SetPenSize(1);
	imageView->Sync();
}


// Any update of the picture: an update that runs out of memory (a huge page, say) fails
// with a notice and the view goes on.
void
WView::UpdateImage()
{
	try {
		_UpdateImage();
	} catch (const std::bad_alloc&) {
		printf("WView::UpdateImage: out of memory, update given up\n");
	}
}


void
WView::_UpdateImage()
{
	// After Quit there is nothing left to draw with.
	if (image == NULL || imageView == NULL || labelList == NULL)
		return;

	const bool viewFailImage = prefs->opViewFailImage;
	const int32 frameStyle = prefs->opNoneWallpaperStyle;

	if (fullRedraw)
		PresetSelector();

	image->Lock();
	imageView->SetFontSize(prefs->opTextSize);
	imageView->SetDrawingMode(B_OP_OVER);
	const BRect bounds = Bounds();

	bool bgDrawn = false;
	BBitmap* background = ChooseBitmap();
	if (background != NULL) {
		imageView->DrawBitmap(background, background->Bounds(), bounds);
		delete background;
		bgDrawn = true;
		if (Parent() != NULL && frameStyle == 1)
			_CutCorners();
		imageView->Sync();
	} else {
		printf(" No ChooseBitmap \n");
		if (Parent() == NULL) {
			imageView->SetHighColor(prefs->opColor);
			imageView->FillRect(imageView->Bounds());
		} else {
			imageView->SetHighColor(B_TRANSPARENT_32_BIT);
			imageView->SetLowColor(B_TRANSPARENT_32_BIT);
			imageView->FillRect(imageView->Bounds());
		}
		imageView->Sync();
	}

	if (Parent() != NULL)
		_StrokeFrame(bgDrawn ? kFrameOnPicture : kFramePlain, frameStyle);

	imageView->Sync();
	image->Unlock();
	image->Lock();

	if (fullRedraw)
		GetWgetData();
	fullRedraw = true;

	const float lineHeight = prefs->opTextSize + 4;
	const float maxTextWidth = bounds.InsetByCopy(-1, -1).Width() - 25;
	textY = 18;
	const int32 count = labelList->CountItems();
	SetFontSize(prefs->opTextSize);
	imageView->SetDrawingMode(B_OP_OVER);
	imageView->SetFontSize(prefs->opTextSize);
	rgb_color light = tint_color(prefs->opTextColor, 0.0);
	imageView->SetViewColor(light);
	imageView->SetLowColor(light);

	// First pass: markers that change the lists.
	for (int32 i = 0; i < count; i++) {
		BString* label = (BString*)labelList->ItemAt(i);
		BString* value = (BString*)valueList->ItemAt(i);
		if (label == NULL || value == NULL)
			continue;
		if (starts_with(label, "[ROW_UP]"))
			value->SetTo(" ");
		if (starts_with(label, "[BGF")) {
			TempBGImage(value->String());
			continue;
		}
		if (label->FindFirst("[ADD_PNG]") >= 0 && value->FindFirst(".png") < 0) {
			label->RemoveAll("[ADD_PNG]");
			value->RemoveAll(" ");
			value->Append(".png");
			int32 chance = value->FindFirst("Chance");
			if (chance > 0)
				value->Remove(0, chance);
		}
	}

	// Second pass: the lines.
	float valueColumn = 0;
	char work[kValueBuffer];
	char token[kTokenBuffer];
	for (int32 i = 0; i < count; i++) {
		BString* label = (BString*)labelList->ItemAt(i);
		BString* value = (BString*)valueList->ItemAt(i);
		if (label == NULL || value == NULL)
			continue;

		if (i == 1) {
			imageView->SetHighColor(prefs->opTextColor);
			imageView->SetDrawingMode(B_OP_MIN);
			imageView->FillRect(BRect(bounds.left + 5, textY - 12, bounds.right - 5, textY - 11));
			imageView->SetDrawingMode(B_OP_OVER);
			textY += 5;
		}

		if (starts_with(label, "[BG_") || starts_with(label, "[BGF")
			|| starts_with(label, "[VIEW_SIZE")) {
			continue;
		}
		if (starts_with(label, "[ROW_UP]")) {
			textY -= lineHeight;
			continue;
		}

		// Longer values are cut to the buffer; a value of one character gets a blank first.
		if (value->Length() == 1)
			snprintf(work, sizeof(work), " %s", value->String());
		else
			snprintf(work, sizeof(work), "%s", value->String());

		float xOffset = 0;
		int32 images = 0;
		int32 texts = 0;
		TupExtract("$", token);
		while (TupExtract(work, token) == 1) {
			if (is_image_token(token)) {
				BBitmap* picture = GetVImage(token);
				if (picture != NULL) {
					BRect pictureBounds = picture->Bounds();
					float width = pictureBounds.right - pictureBounds.left;
					float height = pictureBounds.bottom - pictureBounds.top;
					imageView->SetHighColor(prefs->opTextColor);
					imageView->SetFontSize(prefs->opTextSize);
					if (images == 0) {
						_DrawShadowed(
							label->String(), BPoint(8, textY + 10), bgDrawn, BPoint(2, 1));
					}
					BPoint pen = imageView->PenLocation();
					imageView->SetHighColor(ViewColor());
					imageView->DrawBitmap(
						picture, BPoint(pen.x + 3 + xOffset, pen.y - height * 0.5f - 5));
					imageView->Sync();
					xOffset += width + 6;
					delete picture;
					images++;
					if (images == 1)
						textY += height * 0.5f + 15;
				} else {
					imageView->SetHighColor(kMissingImage);
					imageView->DrawString(label->String(), BPoint(8, textY + 10));
					if (viewFailImage) {
						imageView->DrawString("mis.: ");
						imageView->DrawString(token);
						prefs->Logbuch(0, NULL, "missing:", true, true);
						prefs->Logbuch(0, NULL, token, true, true);
					}
					textY += lineHeight;
				}
				continue;
			}

			float labelWidth = StringWidth(label->String());
			if (starts_with(label, "[BLOCK]")) {
				AddTextBlock(token, textY, bgDrawn);
				valueColumn = imageView->PenLocation().x;
				textY += lineHeight;
				texts++;
				continue;
			}

			if (texts == 0) {
				_DrawShadowed(label->String(), BPoint(8, textY), bgDrawn, BPoint(2, 1));
				valueColumn = imageView->PenLocation().x;
			} else {
				imageView->SetHighColor(prefs->opTextColor);
				imageView->DrawString(",", BPoint(valueColumn - 5, textY));
			}
			BString shown(token);
			if (StringWidth(token) + labelWidth > maxTextWidth)
				TruncateString(&shown, B_TRUNCATE_END, maxTextWidth - (labelWidth + 42));
			_DrawShadowed(shown.String(), BPoint(valueColumn, textY), bgDrawn, BPoint(2, 1));
			textY += lineHeight;
			texts++;
		}
		imageView->Sync();
	}

	if (prefs->opUpdateSpeed == 0) {
		const char* standby = "-= Standby =-";
		float width = imageView->StringWidth(standby);
		BPoint where((bounds.right - bounds.left - width) * 0.5f, bounds.bottom - 12);
		imageView->SetHighColor(prefs->boxColor);
		imageView->DrawString(standby, where + BPoint(2, 1));
		imageView->SetHighColor(kStandby);
		imageView->DrawString(standby, where);
		imageView->Sync();
	}
	if (!prefs->wget_avalibel) {
		imageView->SetHighColor(kNotice);
		imageView->DrawString(" Missing 'wget' !", BPoint(20, bounds.bottom - 22));
		imageView->Sync();
	}
	if (prefs->settWindowOpen) {
		imageView->SetHighColor(kNotice);
		imageView->DrawString(" settings = no auto-update !", BPoint(20, bounds.bottom - 5));
		imageView->Sync();
	}
	if (!prefs->pageLoaded) {
		imageView->SetHighColor(kNotice);
		imageView->DrawString(" WGET can't get URL..", BPoint(20, bounds.bottom - 5));
		imageView->Sync();
	}

	Invalidate();
	image->Unlock();
}


void
WView::AddTextBlock(const char* text, float y, bool shadow)
{
	(void)y;
	BRect bounds = imageView->Bounds();
	BPoint pen = imageView->PenLocation();
	imageView->SetHighColor(prefs->opTextColor);

	BString blockText(text);
	blockText.ReplaceAll("<br />", " ");
	// The block and its words are held in buffers of 2048 bytes; longer text is cut.
	char block[kBlockBuffer];
	char word[kBlockBuffer];
	snprintf(block, sizeof(block), "%s", blockText.String());

	const float limit = bounds.right - bounds.left - 4;
	const float step = prefs->opTextSize + 3;
	float x = 10;
	float lineY = pen.y + step;

	// The empty text restarts the word tokenizer for any block: a text of the length it
	// holds would go on where it stopped.
	TxExtract("", word);
	while (TxExtract(block, word) == 1) {
		if (imageView->StringWidth(word) + x > limit) {
			x = 10;
			lineY += step;
			textY += step;
		}
		_DrawShadowed(word, BPoint(x, lineY), shadow, BPoint(2, 1));
		imageView->DrawString(" ");
		BPoint next = imageView->PenLocation();
		x = next.x;
		lineY = next.y;
	}
	imageView->DrawString(" ...");
}
