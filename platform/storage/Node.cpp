/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Node.h>

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


// Opens a node without traversing a final symbolic link. Links and sockets cannot be
// opened for reading; they get a descriptor that serves stat() only.
static int
open_node(int dirFd, const char* path)
{
	if (path == NULL)
		return B_BAD_VALUE;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	int fd = openat(dirFd, path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
	if (fd < 0 && (errno == ELOOP || errno == ENXIO))
		fd = openat(dirFd, path, O_PATH | O_NOFOLLOW | O_CLOEXEC);
	if (fd < 0)
		return _be_status_from_errno(errno);
	return fd;
}


//	#pragma mark - node_ref


node_ref::node_ref() : device((dev_t)-1), node((ino_t)-1) { }


node_ref::node_ref(dev_t device, ino_t node) : device(device), node(node) { }


node_ref::node_ref(const node_ref& other) : device(other.device), node(other.node) { }


bool
node_ref::operator==(const node_ref& other) const
{
	return device == other.device && node == other.node;
}


bool
node_ref::operator!=(const node_ref& other) const
{
	return !(*this == other);
}


bool
node_ref::operator<(const node_ref& other) const
{
	if (device != other.device)
		return device < other.device;
	return node < other.node;
}


node_ref&
node_ref::operator=(const node_ref& other)
{
	device = other.device;
	node = other.node;
	return *this;
}


//	#pragma mark - BNode


BNode::BNode() : fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0), fAttrListOffset(0)
{ }


BNode::BNode(const entry_ref* ref)
	: fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0), fAttrListOffset(0)
{
	SetTo(ref);
}


BNode::BNode(const BEntry* entry)
	: fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0), fAttrListOffset(0)
{
	SetTo(entry);
}


BNode::BNode(const char* path)
	: fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0), fAttrListOffset(0)
{
	SetTo(path);
}


BNode::BNode(const BDirectory* dir, const char* path)
	: fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0), fAttrListOffset(0)
{
	SetTo(dir, path);
}


BNode::BNode(const BNode& node)
	: BStatable(), fFd(-1), fCStatus(B_NO_INIT), fAttrList(NULL), fAttrListSize(0),
	  fAttrListOffset(0)
{
	*this = node;
}


BNode::~BNode()
{
	Unset();
}


status_t
BNode::InitCheck() const
{
	return fCStatus;
}


status_t
BNode::GetStat(struct stat* stat) const
{
	if (stat == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return fCStatus;
	if (fstat(fFd, stat) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BNode::SetTo(const entry_ref* ref)
{
	if (ref == NULL) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}

	std::string path;
	status_t status = path_for_ref(ref->device, ref->directory, ref->name, path);
	if (status != B_OK) {
		Unset();
		return fCStatus = status;
	}
	return _SetToFd(open_node(AT_FDCWD, path.c_str()));
}


status_t
BNode::SetTo(const BEntry* entry)
{
	if (entry == NULL || entry->InitCheck() != B_OK) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}

	char path[B_PATH_NAME_LENGTH];
	entry->_FullPath(path);
	return _SetToFd(open_node(AT_FDCWD, path));
}


status_t
BNode::SetTo(const char* path)
{
	if (path == NULL) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}
	return _SetToFd(open_node(AT_FDCWD, path));
}


status_t
BNode::SetTo(const BDirectory* dir, const char* path)
{
	if (dir == NULL || path == NULL || path[0] == '/' || dir->InitCheck() != B_OK) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}
	return _SetToFd(open_node(static_cast<const BNode*>(dir)->fFd, path));
}


void
BNode::Unset()
{
	if (fFd >= 0)
		close(fFd);
	fFd = -1;
	fCStatus = B_NO_INIT;
	_FreeAttrList();
}


status_t
BNode::Sync()
{
	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	if (fsync(fFd) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


BNode&
BNode::operator=(const BNode& node)
{
	if (&node == this)
		return *this;

	if (node.fCStatus != B_OK) {
		Unset();
		return *this;
	}
	int fd = fcntl(node.fFd, F_DUPFD_CLOEXEC, 0);
	_SetToFd(fd >= 0 ? fd : _be_status_from_errno(errno));
	return *this;
}


bool
BNode::operator==(const BNode& node) const
{
	if (fCStatus != B_OK || node.fCStatus != B_OK)
		return fCStatus != B_OK && node.fCStatus != B_OK;

	struct stat mine;
	struct stat theirs;
	if (fstat(fFd, &mine) != 0 || fstat(node.fFd, &theirs) != 0)
		return false;
	return mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
}


bool
BNode::operator!=(const BNode& node) const
{
	return !(*this == node);
}


int
BNode::Dup()
{
	if (fCStatus != B_OK)
		return B_FILE_ERROR;
	int fd = fcntl(fFd, F_DUPFD_CLOEXEC, 0);
	if (fd < 0)
		return _be_status_from_errno(errno);
	return fd;
}


status_t
BNode::_SetToFd(int fd)
{
	Unset();
	if (fd < 0)
		return fCStatus = fd;
	fFd = fd;
	return fCStatus = B_OK;
}


void
BNode::_RememberNode() const
{
	std::string path;
	struct stat st;
	if (fCStatus == B_OK && path_for_fd(fFd, path) == B_OK && fstat(fFd, &st) == 0)
		remember_node(st.st_dev, st.st_ino, path.c_str());
}
