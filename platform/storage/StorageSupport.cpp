/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "storage_support.h"

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <utility>

#include <StorageDefs.h>


namespace BPrivate {
namespace Storage {


typedef std::map<std::pair<dev_t, ino_t>, std::string> DirectoryMap;


static std::mutex&
directory_lock()
{
	static std::mutex sLock;
	return sLock;
}


static DirectoryMap&
directory_map()
{
	static DirectoryMap sDirectories;
	return sDirectories;
}


static status_t
canonical_path(const char* path, std::string& _result)
{
	char* real = realpath(path, NULL);
	if (real == NULL)
		return _be_status_from_errno(errno);
	_result = real;
	free(real);
	return B_OK;
}


static void
split_canonical(const std::string& path, std::string& _directory, std::string& _name)
{
	if (path == "/") {
		_directory = "/";
		_name = ".";
		return;
	}
	size_t slash = path.rfind('/');
	_directory = slash == 0 ? std::string("/") : path.substr(0, slash);
	_name = path.substr(slash + 1);
}


std::string
entry_path(const std::string& directory, const std::string& name)
{
	if (name == ".")
		return directory;
	if (directory == "/")
		return "/" + name;
	return directory + "/" + name;
}


status_t
resolve_entry(
	const char* base, const char* path, bool traverse, std::string& _directory, std::string& _name)
{
	if (path == NULL)
		return B_BAD_VALUE;
	if (path[0] == '\0')
		return B_ENTRY_NOT_FOUND;
	if (strlen(path) >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	std::string current;
	if (path[0] == '/') {
		current = path;
	} else {
		std::string origin;
		if (base != NULL) {
			origin = base;
		} else {
			char cwd[PATH_MAX];
			if (getcwd(cwd, sizeof(cwd)) == NULL)
				return _be_status_from_errno(errno);
			origin = cwd;
		}
		current = origin + "/" + path;
	}

	std::string directory;
	std::string name;
	bool requireConcrete = false;
	int32 linksLeft = B_MAX_SYMLINKS;
	while (true) {
		size_t end = current.find_last_not_of('/');
		if (end == std::string::npos) {
			// nothing but slashes: the root folder
			directory = "/";
			name = ".";
			break;
		}
		size_t start = current.rfind('/', end);
		std::string leaf = current.substr(start + 1, end - start);
		if (leaf == "." || leaf == "..") {
			// names a folder; resolve it as a whole
			std::string real;
			status_t status = canonical_path(current.substr(0, end + 1).c_str(), real);
			if (status != B_OK)
				return status;
			split_canonical(real, directory, name);
			break;
		}
		if (leaf.size() >= B_FILE_NAME_LENGTH)
			return B_NAME_TOO_LONG;

		status_t status = canonical_path(current.substr(0, start + 1).c_str(), directory);
		if (status != B_OK)
			return status;
		name = leaf;
		if (!traverse)
			break;

		std::string full = entry_path(directory, name);
		struct stat st;
		if (lstat(full.c_str(), &st) != 0) {
			if (errno == ENOENT && !requireConcrete)
				break;
			return _be_status_from_errno(errno);
		}
		if (!S_ISLNK(st.st_mode))
			break;

		// a symbolic link: go on with its target, which must exist
		requireConcrete = true;
		if (--linksLeft < 0)
			return B_LINK_LIMIT;
		char target[B_PATH_NAME_LENGTH];
		ssize_t length = readlink(full.c_str(), target, sizeof(target));
		if (length < 0)
			return _be_status_from_errno(errno);
		if (length == 0)
			return B_ENTRY_NOT_FOUND;
		if ((size_t)length >= sizeof(target))
			return B_NAME_TOO_LONG;
		target[length] = '\0';
		current = target[0] == '/' ? std::string(target) : directory + "/" + target;
	}

	if (entry_path(directory, name).size() >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;
	_directory = directory;
	_name = name;
	return B_OK;
}


status_t
path_for_fd(int fd, std::string& _path)
{
	if (fd < 0)
		return B_FILE_ERROR;

	char link[64];
	snprintf(link, sizeof(link), "/proc/self/fd/%d", fd);
	char buffer[PATH_MAX];
	ssize_t length = readlink(link, buffer, sizeof(buffer) - 1);
	if (length < 0)
		return _be_status_from_errno(errno);
	buffer[length] = '\0';
	if (buffer[0] != '/')
		return B_BAD_VALUE;

	// a removed node has no path any more ("... (deleted)" is all the host says)
	struct stat st;
	if (fstat(fd, &st) != 0)
		return _be_status_from_errno(errno);
	if (st.st_nlink == 0)
		return B_ENTRY_NOT_FOUND;
	if ((size_t)length >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	_path = buffer;
	return B_OK;
}


void
remember_node(dev_t device, ino_t node, const char* path)
{
	if (path == NULL || path[0] != '/')
		return;

	std::lock_guard<std::mutex> lock(directory_lock());
	directory_map()[std::make_pair(device, node)] = path;
}


static bool
is_node_at(const std::string& path, dev_t device, ino_t node, bool directory)
{
	struct stat st;
	return lstat(path.c_str(), &st) == 0 && st.st_dev == device && st.st_ino == node
		&& (!directory || S_ISDIR(st.st_mode));
}


// The recorded path of the node, if it still leads there (a stale record is dropped).
static bool
recorded_path(dev_t device, ino_t node, std::string& _path)
{
	std::lock_guard<std::mutex> lock(directory_lock());
	DirectoryMap& nodes = directory_map();
	DirectoryMap::iterator found = nodes.find(std::make_pair(device, node));
	if (found == nodes.end())
		return false;
	if (!is_node_at(found->second, device, node, false)) {
		nodes.erase(found);
		return false;
	}
	_path = found->second;
	return true;
}


status_t
directory_for_node(dev_t device, ino_t node, std::string& _path)
{
	std::string recorded;
	if (recorded_path(device, node, recorded) && is_node_at(recorded, device, node, true)) {
		_path = recorded;
		return B_OK;
	}

	// Folders that need no record: the root, the current folder and the home folder.
	const char* home = getenv("HOME");
	char cwd[PATH_MAX];
	const char* candidates[]
		= {"/", getcwd(cwd, sizeof(cwd)), home != NULL && home[0] == '/' ? home : NULL};
	for (const char* candidate : candidates) {
		std::string real;
		if (candidate != NULL && canonical_path(candidate, real) == B_OK
			&& is_node_at(real, device, node, true)) {
			_path = real;
			return B_OK;
		}
	}
	return B_ENTRY_NOT_FOUND;
}


status_t
path_for_node(dev_t device, ino_t node, std::string& _path)
{
	if (recorded_path(device, node, _path) || directory_for_node(device, node, _path) == B_OK)
		return B_OK;

	// A node that the process holds open (a BNode, a BFile) is found through its descriptor.
	DIR* descriptors = opendir("/proc/self/fd");
	if (descriptors == NULL)
		return B_ENTRY_NOT_FOUND;
	status_t status = B_ENTRY_NOT_FOUND;
	while (struct dirent* entry = readdir(descriptors)) {
		char* end;
		long fd = strtol(entry->d_name, &end, 10);
		struct stat st;
		if (*end != '\0' || end == entry->d_name || fd == dirfd(descriptors)
			|| fstat((int)fd, &st) != 0 || st.st_dev != device || st.st_ino != node)
			continue;
		std::string path;
		if (path_for_fd((int)fd, path) == B_OK && is_node_at(path, device, node, false)) {
			_path = path;
			status = B_OK;
			break;
		}
	}
	closedir(descriptors);
	return status;
}


status_t
path_for_ref(dev_t device, ino_t directory, const char* name, std::string& _path)
{
	if (name == NULL || name[0] == '\0' || strchr(name, '/') != NULL)
		return B_BAD_VALUE;

	std::string folder;
	status_t status = directory_for_node(device, directory, folder);
	if (status != B_OK)
		return status;

	std::string entryDirectory;
	std::string entryName;
	status = resolve_entry(folder.c_str(), name, false, entryDirectory, entryName);
	if (status != B_OK)
		return status;
	_path = entry_path(entryDirectory, entryName);
	return B_OK;
}


} // namespace Storage
} // namespace BPrivate
