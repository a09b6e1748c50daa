/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "wg_Prefs.h"
#include "wg_Search.h"


// A value that grows past this many bytes ends the scan.
static const int32 kMaxValueLength = 500;
// Pages are read as lines of at most this many bytes and the terminator.
static const size_t kLineBuffer = 2048;


// Where a value that starts at `start` ends: at the first "<"; failing that at the first
// apostrophe, semicolon, double quote or ">" in this order of preference. A double quote
// before that end ends it earlier. Without any of them the value runs to the end of the line.
static const char*
value_end(const char* line, const char* start)
{
	const char* end = strchr(start, '<');
	if (end == NULL)
		end = strchr(start, '\'');
	if (end == NULL)
		end = strchr(start, ';');
	if (end == NULL)
		end = strchr(start, '"');
	if (end == NULL)
		end = strchr(start, '>');
	if (end == NULL)
		return start + strlen(start);

	const char* quote = strchr(start, '"');
	if (quote != NULL && quote > line && quote < end)
		end = quote;
	return end;
}


static void
clean_value(BString& value)
{
	value.RemoveAll("\\");
	value.RemoveSet(";)(>\"");
	value.ReplaceAll("C.C", " C");
	value.ReplaceAll("0%", "0 % ");
	value.RemoveAll("&nbsp");
	value.ReplaceAll("&deg", "\xc2\xb0 ");
	value.RemoveAll("document.writeln");
	if (value.ByteAt(0) == '#')
		value.Append(".png");
}


// The page in memory, cut into the pieces a line reader with a 2048-byte buffer delivers:
// up to and including a line end, at most 2047 bytes. Searching the whole page once for all
// patterns is much faster than searching every line for every pattern; a match counts
// where the line reader would have seen it, that is before the first NUL of its piece.
class Page {
public:
	Page() : fData(NULL), fSize(0) { }

	~Page() { free(fData); }

	bool
	Read(const char* path)
	{
		FILE* file = path != NULL ? fopen(path, "r") : NULL;
		if (file == NULL)
			return false;
		// Sized to the file, so that it is read in one go.
		size_t capacity = 0;
		if (fseek(file, 0, SEEK_END) == 0) {
			long size = ftell(file);
			if (size >= 0)
				capacity = (size_t)size + 65536 + 1;
			rewind(file);
		}
		for (;;) {
			if (fSize + 65536 + 1 > capacity || fData == NULL) {
				capacity = max_c(capacity, (fSize + 65536 + 1) * 2);
				char* data = (char*)realloc(fData, capacity);
				if (data == NULL)
					break;
				fData = data;
			}
			size_t bytes = fread(fData + fSize, 1, capacity - fSize - 1, file);
			fSize += bytes;
			if (bytes == 0)
				break;
		}
		fclose(file);
		if (fData == NULL)
			return false;
		fData[fSize] = '\0';

		// Offsets are kept in 32 bits, four bytes a piece: a page of nothing but line ends
		// then needs four times its size, not more.
		if (fSize > kMaxPageSize) {
			printf(" page too large to read: %zu bytes\n", fSize);
			return false;
		}
		// Lines of a page are rarely shorter than this on average; growing the list would
		// copy it.
		fStarts.reserve(fSize / 32 + 16);
		for (size_t start = 0; start < fSize;) {
			size_t limit = min_c(fSize, start + kLineBuffer - 1);
			const char* lineEnd = (const char*)memchr(fData + start, '\n', limit - start);
			size_t end = lineEnd != NULL ? lineEnd - fData + 1 : limit;
			fStarts.push_back((uint32)start);
			start = end;
		}
		return true;
	}

	int32
	CountPieces() const
	{
		return (int32)fStarts.size();
	}

	// The piece as the line reader holds it: its text up to the first NUL, terminated.
	void
	CopyPiece(int32 index, char* line) const
	{
		size_t start = fStarts[index];
		size_t textEnd = _TextEnd(index);
		memcpy(line, fData + start, textEnd - start);
		line[textEnd - start] = '\0';
	}

	// Finds every occurrence of the patterns in one pass over the page; a pattern's id is
	// its index in the list. Call after MarkAltQuotes().
	void
	FindAll(const std::vector<BString>& patterns)
	{
		fOccurrences.assign(patterns.size(), std::vector<uint32>());
		fLengths.clear();
		MultiSearch search;
		for (const BString& pattern : patterns) {
			fLengths.push_back(pattern.Length());
			search.Add(pattern.String(), pattern.Length());
		}
		if (search.TotalLength() <= kMaxAutomatonStates) {
			search.Build();
			search.Scan(fData, fSize,
				[this](size_t id, size_t start) { fOccurrences[id].push_back((uint32)start); });
		} else {
			for (size_t id = 0; id < patterns.size(); id++) {
				if (fLengths[id] == 0)
					continue;
				for (size_t at = _Search(0, patterns[id].String()); at != kNotFound;
					 at = _Search(at + 1, patterns[id].String())) {
					fOccurrences[id].push_back((uint32)at);
				}
			}
		}
	}

	// Marks the pieces that hold any of the patterns `first` to `last` (not included).
	std::vector<bool>
	PiecesHolding(size_t first, size_t last) const
	{
		std::vector<bool> holding(fStarts.size(), false);
		for (size_t id = first; id < last; id++) {
			if (fLengths[id] == 0) {
				holding.assign(fStarts.size(), true);
				return holding;
			}
			for (size_t start : fOccurrences[id]) {
				// The piece that holds the occurrence's first byte.
				size_t low = 0;
				size_t high = fStarts.size();
				while (high - low > 1) {
					size_t middle = (low + high) / 2;
					if (fStarts[middle] <= start)
						low = middle;
					else
						high = middle;
				}
				if (start + fLengths[id] <= _TextEnd(low))
					holding[low] = true;
			}
		}
		return holding;
	}

	// Where pattern `id` first stands in the piece, or -1. `cursor` walks the pattern's
	// occurrences from one piece to the next; it starts at 0.
	ssize_t
	Find(int32 index, size_t id, size_t& cursor) const
	{
		const size_t start = fStarts[index];
		const size_t length = fLengths[id];
		if (length == 0)
			return 0;
		const std::vector<uint32>& found = fOccurrences[id];
		while (cursor < found.size() && found[cursor] < start)
			cursor++;
		if (cursor == found.size() || found[cursor] + length > _TextEnd(index))
			return -1;
		return found[cursor] - start;
	}

	// An image's source attribute ends at the quote before " alt=": it becomes an apostrophe.
	void
	MarkAltQuotes()
	{
		static const char kAltQuote[] = "\" alt=";
		const size_t length = sizeof(kAltQuote) - 1;
		size_t piece = 0;
		for (size_t position = 0; position < fSize;) {
			size_t offset = _Search(position, kAltQuote);
			if (offset == kNotFound)
				break;
			while (_End(piece) <= offset)
				piece++;
			if (offset + length <= _TextEnd(piece))
				fData[offset] = '\'';
			position = offset + 1;
		}
	}

	static constexpr size_t kNotFound = (size_t)-1;

private:
	// Patterns that are together longer than this are searched for one by one.
	static constexpr size_t kMaxAutomatonStates = 4096;

	// strstr is the fastest search here; NUL bytes in the page end its runs, so it goes on
	// after each of them.
	size_t
	_Search(size_t from, const char* pattern) const
	{
		while (from < fSize) {
			const char* found = strstr(fData + from, pattern);
			if (found != NULL)
				return found - fData;
			from += strlen(fData + from) + 1;
		}
		return kNotFound;
	}

	// Where a piece ends, and where its text ends: at its first NUL.
	size_t
	_End(size_t index) const
	{
		return index + 1 < fStarts.size() ? fStarts[index + 1] : fSize;
	}

	size_t
	_TextEnd(size_t index) const
	{
		size_t start = fStarts[index];
		return start + strnlen(fData + start, _End(index) - start);
	}

	static constexpr size_t kMaxPageSize = 0xffffffffU;

	char* fData;
	size_t fSize;
	std::vector<uint32> fStarts;
	std::vector<std::vector<uint32>> fOccurrences;
	std::vector<size_t> fLengths;
};


void
ExtractContent(const char* path, BList* patternList, BList* labelList, BList* valueList)
{
	printf(" = ExtractContent =\n");
	if (patternList == NULL) {
		printf(" -NO Search-BList ");
		return;
	}
	if (labelList == NULL) {
		printf(" -NO Titels-BList ");
		return;
	}
	if (valueList == NULL) {
		printf(" -NO Values-BList ");
		return;
	}

	const int32 patternCount = patternList->CountItems();
	const int32 labelCount = labelList->CountItems();
	int32 matches = -1;

	// The label of the latest match: the same label matching again adds to its value.
	BString previousLabel;

	Page page;
	if (page.Read(path)) {
		page.MarkAltQuotes();

		char line[kLineBuffer];
		std::vector<BString*> patterns(patternCount);
		std::vector<BString*> labels(patternCount);
		// The patterns to find: each label's, then the two that mark a table row.
		std::vector<BString> searched;
		for (int32 j = 0; j < patternCount; j++) {
			patterns[j] = (BString*)patternList->ItemAt(j);
			labels[j] = (BString*)labelList->ItemAt(j);
			searched.push_back(patterns[j] != NULL ? *patterns[j] : BString());
		}
		const size_t rowStartId = searched.size();
		searched.push_back("<tr>");
		const size_t rowEndId = searched.size();
		searched.push_back("</tr>");
		page.FindAll(searched);
		std::vector<size_t> cursors(searched.size(), 0);

		// Only the pieces that hold a pattern or a row's mark need a look, unless a missing
		// pattern or label has to be reported for every piece.
		bool everyPiece = false;
		for (int32 j = 0; j < patternCount; j++)
			everyPiece = everyPiece || patterns[j] == NULL || labels[j] == NULL;
		std::vector<bool> holdsPattern = page.PiecesHolding(0, rowStartId);
		std::vector<bool> holdsRow = page.PiecesHolding(rowStartId, searched.size());

		for (int32 i = 0; i < page.CountPieces(); i++) {
			if (matches >= labelCount) {
				printf(" %" B_PRId32 " break \n", matches);
				break;
			}

			if (!everyPiece && !holdsPattern[i] && !holdsRow[i])
				continue;

			bool copied = false;
			if (holdsRow[i] && page.Find(i, rowStartId, cursors[rowStartId]) > 0
				&& page.Find(i, rowEndId, cursors[rowEndId]) > 0) {
				page.CopyPiece(i, line);
				copied = true;
				printf(" full <tr>...</tr> in one line\n %s\n", line);
			}

			for (int32 j = 0; j < patternCount && (everyPiece || holdsPattern[i]); j++) {
				BString* pattern = patterns[j];
				BString* label = labels[j];
				if (pattern == NULL) {
					printf(" oops , kein fSearch \n");
					continue;
				}
				if (label == NULL) {
					printf(" oops , kein fTitels \n");
					continue;
				}

				ssize_t found = page.Find(i, j, cursors[j]);
				if (found < 0)
					continue;
				if (!copied) {
					page.CopyPiece(i, line);
					copied = true;
				}
				const char* start = line + found + pattern->Length();
				const char* end = value_end(line, start);
				BString value(start, end - start);
				clean_value(value);

				if (value.Length() > 0) {
					BString* item = (BString*)valueList->ItemAt(j);
					if (item == NULL) {
						// A value list shorter than the patterns has no place for it.
						printf(" oops , kein fValue \n");
					} else if (*label != previousLabel) {
						valueList->ReplaceItem(j, new BString(value));
						delete item;
						item = (BString*)valueList->ItemAt(j);
						matches++;
					} else
						item->Append("@").Append(value);

					if (item != NULL && item->Length() > kMaxValueLength)
						matches = labelCount + 1;
				}
				previousLabel = *label;
			}
		}
	}

	// Every label and its value, as a line "\tlabel\tvalue", written to the log book at once.
	BString log;
	for (int32 i = 1; i < labelCount; i++) {
		BString* label = (BString*)labelList->ItemAt(i);
		BString* value = (BString*)valueList->ItemAt(i);
		if (label == NULL || value == NULL || label->StartsWith("[ROW_")
			|| label->StartsWith("[BG_") || label->StartsWith("[VIEW")) {
			continue;
		}
		log << "\t" << *label << "\t" << *value << "\n";
	}
	Prefs::getSTPrefs()->AppendToLogbuch(log.String(), log.Length());
}


//	#pragma mark - tokenizers


struct TokenizerState {
	int32 position;
	int32 rememberedLength;
	int32 currentLength;
};


static int
next_piece(TokenizerState& state, char separator, const char* text, char* out)
{
	if (text == NULL)
		text = "";
	state.currentLength = (int32)strlen(text);
	if (state.currentLength != state.rememberedLength) {
		state.position = 0;
		state.rememberedLength = state.currentLength;
	}

	out[0] = '\0';
	if (state.position >= state.currentLength)
		return 0;

	const char* start = text + state.position;
	const char* stop = strchr(start, separator);
	int32 length = stop != NULL ? (int32)(stop - start) : state.currentLength - state.position;
	if (length == 0)
		return 0;

	memcpy(out, start, length);
	out[length] = '\0';
	state.position += length + 1;
	return 1;
}


int
TupExtract(const char* text, char* out)
{
	static TokenizerState sState = {0, 0, 0};
	return next_piece(sState, '@', text, out);
}


int
TxExtract(const char* text, char* out)
{
	static TokenizerState sState = {0, 0, 0};
	return next_piece(sState, ' ', text, out);
}
