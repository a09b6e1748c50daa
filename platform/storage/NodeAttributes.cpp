/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// BNode's attributes, kept as the host's extended attributes.


#include <Node.h>

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/xattr.h>

#include <StorageDefs.h>
#include <String.h>
#include <TypeConstants.h>
#include <fs_attr.h>


// Attributes live in the host's "user." name space; the value starts with the type code.
static const char kAttrPrefix[] = "user.";
static const size_t kAttrPrefixLength = sizeof(kAttrPrefix) - 1;
static const size_t kMaxHostAttrNameLength = 255;
static const size_t kTypeSize = 4;
static const size_t kMaxAttrValueSize = 65536;


static status_t
host_attr_name(const char* name, char* buffer)
{
	if (name == NULL || name[0] == '\0')
		return B_BAD_VALUE;
	size_t length = strlen(name);
	if (length >= B_ATTR_NAME_LENGTH || kAttrPrefixLength + length > kMaxHostAttrNameLength)
		return B_NAME_TOO_LONG;

	memcpy(buffer, kAttrPrefix, kAttrPrefixLength);
	memcpy(buffer + kAttrPrefixLength, name, length + 1);
	return B_OK;
}


static type_code
read_type(const char* value, size_t size)
{
	if (size < kTypeSize)
		return 0;
	const uint8* bytes = reinterpret_cast<const uint8*>(value);
	return ((uint32)bytes[0] << 24) | ((uint32)bytes[1] << 16) | ((uint32)bytes[2] << 8)
		| (uint32)bytes[3];
}


static void
write_type(char* value, type_code type)
{
	value[0] = (char)((type >> 24) & 0xff);
	value[1] = (char)((type >> 16) & 0xff);
	value[2] = (char)((type >> 8) & 0xff);
	value[3] = (char)(type & 0xff);
}


ssize_t
BNode::WriteAttr(const char* name, type_code type, off_t offset, const void* buffer, size_t length)
{
	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	if (offset < 0 || (buffer == NULL && length > 0))
		return B_BAD_VALUE;
	char hostName[kMaxHostAttrNameLength + 1];
	status_t status = host_attr_name(name, hostName);
	if (status != B_OK)
		return status;
	if ((uint64)offset > kMaxAttrValueSize || length > kMaxAttrValueSize - kTypeSize
		|| (uint64)offset + length > kMaxAttrValueSize - kTypeSize) {
		return _be_status_from_errno(E2BIG);
	}

	// With an offset, the other bytes of the existing data stay.
	char* oldValue = NULL;
	size_t oldSize = 0;
	if (offset > 0) {
		status = _ReadRawAttr(name, &oldValue, &oldSize);
		if (status == B_ENTRY_NOT_FOUND) {
			oldValue = NULL;
			oldSize = 0;
		} else if (status != B_OK) {
			return status;
		}
	}
	size_t oldDataSize = oldSize >= kTypeSize ? oldSize - kTypeSize : 0;
	size_t dataSize = (size_t)offset + length;
	if (oldDataSize > dataSize)
		dataSize = oldDataSize;

	char* value = static_cast<char*>(malloc(kTypeSize + dataSize));
	if (value == NULL) {
		free(oldValue);
		return B_NO_MEMORY;
	}
	write_type(value, type);
	memset(value + kTypeSize, 0, dataSize);
	if (oldDataSize > 0)
		memcpy(value + kTypeSize, oldValue + kTypeSize, oldDataSize);
	if (length > 0)
		memcpy(value + kTypeSize + offset, buffer, length);
	free(oldValue);

	int result = fsetxattr(fFd, hostName, value, kTypeSize + dataSize, 0);
	int error = errno;
	free(value);
	if (result != 0)
		return _be_status_from_errno(error);
	return (ssize_t)length;
}


ssize_t
BNode::ReadAttr(const char* name, type_code type, off_t offset, void* buffer, size_t length) const
{
	(void)type;
	// ignored, as on Haiku

	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	if (offset < 0 || (buffer == NULL && length > 0))
		return B_BAD_VALUE;

	char* value;
	size_t size;
	status_t status = _ReadRawAttr(name, &value, &size);
	if (status != B_OK)
		return status;

	size_t dataSize = size >= kTypeSize ? size - kTypeSize : 0;
	size_t count = 0;
	if ((uint64)offset < dataSize) {
		count = dataSize - (size_t)offset;
		if (count > length)
			count = length;
		memcpy(buffer, value + kTypeSize + offset, count);
	}
	free(value);
	return (ssize_t)count;
}


status_t
BNode::RemoveAttr(const char* name)
{
	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	char hostName[kMaxHostAttrNameLength + 1];
	status_t status = host_attr_name(name, hostName);
	if (status != B_OK)
		return status;
	if (fremovexattr(fFd, hostName) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BNode::RenameAttr(const char* oldName, const char* newName)
{
	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	char oldHostName[kMaxHostAttrNameLength + 1];
	char newHostName[kMaxHostAttrNameLength + 1];
	status_t status = host_attr_name(oldName, oldHostName);
	if (status == B_OK)
		status = host_attr_name(newName, newHostName);
	if (status != B_OK)
		return status;

	char* value;
	size_t size;
	status = _ReadRawAttr(oldName, &value, &size);
	if (status != B_OK || strcmp(oldHostName, newHostName) == 0) {
		if (status == B_OK)
			free(value);
		return status;
	}

	int result = fsetxattr(fFd, newHostName, value, size, 0);
	int error = errno;
	free(value);
	if (result != 0)
		return _be_status_from_errno(error);
	if (fremovexattr(fFd, oldHostName) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BNode::GetAttrInfo(const char* name, attr_info* info) const
{
	if (info == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_FILE_ERROR;

	char* value;
	size_t size;
	status_t status = _ReadRawAttr(name, &value, &size);
	if (status != B_OK)
		return status;

	info->type = read_type(value, size);
	info->size = size >= kTypeSize ? (off_t)(size - kTypeSize) : 0;
	free(value);
	return B_OK;
}


status_t
BNode::GetNextAttrName(char* buffer)
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_FILE_ERROR;

	if (fAttrList == NULL) {
		status_t status = _ListAttrs();
		if (status != B_OK)
			return status;
	}

	while (fAttrListOffset < fAttrListSize) {
		const char* hostName = fAttrList + fAttrListOffset;
		size_t hostLength = strnlen(hostName, fAttrListSize - fAttrListOffset);
		fAttrListOffset += hostLength + 1;

		if (hostLength <= kAttrPrefixLength
			|| strncmp(hostName, kAttrPrefix, kAttrPrefixLength) != 0
			|| hostLength - kAttrPrefixLength >= B_ATTR_NAME_LENGTH) {
			continue;
		}
		memcpy(buffer, hostName + kAttrPrefixLength, hostLength - kAttrPrefixLength);
		buffer[hostLength - kAttrPrefixLength] = '\0';
		return B_OK;
	}
	return B_ENTRY_NOT_FOUND;
}


status_t
BNode::RewindAttrs()
{
	_FreeAttrList();
	return fCStatus == B_OK ? B_OK : B_FILE_ERROR;
}


status_t
BNode::WriteAttrString(const char* name, const BString* data)
{
	if (name == NULL || data == NULL)
		return B_BAD_VALUE;

	size_t length = (size_t)data->Length() + 1;
	ssize_t written = WriteAttr(name, B_STRING_TYPE, 0, data->String(), length);
	if (written < 0)
		return (status_t)written;
	return written == (ssize_t)length ? B_OK : B_ERROR;
}


status_t
BNode::ReadAttrString(const char* name, BString* result) const
{
	if (name == NULL || result == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_FILE_ERROR;

	char* value;
	size_t size;
	status_t status = _ReadRawAttr(name, &value, &size);
	if (status != B_OK)
		return status;

	// The stored string need not end with a NUL.
	size_t dataSize = size >= kTypeSize ? size - kTypeSize : 0;
	result->SetTo(value + (size >= kTypeSize ? kTypeSize : 0), (int32)dataSize);
	free(value);
	return B_OK;
}


status_t
BNode::_ReadRawAttr(const char* name, char** _value, size_t* _size) const
{
	char hostName[kMaxHostAttrNameLength + 1];
	status_t status = host_attr_name(name, hostName);
	if (status != B_OK)
		return status;

	// The value may change between asking for its size and reading it.
	for (int32 attempt = 0; attempt < 8; attempt++) {
		ssize_t size = fgetxattr(fFd, hostName, NULL, 0);
		if (size < 0)
			return _be_status_from_errno(errno);
		char* value = static_cast<char*>(malloc(size > 0 ? size : 1));
		if (value == NULL)
			return B_NO_MEMORY;
		ssize_t read = size > 0 ? fgetxattr(fFd, hostName, value, size) : 0;
		if (read >= 0) {
			*_value = value;
			*_size = (size_t)read;
			return B_OK;
		}
		int error = errno;
		free(value);
		if (error != ERANGE)
			return _be_status_from_errno(error);
	}
	return B_BUSY;
}


status_t
BNode::_ListAttrs()
{
	_FreeAttrList();
	for (int32 attempt = 0; attempt < 8; attempt++) {
		ssize_t size = flistxattr(fFd, NULL, 0);
		if (size < 0)
			return _be_status_from_errno(errno);
		char* list = static_cast<char*>(malloc(size > 0 ? size : 1));
		if (list == NULL)
			return B_NO_MEMORY;
		ssize_t read = size > 0 ? flistxattr(fFd, list, size) : 0;
		if (read >= 0) {
			fAttrList = list;
			fAttrListSize = (size_t)read;
			fAttrListOffset = 0;
			return B_OK;
		}
		int error = errno;
		free(list);
		if (error != ERANGE)
			return _be_status_from_errno(error);
	}
	return B_BUSY;
}


void
BNode::_FreeAttrList()
{
	free(fAttrList);
	fAttrList = NULL;
	fAttrListSize = 0;
	fAttrListOffset = 0;
}
