/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The input is the preset file; the settings store reads it and every text of every preset
// is read back.


#include <stdlib.h>
#include <string.h>

#include "FuzzEnv.h"
#include "wg_Prefs.h"


static std::string sPresetPath;


extern "C" int
LLVMFuzzerInitialize(int*, char***)
{
	FuzzSetUp();
	Prefs* prefs = Prefs::getSTPrefs();
	sPresetPath = std::string(prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "") + "/"
		+ prefs->PresetName.String();
	return 0;
}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (!FuzzWriteFile(sPresetPath, data, size))
		abort();

	Prefs* prefs = Prefs::getSTPrefs();
	prefs->GetPresets();

	size_t total = 0;
	for (int32 i = 0; i < prefs->presetList->CountItems(); i++) {
		Preset* preset = (Preset*)prefs->presetList->ItemAt(i);
		for (int32 j = 0; j < preset->CountPairs() * 2; j++) {
			const char* text = preset->TextAt(j);
			if (text == NULL)
				abort();
			total += strlen(text);
		}
	}
	// Nobody selects from these presets: they can go at once.
	prefs->ReleaseRetiredPresets();
	// Every text is a piece of one line of the file.
	if (total > size)
		abort();
	return 0;
}
