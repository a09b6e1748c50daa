/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The program's view away from its window, on an X server of the test's own: as a replicant
// on the desktop's shelf and as an item of the Deskbar, each in a host process of its own.


#include "ProgramX11Support.h"

#include <signal.h>

#include <X11/keysym.h>

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

	// A shown top-level window with the name that covers the point
	Window
	WindowAt(const char* name, BPoint where)
	{
		Window found = 0;
		WaitForX([&]() {
			found = 0;
			Window root;
			Window parent;
			Window* children = NULL;
			unsigned int count = 0;
			if (XQueryTree(fX, fRoot, &root, &parent, &children, &count) == 0)
				return false;
			for (unsigned int i = 0; i < count; i++) {
				if (IsShown(children[i]) && Property(children[i], "WM_NAME") == name
					&& Geometry(children[i]).Contains(where))
					found = children[i];
			}
			if (children != NULL)
				XFree(children);
			return found != 0;
		});
		return found;
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

	// The dragger's handle sits in the window's right bottom corner (the window's frame is
	// 30, 50, 180, 130); dragged onto the desktop, the view lands in the desktop's shelf.
	std::string drag = "xdotool mousemove 176 126 mousedown 1 mousemove 186 136 mousemove "
					   "576 426 mouseup 1";
	ASSERT_EQ(system(drag.c_str()), 0);
	Window replicant = WindowAt("Replicant", BPoint(500, 380));
	ASSERT_NE(replicant, 0u) << program.Printed();
	EXPECT_EQ(Geometry(replicant), BRect(430, 350, 580, 430));
	EXPECT_TRUE(WaitForX([&]() { return Log().find("Replicant-Init ") != std::string::npos; }));
	ASSERT_TRUE(WaitForX([&]() { return Shades(Picture(replicant)) > 8; }));
	SavePicture(replicant, "program-replicant.png");

	// A replicant's menu: "Preferences", "Preset " and "Next" only.
	Click(470, 370, 3);
	Window menu = FindMenu();
	ASSERT_NE(menu, 0u);
	font_height height;
	be_plain_font->GetHeight(&height);
	float item = ceilf(height.ascent + height.descent) + 8;
	EXPECT_LT(Geometry(menu).Height(), 4 * item) << Geometry(menu).Height();
	XTestFakeKeyEvent(fX, XKeysymToKeycode(fX, XK_Escape), True, CurrentTime);
	XTestFakeKeyEvent(fX, XKeysymToKeycode(fX, XK_Escape), False, CurrentTime);
	ASSERT_TRUE(WaitForMenusClosed());

	// The program ends; the replicant stays and fetches on its own timer.
	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0) << program.Printed();
	int fetched = fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html");
	EXPECT_TRUE(fServer.WaitForRequests(fetched + 2, 30000));
	EXPECT_TRUE(IsShown(replicant));

	// The handle's menu takes it away: its last item is "Remove replicant".
	Click(576, 426, 3);
	menu = FindMenu();
	ASSERT_NE(menu, 0u);
	BRect menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 10, (int)menuFrame.bottom - 4);
	EXPECT_TRUE(WaitForX([&]() { return !IsShown(replicant); }));
}
