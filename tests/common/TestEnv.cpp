/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "TestEnv.h"

#include <OS.h>

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>


static int
remove_entry(const char* path, const struct stat*, int, struct FTW*)
{
	remove(path);
	return 0;
}


TestEnv::TestEnv()
{
	const char* tmp = getenv("TMPDIR");
	std::string pattern
		= std::string(tmp != NULL && tmp[0] != '\0' ? tmp : "/tmp") + "/wgtest.XXXXXX";
	char buffer[1024];
	snprintf(buffer, sizeof(buffer), "%s", pattern.c_str());
	if (mkdtemp(buffer) == NULL)
		throw std::runtime_error("mkdtemp failed");
	fRoot = buffer;

	for (const std::string& dir :
		{Home(), Config(), State(), System(), System() + "/bin", Apps(), AppFolder()}) {
		mkdir(dir.c_str(), 0755);
	}

	setenv("HOME", Home().c_str(), 1);
	setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
	setenv("XDG_STATE_HOME", State().c_str(), 1);
	setenv("HAIKU_SYSTEM_DIR", System().c_str(), 1);
	setenv("HAIKU_APPS_DIR", Apps().c_str(), 1);
	// Applications that other tests run at the same time stay out of this test's roster.
	std::string runtime = fRoot + "/run";
	mkdir(runtime.c_str(), 0700);
	setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}


TestEnv::~TestEnv()
{
	nftw(fRoot.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}


std::string
ReadFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream contents;
	contents << in.rdbuf();
	return contents.str();
}


void
WriteFile(const std::string& path, const std::string& contents)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << contents;
}


bool
FileExists(const std::string& path)
{
	struct stat st;
	return lstat(path.c_str(), &st) == 0;
}


bool
WaitUntil(const std::function<bool()>& condition, bigtime_t timeout)
{
	bigtime_t deadline = system_time() + timeout;
	while (!condition()) {
		if (system_time() > deadline)
			return false;
		snooze(2000);
	}
	return true;
}


int
count_of(const std::string& text, const std::string& part)
{
	int count = 0;
	for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
		count++;
	return count;
}
