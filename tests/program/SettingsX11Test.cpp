/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <dirent.h>
#include <sys/xattr.h>

#include <X11/keysym.h>

#include "ProgramX11Support.h"
#include "XdndSource.h"


namespace {


// An executable script that appends its arguments, one per line, to a record file.
void
WriteRecorder(const std::string& path, const std::string& record)
{
	WriteFile(
		path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >>'" + record + "'; done\n");
	chmod(path.c_str(), 0755);
}


// The raw bytes of a stored setting: its type code, then its data.
std::string
StoredAttr(const std::string& file, const char* name)
{
	char buffer[512];
	ssize_t size
		= getxattr(file.c_str(), (std::string("user.") + name).c_str(), buffer, sizeof(buffer));
	return size < 0 ? std::string() : std::string(buffer, size);
}


int32
StoredInt(const std::string& file, const char* name)
{
	std::string attr = StoredAttr(file, name);
	if (attr.size() != 8)
		return -1;
	int32 value;
	memcpy(&value, attr.data() + 4, 4);
	return value;
}


bool
SamePixels(const std::vector<uint32>& a, const std::vector<uint32>& b)
{
	return a == b && !a.empty();
}


} // namespace


class SettingsOnX11 : public ProgramOnX11 {
protected:
	void
	SetUp() override
	{
		ASSERT_NO_FATAL_FAILURE(ProgramOnX11::SetUp());

		// A system folder of the test's own: the real wget, and a Tracker that records what
		// it is asked to open.
		mkdir((fEnv.System() + "/bin").c_str(), 0755);
		std::filesystem::create_symlink(
			std::filesystem::read_symlink(WG_SYSTEM_DIR "/bin/wget"), fEnv.System() + "/bin/wget");
		WriteRecorder(fEnv.System() + "/Tracker", fEnv.Root() + "/tracker.txt");

		// The desktop's default browser is a test browser that records its arguments.
		std::string data = fEnv.Root() + "/xdg-data";
		std::filesystem::create_directories(data + "/applications");
		std::filesystem::create_directories(fEnv.Root() + "/xdg-dirs");
		WriteRecorder(fEnv.Root() + "/browser", fEnv.Root() + "/browser.txt");
		WriteFile(data + "/applications/wg-test-browser.desktop",
			"[Desktop Entry]\nType=Application\nName=Test Browser\nExec=" + fEnv.Root()
				+ "/browser %u\nMimeType=text/html;\n");
		WriteFile(fEnv.Config() + "/mimeapps.list",
			"[Default Applications]\ntext/html=wg-test-browser.desktop\n");
		fVariables = {"HAIKU_SYSTEM_DIR=" + fEnv.System(), "XDG_DATA_HOME=" + data,
			"XDG_DATA_DIRS=" + fEnv.Root() + "/xdg-dirs",
			"XDG_CONFIG_DIRS=" + fEnv.Root() + "/xdg-dirs", "XDG_CURRENT_DESKTOP="};

		// The first preset's title has an apostrophe and a command in it.
		fPwned = fEnv.Root() + "/pwned";
		fTitle = "it's $(touch " + fPwned + ").example";
		fServer.Serve("/third.html", kPage);
		WriteFile(fEnv.AppFolder() + "/Presets.txt",
			";\n; --- PRESET ---\n$" + fTitle + "$\t$" + fServer.Url("/first.html")
				+ "$\n$First $\t$<b>A:</b>$\n$A $\t$<b>A:</b>$\n;   \n;\n; --- PRESET "
				  "---\n$second.example$\t$"
				+ fServer.Url("/second.html") + "$\n$B $\t$<b>B:</b>$\n;   \n");
		std::string more;
		for (const char* name : {"third", "fourth", "fifth"}) {
			more += std::string(";\n; --- PRESET ---\n$") + name + ".example$\t$"
				+ fServer.Url(std::string("/") + name + ".html") + "$\n$A $\t$<b>A:</b>$\n;   \n";
		}
		WriteFile(fEnv.AppFolder() + "/MyPresets.txt", more);
	}

	// Lines a recorder wrote
	std::string
	Recorded(const char* name)
	{
		return ReadFile(fEnv.Root() + "/" + name);
	}

	// The place of the preset file among the files the settings window lists, which come in
	// the folder's order.
	int
	ListedIndex(const std::string& wanted)
	{
		int index = 0;
		DIR* folder = opendir(fEnv.AppFolder().c_str());
		int found = -1;
		while (struct dirent* entry = readdir(folder)) {
			std::string name(entry->d_name);
			if (entry->d_type != DT_REG || name.find("Presets") == std::string::npos)
				continue;
			if (name == wanted)
				found = index;
			index++;
		}
		closedir(folder);
		return found;
	}

	// The height of a row of a menu
	static float
	MenuItemHeight()
	{
		font_height height;
		be_plain_font->GetHeight(&height);
		return ceilf(height.ascent + height.descent + height.leading) + 3;
	}

	// Clicks a point of a window's content
	void
	ClickIn(Window window, float x, float y, unsigned int button = 1)
	{
		BRect frame = Geometry(window);
		Click((int)(frame.left + x), (int)(frame.top + y), button);
	}

	std::vector<uint32>
	Area(BRect rect)
	{
		std::vector<uint32> pixels;
		std::unique_ptr<BBitmap> picture(Screenshot(rect));
		if (picture != NULL) {
			const uint32* bits = static_cast<const uint32*>(picture->Bits());
			pixels.assign(bits, bits + picture->BitsLength() / 4);
		}
		return pixels;
	}

	void
	SaveScreen(BRect rect, const char* name)
	{
		std::unique_ptr<BBitmap> picture(Screenshot(rect));
		ASSERT_NE(picture, nullptr);
		EXPECT_EQ(BPrivate::save_bitmap_as_png(
					  picture.get(), (std::string(WG_TEST_OUTPUT "/") + name).c_str()),
			B_OK);
	}

	std::vector<std::string> fVariables;
	std::string fPwned;
	std::string fTitle;
};


TEST_F(SettingsOnX11, TheSettingsWindowEditsOptionsPresetsAndTestsThemAgainstThePage)
{
	RunningProgram program;
	ASSERT_TRUE(program.Start(fExecutable, fVariables));
	Window main = FindWindow("Webgrazer");
	ASSERT_NE(main, 0u) << program.Printed();
	ASSERT_TRUE(WaitForX([&]() { return Log().find("\tA \t1\n") != std::string::npos; }))
		<< Log() << program.Printed();
	// Out of the way of the settings window, which opens at the same place.
	XMoveWindow(fX, main, 700, 500);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(main).LeftTop() == BPoint(700, 500); }));

	// A plain double click starts the browser with the preset's title, quoted whole.
	ClickIn(main, 60, 40);
	ClickIn(main, 60, 40);
	ASSERT_TRUE(WaitForX([&]() { return !Recorded("browser.txt").empty(); })) << program.Printed();
	EXPECT_EQ(Recorded("browser.txt"), fTitle + "\n");
	EXPECT_FALSE(FileExists(fPwned));

	// "Preferences" from the context menu opens the settings window at its stored frame,
	// 660 wide, its height between 240 and 290.
	ClickIn(main, 60, 40, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u) << program.Printed();
	BRect menuFrame = Geometry(menu);
	float item = MenuItemHeight();
	Click((int)menuFrame.left + 30, (int)(menuFrame.top + 2 + item + 11 + item / 2));
	Window settings = FindWindow("Webgrazer-Settings");
	ASSERT_NE(settings, 0u) << program.Printed();
	ASSERT_TRUE(WaitForMenusClosed());
	EXPECT_EQ(Geometry(settings), BRect(30, 50, 690, 290));
	XSizeHints hints;
	long supplied = 0;
	ASSERT_NE(XGetWMNormalHints(fX, settings, &hints, &supplied), 0);
	EXPECT_EQ(hints.min_width, 661);
	EXPECT_EQ(hints.max_width, 661);
	EXPECT_EQ(hints.min_height, 241);
	EXPECT_EQ(hints.max_height, 291);
	ASSERT_TRUE(program.WaitFor("-- StartUp DSettWindow-End--"));
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(settings)) > 8; }));
	SaveScreen(Geometry(settings), "settings-x11-opened.png");

	// While it is open, clicks on the view only print.
	size_t mark = program.Printed().size();
	ClickIn(main, 60, 40);
	EXPECT_TRUE(program.WaitFor("oops- SettingsWindow is open", 10000, mark));

	// The slider moved to 3 stores and saves the update speed at once. (The bar runs from
	// 9 to 329 in the slider at x 312; its middle is about 28 below the slider's top.)
	std::string file = SettingsFile();
	ClickIn(settings, 312 + 9 + 3 * 320.0f / 15, 10 + 28);
	ASSERT_TRUE(WaitForX([&]() { return StoredInt(file, "opUpdateSpeed") == 3; }))
		<< StoredInt(file, "opUpdateSpeed") << program.Printed();

	// The text size field refuses 20 and shows 11 again, as it did when the window opened.
	BRect sizeField = Geometry(settings).OffsetByCopy(0, 0);
	sizeField
		= BRect(sizeField.left + 322, sizeField.top + 70, sizeField.left + 500, sizeField.top + 85);
	std::vector<uint32> elevenShown = Area(sizeField);
	auto typeSize = [&](std::vector<KeySym> keys) {
		ClickIn(settings, 450, 77);
		Type(XK_End);
		for (int i = 0; i < 4; i++)
			Type(XK_BackSpace);
		for (KeySym key : keys)
			Type(key);
		Type(XK_Return);
	};
	typeSize({XK_2, XK_0});
	// Tab moves on, so that the field shows its text without the focus.
	Type(XK_Tab);
	EXPECT_TRUE(WaitForX([&]() { return SamePixels(Area(sizeField), elevenShown); }));
	typeSize({XK_9});

	// A colour text dragged from another program colours the colour field.
	BRect frame = Geometry(settings);
	XdndSource source(fName.c_str());
	EXPECT_TRUE(
		source.DropText((int)frame.left + 400, (int)frame.top + 110, "#FF8000 and more").success)
		<< program.Printed();
	ASSERT_TRUE(program.WaitFor(">> *dragged text/plain*  '#FF8000' '7'")) << program.Printed();
	EXPECT_TRUE(WaitForX([&]() {
		rgb_color pixel = ScreenPixel((int)frame.left + 630, (int)frame.top + 78);
		return pixel.red == 255 && pixel.green == 128 && pixel.blue == 0;
	}));

	// "Open Presets" opens the preset file with Tracker and watches it for an edit.
	ClickIn(settings, 10 + 58, 190 + 12);
	ASSERT_TRUE(WaitForX([&]() { return !Recorded("tracker.txt").empty(); })) << program.Printed();
	EXPECT_EQ(Recorded("tracker.txt"), fEnv.AppFolder() + "/Presets.txt\n");
	ASSERT_TRUE(program.WaitFor("WATCH_PRESETFILE")) << program.Printed();

	// Choosing the other preset file reloads the presets and rebuilds the preset menu.
	ClickIn(settings, 60, 142);
	menu = FindMenu();
	ASSERT_NE(menu, 0u) << program.Printed();
	// The picture is taken once the menu has drawn its frame.
	BRect shownMenu = Geometry(menu);
	EXPECT_TRUE(WaitForX([&]() {
		rgb_color pixel = ScreenPixel((int)shownMenu.left, (int)shownMenu.top);
		return pixel.red == 132 && pixel.green == 132 && pixel.blue == 132;
	}));
	SaveScreen(BRect(0, 0, 700, 400), "settings-x11-menu-field.png");
	int index = ListedIndex("MyPresets.txt");
	ASSERT_GE(index, 0);
	menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 30, (int)(menuFrame.top + 1 + index * item + item / 2));
	ASSERT_TRUE(program.WaitFor("** NEW: 'MyPresets.txt'")) << program.Printed();
	ASSERT_TRUE(WaitForMenusClosed());
	EXPECT_TRUE(program.WaitFor("FillPresetMenu() PresetPopUp-Items 3 \n"));

	// The new file can be opened in turn, and an edit of it is noticed.
	mark = program.Printed().size();
	ClickIn(settings, 10 + 58, 190 + 12);
	std::string opened
		= fEnv.AppFolder() + "/Presets.txt\n" + fEnv.AppFolder() + "/MyPresets.txt\n";
	ASSERT_TRUE(WaitForX([&]() { return Recorded("tracker.txt") == opened; }))
		<< Recorded("tracker.txt") << program.Printed();
	ASSERT_TRUE(program.WaitFor("WATCH_PRESETFILE: No error", 10000, mark)) << program.Printed();
	mark = program.Printed().size();
	std::ofstream(fEnv.AppFolder() + "/MyPresets.txt", std::ios::app) << ";\n";
	ASSERT_TRUE(program.WaitFor("'NDMN'", 10000, mark)) << program.Printed();
	// "Reload Set." is enabled now and reloads.
	ClickIn(settings, 146 + 58, 190 + 12);
	ASSERT_TRUE(program.WaitFor("  LoadPresets \n", 10000, mark)) << program.Printed();

	// "Get Site" fetches the shown preset's page; meanwhile "View Site" and "Preset Test"
	// are disabled.
	BRect buttons(frame.left + 398, frame.top + 190, frame.left + 640, frame.top + 214);
	std::vector<uint32> enabled = Area(buttons);
	fServer.Hold();
	ClickIn(settings, 272 + 58, 190 + 12);
	ASSERT_TRUE(fServer.WaitForRequests(
		fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html") + 1, 30000));
	EXPECT_EQ(fServer.RequestCount("/third.html"), 1);
	EXPECT_TRUE(WaitForX([&]() { return !SamePixels(Area(buttons), enabled); }));
	SaveScreen(frame, "settings-x11-get-site.png");
	fServer.Release();
	EXPECT_TRUE(WaitForX([&]() { return SamePixels(Area(buttons), enabled); }));
	SaveScreen(frame, "settings-x11-edited.png");

	// "Preset Test" makes the view update at once.
	int updates = count_of(Log(), "WV_UPDATE");
	ClickIn(settings, 524 + 58, 190 + 12);
	EXPECT_TRUE(WaitForX([&]() { return count_of(Log(), "WV_UPDATE") > updates; })) << Log();

	// Closing the window stores the options and the frame, saves, and tells the view.
	mark = program.Printed().size();
	SendDeleteWindow(settings);
	ASSERT_TRUE(program.WaitFor("DSWin ~DSWindow() done", 10000, mark)) << program.Printed();
	EXPECT_TRUE(program.WaitFor("WView::ClosePrefs", 10000, mark));
	EXPECT_EQ(StoredInt(file, "opTextSize"), 9);
	EXPECT_EQ(StoredAttr(file, "opTextColor"), std::string("RGBC\xff\x80\x00\x18", 8));
	EXPECT_EQ(StoredAttr(file, "PresetName").substr(4, 13), "MyPresets.txt");
	EXPECT_NE(Log().find("PrefWin close"), std::string::npos);

	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
}
