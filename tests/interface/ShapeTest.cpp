/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>

#include <Bitmap.h>
#include <View.h>

#include "DrawTestSupport.h"


static const rgb_color kWhite = {255, 255, 255, 255};
static const rgb_color kBlack = {0, 0, 0, 255};


static bool
IsDark(rgb_color color)
{
	return color.red < 40 && color.green < 40 && color.blue < 40 && color.alpha == 255;
}


// The painted pixels of a canvas as rows of '#' (black), '.' (white) and '+' (anything
// else).
static std::string
Picture(Canvas& canvas, int32 width, int32 height)
{
	std::string picture;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			rgb_color color = canvas.At(x, y);
			picture += color == kBlack ? '#' : color == kWhite ? '.' : '+';
		}
		picture += '\n';
	}
	return picture;
}


TEST(ShapeTest, RectanglesIncludeBothEdges)
{
	Canvas canvas(8, 6);
	BView* view = canvas.View();
	view->FillRect(BRect(0, 0, 0, 0));
	view->FillRect(BRect(2, 1, 5, 3));
	// Fractions fall to the pixel they are in.
	view->FillRect(BRect(6.7f, 4.2f, 6.9f, 5.9f));
	// A reversed rectangle draws nothing.
	view->FillRect(BRect(5, 5, 4, 4));
	EXPECT_EQ("#.......\n"
			  "..####..\n"
			  "..####..\n"
			  "..####..\n"
			  "......#.\n"
			  "......#.\n",
		Picture(canvas, 8, 6));
}


TEST(ShapeTest, StrokeRectPaintsTheOutermostRing)
{
	Canvas canvas(12, 12);
	BView* view = canvas.View();
	view->StrokeRect(BRect(1, 1, 10, 10));
	EXPECT_EQ("............\n"
			  ".##########.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".#........#.\n"
			  ".##########.\n"
			  "............\n",
		Picture(canvas, 12, 12));

	// Each pixel of the ring is painted once: inverting twice restores everything.
	view->SetDrawingMode(B_OP_INVERT);
	view->StrokeRect(BRect(1, 1, 10, 10));
	view->StrokeRect(BRect(1, 1, 10, 10));
	EXPECT_EQ(kBlack, canvas.At(1, 1));
	EXPECT_EQ(kBlack, canvas.At(10, 5));
}


TEST(ShapeTest, ThickStrokesFollowThePenSize)
{
	// An even pen runs along the pixels' left top edges: two pixels, one each side.
	Canvas even(14, 14);
	even.View()->SetPenSize(2);
	even.View()->StrokeRect(BRect(2, 2, 11, 11));
	EXPECT_EQ(kBlack, even.At(1, 6));
	EXPECT_EQ(kBlack, even.At(2, 6));
	EXPECT_EQ(kWhite, even.At(3, 6));
	EXPECT_EQ(kWhite, even.At(9, 6));
	EXPECT_EQ(kBlack, even.At(10, 6));
	EXPECT_EQ(kBlack, even.At(11, 6));
	EXPECT_EQ(kWhite, even.At(12, 6));
	EXPECT_EQ(kBlack, even.At(6, 1));
	EXPECT_EQ(kBlack, even.At(6, 11));
	// Mitred corners
	EXPECT_EQ(kBlack, even.At(1, 1));
	EXPECT_EQ(kBlack, even.At(11, 11));
	EXPECT_EQ(kWhite, even.At(6, 6));

	// An odd pen is centred on the pixel centres.
	Canvas odd(14, 14);
	odd.View()->SetPenSize(3);
	odd.View()->StrokeRect(BRect(3, 3, 10, 10));
	for (int32 x : {2, 3, 4, 9, 10, 11})
		EXPECT_EQ(kBlack, odd.At(x, 6)) << x;
	for (int32 x : {1, 5, 8, 12})
		EXPECT_EQ(kWhite, odd.At(x, 6)) << x;
}


TEST(ShapeTest, StrokeRoundRectLeavesTheCornersAlone)
{
	const int32 kWidth = 50;
	const int32 kHeight = 30;
	Canvas canvas(kWidth, kHeight);
	BView* view = canvas.View();
	view->SetPenSize(2);
	view->StrokeRoundRect(view->Bounds(), 10.5f, 10.5f);

	// Outside the rounding, in each corner
	for (BPoint corner : {BPoint(0, 0), BPoint(1, 0), BPoint(0, 1), BPoint(1, 1)}) {
		EXPECT_EQ(kWhite, canvas.At((int32)corner.x, (int32)corner.y));
		EXPECT_EQ(kWhite, canvas.At(kWidth - 1 - (int32)corner.x, (int32)corner.y));
		EXPECT_EQ(kWhite, canvas.At((int32)corner.x, kHeight - 1 - (int32)corner.y));
		EXPECT_EQ(kWhite, canvas.At(kWidth - 1 - (int32)corner.x, kHeight - 1 - (int32)corner.y));
	}

	// The straight parts: the path runs along the bounds' edges, so one pixel shows at
	// the left and top and two at the right and bottom.
	EXPECT_EQ(kBlack, canvas.At(25, 0));
	EXPECT_EQ(kWhite, canvas.At(25, 1));
	EXPECT_EQ(kBlack, canvas.At(0, 15));
	EXPECT_EQ(kWhite, canvas.At(1, 15));
	EXPECT_EQ(kBlack, canvas.At(25, kHeight - 1));
	EXPECT_EQ(kBlack, canvas.At(25, kHeight - 2));
	EXPECT_EQ(kWhite, canvas.At(25, kHeight - 3));
	EXPECT_EQ(kBlack, canvas.At(kWidth - 2, 15));
	EXPECT_EQ(kWhite, canvas.At(kWidth - 3, 15));
	EXPECT_EQ(kWhite, canvas.At(25, 15));

	// The curve itself is painted: some pixel on the diagonal of each corner has ink.
	bool inked = false;
	for (int32 i = 2; i < 6; i++)
		inked = inked || canvas.At(i, i) != kWhite;
	EXPECT_TRUE(inked);

	// A one pixel pen runs through the pixel centres: the edge pixels of the straight
	// parts are fully painted.
	Canvas thin(30, 20);
	thin.View()->StrokeRoundRect(thin.View()->Bounds(), 5, 5);
	EXPECT_EQ(kBlack, thin.At(15, 0));
	EXPECT_EQ(kBlack, thin.At(15, 19));
	EXPECT_EQ(kBlack, thin.At(0, 10));
	EXPECT_EQ(kBlack, thin.At(29, 10));
	EXPECT_EQ(kWhite, thin.At(0, 0));
	EXPECT_EQ(kWhite, thin.At(15, 1));
}


TEST(ShapeTest, FilledShapes)
{
	Canvas canvas(20, 20);
	BView* view = canvas.View();
	view->FillEllipse(BRect(0, 0, 19, 19));
	EXPECT_EQ(kBlack, canvas.At(10, 10));
	EXPECT_EQ(kBlack, canvas.At(1, 10));
	// The edge pixels are almost covered.
	EXPECT_TRUE(IsDark(canvas.At(0, 10)));
	EXPECT_TRUE(IsDark(canvas.At(19, 9)));
	EXPECT_EQ(kWhite, canvas.At(0, 0));
	EXPECT_EQ(kWhite, canvas.At(19, 19));
	// Symmetric about both axes
	for (int32 y = 0; y < 20; y++) {
		for (int32 x = 0; x < 20; x++) {
			ASSERT_EQ(canvas.At(x, y), canvas.At(19 - x, y)) << x << "," << y;
			ASSERT_EQ(canvas.At(x, y), canvas.At(x, 19 - y)) << x << "," << y;
		}
	}

	Canvas rounded(20, 20);
	rounded.View()->FillRoundRect(BRect(0, 0, 19, 19), 5, 5);
	EXPECT_EQ(kWhite, rounded.At(0, 0));
	EXPECT_EQ(kBlack, rounded.At(10, 0));
	EXPECT_EQ(kBlack, rounded.At(0, 10));
	EXPECT_EQ(kBlack, rounded.At(19, 10));

	// A ring: the inside of a stroked ellipse stays as it was.
	Canvas ring(21, 21);
	ring.View()->StrokeEllipse(BPoint(10, 10), 8, 8);
	EXPECT_EQ(kWhite, ring.At(10, 10));
	EXPECT_TRUE(IsDark(ring.At(10, 2)));
	EXPECT_TRUE(IsDark(ring.At(18, 10)));
	EXPECT_EQ(kWhite, ring.At(10, 4));
	EXPECT_EQ(kWhite, ring.At(0, 0));

	Canvas triangle(10, 10);
	triangle.View()->FillTriangle(BPoint(0, 0), BPoint(9, 0), BPoint(0, 9));
	EXPECT_EQ(kBlack, triangle.At(2, 2));
	EXPECT_EQ(kWhite, triangle.At(8, 8));
}


TEST(ShapeTest, LinesAndThePen)
{
	Canvas canvas(12, 8);
	BView* view = canvas.View();
	view->StrokeLine(BPoint(2, 1), BPoint(8, 1));
	EXPECT_EQ(BPoint(8, 1), view->PenLocation());
	// From the pen on
	view->StrokeLine(BPoint(8, 5));
	EXPECT_EQ(BPoint(8, 5), view->PenLocation());
	EXPECT_EQ("............\n"
			  "..#######...\n"
			  "........#...\n"
			  "........#...\n"
			  "........#...\n"
			  "........#...\n"
			  "............\n"
			  "............\n",
		Picture(canvas, 12, 8));

	// A line array draws each line in its own colour.
	Canvas lines(6, 3);
	lines.View()->BeginLineArray(2);
	lines.View()->AddLine(BPoint(0, 0), BPoint(5, 0), make_color(255, 0, 0));
	lines.View()->AddLine(BPoint(0, 2), BPoint(5, 2), make_color(0, 0, 255));
	lines.View()->AddLine(BPoint(0, 1), BPoint(5, 1), make_color(0, 255, 0));
	lines.View()->EndLineArray();
	EXPECT_EQ(make_color(255, 0, 0), lines.At(3, 0));
	EXPECT_EQ(make_color(0, 0, 255), lines.At(3, 2));
	// Beyond the array's count
	EXPECT_EQ(kWhite, lines.At(3, 1));

	// Diagonal and thick lines reach both ends.
	Canvas diagonal(10, 10);
	diagonal.View()->StrokeLine(BPoint(1, 1), BPoint(8, 8));
	EXPECT_NE(kWhite, diagonal.At(1, 1));
	EXPECT_NE(kWhite, diagonal.At(5, 5));
	EXPECT_NE(kWhite, diagonal.At(8, 8));
	EXPECT_EQ(kWhite, diagonal.At(8, 1));
}


TEST(ShapeTest, BadInputDrawsNothing)
{
	Canvas canvas(10, 10);
	BView* view = canvas.View();
	view->FillRect(BRect(NAN, 0, 5, 5));
	view->StrokeLine(BPoint(INFINITY, 0), BPoint(5, 5));
	view->FillEllipse(BRect(-1e30f, -1e30f, 1e30f, 1e30f));
	view->StrokeRoundRect(BRect(0, 0, 9, 9), -5, NAN);
	view->FillPolygon(NULL, 5);
	BPoint points[2] = {BPoint(0, 0), BPoint(NAN, 1)};
	view->FillPolygon(points, 2);
	view->StrokePolygon(points, 2);
	view->SetPenSize(-3);
	EXPECT_EQ(0.0f, view->PenSize());
	view->StrokeRect(BRect(2, 2, 7, 7));
	// Only the huge ellipse, which covers the whole canvas, drew anything.
	EXPECT_EQ(kBlack, canvas.At(5, 5));
}
