/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Prefs.h"

#include <stdio.h>
#include <string.h>

#include <Autolock.h>
#include <Directory.h>
#include <Entry.h>
#include <MenuItem.h>
#include <PopUpMenu.h>

#include "wg_Tools.h"


static void
empty_menu(BPopUpMenu* menu)
{
	for (int32 i = menu->CountItems() - 1; i >= 0; i--)
		delete menu->RemoveItem(i);
}


void
Prefs::FillPopUpMenu(BPopUpMenu* menu)
{
	if (menu == NULL)
		return;
	BMessage templateMessage('fSel');
	templateMessage.AddInt32("PresetNr", 0);
	empty_menu(menu);

	{
		BAutolock lock(presetLock);
		for (int32 i = 0; presetList != NULL && i < presetList->CountItems(); i++) {
			Preset* preset = (Preset*)presetList->ItemAt(i);
			if (preset == NULL)
				continue;
			templateMessage.ReplaceInt32("PresetNr", i);
			const char* label = preset->TextAt(0);
			menu->AddItem(new BMenuItem(label != NULL ? label : "", new BMessage(templateMessage)));
		}
	}

	if (menu->CountItems() == 0)
		DoAlert(" FillPopUpMenu() keine prefs-Presetlist ?");
}


void
Prefs::ScanForPresets(BPopUpMenu* menu)
{
	if (menu == NULL)
		return;
	BMessage templateMessage('fSpf');
	templateMessage.AddInt32("SelPresetFile", 0);
	templateMessage.AddString("Filename", "---");
	empty_menu(menu);
	printf("clear after %ld \n", (long)menu->CountItems());

	BDirectory folder(PathToApp.Path());
	if (folder.InitCheck() != B_OK) {
		printf(" <preset_dir> Folder missing\n\n");
		return;
	}
	int32 count = folder.CountEntries();
	printf(">preset_folder has %ld Entries\n", (long)count);
	if (count <= 0) {
		printf(" no preset items !\n\n");
		return;
	}

	folder.Rewind();
	int32 listed = 0;
	BMenuItem* current = NULL;
	BEntry entry;
	while (folder.GetNextEntry(&entry, false) == B_OK) {
		char name[B_FILE_NAME_LENGTH];
		if (entry.GetName(name) != B_OK)
			continue;
		if (!entry.IsFile() || strstr(name, "Presets") == NULL) {
			printf(" =nö= '%s'\n", name);
			continue;
		}
		printf(" =Ja= '%s'\n", name);
		templateMessage.ReplaceInt32("SelPresetFile", listed++);
		templateMessage.ReplaceString("Filename", name);
		BMenuItem* item = new BMenuItem(name, new BMessage(templateMessage));
		menu->AddItem(item);
		if (strstr(name, PresetName.String()) != NULL)
			item->SetMarked(true);
		if (PresetName == name)
			current = item;
	}
	// Where only one item can be marked, it is the file that is loaded.
	if (current != NULL)
		current->SetMarked(true);
}
