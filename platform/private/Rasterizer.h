/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _RASTERIZER_H
#define _RASTERIZER_H


#include <vector>

#include <InterfaceDefs.h>
#include <Point.h>


namespace BPrivate {


// A rectangle of whole pixels in a drawing target: [left, right) x [top, bottom).
struct PixelRect {
	int32 left;
	int32 top;
	int32 right;
	int32 bottom;

	bool
	IsEmpty() const
	{
		return left >= right || top >= bottom;
	}
	PixelRect
	Intersect(const PixelRect& other) const
	{
		PixelRect result = {max_c(left, other.left), max_c(top, other.top),
			min_c(right, other.right), min_c(bottom, other.bottom)};
		return result;
	}
};


// Closed polygons in the pixel-edge coordinates of a target: pixel (x, y) covers the
// square [x, x + 1) x [y, y + 1).
class Path {
public:
	void MoveTo(float x, float y);
	void LineTo(float x, float y);
	// Ends the current polygon; the next LineTo() without MoveTo() starts a new one at the
	// last point.
	void Close();

	// Whole polygons. `reverse` walks the points the other way round, which makes the
	// polygon a hole in one of the other orientation.
	void AddPolygon(const BPoint* points, int32 count, bool reverse = false);
	void AddEllipse(
		float centerX, float centerY, float radiusX, float radiusY, bool reverse = false);
	// A rectangle with quarter-ellipse corners, radii clamped to half the sides
	void AddRoundRect(float left, float top, float right, float bottom, float radiusX,
		float radiusY, bool reverse = false);

	bool
	IsEmpty() const
	{
		return fPolygons.empty();
	}
	const std::vector<std::vector<BPoint>>&
	Polygons() const
	{
		return fPolygons;
	}

private:
	std::vector<std::vector<BPoint>> fPolygons;
	bool fOpen = false;
};


// The points of an elliptic arc from startAngle over arcAngle (degrees, counter-clockwise
// on the screen from three o'clock), fine enough for its size.
void arc_points(float centerX, float centerY, float radiusX, float radiusY, float startAngle,
	float arcAngle, std::vector<BPoint>* points);

// Adds the outline of a polyline drawn with a pen of `width` to path, as polygons of one
// orientation whose union is the stroke (fill it with the non-zero rule).
void stroke_polyline(Path* path, const BPoint* points, int32 count, bool closed, float width,
	cap_mode cap, join_mode join, float miterLimit);


// Receives the coverage of one row of pixels: coverage[i] (0 to 255) belongs to pixel
// (x + i, y); pixels outside [x, x + count) are not covered.
class CoverageSink {
public:
	virtual ~CoverageSink() { }
	virtual void CoverRow(int32 y, int32 x, int32 count, const uint8* coverage) = 0;
};


enum fill_rule { B_NONZERO_FILL = 0, B_EVEN_ODD_FILL };


// Scan converts the polygons of path within `bounds` with anti-aliased edges: the area of
// each pixel inside the shape is measured exactly across the row and on sixteen
// sub-scanlines down it, so edges on whole pixels give full coverage and nothing else.
// Points that are not finite make the whole path draw nothing.
void rasterize(const Path& path, const PixelRect& bounds, fill_rule rule, CoverageSink* sink);


} // namespace BPrivate


#endif // _RASTERIZER_H
