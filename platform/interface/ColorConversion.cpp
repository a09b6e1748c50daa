/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <ColorConversion.h>

#include <math.h>
#include <string.h>


namespace BPrivate {


// Pixels are converted through a small buffer of R, G, B, A bytes.
static const int32 kChunkPixels = 256;


typedef void (*row_reader)(const uint8* row, int32 x, int32 count, uint8* rgba);
typedef void (*row_writer)(uint8* row, int32 x, int32 count, const uint8* rgba);


static inline uint8
gray_of(const uint8* rgba)
{
	return (uint8)((308 * rgba[0] + 600 * rgba[1] + 116 * rgba[2]) / 1024);
}


static inline uint8
expand5(uint32 value)
{
	return (uint8)((value << 3) | (value >> 2));
}


static inline uint8
expand6(uint32 value)
{
	return (uint8)((value << 2) | (value >> 4));
}


//	#pragma mark - readers


static void
read_rgb32(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 4;
	for (int32 i = 0; i < count; i++, in += 4, rgba += 4) {
		rgba[0] = in[2];
		rgba[1] = in[1];
		rgba[2] = in[0];
		rgba[3] = 255;
	}
}


static void
read_rgba32(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 4;
	for (int32 i = 0; i < count; i++, in += 4, rgba += 4) {
		rgba[0] = in[2];
		rgba[1] = in[1];
		rgba[2] = in[0];
		rgba[3] = in[3];
	}
}


static void
read_rgb32_big(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 4;
	for (int32 i = 0; i < count; i++, in += 4, rgba += 4) {
		rgba[0] = in[1];
		rgba[1] = in[2];
		rgba[2] = in[3];
		rgba[3] = 255;
	}
}


static void
read_rgba32_big(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 4;
	for (int32 i = 0; i < count; i++, in += 4, rgba += 4) {
		rgba[0] = in[1];
		rgba[1] = in[2];
		rgba[2] = in[3];
		rgba[3] = in[0];
	}
}


static void
read_rgb24(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 3;
	for (int32 i = 0; i < count; i++, in += 3, rgba += 4) {
		rgba[0] = in[2];
		rgba[1] = in[1];
		rgba[2] = in[0];
		rgba[3] = 255;
	}
}


static void
read_rgb24_big(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 3;
	for (int32 i = 0; i < count; i++, in += 3, rgba += 4) {
		rgba[0] = in[0];
		rgba[1] = in[1];
		rgba[2] = in[2];
		rgba[3] = 255;
	}
}


static void
read_rgb16(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 2;
	for (int32 i = 0; i < count; i++, in += 2, rgba += 4) {
		uint32 value = in[0] | (in[1] << 8);
		rgba[0] = expand5((value >> 11) & 0x1f);
		rgba[1] = expand6((value >> 5) & 0x3f);
		rgba[2] = expand5(value & 0x1f);
		rgba[3] = 255;
	}
}


static void
read_rgb15(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x * 2;
	for (int32 i = 0; i < count; i++, in += 2, rgba += 4) {
		uint32 value = in[0] | (in[1] << 8);
		rgba[0] = expand5((value >> 10) & 0x1f);
		rgba[1] = expand5((value >> 5) & 0x1f);
		rgba[2] = expand5(value & 0x1f);
		rgba[3] = 255;
	}
}


static void
read_rgba15(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	read_rgb15(row, x, count, rgba);
	const uint8* in = row + x * 2;
	for (int32 i = 0; i < count; i++, in += 2, rgba += 4)
		rgba[3] = (in[1] & 0x80) != 0 ? 255 : 0;
}


static void
read_gray8(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	const uint8* in = row + x;
	for (int32 i = 0; i < count; i++, in++, rgba += 4) {
		rgba[0] = rgba[1] = rgba[2] = *in;
		rgba[3] = 255;
	}
}


// A set bit is a black pixel, the first pixel of a byte its highest bit.
static void
read_gray1(const uint8* row, int32 x, int32 count, uint8* rgba)
{
	for (int32 i = 0; i < count; i++, rgba += 4) {
		int32 bit = x + i;
		bool black = (row[bit >> 3] & (0x80 >> (bit & 7))) != 0;
		rgba[0] = rgba[1] = rgba[2] = black ? 0 : 255;
		rgba[3] = 255;
	}
}


//	#pragma mark - writers


static void
write_rgb32(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 4;
	for (int32 i = 0; i < count; i++, out += 4, rgba += 4) {
		out[0] = rgba[2];
		out[1] = rgba[1];
		out[2] = rgba[0];
		out[3] = 255;
	}
}


static void
write_rgba32(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 4;
	for (int32 i = 0; i < count; i++, out += 4, rgba += 4) {
		out[0] = rgba[2];
		out[1] = rgba[1];
		out[2] = rgba[0];
		out[3] = rgba[3];
	}
}


static void
write_rgb32_big(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 4;
	for (int32 i = 0; i < count; i++, out += 4, rgba += 4) {
		out[0] = 255;
		out[1] = rgba[0];
		out[2] = rgba[1];
		out[3] = rgba[2];
	}
}


static void
write_rgba32_big(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 4;
	for (int32 i = 0; i < count; i++, out += 4, rgba += 4) {
		out[0] = rgba[3];
		out[1] = rgba[0];
		out[2] = rgba[1];
		out[3] = rgba[2];
	}
}


static void
write_rgb24(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 3;
	for (int32 i = 0; i < count; i++, out += 3, rgba += 4) {
		out[0] = rgba[2];
		out[1] = rgba[1];
		out[2] = rgba[0];
	}
}


static void
write_rgb24_big(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 3;
	for (int32 i = 0; i < count; i++, out += 3, rgba += 4) {
		out[0] = rgba[0];
		out[1] = rgba[1];
		out[2] = rgba[2];
	}
}


static void
write_rgb16(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 2;
	for (int32 i = 0; i < count; i++, out += 2, rgba += 4) {
		uint32 value = ((rgba[0] >> 3) << 11) | ((rgba[1] >> 2) << 5) | (rgba[2] >> 3);
		out[0] = (uint8)value;
		out[1] = (uint8)(value >> 8);
	}
}


static void
write_rgb15(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x * 2;
	for (int32 i = 0; i < count; i++, out += 2, rgba += 4) {
		uint32 value = ((rgba[0] >> 3) << 10) | ((rgba[1] >> 3) << 5) | (rgba[2] >> 3);
		out[0] = (uint8)value;
		out[1] = (uint8)(value >> 8);
	}
}


static void
write_rgba15(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	write_rgb15(row, x, count, rgba);
	uint8* out = row + x * 2;
	for (int32 i = 0; i < count; i++, out += 2, rgba += 4) {
		if (rgba[3] >= 128)
			out[1] |= 0x80;
	}
}


static void
write_gray8(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	uint8* out = row + x;
	for (int32 i = 0; i < count; i++, out++, rgba += 4)
		*out = gray_of(rgba);
}


static void
write_gray1(uint8* row, int32 x, int32 count, const uint8* rgba)
{
	for (int32 i = 0; i < count; i++, rgba += 4) {
		int32 bit = x + i;
		uint8 mask = (uint8)(0x80 >> (bit & 7));
		if (gray_of(rgba) < 128)
			row[bit >> 3] |= mask;
		else
			row[bit >> 3] &= (uint8)~mask;
	}
}


static bool
functions_for(color_space space, row_reader* _reader, row_writer* _writer)
{
	switch (space) {
	case B_RGB32:
		*_reader = read_rgb32;
		*_writer = write_rgb32;
		return true;
	case B_RGBA32:
		*_reader = read_rgba32;
		*_writer = write_rgba32;
		return true;
	case B_RGB32_BIG:
		*_reader = read_rgb32_big;
		*_writer = write_rgb32_big;
		return true;
	case B_RGBA32_BIG:
		*_reader = read_rgba32_big;
		*_writer = write_rgba32_big;
		return true;
	case B_RGB24:
		*_reader = read_rgb24;
		*_writer = write_rgb24;
		return true;
	case B_RGB24_BIG:
		*_reader = read_rgb24_big;
		*_writer = write_rgb24_big;
		return true;
	case B_RGB16:
		*_reader = read_rgb16;
		*_writer = write_rgb16;
		return true;
	case B_RGB15:
		*_reader = read_rgb15;
		*_writer = write_rgb15;
		return true;
	case B_RGBA15:
		*_reader = read_rgba15;
		*_writer = write_rgba15;
		return true;
	case B_GRAY8:
		*_reader = read_gray8;
		*_writer = write_gray8;
		return true;
	case B_GRAY1:
		*_reader = read_gray1;
		*_writer = write_gray1;
		return true;
	default:
		return false;
	}
}


// How many of `wanted` pixels from pixel x on fit into the `available` bytes of a row.
static int32
pixels_that_fit(int64 available, int32 bitsPerPixel, int32 x, int32 wanted)
{
	int64 pixels = available * 8 / bitsPerPixel - x;
	if (pixels <= 0)
		return 0;
	return pixels < wanted ? (int32)pixels : wanted;
}


static bool
valid_offset(float value, int32* _offset)
{
	if (!(value >= 0.0f) || value > (float)kMaxBitmapSide)
		return false;
	*_offset = (int32)value;
	return true;
}


// The number of pixels from `low` to `high` (inclusive), or -1 when that is not a size
// bitmaps have.
static int32
pixel_count(float low, float high)
{
	if (!isfinite(low) || !isfinite(high) || !(high >= low))
		return -1;
	float span = high - low;
	if (span > (float)(kMaxBitmapSide - 1))
		return -1;
	return (int32)ceilf(span) + 1;
}


//	#pragma mark - public functions


bool
bitmap_dimensions(BRect bounds, int32* _width, int32* _height)
{
	int32 width = pixel_count(bounds.left, bounds.right);
	int32 height = pixel_count(bounds.top, bounds.bottom);
	if (width < 0 || height < 0)
		return false;
	*_width = width;
	*_height = height;
	return true;
}


int32
bits_per_pixel(color_space space)
{
	switch (space) {
	case B_RGB32:
	case B_RGBA32:
	case B_RGB32_BIG:
	case B_RGBA32_BIG:
		return 32;
	case B_RGB24:
	case B_RGB24_BIG:
		return 24;
	case B_RGB16:
	case B_RGB15:
	case B_RGBA15:
		return 16;
	case B_CMAP8:
	case B_GRAY8:
		return 8;
	case B_GRAY1:
		return 1;
	default:
		return 0;
	}
}


int32
pixel_bytes(color_space space, int32 width)
{
	int32 bits = bits_per_pixel(space);
	if (bits == 0 || width < 0 || width > kMaxBitmapSide)
		return -1;
	return (int32)(((int64)width * bits + 7) / 8);
}


int32
bytes_per_row(color_space space, int32 width)
{
	int32 bytes = pixel_bytes(space, width);
	if (bytes < 0)
		return -1;
	return (bytes + 3) & ~3;
}


status_t
ConvertBits(const void* srcBits, void* dstBits, int32 srcBitsLength, int32 dstBitsLength,
	int32 srcBytesPerRow, int32 dstBytesPerRow, color_space srcColorSpace,
	color_space dstColorSpace, BPoint srcOffset, BPoint dstOffset, int32 width, int32 height)
{
	int32 srcX;
	int32 srcY;
	int32 dstX;
	int32 dstY;
	if (srcBits == NULL || dstBits == NULL || srcBitsLength < 0 || dstBitsLength < 0
		|| srcBytesPerRow <= 0 || dstBytesPerRow <= 0 || width < 0 || height < 0
		|| !valid_offset(srcOffset.x, &srcX) || !valid_offset(srcOffset.y, &srcY)
		|| !valid_offset(dstOffset.x, &dstX) || !valid_offset(dstOffset.y, &dstY))
		return B_BAD_VALUE;

	int32 srcPixelBits = bits_per_pixel(srcColorSpace);
	int32 dstPixelBits = bits_per_pixel(dstColorSpace);
	if (srcPixelBits == 0 || dstPixelBits == 0)
		return B_BAD_VALUE;

	row_reader reader = NULL;
	row_writer writer = NULL;
	row_writer unusedWriter;
	row_reader unusedReader;
	bool copyBytes = srcColorSpace == dstColorSpace && srcPixelBits % 8 == 0;
	if (!copyBytes
		&& (!functions_for(srcColorSpace, &reader, &unusedWriter)
			|| !functions_for(dstColorSpace, &unusedReader, &writer)))
		return B_BAD_VALUE;

	const uint8* source = static_cast<const uint8*>(srcBits);
	uint8* destination = static_cast<uint8*>(dstBits);
	uint8 rgba[kChunkPixels * 4];

	for (int32 y = 0; y < height; y++) {
		int64 srcRow = ((int64)srcY + y) * srcBytesPerRow;
		int64 dstRow = ((int64)dstY + y) * dstBytesPerRow;
		if (srcRow >= srcBitsLength || dstRow >= dstBitsLength)
			break;
		int32 count = pixels_that_fit(srcBitsLength - srcRow, srcPixelBits, srcX, width);
		count = pixels_that_fit(dstBitsLength - dstRow, dstPixelBits, dstX, count);
		if (count <= 0)
			break;

		const uint8* in = source + srcRow;
		uint8* out = destination + dstRow;
		if (copyBytes) {
			int32 pixelBytes = srcPixelBits / 8;
			memmove(out + (int64)dstX * pixelBytes, in + (int64)srcX * pixelBytes,
				(size_t)count * pixelBytes);
		} else {
			for (int32 done = 0; done < count; done += kChunkPixels) {
				int32 chunk = min_c(kChunkPixels, count - done);
				reader(in, srcX + done, chunk, rgba);
				writer(out, dstX + done, chunk, rgba);
			}
		}
		if (count < width)
			break;
	}
	return B_OK;
}


status_t
ConvertBits(const void* srcBits, void* dstBits, int32 srcBitsLength, int32 dstBitsLength,
	int32 srcBytesPerRow, int32 dstBytesPerRow, color_space srcColorSpace,
	color_space dstColorSpace, int32 width, int32 height)
{
	return ConvertBits(srcBits, dstBits, srcBitsLength, dstBitsLength, srcBytesPerRow,
		dstBytesPerRow, srcColorSpace, dstColorSpace, BPoint(0, 0), BPoint(0, 0), width, height);
}


}
