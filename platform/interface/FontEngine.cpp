/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <FontEngine.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>

#include <fontconfig/fontconfig.h>

#include "FontEngineData.h"


namespace BPrivate {


// The fonts that stand for Haiku's system fonts, as fontconfig patterns.
static const char* const kSystemFontPatterns[3]
	= {"DejaVu Sans", "DejaVu Sans:bold", "DejaVu Sans Mono"};


static bool
contains_word(const std::string& text, const char* word)
{
	return strcasestr(text.c_str(), word) != NULL;
}


static uint16
face_of_style(const std::string& style, int weight, int slant)
{
	uint16 face = 0;
	if (contains_word(style, "bold"))
		face |= B_BOLD_FACE;
	if (contains_word(style, "italic") || contains_word(style, "oblique"))
		face |= B_ITALIC_FACE;
	if (contains_word(style, "condensed") || contains_word(style, "narrow"))
		face |= B_CONDENSED_FACE;
	if (contains_word(style, "light") || contains_word(style, "thin"))
		face |= B_LIGHT_FACE;
	if (contains_word(style, "heavy") || contains_word(style, "black"))
		face |= B_HEAVY_FACE;
	if ((face & (B_BOLD_FACE | B_HEAVY_FACE)) == 0 && weight >= FC_WEIGHT_BOLD)
		face |= B_BOLD_FACE;
	if ((face & B_ITALIC_FACE) == 0 && slant != FC_SLANT_ROMAN)
		face |= B_ITALIC_FACE;
	if (face == 0)
		face = B_REGULAR_FACE;
	return face;
}


FontEngine::Data::Data() : fInitialized(false), fLibrary(NULL)
{
	for (int32 i = 0; i < 3; i++)
		fSystem[i][0] = fSystem[i][1] = kInvalidFontID;
}


FontEngine::Data::~Data()
{
	for (FamilyEntry& family : fFamilies) {
		for (StyleEntry& style : family.styles) {
			if (style.ftFace != NULL)
				FT_Done_Face(style.ftFace);
		}
	}
	if (fLibrary != NULL)
		FT_Done_FreeType(fLibrary);
}


void
FontEngine::Data::Init()
{
	if (fInitialized)
		return;
	fInitialized = true;

	if (FT_Init_FreeType(&fLibrary) != 0)
		fLibrary = NULL;
	if (FcInit() == FcFalse)
		return;

	_ListFonts();
	for (int32 i = 0; i < 3; i++)
		_FindSystemFont(kSystemFontPatterns[i], &fSystem[i][0], &fSystem[i][1]);
	// Fontconfig is only asked here: what it keeps can go when the process ends.
	atexit(FcFini);
	for (int32 i = 1; i < 3; i++) {
		if (fSystem[i][0] == kInvalidFontID) {
			fSystem[i][0] = fSystem[0][0];
			fSystem[i][1] = fSystem[0][1];
		}
	}
}


void
FontEngine::Data::Resolve(uint16* familyID, uint16* styleID)
{
	Init();
	if (*familyID != kSystemFontFamily)
		return;
	uint16 which = *styleID <= kFixedSystemFont ? *styleID : (uint16)kPlainSystemFont;
	*familyID = fSystem[which][0];
	*styleID = fSystem[which][1];
}


StyleEntry*
FontEngine::Data::Style(uint16 familyID, uint16 styleID)
{
	Resolve(&familyID, &styleID);
	if (familyID >= fFamilies.size() || styleID >= fFamilies[familyID].styles.size())
		return NULL;
	return &fFamilies[familyID].styles[styleID];
}


FT_Face
FontEngine::Data::Face(StyleEntry* style)
{
	if (style == NULL || style->broken || fLibrary == NULL)
		return NULL;
	if (style->ftFace == NULL) {
		if (FT_New_Face(fLibrary, style->path.c_str(), style->index, &style->ftFace) != 0
			|| style->ftFace->units_per_EM == 0) {
			if (style->ftFace != NULL)
				FT_Done_Face(style->ftFace);
			style->ftFace = NULL;
			style->broken = true;
			return NULL;
		}
		FT_Select_Charmap(style->ftFace, FT_ENCODING_UNICODE);
		style->currentSize = 0;
	}
	return style->ftFace;
}


void
FontEngine::Data::_ListFonts()
{
	FcPattern* pattern = FcPatternCreate();
	FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
	FcObjectSet* objects = FcObjectSetBuild(
		FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_SPACING, (char*)NULL);
	FcFontSet* fonts = FcFontList(NULL, pattern, objects);
	FcObjectSetDestroy(objects);
	FcPatternDestroy(pattern);
	if (fonts == NULL)
		return;

	for (int i = 0; i < fonts->nfont; i++) {
		FcPattern* font = fonts->fonts[i];
		FcChar8* family = NULL;
		FcChar8* style = NULL;
		FcChar8* file = NULL;
		if (FcPatternGetString(font, FC_FAMILY, 0, &family) != FcResultMatch
			|| FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
			continue;
		if (FcPatternGetString(font, FC_STYLE, 0, &style) != FcResultMatch)
			style = (FcChar8*)"Regular";
		int index = 0;
		int weight = FC_WEIGHT_REGULAR;
		int slant = FC_SLANT_ROMAN;
		int spacing = FC_PROPORTIONAL;
		FcPatternGetInteger(font, FC_INDEX, 0, &index);
		FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
		FcPatternGetInteger(font, FC_SLANT, 0, &slant);
		FcPatternGetInteger(font, FC_SPACING, 0, &spacing);

		const char* familyName = reinterpret_cast<const char*>(family);
		const char* styleName = reinterpret_cast<const char*>(style);
		if (strlen(familyName) > B_FONT_FAMILY_LENGTH || strlen(styleName) > B_FONT_STYLE_LENGTH)
			continue;

		FamilyEntry* familyEntry = NULL;
		for (FamilyEntry& entry : fFamilies) {
			if (entry.name == familyName) {
				familyEntry = &entry;
				break;
			}
		}
		if (familyEntry == NULL) {
			fFamilies.push_back(FamilyEntry());
			familyEntry = &fFamilies.back();
			familyEntry->name = familyName;
		}

		bool known = false;
		for (const StyleEntry& entry : familyEntry->styles)
			known = known || entry.name == styleName;
		if (known)
			continue;

		StyleEntry entry;
		entry.name = styleName;
		entry.path = reinterpret_cast<const char*>(file);
		entry.index = index;
		entry.weight = weight;
		entry.face = face_of_style(entry.name, weight, slant);
		entry.fixed = spacing == FC_MONO || spacing == FC_CHARCELL;
		entry.ftFace = NULL;
		entry.broken = false;
		entry.currentSize = 0;
		familyEntry->styles.push_back(entry);
	}
	FcFontSetDestroy(fonts);

	// Ids follow the names, so that they are the same in every run on a machine.
	std::sort(fFamilies.begin(), fFamilies.end(),
		[](const FamilyEntry& a, const FamilyEntry& b) { return a.name < b.name; });
	for (FamilyEntry& family : fFamilies) {
		std::sort(family.styles.begin(), family.styles.end(),
			[](const StyleEntry& a, const StyleEntry& b) { return a.name < b.name; });
	}
	if (fFamilies.size() >= kSystemFontFamily)
		fFamilies.resize(kSystemFontFamily - 1);
}


void
FontEngine::Data::_FindSystemFont(const char* name, uint16* familyID, uint16* styleID)
{
	FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
	if (pattern == NULL)
		return;
	FcConfigSubstitute(NULL, pattern, FcMatchPattern);
	FcDefaultSubstitute(pattern);
	FcResult result;
	FcPattern* match = FcFontMatch(NULL, pattern, &result);
	FcPatternDestroy(pattern);

	FcChar8* file = NULL;
	int index = 0;
	if (match != NULL && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
		FcPatternGetInteger(match, FC_INDEX, 0, &index);
		const char* path = reinterpret_cast<const char*>(file);
		for (size_t family = 0; family < fFamilies.size(); family++) {
			const std::vector<StyleEntry>& styles = fFamilies[family].styles;
			for (size_t style = 0; style < styles.size(); style++) {
				if (styles[style].path == path && styles[style].index == index) {
					*familyID = (uint16)family;
					*styleID = (uint16)style;
					FcPatternDestroy(match);
					return;
				}
			}
		}
	}
	if (match != NULL)
		FcPatternDestroy(match);

	// Whatever there is: the first regular style of the first family
	if (!fFamilies.empty() && !fFamilies[0].styles.empty()) {
		*familyID = 0;
		*styleID = 0;
		for (size_t style = 0; style < fFamilies[0].styles.size(); style++) {
			if (fFamilies[0].styles[style].face == B_REGULAR_FACE) {
				*styleID = (uint16)style;
				break;
			}
		}
	}
}


//	#pragma mark - FontEngine


FontEngine::FontEngine() : fData(new Data) { }


FontEngine::~FontEngine()
{
	delete fData;
}


FontEngine&
FontEngine::Default()
{
	// Never destroyed: text may be drawn while the process ends.
	static FontEngine* sEngine = new FontEngine;
	return *sEngine;
}


int32
FontEngine::CountFamilies()
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Init();
	return (int32)fData->fFamilies.size();
}


status_t
FontEngine::GetFamily(int32 index, font_family* name, uint32* flags)
{
	if (name == NULL)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Init();
	if (index < 0 || index >= (int32)fData->fFamilies.size())
		return B_BAD_VALUE;

	const FamilyEntry& family = fData->fFamilies[index];
	snprintf(*name, sizeof(font_family), "%s", family.name.c_str());
	if (flags != NULL) {
		bool fixed = !family.styles.empty();
		for (const StyleEntry& style : family.styles)
			fixed = fixed && style.fixed;
		*flags = fixed ? B_IS_FIXED : 0;
	}
	return B_OK;
}


int32
FontEngine::CountStyles(const char* family)
{
	if (family == NULL)
		return 0;
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Init();
	for (const FamilyEntry& entry : fData->fFamilies) {
		if (entry.name == family)
			return (int32)entry.styles.size();
	}
	return 0;
}


status_t
FontEngine::GetStyle(const char* family, int32 index, font_style* name, uint16* face, uint32* flags)
{
	if (family == NULL || name == NULL)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Init();
	for (const FamilyEntry& entry : fData->fFamilies) {
		if (entry.name != family)
			continue;
		if (index < 0 || index >= (int32)entry.styles.size())
			return B_BAD_VALUE;
		const StyleEntry& style = entry.styles[index];
		snprintf(*name, sizeof(font_style), "%s", style.name.c_str());
		if (face != NULL)
			*face = style.face;
		if (flags != NULL)
			*flags = style.fixed ? B_IS_FIXED : 0;
		return B_OK;
	}
	return B_NAME_NOT_FOUND;
}


status_t
FontEngine::FindStyle(
	const char* family, const char* style, uint16 currentFamily, uint16* familyID, uint16* styleID)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Init();

	uint16 familyIndex = currentFamily;
	if (family != NULL) {
		familyIndex = kInvalidFontID;
		for (size_t i = 0; i < fData->fFamilies.size(); i++) {
			if (fData->fFamilies[i].name == family) {
				familyIndex = (uint16)i;
				break;
			}
		}
	} else {
		uint16 unused = 0;
		if (familyIndex == kSystemFontFamily)
			fData->Resolve(&familyIndex, &unused);
	}
	if (familyIndex >= fData->fFamilies.size())
		return B_NAME_NOT_FOUND;

	const std::vector<StyleEntry>& styles = fData->fFamilies[familyIndex].styles;
	if (styles.empty())
		return B_NAME_NOT_FOUND;
	uint16 styleIndex = kInvalidFontID;
	for (size_t i = 0; i < styles.size(); i++) {
		if (style != NULL ? styles[i].name == style : styles[i].face == B_REGULAR_FACE) {
			styleIndex = (uint16)i;
			break;
		}
	}
	if (styleIndex == kInvalidFontID) {
		if (style != NULL)
			return B_NAME_NOT_FOUND;
		styleIndex = 0;
	}

	*familyID = familyIndex;
	*styleID = styleIndex;
	return B_OK;
}


status_t
FontEngine::FindFace(uint16 familyID, uint16 face, uint16* styleID)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	uint16 unusedStyle = 0;
	if (familyID == kSystemFontFamily)
		fData->Resolve(&familyID, &unusedStyle);
	else
		fData->Init();
	if (familyID >= fData->fFamilies.size() || fData->fFamilies[familyID].styles.empty())
		return B_NAME_NOT_FOUND;

	// The style whose face differs least, weighing width over weight over slant
	const uint16 kWeights[]
		= {B_CONDENSED_FACE, B_BOLD_FACE, B_HEAVY_FACE, B_LIGHT_FACE, B_ITALIC_FACE};
	const int32 kScores[] = {16, 8, 4, 2, 1};
	const std::vector<StyleEntry>& styles = fData->fFamilies[familyID].styles;
	int32 bestScore = INT32_MAX;
	for (size_t i = 0; i < styles.size(); i++) {
		int32 score = 0;
		for (size_t bit = 0; bit < sizeof(kWeights) / sizeof(kWeights[0]); bit++) {
			if ((styles[i].face & kWeights[bit]) != (face & kWeights[bit]))
				score += kScores[bit];
		}
		if (score < bestScore) {
			bestScore = score;
			*styleID = (uint16)i;
		}
	}
	return B_OK;
}


void
FontEngine::Resolve(uint16* familyID, uint16* styleID)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Resolve(familyID, styleID);
}


status_t
FontEngine::GetNames(uint16 familyID, uint16 styleID, font_family* family, font_style* style)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	fData->Resolve(&familyID, &styleID);
	StyleEntry* entry = fData->Style(familyID, styleID);
	if (entry == NULL)
		return B_NAME_NOT_FOUND;
	if (family != NULL)
		snprintf(*family, sizeof(font_family), "%s", fData->fFamilies[familyID].name.c_str());
	if (style != NULL)
		snprintf(*style, sizeof(font_style), "%s", entry->name.c_str());
	return B_OK;
}


uint16
FontEngine::FaceOf(uint16 familyID, uint16 styleID)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* entry = fData->Style(familyID, styleID);
	return entry != NULL ? entry->face : (uint16)B_REGULAR_FACE;
}


bool
FontEngine::IsFixed(uint16 familyID, uint16 styleID)
{
	std::lock_guard<std::mutex> lock(fData->fLock);
	StyleEntry* entry = fData->Style(familyID, styleID);
	return entry != NULL && entry->fixed;
}


} // namespace BPrivate
