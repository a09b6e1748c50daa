/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <DataIO.h>

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>


// Haiku's B_NOT_SUPPORTED: the host's EOPNOTSUPP as a status code.
static const status_t kNotSupported = B_FROM_POSIX_ERROR(EOPNOTSUPP);

static const size_t kDefaultBlockSize = 256;


// The position a seek leads to, or B_BAD_VALUE for one before the start (or overflowing).
static off_t
seek_target(off_t position, uint32 seekMode, off_t current, off_t end)
{
	off_t origin;
	switch (seekMode) {
	case SEEK_SET:
		origin = 0;
		break;
	case SEEK_CUR:
		origin = current;
		break;
	case SEEK_END:
		origin = end;
		break;
	default:
		return B_BAD_VALUE;
	}
	if ((position > 0 && origin > INT64_MAX - position) || origin + position < 0)
		return B_BAD_VALUE;
	return origin + position;
}


//	#pragma mark - BDataIO


BDataIO::BDataIO() { }


BDataIO::~BDataIO() { }


ssize_t
BDataIO::Read(void* buffer, size_t size)
{
	(void)buffer;
	(void)size;
	return kNotSupported;
}


ssize_t
BDataIO::Write(const void* buffer, size_t size)
{
	(void)buffer;
	(void)size;
	return kNotSupported;
}


status_t
BDataIO::Flush()
{
	return B_OK;
}


status_t
BDataIO::ReadExactly(void* buffer, size_t size, size_t* _bytesRead)
{
	uint8* out = static_cast<uint8*>(buffer);
	size_t total = 0;
	status_t status = B_OK;
	while (total < size) {
		ssize_t bytesRead = Read(out + total, size - total);
		if (bytesRead < 0) {
			status = (status_t)bytesRead;
			break;
		}
		if (bytesRead == 0) {
			status = B_PARTIAL_READ;
			break;
		}
		total += (size_t)bytesRead;
	}
	if (_bytesRead != NULL)
		*_bytesRead = total;
	return status;
}


status_t
BDataIO::WriteExactly(const void* buffer, size_t size, size_t* _bytesWritten)
{
	const uint8* in = static_cast<const uint8*>(buffer);
	size_t total = 0;
	status_t status = B_OK;
	while (total < size) {
		ssize_t bytesWritten = Write(in + total, size - total);
		if (bytesWritten < 0) {
			status = (status_t)bytesWritten;
			break;
		}
		if (bytesWritten == 0) {
			status = B_PARTIAL_WRITE;
			break;
		}
		total += (size_t)bytesWritten;
	}
	if (_bytesWritten != NULL)
		*_bytesWritten = total;
	return status;
}


//	#pragma mark - BPositionIO


BPositionIO::BPositionIO() { }


BPositionIO::~BPositionIO() { }


ssize_t
BPositionIO::Read(void* buffer, size_t size)
{
	off_t position = Position();
	if (position < 0)
		return (ssize_t)position;
	ssize_t result = ReadAt(position, buffer, size);
	if (result > 0)
		Seek(result, SEEK_CUR);
	return result;
}


ssize_t
BPositionIO::Write(const void* buffer, size_t size)
{
	off_t position = Position();
	if (position < 0)
		return (ssize_t)position;
	ssize_t result = WriteAt(position, buffer, size);
	if (result > 0)
		Seek(result, SEEK_CUR);
	return result;
}


status_t
BPositionIO::ReadAtExactly(off_t position, void* buffer, size_t size, size_t* _bytesRead)
{
	uint8* out = static_cast<uint8*>(buffer);
	size_t total = 0;
	status_t status = B_OK;
	while (total < size) {
		ssize_t bytesRead = ReadAt(position + total, out + total, size - total);
		if (bytesRead < 0) {
			status = (status_t)bytesRead;
			break;
		}
		if (bytesRead == 0) {
			status = B_PARTIAL_READ;
			break;
		}
		total += (size_t)bytesRead;
	}
	if (_bytesRead != NULL)
		*_bytesRead = total;
	return status;
}


status_t
BPositionIO::WriteAtExactly(off_t position, const void* buffer, size_t size, size_t* _bytesWritten)
{
	const uint8* in = static_cast<const uint8*>(buffer);
	size_t total = 0;
	status_t status = B_OK;
	while (total < size) {
		ssize_t bytesWritten = WriteAt(position + total, in + total, size - total);
		if (bytesWritten < 0) {
			status = (status_t)bytesWritten;
			break;
		}
		if (bytesWritten == 0) {
			status = B_PARTIAL_WRITE;
			break;
		}
		total += (size_t)bytesWritten;
	}
	if (_bytesWritten != NULL)
		*_bytesWritten = total;
	return status;
}


status_t
BPositionIO::SetSize(off_t size)
{
	(void)size;
	return B_ERROR;
}


status_t
BPositionIO::GetSize(off_t* size) const
{
	if (size == NULL)
		return B_BAD_VALUE;

	BPositionIO* self = const_cast<BPositionIO*>(this);
	off_t current = Position();
	if (current < 0)
		return (status_t)current;
	off_t end = self->Seek(0, SEEK_END);
	if (end < 0)
		return (status_t)end;
	off_t back = self->Seek(current, SEEK_SET);
	if (back != current)
		return back < 0 ? (status_t)back : B_ERROR;
	*size = end;
	return B_OK;
}


//	#pragma mark - BMemoryIO


BMemoryIO::BMemoryIO(void* data, size_t length)
	: fReadOnly(false), fBuffer(static_cast<char*>(data)), fLength(data != NULL ? length : 0),
	  fBufferSize(data != NULL ? length : 0), fPosition(0)
{ }


BMemoryIO::BMemoryIO(const void* data, size_t length)
	: fReadOnly(true), fBuffer(static_cast<char*>(const_cast<void*>(data))),
	  fLength(data != NULL ? length : 0), fBufferSize(data != NULL ? length : 0), fPosition(0)
{ }


BMemoryIO::~BMemoryIO() { }


ssize_t
BMemoryIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if ((buffer == NULL && size > 0) || position < 0)
		return B_BAD_VALUE;

	size_t count = 0;
	if ((uint64)position < fLength) {
		count = fLength - (size_t)position;
		if (count > size)
			count = size;
		memcpy(buffer, fBuffer + position, count);
	}
	return (ssize_t)count;
}


ssize_t
BMemoryIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if ((buffer == NULL && size > 0) || position < 0)
		return B_BAD_VALUE;

	size_t count = 0;
	if ((uint64)position < fBufferSize) {
		count = fBufferSize - (size_t)position;
		if (count > size)
			count = size;
		memcpy(fBuffer + position, buffer, count);
		if ((size_t)position + count > fLength)
			fLength = (size_t)position + count;
	}
	return (ssize_t)count;
}


off_t
BMemoryIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = seek_target(position, seekMode, fPosition, (off_t)fLength);
	if (target < 0)
		return target;
	fPosition = target;
	return fPosition;
}


off_t
BMemoryIO::Position() const
{
	return fPosition;
}


status_t
BMemoryIO::SetSize(off_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if (size < 0)
		return B_BAD_VALUE;
	if ((uint64)size > fBufferSize)
		return B_ERROR;
	fLength = (size_t)size;
	return B_OK;
}


//	#pragma mark - BMallocIO


BMallocIO::BMallocIO()
	: fBlockSize(kDefaultBlockSize), fMallocSize(0), fLength(0), fData(NULL), fPosition(0)
{ }


BMallocIO::~BMallocIO()
{
	free(fData);
}


ssize_t
BMallocIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if ((buffer == NULL && size > 0) || position < 0)
		return B_BAD_VALUE;

	size_t count = 0;
	if ((uint64)position < fLength) {
		count = fLength - (size_t)position;
		if (count > size)
			count = size;
		memcpy(buffer, fData + position, count);
	}
	return (ssize_t)count;
}


ssize_t
BMallocIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if ((buffer == NULL && size > 0) || position < 0)
		return B_BAD_VALUE;
	if (size > (size_t)SSIZE_MAX || (uint64)position > (uint64)SSIZE_MAX - size)
		return B_BAD_VALUE;
	if (size == 0)
		return 0;

	size_t end = (size_t)position + size;
	if (end > fLength) {
		size_t oldLength = fLength;
		if (end > fMallocSize) {
			status_t status = SetSize(end);
			if (status != B_OK)
				return status;
		}
		// bytes between the old end and this write read as zeros
		if ((size_t)position > oldLength)
			memset(fData + oldLength, 0, (size_t)position - oldLength);
		fLength = end;
	}
	memcpy(fData + position, buffer, size);
	return (ssize_t)size;
}


off_t
BMallocIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = seek_target(position, seekMode, fPosition, (off_t)fLength);
	if (target < 0)
		return target;
	fPosition = target;
	return fPosition;
}


off_t
BMallocIO::Position() const
{
	return fPosition;
}


status_t
BMallocIO::SetSize(off_t size)
{
	if (size < 0 || (uint64)size > (uint64)SSIZE_MAX - fBlockSize)
		return B_BAD_VALUE;

	if (size == 0) {
		free(fData);
		fData = NULL;
		fMallocSize = 0;
		fLength = 0;
		return B_OK;
	}

	size_t newSize = ((size_t)size + fBlockSize - 1) / fBlockSize * fBlockSize;
	if (newSize != fMallocSize) {
		char* newData = static_cast<char*>(realloc(fData, newSize));
		if (newData == NULL)
			return B_NO_MEMORY;
		if (newSize > fMallocSize)
			memset(newData + fMallocSize, 0, newSize - fMallocSize);
		fData = newData;
		fMallocSize = newSize;
	}
	// growing reads as zeros, even over bytes that an earlier shrink cut off
	if ((size_t)size > fLength)
		memset(fData + fLength, 0, (size_t)size - fLength);
	fLength = (size_t)size;
	return B_OK;
}


void
BMallocIO::SetBlockSize(size_t blockSize)
{
	fBlockSize = blockSize > 0 ? blockSize : 1;
}


const void*
BMallocIO::Buffer() const
{
	return fData;
}


size_t
BMallocIO::BufferLength() const
{
	return fLength;
}
