/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "BenchHome.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <vector>

#include "wg_Prefs.h"
#include "wg_Tools.h"


static std::string sHome;


static int
remove_entry(const char* path, const struct stat*, int, struct FTW*)
{
	remove(path);
	return 0;
}


static void
remove_home()
{
	if (!sHome.empty())
		nftw(sHome.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}


std::string
MakeBenchHome()
{
	if (!sHome.empty())
		return sHome;
	// A home that the caller keeps for several runs is used as it is and kept.
	const char* given = getenv("WG_BENCH_HOME");
	if (given != NULL && given[0] != '\0') {
		struct stat info;
		if (stat(given, &info) != 0 || !S_ISDIR(info.st_mode))
			return std::string();
		sHome = given;
	} else {
		const char* tmp = getenv("TMPDIR");
		std::string pattern = std::string(tmp != NULL && tmp[0] != '\0' ? tmp : "/tmp");
		pattern += "/wgbench.XXXXXX";
		std::vector<char> buffer(pattern.begin(), pattern.end());
		buffer.push_back('\0');
		if (mkdtemp(buffer.data()) == NULL)
			return std::string();
		sHome = buffer.data();
		atexit(remove_home);
	}

	const char* folders[]
		= {"home", "config", "state", "system", "system/bin", "apps", "apps/Webgrazer"};
	for (const char* folder : folders)
		mkdir((sHome + "/" + folder).c_str(), 0755);

	setenv("HOME", (sHome + "/home").c_str(), 1);
	setenv("XDG_CONFIG_HOME", (sHome + "/config").c_str(), 1);
	setenv("XDG_STATE_HOME", (sHome + "/state").c_str(), 1);
	setenv("HAIKU_SYSTEM_DIR", (sHome + "/system").c_str(), 1);
	setenv("HAIKU_APPS_DIR", (sHome + "/apps").c_str(), 1);
	return sHome;
}


int
CleanAsADownload(const char* path)
{
	if (MakeBenchHome().empty() || freopen("/dev/null", "w", stdout) == NULL)
		return 1;
	Prefs::getSTPrefs();
	AddBreaksInFile(path);
	ReplaceCriticals(path);
	TagCounter(path);
	Prefs::getSTPrefs()->DeleteMe();
	return 0;
}
