/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_SEARCH_H
#define _WG_SEARCH_H


#include <stddef.h>
#include <string.h>

#include <utility>
#include <vector>

#include <SupportDefs.h>


// Finds every occurrence of many patterns in one pass over a text: a search automaton whose
// states have a transition for every byte, so that each byte of the text costs one table
// lookup. Bytes that no pattern holds share one column of the table, which keeps the table
// small enough to stay in the processor's cache.
class MultiSearch {
public:
	MultiSearch() : fColumns(1), fStates(0), fMaxLength(0) { }

	// Adds a pattern; its id is the number of patterns added before it. An empty pattern
	// is never found.
	void
	Add(const char* pattern, size_t length)
	{
		fPatterns.push_back(Pattern {pattern, length});
		fMaxLength = max_c(fMaxLength, length);
	}

	size_t
	CountPatterns() const
	{
		return fPatterns.size();
	}

	size_t
	TotalLength() const
	{
		size_t total = 0;
		for (const Pattern& pattern : fPatterns)
			total += pattern.length;
		return total;
	}

	void
	Build()
	{
		// Column 0 is for the bytes no pattern holds; the pattern bytes take columns from 1.
		// A pattern holds no NUL, so at most 255 bytes need one, and a byte holds each column.
		memset(fColumn, 0, sizeof(fColumn));
		fColumns = 1;
		for (const Pattern& pattern : fPatterns) {
			for (size_t i = 0; i < pattern.length; i++) {
				uint8 byte = (uint8)pattern.text[i];
				if (fColumn[byte] == 0)
					fColumn[byte] = (uint8)fColumns++;
			}
		}

		// The tree of the patterns; -1 marks a missing transition.
		std::vector<int32> next(fColumns, -1);
		fStates = 1;
		fFirstId.assign(1, -1);
		fNextId.assign(fPatterns.size(), -1);
		for (size_t id = 0; id < fPatterns.size(); id++) {
			const Pattern& pattern = fPatterns[id];
			if (pattern.length == 0)
				continue;
			int32 state = 0;
			for (size_t i = 0; i < pattern.length; i++) {
				int32& slot = next[state * fColumns + fColumn[(uint8)pattern.text[i]]];
				if (slot < 0) {
					slot = fStates++;
					next.resize(fStates * fColumns, -1);
					fFirstId.push_back(-1);
				}
				state = next[state * fColumns + fColumn[(uint8)pattern.text[i]]];
			}
			// Patterns ending in the same state are reported in the order they were added.
			int32* link = &fFirstId[state];
			while (*link >= 0)
				link = &fNextId[*link];
			*link = (int32)id;
		}

		// Breadth first: a state's fallback is complete before the states below it.
		std::vector<int32> fallback(fStates, 0);
		fOutputLink.assign(fStates, -1);
		std::vector<int32> queue;
		queue.reserve(fStates);
		for (int32 column = 0; column < fColumns; column++) {
			if (next[column] < 0)
				next[column] = 0;
			else
				queue.push_back(next[column]);
		}
		for (size_t head = 0; head < queue.size(); head++) {
			int32 state = queue[head];
			for (int32 column = 0; column < fColumns; column++) {
				int32 child = next[state * fColumns + column];
				int32 viaFallback = next[fallback[state] * fColumns + column];
				if (child < 0) {
					next[state * fColumns + column] = viaFallback;
					continue;
				}
				fallback[child] = viaFallback;
				fOutputLink[child]
					= fFirstId[viaFallback] >= 0 ? viaFallback : fOutputLink[viaFallback];
				queue.push_back(child);
			}
		}

		// Each entry is the next state's row offset, doubled, plus one where something ends.
		fTable.resize(next.size());
		for (size_t i = 0; i < next.size(); i++) {
			int32 state = next[i];
			bool ends = fFirstId[state] >= 0 || fOutputLink[state] >= 0;
			fTable[i] = ((uint32)(state * fColumns) << 1) | (ends ? 1 : 0);
		}
	}

	// Calls found(id, start) for every occurrence, in the order of their ends.
	//
	// The text is read in four parts at once: each step of the automaton waits for the
	// table lookup of the step before, and four independent walks keep the processor busy
	// while it waits. Each part's walk starts early enough to have seen every occurrence
	// that ends in its part whole, and reports only those.
	template<typename Found>
	void
	Scan(const char* text, size_t size, Found found) const
	{
		if (fStates <= 1)
			return;
		const uint8* bytes = (const uint8*)text;
		if (size < 4 * kMinPart) {
			_Walk(bytes, 0, 0, size, [&](int32 state, size_t end) { _Report(state, end, found); });
			return;
		}

		const size_t part = size / 4;
		const size_t begin1 = part;
		const size_t begin2 = part * 2;
		const size_t begin3 = part * 3;
		uint32 entry0 = 0;
		uint32 entry1 = _Warm(bytes, begin1);
		uint32 entry2 = _Warm(bytes, begin2);
		uint32 entry3 = _Warm(bytes, begin3);

		// The ends found in the later parts wait for those of the parts before them.
		std::vector<std::pair<int32, size_t>> later[3];
		const uint32* table = fTable.data();
		for (size_t i = 0; i < part; i++) {
			entry0 = table[(entry0 >> 1) + fColumn[bytes[i]]];
			entry1 = table[(entry1 >> 1) + fColumn[bytes[begin1 + i]]];
			entry2 = table[(entry2 >> 1) + fColumn[bytes[begin2 + i]]];
			entry3 = table[(entry3 >> 1) + fColumn[bytes[begin3 + i]]];
			if (((entry0 | entry1 | entry2 | entry3) & 1) == 0)
				continue;
			if ((entry0 & 1) != 0)
				_Report(_State(entry0), i, found);
			if ((entry1 & 1) != 0)
				later[0].push_back({_State(entry1), begin1 + i});
			if ((entry2 & 1) != 0)
				later[1].push_back({_State(entry2), begin2 + i});
			if ((entry3 & 1) != 0)
				later[2].push_back({_State(entry3), begin3 + i});
		}
		for (const std::vector<std::pair<int32, size_t>>& ends : later) {
			for (const std::pair<int32, size_t>& end : ends)
				_Report(end.first, end.second, found);
		}
		// The last part takes the bytes that do not divide by four.
		_Walk(bytes, entry3, begin3 + part, size,
			[&](int32 state, size_t end) { _Report(state, end, found); });
	}

private:
	// Texts shorter than four of these are read in one walk.
	static const size_t kMinPart = 1024;

	int32
	_State(uint32 entry) const
	{
		return (int32)((entry >> 1) / fColumns);
	}

	// Reports every pattern that ends in `state` at byte `end`.
	template<typename Found>
	void
	_Report(int32 state, size_t end, Found& found) const
	{
		for (; state >= 0; state = fOutputLink[state]) {
			for (int32 id = fFirstId[state]; id >= 0; id = fNextId[id])
				found((size_t)id, end + 1 - fPatterns[id].length);
		}
	}

	// Walks bytes `from` to `to` (not included) from `entry`; calls ends(state, byte) where
	// something ends. Returns the entry after the last byte.
	template<typename Ends>
	uint32
	_Walk(const uint8* bytes, uint32 entry, size_t from, size_t to, Ends ends) const
	{
		const uint32* table = fTable.data();
		for (size_t i = from; i < to; i++) {
			entry = table[(entry >> 1) + fColumn[bytes[i]]];
			if ((entry & 1) != 0)
				ends(_State(entry), i);
		}
		return entry;
	}

	// The entry of a walk that starts at `begin`, having read the bytes before it that an
	// occurrence ending at `begin` or later can start with.
	uint32
	_Warm(const uint8* bytes, size_t begin) const
	{
		size_t from = begin - min_c(begin, fMaxLength > 0 ? fMaxLength - 1 : 0);
		return _Walk(bytes, 0, from, begin, [](int32, size_t) {});
	}

	struct Pattern {
		const char* text;
		size_t length;
	};

	std::vector<Pattern> fPatterns;
	uint8 fColumn[256];
	int32 fColumns;
	int32 fStates;
	size_t fMaxLength;
	std::vector<uint32> fTable;
	std::vector<int32> fFirstId;
	std::vector<int32> fNextId;
	std::vector<int32> fOutputLink;
};


#endif // _WG_SEARCH_H
