/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _IMAGE_FIXTURES_H
#define _IMAGE_FIXTURES_H


#include <iosfwd>
#include <string>
#include <vector>

#include <Bitmap.h>
#include <GraphicsDefs.h>


// Pictures of known pixels made with the codec libraries themselves, so that the
// translators are checked against independent encoders.

struct PNGImage {
	int width = 0;
	int height = 0;
	int colorType = 0;
	int bitDepth = 8;
	bool interlaced = false;
	// Rows as the PNG holds them: packed, 16-bit samples big-endian.
	std::vector<std::vector<uint8>> rows;
	std::vector<rgb_color> palette;
	// The tRNS chunk: alpha per palette entry, or one grey / RGB colour key.
	std::vector<uint8> paletteAlpha;
	bool hasColorKey = false;
	uint16 keyRed = 0;
	uint16 keyGreen = 0;
	uint16 keyBlue = 0;
};

std::string MakePNG(const PNGImage& image);

// `pixels` holds R, G, B per pixel (components 3) or one grey byte (components 1).
std::string MakeJPEG(int width, int height, int components, const std::vector<uint8>& pixels,
	int quality = 95, bool progressive = false);

struct GIFFrame {
	int left = 0;
	int top = 0;
	int width = 0;
	int height = 0;
	bool interlaced = false;
	int transparentIndex = -1;
	// Colour indices, row by row in picture order (the fixture interlaces them itself).
	std::vector<uint8> indices;
};

std::string MakeGIF(int screenWidth, int screenHeight, const std::vector<rgb_color>& palette,
	const std::vector<GIFFrame>& frames);

// A PNG signature, an IHDR chunk declaring the given size and an empty IDAT chunk.
std::string MakePNGHeader(uint32 width, uint32 height);

// Decodes through the default roster into a bitmap; the status of the translation or of
// detaching the bitmap.
status_t Decode(const std::string& data, BBitmap** _bitmap);

void PrintTo(const rgb_color& color, std::ostream* stream);

// The pixel at x, y of a B_RGBA32 bitmap.
rgb_color PixelAt(const BBitmap* bitmap, int x, int y);


#endif // _IMAGE_FIXTURES_H
