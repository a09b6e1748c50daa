/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Entry.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Node.h>
#include <Path.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


//	#pragma mark - entry_ref


entry_ref::entry_ref() : device((dev_t)-1), directory((ino_t)-1), name(NULL) { }


entry_ref::entry_ref(dev_t device, ino_t directory, const char* name)
	: device(device), directory(directory), name(NULL)
{
	set_name(name);
}


entry_ref::entry_ref(const entry_ref& ref)
	: device(ref.device), directory(ref.directory), name(NULL)
{
	set_name(ref.name);
}


entry_ref::~entry_ref()
{
	free(name);
}


status_t
entry_ref::set_name(const char* newName)
{
	if (newName == name)
		return B_OK;

	char* copy = NULL;
	if (newName != NULL) {
		copy = strdup(newName);
		if (copy == NULL)
			return B_NO_MEMORY;
	}
	free(name);
	name = copy;
	return B_OK;
}


bool
entry_ref::operator==(const entry_ref& ref) const
{
	return device == ref.device && directory == ref.directory
		&& (name == ref.name || (name != NULL && ref.name != NULL && strcmp(name, ref.name) == 0));
}


bool
entry_ref::operator!=(const entry_ref& ref) const
{
	return !(*this == ref);
}


entry_ref&
entry_ref::operator=(const entry_ref& ref)
{
	if (this != &ref) {
		device = ref.device;
		directory = ref.directory;
		set_name(ref.name);
	}
	return *this;
}


bool
operator<(const entry_ref& a, const entry_ref& b)
{
	if (a.device != b.device)
		return a.device < b.device;
	if (a.directory != b.directory)
		return a.directory < b.directory;
	if (a.name == NULL || b.name == NULL)
		return a.name == NULL && b.name != NULL;
	return strcmp(a.name, b.name) < 0;
}


status_t
get_ref_for_path(const char* path, entry_ref* ref)
{
	if (path == NULL || ref == NULL)
		return B_BAD_VALUE;

	BEntry entry(path);
	status_t status = entry.InitCheck();
	if (status == B_OK)
		status = entry.GetRef(ref);
	return status;
}


//	#pragma mark - BEntry


BEntry::BEntry() : fDirectory(NULL), fName(NULL), fCStatus(B_NO_INIT) { }


BEntry::BEntry(const BDirectory* dir, const char* path, bool traverse)
	: fDirectory(NULL), fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(dir, path, traverse);
}


BEntry::BEntry(const entry_ref* ref, bool traverse)
	: fDirectory(NULL), fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(ref, traverse);
}


BEntry::BEntry(const char* path, bool traverse) : fDirectory(NULL), fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(path, traverse);
}


BEntry::BEntry(const BEntry& entry)
	: BStatable(), fDirectory(NULL), fName(NULL), fCStatus(B_NO_INIT)
{
	*this = entry;
}


BEntry::~BEntry()
{
	Unset();
}


status_t
BEntry::InitCheck() const
{
	return fCStatus;
}


bool
BEntry::Exists() const
{
	struct stat st;
	return GetStat(&st) == B_OK;
}


const char*
BEntry::Name() const
{
	return fCStatus == B_OK ? fName : NULL;
}


status_t
BEntry::GetStat(struct stat* stat) const
{
	if (stat == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return fCStatus;

	char path[B_PATH_NAME_LENGTH];
	_FullPath(path);
	if (lstat(path, stat) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BEntry::SetTo(const BDirectory* dir, const char* path, bool traverse)
{
	if (dir == NULL) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}
	if (path != NULL && path[0] == '\0')
		path = NULL;
	if (path != NULL && path[0] == '/')
		return SetTo(path, traverse);
	if (dir->InitCheck() != B_OK) {
		Unset();
		return fCStatus = B_BAD_VALUE;
	}

	std::string base;
	status_t status = path_for_fd(static_cast<const BNode*>(dir)->_Fd(), base);
	if (status != B_OK) {
		Unset();
		return fCStatus = status;
	}
	return _SetFromPath(base.c_str(), path != NULL ? path : ".", traverse);
}


status_t
BEntry::SetTo(const entry_ref* ref, bool traverse)
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
	return _SetFromPath(NULL, path.c_str(), traverse);
}


status_t
BEntry::SetTo(const char* path, bool traverse)
{
	return _SetFromPath(NULL, path, traverse);
}


void
BEntry::Unset()
{
	free(fDirectory);
	free(fName);
	fDirectory = NULL;
	fName = NULL;
	fCStatus = B_NO_INIT;
}


status_t
BEntry::GetRef(entry_ref* ref) const
{
	if (ref == NULL)
		return B_BAD_VALUE;

	status_t status = fCStatus;
	struct stat st;
	if (status == B_OK && stat(fDirectory, &st) != 0)
		status = _be_status_from_errno(errno);
	if (status == B_OK) {
		remember_node(st.st_dev, st.st_ino, fDirectory);
		ref->device = st.st_dev;
		ref->directory = st.st_ino;
		status = ref->set_name(fName);
	}
	if (status != B_OK)
		*ref = entry_ref();
	return status;
}


status_t
BEntry::GetPath(BPath* path) const
{
	if (path == NULL)
		return B_BAD_VALUE;
	return path->SetTo(this);
}


status_t
BEntry::GetParent(BEntry* entry) const
{
	if (entry == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK) {
		entry->Unset();
		return B_NO_INIT;
	}
	if (strcmp(fName, ".") == 0) {
		// the root folder has no parent
		entry->Unset();
		return B_ENTRY_NOT_FOUND;
	}

	// The folder path is canonical: its parent is what comes before the last slash.
	std::string directory;
	std::string name;
	status_t status = resolve_entry(NULL, fDirectory, false, directory, name);
	if (status != B_OK) {
		entry->Unset();
		return entry->fCStatus = status;
	}
	return entry->_Set(directory.c_str(), name.c_str());
}


status_t
BEntry::GetParent(BDirectory* dir) const
{
	if (dir == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK) {
		dir->Unset();
		return B_NO_INIT;
	}
	if (strcmp(fName, ".") == 0) {
		dir->Unset();
		return B_ENTRY_NOT_FOUND;
	}
	return dir->SetTo(fDirectory);
}


status_t
BEntry::GetName(char* buffer) const
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK) {
		buffer[0] = '\0';
		return B_NO_INIT;
	}
	snprintf(buffer, B_FILE_NAME_LENGTH, "%s", fName);
	return B_OK;
}


status_t
BEntry::Rename(const char* path, bool clobber)
{
	if (path == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_NO_INIT;
	return _Move(fDirectory, path, clobber);
}


status_t
BEntry::MoveTo(BDirectory* dir, const char* path, bool clobber)
{
	if (fCStatus != B_OK)
		return B_NO_INIT;
	if (dir == NULL || dir->InitCheck() != B_OK)
		return B_BAD_VALUE;

	std::string base;
	status_t status = path_for_fd(static_cast<const BNode*>(dir)->_Fd(), base);
	if (status != B_OK)
		return status;
	std::string name(fName);
	return _Move(base.c_str(), path != NULL ? path : name.c_str(), clobber);
}


status_t
BEntry::Remove()
{
	if (fCStatus != B_OK)
		return B_NO_INIT;

	char path[B_PATH_NAME_LENGTH];
	_FullPath(path);
	struct stat st;
	if (lstat(path, &st) != 0)
		return _be_status_from_errno(errno);
	int result = S_ISDIR(st.st_mode) ? rmdir(path) : unlink(path);
	if (result != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


bool
BEntry::operator==(const BEntry& item) const
{
	if (fCStatus != B_OK || item.fCStatus != B_OK)
		return fCStatus != B_OK && item.fCStatus != B_OK;
	return strcmp(fDirectory, item.fDirectory) == 0 && strcmp(fName, item.fName) == 0;
}


bool
BEntry::operator!=(const BEntry& item) const
{
	return !(*this == item);
}


BEntry&
BEntry::operator=(const BEntry& item)
{
	if (this == &item)
		return *this;

	if (item.fCStatus != B_OK)
		Unset();
	else
		_Set(item.fDirectory, item.fName);
	return *this;
}


void
BEntry::_RememberNode() const
{
	char path[B_PATH_NAME_LENGTH];
	struct stat st;
	if (fCStatus != B_OK)
		return;
	_FullPath(path);
	if (lstat(path, &st) == 0)
		remember_node(st.st_dev, st.st_ino, path);
}


status_t
BEntry::_Set(const char* directory, const char* name)
{
	char* newDirectory = strdup(directory);
	char* newName = strdup(name);
	if (newDirectory == NULL || newName == NULL) {
		free(newDirectory);
		free(newName);
		Unset();
		return fCStatus = B_NO_MEMORY;
	}

	Unset();
	fDirectory = newDirectory;
	fName = newName;
	return fCStatus = B_OK;
}


status_t
BEntry::_SetFromPath(const char* base, const char* path, bool traverse)
{
	std::string directory;
	std::string name;
	status_t status = resolve_entry(base, path, traverse, directory, name);
	if (status != B_OK) {
		Unset();
		return fCStatus = status;
	}
	return _Set(directory.c_str(), name.c_str());
}


status_t
BEntry::_Move(const char* base, const char* path, bool clobber)
{
	std::string directory;
	std::string name;
	status_t status = resolve_entry(base, path, false, directory, name);
	if (status != B_OK)
		return status;

	char source[B_PATH_NAME_LENGTH];
	_FullPath(source);
	std::string target = entry_path(directory, name);
	struct stat st;
	if (lstat(source, &st) != 0)
		return _be_status_from_errno(errno);
	if (target == source)
		return B_OK;

	int result
		= renameat2(AT_FDCWD, source, AT_FDCWD, target.c_str(), clobber ? 0 : RENAME_NOREPLACE);
	if (result != 0 && !clobber && (errno == EINVAL || errno == ENOSYS)) {
		// a file system that cannot refuse to replace by itself
		if (lstat(target.c_str(), &st) == 0)
			return B_FILE_EXISTS;
		result = rename(source, target.c_str());
	}
	if (result != 0)
		return _be_status_from_errno(errno);

	return _Set(directory.c_str(), name.c_str());
}


void
BEntry::_FullPath(char* buffer) const
{
	if (fCStatus != B_OK) {
		buffer[0] = '\0';
		return;
	}
	snprintf(buffer, B_PATH_NAME_LENGTH, "%s", entry_path(fDirectory, fName).c_str());
}
