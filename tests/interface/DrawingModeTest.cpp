/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <stdlib.h>

#include <Bitmap.h>
#include <View.h>

#include "DrawTestSupport.h"


static const rgb_color kWhite = {255, 255, 255, 255};
static const rgb_color kRed = {255, 0, 0, 255};
static const rgb_color kBlue = {0, 0, 255, 255};


// Fills a 4 x 1 rectangle at (0, 0) over pixels of `below` with `color` in `mode`, and
// gives back pixel (0, 0).
static rgb_color
Paint(drawing_mode mode, rgb_color below, rgb_color color)
{
	Canvas canvas(4, 1, B_RGBA32, below);
	BView* view = canvas.View();
	view->SetDrawingMode(mode);
	view->SetHighColor(color);
	view->FillRect(BRect(0, 0, 3, 0));
	return canvas.At(0, 0);
}


static bool
Near(rgb_color a, rgb_color b, int tolerance = 1)
{
	return abs(a.red - b.red) <= tolerance && abs(a.green - b.green) <= tolerance
		&& abs(a.blue - b.blue) <= tolerance && abs(a.alpha - b.alpha) <= tolerance;
}


TEST(DrawingModeTest, ArithmeticModes)
{
	const rgb_color below = make_color(100, 100, 100);
	const rgb_color color = make_color(200, 50, 0);

	EXPECT_EQ(color, Paint(B_OP_COPY, below, color));
	EXPECT_EQ(color, Paint(B_OP_OVER, below, color));
	EXPECT_EQ(make_color(255, 150, 100), Paint(B_OP_ADD, below, color));
	EXPECT_EQ(make_color(0, 50, 100), Paint(B_OP_SUBTRACT, below, color));
	EXPECT_EQ(make_color(150, 75, 50), Paint(B_OP_BLEND, below, color));
	EXPECT_EQ(make_color(155, 155, 155), Paint(B_OP_INVERT, below, color));

	// ERASE paints the low colour where the pattern is high.
	Canvas canvas(2, 1, B_RGBA32, below);
	canvas.View()->SetLowColor(kBlue);
	canvas.View()->SetDrawingMode(B_OP_ERASE);
	canvas.View()->FillRect(BRect(0, 0, 0, 0));
	EXPECT_EQ(kBlue, canvas.At(0, 0));
	EXPECT_EQ(below, canvas.At(1, 0));
}


TEST(DrawingModeTest, MinAndMaxTakeTheWholeColourByBrightness)
{
	// Blue is darker than light grey by brightness: it replaces the grey entirely, where a
	// per-channel minimum would have given (0, 0, 200).
	const rgb_color blue = make_color(0, 0, 255);
	EXPECT_EQ(blue, Paint(B_OP_MIN, make_color(200, 200, 200), blue));
	// Near black is darker than blue: nothing changes (not (0, 0, 10)).
	EXPECT_EQ(make_color(10, 10, 10), Paint(B_OP_MIN, make_color(10, 10, 10), blue));

	// MAX: yellow is brighter than dark grey, and replaces it; white stays.
	const rgb_color yellow = make_color(255, 255, 0);
	EXPECT_EQ(yellow, Paint(B_OP_MAX, make_color(60, 60, 60), yellow));
	EXPECT_EQ(kWhite, Paint(B_OP_MAX, kWhite, yellow));

	// The whole colour, even where one channel of the destination is darker.
	EXPECT_EQ(make_color(0, 0, 255), Paint(B_OP_MIN, make_color(255, 255, 0), blue));
}


TEST(DrawingModeTest, OverPaintsOnlyHighPixelsOfThePattern)
{
	// B_MIXED_COLORS alternates high and low pixels: 0xaa in even rows.
	Canvas copy(8, 2, B_RGBA32, kWhite);
	copy.View()->SetHighColor(kRed);
	copy.View()->SetLowColor(kBlue);
	copy.View()->FillRect(BRect(0, 0, 7, 1), B_MIXED_COLORS);
	EXPECT_EQ(kRed, copy.At(0, 0));
	EXPECT_EQ(kBlue, copy.At(1, 0));
	EXPECT_EQ(kBlue, copy.At(0, 1));
	EXPECT_EQ(kRed, copy.At(1, 1));

	Canvas over(8, 2, B_RGBA32, kWhite);
	over.View()->SetHighColor(kRed);
	over.View()->SetLowColor(kBlue);
	over.View()->SetDrawingMode(B_OP_OVER);
	over.View()->FillRect(BRect(0, 0, 7, 1), B_MIXED_COLORS);
	EXPECT_EQ(kRed, over.At(0, 0));
	EXPECT_EQ(kWhite, over.At(1, 0));
	EXPECT_EQ(kWhite, over.At(0, 1));
	EXPECT_EQ(kRed, over.At(1, 1));

	// B_SOLID_LOW has no high pixels: OVER draws nothing, COPY the low colour.
	over.View()->FillRect(BRect(0, 0, 7, 1), B_SOLID_LOW);
	EXPECT_EQ(kWhite, over.At(1, 0));
	copy.View()->FillRect(BRect(0, 0, 7, 1), B_SOLID_LOW);
	EXPECT_EQ(kBlue, copy.At(0, 0));

	// OVER ignores the colour's alpha on shapes.
	EXPECT_EQ(kRed, Paint(B_OP_OVER, kWhite, make_color(255, 0, 0, 40)));
}


TEST(DrawingModeTest, AlphaBlendsBySourceAlpha)
{
	rgb_color half = Paint(B_OP_ALPHA, kWhite, make_color(0, 0, 0, 128));
	EXPECT_TRUE(Near(make_color(127, 127, 127, 255), half)) << ::testing::PrintToString(half);

	EXPECT_EQ(kWhite, Paint(B_OP_ALPHA, kWhite, make_color(0, 0, 0, 0)));
	EXPECT_EQ(kBlue, Paint(B_OP_ALPHA, kWhite, kBlue));

	// Over a transparent pixel the alpha becomes the source's.
	rgb_color onClear = Paint(B_OP_ALPHA, make_color(0, 0, 0, 0), make_color(255, 0, 0, 128));
	EXPECT_EQ(128, onClear.alpha);

	// B_CONSTANT_ALPHA takes the high colour's alpha for low pattern pixels too.
	Canvas canvas(2, 1, B_RGBA32, kWhite);
	BView* view = canvas.View();
	view->SetDrawingMode(B_OP_ALPHA);
	view->SetBlendingMode(B_CONSTANT_ALPHA, B_ALPHA_OVERLAY);
	view->SetHighColor(make_color(0, 0, 0, 0));
	view->SetLowColor(make_color(0, 0, 0, 255));
	view->FillRect(BRect(0, 0, 1, 0), B_SOLID_LOW);
	EXPECT_EQ(kWhite, canvas.At(0, 0));
}


TEST(DrawingModeTest, AlphaOfPaintedPixels)
{
	const rgb_color clear = make_color(0, 0, 0, 0);

	// Painting writes opaque pixels, whatever the colour's alpha...
	for (drawing_mode mode :
		{B_OP_COPY, B_OP_OVER, B_OP_ADD, B_OP_SUBTRACT, B_OP_BLEND, B_OP_MIN, B_OP_MAX}) {
		rgb_color color
			= mode == B_OP_MAX ? make_color(250, 250, 250, 60) : make_color(0, 0, 0, 60);
		EXPECT_EQ(255, Paint(mode, make_color(128, 128, 128, 0), color).alpha) << "mode " << mode;
	}

	// ... but the transparent colour is written as itself: a transparent pixel.
	rgb_color cut = Paint(B_OP_COPY, kRed, B_TRANSPARENT_COLOR);
	EXPECT_EQ(B_TRANSPARENT_COLOR, cut);
	// The same colour with another alpha is an ordinary colour.
	EXPECT_EQ(make_color(0x77, 0x74, 0x77, 255),
		Paint(B_OP_COPY, kRed, make_color(0x77, 0x74, 0x77, 255)));

	// In a B_RGB32 bitmap that leaves the magic transparent value.
	Canvas canvas(2, 2, B_RGB32, kWhite);
	canvas.View()->SetHighColor(B_TRANSPARENT_COLOR);
	canvas.View()->FillRect(BRect(0, 0, 0, 0));
	uint32 word;
	memcpy(&word, canvas.Bitmap()->Bits(), sizeof(word));
	EXPECT_EQ(B_TRANSPARENT_MAGIC_RGBA32, word);

	// Anti-aliased edges move the alpha towards opaque by their coverage.
	Canvas edges(20, 20, B_RGBA32, clear);
	edges.View()->FillEllipse(BRect(0, 0, 19, 19));
	EXPECT_EQ(255, edges.At(10, 10).alpha);
	EXPECT_EQ(0, edges.At(0, 0).alpha);
	bool partial = false;
	for (int32 x = 0; x < 10; x++) {
		uint8 alpha = edges.At(x, 10 - x).alpha;
		partial = partial || (alpha > 0 && alpha < 255);
	}
	EXPECT_TRUE(partial);

	// A rounded corner cut with the transparent colour: the corner pixel goes clear, the
	// middle stays.
	Canvas replicant(20, 20, B_RGBA32, kRed);
	BView* view = replicant.View();
	view->SetHighColor(B_TRANSPARENT_COLOR);
	view->FillRect(view->Bounds());
	view->SetHighColor(kBlue);
	view->FillRoundRect(view->Bounds(), 6, 6);
	EXPECT_EQ(0, replicant.At(0, 0).alpha);
	EXPECT_EQ(kBlue, replicant.At(10, 10));
}


TEST(DrawingModeTest, SelectSwapsHighAndLow)
{
	Canvas canvas(3, 1, B_RGBA32, kWhite);
	SetPixel(canvas.Bitmap(), 0, 0, kRed);
	SetPixel(canvas.Bitmap(), 1, 0, kBlue);
	BView* view = canvas.View();
	view->SetHighColor(kRed);
	view->SetLowColor(kBlue);
	view->SetDrawingMode(B_OP_SELECT);
	view->FillRect(BRect(0, 0, 2, 0));
	EXPECT_EQ(kBlue, canvas.At(0, 0));
	EXPECT_EQ(kRed, canvas.At(1, 0));
	EXPECT_EQ(kWhite, canvas.At(2, 0));
}
