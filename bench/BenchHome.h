/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BENCH_HOME_H
#define _BENCH_HOME_H


#include <string>


// Makes a private home in a new temporary folder (in TMPDIR, or /tmp), so that every folder
// find_directory() answers lies in it, and removes it when the process exits. When the
// environment names a folder in WG_BENCH_HOME, that folder is the home, as the runs before
// left it, and it is kept: the settings store is then found as at a usual start. Returns the
// folder, or an empty string when it cannot be made.
std::string MakeBenchHome();

// Runs the three cleaning passes on the file as a download runs them, in a private home,
// with the settings store made as at the program's start and the program's talk on standard
// output going to /dev/null. Returns the process's exit code.
int CleanAsADownload(const char* path);


#endif // _BENCH_HOME_H
