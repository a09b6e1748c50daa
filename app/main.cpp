/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <stdio.h>

#include "wg_Gui.h"


int
main(int, char**)
{
	printf("\n\n\n\n-Webgrazer_GUI begin- %s\n", "(Haiku)");
	DSApplication application;
	application.Run();
	printf("\n-Webgrazer_GUI end-\n");
	return 0;
}
