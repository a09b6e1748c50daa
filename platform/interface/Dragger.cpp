/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Dragger.h>

#include <atomic>


static std::atomic<bool> sDraggersShown(false);


BDragger::BDragger(BRect frame, BView* target, uint32 resizingMode, uint32 flags)
	: BView(frame, "_dragger_", resizingMode, flags), fTarget(target)
{ }


BDragger::~BDragger() { }


status_t
BDragger::ShowAllDraggers()
{
	sDraggersShown = true;
	return B_OK;
}


status_t
BDragger::HideAllDraggers()
{
	sDraggersShown = false;
	return B_OK;
}


bool
BDragger::AreDraggersDrawn()
{
	return sDraggersShown;
}


// While draggers are not shown the handle stays hidden, so that its target shows through.
void
BDragger::AttachedToWindow()
{
	if (!sDraggersShown && !IsHidden(this))
		Hide();
}


// A small hatched square in the corner of the target.
void
BDragger::Draw(BRect)
{
	if (!sDraggersShown)
		return;
	BRect bounds = Bounds();
	SetHighColor(0, 0, 0);
	StrokeRect(bounds);
	for (float x = bounds.left + 2; x < bounds.right; x += 2)
		StrokeLine(BPoint(x, bounds.top + 2), BPoint(x, bounds.bottom - 2));
}
