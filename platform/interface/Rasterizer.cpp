/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Rasterizer.h>

#include <math.h>

#include <algorithm>


namespace BPrivate {


// Sub-scanlines per row of pixels: a power of two, so that the weights add up exactly.
static const int32 kSubScanlines = 16;
// How far a curve may stray from its polygon, in pixels.
static const float kCurveTolerance = 0.125f;
// Coordinates are kept within this distance of the origin, far beyond any target.
static const float kCoordinateLimit = 1.0e7f;


static int32
segments_for(float radius)
{
	if (!(radius > kCurveTolerance))
		return 8;
	double step = acos(1.0 - kCurveTolerance / radius);
	double count = ceil(2 * M_PI / step);
	if (count < 8)
		return 8;
	if (count > 4096)
		return 4096;
	return (int32)count;
}


static double
signed_area(const std::vector<BPoint>& polygon)
{
	double area = 0;
	size_t count = polygon.size();
	for (size_t i = 0; i < count; i++) {
		const BPoint& a = polygon[i];
		const BPoint& b = polygon[(i + 1) % count];
		area += (double)a.x * b.y - (double)b.x * a.y;
	}
	return area / 2;
}


// Adds a polygon with a positive area, turning it round when needed; degenerate ones are
// left out.
static void
add_oriented(Path* path, std::vector<BPoint>& polygon)
{
	double area = signed_area(polygon);
	if (fabs(area) < 1e-9)
		return;
	path->AddPolygon(polygon.data(), (int32)polygon.size(), area < 0);
}


static void
add_circle(Path* path, BPoint center, float radius)
{
	std::vector<BPoint> circle;
	int32 count = segments_for(radius);
	for (int32 i = 0; i < count; i++) {
		double angle = 2 * M_PI * i / count;
		circle.push_back(
			BPoint(center.x + radius * (float)cos(angle), center.y + radius * (float)sin(angle)));
	}
	add_oriented(path, circle);
}


//	#pragma mark - Path


void
Path::MoveTo(float x, float y)
{
	fPolygons.push_back(std::vector<BPoint>());
	fPolygons.back().push_back(BPoint(x, y));
	fOpen = true;
}


void
Path::LineTo(float x, float y)
{
	if (!fOpen) {
		BPoint start(x, y);
		if (!fPolygons.empty() && !fPolygons.back().empty())
			start = fPolygons.back().back();
		MoveTo(start.x, start.y);
	}
	fPolygons.back().push_back(BPoint(x, y));
}


void
Path::Close()
{
	fOpen = false;
}


void
Path::AddPolygon(const BPoint* points, int32 count, bool reverse)
{
	if (points == NULL || count <= 0)
		return;
	fOpen = false;
	fPolygons.push_back(std::vector<BPoint>(points, points + count));
	if (reverse)
		std::reverse(fPolygons.back().begin(), fPolygons.back().end());
}


void
Path::AddEllipse(float centerX, float centerY, float radiusX, float radiusY, bool reverse)
{
	if (!(radiusX > 0) || !(radiusY > 0))
		return;

	int32 count = segments_for(max_c(radiusX, radiusY));
	std::vector<BPoint> points;
	points.reserve(count);
	for (int32 i = 0; i < count; i++) {
		double angle = 2 * M_PI * i / count;
		points.push_back(
			BPoint(centerX + radiusX * (float)cos(angle), centerY + radiusY * (float)sin(angle)));
	}
	AddPolygon(points.data(), count, reverse);
}


void
Path::AddRoundRect(
	float left, float top, float right, float bottom, float radiusX, float radiusY, bool reverse)
{
	if (!(right > left) || !(bottom > top))
		return;

	radiusX = min_c(max_c(radiusX, 0.0f), (right - left) / 2);
	radiusY = min_c(max_c(radiusY, 0.0f), (bottom - top) / 2);
	if (!(radiusX > 0) || !(radiusY > 0))
		radiusX = radiusY = 0;

	// The corners in the order of growing angles: bottom right, bottom left, top left,
	// top right.
	const BPoint centers[4] = {
		BPoint(right - radiusX, bottom - radiusY),
		BPoint(left + radiusX, bottom - radiusY),
		BPoint(left + radiusX, top + radiusY),
		BPoint(right - radiusX, top + radiusY),
	};
	int32 steps = radiusX > 0 ? segments_for(max_c(radiusX, radiusY)) / 4 + 1 : 0;

	std::vector<BPoint> points;
	for (int32 corner = 0; corner < 4; corner++) {
		if (steps == 0) {
			points.push_back(
				BPoint(corner == 0 || corner == 3 ? right : left, corner < 2 ? bottom : top));
			continue;
		}
		for (int32 i = 0; i <= steps; i++) {
			double angle = M_PI / 2 * (corner + (double)i / steps);
			points.push_back(BPoint(centers[corner].x + radiusX * (float)cos(angle),
				centers[corner].y + radiusY * (float)sin(angle)));
		}
	}
	AddPolygon(points.data(), (int32)points.size(), reverse);
}


void
arc_points(float centerX, float centerY, float radiusX, float radiusY, float startAngle,
	float arcAngle, std::vector<BPoint>* points)
{
	if (!isfinite(startAngle) || !isfinite(arcAngle))
		return;
	arcAngle = max_c(-360.0f, min_c(360.0f, arcAngle));

	int32 count = (int32)ceil(segments_for(max_c(radiusX, radiusY)) * fabs(arcAngle) / 360.0);
	if (count < 1)
		count = 1;
	for (int32 i = 0; i <= count; i++) {
		double angle = (startAngle + arcAngle * i / count) * M_PI / 180.0;
		// Angles grow counter-clockwise on the screen, where y grows downwards.
		points->push_back(
			BPoint(centerX + radiusX * (float)cos(angle), centerY - radiusY * (float)sin(angle)));
	}
}


//	#pragma mark - Stroking


void
stroke_polyline(Path* path, const BPoint* input, int32 count, bool closed, float width,
	cap_mode cap, join_mode join, float miterLimit)
{
	float halfWidth = width / 2;
	if (input == NULL || count <= 0 || !(halfWidth > 0) || !isfinite(halfWidth))
		return;

	std::vector<BPoint> points;
	for (int32 i = 0; i < count; i++) {
		if (!points.empty() && fabsf(points.back().x - input[i].x) < 1e-6f
			&& fabsf(points.back().y - input[i].y) < 1e-6f)
			continue;
		points.push_back(input[i]);
	}
	if (closed && points.size() > 1 && fabsf(points.back().x - points[0].x) < 1e-6f
		&& fabsf(points.back().y - points[0].y) < 1e-6f)
		points.pop_back();

	int32 pointCount = (int32)points.size();
	if (pointCount == 1) {
		// A dot: what the caps of a line without length make of it
		BPoint point = points[0];
		if (cap == B_ROUND_CAP)
			add_circle(path, point, halfWidth);
		else if (cap == B_SQUARE_CAP) {
			std::vector<BPoint> square = {BPoint(point.x - halfWidth, point.y - halfWidth),
				BPoint(point.x + halfWidth, point.y - halfWidth),
				BPoint(point.x + halfWidth, point.y + halfWidth),
				BPoint(point.x - halfWidth, point.y + halfWidth)};
			add_oriented(path, square);
		}
		return;
	}
	if (pointCount == 2)
		closed = false;

	int32 segmentCount = closed ? pointCount : pointCount - 1;
	std::vector<BPoint> directions(segmentCount);
	for (int32 i = 0; i < segmentCount; i++) {
		BPoint delta = points[(i + 1) % pointCount] - points[i];
		float length = sqrtf(delta.x * delta.x + delta.y * delta.y);
		directions[i] = BPoint(delta.x / length, delta.y / length);
	}

	// Each segment is a rectangle along it.
	for (int32 i = 0; i < segmentCount; i++) {
		BPoint direction = directions[i];
		BPoint normal(-direction.y * halfWidth, direction.x * halfWidth);
		BPoint start = points[i];
		BPoint end = points[(i + 1) % pointCount];
		if (!closed && cap == B_SQUARE_CAP) {
			BPoint extension(direction.x * halfWidth, direction.y * halfWidth);
			if (i == 0)
				start -= extension;
			if (i == segmentCount - 1)
				end += extension;
		}
		std::vector<BPoint> quad = {start + normal, end + normal, end - normal, start - normal};
		add_oriented(path, quad);
	}

	// The joins fill the gap on the outer side of each corner.
	int32 firstJoin = closed ? 0 : 1;
	int32 lastJoin = closed ? pointCount - 1 : pointCount - 2;
	for (int32 i = firstJoin; i <= lastJoin; i++) {
		BPoint vertex = points[i];
		BPoint in = directions[(i - 1 + segmentCount) % segmentCount];
		BPoint out = directions[i % segmentCount];
		float cross = in.x * out.y - in.y * out.x;
		float dot = in.x * out.x + in.y * out.y;
		if (fabsf(cross) < 1e-6f && dot > 0)
			continue;

		if (join == B_ROUND_JOIN) {
			add_circle(path, vertex, halfWidth);
			continue;
		}

		float side = cross > 0 ? -1.0f : 1.0f;
		BPoint inNormal(-in.y * halfWidth * side, in.x * halfWidth * side);
		BPoint outNormal(-out.y * halfWidth * side, out.x * halfWidth * side);
		std::vector<BPoint> wedge = {vertex, vertex + inNormal, vertex + outNormal};

		float cosHalf = sqrtf(max_c(0.0f, (1 + dot) / 2));
		if (join == B_MITER_JOIN && cosHalf > 1e-6f && 1 / cosHalf <= miterLimit) {
			BPoint middle = inNormal + outNormal;
			float length = sqrtf(middle.x * middle.x + middle.y * middle.y);
			if (length > 1e-6f) {
				float scale = halfWidth / cosHalf / length;
				BPoint tip(vertex.x + middle.x * scale, vertex.y + middle.y * scale);
				wedge.insert(wedge.begin() + 2, tip);
			}
		}
		add_oriented(path, wedge);
	}

	if (!closed && cap == B_ROUND_CAP) {
		add_circle(path, points[0], halfWidth);
		add_circle(path, points[pointCount - 1], halfWidth);
	}
}


//	#pragma mark - Scan conversion


namespace {

struct Edge {
	float x0;
	float y0;
	float y1;
	float slope;
	int32 direction;
};


struct Crossing {
	float x;
	int32 direction;

	bool
	operator<(const Crossing& other) const
	{
		return x < other.x;
	}
};


// Area and cover accumulation for one row: area[] takes the parts of pixels that spans
// cover partly, delta[] the starts and ends of runs of fully covered pixels.
class RowAccumulator {
public:
	RowAccumulator(int32 width)
		: fWidth(width), fArea(width + 2, 0.0f), fDelta(width + 2, 0.0f), fFirst(width), fLast(-1)
	{ }

	void
	AddSpan(float from, float to, float weight)
	{
		from = max_c(0.0f, min_c(from, (float)fWidth));
		to = max_c(0.0f, min_c(to, (float)fWidth));
		if (!(to > from))
			return;

		int32 first = (int32)from;
		int32 last = (int32)to;
		if (first == last) {
			fArea[first] += (to - from) * weight;
		} else {
			fArea[first] += (first + 1 - from) * weight;
			fDelta[first + 1] += weight;
			fDelta[last] -= weight;
			fArea[last] += (to - last) * weight;
		}
		fFirst = min_c(fFirst, first);
		fLast = max_c(fLast, last);
	}

	// Hands the covered pixels of the row to the sink, then clears the row.
	void
	Flush(int32 y, int32 left, std::vector<uint8>& coverage, CoverageSink* sink)
	{
		if (fLast < fFirst)
			return;

		int32 last = min_c(fLast, fWidth - 1);
		float run = 0;
		int32 start = -1;
		for (int32 i = fFirst; i <= last + 1; i++) {
			uint8 value = 0;
			if (i <= last) {
				run += fDelta[i];
				float cover = fArea[i] + run;
				if (cover > 0) {
					float scaled = cover * 255.0f + 0.5f;
					value = scaled >= 255.0f ? 255 : (uint8)scaled;
				}
			}
			if (value != 0) {
				if (start < 0)
					start = i;
				coverage[i - start] = value;
			} else if (start >= 0) {
				sink->CoverRow(y, left + start, i - start, coverage.data());
				start = -1;
			}
		}

		std::fill(fArea.begin() + fFirst, fArea.begin() + min_c(fLast + 2, fWidth + 2), 0.0f);
		std::fill(fDelta.begin() + fFirst, fDelta.begin() + min_c(fLast + 2, fWidth + 2), 0.0f);
		fFirst = fWidth;
		fLast = -1;
	}

private:
	int32 fWidth;
	std::vector<float> fArea;
	std::vector<float> fDelta;
	int32 fFirst;
	int32 fLast;
};

} // namespace


void
rasterize(const Path& path, const PixelRect& bounds, fill_rule rule, CoverageSink* sink)
{
	if (sink == NULL || bounds.IsEmpty())
		return;

	std::vector<Edge> edges;
	float minX = HUGE_VALF;
	float maxX = -HUGE_VALF;
	float minY = HUGE_VALF;
	float maxY = -HUGE_VALF;
	for (const std::vector<BPoint>& polygon : path.Polygons()) {
		size_t count = polygon.size();
		if (count < 2)
			continue;
		for (size_t i = 0; i < count; i++) {
			BPoint a = polygon[i];
			BPoint b = polygon[(i + 1) % count];
			if (!isfinite(a.x) || !isfinite(a.y) || !isfinite(b.x) || !isfinite(b.y))
				return;
			a.x = max_c(-kCoordinateLimit, min_c(kCoordinateLimit, a.x));
			a.y = max_c(-kCoordinateLimit, min_c(kCoordinateLimit, a.y));
			b.x = max_c(-kCoordinateLimit, min_c(kCoordinateLimit, b.x));
			b.y = max_c(-kCoordinateLimit, min_c(kCoordinateLimit, b.y));
			minX = min_c(minX, min_c(a.x, b.x));
			maxX = max_c(maxX, max_c(a.x, b.x));
			if (a.y == b.y)
				continue;

			Edge edge;
			edge.direction = a.y < b.y ? 1 : -1;
			if (a.y > b.y)
				std::swap(a, b);
			edge.x0 = a.x;
			edge.y0 = a.y;
			edge.y1 = b.y;
			edge.slope = (b.x - a.x) / (b.y - a.y);
			edges.push_back(edge);
			minY = min_c(minY, a.y);
			maxY = max_c(maxY, b.y);
		}
	}
	if (edges.empty())
		return;

	PixelRect area
		= {(int32)floorf(minX), (int32)floorf(minY), (int32)ceilf(maxX) + 1, (int32)ceilf(maxY)};
	area = area.Intersect(bounds);
	if (area.IsEmpty())
		return;

	std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });

	int32 width = area.right - area.left;
	RowAccumulator row(width);
	std::vector<uint8> coverage(width);
	std::vector<int32> active;
	std::vector<Crossing> crossings;
	const float weight = 1.0f / kSubScanlines;
	size_t next = 0;

	for (int32 y = area.top; y < area.bottom; y++) {
		// Edges that end above the row leave, edges that start in it join.
		size_t kept = 0;
		for (size_t i = 0; i < active.size(); i++) {
			if (edges[active[i]].y1 > y)
				active[kept++] = active[i];
		}
		active.resize(kept);
		while (next < edges.size() && edges[next].y0 < y + 1) {
			if (edges[next].y1 > y)
				active.push_back((int32)next);
			next++;
		}
		if (active.empty()) {
			if (next >= edges.size())
				break;
			// Skip the empty rows down to the next edge.
			int32 skipTo = (int32)floorf(edges[next].y0);
			if (skipTo > y + 1)
				y = min_c(skipTo, area.bottom) - 1;
			continue;
		}

		for (int32 sub = 0; sub < kSubScanlines; sub++) {
			float scanY = y + (sub + 0.5f) * weight;
			crossings.clear();
			for (int32 index : active) {
				const Edge& edge = edges[index];
				if (edge.y0 <= scanY && scanY < edge.y1) {
					Crossing crossing
						= {edge.x0 + (scanY - edge.y0) * edge.slope - area.left, edge.direction};
					crossings.push_back(crossing);
				}
			}
			if (crossings.size() < 2)
				continue;
			std::sort(crossings.begin(), crossings.end());

			int32 winding = 0;
			float spanStart = 0;
			for (const Crossing& crossing : crossings) {
				bool wasInside = rule == B_NONZERO_FILL ? winding != 0 : (winding & 1) != 0;
				winding += crossing.direction;
				bool isInside = rule == B_NONZERO_FILL ? winding != 0 : (winding & 1) != 0;
				if (!wasInside && isInside)
					spanStart = crossing.x;
				else if (wasInside && !isInside)
					row.AddSpan(spanStart, crossing.x, weight);
			}
		}
		row.Flush(y, area.left, coverage, sink);
	}
}


} // namespace BPrivate
