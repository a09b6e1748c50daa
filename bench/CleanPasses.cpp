/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The three cleaning passes as a process of its own, for comparisons with other programs:
//
//	bench_clean FILE		runs the three passes on FILE, as a download does, and quits
//	bench_clean --fixed-costs FILE	does only what the passes must do whatever the page: three
//					"rm" commands, one after another, each removing FILE
//					made anew, and the 5 ms pause after the second
//
// The first is the same as "bench_pipeline --clean FILE", but the program's code (libwebgrazer's
// and the platform layer's objects that the passes reach) and the C++ runtime are linked into
// the executable, so that starting it loads only the C library. The second is the least time
// any implementation of the passes can take as a process: it has no settings, no reading,
// transforming or renaming, and finds "rm" as the passes do.


#include "BenchHome.h"

#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>


extern char** environ;


static int
remove_with_command(const char* path)
{
	const char* arguments[] = {"rm", "--", path, NULL};
	pid_t child;
	if (posix_spawnp(&child, "rm", NULL, NULL, (char* const*)arguments, environ) != 0)
		return -1;
	int status;
	while (waitpid(child, &status, 0) < 0) {
		if (errno != EINTR)
			return -1;
	}
	return status;
}


static int
fixed_costs(const char* path)
{
	for (int pass = 0; pass < 3; pass++) {
		FILE* file = fopen(path, "w");
		if (file == NULL || fclose(file) != 0 || remove_with_command(path) != 0)
			return 1;
		if (pass == 1) {
			struct timespec pause = {0, 5000000};
			while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
			}
		}
	}
	return 0;
}


int
main(int argc, char** argv)
{
	if (argc == 3 && strcmp(argv[1], "--fixed-costs") == 0)
		return fixed_costs(argv[2]);
	if (argc != 2) {
		fprintf(stderr, "usage: bench_clean [--fixed-costs] FILE\n");
		return 1;
	}
	return CleanAsADownload(argv[1]);
}
