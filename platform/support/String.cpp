/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <String.h>

#include <stdio.h>
#include <stdlib.h>
#include <strings.h>


// The string keeps its bytes in fPrivateData, which is NULL while nothing was ever stored or
// holds fAllocated + 1 bytes, with a NUL at fPrivateData[fLength].

static const int32 kMaxLength = INT32_MAX - 1;
static const int32 kMinAllocation = 15;
static const int32 kReplaceAll = INT32_MAX;


static inline const char*
safestr(const char* string)
{
	return string != NULL ? string : "";
}


// The length of string, but no more than max (0 for a negative max or a NULL string).
static inline int32
strlen_clamp(const char* string, int32 max)
{
	if (string == NULL || max <= 0)
		return 0;

	return (int32)strnlen(string, max);
}


// value, kept within 0 and max
static inline int32
min_clamp0(int32 value, int32 max)
{
	if (value < 0)
		return 0;

	return value < max ? value : max;
}


static inline char
to_lower(char c)
{
	return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}


static inline char
to_upper(char c)
{
	return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}


static inline bool
is_alpha(char c)
{
	return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}


static inline bool
is_space(char c)
{
	return c == ' ' || (c >= '\t' && c <= '\r');
}


// Whether c is one of the bytes of set (the terminating NUL is not part of the set).
static inline bool
in_set(const char* set, char c)
{
	return c != '\0' && strchr(set, c) != NULL;
}


// The number of bytes taken by the first charCount UTF-8 characters of string, which has
// length bytes; a negative charCount counts all of them.
static int32
utf8_count_bytes(const char* string, int32 length, int32 charCount)
{
	if (charCount < 0)
		return length;

	int32 bytes = 0;
	while (bytes < length && charCount > 0) {
		bytes++;
		while (bytes < length && ((uint8)string[bytes] & 0xc0) == 0x80)
			bytes++;
		charCount--;
	}
	return bytes;
}


// #pragma mark - BString


BString::BString() : fPrivateData(NULL), fLength(0), fAllocated(0) { }


BString::BString(const char* string) : fPrivateData(NULL), fLength(0), fAllocated(0)
{
	SetTo(string);
}


BString::BString(const BString& string) : fPrivateData(NULL), fLength(0), fAllocated(0)
{
	SetTo(string);
}


BString::BString(const char* string, int32 maxLength)
	: fPrivateData(NULL), fLength(0), fAllocated(0)
{
	_Splice(0, 0, string, strlen_clamp(string, maxLength));
}


BString::BString(BString&& string) noexcept
	: fPrivateData(string.fPrivateData), fLength(string.fLength), fAllocated(string.fAllocated)
{
	string.fPrivateData = NULL;
	string.fLength = 0;
	string.fAllocated = 0;
}


BString::~BString()
{
	free(fPrivateData);
}


// #pragma mark - Access


const char*
BString::String() const
{
	return fPrivateData != NULL ? fPrivateData : "";
}


int32
BString::Length() const
{
	return fLength;
}


int32
BString::CountChars() const
{
	const char* string = String();
	int32 count = 0;
	for (int32 i = 0; i < fLength && string[i] != '\0'; i++) {
		if (((uint8)string[i] & 0xc0) != 0x80)
			count++;
	}
	return count;
}


int32
BString::CountBytes(int32 fromCharOffset, int32 charCount) const
{
	int32 from = utf8_count_bytes(String(), fLength, fromCharOffset < 0 ? 0 : fromCharOffset);
	return utf8_count_bytes(String() + from, fLength - from, charCount);
}


bool
BString::IsEmpty() const
{
	return fLength == 0;
}


uint32
BString::HashValue() const
{
	return HashValue(String());
}


/*static*/ uint32
BString::HashValue(const char* string)
{
	// a slightly modified hashpjw()
	uint32 hash = 0;
	if (string == NULL)
		return hash;

	for (; *string != '\0'; string++) {
		uint32 high = hash & 0xf0000000;
		if (high != 0)
			hash ^= high >> 24;
		hash = (hash << 4) + *string;
	}
	return hash;
}


// #pragma mark - Assignment


BString&
BString::operator=(const BString& string)
{
	if (&string != this)
		_Splice(0, fLength, string.String(), string.fLength);
	return *this;
}


BString&
BString::operator=(const char* string)
{
	string = safestr(string);
	if (string != String())
		SetTo(string, -1);
	return *this;
}


BString&
BString::operator=(char c)
{
	return SetTo(c, 1);
}


BString&
BString::operator=(BString&& string) noexcept
{
	if (&string != this) {
		free(fPrivateData);
		fPrivateData = string.fPrivateData;
		fLength = string.fLength;
		fAllocated = string.fAllocated;
		string.fPrivateData = NULL;
		string.fLength = 0;
		string.fAllocated = 0;
	}
	return *this;
}


BString&
BString::SetTo(const char* string)
{
	return operator=(string);
}


BString&
BString::SetTo(const char* string, int32 maxLength)
{
	if (maxLength < 0)
		maxLength = INT32_MAX;

	return _Splice(0, fLength, string, strlen_clamp(string, maxLength));
}


BString&
BString::SetTo(const BString& string)
{
	return operator=(string);
}


BString&
BString::Adopt(BString& from)
{
	if (&from == this)
		return *this;

	free(fPrivateData);
	fPrivateData = from.fPrivateData;
	fLength = from.fLength;
	fAllocated = from.fAllocated;
	from.fPrivateData = NULL;
	from.fLength = 0;
	from.fAllocated = 0;
	return *this;
}


BString&
BString::SetTo(const BString& string, int32 maxLength)
{
	if (maxLength < 0)
		maxLength = INT32_MAX;

	int32 length = min_clamp0(maxLength, string.fLength);
	if (&string == this)
		return Truncate(length);

	return _Splice(0, fLength, string.String(), length);
}


BString&
BString::Adopt(BString& from, int32 maxLength)
{
	int32 length = min_clamp0(maxLength, from.fLength);
	Adopt(from);
	return Truncate(length);
}


BString&
BString::SetTo(char c, int32 count)
{
	return _SpliceFill(0, fLength, c, count > 0 ? count : 0);
}


BString&
BString::SetToFormat(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	SetToFormatVarArgs(format, args);
	va_end(args);
	return *this;
}


BString&
BString::SetToFormatVarArgs(const char* format, va_list args)
{
	return _DoFormat(format, args, false);
}


int
BString::ScanWithFormat(const char* format, ...)
{
	if (format == NULL)
		return 0;

	va_list args;
	va_start(args, format);
	int result = vsscanf(String(), format, args);
	va_end(args);
	return result;
}


// #pragma mark - Substring copying


BString&
BString::CopyInto(BString& into, int32 fromOffset, int32 length) const
{
	if (&into == this)
		return into;

	if (fromOffset < 0 || fromOffset > fLength)
		return into.Truncate(0);

	return into.SetTo(String() + fromOffset, length);
}


void
BString::CopyInto(char* into, int32 fromOffset, int32 length) const
{
	if (into == NULL || fromOffset < 0 || fromOffset > fLength)
		return;

	length = min_clamp0(length, fLength - fromOffset);
	if (length > 0)
		memcpy(into, String() + fromOffset, length);
}


// #pragma mark - Appending


BString&
BString::operator+=(const BString& string)
{
	return _Splice(fLength, 0, string.String(), string.fLength);
}


BString&
BString::operator+=(const char* string)
{
	if (string != NULL)
		_Splice(fLength, 0, string, (int32)strnlen(string, kMaxLength));
	return *this;
}


BString&
BString::operator+=(char c)
{
	return _Splice(fLength, 0, &c, 1);
}


BString&
BString::Append(const BString& string)
{
	return operator+=(string);
}


BString&
BString::Append(const char* string)
{
	return operator+=(string);
}


BString&
BString::Append(const BString& string, int32 length)
{
	if (&string != this)
		_Splice(fLength, 0, string.String(), min_clamp0(length, string.fLength));
	return *this;
}


BString&
BString::Append(const char* string, int32 length)
{
	return _Splice(fLength, 0, string, strlen_clamp(string, length));
}


BString&
BString::Append(char c, int32 count)
{
	if (count > 0)
		_SpliceFill(fLength, 0, c, count);
	return *this;
}


BString&
BString::AppendFormat(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	_DoFormat(format, args, true);
	va_end(args);
	return *this;
}


BString&
BString::AppendFormatVarArgs(const char* format, va_list args)
{
	return _DoFormat(format, args, true);
}


// #pragma mark - Prepending


BString&
BString::Prepend(const char* string)
{
	if (string != NULL)
		_Splice(0, 0, string, (int32)strnlen(string, kMaxLength));
	return *this;
}


BString&
BString::Prepend(const BString& string)
{
	if (&string != this)
		_Splice(0, 0, string.String(), string.fLength);
	return *this;
}


BString&
BString::Prepend(const char* string, int32 length)
{
	return _Splice(0, 0, string, strlen_clamp(string, length));
}


BString&
BString::Prepend(const BString& string, int32 length)
{
	if (&string != this)
		_Splice(0, 0, string.String(), min_clamp0(length, string.fLength));
	return *this;
}


BString&
BString::Prepend(char c, int32 count)
{
	if (count > 0)
		_SpliceFill(0, 0, c, count);
	return *this;
}


// #pragma mark - Inserting


BString&
BString::Insert(const char* string, int32 position)
{
	return Insert(string, INT32_MAX, position);
}


BString&
BString::Insert(const char* string, int32 length, int32 position)
{
	if (string == NULL || position > fLength)
		return *this;

	length = strlen_clamp(string, length);
	if (position < 0) {
		// The part of the text that would lie before the start is dropped.
		int32 skip = min_clamp0(-(int64)position > INT32_MAX ? INT32_MAX : -position, length);
		string += skip;
		length -= skip;
		position = 0;
	}
	return _Splice(position, 0, string, length);
}


BString&
BString::Insert(const char* string, int32 fromOffset, int32 length, int32 position)
{
	if (string == NULL || fromOffset < 0 || strlen_clamp(string, fromOffset) < fromOffset)
		return *this;

	return Insert(string + fromOffset, length, position);
}


BString&
BString::Insert(const BString& string, int32 position)
{
	if (&string != this && string.fLength > 0)
		Insert(string.String(), position);
	return *this;
}


BString&
BString::Insert(const BString& string, int32 length, int32 position)
{
	if (&string != this && string.fLength > 0)
		Insert(string.String(), length, position);
	return *this;
}


BString&
BString::Insert(const BString& string, int32 fromOffset, int32 length, int32 position)
{
	if (&string != this && string.fLength > 0)
		Insert(string.String(), fromOffset, length, position);
	return *this;
}


BString&
BString::Insert(char c, int32 count, int32 position)
{
	if (position < 0) {
		count = (int64)count + position > 0 ? count + position : 0;
		position = 0;
	} else
		position = min_clamp0(position, fLength);

	if (count > 0)
		_SpliceFill(position, 0, c, count);
	return *this;
}


// #pragma mark - Removing


BString&
BString::Truncate(int32 newLength, bool lazy)
{
	if (newLength < 0)
		newLength = 0;

	if (newLength < fLength) {
		_SetLength(newLength);
		if (!lazy) {
			char* data = (char*)realloc(fPrivateData, newLength + 1);
			if (data != NULL) {
				fPrivateData = data;
				fAllocated = newLength;
			}
		}
	}
	return *this;
}


BString&
BString::TruncateChars(int32 newCharCount, bool lazy)
{
	return Truncate(CountBytes(0, newCharCount < 0 ? 0 : newCharCount), lazy);
}


BString&
BString::Remove(int32 from, int32 length)
{
	if (length > 0 && from >= 0 && from < fLength)
		_OpenGap(from, min_clamp0(length, fLength - from), 0);
	return *this;
}


BString&
BString::RemoveFirst(const BString& string)
{
	return RemoveFirst(string.String());
}


BString&
BString::RemoveLast(const BString& string)
{
	return RemoveLast(string.String());
}


BString&
BString::RemoveAll(const BString& string)
{
	return _DoReplace(string.String(), "", kReplaceAll, 0, false);
}


BString&
BString::RemoveFirst(const char* string)
{
	return _DoReplace(string, "", 1, 0, false);
}


BString&
BString::RemoveLast(const char* string)
{
	return _DoReplaceLast(string, "", false);
}


BString&
BString::RemoveAll(const char* string)
{
	return _DoReplace(string, "", kReplaceAll, 0, false);
}


BString&
BString::RemoveSet(const char* setOfBytesToRemove)
{
	return ReplaceSet(setOfBytesToRemove, "");
}


BString&
BString::MoveInto(BString& into, int32 from, int32 length)
{
	if (length != 0) {
		CopyInto(into, from, length);
		Remove(from, length);
	}
	return into;
}


void
BString::MoveInto(char* into, int32 from, int32 length)
{
	if (into != NULL) {
		CopyInto(into, from, length);
		Remove(from, length);
	}
}


// #pragma mark - Comparing


bool
BString::operator<(const BString& string) const
{
	return strcmp(String(), string.String()) < 0;
}


bool
BString::operator<=(const BString& string) const
{
	return strcmp(String(), string.String()) <= 0;
}


bool
BString::operator==(const BString& string) const
{
	return fLength == string.fLength && strcmp(String(), string.String()) == 0;
}


bool
BString::operator>=(const BString& string) const
{
	return strcmp(String(), string.String()) >= 0;
}


bool
BString::operator>(const BString& string) const
{
	return strcmp(String(), string.String()) > 0;
}


bool
BString::operator!=(const BString& string) const
{
	return !operator==(string);
}


bool
BString::operator<(const char* string) const
{
	return strcmp(String(), safestr(string)) < 0;
}


bool
BString::operator<=(const char* string) const
{
	return strcmp(String(), safestr(string)) <= 0;
}


bool
BString::operator==(const char* string) const
{
	return strcmp(String(), safestr(string)) == 0;
}


bool
BString::operator>=(const char* string) const
{
	return strcmp(String(), safestr(string)) >= 0;
}


bool
BString::operator>(const char* string) const
{
	return strcmp(String(), safestr(string)) > 0;
}


bool
BString::operator!=(const char* string) const
{
	return strcmp(String(), safestr(string)) != 0;
}


int
BString::Compare(const BString& string) const
{
	return strcmp(String(), string.String());
}


int
BString::Compare(const char* string) const
{
	return strcmp(String(), safestr(string));
}


int
BString::Compare(const BString& string, int32 length) const
{
	return Compare(string.String(), length);
}


int
BString::Compare(const char* string, int32 length) const
{
	// A negative length compares the whole strings.
	if (length < 0)
		return strcmp(String(), safestr(string));

	return strncmp(String(), safestr(string), length);
}


int
BString::ICompare(const BString& string) const
{
	return strcasecmp(String(), string.String());
}


int
BString::ICompare(const char* string) const
{
	return strcasecmp(String(), safestr(string));
}


int
BString::ICompare(const BString& string, int32 length) const
{
	return ICompare(string.String(), length);
}


int
BString::ICompare(const char* string, int32 length) const
{
	if (length < 0)
		return strcasecmp(String(), safestr(string));

	return strncasecmp(String(), safestr(string), length);
}


// #pragma mark - Searching


int32
BString::FindFirst(const BString& string) const
{
	return _FindAfter(string.String(), 0, string.fLength);
}


int32
BString::FindFirst(const char* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _FindAfter(string, 0, (int32)strnlen(string, kMaxLength));
}


int32
BString::FindFirst(const BString& string, int32 fromOffset) const
{
	if (fromOffset < 0)
		return B_ERROR;

	return _FindAfter(string.String(), min_clamp0(fromOffset, fLength), string.fLength);
}


int32
BString::FindFirst(const char* string, int32 fromOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	if (fromOffset < 0)
		return B_ERROR;

	return _FindAfter(string, min_clamp0(fromOffset, fLength), (int32)strnlen(string, kMaxLength));
}


int32
BString::FindFirst(char c) const
{
	return FindFirst(c, 0);
}


int32
BString::FindFirst(char c, int32 fromOffset) const
{
	if (fromOffset < 0)
		return B_ERROR;

	const char* string = String();
	for (int32 i = min_clamp0(fromOffset, fLength); i < fLength; i++) {
		if (string[i] == c)
			return i;
	}
	return B_ERROR;
}


int32
BString::FindLast(const BString& string) const
{
	return _FindBefore(string.String(), fLength, string.fLength);
}


int32
BString::FindLast(const char* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _FindBefore(string, fLength, (int32)strnlen(string, kMaxLength));
}


int32
BString::FindLast(const BString& string, int32 beforeOffset) const
{
	return _FindBefore(string.String(), min_clamp0(beforeOffset, fLength), string.fLength);
}


int32
BString::FindLast(const char* string, int32 beforeOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _FindBefore(
		string, min_clamp0(beforeOffset, fLength), (int32)strnlen(string, kMaxLength));
}


int32
BString::FindLast(char c) const
{
	return FindLast(c, fLength - 1);
}


int32
BString::FindLast(char c, int32 beforeOffset) const
{
	if (beforeOffset < 0)
		return B_ERROR;

	// The byte at beforeOffset itself is looked at too.
	const char* string = String();
	for (int32 i = min_clamp0(beforeOffset, fLength - 1); i >= 0 && i < fLength; i--) {
		if (string[i] == c)
			return i;
	}
	return B_ERROR;
}


int32
BString::IFindFirst(const BString& string) const
{
	return _IFindAfter(string.String(), 0, string.fLength);
}


int32
BString::IFindFirst(const char* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _IFindAfter(string, 0, (int32)strnlen(string, kMaxLength));
}


int32
BString::IFindFirst(const BString& string, int32 fromOffset) const
{
	return _IFindAfter(string.String(), min_clamp0(fromOffset, fLength), string.fLength);
}


int32
BString::IFindFirst(const char* string, int32 fromOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _IFindAfter(string, min_clamp0(fromOffset, fLength), (int32)strnlen(string, kMaxLength));
}


int32
BString::IFindLast(const BString& string) const
{
	return _IFindBefore(string.String(), fLength, string.fLength);
}


int32
BString::IFindLast(const char* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _IFindBefore(string, fLength, (int32)strnlen(string, kMaxLength));
}


int32
BString::IFindLast(const BString& string, int32 beforeOffset) const
{
	return _IFindBefore(string.String(), min_clamp0(beforeOffset, fLength), string.fLength);
}


int32
BString::IFindLast(const char* string, int32 beforeOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	return _IFindBefore(
		string, min_clamp0(beforeOffset, fLength), (int32)strnlen(string, kMaxLength));
}


bool
BString::StartsWith(const BString& string) const
{
	return StartsWith(string.String(), string.fLength);
}


bool
BString::StartsWith(const char* string) const
{
	return StartsWith(string, (int32)strnlen(safestr(string), kMaxLength));
}


bool
BString::StartsWith(const char* string, int32 length) const
{
	if (length > fLength)
		return false;

	return length <= 0 || strncmp(String(), safestr(string), length) == 0;
}


bool
BString::IStartsWith(const BString& string) const
{
	return IStartsWith(string.String(), string.fLength);
}


bool
BString::IStartsWith(const char* string) const
{
	return IStartsWith(string, (int32)strnlen(safestr(string), kMaxLength));
}


bool
BString::IStartsWith(const char* string, int32 length) const
{
	if (length > fLength)
		return false;

	return length <= 0 || strncasecmp(String(), safestr(string), length) == 0;
}


bool
BString::EndsWith(const BString& string) const
{
	return EndsWith(string.String(), string.fLength);
}


bool
BString::EndsWith(const char* string) const
{
	return EndsWith(string, (int32)strnlen(safestr(string), kMaxLength));
}


bool
BString::EndsWith(const char* string, int32 length) const
{
	if (length > fLength)
		return false;

	return length <= 0 || strncmp(String() + fLength - length, safestr(string), length) == 0;
}


bool
BString::IEndsWith(const BString& string) const
{
	return IEndsWith(string.String(), string.fLength);
}


bool
BString::IEndsWith(const char* string) const
{
	return IEndsWith(string, (int32)strnlen(safestr(string), kMaxLength));
}


bool
BString::IEndsWith(const char* string, int32 length) const
{
	if (length > fLength)
		return false;

	return length <= 0 || strncasecmp(String() + fLength - length, safestr(string), length) == 0;
}


// #pragma mark - Replacing


BString&
BString::ReplaceFirst(char replaceThis, char withThis)
{
	return _DoReplaceChar(replaceThis, withThis, 1, 0, false);
}


BString&
BString::ReplaceLast(char replaceThis, char withThis)
{
	int32 position = FindLast(replaceThis);
	if (position >= 0)
		fPrivateData[position] = withThis;
	return *this;
}


BString&
BString::ReplaceAll(char replaceThis, char withThis, int32 fromOffset)
{
	return _DoReplaceChar(replaceThis, withThis, kReplaceAll, fromOffset, false);
}


BString&
BString::Replace(char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset)
{
	return _DoReplaceChar(replaceThis, withThis, maxReplaceCount, fromOffset, false);
}


BString&
BString::ReplaceFirst(const char* replaceThis, const char* withThis)
{
	return _DoReplace(replaceThis, withThis, 1, 0, false);
}


BString&
BString::ReplaceLast(const char* replaceThis, const char* withThis)
{
	return _DoReplaceLast(replaceThis, withThis, false);
}


BString&
BString::ReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset)
{
	return _DoReplace(replaceThis, withThis, kReplaceAll, min_clamp0(fromOffset, fLength), false);
}


BString&
BString::Replace(
	const char* replaceThis, const char* withThis, int32 maxReplaceCount, int32 fromOffset)
{
	return _DoReplace(
		replaceThis, withThis, maxReplaceCount, min_clamp0(fromOffset, fLength), false);
}


BString&
BString::IReplaceFirst(char replaceThis, char withThis)
{
	return _DoReplaceChar(replaceThis, withThis, 1, 0, true);
}


BString&
BString::IReplaceLast(char replaceThis, char withThis)
{
	char lower = to_lower(replaceThis);
	for (int32 i = fLength - 1; i >= 0; i--) {
		if (to_lower(fPrivateData[i]) == lower) {
			fPrivateData[i] = withThis;
			break;
		}
	}
	return *this;
}


BString&
BString::IReplaceAll(char replaceThis, char withThis, int32 fromOffset)
{
	return _DoReplaceChar(replaceThis, withThis, kReplaceAll, fromOffset, true);
}


BString&
BString::IReplace(char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset)
{
	return _DoReplaceChar(replaceThis, withThis, maxReplaceCount, fromOffset, true);
}


BString&
BString::IReplaceFirst(const char* replaceThis, const char* withThis)
{
	return _DoReplace(replaceThis, withThis, 1, 0, true);
}


BString&
BString::IReplaceLast(const char* replaceThis, const char* withThis)
{
	return _DoReplaceLast(replaceThis, withThis, true);
}


BString&
BString::IReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset)
{
	return _DoReplace(replaceThis, withThis, kReplaceAll, min_clamp0(fromOffset, fLength), true);
}


BString&
BString::IReplace(
	const char* replaceThis, const char* withThis, int32 maxReplaceCount, int32 fromOffset)
{
	return _DoReplace(
		replaceThis, withThis, maxReplaceCount, min_clamp0(fromOffset, fLength), true);
}


BString&
BString::ReplaceSet(const char* setOfBytes, char with)
{
	if (setOfBytes == NULL || fLength == 0)
		return *this;
	if (_IsInside(setOfBytes)) {
		BString set(setOfBytes);
		return ReplaceSet(set.String(), with);
	}

	for (int32 i = 0; i < fLength; i++) {
		if (in_set(setOfBytes, fPrivateData[i]))
			fPrivateData[i] = with;
	}
	return *this;
}


BString&
BString::ReplaceSet(const char* setOfBytes, const char* with)
{
	if (setOfBytes == NULL || fLength == 0)
		return *this;
	with = safestr(with);
	if (_IsInside(setOfBytes) || _IsInside(with)) {
		BString set(setOfBytes);
		BString replacement(with);
		return ReplaceSet(set.String(), replacement.String());
	}

	int64 withLength = strlen(with);
	if (withLength == 1)
		return ReplaceSet(setOfBytes, with[0]);

	int64 count = 0;
	for (int32 i = 0; i < fLength; i++) {
		if (in_set(setOfBytes, fPrivateData[i]))
			count++;
	}
	if (count == 0)
		return *this;

	int64 newLength = fLength + count * (withLength - 1);
	if (newLength > kMaxLength)
		return *this;

	char* data = (char*)malloc(newLength + 1);
	if (data == NULL)
		return *this;

	char* out = data;
	for (int32 i = 0; i < fLength; i++) {
		if (in_set(setOfBytes, fPrivateData[i])) {
			memcpy(out, with, withLength);
			out += withLength;
		} else
			*out++ = fPrivateData[i];
	}
	*out = '\0';

	free(fPrivateData);
	fPrivateData = data;
	fLength = (int32)newLength;
	fAllocated = (int32)newLength;
	return *this;
}


// #pragma mark - Character access


char
BString::operator[](int32 index) const
{
	return ByteAt(index);
}


BStringRef
BString::operator[](int32 index)
{
	return BStringRef(*this, index);
}


char
BString::ByteAt(int32 index) const
{
	if (fPrivateData == NULL || index < 0 || index >= fLength)
		return 0;

	return fPrivateData[index];
}


const char*
BString::CharAt(int32 charIndex, int32* bytes) const
{
	int32 offset = CountBytes(0, charIndex < 0 ? 0 : charIndex);
	if (bytes != NULL)
		*bytes = utf8_count_bytes(String() + offset, fLength - offset, 1);
	return String() + offset;
}


// #pragma mark - Direct buffer access


char*
BString::LockBuffer(int32 maxLength)
{
	int32 oldLength = fLength;
	int32 length = maxLength > fLength ? maxLength : fLength;
	if (length > kMaxLength || !_Reserve(length))
		return NULL;

	// Bytes that the caller does not write read as the end of the text.
	memset(fPrivateData + oldLength, 0, length - oldLength + 1);
	fLength = length;
	return fPrivateData;
}


BString&
BString::UnlockBuffer(int32 length)
{
	if (fPrivateData == NULL)
		return *this;

	if (length > 0)
		length = min_clamp0(length, fLength);
	else
		length = (int32)strnlen(fPrivateData, fLength);

	_SetLength(length);
	return *this;
}


// #pragma mark - Case


BString&
BString::ToLower()
{
	for (int32 i = 0; i < fLength; i++)
		fPrivateData[i] = to_lower(fPrivateData[i]);
	return *this;
}


BString&
BString::ToUpper()
{
	for (int32 i = 0; i < fLength; i++)
		fPrivateData[i] = to_upper(fPrivateData[i]);
	return *this;
}


BString&
BString::Capitalize()
{
	if (fLength > 0) {
		fPrivateData[0] = to_upper(fPrivateData[0]);
		for (int32 i = 1; i < fLength; i++)
			fPrivateData[i] = to_lower(fPrivateData[i]);
	}
	return *this;
}


BString&
BString::CapitalizeEachWord()
{
	int32 i = 0;
	while (i < fLength) {
		// the first letter of the next word
		for (; i < fLength; i++) {
			if (is_alpha(fPrivateData[i])) {
				fPrivateData[i] = to_upper(fPrivateData[i]);
				i++;
				break;
			}
		}
		// the rest of the word
		for (; i < fLength && is_alpha(fPrivateData[i]); i++)
			fPrivateData[i] = to_lower(fPrivateData[i]);
	}
	return *this;
}


// #pragma mark - Escaping


BString&
BString::CharacterEscape(const char* original, const char* setOfCharsToEscape, char escapeWith)
{
	if (setOfCharsToEscape == NULL)
		return *this;
	if (_IsInside(setOfCharsToEscape)) {
		BString set(setOfCharsToEscape);
		return CharacterEscape(original, set.String(), escapeWith);
	}

	SetTo(original);
	return CharacterEscape(setOfCharsToEscape, escapeWith);
}


BString&
BString::CharacterEscape(const char* setOfCharsToEscape, char escapeWith)
{
	if (setOfCharsToEscape == NULL || fLength == 0)
		return *this;
	if (_IsInside(setOfCharsToEscape)) {
		BString set(setOfCharsToEscape);
		return CharacterEscape(set.String(), escapeWith);
	}

	int64 count = 0;
	for (int32 i = 0; i < fLength; i++) {
		if (in_set(setOfCharsToEscape, fPrivateData[i]))
			count++;
	}
	if (count == 0 || fLength + count > kMaxLength)
		return *this;

	char* data = (char*)malloc(fLength + count + 1);
	if (data == NULL)
		return *this;

	char* out = data;
	for (int32 i = 0; i < fLength; i++) {
		if (in_set(setOfCharsToEscape, fPrivateData[i]))
			*out++ = escapeWith;
		*out++ = fPrivateData[i];
	}
	*out = '\0';

	free(fPrivateData);
	fPrivateData = data;
	fLength = (int32)(fLength + count);
	fAllocated = fLength;
	return *this;
}


BString&
BString::CharacterDeescape(const char* original, char escapeChar)
{
	SetTo(original);
	return CharacterDeescape(escapeChar);
}


BString&
BString::CharacterDeescape(char escapeChar)
{
	// Every escape byte goes, as an escaped escape byte does too.
	if (escapeChar == '\0' || fLength == 0)
		return *this;

	int32 length = 0;
	for (int32 i = 0; i < fLength; i++) {
		if (fPrivateData[i] != escapeChar)
			fPrivateData[length++] = fPrivateData[i];
	}
	_SetLength(length);
	return *this;
}


BString&
BString::Trim()
{
	if (fLength == 0)
		return *this;

	int32 start = 0;
	while (start < fLength && is_space(fPrivateData[start]))
		start++;

	int32 end = fLength;
	while (end > start && is_space(fPrivateData[end - 1]))
		end--;

	if (start > 0)
		memmove(fPrivateData, fPrivateData + start, end - start);
	_SetLength(end - start);
	return *this;
}


// #pragma mark - Streaming


BString&
BString::operator<<(const char* string)
{
	return operator+=(string);
}


BString&
BString::operator<<(const BString& string)
{
	return operator+=(string);
}


BString&
BString::operator<<(char c)
{
	return operator+=(c);
}


BString&
BString::operator<<(bool value)
{
	return operator+=(value ? "true" : "false");
}


BString&
BString::operator<<(int value)
{
	return AppendFormat("%d", value);
}


BString&
BString::operator<<(unsigned int value)
{
	return AppendFormat("%u", value);
}


BString&
BString::operator<<(unsigned long value)
{
	return AppendFormat("%lu", value);
}


BString&
BString::operator<<(long value)
{
	return AppendFormat("%ld", value);
}


BString&
BString::operator<<(unsigned long long value)
{
	return AppendFormat("%llu", value);
}


BString&
BString::operator<<(long long value)
{
	return AppendFormat("%lld", value);
}


BString&
BString::operator<<(float value)
{
	return AppendFormat("%.2f", (double)value);
}


BString&
BString::operator<<(double value)
{
	return AppendFormat("%.2f", value);
}


// #pragma mark - Private


// Whether pointer lies in our own buffer (a source that a change would move or overwrite).
bool
BString::_IsInside(const char* pointer) const
{
	if (fPrivateData == NULL || pointer == NULL)
		return false;

	uintptr_t address = (uintptr_t)pointer;
	uintptr_t start = (uintptr_t)fPrivateData;
	return address >= start && address <= start + fAllocated;
}


// Makes room for length bytes and the terminating NUL.
bool
BString::_Reserve(int32 length)
{
	if (length < 0 || length > kMaxLength)
		return false;
	if (fPrivateData != NULL && length <= fAllocated)
		return true;

	int64 allocation = (int64)fAllocated + fAllocated / 2;
	if (allocation < length)
		allocation = length;
	if (allocation < kMinAllocation)
		allocation = kMinAllocation;
	if (allocation > kMaxLength)
		allocation = kMaxLength;

	char* data = (char*)realloc(fPrivateData, allocation + 1);
	if (data == NULL)
		return false;

	if (fPrivateData == NULL)
		data[0] = '\0';
	fPrivateData = data;
	fAllocated = (int32)allocation;
	return true;
}


// Replaces removeLength bytes at offset by a gap of insertLength bytes and returns the gap,
// or NULL when the arguments are out of range or memory is short (the string is then left
// as it was).
char*
BString::_OpenGap(int32 offset, int32 removeLength, int32 insertLength)
{
	if (offset < 0 || offset > fLength || removeLength < 0 || removeLength > fLength - offset
		|| insertLength < 0)
		return NULL;

	int64 newLength = (int64)fLength - removeLength + insertLength;
	if (newLength > kMaxLength || !_Reserve((int32)newLength))
		return NULL;

	memmove(fPrivateData + offset + insertLength, fPrivateData + offset + removeLength,
		fLength - offset - removeLength);
	_SetLength((int32)newLength);
	return fPrivateData + offset;
}


BString&
BString::_Splice(int32 offset, int32 removeLength, const char* source, int32 sourceLength)
{
	if (source == NULL || sourceLength < 0)
		sourceLength = 0;

	if (sourceLength > 0 && _IsInside(source)) {
		// The source is part of this string: work from a copy.
		char* copy = (char*)malloc(sourceLength);
		if (copy == NULL)
			return *this;
		memcpy(copy, source, sourceLength);
		_Splice(offset, removeLength, copy, sourceLength);
		free(copy);
		return *this;
	}

	char* gap = _OpenGap(offset, removeLength, sourceLength);
	if (gap != NULL && sourceLength > 0)
		memcpy(gap, source, sourceLength);
	return *this;
}


BString&
BString::_SpliceFill(int32 offset, int32 removeLength, char c, int32 count)
{
	char* gap = _OpenGap(offset, removeLength, count);
	if (gap != NULL && count > 0)
		memset(gap, c, count);
	return *this;
}


void
BString::_SetLength(int32 length)
{
	fLength = length;
	if (fPrivateData != NULL)
		fPrivateData[length] = '\0';
}


// The first place at or after offset where the length bytes of string begin (ending at the
// first NUL of the text, as strstr() does), or B_ERROR.
int32
BString::_FindAfter(const char* string, int32 offset, int32 /*length*/) const
{
	const char* found = strstr(String() + offset, string);
	if (found == NULL)
		return B_ERROR;

	return (int32)(found - String());
}


int32
BString::_IFindAfter(const char* string, int32 offset, int32 length) const
{
	const char* text = String();
	for (int32 position = offset; (int64)position + length <= fLength; position++) {
		if (strncasecmp(text + position, string, length) == 0)
			return position;
		if (text[position] == '\0')
			break;
	}
	return B_ERROR;
}


// The last place where string (length bytes) lies wholly before offset, or B_ERROR.
int32
BString::_FindBefore(const char* string, int32 offset, int32 length) const
{
	const char* text = String();
	for (int32 position = offset - length; position >= 0; position--) {
		if (memcmp(text + position, string, length) == 0)
			return position;
	}
	return B_ERROR;
}


int32
BString::_IFindBefore(const char* string, int32 offset, int32 length) const
{
	const char* text = String();
	for (int32 position = offset - length; position >= 0; position--) {
		if (strncasecmp(text + position, string, length) == 0)
			return position;
	}
	return B_ERROR;
}


// Replaces up to maxReplaceCount occurrences of findThis that start at fromOffset or later,
// from left to right. Occurrences do not overlap, and the replacement text is not searched
// again.
BString&
BString::_DoReplace(const char* findThis, const char* replaceWith, int32 maxReplaceCount,
	int32 fromOffset, bool ignoreCase)
{
	if (findThis == NULL || maxReplaceCount <= 0 || fromOffset < 0 || fromOffset >= fLength)
		return *this;

	int32 findLength = (int32)strnlen(findThis, kMaxLength);
	if (findLength == 0)
		return *this;

	replaceWith = safestr(replaceWith);
	int64 replaceLength = strnlen(replaceWith, kMaxLength);

	int32 (BString::*find)(const char*, int32, int32) const
		= ignoreCase ? &BString::_IFindAfter : &BString::_FindAfter;

	int64 count = 0;
	for (int32 position = fromOffset; count < maxReplaceCount; count++) {
		position = (this->*find)(findThis, position, findLength);
		if (position < 0)
			break;
		position += findLength;
	}
	if (count == 0)
		return *this;

	int64 newLength = fLength + count * (replaceLength - findLength);
	if (newLength > kMaxLength)
		return *this;

	// The new text is built in a buffer of its own, so that findThis and replaceWith may
	// point into this string.
	char* data = (char*)malloc(newLength + 1);
	if (data == NULL)
		return *this;

	char* out = data;
	int32 copied = 0;
	int32 position = fromOffset;
	for (int64 i = 0; i < count; i++) {
		position = (this->*find)(findThis, position, findLength);
		memcpy(out, fPrivateData + copied, position - copied);
		out += position - copied;
		memcpy(out, replaceWith, replaceLength);
		out += replaceLength;
		position += findLength;
		copied = position;
	}
	memcpy(out, fPrivateData + copied, fLength - copied);
	data[newLength] = '\0';

	free(fPrivateData);
	fPrivateData = data;
	fLength = (int32)newLength;
	fAllocated = (int32)newLength;
	return *this;
}


BString&
BString::_DoReplaceLast(const char* findThis, const char* replaceWith, bool ignoreCase)
{
	if (findThis == NULL)
		return *this;

	int32 findLength = (int32)strnlen(findThis, kMaxLength);
	if (findLength == 0)
		return *this;

	int32 position = ignoreCase ? _IFindBefore(findThis, fLength, findLength)
								: _FindBefore(findThis, fLength, findLength);
	if (position < 0)
		return *this;

	replaceWith = safestr(replaceWith);
	return _Splice(position, findLength, replaceWith, (int32)strnlen(replaceWith, kMaxLength));
}


BString&
BString::_DoReplaceChar(
	char replaceThis, char withThis, int32 maxReplaceCount, int32 fromOffset, bool ignoreCase)
{
	char lower = to_lower(replaceThis);
	for (int32 i = min_clamp0(fromOffset, fLength); i < fLength && maxReplaceCount > 0; i++) {
		char c = fPrivateData[i];
		if (c == replaceThis || (ignoreCase && to_lower(c) == lower)) {
			fPrivateData[i] = withThis;
			maxReplaceCount--;
		}
	}
	return *this;
}


// Formats into a buffer of its own, as the arguments may point into this string, and then
// appends the result or replaces the string by it. A format that fails leaves an appended-to
// string as it was and empties one that is set.
BString&
BString::_DoFormat(const char* format, va_list args, bool append)
{
	int length = -1;
	if (format != NULL) {
		va_list measureArgs;
		va_copy(measureArgs, args);
		length = vsnprintf(NULL, 0, format, measureArgs);
		va_end(measureArgs);
	}
	if (length < 0 || length > kMaxLength - (append ? fLength : 0))
		return append ? *this : Truncate(0);

	char* buffer = (char*)malloc(length + 1);
	if (buffer == NULL)
		return *this;

	vsnprintf(buffer, length + 1, format, args);
	_Splice(append ? fLength : 0, append ? 0 : fLength, buffer, length);
	free(buffer);
	return *this;
}


// #pragma mark - Global operators and functions


bool
operator<(const char* a, const BString& b)
{
	return b > a;
}


bool
operator<=(const char* a, const BString& b)
{
	return b >= a;
}


bool
operator==(const char* a, const BString& b)
{
	return b == a;
}


bool
operator>(const char* a, const BString& b)
{
	return b < a;
}


bool
operator>=(const char* a, const BString& b)
{
	return b <= a;
}


bool
operator!=(const char* a, const BString& b)
{
	return b != a;
}


int
Compare(const BString& a, const BString& b)
{
	return a.Compare(b);
}


int
ICompare(const BString& a, const BString& b)
{
	return a.ICompare(b);
}


int
Compare(const BString* a, const BString* b)
{
	return a->Compare(*b);
}


int
ICompare(const BString* a, const BString* b)
{
	return a->ICompare(*b);
}


// #pragma mark - BStringRef


BStringRef::BStringRef(BString& string, int32 position) : fString(string), fPosition(position) { }


BStringRef::operator char() const
{
	return fString.ByteAt(fPosition);
}


char*
BStringRef::operator&()
{
	if (fPosition < 0 || fPosition >= fString.fLength)
		return NULL;

	return fString.fPrivateData + fPosition;
}


const char*
BStringRef::operator&() const
{
	if (fPosition < 0 || fPosition >= fString.fLength)
		return NULL;

	return fString.fPrivateData + fPosition;
}


BStringRef&
BStringRef::operator=(char c)
{
	if (fPosition >= 0 && fPosition < fString.fLength)
		fString.fPrivateData[fPosition] = c;
	return *this;
}


BStringRef&
BStringRef::operator=(const BStringRef& other)
{
	return operator=((char)other);
}
