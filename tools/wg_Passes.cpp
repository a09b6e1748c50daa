/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <Entry.h>
#include <Node.h>
#include <NodeInfo.h>
#include <OS.h>

#include "wg_Prefs.h"


// The temporary file of a pass is the path with one letter appended; both must fit this.
static const size_t kMaxPathLength = 1023;
static const size_t kStreamBuffer = 65536;


typedef void (*transform_func)(FILE* input, FILE* output);


// The frame every pass shares: transform the file into a temporary file next to it, remove
// the file, rename the temporary file to its name and mark it as source text.
static void
run_pass(const char* path, char letter, transform_func transform)
{
	if (path == NULL || strlen(path) + 1 > kMaxPathLength) {
		printf(" path too long \n");
		return;
	}
	char tempPath[kMaxPathLength + 1];
	snprintf(tempPath, sizeof(tempPath), "%s%c", path, letter);

	FILE* output = fopen(tempPath, "w");
	if (output == NULL) {
		printf(" open Err: %s \n", tempPath);
		return;
	}
	FILE* input = fopen(path, "r");
	if (input == NULL) {
		printf(" open Err: %s \n", path);
		fclose(output);
		remove(tempPath);
		return;
	}
	setvbuf(input, NULL, _IOFBF, kStreamBuffer);
	setvbuf(output, NULL, _IOFBF, kStreamBuffer);

	transform(input, output);
	fclose(input);
	fclose(output);

	BString command("rm ");
	command << ShellQuoted(path);
	if (system(command.String()) != 0) {
		// the removal is only a step towards the rename below
	}

	BEntry temp(tempPath);
	if (!temp.Exists() || temp.Rename(path, false) != B_OK)
		printf(" can't rename %s\n", tempPath);

	BNode node(path);
	BNodeInfo info(&node);
	info.SetType("text/x-source-code");
}


//	#pragma mark - line breaks


static inline void
put_bytes(FILE* output, int a, int b, int c)
{
	if (a != EOF)
		putc_unlocked(a, output);
	if (b != EOF)
		putc_unlocked(b, output);
	if (c != EOF)
		putc_unlocked(c, output);
}


// Puts chosen tags at the start of a line and joins each table row into one line.
static void
add_breaks(FILE* input, FILE* output)
{
	bool inRow = false;
	int c;
	while ((c = getc_unlocked(input)) != EOF) {
		if (inRow && (c == '\r' || c == '\n' || c == '\t'))
			continue;

		if (c == ';') {
			int d = getc_unlocked(input);
			putc_unlocked(';', output);
			if (d == 'd')
				fputs("\r\n", output);
			if (d == EOF)
				break;
			putc_unlocked(d, output);
			continue;
		}

		if (c == '<') {
			int a = getc_unlocked(input);
			int b = getc_unlocked(input);
			int e = getc_unlocked(input);
			if (a == 't' && b == 'r')
				inRow = true;
			if (a == '/' && b == 't' && e == 'r')
				inRow = false;
			if (a == 'd' && b == 'i')
				fputs("\r\n", output);
			if (a == '/' && b == 'f')
				fputs("\r\n", output);
			if (a == '/' && b == 's' && e == 'p')
				fputs("\r\n", output);
			if (a == 'i' && b == 'm' && e == 'g')
				fputs("\r\n", output);
			if (!inRow && (a == 'i' || a == 'p' || a == 'z' || a == 's' || a == 'a'))
				fputs("\r\n", output);
			putc_unlocked('<', output);
			put_bytes(output, a, b, e);
			continue;
		}

		putc_unlocked(c, output);
	}
	fputs("\r\n", output);
}


void
AddBreaksInFile(const char* path)
{
	printf(" = AddBreaksInFile =\n");
	run_pass(path, 'x', add_breaks);
}


//	#pragma mark - entities and umlauts


struct Replacement {
	const char* from;
	const char* to;
};


// In this order; every row replaces all occurrences before the next row runs.
static const Replacement kCriticals[] = {
	{"&nbsp;", " <sp>"},
	{"<img", "\n<img"},
	{"<IMG", "\n<IMG"},
	{"&quot;", "`"},
	{"&Uuml;", "\xc3\x9c"},
	{"&uuml;", "\xc3\xbc"},
	{"&Auml;", "\xc3\x84"},
	{"&auml;", "\xc3\xa4"},
	{"&Ouml;", "\xc3\x96"},
	{"&ouml;", "\xc3\xb6"},
	{"&szlig;", "\xc3\x9f"},
	{"&deg;;", "\xc2\xb0 C."},
	{"&deg;", "\xc2\xb0 C"},
	{"&copy;", "\xc2\xa9"},
	{"&euro;", "\xe2\x82\xac"},
	{"&lt;br /&gt;", " "},
	{"<br \\/>", " "},
	{" --", " "},
	{"   ", " "},
	{"  ", " "},
	{"\xe4", "\xc3\xa4"},
	{"\xc4", "\xc3\x84"},
	{"\xf6", "\xc3\xb6"},
	{"\xfc", "\xc3\xbc"},
	{"\xdc", "\xc3\x9c"},
	{"\xdf", "\xc3\x9f"},
	{"  ", " "},
	{"&#228;", "\xc3\xa4"},
	{"&#252;", "\xc3\xbc"},
	{"&#246;", "\xc3\xb6"},
	{"&#196;", "\xc3\x84"},
	{"&#220;", "\xc3\x9c"},
	{"&#214;", "\xc3\x96"},
	{"&#223;", "\xc3\x9f"},
};


// Whether a line may hold anything the rows replace: most lines hold none, and are
// written as they are.
static bool
may_need_replacing(const char* line)
{
	for (const unsigned char* c = (const unsigned char*)line; *c != '\0'; c++) {
		if (*c == '&' || *c == '<' || *c >= 0x80 || (*c == ' ' && (c[1] == ' ' || c[1] == '-')))
			return true;
	}
	return false;
}


// Reads lines as the C library's stream reports them: a last read that delivers nothing
// leaves the buffer as it was, so "<end>" is handled once more after a final line end.
static void
replace_criticals(FILE* input, FILE* output)
{
	char line[2048];
	BString text;
	while (!feof(input)) {
		strcpy(line, "<end>");
		if (fgets(line, sizeof(line), input) == NULL && ferror(input))
			break;
		if (!may_need_replacing(line)) {
			fputs(line, output);
			continue;
		}
		text = line;
		for (const Replacement& row : kCriticals) {
			if (strstr(text.String(), row.from) != NULL)
				text.ReplaceAll(row.from, row.to);
		}
		fwrite(text.String(), 1, text.Length(), output);
	}
	fputs("\n", output);
}


void
ReplaceCriticals(const char* path)
{
	printf(" = ReplaceCriticals =\n");
	run_pass(path, 'z', replace_criticals);
	snooze(5000);
}


//	#pragma mark - tag counting


static void
count_tags(FILE* input, FILE* output)
{
	TagEntry* tags = Prefs::getSTPrefs()->tagList;
	char line[2048];
	char marker[kTagPatternSize + 32];
	BString copy;
	while (!feof(input)) {
		strcpy(line, "<end>");
		if (fgets(line, sizeof(line), input) == NULL && ferror(input))
			break;
		copy = line;
		for (int32 i = 0; i < kTagCount; i++) {
			TagEntry& tag = tags[i];
			if (tag.pattern[0] == '\0' || strstr(line, tag.pattern) == NULL)
				continue;
			snprintf(marker, sizeof(marker), "%s:%" B_PRId32 "|", tag.pattern, tag.count);
			tag.count++;
			copy.ReplaceFirst(tag.pattern, marker);
		}
		fwrite(copy.String(), 1, copy.Length(), output);
	}
	fputs("\r\n", output);
}


void
TagCounter(const char* path)
{
	printf(" = TagCounter =\n");
	TagEntry* tags = Prefs::getSTPrefs()->tagList;
	for (int32 i = 0; i < kTagCount; i++)
		tags[i].count = 0;
	run_pass(path, 'y', count_tags);
}
