/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Application.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <Clipboard.h>
#include <Message.h>
#include <MessageRunner.h>
#include <Roster.h>
#include <Window.h>

#include <AppPrivate.h>
#include <LooperRegistry.h>


BApplication* be_app = NULL;
BMessenger be_app_messenger;


namespace {


const bigtime_t kSignalDeliveryTimeout = 1000000;


// The windows of the process, by messenger, so that a window deleted without unregistering
// is found gone instead of touched.
struct WindowList {
	std::mutex lock;
	std::vector<std::pair<BLooper*, BMessenger>> windows;

	// Forgets the windows that no longer exist; call with the lock held.
	void
	Prune()
	{
		for (size_t i = windows.size(); i > 0; i--) {
			if (!windows[i - 1].second.IsValid())
				windows.erase(windows.begin() + (i - 1));
		}
	}
};


WindowList&
window_list()
{
	static WindowList* sList = new WindowList;
	return *sList;
}


bool
window_messenger_at(int32 index, BMessenger* messenger)
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> lock(list.lock);
	list.Prune();
	if (index < 0 || index >= static_cast<int32>(list.windows.size()))
		return false;
	*messenger = list.windows[index].second;
	return true;
}


// SIGINT and SIGTERM: the handler only writes a byte into a pipe; a small thread reads it
// and posts B_QUIT_REQUESTED to the application. The pipe lives as long as the process, so
// a late signal never writes into a descriptor that was closed and reused.
const char kSignalQuit = 'q';
const char kSignalStop = 's';

int sSignalPipe[2] = {-1, -1};
std::atomic<int> sSignalWriteFd(-1);
std::once_flag sSignalPipeOnce;
struct sigaction sOldInterrupt;
struct sigaction sOldTerminate;
std::thread* sSignalThread = NULL;


void
quit_signal_handler(int)
{
	int fd = sSignalWriteFd.load();
	if (fd < 0)
		return;
	int savedErrno = errno;
	ssize_t written = write(fd, &kSignalQuit, 1);
	(void)written;
	errno = savedErrno;
}


void
signal_thread(BMessenger application)
{
	while (true) {
		struct pollfd poller = {sSignalPipe[0], POLLIN, 0};
		if (poll(&poller, 1, -1) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		char command;
		ssize_t length = read(sSignalPipe[0], &command, 1);
		if (length < 0 && (errno == EINTR || errno == EAGAIN))
			continue;
		if (length <= 0 || command == kSignalStop)
			return;
		BMessage quit(B_QUIT_REQUESTED);
		application.SendMessage(&quit, static_cast<BHandler*>(NULL), kSignalDeliveryTimeout);
	}
}


// A MIME type "application/<subtype>", in the characters MIME allows
bool
is_valid_app_signature(const char* signature)
{
	static const char kSuperType[] = "application/";
	if (signature == NULL)
		return false;
	size_t length = strnlen(signature, B_MIME_TYPE_LENGTH);
	if (length >= B_MIME_TYPE_LENGTH || length <= sizeof(kSuperType) - 1)
		return false;
	if (strncasecmp(signature, kSuperType, sizeof(kSuperType) - 1) != 0)
		return false;

	for (const char* c = signature + sizeof(kSuperType) - 1; *c != '\0'; c++) {
		unsigned char character = static_cast<unsigned char>(*c);
		if (character <= ' ' || character >= 127 || strchr("()<>@,;:\\\"/[]?=", character) != NULL)
			return false;
	}
	return true;
}


} // namespace


//	#pragma mark - Window registry


void
BPrivate::register_window_looper(BLooper* window)
{
	if (window == NULL)
		return;
	BMessenger messenger(window, window);
	WindowList& list = window_list();
	std::lock_guard<std::mutex> lock(list.lock);
	list.Prune();
	for (auto& entry : list.windows) {
		if (entry.first == window) {
			entry.second = messenger;
			return;
		}
	}
	list.windows.emplace_back(window, messenger);
}


void
BPrivate::unregister_window_looper(BLooper* window)
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> lock(list.lock);
	for (size_t i = 0; i < list.windows.size(); i++) {
		if (list.windows[i].first == window) {
			list.windows.erase(list.windows.begin() + i);
			break;
		}
	}
}


int32
BPrivate::count_window_loopers()
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> lock(list.lock);
	list.Prune();
	return static_cast<int32>(list.windows.size());
}


BLooper*
BPrivate::window_looper_at(int32 index)
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> lock(list.lock);
	list.Prune();
	if (index < 0 || index >= static_cast<int32>(list.windows.size()))
		return NULL;
	return list.windows[index].first;
}


//	#pragma mark - BApplication


BApplication::BApplication(const char* signature)
	: BLooper("application"), fInitError(B_NO_INIT), fPulseRunner(NULL), fPulseRate(0),
	  fReadyToRunCalled(false)
{
	_InitData(signature, NULL);
}


BApplication::BApplication(const char* signature, status_t* error)
	: BLooper("application"), fInitError(B_NO_INIT), fPulseRunner(NULL), fPulseRate(0),
	  fReadyToRunCalled(false)
{
	_InitData(signature, error);
}


void
BApplication::_InitData(const char* signature, status_t* error)
{
	fSignature[0] = '\0';

	if (be_app != NULL) {
		fprintf(stderr, "BApplication: there is one already; only one is allowed\n");
		fInitError = B_ERROR;
	} else if (!is_valid_app_signature(signature)) {
		fprintf(stderr,
			"bad signature (%s), must begin with \"application/\" and be a valid MIME type\n",
			signature != NULL ? signature : "NULL");
		fInitError = B_BAD_VALUE;
	} else {
		snprintf(fSignature, sizeof(fSignature), "%s", signature);
		fInitError = BPrivate::register_app_looper(fSignature, this, B_MULTIPLE_LAUNCH);
	}

	if (error != NULL)
		*error = fInitError;
	if (fInitError != B_OK) {
		if (error == NULL)
			exit(0);
		return;
	}

	be_app = this;
	be_app_messenger = BMessenger(NULL, this);
	be_clipboard = new BClipboard(NULL);

	// Other processes learn of it; the application works without it.
	status_t status = BPrivate::register_running_app(fSignature, B_MULTIPLE_LAUNCH, getpid());
	if (status != B_OK) {
		fprintf(stderr, "BApplication: cannot announce \"%s\" to other processes: %s\n", fSignature,
			strerror(status));
	}

	// What the loop sees first, as on Haiku
	_PostArgv();
	PostMessage(B_READY_TO_RUN, this);

	// From now on SIGINT and SIGTERM ask the application to quit, also while the program
	// still builds its windows before Run().
	_InstallSignalHandlers();
}


BApplication::~BApplication()
{
	_RemoveSignalHandlers();
	Lock();
	if (fInitError == B_OK)
		_QuitAllWindows(true);

	delete fPulseRunner;
	fPulseRunner = NULL;

	if (be_app == this) {
		BPrivate::register_app_looper(NULL, NULL);
		BPrivate::unregister_running_app();
		be_app = NULL;
		be_app_messenger = BMessenger();
		delete be_clipboard;
		be_clipboard = NULL;
	}
}


status_t
BApplication::InitCheck() const
{
	return fInitError;
}


// The command line, as Haiku hands it to ArgvReceived(): only when there are arguments
void
BApplication::_PostArgv()
{
	int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return;
	std::string line;
	char buffer[4096];
	ssize_t length;
	while (line.size() < 1024 * 1024 && (length = read(fd, buffer, sizeof(buffer))) != 0) {
		if (length < 0) {
			if (errno == EINTR)
				continue;
			break;
		}
		line.append(buffer, length);
	}
	close(fd);

	std::vector<std::string> arguments;
	size_t start = 0;
	while (start < line.size()) {
		size_t end = line.find('\0', start);
		if (end == std::string::npos)
			end = line.size();
		arguments.push_back(line.substr(start, end - start));
		start = end + 1;
	}
	if (arguments.size() < 2)
		return;

	BMessage message(B_ARGV_RECEIVED);
	message.AddInt32("argc", static_cast<int32>(arguments.size()));
	for (const std::string& argument : arguments)
		message.AddString("argv", argument.c_str());
	char cwd[B_PATH_NAME_LENGTH];
	if (getcwd(cwd, sizeof(cwd)) != NULL)
		message.AddString("cwd", cwd);
	PostMessage(&message, this);
}


thread_id
BApplication::Run()
{
	if (fInitError != B_OK)
		return fInitError;
	if (_IsRunCalled()) {
		fprintf(stderr, "BApplication::Run(): the application runs already\n");
		return B_ERROR;
	}

	thread_id thread = _RunLoopOnCurrentThread();

	delete fPulseRunner;
	fPulseRunner = NULL;
	return thread;
}


void
BApplication::Quit()
{
	bool unlock = false;
	if (!IsLocked()) {
		fprintf(stderr, "ERROR - you must Lock the application object before calling Quit()\n");
		if (!Lock())
			return;
		unlock = true;
	}

	if (!_IsRunCalled()) {
		// Not running: there is no loop to end, and the application is not deleted here:
		// its maker does that.
		_SetTerminating();
	} else if (find_thread(NULL) != Thread()) {
		// The loop ends when it comes to the quit message.
		while (PostMessage(_QUIT_, this) == B_WOULD_BLOCK)
			snooze(10000);
	} else {
		_SetTerminating();
	}

	if (unlock)
		Unlock();
}


//	#pragma mark - Hooks


bool
BApplication::QuitRequested()
{
	return _QuitAllWindows(false);
}


void
BApplication::ReadyToRun()
{ }


void
BApplication::ArgvReceived(int32, char**)
{ }


void
BApplication::RefsReceived(BMessage*)
{ }


void
BApplication::AppActivated(bool)
{ }


void
BApplication::AboutRequested()
{ }


void
BApplication::Pulse()
{ }


void
BApplication::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}


void
BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler != this) {
		BLooper::DispatchMessage(message, handler);
		return;
	}

	switch (message->what) {
	case B_ARGV_RECEIVED: {
		int32 count = 0;
		const char* argument;
		while (message->FindString("argv", count, &argument) == B_OK)
			count++;
		if (count == 0)
			break;
		std::vector<char*> argv(count + 1, NULL);
		for (int32 i = 0; i < count; i++) {
			message->FindString("argv", i, &argument);
			argv[i] = const_cast<char*>(argument);
		}
		ArgvReceived(count, argv.data());
		break;
	}

	case B_REFS_RECEIVED:
		RefsReceived(message);
		break;

	case B_READY_TO_RUN:
		if (!fReadyToRunCalled) {
			ReadyToRun();
			fReadyToRunCalled = true;
		}
		break;

	case B_ABOUT_REQUESTED:
		AboutRequested();
		break;

	case B_PULSE:
		Pulse();
		break;

	case B_APP_ACTIVATED: {
		bool active;
		if (message->FindBool("active", &active) == B_OK)
			AppActivated(active);
		break;
	}

	default:
		BLooper::DispatchMessage(message, handler);
		break;
	}
}


//	#pragma mark - Pulse, windows, information


void
BApplication::SetPulseRate(bigtime_t rate)
{
	if (rate < 0)
		rate = 0;
	fPulseRate = rate;

	if (rate == 0) {
		delete fPulseRunner;
		fPulseRunner = NULL;
		return;
	}
	if (fPulseRunner != NULL && fPulseRunner->SetInterval(rate) == B_OK)
		return;

	delete fPulseRunner;
	BMessage pulse(B_PULSE);
	fPulseRunner = new BMessageRunner(BMessenger(this), &pulse, rate);
	if (fPulseRunner->InitCheck() != B_OK) {
		delete fPulseRunner;
		fPulseRunner = NULL;
	}
}


int32
BApplication::CountWindows() const
{
	return BPrivate::count_window_loopers();
}


BWindow*
BApplication::WindowAt(int32 index) const
{
	return static_cast<BWindow*>(BPrivate::window_looper_at(index));
}


bool
BApplication::IsLaunching() const
{
	return !fReadyToRunCalled;
}


status_t
BApplication::GetAppInfo(app_info* info) const
{
	if (info == NULL)
		return B_BAD_VALUE;
	if (fInitError != B_OK)
		return fInitError;
	return be_roster->GetAppInfo(fSignature, info);
}


const char*
BApplication::Signature() const
{
	return fSignature;
}


// Asks each window to quit (force: tells it to), starting over after each one, since quitting
// one may change the list. The application is unlocked meanwhile, so that a window that
// locks the application in its QuitRequested() does not wait forever.
bool
BApplication::_QuitAllWindows(bool force)
{
	bool wasLocked = IsLocked();
	if (wasLocked)
		Unlock();

	bool quit = true;
	BMessenger messenger;
	for (int32 index = 0; window_messenger_at(index, &messenger); index++) {
		BLooper* window = NULL;
		if (!messenger.LockTarget() || messenger.Target(&window) == NULL || window == NULL)
			continue;

		if (!force && !window->QuitRequested()) {
			window->Unlock();
			quit = false;
			break;
		}
		BPrivate::unregister_window_looper(window);
		window->Quit();
		index = -1;
	}

	if (wasLocked)
		Lock();
	return quit;
}


//	#pragma mark - Signals


void
BApplication::_InstallSignalHandlers()
{
	std::call_once(sSignalPipeOnce, []() {
		// Non-blocking: a full pipe drops a signal rather than block the handler.
		if (pipe2(sSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
			sSignalPipe[0] = -1;
			sSignalPipe[1] = -1;
		}
	});
	if (sSignalPipe[0] < 0 || sSignalThread != NULL)
		return;

	// Signals left over from an earlier run are not for this one.
	char leftover[64];
	while (read(sSignalPipe[0], leftover, sizeof(leftover)) > 0) {
	}

	try {
		sSignalThread = new std::thread(signal_thread, BMessenger(this));
	} catch (...) {
		sSignalThread = NULL;
		return;
	}
	sSignalWriteFd.store(sSignalPipe[1]);

	struct sigaction action;
	memset(&action, 0, sizeof(action));
	action.sa_handler = quit_signal_handler;
	sigemptyset(&action.sa_mask);
	action.sa_flags = SA_RESTART;
	sigaction(SIGINT, &action, &sOldInterrupt);
	sigaction(SIGTERM, &action, &sOldTerminate);
}


void
BApplication::_RemoveSignalHandlers()
{
	if (sSignalThread == NULL)
		return;

	sigaction(SIGINT, &sOldInterrupt, NULL);
	sigaction(SIGTERM, &sOldTerminate, NULL);
	sSignalWriteFd.store(-1);

	ssize_t written;
	do
		written = write(sSignalPipe[1], &kSignalStop, 1);
	while (written < 0 && errno == EINTR);
	sSignalThread->join();
	delete sSignalThread;
	sSignalThread = NULL;
}
