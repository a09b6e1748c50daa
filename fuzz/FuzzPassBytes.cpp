/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The input is a downloaded page; the three cleaning passes' byte transforms run on it one
// after the other, in memory, without the files, commands and pauses around them, so that
// thousands of pages a second are tried.


#include <stdlib.h>

#include "FuzzEnv.h"
#include "wg_PassFrame.h"
#include "wg_Prefs.h"


extern "C" int
LLVMFuzzerInitialize(int*, char***)
{
	FuzzSetUp();
	return 0;
}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	TagEntry* tags = Prefs::getSTPrefs()->tagList;
	for (int32 i = 0; i < kTagCount; i++)
		tags[i].count = 0;

	Text page;
	if (!page.SetTo((const char*)data, size))
		abort();
	void (*passes[])(const Text&, Output&) = {AddBreaksText, ReplaceCriticalsText, CountTagsText};
	for (auto pass : passes) {
		Output output(page.Size() + 16);
		if (!output.IsValid())
			abort();
		pass(page, output);
		if (!page.SetTo(output.Data(), output.Size()))
			abort();
	}
	return 0;
}
