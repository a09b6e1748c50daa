/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_PassFrame.h"

#include <Entry.h>
#include <Node.h>
#include <NodeInfo.h>
#include <String.h>

#include "wg_Tools.h"


// The temporary file of a pass is the path with one letter appended; both must fit this.
static const size_t kMaxPathLength = 1023;


// The frame every pass shares: transform the file into a temporary file next to it, remove
// the file, rename the temporary file to its name and mark it as source text.
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
	Output result(text.Size() + text.Size() / 4 + 64);
	if (result.IsValid() && text.Data() != NULL) {
		transform(text, result);
		result.Write(output);
	}
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
