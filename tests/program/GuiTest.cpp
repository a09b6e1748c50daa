/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "GuiTestSupport.h"

#include <fcntl.h>
#include <libgen.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <Alert.h>
#include <AppDefs.h>
#include <Entry.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <MessageFilter.h>
#include <Messenger.h>
#include <TextView.h>

#include "../../platform/private/HeadlessScreen.h"
#include "ProgramSupport.h"
#include "wg_Gui.h"
#include "wg_Window.h"


using namespace BPrivate;


static const char* kPage = "<b>A:</b>1<br>\n<b>B:</b>2<br>\n";
static const char* kVersionLine = "Webgrazer Vers.:130113 (Haiku)\n";


namespace {


// Keeps a copy of every message of the codes that reaches the window's looper, and the
// thread that dispatched it.
class Recorder : public BMessageFilter {
public:
	Recorder(std::vector<uint32> codes)
		: BMessageFilter(B_ANY_DELIVERY, B_ANY_SOURCE), fCodes(codes)
	{ }

	virtual filter_result
	Filter(BMessage* message, BHandler**)
	{
		for (uint32 code : fCodes) {
			if (message->what == code) {
				std::lock_guard<std::mutex> lock(fLock);
				fMessages.push_back(*message);
				fThreads.push_back(find_thread(NULL));
			}
		}
		return B_DISPATCH_MESSAGE;
	}

	size_t
	Count()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fMessages.size();
	}

	BMessage
	At(size_t index)
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fMessages.at(index);
	}

	thread_id
	ThreadAt(size_t index)
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fThreads.at(index);
	}

private:
	std::vector<uint32> fCodes;
	std::mutex fLock;
	std::vector<BMessage> fMessages;
	std::vector<thread_id> fThreads;
};


// The alert on top of the screen, when it has the title.
BAlert*
ShownAlert(const char* title)
{
	BAlert* alert = dynamic_cast<BAlert*>(headless_active_window());
	if (alert == NULL || !alert->Lock())
		return NULL;
	bool matches = strcmp(alert->Title(), title) == 0;
	alert->Unlock();
	return matches ? alert : NULL;
}


struct AlertContents {
	std::string text;
	std::vector<std::string> buttons;
	char shortcut = 0;
};


AlertContents
Contents(BAlert* alert)
{
	AlertContents contents;
	if (!alert->Lock())
		return contents;
	contents.text = alert->TextView()->Text();
	for (int32 i = 0; i < alert->CountButtons(); i++)
		contents.buttons.push_back(alert->ButtonLabel(i));
	contents.shortcut = alert->Shortcut(0);
	alert->Unlock();
	return contents;
}


// Presses Enter in the alert on top and waits until it is gone.
bool
CloseWithEnter(BAlert* alert)
{
	BMessenger messenger(alert);
	if (headless_inject_key("\n", B_KEY_DOWN) != B_OK)
		return false;
	headless_inject_key("\n", B_KEY_UP);
	return WaitUntil([&]() { return !messenger.IsValid(); });
}


std::string
ExecutableFolder()
{
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0)
		return "";
	path[length] = '\0';
	return dirname(path);
}


} // namespace


TEST_F(GuiTest, StartUpOpensTheWindowAtTheStoredFrameWithItsLimitsPulseAndView)
{
	EXPECT_EQ(WIN_X, 30);
	EXPECT_EQ(WIN_Y, 50);
	EXPECT_EQ(WIN_W, 150);
	EXPECT_EQ(WIN_H, 80);

	fPrefs->opWinRect = BRect(200, 150, 400, 300);
	// An hour of pulses is more microseconds than 32 bits hold.
	fPrefs->opUpdateSpeed = 60;
	fPrefs->PathToApp.SetTo("/nowhere");
	bool started = false;
	std::string console = Printed([&]() { started = StartApp(); });
	ASSERT_TRUE(started) << console;

	size_t loaded = console.find("DSApplication:  prefs loadet\n");
	size_t made = console.find("-- StartUp Window-End--\n");
	ASSERT_NE(loaded, std::string::npos) << console;
	EXPECT_NE(made, std::string::npos) << console;
	EXPECT_LT(loaded, made);
	// The presets were there: the application did not read them again.
	EXPECT_EQ(count_of(console, "Prefs GetPresets() LOAD File"), 0) << console;
	EXPECT_NE(Log().find("  \tWin Init \n"), std::string::npos) << Log();

	ASSERT_TRUE(fWindow->Lock());
	EXPECT_STREQ(fWindow->Title(), "Webgrazer");
	EXPECT_EQ(fWindow->Type(), B_UNTYPED_WINDOW);
	EXPECT_EQ(fWindow->Flags(), 0x20000000u);
	EXPECT_EQ(fWindow->Frame(), BRect(200, 150, 400, 300));
	float minWidth, maxWidth, minHeight, maxHeight;
	fWindow->GetSizeLimits(&minWidth, &maxWidth, &minHeight, &maxHeight);
	EXPECT_EQ(minWidth, 150);
	EXPECT_EQ(maxWidth, 650);
	EXPECT_EQ(minHeight, 80);
	EXPECT_EQ(maxHeight, 480);
	EXPECT_EQ(fWindow->PulseRate(), 3600000000LL);
	EXPECT_EQ(fWindow->prefs, fPrefs);
	// The view fills the window, its only child.
	EXPECT_EQ(fWindow->CountChildren(), 1);
	EXPECT_EQ(fWindow->ChildAt(0), fWindow->view);
	ASSERT_NE(fWindow->view, nullptr);
	EXPECT_EQ(fWindow->view->Frame(), fWindow->Bounds());
	EXPECT_EQ(fWindow->Bounds(), BRect(0, 0, 200, 150));
	// The program's folder is the one of the running executable, whatever was stored.
	ASSERT_NE(fPrefs->PathToApp.Path(), nullptr);
	EXPECT_EQ(std::string(fPrefs->PathToApp.Path()), ExecutableFolder());
	EXPECT_EQ(fApp.load()->prefs, fPrefs);
	fWindow->Unlock();

	// It shows on the screen at that frame.
	EXPECT_EQ(headless_window_at(BPoint(399, 299)), fWindow);
	EXPECT_NE(headless_window_at(BPoint(401, 301)), fWindow);
}


TEST_F(GuiTest, TheFrameFollowsResizesWithinTheLimitsAndIsSavedAtTheEnd)
{
	fPrefs->opWinRect = BRect(100, 100, 300, 200);
	ASSERT_TRUE(StartApp());
	BRect stored = stored_frame(SettingsFile());

	// A resize by the user keeps within 150 to 650 by 80 to 480; the frame in memory
	// follows, the settings file not yet.
	auto resize = [&](float width, float height) {
		BMessage resized(B_WINDOW_RESIZED);
		resized.AddFloat("width", width);
		resized.AddFloat("height", height);
		ASSERT_EQ(BMessenger(fWindow).SendMessage(&resized), B_OK);
		ASSERT_TRUE(SyncWindow());
	};
	ASSERT_NO_FATAL_FAILURE(resize(1000, 1000));
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fWindow->Frame(), BRect(100, 100, 750, 580));
	EXPECT_EQ(fPrefs->opWinRect, BRect(100, 100, 750, 580));
	EXPECT_EQ(fWindow->view->Bounds(), BRect(0, 0, 650, 480));
	fWindow->Unlock();
	ASSERT_NO_FATAL_FAILURE(resize(10, 10));
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fPrefs->opWinRect, BRect(100, 100, 250, 180));
	fWindow->Unlock();
	ASSERT_NO_FATAL_FAILURE(resize(240, 120));
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fPrefs->opWinRect, BRect(100, 100, 340, 220));
	fWindow->Unlock();
	EXPECT_EQ(stored_frame(SettingsFile()), stored);

	// Moving changes nothing until the end.
	ASSERT_TRUE(fWindow->Lock());
	fWindow->MoveTo(320, 240);
	fWindow->Unlock();
	ASSERT_TRUE(SyncWindow());
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fWindow->Frame(), BRect(320, 240, 560, 360));
	EXPECT_EQ(fPrefs->opWinRect, BRect(100, 100, 340, 220));
	fWindow->Unlock();

	// Closing the window ends the application, and the window saves where it was.
	std::string console = Printed([&]() {
		BMessenger(fWindow).SendMessage(B_QUIT_REQUESTED);
		WaitForAppEnd();
	});
	EXPECT_EQ(fPrefs->opWinRect, BRect(320, 240, 560, 360));
	EXPECT_EQ(stored_frame(SettingsFile()), BRect(320, 240, 560, 360));
	size_t frame = console.find("BRect(l:320.0, t:240.0, r:560.0, b:360.0)\n");
	size_t saved = console.find("Prefs -Save ok\n");
	size_t gone = console.find("DSApplication::~DSApplication() done\n");
	ASSERT_NE(frame, std::string::npos) << console;
	ASSERT_NE(saved, std::string::npos) << console;
	ASSERT_NE(gone, std::string::npos) << console;
	EXPECT_LT(frame, saved);
	EXPECT_LT(saved, gone);

	// The next start reads the settings file again and opens the window there.
	Restart();
	fPrefs = Prefs::getSTPrefs();
	ASSERT_TRUE(StartApp());
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fWindow->Frame(), BRect(320, 240, 560, 360));
	fWindow->Unlock();
}


TEST_F(GuiTest, TheWindowLogsEveryMessageAndActsOnTheCodesOfItsTable)
{
	ASSERT_TRUE(StartApp());
	BMessenger window(fWindow);

	// Input and other system codes are logged and dropped without a word, and so is a key
	// typed in the window.
	const char* ignored[] = {"TICK", "_KDN", "_KYD", "_KYU", "_MCH", "_MDN", "_MMV", "_MSI", "_MUP",
		"_MWC", "_PBL", "_UKU"};
	status_t typed = B_ERROR;
	EXPECT_EQ(PrintedByWindow([&]() {
		for (const char* code : ignored) {
			window.SendMessage(
				(uint32)code[0] << 24 | (uint32)code[1] << 16 | (uint32)code[2] << 8 | code[3]);
		}
		typed = headless_inject_key("a", B_KEY_DOWN, 60);
		headless_inject_key("a", B_KEY_UP, 60);
	}),
		"");
	EXPECT_EQ(typed, B_OK);
	std::string log = Log();
	for (const char* code : ignored)
		EXPECT_NE(log.find(WinEntry(code)), std::string::npos) << code << "\n" << log;
	EXPECT_EQ(count_of(log, WinEntry("_KYD")), 2);
	EXPECT_EQ(count_of(log, WinEntry("_KYU")), 2);

	// Unmapped keys: the modifier line for Control or the left Option key, then either the
	// line for the keys 102 and 103 or the state.
	struct {
		int32 modifiers;
		int32 key;
		const char* printed;
	} keys[] = {
		{0, 103, " key 102 oder 103 \n"},
		{B_CONTROL_KEY, 102, ".. B_LEFT_OPTION_KEY || B_CONTROL_KEY\n key 102 oder 103 \n"},
		// the left Option key
		{0x4000 | B_OPTION_KEY, 50,
			".. B_LEFT_OPTION_KEY || B_CONTROL_KEY\nuse Left-Win-Key KState: 16448 KKey 50 \n"},
		// the right Option key and Shift
		{0x8000 | B_OPTION_KEY | B_SHIFT_KEY, 12, "use Left-Win-Key KState: 32833 KKey 12 \n"},
	};
	for (const auto& key : keys) {
		BMessage message(B_UNMAPPED_KEY_DOWN);
		message.AddInt32("modifiers", key.modifiers);
		message.AddInt32("key", key.key);
		EXPECT_EQ(PrintedByWindow([&]() { window.SendMessage(&message); }), key.printed) << key.key;
	}
	EXPECT_EQ(PrintedByWindow([&]() { window.SendMessage(B_UNMAPPED_KEY_DOWN); }),
		"use Left-Win-Key KState: 0 KKey 0 \n");
	EXPECT_EQ(count_of(Log(), WinEntry("_UKD")), 5);

	// The help line, with its line number or -1.
	BMessage help('ayHT');
	help.AddInt32("_DILx", 7);
	EXPECT_EQ(PrintedByWindow([&]() {
		window.SendMessage(&help);
		window.SendMessage('ayHT');
	}),
		" = In Line 7 \n = In Line -1 \n");

	// 'oINe' prints a line and the message; the view's pulse code is only mentioned; any
	// other code is printed and dropped.
	BMessage created('oINe');
	created.AddString("name", "new one");
	EXPECT_EQ(PrintedByWindow([&]() { window.SendMessage(&created); }),
		" -new- selected ('oINe')\n" + Dump(created));
	EXPECT_EQ(PrintedByWindow([&]() { window.SendMessage('wpls'); }),
		"wg_win recdeivesd: wv_pulse 'wpls'\n");
	BMessage unknown('zzzz');
	unknown.AddInt32("count", 3);
	EXPECT_EQ(PrintedByWindow([&]() { window.SendMessage(&unknown); }),
		"\nWG_Window::MessageReceived\n" + Dump(unknown));
	log = Log();
	for (const char* code : {"ayHT", "oINe", "wpls", "zzzz"})
		EXPECT_NE(log.find(WinEntry(code)), std::string::npos) << code << "\n" << log;
	EXPECT_EQ(count_of(log, "WV_PULSE "), 0);
	EXPECT_TRUE(window.IsValid());

	// 'rPrf' reads the settings file again.
	int32 size = 23;
	SetAttr("opTextSize", std::string("LONG") + Bytes(&size, sizeof(size)));
	ASSERT_EQ(window.SendMessage('rPrf'), B_OK);
	ASSERT_TRUE(SyncWindow());
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(fPrefs->opTextSize, 23);
	fWindow->Unlock();

	// The next-preset and settings-closed codes go to the view.
	ASSERT_EQ(window.SendMessage('fNPs'), B_OK);
	ASSERT_TRUE(WaitForLog("WV_UPDATE "));
	ASSERT_EQ(window.SendMessage('wpcl'), B_OK);
	ASSERT_TRUE(WaitForLog("WP_CLOSE "));
	log = Log();
	size_t next = log.find(WinEntry("fNPs"));
	ASSERT_NE(next, std::string::npos) << log;
	EXPECT_LT(next, log.find("WV_NEXT_PRESET "));
	EXPECT_LT(log.find("WV_NEXT_PRESET "), log.find("WV_UPDATE "));
	EXPECT_LT(log.find(WinEntry("wpcl")), log.find("WP_CLOSE "));
}


TEST_F(GuiTest, HelpOpensWithoutWaitingAndTheErrorAlertsWaitUntilClosed)
{
	ASSERT_TRUE(StartApp());

	// 'gHLP' opens the help alert; the window goes on handling its messages.
	ASSERT_EQ(BMessenger(fWindow).SendMessage('gHLP'), B_OK);
	BAlert* alert = NULL;
	ASSERT_TRUE(WaitUntil([&]() { return (alert = ShownAlert("GetHelp")) != NULL; }));
	EXPECT_TRUE(SyncWindow());
	AlertContents help = Contents(alert);
	EXPECT_EQ(help.text, "\t\t\n  Help-Alert...\t  \n not defined...\n");
	EXPECT_EQ(help.buttons, std::vector<std::string>({"Thanks"}));
	EXPECT_EQ(help.shortcut, B_ENTER);
	ASSERT_TRUE(CloseWithEnter(alert));
	EXPECT_NE(Log().find(WinEntry("gHLP")), std::string::npos);

	// DoErrorW and DoErrorB return when their alert is closed.
	std::string about = std::string(kVersionLine) + " AboutRequested..\n";
	struct {
		std::function<void()> show;
		const char* title;
		std::string text;
		bool more;
	} alerts[] = {
		{[]() { DoErrorW("first\nsecond"); }, "Damn_A",
			std::string(kVersionLine) + "first\nsecond\n", false},
		{[]() { DoErrorB("oops"); }, "Damn_B", std::string(kVersionLine) + "oops\n", false},
		// The about text goes on with a line for the maker's address.
		{[&]() { fWindow->AboutRequested(); }, "Damn_A", about, true},
	};
	for (const auto& expected : alerts) {
		std::atomic<bool> returned {false};
		std::thread caller([&]() {
			expected.show();
			returned = true;
		});
		ASSERT_TRUE(WaitUntil([&]() { return (alert = ShownAlert(expected.title)) != NULL; }))
			<< expected.title;
		AlertContents contents = Contents(alert);
		if (expected.more) {
			EXPECT_EQ(contents.text.compare(0, about.size(), about), 0) << contents.text;
			EXPECT_NE(contents.text.find('@', about.size()), std::string::npos) << contents.text;
			EXPECT_EQ(contents.text.back(), '\n');
		} else
			EXPECT_EQ(contents.text, expected.text);
		EXPECT_EQ(contents.buttons, std::vector<std::string>({" OK "}));
		EXPECT_EQ(contents.shortcut, B_ENTER);
		EXPECT_FALSE(returned.load());
		ASSERT_TRUE(CloseWithEnter(alert));
		caller.join();
		EXPECT_TRUE(returned.load());
	}

	// A text longer than the alert's 2048 bytes is cut.
	std::string longText(3000, 'x');
	std::thread caller([&]() { DoErrorB(longText.c_str()); });
	ASSERT_TRUE(WaitUntil([&]() { return (alert = ShownAlert("Damn_B")) != NULL; }));
	std::string text = Contents(alert).text;
	EXPECT_EQ(text.size(), 2047u);
	EXPECT_EQ(text, std::string(kVersionLine) + std::string(2047 - strlen(kVersionLine), 'x'));
	ASSERT_TRUE(CloseWithEnter(alert));
	caller.join();
}


TEST_F(GuiTest, TheApplicationHandsItsCodesToTheWindowOnTheWindowsThread)
{
	ASSERT_TRUE(StartApp());
	Recorder* recorder = new Recorder({'DATA', 'PAll', 'cHPL', 'nTPT', 'wpcl', 'wvpl'});
	ASSERT_TRUE(fWindow->Lock());
	fWindow->AddCommonFilter(recorder);
	fWindow->Unlock();
	BMessenger app(fApp.load());

	// While the window is busy, the application does not run the window's handler itself.
	ASSERT_TRUE(fWindow->Lock());
	BMessage data('DATA');
	data.AddString("open", "x.txt");
	ASSERT_EQ(app.SendMessage(&data), B_OK);
	bool synced = SyncApp();
	EXPECT_EQ(Log().find(WinEntry("DATA")), std::string::npos);
	fWindow->Unlock();
	EXPECT_TRUE(synced);

	std::string console = PrintedByApp([&]() {
		for (uint32 code : {'PAll', 'cHPL', 'nTPT', 'wvpl', 'wpcl'})
			app.SendMessage(code);
	});
	ASSERT_EQ(recorder->Count(), 6u);
	uint32 codes[] = {'DATA', 'PAll', 'cHPL', 'nTPT', 'wvpl', 'wpcl'};
	for (size_t i = 0; i < 6; i++) {
		EXPECT_EQ(recorder->At(i).what, codes[i]) << i;
		EXPECT_EQ(recorder->ThreadAt(i), fWindow->Thread()) << i;
	}
	// Unchanged, with its fields
	EXPECT_STREQ(recorder->At(0).GetString("open", ""), "x.txt");
	// The window has no entry for most of them: it prints them.
	EXPECT_NE(
		console.find("\nWG_Window::MessageReceived\n" + Dump(BMessage('wvpl'))), std::string::npos)
		<< console;
	ASSERT_TRUE(WaitForLog("WP_CLOSE "));
	std::string log = Log();
	for (const char* code : {"DATA", "PAll", "cHPL", "nTPT", "wvpl", "wpcl"})
		EXPECT_NE(log.find(WinEntry(code)), std::string::npos) << code << "\n" << log;

	// Replies, cancels and the like are dropped; any other code is printed.
	EXPECT_EQ(PrintedByApp([&]() {
		for (uint32 code : {'RPLY', '_CNC', '_DSA'})
			app.SendMessage(code);
	}),
		"");
	BMessage unknown('zzzz');
	unknown.AddBool("flag", true);
	EXPECT_EQ(
		PrintedByApp([&]() { app.SendMessage(&unknown); }), "DSApplication: " + Dump(unknown));
	EXPECT_EQ(recorder->Count(), 6u);

	// An about request shows the program's alert, and the application waits for it.
	ASSERT_EQ(app.SendMessage(B_ABOUT_REQUESTED), B_OK);
	BAlert* alert = NULL;
	ASSERT_TRUE(WaitUntil([&]() { return (alert = ShownAlert("Damn_B")) != NULL; }));
	AlertContents contents = Contents(alert);
	EXPECT_EQ(contents.text, std::string(kVersionLine) + "APP under construction..\n enjoy\n");
	EXPECT_EQ(contents.buttons, std::vector<std::string>({" OK "}));
	ASSERT_TRUE(CloseWithEnter(alert));
	EXPECT_TRUE(SyncApp());
}


TEST_F(GuiTest, DroppedFilesReachTheWindowAsDataOfTheFirstOnly)
{
	ASSERT_TRUE(StartApp());
	Recorder* recorder = new Recorder({'DATA'});
	ASSERT_TRUE(fWindow->Lock());
	fWindow->AddCommonFilter(recorder);
	fWindow->Unlock();
	BMessenger app(fApp.load());

	std::string first = fEnv.Home() + "/my notes.txt";
	std::string second = fEnv.Home() + "/other.txt";
	WriteFile(first, "1");
	WriteFile(second, "2");
	entry_ref firstRef, secondRef;
	ASSERT_EQ(get_ref_for_path(first.c_str(), &firstRef), B_OK);
	ASSERT_EQ(get_ref_for_path(second.c_str(), &secondRef), B_OK);

	// Without a reference nothing happens.
	ASSERT_EQ(app.SendMessage(B_REFS_RECEIVED), B_OK);
	BMessage refs(B_REFS_RECEIVED);
	refs.AddRef("refs", &firstRef);
	refs.AddRef("refs", &secondRef);
	ASSERT_EQ(app.SendMessage(&refs), B_OK);
	ASSERT_TRUE(SyncApp());
	ASSERT_TRUE(SyncWindow());

	ASSERT_EQ(recorder->Count(), 1u);
	BMessage data = recorder->At(0);
	entry_ref ref;
	ASSERT_EQ(data.FindRef("refs", &ref), B_OK);
	EXPECT_EQ(ref, firstRef);
	type_code type;
	int32 count = 0;
	ASSERT_EQ(data.GetInfo("refs", &type, &count), B_OK);
	EXPECT_EQ(count, 1);
	EXPECT_STREQ(data.GetString("open_prefs", ""), first.c_str());
	EXPECT_STREQ(data.GetString("open", ""), "my notes.txt");
	EXPECT_EQ(count_of(Log(), WinEntry("DATA")), 1);
}


// The built program started from a folder of its own choice.
TEST(GuiProgram, TakesItsFolderAndLoadsThePresetsFromThereWhenTheSettingsPointElsewhere)
{
	TestEnv env;
	// No address but the program's own pages is fetched: this wget knows no network.
	WriteFile(env.System() + "/bin/wget", "#!/bin/sh\nexit 4\n");
	chmod((env.System() + "/bin/wget").c_str(), 0755);

	std::string folder = env.Home() + "/my apps";
	ASSERT_TRUE(std::filesystem::create_directory(folder));
	std::string executable = folder + "/Webgrazer";
	std::filesystem::copy_file(WG_APP_EXECUTABLE, executable);
	WriteFile(folder + "/page.html", kPage);
	std::string presets;
	for (const char* host : {"first", "second"}) {
		presets += std::string(";\n; --- PRESET ---\n$") + host + "$\t$" + folder
			+ "/page.html$\n$A $\t$<b>A:</b>$\n$B $\t$<b>B:</b>$\n;   \n";
	}
	WriteFile(folder + "/Presets.txt", presets);

	// The settings file names another folder; the update comes every minute, which the fast
	// clock makes 60 ms.
	std::string settingsFolder = env.Config() + "/_LP_x-vnd.QK";
	std::string settings = settingsFolder + "/Webgrazer_settings";
	ASSERT_TRUE(std::filesystem::create_directory(settingsFolder));
	WriteFile(settings, "");
	std::string path = std::string("CSTR") + std::string("/nowhere", 9);
	ASSERT_EQ(setxattr(settings.c_str(), "user.PathToApp", path.data(), path.size(), 0), 0);
	int32 minutes = 1;
	std::string speed = std::string("LONG") + std::string((const char*)&minutes, 4);
	ASSERT_EQ(setxattr(settings.c_str(), "user.opUpdateSpeed", speed.data(), speed.size(), 0), 0);

	std::string logFile = env.State() + "/Webgrazer.log";
	auto run = [&](std::string* printed) {
		unlink(logFile.c_str());
		RunningProgram program;
		ASSERT_TRUE(
			program.Start(executable, {"HAIKU_DISPLAY=headless", "HAIKU_TIME_SCALE=0.001"}));
		// A value of the preset file's page reaches the log book.
		EXPECT_TRUE(WaitUntil(
			[&]() { return ReadFile(logFile).find("\tB \t2\n") != std::string::npos; }, 30000000))
			<< program.Printed() << ReadFile(logFile);
		program.Signal(SIGTERM);
		EXPECT_EQ(program.Wait(), 0);
		*printed = program.Printed();
	};

	// The settings store finds no preset file where the settings point; the application
	// takes the folder of its executable and reads the presets from there.
	std::string printed;
	ASSERT_NO_FATAL_FAILURE(run(&printed));
	EXPECT_EQ(count_of(printed, "Prefs GetPresets() LOAD File"), 2) << printed;
	size_t elsewhere = printed.find(" '/nowhere/Presets.txt'  \n");
	size_t window = printed.find("-- StartUp Window-End--\n");
	size_t here = printed.find(" '" + folder + "/Presets.txt'  \n");
	ASSERT_NE(elsewhere, std::string::npos) << printed;
	ASSERT_NE(window, std::string::npos) << printed;
	ASSERT_NE(here, std::string::npos) << printed;
	EXPECT_LT(elsewhere, window);
	EXPECT_LT(window, here);
	EXPECT_NE(printed.find(" Now PresetList has 2 Items", here), std::string::npos) << printed;

	char stored[256];
	ssize_t size = getxattr(settings.c_str(), "user.PathToApp", stored, sizeof(stored));
	ASSERT_GT(size, 4);
	EXPECT_EQ(std::string(stored, size), "CSTR" + folder + std::string(1, '\0'));

	// Next time the store reads them itself, and the application does not again.
	ASSERT_NO_FATAL_FAILURE(run(&printed));
	EXPECT_EQ(count_of(printed, "Prefs GetPresets() LOAD File"), 1) << printed;
	EXPECT_NE(printed.find(" '" + folder + "/Presets.txt'  \n"), std::string::npos) << printed;
}
