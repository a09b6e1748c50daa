/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _RECT_H
#define _RECT_H


#include <math.h>

#include <Point.h>


class BRect {
public:
	float left;
	float top;
	float right;
	float bottom;

	BRect() : left(0), top(0), right(-1), bottom(-1) { }
	BRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) { }
	BRect(BPoint leftTop, BPoint rightBottom)
		: left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y)
	{ }
	BRect(BPoint leftTop, float width, float height)
		: left(leftTop.x), top(leftTop.y), right(leftTop.x + width), bottom(leftTop.y + height)
	{ }
	BRect(float side) : left(0), top(0), right(side), bottom(side) { }

	void
	Set(float l, float t, float r, float b)
	{
		left = l;
		top = t;
		right = r;
		bottom = b;
	}

	void PrintToStream() const;

	BPoint
	LeftTop() const
	{
		return BPoint(left, top);
	}
	BPoint
	RightBottom() const
	{
		return BPoint(right, bottom);
	}
	BPoint
	LeftBottom() const
	{
		return BPoint(left, bottom);
	}
	BPoint
	RightTop() const
	{
		return BPoint(right, top);
	}

	void
	SetLeftTop(BPoint p)
	{
		left = p.x;
		top = p.y;
	}
	void
	SetRightBottom(BPoint p)
	{
		right = p.x;
		bottom = p.y;
	}

	void InsetBy(float dx, float dy);
	void
	InsetBy(BPoint delta)
	{
		InsetBy(delta.x, delta.y);
	}
	void OffsetBy(float dx, float dy);
	void
	OffsetBy(BPoint delta)
	{
		OffsetBy(delta.x, delta.y);
	}
	void OffsetTo(float x, float y);
	void
	OffsetTo(BPoint p)
	{
		OffsetTo(p.x, p.y);
	}

	BRect InsetByCopy(float dx, float dy) const;
	BRect OffsetByCopy(float dx, float dy) const;
	BRect
	OffsetByCopy(BPoint delta) const
	{
		return OffsetByCopy(delta.x, delta.y);
	}
	BRect OffsetToCopy(float x, float y) const;
	BRect
	OffsetToCopy(BPoint p) const
	{
		return OffsetToCopy(p.x, p.y);
	}

	bool
	operator==(const BRect& r) const
	{
		return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
	}
	bool
	operator!=(const BRect& r) const
	{
		return !(*this == r);
	}

	// Intersection and union.
	BRect operator&(BRect r) const;
	BRect operator|(BRect r) const;

	bool
	IsValid() const
	{
		return left <= right && top <= bottom;
	}
	float
	Width() const
	{
		return right - left;
	}
	int32
	IntegerWidth() const
	{
		return (int32)ceilf(right - left);
	}
	float
	Height() const
	{
		return bottom - top;
	}
	int32
	IntegerHeight() const
	{
		return (int32)ceilf(bottom - top);
	}

	bool Intersects(BRect r) const;
	bool Contains(BPoint p) const;
	bool Contains(BRect r) const;
};


#endif // _RECT_H
