/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <File.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


static const uint32 kOpenModeMask = O_ACCMODE | O_CREAT | O_EXCL | O_TRUNC | O_APPEND;


BFile::BFile() : fMode(0) { }


BFile::BFile(const BFile& file) : BNode(), BPositionIO(), fMode(0)
{
	*this = file;
}


BFile::BFile(const entry_ref* ref, uint32 openMode) : fMode(0)
{
	SetTo(ref, openMode);
}


BFile::BFile(const BEntry* entry, uint32 openMode) : fMode(0)
{
	SetTo(entry, openMode);
}


BFile::BFile(const char* path, uint32 openMode) : fMode(0)
{
	SetTo(path, openMode);
}


BFile::BFile(const BDirectory* dir, const char* path, uint32 openMode) : fMode(0)
{
	SetTo(dir, path, openMode);
}


BFile::~BFile() { }


status_t
BFile::SetTo(const BFile& file)
{
	*this = file;
	return InitCheck();
}


status_t
BFile::SetTo(const entry_ref* ref, uint32 openMode)
{
	if (ref == NULL)
		return _Open(AT_FDCWD, NULL, openMode);

	std::string path;
	status_t status = path_for_ref(ref->device, ref->directory, ref->name, path);
	if (status != B_OK) {
		Unset();
		return _SetToFd(status);
	}
	return _Open(AT_FDCWD, path.c_str(), openMode);
}


status_t
BFile::SetTo(const BEntry* entry, uint32 openMode)
{
	if (entry == NULL || entry->InitCheck() != B_OK)
		return _Open(AT_FDCWD, NULL, openMode);

	char path[B_PATH_NAME_LENGTH];
	entry->_FullPath(path);
	return _Open(AT_FDCWD, path, openMode);
}


status_t
BFile::SetTo(const char* path, uint32 openMode)
{
	return _Open(AT_FDCWD, path, openMode);
}


status_t
BFile::SetTo(const BDirectory* dir, const char* path, uint32 openMode)
{
	if (dir == NULL || path == NULL || path[0] == '/' || dir->InitCheck() != B_OK)
		return _Open(AT_FDCWD, NULL, openMode);
	return _Open(static_cast<const BNode*>(dir)->_Fd(), path, openMode);
}


void
BFile::Unset()
{
	BNode::Unset();
	fMode = 0;
}


bool
BFile::IsReadable() const
{
	uint32 access = fMode & O_ACCMODE;
	return InitCheck() == B_OK && (access == O_RDONLY || access == O_RDWR);
}


bool
BFile::IsWritable() const
{
	uint32 access = fMode & O_ACCMODE;
	return InitCheck() == B_OK && (access == O_WRONLY || access == O_RDWR);
}


ssize_t
BFile::Read(void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (buffer == NULL && size > 0)
		return B_BAD_VALUE;

	ssize_t result;
	do {
		result = read(_Fd(), buffer, size);
	} while (result < 0 && errno == EINTR);
	return result >= 0 ? result : _be_status_from_errno(errno);
}


ssize_t
BFile::ReadAt(off_t location, void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (location < 0 || (buffer == NULL && size > 0))
		return B_BAD_VALUE;

	ssize_t result;
	do {
		result = pread(_Fd(), buffer, size, location);
	} while (result < 0 && errno == EINTR);
	return result >= 0 ? result : _be_status_from_errno(errno);
}


ssize_t
BFile::Write(const void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (buffer == NULL && size > 0)
		return B_BAD_VALUE;

	const char* data = static_cast<const char*>(buffer);
	size_t written = 0;
	while (written < size) {
		ssize_t result = write(_Fd(), data + written, size - written);
		if (result < 0) {
			if (errno == EINTR)
				continue;
			if (written > 0)
				break;
			return _be_status_from_errno(errno);
		}
		if (result == 0)
			break;
		written += (size_t)result;
	}
	return (ssize_t)written;
}


ssize_t
BFile::WriteAt(off_t location, const void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (location < 0 || (buffer == NULL && size > 0))
		return B_BAD_VALUE;

	const char* data = static_cast<const char*>(buffer);
	size_t written = 0;
	while (written < size) {
		ssize_t result = pwrite(_Fd(), data + written, size - written, location + written);
		if (result < 0) {
			if (errno == EINTR)
				continue;
			if (written > 0)
				break;
			return _be_status_from_errno(errno);
		}
		if (result == 0)
			break;
		written += (size_t)result;
	}
	return (ssize_t)written;
}


off_t
BFile::Seek(off_t offset, uint32 seekMode)
{
	if (InitCheck() != B_OK)
		return B_FILE_ERROR;

	off_t position = lseek(_Fd(), offset, (int)seekMode);
	if (position < 0) {
		// a position before the start of the file
		return errno == EINVAL ? B_ERROR : _be_status_from_errno(errno);
	}
	return position;
}


off_t
BFile::Position() const
{
	if (InitCheck() != B_OK)
		return B_FILE_ERROR;

	off_t position = lseek(_Fd(), 0, SEEK_CUR);
	if (position < 0)
		return _be_status_from_errno(errno);
	return position;
}


status_t
BFile::SetSize(off_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (size < 0)
		return B_BAD_VALUE;
	if (ftruncate(_Fd(), size) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BFile::GetSize(off_t* size) const
{
	return BStatable::GetSize(size);
}


BFile&
BFile::operator=(const BFile& file)
{
	if (&file == this)
		return *this;

	if (file.InitCheck() != B_OK) {
		Unset();
		return *this;
	}

	// Open the file anew, so that the copy has a position of its own; fall back to
	// sharing the descriptor's position where /proc is missing.
	char link[64];
	snprintf(link, sizeof(link), "/proc/self/fd/%d", file._Fd());
	int fd = open(link, (file.fMode & (O_ACCMODE | O_APPEND)) | O_CLOEXEC | O_NOCTTY);
	if (fd >= 0) {
		off_t position = lseek(file._Fd(), 0, SEEK_CUR);
		if (position > 0)
			lseek(fd, position, SEEK_SET);
	} else {
		fd = fcntl(file._Fd(), F_DUPFD_CLOEXEC, 0);
	}
	status_t status = fd >= 0 ? (status_t)fd : _be_status_from_errno(errno);

	Unset();
	if (_SetToFd(status) == B_OK)
		fMode = file.fMode;
	return *this;
}


status_t
BFile::_Open(int dirFd, const char* path, uint32 openMode)
{
	Unset();
	if (path == NULL || (openMode & O_ACCMODE) == O_ACCMODE)
		return _SetToFd(B_BAD_VALUE);
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return _SetToFd(B_NAME_TOO_LONG);

	int flags = (int)(openMode & kOpenModeMask) | O_CLOEXEC | O_NOCTTY;
	int fd = openat(dirFd, path, flags, 0644);
	status_t status = _SetToFd(fd >= 0 ? fd : _be_status_from_errno(errno));
	if (status == B_OK)
		fMode = openMode & kOpenModeMask;
	return status;
}
