/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _PAINTER_H
#define _PAINTER_H


#include <vector>

#include <GraphicsDefs.h>
#include <Rect.h>

#include "Rasterizer.h"


namespace BPrivate {


// The pixels views draw into: rows of B_RGB32 or B_RGBA32 pixels (bytes B, G, R, A).
struct DrawTarget {
	uint8* bits;
	int32 bytesPerRow;
	int32 width;
	int32 height;
	color_space colorSpace;
};


// A set of non-overlapping pixel rectangles that drawing is confined to.
class ClipRegion {
public:
	ClipRegion() { }
	explicit ClipRegion(const PixelRect& rect) { Set(rect); }

	void Set(const PixelRect& rect);
	void MakeEmpty();
	void IntersectWith(const PixelRect& rect);
	void Exclude(const PixelRect& rect);

	bool
	IsEmpty() const
	{
		return fRects.empty();
	}
	PixelRect Bounds() const;
	bool Contains(int32 x, int32 y) const;

	int32
	CountRects() const
	{
		return (int32)fRects.size();
	}
	const PixelRect&
	RectAt(int32 index) const
	{
		return fRects[index];
	}

private:
	std::vector<PixelRect> fRects;
};


// What a drawing call paints with.
struct PaintState {
	rgb_color high;
	rgb_color low;
	drawing_mode mode;
	source_alpha alphaSource;
	alpha_function alphaFunction;
	pattern stipple;
};


// Paints into a target within a clip region, in target pixel coordinates, with the drawing
// modes of Haiku's app_server.
//
// Alpha on B_RGBA32 targets (the program relies on this): painting in B_OP_COPY, OVER,
// ERASE, MIN, MAX, ADD, SUBTRACT and BLEND writes opaque pixels (alpha 255; anti-aliased
// edges move the alpha towards 255 by their coverage), except that the colour
// B_TRANSPARENT_COLOR is written as itself with alpha 0, which makes those pixels
// transparent: the program fills a replicant's picture and cuts its rounded corners that
// way. B_OP_ALPHA composites by the source alpha; B_OP_INVERT and B_OP_SELECT keep the
// alpha that is there. B_RGB32 targets are painted the same way, so that the transparent
// colour leaves B_TRANSPARENT_MAGIC_RGBA32 pixels in them.
class Painter : public CoverageSink {
public:
	Painter(const DrawTarget& target, const ClipRegion& clip, const PaintState& state);

	// Whole pixels in the pattern
	void FillRect(const PixelRect& rect);
	// Polygons with anti-aliased edges, in the pattern
	void FillPath(const Path& path, fill_rule rule = B_NONZERO_FILL);
	// A coverage mask (a glyph) in the high colour, whatever the pattern: mask row r,
	// column c covers pixel (x + c, y + r).
	void FillMask(int32 x, int32 y, int32 width, int32 height, const uint8* mask);

	// Draws the source rectangle of a B_RGB32 or B_RGBA32 image into the destination
	// rectangle (both in pixels, right and bottom included), scaled with the nearest
	// pixel when the sizes differ. See the .cpp for what each mode does with the alpha.
	void DrawBitmap(const uint8* bits, int32 bytesPerRow, color_space space, int32 width,
		int32 height, const PixelRect& source, const PixelRect& destination);

	// Copies the pixels of source (clipped to the target) by (dx, dy), into the clip region.
	void CopyPixels(const PixelRect& source, int32 dx, int32 dy);

	// The smallest rectangle around every pixel painted so far
	PixelRect
	Touched() const
	{
		return fTouched;
	}

	virtual void CoverRow(int32 y, int32 x, int32 count, const uint8* coverage);

private:
	uint8* _PixelAt(int32 x, int32 y) const;
	bool _IsHigh(int32 x, int32 y) const;
	void _Touch(int32 left, int32 top, int32 right, int32 bottom);
	void _BlendSpan(int32 y, int32 x, int32 count, const uint8* coverage, uint8 cover);
	void _BlendPixel(uint8* pixel, int32 x, int32 y, uint8 cover);
	void _BlendBitmapPixel(uint8* pixel, const uint8* source, bool scaled);

	DrawTarget fTarget;
	const ClipRegion& fClip;
	PaintState fState;
	bool fSolidHigh;
	bool fSolidLow;
	PixelRect fTouched;
};


} // namespace BPrivate


#endif // _PAINTER_H
