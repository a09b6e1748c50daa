/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SLIDER_H
#define _SLIDER_H


#include <Control.h>


enum hash_mark_location {
	B_HASH_MARKS_NONE = 0,
	B_HASH_MARKS_TOP = 1,
	B_HASH_MARKS_LEFT = 1,
	B_HASH_MARKS_BOTTOM = 2,
	B_HASH_MARKS_RIGHT = 2,
	B_HASH_MARKS_BOTH = 3
};

enum thumb_style { B_BLOCK_THUMB, B_TRIANGLE_THUMB };


// A horizontal bar with a thumb that picks a value between a minimum and a maximum. The
// label is drawn above the bar, the limit labels below it. Pressing sets the value where the
// pointer is and dragging follows it, sending the modification message on each change; the
// message goes once at the release if the value changed. The arrow keys step the value by
// KeyIncrementValue(), Home and End go to the limits; the release of the key invokes.
class BSlider : public BControl {
public:
	BSlider(BRect frame, const char* name, const char* label, BMessage* message, int32 minValue,
		int32 maxValue, thumb_style thumbType = B_BLOCK_THUMB,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP,
		uint32 flags = B_NAVIGABLE | B_WILL_DRAW | B_FRAME_EVENTS);
	virtual ~BSlider();

	virtual void WindowActivated(bool state);
	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void MessageReceived(BMessage* message);
	virtual void FrameResized(float width, float height);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void KeyUp(const char* bytes, int32 numBytes);
	virtual void MouseDown(BPoint point);
	virtual void MouseUp(BPoint point);
	virtual void MouseMoved(BPoint point, uint32 transit, const BMessage* dragMessage);

	virtual void SetLabel(const char* label);
	// Without layout this also resizes the slider to its preferred size.
	virtual void SetLimitLabels(const char* minLabel, const char* maxLabel);
	const char* MinLimitLabel() const;
	const char* MaxLimitLabel() const;
	// Clamps to the limits; never invokes.
	virtual void SetValue(int32 value);
	virtual int32 ValueForPoint(BPoint point) const;
	virtual void SetPosition(float);
	float Position() const;
	virtual void SetEnabled(bool on);
	void GetLimits(int32* minimum, int32* maximum) const;

	virtual void Draw(BRect updateRect);
	virtual void DrawSlider();
	virtual void DrawBar();
	virtual void DrawHashMarks();
	virtual void DrawThumb();
	virtual void DrawFocusMark();
	virtual void DrawText();
	// A text drawn right of the label, NULL by default
	virtual const char* UpdateText() const;
	void UpdateTextChanged();

	virtual BRect BarFrame() const;
	virtual BRect HashMarksFrame() const;
	virtual BRect ThumbFrame() const;

	// The width never shrinks; the height is what the bar and texts need.
	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	virtual status_t Invoke(BMessage* message = NULL);

	virtual void SetModificationMessage(BMessage* message);
	BMessage* ModificationMessage() const;

	virtual void SetSnoozeAmount(int32 microSeconds);
	int32 SnoozeAmount() const;

	virtual void SetKeyIncrementValue(int32 value);
	int32 KeyIncrementValue() const;

	virtual void SetHashMarkCount(int32 count);
	int32 HashMarkCount() const;

	virtual void SetHashMarks(hash_mark_location where);
	hash_mark_location HashMarks() const;

	virtual void SetStyle(thumb_style style);
	thumb_style Style() const;

	virtual void SetBarColor(rgb_color color);
	rgb_color BarColor() const;
	virtual void UseFillColor(bool useFill, const rgb_color* color = NULL);
	bool FillColor(rgb_color* color) const;

	orientation Orientation() const;

	float BarThickness() const;
	virtual void SetBarThickness(float thickness);

	virtual void SetFont(const BFont* font, uint32 properties = B_FONT_ALL);

	// Ignored when minimum > maximum; the value is clamped again.
	virtual void SetLimits(int32 minimum, int32 maximum);

private:
	BSlider(const BSlider&);
	BSlider& operator=(const BSlider&);

	float _MinPosition() const;
	float _MaxPosition() const;
	float _ThumbX() const;
	void _DrawBarPart(BRect rect, rgb_color color);
	void _DrawBarEnd(BRect square, rgb_color color, bool left);
	void _DrawBlockThumb();
	void _DrawTriangleThumb();
	void _Modified();
	float _TextHeight() const;

	BMessage* fModificationMessage;
	int32 fSnoozeAmount;

	rgb_color fBarColor;
	rgb_color fFillColor;
	bool fUseFillColor;

	char* fMinLimitLabel;
	char* fMaxLimitLabel;
	char* fUpdateText;

	int32 fMinValue;
	int32 fMaxValue;
	int32 fKeyIncrementValue;

	int32 fHashMarkCount;
	hash_mark_location fHashMarks;
	thumb_style fStyle;
	float fBarThickness;

	// The value when the press or the first moving key came
	int32 fInitialValue;
	bool fKeyMoving;
};


#endif // _SLIDER_H
