/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TRANSLATOR_FORMATS_H
#define _TRANSLATOR_FORMATS_H


#include <GraphicsDefs.h>
#include <Rect.h>


// The media groups, each also the type code of its baseline format.
enum TranslatorGroups {
	B_TRANSLATOR_BITMAP = 'bits',
	B_TRANSLATOR_PICTURE = 'pict',
	B_TRANSLATOR_SOUND = 'nois',
	B_TRANSLATOR_TEXT = 'TEXT',
	B_TRANSLATOR_MIDI = 'midi',
	B_TRANSLATOR_MEDIA = 'mhi!',
	B_TRANSLATOR_NONE = 'none',
	B_TRANSLATOR_ANY_TYPE = 0
};


enum {
	B_GIF_FORMAT = 'GIF ',
	B_JPEG_FORMAT = 'JPEG',
	B_PNG_FORMAT = 'PNG ',
	B_PPM_FORMAT = 'PPM ',
	B_TGA_FORMAT = 'TGA ',
	B_BMP_FORMAT = 'BMP ',
	B_TIFF_FORMAT = 'TIFF',
	B_WEBP_FORMAT = 'WebP',

	B_STYLED_TEXT_FORMAT = 'STXT'
};


// The baseline bitmap format: this header, with every field stored big-endian, followed by
// dataSize bytes of pixels, rows of rowBytes each, in the colour space `colors`.
struct TranslatorBitmap {
	uint32 magic;
	BRect bounds;
	uint32 rowBytes;
	color_space colors;
	uint32 dataSize;
};


#define B_TRANSLATOR_EXT_HEADER_ONLY "/headerOnly"
#define B_TRANSLATOR_EXT_DATA_ONLY "/dataOnly"
#define B_TRANSLATOR_EXT_COMMENT "/comment"
#define B_TRANSLATOR_EXT_TIME "/time"
#define B_TRANSLATOR_EXT_FRAME "/frame"
#define B_TRANSLATOR_EXT_BITMAP_RECT "bits/Rect"
#define B_TRANSLATOR_EXT_BITMAP_COLOR_SPACE "bits/space"
#define B_TRANSLATOR_EXT_BITMAP_PALETTE "bits/palette"


#endif // _TRANSLATOR_FORMATS_H
