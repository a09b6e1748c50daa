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
	~BLocaleRoster();

	static BLocaleRoster* Default();

	// The catalog of the calling image in the user's language
	BCatalog* GetCatalog();

protected:
	BLocaleRoster();

private:
	BCatalog* fCatalog;
};


#endif // _LOCALE_ROSTER_H
