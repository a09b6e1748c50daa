/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>

#include <AppDefs.h>
#include <Application.h>
#include <Entry.h>
#include <FindDirectory.h>
#include <Looper.h>
#include <MessageQueue.h>
#include <OS.h>
#include <Path.h>

#include "wg_Prefs.h"


static const char* kScratchFile = "wg_answer.txt";
static const size_t kMaxPathLength = 1023;

// A download that takes longer than this, on the wall clock, has failed; so has a page larger
// than the cap (far above any real page).
static const int kDownloadSeconds = 45;
static const rlim_t kMaxPageSize = 32 * 1024 * 1024;
// How often a running download looks at the clock and at what the program was asked, and how
// long the command may take to end when it is told to.
static const int kDownloadPollMs = 20;
static const int kDownloadGraceMs = 1000;

// Set when the program is asked to quit: running downloads stop at once.
static std::atomic<bool> sAbortDownloads(false);


static bool
is_directory(const char* path)
{
	BEntry entry(path, true);
	return entry.IsDirectory();
}


const char*
GetPathWG(const char* base, const char* name1, const char* name2)
{
	static BString sResult;

	if (base == NULL) {
		printf(" :: missing ord\n");
		return NULL;
	}

	if (!is_directory(base)) {
		// Create the folder level by level.
		BString path(base);
		path << "/";
		for (int32 slash = path.FindFirst('/', 1); slash >= 0;
			 slash = path.FindFirst('/', slash + 1)) {
			BString prefix(path.String(), slash);
			printf(" %" B_PRId32, slash);
			printf(" - %s ", prefix.String());
			if (!is_directory(prefix.String())) {
				mkdir(prefix.String(), 0755);
				printf(">>buildet");
			} else
				printf(">>ok");
			printf("\n");
		}
	}

	sResult = base;
	sResult << "/";
	if (name1 != NULL)
		sResult << name1;
	if (name2 != NULL)
		sResult << name2;
	return sResult.String();
}


BString
ScratchPath()
{
	BPath var;
	if (find_directory(B_SYSTEM_VAR_DIRECTORY, &var) != B_OK)
		return BString();
	const char* folder = GetPathWG(var.Path(), NULL, NULL);
	BString path(folder != NULL ? folder : "");
	path << kScratchFile;
	return path;
}


BString
ShellQuoted(const char* text)
{
	BString quoted(text != NULL ? text : "");
	quoted.ReplaceAll("'", "'\\''");
	quoted.Prepend("'");
	quoted.Append("'");
	return quoted;
}


// A page address is a local file when it names something in a home folder or starts at
// the root of the file system.
static bool
is_local_file(const char* url)
{
	if (strstr(url, "boot/home") != NULL || url[0] == '/')
		return true;
	BPath home;
	return find_directory(B_USER_DIRECTORY, &home) == B_OK && strcmp(home.Path(), "/") != 0
		&& strstr(url, home.Path()) != NULL;
}


void
AbortDownloads(bool abort)
{
	sAbortDownloads = abort;
}


static int64
monotonic_ms()
{
	struct timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (int64)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}


// Whether the looper holds a request to quit: B_QUIT_REQUESTED, or the view's "Quit".
static bool
quit_is_queued(BLooper* looper)
{
	BMessageQueue* queue = looper != NULL ? looper->MessageQueue() : NULL;
	if (queue == NULL || !queue->Lock())
		return false;
	bool waiting = queue->FindMessage((uint32)B_QUIT_REQUESTED) != NULL
		|| queue->FindMessage((uint32)'wvqu') != NULL;
	queue->Unlock();
	return waiting;
}


// Whether the program was asked to quit while the download runs: the window whose thread
// runs it by its close box or the view's "Quit", or the application by a signal before it
// runs (the first update runs while the main window is made).
static bool
quit_is_waiting()
{
	return quit_is_queued(BLooper::LooperForThread(find_thread(NULL))) || quit_is_queued(be_app);
}


// Ends the command and everything it started (its process group).
static void
end_command(pid_t child, int* status)
{
	killpg(child, SIGTERM);
	for (int64 end = monotonic_ms() + kDownloadGraceMs; monotonic_ms() < end;) {
		if (waitpid(child, status, WNOHANG) == child)
			break;
		poll(NULL, 0, kDownloadPollMs);
	}
	killpg(child, SIGKILL);
	while (waitpid(child, status, 0) < 0 && errno == EINTR) {
	}
}


// Runs the command through the shell as system() would, in a process group of its own and
// with the size of the files it writes capped. It ends, and with it everything it started,
// when it runs past the deadline or the program is asked to quit. Returns the wait status,
// or -1 when the command could not run or was ended.
static int
run_download(const char* command)
{
	pid_t child = fork();
	if (child < 0)
		return -1;
	if (child == 0) {
		setpgid(0, 0);
		struct rlimit limit = {kMaxPageSize, kMaxPageSize};
		setrlimit(RLIMIT_FSIZE, &limit);
		sigset_t none;
		sigemptyset(&none);
		sigprocmask(SIG_SETMASK, &none, NULL);
		// The group is not the terminal's foreground group: on a terminal set to stop
		// background writers ("stty tostop") the tools' progress lines would stop them
		// until the deadline.
		signal(SIGTTOU, SIG_IGN);
		execl("/bin/sh", "sh", "-c", command, (char*)NULL);
		_exit(127);
	}
	setpgid(child, child);

	int64 deadline = monotonic_ms() + kDownloadSeconds * 1000;
	int status = 0;
	for (;;) {
		pid_t done = waitpid(child, &status, WNOHANG);
		if (done == child)
			return status;
		if (done < 0 && errno != EINTR)
			return -1;
		const char* reason = NULL;
		if (sAbortDownloads || quit_is_waiting())
			reason = "the program quits";
		else if (monotonic_ms() > deadline)
			reason = "it took too long";
		if (reason != NULL) {
			printf(" download stopped: %s\n", reason);
			end_command(child, &status);
			return -1;
		}
		poll(NULL, 0, kDownloadPollMs);
	}
}


void
XDownloadUrl(const char* url)
{
	printf(" = DownloadUrl() =\n");
	Prefs* prefs = Prefs::getSTPrefs();
	if (!prefs->wget_avalibel) {
		printf("Can't wget, missing! \b\n");
		return;
	}

	prefs->pageLoaded = false;
	BString scratch = ScratchPath();
	if (url == NULL || scratch.Length() == 0 || scratch.Length() > (int32)kMaxPathLength) {
		printf(" no page to fetch into '%s'\n", scratch.String());
		return;
	}
	// An address that begins like an option would be read as one by the tools.
	if (url[0] == '-') {
		printf(" not an address: '%s'\n", url);
		return;
	}

	BString command;
	if (is_local_file(url)) {
		if (strlen(url) > kMaxPathLength) {
			printf(" path too long: '%s'\n", url);
			return;
		}
		command << "cp -v " << ShellQuoted(url) << " " << ShellQuoted(scratch.String());
	} else {
		BPath wget;
		if (find_directory(B_SYSTEM_BIN_DIRECTORY, &wget) != B_OK || wget.Append("wget") != B_OK) {
			printf("Can't wget, missing! \b\n");
			return;
		}
		BString address(url);
		address.ReplaceAll(" ", "%20");
		command << ShellQuoted(wget.Path()) << " -O " << ShellQuoted(scratch.String());
		if (prefs->opUseCertOption)
			command << " --no-check-certificate";
		command << " -T4 " << ShellQuoted(address.String());
	}

	printf("%s\n", command.String());
	int result = run_download(command.String());
	printf("..After system %d..\n", result);
	snooze(5000);

	// Only a command that ran and exited with 0 delivered the page: the result is a wait
	// status, so any exit code but 0 makes it greater than 3. (A page over the size cap
	// makes the tool fail.)
	if (result == -1 || !WIFEXITED(result) || WEXITSTATUS(result) != 0) {
		printf(" download failed: %s\n", url);
		return;
	}

	prefs->pageLoaded = true;
	AddBreaksInFile(scratch.String());
	ReplaceCriticals(scratch.String());
	TagCounter(scratch.String());
}


void
ReceiveX_wget(const char* url, BList* patternList, BList* labelList, BList* valueList)
{
	printf(" = ReceiveX_wget =\n");
	if (valueList == NULL) {
		printf(" -NO Values-BList ");
		return;
	}
	if (labelList == NULL) {
		printf(" -NO Titels-BList ");
		return;
	}
	if (patternList == NULL) {
		printf(" -NO fSearch-BList ");
		return;
	}

	Prefs* prefs = Prefs::getSTPrefs();
	if (!prefs->wget_avalibel) {
		printf("Can't wget, missing! \b\n");
		return;
	}

	BString scratch = ScratchPath();
	if (prefs->settWindowOpen)
		printf("#DON'T EXEC: %s\n", url != NULL ? url : "");
	else
		XDownloadUrl(url);

	ExtractContent(scratch.String(), patternList, labelList, valueList);

	snooze(5000);
	snooze(50000);
	printf("\n = ReceiveX_wget end =\n");
}
