/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _VIEW_PICTURE_SUPPORT_H
#define _VIEW_PICTURE_SUPPORT_H


#include <stdio.h>
#include <sys/stat.h>

#include <string>

#include <Bitmap.h>
#include <Font.h>
#include <View.h>

#include "../../platform/private/BitmapPNG.h"
#include "ViewTestSupport.h"


// A pixel of a B_RGBA32 bitmap: red, green, blue, alpha.
static inline rgb_color
PixelOf(const BBitmap* bitmap, int x, int y)
{
	const uint8* bits = (const uint8*)bitmap->Bits() + y * bitmap->BytesPerRow() + x * 4;
	return make_color(bits[2], bits[1], bits[0], bits[3]);
}


static inline bool
SameRGB(rgb_color a, rgb_color b)
{
	return a.red == b.red && a.green == b.green && a.blue == b.blue;
}


static inline std::string
ColorText(rgb_color color)
{
	char text[32];
	snprintf(text, sizeof(text), "(%d,%d,%d,%d)", color.red, color.green, color.blue, color.alpha);
	return text;
}


// Where two pictures of the same size differ inside the rectangle, colour and alpha: "" when
// they agree, else the number of pixels, the rows they lie in and the first of them.
static inline std::string
Differences(const BBitmap* picture, const BBitmap* reference, BRect rect)
{
	if (picture->Bounds() != reference->Bounds())
		return "the pictures differ in size";
	int count = 0;
	int firstRow = -1;
	int lastRow = -1;
	std::string first;
	for (int y = (int)rect.top; y <= (int)rect.bottom; y++) {
		for (int x = (int)rect.left; x <= (int)rect.right; x++) {
			rgb_color a = PixelOf(picture, x, y);
			rgb_color b = PixelOf(reference, x, y);
			if (SameRGB(a, b) && a.alpha == b.alpha)
				continue;
			if (count == 0) {
				firstRow = y;
				first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " + ColorText(a)
					+ ", expected " + ColorText(b);
			}
			lastRow = y;
			count++;
		}
	}
	if (count == 0)
		return "";
	return std::to_string(count) + " pixels differ in rows " + std::to_string(firstRow) + " to "
		+ std::to_string(lastRow) + "; first " + first;
}


// Whether a pixel of the rectangle has the colour (alpha aside).
static inline bool
HasColorIn(const BBitmap* bitmap, BRect rect, rgb_color color)
{
	for (int y = (int)rect.top; y <= (int)rect.bottom; y++) {
		for (int x = (int)rect.left; x <= (int)rect.right; x++) {
			if (SameRGB(PixelOf(bitmap, x, y), color))
				return true;
		}
	}
	return false;
}


// The smallest rectangle that holds every pixel of the colour, or an invalid one.
static inline BRect
ColorBox(const BBitmap* bitmap, rgb_color color)
{
	BRect box;
	BRect bounds = bitmap->Bounds();
	for (int y = 0; y <= (int)bounds.bottom; y++) {
		for (int x = 0; x <= (int)bounds.right; x++) {
			if (!SameRGB(PixelOf(bitmap, x, y), color))
				continue;
			if (!box.IsValid())
				box.Set(x, y, x, y);
			else
				box = box | BRect(x, y, x, y);
		}
	}
	return box;
}


// Rows whose pixels from `left` to `right` are not all the colour of the row's pixel at
// `left`: text or pictures over a background that is plain along each row.
static inline int
InkRows(const BBitmap* bitmap, int left, int right, int top, int bottom)
{
	int rows = 0;
	for (int y = top; y <= bottom; y++) {
		rgb_color background = PixelOf(bitmap, left, y);
		for (int x = left + 1; x <= right; x++) {
			if (!SameRGB(PixelOf(bitmap, x, y), background)) {
				rows++;
				break;
			}
		}
	}
	return rows;
}


// A drawing made the way the view's renderer is documented to draw: a B_RGBA32 bitmap with
// a view in the bold font at the text size, drawing mode B_OP_OVER. It stays locked while
// it lives.
class Reference {
public:
	Reference(BRect bounds, float textSize)
		: fBitmap(bounds, B_RGBA32, true),
		  fView(new BView(bounds, "reference", B_FOLLOW_ALL_SIDES, 0)), fLineHeight(textSize + 4)
	{
		fView->SetFont(be_bold_font, B_FONT_ALL);
		fView->SetFontSize(11);
		fView->SetViewColor(B_TRANSPARENT_32_BIT);
		fBitmap.AddChild(fView);
		fBitmap.Lock();
		fView->SetFontSize(textSize);
		fView->SetDrawingMode(B_OP_OVER);
	}

	~Reference() { fBitmap.Unlock(); }

	BView*
	View()
	{
		return fView;
	}

	const BBitmap*
	Bitmap()
	{
		fView->Sync();
		return &fBitmap;
	}

	void
	Fill(rgb_color color)
	{
		fView->SetHighColor(color);
		fView->FillRect(fView->Bounds());
	}

	// Draws the text with its left baseline end at `where`; returns the pen after it.
	BPoint
	Text(const char* text, BPoint where, rgb_color color)
	{
		fView->SetHighColor(color);
		fView->DrawString(text, where);
		return fView->PenLocation();
	}

	// From now on the title and the lines get a shadow in the colour, as over a picture.
	void
	SetShadow(rgb_color color)
	{
		fShadowed = true;
		fShadow = color;
	}

	// Text of a line: first its shadow, 2 pixels right and 1 down, when there is one.
	BPoint
	LineText(const char* text, BPoint where, rgb_color color)
	{
		if (fShadowed)
			Text(text, where + BPoint(2, 1), fShadow);
		return Text(text, where, color);
	}

	// The title line and the separator below it; returns the first line's baseline.
	float
	Head(const char* title, rgb_color textColor)
	{
		BPoint pen = LineText(title, BPoint(8, 18), textColor);
		LineText(" \t ", pen, textColor);
		float y = 18 + fLineHeight;
		BRect bounds = fView->Bounds();
		fView->SetHighColor(textColor);
		fView->SetDrawingMode(B_OP_MIN);
		fView->FillRect(BRect(bounds.left + 5, y - 12, bounds.right - 5, y - 11));
		fView->SetDrawingMode(B_OP_OVER);
		return y + 5;
	}

	// A plain line: the label at (8, y), the value after it; returns the value column.
	float
	Line(const char* label, const char* value, float y, rgb_color textColor)
	{
		BPoint pen = LineText(label, BPoint(8, y), textColor);
		LineText(value, BPoint(pen.x, y), textColor);
		return pen.x;
	}

private:
	BBitmap fBitmap;
	BView* fView;
	float fLineHeight;
	bool fShadowed = false;
	rgb_color fShadow = {0, 0, 0, 255};
};


// Display view tests at a roomier size than the main window's, with helpers to write the
// pictures the view loads from the program's "Images" folder.
class ViewPictureTest : public ViewTest {
public:
	static constexpr float kWidth = 200;
	static constexpr float kHeight = 150;

	static BRect
	Frame()
	{
		return BRect(0, 0, kWidth - 1, kHeight - 1);
	}

protected:
	std::string
	ImagePath(const std::string& name) const
	{
		return fEnv.AppFolder() + "/Images/" + name;
	}

	float
	LineHeight() const
	{
		return fPrefs->opTextSize + 4;
	}

	// Writes a PNG of the size whose pixels come from `color(x, y)`.
	template<typename F>
	void
	WritePicture(const std::string& name, int width, int height, F color)
	{
		BBitmap picture(BRect(0, 0, width - 1, height - 1), B_RGBA32);
		for (int y = 0; y < height; y++) {
			uint8* row = (uint8*)picture.Bits() + y * picture.BytesPerRow();
			for (int x = 0; x < width; x++) {
				rgb_color c = color(x, y);
				row[x * 4] = c.blue;
				row[x * 4 + 1] = c.green;
				row[x * 4 + 2] = c.red;
				row[x * 4 + 3] = c.alpha;
			}
		}
		ASSERT_EQ(BPrivate::save_bitmap_as_png(&picture, ImagePath(name).c_str()), B_OK);
	}

	void
	WriteSolidPicture(const std::string& name, int width, int height, rgb_color color)
	{
		color.alpha = 255;
		WritePicture(name, width, height, [&](int, int) { return color; });
	}

	// Draws a picture of the size with a view in it and writes it as a PNG.
	template<typename F>
	void
	DrawPicture(const std::string& name, int width, int height, F draw)
	{
		BBitmap picture(BRect(0, 0, width - 1, height - 1), B_RGBA32, true);
		BView* view = new BView(picture.Bounds(), "drawing", B_FOLLOW_ALL_SIDES, 0);
		view->SetViewColor(B_TRANSPARENT_32_BIT);
		picture.AddChild(view);
		picture.Lock();
		view->SetDrawingMode(B_OP_OVER);
		view->SetFont(be_bold_font);
		draw(view);
		view->Sync();
		picture.Unlock();
		ASSERT_EQ(BPrivate::save_bitmap_as_png(&picture, ImagePath(name).c_str()), B_OK);
	}

	// The background of the reference: the picture scaled to the view (then the lines get
	// shadows), or the plain colour. Then the title line; returns the first line's baseline.
	float
	DrawHead(Reference& reference, WView* view, const BBitmap* background = NULL)
	{
		if (background != NULL) {
			reference.View()->DrawBitmap(
				background, background->Bounds(), reference.View()->Bounds());
			reference.SetShadow(fPrefs->boxColor);
		} else
			reference.Fill(fPrefs->opColor);
		BString* title = (BString*)view->labelList->ItemAt(0);
		return reference.Head(title != NULL ? title->String() : "", fPrefs->opTextColor);
	}
};


#endif // _VIEW_PICTURE_SUPPORT_H
