/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Slider.h>

#include <math.h>

#include <InterfaceDefs.h>
#include <Window.h>

#include "ControlLook.h"


using namespace BPrivate;


namespace {


// The thumb's surface colour, tinted
const color_which kThumbBase = B_CONTROL_BACKGROUND_COLOR;


// The colours of the bar's rows from top to bottom: the recessed edge, the frame and the
// fill between them.
struct BarColors {
	rgb_color edgeTop;
	rgb_color frameTop;
	rgb_color fillTop;
	rgb_color fillBottom;
	rgb_color frameBottom;
	rgb_color edgeBottom;
};


BarColors
bar_colors(rgb_color color, rgb_color base, bool enabled)
{
	BarColors colors;
	if (enabled) {
		colors.edgeTop = tint_color(base, 1.07f);
		colors.frameTop = tint_color(color, 1.5f);
		colors.fillTop = tint_color(color, 1.1f);
		colors.fillBottom = tint_color(color, 0.8f);
		colors.frameBottom = tint_color(color, 1.4f);
		colors.edgeBottom = tint_color(base, 0.65f);
	} else {
		color = blend_colors(color, base, 0.6f);
		colors.edgeTop = base;
		colors.frameTop = tint_color(color, 1.25f);
		colors.fillTop = tint_color(color, 1.05f);
		colors.fillBottom = tint_color(color, 0.9f);
		colors.frameBottom = tint_color(color, 1.20f);
		colors.edgeBottom = base;
	}
	return colors;
}


// The colour of row y of a layer from top to bottom going from one colour to the other
rgb_color
row_color(rgb_color top, rgb_color bottom, float y, float layerTop, float layerBottom)
{
	if (layerBottom <= layerTop)
		return top;
	float fraction = (y - layerTop) / (layerBottom - layerTop);
	return blend_colors(top, bottom, fmaxf(0, fminf(1, fraction)));
}


} // namespace


float
BSlider::_MinPosition() const
{
	return BarFrame().left + 1;
}


float
BSlider::_MaxPosition() const
{
	return BarFrame().right - 1;
}


// Where the middle of the thumb is
float
BSlider::_ThumbX() const
{
	float min = _MinPosition();
	float max = _MaxPosition();
	return floorf(min + Position() * (max - min) + 0.001f);
}


BRect
BSlider::BarFrame() const
{
	BRect bounds = Bounds();
	float inset = fStyle == B_BLOCK_THUMB ? 8 : 7;
	BRect frame;
	frame.left = bounds.left + inset;
	frame.right = bounds.right - inset;
	frame.top = bounds.top + 6;
	if (Label() != NULL || fUpdateText != NULL)
		frame.top += _TextHeight() + 4;
	frame.bottom = frame.top + fBarThickness;
	return frame;
}


BRect
BSlider::HashMarksFrame() const
{
	BRect frame = BarFrame();
	frame.top -= 6;
	frame.bottom += 6;
	return frame;
}


BRect
BSlider::ThumbFrame() const
{
	BRect bar = BarFrame();
	float x = _ThumbX();
	if (fStyle == B_BLOCK_THUMB)
		return BRect(x - 8, bar.top - 4, x + 9, bar.top + fBarThickness + 3);
	return BRect(x - 6, bar.top + 3, x + 6, bar.top + 10);
}


void
BSlider::Draw(BRect updateRect)
{
	(void)updateRect;
	DrawSlider();
}


void
BSlider::DrawSlider()
{
	DrawBar();
	DrawHashMarks();
	DrawThumb();
	DrawFocusMark();
	DrawText();
}


// One colour's part of the middle of the bar, row by row
void
BSlider::_DrawBarPart(BRect rect, rgb_color color)
{
	if (!rect.IsValid())
		return;
	BarColors colors = bar_colors(color, LowColor(), IsEnabled());
	BRect bar = BarFrame();
	BeginLineArray((int32)(bar.Height() + 1));
	for (float y = bar.top; y <= bar.bottom; y++) {
		rgb_color row;
		if (y == bar.top)
			row = colors.edgeTop;
		else if (y == bar.top + 1)
			row = colors.frameTop;
		else if (y == bar.bottom - 1)
			row = colors.frameBottom;
		else if (y == bar.bottom)
			row = colors.edgeBottom;
		else
			row = row_color(colors.fillTop, colors.fillBottom, y, bar.top + 2, bar.bottom - 2);
		AddLine(BPoint(rect.left, y), BPoint(rect.right, y), row);
	}
	EndLineArray();
}


// A round end of the bar in a square as high as the bar: three half ellipses inside each
// other (the edge, the frame and the fill), each shaded from top to bottom, smoothed at
// their rims.
void
BSlider::_DrawBarEnd(BRect square, rgb_color color, bool left)
{
	rgb_color base = LowColor();
	BarColors colors = bar_colors(color, base, IsEnabled());
	rgb_color tops[3] = {colors.edgeTop, colors.frameTop, colors.fillTop};
	rgb_color bottoms[3] = {colors.edgeBottom, colors.frameBottom, colors.fillBottom};

	// Pixel edge coordinates: the square covers [left, left + side) across and down.
	float side = square.Width() + 1;
	float height = square.Height() + 1;
	float centerX = left ? square.left + side : square.left;
	float centerY = square.top + height / 2;
	const int32 kSamples = 4;
	for (float y = square.top; y <= square.bottom; y++) {
		for (float x = square.left; x <= square.right; x++) {
			rgb_color pixel = base;
			for (int32 layer = 0; layer < 3; layer++) {
				float radiusX = side - layer;
				float radiusY = height / 2 - layer;
				if (radiusX <= 0 || radiusY <= 0)
					break;
				int32 inside = 0;
				for (int32 sy = 0; sy < kSamples; sy++) {
					for (int32 sx = 0; sx < kSamples; sx++) {
						float dx = (x + (sx + 0.5f) / kSamples - centerX) / radiusX;
						float dy = (y + (sy + 0.5f) / kSamples - centerY) / radiusY;
						if (dx * dx + dy * dy <= 1)
							inside++;
					}
				}
				if (inside == 0)
					continue;
				rgb_color layerColor = row_color(
					tops[layer], bottoms[layer], y, square.top + layer, square.bottom - layer);
				pixel = blend_colors(pixel, layerColor, (float)inside / (kSamples * kSamples));
			}
			SetHighColor(pixel);
			FillRect(BRect(x, y, x, y));
		}
	}
}


void
BSlider::DrawBar()
{
	BRect bar = BarFrame();
	if (!bar.IsValid())
		return;
	PushState();
	SetDrawingMode(B_OP_COPY);
	rgb_color right = fBarColor;
	rgb_color left = fUseFillColor ? fFillColor : fBarColor;
	float split = floorf(bar.left + 2 + (bar.Width() - 2) * Position());

	float side = bar.Height();
	BRect leftEnd(bar.left, bar.top, bar.left + side, bar.bottom);
	BRect rightEnd(bar.right - side, bar.top, bar.right, bar.bottom);
	if (leftEnd.right >= rightEnd.left) {
		// Too short for round ends
		_DrawBarPart(BRect(bar.left, bar.top, split, bar.bottom), left);
		_DrawBarPart(BRect(split + 1, bar.top, bar.right, bar.bottom), right);
	} else {
		_DrawBarEnd(leftEnd, left, true);
		_DrawBarEnd(rightEnd, right, false);
		float from = leftEnd.right + 1;
		float to = rightEnd.left - 1;
		float middle = fminf(fmaxf(split, from - 1), to);
		_DrawBarPart(BRect(from, bar.top, middle, bar.bottom), left);
		_DrawBarPart(BRect(middle + 1, bar.top, to, bar.bottom), right);
	}
	PopState();
}


void
BSlider::DrawHashMarks()
{
	if (fHashMarks == B_HASH_MARKS_NONE)
		return;
	BRect frame = HashMarksFrame();
	BRect bar = BarFrame();
	rgb_color base = LowColor();
	rgb_color dark = tint_color(base, IsEnabled() ? 1.14f : 1.074f);
	rgb_color light = tint_color(base, IsEnabled() ? 0.8f : 0.92f);
	int32 count = fHashMarkCount > 2 ? fHashMarkCount : 2;
	float step = (frame.Width() - 2) / (count - 1);

	BeginLineArray(count * 4);
	for (int32 i = 0; i < count; i++) {
		float x = floorf(frame.left + 1 + i * step + 0.001f);
		if ((fHashMarks & B_HASH_MARKS_TOP) != 0) {
			AddLine(BPoint(x, bar.top - 6), BPoint(x, bar.top - 2), dark);
			AddLine(BPoint(x + 1, bar.top - 6), BPoint(x + 1, bar.top - 2), light);
		}
		if ((fHashMarks & B_HASH_MARKS_BOTTOM) != 0) {
			AddLine(BPoint(x, bar.bottom + 2), BPoint(x, bar.bottom + 6), dark);
			AddLine(BPoint(x + 1, bar.bottom + 2), BPoint(x + 1, bar.bottom + 6), light);
		}
	}
	EndLineArray();
}


void
BSlider::DrawThumb()
{
	if (fStyle == B_BLOCK_THUMB)
		_DrawBlockThumb();
	else
		_DrawTriangleThumb();
}


void
BSlider::_DrawBlockThumb()
{
	BRect frame = ThumbFrame();
	rgb_color base = ui_color(kThumbBase);
	bool enabled = IsEnabled();
	PushState();

	// The shadow in the last column and row
	SetDrawingMode(B_OP_ALPHA);
	SetBlendingMode(B_PIXEL_ALPHA, B_ALPHA_OVERLAY);
	SetHighColor(0, 0, 0, enabled ? 60 : 30);
	FillRect(BRect(frame.left + 1, frame.bottom, frame.right, frame.bottom));
	FillRect(BRect(frame.right, frame.top + 1, frame.right, frame.bottom - 1));
	SetDrawingMode(B_OP_COPY);

	BRect rect(frame.left, frame.top, frame.right - 1, frame.bottom - 1);
	rgb_color light = tint_color(base, enabled ? 1.6f : 1.3f);
	rgb_color shadow = tint_color(base, enabled ? 1.65f : 1.35f);
	if (enabled && draws_focused(this))
		light = shadow = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
	draw_ring(this, &rect, light, light, shadow, shadow);

	// The bevel and the surface of a button
	rgb_color bevelLight = tint_color(base, enabled ? 0.2f : 0.6f);
	rgb_color bevelShadow = tint_color(base, enabled ? 1.105f : 1.0f);
	rgb_color corner = tint_color(base, enabled ? 0.7f : 0.84f);
	BeginLineArray(6);
	AddLine(rect.LeftTop(), BPoint(rect.right - 1, rect.top), bevelLight);
	AddLine(rect.RightTop(), rect.RightTop(), corner);
	AddLine(BPoint(rect.left, rect.top + 1), BPoint(rect.left, rect.bottom - 1), bevelLight);
	AddLine(rect.LeftBottom(), rect.LeftBottom(), corner);
	AddLine(BPoint(rect.left + 1, rect.bottom), rect.RightBottom(), bevelShadow);
	AddLine(BPoint(rect.right, rect.top + 1), BPoint(rect.right, rect.bottom - 1), bevelShadow);
	EndLineArray();
	rect.InsetBy(1, 1);
	if (enabled)
		fill_glossy(this, rect, base, 0.6f, 0.75f, 0.9f, 1.01f);
	else
		fill_glossy(this, rect, base, 0.8f, 0.875f, 0.95f, 1.005f);

	// The grip: a groove down the middle half
	float center = floorf((rect.left + rect.right) / 2);
	float quarter = floorf((rect.Height() + 1) / 4);
	SetDrawingMode(B_OP_ALPHA);
	SetBlendingMode(B_PIXEL_ALPHA, B_ALPHA_OVERLAY);
	rgb_color groove = tint_color(base, B_DARKEN_2_TINT);
	rgb_color shine = tint_color(base, B_LIGHTEN_2_TINT);
	groove.alpha = shine.alpha = enabled ? 128 : 64;
	SetHighColor(groove);
	FillRect(BRect(center, rect.top + quarter, center, rect.bottom - quarter));
	SetHighColor(shine);
	FillRect(BRect(center + 1, rect.top + quarter, center + 1, rect.bottom - quarter));
	PopState();
}


void
BSlider::_DrawTriangleThumb()
{
	BRect frame = ThumbFrame();
	rgb_color base = ui_color(kThumbBase);
	bool enabled = IsEnabled();
	float center = floorf((frame.left + frame.right) / 2);
	PushState();

	SetDrawingMode(B_OP_ALPHA);
	SetBlendingMode(B_PIXEL_ALPHA, B_ALPHA_OVERLAY);
	SetHighColor(0, 0, 0, enabled ? 60 : 30);
	StrokeTriangle(BPoint(frame.left + 1, frame.bottom + 1),
		BPoint(frame.right + 1, frame.bottom + 1), BPoint(center + 1, frame.top + 1));
	SetDrawingMode(B_OP_COPY);

	// The surface, lighter at the top
	rgb_color top = tint_color(base, enabled ? 0.49f : 0.745f);
	rgb_color bottom = tint_color(base, enabled ? 0.90f : 0.95f);
	SetHighColor(blend_colors(top, bottom, 0.5f));
	FillTriangle(BPoint(frame.left, frame.bottom), BPoint(frame.right, frame.bottom),
		BPoint(center, frame.top));

	rgb_color outline = tint_color(base, enabled ? 1.6f : 1.3f);
	if (enabled && draws_focused(this))
		outline = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
	SetHighColor(outline);
	StrokeTriangle(BPoint(frame.left, frame.bottom), BPoint(frame.right, frame.bottom),
		BPoint(center, frame.top));
	PopState();
}


// The thumb shows the focus even while the window is not active.
void
BSlider::DrawFocusMark()
{
	if (!IsFocus())
		return;
	BRect frame = ThumbFrame();
	PushState();
	SetDrawingMode(B_OP_COPY);
	SetHighColor(ui_color(B_KEYBOARD_NAVIGATION_COLOR));
	if (fStyle == B_BLOCK_THUMB) {
		StrokeRect(BRect(frame.left + 2, frame.top + 2, frame.right - 3, frame.bottom - 3));
	} else {
		FillRect(BRect(frame.left, frame.bottom + 2, frame.right, frame.bottom + 2));
	}
	PopState();
}


void
BSlider::DrawText()
{
	BRect bounds = Bounds();
	font_height fh;
	GetFontHeight(&fh);
	rgb_color color = HighColor();
	if (!IsEnabled())
		color = disable_color(color, LowColor());
	PushState();
	SetHighColor(color);
	SetDrawingMode(B_OP_OVER);
	float top = ceilf(fh.ascent);
	if (Label() != NULL)
		DrawString(Label(), BPoint(bounds.left, top));
	if (fUpdateText != NULL)
		DrawString(fUpdateText, BPoint(bounds.right - StringWidth(fUpdateText), top));
	float bottom = bounds.bottom - fh.descent;
	if (fMinLimitLabel != NULL)
		DrawString(fMinLimitLabel, BPoint(bounds.left, bottom));
	if (fMaxLimitLabel != NULL)
		DrawString(fMaxLimitLabel, BPoint(bounds.right - StringWidth(fMaxLimitLabel), bottom));
	PopState();
}
