/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Path.h>

#include <stdlib.h>
#include <string.h>

#include <Directory.h>
#include <Entry.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


BPath::BPath() : fName(NULL), fCStatus(B_NO_INIT) { }


BPath::BPath(const BPath& path) : fName(NULL), fCStatus(B_NO_INIT)
{
	*this = path;
}


BPath::BPath(const entry_ref* ref) : fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(ref);
}


BPath::BPath(const BEntry* entry) : fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(entry);
}


BPath::BPath(const char* dir, const char* leaf, bool normalize) : fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(dir, leaf, normalize);
}


BPath::BPath(const BDirectory* dir, const char* leaf, bool normalize)
	: fName(NULL), fCStatus(B_NO_INIT)
{
	SetTo(dir, leaf, normalize);
}


BPath::~BPath()
{
	Unset();
}


status_t
BPath::InitCheck() const
{
	return fCStatus;
}


status_t
BPath::SetTo(const entry_ref* ref)
{
	Unset();
	if (ref == NULL)
		return fCStatus = B_BAD_VALUE;

	std::string path;
	status_t status = path_for_ref(ref->device, ref->directory, ref->name, path);
	if (status == B_OK)
		status = _SetPath(path.c_str());
	return fCStatus = status;
}


status_t
BPath::SetTo(const BEntry* entry)
{
	if (entry == NULL || entry->InitCheck() != B_OK) {
		Unset();
		return fCStatus = (entry == NULL ? B_BAD_VALUE : B_NO_INIT);
	}

	std::string path = entry_path(entry->fDirectory, entry->fName);
	status_t status = _SetPath(path.c_str());
	if (status != B_OK)
		Unset();
	return fCStatus = status;
}


status_t
BPath::SetTo(const char* path, const char* leaf, bool normalize)
{
	status_t status = path != NULL ? B_OK : B_BAD_VALUE;
	if (status == B_OK && leaf != NULL && leaf[0] == '/')
		status = B_BAD_VALUE;

	char newPath[B_PATH_NAME_LENGTH];
	if (status == B_OK) {
		// relative paths are always normalised
		if (path[0] != '/')
			normalize = true;

		size_t pathLength = strlen(path);
		if (pathLength >= sizeof(newPath))
			status = B_NAME_TOO_LONG;
		if (status == B_OK)
			memcpy(newPath, path, pathLength + 1);

		if (status == B_OK && leaf != NULL) {
			bool needsSeparator = pathLength > 0 && path[pathLength - 1] != '/';
			size_t wholeLength = pathLength + (needsSeparator ? 1 : 0) + strlen(leaf);
			if (wholeLength >= sizeof(newPath)) {
				status = B_NAME_TOO_LONG;
			} else {
				if (needsSeparator)
					newPath[pathLength++] = '/';
				strcpy(newPath + pathLength, leaf);
			}
		}
	}

	if (status == B_OK && newPath[0] == '\0')
		status = B_BAD_VALUE;
	if (status == B_OK && !normalize)
		normalize = _MustNormalize(newPath, &status);

	if (status == B_OK) {
		if (normalize) {
			std::string directory;
			std::string name;
			status = resolve_entry(NULL, newPath, false, directory, name);
			if (status == B_OK)
				status = _SetPath(entry_path(directory, name).c_str());
		} else {
			status = _SetPath(newPath);
		}
	}

	if (status != B_OK)
		Unset();
	return fCStatus = status;
}


status_t
BPath::SetTo(const BDirectory* dir, const char* leaf, bool normalize)
{
	status_t status = dir != NULL && dir->InitCheck() == B_OK ? B_OK : B_BAD_VALUE;

	BEntry entry;
	if (status == B_OK)
		status = dir->GetEntry(&entry);
	BPath dirPath;
	if (status == B_OK)
		status = dirPath.SetTo(&entry);
	if (status == B_OK)
		return SetTo(dirPath.Path(), leaf, normalize);

	Unset();
	return fCStatus = status;
}


void
BPath::Unset()
{
	free(fName);
	fName = NULL;
	fCStatus = B_NO_INIT;
}


status_t
BPath::Append(const char* path, bool normalize)
{
	status_t status = InitCheck() == B_OK ? B_OK : B_BAD_VALUE;
	if (status == B_OK)
		status = SetTo(Path(), path, normalize);
	if (status != B_OK)
		Unset();
	return fCStatus = status;
}


const char*
BPath::Path() const
{
	return fName;
}


const char*
BPath::Leaf() const
{
	if (fCStatus != B_OK || fName == NULL)
		return NULL;

	const char* slash = strrchr(fName, '/');
	return slash != NULL ? slash + 1 : fName;
}


status_t
BPath::GetParent(BPath* path) const
{
	if (path == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK) {
		status_t status = fCStatus;
		path->Unset();
		return status;
	}

	size_t length = strlen(fName);
	if (length == 1) {
		// "/" has no parent
		path->Unset();
		return B_ENTRY_NOT_FOUND;
	}

	char parentPath[B_PATH_NAME_LENGTH];
	length--;
	while (fName[length] != '/' && length > 0)
		length--;
	if (length == 0) {
		// the parent is "/"
		length++;
	}
	memcpy(parentPath, fName, length);
	parentPath[length] = '\0';
	return path->SetTo(parentPath);
}


bool
BPath::operator==(const BPath& item) const
{
	return *this == item.Path();
}


bool
BPath::operator==(const char* path) const
{
	return (InitCheck() != B_OK && path == NULL)
		|| (fName != NULL && path != NULL && strcmp(fName, path) == 0);
}


bool
BPath::operator!=(const BPath& item) const
{
	return !(*this == item);
}


bool
BPath::operator!=(const char* path) const
{
	return !(*this == path);
}


BPath&
BPath::operator=(const BPath& item)
{
	if (this != &item) {
		Unset();
		fCStatus = item.fCStatus;
		if (fCStatus == B_OK) {
			fCStatus = _SetPath(item.fName);
			if (fCStatus != B_OK)
				Unset();
		}
	}
	return *this;
}


BPath&
BPath::operator=(const char* path)
{
	SetTo(path);
	return *this;
}


status_t
BPath::_SetPath(const char* path)
{
	if (path == fName)
		return B_OK;

	char* copy = NULL;
	if (path != NULL) {
		copy = strdup(path);
		if (copy == NULL)
			return B_NO_MEMORY;
	}
	free(fName);
	fName = copy;
	return B_OK;
}


bool
BPath::_MustNormalize(const char* path, status_t* _error)
{
	if (path == NULL || path[0] == '\0') {
		if (_error != NULL)
			*_error = B_BAD_VALUE;
		return false;
	}

	size_t length = strlen(path);
	if (path[0] != '/')
		return true;
	if (length == 1)
		return false;
	if (path[length - 1] == '/')
		return true;

	// "//", "/./" and "/../" anywhere, "/." and "/.." at the end
	enum { kNoMatch, kSlash, kOneDot, kTwoDots } state = kNoMatch;
	for (size_t i = 0; path[i] != '\0'; i++) {
		switch (state) {
		case kNoMatch:
			if (path[i] == '/')
				state = kSlash;
			break;
		case kSlash:
			if (path[i] == '/')
				return true;
			state = path[i] == '.' ? kOneDot : kNoMatch;
			break;
		case kOneDot:
			if (path[i] == '/')
				return true;
			state = path[i] == '.' ? kTwoDots : kNoMatch;
			break;
		case kTwoDots:
			if (path[i] == '/')
				return true;
			state = kNoMatch;
			break;
		}
	}
	return state == kOneDot || state == kTwoDots;
}
