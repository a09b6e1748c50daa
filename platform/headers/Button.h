/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BUTTON_H
#define _BUTTON_H


#include <Control.h>


// A push button: pressed while the primary mouse button is held on it, invoked when it is
// released over it, or at once by Enter and Space while it has the focus.
class BButton : public BControl {
public:
	// The frame grows to the height the label needs.
	BButton(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE | B_FULL_UPDATE_ON_RESIZE);
	BButton(const char* name, const char* label, BMessage* message,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE | B_FULL_UPDATE_ON_RESIZE);
	BButton(const char* label, BMessage* message = NULL);
	virtual ~BButton();

	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void AttachedToWindow();
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void MakeDefault(bool flag);
	virtual void SetLabel(const char* string);
	bool IsDefault() const;

	virtual void MessageReceived(BMessage* message);
	virtual void WindowActivated(bool active);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	virtual void MouseUp(BPoint where);
	virtual void DetachedFromWindow();
	virtual void SetValue(int32 value);
	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	// Shows the button pressed a moment, sends the message and lets the button go.
	virtual status_t Invoke(BMessage* message = NULL);

private:
	void _ValidateHeight();
	void _SetHovering(bool hovering);

	bool fDefault;
	bool fHovering;
};


#endif // _BUTTON_H
