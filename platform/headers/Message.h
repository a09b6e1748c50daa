/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_H
#define _MESSAGE_H


#include <new>

#include <DataIO.h>
#include <Entry.h>
#include <Node.h>
#include <OS.h>
#include <Rect.h>

#include <AppDefs.h>
#include <TypeConstants.h>


class BHandler;
class BMessenger;
struct entry_ref;
class BString;
struct rgb_color;


// Name lengths and scripting specifiers
#define B_FIELD_NAME_LENGTH 255
#define B_PROPERTY_NAME_LENGTH 255

enum {
	B_NO_SPECIFIER = 0,
	B_DIRECT_SPECIFIER = 1,
	B_INDEX_SPECIFIER,
	B_REVERSE_INDEX_SPECIFIER,
	B_RANGE_SPECIFIER,
	B_REVERSE_RANGE_SPECIFIER,
	B_NAME_SPECIFIER,
	B_ID_SPECIFIER,

	B_SPECIFIERS_END = 128
};


class BMessage {
public:
	uint32 what;

	BMessage();
	BMessage(uint32 what);
	BMessage(const BMessage& other);
	virtual ~BMessage();

	BMessage& operator=(const BMessage& other);

	// Statistics and miscellaneous information
	status_t GetInfo(type_code typeRequested, int32 index, char** nameFound, type_code* typeFound,
		int32* countFound = NULL) const;
	status_t GetInfo(type_code typeRequested, int32 index, const char** nameFound,
		type_code* typeFound, int32* countFound = NULL) const;
	status_t GetInfo(const char* name, type_code* typeFound, int32* countFound = NULL) const;
	status_t GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const;
	status_t GetInfo(
		const char* name, type_code* typeFound, int32* countFound, bool* fixedSize) const;

	int32 CountNames(type_code type) const;
	bool IsEmpty() const;
	bool IsSystem() const;
	void PrintToStream() const;

	status_t Rename(const char* oldEntry, const char* newEntry);

	// Delivery information: a message is delivered once a looper has taken it from its queue.
	bool WasDelivered() const;
	bool IsSourceWaiting() const;
	bool IsSourceRemote() const;
	bool IsReply() const;
	const BMessage* Previous() const;
	// A message the user dropped on a window, and where: the screen point under the pointer,
	// and the point of the dragged image that was under it (*offset).
	bool WasDropped() const;
	BPoint DropPoint(BPoint* offset = NULL) const;
	// Where an asynchronous reply goes: invalid for a message that was not delivered
	BMessenger ReturnAddress() const;

	// Replying, possible only after delivery
	status_t SendReply(uint32 command, BHandler* replyTo = NULL);
	status_t SendReply(
		BMessage* reply, BHandler* replyTo = NULL, bigtime_t timeout = B_INFINITE_TIMEOUT);
	status_t SendReply(BMessage* reply, BMessenger replyTo, bigtime_t timeout = B_INFINITE_TIMEOUT);
	status_t SendReply(uint32 command, BMessage* replyToReply);
	status_t SendReply(BMessage* reply, BMessage* replyToReply,
		bigtime_t sendTimeout = B_INFINITE_TIMEOUT, bigtime_t replyTimeout = B_INFINITE_TIMEOUT);

	// Flattening
	ssize_t FlattenedSize() const;
	status_t Flatten(char* buffer, ssize_t size) const;
	status_t Unflatten(const char* flatBuffer);

	// Adding data
	status_t AddRect(const char* name, BRect rect);
	status_t AddRef(const char* name, const entry_ref* ref);
	status_t AddPoint(const char* name, BPoint point);
	status_t AddString(const char* name, const char* string);
	status_t AddString(const char* name, const BString& string);
	status_t AddInt8(const char* name, int8 value);
	status_t AddUInt8(const char* name, uint8 value);
	status_t AddInt16(const char* name, int16 value);
	status_t AddUInt16(const char* name, uint16 value);
	status_t AddInt32(const char* name, int32 value);
	status_t AddUInt32(const char* name, uint32 value);
	status_t AddInt64(const char* name, int64 value);
	status_t AddUInt64(const char* name, uint64 value);
	status_t AddBool(const char* name, bool value);
	status_t AddFloat(const char* name, float value);
	status_t AddDouble(const char* name, double value);
	status_t AddColor(const char* name, rgb_color value);
	status_t AddPointer(const char* name, const void* pointer);
	status_t AddMessage(const char* name, const BMessage* message);
	status_t AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
		bool isFixedSize = true, int32 count = 1);

	status_t Append(const BMessage& message);

	// Removing data
	status_t RemoveData(const char* name, int32 index = 0);
	status_t RemoveName(const char* name);
	status_t MakeEmpty();

	// Finding data
	status_t FindRect(const char* name, BRect* rect) const;
	status_t FindRef(const char* name, entry_ref* ref) const;
	status_t FindRef(const char* name, int32 index, entry_ref* ref) const;
	status_t FindRect(const char* name, int32 index, BRect* rect) const;
	status_t FindPoint(const char* name, BPoint* point) const;
	status_t FindPoint(const char* name, int32 index, BPoint* point) const;
	status_t FindString(const char* name, const char** string) const;
	status_t FindString(const char* name, int32 index, const char** string) const;
	status_t FindString(const char* name, BString* string) const;
	status_t FindString(const char* name, int32 index, BString* string) const;
	status_t FindInt8(const char* name, int8* value) const;
	status_t FindInt8(const char* name, int32 index, int8* value) const;
	status_t FindUInt8(const char* name, uint8* value) const;
	status_t FindUInt8(const char* name, int32 index, uint8* value) const;
	status_t FindInt16(const char* name, int16* value) const;
	status_t FindInt16(const char* name, int32 index, int16* value) const;
	status_t FindUInt16(const char* name, uint16* value) const;
	status_t FindUInt16(const char* name, int32 index, uint16* value) const;
	status_t FindInt32(const char* name, int32* value) const;
	status_t FindInt32(const char* name, int32 index, int32* value) const;
	status_t FindUInt32(const char* name, uint32* value) const;
	status_t FindUInt32(const char* name, int32 index, uint32* value) const;
	status_t FindInt64(const char* name, int64* value) const;
	status_t FindInt64(const char* name, int32 index, int64* value) const;
	status_t FindUInt64(const char* name, uint64* value) const;
	status_t FindUInt64(const char* name, int32 index, uint64* value) const;
	status_t FindBool(const char* name, bool* value) const;
	status_t FindBool(const char* name, int32 index, bool* value) const;
	status_t FindFloat(const char* name, float* value) const;
	status_t FindFloat(const char* name, int32 index, float* value) const;
	status_t FindDouble(const char* name, double* value) const;
	status_t FindDouble(const char* name, int32 index, double* value) const;
	status_t FindColor(const char* name, rgb_color* value) const;
	status_t FindColor(const char* name, int32 index, rgb_color* value) const;
	status_t FindPointer(const char* name, void** pointer) const;
	status_t FindPointer(const char* name, int32 index, void** pointer) const;
	status_t FindMessage(const char* name, BMessage* message) const;
	status_t FindMessage(const char* name, int32 index, BMessage* message) const;
	status_t FindData(const char* name, type_code type, const void** data, ssize_t* numBytes) const;
	status_t FindData(
		const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const;

	// Replacing data
	status_t ReplaceRect(const char* name, BRect rect);
	status_t ReplaceRect(const char* name, int32 index, BRect rect);
	status_t ReplacePoint(const char* name, BPoint point);
	status_t ReplacePoint(const char* name, int32 index, BPoint point);
	status_t ReplaceString(const char* name, const char* string);
	status_t ReplaceString(const char* name, int32 index, const char* string);
	status_t ReplaceString(const char* name, const BString& string);
	status_t ReplaceString(const char* name, int32 index, const BString& string);
	status_t ReplaceInt8(const char* name, int8 value);
	status_t ReplaceInt8(const char* name, int32 index, int8 value);
	status_t ReplaceUInt8(const char* name, uint8 value);
	status_t ReplaceUInt8(const char* name, int32 index, uint8 value);
	status_t ReplaceInt16(const char* name, int16 value);
	status_t ReplaceInt16(const char* name, int32 index, int16 value);
	status_t ReplaceUInt16(const char* name, uint16 value);
	status_t ReplaceUInt16(const char* name, int32 index, uint16 value);
	status_t ReplaceInt32(const char* name, int32 value);
	status_t ReplaceInt32(const char* name, int32 index, int32 value);
	status_t ReplaceUInt32(const char* name, uint32 value);
	status_t ReplaceUInt32(const char* name, int32 index, uint32 value);
	status_t ReplaceInt64(const char* name, int64 value);
	status_t ReplaceInt64(const char* name, int32 index, int64 value);
	status_t ReplaceUInt64(const char* name, uint64 value);
	status_t ReplaceUInt64(const char* name, int32 index, uint64 value);
	status_t ReplaceBool(const char* name, bool value);
	status_t ReplaceBool(const char* name, int32 index, bool value);
	status_t ReplaceFloat(const char* name, float value);
	status_t ReplaceFloat(const char* name, int32 index, float value);
	status_t ReplaceDouble(const char* name, double value);
	status_t ReplaceDouble(const char* name, int32 index, double value);
	status_t ReplaceColor(const char* name, rgb_color value);
	status_t ReplaceColor(const char* name, int32 index, rgb_color value);
	status_t ReplacePointer(const char* name, const void* pointer);
	status_t ReplacePointer(const char* name, int32 index, const void* pointer);
	status_t ReplaceMessage(const char* name, const BMessage* message);
	status_t ReplaceMessage(const char* name, int32 index, const BMessage* message);
	status_t ReplaceData(const char* name, type_code type, const void* data, ssize_t numBytes);
	status_t ReplaceData(
		const char* name, type_code type, int32 index, const void* data, ssize_t numBytes);

	// Comparing data
	bool HasSameData(const BMessage& other, bool ignoreFieldOrder = true, bool deep = false) const;

	// Testing for data
	bool HasRect(const char* name, int32 n = 0) const;
	bool HasPoint(const char* name, int32 n = 0) const;
	bool HasString(const char* name, int32 n = 0) const;
	bool HasInt8(const char* name, int32 n = 0) const;
	bool HasUInt8(const char* name, int32 n = 0) const;
	bool HasInt16(const char* name, int32 n = 0) const;
	bool HasUInt16(const char* name, int32 n = 0) const;
	bool HasInt32(const char* name, int32 n = 0) const;
	bool HasUInt32(const char* name, int32 n = 0) const;
	bool HasInt64(const char* name, int32 n = 0) const;
	bool HasUInt64(const char* name, int32 n = 0) const;
	bool HasBool(const char* name, int32 n = 0) const;
	bool HasFloat(const char* name, int32 n = 0) const;
	bool HasDouble(const char* name, int32 n = 0) const;
	bool HasColor(const char* name, int32 n = 0) const;
	bool HasPointer(const char* name, int32 n = 0) const;
	bool HasMessage(const char* name, int32 n = 0) const;
	bool HasData(const char* name, type_code type, int32 n = 0) const;

	// Old forms that return the value itself, or a zero value when it is missing
	BRect FindRect(const char* name, int32 n = 0) const;
	BPoint FindPoint(const char* name, int32 n = 0) const;
	const char* FindString(const char* name, int32 n = 0) const;
	int8 FindInt8(const char* name, int32 n = 0) const;
	int16 FindInt16(const char* name, int32 n = 0) const;
	int32 FindInt32(const char* name, int32 n = 0) const;
	int64 FindInt64(const char* name, int32 n = 0) const;
	bool FindBool(const char* name, int32 n = 0) const;
	float FindFloat(const char* name, int32 n = 0) const;
	double FindDouble(const char* name, int32 n = 0) const;

	// Convenience: the value, or the given default when it is missing
	bool GetBool(const char* name, bool defaultValue = false) const;
	bool GetBool(const char* name, int32 index, bool defaultValue) const;
	int8 GetInt8(const char* name, int8 defaultValue) const;
	int8 GetInt8(const char* name, int32 index, int8 defaultValue) const;
	uint8 GetUInt8(const char* name, uint8 defaultValue) const;
	uint8 GetUInt8(const char* name, int32 index, uint8 defaultValue) const;
	int16 GetInt16(const char* name, int16 defaultValue) const;
	int16 GetInt16(const char* name, int32 index, int16 defaultValue) const;
	uint16 GetUInt16(const char* name, uint16 defaultValue) const;
	uint16 GetUInt16(const char* name, int32 index, uint16 defaultValue) const;
	int32 GetInt32(const char* name, int32 defaultValue) const;
	int32 GetInt32(const char* name, int32 index, int32 defaultValue) const;
	uint32 GetUInt32(const char* name, uint32 defaultValue) const;
	uint32 GetUInt32(const char* name, int32 index, uint32 defaultValue) const;
	int64 GetInt64(const char* name, int64 defaultValue) const;
	int64 GetInt64(const char* name, int32 index, int64 defaultValue) const;
	uint64 GetUInt64(const char* name, uint64 defaultValue) const;
	uint64 GetUInt64(const char* name, int32 index, uint64 defaultValue) const;
	float GetFloat(const char* name, float defaultValue) const;
	float GetFloat(const char* name, int32 index, float defaultValue) const;
	double GetDouble(const char* name, double defaultValue) const;
	double GetDouble(const char* name, int32 index, double defaultValue) const;
	rgb_color GetColor(const char* name, rgb_color defaultValue) const;
	rgb_color GetColor(const char* name, int32 index, rgb_color defaultValue) const;
	const void* GetPointer(const char* name, int32 index, const void* defaultValue = NULL) const;
	const void* GetPointer(const char* name, const void* defaultValue = NULL) const;
	const char* GetString(const char* name, const char* defaultValue = NULL) const;
	const char* GetString(const char* name, int32 index, const char* defaultValue) const;
	BRect GetRect(const char* name, const BRect& defaultValue) const;
	BRect GetRect(const char* name, int32 index, const BRect& defaultValue) const;
	BPoint GetPoint(const char* name, const BPoint& defaultValue) const;
	BPoint GetPoint(const char* name, int32 index, const BPoint& defaultValue) const;

	// Convenience: replace item 0, or add it when the field is missing (fixed-size fields and
	// strings only)
	status_t SetBool(const char* name, bool value);
	status_t SetInt8(const char* name, int8 value);
	status_t SetUInt8(const char* name, uint8 value);
	status_t SetInt16(const char* name, int16 value);
	status_t SetUInt16(const char* name, uint16 value);
	status_t SetInt32(const char* name, int32 value);
	status_t SetUInt32(const char* name, uint32 value);
	status_t SetInt64(const char* name, int64 value);
	status_t SetUInt64(const char* name, uint64 value);
	status_t SetColor(const char* name, rgb_color value);
	status_t SetPointer(const char* name, const void* value);
	status_t SetString(const char* name, const char* string);
	status_t SetString(const char* name, const BString& string);
	status_t SetFloat(const char* name, float value);
	status_t SetDouble(const char* name, double value);
	status_t SetPoint(const char* name, const BPoint& value);
	status_t SetRect(const char* name, const BRect& value);
	status_t SetData(const char* name, type_code type, const void* data, ssize_t numBytes,
		bool fixedSize = true, int count = 1);

	class Private;

private:
	friend class Private;

	struct Field;
	class FieldList;
	struct DeliveryInfo;

	status_t _FindField(const char* name, type_code type, Field** _field) const;
	status_t _AddField(const char* name, type_code type, bool isFixedSize, Field** _field);
	status_t _Unflatten(const char* buffer, size_t size);
	void _PrintToStream(const char* indent, int32 depth) const;

private:
	FieldList* fFields;
	// NULL while the message holds no data
	DeliveryInfo* fDelivery;
	// Copies keep it, as they keep the fields "_drop_point_" and "_drop_offset_".
	bool fWasDropped;
	// how the message travels (MessagePrivate.h): NULL for a message that was never sent
};


#endif // _MESSAGE_H
