/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FONT_ENGINE_DATA_H
#define _FONT_ENGINE_DATA_H


#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "FontEngine.h"


namespace BPrivate {


// What FontEngine keeps: the fonts fontconfig listed, by family and style, their FreeType
// faces and the caches of characters and rendered glyphs.
struct CharInfo {
	FT_UInt glyph;
	FT_Fixed advance;
	// in font units
};


struct StyleEntry {
	std::string name;
	std::string path;
	int index;
	int weight;
	uint16 face;
	bool fixed;

	// Opened on first use
	FT_Face ftFace;
	bool broken;
	FT_F26Dot6 currentSize;
	std::unordered_map<uint32, CharInfo> chars;
};


struct FamilyEntry {
	std::string name;
	std::vector<StyleEntry> styles;
};


struct GlyphKey {
	uint32 font;
	uint32 size;
	uint32 glyph;
	uint32 variant;

	bool
	operator==(const GlyphKey& other) const
	{
		return font == other.font && size == other.size && glyph == other.glyph
			&& variant == other.variant;
	}
};


struct GlyphKeyHash {
	size_t
	operator()(const GlyphKey& key) const
	{
		size_t hash = key.font;
		hash = hash * 1000003u ^ key.size;
		hash = hash * 1000003u ^ key.glyph;
		hash = hash * 1000003u ^ key.variant;
		return hash;
	}
};


class FontEngine::Data {
public:
	Data();
	~Data();

	// Everything below is called with fLock held.

	void Init();
	void Resolve(uint16* familyID, uint16* styleID);
	StyleEntry* Style(uint16 familyID, uint16 styleID);
	// The style's FreeType face, opened if needed; NULL when it cannot be used.
	FT_Face Face(StyleEntry* style);
	CharInfo Char(StyleEntry* style, FT_Face face, uint32 code);
	std::shared_ptr<const GlyphBitmap> Glyph(uint16 familyID, uint16 styleID, StyleEntry* style,
		FT_Face face, float size, FT_UInt glyph, int32 step, bool antialiased);
	bool SetSize(StyleEntry* style, FT_Face face, float size);

	std::mutex fLock;
	std::vector<FamilyEntry> fFamilies;
	uint16 fSystem[3][2];

private:
	void _ListFonts();
	void _FindSystemFont(const char* name, uint16* familyID, uint16* styleID);
	void _Render(StyleEntry* style, FT_Face face, float size, FT_UInt glyph, int32 step,
		bool antialiased, GlyphBitmap* bitmap);

	bool fInitialized;
	FT_Library fLibrary;
	std::unordered_map<GlyphKey, std::shared_ptr<const GlyphBitmap>, GlyphKeyHash> fGlyphs;
};


} // namespace BPrivate


#endif // _FONT_ENGINE_DATA_H
