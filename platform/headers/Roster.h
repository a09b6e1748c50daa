/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _ROSTER_H
#define _ROSTER_H


#include <Entry.h>
#include <Messenger.h>
#include <OS.h>


class BLooper;
class BMessage;


// Application flags
#define B_SINGLE_LAUNCH (0x0)
#define B_MULTIPLE_LAUNCH (0x1)
#define B_EXCLUSIVE_LAUNCH (0x2)
#define B_LAUNCH_MASK (0x3)
#define B_BACKGROUND_APP (0x4)
#define B_ARGV_ONLY (0x8)


struct app_info {
	app_info();
	~app_info();

	thread_id thread;
	team_id team;
	port_id port;
	uint32 flags;
	entry_ref ref;
	char signature[B_MIME_TYPE_LENGTH];
};


// Knows the running applications: the application of this process, once it has registered
// itself (BPrivate::register_app_looper()), and those of the user's other processes through a
// per-user registry that every BApplication announces itself in.
class BRoster {
public:
	BRoster();
	~BRoster();

	// B_ERROR when no application with the signature runs
	status_t GetAppInfo(const char* signature, app_info* info) const;
	status_t GetRunningAppInfo(team_id team, app_info* info) const;
	bool IsRunning(const char* signature) const;
	// The team of a running application with the signature, or B_ERROR
	team_id TeamFor(const char* signature) const;

	// The executable last registered under the signature (B_LAUNCH_FAILED_APP_NOT_FOUND:
	// none)
	status_t FindApp(const char* mimeType, entry_ref* app) const;
	// Starts the executable registered under the signature, detached. A running application
	// gives B_ALREADY_RUNNING (and, when it is this process's, gets the message).
	status_t Launch(
		const char* mimeType, BMessage* initialMessage = NULL, team_id* appTeam = NULL) const;
	status_t Launch(
		const char* mimeType, int argc, const char* const* args, team_id* appTeam = NULL) const;
};


extern const BRoster* be_roster;


namespace BPrivate {

// The application registers its looper under its signature, so that BMessenger(signature),
// BRoster::GetAppInfo() and IsRunning() find it, and replies without an address go to it (the
// way they go to be_app_messenger on Haiku). A NULL looper or signature unregisters it; it is
// also forgotten when the looper is deleted. Returns B_BAD_VALUE for a signature longer than
// B_MIME_TYPE_LENGTH - 1, B_BAD_HANDLER for a looper that no longer exists.
status_t register_app_looper(const char* signature, BLooper* looper, uint32 flags = 0);

} // namespace BPrivate


#endif // _ROSTER_H
