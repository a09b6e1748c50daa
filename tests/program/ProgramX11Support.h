/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _PROGRAM_X11_SUPPORT_H
#define _PROGRAM_X11_SUPPORT_H


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


static const char* const kPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n";


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

	// A mapped override-redirect window: an open menu; 0 when none is open.
	Window
	OpenMenu()
	{
		Window root;
		Window parent;
		Window* children = NULL;
		unsigned int count = 0;
		Window found = 0;
		if (XQueryTree(fX, fRoot, &root, &parent, &children, &count) == 0)
			return 0;
		for (unsigned int i = 0; i < count; i++) {
			XWindowAttributes attributes;
			if (XGetWindowAttributes(fX, children[i], &attributes) != 0
				&& attributes.override_redirect && attributes.map_state == IsViewable)
				found = children[i];
		}
		if (children != NULL)
			XFree(children);
		return found;
	}

	// Waits for a menu to open
	Window
	FindMenu()
	{
		Window found = 0;
		WaitForX([&]() { return (found = OpenMenu()) != 0; });
		return found;
	}

	// The height of a menu item in the plain font
	static float
	MenuItemHeight()
	{
		font_height height;
		be_plain_font->GetHeight(&height);
		return ceilf(height.ascent + height.descent + height.leading) + 3;
	}

	// Waits until no menu is open any more, so that the next click is not the menu's.
	bool
	WaitForMenusClosed()
	{
		return WaitForX([&]() { return OpenMenu() == 0; });
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


#endif // _PROGRAM_X11_SUPPORT_H
