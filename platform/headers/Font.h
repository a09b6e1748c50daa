/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FONT_H
#define _FONT_H


#include <InterfaceDefs.h>
#include <SupportDefs.h>


class BString;

namespace BPrivate {
class FontPrivate;
}


#define B_FONT_FAMILY_LENGTH 63
#define B_FONT_STYLE_LENGTH 63

typedef char font_family[B_FONT_FAMILY_LENGTH + 1];
typedef char font_style[B_FONT_STYLE_LENGTH + 1];


// Spacing modes
enum { B_CHAR_SPACING = 0, B_STRING_SPACING = 1, B_BITMAP_SPACING = 2, B_FIXED_SPACING = 3 };


enum font_direction { B_FONT_LEFT_TO_RIGHT = 0, B_FONT_RIGHT_TO_LEFT = 1 };


// Font flags
enum { B_DISABLE_ANTIALIASING = 0x00000001, B_FORCE_ANTIALIASING = 0x00000002 };


// Truncation modes
enum {
	B_NO_TRUNCATION = ~0U,
	B_TRUNCATE_END = 0,
	B_TRUNCATE_BEGINNING = 1,
	B_TRUNCATE_MIDDLE = 2,
	B_TRUNCATE_SMART = 3
};


// Encodings
enum {
	B_UNICODE_UTF8 = 0,
	B_ISO_8859_1 = 1,
	B_ISO_8859_2 = 2,
	B_ISO_8859_3 = 3,
	B_ISO_8859_4 = 4,
	B_ISO_8859_5 = 5,
	B_ISO_8859_6 = 6,
	B_ISO_8859_7 = 7,
	B_ISO_8859_8 = 8,
	B_ISO_8859_9 = 9,
	B_ISO_8859_10 = 10,
	B_MACINTOSH_ROMAN = 11
};


// Flags of a family or style, from get_font_family() and get_font_style()
enum { B_HAS_TUNED_FONT = 0x0001, B_IS_FIXED = 0x0002 };


// Faces
enum {
	B_ITALIC_FACE = 0x0001,
	B_UNDERSCORE_FACE = 0x0002,
	B_NEGATIVE_FACE = 0x0004,
	B_OUTLINED_FACE = 0x0008,
	B_STRIKEOUT_FACE = 0x0010,
	B_BOLD_FACE = 0x0020,
	B_REGULAR_FACE = 0x0040,
	// new in Haiku
	B_CONDENSED_FACE = 0x0080,
	B_LIGHT_FACE = 0x0100,
	B_HEAVY_FACE = 0x0200
};


enum font_metric_mode { B_SCREEN_METRIC = 0, B_PRINTING_METRIC = 1 };


enum font_file_format { B_TRUETYPE_WINDOWS = 0, B_POSTSCRIPT_TYPE1_WINDOWS = 1 };


// Which properties BView::SetFont() takes from the font it is given
enum {
	B_FONT_FAMILY_AND_STYLE = 0x00000001,
	B_FONT_SIZE = 0x00000002,
	B_FONT_SHEAR = 0x00000004,
	B_FONT_ROTATION = 0x00000008,
	B_FONT_SPACING = 0x00000010,
	B_FONT_ENCODING = 0x00000020,
	B_FONT_FACE = 0x00000040,
	B_FONT_FLAGS = 0x00000080,
	B_FONT_FALSE_BOLD_WIDTH = 0x00000100,
	B_FONT_ALL = 0x000001FF
};


struct font_height {
	float ascent;
	float descent;
	float leading;
};


struct escapement_delta {
	float nonspace;
	float space;
};


// A font: a family and style, a size and the ways to draw it. The layer's fonts are the
// scalable fonts that fontconfig finds; sizes are pixels per em.
class BFont {
public:
	BFont();
	BFont(const BFont& font);
	BFont(const BFont* font);

	status_t SetFamilyAndStyle(const font_family family, const font_style style);
	void SetFamilyAndStyle(uint32 code);
	status_t SetFamilyAndFace(const font_family family, uint16 face);

	void SetSize(float size);
	void SetShear(float shear);
	void SetRotation(float rotation);
	void SetFalseBoldWidth(float width);
	void SetSpacing(uint8 spacing);
	void SetEncoding(uint8 encoding);
	void SetFace(uint16 face);
	void SetFlags(uint32 flags);

	void GetFamilyAndStyle(font_family* family, font_style* style) const;
	uint32 FamilyAndStyle() const;
	float Size() const;
	float Shear() const;
	float Rotation() const;
	float FalseBoldWidth() const;
	uint8 Spacing() const;
	uint8 Encoding() const;
	uint16 Face() const;
	uint32 Flags() const;

	font_direction Direction() const;
	bool IsFixed() const;
	bool IsFullAndHalfFixed() const;
	BRect BoundingBox() const;
	font_file_format FileFormat() const;

	// Cuts the string to fit `width`, replacing what it leaves out with an ellipsis
	// ("…", U+2026), per UTF-8 character. A string that fits within width + 1/128 is
	// left alone; when not even the ellipsis fits, the result is "".
	void TruncateString(BString* inOut, uint32 mode, float width) const;
	void GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode, float width,
		BString resultArray[]) const;
	void GetTruncatedStrings(const char* stringArray[], int32 numStrings, uint32 mode, float width,
		char* resultArray[]) const;

	// The sum of the characters' advances: an unrounded float, 0 for NULL or "".
	float StringWidth(const char* string) const;
	float StringWidth(const char* string, int32 length) const;
	void GetStringWidths(const char* stringArray[], const int32 lengthArray[], int32 numStrings,
		float widthArray[]) const;

	// Advances of characters in ems (fractions of the size)
	void GetEscapements(const char charArray[], int32 numChars, float escapementArray[]) const;
	void GetEscapements(const char charArray[], int32 numChars, escapement_delta* delta,
		float escapementArray[]) const;

	void GetHeight(font_height* height) const;
	void GetHasGlyphs(const char charArray[], int32 numChars, bool hasArray[]) const;

	BFont& operator=(const BFont& font);
	bool operator==(const BFont& font) const;
	bool operator!=(const BFont& font) const;

	void PrintToStream() const;

private:
	friend class BPrivate::FontPrivate;

	// A system font, looked up on first use
	constexpr BFont(uint16 systemFont, uint16 face)
		: fFamilyID(0xfffe), fStyleID(systemFont), fSize(12.0f), fShear(90.0f), fRotation(0.0f),
		  fFalseBoldWidth(0.0f), fSpacing(B_BITMAP_SPACING), fEncoding(B_UNICODE_UTF8), fFace(face),
		  fFlags(0)
	{ }

	uint16 fFamilyID;
	uint16 fStyleID;
	float fSize;
	float fShear;
	float fRotation;
	float fFalseBoldWidth;
	uint8 fSpacing;
	uint8 fEncoding;
	uint16 fFace;
	uint32 fFlags;
};


// DejaVu Sans, DejaVu Sans Bold and DejaVu Sans Mono at 12, or what fontconfig offers
// in their place.
extern const BFont* be_plain_font;
extern const BFont* be_bold_font;
extern const BFont* be_fixed_font;


int32 count_font_families();
status_t get_font_family(int32 index, font_family* name, uint32* flags = NULL);
int32 count_font_styles(font_family name);
status_t get_font_style(font_family family, int32 index, font_style* name, uint32* flags = NULL);
status_t get_font_style(
	font_family family, int32 index, font_style* name, uint16* face, uint32* flags = NULL);


#endif // _FONT_H
