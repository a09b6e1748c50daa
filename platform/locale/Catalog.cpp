/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Catalog.h>
#include <LocaleRoster.h>


BCatalog::BCatalog() { }


BCatalog::~BCatalog() { }


const char*
BCatalog::GetString(const char* string, const char* context, const char* comment)
{
	(void)context;
	(void)comment;
	return string;
}


status_t
BCatalog::InitCheck() const
{
	return B_OK;
}


BLocaleRoster::BLocaleRoster() : fCatalog(new BCatalog()) { }


BLocaleRoster::~BLocaleRoster()
{
	delete fCatalog;
}


BLocaleRoster*
BLocaleRoster::Default()
{
	static BLocaleRoster sRoster;
	return &sRoster;
}


BCatalog*
BLocaleRoster::GetCatalog()
{
	return fCatalog;
}
