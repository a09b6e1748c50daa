/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The three cleaning passes as a process of its own, for comparisons with other programs:
//
//	bench_clean FILE	runs the three passes on FILE, as a download does, and quits
//
// The same as "bench_pipeline --clean FILE", but the program's code (libwebgrazer's and the
// platform layer's objects that the passes reach) and the C++ runtime are linked into the
// executable, so that starting it loads only the C library.


#include "BenchHome.h"

#include <stdio.h>


int
main(int argc, char** argv)
{
	if (argc != 2) {
		fprintf(stderr, "usage: bench_clean FILE\n");
		return 1;
	}
	return CleanAsADownload(argv[1]);
}
