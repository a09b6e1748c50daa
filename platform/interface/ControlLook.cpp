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


bool
primary_button_pressed(BView* view)
{
	BMessage* message = view->Window() != NULL ? view->Window()->CurrentMessage() : NULL;
	return message == NULL
		|| (message->GetInt32("buttons", B_PRIMARY_MOUSE_BUTTON) & B_PRIMARY_MOUSE_BUTTON) != 0;
}


} // namespace BPrivate
