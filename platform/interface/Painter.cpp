/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Painter.h>

#include <string.h>

#include <algorithm>


namespace BPrivate {


// Pixels are stored as bytes B, G, R, A.
enum { kBlue = 0, kGreen = 1, kRed = 2, kAlpha = 3 };


static inline uint8
mix(uint8 destination, uint8 source, uint32 amount)
{
	return (uint8)((destination * (255 - amount) + source * amount + 127) / 255);
}


static inline uint32
brightness(uint8 red, uint8 green, uint8 blue)
{
	return (308 * red + 600 * green + 116 * blue) / 1024;
}


static inline bool
is_transparent_color(const rgb_color& color)
{
	return color.red == B_TRANSPARENT_COLOR.red && color.green == B_TRANSPARENT_COLOR.green
		&& color.blue == B_TRANSPARENT_COLOR.blue && color.alpha == B_TRANSPARENT_COLOR.alpha;
}


// The alpha a colour is written with in the painting modes: opaque, but for the
// transparent colour.
static inline uint8
painted_alpha(const rgb_color& color)
{
	return is_transparent_color(color) ? 0 : 255;
}


// Moves the pixel towards the colour by `cover`, alpha included.
static inline void
paint(uint8* pixel, uint8 red, uint8 green, uint8 blue, uint8 alpha, uint8 cover)
{
	if (cover == 255) {
		pixel[kBlue] = blue;
		pixel[kGreen] = green;
		pixel[kRed] = red;
		pixel[kAlpha] = alpha;
		return;
	}
	pixel[kBlue] = mix(pixel[kBlue], blue, cover);
	pixel[kGreen] = mix(pixel[kGreen], green, cover);
	pixel[kRed] = mix(pixel[kRed], red, cover);
	pixel[kAlpha] = mix(pixel[kAlpha], alpha, cover);
}


// Puts the colour over the pixel with `alpha` (0 to 255). B_ALPHA_OVERLAY mixes the colour
// channels by alpha; B_ALPHA_COMPOSITE weighs the pixel by its own alpha as well. Both give
// the pixel the alpha of the source put over it.
static inline void
composite(uint8* pixel, uint8 red, uint8 green, uint8 blue, uint32 alpha, alpha_function function)
{
	if (alpha == 0)
		return;

	uint32 below = pixel[kAlpha];
	uint32 resultAlpha = alpha + (below * (255 - alpha) + 127) / 255;
	if (function == B_ALPHA_COMPOSITE && resultAlpha != 0) {
		uint32 belowWeight = below * (255 - alpha) / 255;
		pixel[kBlue] = (uint8)((blue * alpha + pixel[kBlue] * belowWeight) / resultAlpha);
		pixel[kGreen] = (uint8)((green * alpha + pixel[kGreen] * belowWeight) / resultAlpha);
		pixel[kRed] = (uint8)((red * alpha + pixel[kRed] * belowWeight) / resultAlpha);
	} else {
		pixel[kBlue] = mix(pixel[kBlue], blue, alpha);
		pixel[kGreen] = mix(pixel[kGreen], green, alpha);
		pixel[kRed] = mix(pixel[kRed], red, alpha);
	}
	pixel[kAlpha] = (uint8)min_c(resultAlpha, 255u);
}


//	#pragma mark - ClipRegion


void
ClipRegion::Set(const PixelRect& rect)
{
	fRects.clear();
	if (!rect.IsEmpty())
		fRects.push_back(rect);
}


void
ClipRegion::MakeEmpty()
{
	fRects.clear();
}


void
ClipRegion::IntersectWith(const PixelRect& rect)
{
	size_t kept = 0;
	for (size_t i = 0; i < fRects.size(); i++) {
		PixelRect part = fRects[i].Intersect(rect);
		if (!part.IsEmpty())
			fRects[kept++] = part;
	}
	fRects.resize(kept);
}


void
ClipRegion::Exclude(const PixelRect& rect)
{
	if (rect.IsEmpty())
		return;

	std::vector<PixelRect> result;
	for (const PixelRect& current : fRects) {
		PixelRect cut = current.Intersect(rect);
		if (cut.IsEmpty()) {
			result.push_back(current);
			continue;
		}
		// Up to four pieces remain: above, below, left and right of the cut.
		PixelRect above = {current.left, current.top, current.right, cut.top};
		PixelRect below = {current.left, cut.bottom, current.right, current.bottom};
		PixelRect left = {current.left, cut.top, cut.left, cut.bottom};
		PixelRect right = {cut.right, cut.top, current.right, cut.bottom};
		for (const PixelRect& piece : {above, below, left, right}) {
			if (!piece.IsEmpty())
				result.push_back(piece);
		}
	}
	fRects.swap(result);
}


PixelRect
ClipRegion::Bounds() const
{
	if (fRects.empty()) {
		PixelRect empty = {0, 0, 0, 0};
		return empty;
	}
	PixelRect bounds = fRects[0];
	for (const PixelRect& rect : fRects) {
		bounds.left = min_c(bounds.left, rect.left);
		bounds.top = min_c(bounds.top, rect.top);
		bounds.right = max_c(bounds.right, rect.right);
		bounds.bottom = max_c(bounds.bottom, rect.bottom);
	}
	return bounds;
}


bool
ClipRegion::Contains(int32 x, int32 y) const
{
	for (const PixelRect& rect : fRects) {
		if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
			return true;
	}
	return false;
}


//	#pragma mark - Painter


Painter::Painter(const DrawTarget& target, const ClipRegion& clip, const PaintState& state)
	: fTarget(target), fClip(clip), fState(state)
{
	fSolidHigh = true;
	fSolidLow = true;
	for (int32 i = 0; i < 8; i++) {
		if (state.stipple.data[i] != 0xff)
			fSolidHigh = false;
		if (state.stipple.data[i] != 0)
			fSolidLow = false;
	}
	fTouched.left = fTouched.top = 0;
	fTouched.right = fTouched.bottom = 0;
}


uint8*
Painter::_PixelAt(int32 x, int32 y) const
{
	return fTarget.bits + (size_t)y * fTarget.bytesPerRow + (size_t)x * 4;
}


// Patterns are laid on the target's pixel grid, eight by eight, the leftmost pixel of a
// row in the high bit of its byte.
bool
Painter::_IsHigh(int32 x, int32 y) const
{
	if (fSolidHigh)
		return true;
	if (fSolidLow)
		return false;
	return (fState.stipple.data[y & 7] & (0x80 >> (x & 7))) != 0;
}


void
Painter::_Touch(int32 left, int32 top, int32 right, int32 bottom)
{
	if (left >= right || top >= bottom)
		return;
	if (fTouched.IsEmpty()) {
		fTouched.left = left;
		fTouched.top = top;
		fTouched.right = right;
		fTouched.bottom = bottom;
		return;
	}
	fTouched.left = min_c(fTouched.left, left);
	fTouched.top = min_c(fTouched.top, top);
	fTouched.right = max_c(fTouched.right, right);
	fTouched.bottom = max_c(fTouched.bottom, bottom);
}


void
Painter::_BlendPixel(uint8* pixel, int32 x, int32 y, uint8 cover)
{
	bool high = _IsHigh(x, y);
	const rgb_color& color = high ? fState.high : fState.low;

	switch (fState.mode) {
	case B_OP_COPY:
		paint(pixel, color.red, color.green, color.blue, painted_alpha(color), cover);
		break;

	case B_OP_OVER:
		if (high) {
			paint(pixel, color.red, color.green, color.blue, painted_alpha(color), cover);
		}
		break;

	case B_OP_ERASE:
		if (high) {
			const rgb_color& low = fState.low;
			paint(pixel, low.red, low.green, low.blue, painted_alpha(low), cover);
		}
		break;

	case B_OP_INVERT:
		if (high) {
			paint(pixel, 255 - pixel[kRed], 255 - pixel[kGreen], 255 - pixel[kBlue], pixel[kAlpha],
				cover);
		}
		break;

	case B_OP_SELECT: {
		if (!high)
			break;
		const rgb_color& highColor = fState.high;
		const rgb_color& lowColor = fState.low;
		if (pixel[kRed] == highColor.red && pixel[kGreen] == highColor.green
			&& pixel[kBlue] == highColor.blue) {
			paint(pixel, lowColor.red, lowColor.green, lowColor.blue, pixel[kAlpha], cover);
		} else if (pixel[kRed] == lowColor.red && pixel[kGreen] == lowColor.green
			&& pixel[kBlue] == lowColor.blue) {
			paint(pixel, highColor.red, highColor.green, highColor.blue, pixel[kAlpha], cover);
		}
		break;
	}

	case B_OP_ADD:
		paint(pixel, (uint8)min_c(255, pixel[kRed] + color.red),
			(uint8)min_c(255, pixel[kGreen] + color.green),
			(uint8)min_c(255, pixel[kBlue] + color.blue), painted_alpha(color), cover);
		break;

	case B_OP_SUBTRACT:
		paint(pixel, (uint8)max_c(0, pixel[kRed] - color.red),
			(uint8)max_c(0, pixel[kGreen] - color.green),
			(uint8)max_c(0, pixel[kBlue] - color.blue), painted_alpha(color), cover);
		break;

	case B_OP_BLEND:
		paint(pixel, (uint8)((pixel[kRed] + color.red) / 2),
			(uint8)((pixel[kGreen] + color.green) / 2), (uint8)((pixel[kBlue] + color.blue) / 2),
			painted_alpha(color), cover);
		break;

	case B_OP_MIN:
		// The whole colour, where it is darker; not the darker of each channel.
		if (brightness(color.red, color.green, color.blue)
			< brightness(pixel[kRed], pixel[kGreen], pixel[kBlue])) {
			paint(pixel, color.red, color.green, color.blue, painted_alpha(color), cover);
		}
		break;

	case B_OP_MAX:
		if (brightness(color.red, color.green, color.blue)
			> brightness(pixel[kRed], pixel[kGreen], pixel[kBlue])) {
			paint(pixel, color.red, color.green, color.blue, painted_alpha(color), cover);
		}
		break;

	case B_OP_ALPHA: {
		uint32 alpha = fState.alphaSource == B_CONSTANT_ALPHA ? fState.high.alpha : color.alpha;
		composite(
			pixel, color.red, color.green, color.blue, alpha * cover / 255, fState.alphaFunction);
		break;
	}
	}
}


void
Painter::_BlendSpan(int32 y, int32 x, int32 count, const uint8* coverage, uint8 cover)
{
	for (int32 i = 0; i < fClip.CountRects(); i++) {
		const PixelRect& rect = fClip.RectAt(i);
		if (y < rect.top || y >= rect.bottom)
			continue;
		int32 left = max_c(x, rect.left);
		int32 right = min_c(x + count, rect.right);
		if (left >= right)
			continue;

		uint8* pixel = _PixelAt(left, y);
		for (int32 column = left; column < right; column++, pixel += 4) {
			uint8 amount = coverage != NULL ? coverage[column - x] : cover;
			if (amount != 0)
				_BlendPixel(pixel, column, y, amount);
		}
		_Touch(left, y, right, y + 1);
	}
}


void
Painter::CoverRow(int32 y, int32 x, int32 count, const uint8* coverage)
{
	_BlendSpan(y, x, count, coverage, 0);
}


void
Painter::FillRect(const PixelRect& rect)
{
	if (fTarget.bits == NULL)
		return;

	// Opaque copies of one colour are written whole.
	bool plainCopy = (fState.mode == B_OP_COPY && (fSolidHigh || fSolidLow))
		|| (fState.mode == B_OP_OVER && fSolidHigh);
	uint8 plain[4];
	if (plainCopy) {
		const rgb_color& color = fSolidHigh ? fState.high : fState.low;
		plain[kBlue] = color.blue;
		plain[kGreen] = color.green;
		plain[kRed] = color.red;
		plain[kAlpha] = painted_alpha(color);
	}

	for (int32 i = 0; i < fClip.CountRects(); i++) {
		PixelRect part = rect.Intersect(fClip.RectAt(i));
		if (part.IsEmpty())
			continue;
		for (int32 y = part.top; y < part.bottom; y++) {
			uint8* pixel = _PixelAt(part.left, y);
			if (plainCopy) {
				for (int32 x = part.left; x < part.right; x++, pixel += 4)
					memcpy(pixel, plain, 4);
			} else {
				for (int32 x = part.left; x < part.right; x++, pixel += 4)
					_BlendPixel(pixel, x, y, 255);
			}
		}
		_Touch(part.left, part.top, part.right, part.bottom);
	}
}


void
Painter::FillPath(const Path& path, fill_rule rule)
{
	if (fTarget.bits == NULL || fClip.IsEmpty())
		return;
	rasterize(path, fClip.Bounds(), rule, this);
}


void
Painter::FillMask(int32 x, int32 y, int32 width, int32 height, const uint8* mask)
{
	if (fTarget.bits == NULL || mask == NULL || width <= 0 || height <= 0)
		return;

	// Text takes the high colour alone.
	bool solidHigh = fSolidHigh;
	bool solidLow = fSolidLow;
	fSolidHigh = true;
	fSolidLow = false;
	PixelRect bounds = fClip.Bounds();
	for (int32 row = 0; row < height; row++) {
		int32 rowY = y + row;
		if (rowY < bounds.top || rowY >= bounds.bottom)
			continue;
		_BlendSpan(rowY, x, width, mask + (size_t)row * width, 0);
	}
	fSolidHigh = solidHigh;
	fSolidLow = solidLow;
}


// What each mode does with a bitmap's pixel (source bytes B, G, R, A; a B_RGB32 source
// arrives with alpha 255, or 0 for B_TRANSPARENT_MAGIC_RGBA32):
//   B_OP_COPY       copies the pixel, alpha and all;
//   B_OP_OVER       skips transparent pixels; unscaled, it composites by the pixel's
//                   alpha; scaled, it copies every other pixel opaque;
//   B_OP_ALPHA      composites by the pixel's alpha (B_PIXEL_ALPHA) or the high colour's
//                   (B_CONSTANT_ALPHA);
//   B_OP_MIN, MAX   put the whole pixel where it is darker (lighter) by brightness;
//   the others      treat each pixel as the colour of a shape would be, skipping
//                   transparent pixels.
void
Painter::_BlendBitmapPixel(uint8* pixel, const uint8* source, bool scaled)
{
	uint8 alpha = source[kAlpha];
	uint8 red = source[kRed];
	uint8 green = source[kGreen];
	uint8 blue = source[kBlue];

	switch (fState.mode) {
	case B_OP_COPY:
		memcpy(pixel, source, 4);
		return;

	case B_OP_ALPHA: {
		uint32 amount = fState.alphaSource == B_CONSTANT_ALPHA ? fState.high.alpha : alpha;
		composite(pixel, red, green, blue, amount, fState.alphaFunction);
		return;
	}

	default:
		break;
	}

	if (alpha == 0)
		return;

	switch (fState.mode) {
	case B_OP_OVER:
		if (scaled || alpha == 255)
			paint(pixel, red, green, blue, 255, 255);
		else
			composite(pixel, red, green, blue, alpha, B_ALPHA_OVERLAY);
		break;

	case B_OP_ERASE:
		paint(pixel, fState.low.red, fState.low.green, fState.low.blue, painted_alpha(fState.low),
			255);
		break;

	case B_OP_INVERT:
		paint(
			pixel, 255 - pixel[kRed], 255 - pixel[kGreen], 255 - pixel[kBlue], pixel[kAlpha], 255);
		break;

	case B_OP_ADD:
		paint(pixel, (uint8)min_c(255, pixel[kRed] + red), (uint8)min_c(255, pixel[kGreen] + green),
			(uint8)min_c(255, pixel[kBlue] + blue), 255, 255);
		break;

	case B_OP_SUBTRACT:
		paint(pixel, (uint8)max_c(0, pixel[kRed] - red), (uint8)max_c(0, pixel[kGreen] - green),
			(uint8)max_c(0, pixel[kBlue] - blue), 255, 255);
		break;

	case B_OP_BLEND:
		paint(pixel, (uint8)((pixel[kRed] + red) / 2), (uint8)((pixel[kGreen] + green) / 2),
			(uint8)((pixel[kBlue] + blue) / 2), 255, 255);
		break;

	case B_OP_MIN:
		if (brightness(red, green, blue) < brightness(pixel[kRed], pixel[kGreen], pixel[kBlue]))
			paint(pixel, red, green, blue, 255, 255);
		break;

	case B_OP_MAX:
		if (brightness(red, green, blue) > brightness(pixel[kRed], pixel[kGreen], pixel[kBlue]))
			paint(pixel, red, green, blue, 255, 255);
		break;

	case B_OP_SELECT: {
		const rgb_color& high = fState.high;
		const rgb_color& low = fState.low;
		if (pixel[kRed] == high.red && pixel[kGreen] == high.green && pixel[kBlue] == high.blue)
			paint(pixel, low.red, low.green, low.blue, pixel[kAlpha], 255);
		else if (pixel[kRed] == low.red && pixel[kGreen] == low.green && pixel[kBlue] == low.blue)
			paint(pixel, high.red, high.green, high.blue, pixel[kAlpha], 255);
		break;
	}

	default:
		break;
	}
}


void
Painter::DrawBitmap(const uint8* bits, int32 bytesPerRow, color_space space, int32 width,
	int32 height, const PixelRect& source, const PixelRect& destination)
{
	if (fTarget.bits == NULL || bits == NULL || width <= 0 || height <= 0
		|| (space != B_RGB32 && space != B_RGBA32) || source.IsEmpty() || destination.IsEmpty())
		return;

	int64 sourceWidth = (int64)source.right - source.left;
	int64 sourceHeight = (int64)source.bottom - source.top;
	int64 destinationWidth = (int64)destination.right - destination.left;
	int64 destinationHeight = (int64)destination.bottom - destination.top;
	bool scaled = sourceWidth != destinationWidth || sourceHeight != destinationHeight;

	std::vector<int32> columns;
	for (int32 i = 0; i < fClip.CountRects(); i++) {
		PixelRect part = destination.Intersect(fClip.RectAt(i));
		if (part.IsEmpty())
			continue;

		// The source column of each destination column: the one under its centre.
		columns.resize(part.right - part.left);
		for (int32 x = part.left; x < part.right; x++) {
			int64 offset = x - destination.left;
			columns[x - part.left] = (int32)(source.left
				+ (scaled ? (offset * 2 + 1) * sourceWidth / (destinationWidth * 2) : offset));
		}

		for (int32 y = part.top; y < part.bottom; y++) {
			int64 offset = y - destination.top;
			int64 sourceY = source.top
				+ (scaled ? (offset * 2 + 1) * sourceHeight / (destinationHeight * 2) : offset);
			if (sourceY < 0 || sourceY >= height)
				continue;

			const uint8* sourceRow = bits + (size_t)sourceY * bytesPerRow;
			uint8* pixel = _PixelAt(part.left, y);
			for (int32 x = part.left; x < part.right; x++, pixel += 4) {
				int32 sourceX = columns[x - part.left];
				if (sourceX < 0 || sourceX >= width)
					continue;
				uint8 value[4];
				memcpy(value, sourceRow + (size_t)sourceX * 4, 4);
				if (space == B_RGB32) {
					uint32 word = (uint32)value[0] | ((uint32)value[1] << 8)
						| ((uint32)value[2] << 16) | ((uint32)value[3] << 24);
					value[kAlpha] = word == B_TRANSPARENT_MAGIC_RGBA32 ? 0 : 255;
				}
				_BlendBitmapPixel(pixel, value, scaled);
			}
		}
		_Touch(part.left, part.top, part.right, part.bottom);
	}
}


void
Painter::CopyPixels(const PixelRect& source, int32 dx, int32 dy)
{
	if (fTarget.bits == NULL)
		return;

	PixelRect targetBounds = {0, 0, fTarget.width, fTarget.height};
	PixelRect from = source.Intersect(targetBounds);
	if (from.IsEmpty())
		return;

	// Through a copy, since the two rectangles may overlap.
	int32 width = from.right - from.left;
	int32 height = from.bottom - from.top;
	std::vector<uint8> copy((size_t)width * height * 4);
	for (int32 y = 0; y < height; y++)
		memcpy(&copy[(size_t)y * width * 4], _PixelAt(from.left, from.top + y), (size_t)width * 4);

	PixelRect to = {from.left + dx, from.top + dy, from.right + dx, from.bottom + dy};
	for (int32 i = 0; i < fClip.CountRects(); i++) {
		PixelRect part = to.Intersect(fClip.RectAt(i));
		if (part.IsEmpty())
			continue;
		for (int32 y = part.top; y < part.bottom; y++) {
			const uint8* row = &copy[((size_t)(y - to.top) * width + (part.left - to.left)) * 4];
			memcpy(_PixelAt(part.left, y), row, (size_t)(part.right - part.left) * 4);
		}
		_Touch(part.left, part.top, part.right, part.bottom);
	}
}


} // namespace BPrivate
