/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <Bitmap.h>
#include <TranslationUtils.h>
#include <View.h>

#include "../../platform/private/BitmapPNG.h"
#include "DrawTestSupport.h"
#include "TestEnv.h"


static const rgb_color kWhite = {255, 255, 255, 255};


// A 2 x 2 B_RGBA32 picture: opaque red, clear, half-transparent blue, opaque green.
static BBitmap*
MakeSource()
{
	BBitmap* source = new BBitmap(BRect(0, 0, 1, 1), B_RGBA32);
	SetPixel(source, 0, 0, make_color(255, 0, 0, 255));
	SetPixel(source, 1, 0, make_color(0, 0, 0, 0));
	SetPixel(source, 0, 1, make_color(0, 0, 255, 128));
	SetPixel(source, 1, 1, make_color(0, 255, 0, 255));
	return source;
}


TEST(BitmapDrawingTest, UnscaledCompositesByAlpha)
{
	BBitmap* source = MakeSource();

	Canvas over(6, 6);
	over.View()->SetDrawingMode(B_OP_OVER);
	over.View()->DrawBitmap(source, BPoint(2, 3));
	EXPECT_EQ(make_color(255, 0, 0), over.At(2, 3));
	EXPECT_EQ(kWhite, over.At(3, 3));
	rgb_color blended = over.At(2, 4);
	EXPECT_NEAR(127, blended.red, 1);
	EXPECT_NEAR(127, blended.green, 1);
	EXPECT_EQ(255, blended.blue);
	EXPECT_EQ(255, blended.alpha);
	EXPECT_EQ(make_color(0, 255, 0), over.At(3, 4));
	EXPECT_EQ(BRect(2, 3, 3, 4), InkBounds(over.Bitmap(), kWhite));

	// ALPHA does the same with the pixels' alpha.
	Canvas alpha(6, 6);
	alpha.View()->SetDrawingMode(B_OP_ALPHA);
	alpha.View()->DrawBitmap(source, BPoint(2, 3));
	EXPECT_EQ(
		0, memcmp(over.Bitmap()->Bits(), alpha.Bitmap()->Bits(), over.Bitmap()->BitsLength()));

	// COPY copies, alpha and all; at the pen when no place is given.
	Canvas copy(6, 6);
	copy.View()->MovePenTo(1, 1);
	copy.View()->DrawBitmap(source);
	EXPECT_EQ(make_color(0, 0, 0, 0), copy.At(2, 1));
	EXPECT_EQ(make_color(0, 0, 255, 128), copy.At(1, 2));
	EXPECT_EQ(kWhite, copy.At(3, 3));

	// MIN skips the clear pixel and takes darker whole colours.
	Canvas min(6, 6, B_RGBA32, make_color(128, 128, 128));
	min.View()->SetDrawingMode(B_OP_MIN);
	min.View()->DrawBitmap(source, BPoint(0, 0));
	EXPECT_EQ(make_color(128, 128, 128), min.At(1, 0));
	EXPECT_EQ(make_color(255, 0, 0), min.At(0, 0));
	EXPECT_EQ(make_color(0, 0, 255), min.At(0, 1));
	EXPECT_EQ(make_color(128, 128, 128), min.At(1, 1));

	delete source;
}


TEST(BitmapDrawingTest, Rgb32SkipsTheMagicTransparentPixels)
{
	BBitmap source(BRect(0, 0, 1, 0), B_RGB32);
	uint32 pixels[2] = {B_TRANSPARENT_MAGIC_RGBA32, 0x00102030};
	memcpy(source.Bits(), pixels, sizeof(pixels));

	Canvas over(4, 1);
	over.View()->SetDrawingMode(B_OP_OVER);
	over.View()->DrawBitmap(&source, BPoint(0, 0));
	EXPECT_EQ(kWhite, over.At(0, 0));
	// Others are copied opaque, whatever their fourth byte.
	EXPECT_EQ(make_color(0x10, 0x20, 0x30, 255), over.At(1, 0));

	Canvas copy(4, 1);
	copy.View()->DrawBitmap(&source, BPoint(0, 0));
	EXPECT_EQ(make_color(0x77, 0x74, 0x77, 0), copy.At(0, 0));
}


TEST(BitmapDrawingTest, ScaledToALargerRectangle)
{
	BBitmap* source = MakeSource();

	Canvas over(12, 12);
	over.View()->SetDrawingMode(B_OP_OVER);
	over.View()->DrawBitmap(source, BRect(2, 2, 9, 9));
	// Each source pixel becomes a 4 x 4 block.
	for (int32 y = 2; y <= 5; y++) {
		for (int32 x = 2; x <= 5; x++) {
			EXPECT_EQ(make_color(255, 0, 0), over.At(x, y));
			EXPECT_EQ(kWhite, over.At(x + 4, y));
			// Scaled, the partly transparent pixel is copied opaque.
			EXPECT_EQ(make_color(0, 0, 255), over.At(x, y + 4));
			EXPECT_EQ(make_color(0, 255, 0), over.At(x + 4, y + 4));
		}
	}
	EXPECT_EQ(BRect(2, 2, 9, 9), InkBounds(over.Bitmap(), kWhite));

	// A part of the bitmap, stretched: the bottom row into a 4 x 2 rectangle
	Canvas part(12, 12);
	part.View()->DrawBitmap(source, BRect(0, 1, 1, 1), BRect(0, 0, 3, 1));
	EXPECT_EQ(make_color(0, 0, 255, 128), part.At(1, 1));
	EXPECT_EQ(make_color(0, 255, 0), part.At(2, 0));
	EXPECT_EQ(BRect(0, 0, 3, 1), InkBounds(part.Bitmap(), kWhite));

	// Other colour spaces are converted.
	BBitmap gray(BRect(0, 0, 1, 0), B_GRAY8);
	static_cast<uint8*>(gray.Bits())[0] = 0;
	static_cast<uint8*>(gray.Bits())[1] = 200;
	Canvas grayCanvas(4, 4);
	grayCanvas.View()->DrawBitmap(&gray, BRect(0, 0, 3, 1));
	EXPECT_EQ(make_color(0, 0, 0), grayCanvas.At(1, 1));
	EXPECT_EQ(make_color(200, 200, 200), grayCanvas.At(3, 0));

	// Nothing and nonsense draw nothing.
	over.View()->DrawBitmap(NULL, BPoint(0, 0));
	BBitmap invalid(BRect(0, 0, -1, -1), B_RGBA32);
	over.View()->DrawBitmap(&invalid, BPoint(0, 0));
	over.View()->DrawBitmap(source, BRect(0, 0, 1, 1), BRect(5, 5, 1, 1));
	EXPECT_EQ(BRect(2, 2, 9, 9), InkBounds(over.Bitmap(), kWhite));
	delete source;
}


TEST(BitmapDrawingTest, SavesPngThatReadsBack)
{
	TestEnv env;
	std::string path = env.Root() + "/picture.png";

	Canvas canvas(30, 20, B_RGBA32, make_color(0, 0, 0, 0));
	BView* view = canvas.View();
	view->SetHighColor(200, 100, 50);
	view->FillRect(BRect(0, 0, 14, 19));
	view->SetHighColor(10, 20, 30);
	view->DrawString("Ok", BPoint(16, 15));
	ASSERT_EQ(B_OK, BPrivate::save_bitmap_as_png(canvas.Bitmap(), path.c_str()));

	BBitmap* read = BTranslationUtils::GetBitmap(path.c_str());
	ASSERT_NE(nullptr, read);
	ASSERT_EQ(canvas.Bitmap()->Bounds(), read->Bounds());
	for (int32 y = 0; y < 20; y++) {
		for (int32 x = 0; x < 30; x++) {
			rgb_color expected = canvas.At(x, y);
			rgb_color actual = PixelAt(read, x, y);
			if (expected.alpha == 0)
				ASSERT_EQ(0, actual.alpha) << x << "," << y;
			else
				ASSERT_EQ(expected, actual) << x << "," << y;
		}
	}
	delete read;

	EXPECT_NE(B_OK, BPrivate::save_bitmap_as_png(NULL, path.c_str()));
	EXPECT_NE(B_OK, BPrivate::save_bitmap_as_png(canvas.Bitmap(), NULL));
	std::string nowhere = env.Root() + "/missing/folder/picture.png";
	EXPECT_NE(B_OK, BPrivate::save_bitmap_as_png(canvas.Bitmap(), nowhere.c_str()));
	EXPECT_FALSE(FileExists(nowhere));
}
