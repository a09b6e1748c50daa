/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _CHECK_BOX_H
#define _CHECK_BOX_H


#include <Control.h>


// A box with a label that the user turns on and off: a click (released over it) or Enter
// and Space move it to the next state and invoke it.
class BCheckBox : public BControl {
public:
	BCheckBox(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	BCheckBox(const char* name, const char* label, BMessage* message,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	BCheckBox(const char* label, BMessage* message = NULL);
	virtual ~BCheckBox();

	virtual void Draw(BRect updateRect);

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void WindowActivated(bool active);
	virtual void MessageReceived(BMessage* message);

	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);

	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	// B_CONTROL_OFF, B_CONTROL_ON or B_CONTROL_PARTIALLY_ON; anything else counts as on.
	virtual void SetValue(int32 value);

	bool IsPartialStateToOff() const;
	void SetPartialStateToOff(bool partialToOff);

private:
	BRect _CheckBoxFrame() const;
	int32 _NextState() const;

	bool fPartialToOff;
	// The pointer is held over the box
	bool fOutlined;
};


#endif // _CHECK_BOX_H
