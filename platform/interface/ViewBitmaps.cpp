/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <vector>

#include <Bitmap.h>

#include <ColorConversion.h>
#include <ViewPrivate.h>


using BPrivate::PixelRect;
using BPrivate::ViewDrawing;


void
BView::DrawBitmapAsync(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect, uint32 options)
{
	// Bitmaps are scaled with the nearest pixel, filtered or not.
	(void)options;
	_DrawBitmap(bitmap, bitmapRect, viewRect);
}


void
BView::DrawBitmapAsync(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect)
{
	_DrawBitmap(bitmap, bitmapRect, viewRect);
}


void
BView::DrawBitmapAsync(const BBitmap* bitmap, BRect viewRect)
{
	if (bitmap == NULL)
		return;
	_DrawBitmap(bitmap, bitmap->Bounds(), viewRect);
}


void
BView::DrawBitmapAsync(const BBitmap* bitmap, BPoint where)
{
	if (bitmap == NULL)
		return;
	_DrawBitmap(bitmap, bitmap->Bounds(), bitmap->Bounds().OffsetToCopy(where));
}


void
BView::DrawBitmapAsync(const BBitmap* bitmap)
{
	DrawBitmapAsync(bitmap, PenLocation());
}


void
BView::DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect, uint32 options)
{
	DrawBitmapAsync(bitmap, bitmapRect, viewRect, options);
	Sync();
}


void
BView::DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect)
{
	DrawBitmapAsync(bitmap, bitmapRect, viewRect);
	Sync();
}


void
BView::DrawBitmap(const BBitmap* bitmap, BRect viewRect)
{
	DrawBitmapAsync(bitmap, viewRect);
	Sync();
}


void
BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	DrawBitmapAsync(bitmap, where);
	Sync();
}


void
BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmapAsync(bitmap);
	Sync();
}


// Draws the bitmapRect part of the bitmap (its own coordinates) into viewRect, both
// rectangles taken as whole pixels with both edges included; the sizes decide whether
// the bitmap is scaled. Bitmaps in other colour spaces than B_RGB32 and B_RGBA32 are
// converted to B_RGBA32 first.
void
BView::_DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect)
{
	if (bitmap == NULL || !bitmap->IsValid() || !bitmapRect.IsValid() || !viewRect.IsValid())
		return;
	ViewDrawing drawing(this, B_SOLID_HIGH);
	if (!drawing.IsValid())
		return;

	BRect bounds = bitmap->Bounds();
	int32 width;
	int32 height;
	if (!BPrivate::bitmap_dimensions(bounds, &width, &height))
		return;
	PixelRect source = BPrivate::pixels_of(bitmapRect.OffsetByCopy(-bounds.left, -bounds.top));
	PixelRect destination = drawing.PixelsOf(viewRect);

	const uint8* bits = static_cast<const uint8*>(bitmap->Bits());
	int32 bytesPerRow = bitmap->BytesPerRow();
	color_space space = bitmap->ColorSpace();
	std::vector<uint8> converted;
	if (space != B_RGB32 && space != B_RGBA32) {
		converted.resize((size_t)width * height * 4);
		if (BPrivate::ConvertBits(bits, converted.data(), bitmap->BitsLength(),
				(int32)converted.size(), bytesPerRow, width * 4, space, B_RGBA32, width, height)
			!= B_OK)
			return;
		bits = converted.data();
		bytesPerRow = width * 4;
		space = B_RGBA32;
	} else if ((int64)bytesPerRow * height > bitmap->BitsLength() || bytesPerRow < width * 4)
		return;

	drawing.GetPainter().DrawBitmap(bits, bytesPerRow, space, width, height, source, destination);
}
