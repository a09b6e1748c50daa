/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Entry.h>
#include <MimeType.h>
#include <Path.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


namespace {


std::string
HintPath(const char* signature)
{
	entry_ref ref;
	status_t status = BMimeType(signature).GetAppHint(&ref);
	if (status != B_OK)
		return "error";
	BPath path(&ref);
	return path.Path() != NULL ? path.Path() : "";
}


std::string
PreferredApp(const char* type)
{
	char signature[B_MIME_TYPE_LENGTH];
	status_t status = BMimeType(type).GetPreferredApp(signature);
	return status == B_OK ? signature : status == B_ENTRY_NOT_FOUND ? "not found" : "error";
}


} // namespace


// The freedesktop defaults of private folders alone answer: a default browser, an added
// association, a desktop entry's own MimeType= line, and a type without any.
TEST(MimeType, PreferredAppsFromTheDesktopDefaults)
{
	TestEnv env;
	std::string xdg = env.Root() + "/xdg";
	std::string bin = env.Root() + "/bin";
	std::string browser = env.Root() + "/opt/browser";
	for (const std::string& folder : {xdg, xdg + "/etc", xdg + "/data", xdg + "/data/applications",
			 xdg + "/share", xdg + "/share/applications", xdg + "/share/applications/vendor", bin,
			 env.Root() + "/opt", browser}) {
		mkdir(folder.c_str(), 0755);
	}
	setenv("XDG_CONFIG_HOME", env.Config().c_str(), 1);
	setenv("XDG_CONFIG_DIRS", (xdg + "/etc").c_str(), 1);
	setenv("XDG_DATA_HOME", (xdg + "/data").c_str(), 1);
	setenv("XDG_DATA_DIRS", (xdg + "/share").c_str(), 1);
	setenv("PATH", (bin + ":/usr/bin:/bin").c_str(), 1);
	unsetenv("XDG_CURRENT_DESKTOP");

	WriteFile(xdg + "/share/applications/browser.desktop",
		"[Desktop Entry]\nType=Application\nName=Browser\nExec=" + browser
			+ "/browser --new-window %u\nMimeType=text/html;\n");
	// id "vendor-viewer.desktop", a quoted program name found through PATH
	WriteFile(xdg + "/share/applications/vendor/viewer.desktop",
		"[Desktop Entry]\nType=Application\nName=Viewer\nExec=\"my viewer\" %f\n"
		"MimeType=application/x-test;text/html;\n");
	WriteFile(bin + "/my viewer", "#!/bin/sh\n");
	chmod((bin + "/my viewer").c_str(), 0755);

	// a default that is not installed is skipped; the defaults come before the added
	// associations of a file of higher priority
	WriteFile(xdg + "/etc/mimeapps.list",
		"[Default Applications]\ntext/html=missing.desktop;browser.desktop;\n");
	WriteFile(env.Config() + "/mimeapps.list",
		"# the user's own\n[Added Associations]\ntext/html=vendor-viewer.desktop;\n"
		"image/png=vendor-viewer.desktop;\n");

	const std::string browserSignature = "application/x-vnd.desktop-browser.desktop";
	const std::string viewerSignature = "application/x-vnd.desktop-vendor-viewer.desktop";
	EXPECT_EQ(PreferredApp("text/html"), browserSignature);
	EXPECT_EQ(PreferredApp("TEXT/HTML"), browserSignature);
	EXPECT_EQ(PreferredApp("image/png"), viewerSignature);
	EXPECT_EQ(PreferredApp("application/x-test"), viewerSignature);
	// the machine's own defaults do not count
	EXPECT_EQ(PreferredApp("text/plain"), "not found");

	// the executables: absolute as written (it need not exist), or found in PATH
	EXPECT_EQ(HintPath(browserSignature.c_str()), browser + "/browser");
	EXPECT_EQ(HintPath(viewerSignature.c_str()), bin + "/my viewer");
	EXPECT_EQ(HintPath("application/x-vnd.desktop-gone.desktop"), "error");
	EXPECT_EQ(HintPath("text/html"), "error");
	// a signature never leads out of the applications folders
	WriteFile(bin + "/evil.desktop", "[Desktop Entry]\nExec=/evil\n");
	EXPECT_EQ(HintPath("application/x-vnd.desktop-vendor-..-..-..-..-bin-evil.desktop"), "error");

	// a user's default, hidden entries, and the errors
	WriteFile(env.Config() + "/mimeapps.list",
		"[Default Applications]\ntext/html=vendor-viewer.desktop\n");
	EXPECT_EQ(PreferredApp("text/html"), viewerSignature);
	WriteFile(xdg + "/data/applications/vendor-viewer.desktop", "[Desktop Entry]\nHidden=true\n");
	EXPECT_EQ(PreferredApp("text/html"), browserSignature);
	EXPECT_EQ(PreferredApp("application/x-test"), "not found");
	EXPECT_EQ(HintPath(viewerSignature.c_str()), "error");

	BMimeType unset;
	char signature[B_MIME_TYPE_LENGTH];
	entry_ref ref;
	EXPECT_EQ(unset.GetPreferredApp(signature), B_NO_INIT);
	EXPECT_EQ(unset.GetAppHint(&ref), B_NO_INIT);
	EXPECT_EQ(BMimeType("text/html").GetPreferredApp(NULL), B_BAD_VALUE);
	EXPECT_EQ(BMimeType("no good/").InitCheck(), B_BAD_VALUE);
}
