/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <math.h>

#include <ViewPrivate.h>


using BPrivate::ViewDrawing;


//	#pragma mark - geometry


BRect
BView::Bounds() const
{
	return fBounds;
}


BRect
BView::Frame() const
{
	return fBounds.OffsetToCopy(fParentOffset);
}


BPoint
BView::LeftTop() const
{
	return fBounds.LeftTop();
}


BPoint
BView::_ToOwner(BPoint point) const
{
	for (const BView* view = this; view != NULL; view = view->fParent) {
		point.x += view->fParentOffset.x - view->fBounds.left;
		point.y += view->fParentOffset.y - view->fBounds.top;
	}
	return point;
}


BPoint
BView::_FromOwner(BPoint point) const
{
	for (const BView* view = this; view != NULL; view = view->fParent) {
		point.x -= view->fParentOffset.x - view->fBounds.left;
		point.y -= view->fParentOffset.y - view->fBounds.top;
	}
	return point;
}


void
BView::ConvertToScreen(BPoint* point) const
{
	if (point == NULL)
		return;
	*point = _ToOwner(*point);
	if (fOwner != NULL)
		*point += fOwner->ScreenOrigin();
}


BPoint
BView::ConvertToScreen(BPoint point) const
{
	ConvertToScreen(&point);
	return point;
}


void
BView::ConvertFromScreen(BPoint* point) const
{
	if (point == NULL)
		return;
	if (fOwner != NULL)
		*point -= fOwner->ScreenOrigin();
	*point = _FromOwner(*point);
}


BPoint
BView::ConvertFromScreen(BPoint point) const
{
	ConvertFromScreen(&point);
	return point;
}


void
BView::ConvertToScreen(BRect* rect) const
{
	if (rect == NULL)
		return;
	BPoint offset = ConvertToScreen(BPoint(0, 0));
	rect->OffsetBy(offset);
}


BRect
BView::ConvertToScreen(BRect rect) const
{
	ConvertToScreen(&rect);
	return rect;
}


void
BView::ConvertFromScreen(BRect* rect) const
{
	if (rect == NULL)
		return;
	BPoint offset = ConvertFromScreen(BPoint(0, 0));
	rect->OffsetBy(offset);
}


BRect
BView::ConvertFromScreen(BRect rect) const
{
	ConvertFromScreen(&rect);
	return rect;
}


void
BView::ConvertToParent(BPoint* point) const
{
	if (point == NULL)
		return;
	point->x += fParentOffset.x - fBounds.left;
	point->y += fParentOffset.y - fBounds.top;
}


BPoint
BView::ConvertToParent(BPoint point) const
{
	ConvertToParent(&point);
	return point;
}


void
BView::ConvertFromParent(BPoint* point) const
{
	if (point == NULL)
		return;
	point->x -= fParentOffset.x - fBounds.left;
	point->y -= fParentOffset.y - fBounds.top;
}


BPoint
BView::ConvertFromParent(BPoint point) const
{
	ConvertFromParent(&point);
	return point;
}


void
BView::ConvertToParent(BRect* rect) const
{
	if (rect == NULL)
		return;
	rect->OffsetBy(fParentOffset.x - fBounds.left, fParentOffset.y - fBounds.top);
}


BRect
BView::ConvertToParent(BRect rect) const
{
	ConvertToParent(&rect);
	return rect;
}


void
BView::ConvertFromParent(BRect* rect) const
{
	if (rect == NULL)
		return;
	rect->OffsetBy(fBounds.left - fParentOffset.x, fBounds.top - fParentOffset.y);
}


BRect
BView::ConvertFromParent(BRect rect) const
{
	ConvertFromParent(&rect);
	return rect;
}


void
BView::MoveBy(float deltaX, float deltaY)
{
	MoveTo(fParentOffset.x + deltaX, fParentOffset.y + deltaY);
}


void
BView::MoveTo(BPoint where)
{
	MoveTo(where.x, where.y);
}


void
BView::MoveTo(float x, float y)
{
	if (!isfinite(x) || !isfinite(y))
		return;
	x = roundf(x);
	y = roundf(y);
	if (x == fParentOffset.x && y == fParentOffset.y)
		return;

	BRect oldFrame = Frame();
	fParentOffset.Set(x, y);
	if (fOwner == NULL)
		return;

	if (fParent != NULL)
		fParent->_InvalidateInParent(oldFrame | Frame());
	if ((fFlags & B_FRAME_EVENTS) != 0)
		FrameMoved(fParentOffset);
}


void
BView::ResizeBy(float deltaWidth, float deltaHeight)
{
	if (!isfinite(deltaWidth) || !isfinite(deltaHeight))
		return;
	deltaWidth = roundf(deltaWidth);
	deltaHeight = roundf(deltaHeight);
	if (deltaWidth == 0 && deltaHeight == 0)
		return;

	BRect oldFrame = Frame();
	fBounds.right += deltaWidth;
	fBounds.bottom += deltaHeight;

	// As on Haiku, the children of a view that is not attached do not follow.
	if (fOwner == NULL)
		return;

	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling)
		child->_ParentResizedBy(deltaWidth, deltaHeight);

	if (fParent != NULL)
		fParent->_InvalidateInParent(oldFrame | Frame());
	else
		Invalidate();
	if ((fFlags & B_FRAME_EVENTS) != 0)
		FrameResized(fBounds.Width(), fBounds.Height());
}


void
BView::ResizeTo(float width, float height)
{
	ResizeBy(width - fBounds.Width(), height - fBounds.Height());
}


// Each edge follows the parent's edge its nibble of the resizing mode names: right and
// bottom edges move by the whole change, centre edges by half of it.
void
BView::_ParentResizedBy(float deltaX, float deltaY)
{
	uint32 mode = ResizingMode();
	BRect frame = Frame();

	if ((mode & 0x0f00U) == _VIEW_RIGHT_ << 8)
		frame.left += deltaX;
	else if ((mode & 0x0f00U) == _VIEW_CENTER_ << 8)
		frame.left += deltaX / 2;
	if ((mode & 0x000fU) == _VIEW_RIGHT_)
		frame.right += deltaX;
	else if ((mode & 0x000fU) == _VIEW_CENTER_)
		frame.right += deltaX / 2;
	if ((mode & 0xf000U) == _VIEW_BOTTOM_ << 12)
		frame.top += deltaY;
	else if ((mode & 0xf000U) == _VIEW_CENTER_ << 12)
		frame.top += deltaY / 2;
	if ((mode & 0x00f0U) == _VIEW_BOTTOM_ << 4)
		frame.bottom += deltaY;
	else if ((mode & 0x00f0U) == _VIEW_CENTER_ << 4)
		frame.bottom += deltaY / 2;

	if (frame == Frame())
		return;

	// MoveTo() changes the frame: take the size change first.
	float widthChange = frame.Width() - fBounds.Width();
	float heightChange = frame.Height() - fBounds.Height();
	MoveTo(frame.LeftTop());
	ResizeBy(widthChange, heightChange);
}


void
BView::ScrollBy(float deltaX, float deltaY)
{
	ScrollTo(BPoint(fBounds.left + deltaX, fBounds.top + deltaY));
}


void
BView::ScrollTo(BPoint where)
{
	if (!isfinite(where.x) || !isfinite(where.y))
		return;
	where.x = roundf(where.x);
	where.y = roundf(where.y);
	if (where == fBounds.LeftTop())
		return;
	fBounds.OffsetTo(where);
	Invalidate();
}


void
BView::MakeFocus(bool focus)
{
	if (fOwner != NULL)
		fOwner->SetFocusView(this, focus);
}


bool
BView::IsFocus() const
{
	return fOwner != NULL && fOwner->FocusView() == this;
}


void
BView::Show()
{
	if (fShowLevel <= 0)
		return;
	fShowLevel--;
	if (fShowLevel == 0 && fParent != NULL)
		fParent->_InvalidateInParent(Frame());
}


void
BView::Hide()
{
	fShowLevel++;
	if (fShowLevel == 1 && fParent != NULL)
		fParent->_InvalidateInParent(Frame());
}


bool
BView::IsHidden() const
{
	return IsHidden(NULL);
}


bool
BView::IsHidden(const BView* looking) const
{
	if (fShowLevel > 0)
		return true;
	if (looking == this)
		return false;
	if (fParent != NULL)
		return fParent->IsHidden(looking);
	return false;
}


void
BView::GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue)
{
	BPoint where(0, 0);
	uint32 held = 0;
	if (fOwner != NULL)
		fOwner->GetMouse(&where, &held, checkMessageQueue);
	if (location != NULL)
		*location = _FromOwner(where);
	if (buttons != NULL)
		*buttons = held;
}


void
BView::SetFlags(uint32 flags)
{
	fFlags = (flags & ~_RESIZE_MASK_) | (fFlags & _RESIZE_MASK_);
}


uint32
BView::Flags() const
{
	return fFlags & ~_RESIZE_MASK_;
}


void
BView::SetResizingMode(uint32 mode)
{
	fFlags = (fFlags & ~_RESIZE_MASK_) | (mode & _RESIZE_MASK_);
}


uint32
BView::ResizingMode() const
{
	return fFlags & _RESIZE_MASK_;
}


//	#pragma mark - updates


void
BView::Invalidate(BRect invalRect)
{
	if (fOwner == NULL || !invalRect.IsValid())
		return;

	BRect ownerRect(_ToOwner(invalRect.LeftTop()), _ToOwner(invalRect.RightBottom()));
	BRect visible(_ToOwner(fBounds.LeftTop()), _ToOwner(fBounds.RightBottom()));
	ownerRect = ownerRect & visible;
	if (ownerRect.IsValid())
		fOwner->Invalidate(ownerRect);
}


void
BView::Invalidate()
{
	Invalidate(fBounds);
}


// Invalidates a rectangle in this view's own coordinates, for a child that moved, changed
// size, came or went.
void
BView::_InvalidateInParent(BRect frame)
{
	if (fOwner == NULL)
		return;
	BRect ownerRect(_ToOwner(frame.LeftTop()), _ToOwner(frame.RightBottom()));
	fOwner->Invalidate(ownerRect);
}


void
BView::Flush() const
{
	if (fOwner != NULL)
		fOwner->Flush();
}


void
BView::Sync() const
{
	if (fOwner != NULL)
		fOwner->Sync();
}


// An update: the view colour (unless it is B_TRANSPARENT_COLOR), Draw(), the children,
// and DrawAfterChildren() for views with B_DRAW_ON_CHILDREN, each within the view's
// visible part of ownerRect.
void
BView::_DrawTree(BRect ownerRect)
{
	if (fOwner == NULL || fShowLevel > 0)
		return;

	BRect frame(_ToOwner(fBounds.LeftTop()), _ToOwner(fBounds.RightBottom()));
	BRect area = frame & ownerRect;
	if (!area.IsValid())
		return;
	BRect localArea(_FromOwner(area.LeftTop()), _FromOwner(area.RightBottom()));

	fUpdateRect = area;
	fInUpdate = true;
	if (fViewColor != B_TRANSPARENT_COLOR) {
		ViewDrawing drawing(this, B_SOLID_HIGH);
		if (drawing.IsValid()) {
			drawing.SetColorAndMode(fViewColor, B_OP_COPY);
			drawing.GetPainter().FillRect(BPrivate::pixels_of(area));
		}
	}
	if ((fFlags & B_WILL_DRAW) != 0)
		Draw(localArea);
	fInUpdate = false;

	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling)
		child->_DrawTree(ownerRect);

	if ((fFlags & B_WILL_DRAW) != 0 && (fFlags & B_DRAW_ON_CHILDREN) != 0) {
		fUpdateRect = area;
		fInUpdate = true;
		DrawAfterChildren(localArea);
		fInUpdate = false;
	}
}
