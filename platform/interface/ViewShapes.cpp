/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <math.h>

#include <vector>

#include <Rasterizer.h>
#include <ViewPrivate.h>


using BPrivate::Path;
using BPrivate::PixelRect;
using BPrivate::ViewDrawing;


// Shapes are placed on whole pixels, as Haiku's app_server places them when the view is
// not B_SUBPIXEL_PRECISE: fills cover the pixels from the left top one to the right bottom
// one, both included; strokes run through pixel centres for odd pen sizes and along the
// pixels' left top edges for even ones, so that their edges stay sharp.


static BPoint
aligned(BPoint point, float offset)
{
	return BPoint(floorf(point.x) + offset, floorf(point.y) + offset);
}


static float
stroke_width(float penSize)
{
	return penSize < 1.0f ? 1.0f : penSize;
}


static float
center_offset(float width)
{
	return fmodf(width, 2.0f) != 0.0f ? 0.5f : 0.0f;
}


static bool
finite_point(BPoint point)
{
	return isfinite(point.x) && isfinite(point.y) && fabsf(point.x) < 1.0e9f
		&& fabsf(point.y) < 1.0e9f;
}


// A line from start to end (drawing coordinates) with the drawing's colours. A line of
// pen size 1 along a row or column covers the pixels of both ends and those between.
static void
stroke_line(ViewDrawing& drawing, BPoint start, BPoint end, float penSize, cap_mode cap,
	join_mode join, float miterLimit)
{
	BPoint a = drawing.ToTarget(start);
	BPoint b = drawing.ToTarget(end);
	if (!finite_point(a) || !finite_point(b))
		return;

	float width = stroke_width(penSize);
	if (width == 1.0f) {
		a = aligned(a, 0);
		b = aligned(b, 0);
		if (a.x == b.x || a.y == b.y) {
			PixelRect pixels = {(int32)min_c(a.x, b.x), (int32)min_c(a.y, b.y),
				(int32)max_c(a.x, b.x) + 1, (int32)max_c(a.y, b.y) + 1};
			drawing.GetPainter().FillRect(pixels);
			return;
		}
		// Square caps make the end pixels part of the line.
		BPoint points[2] = {a + BPoint(0.5f, 0.5f), b + BPoint(0.5f, 0.5f)};
		Path path;
		BPrivate::stroke_polyline(&path, points, 2, false, 1.0f, B_SQUARE_CAP, join, miterLimit);
		drawing.GetPainter().FillPath(path);
		return;
	}

	float offset = center_offset(width);
	BPoint points[2] = {aligned(a, offset), aligned(b, offset)};
	Path path;
	if (points[0] == points[1]) {
		// A line without length is a dot of the pen's size.
		float half = width / 2;
		BPoint square[4] = {points[0] + BPoint(-half, -half), points[0] + BPoint(half, -half),
			points[0] + BPoint(half, half), points[0] + BPoint(-half, half)};
		path.AddPolygon(square, 4);
	} else
		BPrivate::stroke_polyline(&path, points, 2, false, width, cap, join, miterLimit);
	drawing.GetPainter().FillPath(path);
}


void
BView::StrokeLine(BPoint toPoint, ::pattern p)
{
	StrokeLine(PenLocation(), toPoint, p);
}


void
BView::StrokeLine(BPoint start, BPoint end, ::pattern p)
{
	if (fOwner == NULL)
		return;
	_StrokeLine(start, end, p);
	MovePenTo(end);
}


void
BView::_StrokeLine(BPoint start, BPoint end, const ::pattern& p)
{
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;
	const BPrivate::ViewState& state = drawing.State();
	stroke_line(
		drawing, start, end, state.penSize, state.lineCap, state.lineJoin, state.miterLimit);
}


void
BView::BeginLineArray(int32 count)
{
	if (count <= 0)
		return;
	delete fLineArray;
	fLineArray = new BPrivate::LineArray;
	fLineArray->capacity = count;
	fLineArray->lines.reserve(min_c(count, 1024));
}


void
BView::AddLine(BPoint start, BPoint end, rgb_color color)
{
	if (fLineArray == NULL || (int32)fLineArray->lines.size() >= fLineArray->capacity)
		return;
	BPrivate::LineArray::Line line = {start, end, color};
	fLineArray->lines.push_back(line);
}


void
BView::EndLineArray()
{
	if (fLineArray == NULL)
		return;

	for (const BPrivate::LineArray::Line& line : fLineArray->lines) {
		ViewDrawing drawing(this, B_SOLID_HIGH);
		if (!drawing.IsValid())
			break;
		const BPrivate::ViewState& state = drawing.State();
		drawing.SetColorAndMode(line.color, state.drawingMode);
		stroke_line(drawing, line.start, line.end, state.penSize, state.lineCap, state.lineJoin,
			state.miterLimit);
	}
	delete fLineArray;
	fLineArray = NULL;
}


// Strokes a polyline of drawing coordinates with the pen. Centred lines run through pixel
// centres when the pen's width is odd; otherwise the points are taken as they are aligned.
void
BView::_StrokePolyline(
	const BPoint* points, int32 count, bool closed, bool centered, const ::pattern& p)
{
	if (points == NULL || count <= 0)
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	const BPrivate::ViewState& state = drawing.State();
	float width = stroke_width(state.penSize);
	float offset = centered ? center_offset(width) : 0.0f;
	std::vector<BPoint> targetPoints;
	targetPoints.reserve(count);
	for (int32 i = 0; i < count; i++) {
		BPoint point = drawing.ToTarget(points[i]);
		if (!finite_point(point))
			return;
		targetPoints.push_back(aligned(point, offset));
	}

	Path path;
	BPrivate::stroke_polyline(&path, targetPoints.data(), count, closed, width, state.lineCap,
		state.lineJoin, state.miterLimit);
	drawing.GetPainter().FillPath(path);
}


void
BView::StrokePolygon(const BPoint* pointArray, int32 numPoints, bool isClosed, ::pattern p)
{
	_StrokePolyline(pointArray, numPoints, isClosed, true, p);
}


void
BView::StrokePolygon(
	const BPoint* pointArray, int32 numPoints, BRect bounds, bool isClosed, ::pattern p)
{
	(void)bounds;
	_StrokePolyline(pointArray, numPoints, isClosed, true, p);
}


void
BView::FillPolygon(const BPoint* pointArray, int32 numPoints, ::pattern p)
{
	if (pointArray == NULL || numPoints < 3)
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	// The points are pixel centres.
	std::vector<BPoint> points;
	points.reserve(numPoints);
	for (int32 i = 0; i < numPoints; i++) {
		BPoint point = drawing.ToTarget(pointArray[i]);
		if (!finite_point(point))
			return;
		points.push_back(aligned(point, 0.5f));
	}
	Path path;
	path.AddPolygon(points.data(), numPoints);
	drawing.GetPainter().FillPath(path);
}


void
BView::FillPolygon(const BPoint* pointArray, int32 numPoints, BRect bounds, ::pattern p)
{
	(void)bounds;
	FillPolygon(pointArray, numPoints, p);
}


void
BView::StrokeTriangle(BPoint point1, BPoint point2, BPoint point3, BRect bounds, ::pattern p)
{
	(void)bounds;
	StrokeTriangle(point1, point2, point3, p);
}


void
BView::StrokeTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern p)
{
	BPoint points[3] = {point1, point2, point3};
	_StrokePolyline(points, 3, true, true, p);
}


void
BView::FillTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern p)
{
	BPoint points[3] = {point1, point2, point3};
	FillPolygon(points, 3, p);
}


void
BView::FillTriangle(BPoint point1, BPoint point2, BPoint point3, BRect bounds, ::pattern p)
{
	(void)bounds;
	FillTriangle(point1, point2, point3, p);
}


void
BView::StrokeRect(BRect rect, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	int32 left = pixels.left;
	int32 top = pixels.top;
	int32 right = pixels.right - 1;
	int32 bottom = pixels.bottom - 1;

	const BPrivate::ViewState& state = drawing.State();
	float width = stroke_width(state.penSize);
	if (width == 1.0f) {
		// The outermost ring of pixels, each pixel once.
		BPrivate::Painter& painter = drawing.GetPainter();
		PixelRect topRow = {left, top, right + 1, top + 1};
		painter.FillRect(topRow);
		if (bottom > top) {
			PixelRect bottomRow = {left, bottom, right + 1, bottom + 1};
			painter.FillRect(bottomRow);
		}
		if (bottom - top >= 2) {
			PixelRect leftColumn = {left, top + 1, left + 1, bottom};
			painter.FillRect(leftColumn);
			if (right > left) {
				PixelRect rightColumn = {right, top + 1, right + 1, bottom};
				painter.FillRect(rightColumn);
			}
		}
		return;
	}

	float offset = center_offset(width);
	Path path;
	if (left == right || top == bottom) {
		BPoint line[2]
			= {BPoint(left + offset, top + offset), BPoint(right + offset, bottom + offset)};
		BPrivate::stroke_polyline(
			&path, line, 2, false, width, B_SQUARE_CAP, state.lineJoin, state.miterLimit);
	} else {
		BPoint corners[4]
			= {BPoint(left + offset, top + offset), BPoint(right + offset, top + offset),
				BPoint(right + offset, bottom + offset), BPoint(left + offset, bottom + offset)};
		BPrivate::stroke_polyline(
			&path, corners, 4, true, width, B_BUTT_CAP, state.lineJoin, state.miterLimit);
	}
	drawing.GetPainter().FillPath(path);
}


void
BView::FillRect(BRect rect, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;
	drawing.GetPainter().FillRect(drawing.PixelsOf(rect));
}


void
BView::InvertRect(BRect rect)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, B_SOLID_HIGH);
	if (!drawing.IsValid())
		return;
	drawing.SetColorAndMode(HighColor(), B_OP_INVERT);
	drawing.GetPainter().FillRect(drawing.PixelsOf(rect));
}


void
BView::StrokeRoundRect(BRect rect, float xRadius, float yRadius, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	float width = stroke_width(drawing.State().penSize);
	// Only a one pixel pen runs through pixel centres here, as on Haiku.
	float offset = width == 1.0f ? 0.5f : 0.0f;
	float left = pixels.left + offset;
	float top = pixels.top + offset;
	float right = pixels.right - 1 + offset;
	float bottom = pixels.bottom - 1 + offset;

	Path outline;
	outline.AddRoundRect(left, top, right, bottom, xRadius, yRadius);
	Path path;
	if (outline.IsEmpty()) {
		BPoint line[2] = {BPoint(left, top), BPoint(right, bottom)};
		BPrivate::stroke_polyline(
			&path, line, 2, false, width, B_SQUARE_CAP, B_MITER_JOIN, B_DEFAULT_MITER_LIMIT);
	} else {
		const std::vector<BPoint>& points = outline.Polygons()[0];
		BPrivate::stroke_polyline(&path, points.data(), (int32)points.size(), true, width,
			B_BUTT_CAP, B_MITER_JOIN, B_DEFAULT_MITER_LIMIT);
	}
	drawing.GetPainter().FillPath(path);
}


void
BView::FillRoundRect(BRect rect, float xRadius, float yRadius, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	Path path;
	path.AddRoundRect(pixels.left, pixels.top, pixels.right, pixels.bottom, xRadius, yRadius);
	drawing.GetPainter().FillPath(path);
}


void
BView::StrokeEllipse(BPoint center, float xRadius, float yRadius, ::pattern p)
{
	StrokeEllipse(
		BRect(center.x - xRadius, center.y - yRadius, center.x + xRadius, center.y + yRadius), p);
}


// A ring between the ellipses half a pen outside and inside the one through the centres
// of the rectangle's edge pixels.
void
BView::StrokeEllipse(BRect rect, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	float centerX = (pixels.left + pixels.right) / 2.0f;
	float centerY = (pixels.top + pixels.bottom) / 2.0f;
	float radiusX = (pixels.right - pixels.left - 1) / 2.0f;
	float radiusY = (pixels.bottom - pixels.top - 1) / 2.0f;
	float half = stroke_width(drawing.State().penSize) / 2;

	Path path;
	path.AddEllipse(centerX, centerY, radiusX + half, radiusY + half);
	if (radiusX - half > 0 && radiusY - half > 0)
		path.AddEllipse(centerX, centerY, radiusX - half, radiusY - half, true);
	drawing.GetPainter().FillPath(path);
}


void
BView::FillEllipse(BPoint center, float xRadius, float yRadius, ::pattern p)
{
	FillEllipse(
		BRect(center.x - xRadius, center.y - yRadius, center.x + xRadius, center.y + yRadius), p);
}


void
BView::FillEllipse(BRect rect, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	Path path;
	path.AddEllipse((pixels.left + pixels.right) / 2.0f, (pixels.top + pixels.bottom) / 2.0f,
		(pixels.right - pixels.left) / 2.0f, (pixels.bottom - pixels.top) / 2.0f);
	drawing.GetPainter().FillPath(path);
}


void
BView::StrokeArc(
	BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle, ::pattern p)
{
	StrokeArc(BRect(center.x - xRadius, center.y - yRadius, center.x + xRadius, center.y + yRadius),
		startAngle, arcAngle, p);
}


void
BView::StrokeArc(BRect rect, float startAngle, float arcAngle, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	std::vector<BPoint> points;
	BPrivate::arc_points((pixels.left + pixels.right) / 2.0f, (pixels.top + pixels.bottom) / 2.0f,
		(pixels.right - pixels.left - 1) / 2.0f, (pixels.bottom - pixels.top - 1) / 2.0f,
		startAngle, arcAngle, &points);
	Path path;
	BPrivate::stroke_polyline(&path, points.data(), (int32)points.size(), false,
		stroke_width(drawing.State().penSize), B_BUTT_CAP, B_ROUND_JOIN, B_DEFAULT_MITER_LIMIT);
	drawing.GetPainter().FillPath(path);
}


void
BView::FillArc(
	BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle, ::pattern p)
{
	FillArc(BRect(center.x - xRadius, center.y - yRadius, center.x + xRadius, center.y + yRadius),
		startAngle, arcAngle, p);
}


void
BView::FillArc(BRect rect, float startAngle, float arcAngle, ::pattern p)
{
	if (!rect.IsValid())
		return;
	ViewDrawing drawing(this, p);
	if (!drawing.IsValid())
		return;

	PixelRect pixels = drawing.PixelsOf(rect);
	float centerX = (pixels.left + pixels.right) / 2.0f;
	float centerY = (pixels.top + pixels.bottom) / 2.0f;
	std::vector<BPoint> points;
	points.push_back(BPoint(centerX, centerY));
	BPrivate::arc_points(centerX, centerY, (pixels.right - pixels.left) / 2.0f,
		(pixels.bottom - pixels.top) / 2.0f, startAngle, arcAngle, &points);
	Path path;
	path.AddPolygon(points.data(), (int32)points.size());
	drawing.GetPainter().FillPath(path);
}


void
BView::CopyBits(BRect source, BRect destination)
{
	if (!source.IsValid() || !destination.IsValid())
		return;
	ViewDrawing drawing(this, B_SOLID_HIGH);
	if (!drawing.IsValid())
		return;

	// Only the source's size counts; what is copied comes from the view's visible part.
	PixelRect from = drawing.PixelsOf(source);
	PixelRect to = drawing.PixelsOf(destination);
	int32 deltaX = to.left - from.left;
	int32 deltaY = to.top - from.top;
	from = from.Intersect(drawing.Clip().Bounds());
	drawing.ClipTo(to);
	drawing.GetPainter().CopyPixels(from, deltaX, deltaY);
}
