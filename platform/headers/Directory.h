/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DIRECTORY_H
#define _DIRECTORY_H


#include <Node.h>
#include <StorageDefs.h>


class BEntry;
class BFile;
struct entry_ref;


// A folder, open for the object's lifetime. GetNextEntry() and GetNextRef() skip "." and
// ".." and give the entries in the order the host returns them; at the end they return
// B_ENTRY_NOT_FOUND. Each object has its own iterator, also after copying.
class BDirectory : public BNode {
public:
	BDirectory();
	BDirectory(const BDirectory& dir);
	BDirectory(const entry_ref* ref);
	BDirectory(const node_ref* nref);
	BDirectory(const BEntry* entry);
	BDirectory(const char* path);
	BDirectory(const BDirectory* dir, const char* path);
	virtual ~BDirectory();

	status_t SetTo(const entry_ref* ref);
	status_t SetTo(const node_ref* nref);
	status_t SetTo(const BEntry* entry);
	status_t SetTo(const char* path);
	status_t SetTo(const BDirectory* dir, const char* path);
	void Unset();

	status_t GetEntry(BEntry* entry) const;

	bool IsRootDirectory() const;

	status_t FindEntry(const char* path, BEntry* entry, bool traverse = false) const;

	bool Contains(const char* path, int32 nodeFlags = B_ANY_NODE) const;
	bool Contains(const BEntry* entry, int32 nodeFlags = B_ANY_NODE) const;

	status_t GetStatFor(const char* path, struct stat* stat) const;

	virtual status_t GetNextEntry(BEntry* entry, bool traverse = false);
	virtual status_t GetNextRef(entry_ref* ref);
	virtual status_t Rewind();
	virtual int32 CountEntries();

	status_t CreateDirectory(const char* path, BDirectory* dir);
	status_t CreateFile(const char* path, BFile* file, bool failIfExists = false);

	BDirectory& operator=(const BDirectory& dir);

private:
	status_t _Adopt(int fd);
	status_t _OpenIterator();
	void _CloseIterator();
	status_t _NextName(const char** _name);

	struct __dirstream* fIterator;
};


// Creates every missing folder of the path with the given mode (less the umask).
status_t create_directory(const char* path, mode_t mode);


#endif // _DIRECTORY_H
