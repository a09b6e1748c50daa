/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <FindDirectory.h>
#include <Path.h>

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


// Haiku's values; 2015 was B_COMMON_VAR_DIRECTORY on older systems.
static_assert(B_DESKTOP_DIRECTORY == 0 && B_TRASH_DIRECTORY == 1, "per volume");
static_assert(B_SYSTEM_DIRECTORY == 1000 && B_SYSTEM_LIB_DIRECTORY == 1005
		&& B_SYSTEM_BIN_DIRECTORY == 1008 && B_SYSTEM_DATA_DIRECTORY == 1015
		&& B_SYSTEM_VAR_DIRECTORY == 2015,
	"system");
static_assert(B_USER_DIRECTORY == 3000 && B_USER_CONFIG_DIRECTORY == 3001
		&& B_USER_SETTINGS_DIRECTORY == 3006 && B_USER_DATA_DIRECTORY == 3012
		&& B_USER_CACHE_DIRECTORY == 3013,
	"user");
static_assert(B_APPS_DIRECTORY == 4000 && B_PREFERENCES_DIRECTORY == 4001, "global");


static std::string
Find(directory_which which, bool createIt = false)
{
	BPath path;
	status_t status = find_directory(which, &path, createIt);
	if (status != B_OK)
		return "<error>";
	return path.Path();
}


static std::string
Canonical(const std::string& path)
{
	char* real = realpath(path.c_str(), NULL);
	std::string result = real != NULL ? real : "<missing>";
	free(real);
	return result;
}


TEST(FindDirectory, AnswersFollowTheEnvironment)
{
	TestEnv env;
	unsetenv("XDG_DATA_HOME");
	unsetenv("XDG_CACHE_HOME");

	EXPECT_EQ(Find(B_USER_DIRECTORY), env.Home());
	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), env.Config());
	EXPECT_EQ(Find(B_USER_CONFIG_DIRECTORY), env.Config());
	EXPECT_EQ(Find(B_SYSTEM_VAR_DIRECTORY), env.State());
	EXPECT_EQ(Find(B_USER_DATA_DIRECTORY), env.Home() + "/.local/share");
	EXPECT_EQ(Find(B_USER_CACHE_DIRECTORY), env.Home() + "/.cache");
	EXPECT_EQ(Find(B_DESKTOP_DIRECTORY), env.Home() + "/Desktop");
	EXPECT_EQ(Find(B_SYSTEM_DIRECTORY), env.System());
	EXPECT_EQ(Find(B_SYSTEM_BIN_DIRECTORY), env.System() + "/bin");
	EXPECT_EQ(Find(B_SYSTEM_LIB_DIRECTORY), env.System() + "/lib");
	EXPECT_EQ(Find(B_SYSTEM_DATA_DIRECTORY), env.System() + "/data");
	EXPECT_EQ(Find(B_APPS_DIRECTORY), env.Apps());

	// read again at every call; empty and relative values do not count
	setenv("XDG_CONFIG_HOME", (env.Root() + "/other/").c_str(), 1);
	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), env.Root() + "/other");
	setenv("XDG_CONFIG_HOME", "", 1);
	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), env.Home() + "/.config");
	setenv("XDG_CONFIG_HOME", "relative", 1);
	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), env.Home() + "/.config");
	setenv("XDG_DATA_HOME", (env.Root() + "/data").c_str(), 1);
	EXPECT_EQ(Find(B_USER_DATA_DIRECTORY), env.Root() + "/data");

	// without $HOME the passwd entry answers
	unsetenv("HOME");
	struct passwd* entry = getpwuid(getuid());
	ASSERT_NE(entry, nullptr);
	EXPECT_EQ(Find(B_USER_DIRECTORY), std::string(entry->pw_dir));
}


TEST(FindDirectory, TheLayersOwnFoldersByDefault)
{
	TestEnv env;
	unsetenv("HAIKU_SYSTEM_DIR");
	unsetenv("HAIKU_APPS_DIR");

	// the build puts the layer library into <build>/system/lib
	EXPECT_EQ(Find(B_SYSTEM_DIRECTORY), Canonical(WG_SYSTEM_DIR));
	EXPECT_EQ(Find(B_SYSTEM_BIN_DIRECTORY), Canonical(WG_SYSTEM_DIR) + "/bin");
	std::string apps = Find(B_APPS_DIRECTORY);
	EXPECT_EQ(apps + "/system", Canonical(WG_SYSTEM_DIR));
	EXPECT_EQ(
		Canonical(apps + "/Webgrazer"), Canonical(std::string(WG_SYSTEM_DIR) + "/../Webgrazer"));
}


TEST(FindDirectory, CreatesMissingFoldersOnRequest)
{
	TestEnv env;
	std::string settings = env.Root() + "/new/settings";
	setenv("XDG_CONFIG_HOME", settings.c_str(), 1);

	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY), settings);
	EXPECT_FALSE(FileExists(settings));

	mode_t oldMask = umask(022);
	EXPECT_EQ(Find(B_USER_SETTINGS_DIRECTORY, true), settings);
	umask(oldMask);
	struct stat st;
	ASSERT_EQ(stat(settings.c_str(), &st), 0);
	EXPECT_TRUE(S_ISDIR(st.st_mode));
	EXPECT_EQ(st.st_mode & 0777, 0755u);

	// a file in the way is an error
	WriteFile(env.Root() + "/file", "");
	setenv("XDG_CACHE_HOME", (env.Root() + "/file/cache").c_str(), 1);
	BPath path;
	EXPECT_EQ(find_directory(B_USER_CACHE_DIRECTORY, &path, true), B_NOT_A_DIRECTORY);
}


TEST(FindDirectory, BadArgumentsAndTheCForm)
{
	TestEnv env;
	BPath path;
	EXPECT_EQ(find_directory((directory_which)12345, &path), B_BAD_VALUE);
	EXPECT_EQ(find_directory(B_USER_DIRECTORY, (BPath*)NULL), B_BAD_VALUE);

	char buffer[B_PATH_NAME_LENGTH];
	ASSERT_EQ(find_directory(B_USER_DIRECTORY, -1, false, buffer, sizeof(buffer)), B_OK);
	EXPECT_EQ(std::string(buffer), env.Home());

	// the answer must fit, terminator included
	size_t length = env.Home().size();
	memset(buffer, '#', sizeof(buffer));
	EXPECT_LT(find_directory(B_USER_DIRECTORY, -1, false, buffer, (int32)length), 0);
	EXPECT_EQ(buffer[0], '#');
	EXPECT_EQ(find_directory(B_USER_DIRECTORY, -1, false, buffer, (int32)length + 1), B_OK);
	EXPECT_EQ(find_directory(B_USER_DIRECTORY, -1, false, NULL, 10), B_BAD_VALUE);
}


TEST(FindDirectoryVar, TheVarFolderIsThereWheneverItIsAskedFor)
{
	TestEnv env;
	std::string state = env.Root() + "/fresh/state";
	setenv("XDG_STATE_HOME", state.c_str(), 1);
	BPath path;
	ASSERT_EQ(find_directory(B_SYSTEM_VAR_DIRECTORY, &path), B_OK);
	EXPECT_STREQ(path.Path(), state.c_str());
	EXPECT_TRUE(FileExists(state));
}
