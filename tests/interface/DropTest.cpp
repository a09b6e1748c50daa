/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include <AppDefs.h>
#include <Entry.h>
#include <Message.h>
#include <Path.h>
#include <View.h>
#include <Window.h>

#include "Display.h"
#include "EventLog.h"
#include "HeadlessScreen.h"
#include "TestEnv.h"
#include "XdndSource.h"
#include "XvfbTest.h"


namespace {


struct Drops : EventLog {
	// What the view under the drop point saw, and what climbed to the window
	std::vector<uint32> viewSaw;
	std::vector<BMessage> windowGot;
};


// A view that leaves drops to the handlers above it, as most views do
class WellView : public BView {
public:
	WellView(BRect frame, Drops* drops)
		: BView(frame, "well", B_FOLLOW_NONE, B_WILL_DRAW), fDrops(drops)
	{ }

	virtual void
	MessageReceived(BMessage* message)
	{
		uint32 what = message->what;
		fDrops->Change([&]() { fDrops->viewSaw.push_back(what); });
		BView::MessageReceived(message);
	}

private:
	Drops* fDrops;
};


class DropWindow : public BWindow {
public:
	DropWindow(Drops* drops)
		: BWindow(BRect(200, 150, 499, 349), "Drop target", B_TITLED_WINDOW, 0), fDrops(drops)
	{ }

	virtual void
	MessageReceived(BMessage* message)
	{
		if (message->what == B_MIME_DATA || message->what == B_SIMPLE_DATA) {
			BMessage copy(*message);
			fDrops->Change([&]() { fDrops->windowGot.push_back(copy); });
			return;
		}
		BWindow::MessageReceived(message);
	}

private:
	Drops* fDrops;
};


class X11DropTest : public XvfbTest {
protected:
	virtual void
	SetUp()
	{
		ASSERT_NO_FATAL_FAILURE(XvfbTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		ASSERT_STREQ(BPrivate::Display::Default()->Name(), "x11")
			<< "the display was chosen before: run each test in a process of its own (ctest)";
	}
};


} // namespace


TEST_F(X11DropTest, TextAndFilesFromAnotherProgramArriveAsHaikuDeliversDrops)
{
	TestEnv env;
	std::string path = env.Home() + "/My page \xc3\xbc 100%.html";
	WriteFile(path, "<html></html>");

	Drops drops;
	DropWindow* window = new DropWindow(&drops);
	window->AddChild(new WellView(BRect(20, 20, 149, 119), &drops));
	window->Show();
	Window x = FindWindow("Drop target");
	ASSERT_NE(x, 0u);

	// A colour dropped as text on the view: the view sees it first, the window gets it.
	XdndSource source(fName.c_str());
	ASSERT_TRUE(source.IsOpen());
	XdndSource::Result result = source.DropText(250, 200, "#FF8000");
	EXPECT_EQ(result.target, x);
	EXPECT_EQ(result.version, 5);
	EXPECT_TRUE(result.accepted);
	ASSERT_EQ(result.requested.size(), 1u);
	EXPECT_EQ(result.requested[0], "text/plain;charset=utf-8");
	EXPECT_TRUE(result.finished);
	EXPECT_TRUE(result.success);
	ASSERT_TRUE(drops.WaitFor([&]() { return drops.windowGot.size() == 1; }));
	{
		const BMessage& text = drops.windowGot[0];
		EXPECT_EQ(text.what, (uint32)B_MIME_DATA);
		const void* data = NULL;
		ssize_t size = 0;
		ASSERT_EQ(text.FindData("text/plain", B_MIME_TYPE, &data, &size), B_OK);
		EXPECT_EQ(std::string((const char*)data, size), "#FF8000");
		EXPECT_TRUE(text.WasDropped());
		BPoint offset(-1, -1);
		EXPECT_EQ(text.DropPoint(&offset), BPoint(250, 200));
		EXPECT_EQ(offset, BPoint(0, 0));
		ASSERT_EQ(drops.viewSaw.size(), 1u);
		EXPECT_EQ(drops.viewSaw[0], (uint32)B_MIME_DATA);
	}

	// A file from a file manager, beside the view: an entry_ref in "refs".
	result = source.DropFiles(400, 300, {path});
	EXPECT_TRUE(result.accepted);
	ASSERT_EQ(result.requested.size(), 1u);
	EXPECT_EQ(result.requested[0], "text/uri-list");
	EXPECT_TRUE(result.success);
	ASSERT_TRUE(drops.WaitFor([&]() { return drops.windowGot.size() == 2; }));
	{
		const BMessage& files = drops.windowGot[1];
		EXPECT_EQ(files.what, (uint32)B_SIMPLE_DATA);
		type_code type = 0;
		int32 count = 0;
		ASSERT_EQ(files.GetInfo("refs", &type, &count), B_OK);
		EXPECT_EQ(type, (type_code)B_REF_TYPE);
		EXPECT_EQ(count, 1);
		entry_ref ref;
		ASSERT_EQ(files.FindRef("refs", &ref), B_OK);
		EXPECT_EQ(std::string(BPath(&ref).Path()), path);
		EXPECT_TRUE(files.WasDropped());
		EXPECT_EQ(files.DropPoint(), BPoint(400, 300));
		EXPECT_EQ(drops.viewSaw.size(), 1u);
	}

	// Nothing we take (an image) is refused; files that do not exist give nothing.
	result = source.Drop(250, 200, {{"image/png", "PNG"}});
	EXPECT_TRUE(result.statusReceived);
	EXPECT_FALSE(result.accepted);
	result = source.DropFiles(250, 200, {env.Home() + "/missing.txt"});
	EXPECT_TRUE(result.finished);
	EXPECT_FALSE(result.success);
	EXPECT_EQ(drops.windowGot.size(), 2u);

	ASSERT_TRUE(window->Lock());
	window->Quit();
}


TEST(HeadlessDropTest, ADropGoesToTheViewUnderThePointAndClimbsToTheWindow)
{
	TestEnv env;
	Drops drops;
	DropWindow* window = new DropWindow(&drops);
	window->AddChild(new WellView(BRect(20, 20, 149, 119), &drops));
	window->Show();
	ASSERT_TRUE(
		WaitUntil([&]() { return BPrivate::headless_window_at(BPoint(250, 200)) != NULL; }));

	BMessage text(B_MIME_DATA);
	text.AddData("text/plain", B_MIME_TYPE, "#FF8000", 7);
	ASSERT_EQ(BPrivate::headless_inject_drop(&text, BPoint(250, 200)), B_OK);
	ASSERT_TRUE(drops.WaitFor([&]() { return drops.windowGot.size() == 1; }));
	EXPECT_TRUE(drops.windowGot[0].WasDropped());
	EXPECT_EQ(drops.windowGot[0].DropPoint(), BPoint(250, 200));
	ASSERT_EQ(drops.viewSaw.size(), 1u);
	EXPECT_FALSE(text.WasDropped());
	EXPECT_EQ(BPrivate::headless_inject_drop(&text, BPoint(900, 700)), B_ENTRY_NOT_FOUND);

	ASSERT_TRUE(window->Lock());
	window->Quit();
}
