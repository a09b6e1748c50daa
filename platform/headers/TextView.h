/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TEXTVIEW_H
#define _TEXTVIEW_H


#include <stdint.h>

#include <Locker.h>
#include <View.h>


class BClipboard;


namespace BPrivate {
class TextViewData;
}


// One style of a text: it starts at offset and goes on to the next run's offset.
struct text_run {
	int32 offset;
	BFont font;
	rgb_color color;
};


// A list of runs, allocated with room for `count` of them.
struct text_run_array {
	int32 count;
	text_run runs[1];
};


// A view that shows a text of several lines, wrapped at the width of its text rectangle,
// in one font and colour or, when it is stylable, in runs of fonts and colours. Lines with
// runs of several sizes share a baseline below their tallest run.
//
// The text is kept as UTF-8 bytes; offsets count bytes. Lines break between characters,
// never inside one.
//
// A selectable view lets the user select with the pointer (a double click takes a word)
// and with Shift and the arrow keys; an editable one takes typed text at the caret,
// Backspace and Delete, and cuts and pastes through the clipboard (Command or Control with
// X, C, V, A). The caret blinks with the window's pulse while the view has the focus in
// the active window and nothing is selected.
class BTextView : public BView {
public:
	BTextView(BRect frame, const char* name, BRect textRect, uint32 resizingMode,
		uint32 flags = B_WILL_DRAW | B_PULSE_NEEDED);
	BTextView(BRect frame, const char* name, BRect textRect, const BFont* initialFont,
		const rgb_color* initialColor, uint32 resizingMode, uint32 flags);
	virtual ~BTextView();

	// Hooks
	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	virtual void WindowActivated(bool active);
	// Keys the view does not use (Tab in a view that is not editable, Escape, function
	// keys) go on to BView::KeyDown().
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void Pulse();
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void MakeFocus(bool focus = true);
	// B_CUT, B_COPY, B_PASTE and B_SELECT_ALL act on the text.
	virtual void MessageReceived(BMessage* message);
	// Whether a line may end after the character at offset: after a newline, at the end of
	// the text, after the last of a row of blanks and after a few separators (= < > / & +
	// * - ^ |).
	virtual bool CanEndLine(int32 offset);

	// The text. SetText(NULL) or a length of 0 empties the view; the runs apply only to a
	// stylable view. Without runs the new text takes the style of the old first character.
	void SetText(const char* text, const text_run_array* runs = NULL);
	void SetText(const char* text, int32 length, const text_run_array* runs = NULL);
	const char* Text() const;
	int32 TextLength() const;
	uchar ByteAt(int32 offset) const;

	// Insert() puts the text at the start of the selection, after collapsing it (without
	// deleting it), and leaves the caret after the text; the offset form clamps the offset.
	// A length counts bytes and stops at a NUL. Delete() removes the selection, the range
	// form the bytes from start to end (clamped). They work whether the view is editable
	// or not: that only concerns the user.
	void Insert(const char* text, const text_run_array* runs = NULL);
	void Insert(const char* text, int32 length, const text_run_array* runs = NULL);
	void Insert(int32 offset, const char* text, int32 length, const text_run_array* runs = NULL);
	void Delete();
	void Delete(int32 startOffset, int32 endOffset);

	// The clipboard: "text/plain" (B_MIME_TYPE) without a closing NUL. Cut and Paste need
	// an editable view.
	virtual void Cut(BClipboard* clipboard);
	virtual void Copy(BClipboard* clipboard);
	virtual void Paste(BClipboard* clipboard);
	// Deletes the selection, as the user's Clear does.
	void Clear();
	virtual bool AcceptsPaste(BClipboard* clipboard);

	// The selection, in bytes; Select() clamps both ends, ignores start > end, and needs a
	// selectable view, as GetSelection() does (it gives 0, 0 otherwise).
	virtual void Select(int32 startOffset, int32 endOffset);
	void SelectAll();
	void GetSelection(int32* _start, int32* _end) const;

	// Fonts and colours. The properties `mode` names (as in BView::SetFont()) are taken
	// from font; a NULL font or colour leaves that part alone. Without offsets the
	// selection changes, or the whole text when nothing is selected; a view that is not
	// stylable always changes its whole text. Fonts are kept unrotated, anti-aliased, in
	// B_BITMAP_SPACING and UTF-8.
	void SetFontAndColor(
		const BFont* font, uint32 mode = B_FONT_ALL, const rgb_color* color = NULL);
	void SetFontAndColor(int32 startOffset, int32 endOffset, const BFont* font,
		uint32 mode = B_FONT_ALL, const rgb_color* color = NULL);
	void GetFontAndColor(int32 offset, BFont* font, rgb_color* color = NULL) const;

	// Turning styles off gives the whole text the style of its first character.
	void SetStylable(bool stylable);
	bool IsStylable() const;
	void MakeEditable(bool editable = true);
	bool IsEditable() const;
	void MakeSelectable(bool selectable = true);
	bool IsSelectable() const;
	void SetWordWrap(bool wrap);
	bool DoesWordWrap() const;
	// How each line sits in the text rectangle's width: B_ALIGN_LEFT, B_ALIGN_RIGHT or
	// B_ALIGN_CENTER.
	void SetAlignment(alignment align);
	alignment Alignment() const;
	void SetTabWidth(float width);
	float TabWidth() const;

	// Where the text goes, in the view's coordinates; only its left, top and width count.
	void SetTextRect(BRect rect);
	BRect TextRect() const;

	// Lines. Indices out of range stand for the first or the last line; a text that ends
	// with a newline has no line of its own after it, but TextHeight() of several lines
	// counts one.
	int32 CountLines() const;
	int32 LineAt(int32 offset) const;
	int32 LineAt(BPoint point) const;
	int32 OffsetAt(int32 line) const;
	// Where the character at offset begins: the top of its line (view coordinates), and the
	// line's height in *_height.
	BPoint PointAt(int32 offset, float* _height = NULL) const;
	// The offset of the character boundary nearest to point.
	int32 OffsetAt(BPoint point) const;
	// The word around offset: a run of letters and digits (any non-ASCII character counts
	// as a letter), or of blanks, or a single other character.
	virtual void FindWord(int32 offset, int32* _fromOffset, int32* _toOffset);
	float LineWidth(int32 line = 0) const;
	float LineHeight(int32 line = 0) const;
	float TextHeight(int32 startLine, int32 endLine) const;

	// Scrolls the view so that the character at offset is inside its bounds.
	virtual void ScrollToOffset(int32 offset);
	void ScrollToSelection();

protected:
	// Every change of the text goes through these two: subclasses that must know of
	// changes override them and call them here.
	virtual void InsertText(
		const char* text, int32 length, int32 offset, const text_run_array* runs);
	virtual void DeleteText(int32 fromOffset, int32 toOffset);

private:
	BTextView(const BTextView&);
	BTextView& operator=(const BTextView&);

	void _Init(BRect textRect, const BFont* font, const rgb_color* color);
	void _ApplyStyle(
		int32 start, int32 end, uint32 mode, const BFont* font, const rgb_color* color);
	void _Refresh();
	void _BreakLines();
	int32 _FindLineEnd(int32 start, float* _width);

	// Editing (TextViewEditing.cpp)
	float _LineLeft(int32 line) const;
	float _WidthInLine(int32 lineStart, int32 offset) const;
	int32 _PreviousChar(int32 offset) const;
	int32 _NextChar(int32 offset) const;
	void _SetSelection(int32 anchor, int32 caret);
	void _HandleArrow(char key, uint32 modifiers);
	void _TypeText(const char* bytes, int32 length);
	bool _HandleShortcut(const char* bytes, uint32 modifiers);
	void _UpdateActive();
	void _ShowCaret(bool visible);
	BRect _CaretRect() const;
	void _DrawSelection();

	BPrivate::TextViewData* fData;
	BRect fTextRect;
	float fTabWidth;
	// The selection; fAnchor is the end that stays when it is extended, fCaret the one
	// that moves. fSelStart <= fSelEnd are the two in order.
	int32 fSelStart;
	int32 fSelEnd;
	int32 fAnchor;
	int32 fCaret;
	alignment fAlignment;
	bool fStylable;
	bool fEditable;
	bool fSelectable;
	bool fWordWrap;
	// Focused in the active window: the selection and the caret show.
	bool fActive;
	// The caret's blink state
	bool fCaretVisible;
	// The primary button was pressed in the view and is still held; a double click
	// selects whole words while it is.
	bool fTracking;
	bool fTrackWords;
	int32 fWordAnchorStart;
	int32 fWordAnchorEnd;
};


#endif // _TEXTVIEW_H
