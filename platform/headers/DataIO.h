/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DATA_IO_H
#define _DATA_IO_H


#include <SupportDefs.h>


// A stream of bytes. Read() and Write() return the number of bytes moved, or an error
// status; the base class supports neither.
class BDataIO {
public:
	BDataIO();
	virtual ~BDataIO();

	virtual ssize_t Read(void* buffer, size_t size);
	virtual ssize_t Write(const void* buffer, size_t size);

	virtual status_t Flush();

	status_t ReadExactly(void* buffer, size_t size, size_t* _bytesRead = NULL);
	status_t WriteExactly(const void* buffer, size_t size, size_t* _bytesWritten = NULL);

private:
	BDataIO(const BDataIO&);
	BDataIO& operator=(const BDataIO&);
};


// Bytes with a position. Read() and Write() go through ReadAt() and WriteAt() at
// Position() and move the position by what was transferred.
class BPositionIO : public BDataIO {
public:
	BPositionIO();
	virtual ~BPositionIO();

	virtual ssize_t Read(void* buffer, size_t size);
	virtual ssize_t Write(const void* buffer, size_t size);

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size) = 0;
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;

	status_t ReadAtExactly(off_t position, void* buffer, size_t size, size_t* _bytesRead = NULL);
	status_t WriteAtExactly(
		off_t position, const void* buffer, size_t size, size_t* _bytesWritten = NULL);

	virtual off_t Seek(off_t position, uint32 seekMode) = 0;
	virtual off_t Position() const = 0;

	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t* size) const;
};


// A fixed buffer owned by the caller. Writes never go past its end; a const buffer is
// read-only (writes give B_NOT_ALLOWED).
class BMemoryIO : public BPositionIO {
public:
	BMemoryIO(void* data, size_t length);
	BMemoryIO(const void* data, size_t length);
	virtual ~BMemoryIO();

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size);

	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;

	virtual status_t SetSize(off_t size);

private:
	BMemoryIO(const BMemoryIO&);
	BMemoryIO& operator=(const BMemoryIO&);

	bool fReadOnly;
	char* fBuffer;
	size_t fLength;
	size_t fBufferSize;
	off_t fPosition;
};


// A growing heap buffer, allocated in multiples of the block size (256 bytes unless set).
// Bytes between the old end and a write beyond it read as zeros.
class BMallocIO : public BPositionIO {
public:
	BMallocIO();
	virtual ~BMallocIO();

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size);

	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;

	virtual status_t SetSize(off_t size);

	void SetBlockSize(size_t blockSize);

	const void* Buffer() const;
	size_t BufferLength() const;

private:
	BMallocIO(const BMallocIO&);
	BMallocIO& operator=(const BMallocIO&);

	size_t fBlockSize;
	size_t fMallocSize;
	size_t fLength;
	char* fData;
	off_t fPosition;
};


#endif // _DATA_IO_H
