/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Application.h>

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <Entry.h>
#include <Path.h>
#include <Roster.h>
#include <Window.h>

#include "../../platform/private/AppPrivate.h"

#include "AppTestSupport.h"
#include "TestEnv.h"

#include <gtest/gtest.h>


namespace {


const char* const kSignature = "application/x-vnd.wg-apptest";

enum { kMsgPing = 'ping' };


// What the application on the runner thread did, for the test thread to wait on
struct Record {
	std::mutex lock;
	std::condition_variable changed;
	bool ready = false;
	bool done = false;
	bool allowQuit = true;
	int32 quitRequests = 0;
	int32 pings = 0;
	thread_id runner = -1;
	thread_id runResult = -1;
	thread_id pingThread = -1;
	bool launchingInReadyToRun = false;

	bool
	WaitUntil(const std::function<bool()>& condition)
	{
		std::unique_lock<std::mutex> guard(lock);
		return changed.wait_for(guard, std::chrono::microseconds(kPatience), condition);
	}

	void
	Update(const std::function<void()>& change)
	{
		std::lock_guard<std::mutex> guard(lock);
		change();
		changed.notify_all();
	}
};


class TestApp : public BApplication {
public:
	TestApp(Record* record) : BApplication(kSignature), fRecord(record) { }

	void
	ReadyToRun() override
	{
		bool launching = IsLaunching();
		fRecord->Update([&]() {
			fRecord->ready = true;
			fRecord->launchingInReadyToRun = launching;
		});
	}

	bool
	QuitRequested() override
	{
		bool allow;
		fRecord->Update([&]() {
			fRecord->quitRequests++;
			allow = fRecord->allowQuit;
		});
		// The windows are asked too.
		return allow && BApplication::QuitRequested();
	}

	void
	MessageReceived(BMessage* message) override
	{
		if (message->what == kMsgPing) {
			fRecord->Update([&]() {
				fRecord->pings++;
				fRecord->pingThread = find_thread(NULL);
			});
			return;
		}
		BApplication::MessageReceived(message);
	}

private:
	Record* fRecord;
};


// Makes and runs the application on a thread of its own, and deletes it when Run() returns.
class AppRunner {
public:
	AppRunner(Record* record) : fRecord(record)
	{
		fThread = std::thread([record]() {
			TestApp* app = new TestApp(record);
			record->Update([&]() { record->runner = find_thread(NULL); });
			thread_id result = app->Run();
			delete app;
			record->Update([&]() {
				record->runResult = result;
				record->done = true;
			});
		});
	}

	~AppRunner()
	{
		// A runner that never ended is left behind; its test has failed already.
		if (fRecord->WaitUntil([this]() { return fRecord->done; }))
			fThread.join();
		else
			fThread.detach();
	}

	bool
	WaitUntilReady()
	{
		return fRecord->WaitUntil([this]() { return fRecord->ready; });
	}

	bool
	WaitUntilDone()
	{
		return fRecord->WaitUntil([this]() { return fRecord->done; });
	}

private:
	Record* fRecord;
	std::thread fThread;
};


// A window stand-in: a running looper that may refuse to quit
class RefusingLooper : public BLooper {
public:
	RefusingLooper(bool* refuse, Gate* deleted)
		: BLooper("window"), fRefuse(refuse), fDeleted(deleted)
	{ }

	~RefusingLooper() override { fDeleted->Open(); }

	bool
	QuitRequested() override
	{
		return !*fRefuse;
	}

private:
	bool* fRefuse;
	Gate* fDeleted;
};


class ApplicationTest : public testing::Test {
protected:
	void
	SetUp() override
	{
		fRuntime = fEnv.Root() + "/run";
		mkdir(fRuntime.c_str(), 0700);
		setenv("XDG_RUNTIME_DIR", fRuntime.c_str(), 1);
	}

	std::string
	RosterFolder() const
	{
		return fRuntime + "/haiku-roster";
	}

	TestEnv fEnv;
	std::string fRuntime;
};


// A child process that lives until the test ends it
pid_t
start_sleeper()
{
	pid_t child = fork();
	if (child == 0) {
		execl("/bin/sleep", "sleep", "60", (char*)NULL);
		_exit(127);
	}
	return child;
}


} // namespace


TEST_F(ApplicationTest, RunsOnTheCallingThreadUntilQuit)
{
	Record record;
	{
		AppRunner runner(&record);
		ASSERT_TRUE(runner.WaitUntilReady());
		EXPECT_TRUE(record.launchingInReadyToRun);

		ASSERT_NE(be_app, nullptr);
		EXPECT_STREQ(be_app->Signature(), kSignature);
		ASSERT_TRUE(be_app_messenger.IsValid());
		EXPECT_TRUE(be_roster->IsRunning(kSignature));

		// A message from this thread is handled on the runner's thread.
		ASSERT_EQ(be_app_messenger.SendMessage(kMsgPing), B_OK);
		ASSERT_TRUE(record.WaitUntil([&]() { return record.pings == 1; }));
		EXPECT_EQ(record.pingThread, record.runner);
		// Launching ends once ReadyToRun() has returned.
		EXPECT_FALSE(be_app->IsLaunching());

		ASSERT_TRUE(be_app->Lock());
		be_app->Quit();
		be_app->Unlock();
		ASSERT_TRUE(runner.WaitUntilDone());
	}
	EXPECT_EQ(record.runResult, record.runner);
	EXPECT_EQ(record.quitRequests, 0);
	EXPECT_EQ(be_app, nullptr);
	EXPECT_FALSE(be_app_messenger.IsValid());
	EXPECT_FALSE(be_roster->IsRunning(kSignature));
}


TEST_F(ApplicationTest, AWindowThatQuitsTheApplicationAsksItWhenItCloses)
{
	Record record;
	AppRunner runner(&record);
	ASSERT_TRUE(runner.WaitUntilReady());

	// A window without the flag goes alone.
	BWindow* plain = new BWindow(BRect(10, 10, 50, 50), "plain", B_TITLED_WINDOW, 0);
	plain->Show();
	ASSERT_TRUE(plain->Lock());
	plain->Quit();
	// A message sent after it is handled with no quit request before it.
	ASSERT_EQ(be_app_messenger.SendMessage(kMsgPing), B_OK);
	ASSERT_TRUE(record.WaitUntil([&]() { return record.pings == 1; }));
	EXPECT_EQ(record.quitRequests, 0);
	// With the flag, the application is asked to quit, and it does.
	BWindow* main
		= new BWindow(BRect(10, 10, 50, 50), "main", B_TITLED_WINDOW, B_QUIT_ON_WINDOW_CLOSE);
	main->Show();
	ASSERT_TRUE(main->Lock());
	main->Quit();
	ASSERT_TRUE(runner.WaitUntilDone());
	EXPECT_EQ(record.quitRequests, 1);
}


TEST_F(ApplicationTest, QuitRequestedFalseKeepsItRunning)
{
	Record record;
	record.allowQuit = false;
	AppRunner runner(&record);
	ASSERT_TRUE(runner.WaitUntilReady());

	// The application refuses.
	ASSERT_EQ(be_app_messenger.SendMessage(B_QUIT_REQUESTED), B_OK);
	ASSERT_EQ(be_app_messenger.SendMessage(kMsgPing), B_OK);
	ASSERT_TRUE(record.WaitUntil([&]() { return record.pings == 1; }));
	EXPECT_EQ(record.quitRequests, 1);
	EXPECT_FALSE(record.done);

	// A window refuses: the application stays, and so does the window.
	bool refuse = true;
	Gate windowDeleted;
	RefusingLooper* window = new RefusingLooper(&refuse, &windowDeleted);
	window->Run();
	BPrivate::register_window_looper(window);
	EXPECT_EQ(be_app->CountWindows(), 1);
	record.Update([&]() { record.allowQuit = true; });

	ASSERT_EQ(be_app_messenger.SendMessage(B_QUIT_REQUESTED), B_OK);
	ASSERT_EQ(be_app_messenger.SendMessage(kMsgPing), B_OK);
	ASSERT_TRUE(record.WaitUntil([&]() { return record.pings == 2; }));
	EXPECT_EQ(record.quitRequests, 2);
	EXPECT_FALSE(record.done);
	EXPECT_EQ(be_app->CountWindows(), 1);

	// Once the window agrees, it is quit and the application ends.
	ASSERT_TRUE(window->Lock());
	refuse = false;
	window->Unlock();
	ASSERT_EQ(be_app_messenger.SendMessage(B_QUIT_REQUESTED), B_OK);
	ASSERT_TRUE(runner.WaitUntilDone());
	EXPECT_TRUE(windowDeleted.Wait());
	EXPECT_EQ(record.quitRequests, 3);
	EXPECT_EQ(BPrivate::count_window_loopers(), 0);
}


TEST_F(ApplicationTest, SigtermAsksTheApplicationToQuit)
{
	struct sigaction before;
	sigaction(SIGTERM, NULL, &before);

	Record record;
	AppRunner runner(&record);
	ASSERT_TRUE(runner.WaitUntilReady());

	std::thread([]() { raise(SIGTERM); }).join();
	ASSERT_TRUE(runner.WaitUntilDone());
	EXPECT_EQ(record.quitRequests, 1);

	// The handler is the process's own again.
	struct sigaction after;
	sigaction(SIGTERM, NULL, &after);
	EXPECT_EQ(after.sa_handler, before.sa_handler);
}


TEST_F(ApplicationTest, AppInfoNamesTheExecutable)
{
	status_t error = B_ERROR;
	BApplication* app = new BApplication(kSignature, &error);
	ASSERT_EQ(error, B_OK);
	ASSERT_EQ(be_app, app);

	app_info info;
	ASSERT_EQ(app->GetAppInfo(&info), B_OK);
	EXPECT_EQ(info.team, getpid());
	EXPECT_STREQ(info.signature, kSignature);

	char executable[PATH_MAX];
	ASSERT_NE(realpath("/proc/self/exe", executable), nullptr);
	BEntry entry(&info.ref);
	BPath path;
	ASSERT_EQ(entry.GetPath(&path), B_OK);
	EXPECT_STREQ(path.Path(), executable);
	EXPECT_TRUE(entry.Exists());

	// The roster answers the same, and finds the executable by the signature.
	app_info byRoster;
	ASSERT_EQ(be_roster->GetAppInfo(kSignature, &byRoster), B_OK);
	EXPECT_EQ(byRoster.team, getpid());
	entry_ref found;
	ASSERT_EQ(be_roster->FindApp(kSignature, &found), B_OK);
	EXPECT_EQ(BPath(&found), path);

	// Other processes read the registration from the per-user folder.
	std::string file = RosterFolder() + "/" + std::to_string(getpid());
	std::string contents = ReadFile(file);
	EXPECT_NE(contents.find(std::string("signature=") + kSignature + "\n"), std::string::npos);
	EXPECT_NE(contents.find(std::string("path=") + executable + "\n"), std::string::npos);

	delete app;
	EXPECT_FALSE(FileExists(file));
	EXPECT_EQ(be_app, nullptr);
	EXPECT_EQ(be_roster->GetAppInfo(kSignature, &info), B_ERROR);
	// Still known, to be launched again
	EXPECT_EQ(be_roster->FindApp(kSignature, &found), B_OK);
}


TEST_F(ApplicationTest, OtherProcessesAreSeenUntilTheyEnd)
{
	const char* signature = "application/x-vnd.wg-other";
	std::string folder = BPrivate::roster_directory();
	pid_t other = start_sleeper();
	ASSERT_GT(other, 0);
	std::string file = folder + "/" + std::to_string(other);
	WriteFile(file,
		std::string("signature=") + signature + "\nteam=" + std::to_string(other)
			+ "\nthread=" + std::to_string(other) + "\nflags=1\npath=/bin/sleep\n");

	app_info info;
	ASSERT_EQ(be_roster->GetAppInfo("APPLICATION/x-vnd.WG-other", &info), B_OK);
	EXPECT_EQ(info.team, other);
	EXPECT_EQ(info.flags, 1u);
	EXPECT_EQ(info.port, -1);
	EXPECT_TRUE(be_roster->IsRunning(signature));
	EXPECT_EQ(be_roster->TeamFor(signature), other);
	ASSERT_EQ(be_roster->GetRunningAppInfo(other, &info), B_OK);
	EXPECT_STREQ(info.signature, signature);
	BPath path(&info.ref);
	char sleepPath[PATH_MAX];
	ASSERT_NE(realpath("/bin/sleep", sleepPath), nullptr);
	EXPECT_STREQ(path.Path(), sleepPath);

	// Once the process is gone its entry is ignored, and removed.
	kill(other, SIGKILL);
	waitpid(other, NULL, 0);
	EXPECT_FALSE(be_roster->IsRunning(signature));
	EXPECT_EQ(be_roster->GetAppInfo(signature, &info), B_ERROR);
	EXPECT_FALSE(FileExists(file));

	// Broken entries are skipped without harm.
	WriteFile(folder + "/12", "garbage");
	WriteFile(folder + "/13", "signature=application/x\nteam=-5\n");
	EXPECT_FALSE(be_roster->IsRunning("application/x"));
}


TEST_F(ApplicationTest, LaunchStartsAKnownApplication)
{
	const char* signature = "application/x-vnd.wg-launched";
	app_info info;
	team_id team = -1;
	EXPECT_EQ(be_roster->Launch(signature, (BMessage*)NULL, &team), B_LAUNCH_FAILED_APP_NOT_FOUND);

	// What an earlier run of it left behind
	std::string folder = BPrivate::roster_directory();
	WriteFile(folder + "/known/application%2fx-vnd.wg-launched",
		std::string("signature=") + signature + "\npath=/bin/sh\n");
	entry_ref ref;
	ASSERT_EQ(be_roster->FindApp(signature, &ref), B_OK);

	std::string fifo = fEnv.Root() + "/launched";
	ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
	int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
	ASSERT_GE(fd, 0);
	std::string script = "echo $$ > '" + fifo + "'";
	const char* argv[] = {"sh", "-c", script.c_str()};
	ASSERT_EQ(be_roster->Launch(signature, 3, argv, &team), B_OK);
	EXPECT_GT(team, 0);

	struct pollfd poller = {fd, POLLIN, 0};
	ASSERT_EQ(poll(&poller, 1, static_cast<int>(kPatience / 1000)), 1);
	char buffer[32] = {};
	ASSERT_GT(read(fd, buffer, sizeof(buffer) - 1), 0);
	close(fd);
	EXPECT_EQ(atoi(buffer), team);
}


TEST_F(ApplicationTest, BadSignatures)
{
	const char* bad[] = {NULL, "", "text/plain", "application/", "application", "application/a b",
		"application/a/b", "application/x(y)"};
	for (const char* signature : bad) {
		status_t error = B_OK;
		BApplication app(signature, &error);
		EXPECT_EQ(error, B_BAD_VALUE) << (signature != NULL ? signature : "NULL");
		EXPECT_EQ(app.InitCheck(), B_BAD_VALUE);
		EXPECT_EQ(be_app, nullptr);
		EXPECT_EQ(app.Run(), B_BAD_VALUE);
	}

	std::string tooLong = "application/" + std::string(B_MIME_TYPE_LENGTH, 'x');
	status_t error = B_OK;
	BApplication app(tooLong.c_str(), &error);
	EXPECT_EQ(error, B_BAD_VALUE);

	// Without an error pointer the process ends, as on Haiku.
	EXPECT_EXIT(BApplication("text/plain"), testing::ExitedWithCode(0), "bad signature");
}


// The registry names the programs that launches run and add-ons load: a folder in the
// shared temporary folder that another user made first, or that points elsewhere, is not
// taken.
TEST_F(ApplicationTest, TheRegistryIsNeverAFolderOfSomeoneElse)
{
	unsetenv("XDG_RUNTIME_DIR");
	const std::string temp = fEnv.Root() + "/tmp";
	const std::string shared = temp + "/haiku-roster-" + std::to_string(getuid());
	const std::string cache = fEnv.Root() + "/cache";
	mkdir(temp.c_str(), 01777);
	setenv("TMPDIR", temp.c_str(), 1);
	setenv("XDG_CACHE_HOME", cache.c_str(), 1);

	mkdir(shared.c_str(), 0700);
	chmod(shared.c_str(), 0777);
	EXPECT_EQ(BPrivate::roster_directory(), cache + "/haiku-roster");
	rmdir(shared.c_str());
	const std::string elsewhere = fEnv.Root() + "/elsewhere";
	mkdir(elsewhere.c_str(), 0700);
	ASSERT_EQ(symlink(elsewhere.c_str(), shared.c_str()), 0);
	EXPECT_EQ(BPrivate::roster_directory(), cache + "/haiku-roster");

	// Its own folder it makes, private, and uses.
	unlink(shared.c_str());
	EXPECT_EQ(BPrivate::roster_directory(), shared);
	struct stat info;
	ASSERT_EQ(lstat((shared + "/known").c_str(), &info), 0);
	EXPECT_EQ(info.st_mode & 0777, 0700u);
	EXPECT_EQ(BPrivate::register_running_app(kSignature, B_SINGLE_LAUNCH, find_thread(NULL)), B_OK);
	EXPECT_TRUE(BPrivate::find_known_app(kSignature, NULL));
	BPrivate::unregister_running_app();
}
