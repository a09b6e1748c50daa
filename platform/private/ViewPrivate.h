/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _VIEW_PRIVATE_H
#define _VIEW_PRIVATE_H


#include <optional>
#include <vector>

#include <Font.h>
#include <View.h>

#include "Painter.h"
#include "ViewOwner.h"


namespace BPrivate {


// A view's graphics state; PushState() puts a copy on top of it.
struct ViewState {
	rgb_color highColor;
	rgb_color lowColor;
	drawing_mode drawingMode;
	source_alpha alphaSource;
	alpha_function alphaFunction;
	float penSize;
	BPoint penLocation;
	cap_mode lineCap;
	join_mode lineJoin;
	float miterLimit;
	BFont font;
	// The origin set in this state, and the sum of those of the states below it
	BPoint origin;
	BPoint pushedOrigin;
	ViewState* previous;

	ViewState();

	BPoint
	CombinedOrigin() const
	{
		return pushedOrigin + origin;
	}
};


struct LineArray {
	struct Line {
		BPoint start;
		BPoint end;
		rgb_color color;
	};

	int32 capacity;
	std::vector<Line> lines;
};


// What the rest of the layer (the owners of view trees) may do with views.
class ViewPrivate {
public:
	// Makes `view` the top view of `owner`: a view as large as the owner, attached to it
	// without hooks, whose children have no Parent().
	static void SetTopView(BView* view, ViewOwner* owner);
	// Detaches the top view's children (with their hooks) and deletes them and the top view.
	static void DeleteTopView(BView* view);

	static ViewOwner*
	Owner(const BView* view)
	{
		return view->fOwner;
	}

	// Erases, draws and draws the children of the part of `view` within ownerRect, as a
	// window's update does.
	static void
	DrawTree(BView* view, BRect ownerRect)
	{
		view->_DrawTree(ownerRect);
	}

	// The deepest visible view under the point (owner coordinates), or NULL.
	static BView* ViewAt(BView* view, BPoint ownerPoint);

	// Moves the keyboard focus to the next B_NAVIGABLE, shown view after `focus` in the
	// pre-order of the tree below `topView` (the previous one when backward), wrapping
	// around. Without a focus, forward starts at the top and backward does nothing. False
	// when no other view could take the focus.
	static bool Navigate(BView* topView, BView* focus, bool backward);
	// The top view of the tree the view is in
	static BView* TopView(BView* view);

	static BPoint
	ToOwner(const BView* view, BPoint point)
	{
		return view->_ToOwner(point);
	}
	static BPoint
	FromOwner(const BView* view, BPoint point)
	{
		return view->_FromOwner(point);
	}
};


// One drawing call of a view: it finds the owner's pixels, the part of them the view may
// draw in and the colours and mode to draw with, and tells the owner what was drawn when
// it goes. Not valid (and nothing is drawn) when the view is not attached, is hidden or
// has nothing visible.
class ViewDrawing {
public:
	ViewDrawing(BView* view, const ::pattern& p);
	~ViewDrawing();

	bool
	IsValid() const
	{
		return fValid;
	}

	// Changes the paint state before the first GetPainter().
	void SetColorAndMode(rgb_color high, drawing_mode mode);
	// Further confines the drawing (owner coordinates, pixels).
	void ClipTo(const PixelRect& rect);

	Painter& GetPainter();
	const ClipRegion&
	Clip() const
	{
		return fClip;
	}

	// A point of the view's drawing coordinates (with its origin) in the target's
	// pixel-edge coordinates, where pixel (x, y) is the square from (x, y) to (x + 1, y + 1).
	BPoint
	ToTarget(BPoint point) const
	{
		return BPoint(point.x + fOffset.x, point.y + fOffset.y);
	}
	// The whole pixels of a rectangle of drawing coordinates, both edges included.
	PixelRect PixelsOf(BRect rect) const;

	const ViewState&
	State() const
	{
		return *fView->fState;
	}

private:
	BView* fView;
	bool fValid;
	DrawTarget fTarget;
	ClipRegion fClip;
	PaintState fPaint;
	BPoint fOffset;
	std::optional<Painter> fPainter;
};


// The whole pixels of a rectangle in owner coordinates, both edges included.
PixelRect pixels_of(BRect rect);


} // namespace BPrivate


#endif // _VIEW_PRIVATE_H
