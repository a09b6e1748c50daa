/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TEXT_CONTROL_H
#define _TEXT_CONTROL_H


#include <Control.h>
#include <TextView.h>


namespace BPrivate {
class _BTextInput_;
}


// A labelled field of one line of text. The text is a child BTextView, "_input_"
// (TextView()), at (Divider(), 0, right, bottom) inset by 2, with the frame drawn around
// it; the label stands left of the divider. Tab moves the focus to the text view rather
// than to the control.
//
// The control is invoked when Enter is pressed and the text changed since it got the focus
// (or since the last Enter), and when it loses the focus with the text changed. Every
// change of the text sends the modification message, if there is one. Newlines typed or
// pasted become spaces; Tab never goes into the text.
class BTextControl : public BControl {
public:
	// Without a label the divider is 0, else half the width; the height becomes the one
	// the font needs.
	BTextControl(BRect frame, const char* name, const char* label, const char* initialText,
		BMessage* message, uint32 resizingMode = B_FOLLOW_LEFT_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BTextControl();

	// While the text view has the focus, the new text is selected and counts as the text
	// the focus began with. Ignored while a modification message is being sent.
	virtual void SetText(const char* text);
	// Never NULL
	const char* Text() const;
	int32 TextLength() const;

	virtual status_t Invoke(BMessage* message = NULL);

	BTextView* TextView() const;

	// The control owns the message; NULL sends none.
	virtual void SetModificationMessage(BMessage* message);
	BMessage* ModificationMessage() const;

	// The label's alignment in its part, and the text's in the text view
	virtual void SetAlignment(alignment label, alignment text);
	void GetAlignment(alignment* _label, alignment* _text) const;

	// floor(position + 0.5); the text view follows.
	virtual void SetDivider(float position);
	float Divider() const;

	virtual void Draw(BRect updateRect);
	// A click anywhere on the control gives the text view the focus.
	virtual void MouseDown(BPoint where);
	virtual void AttachedToWindow();
	// The focus goes to (or leaves) the text view.
	virtual void MakeFocus(bool focus = true);
	// Disabled, the text can neither be edited nor reached with Tab, and shows greyed (the
	// colours it gets here can be changed afterwards through TextView()).
	virtual void SetEnabled(bool enabled);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void WindowActivated(bool active);
	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();
	virtual void MessageReceived(BMessage* message);
	// B_NAVIGABLE goes to the text view; the control itself never has it.
	virtual void SetFlags(uint32 flags);

private:
	BTextControl(const BTextControl&);
	BTextControl& operator=(const BTextControl&);

	friend class BPrivate::_BTextInput_;

	void _UpdateTextViewColors(bool enabled);
	void _LayoutTextView();
	void _Modified();
	float _TextHeight();

	BPrivate::_BTextInput_* fText;
	BMessage* fModificationMessage;
	alignment fLabelAlign;
	float fDivider;
	// A modification message is being sent.
	bool fModifying;
};


#endif // _TEXT_CONTROL_H
