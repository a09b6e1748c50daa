/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


// Reads what the program prints until `text` shows up, the output ends or time runs out.
static bool
read_until(int fd, std::string& output, const std::string& text, int timeoutMs)
{
	char buffer[4096];
	while (output.find(text) == std::string::npos) {
		struct pollfd poller = {fd, POLLIN, 0};
		if (poll(&poller, 1, timeoutMs) <= 0)
			return false;
		ssize_t bytes = read(fd, buffer, sizeof(buffer));
		if (bytes <= 0)
			return false;
		output.append(buffer, bytes);
	}
	return true;
}


// The built program, started as a user would, on the in-memory screen.
TEST(Program, StartsShowsTheSamplePresetAndSavesItsFrameOnSigterm)
{
	TestEnv env;
	std::string snapshot = env.Root() + "/screen.png";
	setenv("HAIKU_HEADLESS_SNAPSHOT", snapshot.c_str(), 1);
	unsetenv("DISPLAY");
	// The program finds its system folder, with wget in it, beside its own library.
	unsetenv("HAIKU_SYSTEM_DIR");
	unsetenv("HAIKU_APPS_DIR");

	int output[2];
	ASSERT_EQ(pipe(output), 0);
	pid_t child = fork();
	ASSERT_GE(child, 0);
	if (child == 0) {
		dup2(output[1], STDOUT_FILENO);
		close(output[0]);
		execl(WG_APP_EXECUTABLE, WG_APP_EXECUTABLE, (char*)NULL);
		_exit(127);
	}
	close(output[1]);

	std::string printed;
	EXPECT_TRUE(read_until(output[0], printed, "screen: " + snapshot, 30000)) << printed;
	EXPECT_NE(printed.find("-Webgrazer_GUI begin- (Haiku)"), std::string::npos);
	EXPECT_NE(printed.find("cp -v"), std::string::npos);
	EXPECT_TRUE(FileExists(snapshot));

	kill(child, SIGTERM);
	EXPECT_TRUE(read_until(output[0], printed, "DSApplication::~DSApplication() done", 30000))
		<< printed;
	close(output[0]);
	int status = 0;
	ASSERT_EQ(waitpid(child, &status, 0), child);
	EXPECT_TRUE(WIFEXITED(status));
	EXPECT_EQ(WEXITSTATUS(status), 0);
	EXPECT_NE(printed.find("\n-Webgrazer_GUI end-\n"), std::string::npos);

	// The window's frame went into the settings.
	std::string settings = env.Config() + "/_LP_x-vnd.QK/Webgrazer_settings";
	char frame[64];
	ssize_t size = getxattr(settings.c_str(), "user.opWinRect", frame, sizeof(frame));
	ASSERT_EQ(size, 20);
	float left;
	memcpy(&left, frame + 4, sizeof(left));
	EXPECT_FLOAT_EQ(left, 30);
}
