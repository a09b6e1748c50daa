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
	uint32 flags = 0;
	if (IsEnabled())
		flags |= BPrivate::kButtonEnabled;
	if (Value() != B_CONTROL_OFF)
		flags |= BPrivate::kButtonPressed;
	if (draws_focused(this))
		flags |= BPrivate::kButtonFocused;
	if (fDefault)
		flags |= BPrivate::kButtonDefault;
	if (fHovering)
		flags |= BPrivate::kButtonHovering;
	BPrivate::draw_button(this, Bounds(), Label(), LowColor(), flags);
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
	BControl::ResizeToPreferred();
}


void
BButton::_SetHovering(bool hovering)
{
	if (hovering == fHovering)
		return;
	fHovering = hovering;
	Invalidate();
}
