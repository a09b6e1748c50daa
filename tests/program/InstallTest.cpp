/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <stdlib.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "ProgramSupport.h"
#include "TestEnv.h"


// The program installed into a prefix of its own, with its menu entry and icon, and started
// there by its command as from a desktop: from another folder, with no variables naming its
// folders, it finds them and shows the installed sample page.
TEST(Install, InstalledProgramStartsFromItsCommandAndShowsItsSamplePage)
{
	TestEnv env;
	std::string prefix = env.Root() + "/prefix dir";
	std::string log = env.Root() + "/install.txt";
	std::string command
		= std::string("'" WG_CMAKE_COMMAND "' --install '" WG_BUILD_DIR "' --prefix '") + prefix
		+ "' >'" + log + "' 2>&1";
	ASSERT_EQ(system(command.c_str()), 0) << ReadFile(log);

	std::string home = prefix + "/lib/webgrazer";
	for (const char* file : {"/Webgrazer/Webgrazer", "/Webgrazer/lib/libwebgrazer.so",
			 "/Webgrazer/Presets.txt", "/Webgrazer/sample.html", "/Webgrazer/Images/sun.png",
			 "/Webgrazer/locale/catalogs/x-vnd.QK-Webgrazer/de.catalog", "/system/lib/libbe.so",
			 "/system/Tracker", "/system/Deskbar", "/system/Desktop"}) {
		EXPECT_TRUE(FileExists(home + file)) << file;
	}
	EXPECT_EQ(access((home + "/system/Tracker").c_str(), X_OK), 0);
	EXPECT_TRUE(FileExists(prefix + "/share/icons/hicolor/48x48/apps/webgrazer.png"));
	EXPECT_TRUE(FileExists(prefix + "/share/icons/hicolor/scalable/apps/webgrazer.svg"));
	std::string entry = ReadFile(prefix + "/share/applications/webgrazer.desktop");
	EXPECT_NE(entry.find("\nExec=\"" + prefix + "/bin/webgrazer\"\n"), std::string::npos) << entry;
	EXPECT_NE(entry.find("\nIcon=webgrazer\n"), std::string::npos);

	std::string snapshot = env.Root() + "/screen.png";
	setenv("HAIKU_HEADLESS_SNAPSHOT", snapshot.c_str(), 1);
	unsetenv("DISPLAY");
	unsetenv("HAIKU_SYSTEM_DIR");
	unsetenv("HAIKU_APPS_DIR");
	ASSERT_EQ(chdir(env.Home().c_str()), 0);

	RunningProgram program;
	ASSERT_TRUE(program.Start(prefix + "/bin/webgrazer"));
	EXPECT_TRUE(program.WaitFor("screen: " + snapshot)) << program.Printed();
	EXPECT_TRUE(FileExists(snapshot));
	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0);
	// The first update read the installed sample page.
	EXPECT_NE(
		program.Printed().find("cp -v '" + home + "/Webgrazer/sample.html'"), std::string::npos)
		<< program.Printed();
}
