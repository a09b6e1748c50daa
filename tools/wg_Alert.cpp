/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>


static const char* kProgramName = "Web-Grazer ";
static const char* kVersion = "Vers.: 130113";


// Until the windows can show an alert, the text goes to standard output.
void
DoAlert(const char* text)
{
	char composed[512];
	snprintf(composed, sizeof(composed), "%s\n%s  %s\n", kProgramName, kVersion,
		text != NULL ? text : "");
	printf("%s", composed);
}
