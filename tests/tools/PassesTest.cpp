/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "PrefsTest.h"

#include <stdlib.h>
#include <sys/stat.h>

#include "wg_Tools.h"


class PassesTest : public PrefsTest {
protected:
	void
	SetUp() override
	{
		Store();
		fPath = fEnv.Root() + "/page.txt";
	}

	std::string
	Run(void (*pass)(const char*), const std::string& input)
	{
		WriteFile(fPath, input);
		fLastOutput = Quiet([&] { pass(fPath.c_str()); });
		return ReadFile(fPath);
	}

	std::string fPath;
};


TEST_F(PassesTest, BreaksGoBeforeChosenTagsAndRowsBecomeOneLine)
{
	EXPECT_EQ(Run(AddBreaksInFile, "<tr><td>a</td>\n<td>b\t</td></tr>\nx\n"),
		"<tr><td>a</td><td>b</td></tr>\nx\n\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "x;document.write(1);y"), "x;\r\ndocument.write(1);y\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "<span>a</span>"), "\r\n<span>a\r\n</span>\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "<tr><span>a</span></tr>"), "<tr><span>a\r\n</span></tr>\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "<img src=x><IMG src=y>"), "\r\n\r\n<img src=x><IMG src=y>\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "<div><p>t</font>"), "\r\n<div>\r\n<p>t\r\n</font>\r\n");
	// Input that ends inside a tag or after a semicolon loses nothing.
	EXPECT_EQ(Run(AddBreaksInFile, "a<b"), "a<b\r\n");
	EXPECT_EQ(Run(AddBreaksInFile, "a;"), "a;\r\n");
	EXPECT_NE(fLastOutput.find(" = AddBreaksInFile =\n"), std::string::npos);
}


TEST_F(PassesTest, EntitiesUmlautsAndBlanksAreReplacedInUtf8)
{
	EXPECT_EQ(Run(ReplaceCriticals, "a    b     c\n"), "a b c\n<end>\n");
	EXPECT_EQ(Run(ReplaceCriticals, "\xe4\xd6\xdf\n"), "\xc3\xa4\xd6\xc3\x9f\n<end>\n");
	EXPECT_EQ(
		Run(ReplaceCriticals, "x&nbsp;<IMG a><img b>\n"), "x <sp>\n<IMG a>\n<img b>\n<end>\n");
	EXPECT_EQ(Run(ReplaceCriticals, "12&deg;;3&deg;&euro;&quot;&#228;&lt;br /&gt;-- x\n"),
		"12\xc2\xb0 C.3\xc2\xb0 C\xe2\x82\xac`\xc3\xa4 x\n<end>\n");
	// The blank of an escaped break can complete a "<br \/>", which a later row replaces.
	EXPECT_EQ(Run(ReplaceCriticals, "ab<br&lt;br /&gt;\\/>x <br&lt;br /&gt;\\/\n"),
		"ab x <br \\/\n<end>\n");
	// Without a final line end there is no extra "<end>" line.
	EXPECT_EQ(Run(ReplaceCriticals, "last"), "last\n");
	EXPECT_EQ(Run(ReplaceCriticals, ""), "<end>\n");
	// Long lines are handled in pieces and written back without anything between them.
	std::string longLine = std::string(5000, 'q') + "\n";
	EXPECT_EQ(Run(ReplaceCriticals, longLine), longLine + "<end>\n");
}


TEST_F(PassesTest, TagCounterNumbersTheLinesOfEachTag)
{
	EXPECT_EQ(Run(TagCounter, "<title>A</title><title>\nno tag\n<title>B\n"),
		"<title>:0|A</title><title>\nno tag\n<title>:1|B\n<end>\r\n");
	Prefs* prefs = Prefs::getSTPrefs();
	EXPECT_EQ(prefs->tagList[0].count, 2);

	// A new run starts counting again.
	EXPECT_EQ(Run(TagCounter, "<pubDate>x\n"), "<pubDate>:0|x\n<end>\r\n");
	EXPECT_EQ(prefs->tagList[0].count, 0);
	EXPECT_EQ(prefs->tagList[15].count, 1);
}


TEST_F(PassesTest, ThePassesReplaceTheFileAndMarkItAsSourceText)
{
	std::string cleaned;
	WriteFile(fPath, "<title>T&auml;st</title>\n<tr><td>1</td>\n<td>2</td></tr>");
	Quiet([&] {
		AddBreaksInFile(fPath.c_str());
		ReplaceCriticals(fPath.c_str());
		TagCounter(fPath.c_str());
	});
	EXPECT_EQ(ReadFile(fPath),
		"<title>:0|T\xc3\xa4st</title>\n<tr><td>1</td><td>2</td></tr>\r\n<end>\n<end>\r\n");
	for (const char* letter : {"x", "y", "z"})
		EXPECT_FALSE(FileExists(fPath + letter)) << letter;

	char type[64];
	ssize_t size = getxattr(fPath.c_str(), "user.BEOS:TYPE", type, sizeof(type));
	ASSERT_GT(size, 0);
	EXPECT_EQ(std::string(type, size), std::string("MIMS") + "text/x-source-code" + '\0');
}


TEST_F(PassesTest, UnreadableInputAndOverlongPathsChangeNothing)
{
	std::string missing = fEnv.Root() + "/missing.txt";
	std::string out = Quiet([&] { ReplaceCriticals(missing.c_str()); });
	EXPECT_NE(out.find(" open Err: " + missing + " \n"), std::string::npos);
	EXPECT_FALSE(FileExists(missing));
	EXPECT_FALSE(FileExists(missing + "z"));

	std::string longPath = fEnv.Root() + "/" + std::string(1100, 'p');
	out = Quiet([&] {
		AddBreaksInFile(longPath.c_str());
		TagCounter(longPath.c_str());
	});
	EXPECT_NE(out.find(" = TagCounter =\n"), std::string::npos);

	// A path with an apostrophe and blanks is removed and replaced like any other.
	std::string odd = fEnv.Root() + "/it's a page.txt";
	WriteFile(odd, "<p>x");
	Quiet([&] { AddBreaksInFile(odd.c_str()); });
	EXPECT_EQ(ReadFile(odd), "\r\n<p>x\r\n");
}


TEST_F(PassesTest, TheRmCommandGetsTheFileAsItsOwnArgumentAndEndsBeforeTheRename)
{
	// An rm first on the PATH that notes its arguments, one a line, after the real rm has
	// removed the file.
	std::string bin = fEnv.Root() + "/bin";
	ASSERT_EQ(mkdir(bin.c_str(), 0755), 0);
	std::string log = fEnv.Root() + "/rm.log";
	WriteFile(bin + "/rm",
		"#!/bin/sh\n/bin/rm \"$@\" || exit 1\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >>'"
			+ log + "'\n");
	ASSERT_EQ(chmod((bin + "/rm").c_str(), 0755), 0);
	std::string path = getenv("PATH") != NULL ? getenv("PATH") : "/usr/bin:/bin";
	setenv("PATH", (bin + ":" + path).c_str(), 1);

	// Nothing in the name is shell syntax to it.
	std::string page = fEnv.Root() + "/a $(touch made);`touch made` 'b\" -- c.html";
	WriteFile(page, "<title>x&auml;</title>\n");
	Quiet([&] {
		AddBreaksInFile(page.c_str());
		ReplaceCriticals(page.c_str());
		TagCounter(page.c_str());
	});
	setenv("PATH", path.c_str(), 1);

	EXPECT_EQ(ReadFile(page), "<title>:0|x\xc3\xa4</title>\n\r\n<end>\n<end>\r\n");
	std::string once = "--\n" + page + "\n";
	EXPECT_EQ(ReadFile(log), once + once + once);
	EXPECT_FALSE(FileExists(fEnv.Root() + "/made"));
	EXPECT_FALSE(FileExists("made"));
	for (const char* letter : {"x", "y", "z"})
		EXPECT_FALSE(FileExists(page + letter)) << letter;
}
