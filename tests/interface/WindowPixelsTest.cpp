/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <vector>

#include <gtest/gtest.h>

#include "Display.h"


using BPrivate::DrawTarget;
using BPrivate::WindowPixels;


TEST(WindowPixels, TakesOnlyWhatLiesInsideBothAndKeepsItAcrossResizes)
{
	// An 8 x 8 buffer whose pixels name their place
	std::vector<uint32> buffer(64);
	for (int32 i = 0; i < 64; i++)
		buffer[i] = 0xff000000U | i;
	DrawTarget target = {reinterpret_cast<uint8*>(buffer.data()), 8 * 4, 8, 8, B_RGB32};

	// No memory until something is drawn: a huge window that is limited before it draws
	// never costs its size.
	WindowPixels pixels;
	pixels.Resize(32768, 32768);
	pixels.Resize(4, 3);
	EXPECT_FALSE(pixels.HasPixels());
	EXPECT_TRUE(pixels.pixels.empty());

	// Wholly outside the window, or not a rectangle: nothing is taken.
	BRect copied;
	EXPECT_FALSE(pixels.CopyFrom(target, BRect(10, 10, 20, 20), &copied));
	EXPECT_FALSE(pixels.CopyFrom(target, BRect(3, 3, 1, 1), &copied));
	DrawTarget gray = target;
	gray.colorSpace = B_GRAY8;
	EXPECT_FALSE(pixels.CopyFrom(gray, BRect(0, 0, 1, 1), &copied));

	// Partly outside: clipped to the window, white around.
	ASSERT_TRUE(pixels.CopyFrom(target, BRect(2, 1, 9, 9), &copied));
	ASSERT_EQ(pixels.pixels.size(), 12u);
	EXPECT_EQ(pixels.pixels[0], 0xffffffffU);
	EXPECT_EQ(copied, BRect(2, 1, 3, 2));
	EXPECT_EQ(pixels.pixels[1 * 4 + 2], 0xff000000U | (1 * 8 + 2));
	EXPECT_EQ(pixels.pixels[2 * 4 + 3], 0xff000000U | (2 * 8 + 3));
	EXPECT_EQ(pixels.pixels[1 * 4 + 1], 0xffffffffU);

	// A larger window keeps what it had, white around it; a smaller one what still fits.
	pixels.Resize(6, 4);
	EXPECT_EQ(pixels.pixels[2 * 6 + 3], 0xff000000U | (2 * 8 + 3));
	EXPECT_EQ(pixels.pixels[3 * 6 + 5], 0xffffffffU);
	pixels.Resize(3, 2);
	EXPECT_EQ(pixels.pixels[1 * 3 + 2], 0xff000000U | (1 * 8 + 2));
	pixels.Resize(-5, 2);
	EXPECT_EQ(pixels.width, 0);
	EXPECT_TRUE(pixels.pixels.empty());
}
