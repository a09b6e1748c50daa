/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <string.h>

#include <OS.h>

#include <vector>

#include "wg_PassFrame.h"
#include "wg_Prefs.h"
#include "wg_Search.h"


//	#pragma mark - line breaks


// Puts chosen tags at the start of a line and joins each table row into one line. After a
// semicolon the next byte, and after a "<" the next three, are copied without being looked
// at themselves.
void
AddBreaksText(const Text& input, Output& output)
{
	// The bytes that need a look outside a table row, and inside one.
	static uint8 sStops[2][256];
	if (sStops[0][(uint8)';'] == 0) {
		for (int32 row = 0; row < 2; row++) {
			sStops[row][(uint8)';'] = 1;
			sStops[row][(uint8)'<'] = 1;
		}
		sStops[1][(uint8)'\r'] = 1;
		sStops[1][(uint8)'\n'] = 1;
		sStops[1][(uint8)'\t'] = 1;
	}

	const uint8* data = (const uint8*)input.Data();
	const size_t size = input.Size();
	// Every four bytes read make at most eight; the line end comes last.
	char* out = output.Reserve(size * 2 + 8);
	if (out == NULL)
		return;
	char* const outStart = out;

	bool inRow = false;
	size_t i = 0;
	while (i < size) {
		const uint8* stops = sStops[inRow ? 1 : 0];
		// Eight bytes at a time while none of them needs a look.
		while (i + 8 <= size) {
			uint64 word = load_word(data + i);
			uint64 stop = bytes_equal(word, ';') | bytes_equal(word, '<');
			if (inRow) {
				stop |= bytes_equal(word, '\r') | bytes_equal(word, '\n') | bytes_equal(word, '\t');
			}
			if (stop != 0)
				break;
			memcpy(out, &word, sizeof(word));
			out += 8;
			i += 8;
		}
		while (i < size && stops[data[i]] == 0)
			*out++ = (char)data[i++];
		if (i == size)
			break;

		const uint8 c = data[i++];
		if (c != ';' && c != '<')
			continue; // a line end or tab within a row

		if (c == ';') {
			*out++ = ';';
			if (i == size)
				break;
			const uint8 d = data[i++];
			if (d == 'd') {
				*out++ = '\r';
				*out++ = '\n';
			}
			*out++ = (char)d;
			continue;
		}

		// The three bytes after "<"; past the end there are none (-1).
		const int a = i < size ? data[i] : -1;
		const int b = i + 1 < size ? data[i + 1] : -1;
		const int e = i + 2 < size ? data[i + 2] : -1;
		const size_t taken = min_c(size - i, (size_t)3);
		if (a == 't' && b == 'r')
			inRow = true;
		if (a == '/' && b == 't' && e == 'r')
			inRow = false;
		bool breakBefore = (a == 'd' && b == 'i') || (a == '/' && b == 'f')
			|| (a == '/' && b == 's' && e == 'p');
		if (breakBefore) {
			*out++ = '\r';
			*out++ = '\n';
		}
		if (a == 'i' && b == 'm' && e == 'g') {
			*out++ = '\r';
			*out++ = '\n';
		}
		if (!inRow && (a == 'i' || a == 'p' || a == 'z' || a == 's' || a == 'a')) {
			*out++ = '\r';
			*out++ = '\n';
		}
		*out++ = '<';
		memcpy(out, data + i, taken);
		out += taken;
		i += taken;
	}
	*out++ = '\r';
	*out++ = '\n';
	output.Commit(out - outStart);
}


void
AddBreaksInFile(const char* path)
{
	printf(" = AddBreaksInFile =\n");
	RunPass(path, 'x', AddBreaksText);
}


//	#pragma mark - entities and umlauts


struct Replacement {
	const char* from;
	const char* to;
};


// In this order; every row replaces all occurrences before the next row runs.
static const Replacement kCriticals[] = {
	{"&nbsp;", " <sp>"},
	{"<img", "\n<img"},
	{"<IMG", "\n<IMG"},
	{"&quot;", "`"},
	{"&Uuml;", "\xc3\x9c"},
	{"&uuml;", "\xc3\xbc"},
	{"&Auml;", "\xc3\x84"},
	{"&auml;", "\xc3\xa4"},
	{"&Ouml;", "\xc3\x96"},
	{"&ouml;", "\xc3\xb6"},
	{"&szlig;", "\xc3\x9f"},
	{"&deg;;", "\xc2\xb0 C."},
	{"&deg;", "\xc2\xb0 C"},
	{"&copy;", "\xc2\xa9"},
	{"&euro;", "\xe2\x82\xac"},
	{"&lt;br /&gt;", " "},
	{"<br \\/>", " "},
	{" --", " "},
	{"   ", " "},
	{"  ", " "},
	{"\xe4", "\xc3\xa4"},
	{"\xc4", "\xc3\x84"},
	{"\xf6", "\xc3\xb6"},
	{"\xfc", "\xc3\xbc"},
	{"\xdc", "\xc3\x9c"},
	{"\xdf", "\xc3\x9f"},
	{"  ", " "},
	{"&#228;", "\xc3\xa4"},
	{"&#252;", "\xc3\xbc"},
	{"&#246;", "\xc3\xb6"},
	{"&#196;", "\xc3\x84"},
	{"&#220;", "\xc3\x9c"},
	{"&#214;", "\xc3\x96"},
	{"&#223;", "\xc3\x9f"},
};

// The row of the escaped break "&lt;br /&gt;"; the row after it replaces "<br \/>".
static const size_t kEscapedBreakRow = 15;


// The rows are applied in one pass over a line, which gives what applying them one after
// the other gives, because of what they are:
// - The rows whose pattern starts with "&" or "<" (entities and tags) never overlap one
//   another except "&deg;;" and "&deg;", which start alike and are tried in row order;
//   none of them makes a "&" or "<" that a later row could find. Only one can make a later
//   row's pattern out of what stands around it: the blank of "&lt;br /&gt;" between "<br"
//   and "\/>" makes "<br \/>", and that is replaced where it is made.
// - The rows of one Latin-1 byte neither find nor make what any other row does.
// - The rows of blanks and dashes come after every row that can make a blank; they only
//   change runs of blanks and dashes, which the rows after them neither make nor find.
//   They are applied one after the other on each run that holds two blanks or " -".
class CriticalRows {
public:
	CriticalRows()
	{
		memset(fKind, kPlain, sizeof(fKind));
		for (const Replacement& row : kCriticals) {
			Row entry = {row.from, strlen(row.from), row.to, strlen(row.to)};
			uint8 first = (uint8)row.from[0];
			if (first == '&' || first == '<') {
				// Tried in row order among the rows with the same second byte.
				fKind[first] = kMarkup;
				fMarkupRows[(uint8)row.from[1]].push_back(entry);
			} else if (entry.fromLength == 1) {
				fKind[first] = kByte;
				fByteRow[first] = entry;
			} else {
				// These rows shorten runs of blanks and dashes, so they work in place.
				fRunRows.push_back(entry);
			}
		}
		char blanks[kBlankRuns];
		for (size_t length = 0; length < kBlankRuns; length++) {
			memset(blanks, ' ', length);
			fBlankRun[length] = length;
			for (const Row& row : fRunRows)
				fBlankRun[length] = _ReplaceAll(blanks, fBlankRun[length], row);
		}
	}

	void
	Replace(const char* line, size_t length, Output& output) const
	{
		// Entities, tags and Latin-1 bytes: a line of 2047 bytes at most doubles.
		char* const scanned = output.Reserve(length * 2 + 16);
		if (scanned == NULL)
			return;
		size_t size = 0;
		for (size_t i = 0; i < length;) {
			// Eight bytes at a time while none of them is "&", "<" or a Latin-1 byte.
			while (i + 8 <= length) {
				uint64 word = load_word(line + i);
				if (((word & kHighBits) | bytes_equal(word, '&') | bytes_equal(word, '<')) != 0)
					break;
				memcpy(scanned + size, &word, sizeof(word));
				size += 8;
				i += 8;
			}
			if (i == length)
				break;
			const uint8 c = (uint8)line[i];
			const Row* match = NULL;
			switch (fKind[c]) {
			case kPlain:
				break;
			case kByte:
				match = &fByteRow[c];
				break;
			case kMarkup:
				if (i + 1 < length) {
					for (const Row& row : fMarkupRows[(uint8)line[i + 1]]) {
						if (row.from[0] == (char)c && row.fromLength <= length - i
							&& memcmp(line + i, row.from, row.fromLength) == 0) {
							match = &row;
							break;
						}
					}
				}
				break;
			}
			if (match == NULL) {
				scanned[size++] = (char)c;
				i++;
				continue;
			}
			memcpy(scanned + size, match->to, match->toLength);
			size += match->toLength;
			i += match->fromLength;
			// The blank that stands for an escaped break can complete a "<br \/>" with
			// what stands before and after it, which the row after it replaces in turn.
			if (match->from == kCriticals[kEscapedBreakRow].from && size >= 4
				&& memcmp(scanned + size - 4, "<br ", 4) == 0 && length - i >= 3
				&& memcmp(line + i, "\\/>", 3) == 0) {
				const char* by = kCriticals[kEscapedBreakRow + 1].to;
				size -= 4;
				memcpy(scanned + size, by, strlen(by));
				size += strlen(by);
				i += 3;
			}
		}

		size = _ReplaceInRuns(scanned, size);
		output.Commit(size);
	}

private:
	enum { kPlain = 0, kByte, kMarkup };

	struct Row {
		const char* from;
		size_t fromLength;
		const char* to;
		size_t toLength;
	};

	// Applies the rows of blanks and dashes, one after the other, to each run of blanks and
	// dashes that starts with two blanks or " -"; returns the new size. Such a run's first
	// blank is the first of the run that any row can find.
	size_t
	_ReplaceInRuns(char* text, size_t size) const
	{
		size_t written = 0;
		size_t copied = 0;
		for (size_t i = 0; i + 1 < size;) {
			// Eight places at a time where no blank is followed by a blank or a dash.
			if (i + 9 <= size) {
				uint64 word = load_word(text + i);
				uint64 next = load_word(text + i + 1);
				if ((bytes_equal(word, ' ') & (bytes_equal(next, ' ') | bytes_equal(next, '-')))
					== 0) {
					i += 8;
					continue;
				}
			}
			if (text[i] != ' ' || (text[i + 1] != ' ' && text[i + 1] != '-')) {
				i++;
				continue;
			}
			size_t runEnd = i + 1;
			bool dashes = false;
			while (runEnd < size && (text[runEnd] == ' ' || text[runEnd] == '-')) {
				dashes = dashes || text[runEnd] == '-';
				runEnd++;
			}
			memmove(text + written, text + copied, i - copied);
			written += i - copied;
			size_t runLength = runEnd - i;
			if (!dashes && runLength < kBlankRuns) {
				// The rows make the same of every run of so many blanks.
				memset(text + written, ' ', fBlankRun[runLength]);
				runLength = fBlankRun[runLength];
			} else {
				memmove(text + written, text + i, runLength);
				for (const Row& row : fRunRows)
					runLength = _ReplaceAll(text + written, runLength, row);
			}
			written += runLength;
			copied = runEnd;
			i = runEnd;
		}
		if (copied == 0)
			return size;
		memmove(text + written, text + copied, size - copied);
		return written + size - copied;
	}

	// Replaces every occurrence from left to right, in place; what a replacement makes is
	// not searched again.
	static size_t
	_ReplaceAll(char* text, size_t length, const Row& row)
	{
		size_t written = 0;
		for (size_t i = 0; i < length;) {
			size_t same = 0;
			while (same < row.fromLength && i + same < length && text[i + same] == row.from[same])
				same++;
			if (same == row.fromLength) {
				memmove(text + written, row.to, row.toLength);
				written += row.toLength;
				i += row.fromLength;
			} else
				text[written++] = text[i++];
		}
		return written;
	}

	static const size_t kBlankRuns = 64;

	uint8 fKind[256];
	size_t fBlankRun[kBlankRuns];
	std::vector<Row> fMarkupRows[256];
	Row fByteRow[256];
	std::vector<Row> fRunRows;
};


void
ReplaceCriticalsText(const Text& input, Output& output)
{
	static const CriticalRows sRows;
	LineReader reader(input);
	const char* line;
	size_t length;
	while (reader.Next(line, length)) {
		sRows.Replace(line, length, output);
	}
	output.Append("\n", 1);
}


void
ReplaceCriticals(const char* path)
{
	printf(" = ReplaceCriticals =\n");
	RunPass(path, 'z', ReplaceCriticalsText);
	snooze(5000);
}


//	#pragma mark - tag counting


// Writes ":count|" and returns its length.
static size_t
format_count(char* out, int32 count)
{
	char digits[16];
	size_t length = 0;
	int64 value = count;
	bool negative = value < 0;
	if (negative)
		value = -value;
	do {
		digits[length++] = (char)('0' + value % 10);
		value /= 10;
	} while (value > 0);
	size_t written = 0;
	out[written++] = ':';
	if (negative)
		out[written++] = '-';
	while (length > 0)
		out[written++] = digits[--length];
	out[written++] = '|';
	return written;
}


static const size_t kNoBytes = (size_t)-1;


// Where the bytes first stand in the text, or kNoBytes.
static size_t
find_bytes(const std::vector<char>& text, const char* bytes, size_t length)
{
	if (length == 0)
		return 0;
	for (size_t at = 0; at + length <= text.size(); at++) {
		if (text[at] == bytes[0] && memcmp(text.data() + at, bytes, length) == 0)
			return at;
	}
	return kNoBytes;
}


// Numbers the first occurrence of each tag that the line holds, in the order of the tags:
// "<title>" becomes "<title>:0|" in the first line that holds it, "<title>:1|" in the
// next, and so on. A tag is looked for in what the tags before it made of the line.
static void
count_line(TagEntry* tags, uint32 found, const char* line, size_t length, Output& output)
{
	char marker[kTagPatternSize + 32];
	std::vector<char> copy(line, line + length);
	for (int32 i = 0; i < kTagCount; i++) {
		if ((found & (1u << i)) == 0)
			continue;
		TagEntry& tag = tags[i];
		size_t patternLength = strlen(tag.pattern);
		memcpy(marker, tag.pattern, patternLength);
		size_t markerLength = patternLength + format_count(marker + patternLength, tag.count);
		tag.count++;
		size_t at = find_bytes(copy, tag.pattern, patternLength);
		if (at != kNoBytes) {
			copy.erase(copy.begin() + at, copy.begin() + at + patternLength);
			copy.insert(copy.begin() + at, marker, marker + markerLength);
		}
	}
	output.Append(copy.data(), copy.size());
}


// Most lines hold no tag: one search for all tags over the file finds which lines hold
// which tags, and only those lines are changed.
void
CountTagsText(const Text& input, Output& output)
{
	static_assert(kTagCount <= 32, "a line's tags are bits of a 32-bit mask");
	TagEntry* tags = Prefs::getSTPrefs()->tagList;
	size_t tagLength[kTagCount];
	MultiSearch search;
	for (int32 i = 0; i < kTagCount; i++) {
		tagLength[i] = strnlen(tags[i].pattern, kTagPatternSize);
		search.Add(tags[i].pattern, tagLength[i]);
	}
	search.Build();

	struct Line {
		size_t start;
		size_t length;
		uint32 found;
	};
	std::vector<Line> lines;
	lines.reserve(input.Size() / 32 + 1);
	LineReader reader(input);
	const char* line;
	size_t length;
	bool endLine = false;
	while (reader.Next(line, length)) {
		if (line == kEndLine)
			endLine = true;
		else
			lines.push_back(Line {(size_t)(line - input.Data()), length, 0});
	}

	size_t current = 0;
	search.Scan(input.Data(), input.Size(), [&](size_t id, size_t start) {
		// Occurrences come in the order of their ends; a line holds one that lies in its
		// text before any NUL.
		size_t end = start + tagLength[id];
		while (current + 1 < lines.size() && lines[current + 1].start < end)
			current++;
		if (current < lines.size() && start >= lines[current].start
			&& end <= lines[current].start + lines[current].length) {
			lines[current].found |= 1u << id;
		}
	});

	for (const Line& piece : lines) {
		if (piece.found == 0)
			output.Append(input.Data() + piece.start, piece.length);
		else
			count_line(tags, piece.found, input.Data() + piece.start, piece.length, output);
	}
	if (endLine) {
		uint32 found = 0;
		for (int32 i = 0; i < kTagCount; i++) {
			if (tagLength[i] > 0 && strstr(kEndLine, tags[i].pattern) != NULL)
				found |= 1u << i;
		}
		count_line(tags, found, kEndLine, strlen(kEndLine), output);
	}
	output.Append("\r\n", 2);
}


void
TagCounter(const char* path)
{
	printf(" = TagCounter =\n");
	TagEntry* tags = Prefs::getSTPrefs()->tagList;
	for (int32 i = 0; i < kTagCount; i++)
		tags[i].count = 0;
	RunPass(path, 'y', CountTagsText);
}
