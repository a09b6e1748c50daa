/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_PassFrame.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <Entry.h>
#include <Node.h>
#include <NodeInfo.h>

#include "wg_Tools.h"


// The temporary file of a pass is the path with one letter appended; both must fit this.
static const size_t kMaxPathLength = 1023;


extern char** environ;


// Starts an "rm" command that removes the file; wait_for_command() waits for it. The command
// runs without a shell, found on the PATH as the shell would find it, with the path as its
// own argument: nothing in the path is read as shell syntax or, after "--", as an option. It
// gets the program's environment and the default signal mask and handlers. Returns the
// command's process, or -1 when it could not run.
static pid_t
start_removal(const char* path)
{
	posix_spawnattr_t attributes;
	if (posix_spawnattr_init(&attributes) != 0)
		return -1;
	sigset_t signals;
	sigemptyset(&signals);
	posix_spawnattr_setsigmask(&attributes, &signals);
	sigaddset(&signals, SIGINT);
	sigaddset(&signals, SIGQUIT);
	sigaddset(&signals, SIGPIPE);
	posix_spawnattr_setsigdefault(&attributes, &signals);
	posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

	const char* arguments[] = {"rm", "--", path, NULL};
	pid_t child;
	int error = posix_spawnp(&child, "rm", NULL, &attributes, (char* const*)arguments, environ);
	posix_spawnattr_destroy(&attributes);
	return error == 0 ? child : -1;
}


// Returns the command's wait status, or -1 when there is none.
static int
wait_for_command(pid_t child)
{
	if (child < 0)
		return -1;
	int status;
	while (waitpid(child, &status, 0) < 0) {
		if (errno != EINTR)
			return -1;
	}
	return status;
}


// The frame every pass shares: transform the file into a temporary file next to it, remove
// the file, rename the temporary file to its name and mark it as source text. The file is
// read whole first, so the "rm" command removes it while the pass transforms and writes; it
// has ended before the rename.
void
RunPass(const char* path, char letter, transform_func transform)
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

	// The whole file is read, transformed in memory and written at once. What was read
	// before a read error is transformed as far as it goes.
	Text text;
	text.Read(input);
	fclose(input);
	pid_t removal = start_removal(path);
	Output result(text.Size() + text.Size() / 4 + 64);
	if (result.IsValid() && text.Data() != NULL) {
		transform(text, result);
		result.Write(output);
	}
	fclose(output);

	if (wait_for_command(removal) != 0) {
		// the removal is only a step towards the rename below
	}

	BEntry temp(tempPath);
	if (!temp.Exists() || temp.Rename(path, false) != B_OK)
		printf(" can't rename %s\n", tempPath);

	BNode node(path);
	BNodeInfo info(&node);
	info.SetType("text/x-source-code");
}
