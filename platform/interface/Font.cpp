/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Font.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include <Rect.h>
#include <String.h>

#include <FontEngine.h>


using BPrivate::FontEngine;


// "…", one character
static const char* const kEllipsis = "\xe2\x80\xa6";
// A string fits when it is at most this much wider than asked for.
static const float kTruncateSlack = 1.0f / 128.0f;
static const float kMaxFontSize = 10000.0f;


namespace BPrivate {

// The system fonts, constant-initialised so that they exist before any other code runs;
// their ids are looked up on first use.
class FontPrivate {
public:
	static const BFont sPlainFont;
	static const BFont sBoldFont;
	static const BFont sFixedFont;
};


const BFont FontPrivate::sPlainFont(kPlainSystemFont, B_REGULAR_FACE);
const BFont FontPrivate::sBoldFont(kBoldSystemFont, B_BOLD_FACE);
const BFont FontPrivate::sFixedFont(kFixedSystemFont, B_REGULAR_FACE);

} // namespace BPrivate


const BFont* be_plain_font = &BPrivate::FontPrivate::sPlainFont;
const BFont* be_bold_font = &BPrivate::FontPrivate::sBoldFont;
const BFont* be_fixed_font = &BPrivate::FontPrivate::sFixedFont;


BFont::BFont()
{
	*this = *be_plain_font;
}


BFont::BFont(const BFont& font)
{
	*this = font;
}


BFont::BFont(const BFont* font)
{
	*this = font != NULL ? *font : *be_plain_font;
}


status_t
BFont::SetFamilyAndStyle(const font_family family, const font_style style)
{
	uint16 familyID;
	uint16 styleID;
	status_t status
		= FontEngine::Default().FindStyle(family, style, fFamilyID, &familyID, &styleID);
	if (status != B_OK)
		return status;

	fFamilyID = familyID;
	fStyleID = styleID;
	fFace = FontEngine::Default().FaceOf(familyID, styleID);
	return B_OK;
}


void
BFont::SetFamilyAndStyle(uint32 code)
{
	fFamilyID = (uint16)(code >> 16);
	fStyleID = (uint16)(code & 0xffff);
	if (fFamilyID == BPrivate::kSystemFontFamily)
		fFace = fStyleID == BPrivate::kBoldSystemFont ? B_BOLD_FACE : B_REGULAR_FACE;
	else
		fFace = FontEngine::Default().FaceOf(fFamilyID, fStyleID);
}


status_t
BFont::SetFamilyAndFace(const font_family family, uint16 face)
{
	FontEngine& engine = FontEngine::Default();
	uint16 familyID = fFamilyID;
	uint16 styleID = fStyleID;
	if (family != NULL) {
		status_t status = engine.FindStyle(family, NULL, fFamilyID, &familyID, &styleID);
		if (status != B_OK)
			return status;
	} else
		engine.Resolve(&familyID, &styleID);

	status_t status = engine.FindFace(familyID, face, &styleID);
	if (status != B_OK)
		return status;

	fFamilyID = familyID;
	fStyleID = styleID;
	fFace = face;
	return B_OK;
}


void
BFont::SetSize(float size)
{
	if (!(size > 0))
		size = 0;
	fSize = min_c(size, kMaxFontSize);
}


void
BFont::SetShear(float shear)
{
	if (isfinite(shear))
		fShear = max_c(45.0f, min_c(shear, 135.0f));
}


void
BFont::SetRotation(float rotation)
{
	if (isfinite(rotation))
		fRotation = rotation;
}


void
BFont::SetFalseBoldWidth(float width)
{
	if (isfinite(width))
		fFalseBoldWidth = width;
}


void
BFont::SetSpacing(uint8 spacing)
{
	fSpacing = spacing;
}


void
BFont::SetEncoding(uint8 encoding)
{
	fEncoding = encoding;
}


void
BFont::SetFace(uint16 face)
{
	if (face == fFace)
		return;
	SetFamilyAndFace(NULL, face);
}


void
BFont::SetFlags(uint32 flags)
{
	fFlags = flags;
}


void
BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
	if (FontEngine::Default().GetNames(fFamilyID, fStyleID, family, style) == B_OK)
		return;
	if (family != NULL)
		(*family)[0] = '\0';
	if (style != NULL)
		(*style)[0] = '\0';
}


uint32
BFont::FamilyAndStyle() const
{
	return ((uint32)fFamilyID << 16) | fStyleID;
}


float
BFont::Size() const
{
	return fSize;
}


float
BFont::Shear() const
{
	return fShear;
}


float
BFont::Rotation() const
{
	return fRotation;
}


float
BFont::FalseBoldWidth() const
{
	return fFalseBoldWidth;
}


uint8
BFont::Spacing() const
{
	return fSpacing;
}


uint8
BFont::Encoding() const
{
	return fEncoding;
}


uint16
BFont::Face() const
{
	return fFace;
}


uint32
BFont::Flags() const
{
	return fFlags;
}


font_direction
BFont::Direction() const
{
	return B_FONT_LEFT_TO_RIGHT;
}


bool
BFont::IsFixed() const
{
	return FontEngine::Default().IsFixed(fFamilyID, fStyleID);
}


bool
BFont::IsFullAndHalfFixed() const
{
	return false;
}


BRect
BFont::BoundingBox() const
{
	return FontEngine::Default().BoundingBox(fFamilyID, fStyleID, fSize);
}


font_file_format
BFont::FileFormat() const
{
	return B_TRUETYPE_WINDOWS;
}


// Truncation works on whole UTF-8 characters and their advances, added up in the order
// StringWidth() adds them, so that the result measures what the comparison saw.
void
BFont::TruncateString(BString* inOut, uint32 mode, float width) const
{
	if (inOut == NULL)
		return;

	const char* string = inOut->String();
	int32 length = inOut->Length();
	if (length == 0)
		return;
	if (!(width >= 0)) {
		inOut->SetTo("");
		return;
	}

	std::vector<float> advances;
	std::vector<int32> offsets;
	FontEngine::Default().GetCharAdvances(
		fFamilyID, fStyleID, fSize, string, length, &advances, &offsets);
	int32 count = (int32)advances.size();
	float limit = width + kTruncateSlack;

	float total = 0.0f;
	for (float advance : advances)
		total += advance;
	if (total <= limit)
		return;

	float ellipsis = StringWidth(kEllipsis);
	if (ellipsis > limit) {
		inOut->SetTo("");
		return;
	}

	BString result;
	if (mode == B_TRUNCATE_BEGINNING || mode == B_TRUNCATE_MIDDLE || mode == B_TRUNCATE_SMART) {
		// Keep as many characters as fit: the tail, or half from the start and half from
		// the end. The sums guess; the measured result decides.
		bool fromBeginning = mode == B_TRUNCATE_BEGINNING;
		std::vector<double> leading(count + 1, 0.0);
		std::vector<double> trailing(count + 1, 0.0);
		for (int32 i = 0; i < count; i++) {
			leading[i + 1] = leading[i] + advances[i];
			trailing[i + 1] = trailing[i] + advances[count - 1 - i];
		}
		int32 kept = 0;
		for (int32 candidate = count - 1; candidate > 0; candidate--) {
			int32 head = fromBeginning ? 0 : (candidate + 1) / 2;
			int32 tail = candidate - head;
			if (ellipsis + leading[head] + trailing[tail] <= limit) {
				kept = candidate;
				break;
			}
		}
		for (; kept >= 0; kept--) {
			int32 head = fromBeginning ? 0 : (kept + 1) / 2;
			int32 tail = kept - head;
			result.SetTo(string, head < count ? offsets[head] : length);
			result.Append(kEllipsis);
			if (tail > 0)
				result.Append(string + offsets[count - tail]);
			if (kept == 0 || StringWidth(result.String()) <= limit)
				break;
		}
	} else {
		// B_TRUNCATE_END: drop trailing characters until the rest and the ellipsis fit.
		int32 kept = 0;
		float head = 0.0f;
		for (int32 i = 0; i < count; i++) {
			if (head + advances[i] + ellipsis > limit)
				break;
			head += advances[i];
			kept = i + 1;
		}
		result.SetTo(string, kept < count ? offsets[kept] : length);
		result.Append(kEllipsis);
	}
	*inOut = result;
}


void
BFont::GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode, float width,
	BString resultArray[]) const
{
	if (stringArray == NULL || resultArray == NULL)
		return;
	for (int32 i = 0; i < numStrings; i++) {
		resultArray[i] = stringArray[i];
		TruncateString(&resultArray[i], mode, width);
	}
}


void
BFont::GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode, float width,
	char* resultArray[]) const
{
	if (stringArray == NULL || resultArray == NULL)
		return;
	for (int32 i = 0; i < numStrings; i++) {
		if (resultArray[i] == NULL)
			continue;
		BString result(stringArray[i]);
		TruncateString(&result, mode, width);
		// The caller's buffers hold the input and three bytes more.
		size_t room = stringArray[i] != NULL ? strlen(stringArray[i]) + 3 : 1;
		snprintf(resultArray[i], room, "%s", result.String());
	}
}


float
BFont::StringWidth(const char* string) const
{
	if (string == NULL)
		return 0.0f;
	return StringWidth(string, (int32)strlen(string));
}


float
BFont::StringWidth(const char* string, int32 length) const
{
	return FontEngine::Default().StringWidth(fFamilyID, fStyleID, fSize, string, length);
}


void
BFont::GetStringWidths(const char* stringArray[], const int32 lengthArray[], int32 numStrings,
	float widthArray[]) const
{
	if (stringArray == NULL || lengthArray == NULL || widthArray == NULL)
		return;
	for (int32 i = 0; i < numStrings; i++)
		widthArray[i] = StringWidth(stringArray[i], lengthArray[i]);
}


void
BFont::GetEscapements(const char charArray[], int32 numChars, float escapementArray[]) const
{
	GetEscapements(charArray, numChars, NULL, escapementArray);
}


void
BFont::GetEscapements(
	const char charArray[], int32 numChars, escapement_delta* delta, float escapementArray[]) const
{
	FontEngine::Default().GetEscapements(
		fFamilyID, fStyleID, charArray, numChars, delta, fSize, escapementArray);
}


void
BFont::GetHeight(font_height* height) const
{
	FontEngine::Default().GetHeight(fFamilyID, fStyleID, fSize, height);
}


void
BFont::GetHasGlyphs(const char charArray[], int32 numChars, bool hasArray[]) const
{
	FontEngine::Default().GetHasGlyphs(fFamilyID, fStyleID, charArray, numChars, hasArray);
}


BFont&
BFont::operator=(const BFont& font)
{
	fFamilyID = font.fFamilyID;
	fStyleID = font.fStyleID;
	fSize = font.fSize;
	fShear = font.fShear;
	fRotation = font.fRotation;
	fFalseBoldWidth = font.fFalseBoldWidth;
	fSpacing = font.fSpacing;
	fEncoding = font.fEncoding;
	fFace = font.fFace;
	fFlags = font.fFlags;
	return *this;
}


bool
BFont::operator==(const BFont& font) const
{
	uint16 familyID = fFamilyID;
	uint16 styleID = fStyleID;
	uint16 otherFamilyID = font.fFamilyID;
	uint16 otherStyleID = font.fStyleID;
	if (familyID != otherFamilyID || styleID != otherStyleID) {
		FontEngine::Default().Resolve(&familyID, &styleID);
		FontEngine::Default().Resolve(&otherFamilyID, &otherStyleID);
	}
	return familyID == otherFamilyID && styleID == otherStyleID && fSize == font.fSize
		&& fShear == font.fShear && fRotation == font.fRotation
		&& fFalseBoldWidth == font.fFalseBoldWidth && fSpacing == font.fSpacing
		&& fEncoding == font.fEncoding && fFace == font.fFace && fFlags == font.fFlags;
}


bool
BFont::operator!=(const BFont& font) const
{
	return !(*this == font);
}


void
BFont::PrintToStream() const
{
	font_family family;
	font_style style;
	GetFamilyAndStyle(&family, &style);
	font_height height;
	GetHeight(&height);
	printf("BFont { %s (%d), %s (%d) 0x%x %f/%f %fpt (%f %f %f), %d }\n", family, (int)fFamilyID,
		style, (int)fStyleID, (unsigned)fFace, fShear, fRotation, fSize, height.ascent,
		height.descent, height.leading, (int)fEncoding);
}


//	#pragma mark - font lists


int32
count_font_families()
{
	return FontEngine::Default().CountFamilies();
}


status_t
get_font_family(int32 index, font_family* name, uint32* flags)
{
	return FontEngine::Default().GetFamily(index, name, flags);
}


int32
count_font_styles(font_family name)
{
	return FontEngine::Default().CountStyles(name);
}


status_t
get_font_style(font_family family, int32 index, font_style* name, uint32* flags)
{
	return FontEngine::Default().GetStyle(family, index, name, NULL, flags);
}


status_t
get_font_style(font_family family, int32 index, font_style* name, uint16* face, uint32* flags)
{
	return FontEngine::Default().GetStyle(family, index, name, face, flags);
}
