/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Directory.h>

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Entry.h>
#include <File.h>
#include <Path.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


// Opens a folder, traversing symbolic links; anything else fails.
static int
open_directory(int dirFd, const char* path)
{
	if (path == NULL)
		return B_BAD_VALUE;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	int fd = openat(dirFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd < 0)
		return _be_status_from_errno(errno);
	return fd;
}


BDirectory::BDirectory() : fIterator(NULL) { }


BDirectory::BDirectory(const BDirectory& dir) : BNode(), fIterator(NULL)
{
	*this = dir;
}


BDirectory::BDirectory(const entry_ref* ref) : fIterator(NULL)
{
	SetTo(ref);
}


BDirectory::BDirectory(const node_ref* nref) : fIterator(NULL)
{
	SetTo(nref);
}


BDirectory::BDirectory(const BEntry* entry) : fIterator(NULL)
{
	SetTo(entry);
}


BDirectory::BDirectory(const char* path) : fIterator(NULL)
{
	SetTo(path);
}


BDirectory::BDirectory(const BDirectory* dir, const char* path) : fIterator(NULL)
{
	SetTo(dir, path);
}


BDirectory::~BDirectory()
{
	Unset();
}


status_t
BDirectory::SetTo(const entry_ref* ref)
{
	if (ref == NULL)
		return _Adopt(B_BAD_VALUE);

	std::string path;
	status_t status = path_for_ref(ref->device, ref->directory, ref->name, path);
	if (status != B_OK)
		return _Adopt(status);
	return _Adopt(open_directory(AT_FDCWD, path.c_str()));
}


status_t
BDirectory::SetTo(const node_ref* nref)
{
	if (nref == NULL)
		return _Adopt(B_BAD_VALUE);

	std::string path;
	status_t status = directory_for_node(nref->device, nref->node, path);
	if (status != B_OK)
		return _Adopt(status);
	return _Adopt(open_directory(AT_FDCWD, path.c_str()));
}


status_t
BDirectory::SetTo(const BEntry* entry)
{
	if (entry == NULL || entry->InitCheck() != B_OK)
		return _Adopt(B_BAD_VALUE);

	char path[B_PATH_NAME_LENGTH];
	entry->_FullPath(path);
	return _Adopt(open_directory(AT_FDCWD, path));
}


status_t
BDirectory::SetTo(const char* path)
{
	if (path == NULL)
		return _Adopt(B_BAD_VALUE);
	return _Adopt(open_directory(AT_FDCWD, path));
}


status_t
BDirectory::SetTo(const BDirectory* dir, const char* path)
{
	if (dir == NULL || path == NULL || path[0] == '/' || dir->InitCheck() != B_OK)
		return _Adopt(B_BAD_VALUE);
	return _Adopt(open_directory(dir->_Fd(), path));
}


void
BDirectory::Unset()
{
	_CloseIterator();
	BNode::Unset();
}


status_t
BDirectory::GetEntry(BEntry* entry) const
{
	if (entry == NULL)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK) {
		entry->Unset();
		return B_NO_INIT;
	}

	std::string path;
	status_t status = path_for_fd(_Fd(), path);
	if (status != B_OK) {
		entry->Unset();
		return status;
	}
	return entry->SetTo(path.c_str());
}


bool
BDirectory::IsRootDirectory() const
{
	if (InitCheck() != B_OK)
		return false;

	// The root of a volume is its own parent, or its parent lies on another device.
	struct stat self;
	struct stat parent;
	if (fstat(_Fd(), &self) != 0 || fstatat(_Fd(), "..", &parent, 0) != 0)
		return false;
	return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}


status_t
BDirectory::FindEntry(const char* path, BEntry* entry, bool traverse) const
{
	if (path == NULL || entry == NULL)
		return B_BAD_VALUE;

	entry->Unset();
	status_t status;
	if (InitCheck() == B_OK)
		status = entry->SetTo(this, path, traverse);
	else
		status = entry->SetTo(path, traverse);

	if (status == B_OK && !entry->Exists()) {
		status = B_ENTRY_NOT_FOUND;
		entry->Unset();
	}
	return status;
}


bool
BDirectory::Contains(const char* path, int32 nodeFlags) const
{
	if (InitCheck() != B_OK)
		return false;
	if (path == NULL)
		return true;

	BEntry entry;
	if (path[0] == '/')
		entry.SetTo(path);
	else
		entry.SetTo(this, path);
	return Contains(&entry, nodeFlags);
}


bool
BDirectory::Contains(const BEntry* entry, int32 nodeFlags) const
{
	if (entry == NULL || InitCheck() != B_OK || !entry->Exists())
		return false;

	if (nodeFlags != B_ANY_NODE) {
		bool matches = false;
		if ((nodeFlags & B_FILE_NODE) != 0)
			matches = entry->IsFile();
		if (!matches && (nodeFlags & B_DIRECTORY_NODE) != 0)
			matches = entry->IsDirectory();
		if (!matches && (nodeFlags & B_SYMLINK_NODE) != 0)
			matches = entry->IsSymLink();
		if (!matches)
			return false;
	}

	// The entry lies in this folder (or is this folder) if the folder's canonical path is
	// a prefix of the entry's, ending at a path separator.
	std::string directory;
	BPath entryPath(entry);
	if (path_for_fd(_Fd(), directory) != B_OK || entryPath.InitCheck() != B_OK)
		return false;

	if (directory == "/")
		return true;
	size_t length = directory.size();
	const char* path = entryPath.Path();
	return strncmp(path, directory.c_str(), length) == 0
		&& (path[length] == '\0' || path[length] == '/');
}


status_t
BDirectory::GetStatFor(const char* path, struct stat* stat) const
{
	if (path == NULL || stat == NULL)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK)
		return B_NO_INIT;
	if (path[0] == '\0')
		return B_ENTRY_NOT_FOUND;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	if (fstatat(_Fd(), path, stat, AT_SYMLINK_NOFOLLOW) != 0)
		return _be_status_from_errno(errno);
	return B_OK;
}


status_t
BDirectory::GetNextEntry(BEntry* entry, bool traverse)
{
	if (entry == NULL)
		return B_BAD_VALUE;

	const char* name;
	status_t status = _NextName(&name);
	if (status != B_OK) {
		entry->Unset();
		return status;
	}

	std::string directory;
	status = path_for_fd(_Fd(), directory);
	if (status != B_OK) {
		entry->Unset();
		return status;
	}
	return entry->SetTo(entry_path(directory, name).c_str(), traverse);
}


status_t
BDirectory::GetNextRef(entry_ref* ref)
{
	if (ref == NULL)
		return B_BAD_VALUE;

	const char* name;
	status_t status = _NextName(&name);
	if (status != B_OK)
		return status;

	struct stat st;
	std::string directory;
	if (fstat(_Fd(), &st) != 0)
		return _be_status_from_errno(errno);
	if (path_for_fd(_Fd(), directory) == B_OK)
		remember_node(st.st_dev, st.st_ino, directory.c_str());

	ref->device = st.st_dev;
	ref->directory = st.st_ino;
	return ref->set_name(name);
}


status_t
BDirectory::Rewind()
{
	if (InitCheck() != B_OK)
		return B_FILE_ERROR;
	if (fIterator != NULL)
		rewinddir(fIterator);
	return B_OK;
}


int32
BDirectory::CountEntries()
{
	status_t status = Rewind();
	if (status != B_OK)
		return status;

	int32 count = 0;
	const char* name;
	while ((status = _NextName(&name)) == B_OK)
		count++;
	Rewind();
	return status == B_ENTRY_NOT_FOUND ? count : status;
}


status_t
BDirectory::CreateDirectory(const char* path, BDirectory* dir)
{
	if (path == NULL) {
		if (dir != NULL)
			dir->Unset();
		return B_BAD_VALUE;
	}

	bool relative = InitCheck() == B_OK && path[0] != '/';
	status_t status = B_OK;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		status = B_NAME_TOO_LONG;
	else if (mkdirat(relative ? _Fd() : AT_FDCWD, path, 0777) != 0)
		status = _be_status_from_errno(errno);

	if (dir == NULL)
		return status;
	if (status != B_OK) {
		dir->Unset();
		return status;
	}
	return relative ? dir->SetTo(this, path) : dir->SetTo(path);
}


status_t
BDirectory::CreateFile(const char* path, BFile* file, bool failIfExists)
{
	if (path == NULL) {
		if (file != NULL)
			file->Unset();
		return B_BAD_VALUE;
	}

	uint32 openMode
		= B_READ_WRITE | B_CREATE_FILE | (failIfExists ? B_FAIL_IF_EXISTS : B_ERASE_FILE);
	BFile tempFile;
	BFile* realFile = file != NULL ? file : &tempFile;
	status_t status;
	if (InitCheck() == B_OK && path[0] != '/')
		status = realFile->SetTo(this, path, openMode);
	else
		status = realFile->SetTo(path, openMode);
	if (status != B_OK && file != NULL)
		file->Unset();
	return status;
}


BDirectory&
BDirectory::operator=(const BDirectory& dir)
{
	if (&dir == this)
		return *this;

	if (dir.InitCheck() != B_OK) {
		Unset();
		return *this;
	}
	// a descriptor of its own, so that each object iterates by itself
	_Adopt(open_directory(dir._Fd(), "."));
	return *this;
}


status_t
BDirectory::_Adopt(int fd)
{
	_CloseIterator();
	return _SetToFd(fd);
}


status_t
BDirectory::_OpenIterator()
{
	if (fIterator != NULL)
		return B_OK;

	int fd = open_directory(_Fd(), ".");
	if (fd < 0)
		return fd;
	fIterator = fdopendir(fd);
	if (fIterator == NULL) {
		status_t status = _be_status_from_errno(errno);
		close(fd);
		return status;
	}
	return B_OK;
}


void
BDirectory::_CloseIterator()
{
	if (fIterator != NULL)
		closedir(fIterator);
	fIterator = NULL;
}


status_t
BDirectory::_NextName(const char** _name)
{
	if (InitCheck() != B_OK)
		return B_FILE_ERROR;
	status_t status = _OpenIterator();
	if (status != B_OK)
		return status;

	while (true) {
		errno = 0;
		struct dirent* entry = readdir(fIterator);
		if (entry == NULL)
			return errno != 0 ? _be_status_from_errno(errno) : B_ENTRY_NOT_FOUND;
		if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0)
			continue;
		*_name = entry->d_name;
		return B_OK;
	}
}


//	#pragma mark -


status_t
create_directory(const char* path, mode_t mode)
{
	if (path == NULL || path[0] == '\0')
		return B_BAD_VALUE;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	std::string current(path[0] == '/' ? "/" : "");
	const char* component = path;
	while (*component != '\0') {
		while (*component == '/')
			component++;
		if (*component == '\0')
			break;
		const char* end = strchr(component, '/');
		size_t length = end != NULL ? (size_t)(end - component) : strlen(component);
		std::string name(component, length);
		component += length;

		if (name == ".")
			continue;
		if (name == "..")
			return B_BAD_VALUE;
		if (!current.empty() && current[current.size() - 1] != '/')
			current += "/";
		current += name;

		struct stat st;
		if (stat(current.c_str(), &st) == 0) {
			if (!S_ISDIR(st.st_mode))
				return B_NOT_A_DIRECTORY;
			continue;
		}
		if (mkdir(current.c_str(), mode) != 0) {
			int error = errno;
			// someone else may have just made it
			if (error == EEXIST && stat(current.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
				continue;
			return _be_status_from_errno(error);
		}
	}
	return B_OK;
}
