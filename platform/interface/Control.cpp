/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Control.h>

#include <stdlib.h>
#include <string.h>

#include <InterfaceDefs.h>
#include <Messenger.h>
#include <OS.h>
#include <Window.h>


BControl::BControl(BRect frame, const char* name, const char* label, BMessage* message,
	uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags), BInvoker(message, NULL, NULL)
{
	_InitData();
	SetLabel(label);
}


BControl::BControl(const char* name, const char* label, BMessage* message, uint32 flags)
	: BView(BRect(0, 0, -1, -1), name, B_FOLLOW_NONE, flags), BInvoker(message, NULL, NULL)
{
	_InitData();
	SetLabel(label);
}


BControl::~BControl()
{
	free(fLabel);
}


void
BControl::_InitData()
{
	fLabel = NULL;
	fValue = B_CONTROL_OFF;
	fEnabled = true;
	fFocusChanging = false;
	fTracking = false;
	fWantsNav = (Flags() & B_NAVIGABLE) != 0;
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetLowColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetHighColor(ui_color(B_CONTROL_TEXT_COLOR));
}


void
BControl::WindowActivated(bool active)
{
	BView::WindowActivated(active);
	if (IsFocus())
		Invalidate();
}


void
BControl::AttachedToWindow()
{
	// A control takes its background from the view it stands in.
	if (Parent() != NULL) {
		rgb_color color = Parent()->ViewColor();
		if (color != B_TRANSPARENT_COLOR) {
			SetViewColor(color);
			SetLowColor(color);
		}
	}
	// Without a target of its own, the message goes to the window.
	if (!Messenger().IsValid() && Window() != NULL)
		SetTarget(Window());
	BView::AttachedToWindow();
}


void
BControl::DetachedFromWindow()
{
	BView::DetachedFromWindow();
}


void
BControl::AllAttached()
{
	BView::AllAttached();
}


void
BControl::AllDetached()
{
	BView::AllDetached();
}


void
BControl::MessageReceived(BMessage* message)
{
	BView::MessageReceived(message);
}


void
BControl::MakeFocus(bool focus)
{
	if (focus == IsFocus())
		return;
	fFocusChanging = true;
	BView::MakeFocus(focus);
	fFocusChanging = false;
	Invalidate();
}


void
BControl::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_ENTER || bytes[0] == B_SPACE)) {
		if (!fEnabled)
			return;
		SetValue(Value() != B_CONTROL_OFF ? B_CONTROL_OFF : B_CONTROL_ON);
		Invoke();
		return;
	}
	BView::KeyDown(bytes, numBytes);
}


void
BControl::MouseDown(BPoint where)
{
	BView::MouseDown(where);
}


void
BControl::MouseUp(BPoint where)
{
	BView::MouseUp(where);
}


void
BControl::MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage)
{
	BView::MouseMoved(where, code, dragMessage);
}


void
BControl::SetLabel(const char* string)
{
	if (string != NULL && string[0] == '\0')
		string = NULL;
	if (string == NULL && fLabel == NULL)
		return;
	if (string != NULL && fLabel != NULL && strcmp(string, fLabel) == 0)
		return;
	free(fLabel);
	fLabel = string != NULL ? strdup(string) : NULL;
	Invalidate();
}


const char*
BControl::Label() const
{
	return fLabel;
}


void
BControl::SetValue(int32 value)
{
	if (value == fValue)
		return;
	fValue = value;
	Invalidate();
}


int32
BControl::Value() const
{
	return fValue;
}


void
BControl::SetValueNoUpdate(int32 value)
{
	fValue = value;
}


void
BControl::SetEnabled(bool enabled)
{
	if (fEnabled == enabled)
		return;
	fEnabled = enabled;
	// Tab skips a disabled control.
	if (fWantsNav) {
		uint32 flags = Flags();
		SetFlags(enabled ? (flags | B_NAVIGABLE) : (flags & ~B_NAVIGABLE));
	}
	if (!enabled && IsFocus())
		MakeFocus(false);
	Invalidate();
}


bool
BControl::IsEnabled() const
{
	return fEnabled;
}


void
BControl::GetPreferredSize(float* _width, float* _height)
{
	BView::GetPreferredSize(_width, _height);
}


void
BControl::ResizeToPreferred()
{
	BView::ResizeToPreferred();
}


status_t
BControl::Invoke(BMessage* message)
{
	if (message == NULL)
		message = Message();
	if (message == NULL)
		return B_BAD_VALUE;
	BMessage copy(*message);
	copy.RemoveName("when");
	copy.AddInt64("when", system_time());
	copy.RemoveName("source");
	copy.AddPointer("source", this);
	copy.RemoveName("be:value");
	copy.AddInt32("be:value", fValue);
	// A messenger to the control, stored as Haiku stores messengers in messages
	BMessenger sender(this);
	copy.RemoveName("be:sender");
	copy.AddData("be:sender", B_MESSENGER_TYPE, &sender, sizeof(sender));
	return BInvoker::Invoke(&copy);
}


bool
BControl::IsFocusChanging() const
{
	return fFocusChanging;
}


bool
BControl::IsTracking() const
{
	return fTracking;
}


void
BControl::SetTracking(bool state)
{
	fTracking = state;
}
