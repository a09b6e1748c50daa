/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ControlLook.h"

#include <math.h>

#include <InterfaceDefs.h>
#include <Message.h>
#include <String.h>
#include <View.h>
#include <Window.h>


namespace BPrivate {


rgb_color
mix_colors(rgb_color a, rgb_color b, int32 amount)
{
	rgb_color result;
	result.red = (uint8)(a.red + ((int32)b.red - a.red) * amount / 255);
	result.green = (uint8)(a.green + ((int32)b.green - a.green) * amount / 255);
	result.blue = (uint8)(a.blue + ((int32)b.blue - a.blue) * amount / 255);
	result.alpha = (uint8)(a.alpha + ((int32)b.alpha - a.alpha) * amount / 255);
	return result;
}


rgb_color
disable_color(rgb_color color, rgb_color background)
{
	return mix_colors(color, background, 185);
}


rgb_color
blend_colors(rgb_color from, rgb_color to, float fraction)
{
	rgb_color result;
	result.red = (uint8)(from.red + (to.red - from.red) * fraction);
	result.green = (uint8)(from.green + (to.green - from.green) * fraction);
	result.blue = (uint8)(from.blue + (to.blue - from.blue) * fraction);
	result.alpha = (uint8)(from.alpha + (to.alpha - from.alpha) * fraction);
	return result;
}


bool
draws_focused(const BView* view)
{
	return view->IsFocus() && view->Window() != NULL && view->Window()->IsActive();
}


void
draw_ring(
	BView* view, BRect* rect, rgb_color left, rgb_color top, rgb_color right, rgb_color bottom)
{
	BRect r = *rect;
	view->BeginLineArray(4);
	view->AddLine(BPoint(r.left, r.bottom), BPoint(r.left, r.top), left);
	view->AddLine(BPoint(r.left + 1, r.top), BPoint(r.right, r.top), top);
	view->AddLine(BPoint(r.right, r.top + 1), BPoint(r.right, r.bottom), right);
	view->AddLine(BPoint(r.left + 1, r.bottom), BPoint(r.right - 1, r.bottom), bottom);
	view->EndLineArray();
	rect->InsetBy(1, 1);
}


void
draw_recessed_edge(BView* view, BRect* rect, rgb_color background, bool enabled)
{
	rgb_color dark = enabled ? tint_color(background, 1.0735f) : background;
	rgb_color light = enabled ? tint_color(background, 0.59f) : background;
	draw_ring(view, rect, dark, dark, light, light);
}


void
fill_gradient(BView* view, BRect rect, const rgb_color* colors, const int32* offsets, int32 count)
{
	if (!rect.IsValid() || count < 1)
		return;
	rgb_color saved = view->HighColor();
	float height = rect.Height();
	for (float y = rect.top; y <= rect.bottom; y++) {
		int32 position = height > 0 ? (int32)roundf((y - rect.top) * 255 / height) : 0;
		int32 i = 0;
		while (i < count - 1 && position > offsets[i + 1])
			i++;
		rgb_color color = colors[i];
		if (i < count - 1 && offsets[i + 1] > offsets[i]) {
			int32 amount = (position - offsets[i]) * 255 / (offsets[i + 1] - offsets[i]);
			color = mix_colors(colors[i], colors[i + 1], amount < 0 ? 0 : amount);
		}
		view->SetHighColor(color);
		view->FillRect(BRect(rect.left, y, rect.right, y));
	}
	view->SetHighColor(saved);
}


void
fill_glossy(
	BView* view, BRect rect, rgb_color base, float tint1, float tint2, float tint3, float tint4)
{
	rgb_color colors[4] = {tint_color(base, tint1), tint_color(base, tint2),
		tint_color(base, tint3), tint_color(base, tint4)};
	int32 offsets[4] = {0, 132, 136, 255};
	fill_gradient(view, rect, colors, offsets, 4);
}


BPoint
draw_label(BView* view, const char* label, BRect rect, rgb_color color, float horizontal)
{
	if (label == NULL || label[0] == '\0')
		return rect.LeftTop();
	BString text(label);
	view->TruncateString(&text, B_TRUNCATE_END, rect.Width() + 1);
	font_height fh;
	view->GetFontHeight(&fh);
	float width = ceilf(view->StringWidth(text.String()));
	float height = ceilf(fh.ascent) + ceilf(fh.descent);
	float x = rect.left + (int32)((rect.Width() - (width - 1)) * horizontal);
	float y = rect.top + (int32)((rect.Height() - (height - 1)) * 0.5f);
	BPoint baseline(x, y + ceilf(fh.ascent));
	rgb_color saved = view->HighColor();
	drawing_mode mode = view->DrawingMode();
	view->SetHighColor(color);
	view->SetDrawingMode(B_OP_OVER);
	view->DrawString(text.String(), baseline);
	view->SetDrawingMode(mode);
	view->SetHighColor(saved);
	return baseline;
}


// The bevel inside a button's frame: light on the left and top, shadow on the right and
// bottom, and the two corners where they meet in between.
static void
draw_bevel(BView* view, BRect* rect, rgb_color light, rgb_color shadow, rgb_color corner)
{
	BRect r = *rect;
	view->BeginLineArray(6);
	view->AddLine(BPoint(r.left, r.top), BPoint(r.right - 1, r.top), light);
	view->AddLine(BPoint(r.right, r.top), BPoint(r.right, r.top), corner);
	view->AddLine(BPoint(r.left, r.top + 1), BPoint(r.left, r.bottom - 1), light);
	view->AddLine(BPoint(r.left, r.bottom), BPoint(r.left, r.bottom), corner);
	view->AddLine(BPoint(r.left + 1, r.bottom), BPoint(r.right, r.bottom), shadow);
	view->AddLine(BPoint(r.right, r.top + 1), BPoint(r.right, r.bottom - 1), shadow);
	view->EndLineArray();
	rect->InsetBy(1, 1);
}


void
draw_button(BView* view, BRect rect, const char* label, rgb_color background, uint32 flags)
{
	rgb_color base = ui_color(B_CONTROL_BACKGROUND_COLOR);
	bool enabled = (flags & kButtonEnabled) != 0;
	bool pressed = (flags & kButtonPressed) != 0;
	bool focused = (flags & kButtonFocused) != 0;
	bool isDefault = (flags & kButtonDefault) != 0;
	bool hovering = (flags & kButtonHovering) != 0;

	if (isDefault) {
		// Some room, then the heavier rings of the button Enter presses
		view->SetHighColor(background);
		view->StrokeRect(rect);
		rect.InsetBy(1, 1);
		rgb_color border = ui_color(B_CONTROL_BORDER_COLOR);
		if (!enabled)
			border = disable_color(border, background);
		draw_ring(view, &rect, border, border, border, border);
		draw_ring(view, &rect, border, border, border, border);
		// The recessed edge on the border, deeper than the plain one
		rgb_color dark = enabled ? tint_color(border, 1.16f) : border;
		rgb_color light = enabled ? tint_color(border, 0.92f) : border;
		draw_ring(view, &rect, dark, dark, light, light);
	} else
		draw_recessed_edge(view, &rect, background, enabled);

	// The frame
	rgb_color light;
	rgb_color shadow;
	if (!enabled) {
		light = tint_color(base, 1.147f);
		shadow = tint_color(base, 1.26f);
	} else if (isDefault) {
		light = tint_color(tint_color(base, 1.35f), 1.35f);
		shadow = tint_color(tint_color(base, 1.33f), 1.5f);
	} else {
		light = tint_color(base, 1.35f);
		shadow = tint_color(base, 1.485f);
	}
	if (pressed && enabled) {
		rgb_color swap = light;
		light = shadow;
		shadow = swap;
	}
	if (focused && enabled)
		light = shadow = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
	draw_ring(view, &rect, light, light, shadow, shadow);

	// The bevel and the surface
	if (pressed && enabled) {
		rgb_color bevel = tint_color(base, 1.17f);
		view->BeginLineArray(4);
		view->AddLine(rect.LeftBottom(), rect.LeftTop(), bevel);
		view->AddLine(BPoint(rect.left + 1, rect.top), rect.RightTop(), bevel);
		view->AddLine(
			BPoint(rect.left + 1, rect.bottom), BPoint(rect.left + 1, rect.top + 1), bevel);
		view->AddLine(BPoint(rect.left + 2, rect.top + 1), BPoint(rect.right, rect.top + 1), bevel);
		view->EndLineArray();
		rect.left += 2;
		rect.top += 2;
		rgb_color colors[2] = {tint_color(base, 1.135f), tint_color(base, 1.105f)};
		int32 offsets[2] = {0, 255};
		fill_gradient(view, rect, colors, offsets, 2);
	} else if (enabled) {
		draw_bevel(
			view, &rect, tint_color(base, 0.2f), tint_color(base, 1.105f), tint_color(base, 0.7f));
		float hover = hovering ? 0.85f : 1.0f;
		fill_glossy(view, rect, base, 0.6f * hover, 0.75f * hover, 0.9f * hover, 1.01f * hover);
	} else {
		draw_bevel(view, &rect, tint_color(base, 0.6f), base, tint_color(base, 0.84f));
		fill_glossy(view, rect, base, 0.8f, 0.875f, 0.95f, 1.005f);
	}

	rgb_color text = ui_color(B_CONTROL_TEXT_COLOR);
	if (!enabled)
		text = disable_color(text, base);
	draw_label(view, label, rect, text, 0.5f);
}


void
draw_selected_menu_item(BView* view, BRect rect)
{
	rgb_color base = ui_color(B_MENU_SELECTED_BACKGROUND_COLOR);
	rgb_color light = tint_color(base, 0.9f);
	rgb_color shadow = tint_color(base, 1.052f);
	draw_ring(view, &rect, light, light, shadow, shadow);
	rgb_color colors[2] = {shadow, light};
	int32 offsets[2] = {0, 255};
	fill_gradient(view, rect, colors, offsets, 2);
}


bool
primary_button_pressed(BView* view)
{
	BMessage* message = view->Window() != NULL ? view->Window()->CurrentMessage() : NULL;
	return message == NULL
		|| (message->GetInt32("buttons", B_PRIMARY_MOUSE_BUTTON) & B_PRIMARY_MOUSE_BUTTON) != 0;
}


} // namespace BPrivate
