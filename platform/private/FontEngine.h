/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FONT_ENGINE_H
#define _FONT_ENGINE_H


#include <memory>
#include <vector>

#include <Font.h>


namespace BPrivate {


// Font ids: a family id and a style id within it, as BFont keeps them. The family id
// kSystemFontFamily stands for one of the system fonts (the style id says which: 0 plain,
// 1 bold, 2 fixed) until the first use looks it up, so that be_plain_font and the others
// exist before anything has asked fontconfig.
const uint16 kSystemFontFamily = 0xfffe;
const uint16 kInvalidFontID = 0xffff;

enum { kPlainSystemFont = 0, kBoldSystemFont = 1, kFixedSystemFont = 2 };


// One glyph's coverage, 0 to 255 per pixel, rows of `width` bytes.
struct GlyphBitmap {
	int32 left;
	int32 top;
	int32 width;
	int32 height;
	std::vector<uint8> coverage;
};


// A glyph placed by LayoutString(): its bitmap's top left pixel relative to the pixel
// at the start of the baseline.
struct PlacedGlyph {
	std::shared_ptr<const GlyphBitmap> bitmap;
	int32 x;
	int32 y;
};


// The process's fonts: the scalable fonts that fontconfig knows, by family and style, and
// their FreeType faces, advances and rendered glyphs, cached. Every method may be called
// from any thread; one lock guards FreeType and the caches.
//
// Sizes are in pixels per em (Haiku's points at 72 dpi). Advances are unhinted and
// unrounded: the width of a string is the sum of its characters' advances, each the font's
// advance in font units scaled to the size.
class FontEngine {
public:
	static FontEngine& Default();

	int32 CountFamilies();
	status_t GetFamily(int32 index, font_family* name, uint32* flags);
	int32 CountStyles(const char* family);
	status_t GetStyle(
		const char* family, int32 index, font_style* name, uint16* face, uint32* flags);

	// Ids for a family and style by name; a NULL family keeps currentFamily, a NULL style
	// takes the family's regular style.
	status_t FindStyle(const char* family, const char* style, uint16 currentFamily,
		uint16* familyID, uint16* styleID);
	// The style of the family that has the face (bold, italic, ...), or the closest one.
	status_t FindFace(uint16 familyID, uint16 face, uint16* styleID);
	// Turns a system font's ids into the ids of the font it is.
	void Resolve(uint16* familyID, uint16* styleID);

	status_t GetNames(uint16 familyID, uint16 styleID, font_family* family, font_style* style);
	uint16 FaceOf(uint16 familyID, uint16 styleID);
	bool IsFixed(uint16 familyID, uint16 styleID);

	void GetHeight(uint16 familyID, uint16 styleID, float size, font_height* height);
	BRect BoundingBox(uint16 familyID, uint16 styleID, float size);

	// The width of `length` bytes of UTF-8 text (it stops at a NUL)
	float StringWidth(uint16 familyID, uint16 styleID, float size, const char* string, int32 length,
		const escapement_delta* delta = NULL);
	// The advance of each character of `length` bytes, in pixels, exactly as
	// StringWidth() adds them up, and the byte offset where each character starts.
	void GetCharAdvances(uint16 familyID, uint16 styleID, float size, const char* string,
		int32 length, std::vector<float>* advances, std::vector<int32>* offsets);
	// The advance of each of the first numChars characters, in ems (fractions of the size)
	void GetEscapements(uint16 familyID, uint16 styleID, const char* string, int32 numChars,
		const escapement_delta* delta, float size, float* escapements);
	void GetHasGlyphs(
		uint16 familyID, uint16 styleID, const char* string, int32 numChars, bool* hasGlyphs);

	// Lays the text out from a baseline that starts `offsetX` (0 <= offsetX < 1) right of
	// a pixel edge, and renders its glyphs. Returns the advance, as StringWidth() does.
	float LayoutString(uint16 familyID, uint16 styleID, float size, bool antialiased,
		const char* string, int32 length, const escapement_delta* delta, float offsetX,
		std::vector<PlacedGlyph>* glyphs);

private:
	FontEngine();
	~FontEngine();

	class Data;
	Data* fData;
};


// UTF-8 helpers that never read past the end they are given and never split a character:
// the byte length of the character at `string` (at least 1, at most `available`), and its
// code point (U+FFFD for broken sequences).
int32 utf8_char_length(const char* string, int32 available);
uint32 utf8_code_point(const char* string, int32 length);


} // namespace BPrivate


#endif // _FONT_ENGINE_H
