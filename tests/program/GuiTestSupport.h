/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _GUI_TEST_SUPPORT_H
#define _GUI_TEST_SUPPORT_H


#include "../view/ViewTestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <AppDefs.h>
#include <Message.h>
#include <Messenger.h>

#include "../../platform/private/HeadlessScreen.h"
#include "wg_Gui.h"
#include "wg_Window.h"


// The page the presets of these tests read
static const char* const kGuiTestPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n";


// The program's application and main window run in this process on the headless screen, the
// application on a thread of its own as a program's main thread would run it. While an action
// runs, standard output goes to a file, so that what the program's threads print can be read.
class GuiTest : public ViewTest {
protected:
	void
	SetUp() override
	{
		unsetenv("HAIKU_HEADLESS_SNAPSHOT");
		ViewTest::SetUp();
		WritePresets(kGuiTestPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
		fConsolePath = fEnv.Root() + "/console.txt";
	}

	void
	TearDown() override
	{
		StopApp();
		ViewTest::TearDown();
	}

	// Makes the application, which shows the main window, and runs it; whether the window
	// came on the screen.
	bool
	StartApp()
	{
		fApp = NULL;
		fAppThread = std::thread([this]() {
			DSApplication* app = new DSApplication;
			fApp = app;
			app->Run();
			delete app;
		});
		if (!WaitUntil([&]() { return fApp.load() != NULL; }))
			return false;
		fWindow = fApp.load()->mainWindow;
		if (fWindow == NULL)
			return false;
		BPoint inside = fWindow->Frame().LeftTop() + BPoint(5, 5);
		return WaitUntil([&]() { return BPrivate::headless_window_at(inside) == fWindow; });
	}

	// Waits until the application ended and is deleted.
	void
	WaitForAppEnd()
	{
		if (fAppThread.joinable())
			fAppThread.join();
		fApp = NULL;
		fWindow = NULL;
	}

	void
	StopApp()
	{
		if (!fAppThread.joinable())
			return;
		BMessenger(fApp.load()).SendMessage(B_QUIT_REQUESTED);
		WaitForAppEnd();
	}

	// Waits until the looper handled what was sent to it before: a code that it drops, sent
	// with a reply expected, comes back unanswered.
	static bool
	Sync(BLooper* looper, uint32 dropped)
	{
		BMessage reply;
		return BMessenger(looper).SendMessage(dropped, &reply) == B_OK
			&& reply.what == (uint32)B_NO_REPLY;
	}

	bool
	SyncWindow()
	{
		return Sync(fWindow, 'TICK');
	}

	bool
	SyncApp()
	{
		return Sync(fApp.load(), 'RPLY');
	}

	// Runs the action with standard output going to a file, and returns what any thread
	// printed meanwhile. (Nothing in the action may assert: its report would go to the file.)
	std::string
	Printed(const std::function<void()>& action)
	{
		fflush(stdout);
		int saved = dup(STDOUT_FILENO);
		int file = open(fConsolePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		dup2(file, STDOUT_FILENO);
		close(file);
		action();
		fflush(stdout);
		dup2(saved, STDOUT_FILENO);
		close(saved);
		return ReadFile(fConsolePath);
	}

	// What the window prints when it has handled the messages that the action sent it
	std::string
	PrintedByWindow(const std::function<void()>& send)
	{
		bool synced = false;
		std::string printed = Printed([&]() {
			send();
			synced = SyncWindow();
		});
		EXPECT_TRUE(synced);
		return printed;
	}

	// The same for the application, and the window after it
	std::string
	PrintedByApp(const std::function<void()>& send)
	{
		bool synced = false;
		std::string printed = Printed([&]() {
			send();
			synced = SyncApp() && SyncWindow();
		});
		EXPECT_TRUE(synced);
		return printed;
	}

	std::string
	Log() const
	{
		return ReadFile(LogFile());
	}

	bool
	WaitForLog(const std::string& text, int count = 1)
	{
		return WaitUntil([&]() { return count_of(Log(), text) >= count; });
	}

	// The window's entry for a message in the log book
	static std::string
	WinEntry(const char* code)
	{
		return std::string("Win   '") + code + "' ";
	}

	static std::string
	Dump(const BMessage& message)
	{
		testing::internal::CaptureStdout();
		message.PrintToStream();
		return testing::internal::GetCapturedStdout();
	}

	std::atomic<DSApplication*> fApp {NULL};
	std::thread fAppThread;
	DSWindow* fWindow = NULL;
	std::string fConsolePath;
};


#endif // _GUI_TEST_SUPPORT_H
