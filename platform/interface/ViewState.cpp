/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <math.h>

#include <ViewPrivate.h>


using BPrivate::ViewState;


ViewState::ViewState()
	: highColor(make_color(0, 0, 0)), lowColor(make_color(255, 255, 255)), drawingMode(B_OP_COPY),
	  alphaSource(B_PIXEL_ALPHA), alphaFunction(B_ALPHA_OVERLAY), penSize(1.0f), penLocation(0, 0),
	  lineCap(B_BUTT_CAP), lineJoin(B_MITER_JOIN), miterLimit(B_DEFAULT_MITER_LIMIT),
	  font(*be_plain_font), origin(0, 0), pushedOrigin(0, 0), previous(NULL)
{ }


//	#pragma mark - the graphics state


void
BView::SetOrigin(BPoint where)
{
	if (isfinite(where.x) && isfinite(where.y))
		fState->origin = where;
}


void
BView::SetOrigin(float x, float y)
{
	SetOrigin(BPoint(x, y));
}


BPoint
BView::Origin() const
{
	return fState->origin;
}


void
BView::PushState()
{
	ViewState* state = new ViewState(*fState);
	state->pushedOrigin = fState->CombinedOrigin();
	state->origin = BPoint(0, 0);
	state->previous = fState;
	fState = state;
}


void
BView::PopState()
{
	if (fState->previous == NULL)
		return;
	ViewState* state = fState;
	fState = state->previous;
	delete state;
}


void
BView::SetDrawingMode(drawing_mode mode)
{
	if (mode >= B_OP_COPY && mode <= B_OP_ALPHA)
		fState->drawingMode = mode;
}


drawing_mode
BView::DrawingMode() const
{
	return fState->drawingMode;
}


void
BView::SetBlendingMode(source_alpha srcAlpha, alpha_function alphaFunc)
{
	fState->alphaSource = srcAlpha == B_CONSTANT_ALPHA ? B_CONSTANT_ALPHA : B_PIXEL_ALPHA;
	fState->alphaFunction = alphaFunc == B_ALPHA_COMPOSITE ? B_ALPHA_COMPOSITE : B_ALPHA_OVERLAY;
}


void
BView::GetBlendingMode(source_alpha* srcAlpha, alpha_function* alphaFunc) const
{
	if (srcAlpha != NULL)
		*srcAlpha = fState->alphaSource;
	if (alphaFunc != NULL)
		*alphaFunc = fState->alphaFunction;
}


void
BView::SetPenSize(float size)
{
	if (!(size >= 0))
		size = 0;
	fState->penSize = min_c(size, 10000.0f);
}


float
BView::PenSize() const
{
	return fState->penSize;
}


void
BView::SetLineMode(cap_mode lineCap, join_mode lineJoin, float miterLimit)
{
	fState->lineCap = lineCap;
	fState->lineJoin = lineJoin;
	fState->miterLimit = isfinite(miterLimit) ? miterLimit : B_DEFAULT_MITER_LIMIT;
}


cap_mode
BView::LineCapMode() const
{
	return fState->lineCap;
}


join_mode
BView::LineJoinMode() const
{
	return fState->lineJoin;
}


float
BView::LineMiterLimit() const
{
	return fState->miterLimit;
}


void
BView::MovePenTo(BPoint location)
{
	fState->penLocation = location;
}


void
BView::MovePenTo(float x, float y)
{
	fState->penLocation.Set(x, y);
}


void
BView::MovePenBy(float x, float y)
{
	fState->penLocation.x += x;
	fState->penLocation.y += y;
}


BPoint
BView::PenLocation() const
{
	return fState->penLocation;
}


void
BView::SetHighColor(rgb_color color)
{
	fState->highColor = color;
}


rgb_color
BView::HighColor() const
{
	return fState->highColor;
}


void
BView::SetLowColor(rgb_color color)
{
	fState->lowColor = color;
}


rgb_color
BView::LowColor() const
{
	return fState->lowColor;
}


void
BView::SetViewColor(rgb_color color)
{
	fViewColor = color;
}


rgb_color
BView::ViewColor() const
{
	return fViewColor;
}
