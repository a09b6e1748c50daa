/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "FuzzEnv.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <vector>

#include "wg_Prefs.h"


static std::string sRoot;


static int
remove_entry(const char* path, const struct stat*, int, struct FTW*)
{
	remove(path);
	return 0;
}


static void
remove_root()
{
	if (!sRoot.empty())
		nftw(sRoot.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}


void
FuzzSetUp()
{
	const char* tmp = getenv("TMPDIR");
	std::string pattern = std::string(tmp != NULL && tmp[0] != '\0' ? tmp : "/tmp");
	pattern += "/wgfuzz.XXXXXX";
	std::vector<char> buffer(pattern.begin(), pattern.end());
	buffer.push_back('\0');
	if (mkdtemp(buffer.data()) == NULL) {
		perror("mkdtemp");
		abort();
	}
	sRoot = buffer.data();
	atexit(remove_root);

	const char* folders[]
		= {"home", "config", "state", "system", "system/bin", "apps", "apps/Webgrazer"};
	for (const char* folder : folders)
		mkdir((sRoot + "/" + folder).c_str(), 0755);

	setenv("HOME", (sRoot + "/home").c_str(), 1);
	setenv("XDG_CONFIG_HOME", (sRoot + "/config").c_str(), 1);
	setenv("XDG_STATE_HOME", (sRoot + "/state").c_str(), 1);
	setenv("HAIKU_SYSTEM_DIR", (sRoot + "/system").c_str(), 1);
	setenv("HAIKU_APPS_DIR", (sRoot + "/apps").c_str(), 1);

	// The settings store and the passes talk a lot; libFuzzer reports on standard error.
	if (freopen("/dev/null", "w", stdout) == NULL) {
		perror("freopen");
		abort();
	}
	Prefs::getSTPrefs();
}


const std::string&
FuzzRoot()
{
	return sRoot;
}


bool
FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size)
{
	FILE* file = fopen(path.c_str(), "wb");
	if (file == NULL)
		return false;
	bool written = size == 0 || fwrite(data, 1, size, file) == size;
	return fclose(file) == 0 && written;
}
