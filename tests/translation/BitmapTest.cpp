/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <thread>

#include <Bitmap.h>

#include "ImageFixtures.h"


TEST(BitmapBufferTest, SizesAndBytesPerRow)
{
	BBitmap bitmap(BRect(0, 0, 149, 79), B_RGB32);
	ASSERT_EQ(B_OK, bitmap.InitCheck());
	EXPECT_TRUE(bitmap.IsValid());
	EXPECT_NE(nullptr, bitmap.Bits());
	EXPECT_EQ(BRect(0, 0, 149, 79), bitmap.Bounds());
	EXPECT_EQ(600, bitmap.BytesPerRow());
	EXPECT_EQ(600 * 80, bitmap.BitsLength());
	EXPECT_EQ(B_RGB32, bitmap.ColorSpace());
	EXPECT_EQ(0u, bitmap.Flags());

	// Rows are padded to four bytes.
	struct {
		color_space space;
		float right;
		int32 bytesPerRow;
	} rows[] = {
		{B_RGBA32, 0, 4},
		{B_RGB24, 4, 16},
		{B_GRAY8, 4, 8},
		{B_CMAP8, 2, 4},
		{B_GRAY1, 32, 8},
		{B_GRAY1, 0, 4},
	};
	for (const auto& row : rows) {
		BBitmap sized(BRect(0, 0, row.right, 1), row.space);
		ASSERT_EQ(B_OK, sized.InitCheck()) << row.space;
		EXPECT_EQ(row.bytesPerRow, sized.BytesPerRow()) << row.space;
		EXPECT_EQ(row.bytesPerRow * 2, sized.BitsLength()) << row.space;
	}

	// A fraction counts as a whole pixel.
	BBitmap fractional(BRect(0, 0, 9.5f, 0), B_GRAY8);
	EXPECT_EQ(12, fractional.BytesPerRow());

	// Asked-for row lengths are kept when they hold the pixels.
	BBitmap padded(BRect(0, 0, 9, 9), 0, B_RGBA32, 100);
	EXPECT_EQ(100, padded.BytesPerRow());
	EXPECT_EQ(1000, padded.BitsLength());
	BBitmap narrow(BRect(0, 0, 9, 9), 0, B_RGBA32, 39);
	EXPECT_EQ(B_BAD_VALUE, narrow.InitCheck());
	EXPECT_EQ(nullptr, narrow.Bits());

	BBitmap views(BRect(0, 0, 9, 9), B_RGBA32, true, true);
	EXPECT_EQ((uint32)(B_BITMAP_ACCEPTS_VIEWS | B_BITMAP_IS_CONTIGUOUS), views.Flags());
}


TEST(BitmapBufferTest, AbsurdSizesFailCleanly)
{
	const BRect bad[] = {
		BRect(),
		BRect(0, 0, -5, 10),
		BRect(0, 0, 32768, 0),
		BRect(0, 0, 0, 40000),
		BRect(0, 0, 1e30f, 1e30f),
		BRect(0, 0, NAN, 3),
		BRect(0, 0, INFINITY, 3),
		BRect(-INFINITY, 0, 3, 3),
	};
	for (const BRect& bounds : bad) {
		BBitmap bitmap(bounds, B_RGBA32);
		EXPECT_EQ(B_BAD_VALUE, bitmap.InitCheck());
		EXPECT_FALSE(bitmap.IsValid());
		EXPECT_EQ(nullptr, bitmap.Bits());
		EXPECT_EQ(0, bitmap.BitsLength());
		uint8 data[4] = {};
		EXPECT_EQ(B_NO_INIT, bitmap.ImportBits(data, 4, B_ANY_BYTES_PER_ROW, 0, B_RGBA32));
		EXPECT_FALSE(bitmap.Lock());
	}

	// Each side is allowed, but together they need more than a bitmap may have.
	BBitmap huge(BRect(0, 0, 32767, 32767), B_RGBA32);
	EXPECT_TRUE(huge.InitCheck() == B_NO_MEMORY || huge.InitCheck() == B_BAD_VALUE);
	EXPECT_EQ(nullptr, huge.Bits());

	BBitmap noSpace(BRect(0, 0, 9, 9), B_NO_COLOR_SPACE);
	EXPECT_EQ(B_BAD_VALUE, noSpace.InitCheck());
	BBitmap unknownSpace(BRect(0, 0, 9, 9), (color_space)0x0007);
	EXPECT_EQ(B_BAD_VALUE, unknownSpace.InitCheck());

	// Copies of a bitmap without pixels have none either.
	BBitmap copy(noSpace);
	EXPECT_FALSE(copy.IsValid());
	BBitmap fromPointer((const BBitmap*)NULL);
	EXPECT_FALSE(fromPointer.IsValid());
}


TEST(BitmapBufferTest, ClearToWhite)
{
	BBitmap rgb(BRect(0, 0, 2, 2), B_BITMAP_CLEAR_TO_WHITE, B_RGBA32);
	const uint8* bits = static_cast<const uint8*>(rgb.Bits());
	for (int32 i = 0; i < rgb.BitsLength(); i++)
		ASSERT_EQ(0xff, bits[i]);

	// In one bit per pixel, white is a cleared bit.
	BBitmap bilevel(BRect(0, 0, 7, 0), B_BITMAP_CLEAR_TO_WHITE, B_GRAY1);
	EXPECT_EQ(0, static_cast<const uint8*>(bilevel.Bits())[0]);
}


TEST(BitmapBufferTest, ImportBitsConvertsColourSpaces)
{
	BBitmap rgba(BRect(0, 0, 1, 1), B_RGBA32);

	// B_RGB24 is B, G, R in memory; rows padded to four bytes.
	const uint8 rgb24[] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
	ASSERT_EQ(B_OK, rgba.ImportBits(rgb24, sizeof(rgb24), B_ANY_BYTES_PER_ROW, 0, B_RGB24));
	EXPECT_EQ(make_color(3, 2, 1, 255), PixelAt(&rgba, 0, 0));
	EXPECT_EQ(make_color(6, 5, 4, 255), PixelAt(&rgba, 1, 0));
	EXPECT_EQ(make_color(12, 11, 10, 255), PixelAt(&rgba, 1, 1));

	// Grey spreads to all three channels; B_RGB32's fourth byte is not alpha.
	const uint8 gray[] = {0x40, 0x80, 0, 0, 0xc0, 0xff, 0, 0};
	ASSERT_EQ(B_OK, rgba.ImportBits(gray, sizeof(gray), B_ANY_BYTES_PER_ROW, 0, B_GRAY8));
	EXPECT_EQ(make_color(0x40, 0x40, 0x40), PixelAt(&rgba, 0, 0));
	EXPECT_EQ(make_color(0xff, 0xff, 0xff), PixelAt(&rgba, 1, 1));
	const uint8 rgb32[] = {10, 20, 30, 0, 40, 50, 60, 7};
	ASSERT_EQ(B_OK, rgba.ImportBits(rgb32, sizeof(rgb32), 8, 0, B_RGB32));
	EXPECT_EQ(make_color(30, 20, 10, 255), PixelAt(&rgba, 0, 0));
	EXPECT_EQ(make_color(60, 50, 40, 255), PixelAt(&rgba, 1, 0));

	// Into grey by brightness.
	BBitmap grayBitmap(BRect(0, 0, 1, 0), B_GRAY8);
	const uint8 colours[] = {0, 0, 255, 255, 255, 255, 255, 255};
	ASSERT_EQ(
		B_OK, grayBitmap.ImportBits(colours, sizeof(colours), B_ANY_BYTES_PER_ROW, 0, B_RGBA32));
	const uint8* grayBits = static_cast<const uint8*>(grayBitmap.Bits());
	EXPECT_EQ((308 * 255) / 1024, grayBits[0]);
	EXPECT_EQ(255, grayBits[1]);

	// Short data fills only what it has; the rest is left alone.
	BBitmap target(BRect(0, 0, 1, 1), B_BITMAP_CLEAR_TO_WHITE, B_RGBA32);
	const uint8 one[] = {1, 2, 3, 4};
	ASSERT_EQ(B_OK, target.ImportBits(one, sizeof(one), B_ANY_BYTES_PER_ROW, 0, B_RGBA32));
	EXPECT_EQ(make_color(3, 2, 1, 4), PixelAt(&target, 0, 0));
	EXPECT_EQ(make_color(255, 255, 255, 255), PixelAt(&target, 1, 0));

	// At a byte offset: the second pixel of the second row.
	ASSERT_EQ(B_OK, target.ImportBits(one, sizeof(one), B_ANY_BYTES_PER_ROW, 12, B_RGBA32));
	EXPECT_EQ(make_color(3, 2, 1, 4), PixelAt(&target, 1, 1));
	EXPECT_EQ(B_BAD_VALUE, target.ImportBits(one, sizeof(one), B_ANY_BYTES_PER_ROW, 17, B_RGBA32));
	EXPECT_EQ(B_BAD_VALUE, target.ImportBits(NULL, 4, B_ANY_BYTES_PER_ROW, 0, B_RGBA32));
	EXPECT_EQ(B_BAD_VALUE, target.ImportBits(one, 4, -7, 0, B_RGBA32));
	EXPECT_EQ(B_BAD_VALUE, target.ImportBits(one, 4, B_ANY_BYTES_PER_ROW, 0, B_CMAP8));

	// From another bitmap: same bounds for the whole, any part for a rectangle.
	BBitmap source(BRect(0, 0, 1, 1), B_RGB24);
	ASSERT_EQ(B_OK, source.ImportBits(rgb24, sizeof(rgb24), B_ANY_BYTES_PER_ROW, 0, B_RGB24));
	ASSERT_EQ(B_OK, target.ImportBits(&source));
	EXPECT_EQ(make_color(12, 11, 10, 255), PixelAt(&target, 1, 1));
	BBitmap other(BRect(0, 0, 2, 2), B_RGBA32);
	EXPECT_EQ(B_BAD_VALUE, other.ImportBits(&source));
	ASSERT_EQ(B_OK, other.ImportBits(&source, BPoint(1, 1), BPoint(2, 0), 5, 5));
	EXPECT_EQ(make_color(12, 11, 10, 255), PixelAt(&other, 2, 0));
	EXPECT_EQ(0, PixelAt(&other, 2, 1).alpha);
	EXPECT_EQ(B_BAD_VALUE, other.ImportBits(&source, BPoint(2, 0), BPoint(0, 0), 1, 1));
}


TEST(BitmapBufferTest, CopiesOwnTheirPixels)
{
	BBitmap original(BRect(0, 0, 3, 3), B_RGBA32, true);
	memset(original.Bits(), 0x5a, original.BitsLength());

	BBitmap copy(original);
	ASSERT_TRUE(copy.IsValid());
	EXPECT_NE(original.Bits(), copy.Bits());
	EXPECT_EQ(original.Bounds(), copy.Bounds());
	EXPECT_EQ(original.Flags(), copy.Flags());
	EXPECT_EQ(0, memcmp(original.Bits(), copy.Bits(), original.BitsLength()));
	memset(copy.Bits(), 0, copy.BitsLength());
	EXPECT_EQ(0x5a, static_cast<uint8*>(original.Bits())[0]);

	BBitmap fromPointer(&original, false);
	EXPECT_EQ(0u, fromPointer.Flags() & B_BITMAP_ACCEPTS_VIEWS);
	EXPECT_EQ(0x5a, static_cast<uint8*>(fromPointer.Bits())[5]);

	BBitmap white(original, B_BITMAP_CLEAR_TO_WHITE);
	EXPECT_EQ(0xff, static_cast<uint8*>(white.Bits())[5]);

	BBitmap assigned(BRect(0, 0, 0, 0), B_GRAY8);
	assigned = original;
	EXPECT_EQ(original.Bounds(), assigned.Bounds());
	EXPECT_EQ(B_RGBA32, assigned.ColorSpace());
	EXPECT_EQ(0x5a, static_cast<uint8*>(assigned.Bits())[63]);
}


TEST(BitmapBufferTest, LockingNeedsAcceptsViewsAndIsRecursive)
{
	BBitmap plain(BRect(0, 0, 9, 9), B_RGBA32);
	EXPECT_FALSE(plain.Lock());
	EXPECT_FALSE(plain.IsLocked());
	plain.Unlock();

	BBitmap drawable(BRect(0, 0, 9, 9), B_RGBA32, true);
	EXPECT_FALSE(drawable.IsLocked());
	ASSERT_TRUE(drawable.Lock());
	ASSERT_TRUE(drawable.Lock());
	EXPECT_TRUE(drawable.IsLocked());

	// Held by this thread, not by another.
	bool lockedElsewhere = true;
	std::thread other([&] { lockedElsewhere = drawable.IsLocked(); });
	other.join();
	EXPECT_FALSE(lockedElsewhere);

	drawable.Unlock();
	EXPECT_TRUE(drawable.IsLocked());
	drawable.Unlock();
	EXPECT_FALSE(drawable.IsLocked());

	// Once free, another thread can take it.
	bool tookIt = false;
	std::thread taker([&] {
		tookIt = drawable.Lock();
		drawable.Unlock();
	});
	taker.join();
	EXPECT_TRUE(tookIt);
}
