/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Prefs.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include <FindDirectory.h>


static const char* kDefaultTags[kTagCount] = {
	"<title>",
	"<description>",
	"\"high\">",
	"\"low\">",
	"('hpwtmin')",
	"('hpwtmax')",
	"('hpwrain')",
	"('WR')",
	"Vorhersage für",
	"/32x32/",
	"/64x64/",
	"/256x256/",
	"class=\"day\" ><h3>",
	"floats\"></div> <p>",
	"class=\"hi\">",
	"<pubDate>",
	"<category>",
	"<dc:creator>",
	"reserve8\">",
	"reserve7\">",
	"reserve6\">",
	"reserve5\">",
	"reserve4\">",
	"reserve3\">",
	"reserve2\">",
};


char*
long2asc(uint32 code)
{
	static char buffer[10];
	buffer[0] = (char)(code >> 24);
	buffer[1] = (char)(code >> 16);
	buffer[2] = (char)(code >> 8);
	buffer[3] = (char)code;
	buffer[4] = '\0';
	return buffer;
}


void
Prefs::Logbuch(int32 mode, BMessage* message, const char* text, bool stamp, bool newline)
{
	if (!opUseLog)
		return;

	// Two blanks, HH:MM:SS and two blanks.
	time_t now = time(NULL);
	struct tm local;
	localtime_r(&now, &local);
	char timeStamp[16];
	snprintf(timeStamp, sizeof(timeStamp), "  %02i:%02i:%02i  %c", local.tm_hour, local.tm_min,
		local.tm_sec, '\0');

	BPath path;
	if (find_directory(B_SYSTEM_VAR_DIRECTORY, &path) != B_OK || path.Append(WG_LOG_FILE) != B_OK)
		return;

	if (mode == 1) {
		FILE* file = fopen(path.Path(), "w");
		if (file == NULL)
			return;
		fputs(timeStamp, file);
		if (text != NULL)
			fputs(text, file);
		fputs("\n", file);
		fclose(file);
		return;
	}

	FILE* file = fopen(path.Path(), "a");
	if (file == NULL)
		return;
	if (stamp)
		fputs(timeStamp, file);
	if (text != NULL) {
		if (message == NULL)
			fputs("\t", file);
		fputs(text, file);
	}
	if (message != NULL) {
		fprintf(file, " '%s' ", long2asc(message->what));
		fprintf(file, " <%" B_PRId32 "> ", (int32)message->what);
	}
	if (newline)
		fputs("\n", file);
	fclose(file);
}


void
Prefs::AppendToLogbuch(const char* text, size_t length)
{
	if (!opUseLog || text == NULL || length == 0)
		return;

	BPath path;
	if (find_directory(B_SYSTEM_VAR_DIRECTORY, &path) != B_OK || path.Append(WG_LOG_FILE) != B_OK)
		return;
	FILE* file = fopen(path.Path(), "a");
	if (file == NULL)
		return;
	fwrite(text, 1, length, file);
	fclose(file);
}


void
Prefs::GetTagList()
{
	printf("GetTagList()");

	for (int32 i = 0; i < kTagCount; i++) {
		tagList[i].pattern[0] = '\0';
		tagList[i].count = 0;
	}

	BString path(PathToApp.Path() != NULL ? PathToApp.Path() : "");
	path << "/" << WG_TAG_LIST_FILE;
	FILE* file = OpenRegularFile(path.String());
	if (file == NULL) {
		printf(" defaults\n");
		for (int32 i = 0; i < kTagCount; i++)
			strcpy(tagList[i].pattern, kDefaultTags[i]);
		return;
	}

	printf(" load from file\n");
	int32 filled = 0;
	char line[128];
	while (filled < kTagCount && fgets(line, sizeof(line), file) != NULL) {
		if (line[0] == '\t' || line[0] == '\n' || line[0] == '\r')
			continue;
		// The last byte is the line's LF (or, on a last line without one, a text byte).
		size_t length = strlen(line);
		if (length > 0)
			length--;
		length = min_c(length, (size_t)kTagPatternSize - 1);
		memcpy(tagList[filled].pattern, line, length);
		tagList[filled].pattern[length] = '\0';
		tagList[filled].count = 0;
		filled++;
	}
	fclose(file);

	for (int32 i = 0; i < kTagCount; i++)
		printf("%02" B_PRId32 " '%s'\n", i, tagList[i].pattern);
}
