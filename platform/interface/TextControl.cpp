/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <TextControl.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

#include <InterfaceDefs.h>
#include <Window.h>

#include "ControlLook.h"


// The frame around the text view: the recessed edge and one ring
static const float kFrameMargin = 2;


namespace BPrivate {


// The text view of a text control: one line that scrolls, Tab leaves it, Enter invokes the
// control, and every change is reported to the control.
class _BTextInput_ : public BTextView {
public:
	_BTextInput_(BRect frame, BRect textRect, uint32 resizingMode, uint32 flags)
		: BTextView(frame, "_input_", textRect, resizingMode, flags), fFocused(false)
	{
		SetWordWrap(false);
	}

	BTextControl*
	TextControl() const
	{
		return dynamic_cast<BTextControl*>(Parent());
	}

	// The text at focus-in or at the last Enter
	void
	SetInitialText()
	{
		fInitialText = Text();
	}

	bool
	HasChanged() const
	{
		return fInitialText != Text();
	}

	virtual void
	KeyDown(const char* bytes, int32 numBytes)
	{
		BTextControl* control = TextControl();
		switch (bytes != NULL && numBytes > 0 ? bytes[0] : 0) {
		case B_ENTER:
			if (control == NULL || !control->IsEnabled())
				break;
			if (HasChanged()) {
				control->Invoke();
				SetInitialText();
			}
			SelectAll();
			break;
		case B_TAB:
			// Tab moves the focus on.
			BView::KeyDown(bytes, numBytes);
			break;
		default:
			BTextView::KeyDown(bytes, numBytes);
			break;
		}
	}

	// The window takes the focus from the view before it tells it: IsFocus() is already
	// false then.
	virtual void
	MakeFocus(bool focus)
	{
		BTextView::MakeFocus(focus);
		if (focus == fFocused)
			return;
		fFocused = focus;
		if (focus) {
			SetInitialText();
			SelectAll();
		} else {
			BTextControl* control = TextControl();
			if (HasChanged() && control != NULL)
				control->Invoke();
			fInitialText.clear();
		}
		_InvalidateFrame();
	}

	virtual void
	FrameResized(float newWidth, float newHeight)
	{
		BTextView::FrameResized(newWidth, newHeight);
		AlignTextRect();
	}

	// The line in the middle of the view's height, 2 px from the sides
	void
	AlignTextRect()
	{
		BRect rect = Bounds().OffsetToCopy(B_ORIGIN);
		float lineHeight = LineHeight(0) + 1;
		float vertical = std::max(1.0f, floorf((rect.Height() - lineHeight) / 2)) + 1;
		rect.InsetBy(2, 0);
		rect.top += vertical;
		SetTextRect(rect);
	}

protected:
	// Newlines become spaces.
	virtual void
	InsertText(const char* text, int32 length, int32 offset, const text_run_array* runs)
	{
		std::string line(text, length);
		std::replace(line.begin(), line.end(), '\n', ' ');
		std::replace(line.begin(), line.end(), '\r', ' ');
		BTextView::InsertText(line.data(), (int32)line.size(), offset, runs);
		if (TextControl() != NULL)
			TextControl()->_Modified();
	}

	virtual void
	DeleteText(int32 fromOffset, int32 toOffset)
	{
		BTextView::DeleteText(fromOffset, toOffset);
		if (TextControl() != NULL)
			TextControl()->_Modified();
	}

private:
	void
	_InvalidateFrame()
	{
		if (Parent() != NULL && Window() != NULL)
			Parent()->Invalidate(Frame().InsetByCopy(-kFrameMargin, -kFrameMargin));
	}

	std::string fInitialText;
	bool fFocused;
};


} // namespace BPrivate


using BPrivate::_BTextInput_;


BTextControl::BTextControl(BRect frame, const char* name, const char* label,
	const char* initialText, BMessage* message, uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags | B_FRAME_EVENTS), fText(NULL),
	  fModificationMessage(NULL), fLabelAlign(B_ALIGN_LEFT),
	  fDivider(Label() != NULL ? floorf(frame.Width() / 2) : 0), fModifying(false)
{
	uint32 textFlags = B_WILL_DRAW | B_PULSE_NEEDED | B_FRAME_EVENTS;
	fText = new _BTextInput_(BRect(0, 0, 10, 10), BRect(0, 0, 10, 10), B_FOLLOW_ALL, textFlags);
	fText->SetText(initialText);
	_UpdateTextViewColors(true);

	// As tall as the font needs
	ResizeTo(Bounds().Width(), _TextHeight() + 2 * kFrameMargin);
	_LayoutTextView();
	AddChild(fText);
	// Tab reaches the text, not the control.
	SetFlags(Flags());
}


BTextControl::~BTextControl()
{
	delete fModificationMessage;
}


// The text view's height: one line, one pixel above and below it
float
BTextControl::_TextHeight()
{
	font_height height;
	BFont font;
	fText->GetFontAndColor(0, &font);
	font.GetHeight(&height);
	float lineHeight = ceilf(height.ascent + height.descent + height.leading) + 1;
	return ceilf(lineHeight + 2);
}


void
BTextControl::_LayoutTextView()
{
	BRect bounds = Bounds();
	BRect frame(fDivider, 0, bounds.right, bounds.bottom);
	frame.InsetBy(kFrameMargin, kFrameMargin);
	if (frame.right < frame.left)
		frame.right = frame.left;
	fText->MoveTo(frame.LeftTop());
	fText->ResizeTo(frame.Width(), frame.Height());
	fText->AlignTextRect();
}


void
BTextControl::_UpdateTextViewColors(bool enabled)
{
	rgb_color background = ui_color(B_DOCUMENT_BACKGROUND_COLOR);
	rgb_color text = ui_color(B_DOCUMENT_TEXT_COLOR);
	if (!enabled) {
		rgb_color panel = ui_color(B_PANEL_BACKGROUND_COLOR);
		background = BPrivate::disable_color(panel, background);
		text = BPrivate::disable_color(text, panel);
	}
	fText->SetFontAndColor(NULL, B_FONT_ALL, &text);
	fText->SetViewColor(background);
	fText->SetLowColor(background);
	fText->Invalidate();
}


void
BTextControl::_Modified()
{
	if (fModificationMessage == NULL)
		return;
	fModifying = true;
	InvokeNotify(fModificationMessage, B_CONTROL_MODIFIED);
	fModifying = false;
}


//	#pragma mark - text


void
BTextControl::SetText(const char* text)
{
	if (fModifying)
		return;
	fText->SetText(text);
	if (fText->IsFocus()) {
		fText->SetInitialText();
		fText->SelectAll();
	}
	fText->Invalidate();
}


const char*
BTextControl::Text() const
{
	return fText->Text();
}


int32
BTextControl::TextLength() const
{
	return fText->TextLength();
}


status_t
BTextControl::Invoke(BMessage* message)
{
	return BControl::Invoke(message);
}


BTextView*
BTextControl::TextView() const
{
	return fText;
}


void
BTextControl::SetModificationMessage(BMessage* message)
{
	if (message == fModificationMessage)
		return;
	delete fModificationMessage;
	fModificationMessage = message;
}


BMessage*
BTextControl::ModificationMessage() const
{
	return fModificationMessage;
}


void
BTextControl::SetAlignment(alignment label, alignment text)
{
	fText->SetAlignment(text);
	fText->AlignTextRect();
	if (label != fLabelAlign) {
		fLabelAlign = label;
		Invalidate();
	}
}


void
BTextControl::GetAlignment(alignment* _label, alignment* _text) const
{
	if (_label != NULL)
		*_label = fLabelAlign;
	if (_text != NULL)
		*_text = fText->Alignment();
}


void
BTextControl::SetDivider(float position)
{
	fDivider = floorf(position + 0.5f);
	_LayoutTextView();
	Invalidate();
}


float
BTextControl::Divider() const
{
	return fDivider;
}


//	#pragma mark - hooks


void
BTextControl::Draw(BRect updateRect)
{
	(void)updateRect;
	bool enabled = IsEnabled();
	rgb_color base = ViewColor();
	if (base == B_TRANSPARENT_COLOR)
		base = ui_color(B_PANEL_BACKGROUND_COLOR);

	// The frame around the text view
	BRect frame = fText->Frame().InsetByCopy(-kFrameMargin, -kFrameMargin);
	BPrivate::draw_recessed_edge(this, &frame, base, enabled);
	rgb_color dark = tint_color(base, 1.40f);
	rgb_color light = tint_color(base, 1.38f);
	if (!enabled)
		dark = light = tint_color(base, 1.15f);
	else if (fText->IsFocus() && Window() != NULL && Window()->IsActive())
		dark = light = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
	BPrivate::draw_ring(this, &frame, dark, dark, light, light);

	// The label left of the divider
	if (Label() != NULL) {
		rgb_color color = HighColor();
		if (!enabled)
			color = BPrivate::disable_color(color, base);
		float horizontal = 0;
		if (fLabelAlign == B_ALIGN_CENTER)
			horizontal = 0.5f;
		else if (fLabelAlign == B_ALIGN_RIGHT)
			horizontal = 1;
		BRect labelRect(0, 0, fDivider - 3, Bounds().bottom);
		if (labelRect.IsValid())
			BPrivate::draw_label(this, Label(), labelRect, color, horizontal);
	}
}


void
BTextControl::MouseDown(BPoint where)
{
	(void)where;
	if (!fText->IsFocus())
		fText->MakeFocus(true);
}


void
BTextControl::AttachedToWindow()
{
	BControl::AttachedToWindow();
	_LayoutTextView();
}


void
BTextControl::MakeFocus(bool focus)
{
	if (focus != fText->IsFocus())
		fText->MakeFocus(focus);
}


void
BTextControl::SetEnabled(bool enabled)
{
	if (enabled == IsEnabled())
		return;
	// The text view's navigation follows through SetFlags().
	fText->MakeEditable(enabled);
	if (!enabled && fText->IsFocus())
		fText->MakeFocus(false);
	_UpdateTextViewColors(enabled);
	BControl::SetEnabled(enabled);
}


void
BTextControl::FrameResized(float newWidth, float newHeight)
{
	BControl::FrameResized(newWidth, newHeight);
	Invalidate();
}


void
BTextControl::WindowActivated(bool active)
{
	BControl::WindowActivated(active);
	if (fText->IsFocus())
		Invalidate();
}


void
BTextControl::GetPreferredSize(float* _width, float* _height)
{
	float textHeight = _TextHeight();
	float labelWidth = Label() != NULL ? ceilf(StringWidth(Label())) + 2 : 0;
	if (_width != NULL)
		*_width = labelWidth + 3 * textHeight + 2 * kFrameMargin;
	if (_height != NULL)
		*_height = textHeight + 2 * kFrameMargin;
}


void
BTextControl::ResizeToPreferred()
{
	BView::ResizeToPreferred();
	fDivider = Label() != NULL ? ceilf(StringWidth(Label())) + 2 : 0;
	_LayoutTextView();
	Invalidate();
}


void
BTextControl::MessageReceived(BMessage* message)
{
	BControl::MessageReceived(message);
}


void
BTextControl::SetFlags(uint32 flags)
{
	if (fText != NULL) {
		uint32 textFlags = fText->Flags();
		if ((flags & B_NAVIGABLE) != 0)
			textFlags |= B_NAVIGABLE;
		else
			textFlags &= ~B_NAVIGABLE;
		if (textFlags != fText->Flags())
			fText->SetFlags(textFlags);
	}
	BControl::SetFlags(flags & ~B_NAVIGABLE);
}
