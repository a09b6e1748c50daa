/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <FindDirectory.h>

#include <dlfcn.h>
#include <errno.h>
#include <pwd.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <Directory.h>
#include <Path.h>
#include <StorageDefs.h>


// Where Haiku's folders are on Linux. Each answer can be overridden by an environment
// variable, read at every call (so tests can change them); empty or relative values are
// ignored. <home> is the answer for B_USER_DIRECTORY, <system> the one for
// B_SYSTEM_DIRECTORY.
//
//	constant					Linux answer
//	B_USER_DIRECTORY			$HOME, else the home folder of the user's passwd entry
//	B_USER_SETTINGS_DIRECTORY	$XDG_CONFIG_HOME, else <home>/.config
//	B_USER_CONFIG_DIRECTORY		the same folder as B_USER_SETTINGS_DIRECTORY
//	B_USER_DATA_DIRECTORY		$XDG_DATA_HOME, else <home>/.local/share
//	B_USER_CACHE_DIRECTORY		$XDG_CACHE_HOME, else <home>/.cache
//	B_SYSTEM_VAR_DIRECTORY		$XDG_STATE_HOME, else <home>/.local/state
//	B_DESKTOP_DIRECTORY			<home>/Desktop
//	B_SYSTEM_DIRECTORY			$HAIKU_SYSTEM_DIR, else the parent of the folder that holds
//								the layer library (build/system/lib/libbe.so in the build tree,
//								PREFIX/lib/webgrazer/system/lib/libbe.so when installed)
//	B_SYSTEM_BIN_DIRECTORY		<system>/bin
//	B_SYSTEM_LIB_DIRECTORY		<system>/lib
//	B_SYSTEM_DATA_DIRECTORY		<system>/data
//	B_SYSTEM_TEMP_DIRECTORY		$TMPDIR, else /tmp
//	B_APPS_DIRECTORY			$HAIKU_APPS_DIR, else the parent of <system> (so that
//								B_APPS_DIRECTORY + "/Webgrazer" is build/Webgrazer, or
//								PREFIX/lib/webgrazer/Webgrazer when installed)
//	B_PREFERENCES_DIRECTORY		<system>/preferences
//	any other constant			B_BAD_VALUE
//
// With createIt, missing folders of the answer are created with mode 0755. The var folder is
// created whenever it is asked for, since programs expect it to be there, as on Haiku.


static bool
environment_path(const char* name, std::string& _path)
{
	const char* value = getenv(name);
	if (value == NULL || value[0] != '/')
		return false;
	_path = value;
	return true;
}


static status_t
home_folder(std::string& _path)
{
	if (environment_path("HOME", _path))
		return B_OK;

	long size = sysconf(_SC_GETPW_R_SIZE_MAX);
	std::vector<char> buffer(size > 0 ? (size_t)size : 16384);
	struct passwd entry;
	struct passwd* result = NULL;
	if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || result == NULL
		|| result->pw_dir == NULL || result->pw_dir[0] != '/') {
		return B_ENTRY_NOT_FOUND;
	}
	_path = result->pw_dir;
	return B_OK;
}


static status_t
home_subfolder(const char* variable, const char* subfolder, std::string& _path)
{
	if (variable != NULL && environment_path(variable, _path))
		return B_OK;
	status_t status = home_folder(_path);
	if (status == B_OK)
		_path += subfolder;
	return status;
}


static status_t
system_folder(std::string& _path)
{
	if (environment_path("HAIKU_SYSTEM_DIR", _path))
		return B_OK;

	// the parent of the folder that holds this library
	Dl_info info;
	if (dladdr(reinterpret_cast<void*>(&system_folder), &info) == 0 || info.dli_fname == NULL)
		return B_ENTRY_NOT_FOUND;
	char* library = realpath(info.dli_fname, NULL);
	if (library == NULL)
		return _be_status_from_errno(errno);
	std::string path(library);
	free(library);

	for (int32 level = 0; level < 2; level++) {
		size_t slash = path.rfind('/');
		if (slash == std::string::npos)
			return B_ENTRY_NOT_FOUND;
		path.erase(slash > 0 ? slash : 1);
	}
	_path = path;
	return B_OK;
}


static status_t
system_subfolder(const char* subfolder, std::string& _path)
{
	status_t status = system_folder(_path);
	if (status == B_OK)
		_path += subfolder;
	return status;
}


static status_t
folder_for(directory_which which, std::string& _path)
{
	switch (which) {
	case B_USER_DIRECTORY:
		return home_folder(_path);
	case B_USER_SETTINGS_DIRECTORY:
	case B_USER_CONFIG_DIRECTORY:
		return home_subfolder("XDG_CONFIG_HOME", "/.config", _path);
	case B_USER_DATA_DIRECTORY:
		return home_subfolder("XDG_DATA_HOME", "/.local/share", _path);
	case B_USER_CACHE_DIRECTORY:
		return home_subfolder("XDG_CACHE_HOME", "/.cache", _path);
	case B_SYSTEM_VAR_DIRECTORY:
		return home_subfolder("XDG_STATE_HOME", "/.local/state", _path);
	case B_DESKTOP_DIRECTORY:
		return home_subfolder(NULL, "/Desktop", _path);

	case B_SYSTEM_DIRECTORY:
		return system_folder(_path);
	case B_SYSTEM_BIN_DIRECTORY:
		return system_subfolder("/bin", _path);
	case B_SYSTEM_LIB_DIRECTORY:
		return system_subfolder("/lib", _path);
	case B_SYSTEM_DATA_DIRECTORY:
		return system_subfolder("/data", _path);
	case B_PREFERENCES_DIRECTORY:
		return system_subfolder("/preferences", _path);
	case B_SYSTEM_TEMP_DIRECTORY:
		if (!environment_path("TMPDIR", _path))
			_path = "/tmp";
		return B_OK;

	case B_APPS_DIRECTORY: {
		if (environment_path("HAIKU_APPS_DIR", _path))
			return B_OK;
		status_t status = system_folder(_path);
		if (status != B_OK)
			return status;
		size_t slash = _path.rfind('/');
		_path.erase(slash > 0 ? slash : 1);
		return B_OK;
	}

	default:
		return B_BAD_VALUE;
	}
}


// Removes empty and "." components and trailing slashes, so that the answer is stored
// as it is (BPath normalises only what needs it).
static std::string
clean_path(const std::string& path)
{
	std::string result;
	size_t start = 0;
	while (start < path.size()) {
		size_t end = path.find('/', start);
		if (end == std::string::npos)
			end = path.size();
		std::string component = path.substr(start, end - start);
		if (!component.empty() && component != ".")
			result += "/" + component;
		start = end + 1;
	}
	return result.empty() ? std::string("/") : result;
}


static status_t
find_folder(directory_which which, bool createIt, std::string& _path)
{
	std::string path;
	status_t status = folder_for(which, path);
	if (status != B_OK)
		return status;
	path = clean_path(path);
	if (path.size() >= B_PATH_NAME_LENGTH)
		return B_NAME_TOO_LONG;
	if (createIt) {
		status = create_directory(path.c_str(), 0755);
		if (status != B_OK)
			return status;
	} else if (which == B_SYSTEM_VAR_DIRECTORY) {
		// Haiku's var folder always exists; on a fresh Linux home its stand-in may not.
		create_directory(path.c_str(), 0755);
	}
	_path = path;
	return B_OK;
}


extern "C" status_t
find_directory(
	directory_which which, dev_t volume, bool createIt, char* returnedPath, int32 pathLength)
{
	(void)volume;

	if (returnedPath == NULL || pathLength <= 0)
		return B_BAD_VALUE;

	std::string path;
	status_t status = find_folder(which, createIt, path);
	if (status != B_OK)
		return status;
	if (path.size() >= (size_t)pathLength)
		return _be_status_from_errno(EOVERFLOW);
	memcpy(returnedPath, path.c_str(), path.size() + 1);
	return B_OK;
}


status_t
find_directory(directory_which which, BPath* path, bool createIt, BVolume* volume)
{
	(void)volume;

	if (path == NULL)
		return B_BAD_VALUE;

	std::string folder;
	status_t status = find_folder(which, createIt, folder);
	if (status != B_OK)
		return status;
	return path->SetTo(folder.c_str());
}
