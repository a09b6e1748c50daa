/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _CONTROL_H
#define _CONTROL_H


#include <Invoker.h>
#include <Message.h>
#include <View.h>


enum { B_CONTROL_OFF = 0, B_CONTROL_ON = 1, B_CONTROL_PARTIALLY_ON = 2 };


// A view the user works with: it has a label and a value, may be disabled, and sends its
// message to its target (by default its window) when it is invoked. The control owns its
// message. A click never gives a control the keyboard focus; Tab does.
class BControl : public BView, public BInvoker {
public:
	BControl(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode, uint32 flags);
	BControl(const char* name, const char* label, BMessage* message, uint32 flags);
	virtual ~BControl();

	virtual void WindowActivated(bool active);
	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void AllAttached();
	virtual void AllDetached();

	virtual void MessageReceived(BMessage* message);
	virtual void MakeFocus(bool focus = true);

	// Enter or Space toggles the value between 0 and 1 and invokes; other keys go to the
	// view (Tab moves the focus).
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);

	// "" counts as no label.
	virtual void SetLabel(const char* string);
	const char* Label() const;

	// Redraws when the value changes; never invokes.
	virtual void SetValue(int32 value);
	int32 Value() const;

	// A disabled control is drawn greyed, ignores the pointer and keys, and is skipped by
	// Tab.
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;

	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	// Sends a copy of message (or of Message()) with "when", "source", "be:value" and
	// "be:sender" added. B_BAD_VALUE without a message.
	virtual status_t Invoke(BMessage* message = NULL);

protected:
	bool IsFocusChanging() const;
	bool IsTracking() const;
	void SetTracking(bool state);

	void SetValueNoUpdate(int32 value);

private:
	BControl(const BControl&);
	BControl& operator=(const BControl&);

	void _InitData();

	char* fLabel;
	int32 fValue;
	bool fEnabled;
	bool fFocusChanging;
	bool fTracking;
	bool fWantsNav;
};


#endif // _CONTROL_H
