/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The program's view away from its window, on an X server of the test's own: as a replicant
// on the desktop's shelf and as an item of the Deskbar, each in a host process of its own.


#include "ProgramX11Support.h"

#include <signal.h>

#include <X11/keysym.h>

#include <Deskbar.h>

#include "../../platform/private/AppPrivate.h"
#include "../../platform/private/MessageService.h"
#include "../../platform/private/ShelfPrivate.h"


namespace {


class ProgramOnTheDesktop : public ProgramOnX11 {
protected:
	void
	TearDown() override
	{
		for (const char* signature :
			{BPrivate::kDesktopShelfSignature, "application/x-vnd.Be-TSKB"})
			StopApp(signature);
		ProgramOnX11::TearDown();
	}

	// Ends a host the program started, as the session ends it.
	void
	StopApp(const char* signature)
	{
		BPrivate::RunningApp app;
		if (!BPrivate::find_running_app(signature, -1, &app))
			return;
		kill(app.team, SIGTERM);
		EXPECT_TRUE(WaitForX([&]() { return kill(app.team, 0) != 0; })) << signature;
	}
};


} // namespace


TEST_F(ProgramOnTheDesktop, TheDraggedViewKeepsUpdatingOnTheDesktopAfterTheProgramEnds)
{
	RunningProgram program;
	// A minute of the program's (and its hosts') time passes in 60 ms.
	ASSERT_TRUE(program.Start(fExecutable, {"HAIKU_TIME_SCALE=0.001"}));
	Window window = FindWindow("Webgrazer");
	ASSERT_NE(window, 0u) << program.Printed();
	ASSERT_TRUE(fServer.WaitForRequests(1, 30000));
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(window)) > 8; }));

	// A compositor runs (it owns the selection that says so): replicants get windows with
	// an alpha channel.
	Window compositor = XCreateSimpleWindow(fX, fRoot, 0, 0, 1, 1, 0, 0, 0);
	XSetSelectionOwner(fX, XInternAtom(fX, "_NET_WM_CM_S0", False), compositor, CurrentTime);
	XSync(fX, False);

	// The dragger's handle sits in the window's right bottom corner (the window's frame is
	// 30, 50, 180, 130); dragged onto the desktop, the view lands in the desktop's shelf.
	std::string drag = "xdotool mousemove 176 126 mousedown 1 mousemove 186 136 mousemove "
					   "576 426 mouseup 1";
	ASSERT_EQ(system(drag.c_str()), 0);
	Window replicant = ShownWindowAt("Replicant", BPoint(500, 380));
	ASSERT_NE(replicant, 0u) << program.Printed();
	EXPECT_EQ(Geometry(replicant), BRect(430, 350, 580, 430));
	EXPECT_TRUE(WaitForX([&]() { return Log().find("Replicant-Init ") != std::string::npos; }));
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(replicant)) > 8; }));
	SavePicture(replicant, "program-replicant.png");
	// On the desktop the view's background is the desktop: only its text and frame cover it.
	XWindowAttributes attributes;
	ASSERT_NE(XGetWindowAttributes(fX, replicant, &attributes), 0);
	EXPECT_EQ(attributes.depth, 32);
	XImage* image = XGetImage(fX, replicant, 0, 0, 150, 80, AllPlanes, ZPixmap);
	ASSERT_NE(image, nullptr);
	EXPECT_EQ(XGetPixel(image, 0, 0) >> 24, 0u);
	int opaque = 0;
	for (int y = 0; y < 80; y++) {
		for (int x = 0; x < 150; x++)
			opaque += XGetPixel(image, x, y) >> 24 == 255;
	}
	XDestroyImage(image);
	EXPECT_GT(opaque, 300);
	EXPECT_LT(opaque, 150 * 80 / 2);

	// A replicant's menu: "Preferences", "Preset " and "Next" only; "Next" fetches.
	Click(470, 370, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u);
	float item = MenuItemHeight();
	BRect menuFrame = Geometry(menu);
	EXPECT_LT(menuFrame.Height(), 4 * item) << menuFrame.Height();
	int fetched = fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html");
	Click((int)menuFrame.left + 20, (int)(menuFrame.bottom - 1 - item / 2));
	ASSERT_TRUE(WaitForMenusClosed());
	EXPECT_TRUE(fServer.WaitForRequests(fetched + 1, 30000));

	// The program ends; the replicant stays and fetches on its own timer.
	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
	fetched = fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html");
	EXPECT_TRUE(fServer.WaitForRequests(fetched + 2, 30000));
	EXPECT_TRUE(IsShown(replicant));

	// The handle's menu takes it away: its last item is "Remove replicant".
	Click(576, 426, 3);
	menu = FindMenu();
	ASSERT_NE(menu, 0u);
	menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 10, (int)menuFrame.bottom - 4);
	EXPECT_TRUE(WaitForX([&]() { return !IsShown(replicant); }));
}


TEST_F(ProgramOnTheDesktop, MovedToTheDeskbarTheViewLivesInTheTrayUntilItGoesBackToItsWindow)
{
	ASSERT_NO_FATAL_FAILURE(StartTrayer());
	RunningProgram program;
	ASSERT_TRUE(program.Start(fExecutable, {"HAIKU_TIME_SCALE=0.001"}));
	Window window = FindWindow("Webgrazer");
	ASSERT_NE(window, 0u) << program.Printed();
	ASSERT_TRUE(fServer.WaitForRequests(1, 30000));
	XMoveResizeWindow(fX, window, 200, 150, 301, 201);
	XFlush(fX);
	ASSERT_TRUE(WaitForX([&]() { return Geometry(window) == BRect(200, 150, 500, 350); }));

	// "Move to Deskbar", the context menu's last but one item, ends the program, which keeps
	// its frame, and the view docks in the tray.
	Click(300, 250, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u);
	float item = MenuItemHeight();
	BRect menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 20, (int)(menuFrame.bottom - 1 - item - item / 2));
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
	EXPECT_NE(
		program.Printed().find("WView::AddToDeskbar( Prefs *prefs) 769\n"), std::string::npos);
	EXPECT_NE(program.Printed().find(" Adding to Deskbar \"No error\" \n"), std::string::npos)
		<< program.Printed();
	EXPECT_EQ(stored_frame(SettingsFile()), BRect(200, 150, 500, 350));

	Window icon = 0;
	ASSERT_TRUE(WaitForX([&]() {
		icon = FindAny("Web Grazer");
		return icon != 0 && IsShown(icon) && Parent(icon) != fRoot;
	})) << "the item did not dock";
	EXPECT_TRUE(BDeskbar().HasItem("Web Grazer"));
	EXPECT_NE(Log().find("Replicant-Init "), std::string::npos);
	BRect iconFrame = Geometry(icon);
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(icon)) > 2; }));
	SavePicture(icon, "program-deskbar-tray.png");

	// It fetches on its own timer, in the Deskbar's process.
	int fetched = fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html");
	EXPECT_TRUE(fServer.WaitForRequests(fetched + 2, 30000));

	// Its menu: "Preferences" opens the settings window in the Deskbar's process.
	BPoint center((iconFrame.left + iconFrame.right) / 2, (iconFrame.top + iconFrame.bottom) / 2);
	Click((int)center.x, (int)center.y, 3);
	menu = FindMenu();
	ASSERT_NE(menu, 0u);
	menuFrame = Geometry(menu);
	EXPECT_LT(menuFrame.Height(), 5 * item) << "Preferences, Preset, Next, Back to window";
	Click((int)menuFrame.left + 20, (int)(menuFrame.top + 1 + item / 2));
	Window settings = FindWindow("Webgrazer-Settings");
	ASSERT_NE(settings, 0u);
	EXPECT_EQ(atoi(Property(settings, "_NET_WM_PID").c_str()),
		atoi(Property(icon, "_NET_WM_PID").c_str()));
	SendDeleteWindow(settings);
	ASSERT_TRUE(WaitForX([&]() { return !IsShown(settings); }));

	// "Back to window", its last item, takes it out of the tray and starts the program in its
	// window where it was.
	ASSERT_TRUE(WaitForMenusClosed());
	Click((int)center.x, (int)center.y, 3);
	menu = FindMenu();
	ASSERT_NE(menu, 0u);
	menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 20, (int)(menuFrame.bottom - 1 - item / 2));
	window = 0;
	ASSERT_TRUE(WaitForX([&]() {
		window = FindWindow("Webgrazer");
		return window != 0 && Geometry(window) == BRect(200, 150, 500, 350);
	}));
	EXPECT_TRUE(WaitForX([&]() { return FindAny("Web Grazer") == 0; }));
	EXPECT_FALSE(BDeskbar().HasItem("Web Grazer"));
	StopApp("application/x-vnd.QK-Webgrazer");
}


TEST_F(ProgramOnTheDesktop, WhenTheDeskbarCannotTakeTheViewTheProgramSaysSoAndStaysInItsWindow)
{
	// A system folder with wget but no Deskbar
	setenv("HAIKU_SYSTEM_DIR", fEnv.System().c_str(), 1);
	ASSERT_EQ(symlink("/usr/bin/wget", (fEnv.System() + "/bin/wget").c_str()), 0);
	RunningProgram program;
	ASSERT_TRUE(program.Start(fExecutable));
	Window window = FindWindow("Webgrazer");
	ASSERT_NE(window, 0u) << program.Printed();
	ASSERT_TRUE(fServer.WaitForRequests(1, 30000));
	Click(100, 100, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u);
	float item = MenuItemHeight();
	BRect menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 20, (int)(menuFrame.bottom - 1 - item - item / 2));

	ASSERT_TRUE(program.WaitFor(" Adding to Deskbar \"")) << program.Printed();
	EXPECT_EQ(program.Printed().find(" Adding to Deskbar \"No error\""), std::string::npos);
	Window alert = FindWindow("Info");
	ASSERT_NE(alert, 0u) << program.Printed();
	// Enter, once the alert has the keyboard
	ASSERT_TRUE(WaitForX([&]() {
		Window focus = 0;
		int revert;
		XGetInputFocus(fX, &focus, &revert);
		return focus == alert;
	}));
	Type(XK_Return);
	ASSERT_TRUE(WaitForX([&]() { return !IsShown(alert); }));

	// The view works on in its window: the next update fetches and draws.
	ASSERT_TRUE(WaitForMenusClosed());
	Click(100, 100, 3);
	menu = FindMenu();
	ASSERT_NE(menu, 0u);
	menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 30, (int)(menuFrame.top + 1 + 3 * item + 9 + item / 2));
	ASSERT_TRUE(fServer.WaitForRequests(2, 30000)) << program.Printed();
	EXPECT_TRUE(WaitForX([&]() { return Shades(Picture(window)) > 8; }));
	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
}
