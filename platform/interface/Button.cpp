/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Button.h>

#include <math.h>

#include <InterfaceDefs.h>
#include <OS.h>
#include <Window.h>

#include "ControlLook.h"


using namespace BPrivate;


namespace {


// The button's surface shows this colour, tinted
const color_which kBase = B_CONTROL_BACKGROUND_COLOR;


// The bevel inside a button's frame: light on the left and top, shadow on the right and
// bottom, and the two corners where they meet in between.
void
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


} // namespace


BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message,
	uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags | B_WILL_DRAW), fDefault(false),
	  fHovering(false)
{
	_ValidateHeight();
}


BButton::BButton(const char* name, const char* label, BMessage* message, uint32 flags)
	: BControl(name, label, message, flags | B_WILL_DRAW), fDefault(false), fHovering(false)
{ }


BButton::BButton(const char* label, BMessage* message)
	: BControl(NULL, label, message, B_WILL_DRAW | B_NAVIGABLE | B_FULL_UPDATE_ON_RESIZE),
	  fDefault(false), fHovering(false)
{ }


BButton::~BButton() { }


// A button is at least as high as its label with the frame around it.
void
BButton::_ValidateHeight()
{
	font_height fh;
	GetFontHeight(&fh);
	float minHeight = 12.0f + ceilf(fh.ascent + fh.descent);
	if (Bounds().Height() < minHeight)
		ResizeTo(Bounds().Width(), minHeight);
}


void
BButton::Draw(BRect updateRect)
{
	(void)updateRect;
	BRect rect = Bounds();
	rgb_color background = LowColor();
	rgb_color base = ui_color(kBase);
	bool enabled = IsEnabled();
	bool pressed = Value() != B_CONTROL_OFF;
	bool focused = draws_focused(this);

	if (fDefault) {
		// Some room, then the heavier rings of the button Enter presses
		SetHighColor(background);
		StrokeRect(rect);
		rect.InsetBy(1, 1);
		rgb_color border = ui_color(B_CONTROL_BORDER_COLOR);
		if (!enabled)
			border = disable_color(border, background);
		draw_ring(this, &rect, border, border, border, border);
		draw_ring(this, &rect, border, border, border, border);
		if (enabled)
			draw_recessed_edge(this, &rect, border, true);
		else
			draw_ring(this, &rect, border, border, border, border);
	} else
		draw_recessed_edge(this, &rect, background, enabled);

	// The frame
	rgb_color light;
	rgb_color shadow;
	if (!enabled) {
		light = tint_color(base, 1.147f);
		shadow = tint_color(base, 1.26f);
	} else if (fDefault) {
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
	draw_ring(this, &rect, light, light, shadow, shadow);

	// The bevel and the surface
	if (pressed && enabled) {
		rgb_color bevel = tint_color(base, 1.17f);
		BeginLineArray(4);
		AddLine(rect.LeftBottom(), rect.LeftTop(), bevel);
		AddLine(BPoint(rect.left + 1, rect.top), rect.RightTop(), bevel);
		AddLine(BPoint(rect.left + 1, rect.bottom), BPoint(rect.left + 1, rect.top + 1), bevel);
		AddLine(BPoint(rect.left + 2, rect.top + 1), BPoint(rect.right, rect.top + 1), bevel);
		EndLineArray();
		rect.left += 2;
		rect.top += 2;
		rgb_color colors[2] = {tint_color(base, 1.135f), tint_color(base, 1.105f)};
		int32 offsets[2] = {0, 255};
		fill_gradient(this, rect, colors, offsets, 2);
	} else if (enabled) {
		draw_bevel(
			this, &rect, tint_color(base, 0.2f), tint_color(base, 1.105f), tint_color(base, 0.7f));
		float hover = fHovering ? 0.85f : 1.0f;
		fill_glossy(this, rect, base, 0.6f * hover, 0.75f * hover, 0.9f * hover, 1.01f * hover);
	} else {
		draw_bevel(this, &rect, tint_color(base, 0.6f), base, tint_color(base, 0.84f));
		fill_glossy(this, rect, base, 0.8f, 0.875f, 0.95f, 1.005f);
	}

	rgb_color text = ui_color(B_CONTROL_TEXT_COLOR);
	if (!enabled)
		text = disable_color(text, base);
	draw_label(this, Label(), rect, text, 0.5f);
}


void
BButton::MouseDown(BPoint where)
{
	(void)where;
	if (!IsEnabled())
		return;
	if (!BPrivate::primary_button_pressed(this))
		return;
	// The window sends the moves and the release to this view while the button is held.
	SetTracking(true);
	SetValue(B_CONTROL_ON);
}


void
BButton::MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage)
{
	bool inside = Bounds().Contains(where);
	if (IsEnabled())
		_SetHovering(code != B_EXITED_VIEW && code != B_OUTSIDE_VIEW && inside);
	if (IsTracking()) {
		if ((Value() == B_CONTROL_ON) != inside)
			SetValue(inside ? B_CONTROL_ON : B_CONTROL_OFF);
		return;
	}
	BControl::MouseMoved(where, code, dragMessage);
}


void
BButton::MouseUp(BPoint where)
{
	if (!IsTracking())
		return;
	SetTracking(false);
	if (Bounds().Contains(where) && IsEnabled())
		Invoke();
	else
		SetValue(B_CONTROL_OFF);
}


void
BButton::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_ENTER || bytes[0] == B_SPACE)) {
		if (!IsEnabled())
			return;
		// Shown pressed for a moment, so that the user sees it
		SetValue(B_CONTROL_ON);
		if (Window() != NULL)
			Window()->UpdateIfNeeded();
		snooze(25000);
		Invoke();
		return;
	}
	BControl::KeyDown(bytes, numBytes);
}


status_t
BButton::Invoke(BMessage* message)
{
	if (Value() != B_CONTROL_OFF && Window() != NULL) {
		Window()->UpdateIfNeeded();
		snooze(50000);
	}
	status_t status = BControl::Invoke(message);
	SetValue(B_CONTROL_OFF);
	return status;
}


void
BButton::AttachedToWindow()
{
	BControl::AttachedToWindow();
	if (fDefault)
		Window()->SetDefaultButton(this);
}


void
BButton::DetachedFromWindow()
{
	SetTracking(false);
	fHovering = false;
	BControl::DetachedFromWindow();
}


void
BButton::MessageReceived(BMessage* message)
{
	BControl::MessageReceived(message);
}


void
BButton::WindowActivated(bool active)
{
	BControl::WindowActivated(active);
}


void
BButton::SetValue(int32 value)
{
	BControl::SetValue(value != B_CONTROL_OFF ? B_CONTROL_ON : B_CONTROL_OFF);
}


void
BButton::SetLabel(const char* string)
{
	BControl::SetLabel(string);
}


// The default button has a heavier frame around it; without layout it grows by 3 pixels on
// every side to make room for it. A window has one at most.
void
BButton::MakeDefault(bool flag)
{
	BWindow* window = Window();
	if (flag != fDefault) {
		fDefault = flag;
		if (flag) {
			MoveBy(-3, -3);
			ResizeBy(6, 6);
		} else {
			MoveBy(3, 3);
			ResizeBy(-6, -6);
		}
		Invalidate();
	}
	if (window == NULL)
		return;
	if (flag && window->DefaultButton() != this)
		window->SetDefaultButton(this);
	else if (!flag && window->DefaultButton() == this)
		window->SetDefaultButton(NULL);
}


bool
BButton::IsDefault() const
{
	return fDefault;
}


void
BButton::GetPreferredSize(float* _width, float* _height)
{
	font_height fh;
	GetFontHeight(&fh);
	float spacing = ceilf(be_plain_font->Size() / 2);
	float insets = fDefault ? 12 : 6;
	float width = fmaxf(insets + spacing - 1, ceilf(3.3f * spacing));
	if (Label() != NULL)
		width += ceilf(StringWidth(Label()));
	width = fmaxf(width, 12.5f * spacing);

	float textHeight = fh.ascent + fh.descent;
	float height = ceilf(1.8f * textHeight);
	float needed = insets + spacing;
	if (height - ceilf(textHeight) < needed)
		height += needed - (height - ceilf(textHeight));
	if (_width != NULL)
		*_width = width;
	if (_height != NULL)
		*_height = height;
}


void
BButton::ResizeToPreferred()
{
	float width;
	float height;
	GetPreferredSize(&width, &height);
	ResizeTo(width, height);
}


void
BButton::_SetHovering(bool hovering)
{
	if (hovering == fHovering)
		return;
	fHovering = hovering;
	Invalidate();
}
