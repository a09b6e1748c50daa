/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <sys/stat.h>

#include <set>
#include <string>

#include <MenuItem.h>
#include <PopUpMenu.h>

#include "wg_Tools.h"


class PresetMenusTest : public PrefsTest { };


// The settings window's two menus: the presets of the loaded file, and the preset files of
// the program's folder, each item with its own message.
TEST_F(PresetMenusTest, MenusListThePresetsAndThePresetFilesOfTheProgramsFolder)
{
	Prefs* prefs = Store();
	Quiet([] { SaveDefaultPresets(); });
	Quiet([&] { prefs->GetPresets(); });
	ASSERT_EQ(prefs->presetList->CountItems(), 5);

	BPopUpMenu presets("..not found");
	// Filling twice leaves only the items of the second fill.
	Quiet([&] {
		prefs->FillPopUpMenu(&presets);
		prefs->FillPopUpMenu(&presets);
	});
	ASSERT_EQ(presets.CountItems(), 5);
	for (int32 i = 0; i < 5; i++) {
		BMenuItem* item = presets.ItemAt(i);
		Preset* preset = (Preset*)prefs->presetList->ItemAt(i);
		EXPECT_STREQ(item->Label(), preset->TextAt(0));
		ASSERT_NE(item->Message(), nullptr);
		EXPECT_EQ(item->Message()->what, (uint32)'fSel');
		EXPECT_EQ(item->Message()->GetInt32("PresetNr", -1), i);
	}

	// Regular files whose names hold "Presets" are listed, folders and other files are not.
	WriteFile(fEnv.AppFolder() + "/MyPresets.txt", "");
	WriteFile(fEnv.AppFolder() + "/notes.txt", "");
	mkdir((fEnv.AppFolder() + "/Presets").c_str(), 0755);
	// (Not in radio mode, where marking an item takes the mark from the others.)
	BPopUpMenu files("..not found", false, false);
	std::string printed = Quiet([&] { prefs->ScanForPresets(&files); });
	ASSERT_EQ(files.CountItems(), 2) << printed;
	std::set<std::string> names;
	std::set<int32> numbers;
	for (int32 i = 0; i < files.CountItems(); i++) {
		BMenuItem* item = files.ItemAt(i);
		names.insert(item->Label());
		EXPECT_EQ(item->Message()->what, (uint32)'fSpf');
		EXPECT_STREQ(item->Message()->GetString("Filename", ""), item->Label());
		numbers.insert(item->Message()->GetInt32("SelPresetFile", -1));
		// Both names contain the current preset file's name "Presets.txt".
		EXPECT_TRUE(item->IsMarked()) << item->Label();
	}
	EXPECT_EQ(names, (std::set<std::string> {"Presets.txt", "MyPresets.txt"}));
	EXPECT_EQ(numbers, (std::set<int32> {0, 1}));
	EXPECT_NE(printed.find(" =nö= 'notes.txt'\n"), std::string::npos) << printed;
	EXPECT_NE(printed.find(" =nö= 'Presets'\n"), std::string::npos) << printed;
	EXPECT_NE(printed.find(" =Ja= 'MyPresets.txt'\n"), std::string::npos) << printed;
	// In radio mode the mark stays on the file that is loaded, whatever the folder's order.
	BPopUpMenu radio("..not found");
	Quiet([&] { prefs->ScanForPresets(&radio); });
	ASSERT_NE(radio.FindMarked(), nullptr);
	EXPECT_STREQ(radio.FindMarked()->Label(), "Presets.txt");

	// Another preset file marks only the items that contain its name; a folder that is gone
	// leaves the menu empty.
	prefs->PresetName = "MyPresets.txt";
	Quiet([&] { prefs->ScanForPresets(&files); });
	ASSERT_EQ(files.CountItems(), 2);
	for (int32 i = 0; i < files.CountItems(); i++) {
		EXPECT_EQ(
			files.ItemAt(i)->IsMarked(), std::string(files.ItemAt(i)->Label()) == "MyPresets.txt");
	}
	prefs->PathToApp.SetTo((fEnv.Root() + "/gone").c_str());
	printed = Quiet([&] { prefs->ScanForPresets(&files); });
	EXPECT_EQ(files.CountItems(), 0);
	EXPECT_NE(printed.find(" <preset_dir> Folder missing\n"), std::string::npos) << printed;
}
