/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <Entry.h>
#include <FindDirectory.h>
#include <OS.h>
#include <Path.h>

#include "wg_Prefs.h"


static const char* kScratchFile = "wg_answer.txt";
static const size_t kMaxPathLength = 1023;


static bool
is_directory(const char* path)
{
	BEntry entry(path, true);
	return entry.IsDirectory();
}


const char*
GetPathWG(const char* base, const char* name1, const char* name2)
{
	static BString sResult;

	if (base == NULL) {
		printf(" :: missing ord\n");
		return NULL;
	}

	if (!is_directory(base)) {
		// Create the folder level by level.
		BString path(base);
		path << "/";
		for (int32 slash = path.FindFirst('/', 1); slash >= 0;
			 slash = path.FindFirst('/', slash + 1)) {
			BString prefix(path.String(), slash);
			printf(" %" B_PRId32, slash);
			printf(" - %s ", prefix.String());
			if (!is_directory(prefix.String())) {
				mkdir(prefix.String(), 0755);
				printf(">>buildet");
			} else
				printf(">>ok");
			printf("\n");
		}
	}

	sResult = base;
	sResult << "/";
	if (name1 != NULL)
		sResult << name1;
	if (name2 != NULL)
		sResult << name2;
	return sResult.String();
}


BString
ScratchPath()
{
	BPath var;
	if (find_directory(B_SYSTEM_VAR_DIRECTORY, &var) != B_OK)
		return BString();
	const char* folder = GetPathWG(var.Path(), NULL, NULL);
	BString path(folder != NULL ? folder : "");
	path << kScratchFile;
	return path;
}


BString
ShellQuoted(const char* text)
{
	BString quoted(text != NULL ? text : "");
	quoted.ReplaceAll("'", "'\\''");
	quoted.Prepend("'");
	quoted.Append("'");
	return quoted;
}


// A page address is a local file when it names something in a home folder or starts at
// the root of the file system.
static bool
is_local_file(const char* url)
{
	if (strstr(url, "boot/home") != NULL || url[0] == '/')
		return true;
	BPath home;
	return find_directory(B_USER_DIRECTORY, &home) == B_OK && strcmp(home.Path(), "/") != 0
		&& strstr(url, home.Path()) != NULL;
}


void
XDownloadUrl(const char* url)
{
	printf(" = DownloadUrl() =\n");
	Prefs* prefs = Prefs::getSTPrefs();
	if (!prefs->wget_avalibel) {
		printf("Can't wget, missing! \b\n");
		return;
	}

	prefs->pageLoaded = false;
	BString scratch = ScratchPath();
	if (url == NULL || scratch.Length() == 0 || scratch.Length() > (int32)kMaxPathLength) {
		printf(" no page to fetch into '%s'\n", scratch.String());
		return;
	}
	// An address that begins like an option would be read as one by the tools.
	if (url[0] == '-') {
		printf(" not an address: '%s'\n", url);
		return;
	}

	BString command;
	if (is_local_file(url)) {
		if (strlen(url) > kMaxPathLength) {
			printf(" path too long: '%s'\n", url);
			return;
		}
		command << "cp -v " << ShellQuoted(url) << " " << ShellQuoted(scratch.String());
	} else {
		BPath wget;
		if (find_directory(B_SYSTEM_BIN_DIRECTORY, &wget) != B_OK || wget.Append("wget") != B_OK) {
			printf("Can't wget, missing! \b\n");
			return;
		}
		BString address(url);
		address.ReplaceAll(" ", "%20");
		command << ShellQuoted(wget.Path()) << " -O " << ShellQuoted(scratch.String());
		if (prefs->opUseCertOption)
			command << " --no-check-certificate";
		command << " -T4 " << ShellQuoted(address.String());
	}

	printf("%s\n", command.String());
	int result = system(command.String());
	printf("..After system %d..\n", result);
	snooze(5000);

	// Only a command that ran and exited with 0 delivered the page.
	if (result == -1 || !WIFEXITED(result) || WEXITSTATUS(result) != 0)
		return;

	prefs->pageLoaded = true;
	AddBreaksInFile(scratch.String());
	ReplaceCriticals(scratch.String());
	TagCounter(scratch.String());
}


void
ReceiveX_wget(const char* url, BList* patternList, BList* labelList, BList* valueList)
{
	printf(" = ReceiveX_wget =\n");
	if (valueList == NULL) {
		printf(" -NO Values-BList ");
		return;
	}
	if (labelList == NULL) {
		printf(" -NO Titels-BList ");
		return;
	}
	if (patternList == NULL) {
		printf(" -NO fSearch-BList ");
		return;
	}

	Prefs* prefs = Prefs::getSTPrefs();
	if (!prefs->wget_avalibel) {
		printf("Can't wget, missing! \b\n");
		return;
	}

	BString scratch = ScratchPath();
	if (prefs->settWindowOpen)
		printf("#DON'T EXEC: %s\n", url != NULL ? url : "");
	else
		XDownloadUrl(url);

	ExtractContent(scratch.String(), patternList, labelList, valueList);

	snooze(5000);
	snooze(50000);
	printf("\n = ReceiveX_wget end =\n");
}
