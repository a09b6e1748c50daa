/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The input is a downloaded page; the three cleaning passes run on it as after a download.


#include <stdlib.h>

#include "FuzzEnv.h"
#include "wg_Tools.h"


static std::string sPagePath;


extern "C" int
LLVMFuzzerInitialize(int*, char***)
{
	FuzzSetUp();
	sPagePath = FuzzRoot() + "/page.html";
	return 0;
}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (!FuzzWriteFile(sPagePath, data, size))
		abort();
	AddBreaksInFile(sPagePath.c_str());
	ReplaceCriticals(sPagePath.c_str());
	TagCounter(sPagePath.c_str());
	return 0;
}
