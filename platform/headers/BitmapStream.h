/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BITMAP_STREAM_H
#define _BITMAP_STREAM_H


#include <DataIO.h>
#include <TranslationDefs.h>
#include <TranslatorFormats.h>


class BBitmap;


// A bitmap seen as a stream in the baseline bitmap format: the 32-byte TranslatorBitmap
// header, big-endian, followed by the pixels. Writing a complete header makes the stream
// create a bitmap of that size and colour space; the pixels written after it go into the
// bitmap. The stream owns its bitmap until DetachBitmap() hands it over.
class BBitmapStream : public BPositionIO {
public:
	BBitmapStream(BBitmap* bitmap = NULL);
	virtual ~BBitmapStream();

	virtual ssize_t ReadAt(off_t offset, void* buffer, size_t size);
	virtual ssize_t WriteAt(off_t offset, const void* buffer, size_t size);

	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;

	virtual off_t Size() const;
	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t* size) const;

	// B_BAD_VALUE without a place for it, B_ERROR when there is no bitmap or it was
	// detached already.
	status_t DetachBitmap(BBitmap** _bitmap);

protected:
	void SwapHeader(const TranslatorBitmap* source, TranslatorBitmap* destination);

	TranslatorBitmap fHeader;
	BBitmap* fBitmap;
	size_t fPosition;
	size_t fSize;
	bool fDetached;

private:
	BBitmapStream(const BBitmapStream&);
	BBitmapStream& operator=(const BBitmapStream&);

	status_t _HeaderComplete();

	uint8 fStreamHeader[32];
	uint32 fHeaderBytesWritten;
};


#endif // _BITMAP_STREAM_H
