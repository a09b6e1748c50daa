/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "wg_Tools.h"


TEST(ToolFunctions, HexDigitsAndColours)
{
	EXPECT_EQ(h2u('0'), 0);
	EXPECT_EQ(h2u('g'), 0);
	EXPECT_EQ(h2u(' '), 0);
	EXPECT_EQ(h2u('9'), 9);
	EXPECT_EQ(h2u('f'), 15);
	EXPECT_EQ(h2u('F'), 15);

	EXPECT_EQ(hex2int("$1F"), 31);
	EXPECT_EQ(hex2int("1F"), 31);
	EXPECT_EQ(hex2int("1f"), 16);
	EXPECT_EQ(hex2int("ff"), 0);
	EXPECT_EQ(hex2int("FF"), 255);
	EXPECT_EQ(hex2int("F"), 240);
	EXPECT_EQ(hex2int(""), 0);
	EXPECT_EQ(hex2int("$"), 0);
	EXPECT_EQ(hex2int("ABCDEF"), 171);

	rgb_color color;
	testing::internal::CaptureStdout();
	txt2col("#FF8000", &color);
	EXPECT_EQ(color, make_color(255, 128, 0, 24));
	color = make_color(1, 1, 1, 1);
	txt2col("FF8000", &color);
	EXPECT_EQ(color, make_color(255, 128, 0, 24));
	// A short text reads as zeros where it ends.
	txt2col("#A", &color);
	EXPECT_EQ(color, make_color(160, 0, 0, 24));
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "255-128-0-24\n255-128-0-24\n160-0-0-24\n");
}


TEST(ToolFunctions, IfExistAnswersWhetherThePathOpensForReading)
{
	TestEnv env;
	std::string file = env.Home() + "/file";
	WriteFile(file, "x");
	EXPECT_TRUE(IfExist(file.c_str()));
	EXPECT_FALSE(IfExist((env.Home() + "/missing").c_str()));
	EXPECT_FALSE(IfExist(NULL));
	// A folder opens for reading on this system.
	EXPECT_TRUE(IfExist(env.Home().c_str()));
}
