/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ViewTestSupport.h"

#include <Dragger.h>
#include <Menu.h>
#include <MenuItem.h>
#include <PopUpMenu.h>

#include "wg_Tools.h"


static const char* kPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n<b>C:</b>3<br>\n";


static std::string
Title(WView* view)
{
	return view->pageTitle != NULL ? view->pageTitle : "<none>";
}


// Whether a pixel of the rectangle has exactly the colour.
static bool
HasColor(WView* view, BRect rect, rgb_color color)
{
	for (int y = (int)rect.top; y <= (int)rect.bottom; y++) {
		for (int x = (int)rect.left; x <= (int)rect.right; x++) {
			rgb_color pixel = ViewTest::Pixel(view, x, y);
			if (pixel.red == color.red && pixel.green == color.green && pixel.blue == color.blue)
				return true;
		}
	}
	return false;
}


TEST_F(ViewTest, UpdatesCycleThroughThePresetsFromTheStoredOne)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}, {"C ", "<b>C:</b>"}});
	fPrefs->PresetAtView = 1;
	WView* view = Attach();
	EXPECT_EQ(fPrefs->PresetAtView, 1);
	EXPECT_EQ(Title(view), "host1");
	// The title line stands in front of the preset's lines.
	ASSERT_EQ(view->labelList->CountItems(), 2);
	EXPECT_STREQ(((BString*)view->labelList->ItemAt(0))->String(), "host1");
	EXPECT_EQ(Value(view, 0), " \t ");
	EXPECT_EQ(Value(view, 1), "2");
	EXPECT_TRUE(fPrefs->pageLoaded);

	for (int32 expected : {2, 0, 1}) {
		Update(view);
		EXPECT_EQ(fPrefs->PresetAtView, expected);
		EXPECT_EQ(Title(view), "host" + std::to_string(expected));
	}

	// While the settings window is open the view stays on its preset and does not download.
	fPrefs->settWindowOpen = true;
	fPrefs->PresetAtView = 2;
	Update(view);
	Update(view);
	EXPECT_EQ(fPrefs->PresetAtView, 2);
	EXPECT_NE(fLastOutput.find("#DON'T EXEC: " + PagePath()), std::string::npos);
	EXPECT_EQ(fLastOutput.find("cp -v"), std::string::npos);
}


TEST_F(ViewTest, WithOnePresetTheBuiltInOnesAreShown)
{
	// Without wget the built-in presets' pages are not fetched.
	unlink((fEnv.System() + "/bin/wget").c_str());
	WritePresets(kPage, {{"A ", "<b>A:</b>"}});
	WView* view = Attach();
	EXPECT_FALSE(fPrefs->wget_avalibel);
	EXPECT_EQ(Title(view), DefaultPresetA[0]);
	EXPECT_EQ(Value(view, 1), " ... ");
	for (const char** table : {DefaultPresetB, DefaultPresetC, DefaultPresetA, DefaultPresetA}) {
		Update(view);
		EXPECT_EQ(Title(view), table[0]);
	}
	EXPECT_EQ(fPrefs->PresetAtView, 0);
}


TEST_F(ViewTest, TheTimingRuleSkipsUpdatesThatComeJustEarly)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	WView* view = Attach();
	EXPECT_NE(fLastOutput.find("sek zu spaet"), std::string::npos);
	// A download moves the due time 58 s per minute of update speed ahead.
	EXPECT_GT(fPrefs->nextUpdateDue - system_time(), 50000000);
	EXPECT_LE(fPrefs->nextUpdateDue - system_time(), 58000000);

	// 20 seconds early: downloads.
	fPrefs->nextUpdateDue = system_time() + 20000000;
	Update(view, false);
	EXPECT_NE(fLastOutput.find("sek zu frueh!"), std::string::npos);
	EXPECT_NE(fLastOutput.find("cp -v"), std::string::npos);

	// 5 seconds early: no download and no title line.
	fPrefs->nextUpdateDue = system_time() + 5000000;
	Update(view, false);
	EXPECT_NE(fLastOutput.find(" = eigendlich 4 sek zu frueh! = B \n"), std::string::npos);
	EXPECT_EQ(fLastOutput.find("cp -v"), std::string::npos);
	EXPECT_EQ(view->labelList->CountItems(), 1);
	EXPECT_EQ(Value(view, 0), "     ");

	// Nor does it end a replicant, the Deskbar's item among them.
	view->isReplicant = true;
	fPrefs->opInDeskbar = true;
	fPrefs->nextUpdateDue = system_time() + 5000000;
	Update(view, false);
	EXPECT_NE(fLastOutput.find("sek zu frueh!"), std::string::npos);
	EXPECT_EQ(fLastOutput.find("Deskbar"), std::string::npos);
	EXPECT_EQ(fLastOutput.find("cp -v"), std::string::npos);
	view->isReplicant = false;
	fPrefs->opInDeskbar = false;

	// Half a second either side counts as on time, and does not download either.
	fPrefs->nextUpdateDue = system_time() + 500000;
	Update(view, false);
	EXPECT_NE(fLastOutput.find(" = eigendlich 0 sek zu spaet = B \n"), std::string::npos);
	EXPECT_EQ(fLastOutput.find("cp -v"), std::string::npos);
}


TEST_F(ViewTest, ThePresetMenuListsTitledPresets)
{
	WriteFile(fEnv.AppFolder() + "/Presets.txt",
		" PRESET \n$one$\t$u$\n PRESET \n PRESET \n$three$\t$u$\n");
	Quiet([&] { fPrefs->GetPresets(); });
	WView* view = Attach();

	ASSERT_EQ(view->presetMenu->CountItems(), 2);
	EXPECT_STREQ(view->presetMenu->ItemAt(0)->Label(), "one");
	EXPECT_EQ(view->presetMenu->ItemAt(0)->Message()->what, (uint32)'fNPx');
	EXPECT_EQ(view->presetMenu->ItemAt(0)->Message()->FindInt32("PresetNr"), 0);
	EXPECT_EQ(view->presetMenu->ItemAt(1)->Message()->FindInt32("PresetNr"), 2);
	view->SetPresetMenu();
	EXPECT_EQ(view->presetMenu->CountItems(), 2);

	// The context menu of the program's own view.
	BPopUpMenu* menu = view->contextMenu;
	ASSERT_EQ(menu->CountItems(), 8);
	EXPECT_STREQ(menu->ItemAt(0)->Label(), "About Webgrazer");
	EXPECT_STREQ(menu->ItemAt(2)->Label(), "Preferences");
	EXPECT_EQ(menu->ItemAt(3)->Submenu(), view->presetMenu);
	EXPECT_STREQ(menu->ItemAt(3)->Label(), "Preset ");
	EXPECT_STREQ(menu->ItemAt(4)->Label(), "Next");
	EXPECT_STREQ(menu->ItemAt(6)->Label(), "Move to Deskbar");
	EXPECT_EQ(menu->ItemAt(6)->Message()->what, (uint32)'wvid');
	EXPECT_STREQ(menu->ItemAt(7)->Label(), "Quit");
	EXPECT_NE(view->dragger, nullptr);

	// A replicant made from the view's archive has no About, Quit, separators or dragger.
	BMessage archive;
	ASSERT_EQ(view->Archive(&archive), B_OK);
	WView* replicant = NULL;
	Quiet([&] { replicant = new WView(&archive); });
	EXPECT_TRUE(replicant->isReplicant);
	// The dragger came along in the archive.
	ASSERT_EQ(replicant->CountChildren(), 1);
	EXPECT_NE(dynamic_cast<BDragger*>(replicant->ChildAt(0)), nullptr);
	EXPECT_EQ(replicant->dragger, nullptr);
	ASSERT_EQ(replicant->contextMenu->CountItems(), 3);
	EXPECT_STREQ(replicant->contextMenu->ItemAt(0)->Label(), "Preferences");
	EXPECT_STREQ(replicant->contextMenu->ItemAt(1)->Label(), "Preset ");
	EXPECT_STREQ(replicant->contextMenu->ItemAt(2)->Label(), "Next");
	Quiet([&] { delete replicant; });
}


TEST_F(ViewTest, ChoosingAPresetShowsItOnTheNextUpdate)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}, {"C ", "<b>C:</b>"}});
	fPrefs->PresetAtView = 2;
	WView* view = Attach();
	EXPECT_EQ(fPrefs->PresetAtView, 2);

	BMessage choose('fNPx');
	choose.AddInt32("PresetNr", 0);
	Quiet([&] { view->MessageReceived(&choose); });
	EXPECT_EQ(view->presetNr, -1);
	EXPECT_EQ(fPrefs->PresetAtView, -1);
	EXPECT_LT(fPrefs->nextUpdateDue, system_time());
	Update(view, false);
	EXPECT_EQ(Title(view), "host0");
	EXPECT_EQ(Value(view, 1), "1");

	BMessage next('fNPs');
	Quiet([&] { view->MessageReceived(&next); });
	Update(view, false);
	EXPECT_EQ(Title(view), "host1");

	// Without "PresetNr" the shown preset stays where it was and the update shows the next.
	BMessage bare('fNPx');
	Quiet([&] { view->MessageReceived(&bare); });
	EXPECT_EQ(view->presetNr, 0);
	Update(view, false);
	EXPECT_EQ(Title(view), "host1");
}


TEST_F(ViewTest, NoticesShowAtTheBottom)
{
	unlink((fEnv.System() + "/bin/wget").c_str());
	fPrefs->opUpdateSpeed = 0;
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	WView* view = Attach();
	EXPECT_FALSE(fPrefs->wget_avalibel);
	EXPECT_EQ(view->pulseRunner, nullptr);

	// "-= Standby =-" centred 12 pixels above the bottom, over its shadow.
	EXPECT_TRUE(HasColor(view, BRect(0, 79 - 12 - 9, 149, 79 - 12), make_color(80, 80, 250)));
	const rgb_color standby = make_color(80, 80, 250);
	int left = 0;
	while (left < 149 && !HasColor(view, BRect(left, 79 - 21, left, 79 - 12), standby))
		left++;
	int right = 149;
	while (right > 0 && !HasColor(view, BRect(right, 79 - 21, right, 79 - 12), standby))
		right--;
	EXPECT_GT(left, 10);
	EXPECT_NEAR(left, 149 - right, 4);

	// " Missing 'wget' !" 22 pixels above the bottom, " WGET can't get URL.." at the bottom.
	EXPECT_TRUE(HasColor(view, BRect(20, 79 - 22 - 9, 149, 79 - 22), make_color(230, 180, 80)));
	EXPECT_TRUE(HasColor(view, BRect(20, 79 - 5 - 9, 149, 79 - 5), make_color(230, 180, 80)));
	EXPECT_FALSE(HasColor(view, BRect(0, 79 - 5 - 9, 19, 79 - 5), make_color(230, 180, 80)));
}


TEST_F(ViewTest, AResizeRedrawsWithoutSelectingOrFetching)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	WView* view = Attach();
	int32 shown = fPrefs->PresetAtView;
	bigtime_t due = fPrefs->nextUpdateDue;

	fLastOutput = Quiet([&] { view->FrameResized(199, 99); });
	EXPECT_EQ(view->image->Bounds(), BRect(0, 0, 199, 99));
	EXPECT_EQ(fPrefs->PresetAtView, shown);
	EXPECT_EQ(fPrefs->nextUpdateDue, due);
	EXPECT_EQ(fLastOutput.find("PresetSelector"), std::string::npos);
	EXPECT_EQ(Value(view, 1), "1");
	EXPECT_TRUE(view->fullRedraw);

	// Quit releases everything once; later messages and updates find nothing to act on, a
	// second switch to the Deskbar neither.
	Quiet([&] { view->Quit(); });
	BMessage update('wvup');
	BMessage toDeskbar('wvid');
	fLastOutput = Quiet([&] {
		view->MessageReceived(&update);
		view->UpdateImage();
		view->MessageReceived(&toDeskbar);
	});
	EXPECT_EQ(view->image, nullptr);
	EXPECT_EQ(view->labelList, nullptr);
	EXPECT_FALSE(fPrefs->opInDeskbar);
	EXPECT_EQ(fLastOutput.find("Deskbar"), std::string::npos) << fLastOutput;
}


static std::vector<std::string>
menu_labels(WView* view)
{
	std::vector<std::string> labels;
	for (int32 i = 0; i < view->contextMenu->CountItems(); i++)
		labels.push_back(view->contextMenu->ItemAt(i)->Label());
	return labels;
}


TEST_F(ViewTest, TheArchiveRebuildsAReplicantAndTheDeskbarItemKnowsItsPlace)
{
	WView* view = Attach();
	BMessage archive;
	ASSERT_EQ(view->Archive(&archive, true), B_OK);
	EXPECT_STREQ(archive.FindString("add_on"), "application/x-vnd.QK-Webgrazer");
	EXPECT_TRUE(validate_instantiation(&archive, "WView"));
	EXPECT_TRUE(archive.FindBool("be:unique_replicant"));
	EXPECT_TRUE(archive.HasRect("_frame"));
	EXPECT_STREQ(archive.FindString("_name"), "Web Grazer");

	// Another class's archive makes nothing.
	BMessage other;
	other.AddString("class", "BView");
	EXPECT_EQ(WView::Instantiate(&other), nullptr);

	// A replicant: the short menu, and its start in the log book.
	WView* replicant = NULL;
	Quiet([&] { replicant = dynamic_cast<WView*>(instantiate_object(&archive)); });
	ASSERT_NE(replicant, nullptr);
	EXPECT_TRUE(replicant->isReplicant);
	// The dragger came along in the archive.
	ASSERT_EQ(replicant->CountChildren(), 1);
	EXPECT_NE(dynamic_cast<BDragger*>(replicant->ChildAt(0)), nullptr);
	EXPECT_EQ(menu_labels(replicant), std::vector<std::string>({"Preferences", "Preset ", "Next"}));
	EXPECT_NE(ReadFile(LogFile()).find("Replicant-Init "), std::string::npos);
	delete replicant;

	// The Deskbar's item: made with the frame constructor in the Deskbar's process, and rebuilt
	// there from its archive with the way back to the window. A store the Deskbar's process
	// kept from an earlier item takes the settings the program saved since.
	int32 textSize = 20;
	SetAttr("opTextSize", "LONG" + Bytes(&textSize, 4));
	WView* item = NULL;
	Quiet([&] { item = dynamic_cast<WView*>(instantiate_deskbar_item()); });
	ASSERT_NE(item, nullptr);
	EXPECT_EQ(item->Frame(), BRect(0, 0, 16, 16));
	EXPECT_STREQ(item->Name(), "Web Grazer");
	EXPECT_TRUE(fPrefs->opInDeskbar);
	EXPECT_EQ(fPrefs->opTextSize, 20);
	BMessage itemArchive;
	ASSERT_EQ(item->Archive(&itemArchive), B_OK);
	delete item;
	Quiet([&] { item = dynamic_cast<WView*>(WView::Instantiate(&itemArchive)); });
	ASSERT_NE(item, nullptr);
	EXPECT_EQ(menu_labels(item),
		std::vector<std::string>({"Preferences", "Preset ", "Next", "Back to window"}));
	EXPECT_EQ(item->deskbarItem->Message()->what, (uint32)'wvid');
	delete item;
}
