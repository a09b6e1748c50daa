/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _APP_PRIVATE_H
#define _APP_PRIVATE_H


#include <OS.h>
#include <SupportDefs.h>

#include <string>
#include <vector>


class BLooper;


namespace BPrivate {


// The windows of the process, as BApplication asks them on quitting and counts them. A window
// registers itself when it is made and unregisters when it goes; one that is deleted without
// unregistering is simply skipped (the list holds messengers, never touches a dead looper).
void register_window_looper(BLooper* window);
void unregister_window_looper(BLooper* window);
int32 count_window_loopers();
// The window at the index, or NULL; the pointer may go stale as soon as the window quits.
BLooper* window_looper_at(int32 index);


// An application as the per-user registry of running applications knows it
struct RunningApp {
	std::string signature;
	team_id team = -1;
	thread_id thread = -1;
	uint32 flags = 0;
	std::string path;
};


// The folder of the per-user registry: $XDG_RUNTIME_DIR/haiku-roster, else
// <system temp folder>/haiku-roster-<uid>. Made (mode 0700) when it does not exist.
std::string roster_directory();

// Announces the application of this process to other processes (one file per running
// application, named after the process id), and remembers its executable under its signature
// for FindApp() and Launch().
status_t register_running_app(const char* signature, uint32 flags, thread_id thread);
// Removes this process's entry (only the process that wrote it does).
void unregister_running_app();

// A running application with the signature (NULL: any) and team (-1: any). Entries of processes
// that no longer exist are removed on the way.
bool find_running_app(const char* signature, team_id team, RunningApp* app);
// The executable last registered under the signature, running or not
bool find_known_app(const char* signature, std::string* path);

// Runs the executable detached from this process (in a session of its own, no zombie left
// behind) with the arguments after its path; the new process's id goes to team. With an
// output file, the process reads nothing and its output is appended to that file.
status_t launch_detached(const char* path, const std::vector<std::string>& arguments,
	team_id* team = NULL, const char* output = NULL);


} // namespace BPrivate


#endif // _APP_PRIVATE_H
