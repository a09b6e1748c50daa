/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <BitmapStream.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <new>

#include <Bitmap.h>

#include <BuiltinTranslators.h>


using BPrivate::kBitmapHeaderSize;


static const uint32 kWholeHeader = 0xffffffff;


BBitmapStream::BBitmapStream(BBitmap* bitmap)
	: fBitmap(NULL), fPosition(0), fSize(0), fDetached(false), fHeaderBytesWritten(0)
{
	fHeader.magic = 0;
	fHeader.bounds = BRect();
	fHeader.rowBytes = 0;
	fHeader.colors = B_NO_COLOR_SPACE;
	fHeader.dataSize = 0;
	memset(fStreamHeader, 0, sizeof(fStreamHeader));

	// A bitmap without pixels is not taken over; it stays the caller's.
	if (bitmap == NULL || !bitmap->IsValid())
		return;

	fBitmap = bitmap;
	fHeader.magic = B_TRANSLATOR_BITMAP;
	fHeader.bounds = bitmap->Bounds();
	fHeader.rowBytes = (uint32)bitmap->BytesPerRow();
	fHeader.colors = bitmap->ColorSpace();
	fHeader.dataSize = (uint32)bitmap->BitsLength();
	BPrivate::bitmap_header_to_stream(fHeader, fStreamHeader);
	fHeaderBytesWritten = kWholeHeader;
	fSize = kBitmapHeaderSize + fHeader.dataSize;
}


BBitmapStream::~BBitmapStream()
{
	delete fBitmap;
}


ssize_t
BBitmapStream::ReadAt(off_t offset, void* buffer, size_t size)
{
	if (fBitmap == NULL)
		return B_NO_INIT;
	if (buffer == NULL || offset < 0)
		return B_BAD_VALUE;
	if (size == 0 || (uint64)offset >= fSize)
		return 0;

	size = min_c(size, fSize - (size_t)offset);
	uint8* out = static_cast<uint8*>(buffer);
	size_t done = 0;
	if ((size_t)offset < kBitmapHeaderSize) {
		done = min_c(size, kBitmapHeaderSize - (size_t)offset);
		memcpy(out, fStreamHeader + offset, done);
	}
	if (done < size) {
		// fSize never goes past the end of the pixels.
		size_t dataOffset = (size_t)offset + done - kBitmapHeaderSize;
		memcpy(out + done, static_cast<uint8*>(fBitmap->Bits()) + dataOffset, size - done);
		done = size;
	}
	return (ssize_t)done;
}


ssize_t
BBitmapStream::WriteAt(off_t offset, const void* buffer, size_t size)
{
	if (fDetached)
		return B_NOT_ALLOWED;
	if (buffer == NULL || offset < 0)
		return B_BAD_VALUE;
	if (size == 0)
		return 0;
	if (size > SSIZE_MAX)
		size = SSIZE_MAX;

	const uint8* in = static_cast<const uint8*>(buffer);
	size_t written = 0;
	if ((uint64)offset < kBitmapHeaderSize) {
		written = min_c(size, kBitmapHeaderSize - (size_t)offset);
		bool changed = memcmp(fStreamHeader + offset, in, written) != 0;
		memcpy(fStreamHeader + offset, in, written);
		for (size_t i = 0; i < written; i++)
			fHeaderBytesWritten |= (uint32)1 << (offset + i);
		fSize = max_c(fSize, (size_t)offset + written);

		if (fHeaderBytesWritten == kWholeHeader && (changed || fBitmap == NULL)) {
			status_t status = _HeaderComplete();
			if (status != B_OK)
				return status;
		}
	}

	if (written < size) {
		if (fBitmap == NULL)
			return written > 0 ? (ssize_t)written : B_NO_INIT;

		uint64 dataOffset = (uint64)offset + written - kBitmapHeaderSize;
		uint64 length = (uint64)fBitmap->BitsLength();
		if (dataOffset >= length)
			return written > 0 ? (ssize_t)written : B_DEVICE_FULL;

		size_t count = (size_t)min_c((uint64)(size - written), length - dataOffset);
		memcpy(static_cast<uint8*>(fBitmap->Bits()) + dataOffset, in + written, count);
		written += count;
		fSize = max_c(fSize, (size_t)(kBitmapHeaderSize + dataOffset + count));
	}
	return (ssize_t)written;
}


off_t
BBitmapStream::Seek(off_t position, uint32 seekMode)
{
	off_t origin;
	switch (seekMode) {
	case SEEK_SET:
		origin = 0;
		break;
	case SEEK_CUR:
		origin = (off_t)fPosition;
		break;
	case SEEK_END:
		origin = (off_t)fSize;
		break;
	default:
		return B_BAD_VALUE;
	}
	if ((position > 0 && origin > INT64_MAX - position) || origin + position < 0)
		return B_BAD_VALUE;

	fPosition = (size_t)(origin + position);
	return (off_t)fPosition;
}


off_t
BBitmapStream::Position() const
{
	return (off_t)fPosition;
}


off_t
BBitmapStream::Size() const
{
	return (off_t)fSize;
}


status_t
BBitmapStream::SetSize(off_t size)
{
	if (size < 0)
		return B_BAD_VALUE;
	if (fBitmap == NULL)
		return B_OK;
	if ((uint64)size > kBitmapHeaderSize + (uint64)fBitmap->BitsLength())
		return B_BAD_VALUE;

	fSize = (size_t)size;
	return B_OK;
}


status_t
BBitmapStream::GetSize(off_t* size) const
{
	if (size == NULL)
		return B_BAD_VALUE;
	*size = (off_t)fSize;
	return B_OK;
}


status_t
BBitmapStream::DetachBitmap(BBitmap** _bitmap)
{
	if (_bitmap == NULL)
		return B_BAD_VALUE;
	if (fBitmap == NULL || fDetached)
		return B_ERROR;

	*_bitmap = fBitmap;
	fBitmap = NULL;
	fDetached = true;
	return B_OK;
}


void
BBitmapStream::SwapHeader(const TranslatorBitmap* source, TranslatorBitmap* destination)
{
	if (source == NULL || destination == NULL)
		return;

	// The stream form is big-endian; swapping twice gives the host form back.
	uint8 bytes[kBitmapHeaderSize];
	BPrivate::bitmap_header_to_stream(*source, bytes);
	memcpy(destination, bytes, sizeof(bytes));
}


// Creates the bitmap that the header just written describes, unless the bitmap the stream
// has matches it already.
status_t
BBitmapStream::_HeaderComplete()
{
	TranslatorBitmap header;
	BPrivate::bitmap_header_from_stream(fStreamHeader, &header);
	int32 width;
	int32 height;
	if (!BPrivate::check_bitmap_header(header, &width, &height))
		return B_BAD_VALUE;

	if (fBitmap == NULL || fBitmap->Bounds() != header.bounds
		|| fBitmap->ColorSpace() != header.colors
		|| fBitmap->BytesPerRow() != (int32)header.rowBytes) {
		BBitmap* bitmap
			= new (std::nothrow) BBitmap(header.bounds, 0, header.colors, (int32)header.rowBytes);
		if (bitmap == NULL || bitmap->InitCheck() != B_OK) {
			delete bitmap;
			return B_NO_MEMORY;
		}
		delete fBitmap;
		fBitmap = bitmap;
	}

	header.dataSize = (uint32)fBitmap->BitsLength();
	fHeader = header;
	fSize = min_c(fSize, kBitmapHeaderSize + header.dataSize);
	BPrivate::bitmap_header_to_stream(fHeader, fStreamHeader);
	return B_OK;
}
