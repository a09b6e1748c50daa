/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BUILTIN_TRANSLATORS_H
#define _BUILTIN_TRANSLATORS_H


#include <DataIO.h>
#include <TranslationDefs.h>
#include <TranslatorFormats.h>


class BMessage;


namespace BPrivate {


// Images larger than this are refused before anything is allocated for them.
const int32 kMaxImageSide = 16384;
const int64 kMaxImagePixels = 64 * 1024 * 1024;

// The size of the baseline bitmap header in a stream.
const size_t kBitmapHeaderSize = 32;


// A translator built into the layer (there are no translator add-ons). Identify() and
// Translate() get the source positioned at its start and read it with Read(); they never
// crash on bad data: unknown data gives B_NO_TRANSLATOR, broken data B_ILLEGAL_DATA. Its
// name, description and formats are given when it is made; the formats are static arrays.
class BuiltinTranslator {
public:
	BuiltinTranslator(const char* name, const char* info, const translation_format* inputs,
		int32 inputCount, const translation_format* outputs, int32 outputCount);
	virtual ~BuiltinTranslator() { }

	const char* Name() const;
	const char* Info() const;
	int32 Version() const;

	const translation_format* InputFormats(int32* _count) const;
	const translation_format* OutputFormats(int32* _count) const;

	// Fills everything of _info but the translator's id. An outType of 0 asks for the
	// translator's usual output.
	virtual status_t Identify(
		BPositionIO* source, BMessage* ioExtension, translator_info* _info, uint32 outType)
		= 0;
	virtual status_t Translate(BPositionIO* source, const translator_info* info,
		BMessage* ioExtension, uint32 outType, BPositionIO* destination)
		= 0;

private:
	const char* fName;
	const char* fInfo;
	const translation_format* fInputs;
	int32 fInputCount;
	const translation_format* fOutputs;
	int32 fOutputCount;
};


// A translator that reads one image format (its first input format) into bitmaps.
class ImageReaderTranslator : public BuiltinTranslator {
public:
	using BuiltinTranslator::BuiltinTranslator;

	virtual status_t Identify(
		BPositionIO* source, BMessage* ioExtension, translator_info* _info, uint32 outType);
	virtual status_t Translate(BPositionIO* source, const translator_info* info,
		BMessage* ioExtension, uint32 outType, BPositionIO* destination);

protected:
	// Whether the data from the source's start is in the format
	virtual bool IsFormat(BPositionIO* source) const = 0;
	// Decodes the whole source into a bitmap stream
	virtual status_t Decode(BPositionIO* source, BPositionIO* destination) const = 0;
};


BuiltinTranslator* create_png_translator();
BuiltinTranslator* create_jpeg_translator();
BuiltinTranslator* create_gif_translator();


// Fills _info from one of a translator's formats.
void fill_translator_info(const translation_format& format, translator_info* _info);

// Reads exactly `size` bytes; false when the source ends first or fails.
bool read_exactly(BPositionIO* source, void* buffer, size_t size);

// The baseline bitmap header to and from its big-endian form in a stream.
void bitmap_header_from_stream(const uint8* bytes, TranslatorBitmap* _header);
void bitmap_header_to_stream(const TranslatorBitmap& header, uint8* bytes);

// Checks a baseline bitmap header: the magic, bounds within the image limits, a colour
// space the layer converts, rows wide enough for the pixels (padded at most to twice the
// usual row), and a data size that holds every row. Gives the size in pixels.
bool check_bitmap_header(const TranslatorBitmap& header, int32* _width, int32* _height);

// Writes a B_RGBA32 image of tightly packed rows (width * 4 bytes each) as a baseline
// bitmap stream: the header, then the pixels.
status_t write_rgba32_bitmap(
	BPositionIO* destination, const uint8* bits, int32 width, int32 height);

// Whether an image of this size is within the limits.
bool image_size_allowed(int64 width, int64 height);


}


#endif // _BUILTIN_TRANSLATORS_H
