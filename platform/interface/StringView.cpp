/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <StringView.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <InterfaceDefs.h>
#include <String.h>


BStringView::BStringView(
	BRect frame, const char* name, const char* text, uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags), fText(text != NULL ? strdup(text) : NULL),
	  fAlign(B_ALIGN_LEFT), fTruncation(B_NO_TRUNCATION), fOwnViewColor(false)
{
	BView::SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetLowColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetHighColor(ui_color(B_PANEL_TEXT_COLOR));
}


BStringView::BStringView(const char* name, const char* text, uint32 flags)
	: BView(BRect(0, 0, -1, -1), name, B_FOLLOW_NONE, flags),
	  fText(text != NULL ? strdup(text) : NULL), fAlign(B_ALIGN_LEFT), fTruncation(B_NO_TRUNCATION),
	  fOwnViewColor(false)
{
	BView::SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetLowColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetHighColor(ui_color(B_PANEL_TEXT_COLOR));
}


BStringView::~BStringView()
{
	free(fText);
}


void
BStringView::SetText(const char* text)
{
	if (text != NULL && text[0] == '\0')
		text = NULL;
	if (text == NULL && fText == NULL)
		return;
	if (text != NULL && fText != NULL && strcmp(text, fText) == 0)
		return;
	free(fText);
	fText = text != NULL ? strdup(text) : NULL;
	Invalidate();
}


const char*
BStringView::Text() const
{
	return fText;
}


void
BStringView::SetAlignment(alignment flag)
{
	if (flag == fAlign)
		return;
	fAlign = flag;
	Invalidate();
}


alignment
BStringView::Alignment() const
{
	return fAlign;
}


void
BStringView::SetTruncation(uint32 truncationMode)
{
	if (truncationMode == fTruncation)
		return;
	fTruncation = truncationMode;
	Invalidate();
}


uint32
BStringView::Truncation() const
{
	return fTruncation;
}


void
BStringView::SetViewColor(rgb_color color)
{
	fOwnViewColor = true;
	BView::SetViewColor(color);
	// The text's edges blend into the background.
	if (color != B_TRANSPARENT_COLOR)
		SetLowColor(color);
}


void
BStringView::SetFont(const BFont* font, uint32 mask)
{
	BView::SetFont(font, mask);
	Invalidate();
}


// The text stands on the background of the view it is in, unless the caller gave it one.
void
BStringView::AttachedToWindow()
{
	if (!fOwnViewColor && Parent() != NULL) {
		rgb_color color = Parent()->ViewColor();
		if (color != B_TRANSPARENT_COLOR) {
			BView::SetViewColor(color);
			SetLowColor(color);
		}
	}
	BView::AttachedToWindow();
}


void
BStringView::DetachedFromWindow()
{
	BView::DetachedFromWindow();
}


void
BStringView::GetPreferredSize(float* _width, float* _height)
{
	font_height fh;
	GetFontHeight(&fh);
	float lineHeight = ceilf(fh.ascent + fh.descent + fh.leading);
	float width = 0;
	int32 lines = 1;
	if (fText != NULL) {
		const char* line = fText;
		while (true) {
			const char* end = strchr(line, '\n');
			int32 length = end != NULL ? (int32)(end - line) : (int32)strlen(line);
			width = fmaxf(width, StringWidth(line, length));
			if (end == NULL)
				break;
			line = end + 1;
			lines++;
		}
	}
	if (_width != NULL)
		*_width = width;
	if (_height != NULL)
		*_height = lineHeight * lines;
}


void
BStringView::ResizeToPreferred()
{
	float width;
	float height;
	GetPreferredSize(&width, &height);
	// Room for the last pixel of the text
	ResizeTo(ceilf(width), height);
}


void
BStringView::Draw(BRect updateRect)
{
	(void)updateRect;
	if (fText == NULL)
		return;
	font_height fh;
	GetFontHeight(&fh);
	float lineHeight = ceilf(fh.ascent + fh.descent + fh.leading);
	BRect bounds = Bounds();

	int32 lines = 1;
	for (const char* c = fText; *c != '\0'; c++) {
		if (*c == '\n')
			lines++;
	}

	// The last baseline sits the descent above the bottom; the earlier ones step up.
	float y = bounds.bottom - ceilf(fh.descent) - lineHeight * (lines - 1);
	const char* line = fText;
	while (true) {
		const char* end = strchr(line, '\n');
		BString text(line, end != NULL ? (int32)(end - line) : (int32)strlen(line));
		if (fTruncation != B_NO_TRUNCATION)
			TruncateString(&text, fTruncation, bounds.Width() + 1);
		float width = StringWidth(text.String());
		float x = bounds.left;
		if (fAlign == B_ALIGN_RIGHT)
			x = bounds.right - width;
		else if (fAlign == B_ALIGN_CENTER)
			x = bounds.left + (bounds.Width() - width) / 2;
		DrawString(text.String(), BPoint(x, y));
		if (end == NULL)
			break;
		line = end + 1;
		y += lineHeight;
	}
}
