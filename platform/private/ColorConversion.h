/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _COLOR_CONVERSION_H
#define _COLOR_CONVERSION_H


#include <GraphicsDefs.h>
#include <Point.h>
#include <Rect.h>


namespace BPrivate {


// The largest side of a bitmap the layer allocates, in pixels.
const int32 kMaxBitmapSide = 32768;


// The size in pixels of a bitmap with these bounds, (width + 1) x (height + 1) with the
// fractions rounded up; false for bounds that are reversed, not finite, or wider or
// higher than kMaxBitmapSide pixels.
bool bitmap_dimensions(BRect bounds, int32* _width, int32* _height);

// Bits one pixel takes in `space`, or 0 for a colour space that bitmaps do not support.
int32 bits_per_pixel(color_space space);

// Bytes the pixels of one row of `width` take in `space`, without padding, or -1 as
// bytes_per_row() gives it.
int32 pixel_bytes(color_space space, int32 width);

// Bytes one row of `width` pixels takes in `space`, rounded up to a multiple of four, or
// -1 for an unsupported space or a width that is negative or too large.
int32 bytes_per_row(color_space space, int32 width);

// Converts `width` x `height` pixels, starting at the pixel srcOffset of the source and
// dstOffset of the destination, from one colour space to the other. Row y starts y rows
// of bytes per row after the first; a width wider than a row runs on into the next one, as
// a stream of pixels. Nothing outside either buffer's length is read or written: the
// conversion stops at the first pixel that does not fit. B_CMAP8 is copied only to
// B_CMAP8. Returns B_BAD_VALUE for a bad argument or a conversion it cannot do.
status_t ConvertBits(const void* srcBits, void* dstBits, int32 srcBitsLength, int32 dstBitsLength,
	int32 srcBytesPerRow, int32 dstBytesPerRow, color_space srcColorSpace,
	color_space dstColorSpace, BPoint srcOffset, BPoint dstOffset, int32 width, int32 height);

status_t ConvertBits(const void* srcBits, void* dstBits, int32 srcBitsLength, int32 dstBitsLength,
	int32 srcBytesPerRow, int32 dstBytesPerRow, color_space srcColorSpace,
	color_space dstColorSpace, int32 width, int32 height);


}


#endif // _COLOR_CONVERSION_H
