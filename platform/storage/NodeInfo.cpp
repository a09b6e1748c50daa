/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <NodeInfo.h>

#include <errno.h>
#include <string.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <TypeConstants.h>
#include <fs_attr.h>


static const char kTypeAttribute[] = "BEOS:TYPE";
static const char kFreedesktopTypeAttribute[] = "user.mime_type";


BNodeInfo::BNodeInfo() : fNode(NULL), fCStatus(B_NO_INIT) { }


BNodeInfo::BNodeInfo(BNode* node) : fNode(NULL), fCStatus(B_NO_INIT)
{
	SetTo(node);
}


BNodeInfo::~BNodeInfo() { }


status_t
BNodeInfo::SetTo(BNode* node)
{
	fNode = NULL;
	fCStatus = node != NULL && node->InitCheck() == B_OK ? B_OK : B_BAD_VALUE;
	if (fCStatus == B_OK)
		fNode = node;
	return fCStatus;
}


status_t
BNodeInfo::InitCheck() const
{
	return fCStatus;
}


status_t
BNodeInfo::GetType(char* type) const
{
	if (type == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_NO_INIT;

	attr_info info;
	status_t status = fNode->GetAttrInfo(kTypeAttribute, &info);
	if (status == B_OK) {
		if (info.type != B_MIME_STRING_TYPE)
			return B_BAD_TYPE;
		if (info.size > B_MIME_TYPE_LENGTH)
			return B_BAD_DATA;
		ssize_t read = fNode->ReadAttr(kTypeAttribute, B_MIME_STRING_TYPE, 0, type, info.size);
		if (read < 0)
			return (status_t)read;
		// the stored string need not end with a NUL
		type[read < B_MIME_TYPE_LENGTH ? read : B_MIME_TYPE_LENGTH - 1] = '\0';
		return B_OK;
	}
	if (status != B_ENTRY_NOT_FOUND)
		return status;

	// A type that a Linux program set in the freedesktop attribute only.
	int fd = fNode->Dup();
	if (fd < 0)
		return fd;
	char buffer[B_MIME_TYPE_LENGTH];
	ssize_t length = fgetxattr(fd, kFreedesktopTypeAttribute, buffer, sizeof(buffer) - 1);
	int error = errno;
	close(fd);
	if (length < 0)
		return error == ERANGE ? B_BAD_DATA : _be_status_from_errno(error);
	buffer[length] = '\0';
	memcpy(type, buffer, (size_t)length + 1);
	return B_OK;
}


status_t
BNodeInfo::SetType(const char* type)
{
	if (type != NULL && strlen(type) >= B_MIME_TYPE_LENGTH)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_NO_INIT;

	status_t status;
	if (type != NULL) {
		size_t length = strlen(type) + 1;
		ssize_t written = fNode->WriteAttr(kTypeAttribute, B_MIME_STRING_TYPE, 0, type, length);
		if (written < 0)
			return (status_t)written;
		if (written != (ssize_t)length)
			return B_ERROR;
	} else {
		status = fNode->RemoveAttr(kTypeAttribute);
		if (status != B_OK)
			return status;
	}

	int fd = fNode->Dup();
	if (fd < 0)
		return fd;
	int result;
	if (type != NULL)
		result = fsetxattr(fd, kFreedesktopTypeAttribute, type, strlen(type), 0);
	else
		result = fremovexattr(fd, kFreedesktopTypeAttribute);
	int error = errno;
	close(fd);

	status = B_OK;
	if (result != 0 && !(type == NULL && error == ENODATA))
		status = _be_status_from_errno(error);
	return status;
}
