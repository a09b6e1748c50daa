/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Bitmap.h>

#include <unistd.h>

#include <BitmapStream.h>
#include <File.h>
#include <Locker.h>
#include <TranslatorFormats.h>
#include <TranslatorRoster.h>
#include <View.h>

#include <BitmapPNG.h>
#include <ColorConversion.h>
#include <ViewOwner.h>
#include <ViewPrivate.h>


namespace BPrivate {


// The hidden window of a bitmap that accepts views: a top view as large as the bitmap,
// which the views added to the bitmap hang from, drawing into its pixels. Nothing updates
// a bitmap's views by itself: they draw when they are told to (Invalidate() is ignored).
class BitmapViewOwner : public ViewOwner {
public:
	BitmapViewOwner(BBitmap* bitmap) : fBitmap(bitmap)
	{
		// Owner coordinates start at the bitmap's first pixel.
		fTopView = new BView(
			bitmap->Bounds().OffsetToCopy(B_ORIGIN), NULL, B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
		ViewPrivate::SetTopView(fTopView, this);
	}

	virtual ~BitmapViewOwner()
	{
		bool locked = fBitmap->Lock();
		ViewPrivate::DeleteTopView(fTopView);
		if (locked)
			fBitmap->Unlock();
	}

	BView*
	TopView() const
	{
		return fTopView;
	}

	virtual bool
	GetDrawTarget(DrawTarget* target)
	{
		int32 width;
		int32 height;
		if (fBitmap->Bits() == NULL || !bitmap_dimensions(fBitmap->Bounds(), &width, &height)
			|| (int64)fBitmap->BytesPerRow() * height > fBitmap->BitsLength())
			return false;
		target->bits = static_cast<uint8*>(fBitmap->Bits());
		target->bytesPerRow = fBitmap->BytesPerRow();
		target->width = width;
		target->height = height;
		target->colorSpace = fBitmap->ColorSpace();
		return true;
	}

	virtual void
	Invalidate(BRect rect)
	{
		(void)rect;
	}

	virtual bool
	Lock()
	{
		return fBitmap->Lock();
	}

	virtual void
	Unlock()
	{
		fBitmap->Unlock();
	}

	virtual bool
	IsLocked() const
	{
		return fBitmap->IsLocked();
	}

private:
	BBitmap* fBitmap;
	BView* fTopView;
};


BitmapViews::BitmapViews() : fOwner(NULL), fLocker(new BLocker) { }


BitmapViews::~BitmapViews()
{
	delete fOwner;
	delete fLocker;
}


} // namespace BPrivate


using BPrivate::BitmapViewOwner;


void
BBitmap::AddChild(BView* view)
{
	if (view == NULL || (fFlags & B_BITMAP_ACCEPTS_VIEWS) == 0 || !IsValid())
		return;
	if (!Lock())
		return;
	if (fViews.fOwner == NULL)
		fViews.fOwner = new BitmapViewOwner(this);
	fViews.fOwner->TopView()->AddChild(view);
	Unlock();
}


bool
BBitmap::RemoveChild(BView* view)
{
	if (view == NULL || fViews.fOwner == NULL || !Lock())
		return false;
	bool removed = fViews.fOwner->TopView()->RemoveChild(view);
	Unlock();
	return removed;
}


int32
BBitmap::CountChildren() const
{
	if (fViews.fOwner == NULL)
		return 0;
	return fViews.fOwner->TopView()->CountChildren();
}


BView*
BBitmap::ChildAt(int32 index) const
{
	if (fViews.fOwner == NULL)
		return NULL;
	return fViews.fOwner->TopView()->ChildAt(index);
}


BView*
BBitmap::FindView(const char* viewName) const
{
	if (fViews.fOwner == NULL || viewName == NULL)
		return NULL;
	for (BView* child = fViews.fOwner->TopView()->ChildAt(0); child != NULL;
		 child = child->NextSibling()) {
		BView* found = child->FindView(viewName);
		if (found != NULL)
			return found;
	}
	return NULL;
}


BView*
BBitmap::FindView(BPoint point) const
{
	if (fViews.fOwner == NULL)
		return NULL;
	BView* top = fViews.fOwner->TopView();
	BView* found = BPrivate::ViewPrivate::ViewAt(top, point - fBounds.LeftTop());
	return found != top ? found : NULL;
}


//	#pragma mark - PNG files


status_t
BPrivate::save_bitmap_as_png(const BBitmap* bitmap, const char* path)
{
	if (bitmap == NULL || path == NULL || !bitmap->IsValid())
		return B_BAD_VALUE;

	BFile file(path, B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
	status_t status = file.InitCheck();
	if (status != B_OK)
		return status;

	// The stream only reads the bitmap, and gives it back before it goes.
	BBitmapStream stream(const_cast<BBitmap*>(bitmap));
	status = BTranslatorRoster::Default()->Translate(&stream, NULL, NULL, &file, B_PNG_FORMAT);
	BBitmap* detached = NULL;
	stream.DetachBitmap(&detached);

	if (status != B_OK) {
		file.Unset();
		unlink(path);
	}
	return status;
}
