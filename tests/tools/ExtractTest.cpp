/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <string>
#include <vector>

#include "wg_Tools.h"


typedef std::vector<std::string> Strings;


// The view's three line lists, filled from label and pattern pairs with placeholders.
class LineLists {
public:
	LineLists(const Strings& labels, const Strings& patterns)
	{
		for (const std::string& label : labels)
			fLabels.AddItem(new BString(label.c_str()));
		for (const std::string& pattern : patterns)
			fPatterns.AddItem(new BString(pattern.c_str()));
		for (size_t i = 0; i < labels.size(); i++)
			fValues.AddItem(new BString("     "));
	}

	~LineLists()
	{
		for (BList* list : {&fLabels, &fPatterns, &fValues}) {
			for (int32 i = 0; i < list->CountItems(); i++)
				delete (BString*)list->ItemAt(i);
		}
	}

	Strings
	Values() const
	{
		Strings values;
		for (int32 i = 0; i < fValues.CountItems(); i++)
			values.push_back(((BString*)fValues.ItemAt(i))->String());
		return values;
	}

	BList fLabels;
	BList fPatterns;
	BList fValues;
};


class ExtractTest : public PrefsTest {
protected:
	void
	SetUp() override
	{
		Store();
	}

	Strings
	Extract(const std::string& page, const Strings& labels, const Strings& patterns)
	{
		std::string path = fEnv.Root() + "/page.txt";
		WriteFile(path, page);
		LineLists lists(labels, patterns);
		fLastOutput = Quiet([&] {
			ExtractContent(path.c_str(), &lists.fPatterns, &lists.fLabels, &lists.fValues);
		});
		return lists.Values();
	}
};


TEST_F(ExtractTest, ValuesEndAtMarkupAndAreCleaned)
{
	EXPECT_EQ(Extract("<td><b>Temp.:</b>  12&degC<br></td>\n", {"T"}, {"<b>Temp.:</b>"}),
		(Strings {"  12\xc2\xb0 C"}));

	// The source attribute of an image ends at the quote before " alt=".
	EXPECT_EQ(Extract("<img src=\"images/karten-symbole/sun.png\" alt=\"sun\">\n", {"I"},
				  {"images/karten-symbole/"}),
		(Strings {"sun.png"}));

	// Only the first occurrence on a line counts; a colour value names a picture.
	EXPECT_EQ(Extract("c=#ff0000< c=#00ff00<\n", {"C"}, {"c="}), (Strings {"#ff0000.png"}));

	EXPECT_EQ(Extract("a=10%<\nb=15%<\n", {"A", "B"}, {"a=", "b="}), (Strings {"10 % ", "15%"}));
	EXPECT_EQ(Extract("v=x\\y;(z)>\"w\n", {"V"}, {"v="}), (Strings {"xy"}));
	EXPECT_EQ(Extract("v=1C.C&nbsp;document.writeln2<\n", {"V"}, {"v="}), (Strings {"1 C2"}));

	// The priority chain: a "<" anywhere later wins over an earlier apostrophe, but a double
	// quote before the end still ends the value.
	EXPECT_EQ(Extract("v=ab'cd<e\n", {"V"}, {"v="}), (Strings {"ab'cd"}));
	EXPECT_EQ(Extract("v=ab\"cd<e\n", {"V"}, {"v="}), (Strings {"ab"}));

	// Without any terminator the value is the rest of the line, its line end included.
	EXPECT_EQ(Extract("x=\r\n", {"X"}, {"x="}), (Strings {"\r\n"}));
}


TEST_F(ExtractTest, RunsOfOneLabelAreJoinedAndLaterMatchesReplace)
{
	EXPECT_EQ(
		Extract("l=a<\nl=b<\nl=c<\n", {"L", "M"}, {"l=", "m="}), (Strings {"a@b@c", "     "}));
	EXPECT_EQ(Extract("l=a<\nm=b<\nq\nl=c<\n", {"L", "M"}, {"l=", "m="}), (Strings {"c", "b"}));

	// An empty value keeps the item but still ends the run of the label before it.
	EXPECT_EQ(Extract("l=1<\nm=<\nl=3<\n", {"L", "M"}, {"l=", "m="}), (Strings {"3", "     "}));

	// Two labels with the same text count as one run.
	EXPECT_EQ(Extract("l=1<\nm=2<\n", {"S", "S"}, {"l=", "m="}), (Strings {"1", "     @2"}));

	// Labels are compared whole, however long.
	std::string longLabel(130, 'x');
	EXPECT_EQ(Extract("l=1<\nm=2<\n", {longLabel + "1", longLabel + "2"}, {"l=", "m="}),
		(Strings {"1", "2"}));
}


TEST_F(ExtractTest, TheScanStopsAfterEnoughStoresOrALongValue)
{
	// Two labels: the third replacing store ends the scan before the next line.
	EXPECT_EQ(Extract("a=1<\nb=2<\na=3<\nb=4<\n", {"A", "B"}, {"a=", "b="}), (Strings {"3", "2"}));
	EXPECT_NE(fLastOutput.find(" 2 break \n"), std::string::npos);

	// A value past 500 bytes ends it too, after the rest of its line.
	std::string chunk(300, 'v');
	EXPECT_EQ(Extract("a=" + chunk + "<\na=" + chunk + "< b=x<\nb=y<\n", {"A", "B"}, {"a=", "b="}),
		(Strings {chunk + "@" + chunk, "x"}));
}


TEST_F(ExtractTest, LongLinesNulBytesAndMissingInputAreHarmless)
{
	// A pattern beyond the first 2047 bytes of a line is found in the next piece.
	EXPECT_EQ(Extract(std::string(3000, 'z') + "p=deep<\n", {"P"}, {"p="}), (Strings {"deep"}));
	EXPECT_EQ(Extract(std::string("p=a\0b<\n", 7), {"P"}, {"p="}), (Strings {"a"}));
	// Nothing after a NUL byte of a line is seen, and a pattern or an alt quote cut by the
	// end of a 2047-byte piece is not found there.
	EXPECT_EQ(
		Extract(std::string("x\0p=hidden<\np=seen<\n", 20), {"P"}, {"p="}), (Strings {"seen"}));
	EXPECT_EQ(Extract(std::string(2046, 'z') + "p=cut<\n", {"P"}, {"p="}), (Strings {"     "}));
	EXPECT_EQ(
		Extract(std::string(2045, 'z') + "\" alt=\"x\np=a\" alt=b<\n", {"P", "Q"}, {"p=", "z\""}),
		(Strings {"a' alt=b", " "}));

	LineLists lists({"A"}, {"a="});
	std::string out = Quiet([&] {
		ExtractContent("/nonexistent/page", &lists.fPatterns, &lists.fLabels, &lists.fValues);
		ExtractContent("/nonexistent/page", NULL, &lists.fLabels, &lists.fValues);
		ExtractContent("/nonexistent/page", &lists.fPatterns, NULL, &lists.fValues);
	});
	EXPECT_EQ(lists.Values(), (Strings {"     "}));
	EXPECT_NE(out.find(" -NO Search-BList "), std::string::npos);
	EXPECT_NE(out.find(" -NO Titels-BList "), std::string::npos);

	// Lists of different lengths: what has no item is skipped.
	LineLists shortValues({"A", "B"}, {"a=", "b=", "c="});
	std::string path = fEnv.Root() + "/page.txt";
	WriteFile(path, "c=1<\n");
	out = Quiet([&] {
		ExtractContent(
			path.c_str(), &shortValues.fPatterns, &shortValues.fLabels, &shortValues.fValues);
	});
	EXPECT_NE(out.find(" oops , kein fTitels \n"), std::string::npos);
}


TEST_F(ExtractTest, LabelsAndValuesGoToTheLogBookExceptMarkers)
{
	Extract("a=1<\nb=2<\nr=3<\ng=4<\nv=5<\n",
		{"Title", "A ", "[ROW_UP]", "[BG_IMAGE]", "[VIEW_SIZE]"}, {"t=", "a=", "r=", "g=", "v="});
	std::string log = ReadFile(LogFile());
	size_t firstLine = log.find('\n') + 1;
	EXPECT_EQ(log.substr(firstLine), "\tA \t1\n");
}


TEST(Tokenizers, SplitAfterPriming)
{
	char out[64];
	EXPECT_EQ(TupExtract("$", out), 1);
	EXPECT_EQ(TupExtract("a@b@c", out), 1);
	EXPECT_STREQ(out, "a");
	EXPECT_EQ(TupExtract("a@b@c", out), 1);
	EXPECT_STREQ(out, "b");
	EXPECT_EQ(TupExtract("a@b@c", out), 1);
	EXPECT_STREQ(out, "c");
	EXPECT_EQ(TupExtract("a@b@c", out), 0);
	EXPECT_STREQ(out, "");
	// A text of the same length does not restart: callers must prime first.
	EXPECT_EQ(TupExtract("x@y@z", out), 0);

	TupExtract("$", out);
	EXPECT_EQ(TupExtract("a@@b", out), 1);
	EXPECT_STREQ(out, "a");
	EXPECT_EQ(TupExtract("a@@b", out), 0);

	EXPECT_EQ(TxExtract("\xc2\xa7", out), 1);
	EXPECT_EQ(TxExtract("one two", out), 1);
	EXPECT_STREQ(out, "one");
	EXPECT_EQ(TxExtract("one two", out), 1);
	EXPECT_STREQ(out, "two");
	EXPECT_EQ(TxExtract("one two", out), 0);
}
