/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ShelfTestView.h"

#include <Dragger.h>
#include <Message.h>


const char* const kShelfTestSignature = "application/x-vnd.wg-shelf-test";
const rgb_color kShelfTestColor = {200, 40, 40, 255};


ShelfTestView::ShelfTestView(BPoint leftTop)
	: BView(BRect(leftTop.x, leftTop.y, leftTop.x + 59, leftTop.y + 39), "Shelf test view",
		B_FOLLOW_NONE, B_WILL_DRAW)
{
	SetViewColor(kShelfTestColor);
	BRect handle = Bounds();
	handle.left = handle.right - 7;
	handle.top = handle.bottom - 7;
	AddChild(new BDragger(handle, this));
}


// The dragger comes back with the other children.
ShelfTestView::ShelfTestView(BMessage* archive) : BView(archive) { }


BArchivable*
ShelfTestView::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "ShelfTestView"))
		return NULL;
	return new ShelfTestView(archive);
}


status_t
ShelfTestView::Archive(BMessage* archive, bool deep) const
{
	status_t status = BView::Archive(archive, deep);
	if (status == B_OK)
		status = archive->AddString("add_on", kShelfTestSignature);
	if (status == B_OK)
		status = archive->AddBool("be:unique_replicant", true);
	return status;
}


void
ShelfTestView::Draw(BRect)
{
	// A white bar, so that the picture is not one colour
	SetHighColor(255, 255, 255);
	FillRect(BRect(4, 4, 23, 9));
}
