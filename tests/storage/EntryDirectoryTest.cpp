/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Directory.h>
#include <Entry.h>
#include <File.h>
#include <Path.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


class EntryDirectoryTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		char* real = realpath(fEnv.Root().c_str(), NULL);
		ASSERT_NE(real, nullptr);
		fRoot = std::string(real) + "/tree";
		free(real);
		ASSERT_EQ(mkdir(fRoot.c_str(), 0755), 0);
		WriteFile(fRoot + "/a", "alpha");
		WriteFile(fRoot + "/b", "");
		ASSERT_EQ(mkdir((fRoot + "/d").c_str(), 0755), 0);
		ASSERT_EQ(symlink("a", (fRoot + "/link").c_str()), 0);
	}

	std::string
	PathOf(const BEntry& entry)
	{
		BPath path;
		if (entry.GetPath(&path) != B_OK)
			return "<none>";
		return path.Path();
	}

	TestEnv fEnv;
	std::string fRoot;
};


TEST_F(EntryDirectoryTest, EntriesMayBeAbstractButNeedTheirFolder)
{
	BEntry missing((fRoot + "/missing").c_str());
	EXPECT_EQ(missing.InitCheck(), B_OK);
	EXPECT_FALSE(missing.Exists());
	struct stat st;
	EXPECT_EQ(missing.GetStat(&st), B_ENTRY_NOT_FOUND);

	EXPECT_EQ(BEntry((fRoot + "/none/x").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(BEntry((fRoot + "/a/x").c_str()).InitCheck(), B_NOT_A_DIRECTORY);
	EXPECT_EQ(BEntry("").InitCheck(), B_ENTRY_NOT_FOUND);

	// links are followed only when asked
	BEntry link((fRoot + "/link").c_str());
	EXPECT_TRUE(link.IsSymLink());
	BEntry target((fRoot + "/link").c_str(), true);
	EXPECT_TRUE(target.IsFile());
	EXPECT_STREQ(target.Name(), "a");
	ASSERT_EQ(symlink("gone", (fRoot + "/broken").c_str()), 0);
	EXPECT_EQ(BEntry((fRoot + "/broken").c_str()).InitCheck(), B_OK);
	EXPECT_EQ(BEntry((fRoot + "/broken").c_str(), true).InitCheck(), B_ENTRY_NOT_FOUND);

	off_t size;
	ASSERT_EQ(BEntry((fRoot + "/a").c_str()).GetSize(&size), B_OK);
	EXPECT_EQ(size, 5);
}


TEST_F(EntryDirectoryTest, ParentsLeadToTheRoot)
{
	BEntry entry((fRoot + "/d").c_str());
	char name[B_FILE_NAME_LENGTH];
	ASSERT_EQ(entry.GetName(name), B_OK);
	EXPECT_STREQ(name, "d");

	BEntry parent;
	ASSERT_EQ(entry.GetParent(&parent), B_OK);
	EXPECT_EQ(PathOf(parent), fRoot);

	int steps = 0;
	status_t status;
	while ((status = entry.GetParent(&entry)) == B_OK && steps < 100)
		steps++;
	EXPECT_EQ(status, B_ENTRY_NOT_FOUND);
	EXPECT_EQ(entry.InitCheck(), B_NO_INIT);

	BEntry root("/");
	EXPECT_EQ(PathOf(root), "/");
	EXPECT_EQ(root.GetParent(&parent), B_ENTRY_NOT_FOUND);
	BDirectory rootDir;
	EXPECT_EQ(BEntry((fRoot + "/a").c_str()).GetParent(&rootDir), B_OK);
	EXPECT_TRUE(rootDir.Contains("a"));
}


TEST_F(EntryDirectoryTest, RefsAndNodeRefsFindTheirWayBack)
{
	BEntry entry((fRoot + "/a").c_str());
	entry_ref ref;
	ASSERT_EQ(entry.GetRef(&ref), B_OK);
	EXPECT_STREQ(ref.name, "a");
	BEntry again(&ref);
	EXPECT_TRUE(again == entry);
	BFile file(&ref, B_READ_ONLY);
	char buffer[8] = {};
	EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 5);

	entry_ref copy(ref);
	EXPECT_TRUE(copy == ref);
	copy.set_name("b");
	EXPECT_TRUE(copy != ref);

	node_ref nodeRef;
	ASSERT_EQ(BDirectory((fRoot + "/d").c_str()).GetNodeRef(&nodeRef), B_OK);
	BDirectory byNode(&nodeRef);
	ASSERT_EQ(byNode.InitCheck(), B_OK);
	BEntry dirEntry;
	ASSERT_EQ(byNode.GetEntry(&dirEntry), B_OK);
	EXPECT_EQ(PathOf(dirEntry), fRoot + "/d");

	// a folder that moved away is not found under its old record
	ASSERT_EQ(rename((fRoot + "/d").c_str(), (fRoot + "/moved").c_str()), 0);
	ASSERT_EQ(mkdir((fRoot + "/d").c_str(), 0755), 0);
	EXPECT_EQ(BDirectory(&nodeRef).InitCheck(), B_ENTRY_NOT_FOUND);

	entry_ref unknown(12345, 67890, "x");
	EXPECT_EQ(BEntry(&unknown).InitCheck(), B_ENTRY_NOT_FOUND);
	entry_ref nameless(ref.device, ref.directory, NULL);
	EXPECT_EQ(BEntry(&nameless).InitCheck(), B_BAD_VALUE);
}


TEST_F(EntryDirectoryTest, RenameMoveAndRemove)
{
	BEntry entry((fRoot + "/a").c_str());
	EXPECT_EQ(entry.Rename("b"), B_FILE_EXISTS);
	EXPECT_EQ(ReadFile(fRoot + "/b"), "");

	ASSERT_EQ(entry.Rename("c"), B_OK);
	EXPECT_EQ(PathOf(entry), fRoot + "/c");
	EXPECT_EQ(ReadFile(fRoot + "/c"), "alpha");

	ASSERT_EQ(entry.Rename("b", true), B_OK);
	EXPECT_EQ(ReadFile(fRoot + "/b"), "alpha");

	BDirectory dir((fRoot + "/d").c_str());
	ASSERT_EQ(entry.MoveTo(&dir), B_OK);
	EXPECT_EQ(PathOf(entry), fRoot + "/d/b");
	ASSERT_EQ(entry.MoveTo(&dir, "e"), B_OK);
	EXPECT_TRUE(FileExists(fRoot + "/d/e"));

	ASSERT_EQ(entry.Remove(), B_OK);
	EXPECT_EQ(entry.InitCheck(), B_OK);
	EXPECT_FALSE(entry.Exists());
	EXPECT_EQ(entry.Rename("f"), B_ENTRY_NOT_FOUND);

	BEntry folder((fRoot + "/d").c_str());
	EXPECT_EQ(folder.Remove(), B_OK);
	EXPECT_FALSE(FileExists(fRoot + "/d"));
}


TEST_F(EntryDirectoryTest, IterationSkipsDotsAndCounts)
{
	BDirectory dir(fRoot.c_str());
	ASSERT_EQ(dir.InitCheck(), B_OK);
	EXPECT_EQ(dir.CountEntries(), 4);

	std::set<std::string> names;
	BEntry entry;
	while (dir.GetNextEntry(&entry) == B_OK)
		names.insert(entry.Name());
	EXPECT_EQ(names, (std::set<std::string> {"a", "b", "d", "link"}));
	EXPECT_EQ(dir.GetNextEntry(&entry), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(entry.InitCheck(), B_NO_INIT);

	// a copy iterates on its own
	ASSERT_EQ(dir.Rewind(), B_OK);
	entry_ref ref;
	ASSERT_EQ(dir.GetNextRef(&ref), B_OK);
	BDirectory copy(dir);
	int copied = 0;
	while (copy.GetNextRef(&ref) == B_OK) {
		EXPECT_TRUE(BEntry(&ref).Exists());
		copied++;
	}
	EXPECT_EQ(copied, 4);
	int rest = 0;
	while (dir.GetNextRef(&ref) == B_OK)
		rest++;
	EXPECT_EQ(rest, 3);

	// traversing a link gives its target
	BDirectory again(fRoot.c_str());
	std::set<std::string> traversed;
	while (again.GetNextEntry(&entry, true) == B_OK)
		traversed.insert(entry.Name());
	EXPECT_EQ(traversed, (std::set<std::string> {"a", "b", "d"}));

	BDirectory empty((fRoot + "/d").c_str());
	EXPECT_EQ(empty.CountEntries(), 0);
	BDirectory unset;
	EXPECT_EQ(unset.GetNextRef(&ref), B_FILE_ERROR);
}


TEST_F(EntryDirectoryTest, ContainsFindEntryAndOpening)
{
	BDirectory dir(fRoot.c_str());
	EXPECT_TRUE(dir.Contains("a"));
	EXPECT_TRUE(dir.Contains("a", B_FILE_NODE));
	EXPECT_FALSE(dir.Contains("a", B_DIRECTORY_NODE));
	EXPECT_TRUE(dir.Contains("d", B_DIRECTORY_NODE | B_SYMLINK_NODE));
	EXPECT_TRUE(dir.Contains("link", B_SYMLINK_NODE));
	EXPECT_FALSE(dir.Contains("missing"));
	EXPECT_TRUE(dir.Contains((fRoot + "/d").c_str()));
	EXPECT_TRUE(dir.Contains(fRoot.c_str()));

	// a sibling whose name starts like the folder's is not inside it
	ASSERT_EQ(mkdir((fRoot + "x").c_str(), 0755), 0);
	EXPECT_FALSE(dir.Contains((fRoot + "x").c_str()));
	BDirectory sub((fRoot + "/d").c_str());
	EXPECT_FALSE(sub.Contains((fRoot + "/a").c_str()));
	EXPECT_TRUE(BDirectory("/").Contains((fRoot + "/a").c_str()));

	BEntry entry;
	EXPECT_EQ(dir.FindEntry("a", &entry), B_OK);
	EXPECT_EQ(PathOf(entry), fRoot + "/a");
	EXPECT_EQ(dir.FindEntry("missing", &entry), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(entry.InitCheck(), B_NO_INIT);

	EXPECT_EQ(BDirectory((fRoot + "/a").c_str()).InitCheck(), B_NOT_A_DIRECTORY);
	EXPECT_EQ(BDirectory((fRoot + "/missing").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(BDirectory(&dir, "d").InitCheck(), B_OK);
	EXPECT_EQ(BDirectory(&dir, "/tmp").InitCheck(), B_BAD_VALUE);
	EXPECT_TRUE(BDirectory("/").IsRootDirectory());
	EXPECT_FALSE(dir.IsRootDirectory());
}


TEST_F(EntryDirectoryTest, CreatingFilesAndFolders)
{
	BDirectory dir(fRoot.c_str());
	BFile file;
	ASSERT_EQ(dir.CreateFile("new", &file), B_OK);
	EXPECT_TRUE(file.IsWritable());
	EXPECT_EQ(file.Write("xyz", 3), 3);
	EXPECT_EQ(ReadFile(fRoot + "/new"), "xyz");

	EXPECT_EQ(dir.CreateFile("new", &file, true), B_FILE_EXISTS);
	EXPECT_EQ(file.InitCheck(), B_NO_INIT);
	EXPECT_EQ(ReadFile(fRoot + "/new"), "xyz");
	// without failIfExists the old file is replaced
	ASSERT_EQ(dir.CreateFile("new", NULL), B_OK);
	EXPECT_EQ(ReadFile(fRoot + "/new"), "");

	BDirectory sub;
	ASSERT_EQ(dir.CreateDirectory("sub", &sub), B_OK);
	EXPECT_EQ(sub.CreateFile("inner", NULL), B_OK);
	EXPECT_TRUE(FileExists(fRoot + "/sub/inner"));
	EXPECT_EQ(dir.CreateDirectory("sub", &sub), B_FILE_EXISTS);
	EXPECT_EQ(sub.InitCheck(), B_NO_INIT);

	// create_directory makes the whole chain and accepts what exists
	ASSERT_EQ(create_directory((fRoot + "/p/q/./r").c_str(), 0755), B_OK);
	struct stat st;
	ASSERT_EQ(stat((fRoot + "/p/q/r").c_str(), &st), 0);
	EXPECT_TRUE(S_ISDIR(st.st_mode));
	EXPECT_EQ(create_directory((fRoot + "/p/q/r/").c_str(), 0755), B_OK);
	EXPECT_EQ(create_directory((fRoot + "/a/q").c_str(), 0755), B_NOT_A_DIRECTORY);
	EXPECT_EQ(create_directory((fRoot + "/p/../s").c_str(), 0755), B_BAD_VALUE);
	EXPECT_EQ(create_directory("", 0755), B_BAD_VALUE);
	EXPECT_EQ(create_directory(NULL, 0755), B_BAD_VALUE);
}
