/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "HttpServer.h"
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


// A server that never answers holds the first download; SIGTERM and SIGINT still end the
// program at once, with its settings saved and no download tool left behind.
TEST(Program, ASignalDuringADownloadEndsItAndTheProgram)
{
	HttpServer server;
	server.Serve("/page.html", "<b>A:</b>1<br>\n");
	for (int signal : {SIGTERM, SIGINT}) {
		TestEnv env;
		unsetenv("DISPLAY");
		unsetenv("HAIKU_SYSTEM_DIR");
		mkdir((env.AppFolder()).c_str(), 0755);
		std::filesystem::copy_file(WG_APP_EXECUTABLE, env.AppFolder() + "/Webgrazer");
		std::string presets;
		for (const char* name : {"one", "two"}) {
			presets += std::string(";\n; --- PRESET ---\n$") + name + ".example$\t$"
				+ server.Url("/page.html") + "$\n$First $\t$<b>A:</b>$\n$A $\t$<b>A:</b>$\n;   \n";
		}
		WriteFile(env.AppFolder() + "/Presets.txt", presets);

		server.Hold();
		int requests = (int)server.RequestTargets().size();
		RunningProgram program;
		ASSERT_TRUE(program.Start(env.AppFolder() + "/Webgrazer"));
		ASSERT_TRUE(server.WaitForRequests(requests + 1, 30000)) << program.Printed();
		program.Signal(signal);
		EXPECT_EQ(program.Wait(), 0) << program.Printed();
		server.Release();
		std::string printed = program.Printed();
		EXPECT_NE(printed.find(" download stopped: the program quits\n"), std::string::npos)
			<< printed;
		EXPECT_NE(printed.find("Prefs -Save ok"), std::string::npos);
		EXPECT_NE(printed.find("\n-Webgrazer_GUI end-\n"), std::string::npos);
	}
}
