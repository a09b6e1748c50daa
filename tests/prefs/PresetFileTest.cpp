/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <vector>

#include "wg_Tools.h"


class PresetFileTest : public PrefsTest {
protected:
	void
	SetUp() override
	{
		fPrefs = Store();
	}

	// Writes the text as the preset file and reads it.
	void
	Read(const std::string& contents)
	{
		WriteFile(fEnv.AppFolder() + "/Presets.txt", contents);
		fLastOutput = Quiet([&] { fPrefs->GetPresets(); });
	}

	int32
	CountPresets() const
	{
		return fPrefs->presetList->CountItems();
	}
	Preset*
	PresetAt(int32 index) const
	{
		return (Preset*)fPrefs->presetList->ItemAt(index);
	}

	std::vector<std::string>
	Items(int32 index) const
	{
		std::vector<std::string> items;
		Preset* preset = PresetAt(index);
		for (int32 i = 0; preset != NULL && i < preset->CountItems(); i++)
			items.push_back(preset->TextAt(i));
		return items;
	}

	Prefs* fPrefs;
};


typedef std::vector<std::string> Strings;


TEST_F(PresetFileTest, TheWrittenDefaultsAreExactlyTheWriterRules)
{
	std::string out = Quiet([] { SaveDefaultPresets(); });
	std::string path = fEnv.AppFolder() + "/Presets.txt";
	EXPECT_EQ(out, "\nSAVEDEFAULT File: '" + path + "'  \n\nSaveDefaultPresets: -- ende  \n");

	std::string bytes = ReadFile(path);
	const std::string tableE = ";\n; --- PRESET ---\n"
							   "$kinoprogramm.example$\t$http://kinoprogramm.example/index.php?"
							   "inc=stadthagen$\n"
							   "$ vom $\t$Unser Programm vom$\n"
							   "$ Titel: $\t$ftabfilmtitel\">$\n"
							   ";   \n";
	ASSERT_GE(bytes.size(), tableE.size());
	EXPECT_EQ(bytes.substr(bytes.size() - tableE.size()), tableE);
	EXPECT_EQ(bytes.substr(0, 20), ";\n; --- PRESET ---\n$");

	// SavePresets writes the same bytes.
	ASSERT_EQ(unlink(path.c_str()), 0);
	out = Quiet([] { SavePresets(); });
	EXPECT_EQ(out, "\nSAVE File: '" + path + "'  \n\nSavePresets: -- ende  \n");
	EXPECT_EQ(ReadFile(path), bytes);

	// Read back: five presets, equal to the tables byte for byte.
	fLastOutput = Quiet([&] { fPrefs->GetPresets(); });
	EXPECT_NE(fLastOutput.find(" Now PresetList has 5 Items\n "), std::string::npos);
	ASSERT_EQ(CountPresets(), 5);
	const char** tables[]
		= {DefaultPresetA, DefaultPresetB, DefaultPresetC, DefaultPresetD, DefaultPresetE};
	const int32 pairs[] = {9, 8, 7, 8, 3};
	for (int32 t = 0; t < 5; t++) {
		Preset* preset = PresetAt(t);
		ASSERT_EQ(preset->CountPairs(), pairs[t]) << t;
		for (int32 i = 0; i < preset->CountItems(); i++)
			EXPECT_STREQ(preset->TextAt(i), tables[t][i]) << t << ":" << i;
	}
	EXPECT_STREQ(PresetAt(0)->TextAt(3), "kirchemuehle.jpg");
	EXPECT_STREQ(PresetAt(1)->TextAt(15), "content=\"http://eurokurse.example/images/web/");
}


TEST_F(PresetFileTest, PairLinesSplitAtTheFirstSeparator)
{
	Read("; --- PRESET ---\n"
		 "  $x$\t$y$\n"
		 "$a$b$\t$c$d$\n"
		 "no pair here\n"
		 "$p$\t$q$\t$r$\n"
		 "$a$\t$b$");
	ASSERT_EQ(CountPresets(), 1);
	EXPECT_EQ(Items(0), (Strings {"  x", "y", "a$b", "c$d", "p", "q$\t$r", "a", "b$"}));

	Read(" PRESET \r\n$a$\t$b$\r\n$c$\t$d$\r\n");
	EXPECT_EQ(Items(0), (Strings {"a", "b$\r\n", "c", "d$\r\n"}));
}


TEST_F(PresetFileTest, HeadersMakePresetsAndStrayPairsAreDropped)
{
	Read("$early$\t$pair$\n; PRESET one\n; PRESET two\n");
	EXPECT_NE(fLastOutput.find(" Now PresetList has 2 Items\n "), std::string::npos);
	ASSERT_EQ(CountPresets(), 2);
	EXPECT_TRUE(Items(0).empty());
	EXPECT_TRUE(Items(1).empty());

	Read("; comment\n\n");
	EXPECT_EQ(CountPresets(), 0);

	// A line with both starts the preset, then adds its pair.
	Read("$ PRESET $\t$x$\n");
	ASSERT_EQ(CountPresets(), 1);
	EXPECT_EQ(Items(0), (Strings {" PRESET ", "x"}));

	ASSERT_EQ(unlink((fEnv.AppFolder() + "/Presets.txt").c_str()), 0);
	fLastOutput = Quiet([&] { fPrefs->GetPresets(); });
	EXPECT_NE(fLastOutput.find("error open file\n"), std::string::npos);
	EXPECT_EQ(CountPresets(), 0);
}


TEST_F(PresetFileTest, ViewSizeLinesSetTheViewSize)
{
	Read(" PRESET \n$[VIEW_SIZE]$\t$320,200$\n");
	EXPECT_EQ(fPrefs->viewSize, BRect(0, 0, 320, 200));
	EXPECT_NE(fLastOutput.find(":  '[VIEW_SIZE]':'320,200' \n"), std::string::npos);
	Read(" PRESET \n$[VIEW_SIZE]$\t$320$\n");
	EXPECT_EQ(fPrefs->viewSize, BRect(0, 0, 320, 320));
	Read(" PRESET \n$ [VIEW_SIZE]$\t$10,10$\n");
	EXPECT_EQ(fPrefs->viewSize, BRect(0, 0, 320, 320));
	Read(" PRESET \n$[VIEW_SIZE]$\t$99999999999,x$\n");
	EXPECT_EQ(fPrefs->viewSize, BRect(0, 0, 2147483647.0f, 0));
}


TEST_F(PresetFileTest, LongLinesAreReadInPieces)
{
	// The pattern is cut at the end of the first piece; the rest of the line is a line of
	// its own, here one that holds a header.
	std::string line = "$label$\t$" + std::string(2047 - 9, 'v') + " PRESET $\t$tail$\n";
	Read(" PRESET \n" + line);
	ASSERT_EQ(CountPresets(), 2);
	EXPECT_EQ(Items(0), (Strings {"label", std::string(2038, 'v')}));
	EXPECT_EQ(Items(1), (Strings {" PRESET ", "tail"}));
}


TEST_F(PresetFileTest, PresetsReplacedByAReloadStayValidUntilReleased)
{
	Read(" PRESET \n$first.example$\t$http://first.example/$\n");
	const char* title = PresetAt(0)->TextAt(0);

	Read(" PRESET \n$second.example$\t$http://second.example/$\n");
	Read(" PRESET \n$third.example$\t$http://third.example/$\n");
	// What the view took from the first file is still there.
	EXPECT_STREQ(title, "first.example");
	EXPECT_STREQ(PresetAt(0)->TextAt(0), "third.example");

	fPrefs->ReleaseRetiredPresets();
	title = PresetAt(0)->TextAt(0);
	Read(" PRESET \n$fourth.example$\t$http://fourth.example/$\n");
	EXPECT_STREQ(title, "third.example");

	// The free function reads through the store.
	Quiet([] { LoadPresets(); });
	EXPECT_STREQ(PresetAt(0)->TextAt(0), "fourth.example");
}
