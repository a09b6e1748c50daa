/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// Replicants on the desktop, on an X server of the test's own: a view's dragger dragged out
// of its window onto the desktop lands in the desktop's shelf host, which shows it as a
// desktop widget, removes it from the dragger's menu, refuses a second unique one and keeps
// it across its own restarts.


#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <Bitmap.h>
#include <Dragger.h>
#include <Message.h>
#include <Window.h>

#include "AppPrivate.h"
#include "BitmapPNG.h"
#include "MessageService.h"
#include "ShelfPrivate.h"
#include "ShelfTestView.h"
#include "TestEnv.h"
#include "XvfbTest.h"


namespace {


class DesktopShelfTest : public XvfbTest {
protected:
	virtual void
	SetUp()
	{
		ASSERT_NO_FATAL_FAILURE(XvfbTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		fEnv.reset(new TestEnv);
		// The host from the build, and the test view's library known under its signature
		ASSERT_EQ(mkdir(fEnv->System().c_str(), 0700) == 0 || errno == EEXIST, true);
		ASSERT_EQ(symlink(WG_SYSTEM_DIR "/Desktop", (fEnv->System() + "/Desktop").c_str()), 0);
		WriteFile(BPrivate::roster_directory() + "/known/application%2fx-vnd.wg-shelf-test",
			std::string("signature=") + kShelfTestSignature + "\npath=" WG_SHELF_TEST_VIEW "\n");
	}

	virtual void
	TearDown()
	{
		StopHost();
		fEnv.reset();
		XvfbTest::TearDown();
	}

	team_id
	HostTeam()
	{
		BPrivate::RunningApp app;
		if (!BPrivate::find_running_app(BPrivate::kDesktopShelfSignature, -1, &app))
			return -1;
		return app.team;
	}

	void
	StopHost()
	{
		team_id team = HostTeam();
		if (team < 0)
			return;
		kill(team, SIGTERM);
		EXPECT_TRUE(WaitUntil([&]() {
			return kill(team, 0) != 0
				&& !BPrivate::service_is_running(BPrivate::kDesktopShelfService);
		}));
	}

	int32
	CountReplicants()
	{
		BMessage request(BPrivate::kMsgDesktopCount);
		BMessage reply;
		if (BPrivate::send_to_service(BPrivate::kDesktopShelfService, &request, &reply) != B_OK)
			return -1;
		return reply.GetInt32("count", -1);
	}

	// The user drags the handle at from onto the desktop at to.
	void
	Drag(BPoint from, BPoint to)
	{
		std::string command = "xdotool mousemove " + std::to_string((int)from.x) + " "
			+ std::to_string((int)from.y) + " mousedown 1 mousemove "
			+ std::to_string((int)from.x + 10) + " " + std::to_string((int)from.y + 10)
			+ " mousemove " + std::to_string((int)to.x) + " " + std::to_string((int)to.y)
			+ " mouseup 1";
		ASSERT_EQ(system(command.c_str()), 0) << command;
	}

	// The desktop widget window that shows at the point
	Window
	ReplicantWindowAt(BPoint where)
	{
		return ShownWindowAt("Replicant", where);
	}

	std::unique_ptr<TestEnv> fEnv;
};


bool
has_atom(const std::string& list, ::Display* x, const char* name)
{
	std::string atom = std::to_string(XInternAtom(x, name, False)) + " ";
	return (" " + list).find(" " + atom) != std::string::npos;
}


} // namespace


TEST_F(DesktopShelfTest, ADraggedReplicantLivesOnTheDesktopUntilRemoved)
{
	// A window with the test view at 20, 20: its dragger's handle at 72..79, 52..59
	BWindow* window = new BWindow(BRect(100, 100, 299, 249), "Shelf source", B_TITLED_WINDOW, 0);
	window->AddChild(new ShelfTestView(BPoint(20, 20)));
	window->Show();
	Window source = FindWindow("Shelf source");
	ASSERT_NE(source, 0u);
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(172, 154) == make_color(0, 0, 0); }))
		<< "the dragger's handle is drawn";

	// Dragged onto the desktop: the replicant shows where it was let go, the pointer at the
	// same place of it (56, 36) as when it was taken.
	ASSERT_NO_FATAL_FAILURE(Drag(BPoint(176, 156), BPoint(556, 436)));
	Window replicant = ReplicantWindowAt(BPoint(510, 410));
	ASSERT_NE(replicant, 0u) << "no replicant window on the desktop";
	EXPECT_EQ(Geometry(replicant), BRect(500, 400, 559, 439));
	EXPECT_TRUE(
		has_atom(Property(replicant, "_NET_WM_WINDOW_TYPE"), fX, "_NET_WM_WINDOW_TYPE_UTILITY"));
	std::string state = Property(replicant, "_NET_WM_STATE");
	for (const char* name : {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY",
			 "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
		EXPECT_TRUE(has_atom(state, fX, name)) << name;
	std::string desktop = Property(replicant, "_NET_WM_DESKTOP");
	EXPECT_TRUE(desktop == "4294967295 " || desktop == "-1 ") << desktop;
	EXPECT_EQ(Property(replicant, "_MOTIF_WM_HINTS"), "2 0 0 0 0 ");
	EXPECT_EQ(HostTeam() > 0, true);

	// It draws as in its window: red, the white bar, the handle
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(540, 430) == kShelfTestColor; }));
	EXPECT_EQ(ScreenPixel(510, 406), make_color(255, 255, 255));
	EXPECT_EQ(ScreenPixel(552, 434), make_color(0, 0, 0));
	std::unique_ptr<BBitmap> picture(Screenshot(BRect(490, 390, 569, 449)));
	ASSERT_NE(picture.get(), nullptr);
	mkdir(WG_TEST_OUTPUT, 0755);
	EXPECT_EQ(
		BPrivate::save_bitmap_as_png(picture.get(), WG_TEST_OUTPUT "/shelf-replicant.png"), B_OK);

	// A second one of the unique view is refused.
	BMessage archive;
	ASSERT_TRUE(window->Lock());
	ASSERT_EQ(window->ChildAt(0)->Archive(&archive), B_OK);
	window->Unlock();
	archive.what = B_ARCHIVED_OBJECT;
	EXPECT_EQ(BPrivate::send_to_desktop_shelf(&archive, BPoint(10, 10)), B_ERROR);
	EXPECT_EQ(CountReplicants(), 1);

	// Hiding the draggers hides them in every process.
	ASSERT_EQ(BDragger::HideAllDraggers(), B_OK);
	EXPECT_TRUE(WaitForX([&]() { return ScreenPixel(552, 434) == kShelfTestColor; }));
	EXPECT_TRUE(WaitForX([&]() { return ScreenPixel(172, 154) == kShelfTestColor; }));
	ASSERT_EQ(BDragger::ShowAllDraggers(), B_OK);
	ASSERT_TRUE(WaitForX([&]() { return ScreenPixel(552, 434) == make_color(0, 0, 0); }));

	// The dragger's menu removes it: its last item, "Remove replicant"
	Click(555, 437, 3);
	Window menu = 0;
	ASSERT_TRUE(WaitForX([&]() {
		Window root;
		Window parent;
		Window* children = NULL;
		unsigned int count = 0;
		menu = 0;
		if (XQueryTree(fX, fRoot, &root, &parent, &children, &count) != 0) {
			for (unsigned int i = 0; i < count; i++) {
				XWindowAttributes attributes;
				if (XGetWindowAttributes(fX, children[i], &attributes) != 0
					&& attributes.override_redirect && attributes.map_state == IsViewable)
					menu = children[i];
			}
		}
		if (children != NULL)
			XFree(children);
		return menu != 0;
	})) << "no menu";
	BRect menuFrame = Geometry(menu);
	Click((int)menuFrame.left + 10, (int)menuFrame.bottom - 4);
	EXPECT_TRUE(WaitForX([&]() { return !IsShown(replicant); }));
	EXPECT_TRUE(WaitUntil([&]() { return CountReplicants() == 0; }));

	// Dropped again, it outlives the host.
	ASSERT_NO_FATAL_FAILURE(Drag(BPoint(176, 156), BPoint(356, 336)));
	replicant = ReplicantWindowAt(BPoint(310, 310));
	ASSERT_NE(replicant, 0u);
	StopHost();
	EXPECT_TRUE(WaitForX([&]() { return !IsShown(replicant); }));
	ASSERT_EQ(BPrivate::start_desktop_shelf(), B_OK);
	replicant = ReplicantWindowAt(BPoint(310, 310));
	ASSERT_NE(replicant, 0u) << "the replicant did not come back";
	EXPECT_EQ(Geometry(replicant), BRect(300, 300, 359, 339));
	EXPECT_TRUE(WaitForX([&]() { return ScreenPixel(340, 330) == kShelfTestColor; }));
	EXPECT_EQ(CountReplicants(), 1);

	// Moved, it comes back where it was moved to.
	XMoveWindow(fX, replicant, 320, 330);
	XSync(fX, False);
	EXPECT_TRUE(WaitUntil([&]() {
		BMessage request(BPrivate::kMsgDesktopCount);
		BMessage reply;
		return BPrivate::send_to_service(BPrivate::kDesktopShelfService, &request, &reply) == B_OK
			&& reply.FindRect("frame") == BRect(320, 330, 379, 369);
	}));
	StopHost();
	ASSERT_EQ(BPrivate::start_desktop_shelf(), B_OK);
	replicant = ReplicantWindowAt(BPoint(330, 340));
	ASSERT_NE(replicant, 0u) << "the replicant did not come back";
	EXPECT_EQ(Geometry(replicant), BRect(320, 330, 379, 369));

	// Its window destroyed by another client: the host lets the replicant go and lives on.
	team_id host = HostTeam();
	XDestroyWindow(fX, replicant);
	XSync(fX, False);
	EXPECT_TRUE(WaitUntil([&]() { return CountReplicants() == 0; }));
	EXPECT_EQ(HostTeam(), host);

	window->Lock();
	window->Quit();
}
