/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Roster.h>

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <Looper.h>

#include <LooperRegistry.h>


using BPrivate::LooperRegistry;


static BRoster sRoster;
const BRoster* be_roster = &sRoster;


app_info::app_info() : thread(-1), team(-1), port(-1), flags(B_SINGLE_LAUNCH), ref()
{
	signature[0] = '\0';
}


app_info::~app_info() { }


BRoster::BRoster() { }


BRoster::~BRoster() { }


status_t
BRoster::GetAppInfo(const char* signature, app_info* info) const
{
	if (signature == NULL || info == NULL)
		return B_BAD_VALUE;

	BPrivate::AppInfo app;
	if (!LooperRegistry::Default().GetApp(signature, &app))
		return B_ERROR;

	info->thread = app.thread;
	info->team = getpid();
	info->port = app.looper;
	info->flags = app.flags;
	snprintf(info->signature, sizeof(info->signature), "%s", app.signature.c_str());

	// The executable the process runs
	char path[PATH_MAX];
	if (realpath("/proc/self/exe", path) == NULL || get_ref_for_path(path, &info->ref) != B_OK)
		info->ref = entry_ref();
	return B_OK;
}


bool
BRoster::IsRunning(const char* signature) const
{
	return signature != NULL && LooperRegistry::Default().GetApp(signature, NULL);
}


status_t
BPrivate::register_app_looper(const char* signature, BLooper* looper, uint32 flags)
{
	LooperRegistry& registry = LooperRegistry::Default();
	if (signature == NULL || looper == NULL)
		return registry.SetApp(NULL, B_NULL_TOKEN, 0);
	if (strlen(signature) >= B_MIME_TYPE_LENGTH)
		return B_BAD_VALUE;

	int32 token;
	if (!registry.FindLooper(looper, &token, NULL))
		return B_BAD_HANDLER;
	return registry.SetApp(signature, token, flags);
}
