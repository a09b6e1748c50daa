/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Bitmap.h>

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <Locker.h>

#include <ColorConversion.h>


// The index of white in the system palette.
static const uint8 kCMAP8White = 65;


BBitmap::BBitmap(
	BRect bounds, uint32 flags, color_space colorSpace, int32 bytesPerRow, screen_id screenID)
	: fBasePointer(NULL)
{
	(void)screenID;
	_InitObject(bounds, colorSpace, flags, bytesPerRow);
}


BBitmap::BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews, bool needsContiguous)
	: fBasePointer(NULL)
{
	uint32 flags = (acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0)
		| (needsContiguous ? B_BITMAP_IS_CONTIGUOUS : 0);
	_InitObject(bounds, colorSpace, flags, B_ANY_BYTES_PER_ROW);
}


BBitmap::BBitmap(const BBitmap& source, uint32 flags) : fBasePointer(NULL)
{
	_InitObject(source.Bounds(), source.ColorSpace(), flags, source.BytesPerRow());
	if (fInitError == B_OK && source.IsValid() && (flags & B_BITMAP_CLEAR_TO_WHITE) == 0)
		memcpy(fBasePointer, source.fBasePointer, min_c(fSize, source.fSize));
}


BBitmap::BBitmap(const BBitmap& source) : fBasePointer(NULL)
{
	_InitObject(source.Bounds(), source.ColorSpace(), source.Flags(), source.BytesPerRow());
	if (fInitError == B_OK && source.IsValid())
		memcpy(fBasePointer, source.fBasePointer, min_c(fSize, source.fSize));
}


BBitmap::BBitmap(const BBitmap* source, bool acceptsViews, bool needsContiguous)
	: fBasePointer(NULL)
{
	if (source == NULL || !source->IsValid()) {
		_InitObject(BRect(), B_NO_COLOR_SPACE, 0, B_ANY_BYTES_PER_ROW);
		return;
	}

	uint32 flags = (acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0)
		| (needsContiguous ? B_BITMAP_IS_CONTIGUOUS : 0);
	_InitObject(source->Bounds(), source->ColorSpace(), flags, source->BytesPerRow());
	if (fInitError == B_OK)
		memcpy(fBasePointer, source->fBasePointer, min_c(fSize, source->fSize));
}


BBitmap::~BBitmap()
{
	_CleanUp();
}


status_t
BBitmap::InitCheck() const
{
	return fInitError;
}


bool
BBitmap::IsValid() const
{
	return fInitError == B_OK && fBasePointer != NULL;
}


status_t
BBitmap::LockBits(uint32* state)
{
	(void)state;
	return IsValid() ? B_OK : B_NO_INIT;
}


void
BBitmap::UnlockBits()
{ }


area_id
BBitmap::Area() const
{
	// The pixels live on the heap, not in an area of their own.
	return B_ERROR;
}


void*
BBitmap::Bits() const
{
	return fBasePointer;
}


int32
BBitmap::BitsLength() const
{
	return fSize;
}


int32
BBitmap::BytesPerRow() const
{
	return fBytesPerRow;
}


color_space
BBitmap::ColorSpace() const
{
	return fColorSpace;
}


BRect
BBitmap::Bounds() const
{
	return fBounds;
}


uint32
BBitmap::Flags() const
{
	return fFlags;
}


status_t
BBitmap::ImportBits(const void* data, int32 length, int32 bpr, int32 offset, color_space colorSpace)
{
	if (!IsValid())
		return B_NO_INIT;
	if (data == NULL || length < 0 || offset < 0 || offset > fSize)
		return B_BAD_VALUE;

	int32 width = fBounds.IntegerWidth() + 1;
	if (bpr <= 0) {
		if (bpr != B_ANY_BYTES_PER_ROW)
			return B_BAD_VALUE;
		bpr = BPrivate::bytes_per_row(colorSpace, width);
		if (bpr <= 0)
			return B_BAD_VALUE;
	}

	return BPrivate::ConvertBits(data, fBasePointer + offset, length, fSize - offset, bpr,
		fBytesPerRow, colorSpace, fColorSpace, width, fBounds.IntegerHeight() + 1);
}


status_t
BBitmap::ImportBits(const void* data, int32 length, int32 bpr, color_space colorSpace, BPoint from,
	BPoint to, int32 width, int32 height)
{
	if (!IsValid())
		return B_NO_INIT;
	if (data == NULL || length < 0 || width < 0 || height < 0)
		return B_BAD_VALUE;
	if (!(to.x >= 0.0f) || !(to.y >= 0.0f))
		return B_BAD_VALUE;

	int32 ownWidth = fBounds.IntegerWidth() + 1;
	int32 ownHeight = fBounds.IntegerHeight() + 1;
	if (to.x >= ownWidth || to.y >= ownHeight)
		return B_BAD_VALUE;
	width = min_c(width, ownWidth - (int32)to.x);
	height = min_c(height, ownHeight - (int32)to.y);

	if (bpr <= 0) {
		if (bpr != B_ANY_BYTES_PER_ROW)
			return B_BAD_VALUE;
		bpr = BPrivate::bytes_per_row(colorSpace, ownWidth);
		if (bpr <= 0)
			return B_BAD_VALUE;
	}

	return BPrivate::ConvertBits(data, fBasePointer, length, fSize, bpr, fBytesPerRow, colorSpace,
		fColorSpace, from, to, width, height);
}


status_t
BBitmap::ImportBits(const BBitmap* bitmap)
{
	if (!IsValid())
		return B_NO_INIT;
	if (bitmap == NULL || !bitmap->IsValid() || bitmap->Bounds() != fBounds)
		return B_BAD_VALUE;
	if (bitmap == this)
		return B_OK;

	return ImportBits(
		bitmap->Bits(), bitmap->BitsLength(), bitmap->BytesPerRow(), 0, bitmap->ColorSpace());
}


status_t
BBitmap::ImportBits(const BBitmap* bitmap, BPoint from, BPoint to, int32 width, int32 height)
{
	if (!IsValid())
		return B_NO_INIT;
	if (bitmap == NULL || !bitmap->IsValid() || width < 0 || height < 0)
		return B_BAD_VALUE;
	if (!(from.x >= 0.0f) || !(from.y >= 0.0f))
		return B_BAD_VALUE;

	BRect sourceBounds = bitmap->Bounds();
	int32 sourceWidth = sourceBounds.IntegerWidth() + 1;
	int32 sourceHeight = sourceBounds.IntegerHeight() + 1;
	if (from.x >= sourceWidth || from.y >= sourceHeight)
		return B_BAD_VALUE;
	width = min_c(width, sourceWidth - (int32)from.x);
	height = min_c(height, sourceHeight - (int32)from.y);

	return ImportBits(bitmap->Bits(), bitmap->BitsLength(), bitmap->BytesPerRow(),
		bitmap->ColorSpace(), from, to, width, height);
}


bool
BBitmap::Lock()
{
	if ((fFlags & B_BITMAP_ACCEPTS_VIEWS) == 0)
		return false;
	return fViews.fLocker->Lock();
}


void
BBitmap::Unlock()
{
	if ((fFlags & B_BITMAP_ACCEPTS_VIEWS) != 0)
		fViews.fLocker->Unlock();
}


bool
BBitmap::IsLocked() const
{
	if ((fFlags & B_BITMAP_ACCEPTS_VIEWS) == 0)
		return false;
	return fViews.fLocker->IsLocked();
}


BBitmap&
BBitmap::operator=(const BBitmap& source)
{
	if (this == &source)
		return *this;

	_CleanUp();
	_InitObject(source.Bounds(), source.ColorSpace(), source.Flags(), source.BytesPerRow());
	if (fInitError == B_OK && source.IsValid())
		memcpy(fBasePointer, source.fBasePointer, min_c(fSize, source.fSize));
	return *this;
}


void
BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space colorSpace)
{
	ImportBits(data, length, B_ANY_BYTES_PER_ROW, offset, colorSpace);
}


void
BBitmap::_InitObject(BRect bounds, color_space colorSpace, uint32 flags, int32 bytesPerRow)
{
	fBasePointer = NULL;
	fSize = 0;
	fColorSpace = colorSpace;
	fBounds = bounds;
	fBytesPerRow = 0;
	fFlags = flags;
	fInitError = B_OK;

	int32 width;
	int32 height;
	if (!BPrivate::bitmap_dimensions(bounds, &width, &height)) {
		fInitError = B_BAD_VALUE;
		return;
	}
	int32 paddedBytesPerRow = BPrivate::bytes_per_row(colorSpace, width);
	if (paddedBytesPerRow < 0) {
		fInitError = B_BAD_VALUE;
		return;
	}

	// A row length that is asked for need not be padded, but must hold the pixels.
	if (bytesPerRow < 0)
		bytesPerRow = paddedBytesPerRow;
	else if (bytesPerRow < BPrivate::pixel_bytes(colorSpace, width)) {
		fInitError = B_BAD_VALUE;
		return;
	}

	int64 size = (int64)bytesPerRow * height;
	if (size > INT32_MAX) {
		fInitError = B_NO_MEMORY;
		return;
	}

	fBasePointer = static_cast<uint8*>(calloc(1, size > 0 ? (size_t)size : 1));
	if (fBasePointer == NULL) {
		fInitError = B_NO_MEMORY;
		return;
	}
	fSize = (int32)size;
	fBytesPerRow = bytesPerRow;

	if ((flags & B_BITMAP_CLEAR_TO_WHITE) != 0) {
		if (colorSpace == B_CMAP8)
			memset(fBasePointer, kCMAP8White, fSize);
		else if (colorSpace == B_GRAY1)
			memset(fBasePointer, 0, fSize);
		else
			memset(fBasePointer, 0xff, fSize);
	}
}


void
BBitmap::_CleanUp()
{
	free(fBasePointer);
	fBasePointer = NULL;
	fSize = 0;
}
