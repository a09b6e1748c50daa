/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "HttpServer.h"
#include "wg_Tools.h"


static const char* kPage = "<html><head><title>Wetter</title></head>\n"
						   "<body><b>Temp.:</b> 12&deg;<br>\n"
						   "<img src=\"img/sun.png\" alt=\"x\">\n"
						   "</body></html>\n";


// Runs the fetch the way an update does: a preset's labels and patterns, placeholders as
// values, the real wget from the system folder, pages from a server on this machine.
class FetchTest : public PrefsTest {
protected:
	void
	SetUp() override
	{
		if (access("/usr/bin/wget", X_OK) != 0)
			GTEST_SKIP() << "no wget on this machine";
		ASSERT_EQ(symlink("/usr/bin/wget", (fEnv.System() + "/bin/wget").c_str()), 0);
		// The pages come from this machine, never through a proxy of the environment.
		setenv("no_proxy", "127.0.0.1,localhost", 1);
		fPrefs = Store();
		fPrefs->wget_avalibel = IfExist((fEnv.System() + "/bin/wget").c_str());
		fPrefs->opUseCertOption = false;
		fServer.Serve("/page.html", kPage);
	}

	std::vector<std::string>
	Fetch(const std::string& url)
	{
		const char* labels[] = {"Temp", "Sun"};
		const char* patterns[] = {"<b>Temp.:</b>", "img/"};
		BList labelList, patternList, valueList;
		for (int i = 0; i < 2; i++) {
			labelList.AddItem(new BString(labels[i]));
			patternList.AddItem(new BString(patterns[i]));
			valueList.AddItem(new BString("     "));
		}
		fLastOutput
			= Quiet([&] { ReceiveX_wget(url.c_str(), &patternList, &labelList, &valueList); });
		std::vector<std::string> values;
		for (int i = 0; i < 2; i++) {
			values.push_back(((BString*)valueList.ItemAt(i))->String());
			delete (BString*)labelList.ItemAt(i);
			delete (BString*)patternList.ItemAt(i);
			delete (BString*)valueList.ItemAt(i);
		}
		return values;
	}

	std::string
	Scratch() const
	{
		return fEnv.State() + "/wg_answer.txt";
	}

	Prefs* fPrefs;
	HttpServer fServer;
};


typedef std::vector<std::string> Strings;


TEST_F(FetchTest, AServedPageIsDownloadedCleanedAndExtracted)
{
	EXPECT_EQ(Fetch(fServer.Url("/page.html")), (Strings {" 12\xc2\xb0 C", "sun.png"}));
	EXPECT_TRUE(fPrefs->pageLoaded);
	EXPECT_EQ(fServer.RequestCount("/page.html"), 1);
	EXPECT_NE(fLastOutput.find(" -O '" + Scratch() + "' -T4 '" + fServer.Url("/page.html") + "'"),
		std::string::npos);
	EXPECT_EQ(fLastOutput.find("--no-check-certificate"), std::string::npos);

	std::string cleaned = ReadFile(Scratch());
	EXPECT_NE(cleaned.find("<title>:0|Wetter"), std::string::npos);
	EXPECT_EQ(cleaned.substr(cleaned.size() - 7), "<end>\r\n");

	fPrefs->opUseCertOption = true;
	Fetch(fServer.Url("/page.html"));
	EXPECT_NE(fLastOutput.find(" --no-check-certificate -T4 "), std::string::npos);
}


TEST_F(FetchTest, AFailedDownloadSkipsTheCleaning)
{
	EXPECT_EQ(Fetch(fServer.Url("/missing.html")), (Strings {"     ", "     "}));
	EXPECT_FALSE(fPrefs->pageLoaded);
	EXPECT_EQ(fServer.RequestCount("/missing.html"), 1);
	EXPECT_EQ(ReadFile(Scratch()).find("<end>"), std::string::npos);
}


TEST_F(FetchTest, BlanksInAddressesAreSentAsPercentTwenty)
{
	fServer.Serve("/my page.html", kPage);
	EXPECT_EQ(Fetch(fServer.Url("/my page.html"))[1], "sun.png");
	ASSERT_FALSE(fServer.RequestTargets().empty());
	EXPECT_EQ(fServer.RequestTargets().back(), "/my%20page.html");
}


TEST_F(FetchTest, LocalFilesAreCopied)
{
	std::string local = fEnv.Home() + "/saved page.html";
	WriteFile(local, kPage);
	EXPECT_EQ(Fetch(local), (Strings {" 12\xc2\xb0 C", "sun.png"}));
	EXPECT_TRUE(fPrefs->pageLoaded);
	EXPECT_NE(fLastOutput.find("cp -v '" + local + "' '" + Scratch() + "'"), std::string::npos);

	// A copy that fails is a failed download.
	Fetch(fEnv.Home() + "/no such page.html");
	EXPECT_FALSE(fPrefs->pageLoaded);

	// Started from a terminal that stops background writers ("stty tostop"), the copy, which
	// writes its line there, still runs through.
	int terminal;
	pid_t child = forkpty(&terminal, NULL, NULL, NULL);
	ASSERT_GE(child, 0);
	if (child == 0) {
		struct termios mode;
		tcgetattr(STDIN_FILENO, &mode);
		mode.c_lflag |= TOSTOP;
		tcsetattr(STDIN_FILENO, TCSANOW, &mode);
		XDownloadUrl(local.c_str());
		fflush(stdout);
		_exit(fPrefs->pageLoaded ? 0 : 1);
	}
	std::string shown;
	auto readShown = [&](int timeoutMs) {
		struct pollfd ready = {terminal, POLLIN, 0};
		char buffer[4096];
		ssize_t size = poll(&ready, 1, timeoutMs) > 0 ? read(terminal, buffer, sizeof(buffer)) : 0;
		if (size > 0)
			shown.append(buffer, size);
		return size;
	};
	int status = -1;
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
	while (waitpid(child, &status, WNOHANG) != child) {
		if (std::chrono::steady_clock::now() > deadline) {
			kill(child, SIGKILL);
			waitpid(child, NULL, 0);
			status = -1;
			break;
		}
		if (readShown(100) < 0)
			poll(NULL, 0, 10);
	}
	while (readShown(0) > 0) {
	}
	close(terminal);
	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << shown;
	EXPECT_NE(shown.find("' -> '" + Scratch() + "'"), std::string::npos) << shown;
}


TEST_F(FetchTest, WithTheSettingsWindowOpenTheScratchFileIsExtractedAsItIs)
{
	WriteFile(Scratch(), "<b>Temp.:</b>7<\n");
	fPrefs->settWindowOpen = true;
	EXPECT_EQ(Fetch(fServer.Url("/page.html"))[0], "7");
	EXPECT_NE(fLastOutput.find("#DON'T EXEC: " + fServer.Url("/page.html")), std::string::npos);
	EXPECT_EQ(fServer.RequestCount("/page.html"), 0);
}


TEST_F(FetchTest, WithoutWgetNothingIsFetchedOrExtracted)
{
	WriteFile(Scratch(), "<b>Temp.:</b>7<\n");
	ASSERT_EQ(unlink((fEnv.System() + "/bin/wget").c_str()), 0);
	fPrefs->wget_avalibel = IfExist((fEnv.System() + "/bin/wget").c_str());
	EXPECT_FALSE(fPrefs->wget_avalibel);
	EXPECT_EQ(Fetch(fServer.Url("/page.html")), (Strings {"     ", "     "}));
	EXPECT_NE(fLastOutput.find("Can't wget, missing! \b\n"), std::string::npos);
	EXPECT_EQ(fServer.RequestCount("/page.html"), 0);
}


TEST_F(FetchTest, AddressesCanNeverRunACommand)
{
	std::string marker = fEnv.Root() + "/touched";
	for (const std::string& url :
		{fServer.Url("/a'; touch " + marker + "; '"), fEnv.Home() + "/x'; touch " + marker + "; '",
			std::string("-e touch " + marker), fServer.Url("/$(touch " + marker + ")")}) {
		Fetch(url);
		EXPECT_FALSE(FileExists(marker)) << url;
	}

	// An address with an apostrophe reaches the server whole.
	fServer.Serve("/it's.html", kPage);
	EXPECT_EQ(Fetch(fServer.Url("/it's.html"))[1], "sun.png");
}


TEST(GetPathWG, CreatesMissingFoldersLevelByLevel)
{
	TestEnv env;
	testing::internal::CaptureStdout();
	EXPECT_EQ(GetPathWG(NULL, NULL, NULL), nullptr);
	std::string existing = GetPathWG(env.Home().c_str(), "a", "b");
	std::string out = testing::internal::GetCapturedStdout();
	EXPECT_EQ(existing, env.Home() + "/ab");
	EXPECT_EQ(out, " :: missing ord\n");

	std::string deep = env.Home() + "/one/two";
	testing::internal::CaptureStdout();
	EXPECT_EQ(std::string(GetPathWG(deep.c_str(), NULL, "x")), deep + "/x");
	out = testing::internal::GetCapturedStdout();
	struct stat st;
	EXPECT_EQ(stat(deep.c_str(), &st), 0);
	EXPECT_TRUE(S_ISDIR(st.st_mode));
	EXPECT_NE(out.find(" - " + env.Home() + "/one >>buildet\n"), std::string::npos);
	EXPECT_NE(out.find(" - " + env.Home() + " >>ok\n"), std::string::npos);
}


// A page over the size cap and a download that the program's quit interrupts both count as
// failed, and nothing the command started outlives it.
TEST_F(FetchTest, HugePagesFailAndAQuitStopsTheDownloadAndItsTools)
{
	fServer.Serve("/huge.html", std::string(40 * 1024 * 1024, 'x'));
	std::string printed = Quiet([&] { XDownloadUrl(fServer.Url("/huge.html").c_str()); });
	EXPECT_FALSE(fPrefs->pageLoaded);
	EXPECT_NE(printed.find(" download failed: "), std::string::npos) << printed;
	struct stat info;
	ASSERT_EQ(stat(Scratch().c_str(), &info), 0);
	EXPECT_LE(info.st_size, 32 * 1024 * 1024);

	// The server holds its answer; the quit comes from another thread, as a signal's does.
	fServer.Hold();
	std::thread quit([&]() {
		fServer.WaitForRequests(2, 10000);
		AbortDownloads(true);
	});
	printed = Quiet([&] { XDownloadUrl(fServer.Url("/page.html").c_str()); });
	quit.join();
	AbortDownloads(false);
	fServer.Release();
	EXPECT_FALSE(fPrefs->pageLoaded);
	EXPECT_NE(printed.find(" download stopped: the program quits\n"), std::string::npos) << printed;
	// No wget writes the scratch file any more.
	bool wgetLeft = false;
	for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
		std::string command = ReadFile(entry.path().string() + "/cmdline");
		if (command.find(Scratch()) != std::string::npos)
			wgetLeft = true;
	}
	EXPECT_FALSE(wgetLeft);
}
