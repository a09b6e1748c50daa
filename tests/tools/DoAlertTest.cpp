/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <string.h>
#include <sys/stat.h>

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Alert.h>
#include <Bitmap.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <TextView.h>

#include "../../platform/private/HeadlessScreen.h"
#include "TestEnv.h"
#include "wg_Tools.h"


using namespace BPrivate;


namespace {


const char* const kPrefix = "Web-Grazer \nVers.: 130113  ";


// The alert DoAlert() just showed: it is the active window.
BAlert*
ShownAlert()
{
	return dynamic_cast<BAlert*>(headless_active_window());
}


// Waits until everything posted to the window so far is handled.
void
Sync(BWindow* window)
{
	BMessage reply;
	ASSERT_EQ(B_OK, BMessenger(window).SendMessage('sync', &reply));
}


// Waits, within a deadline, until the window the messenger aims at is gone: what it posted
// to itself, such as a quit request, comes before the next message sent to it. (The messenger
// is made while the window surely lives.)
bool
WaitUntilGone(const BMessenger& messenger)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
	while (std::chrono::steady_clock::now() < deadline) {
		BMessage reply;
		if (messenger.SendMessage('sync', &reply) != B_OK)
			return !messenger.IsValid();
	}
	return false;
}


void
CloseWithEscape(BAlert* alert)
{
	BMessenger messenger(alert);
	ASSERT_EQ(B_OK, headless_inject_key("\x1b", B_KEY_DOWN));
	ASSERT_TRUE(WaitUntilGone(messenger));
}


// The rows of the screen between top and bottom, within the columns, that hold ink
int32
InkRows(const BBitmap* screen, BRect area, rgb_color background)
{
	int32 rows = 0;
	const uint8* bits = static_cast<const uint8*>(screen->Bits());
	for (int32 y = (int32)area.top; y <= (int32)area.bottom; y++) {
		for (int32 x = (int32)area.left; x <= (int32)area.right; x++) {
			const uint8* pixel = bits + y * screen->BytesPerRow() + x * 4;
			if (pixel[2] != background.red || pixel[1] != background.green
				|| pixel[0] != background.blue) {
				rows++;
				break;
			}
		}
	}
	return rows;
}


} // namespace


TEST(DoAlert, ShowsTheProgramNameLargeAndBold)
{
	TestEnv env;
	DoAlert("Hello");
	BAlert* alert = ShownAlert();
	ASSERT_NE(nullptr, alert);

	ASSERT_TRUE(alert->Lock());
	EXPECT_STREQ("Info", alert->Title());
	EXPECT_EQ(1, alert->CountButtons());
	EXPECT_STREQ("OK", alert->ButtonLabel(0));
	EXPECT_NE(0u, alert->Flags() & B_CLOSE_ON_ESCAPE);
	BTextView* view = alert->TextView();
	EXPECT_EQ(std::string(kPrefix) + "Hello\n", view->Text());
	EXPECT_TRUE(view->IsStylable());
	for (int32 offset : {0, 5, 10}) {
		BFont font;
		view->GetFontAndColor(offset, &font);
		EXPECT_EQ(18.0f, font.Size()) << offset;
		EXPECT_EQ(B_BOLD_FACE, font.Face()) << offset;
	}
	for (int32 offset : {11, 12, 30}) {
		BFont font;
		view->GetFontAndColor(offset, &font);
		EXPECT_EQ(be_plain_font->Size(), font.Size()) << offset;
		EXPECT_EQ(B_REGULAR_FACE, font.Face()) << offset;
	}
	// The alert fits the large first line, the second, and the room after the last newline.
	BRect text = view->ConvertToScreen(view->Bounds());
	float firstLine = view->LineHeight(0);
	float secondLine = view->LineHeight(1);
	EXPECT_GT(firstLine, secondLine);
	EXPECT_EQ(firstLine + 2 * secondLine, view->Bounds().Height());
	EXPECT_GT(alert->Frame().bottom, text.bottom);
	alert->Unlock();

	Sync(alert);
	mkdir(WG_TEST_OUTPUT, 0755);
	ASSERT_EQ(B_OK, headless_save_screenshot(WG_TEST_OUTPUT "/alert.png"));

	// On the screen, the first line's letters are taller than the second's.
	std::unique_ptr<BBitmap> screen(headless_screen_bitmap());
	ASSERT_NE(nullptr, screen);
	rgb_color panel = ui_color(B_PANEL_BACKGROUND_COLOR);
	BRect first(text.left, text.top, text.left + 90, text.top + firstLine - 1);
	BRect second(text.left, first.bottom + 1, text.left + 90, first.bottom + secondLine);
	int32 firstRows = InkRows(screen.get(), first, panel);
	int32 secondRows = InkRows(screen.get(), second, panel);
	EXPECT_GT(secondRows, 5);
	EXPECT_GT(firstRows, secondRows + 3);

	CloseWithEscape(alert);
	EXPECT_EQ(nullptr, headless_window_at(text.LeftTop()));
	EXPECT_EQ(nullptr, headless_active_window());
}


TEST(DoAlert, OKClosesIt)
{
	TestEnv env;
	DoAlert("Press OK");
	BAlert* alert = ShownAlert();
	ASSERT_NE(nullptr, alert);
	BRect frame = alert->Frame();
	BPoint ok(frame.right - 10 - 37, frame.bottom - 10 - 12);
	BMessenger messenger(alert);
	ASSERT_EQ(B_OK, headless_inject_mouse(ok, 1, B_MOUSE_DOWN));
	headless_inject_mouse(ok, 0, B_MOUSE_UP);
	ASSERT_TRUE(WaitUntilGone(messenger));
	EXPECT_EQ(nullptr, headless_window_at(ok));

	// And so does Enter.
	DoAlert(NULL);
	alert = ShownAlert();
	ASSERT_NE(nullptr, alert);
	ASSERT_TRUE(alert->Lock());
	EXPECT_EQ(std::string(kPrefix) + "\n", alert->TextView()->Text());
	alert->Unlock();
	messenger = BMessenger(alert);
	ASSERT_EQ(B_OK, headless_inject_key("\n", B_KEY_DOWN));
	ASSERT_TRUE(WaitUntilGone(messenger));
}


TEST(DoAlert, ALongTextIsCutBelow512Bytes)
{
	TestEnv env;
	std::string text(600, 'a');
	DoAlert(text.c_str());
	BAlert* alert = ShownAlert();
	ASSERT_NE(nullptr, alert);
	ASSERT_TRUE(alert->Lock());
	std::string shown = alert->TextView()->Text();
	alert->Unlock();
	EXPECT_EQ(511u, shown.size());
	EXPECT_EQ(std::string(kPrefix) + std::string(511 - strlen(kPrefix), 'a'), shown);
	CloseWithEscape(alert);

	// A cut never leaves half a character.
	text.clear();
	for (int i = 0; i < 200; i++)
		text += "\xe2\x82\xac";
	DoAlert(text.c_str());
	alert = ShownAlert();
	ASSERT_NE(nullptr, alert);
	ASSERT_TRUE(alert->Lock());
	shown = alert->TextView()->Text();
	alert->Unlock();
	size_t euros = (511 - strlen(kPrefix)) / 3;
	EXPECT_EQ(strlen(kPrefix) + euros * 3, shown.size());
	EXPECT_EQ(0, shown.compare(shown.size() - 3, 3, "\xe2\x82\xac"));
	CloseWithEscape(alert);
}
