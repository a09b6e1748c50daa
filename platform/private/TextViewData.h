/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TEXT_VIEW_DATA_H
#define _TEXT_VIEW_DATA_H


#include <algorithm>
#include <string>
#include <vector>

#include <Font.h>
#include <GraphicsDefs.h>
#include <InterfaceDefs.h>


namespace BPrivate {


// The style from one offset on, up to the next run.
struct StyleRun {
	int32 offset;
	BFont font;
	rgb_color color;
};


// A line: its first byte, its top below the text rectangle's top, how far its tallest run
// reaches above the baseline, and its width. A last entry past the lines holds the text's
// length and the bottom of the last line.
struct TextLine {
	int32 offset;
	float origin;
	float ascent;
	float width;
};


// What a text view holds: its bytes, the runs of styles over them and the lines they
// make.
class TextViewData {
public:
	std::string text;
	// Sorted by offset, the first one at 0; never empty, so that an empty text still has
	// the style that the next text takes.
	std::vector<StyleRun> runs;
	std::vector<TextLine> lines;

	int32
	Length() const
	{
		return (int32)text.size();
	}

	// The run that styles the byte at offset; past the end, the last one.
	int32
	RunAt(int32 offset) const
	{
		int32 low = 0;
		int32 high = (int32)runs.size() - 1;
		while (low < high) {
			int32 middle = (low + high + 1) / 2;
			if (runs[middle].offset <= offset)
				low = middle;
			else
				high = middle - 1;
		}
		return low;
	}

	// Makes a run begin at offset (inside the text).
	void
	SplitAt(int32 offset)
	{
		if (offset <= 0 || offset >= Length())
			return;
		int32 index = RunAt(offset);
		if (runs[index].offset == offset)
			return;
		StyleRun run = runs[index];
		run.offset = offset;
		runs.insert(runs.begin() + index + 1, run);
	}

	// Joins neighbours of the same style.
	void
	Merge()
	{
		std::vector<StyleRun> merged;
		for (const StyleRun& run : runs) {
			if (!merged.empty() && merged.back().font == run.font
				&& merged.back().color == run.color)
				continue;
			merged.push_back(run);
		}
		runs.swap(merged);
	}

	// The bytes of the UTF-8 character at offset; a byte that does not begin a complete
	// character counts as one.
	int32
	CharLength(int32 offset) const
	{
		uint8 lead = (uint8)text[offset];
		int32 length = 1;
		if (lead >= 0xf0 && lead <= 0xf7)
			length = 4;
		else if (lead >= 0xe0)
			length = lead <= 0xef ? 3 : 1;
		else if (lead >= 0xc0)
			length = 2;
		if (offset + length > Length())
			return 1;
		for (int32 i = 1; i < length; i++) {
			if (((uint8)text[offset + i] & 0xc0) != 0x80)
				return 1;
		}
		return length;
	}

	int32
	LineIndex(int32 line) const
	{
		int32 count = (int32)lines.size() - 1;
		return std::max<int32>(0, std::min(line, count - 1));
	}
};


inline bool
is_blank(char c)
{
	return c == ' ' || c == B_TAB;
}


} // namespace BPrivate


#endif // _TEXT_VIEW_DATA_H
