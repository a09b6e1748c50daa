/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <FontEngine.h>

#include <math.h>
#include <string.h>

#include <Rect.h>

#include "FontEngineData.h"

#include FT_ADVANCES_H
#include FT_OUTLINE_H


namespace BPrivate {


// Glyphs are rendered at quarter pixel steps along the baseline.
static const int32 kSubpixelSteps = 4;
// Glyphs are rendered up to this size; larger text draws nothing (its metrics still work).
static const float kMaxRenderedSize = 2048.0f;
// When the glyph cache holds this many bitmaps, it starts again.
static const size_t kMaxCachedGlyphs = 8192;


static bool
is_space(uint32 code)
{
	return code == ' ' || code == '\t' || code == 0xa0 || (code >= 0x2000 && code <= 0x200a)
		|| code == 0x202f || code == 0x205f || code == 0x3000;
}


static float
scaled_advance(FT_Fixed units, float size, FT_UShort unitsPerEm)
{
	if (unitsPerEm == 0)
		return 0.0f;
	return (float)units * size / (float)unitsPerEm;
}


int32
utf8_char_length(const char* string, int32 available)
{
	if (available <= 1)
		return 1;

	const uint8* bytes = reinterpret_cast<const uint8*>(string);
	uint8 lead = bytes[0];
	int32 length;
	uint8 low = 0x80;
	uint8 high = 0xbf;
	if (lead < 0x80)
		return 1;
	if (lead >= 0xc2 && lead <= 0xdf)
		length = 2;
	else if (lead >= 0xe0 && lead <= 0xef) {
		length = 3;
		if (lead == 0xe0)
			low = 0xa0;
		else if (lead == 0xed)
			high = 0x9f;
	} else if (lead >= 0xf0 && lead <= 0xf4) {
		length = 4;
		if (lead == 0xf0)
			low = 0x90;
		else if (lead == 0xf4)
			high = 0x8f;
	} else
		return 1;

	if (length > available)
		return 1;
	if (bytes[1] < low || bytes[1] > high)
		return 1;
	for (int32 i = 2; i < length; i++) {
		if (bytes[i] < 0x80 || bytes[i] > 0xbf)
			return 1;
	}
	return length;
}


uint32
utf8_code_point(const char* string, int32 length)
{
	const uint8* bytes = reinterpret_cast<const uint8*>(string);
	switch (length) {
	case 1:
		return bytes[0] < 0x80 ? bytes[0] : 0xfffd;
	case 2:
		return ((bytes[0] & 0x1f) << 6) | (bytes[1] & 0x3f);
	case 3:
		return ((bytes[0] & 0x0f) << 12) | ((bytes[1] & 0x3f) << 6) | (bytes[2] & 0x3f);
	case 4:
		return ((bytes[0] & 0x07) << 18) | ((bytes[1] & 0x3f) << 12) | ((bytes[2] & 0x3f) << 6)
			| (bytes[3] & 0x3f);
	default:
		return 0xfffd;
	}
}


//	#pragma mark - characters and glyphs


CharInfo
FontEngine::Data::Char(StyleEntry* style, FT_Face face, uint32 code)
{
	auto found = style->chars.find(code);
	if (found != style->chars.end())
		return found->second;

	CharInfo info;
	// Control characters such as a tab show as blank space, never as a missing-glyph box.
	info.glyph = FT_Get_Char_Index(face, code < 0x20 || code == 0x7f ? ' ' : code);
	info.advance = 0;
	if (FT_Get_Advance(face, info.glyph, FT_LOAD_NO_SCALE, &info.advance) != 0)
		info.advance = 0;
	if (style->chars.size() > 65536)
		style->chars.clear();
	style->chars[code] = info;
	return info;
}


std::shared_ptr<const GlyphBitmap>
FontEngine::Data::Glyph(uint16 familyID, uint16 styleID, StyleEntry* style, FT_Face face,
	float size, FT_UInt glyph, int32 step, bool antialiased)
{
	uint32 sizeBits;
	memcpy(&sizeBits, &size, sizeof(sizeBits));
	GlyphKey key = {((uint32)familyID << 16) | styleID, sizeBits, glyph,
		(uint32)step | (antialiased ? 0x100u : 0u)};
	auto found = fGlyphs.find(key);
	if (found != fGlyphs.end())
		return found->second;

	std::shared_ptr<GlyphBitmap> bitmap = std::make_shared<GlyphBitmap>();
	bitmap->left = bitmap->top = bitmap->width = bitmap->height = 0;
	_Render(style, face, size, glyph, step, antialiased, bitmap.get());

	if (fGlyphs.size() >= kMaxCachedGlyphs)
		fGlyphs.clear();
	fGlyphs[key] = bitmap;
	return bitmap;
}


bool
FontEngine::Data::SetSize(StyleEntry* style, FT_Face face, float size)
{
	FT_F26Dot6 charSize = (FT_F26Dot6)lroundf(size * 64.0f);
	if (charSize < 1)
		return false;
	if (style->currentSize != charSize) {
		if (FT_Set_Char_Size(face, 0, charSize, 72, 72) != 0)
			return false;
		style->currentSize = charSize;
	}
	return true;
}


void
FontEngine::Data::_Render(StyleEntry* style, FT_Face face, float size, FT_UInt glyph, int32 step,
	bool antialiased, GlyphBitmap* bitmap)
{
	if (size > kMaxRenderedSize || !SetSize(style, face, size))
		return;

	FT_Int32 flags = FT_LOAD_NO_BITMAP | (antialiased ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO);
	if (FT_Load_Glyph(face, glyph, flags) != 0)
		return;
	FT_GlyphSlot slot = face->glyph;
	if (slot->format == FT_GLYPH_FORMAT_OUTLINE)
		FT_Outline_Translate(&slot->outline, step * 64 / kSubpixelSteps, 0);
	if (FT_Render_Glyph(slot, antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
		return;

	const FT_Bitmap& source = slot->bitmap;
	if (source.width == 0 || source.rows == 0 || source.buffer == NULL)
		return;
	if (source.pixel_mode != FT_PIXEL_MODE_GRAY && source.pixel_mode != FT_PIXEL_MODE_MONO)
		return;

	bitmap->left = slot->bitmap_left;
	bitmap->top = -slot->bitmap_top;
	bitmap->width = (int32)source.width;
	bitmap->height = (int32)source.rows;
	bitmap->coverage.resize((size_t)bitmap->width * bitmap->height);
	for (int32 y = 0; y < bitmap->height; y++) {
		const uint8* row = source.buffer + (ptrdiff_t)y * source.pitch;
		uint8* out = &bitmap->coverage[(size_t)y * bitmap->width];
		for (int32 x = 0; x < bitmap->width; x++) {
			if (source.pixel_mode == FT_PIXEL_MODE_MONO)
				out[x] = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
			else if (source.num_grays == 256)
				out[x] = row[x];
			else
				out[x] = (uint8)(row[x] * 255 / max_c(1, (int)source.num_grays - 1));
		}
	}
}


//	#pragma mark - metrics and layout


void
FontEngine::GetHeight(uint16 familyID, uint16 styleID, float size, font_height* height)
{
	if (height == NULL)
		return;
	height->ascent = height->descent = height->leading = 0.0f;

	std::lock_guard<std::mutex> lock(fData->fLock);
	FT_Face face = fData->Face(fData->Style(familyID, styleID));
	if (face == NULL)
		return;

	float scale = size / face->units_per_EM;
	height->ascent = face->ascender * scale;
	height->descent = -face->descender * scale;
	height->leading = max_c(0.0f, (face->height - face->ascender + face->descender) * scale);
}


BRect
FontEngine::BoundingBox(uint16 familyID, uint16 styleID, float size)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	FT_Face face = fData->Face(fData->Style(familyID, styleID));
	if (face == NULL)
		return BRect(0, 0, 0, 0);

	float scale = size / face->units_per_EM;
	return BRect(face->bbox.xMin * scale, -face->bbox.yMax * scale, face->bbox.xMax * scale,
		-face->bbox.yMin * scale);
}


float
FontEngine::StringWidth(uint16 familyID, uint16 styleID, float size, const char* string,
	int32 length, const escapement_delta* delta)
{
	if (string == NULL || length <= 0 || !(size > 0))
		return 0.0f;
	length = (int32)strnlen(string, length);

	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* style = fData->Style(familyID, styleID);
	FT_Face face = fData->Face(style);
	if (face == NULL)
		return 0.0f;

	float width = 0.0f;
	for (int32 offset = 0; offset < length;) {
		int32 charLength = utf8_char_length(string + offset, length - offset);
		uint32 code = utf8_code_point(string + offset, charLength);
		offset += charLength;

		CharInfo info = fData->Char(style, face, code);
		width += scaled_advance(info.advance, size, face->units_per_EM);
		if (delta != NULL)
			width += is_space(code) ? delta->space : delta->nonspace;
	}
	return width;
}


void
FontEngine::GetCharAdvances(uint16 familyID, uint16 styleID, float size, const char* string,
	int32 length, std::vector<float>* advances, std::vector<int32>* offsets)
{
	advances->clear();
	offsets->clear();
	if (string == NULL || length <= 0)
		return;
	length = (int32)strnlen(string, length);

	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* style = fData->Style(familyID, styleID);
	FT_Face face = fData->Face(style);

	for (int32 offset = 0; offset < length;) {
		int32 charLength = utf8_char_length(string + offset, length - offset);
		uint32 code = utf8_code_point(string + offset, charLength);
		offsets->push_back(offset);
		offset += charLength;

		float advance = 0.0f;
		if (face != NULL && size > 0) {
			CharInfo info = fData->Char(style, face, code);
			advance = scaled_advance(info.advance, size, face->units_per_EM);
		}
		advances->push_back(advance);
	}
}


void
FontEngine::GetEscapements(uint16 familyID, uint16 styleID, const char* string, int32 numChars,
	const escapement_delta* delta, float size, float* escapements)
{
	if (string == NULL || escapements == NULL || numChars <= 0)
		return;
	for (int32 i = 0; i < numChars; i++)
		escapements[i] = 0.0f;

	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* style = fData->Style(familyID, styleID);
	FT_Face face = fData->Face(style);
	if (face == NULL)
		return;

	int32 available = (int32)strlen(string);
	int32 offset = 0;
	for (int32 i = 0; i < numChars && offset < available; i++) {
		int32 charLength = utf8_char_length(string + offset, available - offset);
		uint32 code = utf8_code_point(string + offset, charLength);
		offset += charLength;

		CharInfo info = fData->Char(style, face, code);
		escapements[i] = (float)info.advance / face->units_per_EM;
		if (delta != NULL && size > 0)
			escapements[i] += (is_space(code) ? delta->space : delta->nonspace) / size;
	}
}


void
FontEngine::GetHasGlyphs(
	uint16 familyID, uint16 styleID, const char* string, int32 numChars, bool* hasGlyphs)
{
	if (string == NULL || hasGlyphs == NULL || numChars <= 0)
		return;
	for (int32 i = 0; i < numChars; i++)
		hasGlyphs[i] = false;

	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* style = fData->Style(familyID, styleID);
	FT_Face face = fData->Face(style);
	if (face == NULL)
		return;

	int32 available = (int32)strlen(string);
	int32 offset = 0;
	for (int32 i = 0; i < numChars && offset < available; i++) {
		int32 charLength = utf8_char_length(string + offset, available - offset);
		uint32 code = utf8_code_point(string + offset, charLength);
		offset += charLength;
		hasGlyphs[i] = fData->Char(style, face, code).glyph != 0;
	}
}


float
FontEngine::LayoutString(uint16 familyID, uint16 styleID, float size, bool antialiased,
	const char* string, int32 length, const escapement_delta* delta, float offsetX,
	std::vector<PlacedGlyph>* glyphs)
{
	if (string == NULL || length <= 0 || !(size > 0))
		return 0.0f;
	length = (int32)strnlen(string, length);

	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Resolve(&familyID, &styleID);
	StyleEntry* style = fData->Style(familyID, styleID);
	FT_Face face = fData->Face(style);
	if (face == NULL)
		return 0.0f;

	float width = 0.0f;
	for (int32 offset = 0; offset < length;) {
		int32 charLength = utf8_char_length(string + offset, length - offset);
		uint32 code = utf8_code_point(string + offset, charLength);
		offset += charLength;

		CharInfo info = fData->Char(style, face, code);
		if (glyphs != NULL) {
			float x = offsetX + width;
			float column = floorf(x);
			int32 step = (int32)((x - column) * kSubpixelSteps + 0.5f);
			if (step == kSubpixelSteps) {
				column += 1;
				step = 0;
			}
			std::shared_ptr<const GlyphBitmap> bitmap
				= fData->Glyph(familyID, styleID, style, face, size, info.glyph, step, antialiased);
			if (bitmap->width > 0 && fabsf(column) < 1.0e7f) {
				PlacedGlyph placed = {bitmap, (int32)column + bitmap->left, bitmap->top};
				glyphs->push_back(placed);
			}
		}
		width += scaled_advance(info.advance, size, face->units_per_EM);
		if (delta != NULL)
			width += is_space(code) ? delta->space : delta->nonspace;
	}
	return width;
}


} // namespace BPrivate
