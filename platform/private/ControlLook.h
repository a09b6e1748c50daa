/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _CONTROL_LOOK_PRIVATE_H
#define _CONTROL_LOOK_PRIVATE_H


#include <GraphicsDefs.h>
#include <Rect.h>


class BView;


namespace BPrivate {


// The pieces Haiku's default look draws its controls from. Rectangles include both edges;
// a ring is one pixel on each side, after which *rect shrinks by one.

// mix_color(a, b, n) = a + (b - a) * n / 255, per channel
rgb_color mix_colors(rgb_color a, rgb_color b, int32 amount);
// A colour as a disabled control shows it on the background
rgb_color disable_color(rgb_color color, rgb_color background);
// from + (to - from) * fraction per channel, truncated
rgb_color blend_colors(rgb_color from, rgb_color to, float fraction);

// Whether the view shows that it has the keyboard focus: it has it and its window is active.
bool draws_focused(const BView* view);

// Left column full height, top row, right column, bottom row.
void draw_ring(
	BView* view, BRect* rect, rgb_color left, rgb_color top, rgb_color right, rgb_color bottom);
// The recessed outer edge of a frame on the background (invisible when disabled).
void draw_recessed_edge(BView* view, BRect* rect, rgb_color background, bool enabled);
// A vertical gradient through up to four stops at offsets 0..255.
void fill_gradient(
	BView* view, BRect rect, const rgb_color* colors, const int32* offsets, int32 count);
// The glossy fill of buttons and menu fields over base with tints for the four stops.
void fill_glossy(
	BView* view, BRect rect, rgb_color base, float tint1, float tint2, float tint3, float tint4);

// Draws a label in rect with the view's font: horizontal alignment 0 left, 0.5 centre, 1 right,
// vertically centred, truncated at the end to fit. Returns the baseline point.
BPoint draw_label(BView* view, const char* label, BRect rect, rgb_color color, float horizontal);


// The highlighted item of an open menu (and of a menu field while its menu is open): a ring
// and a gradient from a shade darker to a shade lighter than the selection colour.
void draw_selected_menu_item(BView* view, BRect rect);

// What a button shows
enum {
	kButtonEnabled = 0x01,
	kButtonPressed = 0x02,
	kButtonFocused = 0x04,
	kButtonDefault = 0x08,
	kButtonHovering = 0x10
};

// A push button in rect with its label: recessed edge (the heavier rings of a default
// button), frame, bevel and glossy surface, or the pressed look.
void draw_button(BView* view, BRect rect, const char* label, rgb_color background, uint32 flags);

// Whether the press the view's window handles now is one of the primary button (controls
// answer no other).
bool primary_button_pressed(BView* view);


} // namespace BPrivate


#endif // _CONTROL_LOOK_PRIVATE_H
