/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Prefs.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Autolock.h>


// Pieces of a preset file line.
static const char* kHeaderMark = " PRESET ";
static const char* kPairMark = "$\t$";
static const char* kViewSizeMark = "[VIEW_SIZE";


Preset::Preset() : BList(20) { }


Preset::~Preset()
{
	for (int32 i = CountItems() - 1; i >= 0; i--)
		delete (BString*)ItemAt(i);
}


const char*
Preset::TextAt(int32 index) const
{
	BString* text = (BString*)ItemAt(index);
	return text != NULL ? text->String() : NULL;
}


// Reads a decimal number as atoi does, but a number too large for 32 bits is held at the
// limit instead of overflowing.
static int32
read_number(const char* text)
{
	errno = 0;
	long value = strtol(text, NULL, 10);
	if (value > INT_MAX)
		return INT_MAX;
	if (value < INT_MIN)
		return INT_MIN;
	return (int32)value;
}


void
Prefs::GetPresets()
{
	BString path(PathToApp.Path() != NULL ? PathToApp.Path() : "");
	path << "/" << PresetName;
	printf("Prefs GetPresets() LOAD File: \n");
	printf(" '%s'  \n", path.String());

	BAutolock lock(presetLock);

	// The view may still point into the presets it shows. They are kept until its next
	// selection; a reload before that can only drop presets that nobody selected from.
	if (fRetiredPresets.IsEmpty())
		fRetiredPresets.AddList(presetList);
	else {
		for (int32 i = presetList->CountItems() - 1; i >= 0; i--)
			delete (Preset*)presetList->ItemAt(i);
	}
	presetList->MakeEmpty();

	Preset* current = NULL;
	FILE* file = OpenRegularFile(path.String());
	if (file == NULL)
		printf("error open file\n");
	else {
		// Lines longer than the buffer are handled in pieces, each as a line of its own.
		char line[2048];
		while (fgets(line, sizeof(line), file) != NULL) {
			if (strstr(line, kHeaderMark) != NULL) {
				current = new Preset();
				presetList->AddItem(current);
			}

			const char* pair = strstr(line, kPairMark);
			if (pair == NULL)
				continue;
			if (current == NULL) {
				// Pairs need the header of their preset first.
				printf(" pair before the first preset dropped\n");
				continue;
			}

			BString* label = new BString(line, pair - line);
			label->RemoveFirst("$");
			BString* pattern = new BString(pair + strlen(kPairMark));
			int32 end = pattern->FindLast("$\n");
			if (end >= 0)
				pattern->Remove(end, 2);
			current->AddItem(label);
			current->AddItem(pattern);

			if (label->FindFirst(kViewSizeMark) == 0) {
				printf(":  '%s':'%s' \n", label->String(), pattern->String());
				int32 width = read_number(pattern->String());
				const char* comma = strchr(pattern->String(), ',');
				int32 height = comma != NULL ? read_number(comma + 1) : width;
				viewSize.Set(0, 0, width, height);
			}
		}
		fclose(file);
	}

	printf(" Now PresetList has %" B_PRId32 " Items\n ", presetList->CountItems());
}


void
Prefs::ReleaseRetiredPresets()
{
	BAutolock lock(presetLock);
	for (int32 i = fRetiredPresets.CountItems() - 1; i >= 0; i--)
		delete (Preset*)fRetiredPresets.ItemAt(i);
	fRetiredPresets.MakeEmpty();
}


FILE*
OpenRegularFile(const char* path)
{
	int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	if (fd < 0)
		return NULL;
	struct stat info;
	if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
		printf("'%s' is not a regular file: not read\n", path);
		close(fd);
		return NULL;
	}
	fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
	FILE* file = fdopen(fd, "r");
	if (file == NULL)
		close(fd);
	return file;
}


void
LoadPresets()
{
	Prefs::getSTPrefs()->GetPresets();
}
