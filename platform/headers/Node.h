/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _NODE_H
#define _NODE_H


#include <Statable.h>


class BDirectory;
class BEntry;
class BString;
struct attr_info;
struct entry_ref;


struct node_ref {
	node_ref();
	node_ref(dev_t device, ino_t node);
	node_ref(const node_ref& other);

	bool operator==(const node_ref& other) const;
	bool operator!=(const node_ref& other) const;
	bool operator<(const node_ref& other) const;
	node_ref& operator=(const node_ref& other);

	dev_t device;
	ino_t node;
};


// A file system node opened for its attributes and stat data. The node stays open (one
// file descriptor) for the object's lifetime; a symbolic link is not traversed.
//
// Attributes are the host's extended attributes named "user." + the attribute name. The
// value is the type code, most significant byte first, followed by the data, so a
// B_INT32_TYPE value begins with the bytes "LONG". A stored value shorter than four bytes
// (written by another program) reads as type 0 with no data.
//
// ReadAttr() ignores the type, as on Haiku, and copies at most `length` bytes of the data
// from `offset` on. WriteAttr() with offset 0 replaces the whole value; with an offset
// beyond 0 it keeps the other bytes of the existing data, fills a gap with zeros and stores
// the new type. Both return the number of data bytes moved. A missing attribute gives
// B_ENTRY_NOT_FOUND; a file system without extended attributes gives B_UNSUPPORTED (or
// another error status), never a pretended success.
class BNode : public BStatable {
public:
	BNode();
	BNode(const entry_ref* ref);
	BNode(const BEntry* entry);
	BNode(const char* path);
	BNode(const BDirectory* dir, const char* path);
	BNode(const BNode& node);
	virtual ~BNode();

	status_t InitCheck() const;

	virtual status_t GetStat(struct stat* stat) const;

	status_t SetTo(const entry_ref* ref);
	status_t SetTo(const BEntry* entry);
	status_t SetTo(const char* path);
	status_t SetTo(const BDirectory* dir, const char* path);
	void Unset();

	status_t Sync();

	ssize_t WriteAttr(
		const char* name, type_code type, off_t offset, const void* buffer, size_t length);
	ssize_t ReadAttr(
		const char* name, type_code type, off_t offset, void* buffer, size_t length) const;
	status_t RemoveAttr(const char* name);
	status_t RenameAttr(const char* oldName, const char* newName);
	status_t GetAttrInfo(const char* name, attr_info* info) const;
	status_t GetNextAttrName(char* buffer);
	status_t RewindAttrs();
	status_t WriteAttrString(const char* name, const BString* data);
	status_t ReadAttrString(const char* name, BString* result) const;

	BNode& operator=(const BNode& node);
	bool operator==(const BNode& node) const;
	bool operator!=(const BNode& node) const;

	// A new file descriptor for the node, which the caller closes.
	int Dup();

private:
	friend class BDirectory;
	friend class BEntry;
	friend class BFile;

	// Takes over an open file descriptor (or an error status, if negative).
	status_t _SetToFd(int fd);
	int
	_Fd() const
	{
		return fFd;
	}

	virtual void _RememberNode() const;

	status_t _ReadRawAttr(const char* name, char** _value, size_t* _size) const;
	status_t _ListAttrs();
	void _FreeAttrList();

	int fFd;
	status_t fCStatus;
	char* fAttrList;
	size_t fAttrListSize;
	size_t fAttrListOffset;
};


#endif // _NODE_H
