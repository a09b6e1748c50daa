/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


extern char** environ;


// The Tracker stand-in hands each argument to the xdg-open found in PATH as one word: a
// test's own opener takes its place, and nothing in an argument runs.
TEST(Tracker, OpensEachArgumentWithTheOpenerInPath)
{
	TestEnv env;
	std::string bin = env.Root() + "/bin";
	std::string record = env.Root() + "/opened";
	mkdir(bin.c_str(), 0755);
	ASSERT_EQ(mkfifo(record.c_str(), 0600), 0);
	// the opener records its argument count and first argument, one line per call
	WriteFile(
		bin + "/xdg-open", "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" + record + "'\n");
	chmod((bin + "/xdg-open").c_str(), 0755);
	// reading end first; the test's own writing end keeps the pipe from reporting a hang-up
	int reader = open(record.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	int writer = open(record.c_str(), O_WRONLY | O_CLOEXEC);
	ASSERT_GE(reader, 0);
	ASSERT_GE(writer, 0);

	const char* path = getenv("PATH");
	setenv("PATH", (bin + ":" + (path != NULL ? path : "/usr/bin:/bin")).c_str(), 1);
	std::string tracker = WG_SYSTEM_DIR "/Tracker";
	std::string injected = "$(touch " + env.Root() + "/ran)";
	std::string chained = "page.html; touch " + env.Root() + "/ran2";
	const char* argv[] = {tracker.c_str(), "/boot/home/my presets.txt", "-n", injected.c_str(),
		chained.c_str(), "https://example.org/?a=1&b=2", NULL};
	pid_t child;
	ASSERT_EQ(posix_spawn(&child, tracker.c_str(), NULL, NULL, (char**)argv, environ), 0);
	int status;
	ASSERT_EQ(waitpid(child, &status, 0), child);
	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

	std::multiset<std::string> opened;
	std::string pending;
	while (opened.size() < 5) {
		struct pollfd wait = {reader, POLLIN, 0};
		if (poll(&wait, 1, 10000) <= 0)
			break;
		char buffer[512];
		ssize_t length = read(reader, buffer, sizeof(buffer));
		for (ssize_t i = 0; i < length; i++) {
			if (buffer[i] != '\n') {
				pending += buffer[i];
				continue;
			}
			opened.insert(pending);
			pending.clear();
		}
	}
	close(writer);
	close(reader);

	std::multiset<std::string> expected = {"1|/boot/home/my presets.txt", "1|./-n", "1|" + injected,
		"1|" + chained, "1|https://example.org/?a=1&b=2"};
	EXPECT_EQ(opened, expected);
	EXPECT_FALSE(FileExists(env.Root() + "/ran"));
	EXPECT_FALSE(FileExists(env.Root() + "/ran2"));
}
