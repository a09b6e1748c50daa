/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The Deskbar host on an X server of the test's own: started by BDeskbar, its items in the
// desktop's system tray (trayer's) or, without one, in its own strip.


#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <memory>

#include <Deskbar.h>
#include <Entry.h>
#include <Errors.h>
#include <FindDirectory.h>
#include <Path.h>
#include <View.h>

#include <BitmapPNG.h>

#include "TestEnv.h"
#include "XvfbTest.h"


class DeskbarTrayTest : public XvfbTest {
protected:
	virtual void
	SetUp()
	{
		ASSERT_NO_FATAL_FAILURE(XvfbTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		// BDeskbar starts the host from the system folder.
		ASSERT_EQ(symlink(WG_SYSTEM_DIR "/Deskbar", (fEnv.System() + "/Deskbar").c_str()), 0);
		std::string item = ReadFile(WG_TRAY_TEST_ITEM);
		ASSERT_FALSE(item.empty());
		fRed = fEnv.Root() + "/red-item.so";
		fBlue = fEnv.Root() + "/blue-item.so";
		WriteFile(fRed, item);
		WriteFile(fBlue, item);
	}

	virtual void
	TearDown()
	{
		for (pid_t host : fHosts)
			kill(host, SIGKILL);
		StopTrayer();
		XvfbTest::TearDown();
	}

	// The item's window once it is on the screen, docked in the tray or not, showing its
	// colour (red or blue); 0 if it does not come. The host may give an item a new window
	// meanwhile (a tray that starts may take the first one in and then let it go).
	Window
	WaitForItem(const char* name, bool docked, uint8 red, uint8 blue)
	{
		Window window = 0;
		bool shown = WaitForX([&]() {
			window = FindAny(name);
			if (window == 0 || !IsShown(window) || (Parent(window) != fRoot) != docked)
				return false;
			BRect frame = Geometry(window);
			rgb_color color = ScreenPixel(
				(int)(frame.left + frame.right) / 2, (int)(frame.top + frame.bottom) / 2);
			return frame.IsValid() && color.red == red && color.green == 0 && color.blue == blue;
		});
		return shown ? window : 0;
	}

	// The host that shows the window; remembered so that it ends with the test
	pid_t
	HostOf(Window window)
	{
		pid_t host = atoi(Property(window, "_NET_WM_PID").c_str());
		if (host > 0)
			fHosts.push_back(host);
		return host;
	}

	// Ends the host as the session does, and waits until it is gone.
	bool
	Terminate(pid_t host)
	{
		if (host <= 0 || kill(host, SIGTERM) != 0)
			return false;
		return WaitUntil([&]() { return kill(host, 0) != 0 && !BDeskbar().IsRunning(); });
	}

	TestEnv fEnv;
	std::string fRed;
	std::string fBlue;
	std::vector<pid_t> fHosts;
};


TEST_F(DeskbarTrayTest, ItemsDockInTheTrayAndComeBackAfterARestart)
{
	ASSERT_NO_FATAL_FAILURE(StartTrayer());
	BDeskbar deskbar;
	EXPECT_FALSE(deskbar.IsRunning());

	// The first item starts the host; the item docks in the tray and draws there.
	entry_ref red;
	ASSERT_EQ(get_ref_for_path(fRed.c_str(), &red), B_OK);
	int32 redId = -1;
	ASSERT_EQ(deskbar.AddItem(&red, &redId), B_OK);
	EXPECT_EQ(redId, 1);
	EXPECT_TRUE(deskbar.IsRunning());
	Window redWindow = WaitForItem("TrayTest-red-item.so", true, 255, 0);
	ASSERT_NE(redWindow, 0u) << "the item did not dock in the tray";
	pid_t host = HostOf(redWindow);
	ASSERT_GT(host, 0);
	BRect tray = Geometry(Parent(redWindow));
	std::unique_ptr<BBitmap> shot(Screenshot(BRect(0, 0, 200, 40)));
	ASSERT_NE(shot, nullptr);
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(BPrivate::save_bitmap_as_png(shot.get(), WG_TEST_OUTPUT "/deskbar-tray.png"), B_OK);
	EXPECT_TRUE(tray.IsValid());

	// What the host answers about its items
	EXPECT_EQ(deskbar.CountItems(), 1u);
	EXPECT_TRUE(deskbar.HasItem(redId));
	EXPECT_TRUE(deskbar.HasItem("TrayTest-red-item.so"));
	EXPECT_FALSE(deskbar.HasItem(redId + 1));
	const char* name = NULL;
	ASSERT_EQ(deskbar.GetItemInfo(redId, &name), B_OK);
	EXPECT_STREQ(name, "TrayTest-red-item.so");
	free(const_cast<char*>(name));
	int32 found = -1;
	EXPECT_EQ(deskbar.GetItemInfo("TrayTest-red-item.so", &found), B_OK);
	EXPECT_EQ(found, redId);
	EXPECT_EQ(deskbar.GetItemInfo("nothing", &found), B_NAME_NOT_FOUND);
	EXPECT_EQ(deskbar.MaxItemHeight(), 16);

	// The same file again is refused; a file that is no add-on is refused, and the host
	// goes on.
	EXPECT_EQ(deskbar.AddItem(&red), B_ERROR);
	std::string bad = fEnv.Root() + "/not-an-add-on";
	WriteFile(bad, "just text\n");
	entry_ref badRef;
	ASSERT_EQ(get_ref_for_path(bad.c_str(), &badRef), B_OK);
	EXPECT_NE(deskbar.AddItem(&badRef), B_OK);
	BPath log;
	ASSERT_EQ(find_directory(B_SYSTEM_VAR_DIRECTORY, &log), B_OK);
	EXPECT_TRUE(WaitUntil([&]() {
		return ReadFile(std::string(log.Path()) + "/log/Deskbar.log")
				   .find("Deskbar: can't load '" + bad + "': Not an executable")
			!= std::string::npos;
	}));
	// A view's archive must name the application that has its code.
	BView plain(BRect(0, 0, 15, 15), "plain", B_FOLLOW_NONE, B_WILL_DRAW);
	EXPECT_EQ(deskbar.AddItem(&plain), B_NAME_NOT_FOUND);
	EXPECT_EQ(deskbar.CountItems(), 1u);

	// A second item, removed by its name: its window goes, the first stays.
	entry_ref blue;
	ASSERT_EQ(get_ref_for_path(fBlue.c_str(), &blue), B_OK);
	int32 blueId = -1;
	ASSERT_EQ(deskbar.AddItem(&blue, &blueId), B_OK);
	EXPECT_EQ(blueId, 2);
	Window blueWindow = WaitForItem("TrayTest-blue-item.so", true, 0, 255);
	ASSERT_NE(blueWindow, 0u);
	EXPECT_EQ(deskbar.CountItems(), 2u);
	EXPECT_EQ(deskbar.RemoveItem("TrayTest-blue-item.so"), B_OK);
	EXPECT_FALSE(deskbar.HasItem(blueId));
	EXPECT_TRUE(WaitForX([&]() { return FindAny("TrayTest-blue-item.so") == 0; }));
	EXPECT_EQ(deskbar.CountItems(), 1u);

	// The host ends with SIGTERM and keeps its add-on items: the next start brings them back,
	// and the next session starts it.
	ASSERT_TRUE(Terminate(host));
	const std::string autostart = fEnv.Config() + "/autostart/haiku-Deskbar.desktop";
	std::string entry = ReadFile(autostart);
	EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
	EXPECT_NE(entry.find("Deskbar\"\n"), std::string::npos) << entry;
	EXPECT_EQ(entry.find("Exec=\"/"), entry.find("Exec=")) << entry;
	EXPECT_EQ(count_of(ReadFile(fEnv.Config() + "/deskbar/replicants"), fRed), 1);
	EXPECT_EQ(count_of(ReadFile(fEnv.Config() + "/deskbar/replicants"), fBlue), 0);
	EXPECT_TRUE(WaitForX([&]() { return FindAny("TrayTest-red-item.so") == 0; }));
	ASSERT_EQ(deskbar.AddItem(&blue, &blueId), B_OK);
	EXPECT_TRUE(deskbar.HasItem("TrayTest-red-item.so"));
	EXPECT_EQ(deskbar.CountItems(), 2u);
	redWindow = WaitForItem("TrayTest-red-item.so", true, 255, 0);
	ASSERT_NE(redWindow, 0u);

	// An item removed by id is gone for the next start as well.
	int32 id = -1;
	ASSERT_EQ(deskbar.GetItemInfo("TrayTest-red-item.so", &id), B_OK);
	EXPECT_EQ(deskbar.RemoveItem(id), B_OK);
	EXPECT_EQ(count_of(ReadFile(fEnv.Config() + "/deskbar/replicants"), fRed), 0);
	EXPECT_EQ(ReadFile(autostart), entry);

	// With no item left, the next session does not start it.
	pid_t last = HostOf(WaitForItem("TrayTest-blue-item.so", true, 0, 255));
	EXPECT_EQ(deskbar.RemoveItem("TrayTest-blue-item.so"), B_OK);
	EXPECT_TRUE(WaitUntil([&]() { return access(autostart.c_str(), F_OK) != 0; }));

	// An item that ends the Deskbar while the Deskbar brings it back is left out from then
	// on: the next start goes without it.
	ASSERT_EQ(deskbar.AddItem(&red), B_OK);
	ASSERT_NE(WaitForItem("TrayTest-red-item.so", true, 255, 0), 0u);
	ASSERT_TRUE(Terminate(last));
	WriteFile(fRed + ".crash", "");
	EXPECT_NE(deskbar.AddItem(&blue), B_OK);
	// The Deskbar that the request started has ended, in the middle of the item.
	const std::string loading = fEnv.Config() + "/deskbar/replicants.loading";
	ASSERT_TRUE(
		WaitUntil([&]() { return access(loading.c_str(), F_OK) == 0 && !BDeskbar().IsRunning(); }));
	ASSERT_EQ(deskbar.AddItem(&blue), B_OK);
	EXPECT_TRUE(deskbar.HasItem("TrayTest-blue-item.so"));
	EXPECT_FALSE(deskbar.HasItem("TrayTest-red-item.so"));
	EXPECT_EQ(count_of(ReadFile(fEnv.Config() + "/deskbar/replicants"), fRed), 0);
	EXPECT_NE(ReadFile(fEnv.State() + "/log/Deskbar.log").find(fRed + "' ended the Deskbar"),
		std::string::npos);
	EXPECT_TRUE(Terminate(HostOf(WaitForItem("TrayTest-blue-item.so", true, 0, 255))));
}


TEST_F(DeskbarTrayTest, WithoutATrayTheItemsShowInAStripUntilATrayComes)
{
	BDeskbar deskbar;
	entry_ref red;
	ASSERT_EQ(get_ref_for_path(fRed.c_str(), &red), B_OK);
	ASSERT_EQ(deskbar.AddItem(&red), B_OK);

	// At the top right of the screen, above other windows, in its own size, with the host's
	// handle on its left
	Window redWindow = WaitForItem("TrayTest-red-item.so", false, 255, 0);
	ASSERT_NE(redWindow, 0u);
	pid_t host = HostOf(redWindow);
	Window handle = FindWindow("Deskbar");
	ASSERT_NE(handle, 0u);
	EXPECT_TRUE(WaitForX([&]() {
		BRect item = Geometry(redWindow);
		BRect grip = Geometry(handle);
		return item.right == 1023 && item.top == 0 && item.Width() == 19 && item.Height() == 15
			&& grip.right + 1 == item.left && grip.top == 0;
	}));
	Atom type;
	std::string dock = std::to_string(XInternAtom(fX, "_NET_WM_WINDOW_TYPE_DOCK", False));
	EXPECT_EQ(Property(redWindow, "_NET_WM_WINDOW_TYPE", &type), dock + " ");

	// A second item goes beside it; the strip grows to the left.
	entry_ref blue;
	ASSERT_EQ(get_ref_for_path(fBlue.c_str(), &blue), B_OK);
	ASSERT_EQ(deskbar.AddItem(&blue), B_OK);
	Window blueWindow = WaitForItem("TrayTest-blue-item.so", false, 0, 255);
	ASSERT_NE(blueWindow, 0u);
	EXPECT_TRUE(WaitForX([&]() {
		return Geometry(redWindow).right + 1 == Geometry(blueWindow).left
			&& Geometry(blueWindow).right == 1023;
	}));

	// An item that removes itself when clicked asks the host from its own window's thread.
	BRect frame = Geometry(blueWindow);
	Click((int)frame.left + 4, (int)frame.top + 4);
	EXPECT_TRUE(WaitForX([&]() { return FindAny("TrayTest-blue-item.so") == 0; }));
	EXPECT_EQ(deskbar.CountItems(), 1u);
	EXPECT_TRUE(WaitForX([&]() { return Geometry(redWindow).right == 1023; }));
	ASSERT_EQ(deskbar.AddItem(&blue), B_OK);

	// A tray that starts later takes the items in.
	ASSERT_NO_FATAL_FAILURE(StartTrayer());
	redWindow = WaitForItem("TrayTest-red-item.so", true, 255, 0);
	ASSERT_NE(redWindow, 0u) << "the item did not move into the tray";
	EXPECT_EQ(deskbar.CountItems(), 2u);

	// The tray goes away again: the items are back in the strip.
	StopTrayer();
	redWindow = WaitForItem("TrayTest-red-item.so", false, 255, 0);
	ASSERT_NE(redWindow, 0u) << "the item did not come back to the strip";

	// The host's own menu, on its handle: "Quit", the last item, ends it.
	handle = FindWindow("Deskbar");
	ASSERT_NE(handle, 0u);
	BRect grip = Geometry(handle);
	Click((int)grip.left + 4, (int)grip.top + 8, 3);
	Window menu = FindWindow("menu");
	ASSERT_NE(menu, 0u);
	BRect items = Geometry(menu);
	Click((int)items.left + 20, (int)items.bottom - 8);
	EXPECT_TRUE(WaitUntil([&]() { return kill(host, 0) != 0 && !deskbar.IsRunning(); }));
	EXPECT_EQ(count_of(ReadFile(fEnv.Config() + "/deskbar/replicants"), fRed), 1);
}
