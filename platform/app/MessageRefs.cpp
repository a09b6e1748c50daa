/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <string.h>

#include <Entry.h>
#include <TypeConstants.h>


// A reference is kept as the device, the folder's node and the name with its NUL. It is
// meaningful in the process that made it, where the folder can be found again.
struct FlatRef {
	int64 device;
	int64 directory;
};


status_t
BMessage::AddRef(const char* name, const entry_ref* ref)
{
	if (ref == NULL)
		return B_BAD_VALUE;
	size_t nameLength = ref->name != NULL ? strlen(ref->name) + 1 : 0;
	size_t size = sizeof(FlatRef) + nameLength;
	char* buffer = new char[size];
	FlatRef flat = {(int64)ref->device, (int64)ref->directory};
	memcpy(buffer, &flat, sizeof(flat));
	if (nameLength > 0)
		memcpy(buffer + sizeof(flat), ref->name, nameLength);
	status_t status = AddData(name, B_REF_TYPE, buffer, size, false);
	delete[] buffer;
	return status;
}


status_t
BMessage::FindRef(const char* name, entry_ref* ref) const
{
	return FindRef(name, 0, ref);
}


status_t
BMessage::FindRef(const char* name, int32 index, entry_ref* ref) const
{
	if (ref == NULL)
		return B_BAD_VALUE;
	const void* data;
	ssize_t size;
	status_t status = FindData(name, B_REF_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	if (size < (ssize_t)sizeof(FlatRef))
		return B_BAD_DATA;

	FlatRef flat;
	memcpy(&flat, data, sizeof(flat));
	const char* refName = NULL;
	if (size > (ssize_t)sizeof(FlatRef)) {
		refName = (const char*)data + sizeof(FlatRef);
		if (refName[size - sizeof(FlatRef) - 1] != '\0')
			return B_BAD_DATA;
	}
	*ref = entry_ref((dev_t)flat.device, (ino_t)flat.directory, refName);
	return B_OK;
}
