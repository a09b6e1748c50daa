/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The input is the tag list; the settings store reads it, and the tag counting pass then
// runs with those tags over a page made of the same bytes.


#include <stdlib.h>
#include <string.h>

#include "FuzzEnv.h"
#include "wg_Prefs.h"
#include "wg_Tools.h"


static std::string sTagListPath;
static std::string sPagePath;


extern "C" int
LLVMFuzzerInitialize(int*, char***)
{
	FuzzSetUp();
	Prefs* prefs = Prefs::getSTPrefs();
	sTagListPath = std::string(prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "")
		+ "/" WG_TAG_LIST_FILE;
	sPagePath = FuzzRoot() + "/page.html";
	return 0;
}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (!FuzzWriteFile(sTagListPath, data, size) || !FuzzWriteFile(sPagePath, data, size))
		abort();

	Prefs* prefs = Prefs::getSTPrefs();
	prefs->GetTagList();
	for (int32 i = 0; i < kTagCount; i++) {
		// Every pattern must be a string within its entry.
		if (strnlen(prefs->tagList[i].pattern, kTagPatternSize) == (size_t)kTagPatternSize)
			abort();
	}

	TagCounter(sPagePath.c_str());
	return 0;
}
