/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DRAW_TEST_SUPPORT_H
#define _DRAW_TEST_SUPPORT_H


#include <string.h>

#include <ostream>

#include <Bitmap.h>
#include <GraphicsDefs.h>
#include <View.h>


// For readable failures
inline void
PrintTo(const rgb_color& color, std::ostream* out)
{
	*out << "rgb_color(" << (int)color.red << ", " << (int)color.green << ", " << (int)color.blue
		 << ", " << (int)color.alpha << ")";
}


// The pixel at (x, y) of a B_RGB32 or B_RGBA32 bitmap (bytes B, G, R, A).
inline rgb_color
PixelAt(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* pixel
		= static_cast<const uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
	return make_color(pixel[2], pixel[1], pixel[0], pixel[3]);
}


inline void
SetPixel(BBitmap* bitmap, int32 x, int32 y, rgb_color color)
{
	uint8* pixel = static_cast<uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
	pixel[0] = color.blue;
	pixel[1] = color.green;
	pixel[2] = color.red;
	pixel[3] = color.alpha;
}


inline void
FillPixels(BBitmap* bitmap, rgb_color color)
{
	int32 width = bitmap->Bounds().IntegerWidth() + 1;
	int32 height = bitmap->Bounds().IntegerHeight() + 1;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++)
			SetPixel(bitmap, x, y, color);
	}
}


// The smallest rectangle around the pixels that differ from `background`; invalid when
// there are none.
inline BRect
InkBounds(const BBitmap* bitmap, rgb_color background)
{
	int32 width = bitmap->Bounds().IntegerWidth() + 1;
	int32 height = bitmap->Bounds().IntegerHeight() + 1;
	BRect bounds;
	bool found = false;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			if (PixelAt(bitmap, x, y) == background)
				continue;
			if (!found) {
				bounds.Set(x, y, x, y);
				found = true;
			} else {
				bounds.left = x < bounds.left ? x : bounds.left;
				bounds.right = x > bounds.right ? x : bounds.right;
				bounds.top = y < bounds.top ? y : bounds.top;
				bounds.bottom = y > bounds.bottom ? y : bounds.bottom;
			}
		}
	}
	return bounds;
}


// A bitmap that accepts views with one view covering it, locked while the object lives.
class Canvas {
public:
	Canvas(int32 width, int32 height, color_space space = B_RGBA32,
		rgb_color background = make_color(255, 255, 255))
		: fBitmap(BRect(0, 0, width - 1, height - 1), space, true),
		  fView(new BView(fBitmap.Bounds(), "canvas", B_FOLLOW_ALL_SIDES, B_WILL_DRAW))
	{
		FillPixels(&fBitmap, background);
		fBitmap.AddChild(fView);
		fBitmap.Lock();
	}

	~Canvas() { fBitmap.Unlock(); }

	BBitmap*
	Bitmap()
	{
		return &fBitmap;
	}
	BView*
	View()
	{
		return fView;
	}
	rgb_color
	At(int32 x, int32 y)
	{
		return PixelAt(&fBitmap, x, y);
	}

private:
	BBitmap fBitmap;
	BView* fView;
};


#endif // _DRAW_TEST_SUPPORT_H
