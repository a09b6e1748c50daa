/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <math.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include <Bitmap.h>
#include <Font.h>

#include "../../platform/private/BitmapPNG.h"
#include "HttpServer.h"
#include "ProgramSupport.h"
#include "TestEnv.h"
#include "XvfbTest.h"


static const char* kPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n";


// The built program on an Xvfb of the test's own, reading its presets from a loopback server
// through the real wget, with an empty settings folder.
class ProgramOnX11 : public XvfbTest {
protected:
	void
	SetUp() override
	{
		ASSERT_NO_FATAL_FAILURE(XvfbTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		// The program finds its system folder, with wget in it, beside its own library.
		unsetenv("HAIKU_SYSTEM_DIR");

		fServer.Serve("/first.html", kPage);
		fServer.Serve("/second.html", kPage);
		std::ofstream presets(fEnv.AppFolder() + "/Presets.txt");
		presets << ";\n; --- PRESET ---\n$first.example$\t$" << fServer.Url("/first.html")
				<< "$\n$First $\t$<b>A:</b>$\n$A $\t$<b>A:</b>$\n;   \n"
				<< ";\n; --- PRESET ---\n$second.example$\t$" << fServer.Url("/second.html")
				<< "$\n$Second $\t$<b>B:</b>$\n$B $\t$<b>B:</b>$\n;   \n";
		presets.close();

		// The program's folder is the one its executable is in.
		fExecutable = fEnv.AppFolder() + "/Webgrazer";
		std::filesystem::copy_file(WG_APP_EXECUTABLE, fExecutable);
		mkdir(WG_TEST_OUTPUT, 0755);
	}

	std::string
	SettingsFile() const
	{
		return fEnv.Config() + "/_LP_x-vnd.QK/Webgrazer_settings";
	}

	// The window's picture, kept as test output
	void
	SavePicture(Window window, const char* name)
	{
		std::unique_ptr<BBitmap> picture(Screenshot(Geometry(window)));
		ASSERT_NE(picture, nullptr);
		EXPECT_EQ(BPrivate::save_bitmap_as_png(
					  picture.get(), (std::string(WG_TEST_OUTPUT "/") + name).c_str()),
			B_OK);
	}

	// A mapped override-redirect window: an open menu
	Window
	FindMenu()
	{
		Window found = 0;
		WaitForX([&]() {
			Window root;
			Window parent;
			Window* children = NULL;
			unsigned int count = 0;
			found = 0;
			if (XQueryTree(fX, fRoot, &root, &parent, &children, &count) == 0)
				return false;
			for (unsigned int i = 0; i < count; i++) {
				XWindowAttributes attributes;
				if (XGetWindowAttributes(fX, children[i], &attributes) != 0
					&& attributes.override_redirect && attributes.map_state == IsViewable)
					found = children[i];
			}
			if (children != NULL)
				XFree(children);
			return found != 0;
		});
		return found;
	}

	std::string
	Log() const
	{
		std::ifstream file(fEnv.State() + "/Webgrazer.log");
		std::stringstream text;
		text << file.rdbuf();
		return text.str();
	}

	// What the window shows, as the values of its pixels
	std::vector<uint32>
	Picture(Window window)
	{
		std::vector<uint32> pixels;
		std::unique_ptr<BBitmap> picture(Screenshot(Geometry(window)));
		if (picture == NULL)
			return pixels;
		const uint32* bits = static_cast<const uint32*>(picture->Bits());
		pixels.assign(bits, bits + picture->BitsLength() / 4);
		return pixels;
	}

	// Text shows as many shades where its edges are smoothed.
	static size_t
	Shades(const std::vector<uint32>& pixels)
	{
		std::set<uint32> shades(pixels.begin(), pixels.end());
		return shades.size();
	}

	TestEnv fEnv;
	HttpServer fServer;
	std::string fExecutable;
};


TEST_F(ProgramOnX11, RunsInAWindowThatKeepsItsFrameAcrossStarts)
{
	RunningProgram program;
	ASSERT_TRUE(program.Start(fExecutable));

	// The window appears at the default frame with the program's title and size limits.
	Window window = FindWindow("Webgrazer");
	ASSERT_NE(window, 0u) << program.Printed();
	EXPECT_EQ(Geometry(window), BRect(30, 50, 180, 130));
	XSizeHints hints;
	long supplied = 0;
	ASSERT_NE(XGetWMNormalHints(fX, window, &hints, &supplied), 0);
	EXPECT_EQ(hints.min_width, 151);
	EXPECT_EQ(hints.max_width, 651);
	EXPECT_EQ(hints.min_height, 81);
	EXPECT_EQ(hints.max_height, 481);

	// The first update fetches the first preset from the server with the real wget.
	ASSERT_TRUE(fServer.WaitForRequests(1, 30000));
	EXPECT_EQ(fServer.RequestCount("/first.html"), 1);
	// Its value goes to the log book, then the window shows the picture with it.
	// (The log book lists the values after the first.)
	ASSERT_TRUE(WaitForX([&]() { return Log().find("\tA \t1\n") != std::string::npos; })) << Log();
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(window)) > 8; }));
	std::vector<uint32> first = Picture(window);
	SavePicture(window, "program-x11-first.png");

	// "Next" from the context menu of a secondary click shows the next preset.
	Click(90, 90, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u) << program.Printed();
	BRect menuFrame = Geometry(menu);
	EXPECT_EQ(menuFrame.LeftTop(), BPoint(90, 90));
	font_height height;
	be_plain_font->GetHeight(&height);
	float item = ceilf(height.ascent + height.descent) + 8;
	// Below "About Webgrazer", a separator, "Preferences" and "Preset "
	Click((int)menuFrame.left + 30, (int)(menuFrame.top + 1 + 3 * item + 9 + item / 2));
	ASSERT_TRUE(fServer.WaitForRequests(2, 30000)) << program.Printed();
	EXPECT_EQ(fServer.RequestCount("/second.html"), 1);
	ASSERT_TRUE(WaitForX([&]() { return Log().find("\tB \t2\n") != std::string::npos; })) << Log();
	EXPECT_NE(Log().find("second.example"), std::string::npos);
	ASSERT_TRUE(WaitForX([&]() { return Picture(window) != first; }));
	SavePicture(window, "program-x11-next.png");

	// The size limits hold against another client's resize; a resize within them stays.
	XResizeWindow(fX, window, 1000, 1000);
	XFlush(fX);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(window).Width() == 650; }))
		<< Geometry(window).Width() << "x" << Geometry(window).Height();
	EXPECT_EQ(Geometry(window).Height(), 480);
	XMoveResizeWindow(fX, window, 200, 150, 301, 201);
	XFlush(fX);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(window) == BRect(200, 150, 500, 350); }));

	// Closing the window ends the program, which stores the frame.
	SendDeleteWindow(window);
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
	EXPECT_NE(program.Printed().find("\n-Webgrazer_GUI end-\n"), std::string::npos);
	EXPECT_EQ(stored_frame(SettingsFile()), BRect(200, 150, 500, 350));

	// The next start opens there; SIGTERM ends it the same way.
	RunningProgram again;
	ASSERT_TRUE(again.Start(fExecutable));
	window = FindWindow("Webgrazer");
	ASSERT_NE(window, 0u) << again.Printed();
	EXPECT_EQ(Geometry(window), BRect(200, 150, 500, 350));
	ASSERT_TRUE(fServer.WaitForRequests(3, 30000));
	again.Signal(SIGTERM);
	EXPECT_EQ(again.Wait(), 0) << again.Printed();
	EXPECT_NE(again.Printed().find("\n-Webgrazer_GUI end-\n"), std::string::npos);
	EXPECT_EQ(stored_frame(SettingsFile()), BRect(200, 150, 500, 350));
}
