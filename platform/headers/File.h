/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FILE_H
#define _FILE_H


#include <DataIO.h>
#include <Node.h>
#include <StorageDefs.h>


// A file opened for its data (and, as a node, its attributes). The open mode is made of
// the POSIX flags of StorageDefs.h; a new file gets the permissions 0644 (less the umask).
// Symbolic links are traversed. A copy has a data position of its own.
class BFile : public BNode, public BPositionIO {
public:
	BFile();
	BFile(const BFile& file);
	BFile(const entry_ref* ref, uint32 openMode);
	BFile(const BEntry* entry, uint32 openMode);
	BFile(const char* path, uint32 openMode);
	BFile(const BDirectory* dir, const char* path, uint32 openMode);
	virtual ~BFile();

	status_t SetTo(const BFile& file);
	status_t SetTo(const entry_ref* ref, uint32 openMode);
	status_t SetTo(const BEntry* entry, uint32 openMode);
	status_t SetTo(const char* path, uint32 openMode);
	status_t SetTo(const BDirectory* dir, const char* path, uint32 openMode);
	void Unset();

	bool IsReadable() const;
	bool IsWritable() const;

	virtual ssize_t Read(void* buffer, size_t size);
	virtual ssize_t ReadAt(off_t location, void* buffer, size_t size);
	virtual ssize_t Write(const void* buffer, size_t size);
	virtual ssize_t WriteAt(off_t location, const void* buffer, size_t size);

	virtual off_t Seek(off_t offset, uint32 seekMode);
	virtual off_t Position() const;

	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t* size) const;

	BFile& operator=(const BFile& file);

private:
	status_t _Open(int dirFd, const char* path, uint32 openMode);

	uint32 fMode;
};


#endif // _FILE_H
