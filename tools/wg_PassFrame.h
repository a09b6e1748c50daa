/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_PASS_FRAME_H
#define _WG_PASS_FRAME_H


// What the cleaning passes share: the file in memory, its lines as a line reader with a
// 2048-byte buffer delivers them, the output buffer, the frame that replaces the file by
// what a pass makes of it, and looks at eight bytes at a time.


#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <SupportDefs.h>


// Pages are read as lines of at most this many bytes and the terminator.
static const size_t kLineBuffer = 2048;


// A file's bytes in memory, followed by a NUL.
class Text {
public:
	Text() : fData(NULL), fSize(0) { }

	~Text() { free(fData); }

	bool
	Read(FILE* file)
	{
		size_t capacity = 65536;
		if (fseek(file, 0, SEEK_END) == 0) {
			long size = ftell(file);
			if (size > 0)
				capacity = (size_t)size + 1;
			rewind(file);
		}
		for (;;) {
			if (fData == NULL || fSize + 1 >= capacity) {
				if (fData != NULL)
					capacity *= 2;
				char* data = (char*)realloc(fData, capacity);
				if (data == NULL)
					return false;
				fData = data;
			}
			size_t bytes = fread(fData + fSize, 1, capacity - fSize - 1, file);
			fSize += bytes;
			if (bytes == 0)
				break;
		}
		fData[fSize] = '\0';
		return ferror(file) == 0;
	}

	// The bytes themselves, as if they were a file's.
	bool
	SetTo(const char* bytes, size_t size)
	{
		char* data = (char*)realloc(fData, size + 1);
		if (data == NULL)
			return false;
		fData = data;
		memcpy(fData, bytes, size);
		fSize = size;
		fData[fSize] = '\0';
		return true;
	}

	const char*
	Data() const
	{
		return fData;
	}
	size_t
	Size() const
	{
		return fSize;
	}

private:
	char* fData;
	size_t fSize;
};


inline constexpr char kEndLine[] = "<end>";


// Hands out the lines a line reader with a 2048-byte buffer delivers: up to and including a
// line end, at most 2047 bytes, each as its text up to the first NUL. When the reader's last
// read delivers nothing (after a final line end, a final full buffer, or in an empty file),
// it leaves "<end>" in its buffer, and that counts as one more line.
class LineReader {
public:
	LineReader(const Text& text)
		: fData(text.Data()), fSize(text.Size()), fPosition(0), fEndLine(true)
	{ }

	// Sets the line's text and length; false after the last line.
	bool
	Next(const char*& line, size_t& length)
	{
		if (fPosition < fSize) {
			size_t limit = min_c(fSize - fPosition, kLineBuffer - 1);
			const char* start = fData + fPosition;
			const char* lineEnd = (const char*)memchr(start, '\n', limit);
			size_t pieceLength = lineEnd != NULL ? lineEnd - start + 1 : limit;
			fPosition += pieceLength;
			// A short last piece meets the end of the file while it is read.
			fEndLine = lineEnd != NULL || pieceLength == kLineBuffer - 1;
			line = start;
			length = strnlen(start, pieceLength);
			return true;
		}
		if (!fEndLine)
			return false;
		fEndLine = false;
		line = kEndLine;
		length = strlen(kEndLine);
		return true;
	}

	// Where the next line starts in the text.
	size_t
	Position() const
	{
		return fPosition;
	}

private:
	const char* fData;
	size_t fSize;
	size_t fPosition;
	bool fEndLine;
};


// A growing output buffer.
class Output {
public:
	Output(size_t capacity) : fData((char*)malloc(capacity + 1)), fSize(0), fCapacity(capacity) { }

	~Output() { free(fData); }

	bool
	IsValid() const
	{
		return fData != NULL;
	}

	void
	Append(const char* bytes, size_t length)
	{
		if (fSize + length > fCapacity && !_Grow(length))
			return;
		memcpy(fData + fSize, bytes, length);
		fSize += length;
	}

	// Room for at least `length` more bytes, or NULL; Commit() what was written there.
	char*
	Reserve(size_t length)
	{
		if (fSize + length > fCapacity && !_Grow(length))
			return NULL;
		return fData + fSize;
	}

	void
	Commit(size_t length)
	{
		fSize += length;
	}

	const char*
	Data() const
	{
		return fData;
	}
	size_t
	Size() const
	{
		return fSize;
	}

	bool
	Write(FILE* file) const
	{
		return fwrite(fData, 1, fSize, file) == fSize;
	}

private:
	bool
	_Grow(size_t length)
	{
		size_t capacity = max_c(fCapacity * 2, fSize + length);
		char* data = (char*)realloc(fData, capacity + 1);
		if (data == NULL)
			return false;
		fData = data;
		fCapacity = capacity;
		return true;
	}

	char* fData;
	size_t fSize;
	size_t fCapacity;
};


typedef void (*transform_func)(const Text& input, Output& output);

// What the three passes make of a file's text, in memory.
void AddBreaksText(const Text& input, Output& output);
void ReplaceCriticalsText(const Text& input, Output& output);
// Numbers the tag-list markers; the counts go on from what the tag table holds.
void CountTagsText(const Text& input, Output& output);

// Transforms the file into a temporary file next to it (the path and `letter`), removes
// the file with an "rm" command, renames the temporary file to its name and marks it as
// source text.
void RunPass(const char* path, char letter, transform_func transform);


//	#pragma mark - eight bytes at a time


const uint64 kOnes = 0x0101010101010101ULL;
const uint64 kHighBits = 0x8080808080808080ULL;


inline uint64
load_word(const void* bytes)
{
	uint64 word;
	memcpy(&word, bytes, sizeof(word));
	return word;
}


// The high bit of every byte of `word` that equals `byte`, and no other bit.
inline uint64
bytes_equal(uint64 word, uint8 byte)
{
	uint64 value = word ^ (kOnes * byte);
	return ~(((value & ~kHighBits) + ~kHighBits) | value | ~kHighBits);
}


#endif // _WG_PASS_FRAME_H
