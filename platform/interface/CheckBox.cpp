/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <CheckBox.h>

#include <math.h>

#include <InterfaceDefs.h>
#include <Window.h>

#include "ControlLook.h"


using namespace BPrivate;


BCheckBox::BCheckBox(BRect frame, const char* name, const char* label, BMessage* message,
	uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags | B_WILL_DRAW),
	  fPartialToOff(false), fOutlined(false)
{ }


BCheckBox::BCheckBox(const char* name, const char* label, BMessage* message, uint32 flags)
	: BControl(name, label, message, flags | B_WILL_DRAW), fPartialToOff(false), fOutlined(false)
{ }


BCheckBox::BCheckBox(const char* label, BMessage* message)
	: BControl(NULL, label, message, B_WILL_DRAW | B_NAVIGABLE), fPartialToOff(false),
	  fOutlined(false)
{ }


BCheckBox::~BCheckBox() { }


// The box sits 2 pixels down at the left, as high as the font's ascent needs.
BRect
BCheckBox::_CheckBoxFrame() const
{
	font_height fh;
	GetFontHeight(&fh);
	return BRect(0, 2, ceilf(3 + fh.ascent), ceilf(5 + fh.ascent));
}


int32
BCheckBox::_NextState() const
{
	switch (Value()) {
	case B_CONTROL_OFF:
		return B_CONTROL_ON;
	case B_CONTROL_PARTIALLY_ON:
		return fPartialToOff ? B_CONTROL_OFF : B_CONTROL_ON;
	default:
		return B_CONTROL_OFF;
	}
}


void
BCheckBox::Draw(BRect updateRect)
{
	(void)updateRect;
	rgb_color base = ViewColor();
	if (base == B_TRANSPARENT_COLOR)
		base = LowColor();
	bool enabled = IsEnabled();
	bool focused = draws_focused(this);
	BRect rect = _CheckBoxFrame();
	float fontSize = be_plain_font->Size();
	{
		BFont font;
		GetFont(&font);
		fontSize = font.Size();
	}

	// The recessed edge and the border, darker while the pointer holds the box
	if (fOutlined && enabled) {
		rgb_color dark = tint_color(base, 1.5f);
		rgb_color shadow = tint_color(base, 1.48f);
		draw_ring(this, &rect, dark, dark, shadow, shadow);
		draw_ring(this, &rect, dark, dark, dark, dark);
	} else {
		draw_recessed_edge(this, &rect, base, enabled);
		rgb_color light = tint_color(base, 1.40f);
		rgb_color shadow = tint_color(base, 1.38f);
		if (!enabled)
			light = shadow = tint_color(base, 1.152f);
		else if (focused)
			light = shadow = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
		draw_ring(this, &rect, light, light, shadow, shadow);
	}

	// The white well
	rgb_color colors[2];
	if (enabled) {
		colors[0] = tint_color(base, 0.15f);
		colors[1] = tint_color(base, 0.0f);
	} else {
		colors[0] = tint_color(base, 0.41f);
		colors[1] = tint_color(base, 0.205f);
	}
	int32 offsets[2] = {0, 255};
	fill_gradient(this, rect, colors, offsets, 2);

	// The mark: a cross when on, a dash when partly on
	int32 value = Value();
	if (value != B_CONTROL_OFF || fOutlined) {
		rgb_color mark = ui_color(B_CONTROL_MARK_COLOR);
		float strength = 1.0f;
		if (!enabled)
			strength = 0.4f;
		else if (fOutlined)
			strength = value != B_CONTROL_OFF ? 0.7f : 0.3f;
		mark = blend_colors(base, mark, strength);

		BRect markRect
			= rect.InsetByCopy(fmaxf(2, roundf(fontSize / 6)), fmaxf(2, roundf(fontSize / 6)));
		float penSize = fmaxf(1, ceilf(markRect.Width() / 3.5f));
		if (penSize > 1 && fmodf(penSize, 2) == 0) {
			markRect.right++;
			markRect.bottom++;
		}
		PushState();
		SetHighColor(mark);
		SetDrawingMode(B_OP_OVER);
		SetPenSize(penSize);
		if (value == B_CONTROL_PARTIALLY_ON && !fOutlined) {
			float y = floorf((markRect.top + markRect.bottom) / 2);
			StrokeLine(BPoint(markRect.left, y), BPoint(markRect.right, y));
		} else {
			StrokeLine(markRect.LeftTop(), markRect.RightBottom());
			StrokeLine(markRect.LeftBottom(), markRect.RightTop());
		}
		PopState();
	}

	// The label right of the box, in the middle of the view's height
	BRect box = _CheckBoxFrame();
	BRect labelRect = Bounds();
	labelRect.left = box.right + 1 + ceilf(fontSize / 2);
	rgb_color text = HighColor();
	if (!enabled)
		text = disable_color(text, base);
	draw_label(this, Label(), labelRect, text, 0.0f);
}


void
BCheckBox::MouseDown(BPoint where)
{
	(void)where;
	if (!IsEnabled())
		return;
	if (!BPrivate::primary_button_pressed(this))
		return;
	// The window sends the moves and the release to this view while the button is held.
	SetTracking(true);
	fOutlined = true;
	Invalidate();
}


void
BCheckBox::MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage)
{
	if (!IsTracking()) {
		BControl::MouseMoved(where, code, dragMessage);
		return;
	}
	bool inside = Bounds().Contains(where);
	if (inside != fOutlined) {
		fOutlined = inside;
		Invalidate();
	}
}


void
BCheckBox::MouseUp(BPoint where)
{
	if (!IsTracking())
		return;
	SetTracking(false);
	fOutlined = false;
	if (Bounds().Contains(where) && IsEnabled()) {
		SetValue(_NextState());
		Invoke();
	}
	Invalidate();
}


void
BCheckBox::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_ENTER || bytes[0] == B_SPACE)) {
		if (!IsEnabled())
			return;
		SetValue(_NextState());
		Invoke();
		return;
	}
	// Not BControl's: it would toggle between 0 and 1 only.
	BView::KeyDown(bytes, numBytes);
}


void
BCheckBox::SetValue(int32 value)
{
	if (value != B_CONTROL_OFF && value != B_CONTROL_PARTIALLY_ON)
		value = B_CONTROL_ON;
	BControl::SetValue(value);
}


bool
BCheckBox::IsPartialStateToOff() const
{
	return fPartialToOff;
}


void
BCheckBox::SetPartialStateToOff(bool partialToOff)
{
	fPartialToOff = partialToOff;
}


void
BCheckBox::AttachedToWindow()
{
	BControl::AttachedToWindow();
}


void
BCheckBox::DetachedFromWindow()
{
	SetTracking(false);
	fOutlined = false;
	BControl::DetachedFromWindow();
}


void
BCheckBox::WindowActivated(bool active)
{
	BControl::WindowActivated(active);
}


void
BCheckBox::MessageReceived(BMessage* message)
{
	BControl::MessageReceived(message);
}


void
BCheckBox::GetPreferredSize(float* _width, float* _height)
{
	font_height fh;
	GetFontHeight(&fh);
	BFont font;
	GetFont(&font);
	BRect box = _CheckBoxFrame();
	float width = box.right + ceilf(font.Size() / 2);
	if (Label() != NULL)
		width += ceilf(StringWidth(Label()));
	float height = fmaxf(box.bottom + 2, ceilf(6 + fh.ascent + fh.descent));
	if (_width != NULL)
		*_width = width;
	if (_height != NULL)
		*_height = height;
}


void
BCheckBox::ResizeToPreferred()
{
	BControl::ResizeToPreferred();
}
