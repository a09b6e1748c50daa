/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// How a text view lays its text out in lines and draws them.


#include <TextView.h>

#include <math.h>
#include <string.h>

#include <algorithm>

#include "TextViewData.h"


using BPrivate::is_blank;
using BPrivate::StyleRun;
using BPrivate::TextLine;


//	#pragma mark - drawing


void
BTextView::Draw(BRect updateRect)
{
	const std::string& text = fData->text;
	const std::vector<TextLine>& lines = fData->lines;

	PushState();
	SetDrawingMode(B_OP_OVER);
	for (size_t i = 0; i + 1 < lines.size(); i++) {
		float top = fTextRect.top + lines[i].origin;
		float bottom = fTextRect.top + lines[i + 1].origin;
		if (bottom < updateRect.top)
			continue;
		if (top > updateRect.bottom)
			break;

		float left = _LineLeft((int32)i);
		BPoint pen(left, top + lines[i].ascent);
		int32 offset = lines[i].offset;
		int32 end = lines[i + 1].offset;
		while (offset < end) {
			char c = text[offset];
			if (c == '\n') {
				offset++;
				continue;
			}
			const StyleRun& run = fData->runs[fData->RunAt(offset)];
			if (c == B_TAB) {
				float tab = fTabWidth - fmodf(pen.x - left, fTabWidth);
				pen.x += roundf(tab) == 0 ? fTabWidth : tab;
				offset++;
				continue;
			}
			// A piece of whole characters in one style, up to a tab or a newline
			int32 pieceEnd = offset;
			while (pieceEnd < end && text[pieceEnd] != B_TAB && text[pieceEnd] != '\n'
				&& &fData->runs[fData->RunAt(pieceEnd)] == &run)
				pieceEnd += fData->CharLength(pieceEnd);
			SetFont(&run.font);
			SetHighColor(run.color);
			DrawString(text.c_str() + offset, pieceEnd - offset, pen);
			pen.x += run.font.StringWidth(text.c_str() + offset, pieceEnd - offset);
			offset = pieceEnd;
		}
	}
	PopState();

	if (fActive && fSelStart < fSelEnd)
		_DrawSelection();
	else if (fActive && fEditable && fCaretVisible)
		InvertRect(_CaretRect());
}


// Inverted, one rectangle per line: from the start to the end on one line; over several,
// the first line to the right edge, the middle lines whole, the last from the left edge.
void
BTextView::_DrawSelection()
{
	int32 firstLine = LineAt(fSelStart);
	int32 lastLine = LineAt(fSelEnd);
	for (int32 line = firstLine; line <= lastLine; line++) {
		int32 lineStart = OffsetAt(line);
		if (line > firstLine && lineStart >= fSelEnd)
			break;
		float height;
		float top = PointAt(lineStart, &height).y;
		float left = line == firstLine ? PointAt(fSelStart).x : fTextRect.left;
		float right = line == lastLine ? PointAt(fSelEnd).x - 1 : fTextRect.right;
		InvertRect(BRect(left, top, std::max(left, right), top + height - 1));
	}
}


bool
BTextView::CanEndLine(int32 offset)
{
	int32 length = fData->Length();
	if (offset < 0 || offset >= length - 1)
		return true;
	char c = fData->text[offset];
	if (c == '\n')
		return true;
	if (is_blank(c))
		return !is_blank(fData->text[offset + 1]);
	return strchr("=<>/&+*-^|", c) != NULL && c != '\0';
}


//	#pragma mark - lines


int32
BTextView::CountLines() const
{
	return (int32)fData->lines.size() - 1;
}


int32
BTextView::LineAt(int32 offset) const
{
	const std::vector<TextLine>& lines = fData->lines;
	int32 count = CountLines();
	int32 line = 0;
	while (line + 1 < count && lines[line + 1].offset <= offset)
		line++;
	return line;
}


int32
BTextView::LineAt(BPoint point) const
{
	const std::vector<TextLine>& lines = fData->lines;
	float y = point.y - fTextRect.top;
	int32 count = CountLines();
	int32 line = 0;
	while (line + 1 < count && lines[line + 1].origin <= y)
		line++;
	return line;
}


BPoint
BTextView::PointAt(int32 offset, float* _height) const
{
	const std::vector<TextLine>& lines = fData->lines;
	int32 length = fData->Length();
	offset = std::max<int32>(0, std::min(offset, length));
	int32 line = LineAt(offset);
	float top = lines[line].origin;
	float height = lines[line + 1].origin - top;
	float x;
	if (offset == length && length > 0 && fData->text.back() == '\n') {
		// On the empty line after a closing newline
		top = lines[line + 1].origin;
		x = _LineLeft(CountLines());
	} else
		x = _LineLeft(line) + _WidthInLine(lines[line].offset, offset);
	if (_height != NULL)
		*_height = height;
	return BPoint(x, fTextRect.top + top);
}


int32
BTextView::OffsetAt(BPoint point) const
{
	const std::vector<TextLine>& lines = fData->lines;
	const std::string& text = fData->text;
	int32 length = fData->Length();
	// Below the text: its end
	if (point.y >= fTextRect.top + lines.back().origin)
		return length;
	int32 line = LineAt(point);
	int32 offset = lines[line].offset;
	int32 end = lines[line + 1].offset;
	float x = point.x - _LineLeft(line);
	float width = 0;
	while (offset < end && text[offset] != '\n') {
		int32 next = offset + fData->CharLength(offset);
		float nextWidth = _WidthInLine(lines[line].offset, next);
		if (x < (width + nextWidth) / 2)
			return offset;
		width = nextWidth;
		offset = next;
	}
	// A wrapped line ends before its last blanks: the caret stays on the line.
	if (offset == end && end < length && line + 1 < CountLines() && offset > lines[line].offset)
		offset = _PreviousChar(offset);
	return offset;
}


// Where a line's text begins, as its alignment puts it.
float
BTextView::_LineLeft(int32 line) const
{
	if (fAlignment == B_ALIGN_LEFT || line >= CountLines())
		return fTextRect.left;
	float room = fTextRect.Width() - fData->lines[fData->LineIndex(line)].width;
	if (fAlignment == B_ALIGN_CENTER)
		room /= 2;
	return fTextRect.left + std::max(0.0f, floorf(room));
}


// The width of the text from the start of its line to offset, tabs included.
float
BTextView::_WidthInLine(int32 lineStart, int32 offset) const
{
	const std::string& text = fData->text;
	float width = 0;
	int32 at = lineStart;
	while (at < offset) {
		char c = text[at];
		if (c == '\n')
			break;
		if (c == B_TAB) {
			float tab = fTabWidth - fmodf(width, fTabWidth);
			width += roundf(tab) == 0 ? fTabWidth : tab;
			at++;
			continue;
		}
		const StyleRun& run = fData->runs[fData->RunAt(at)];
		int32 pieceEnd = at;
		while (pieceEnd < offset && text[pieceEnd] != B_TAB && text[pieceEnd] != '\n'
			&& &fData->runs[fData->RunAt(pieceEnd)] == &run)
			pieceEnd += fData->CharLength(pieceEnd);
		width += run.font.StringWidth(text.c_str() + at, pieceEnd - at);
		at = pieceEnd;
	}
	return width;
}


int32
BTextView::OffsetAt(int32 line) const
{
	if (line >= CountLines())
		return fData->Length();
	return fData->lines[fData->LineIndex(line)].offset;
}


float
BTextView::LineWidth(int32 line) const
{
	return fData->lines[fData->LineIndex(line)].width;
}


float
BTextView::LineHeight(int32 line) const
{
	return TextHeight(line, line);
}


float
BTextView::TextHeight(int32 startLine, int32 endLine) const
{
	const std::vector<TextLine>& lines = fData->lines;
	int32 count = CountLines();
	startLine = fData->LineIndex(startLine);
	endLine = fData->LineIndex(endLine);
	if (endLine < startLine)
		return 0;
	float height = lines[endLine + 1].origin - lines[startLine].origin;
	// Room for the empty line after a closing newline
	if (startLine != endLine && endLine == count - 1 && fData->Length() > 0
		&& fData->text.back() == '\n')
		height += lines[endLine + 1].origin - lines[endLine].origin;
	return ceilf(height);
}


// Lays the lines out again and draws them anew.
void
BTextView::_Refresh()
{
	_BreakLines();
	if (Window() != NULL)
		Invalidate();
}


void
BTextView::_BreakLines()
{
	std::vector<TextLine>& lines = fData->lines;
	const std::vector<StyleRun>& runs = fData->runs;
	int32 length = fData->Length();
	lines.clear();

	float origin = 0;
	int32 start = 0;
	do {
		TextLine line;
		line.offset = start;
		line.origin = origin;
		int32 end = _FindLineEnd(start, &line.width);

		// The tallest run sets the baseline, the deepest the line below it.
		float ascent = 0;
		float descent = 0;
		int32 first = fData->RunAt(std::min(start, std::max<int32>(length - 1, 0)));
		int32 last = end > start ? fData->RunAt(end - 1) : first;
		for (int32 i = first; i <= last; i++) {
			font_height height;
			runs[i].font.GetHeight(&height);
			ascent = std::max(ascent, height.ascent);
			descent = std::max(descent, height.descent + height.leading);
		}
		line.ascent = ascent;
		lines.push_back(line);
		origin = ceilf(origin + ascent + descent);
		start = end;
	} while (start < length);

	TextLine after;
	after.offset = length;
	after.origin = origin;
	after.ascent = 0;
	after.width = 0;
	lines.push_back(after);
}


// Where the line that begins at start ends: after its newline, or where the next whole
// character would reach past the text rectangle, at the last place the line may end.
// Blanks may hang past the edge; a line holds at least one character.
int32
BTextView::_FindLineEnd(int32 start, float* _width)
{
	const std::string& text = fData->text;
	int32 length = fData->Length();
	float maxWidth = fTextRect.Width();
	float width = 0;
	float widthAtBreak = 0;
	int32 lastBreak = -1;

	int32 offset = start;
	while (offset < length) {
		char c = text[offset];
		if (c == '\n') {
			*_width = width;
			return offset + 1;
		}
		int32 charLength = fData->CharLength(offset);
		float advance;
		if (c == B_TAB) {
			advance = fTabWidth - fmodf(width, fTabWidth);
			if (roundf(advance) == 0)
				advance = fTabWidth;
		} else {
			const StyleRun& run = fData->runs[fData->RunAt(offset)];
			advance = run.font.StringWidth(text.c_str() + offset, charLength);
		}

		if (fWordWrap && !is_blank(c) && offset > start && width + advance > maxWidth) {
			if (lastBreak > start) {
				*_width = widthAtBreak;
				return lastBreak;
			}
			*_width = width;
			return offset;
		}
		width += advance;
		offset += charLength;
		if (CanEndLine(offset - charLength)) {
			lastBreak = offset;
			widthAtBreak = width;
		}
	}
	*_width = width;
	return length;
}
