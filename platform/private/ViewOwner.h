/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _VIEW_OWNER_H
#define _VIEW_OWNER_H


#include <Point.h>
#include <Rect.h>

#include "Painter.h"


class BView;
class BWindow;


namespace BPrivate {


// What a tree of views belongs to: a bitmap that accepts views now, a window with its back
// buffer later. The owner has a top view as large as itself (ViewPrivate::SetTopView());
// the views below it draw straight into the owner's pixels, offset by their position in
// the owner and clipped to what of them is visible.
//
// Owner coordinates have their origin at the owner's left top pixel.
class ViewOwner {
public:
	virtual ~ViewOwner() { }

	// The pixels to draw into; false when there are none (the views then draw nothing).
	virtual bool GetDrawTarget(DrawTarget* target) = 0;
	// Something drew into the rectangle (owner coordinates), already done.
	virtual void
	PixelsDrawn(BRect rect)
	{
		(void)rect;
	}
	// A view asks for the rectangle (owner coordinates) to be drawn again.
	virtual void Invalidate(BRect rect) = 0;

	virtual bool Lock() = 0;
	virtual void Unlock() = 0;
	virtual bool IsLocked() const = 0;

	// The window the views are in; NULL for a bitmap.
	virtual BWindow*
	Window() const
	{
		return NULL;
	}
	// Where the owner's origin is on the screen.
	virtual BPoint
	ScreenOrigin() const
	{
		return BPoint(0, 0);
	}

	// A view joins the owner, before its AttachedToWindow() hook (a window makes it one of
	// its handlers here), and leaves it, after its AllDetached() hook.
	virtual void
	ViewAttached(BView* view)
	{
		(void)view;
	}
	virtual void
	ViewDetached(BView* view)
	{
		(void)view;
	}

	virtual BView*
	FocusView() const
	{
		return NULL;
	}
	virtual void
	SetFocusView(BView* view, bool focused)
	{
		(void)view;
		(void)focused;
	}

	// The pointer in owner coordinates and the buttons held down
	virtual void
	GetMouse(BPoint* where, uint32* buttons, bool checkQueue)
	{
		(void)checkQueue;
		if (where != NULL)
			*where = BPoint(0, 0);
		if (buttons != NULL)
			*buttons = 0;
	}

	// Drawing is done at once, so these need not wait for anything.
	virtual void
	Flush()
	{ }
	virtual void
	Sync()
	{ }
};


} // namespace BPrivate


#endif // _VIEW_OWNER_H
