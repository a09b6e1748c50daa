/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <regex>

#include <Message.h>


// Two blanks, HH:MM:SS, two blanks.
static const char* kStamp = "  [0-2][0-9]:[0-5][0-9]:[0-6][0-9]  ";


static bool
Matches(const std::string& text, const std::string& pattern)
{
	return std::regex_match(text, std::regex(pattern));
}


TEST_F(PrefsTest, LogBookLinesHaveTheirStampTabAndMessageCode)
{
	Prefs* prefs = Store();
	// Every start begins a new log book.
	EXPECT_TRUE(Matches(ReadFile(LogFile()), std::string(kStamp) + "Init-Prefs\n"));

	prefs->Logbuch(1, NULL, "fresh", false, false);
	EXPECT_TRUE(Matches(ReadFile(LogFile()), std::string(kStamp) + "fresh\n"));

	prefs->Logbuch(0, NULL, "X", true, true);
	prefs->Logbuch(0, NULL, "Y", false, false);
	BMessage pulse('wpls');
	prefs->Logbuch(0, &pulse, "Win  ", true, true);
	prefs->Logbuch(0, &pulse, NULL, false, true);
	EXPECT_TRUE(Matches(ReadFile(LogFile()),
		std::string(kStamp) + "fresh\n" + kStamp + "\tX\n" + "\tY" + kStamp
			+ "Win   'wpls'  <2003856499> \n" + " 'wpls'  <2003856499> \n"));
}


TEST_F(PrefsTest, LogBookStaysUntouchedWhenSwitchedOff)
{
	Prefs* prefs = Store();
	prefs->opUseLog = false;
	ASSERT_EQ(unlink(LogFile().c_str()), 0);

	prefs->Logbuch(1, NULL, "Init-Prefs", true, true);
	prefs->Logbuch(0, NULL, "X", true, true);
	EXPECT_FALSE(FileExists(LogFile()));

	// A log book that cannot be opened is skipped quietly.
	prefs->opUseLog = true;
	ASSERT_EQ(rmdir(fEnv.State().c_str()), 0);
	WriteFile(fEnv.State(), "a file where the folder belongs");
	prefs->Logbuch(0, NULL, "X", true, true);
	prefs->Logbuch(1, NULL, "X", true, true);
	EXPECT_EQ(ReadFile(fEnv.State()), "a file where the folder belongs");
}


TEST(LongToAscii, GivesTheFourCharactersOfACode)
{
	EXPECT_STREQ(long2asc('wpls'), "wpls");
	EXPECT_STREQ(long2asc('_QRQ'), "_QRQ");
	EXPECT_STREQ(long2asc(0x10203040), "\x10\x20\x30\x40");
}


class TagListTest : public PrefsTest {
protected:
	Prefs*
	LoadTags(const std::string& contents)
	{
		Prefs* prefs = Store();
		WriteFile(fEnv.AppFolder() + "/TagList.txt", contents);
		fLastOutput = Quiet([&] { prefs->GetTagList(); });
		return prefs;
	}
};


TEST_F(TagListTest, WithoutAFileTheDefaultsAreUsed)
{
	Prefs* prefs = Store();
	EXPECT_NE(fLastOutput.find("GetTagList() defaults\n"), std::string::npos);
	EXPECT_STREQ(prefs->tagList[0].pattern, "<title>");
	EXPECT_STREQ(prefs->tagList[8].pattern, "Vorhersage für");
	EXPECT_STREQ(prefs->tagList[13].pattern, "floats\"></div> <p>");
	EXPECT_STREQ(prefs->tagList[24].pattern, "reserve2\">");
	for (const TagEntry& entry : prefs->tagList)
		EXPECT_EQ(entry.count, 0);
}


TEST_F(TagListTest, FileLinesBecomeEntriesAndSkippedLinesDoNot)
{
	Prefs* prefs = LoadTags("<a>\n\n\tindented\n \r\n<b>\r\n<last>");
	EXPECT_NE(fLastOutput.find("GetTagList() load from file\n"), std::string::npos);
	EXPECT_NE(fLastOutput.find("00 '<a>'\n"), std::string::npos);
	EXPECT_NE(fLastOutput.find("24 ''\n"), std::string::npos);
	EXPECT_STREQ(prefs->tagList[0].pattern, "<a>");
	EXPECT_STREQ(prefs->tagList[1].pattern, " \r");
	EXPECT_STREQ(prefs->tagList[2].pattern, "<b>\r");
	// The last line has no LF, so it loses its last byte.
	EXPECT_STREQ(prefs->tagList[3].pattern, "<last");
	for (int i = 4; i < kTagCount; i++)
		EXPECT_STREQ(prefs->tagList[i].pattern, "") << i;
}


TEST_F(TagListTest, LongLinesAreCutAndOnlyTwentyFiveEntriesAreRead)
{
	std::string contents = std::string(60, 'p') + "\n";
	// 200 bytes are read as a piece of 127 bytes and a piece of the rest.
	contents += std::string(127, 'q') + std::string(73, 'r') + "\n";
	for (int i = 0; i < 30; i++)
		contents += "tag" + std::to_string(i) + "\n";
	Prefs* prefs = LoadTags(contents);

	EXPECT_EQ(std::string(prefs->tagList[0].pattern), std::string(47, 'p'));
	EXPECT_EQ(std::string(prefs->tagList[1].pattern), std::string(47, 'q'));
	EXPECT_EQ(std::string(prefs->tagList[2].pattern), std::string(47, 'r'));
	EXPECT_STREQ(prefs->tagList[3].pattern, "tag0");
	EXPECT_STREQ(prefs->tagList[24].pattern, "tag21");
}
