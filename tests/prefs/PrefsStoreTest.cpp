/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <string.h>
#include <sys/stat.h>

#include <InterfaceDefs.h>


static std::string
Int32Bytes(int32 value)
{
	return std::string("LONG") + std::string((const char*)&value, 4);
}


static std::string
RectBytes(float l, float t, float r, float b)
{
	float v[4] = {l, t, r, b};
	return std::string("RECT") + std::string((const char*)v, 16);
}


static std::string
BoolBytes(bool value)
{
	return std::string("BOOL") + std::string(1, value ? 1 : 0);
}


TEST_F(PrefsTest, FirstStartCreatesTheFileWithEveryKeyAndItsDefault)
{
	Prefs* prefs = Store();
	ASSERT_NE(prefs, nullptr);
	EXPECT_EQ(prefs, Prefs::getSTPrefs());

	EXPECT_NE(fLastOutput.find(">> musste machen: " + SettingsFolder()), std::string::npos);
	EXPECT_NE(fLastOutput.find("[File not found]\n[File created]\n"), std::string::npos);
	EXPECT_NE(fLastOutput.find("Prefs after Load stat:1 | fatal:0 )\n"), std::string::npos);

	struct stat st;
	ASSERT_EQ(::stat(SettingsFile().c_str(), &st), 0);
	EXPECT_EQ(st.st_size, 0);

	char names[4096];
	ssize_t size = listxattr(SettingsFile().c_str(), names, sizeof(names));
	int count = 0;
	for (ssize_t i = 0; i < size; i += strlen(names + i) + 1)
		count++;
	EXPECT_EQ(count, 17);

	EXPECT_EQ(Attr("prefs_window_rect"), RectBytes(30, 50, 690, 290));
	EXPECT_EQ(Attr("window_by_begin"), BoolBytes(false));
	EXPECT_EQ(Attr("wget_avalibel"), BoolBytes(true));
	EXPECT_EQ(Attr("opWinRect"), RectBytes(30, 50, 180, 130));
	EXPECT_EQ(Attr("opFirstOpen"), BoolBytes(false));
	EXPECT_EQ(Attr("opFixedViewSize"), BoolBytes(true));
	EXPECT_EQ(Attr("opUseLog"), BoolBytes(true));
	EXPECT_EQ(Attr("opViewFailImage"), BoolBytes(false));
	EXPECT_EQ(Attr("opShowImgNames"), BoolBytes(false));
	EXPECT_EQ(Attr("opUseCertOption"), BoolBytes(true));
	EXPECT_EQ(Attr("opUpdateSpeed"), Int32Bytes(7));
	EXPECT_EQ(Attr("opTextSize"), Int32Bytes(11));
	EXPECT_EQ(Attr("opNoneWallpaperStyle"), Int32Bytes(1));
	EXPECT_EQ(Attr("opTextColor"), std::string("RGBC\x1e\x1e\x1e\x18", 8));
	EXPECT_EQ(Attr("PathToApp"), "CSTR" + fEnv.AppFolder() + std::string(1, '\0'));
	EXPECT_EQ(Attr("PresetName"), std::string("CSTRPresets.txt\0", 16));
	EXPECT_EQ(Attr("opUseTagCounting"), BoolBytes(true));
	EXPECT_EQ(Attr("opColor"), "<missing>");

	EXPECT_TRUE(prefs->stat);
	EXPECT_FALSE(prefs->fatal);
	EXPECT_EQ(prefs->opUpdateSpeed, 7);
	EXPECT_TRUE(prefs->opShowImgNames);
	EXPECT_TRUE(prefs->opUseCertOption);
	EXPECT_STREQ(prefs->PathToApp.Path(), fEnv.AppFolder().c_str());
	EXPECT_STREQ(prefs->PresetName.String(), "Presets.txt");
	EXPECT_EQ(prefs->opColor, ui_color(B_PANEL_BACKGROUND_COLOR));
	EXPECT_EQ(prefs->opTextColor, make_color(30, 30, 30, 24));
	EXPECT_EQ(prefs->boxColor, make_color(200, 200, 200, 50));
	EXPECT_EQ(prefs->viewSize, BRect(0, 0, 150, 80));
	EXPECT_EQ(prefs->PresetAtView, 0);
	EXPECT_LT(prefs->nextUpdateDue, system_time());
}


TEST_F(PrefsTest, SecondStartReadsWhatWasSaved)
{
	Prefs* prefs = Store();
	prefs->opUpdateSpeed = 3;
	prefs->opTextSize = 14;
	prefs->opWinRect.Set(100, 120, 400, 300);
	prefs->opUseLog = false;
	prefs->opTextColor = make_color(1, 2, 3, 4);
	prefs->opColor = make_color(255, 0, 0);
	prefs->PresetName = "MyPresets.txt";
	prefs->opShowImgNames = false;
	EXPECT_TRUE(
		Quiet([&] { EXPECT_TRUE(prefs->Save()); }).find("Prefs -Save ok\n") != std::string::npos);
	EXPECT_EQ(Attr("opColor"), std::string("RGBC\xff\x00\x00\xff", 8));
	EXPECT_EQ(Attr("opShowImgNames"), BoolBytes(false));

	Restart();
	prefs = Prefs::getSTPrefs();
	EXPECT_NE(fLastOutput.find("[File found]\n"), std::string::npos);
	EXPECT_EQ(prefs->opUpdateSpeed, 3);
	EXPECT_EQ(prefs->opTextSize, 14);
	EXPECT_EQ(prefs->opWinRect, BRect(100, 120, 400, 300));
	EXPECT_FALSE(prefs->opUseLog);
	EXPECT_EQ(prefs->opTextColor, make_color(1, 2, 3, 4));
	EXPECT_STREQ(prefs->PresetName.String(), "MyPresets.txt");
	// The stored background colour is never read back, and the picture names always show.
	EXPECT_EQ(prefs->opColor, ui_color(B_PANEL_BACKGROUND_COLOR));
	EXPECT_TRUE(prefs->opShowImgNames);
	Quiet([&] { prefs->Save(); });
	EXPECT_EQ(Attr("opShowImgNames"), BoolBytes(true));
}


TEST_F(PrefsTest, StringsAreCutAt255BytesAndAlwaysTerminated)
{
	Prefs* prefs = Store();
	char value[512];
	char deflt[512] = "fallback";

	std::string text255(255, 'a');
	EXPECT_TRUE(prefs->PutStr("sample", text255.c_str()));
	EXPECT_TRUE(prefs->GetStr("sample", value, deflt));
	EXPECT_EQ(std::string(value), text255);

	// A longer stored text is read cut, and stored cut, so that it takes no more room.
	EXPECT_TRUE(prefs->PutStr("sample", std::string(1000, 'b').c_str()));
	EXPECT_TRUE(prefs->GetStr("sample", value, deflt));
	EXPECT_EQ(std::string(value), std::string(255, 'b'));
	EXPECT_EQ(Attr("sample"), "CSTR" + std::string(255, 'b') + '\0');

	SetAttr("sample", "CSTRno terminator");
	memset(value, 'x', sizeof(value));
	EXPECT_TRUE(prefs->GetStr("sample", value, deflt));
	EXPECT_STREQ(value, "no terminator");

	// A missing key takes the default and stores it with its NUL.
	EXPECT_TRUE(prefs->GetStr("absent", value, deflt));
	EXPECT_STREQ(value, "fallback");
	EXPECT_EQ(Attr("absent"), std::string("CSTRfallback\0", 13));
	EXPECT_TRUE(prefs->GetStr("absent", value, deflt));
	EXPECT_STREQ(value, "fallback");
}


TEST_F(PrefsTest, StoredValuesOfTheWrongSizeOrTypeAreReplacedByTheDefault)
{
	Store();
	SetAttr("opUpdateSpeed", std::string("LONG\x05\x00", 6));
	SetAttr("opTextSize", std::string("CSTR12\0", 7));
	SetAttr("opWinRect", std::string("RECT\0\0\0\0", 8));
	SetAttr("opUseLog", std::string("BOOL\x02", 5));
	SetAttr("opTextColor", std::string("RG", 2));

	Restart();
	Prefs* prefs = Prefs::getSTPrefs();
	EXPECT_FALSE(prefs->fatal);
	EXPECT_EQ(prefs->opUpdateSpeed, 7);
	EXPECT_EQ(Attr("opUpdateSpeed"), Int32Bytes(7));
	EXPECT_EQ(prefs->opTextSize, 11);
	EXPECT_EQ(prefs->opWinRect, BRect(30, 50, 180, 130));
	EXPECT_TRUE(prefs->opUseLog);
	EXPECT_EQ(prefs->opTextColor, make_color(30, 30, 30, 24));
	EXPECT_EQ(Attr("opTextColor"), std::string("RGBC\x1e\x1e\x1e\x18", 8));
}


// Stored values that would overflow the drawing or fetch all the time, and a preset file and
// a tag list that are pipes (reading one would wait for ever), are held in bounds or refused.
TEST_F(PrefsTest, HostileStoredValuesAndSpecialFilesAreHeldInBounds)
{
	// (The store saves what it holds when it goes, so the values are set after that.)
	Store();
	Quiet([] { Prefs::aPrefsZgr->DeleteMe(); });
	SetAttr("opUpdateSpeed", Int32Bytes(-1));
	SetAttr("opTextSize", Int32Bytes(0x7fffffff));
	ASSERT_EQ(mkfifo((fEnv.AppFolder() + "/Presets.txt").c_str(), 0644), 0);
	ASSERT_EQ(mkfifo((fEnv.AppFolder() + "/TagList.txt").c_str(), 0644), 0);

	Prefs* prefs = Store();
	EXPECT_EQ(prefs->opUpdateSpeed, 0);
	EXPECT_EQ(prefs->opTextSize, 128);
	EXPECT_EQ(prefs->presetList->CountItems(), 0);
	EXPECT_NE(fLastOutput.find("/Presets.txt' is not a regular file: not read"), std::string::npos)
		<< fLastOutput;
	EXPECT_NE(fLastOutput.find("/TagList.txt' is not a regular file: not read"), std::string::npos);
	EXPECT_STREQ(prefs->tagList[0].pattern, "<title>");
}


TEST_F(PrefsTest, AnUnusableSettingsFileStopsTheLoadWithoutACrash)
{
	// A folder where the settings file belongs cannot carry the values.
	ASSERT_EQ(mkdir(SettingsFolder().c_str(), 0755), 0);
	ASSERT_EQ(mkdir(SettingsFile().c_str(), 0755), 0);

	Prefs* prefs = Store();
	EXPECT_NE(fLastOutput.find("Unknown error reading prefs_window_rect:\n"), std::string::npos);
	EXPECT_NE(fLastOutput.find(" NEW  - prefs.file \n"), std::string::npos);
	EXPECT_TRUE(prefs->fatal);
	EXPECT_FALSE(prefs->stat);
	// The members keep the values they had before the load.
	EXPECT_EQ(prefs->opUpdateSpeed, 0);
	EXPECT_EQ(prefs->opTextSize, 11);
	EXPECT_EQ(prefs->opWinRect, BRect(30, 50, 180, 130));
	EXPECT_EQ(prefs->presetList->CountItems(), 0);

	std::string saved = Quiet([&] { EXPECT_FALSE(prefs->Save()); });
	EXPECT_EQ(saved.find("Prefs -Save ok"), std::string::npos);
	EXPECT_NE(saved.find("Unknown error writing prefs_window_rect:\n"), std::string::npos);
}


TEST_F(PrefsTest, PrintToStreamSummarisesTheSettings)
{
	Prefs* prefs = Store();
	prefs->PathToApp.SetTo("/opt/wg");
	std::string out = Quiet([&] { prefs->PrintToStream(); });
	EXPECT_EQ(out,
		"\n--Prefs--\n\n"
		"        PathToApp: '/opt/wg'\n"
		"prefs_window_rect: BRect(l:30.0, t:50.0, r:690.0, b:290.0)\n"
		"        opWinRect: BRect(l:30.0, t:50.0, r:180.0, b:130.0)\n"
		"  window_by_begin: '0'\n"
		"      opFirstOpen: '0'\n"
		"      opInDeskbar: '0'\n"
		"    opUpdateSpeed: '7'\n"
		"       opTextSize: '11'\n"
		"    wget_avalibel: '1'\n"
		"     PresetAtView: '0'\n");
}
