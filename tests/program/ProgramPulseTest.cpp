/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <Bitmap.h>
#include <TranslationUtils.h>

#include <gtest/gtest.h>

#include "HttpServer.h"
#include "ProgramSupport.h"
#include "TestEnv.h"


// The program on the in-memory screen with its clock running a thousand times as fast: a
// minute of the update cycle passes in 60 ms.
class ProgramPulse : public testing::Test {
protected:
	void
	SetUp() override
	{
		fSnapshot = fEnv.Root() + "/screen.png";
		unsetenv("HAIKU_SYSTEM_DIR");

		fServer.Serve("/first.html", "<b>A:</b>1<br>\n");
		fServer.Serve("/second.html", "<b>B:</b>2<br>\n");
		std::ofstream presets(fEnv.AppFolder() + "/Presets.txt");
		for (const char* name : {"first", "second"}) {
			presets << ";\n; --- PRESET ---\n$" << name << ".example$\t$"
					<< fServer.Url(std::string("/") + name + ".html")
					<< "$\n$A $\t$<b>A:</b>$\n$B $\t$<b>B:</b>$\n;   \n";
		}
		presets.close();
		fExecutable = fEnv.AppFolder() + "/Webgrazer";
		std::filesystem::copy_file(WG_APP_EXECUTABLE, fExecutable);
	}

	// The program's clock runs a thousand times as fast; the test's does not.
	bool
	Start(RunningProgram& program)
	{
		return program.Start(fExecutable,
			{"HAIKU_DISPLAY=headless", "HAIKU_TIME_SCALE=0.001",
				"HAIKU_HEADLESS_SNAPSHOT=" + fSnapshot});
	}

	// A settings file that holds only the update interval, in minutes
	void
	SetUpdateSpeed(int32 minutes)
	{
		std::string folder = fEnv.Config() + "/_LP_x-vnd.QK";
		mkdir(folder.c_str(), 0755);
		std::string file = folder + "/Webgrazer_settings";
		std::ofstream(file).close();
		std::string value = std::string("LONG") + std::string((const char*)&minutes, 4);
		ASSERT_EQ(setxattr(file.c_str(), "user.opUpdateSpeed", value.data(), value.size(), 0), 0);
	}

	TestEnv fEnv;
	HttpServer fServer;
	std::string fExecutable;
	std::string fSnapshot;
};


TEST_F(ProgramPulse, EveryMinuteTheViewFetchesTheNextPresetByItself)
{
	ASSERT_NO_FATAL_FAILURE(SetUpdateSpeed(1));
	RunningProgram program;
	ASSERT_TRUE(Start(program));

	// The first update and three pulses: the presets take turns.
	ASSERT_TRUE(fServer.WaitForRequests(4, 30000)) << program.Printed();
	EXPECT_GE(fServer.RequestCount("/first.html"), 2);
	EXPECT_GE(fServer.RequestCount("/second.html"), 1);

	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0);
	std::ifstream log(fEnv.State() + "/Webgrazer.log");
	std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
	EXPECT_NE(text.find("WV_PULSE "), std::string::npos) << text;
}


TEST_F(ProgramPulse, OnStandbyTheViewFetchesOnlyAtTheStart)
{
	ASSERT_NO_FATAL_FAILURE(SetUpdateSpeed(0));
	RunningProgram program;
	ASSERT_TRUE(Start(program));
	ASSERT_TRUE(program.WaitFor("screen: " + fSnapshot)) << program.Printed();
	ASSERT_TRUE(fServer.WaitForRequests(1, 30000));

	// The notice shows in the window at the default frame, 12 pixels above its bottom.
	std::unique_ptr<BBitmap> screen(BTranslationUtils::GetBitmap(fSnapshot.c_str()));
	ASSERT_NE(screen, nullptr);
	bool notice = false;
	for (int32 y = 130 - 21; y <= 130 - 12 && !notice; y++) {
		for (int32 x = 30; x <= 180 && !notice; x++) {
			const uint8* pixel
				= static_cast<const uint8*>(screen->Bits()) + y * screen->BytesPerRow() + x * 4;
			notice = pixel[2] == 80 && pixel[1] == 80 && pixel[0] == 250;
		}
	}
	EXPECT_TRUE(notice) << "no \"-= Standby =-\" on the screen";

	// Two seconds are more than half an hour of the program's time: no request comes.
	EXPECT_FALSE(fServer.WaitForRequests(2, 2000));
	program.Signal(SIGTERM);
	EXPECT_EQ(program.Wait(), 0);
	EXPECT_EQ(fServer.RequestCount("/first.html") + fServer.RequestCount("/second.html"), 1);
}
