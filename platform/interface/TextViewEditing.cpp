/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// How the user works with a text view: focus, caret, selection, keys and pointer.


#include <TextView.h>

#include <ctype.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <string>

#include <AppDefs.h>
#include <Message.h>
#include <Window.h>

#include "TextViewData.h"


using BPrivate::is_blank;
using BPrivate::TextLine;


// Haiku's key code of the Home key, which types the same byte as Control+A
static const int32 kHomeKeyCode = 0x20;


// What the event being handled says of the modifier keys and more
static const BMessage*
current_message(const BView* view)
{
	BWindow* window = view->Window();
	return window != NULL ? window->CurrentMessage() : NULL;
}


static uint32
current_modifiers(const BView* view)
{
	const BMessage* message = current_message(view);
	int32 value;
	if (message != NULL && message->FindInt32("modifiers", &value) == B_OK)
		return (uint32)value;
	return modifiers();
}


// Letters, digits and every character beyond ASCII make words.
static int
char_class(char c)
{
	if ((uint8)c >= 0x80 || isalnum((uint8)c) || c == '_')
		return 0;
	if (is_blank(c))
		return 1;
	return 2;
}


//	#pragma mark - focus and caret


void
BTextView::AttachedToWindow()
{
	BView::AttachedToWindow();
	fActive = false;
	_UpdateActive();
}


void
BTextView::DetachedFromWindow()
{
	fActive = false;
	fTracking = false;
	BView::DetachedFromWindow();
}


void
BTextView::MakeFocus(bool focus)
{
	BView::MakeFocus(focus);
	_UpdateActive();
}


void
BTextView::WindowActivated(bool active)
{
	BView::WindowActivated(active);
	_UpdateActive();
}


void
BTextView::FrameResized(float newWidth, float newHeight)
{
	BView::FrameResized(newWidth, newHeight);
}


// The selection and the caret show while the view has the focus in the active window.
void
BTextView::_UpdateActive()
{
	BWindow* window = Window();
	bool active = window != NULL && IsFocus() && window->IsActive();
	if (active == fActive)
		return;
	fActive = active;
	fCaretVisible = active;
	if (!active)
		fTracking = false;
	Invalidate();
}


void
BTextView::Pulse()
{
	if (!fActive || !fEditable || fSelStart != fSelEnd)
		return;
	_ShowCaret(!fCaretVisible);
}


void
BTextView::_ShowCaret(bool visible)
{
	if (visible == fCaretVisible)
		return;
	fCaretVisible = visible;
	if (fActive && fEditable && fSelStart == fSelEnd)
		Invalidate(_CaretRect());
}


// One pixel wide at the caret's character boundary, kept inside the text rectangle.
BRect
BTextView::_CaretRect() const
{
	float height;
	BPoint point = PointAt(fCaret, &height);
	float x = floorf(point.x);
	// A view that does not wrap scrolls its text past the text rectangle's right edge.
	if (fWordWrap)
		x = std::min(x, fTextRect.right);
	x = std::max(x, fTextRect.left);
	return BRect(x, point.y, x, point.y + std::max(height, 1.0f) - 1);
}


//	#pragma mark - selection


void
BTextView::Select(int32 startOffset, int32 endOffset)
{
	if (!fSelectable || startOffset > endOffset)
		return;
	_SetSelection(startOffset, endOffset);
}


void
BTextView::SelectAll()
{
	Select(0, fData->Length());
}


void
BTextView::GetSelection(int32* _start, int32* _end) const
{
	int32 start = fSelectable ? fSelStart : 0;
	int32 end = fSelectable ? fSelEnd : 0;
	if (_start != NULL)
		*_start = start;
	if (_end != NULL)
		*_end = end;
}


// Sets both ends (clamped to the text and moved to whole characters) and shows the change.
void
BTextView::_SetSelection(int32 anchor, int32 caret)
{
	int32 length = fData->Length();
	auto whole = [&](int32 offset) {
		offset = std::max<int32>(0, std::min(offset, length));
		while (offset > 0 && offset < length && ((uint8)fData->text[offset] & 0xc0) == 0x80)
			offset--;
		return offset;
	};
	anchor = whole(anchor);
	caret = whole(caret);
	int32 start = std::min(anchor, caret);
	int32 end = std::max(anchor, caret);
	bool changed = start != fSelStart || end != fSelEnd || caret != fCaret;
	fAnchor = anchor;
	fCaret = caret;
	fSelStart = start;
	fSelEnd = end;
	// A change leaves the caret shown.
	fCaretVisible = fActive;
	if (changed && Window() != NULL)
		Invalidate();
}


void
BTextView::FindWord(int32 offset, int32* _fromOffset, int32* _toOffset)
{
	const std::string& text = fData->text;
	int32 length = fData->Length();
	offset = std::max<int32>(0, std::min(offset, length));
	int32 from = offset;
	int32 to = offset;
	if (length > 0) {
		if (offset == length)
			from = offset = _PreviousChar(offset);
		int kind = char_class(text[offset]);
		if (kind == 2)
			to = _NextChar(offset);
		else {
			while (from > 0 && char_class(text[_PreviousChar(from)]) == kind)
				from = _PreviousChar(from);
			while (to < length && char_class(text[to]) == kind)
				to = _NextChar(to);
		}
		if (text[offset] == '\n')
			to = from = offset;
	}
	if (_fromOffset != NULL)
		*_fromOffset = from;
	if (_toOffset != NULL)
		*_toOffset = to;
}


int32
BTextView::_PreviousChar(int32 offset) const
{
	if (offset <= 0)
		return 0;
	offset--;
	while (offset > 0 && ((uint8)fData->text[offset] & 0xc0) == 0x80)
		offset--;
	return offset;
}


int32
BTextView::_NextChar(int32 offset) const
{
	if (offset >= fData->Length())
		return fData->Length();
	return offset + fData->CharLength(offset);
}


void
BTextView::ScrollToOffset(int32 offset)
{
	// Only a view that does not wrap runs past its width.
	if (fWordWrap || Window() == NULL)
		return;
	BRect bounds = Bounds();
	float x = PointAt(offset).x;
	float left = bounds.left;
	if (x > bounds.right)
		left = ceilf(x - bounds.Width());
	if (x < left)
		left = floorf(x);
	// No more room after the longest line than needed
	float widest = 0;
	for (int32 line = 0; line < CountLines(); line++)
		widest = std::max(widest, _LineLeft(line) + LineWidth(line));
	left = std::min(left, std::max(0.0f, ceilf(widest + 1 - bounds.Width())));
	left = std::max(0.0f, left);
	if (left != bounds.left)
		ScrollTo(BPoint(left, bounds.top));
}


void
BTextView::ScrollToSelection()
{
	ScrollToOffset(fCaret);
}


//	#pragma mark - pointer


void
BTextView::MouseDown(BPoint where)
{
	if (!fSelectable) {
		BView::MouseDown(where);
		return;
	}
	if (!IsFocus())
		MakeFocus(true);

	const BMessage* message = current_message(this);
	int32 clicks = message != NULL ? message->GetInt32("clicks", 1) : 1;
	uint32 buttons = message != NULL ? (uint32)message->GetInt32("buttons", 0) : 0;
	uint32 mods = current_modifiers(this);
	int32 offset = OffsetAt(where);

	fTrackWords = false;
	if ((mods & B_SHIFT_KEY) != 0)
		_SetSelection(fAnchor, offset);
	else if (clicks >= 2) {
		FindWord(offset, &fWordAnchorStart, &fWordAnchorEnd);
		_SetSelection(fWordAnchorStart, fWordAnchorEnd);
		fTrackWords = true;
	} else
		_SetSelection(offset, offset);
	fTracking = buttons == 0 || (buttons & B_PRIMARY_MOUSE_BUTTON) != 0;
}


void
BTextView::MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage)
{
	if (!fTracking) {
		BView::MouseMoved(where, code, dragMessage);
		return;
	}
	const BMessage* message = current_message(this);
	if (message != NULL && message->GetInt32("buttons", 1) == 0) {
		fTracking = false;
		return;
	}
	int32 offset = OffsetAt(where);
	if (fTrackWords) {
		int32 from;
		int32 to;
		FindWord(offset, &from, &to);
		if (from < fWordAnchorStart)
			_SetSelection(fWordAnchorEnd, from);
		else
			_SetSelection(fWordAnchorStart, std::max(to, fWordAnchorEnd));
	} else
		_SetSelection(fAnchor, offset);
	ScrollToOffset(fCaret);
}


void
BTextView::MouseUp(BPoint where)
{
	fTracking = false;
	BView::MouseUp(where);
}


//	#pragma mark - keys


void
BTextView::KeyDown(const char* bytes, int32 numBytes)
{
	if (bytes == NULL || numBytes < 1) {
		BView::KeyDown(bytes, numBytes);
		return;
	}
	uint32 mods = current_modifiers(this);
	if (_HandleShortcut(bytes, mods))
		return;

	char key = bytes[0];
	switch (key) {
	case B_LEFT_ARROW:
	case B_RIGHT_ARROW:
	case B_UP_ARROW:
	case B_DOWN_ARROW:
	case B_HOME:
	case B_END:
	case B_PAGE_UP:
	case B_PAGE_DOWN:
		if (!fSelectable && !fEditable)
			break;
		_HandleArrow(key, mods);
		return;
	}

	if (!fEditable || key == B_ESCAPE || key == B_INSERT || key == B_FUNCTION_KEY
		|| (mods & B_COMMAND_KEY) != 0) {
		BView::KeyDown(bytes, numBytes);
		return;
	}

	switch (key) {
	case B_BACKSPACE:
		if (fSelStart < fSelEnd)
			Delete();
		else if (fCaret > 0)
			Delete(_PreviousChar(fCaret), fCaret);
		ScrollToOffset(fCaret);
		return;
	case B_DELETE:
		if (fSelStart < fSelEnd)
			Delete();
		else if (fCaret < fData->Length())
			Delete(fCaret, _NextChar(fCaret));
		ScrollToOffset(fCaret);
		return;
	}

	// Other control characters type nothing.
	if ((uint8)key < 0x20 && key != B_TAB && key != B_ENTER) {
		BView::KeyDown(bytes, numBytes);
		return;
	}
	_TypeText(bytes, numBytes);
}


// Typed text replaces the selection.
void
BTextView::_TypeText(const char* bytes, int32 length)
{
	length = (int32)strnlen(bytes, length);
	if (length == 0)
		return;
	if (fSelStart < fSelEnd)
		Delete();
	Insert(fCaret, bytes, length);
	ScrollToOffset(fCaret);
}


// Command (or Control, as Linux users are used to) with X, C, V or A cuts, copies, pastes
// or selects everything, as Haiku's windows send B_CUT, B_COPY, B_PASTE and B_SELECT_ALL to
// the focus view.
bool
BTextView::_HandleShortcut(const char* bytes, uint32 mods)
{
	if ((mods & (B_COMMAND_KEY | B_CONTROL_KEY)) == 0)
		return false;
	uint8 c = (uint8)bytes[0];
	char letter = 0;
	if (c >= 1 && c <= 26 && (mods & B_CONTROL_KEY) != 0) {
		const BMessage* message = current_message(this);
		int32 key = message != NULL ? message->GetInt32("key", 0) : 0;
		if (c == B_HOME && key == kHomeKeyCode)
			return false;
		letter = (char)('a' + c - 1);
	} else if (c < 0x80)
		letter = (char)tolower(c);

	uint32 what;
	switch (letter) {
	case 'x':
		what = B_CUT;
		break;
	case 'c':
		what = B_COPY;
		break;
	case 'v':
		what = B_PASTE;
		break;
	case 'a':
		what = B_SELECT_ALL;
		break;
	default:
		return false;
	}
	BMessage message(what);
	MessageReceived(&message);
	return true;
}


void
BTextView::_HandleArrow(char key, uint32 mods)
{
	const std::string& text = fData->text;
	int32 length = fData->Length();
	bool extend = (mods & B_SHIFT_KEY) != 0 && fSelectable;
	bool byWord = (mods & (B_COMMAND_KEY | B_OPTION_KEY)) != 0;
	bool toEnds = (mods & B_COMMAND_KEY) != 0;
	int32 caret = fCaret;
	int32 line = LineAt(caret);

	switch (key) {
	case B_LEFT_ARROW:
		if (fSelStart < fSelEnd && !extend)
			caret = fSelStart;
		else if (byWord) {
			caret = _PreviousChar(caret);
			while (caret > 0 && char_class(text[caret]) != 0)
				caret = _PreviousChar(caret);
			while (caret > 0 && char_class(text[_PreviousChar(caret)]) == 0)
				caret = _PreviousChar(caret);
		} else
			caret = _PreviousChar(caret);
		break;
	case B_RIGHT_ARROW:
		if (fSelStart < fSelEnd && !extend)
			caret = fSelEnd;
		else if (byWord) {
			while (caret < length && char_class(text[caret]) != 0)
				caret = _NextChar(caret);
			while (caret < length && char_class(text[caret]) == 0)
				caret = _NextChar(caret);
		} else
			caret = _NextChar(caret);
		break;
	case B_UP_ARROW:
	case B_DOWN_ARROW: {
		bool up = key == B_UP_ARROW;
		if (toEnds)
			caret = up ? 0 : length;
		else {
			float height;
			BPoint point = PointAt(caret, &height);
			if (up && line == 0 && point.y <= fTextRect.top)
				caret = 0;
			else if (!up && point.y + height >= fTextRect.top + fData->lines.back().origin)
				caret = length;
			else
				caret = OffsetAt(BPoint(point.x, up ? point.y - 1 : point.y + height));
		}
		break;
	}
	case B_PAGE_UP:
		caret = 0;
		break;
	case B_PAGE_DOWN:
		caret = length;
		break;
	case B_HOME:
		caret = toEnds ? 0 : OffsetAt(line);
		break;
	case B_END:
		if (toEnds || line + 1 >= CountLines())
			caret = length;
		else {
			caret = OffsetAt(line + 1);
			if (caret > 0 && (text[caret - 1] == '\n' || is_blank(text[caret - 1])))
				caret--;
		}
		break;
	}

	if (!fSelectable) {
		// Only the view moves: there is nothing to select.
		ScrollToOffset(caret);
		return;
	}
	if (extend)
		_SetSelection(fAnchor, caret);
	else
		_SetSelection(caret, caret);
	ScrollToOffset(fCaret);
}
