/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Roster.h>

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>

#include <AppPrivate.h>
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


// Fills in the ref of an executable; an empty ref when the path does not resolve.
static void
set_ref_for_path(const char* path, entry_ref* ref)
{
	char resolved[PATH_MAX];
	if (path == NULL || realpath(path, resolved) == NULL || get_ref_for_path(resolved, ref) != B_OK)
		*ref = entry_ref();
}


static void
info_from_running_app(const BPrivate::RunningApp& app, app_info* info)
{
	info->thread = app.thread;
	info->team = app.team;
	info->port = -1;
	info->flags = app.flags;
	snprintf(info->signature, sizeof(info->signature), "%s", app.signature.c_str());
	set_ref_for_path(app.path.c_str(), &info->ref);
}


// The application of this process, if it has registered (under the signature, when one is
// given)
static bool
get_local_app_info(const char* signature, app_info* info)
{
	BPrivate::AppInfo app;
	if (!LooperRegistry::Default().GetApp(signature, &app))
		return false;
	if (info == NULL)
		return true;

	info->thread = app.thread >= 0 ? app.thread : getpid();
	info->team = getpid();
	info->port = app.looper;
	info->flags = app.flags;
	snprintf(info->signature, sizeof(info->signature), "%s", app.signature.c_str());
	set_ref_for_path("/proc/self/exe", &info->ref);
	return true;
}


status_t
BRoster::GetAppInfo(const char* signature, app_info* info) const
{
	if (signature == NULL || info == NULL)
		return B_BAD_VALUE;
	if (get_local_app_info(signature, info))
		return B_OK;

	BPrivate::RunningApp app;
	if (!BPrivate::find_running_app(signature, -1, &app))
		return B_ERROR;
	info_from_running_app(app, info);
	return B_OK;
}


status_t
BRoster::GetRunningAppInfo(team_id team, app_info* info) const
{
	if (info == NULL || team < 0)
		return B_BAD_VALUE;
	if (team == getpid() && get_local_app_info(NULL, info))
		return B_OK;

	BPrivate::RunningApp app;
	if (!BPrivate::find_running_app(NULL, team, &app))
		return B_BAD_TEAM_ID;
	info_from_running_app(app, info);
	return B_OK;
}


bool
BRoster::IsRunning(const char* signature) const
{
	if (signature == NULL)
		return false;
	return LooperRegistry::Default().GetApp(signature, NULL)
		|| BPrivate::find_running_app(signature, -1, NULL);
}


team_id
BRoster::TeamFor(const char* signature) const
{
	app_info info;
	if (GetAppInfo(signature, &info) != B_OK)
		return B_ERROR;
	return info.team;
}


status_t
BRoster::FindApp(const char* mimeType, entry_ref* app) const
{
	if (mimeType == NULL || app == NULL)
		return B_BAD_VALUE;

	std::string path;
	if (get_local_app_info(mimeType, NULL))
		path = "/proc/self/exe";
	else if (!BPrivate::find_known_app(mimeType, &path))
		return B_LAUNCH_FAILED_APP_NOT_FOUND;

	set_ref_for_path(path.c_str(), app);
	return app->name != NULL ? B_OK : B_LAUNCH_FAILED_APP_NOT_FOUND;
}


// Runs the executable detached from this process (through an intermediate child, so that
// no zombie is left behind); returns the new process's id.
status_t
BPrivate::launch_detached(
	const char* path, const std::vector<std::string>& arguments, team_id* team, const char* output)
{
	if (access(path, X_OK) != 0)
		return B_LAUNCH_FAILED_EXECUTABLE;

	// A process that outlives this one writes to its own file, not to our terminal.
	int input = -1;
	int outputFile = -1;
	if (output != NULL) {
		input = open("/dev/null", O_RDONLY | O_CLOEXEC);
		outputFile = open(output, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
		if (input < 0 || outputFile < 0) {
			if (input >= 0)
				close(input);
			if (outputFile >= 0)
				close(outputFile);
			return B_LAUNCH_FAILED;
		}
	}

	// Everything the children need is made before fork(): they only call what is safe in a
	// child of a process with threads.
	std::vector<char*> argv;
	argv.push_back(const_cast<char*>(path));
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(NULL);

	int fds[2];
	if (pipe2(fds, O_CLOEXEC) != 0) {
		status_t status = _be_status_from_errno(errno);
		if (outputFile >= 0) {
			close(input);
			close(outputFile);
		}
		return status;
	}

	pid_t child = fork();
	if (child < 0) {
		status_t status = _be_status_from_errno(errno);
		for (int fd : {fds[0], fds[1], input, outputFile}) {
			if (fd >= 0)
				close(fd);
		}
		return status;
	}
	if (child == 0) {
		setsid();
		pid_t grandchild = fork();
		if (grandchild == 0) {
			if (outputFile >= 0) {
				dup2(input, STDIN_FILENO);
				dup2(outputFile, STDOUT_FILENO);
				dup2(outputFile, STDERR_FILENO);
			}
			execv(path, argv.data());
			_exit(127);
		}
		ssize_t written = write(fds[1], &grandchild, sizeof(grandchild));
		_exit(written == sizeof(grandchild) && grandchild > 0 ? 0 : 1);
	}

	close(fds[1]);
	if (outputFile >= 0) {
		close(input);
		close(outputFile);
	}
	pid_t launched = -1;
	ssize_t length;
	do
		length = read(fds[0], &launched, sizeof(launched));
	while (length < 0 && errno == EINTR);
	close(fds[0]);
	while (waitpid(child, NULL, 0) < 0 && errno == EINTR) {
	}

	if (length != sizeof(launched) || launched <= 0)
		return B_LAUNCH_FAILED;
	if (team != NULL)
		*team = launched;
	return B_OK;
}


static status_t
launch(const BRoster* roster, const char* mimeType, BMessage* message,
	const std::vector<std::string>& arguments, team_id* team)
{
	if (mimeType == NULL)
		return B_BAD_VALUE;

	app_info info;
	if (roster->GetAppInfo(mimeType, &info) == B_OK) {
		if (team != NULL)
			*team = info.team;
		// Only this process's application can be reached with a message.
		if (message != NULL && info.team == getpid())
			BMessenger(mimeType).SendMessage(message);
		return B_ALREADY_RUNNING;
	}

	std::string path;
	if (!BPrivate::find_known_app(mimeType, &path))
		return B_LAUNCH_FAILED_APP_NOT_FOUND;
	return BPrivate::launch_detached(path.c_str(), arguments, team);
}


status_t
BRoster::Launch(const char* mimeType, BMessage* initialMessage, team_id* appTeam) const
{
	return launch(this, mimeType, initialMessage, std::vector<std::string>(), appTeam);
}


status_t
BRoster::Launch(const char* mimeType, int argc, const char* const* args, team_id* appTeam) const
{
	std::vector<std::string> arguments;
	// As on Haiku, args[0] is the program's name and is replaced by the executable's path.
	for (int i = 1; args != NULL && i < argc; i++) {
		if (args[i] != NULL)
			arguments.push_back(args[i]);
	}
	return launch(this, mimeType, NULL, arguments, appTeam);
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
