/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _B_STRING_H
#define _B_STRING_H


#include <stdarg.h>
#include <string.h>

#include <SupportDefs.h>


class BStringRef;


// A string of bytes, normally UTF-8 text. Lengths and offsets count bytes unless a method
// says it counts characters. String() is never NULL; an empty string gives "". A NULL
// const char* argument stands for the empty string.
class BString {
public:
	BString();
	BString(const char* string);
	BString(const BString& string);
	BString(const char* string, int32 maxLength);
	BString(BString&& string) noexcept;
	~BString();

	// Access
	const char* String() const;
	int32 Length() const;
	int32 CountChars() const;
	int32 CountBytes(int32 fromCharOffset, int32 charCount) const;
	bool IsEmpty() const;

	uint32 HashValue() const;
	static uint32 HashValue(const char* string);

	// Assignment
	BString& operator=(const BString& string);
	BString& operator=(const char* string);
	BString& operator=(char c);
	BString& operator=(BString&& string) noexcept;

	BString& SetTo(const char* string);
	BString& SetTo(const char* string, int32 maxLength);

	BString& SetTo(const BString& string);
	BString& Adopt(BString& from);

	BString& SetTo(const BString& string, int32 maxLength);
	BString& Adopt(BString& from, int32 maxLength);

	BString& SetTo(char c, int32 count);

	BString& SetToFormat(const char* format, ...) __attribute__((format(__printf__, 2, 3)));
	BString& SetToFormatVarArgs(const char* format, va_list args)
		__attribute__((format(__printf__, 2, 0)));

	int ScanWithFormat(const char* format, ...) __attribute__((format(__scanf__, 2, 3)));

	// Substring copying
	BString& CopyInto(BString& into, int32 fromOffset, int32 length) const;
	void CopyInto(char* into, int32 fromOffset, int32 length) const;

	// Appending
	BString& operator+=(const BString& string);
	BString& operator+=(const char* string);
	BString& operator+=(char c);

	BString& Append(const BString& string);
	BString& Append(const char* string);

	BString& Append(const BString& string, int32 length);
	BString& Append(const char* string, int32 length);
	BString& Append(char c, int32 count);

	BString& AppendFormat(const char* format, ...) __attribute__((format(__printf__, 2, 3)));
	BString& AppendFormatVarArgs(const char* format, va_list args)
		__attribute__((format(__printf__, 2, 0)));

	// Prepending
	BString& Prepend(const char* string);
	BString& Prepend(const BString& string);
	BString& Prepend(const char* string, int32 length);
	BString& Prepend(const BString& string, int32 length);
	BString& Prepend(char c, int32 count);

	// Inserting
	BString& Insert(const char* string, int32 position);
	BString& Insert(const char* string, int32 length, int32 position);
	BString& Insert(const char* string, int32 fromOffset, int32 length, int32 position);
	BString& Insert(const BString& string, int32 position);
	BString& Insert(const BString& string, int32 length, int32 position);
	BString& Insert(const BString& string, int32 fromOffset, int32 length, int32 position);
	BString& Insert(char c, int32 count, int32 position);

	// Removing
	BString& Truncate(int32 newLength, bool lazy = true);
	BString& TruncateChars(int32 newCharCount, bool lazy = true);

	BString& Remove(int32 from, int32 length);

	BString& RemoveFirst(const BString& string);
	BString& RemoveLast(const BString& string);
	BString& RemoveAll(const BString& string);

	BString& RemoveFirst(const char* string);
	BString& RemoveLast(const char* string);
	BString& RemoveAll(const char* string);

	BString& RemoveSet(const char* setOfBytesToRemove);

	BString& MoveInto(BString& into, int32 from, int32 length);
	void MoveInto(char* into, int32 from, int32 length);

	// Compare functions
	bool operator<(const BString& string) const;
	bool operator<=(const BString& string) const;
	bool operator==(const BString& string) const;
	bool operator>=(const BString& string) const;
	bool operator>(const BString& string) const;
	bool operator!=(const BString& string) const;

	bool operator<(const char* string) const;
	bool operator<=(const char* string) const;
	bool operator==(const char* string) const;
	bool operator>=(const char* string) const;
	bool operator>(const char* string) const;
	bool operator!=(const char* string) const;

	// strcmp()-style compare functions
	int Compare(const BString& string) const;
	int Compare(const char* string) const;
	int Compare(const BString& string, int32 length) const;
	int Compare(const char* string, int32 length) const;

	int ICompare(const BString& string) const;
	int ICompare(const char* string) const;
	int ICompare(const BString& string, int32 length) const;
	int ICompare(const char* string, int32 length) const;

	// Searching; the functions return B_ERROR when nothing is found.
	int32 FindFirst(const BString& string) const;
	int32 FindFirst(const char* string) const;
	int32 FindFirst(const BString& string, int32 fromOffset) const;
	int32 FindFirst(const char* string, int32 fromOffset) const;
	int32 FindFirst(char c) const;
	int32 FindFirst(char c, int32 fromOffset) const;

	int32 FindLast(const BString& string) const;
	int32 FindLast(const char* string) const;
	int32 FindLast(const BString& string, int32 beforeOffset) const;
	int32 FindLast(const char* string, int32 beforeOffset) const;
	int32 FindLast(char c) const;
	int32 FindLast(char c, int32 beforeOffset) const;

	int32 IFindFirst(const BString& string) const;
	int32 IFindFirst(const char* string) const;
	int32 IFindFirst(const BString& string, int32 fromOffset) const;
	int32 IFindFirst(const char* string, int32 fromOffset) const;

	int32 IFindLast(const BString& string) const;
	int32 IFindLast(const char* string) const;
	int32 IFindLast(const BString& string, int32 beforeOffset) const;
	int32 IFindLast(const char* string, int32 beforeOffset) const;

	bool StartsWith(const BString& string) const;
	bool StartsWith(const char* string) const;
	bool StartsWith(const char* string, int32 length) const;

	bool IStartsWith(const BString& string) const;
	bool IStartsWith(const char* string) const;
	bool IStartsWith(const char* string, int32 length) const;

	bool EndsWith(const BString& string) const;
	bool EndsWith(const char* string) const;
	bool EndsWith(const char* string, int32 length) const;

	bool IEndsWith(const BString& string) const;
	bool IEndsWith(const char* string) const;
	bool IEndsWith(const char* string, int32 length) const;

	// Replacing
	BString& ReplaceFirst(char replaceThis, char withThis);
	BString& ReplaceLast(char replaceThis, char withThis);
	BString& ReplaceAll(char replaceThis, char withThis, int32 fromOffset = 0);
	BString& Replace(char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset = 0);
	BString& ReplaceFirst(const char* replaceThis, const char* withThis);
	BString& ReplaceLast(const char* replaceThis, const char* withThis);
	BString& ReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset = 0);
	BString& Replace(
		const char* replaceThis, const char* withThis, int32 maxReplaceCount, int32 fromOffset = 0);

	BString& IReplaceFirst(char replaceThis, char withThis);
	BString& IReplaceLast(char replaceThis, char withThis);
	BString& IReplaceAll(char replaceThis, char withThis, int32 fromOffset = 0);
	BString& IReplace(char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset = 0);
	BString& IReplaceFirst(const char* replaceThis, const char* withThis);
	BString& IReplaceLast(const char* replaceThis, const char* withThis);
	BString& IReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset = 0);
	BString& IReplace(
		const char* replaceThis, const char* withThis, int32 maxReplaceCount, int32 fromOffset = 0);

	BString& ReplaceSet(const char* setOfBytes, char with);
	BString& ReplaceSet(const char* setOfBytes, const char* with);

	// Unchecked char access; the const form gives 0 outside the string.
	char operator[](int32 index) const;
	BStringRef operator[](int32 index);

	// Checked char access
	char ByteAt(int32 index) const;
	const char* CharAt(int32 charIndex, int32* bytes = NULL) const;

	// Fast low-level manipulation
	char* LockBuffer(int32 maxLength);
	BString& UnlockBuffer(int32 length = -1);

	// Upercase <-> Lowercase
	BString& ToLower();
	BString& ToUpper();

	BString& Capitalize();
	BString& CapitalizeEachWord();

	// Escaping and De-escaping
	BString& CharacterEscape(const char* original, const char* setOfCharsToEscape, char escapeWith);
	BString& CharacterEscape(const char* setOfCharsToEscape, char escapeWith);
	BString& CharacterDeescape(const char* original, char escapeChar);
	BString& CharacterDeescape(char escapeChar);

	// Trimming
	BString& Trim();

	// Insert
	BString& operator<<(const char* string);
	BString& operator<<(const BString& string);
	BString& operator<<(char c);
	BString& operator<<(bool value);
	BString& operator<<(int value);
	BString& operator<<(unsigned int value);
	BString& operator<<(unsigned long value);
	BString& operator<<(long value);
	BString& operator<<(unsigned long long value);
	BString& operator<<(long long value);
	// Floating point numbers are always written with two decimals ("%.2f").
	BString& operator<<(float value);
	BString& operator<<(double value);

private:
	friend class BStringRef;

	bool _IsInside(const char* pointer) const;
	bool _Reserve(int32 length);
	char* _OpenGap(int32 offset, int32 removeLength, int32 insertLength);
	BString& _Splice(int32 offset, int32 removeLength, const char* source, int32 sourceLength);
	BString& _SpliceFill(int32 offset, int32 removeLength, char c, int32 count);
	void _SetLength(int32 length);

	int32 _FindAfter(const char* string, int32 offset, int32 length) const;
	int32 _IFindAfter(const char* string, int32 offset, int32 length) const;
	int32 _FindBefore(const char* string, int32 offset, int32 length) const;
	int32 _IFindBefore(const char* string, int32 offset, int32 length) const;

	BString& _DoReplace(const char* findThis, const char* replaceWith, int32 maxReplaceCount,
		int32 fromOffset, bool ignoreCase);
	BString& _DoReplaceLast(const char* findThis, const char* replaceWith, bool ignoreCase);
	BString& _DoReplaceChar(
		char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset, bool ignoreCase);
	BString& _DoFormat(const char* format, va_list args, bool append);

private:
	char* fPrivateData;
	int32 fLength;
	int32 fAllocated;
};


// Comparison of a const char* with a BString, the other way around
bool operator<(const char* a, const BString& b);
bool operator<=(const char* a, const BString& b);
bool operator==(const char* a, const BString& b);
bool operator>(const char* a, const BString& b);
bool operator>=(const char* a, const BString& b);
bool operator!=(const char* a, const BString& b);

// Non-member compare for sorting, etc.
int Compare(const BString& a, const BString& b);
int ICompare(const BString& a, const BString& b);
int Compare(const BString* a, const BString* b);
int ICompare(const BString* a, const BString* b);


// The byte that BString::operator[] gives out for writing. Outside the string, reading gives
// 0 and writing does nothing.
class BStringRef {
public:
	BStringRef(BString& string, int32 position);
	~BStringRef() { }

	operator char() const;

	char* operator&();
	const char* operator&() const;

	BStringRef& operator=(char c);
	BStringRef& operator=(const BStringRef& other);

private:
	BString& fString;
	int32 fPosition;
};


#endif // _B_STRING_H
