/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ProgramX11Support.h"


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
	float item = MenuItemHeight();
	// Below "About Webgrazer", a separator, "Preferences" and "Preset "
	Click((int)menuFrame.left + 30, (int)(menuFrame.top + 2 + 3 * item + 11 + item / 2));
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
