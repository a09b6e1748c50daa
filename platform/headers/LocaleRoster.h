/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _LOCALE_ROSTER_H
#define _LOCALE_ROSTER_H


#include <pthread.h>

#include <Entry.h>
#include <String.h>


class BCatalog;


class BLocaleRoster {
public:
	static BLocaleRoster* Default();

	BCatalog* GetCatalog();

private:
	BLocaleRoster();
	~BLocaleRoster();

	BCatalog* fCatalog;
};


#endif // _LOCALE_ROSTER_H
