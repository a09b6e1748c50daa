/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <ctype.h>
#include <limits.h>
#include <string.h>

#include <new>

#include <String.h>

#include <MessageFields.h>
#include <MessagePrivate.h>


// The largest single item a message takes. The flat form stores sizes as 32-bit numbers.
static const ssize_t kMaxItemSize = INT32_MAX;


//	#pragma mark - Construction


BMessage::BMessage() : what(0), fFields(NULL), fDelivery(NULL), fWasDropped(false) { }


BMessage::BMessage(uint32 what) : what(what), fFields(NULL), fDelivery(NULL), fWasDropped(false) { }


// A copy is a message that has not travelled: it keeps none of the original's delivery.
BMessage::BMessage(const BMessage& other)
	: what(other.what), fFields(NULL), fDelivery(NULL), fWasDropped(other.fWasDropped)
{
	if (other.fFields != NULL)
		fFields = new FieldList(*other.fFields);
}


BMessage::~BMessage()
{
	// A sender still waiting for a reply gets B_NO_REPLY.
	if (IsSourceWaiting())
		SendReply(B_NO_REPLY);
	delete fDelivery;
	delete fFields;
}


BMessage&
BMessage::operator=(const BMessage& other)
{
	if (this == &other)
		return *this;

	FieldList* fields = other.fFields != NULL ? new FieldList(*other.fFields) : NULL;
	delete fFields;
	fFields = fields;
	what = other.what;
	fWasDropped = other.fWasDropped;
	return *this;
}


//	#pragma mark - Statistics and miscellaneous information


status_t
BMessage::GetInfo(type_code typeRequested, int32 index, char** nameFound, type_code* typeFound,
	int32* countFound) const
{
	const char* name = NULL;
	status_t status = GetInfo(typeRequested, index, &name, typeFound, countFound);
	if (status == B_OK && nameFound != NULL)
		*nameFound = const_cast<char*>(name);
	return status;
}


status_t
BMessage::GetInfo(type_code typeRequested, int32 index, const char** nameFound,
	type_code* typeFound, int32* countFound) const
{
	if (countFound != NULL)
		*countFound = 0;

	int32 fieldCount = fFields != NULL ? fFields->Count() : 0;
	if (index < 0 || index >= fieldCount)
		return B_BAD_INDEX;

	// The index counts only the fields of the requested type.
	int32 counter = -1;
	for (int32 i = 0; i < fieldCount; i++) {
		Field* field = fFields->FieldAt(i);
		if (typeRequested == B_ANY_TYPE || field->type == typeRequested)
			counter++;

		if (counter == index) {
			if (nameFound != NULL)
				*nameFound = field->name.c_str();
			if (typeFound != NULL)
				*typeFound = field->type;
			if (countFound != NULL)
				*countFound = field->Count();
			return B_OK;
		}
	}

	if (counter == -1)
		return B_BAD_TYPE;
	return B_BAD_INDEX;
}


status_t
BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound) const
{
	return GetInfo(name, typeFound, countFound, NULL);
}


status_t
BMessage::GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const
{
	return GetInfo(name, typeFound, NULL, fixedSize);
}


status_t
BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound, bool* fixedSize) const
{
	if (countFound != NULL)
		*countFound = 0;

	Field* field = NULL;
	status_t status = _FindField(name, B_ANY_TYPE, &field);
	if (status != B_OK)
		return status;

	if (typeFound != NULL)
		*typeFound = field->type;
	if (countFound != NULL)
		*countFound = field->Count();
	if (fixedSize != NULL)
		*fixedSize = field->fixedSize;
	return B_OK;
}


int32
BMessage::CountNames(type_code type) const
{
	if (fFields == NULL)
		return 0;
	if (type == B_ANY_TYPE)
		return fFields->Count();

	int32 count = 0;
	for (int32 i = 0; i < fFields->Count(); i++) {
		if (fFields->FieldAt(i)->type == type)
			count++;
	}
	return count;
}


bool
BMessage::IsEmpty() const
{
	return fFields == NULL || fFields->Count() == 0;
}


bool
BMessage::IsSystem() const
{
	// The system's codes are an underscore and three capital letters.
	char first = (char)(what >> 24);
	unsigned char second = (unsigned char)(what >> 16);
	unsigned char third = (unsigned char)(what >> 8);
	unsigned char fourth = (unsigned char)what;
	return first == '_' && isupper(second) != 0 && isupper(third) != 0 && isupper(fourth) != 0;
}


status_t
BMessage::Rename(const char* oldEntry, const char* newEntry)
{
	if (oldEntry == NULL || newEntry == NULL)
		return B_BAD_VALUE;

	Field* field = NULL;
	status_t status = _FindField(oldEntry, B_ANY_TYPE, &field);
	if (status != B_OK)
		return status;

	if (strcmp(oldEntry, newEntry) == 0)
		return B_OK;
	if (fFields->Find(newEntry) != NULL)
		return B_NAME_IN_USE;

	try {
		fFields->Rename(field, newEntry);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
	return B_OK;
}


// Delivery and replies are in MessageDelivery.cpp.


//	#pragma mark - Adding data


status_t
BMessage::AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
	bool isFixedSize, int32 count)
{
	// The count is only a hint at how many items will follow.
	B_UNUSED(count);

	if (name == NULL || data == NULL || numBytes <= 0 || type == B_ANY_TYPE)
		return B_BAD_VALUE;
	if (numBytes > kMaxItemSize)
		return B_ERROR;
	if (type == B_STRING_TYPE && static_cast<const char*>(data)[numBytes - 1] != '\0')
		return B_BAD_VALUE;

	Field* field = NULL;
	status_t status = _FindField(name, type, &field);
	if (status == B_NAME_NOT_FOUND)
		status = _AddField(name, type, isFixedSize, &field);
	if (status != B_OK)
		return status;

	if (field->fixedSize && field->Count() > 0 && (ssize_t)field->ItemSize(0) != numBytes)
		return B_BAD_VALUE;

	try {
		field->AppendItem(data, numBytes);
	} catch (const std::bad_alloc&) {
		if (field->Count() == 0)
			fFields->Remove(field);
		return B_NO_MEMORY;
	}
	return B_OK;
}


status_t
BMessage::AddString(const char* name, const char* string)
{
	return AddData(name, B_STRING_TYPE, string, string != NULL ? strlen(string) + 1 : 0, false);
}


status_t
BMessage::AddString(const char* name, const BString& string)
{
	return AddData(name, B_STRING_TYPE, string.String(), string.Length() + 1, false);
}


status_t
BMessage::AddPointer(const char* name, const void* pointer)
{
	return AddData(name, B_POINTER_TYPE, &pointer, sizeof(pointer), true);
}


status_t
BMessage::AddMessage(const char* name, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;

	try {
		std::vector<char> buffer(message->FlattenedSize());
		status_t status = message->Flatten(buffer.data(), buffer.size());
		if (status != B_OK)
			return status;
		return AddData(name, B_MESSAGE_TYPE, buffer.data(), buffer.size(), false);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
}


status_t
BMessage::Append(const BMessage& message)
{
	if (message.fFields == NULL)
		return B_OK;

	// Appending a message to itself reads from a copy.
	BMessage copy;
	const BMessage* source = &message;
	if (&message == this) {
		copy = message;
		source = &copy;
	}

	for (int32 i = 0; i < source->fFields->Count(); i++) {
		Field* field = source->fFields->FieldAt(i);
		for (int32 item = 0; item < field->Count(); item++) {
			status_t status = AddData(field->name.c_str(), field->type, field->ItemData(item),
				field->ItemSize(item), field->fixedSize);
			if (status != B_OK)
				return status;
		}
	}
	return B_OK;
}


//	#pragma mark - Removing data


status_t
BMessage::RemoveData(const char* name, int32 index)
{
	if (index < 0)
		return B_BAD_VALUE;

	Field* field = NULL;
	status_t status = _FindField(name, B_ANY_TYPE, &field);
	if (status != B_OK)
		return status;
	if (index >= field->Count())
		return B_BAD_INDEX;

	if (field->Count() == 1)
		fFields->Remove(field);
	else
		field->RemoveItem(index);
	return B_OK;
}


status_t
BMessage::RemoveName(const char* name)
{
	Field* field = NULL;
	status_t status = _FindField(name, B_ANY_TYPE, &field);
	if (status != B_OK)
		return status;

	fFields->Remove(field);
	return B_OK;
}


status_t
BMessage::MakeEmpty()
{
	delete fFields;
	fFields = NULL;
	return B_OK;
}


//	#pragma mark - Finding data


status_t
BMessage::FindData(const char* name, type_code type, const void** data, ssize_t* numBytes) const
{
	return FindData(name, type, 0, data, numBytes);
}


status_t
BMessage::FindData(
	const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const
{
	if (data == NULL)
		return B_BAD_VALUE;
	*data = NULL;

	Field* field = NULL;
	status_t status = _FindField(name, type, &field);
	if (status != B_OK)
		return status;
	if (index < 0 || index >= field->Count())
		return B_BAD_INDEX;

	*data = field->ItemData(index);
	if (numBytes != NULL)
		*numBytes = field->ItemSize(index);
	return B_OK;
}


status_t
BMessage::FindString(const char* name, const char** string) const
{
	return FindString(name, 0, string);
}


status_t
BMessage::FindString(const char* name, int32 index, const char** string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	ssize_t bytes;
	return FindData(name, B_STRING_TYPE, index, reinterpret_cast<const void**>(string), &bytes);
}


status_t
BMessage::FindString(const char* name, BString* string) const
{
	return FindString(name, 0, string);
}


status_t
BMessage::FindString(const char* name, int32 index, BString* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;

	// As on Haiku, the string is set even when the field is missing: it is emptied then.
	const char* value = NULL;
	status_t status = FindString(name, index, &value);
	string->SetTo(value != NULL ? value : "");
	return status;
}


status_t
BMessage::FindPointer(const char* name, void** pointer) const
{
	return FindPointer(name, 0, pointer);
}


status_t
BMessage::FindPointer(const char* name, int32 index, void** pointer) const
{
	if (pointer == NULL)
		return B_BAD_VALUE;
	*pointer = NULL;

	const void* data;
	ssize_t size;
	status_t status = FindData(name, B_POINTER_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	if (size != sizeof(void*))
		return B_BAD_DATA;

	memcpy(pointer, data, sizeof(void*));
	return B_OK;
}


status_t
BMessage::FindMessage(const char* name, BMessage* message) const
{
	return FindMessage(name, 0, message);
}


status_t
BMessage::FindMessage(const char* name, int32 index, BMessage* message) const
{
	if (message == NULL)
		return B_BAD_VALUE;

	const void* data;
	ssize_t size;
	status_t status = FindData(name, B_MESSAGE_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;

	return message->_Unflatten(static_cast<const char*>(data), size);
}


//	#pragma mark - Replacing data


status_t
BMessage::ReplaceData(const char* name, type_code type, const void* data, ssize_t numBytes)
{
	return ReplaceData(name, type, 0, data, numBytes);
}


status_t
BMessage::ReplaceData(
	const char* name, type_code type, int32 index, const void* data, ssize_t numBytes)
{
	if (data == NULL || numBytes <= 0 || type == B_ANY_TYPE)
		return B_BAD_VALUE;
	if (numBytes > kMaxItemSize)
		return B_ERROR;
	if (type == B_STRING_TYPE && static_cast<const char*>(data)[numBytes - 1] != '\0')
		return B_BAD_VALUE;

	Field* field = NULL;
	status_t status = _FindField(name, type, &field);
	if (status != B_OK)
		return status;
	if (index < 0 || index >= field->Count())
		return B_BAD_INDEX;
	if (field->fixedSize && (ssize_t)field->ItemSize(index) != numBytes)
		return B_BAD_VALUE;

	try {
		field->ReplaceItem(index, data, numBytes);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
	return B_OK;
}


status_t
BMessage::ReplaceString(const char* name, const char* string)
{
	return ReplaceString(name, 0, string);
}


status_t
BMessage::ReplaceString(const char* name, int32 index, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return ReplaceData(name, B_STRING_TYPE, index, string, strlen(string) + 1);
}


status_t
BMessage::ReplaceString(const char* name, const BString& string)
{
	return ReplaceString(name, 0, string);
}


status_t
BMessage::ReplaceString(const char* name, int32 index, const BString& string)
{
	return ReplaceData(name, B_STRING_TYPE, index, string.String(), string.Length() + 1);
}


status_t
BMessage::ReplacePointer(const char* name, const void* pointer)
{
	return ReplacePointer(name, 0, pointer);
}


status_t
BMessage::ReplacePointer(const char* name, int32 index, const void* pointer)
{
	return ReplaceData(name, B_POINTER_TYPE, index, &pointer, sizeof(pointer));
}


status_t
BMessage::ReplaceMessage(const char* name, const BMessage* message)
{
	return ReplaceMessage(name, 0, message);
}


status_t
BMessage::ReplaceMessage(const char* name, int32 index, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;

	try {
		std::vector<char> buffer(message->FlattenedSize());
		status_t status = message->Flatten(buffer.data(), buffer.size());
		if (status != B_OK)
			return status;
		return ReplaceData(name, B_MESSAGE_TYPE, index, buffer.data(), buffer.size());
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
}


//	#pragma mark - Comparing data


bool
BMessage::HasSameData(const BMessage& other, bool ignoreFieldOrder, bool deep) const
{
	if (this == &other)
		return true;

	int32 count = CountNames(B_ANY_TYPE);
	if (count != other.CountNames(B_ANY_TYPE))
		return false;

	for (int32 i = 0; i < count; i++) {
		Field* field = fFields->FieldAt(i);
		Field* otherField = ignoreFieldOrder ? other.fFields->Find(field->name.c_str())
											 : other.fFields->FieldAt(i);
		if (otherField == NULL || otherField->name != field->name || otherField->type != field->type
			|| otherField->Count() != field->Count()) {
			return false;
		}

		if (!deep || field->type != B_MESSAGE_TYPE) {
			if (otherField->ends != field->ends || otherField->data != field->data)
				return false;
			continue;
		}

		for (int32 item = 0; item < field->Count(); item++) {
			BMessage message;
			BMessage otherMessage;
			if (FindMessage(field->name.c_str(), item, &message) != B_OK
				|| other.FindMessage(field->name.c_str(), item, &otherMessage) != B_OK
				|| message.what != otherMessage.what
				|| !message.HasSameData(otherMessage, ignoreFieldOrder, deep)) {
				return false;
			}
		}
	}
	return true;
}


//	#pragma mark - Testing for data


bool
BMessage::HasData(const char* name, type_code type, int32 n) const
{
	Field* field = NULL;
	if (_FindField(name, type, &field) != B_OK)
		return false;
	return n >= 0 && n < field->Count();
}


bool
BMessage::HasString(const char* name, int32 n) const
{
	return HasData(name, B_STRING_TYPE, n);
}


bool
BMessage::HasPointer(const char* name, int32 n) const
{
	return HasData(name, B_POINTER_TYPE, n);
}


bool
BMessage::HasMessage(const char* name, int32 n) const
{
	return HasData(name, B_MESSAGE_TYPE, n);
}

//	#pragma mark - Private


status_t
BMessage::_FindField(const char* name, type_code type, Field** _field) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	if (fFields == NULL)
		return B_NAME_NOT_FOUND;

	Field* field = fFields->Find(name);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	if (type != B_ANY_TYPE && field->type != type)
		return B_BAD_TYPE;

	*_field = field;
	return B_OK;
}


status_t
BMessage::_AddField(const char* name, type_code type, bool isFixedSize, Field** _field)
{
	try {
		if (fFields == NULL)
			fFields = new FieldList;
		*_field = fFields->Add(name, type, isFixedSize);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
	return B_OK;
}
