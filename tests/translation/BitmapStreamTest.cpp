/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include <Bitmap.h>
#include <BitmapStream.h>

#include "ImageFixtures.h"


// Counts the bitmaps that go, to see who deletes them.
static int sDeletedBitmaps = 0;

class CountedBitmap : public BBitmap {
public:
	CountedBitmap() : BBitmap(BRect(0, 0, 1, 1), B_RGBA32) { }
	virtual ~CountedBitmap() { sDeletedBitmaps++; }
};


static const uint8 kHeader[32] = {
	'b', 'i', 't', 's', 0x00, 0x00, 0x00, 0x00, // left 0.0
	0x00, 0x00, 0x00, 0x00,                     // top 0.0
	0x40, 0x00, 0x00, 0x00,                     // right 2.0
	0x3f, 0x80, 0x00, 0x00,                     // bottom 1.0
	0x00, 0x00, 0x00, 0x0c,                     // 12 bytes per row
	0x00, 0x00, 0x20, 0x08,                     // B_RGBA32
	0x00, 0x00, 0x00, 0x18,                     // 24 bytes of pixels
};


TEST(BitmapStreamTest, BitmapReadsAsBigEndianHeaderAndPixels)
{
	BBitmap* bitmap = new BBitmap(BRect(0, 0, 2, 1), B_RGBA32);
	uint8* bits = static_cast<uint8*>(bitmap->Bits());
	for (int32 i = 0; i < bitmap->BitsLength(); i++)
		bits[i] = (uint8)(i + 1);

	BBitmapStream stream(bitmap);
	EXPECT_EQ(56, stream.Size());
	off_t size = 0;
	EXPECT_EQ(B_OK, stream.GetSize(&size));
	EXPECT_EQ(56, size);

	uint8 buffer[64];
	ASSERT_EQ(56, stream.ReadAt(0, buffer, sizeof(buffer)));
	EXPECT_EQ(0, memcmp(kHeader, buffer, 32));
	EXPECT_EQ(0, memcmp(bits, buffer + 32, 24));

	// Reads across the end of the header, sequential reads, and the end.
	ASSERT_EQ(4, stream.ReadAt(30, buffer, 4));
	EXPECT_EQ(0x18, buffer[1]);
	EXPECT_EQ(1, buffer[2]);
	EXPECT_EQ(0, stream.ReadAt(56, buffer, 4));
	EXPECT_EQ(B_BAD_VALUE, stream.ReadAt(-1, buffer, 4));
	EXPECT_EQ(50, stream.Seek(50, SEEK_SET));
	EXPECT_EQ(6, stream.Read(buffer, sizeof(buffer)));
	EXPECT_EQ(24, buffer[5]);
	EXPECT_EQ(56, stream.Position());
	EXPECT_EQ(52, stream.Seek(-4, SEEK_END));
	EXPECT_EQ(B_BAD_VALUE, stream.Seek(-100, SEEK_CUR));

	// Writing into the pixels reaches the bitmap.
	uint8 dot[] = {9, 9, 9, 9};
	EXPECT_EQ(4, stream.WriteAt(36, dot, 4));
	EXPECT_EQ(9, bits[4]);
	EXPECT_EQ(2, stream.WriteAt(54, dot, 4));
	EXPECT_EQ(B_DEVICE_FULL, stream.WriteAt(56, dot, 4));
}


TEST(BitmapStreamTest, WritingAHeaderMakesTheBitmap)
{
	BBitmapStream stream;
	uint8 buffer[8];
	EXPECT_EQ(B_NO_INIT, stream.ReadAt(0, buffer, 4));
	EXPECT_EQ(0, stream.Size());

	// Pixels before the header have nowhere to go.
	EXPECT_EQ(B_NO_INIT, stream.WriteAt(32, buffer, 4));

	// The header may come in pieces.
	EXPECT_EQ(10, stream.Write(kHeader, 10));
	BBitmap* bitmap = NULL;
	EXPECT_EQ(B_ERROR, stream.DetachBitmap(&bitmap));
	EXPECT_EQ(22, stream.Write(kHeader + 10, 22));
	uint8 pixels[24];
	for (int i = 0; i < 24; i++)
		pixels[i] = (uint8)(100 + i);
	EXPECT_EQ(24, stream.Write(pixels, sizeof(pixels)));
	EXPECT_EQ(56, stream.Size());

	EXPECT_EQ(B_BAD_VALUE, stream.DetachBitmap(NULL));
	ASSERT_EQ(B_OK, stream.DetachBitmap(&bitmap));
	ASSERT_NE(nullptr, bitmap);
	EXPECT_EQ(BRect(0, 0, 2, 1), bitmap->Bounds());
	EXPECT_EQ(B_RGBA32, bitmap->ColorSpace());
	EXPECT_EQ(12, bitmap->BytesPerRow());
	EXPECT_EQ(0, memcmp(pixels, bitmap->Bits(), sizeof(pixels)));

	// Only once; afterwards the stream has nothing.
	BBitmap* again = NULL;
	EXPECT_EQ(B_ERROR, stream.DetachBitmap(&again));
	EXPECT_EQ(nullptr, again);
	EXPECT_EQ(B_NO_INIT, stream.ReadAt(0, buffer, 4));
	EXPECT_EQ(B_NOT_ALLOWED, stream.WriteAt(0, kHeader, 32));
	delete bitmap;

	BBitmapStream empty;
	EXPECT_EQ(B_ERROR, empty.DetachBitmap(&again));
}


TEST(BitmapStreamTest, BadHeadersMakeNoBitmap)
{
	auto patched = [](size_t offset, const char* bytes) {
		std::string header(reinterpret_cast<const char*>(kHeader), sizeof(kHeader));
		header.replace(offset, 4, bytes, 4);
		return header;
	};
	const std::string bad[] = {
		patched(0, "TEXT"), patched(12, "\x4f\x00\x00\x00"), // right 2^31
		patched(12, "\x7f\xc0\x00\x00"),                     // right NaN
		patched(12, "\xc0\x00\x00\x00"),                     // right -2.0
		patched(20, "\x00\x00\x00\x04"),                     // rows shorter than the pixels
		patched(20, "\x7f\xff\xff\xff"),                     // rows absurdly long
		patched(24, "\x00\x00\x77\x77"),                     // no colour space
		patched(28, "\x00\x00\x00\x04"),                     // data smaller than the rows
	};
	for (const std::string& header : bad) {
		BBitmapStream stream;
		EXPECT_LT(stream.Write(header.data(), header.size()), 0);
		BBitmap* bitmap = NULL;
		EXPECT_EQ(B_ERROR, stream.DetachBitmap(&bitmap));
	}
}


TEST(BitmapStreamTest, StreamDeletesOnlyWhatItStillOwns)
{
	sDeletedBitmaps = 0;
	{
		BBitmapStream stream(new CountedBitmap);
	}
	EXPECT_EQ(1, sDeletedBitmaps);

	BBitmap* detached = NULL;
	{
		BBitmapStream stream(new CountedBitmap);
		ASSERT_EQ(B_OK, stream.DetachBitmap(&detached));
	}
	EXPECT_EQ(1, sDeletedBitmaps);
	delete detached;
	EXPECT_EQ(2, sDeletedBitmaps);

	// A header of another size replaces the stream's bitmap, which goes.
	{
		BBitmapStream stream(new CountedBitmap);
		ASSERT_EQ(32, stream.WriteAt(0, kHeader, 32));
		EXPECT_EQ(3, sDeletedBitmaps);
		BBitmap* bitmap = NULL;
		ASSERT_EQ(B_OK, stream.DetachBitmap(&bitmap));
		EXPECT_EQ(BRect(0, 0, 2, 1), bitmap->Bounds());
		delete bitmap;
	}
}
