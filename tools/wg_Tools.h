/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_TOOLS_H
#define _WG_TOOLS_H


#include <stdio.h>

#include <SupportDefs.h>


// The built-in presets: host name, page address, then label and search pattern pairs,
// closed by a NULL entry. A NULL pattern is written as " !empty! ".
extern const char* DefaultPresetA[];
extern const char* DefaultPresetB[];
extern const char* DefaultPresetC[];
extern const char* DefaultPresetD[];
extern const char* DefaultPresetE[];

// Writes one built-in preset as header, pair lines and trailer.
void SaveSinglePresets(FILE* stream, const char** table);

// Both write the built-in presets A to E into "Presets.txt" of the program's folder.
void SaveDefaultPresets();
void SavePresets();


#endif // _WG_TOOLS_H
