/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "GuiTestSupport.h"

#include <sys/stat.h>

#include <Button.h>
#include <CheckBox.h>
#include <MenuItem.h>
#include <Slider.h>
#include <TextControl.h>

#include "wg_SettWindow.h"
#include "wg_View.h"


using namespace BPrivate;


// A German user: the program's labels come from the German catalog in the program's folder.
TEST_F(GuiTest, SpeaksGermanOnAGermanDesktop)
{
	unsetenv("LC_ALL");
	unsetenv("LC_MESSAGES");
	unsetenv("LANGUAGE");
	setenv("LANG", "de_DE.UTF-8", 1);
	ASSERT_TRUE(StartApp());

	// The context menu, and the view's name, which the Deskbar looks for, stays.
	WView* view = fWindow->view;
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_STREQ(view->prefsItem->Label(), "Einstellungen");
	EXPECT_STREQ(view->nextItem->Label(), "Nächste Vorlage");
	EXPECT_STREQ(view->quitItem->Label(), "Beenden");
	EXPECT_STREQ(view->aboutItem->Label(), "Über Webgrazer");
	EXPECT_STREQ(view->Name(), "Web Grazer");
	fWindow->Unlock();

	// The settings window, as the context menu opens it
	BMessenger(view).SendMessage(kMsgPreferences);
	// The view keeps the window once it is made, under its window's lock.
	DSettWindow* settings = NULL;
	ASSERT_TRUE(WaitUntil([&]() {
		if (!fWindow->Lock())
			return false;
		settings = view->settWindow;
		fWindow->Unlock();
		return settings != NULL;
	}));
	ASSERT_TRUE(fPrefs->settWindowOpen);
	BPoint inside = settings->Frame().LeftTop() + BPoint(5, 5);
	ASSERT_TRUE(WaitUntil([&]() { return headless_window_at(inside) == settings; }));
	ASSERT_TRUE(settings->Lock());
	EXPECT_STREQ(settings->Title(), "Webgrazer-Einstellungen");
	EXPECT_STREQ(settings->fUseLogbuch->Label(), "Logbuch führen");
	EXPECT_STREQ(settings->fTextSize->Label(), "Schriftgröße:");
	EXPECT_STREQ(settings->fUpdate->MinLimitLabel(), "  0 (aus)");
	EXPECT_STREQ(settings->fUpdate->Label(), "Aktualisierung alle 1 Min.");
	EXPECT_STREQ(settings->fScanTest->Label(), "Vorlage testen");
	settings->Unlock();
	// Drawn once the window has handled what waits for it.
	ASSERT_TRUE(Sync(settings, 'TICK'));
	mkdir(WG_TEST_OUTPUT, 0755);
	headless_save_screenshot(WG_TEST_OUTPUT "/settings-german.png");
}
