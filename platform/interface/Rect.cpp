/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Rect.h>

#include <stdio.h>


const BPoint B_ORIGIN(0, 0);


void
BPoint::ConstrainTo(BRect rect)
{
	x = max_c(min_c(x, rect.right), rect.left);
	y = max_c(min_c(y, rect.bottom), rect.top);
}


void
BPoint::PrintToStream() const
{
	printf("BPoint(x:%f, y:%f)\n", x, y);
}


void
BRect::PrintToStream() const
{
	printf("BRect(l:%.1f, t:%.1f, r:%.1f, b:%.1f)\n", left, top, right, bottom);
}


void
BRect::InsetBy(float dx, float dy)
{
	left += dx;
	right -= dx;
	top += dy;
	bottom -= dy;
}


void
BRect::OffsetBy(float dx, float dy)
{
	left += dx;
	right += dx;
	top += dy;
	bottom += dy;
}


void
BRect::OffsetTo(float x, float y)
{
	right = (right - left) + x;
	left = x;
	bottom = (bottom - top) + y;
	top = y;
}


BRect
BRect::InsetByCopy(float dx, float dy) const
{
	BRect copy(*this);
	copy.InsetBy(dx, dy);
	return copy;
}


BRect
BRect::OffsetByCopy(float dx, float dy) const
{
	BRect copy(*this);
	copy.OffsetBy(dx, dy);
	return copy;
}


BRect
BRect::OffsetToCopy(float x, float y) const
{
	BRect copy(*this);
	copy.OffsetTo(x, y);
	return copy;
}


BRect
BRect::operator&(BRect r) const
{
	return BRect(
		max_c(left, r.left), max_c(top, r.top), min_c(right, r.right), min_c(bottom, r.bottom));
}


BRect
BRect::operator|(BRect r) const
{
	return BRect(
		min_c(left, r.left), min_c(top, r.top), max_c(right, r.right), max_c(bottom, r.bottom));
}


bool
BRect::Intersects(BRect r) const
{
	if (!IsValid() || !r.IsValid())
		return false;
	return !(r.left > right || r.right < left || r.bottom < top || r.top > bottom);
}


bool
BRect::Contains(BPoint p) const
{
	return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
}


bool
BRect::Contains(BRect r) const
{
	return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
}
