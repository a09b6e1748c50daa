/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <errno.h>
#include <string.h>

#include <new>

#include <MessageFields.h>
#include <MessagePrivate.h>


// The flat form, in the host's byte order (the magic number shows a foreign one):
//   header:  magic, what, total size in bytes, field count        (4 x uint32)
//   field:   type, flags, name length, item count, data size       (5 x uint32)
//            the name (without NUL), then the data: the items back to back for a
//            fixed-size field, each item preceded by its uint32 size otherwise.
static const uint32 kFlatMagic = 'WgM1';
static const size_t kFlatHeaderSize = 4 * sizeof(uint32);
static const size_t kFlatFieldHeaderSize = 5 * sizeof(uint32);
static const uint32 kFlatFieldFixedSize = 0x1;


namespace {


class FlatWriter {
public:
	FlatWriter(uint8* buffer) : fPosition(buffer) { }

	void
	Write32(uint32 value)
	{
		memcpy(fPosition, &value, sizeof(value));
		fPosition += sizeof(value);
	}

	void
	Write(const void* data, size_t size)
	{
		if (size > 0)
			memcpy(fPosition, data, size);
		fPosition += size;
	}

private:
	uint8* fPosition;
};


// Reads the flat form and never goes past the end it was given.
class FlatReader {
public:
	FlatReader(const uint8* data, size_t size) : fData(data), fSize(size), fOffset(0) { }

	size_t
	Remaining() const
	{
		return fSize - fOffset;
	}

	bool
	Read32(uint32* value)
	{
		if (Remaining() < sizeof(uint32))
			return false;
		memcpy(value, fData + fOffset, sizeof(uint32));
		fOffset += sizeof(uint32);
		return true;
	}

	bool
	Read(const uint8** bytes, size_t size)
	{
		if (Remaining() < size)
			return false;
		*bytes = fData + fOffset;
		fOffset += size;
		return true;
	}

private:
	const uint8* fData;
	size_t fSize;
	size_t fOffset;
};


} // namespace


//	#pragma mark - Reading fields


// Reads the fields of the flat form. Anything out of place makes the whole data invalid.
bool
BMessage::FieldList::ReadFlat(const uint8* buffer, size_t size, uint32 fieldCount)
{
	FlatReader reader(buffer, size);
	if (fieldCount > reader.Remaining() / kFlatFieldHeaderSize)
		return false;

	for (uint32 i = 0; i < fieldCount; i++) {
		uint32 type;
		uint32 flags;
		uint32 nameLength;
		uint32 count;
		uint32 dataSize;
		const uint8* name;
		const uint8* data;
		if (!reader.Read32(&type) || !reader.Read32(&flags) || !reader.Read32(&nameLength)
			|| !reader.Read32(&count) || !reader.Read32(&dataSize)
			|| !reader.Read(&name, nameLength) || !reader.Read(&data, dataSize)) {
			return false;
		}

		std::string fieldName(reinterpret_cast<const char*>(name), nameLength);
		bool fixedSize = (flags & kFlatFieldFixedSize) != 0;
		if ((flags & ~kFlatFieldFixedSize) != 0 || type == B_ANY_TYPE || count == 0
			|| fieldName.find('\0') != std::string::npos || Find(fieldName.c_str()) != NULL) {
			return false;
		}
		// Every item holds a byte at least: a count the data can't hold is refused before
		// anything is made for it.
		if (fixedSize ? count > dataSize || dataSize % count != 0
					  : count > dataSize / (sizeof(uint32) + 1))
			return false;

		Field* field = Add(fieldName.c_str(), type, fixedSize);
		field->ends.reserve(count);
		field->data.reserve(dataSize);
		FlatReader items(data, dataSize);
		for (uint32 item = 0; item < count; item++) {
			uint32 itemSize = dataSize / count;
			if (!fixedSize && !items.Read32(&itemSize))
				return false;

			const uint8* itemData;
			if (itemSize == 0 || !items.Read(&itemData, itemSize))
				return false;
			// Strings are handed out as C strings: each must end in its NUL.
			if (type == B_STRING_TYPE && itemData[itemSize - 1] != '\0')
				return false;
			field->AppendItem(itemData, itemSize);
		}
		if (items.Remaining() != 0)
			return false;
	}
	return reader.Remaining() == 0;
}


//	#pragma mark - Flattening


ssize_t
BMessage::FlattenedSize() const
{
	size_t size = kFlatHeaderSize;
	for (int32 i = 0; fFields != NULL && i < fFields->Count(); i++) {
		Field* field = fFields->FieldAt(i);
		size += kFlatFieldHeaderSize + field->name.size() + field->data.size();
		if (!field->fixedSize)
			size += sizeof(uint32) * field->Count();
	}
	return (ssize_t)size;
}


status_t
BMessage::Flatten(char* buffer, ssize_t size) const
{
	if (buffer == NULL || size < 0)
		return B_BAD_VALUE;

	ssize_t flatSize = FlattenedSize();
	if (flatSize > (ssize_t)UINT32_MAX)
		return B_ERROR;
	if (size < flatSize)
		return _be_status_from_errno(EOVERFLOW);

	FlatWriter writer(reinterpret_cast<uint8*>(buffer));
	writer.Write32(kFlatMagic);
	writer.Write32(what);
	writer.Write32((uint32)flatSize);
	writer.Write32((uint32)CountNames(B_ANY_TYPE));

	for (int32 i = 0; fFields != NULL && i < fFields->Count(); i++) {
		Field* field = fFields->FieldAt(i);
		size_t dataSize = field->data.size();
		if (!field->fixedSize)
			dataSize += sizeof(uint32) * field->Count();

		writer.Write32(field->type);
		writer.Write32(field->fixedSize ? kFlatFieldFixedSize : 0);
		writer.Write32((uint32)field->name.size());
		writer.Write32((uint32)field->Count());
		writer.Write32((uint32)dataSize);
		writer.Write(field->name.data(), field->name.size());
		if (field->fixedSize) {
			writer.Write(field->data.data(), field->data.size());
			continue;
		}
		for (int32 item = 0; item < field->Count(); item++) {
			writer.Write32((uint32)field->ItemSize(item));
			writer.Write(field->ItemData(item), field->ItemSize(item));
		}
	}
	return B_OK;
}


status_t
BMessage::Unflatten(const char* flatBuffer)
{
	if (flatBuffer == NULL)
		return B_BAD_VALUE;

	// The buffer carries no size of its own: the size in its header bounds every read.
	uint32 header[3];
	memcpy(header, flatBuffer, sizeof(header));
	if (header[0] != kFlatMagic) {
		MakeEmpty();
		return B_BAD_VALUE;
	}
	return _Unflatten(flatBuffer, header[2]);
}


status_t
BMessage::Private::Unflatten(const char* buffer, size_t size)
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	uint32 header[3];
	if (size < sizeof(header)) {
		fMessage->MakeEmpty();
		return B_BAD_VALUE;
	}
	memcpy(header, buffer, sizeof(header));
	if (header[0] != kFlatMagic || header[2] > size) {
		fMessage->MakeEmpty();
		return B_BAD_VALUE;
	}
	return fMessage->_Unflatten(buffer, header[2]);
}


status_t
BMessage::_Unflatten(const char* buffer, size_t size)
{
	FlatReader reader(reinterpret_cast<const uint8*>(buffer), size);
	uint32 magic;
	uint32 newWhat;
	uint32 flatSize;
	uint32 fieldCount;
	FieldList* fields = NULL;
	status_t status = B_BAD_VALUE;

	if (reader.Read32(&magic) && reader.Read32(&newWhat) && reader.Read32(&flatSize)
		&& reader.Read32(&fieldCount) && magic == kFlatMagic && flatSize == size) {
		try {
			std::unique_ptr<FieldList> list = std::make_unique<FieldList>();
			const uint8* fieldData = reinterpret_cast<const uint8*>(buffer) + kFlatHeaderSize;
			if (list->ReadFlat(fieldData, size - kFlatHeaderSize, fieldCount))
				fields = list.release();
		} catch (const std::bad_alloc&) {
			status = B_NO_MEMORY;
		}
	}

	// The old fields go only now: the buffer may lie inside them.
	delete fFields;
	fFields = fields;
	if (fields == NULL)
		return status;

	what = newWhat;
	return B_OK;
}
