/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <string.h>

#include <GraphicsDefs.h>
#include <String.h>

#include <MessageFields.h>


//	#pragma mark - Fixed-size types


// Add, Find, Replace, Has, Get and Set of one fixed-size type. The values are copied in and
// out, so the items need no alignment.
#define DEFINE_FIXED_SIZE_FUNCTIONS(type, typeName, typeCode)                                      \
	status_t BMessage::Add##typeName(const char* name, type value)                                 \
	{                                                                                              \
		return AddData(name, typeCode, &value, sizeof(type), true);                                \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	status_t BMessage::Find##typeName(const char* name, type* value) const                         \
	{                                                                                              \
		return Find##typeName(name, 0, value);                                                     \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	status_t BMessage::Find##typeName(const char* name, int32 index, type* value) const            \
	{                                                                                              \
		if (value == NULL)                                                                         \
			return B_BAD_VALUE;                                                                    \
		*value = type();                                                                           \
                                                                                                   \
		const void* data;                                                                          \
		ssize_t size;                                                                              \
		status_t status = FindData(name, typeCode, index, &data, &size);                           \
		if (status != B_OK)                                                                        \
			return status;                                                                         \
		if (size != sizeof(type))                                                                  \
			return B_BAD_DATA;                                                                     \
                                                                                                   \
		memcpy(static_cast<void*>(value), data, sizeof(type));                                     \
		return B_OK;                                                                               \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	status_t BMessage::Replace##typeName(const char* name, type value)                             \
	{                                                                                              \
		return ReplaceData(name, typeCode, 0, &value, sizeof(type));                               \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	status_t BMessage::Replace##typeName(const char* name, int32 index, type value)                \
	{                                                                                              \
		return ReplaceData(name, typeCode, index, &value, sizeof(type));                           \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	bool BMessage::Has##typeName(const char* name, int32 n) const                                  \
	{                                                                                              \
		return HasData(name, typeCode, n);                                                         \
	}


#define DEFINE_GET_SET_FUNCTIONS(type, typeName, typeCode)                                         \
	type BMessage::Get##typeName(const char* name, type defaultValue) const                        \
	{                                                                                              \
		return Get##typeName(name, 0, defaultValue);                                               \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	type BMessage::Get##typeName(const char* name, int32 index, type defaultValue) const           \
	{                                                                                              \
		type value;                                                                                \
		if (Find##typeName(name, index, &value) == B_OK)                                           \
			return value;                                                                          \
		return defaultValue;                                                                       \
	}                                                                                              \
                                                                                                   \
                                                                                                   \
	status_t BMessage::Set##typeName(const char* name, type value)                                 \
	{                                                                                              \
		return SetData(name, typeCode, &value, sizeof(type));                                      \
	}


#define DEFINE_OLD_FIND_FUNCTION(type, typeName, initialValue)                                     \
	type BMessage::Find##typeName(const char* name, int32 n) const                                 \
	{                                                                                              \
		type value = initialValue;                                                                 \
		Find##typeName(name, n, &value);                                                           \
		return value;                                                                              \
	}


DEFINE_FIXED_SIZE_FUNCTIONS(BRect, Rect, B_RECT_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(BPoint, Point, B_POINT_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(int8, Int8, B_INT8_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(uint8, UInt8, B_UINT8_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(int16, Int16, B_INT16_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(uint16, UInt16, B_UINT16_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(int32, Int32, B_INT32_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(uint32, UInt32, B_UINT32_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(int64, Int64, B_INT64_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(uint64, UInt64, B_UINT64_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(bool, Bool, B_BOOL_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(float, Float, B_FLOAT_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(double, Double, B_DOUBLE_TYPE)
DEFINE_FIXED_SIZE_FUNCTIONS(rgb_color, Color, B_RGB_32_BIT_TYPE)

DEFINE_GET_SET_FUNCTIONS(bool, Bool, B_BOOL_TYPE)
DEFINE_GET_SET_FUNCTIONS(int8, Int8, B_INT8_TYPE)
DEFINE_GET_SET_FUNCTIONS(uint8, UInt8, B_UINT8_TYPE)
DEFINE_GET_SET_FUNCTIONS(int16, Int16, B_INT16_TYPE)
DEFINE_GET_SET_FUNCTIONS(uint16, UInt16, B_UINT16_TYPE)
DEFINE_GET_SET_FUNCTIONS(int32, Int32, B_INT32_TYPE)
DEFINE_GET_SET_FUNCTIONS(uint32, UInt32, B_UINT32_TYPE)
DEFINE_GET_SET_FUNCTIONS(int64, Int64, B_INT64_TYPE)
DEFINE_GET_SET_FUNCTIONS(uint64, UInt64, B_UINT64_TYPE)
DEFINE_GET_SET_FUNCTIONS(float, Float, B_FLOAT_TYPE)
DEFINE_GET_SET_FUNCTIONS(double, Double, B_DOUBLE_TYPE)
DEFINE_GET_SET_FUNCTIONS(rgb_color, Color, B_RGB_32_BIT_TYPE)

DEFINE_OLD_FIND_FUNCTION(BRect, Rect, BRect())
DEFINE_OLD_FIND_FUNCTION(BPoint, Point, BPoint())
DEFINE_OLD_FIND_FUNCTION(const char*, String, NULL)
DEFINE_OLD_FIND_FUNCTION(int8, Int8, 0)
DEFINE_OLD_FIND_FUNCTION(int16, Int16, 0)
DEFINE_OLD_FIND_FUNCTION(int32, Int32, 0)
DEFINE_OLD_FIND_FUNCTION(int64, Int64, 0)
DEFINE_OLD_FIND_FUNCTION(bool, Bool, false)
DEFINE_OLD_FIND_FUNCTION(float, Float, 0)
DEFINE_OLD_FIND_FUNCTION(double, Double, 0)


//	#pragma mark - Convenience


const void*
BMessage::GetPointer(const char* name, int32 index, const void* defaultValue) const
{
	void* value;
	if (FindPointer(name, index, &value) == B_OK)
		return value;
	return defaultValue;
}


const void*
BMessage::GetPointer(const char* name, const void* defaultValue) const
{
	return GetPointer(name, 0, defaultValue);
}


const char*
BMessage::GetString(const char* name, const char* defaultValue) const
{
	return GetString(name, 0, defaultValue);
}


const char*
BMessage::GetString(const char* name, int32 index, const char* defaultValue) const
{
	const char* value;
	if (FindString(name, index, &value) == B_OK)
		return value;
	return defaultValue;
}


BRect
BMessage::GetRect(const char* name, const BRect& defaultValue) const
{
	return GetRect(name, 0, defaultValue);
}


BRect
BMessage::GetRect(const char* name, int32 index, const BRect& defaultValue) const
{
	BRect value;
	if (FindRect(name, index, &value) == B_OK)
		return value;
	return defaultValue;
}


BPoint
BMessage::GetPoint(const char* name, const BPoint& defaultValue) const
{
	return GetPoint(name, 0, defaultValue);
}


BPoint
BMessage::GetPoint(const char* name, int32 index, const BPoint& defaultValue) const
{
	BPoint value;
	if (FindPoint(name, index, &value) == B_OK)
		return value;
	return defaultValue;
}


status_t
BMessage::SetPointer(const char* name, const void* value)
{
	return SetData(name, B_POINTER_TYPE, &value, sizeof(value));
}


status_t
BMessage::SetString(const char* name, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return SetData(name, B_STRING_TYPE, string, strlen(string) + 1, false);
}


status_t
BMessage::SetString(const char* name, const BString& string)
{
	return SetData(name, B_STRING_TYPE, string.String(), string.Length() + 1, false);
}


status_t
BMessage::SetPoint(const char* name, const BPoint& value)
{
	return SetData(name, B_POINT_TYPE, &value, sizeof(value));
}


status_t
BMessage::SetRect(const char* name, const BRect& value)
{
	return SetData(name, B_RECT_TYPE, &value, sizeof(value));
}


status_t
BMessage::SetData(
	const char* name, type_code type, const void* data, ssize_t numBytes, bool fixedSize, int count)
{
	if (data == NULL || numBytes <= 0)
		return B_BAD_VALUE;

	if (ReplaceData(name, type, data, numBytes) == B_OK)
		return B_OK;
	return AddData(name, type, data, numBytes, fixedSize, count);
}
