/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _ENTRY_H
#define _ENTRY_H


#include <sys/stat.h>
#include <sys/types.h>

#include <SupportDefs.h>

#include <Statable.h>


class BDirectory;
class BPath;


// An entry: a name in a folder. Linux cannot open a node by its inode number, so the
// layer remembers, for the whole process, the path of every folder whose (device, inode)
// went into an entry_ref it made (BEntry::GetRef(), get_ref_for_path(),
// BDirectory::GetNextRef(), ...) and of every node that GetNodeRef() gave. A ref is
// resolved through that record, which is checked against the file system each time; a ref
// to a node the process never made a ref for, or that has moved since, resolves to
// B_ENTRY_NOT_FOUND.
struct entry_ref {
	entry_ref();
	entry_ref(dev_t device, ino_t directory, const char* name);
	entry_ref(const entry_ref& ref);
	~entry_ref();

	status_t set_name(const char* name);

	bool operator==(const entry_ref& ref) const;
	bool operator!=(const entry_ref& ref) const;
	entry_ref& operator=(const entry_ref& ref);

	dev_t device;
	ino_t directory;
	char* name;
};


// An entry in the file system, kept as the canonical path of its folder plus its name.
// The entry need not exist ("abstract") as long as its folder does; Exists() says which.
// The root folder is the entry "." in "/".
class BEntry : public BStatable {
public:
	BEntry();
	BEntry(const BDirectory* dir, const char* path, bool traverse = false);
	BEntry(const entry_ref* ref, bool traverse = false);
	BEntry(const char* path, bool traverse = false);
	BEntry(const BEntry& entry);
	virtual ~BEntry();

	status_t InitCheck() const;
	bool Exists() const;

	const char* Name() const;

	virtual status_t GetStat(struct stat* stat) const;

	status_t SetTo(const BDirectory* dir, const char* path, bool traverse = false);
	status_t SetTo(const entry_ref* ref, bool traverse = false);
	status_t SetTo(const char* path, bool traverse = false);
	void Unset();

	status_t GetRef(entry_ref* ref) const;
	status_t GetPath(BPath* path) const;
	status_t GetParent(BEntry* entry) const;
	status_t GetParent(BDirectory* dir) const;
	status_t GetName(char* buffer) const;

	status_t Rename(const char* path, bool clobber = false);
	status_t MoveTo(BDirectory* dir, const char* path = NULL, bool clobber = false);
	status_t Remove();

	bool operator==(const BEntry& item) const;
	bool operator!=(const BEntry& item) const;

	BEntry& operator=(const BEntry& item);

private:
	friend class BDirectory;
	friend class BFile;
	friend class BNode;
	friend class BPath;

	virtual void _RememberNode() const;

	status_t _Set(const char* directory, const char* name);
	status_t _SetFromPath(const char* base, const char* path, bool traverse);
	status_t _Move(const char* base, const char* path, bool clobber);
	// The full path into the buffer (at least B_PATH_NAME_LENGTH bytes).
	void _FullPath(char* buffer) const;

	char* fDirectory;
	char* fName;
	status_t fCStatus;
};


status_t get_ref_for_path(const char* path, entry_ref* ref);
bool operator<(const entry_ref& a, const entry_ref& b);


#endif // _ENTRY_H
