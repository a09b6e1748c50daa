/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <stdlib.h>

#include <string>

#include <gtest/gtest.h>

#include "ProgramSupport.h"
#include "TestEnv.h"


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

	RunningProgram program;
	ASSERT_TRUE(program.Start(WG_APP_EXECUTABLE));
	EXPECT_TRUE(program.WaitFor("screen: " + snapshot)) << program.Printed();
	EXPECT_TRUE(FileExists(snapshot));

	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0);
	std::string printed = program.Printed();
	EXPECT_NE(printed.find("-Webgrazer_GUI begin- (Haiku)"), std::string::npos);
	EXPECT_NE(printed.find("cp -v"), std::string::npos);
	EXPECT_NE(printed.find("\n-Webgrazer_GUI end-\n"), std::string::npos);
	EXPECT_NE(printed.find("DSApplication::~DSApplication() done"), std::string::npos);

	// The window's frame went into the settings.
	EXPECT_EQ(
		stored_frame(env.Config() + "/_LP_x-vnd.QK/Webgrazer_settings"), BRect(30, 50, 180, 130));
}
