/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Slider.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <InterfaceDefs.h>
#include <Window.h>

#include "ControlLook.h"


namespace {


char*
copy_text(const char* text)
{
	return text != NULL ? strdup(text) : NULL;
}


} // namespace


BSlider::BSlider(BRect frame, const char* name, const char* label, BMessage* message,
	int32 minValue, int32 maxValue, thumb_style thumbType, uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags | B_WILL_DRAW),
	  fModificationMessage(NULL), fSnoozeAmount(20000), fUseFillColor(false), fMinLimitLabel(NULL),
	  fMaxLimitLabel(NULL), fUpdateText(NULL), fMinValue(minValue), fMaxValue(maxValue),
	  fKeyIncrementValue(1), fHashMarkCount(0), fHashMarks(B_HASH_MARKS_NONE), fStyle(thumbType),
	  fBarThickness(6), fInitialValue(0), fKeyMoving(false)
{
	fBarColor = tint_color(ui_color(B_PANEL_BACKGROUND_COLOR), B_DARKEN_1_TINT);
	fFillColor = fBarColor;
	int32 value = 0;
	if (value < fMinValue)
		value = fMinValue;
	if (value > fMaxValue)
		value = fMaxValue;
	SetValueNoUpdate(value);
	fInitialValue = value;
}


BSlider::~BSlider()
{
	delete fModificationMessage;
	free(fMinLimitLabel);
	free(fMaxLimitLabel);
	free(fUpdateText);
}


void
BSlider::WindowActivated(bool state)
{
	BControl::WindowActivated(state);
}


void
BSlider::AttachedToWindow()
{
	ResizeToPreferred();
	BControl::AttachedToWindow();
	UpdateTextChanged();
}


void
BSlider::DetachedFromWindow()
{
	SetTracking(false);
	fKeyMoving = false;
	BControl::DetachedFromWindow();
}


void
BSlider::MessageReceived(BMessage* message)
{
	BControl::MessageReceived(message);
}


void
BSlider::FrameResized(float width, float height)
{
	BControl::FrameResized(width, height);
	Invalidate();
}


//	#pragma mark - input


void
BSlider::KeyDown(const char* bytes, int32 numBytes)
{
	if (!IsEnabled() || IsHidden() || numBytes < 1)
		return;
	int32 value = Value();
	switch (bytes[0]) {
	case B_LEFT_ARROW:
	case B_DOWN_ARROW:
		value -= KeyIncrementValue();
		break;
	case B_RIGHT_ARROW:
	case B_UP_ARROW:
		value += KeyIncrementValue();
		break;
	case B_HOME:
		value = fMinValue;
		break;
	case B_END:
		value = fMaxValue;
		break;
	default:
		BControl::KeyDown(bytes, numBytes);
		return;
	}
	if (value < fMinValue)
		value = fMinValue;
	if (value > fMaxValue)
		value = fMaxValue;
	if (value == Value())
		return;
	if (!fKeyMoving) {
		fInitialValue = Value();
		fKeyMoving = true;
	}
	SetValue(value);
	_Modified();
}


void
BSlider::KeyUp(const char* bytes, int32 numBytes)
{
	if (fKeyMoving) {
		fKeyMoving = false;
		if (Value() != fInitialValue)
			Invoke();
	}
	BControl::KeyUp(bytes, numBytes);
}


void
BSlider::MouseDown(BPoint point)
{
	if (!IsEnabled())
		return;
	if (!BPrivate::primary_button_pressed(this))
		return;
	// The window sends the moves and the release to this view while the button is held, so
	// the slider follows them as they come instead of polling the pointer.
	fInitialValue = Value();
	SetTracking(true);
	int32 value = ValueForPoint(point);
	if (value != Value()) {
		SetValue(value);
		_Modified();
	}
}


void
BSlider::MouseMoved(BPoint point, uint32 transit, const BMessage* dragMessage)
{
	if (!IsTracking()) {
		BControl::MouseMoved(point, transit, dragMessage);
		return;
	}
	int32 value = ValueForPoint(point);
	if (value != Value()) {
		SetValue(value);
		_Modified();
	}
}


void
BSlider::MouseUp(BPoint point)
{
	if (!IsTracking()) {
		BControl::MouseUp(point);
		return;
	}
	int32 value = ValueForPoint(point);
	if (value != Value()) {
		SetValue(value);
		_Modified();
	}
	SetTracking(false);
	if (Value() != fInitialValue)
		Invoke();
}


void
BSlider::_Modified()
{
	if (fModificationMessage != NULL)
		InvokeNotify(fModificationMessage, B_CONTROL_MODIFIED);
}


status_t
BSlider::Invoke(BMessage* message)
{
	return BControl::Invoke(message);
}


//	#pragma mark - value


void
BSlider::SetValue(int32 value)
{
	if (value < fMinValue)
		value = fMinValue;
	if (value > fMaxValue)
		value = fMaxValue;
	if (value == Value())
		return;
	BControl::SetValue(value);
	UpdateTextChanged();
}


int32
BSlider::ValueForPoint(BPoint point) const
{
	float min = _MinPosition();
	float max = _MaxPosition();
	float x = point.x;
	if (x < min)
		x = min;
	if (x > max)
		x = max;
	if (max <= min)
		return fMinValue;
	return (int32)roundf((x - min) * (fMaxValue - fMinValue) / (max - min) + fMinValue);
}


void
BSlider::SetPosition(float position)
{
	if (position < 0)
		position = 0;
	if (position > 1)
		position = 1;
	SetValue(fMinValue + (int32)roundf(position * (fMaxValue - fMinValue)));
}


float
BSlider::Position() const
{
	if (fMaxValue <= fMinValue)
		return 0;
	return (float)(Value() - fMinValue) / (fMaxValue - fMinValue);
}


void
BSlider::SetEnabled(bool on)
{
	BControl::SetEnabled(on);
}


void
BSlider::GetLimits(int32* minimum, int32* maximum) const
{
	if (minimum != NULL)
		*minimum = fMinValue;
	if (maximum != NULL)
		*maximum = fMaxValue;
}


void
BSlider::SetLimits(int32 minimum, int32 maximum)
{
	if (minimum > maximum)
		return;
	fMinValue = minimum;
	fMaxValue = maximum;
	int32 value = Value();
	if (value < minimum)
		value = minimum;
	if (value > maximum)
		value = maximum;
	if (value != Value()) {
		BControl::SetValue(value);
		UpdateTextChanged();
	}
	Invalidate();
}


//	#pragma mark - texts


void
BSlider::SetLabel(const char* label)
{
	BControl::SetLabel(label);
}


void
BSlider::SetLimitLabels(const char* minLabel, const char* maxLabel)
{
	free(fMinLimitLabel);
	fMinLimitLabel = copy_text(minLabel);
	free(fMaxLimitLabel);
	fMaxLimitLabel = copy_text(maxLabel);
	ResizeToPreferred();
	Invalidate();
}


const char*
BSlider::MinLimitLabel() const
{
	return fMinLimitLabel;
}


const char*
BSlider::MaxLimitLabel() const
{
	return fMaxLimitLabel;
}


const char*
BSlider::UpdateText() const
{
	return NULL;
}


void
BSlider::UpdateTextChanged()
{
	const char* text = UpdateText();
	if (text == NULL && fUpdateText == NULL)
		return;
	if (text != NULL && fUpdateText != NULL && strcmp(text, fUpdateText) == 0)
		return;
	free(fUpdateText);
	fUpdateText = copy_text(text);
	Invalidate();
}


void
BSlider::SetFont(const BFont* font, uint32 properties)
{
	BControl::SetFont(font, properties);
	Invalidate();
}


//	#pragma mark - settings


void
BSlider::SetModificationMessage(BMessage* message)
{
	if (message == fModificationMessage)
		return;
	delete fModificationMessage;
	fModificationMessage = message;
}


BMessage*
BSlider::ModificationMessage() const
{
	return fModificationMessage;
}


void
BSlider::SetSnoozeAmount(int32 microSeconds)
{
	if (microSeconds < 5000)
		microSeconds = 5000;
	if (microSeconds > 1000000)
		microSeconds = 1000000;
	fSnoozeAmount = microSeconds;
}


int32
BSlider::SnoozeAmount() const
{
	return fSnoozeAmount;
}


void
BSlider::SetKeyIncrementValue(int32 value)
{
	fKeyIncrementValue = value;
}


int32
BSlider::KeyIncrementValue() const
{
	return fKeyIncrementValue;
}


void
BSlider::SetHashMarkCount(int32 count)
{
	fHashMarkCount = count;
	Invalidate();
}


int32
BSlider::HashMarkCount() const
{
	return fHashMarkCount;
}


void
BSlider::SetHashMarks(hash_mark_location where)
{
	fHashMarks = where;
	Invalidate();
}


hash_mark_location
BSlider::HashMarks() const
{
	return fHashMarks;
}


void
BSlider::SetStyle(thumb_style style)
{
	fStyle = style;
	Invalidate();
}


thumb_style
BSlider::Style() const
{
	return fStyle;
}


void
BSlider::SetBarColor(rgb_color color)
{
	fBarColor = color;
	Invalidate();
}


rgb_color
BSlider::BarColor() const
{
	return fBarColor;
}


void
BSlider::UseFillColor(bool useFill, const rgb_color* color)
{
	fUseFillColor = useFill;
	if (useFill && color != NULL)
		fFillColor = *color;
	Invalidate();
}


bool
BSlider::FillColor(rgb_color* color) const
{
	if (color != NULL && fUseFillColor)
		*color = fFillColor;
	return fUseFillColor;
}


orientation
BSlider::Orientation() const
{
	return B_HORIZONTAL;
}


float
BSlider::BarThickness() const
{
	return fBarThickness;
}


void
BSlider::SetBarThickness(float thickness)
{
	if (thickness < 1)
		thickness = 1;
	thickness = roundf(thickness);
	if (thickness == fBarThickness)
		return;
	fBarThickness = thickness;
	Invalidate();
}


//	#pragma mark - size


float
BSlider::_TextHeight() const
{
	font_height fh;
	GetFontHeight(&fh);
	return ceilf(fh.ascent) + ceilf(fh.descent);
}


void
BSlider::GetPreferredSize(float* _width, float* _height)
{
	float textHeight = _TextHeight();
	int32 rows = 0;
	if (Label() != NULL || fUpdateText != NULL)
		rows++;
	if (fMinLimitLabel != NULL || fMaxLimitLabel != NULL)
		rows++;
	float height = 12 + fBarThickness + rows * (textHeight + 4);

	float m = StringWidth("M");
	float width = 0;
	if (Label() != NULL) {
		width = StringWidth(Label());
		if (fUpdateText != NULL)
			width += 2 * m + StringWidth(fUpdateText);
	} else if (fUpdateText != NULL)
		width = StringWidth(fUpdateText);
	float limits = 0;
	if (fMinLimitLabel != NULL)
		limits = StringWidth(fMinLimitLabel);
	if (fMaxLimitLabel != NULL)
		limits += 2 * m + StringWidth(fMaxLimitLabel);
	width = fmaxf(fmaxf(width, limits), 100);
	// A slider drawn into a frame keeps its width.
	width = fmaxf(width, Bounds().Width());

	if (_width != NULL)
		*_width = width;
	if (_height != NULL)
		*_height = height;
}


void
BSlider::ResizeToPreferred()
{
	BControl::ResizeToPreferred();
}
