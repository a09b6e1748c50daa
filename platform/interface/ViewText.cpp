/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <math.h>
#include <string.h>

#include <vector>

#include <FontEngine.h>
#include <ViewPrivate.h>


using BPrivate::FontEngine;
using BPrivate::PlacedGlyph;
using BPrivate::ViewDrawing;


void
BView::SetFont(const BFont* font, uint32 mask)
{
	if (font == NULL || mask == 0)
		return;

	BFont& current = fState->font;
	if (mask == B_FONT_ALL) {
		current = *font;
		return;
	}
	if ((mask & B_FONT_FAMILY_AND_STYLE) != 0)
		current.SetFamilyAndStyle(font->FamilyAndStyle());
	if ((mask & B_FONT_SIZE) != 0)
		current.SetSize(font->Size());
	if ((mask & B_FONT_SHEAR) != 0)
		current.SetShear(font->Shear());
	if ((mask & B_FONT_ROTATION) != 0)
		current.SetRotation(font->Rotation());
	if ((mask & B_FONT_SPACING) != 0)
		current.SetSpacing(font->Spacing());
	if ((mask & B_FONT_ENCODING) != 0)
		current.SetEncoding(font->Encoding());
	if ((mask & B_FONT_FACE) != 0)
		current.SetFace(font->Face());
	if ((mask & B_FONT_FLAGS) != 0)
		current.SetFlags(font->Flags());
	if ((mask & B_FONT_FALSE_BOLD_WIDTH) != 0)
		current.SetFalseBoldWidth(font->FalseBoldWidth());
}


void
BView::GetFont(BFont* font) const
{
	if (font != NULL)
		*font = fState->font;
}


void
BView::SetFontSize(float size)
{
	fState->font.SetSize(size);
}


void
BView::GetFontHeight(font_height* height) const
{
	fState->font.GetHeight(height);
}


float
BView::StringWidth(const char* string) const
{
	return fState->font.StringWidth(string);
}


float
BView::StringWidth(const char* string, int32 length) const
{
	return fState->font.StringWidth(string, length);
}


void
BView::GetStringWidths(
	char* stringArray[], int32 lengthArray[], int32 numStrings, float widthArray[]) const
{
	fState->font.GetStringWidths(
		const_cast<const char**>(stringArray), lengthArray, numStrings, widthArray);
}


void
BView::TruncateString(BString* inOut, uint32 mode, float width) const
{
	fState->font.TruncateString(inOut, mode, width);
}


void
BView::DrawChar(char character)
{
	DrawString(&character, 1, PenLocation());
}


void
BView::DrawChar(char character, BPoint location)
{
	DrawString(&character, 1, location);
}


void
BView::DrawString(const char* string, escapement_delta* delta)
{
	if (string == NULL)
		return;
	DrawString(string, (int32)strlen(string), PenLocation(), delta);
}


void
BView::DrawString(const char* string, BPoint location, escapement_delta* delta)
{
	if (string == NULL)
		return;
	DrawString(string, (int32)strlen(string), location, delta);
}


void
BView::DrawString(const char* string, int32 length, escapement_delta* delta)
{
	DrawString(string, length, PenLocation(), delta);
}


void
BView::DrawString(const char* string, int32 length, BPoint location, escapement_delta* delta)
{
	// As on Haiku, a view that is not attached neither draws nor moves its pen.
	if (string == NULL || length <= 0 || fOwner == NULL)
		return;
	_DrawString(string, length, location, delta);
}


// The glyphs sit on the pixel edge at the baseline: a flat-bottomed letter drawn at y has
// its lowest pixels in row y - 1, as on Haiku. Glyphs are placed to a quarter pixel along
// the baseline; the pen moves on by the unrounded width.
void
BView::_DrawString(const char* string, int32 length, BPoint location, const escapement_delta* delta)
{
	const BFont& font = fState->font;
	uint32 code = font.FamilyAndStyle();
	uint16 familyID = (uint16)(code >> 16);
	uint16 styleID = (uint16)(code & 0xffff);
	FontEngine& engine = FontEngine::Default();

	float width = 0.0f;
	bool measured = false;
	{
		ViewDrawing drawing(this, B_SOLID_HIGH);
		BPoint origin = drawing.ToTarget(location);
		if (drawing.IsValid() && isfinite(origin.x) && isfinite(origin.y)
			&& fabsf(origin.x) < 1.0e7f && fabsf(origin.y) < 1.0e7f) {
			float column = floorf(origin.x);
			int32 baseline = (int32)floorf(origin.y + 0.5f);
			bool antialiased = (font.Flags() & B_DISABLE_ANTIALIASING) == 0;

			std::vector<PlacedGlyph> glyphs;
			width = engine.LayoutString(familyID, styleID, font.Size(), antialiased, string, length,
				delta, origin.x - column, &glyphs);
			measured = true;

			BPrivate::Painter& painter = drawing.GetPainter();
			for (const PlacedGlyph& glyph : glyphs) {
				painter.FillMask((int32)column + glyph.x, baseline + glyph.y, glyph.bitmap->width,
					glyph.bitmap->height, glyph.bitmap->coverage.data());
			}
		}
	}
	if (!measured)
		width = engine.StringWidth(familyID, styleID, font.Size(), string, length, delta);

	MovePenTo(location.x + width, location.y);
}
