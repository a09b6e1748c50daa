/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <ViewPrivate.h>

#include <math.h>


namespace BPrivate {


PixelRect
pixels_of(BRect rect)
{
	const float kLimit = 1.0e9f;
	PixelRect pixels = {0, 0, 0, 0};
	if (!(rect.left <= rect.right) || !(rect.top <= rect.bottom))
		return pixels;
	pixels.left = (int32)floorf(max_c(-kLimit, min_c(kLimit, rect.left)));
	pixels.top = (int32)floorf(max_c(-kLimit, min_c(kLimit, rect.top)));
	pixels.right = (int32)floorf(max_c(-kLimit, min_c(kLimit, rect.right))) + 1;
	pixels.bottom = (int32)floorf(max_c(-kLimit, min_c(kLimit, rect.bottom))) + 1;
	return pixels;
}


void
ViewPrivate::SetTopView(BView* view, ViewOwner* owner)
{
	view->fTopLevelView = true;
	view->_SetOwner(owner);
	view->fAttached = true;
	for (BView* child = view->fFirstChild; child != NULL; child = child->fNextSibling) {
		if (!child->fAttached)
			child->_Attach();
	}
}


void
ViewPrivate::DeleteTopView(BView* view)
{
	while (view->fFirstChild != NULL) {
		BView* child = view->fFirstChild;
		child->RemoveSelf();
		delete child;
	}
	view->_SetOwner(NULL);
	view->fAttached = false;
	delete view;
}


BView*
ViewPrivate::ViewAt(BView* view, BPoint ownerPoint)
{
	if (view == NULL || view->fShowLevel > 0)
		return NULL;
	BRect frame(
		view->_ToOwner(view->fBounds.LeftTop()), view->_ToOwner(view->fBounds.RightBottom()));
	if (!frame.Contains(ownerPoint))
		return NULL;

	// Later children lie on top of earlier ones.
	BView* last = view->fFirstChild;
	while (last != NULL && last->fNextSibling != NULL)
		last = last->fNextSibling;
	for (BView* child = last; child != NULL; child = child->fPreviousSibling) {
		BView* found = ViewAt(child, ownerPoint);
		if (found != NULL)
			return found;
	}
	return view;
}


//	#pragma mark - ViewDrawing


ViewDrawing::ViewDrawing(BView* view, const ::pattern& p) : fView(view), fValid(false)
{
	const ViewState& state = *view->fState;
	fPaint.high = state.highColor;
	fPaint.low = state.lowColor;
	fPaint.mode = state.drawingMode;
	fPaint.alphaSource = state.alphaSource;
	fPaint.alphaFunction = state.alphaFunction;
	fPaint.stipple = p;

	ViewOwner* owner = view->fOwner;
	if (owner == NULL || view->IsHidden() || !owner->GetDrawTarget(&fTarget))
		return;
	if (fTarget.bits == NULL || fTarget.width <= 0 || fTarget.height <= 0
		|| (fTarget.colorSpace != B_RGB32 && fTarget.colorSpace != B_RGBA32)
		|| fTarget.bytesPerRow < fTarget.width * 4)
		return;

	// The view's bounds, within its ancestors', without the siblings that lie on top of
	// it and its own children.
	PixelRect targetRect = {0, 0, fTarget.width, fTarget.height};
	fClip.Set(pixels_of(BRect(
		view->_ToOwner(view->fBounds.LeftTop()), view->_ToOwner(view->fBounds.RightBottom()))));
	fClip.IntersectWith(targetRect);
	for (const BView* node = view; node->fParent != NULL && !fClip.IsEmpty();
		 node = node->fParent) {
		const BView* parent = node->fParent;
		fClip.IntersectWith(pixels_of(BRect(parent->_ToOwner(parent->fBounds.LeftTop()),
			parent->_ToOwner(parent->fBounds.RightBottom()))));
		for (const BView* sibling = node->fNextSibling; sibling != NULL;
			 sibling = sibling->fNextSibling) {
			if (sibling->fShowLevel > 0)
				continue;
			BRect frame = sibling->Frame();
			fClip.Exclude(pixels_of(
				BRect(parent->_ToOwner(frame.LeftTop()), parent->_ToOwner(frame.RightBottom()))));
		}
	}
	if ((view->fFlags & B_DRAW_ON_CHILDREN) == 0) {
		for (const BView* child = view->fFirstChild; child != NULL; child = child->fNextSibling) {
			if (child->fShowLevel > 0)
				continue;
			BRect frame = child->Frame();
			fClip.Exclude(pixels_of(
				BRect(view->_ToOwner(frame.LeftTop()), view->_ToOwner(frame.RightBottom()))));
		}
	}
	if (view->fInUpdate)
		fClip.IntersectWith(pixels_of(view->fUpdateRect));
	if (fClip.IsEmpty())
		return;

	fOffset = view->_ToOwner(state.CombinedOrigin());
	fValid = true;
}


ViewDrawing::~ViewDrawing()
{
	if (!fPainter.has_value() || fView->fOwner == NULL)
		return;
	PixelRect touched = fPainter->Touched();
	if (!touched.IsEmpty()) {
		fView->fOwner->PixelsDrawn(
			BRect(touched.left, touched.top, touched.right - 1, touched.bottom - 1));
	}
}


void
ViewDrawing::SetColorAndMode(rgb_color high, drawing_mode mode)
{
	fPaint.high = high;
	fPaint.mode = mode;
}


void
ViewDrawing::ClipTo(const PixelRect& rect)
{
	fClip.IntersectWith(rect);
}


BPrivate::Painter&
ViewDrawing::GetPainter()
{
	if (!fPainter.has_value())
		fPainter.emplace(fTarget, fClip, fPaint);
	return *fPainter;
}


PixelRect
ViewDrawing::PixelsOf(BRect rect) const
{
	rect.OffsetBy(fOffset.x, fOffset.y);
	return pixels_of(rect);
}


} // namespace BPrivate
