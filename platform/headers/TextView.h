/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TEXTVIEW_H
#define _TEXTVIEW_H


#include <Font.h>
#include <View.h>


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
// never inside one. The user can neither edit nor select the text yet; IsEditable() and
// IsSelectable() only keep what they were told.
class BTextView : public BView {
public:
	BTextView(BRect frame, const char* name, BRect textRect, uint32 resizingMode, uint32 flags);
	BTextView(BRect frame, const char* name, BRect textRect, const BFont* initialFont,
		const rgb_color* initialColor, uint32 resizingMode, uint32 flags);
	virtual ~BTextView();

	// Hooks
	virtual void Draw(BRect updateRect);
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
	int32 OffsetAt(int32 line) const;
	float LineWidth(int32 line = 0) const;
	float LineHeight(int32 line = 0) const;
	float TextHeight(int32 startLine, int32 endLine) const;

private:
	BTextView(const BTextView&);
	BTextView& operator=(const BTextView&);

	void _Init(BRect textRect, const BFont* font, const rgb_color* color);
	void _ApplyStyle(
		int32 start, int32 end, uint32 mode, const BFont* font, const rgb_color* color);
	void _Refresh();
	void _BreakLines();
	int32 _FindLineEnd(int32 start, float* _width);

	BPrivate::TextViewData* fData;
	BRect fTextRect;
	float fTabWidth;
	// The selection; empty until the view learns to select
	int32 fSelStart;
	int32 fSelEnd;
	bool fStylable;
	bool fEditable;
	bool fSelectable;
	bool fWordWrap;
};


#endif // _TEXTVIEW_H
