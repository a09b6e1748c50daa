/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Directory.h>
#include <Entry.h>
#include <Path.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


class PathTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		char* real = realpath(fEnv.Root().c_str(), NULL);
		ASSERT_NE(real, nullptr);
		fRoot = real;
		free(real);
		mkdir((fRoot + "/x").c_str(), 0755);
		mkdir((fRoot + "/y").c_str(), 0755);
	}

	TestEnv fEnv;
	std::string fRoot;
};


TEST_F(PathTest, PlainAbsolutePathsAreStoredAsGiven)
{
	BPath path("/no/such/place");
	ASSERT_EQ(path.InitCheck(), B_OK);
	EXPECT_STREQ(path.Path(), "/no/such/place");
	EXPECT_STREQ(path.Leaf(), "place");

	// dots inside names force nothing
	BPath hidden("/no/.such/..place");
	EXPECT_STREQ(hidden.Path(), "/no/.such/..place");

	BPath joined("/no", "such/place");
	EXPECT_STREQ(joined.Path(), "/no/such/place");
	BPath fromRoot("/", "etc");
	EXPECT_STREQ(fromRoot.Path(), "/etc");

	BPath root("/");
	EXPECT_STREQ(root.Path(), "/");
	EXPECT_STREQ(root.Leaf(), "");
}


TEST_F(PathTest, NormalisationIsForcedWhereNeeded)
{
	const char* const kCases[][2] = {{"/x/../y//z", "/y/z"}, {"/y/./z", "/y/z"}, {"/y/z/", "/y/z"},
		{"/x/../y/.", "/y"}, {"//y", "/y"}};
	for (const auto& test : kCases) {
		SCOPED_TRACE(test[0]);
		BPath path((fRoot + test[0]).c_str());
		ASSERT_EQ(path.InitCheck(), B_OK);
		EXPECT_EQ(std::string(path.Path()), fRoot + test[1]);
	}

	// "/x/.." is the root folder itself
	BPath parent((fRoot + "/x/..").c_str());
	EXPECT_EQ(std::string(parent.Path()), fRoot);
	BPath top("/.");
	EXPECT_STREQ(top.Path(), "/");

	// normalising goes through the file system: the folder must exist
	BPath missing((fRoot + "/none/../z").c_str());
	EXPECT_EQ(missing.InitCheck(), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(missing.Path(), nullptr);

	// asked for, it resolves links among the folders but not the leaf
	ASSERT_EQ(symlink((fRoot + "/y").c_str(), (fRoot + "/link").c_str()), 0);
	BPath linked((fRoot + "/link/leaf").c_str(), NULL, true);
	EXPECT_EQ(std::string(linked.Path()), fRoot + "/y/leaf");
	BPath leafLink((fRoot + "/link").c_str(), NULL, true);
	EXPECT_EQ(std::string(leafLink.Path()), fRoot + "/link");

	// relative paths are reckoned from the current folder
	ASSERT_EQ(chdir((fRoot + "/x").c_str()), 0);
	BPath relative("file");
	EXPECT_EQ(std::string(relative.Path()), fRoot + "/x/file");
	BPath up("../y");
	EXPECT_EQ(std::string(up.Path()), fRoot + "/y");

	EXPECT_EQ(BPath("").InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(BPath((const char*)NULL).InitCheck(), B_BAD_VALUE);
}


TEST_F(PathTest, AppendAndLeafRules)
{
	BPath path("/a/b");
	ASSERT_EQ(path.Append("c"), B_OK);
	EXPECT_STREQ(path.Path(), "/a/b/c");
	EXPECT_STREQ(path.Leaf(), "c");

	// an absolute leaf is refused and leaves the path unset
	EXPECT_EQ(path.Append("/d"), B_BAD_VALUE);
	EXPECT_EQ(path.InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(path.Path(), nullptr);
	EXPECT_EQ(path.Leaf(), nullptr);
	EXPECT_EQ(path.Append("e"), B_BAD_VALUE);

	EXPECT_EQ(BPath("/a", "/b").InitCheck(), B_BAD_VALUE);

	// appending what needs normalising needs existing folders
	BPath base(fRoot.c_str());
	ASSERT_EQ(base.Append("x/../y/new"), B_OK);
	EXPECT_EQ(std::string(base.Path()), fRoot + "/y/new");

	// destructive setting works
	BPath same("/a/b");
	ASSERT_EQ(same.SetTo(same.Path(), "c"), B_OK);
	EXPECT_STREQ(same.Path(), "/a/b/c");
}


TEST_F(PathTest, GetParentWalksUpToTheRoot)
{
	BPath path("/a/b");
	BPath parent;
	ASSERT_EQ(path.GetParent(&parent), B_OK);
	EXPECT_STREQ(parent.Path(), "/a");
	ASSERT_EQ(parent.GetParent(&parent), B_OK);
	EXPECT_STREQ(parent.Path(), "/");
	EXPECT_EQ(parent.GetParent(&parent), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(parent.InitCheck(), B_NO_INIT);

	// the program's use: the folder of a file, with a slash appended (normalised away)
	BPath app((fRoot + "/x/Webgrazer").c_str());
	BPath folder;
	ASSERT_EQ(app.GetParent(&folder), B_OK);
	EXPECT_EQ(std::string(folder.Path()), fRoot + "/x");
	EXPECT_EQ(path.GetParent(NULL), B_BAD_VALUE);
}


TEST_F(PathTest, LengthLimitAndComparisons)
{
	std::string longest = "/" + std::string(B_PATH_NAME_LENGTH - 2, 'a');
	EXPECT_EQ(BPath(longest.c_str()).InitCheck(), B_OK);
	EXPECT_EQ(BPath((longest + "a").c_str()).InitCheck(), B_NAME_TOO_LONG);
	BPath almost(longest.substr(0, longest.size() - 1).c_str());
	EXPECT_EQ(almost.Append("bc"), B_NAME_TOO_LONG);
	EXPECT_EQ(almost.Path(), nullptr);

	BPath one("/a/b");
	BPath two(one);
	EXPECT_TRUE(one == two);
	EXPECT_TRUE(one == "/a/b");
	EXPECT_TRUE(one != "/a/b/");
	two = "/a";
	EXPECT_TRUE(one != two);
	BPath unset;
	EXPECT_TRUE(unset == (const char*)NULL);
	EXPECT_FALSE(unset == one);
	unset = one;
	EXPECT_STREQ(unset.Path(), "/a/b");
}


TEST_F(PathTest, FromEntriesRefsAndFolders)
{
	BEntry entry((fRoot + "/x/file").c_str());
	ASSERT_EQ(entry.InitCheck(), B_OK);
	BPath path(&entry);
	EXPECT_EQ(std::string(path.Path()), fRoot + "/x/file");

	entry_ref ref;
	ASSERT_EQ(get_ref_for_path((fRoot + "/y").c_str(), &ref), B_OK);
	BPath fromRef(&ref);
	EXPECT_EQ(std::string(fromRef.Path()), fRoot + "/y");

	BDirectory dir((fRoot + "/x").c_str());
	BPath inDir(&dir, "leaf");
	EXPECT_EQ(std::string(inDir.Path()), fRoot + "/x/leaf");

	BEntry root("/");
	EXPECT_STREQ(BPath(&root).Path(), "/");
	BEntry unset;
	EXPECT_EQ(BPath(&unset).InitCheck(), B_NO_INIT);
}
