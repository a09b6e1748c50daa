/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BITMAP_H
#define _BITMAP_H


#include <Archivable.h>
#include <InterfaceDefs.h>
#include <Rect.h>


enum {
	B_BITMAP_CLEAR_TO_WHITE = 0x00000001,
	B_BITMAP_ACCEPTS_VIEWS = 0x00000002,
	B_BITMAP_IS_AREA = 0x00000004,
	B_BITMAP_IS_LOCKED = 0x00000008 | B_BITMAP_IS_AREA,
	B_BITMAP_IS_CONTIGUOUS = 0x00000010 | B_BITMAP_IS_LOCKED,
	B_BITMAP_IS_OFFSCREEN = 0x00000020,
	B_BITMAP_WILL_OVERLAY = 0x00000040 | B_BITMAP_IS_OFFSCREEN,
	B_BITMAP_RESERVE_OVERLAY_CHANNEL = 0x00000080,
	B_BITMAP_NO_SERVER_LINK = 0x00000100
};

#define B_ANY_BYTES_PER_ROW -1


class BLocker;
class BView;

namespace BPrivate {
class BitmapViewOwner;

// The views of a bitmap that accepts them and the hidden top view they hang from: made
// with the first view, deleted with the bitmap, views and all. The lock stands for the lock
// of the hidden window that the views draw in; the views leave while it still exists.
class BitmapViews {
public:
	BitmapViews();
	~BitmapViews();

	BitmapViewOwner* fOwner;
	BLocker* fLocker;

private:
	BitmapViews(const BitmapViews&);
	BitmapViews& operator=(const BitmapViews&);
};
}


// A rectangle of pixels in one colour space, kept in the process's memory. The bounds give
// the coordinate system: BRect(0, 0, 149, 79) holds 150 x 80 pixels. Rows are padded to a
// multiple of four bytes. A bitmap that accepts views can be locked like a window.
class BBitmap {
public:
	BBitmap(BRect bounds, uint32 flags, color_space colorSpace,
		int32 bytesPerRow = B_ANY_BYTES_PER_ROW, screen_id screenID = B_MAIN_SCREEN_ID);
	BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews = false,
		bool needsContiguous = false);
	BBitmap(const BBitmap& source, uint32 flags);
	BBitmap(const BBitmap& source);
	BBitmap(const BBitmap* source, bool acceptsViews = false, bool needsContiguous = false);
	virtual ~BBitmap();

	status_t InitCheck() const;
	bool IsValid() const;

	status_t LockBits(uint32* state = NULL);
	void UnlockBits();

	area_id Area() const;
	void* Bits() const;
	int32 BitsLength() const;
	int32 BytesPerRow() const;
	color_space ColorSpace() const;
	BRect Bounds() const;

	uint32 Flags() const;

	status_t ImportBits(
		const void* data, int32 length, int32 bpr, int32 offset, color_space colorSpace);
	status_t ImportBits(const void* data, int32 length, int32 bpr, color_space colorSpace,
		BPoint from, BPoint to, int32 width, int32 height);
	status_t ImportBits(const BBitmap* bitmap);
	status_t ImportBits(const BBitmap* bitmap, BPoint from, BPoint to, int32 width, int32 height);

	bool Lock();
	void Unlock();
	bool IsLocked() const;

	// Views that draw into the bitmap, which must accept views. AddChild() calls their
	// AttachedToWindow() and AllAttached() hooks; the bitmap deletes them when it goes.
	void AddChild(BView* view);
	bool RemoveChild(BView* view);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* viewName) const;
	BView* FindView(BPoint point) const;

	BBitmap& operator=(const BBitmap& source);

	// Deprecated: ImportBits() at a byte offset, rows padded to four bytes.
	void SetBits(const void* data, int32 length, int32 offset, color_space colorSpace);

private:
	void _InitObject(BRect bounds, color_space colorSpace, uint32 flags, int32 bytesPerRow);
	void _CleanUp();

	uint8* fBasePointer;
	int32 fSize;
	color_space fColorSpace;
	BRect fBounds;
	int32 fBytesPerRow;
	uint32 fFlags;
	status_t fInitError;
	BPrivate::BitmapViews fViews;
};


#endif // _BITMAP_H
