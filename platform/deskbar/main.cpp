/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The Deskbar host: BDeskbar starts it when an item is first added.


#include "DeskbarHost.h"


int
main()
{
	DeskbarHost* host = new DeskbarHost();
	host->Run();
	host->Shutdown();
	delete host;
	return 0;
}
