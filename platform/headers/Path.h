/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _PATH_H
#define _PATH_H


#include <Message.h>
#include <StorageDefs.h>


class BDirectory;
class BEntry;
struct entry_ref;


// An absolute path name. A path is normalised (resolved through the file system, which
// needs its folder to exist) when asked to, and always when it is relative or contains
// "//", "/./", "/../", a trailing "/." or "/..", or a trailing "/"; any other absolute path
// is stored as given. Paths of B_PATH_NAME_LENGTH bytes or more give B_NAME_TOO_LONG.
class BPath {
public:
	BPath();
	BPath(const BPath& path);
	BPath(const entry_ref* ref);
	BPath(const BEntry* entry);
	BPath(const char* dir, const char* leaf = NULL, bool normalize = false);
	BPath(const BDirectory* dir, const char* leaf = NULL, bool normalize = false);
	virtual ~BPath();

	status_t InitCheck() const;

	status_t SetTo(const entry_ref* ref);
	status_t SetTo(const BEntry* entry);
	status_t SetTo(const char* path, const char* leaf = NULL, bool normalize = false);
	status_t SetTo(const BDirectory* dir, const char* leaf = NULL, bool normalize = false);
	void Unset();

	status_t Append(const char* path, bool normalize = false);

	const char* Path() const;
	const char* Leaf() const;
	status_t GetParent(BPath* path) const;

	bool operator==(const BPath& item) const;
	bool operator==(const char* path) const;
	bool operator!=(const BPath& item) const;
	bool operator!=(const char* path) const;
	BPath& operator=(const BPath& item);
	BPath& operator=(const char* path);

private:
	status_t _SetPath(const char* path);
	static bool _MustNormalize(const char* path, status_t* _error);

	char* fName;
	status_t fCStatus;
};


#endif // _PATH_H
