/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <TextView.h>

#include <math.h>
#include <string.h>

#include <algorithm>

#include <InterfaceDefs.h>

#include "TextViewData.h"


static const float kDefaultTabWidth = 28.0f;
static const rgb_color kBlack = {0, 0, 0, 255};


using BPrivate::StyleRun;
using BPrivate::TextViewData;


// Takes the properties `mode` names from source, as BView::SetFont() does.
static void
apply_font(BFont* target, const BFont& source, uint32 mode)
{
	if ((mode & B_FONT_ALL) == B_FONT_ALL) {
		*target = source;
		return;
	}
	if ((mode & B_FONT_FAMILY_AND_STYLE) != 0)
		target->SetFamilyAndStyle(source.FamilyAndStyle());
	if ((mode & B_FONT_SIZE) != 0)
		target->SetSize(source.Size());
	if ((mode & B_FONT_SHEAR) != 0)
		target->SetShear(source.Shear());
	if ((mode & B_FONT_ROTATION) != 0)
		target->SetRotation(source.Rotation());
	if ((mode & B_FONT_SPACING) != 0)
		target->SetSpacing(source.Spacing());
	if ((mode & B_FONT_ENCODING) != 0)
		target->SetEncoding(source.Encoding());
	if ((mode & B_FONT_FACE) != 0)
		target->SetFace(source.Face());
	if ((mode & B_FONT_FLAGS) != 0)
		target->SetFlags(source.Flags());
	if ((mode & B_FONT_FALSE_BOLD_WIDTH) != 0)
		target->SetFalseBoldWidth(source.FalseBoldWidth());
}


// What a text view draws with, whatever it was given.
static void
normalize_font(BFont* font)
{
	font->SetRotation(0.0f);
	font->SetFlags(font->Flags() & ~B_DISABLE_ANTIALIASING);
	font->SetSpacing(B_BITMAP_SPACING);
	font->SetEncoding(B_UNICODE_UTF8);
}


BTextView::BTextView(
	BRect frame, const char* name, BRect textRect, uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
{
	_Init(textRect, NULL, NULL);
}


BTextView::BTextView(BRect frame, const char* name, BRect textRect, const BFont* initialFont,
	const rgb_color* initialColor, uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
{
	_Init(textRect, initialFont, initialColor);
}


BTextView::~BTextView()
{
	delete fData;
}


void
BTextView::_Init(BRect textRect, const BFont* font, const rgb_color* color)
{
	fData = new TextViewData;
	fTextRect = textRect;
	fTabWidth = kDefaultTabWidth;
	fSelStart = 0;
	fSelEnd = 0;
	fAnchor = 0;
	fCaret = 0;
	fAlignment = B_ALIGN_LEFT;
	fStylable = false;
	fEditable = true;
	fSelectable = true;
	fWordWrap = true;
	fActive = false;
	fCaretVisible = false;
	fTracking = false;
	fTrackWords = false;
	fWordAnchorStart = 0;
	fWordAnchorEnd = 0;

	StyleRun run;
	run.offset = 0;
	if (font != NULL)
		run.font = *font;
	else
		GetFont(&run.font);
	normalize_font(&run.font);
	run.color = color != NULL ? *color : kBlack;
	fData->runs.push_back(run);

	SetViewColor(ui_color(B_DOCUMENT_BACKGROUND_COLOR));
	_BreakLines();
}


//	#pragma mark - text


void
BTextView::SetText(const char* text, const text_run_array* runs)
{
	SetText(text, text != NULL ? (int32)strlen(text) : 0, runs);
}


void
BTextView::SetText(const char* text, int32 length, const text_run_array* runs)
{
	if (text == NULL || length < 0)
		length = 0;
	// Not past the end of the caller's string
	if (length > 0)
		length = (int32)strnlen(text, length);

	// Without runs of its own, the new text takes the style of the old first character.
	StyleRun first = fData->runs.front();
	first.offset = 0;
	if (fData->Length() > 0)
		DeleteText(0, fData->Length());
	fData->runs.assign(1, first);
	if (length > 0)
		InsertText(text, length, 0, runs);
	fAnchor = fCaret = fSelStart = fSelEnd = 0;
	fCaretVisible = fActive;
	_Refresh();
	if (Window() != NULL)
		ScrollToOffset(0);
}


void
BTextView::Insert(const char* text, const text_run_array* runs)
{
	Insert(text, text != NULL ? (int32)strlen(text) : 0, runs);
}


void
BTextView::Insert(const char* text, int32 length, const text_run_array* runs)
{
	Insert(fSelStart, text, length, runs);
}


void
BTextView::Insert(int32 offset, const char* text, int32 length, const text_run_array* runs)
{
	if (text == NULL || length <= 0)
		return;
	length = (int32)strnlen(text, length);
	if (length == 0)
		return;
	offset = std::max<int32>(0, std::min(offset, fData->Length()));
	// Between whole characters only
	while (offset > 0 && offset < fData->Length() && ((uint8)fData->text[offset] & 0xc0) == 0x80)
		offset--;
	InsertText(text, length, offset, runs);
	// The caret goes after the text; a selection behind it moves along.
	int32 caret = offset + length;
	if (fSelStart < fSelEnd && fSelStart > offset)
		_SetSelection(fAnchor + length, fCaret + length);
	else
		_SetSelection(caret, caret);
	_Refresh();
}


void
BTextView::Delete()
{
	Delete(fSelStart, fSelEnd);
}


void
BTextView::Delete(int32 startOffset, int32 endOffset)
{
	int32 length = fData->Length();
	startOffset = std::max<int32>(0, std::min(startOffset, length));
	endOffset = std::max<int32>(0, std::min(endOffset, length));
	if (startOffset >= endOffset)
		return;
	DeleteText(startOffset, endOffset);
	// The selection loses what was deleted of it.
	int32 removed = endOffset - startOffset;
	auto shift = [=](int32 offset) {
		if (offset >= endOffset)
			return offset - removed;
		return std::min(offset, startOffset);
	};
	_SetSelection(shift(fAnchor), shift(fCaret));
	_Refresh();
}


void
BTextView::InsertText(const char* text, int32 length, int32 offset, const text_run_array* runs)
{
	if (text == NULL || length <= 0 || offset < 0 || offset > fData->Length())
		return;
	fData->text.insert((size_t)offset, text, (size_t)length);
	// The new text takes the style of the character before it.
	for (StyleRun& run : fData->runs) {
		if (run.offset >= offset && run.offset > 0)
			run.offset += length;
	}
	if (runs != NULL && fStylable && runs->count > 0) {
		int32 end = offset + length;
		for (int32 i = 0; i < runs->count; i++) {
			int32 start = offset + std::max<int32>(0, std::min(runs->runs[i].offset, length));
			int32 runEnd = i + 1 < runs->count ? offset + runs->runs[i + 1].offset : end;
			runEnd = std::max(offset, std::min(runEnd, end));
			_ApplyStyle(start, runEnd, B_FONT_ALL, &runs->runs[i].font, &runs->runs[i].color);
		}
	}
	_BreakLines();
}


void
BTextView::DeleteText(int32 fromOffset, int32 toOffset)
{
	int32 length = fData->Length();
	fromOffset = std::max<int32>(0, std::min(fromOffset, length));
	toOffset = std::max<int32>(0, std::min(toOffset, length));
	if (fromOffset >= toOffset)
		return;
	fData->text.erase((size_t)fromOffset, (size_t)(toOffset - fromOffset));

	// Runs inside the deleted part move to its start, where the last of them styles what
	// follows; runs past the new end style nothing.
	std::vector<StyleRun> runs;
	int32 newLength = fData->Length();
	for (StyleRun run : fData->runs) {
		if (run.offset >= toOffset)
			run.offset -= toOffset - fromOffset;
		else if (run.offset > fromOffset)
			run.offset = fromOffset;
		if (!runs.empty() && runs.back().offset == run.offset)
			runs.back() = run;
		else if (runs.empty() || run.offset < newLength)
			runs.push_back(run);
	}
	fData->runs.swap(runs);
	fData->Merge();
	_BreakLines();
}


const char*
BTextView::Text() const
{
	return fData->text.c_str();
}


int32
BTextView::TextLength() const
{
	return fData->Length();
}


uchar
BTextView::ByteAt(int32 offset) const
{
	if (offset < 0 || offset >= fData->Length())
		return '\0';
	return (uchar)fData->text[offset];
}


//	#pragma mark - styles


void
BTextView::SetFontAndColor(const BFont* font, uint32 mode, const rgb_color* color)
{
	if (fSelStart < fSelEnd)
		SetFontAndColor(fSelStart, fSelEnd, font, mode, color);
	else
		SetFontAndColor(0, fData->Length(), font, mode, color);
}


void
BTextView::SetFontAndColor(
	int32 startOffset, int32 endOffset, const BFont* font, uint32 mode, const rgb_color* color)
{
	int32 length = fData->Length();
	if (!fStylable) {
		startOffset = 0;
		endOffset = length;
	} else {
		startOffset = std::max<int32>(0, std::min(startOffset, length));
		endOffset = std::max<int32>(0, std::min(endOffset, length));
	}
	_ApplyStyle(startOffset, endOffset, mode, font, color);
	_Refresh();
}


void
BTextView::GetFontAndColor(int32 offset, BFont* font, rgb_color* color) const
{
	const StyleRun& run = fData->runs[fData->RunAt(offset)];
	if (font != NULL)
		*font = run.font;
	if (color != NULL)
		*color = run.color;
}


// An empty range styles only an empty text: the style its next text takes.
void
BTextView::_ApplyStyle(
	int32 start, int32 end, uint32 mode, const BFont* font, const rgb_color* color)
{
	if (font == NULL && color == NULL)
		return;
	std::vector<StyleRun>& runs = fData->runs;
	if (start >= end) {
		if (fData->Length() > 0)
			return;
		start = 0;
		end = 1;
	} else {
		fData->SplitAt(start);
		fData->SplitAt(end);
	}

	for (StyleRun& run : runs) {
		if (run.offset < start || run.offset >= end)
			continue;
		if (font != NULL) {
			apply_font(&run.font, *font, mode);
			normalize_font(&run.font);
		}
		if (color != NULL)
			run.color = *color;
	}
	fData->Merge();
}


void
BTextView::SetStylable(bool stylable)
{
	if (fStylable && !stylable && fData->runs.size() > 1) {
		fData->runs.resize(1);
		_Refresh();
	}
	fStylable = stylable;
}


bool
BTextView::IsStylable() const
{
	return fStylable;
}


void
BTextView::MakeEditable(bool editable)
{
	if (editable == fEditable)
		return;
	fEditable = editable;
	// The caret shows only in an editable view.
	if (Window() != NULL)
		Invalidate();
}


bool
BTextView::IsEditable() const
{
	return fEditable;
}


void
BTextView::MakeSelectable(bool selectable)
{
	if (selectable == fSelectable)
		return;
	fSelectable = selectable;
	if (!selectable)
		fAnchor = fCaret = fSelStart = fSelEnd = 0;
	if (Window() != NULL)
		Invalidate();
}


bool
BTextView::IsSelectable() const
{
	return fSelectable;
}


void
BTextView::SetWordWrap(bool wrap)
{
	if (wrap == fWordWrap)
		return;
	fWordWrap = wrap;
	_Refresh();
}


bool
BTextView::DoesWordWrap() const
{
	return fWordWrap;
}


void
BTextView::SetAlignment(alignment align)
{
	if (align != B_ALIGN_LEFT && align != B_ALIGN_RIGHT && align != B_ALIGN_CENTER)
		return;
	if (align == fAlignment)
		return;
	fAlignment = align;
	if (Window() != NULL)
		Invalidate();
}


alignment
BTextView::Alignment() const
{
	return fAlignment;
}


void
BTextView::SetTabWidth(float width)
{
	if (!(width > 0) || !isfinite(width) || width == fTabWidth)
		return;
	fTabWidth = width;
	_Refresh();
}


float
BTextView::TabWidth() const
{
	return fTabWidth;
}


void
BTextView::SetTextRect(BRect rect)
{
	if (rect == fTextRect)
		return;
	fTextRect = rect;
	_Refresh();
}


BRect
BTextView::TextRect() const
{
	return fTextRect;
}
