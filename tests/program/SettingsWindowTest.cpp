/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "GuiTestSupport.h"

#include <sys/xattr.h>

#include <memory>

#include <Bitmap.h>
#include <Button.h>
#include <CheckBox.h>
#include <Entry.h>
#include <MenuItem.h>
#include <Node.h>
#include <PopUpMenu.h>
#include <Slider.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>

#include "../../platform/private/BitmapPNG.h"
#include "wg_SettWindow.h"


using namespace BPrivate;


class SettingsWindowTest : public GuiTest {
protected:
	// The settings window the view keeps, read under its window's lock as the view sets it.
	DSettWindow*
	ViewSettings()
	{
		if (!fWindow->Lock())
			return NULL;
		DSettWindow* settings = fWindow->view->settWindow;
		fWindow->Unlock();
		return settings;
	}

	// Asks the view for the settings window as its context menu does; the window once open.
	DSettWindow*
	OpenSettings()
	{
		BMessenger(fWindow->view).SendMessage(kMsgPreferences);
		DSettWindow* settings = NULL;
		if (!WaitUntil([&]() { return (settings = ViewSettings()) != NULL; })
			|| !fPrefs->settWindowOpen)
			return NULL;
		BPoint inside = settings->Frame().LeftTop() + BPoint(5, 5);
		if (!WaitUntil([&]() { return headless_window_at(inside) == settings; }))
			return NULL;
		return settings;
	}

	// A click of the primary button at a point of the window's content
	static void
	ClickAt(BWindow* window, BPoint where)
	{
		BPoint screen = window->Frame().LeftTop() + where;
		headless_inject_mouse(screen, B_PRIMARY_MOUSE_BUTTON, B_MOUSE_DOWN);
		headless_inject_mouse(screen, 0, B_MOUSE_UP);
	}

	static void
	Key(const char* bytes)
	{
		headless_inject_key(bytes, B_KEY_DOWN);
		headless_inject_key(bytes, B_KEY_UP);
	}

	// Waits until the window handled everything sent to it so far, and what its controls
	// sent it meanwhile.
	static bool
	SyncSettings(DSettWindow* settings)
	{
		return Sync(settings, 'TICK') && Sync(settings, 'TICK');
	}

	std::string
	StoredAttr(const char* name)
	{
		char buffer[512];
		ssize_t size = getxattr(
			SettingsFile().c_str(), (std::string("user.") + name).c_str(), buffer, sizeof(buffer));
		return size < 0 ? std::string() : std::string(buffer, size);
	}
};


TEST_F(SettingsWindowTest, EditsOptionsTakesDroppedColoursAndSwitchesPresetFiles)
{
	ASSERT_TRUE(StartApp());
	// The program's folder is the test's, not the test program's.
	fPrefs->PathToApp.SetTo(fEnv.AppFolder().c_str());
	WriteFile(fEnv.AppFolder() + "/MyPresets.txt",
		";\n; --- PRESET ---\n$third.example$\t$" + PagePath()
			+ "$\n$A $\t$<b>A:</b>$\n;   \n;\n; --- PRESET ---\n$fourth.example$\t$" + PagePath()
			+ "/4$\n$A $\t$<b>A:</b>$\n;   \n");

	DSettWindow* settings = OpenSettings();
	ASSERT_NE(settings, nullptr);
	ASSERT_TRUE(settings->Lock());
	EXPECT_STREQ(settings->Title(), "Webgrazer-Settings");
	EXPECT_EQ(settings->Frame(), BRect(30, 50, 690, 290));
	EXPECT_FALSE(settings->fReloadSet->IsEnabled());
	EXPECT_TRUE(settings->fOpenPreset->IsEnabled());
	EXPECT_STREQ(settings->fUpdate->Label(), "Update Frequency:1 minutes");
	EXPECT_STREQ(settings->fTextSize->Text(), "11");
	EXPECT_STREQ(settings->fUrl->Text(), PagePath().c_str());
	EXPECT_STREQ(settings->BottomInfo->Text(), fEnv.AppFolder().c_str());
	EXPECT_EQ(settings->PresetPopUp->CountItems(), 2);
	EXPECT_TRUE(
		settings->PresetPopUp->ItemAt(0) != NULL && settings->PresetPopUp->ItemAt(0)->IsMarked());
	BRect sizeField = settings->fTextSize->Frame();
	BRect slider = settings->fUpdate->Frame();
	settings->Unlock();

	// "Preferences" again only brings the window forward; clicks on the view only print.
	std::string printed
		= PrintedByWindow([&]() { BMessenger(fWindow->view).SendMessage(kMsgPreferences); });
	EXPECT_NE(printed.find("WView:: aktivate SettWindow \n"), std::string::npos) << printed;
	EXPECT_EQ(ViewSettings(), settings);

	// The text size field takes 9 and refuses 20, showing 11.
	auto typeSize = [&](const char* text) {
		ClickAt(settings, sizeField.RightTop() + BPoint(-10, 7));
		Key("\x04");
		for (int i = 0; i < 4; i++)
			Key("\x08");
		for (const char* c = text; *c != '\0'; c++)
			Key(std::string(1, *c).c_str());
		Key("\n");
		return SyncSettings(settings);
	};
	ASSERT_TRUE(typeSize("20"));
	ASSERT_TRUE(settings->Lock());
	EXPECT_STREQ(settings->fTextSize->Text(), "11");
	settings->Unlock();
	EXPECT_EQ(fPrefs->opTextSize, 11);
	ASSERT_TRUE(typeSize("9"));
	EXPECT_EQ(fPrefs->opTextSize, 9);

	// The slider at its left end stores and saves 0 at once.
	ClickAt(settings, slider.LeftTop() + BPoint(2, 28));
	ASSERT_TRUE(SyncSettings(settings));
	EXPECT_EQ(fPrefs->opUpdateSpeed, 0);
	EXPECT_EQ(StoredAttr("opUpdateSpeed"), std::string("LONG\0\0\0\0", 8));
	ASSERT_TRUE(settings->Lock());
	EXPECT_STREQ(settings->fUpdate->Label(), "Update Frequency:0 minutes");
	settings->Unlock();

	// A dropped colour text (its first seven characters) and a file with a colour attribute
	// both set the text colour, which the colour field shows.
	BMessage text(B_MIME_DATA);
	text.AddData("text/plain", B_MIME_TYPE, "#00FF80ff", 9);
	ASSERT_EQ(headless_inject_drop(&text, settings->Frame().LeftTop() + BPoint(400, 110)), B_OK);
	ASSERT_TRUE(SyncSettings(settings));
	EXPECT_EQ(fPrefs->opTextColor, make_color(0, 255, 128, 24));
	std::string colored = fEnv.Root() + "/colored";
	WriteFile(colored, "");
	{
		BNode node(colored.c_str());
		rgb_color color = make_color(10, 20, 30, 255);
		ASSERT_EQ(node.WriteAttr("RGBCOLOR", B_RGB_COLOR_TYPE, 0, &color, sizeof(color)), 4);
	}
	BMessage file(B_SIMPLE_DATA);
	entry_ref ref;
	ASSERT_EQ(get_ref_for_path(colored.c_str(), &ref), B_OK);
	file.AddRef("refs", &ref);
	ASSERT_EQ(headless_inject_drop(&file, settings->Frame().LeftTop() + BPoint(400, 110)), B_OK);
	ASSERT_TRUE(SyncSettings(settings));
	EXPECT_EQ(fPrefs->opTextColor, make_color(10, 20, 30, 255));
	ASSERT_TRUE(settings->Lock());
	EXPECT_EQ(settings->fTextColor->TextView()->ViewColor(), make_color(10, 20, 30, 255));
	settings->Unlock();

	// Another preset file: the presets are read again and the menu marks the first preset
	// when the shown one's number lies beyond the new list.
	fPrefs->PresetAtView = 5;
	BMessage choice(kMsgPresetFileChosen);
	choice.AddString("Filename", "MyPresets.txt");
	BMessenger(settings).SendMessage(&choice);
	ASSERT_TRUE(SyncSettings(settings));
	EXPECT_EQ(fPrefs->PresetName, "MyPresets.txt");
	ASSERT_TRUE(settings->Lock());
	EXPECT_EQ(settings->PresetPopUp->CountItems(), 2);
	BMenuItem* first = settings->PresetPopUp->ItemAt(0);
	EXPECT_STREQ(first != NULL ? first->Label() : "", "third.example");
	EXPECT_TRUE(first != NULL && first->IsMarked());
	EXPECT_STREQ(settings->fUrl->Text(), PagePath().c_str());
	// The user unticks "Use Logbook".
	BRect logbook = settings->fUseLogbuch->Frame();
	settings->Unlock();
	ClickAt(settings, logbook.LeftTop() + BPoint(8, 10));
	ASSERT_TRUE(SyncSettings(settings));

	mkdir(WG_TEST_OUTPUT, 0755);
	headless_save_screenshot(WG_TEST_OUTPUT "/settings-headless.png");

	// The close box: the options and the frame are stored and saved, and the view forgets
	// the window and rebuilds its preset menu from the new file.
	BRect closeBox = headless_close_box(settings);
	ASSERT_TRUE(closeBox.IsValid());
	printed = Printed([&]() {
		headless_inject_mouse(closeBox.LeftTop() + BPoint(2, 2), 1, B_MOUSE_DOWN);
		headless_inject_mouse(closeBox.LeftTop() + BPoint(2, 2), 0, B_MOUSE_UP);
		WaitUntil([&]() { return ViewSettings() == NULL; });
		SyncWindow();
	});
	EXPECT_EQ(ViewSettings(), nullptr) << printed;
	EXPECT_FALSE(fPrefs->settWindowOpen);
	EXPECT_FALSE(fPrefs->opUseLog);
	EXPECT_FALSE(fPrefs->opFixedViewSize);
	EXPECT_EQ(StoredAttr("opUseLog"), std::string("BOOL\0", 5));
	EXPECT_EQ(StoredAttr("opTextSize"), std::string("LONG\x09\0\0\0", 8));
	EXPECT_NE(printed.find("DSettWin send 'wpcl'  WP_CLOSE to app_messenger \n"), std::string::npos)
		<< printed;
	EXPECT_NE(printed.find("WView::ClosePrefs \n"), std::string::npos) << printed;
	ASSERT_NE(fWindow->view->presetMenu, nullptr);
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_STREQ(fWindow->view->presetMenu->ItemAt(0)->Label(), "third.example");
	fWindow->Unlock();
}
