/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <DataIO.h>
#include <Directory.h>
#include <Entry.h>
#include <File.h>

#include <string.h>
#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


class FileTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		fPath = fEnv.Home() + "/data";
	}

	TestEnv fEnv;
	std::string fPath;
};


TEST_F(FileTest, OpenModesAreThePosixFlags)
{
	EXPECT_EQ(BFile(fPath.c_str(), B_READ_ONLY).InitCheck(), B_ENTRY_NOT_FOUND);
	EXPECT_FALSE(FileExists(fPath));

	mode_t oldMask = umask(022);
	{
		BFile created(fPath.c_str(), B_WRITE_ONLY | B_CREATE_FILE);
		ASSERT_EQ(created.InitCheck(), B_OK);
		EXPECT_TRUE(created.IsWritable());
		EXPECT_FALSE(created.IsReadable());
		EXPECT_EQ(created.Write("hello world", 11), 11);
	}
	umask(oldMask);
	struct stat st;
	ASSERT_EQ(stat(fPath.c_str(), &st), 0);
	EXPECT_EQ(st.st_mode & 0777, 0644u);

	// B_FAIL_IF_EXISTS refuses an existing file and leaves it alone
	BFile exclusive(fPath.c_str(), B_READ_WRITE | B_CREATE_FILE | B_FAIL_IF_EXISTS);
	EXPECT_EQ(exclusive.InitCheck(), B_FILE_EXISTS);
	EXPECT_FALSE(exclusive.IsReadable());
	EXPECT_EQ(ReadFile(fPath), "hello world");

	// B_OPEN_AT_END appends
	{
		BFile append(fPath.c_str(), B_WRITE_ONLY | B_OPEN_AT_END);
		EXPECT_EQ(append.Write("!", 1), 1);
	}
	EXPECT_EQ(ReadFile(fPath), "hello world!");

	// B_ERASE_FILE truncates
	BFile erase(fPath.c_str(), B_READ_WRITE | B_ERASE_FILE);
	ASSERT_EQ(erase.InitCheck(), B_OK);
	EXPECT_EQ(ReadFile(fPath), "");

	BFile readOnly(fPath.c_str(), B_READ_ONLY);
	EXPECT_TRUE(readOnly.IsReadable());
	EXPECT_FALSE(readOnly.IsWritable());
	EXPECT_LT(readOnly.Write("x", 1), 0);

	EXPECT_EQ(BFile(fPath.c_str(), 3).InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(BFile((const char*)NULL, B_READ_ONLY).InitCheck(), B_BAD_VALUE);
}


TEST_F(FileTest, DataPositionAndSize)
{
	BFile file(fPath.c_str(), B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(file.InitCheck(), B_OK);
	EXPECT_EQ(file.Write("0123456789", 10), 10);
	EXPECT_EQ(file.Position(), 10);

	char buffer[16] = {};
	EXPECT_EQ(file.ReadAt(3, buffer, 4), 4);
	EXPECT_STREQ(buffer, "3456");
	EXPECT_EQ(file.Position(), 10);
	EXPECT_EQ(file.ReadAt(20, buffer, 4), 0);
	EXPECT_EQ(file.ReadAt(-1, buffer, 4), B_BAD_VALUE);

	EXPECT_EQ(file.Seek(-2, SEEK_END), 8);
	memset(buffer, 0, sizeof(buffer));
	EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 2);
	EXPECT_STREQ(buffer, "89");
	EXPECT_EQ(file.Seek(-100, SEEK_CUR), B_ERROR);
	EXPECT_EQ(file.Position(), 10);

	EXPECT_EQ(file.WriteAt(12, "Z", 1), 1);
	off_t size;
	ASSERT_EQ(file.GetSize(&size), B_OK);
	EXPECT_EQ(size, 13);
	ASSERT_EQ(file.SetSize(4), B_OK);
	EXPECT_EQ(ReadFile(fPath), "0123");

	// a copy keeps a position of its own
	file.Seek(1, SEEK_SET);
	BFile copy(file);
	ASSERT_EQ(copy.InitCheck(), B_OK);
	EXPECT_EQ(copy.Position(), 1);
	copy.Seek(3, SEEK_SET);
	EXPECT_EQ(file.Position(), 1);
	EXPECT_TRUE(copy.IsWritable());

	// the generic stream interface goes to the same file
	BPositionIO* stream = &file;
	EXPECT_EQ(stream->Write("ab", 2), 2);
	EXPECT_EQ(ReadFile(fPath), "0ab3");

	BFile unset;
	EXPECT_EQ(unset.Read(buffer, 1), B_NO_INIT);
	EXPECT_EQ(unset.Position(), B_FILE_ERROR);
}


TEST_F(FileTest, OpeningThroughEntriesAndFolders)
{
	BDirectory dir(fEnv.Home().c_str());
	BFile inDir(&dir, "data", B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(inDir.InitCheck(), B_OK);
	EXPECT_TRUE(FileExists(fPath));
	EXPECT_EQ(BFile(&dir, "/etc/passwd", B_READ_ONLY).InitCheck(), B_BAD_VALUE);

	// an abstract entry can be created through
	BEntry entry((fEnv.Home() + "/other").c_str());
	BFile fromEntry(&entry, B_WRITE_ONLY | B_CREATE_FILE);
	ASSERT_EQ(fromEntry.InitCheck(), B_OK);
	EXPECT_TRUE(entry.Exists());

	// files are opened through links
	ASSERT_EQ(symlink("data", (fEnv.Home() + "/link").c_str()), 0);
	BFile linked((fEnv.Home() + "/link").c_str(), B_WRITE_ONLY);
	EXPECT_EQ(linked.Write("via link", 8), 8);
	EXPECT_EQ(ReadFile(fPath), "via link");
}


TEST(DataIO, MallocIOGrowsAndZeroFills)
{
	BMallocIO io;
	EXPECT_EQ(io.Buffer(), nullptr);
	EXPECT_EQ(io.Write("abc", 3), 3);
	EXPECT_EQ(io.Position(), 3);
	EXPECT_EQ(io.BufferLength(), 3u);

	EXPECT_EQ(io.WriteAt(600, "z", 1), 1);
	ASSERT_EQ(io.BufferLength(), 601u);
	const char* data = static_cast<const char*>(io.Buffer());
	EXPECT_EQ(std::string(data, 3), "abc");
	for (size_t i = 3; i < 600; i++)
		ASSERT_EQ(data[i], 0) << i;

	// bytes cut off by a shrink come back as zeros
	ASSERT_EQ(io.SetSize(1), B_OK);
	ASSERT_EQ(io.SetSize(3), B_OK);
	EXPECT_EQ(std::string(static_cast<const char*>(io.Buffer()), 3), std::string("a\0\0", 3));

	char buffer[8];
	EXPECT_EQ(io.ReadAt(2, buffer, sizeof(buffer)), 1);
	EXPECT_EQ(io.ReadAt(10, buffer, sizeof(buffer)), 0);
	EXPECT_EQ(io.Seek(-1, SEEK_END), 2);
	EXPECT_EQ(io.Seek(-10, SEEK_CUR), B_BAD_VALUE);
	EXPECT_EQ(io.Position(), 2);
	EXPECT_EQ(io.WriteAt(-1, "x", 1), B_BAD_VALUE);

	off_t size;
	ASSERT_EQ(io.GetSize(&size), B_OK);
	EXPECT_EQ(size, 3);
	EXPECT_EQ(io.Position(), 2);
}


TEST(DataIO, MemoryIOStaysInsideItsBuffer)
{
	char storage[8] = "abcdefg";
	BMemoryIO io(storage, 4);
	char buffer[8] = {};
	EXPECT_EQ(io.Read(buffer, sizeof(buffer)), 4);
	EXPECT_STREQ(buffer, "abcd");

	EXPECT_EQ(io.WriteAt(2, "XYZW", 4), 2);
	EXPECT_STREQ(storage, "abXYefg");
	EXPECT_EQ(io.WriteAt(4, "Q", 1), 0);
	EXPECT_EQ(io.SetSize(5), B_ERROR);
	ASSERT_EQ(io.SetSize(2), B_OK);
	EXPECT_EQ(io.ReadAt(0, buffer, sizeof(buffer)), 2);

	const char constant[] = "ro";
	BMemoryIO readOnly(constant, 2);
	EXPECT_EQ(readOnly.Write("x", 1), B_NOT_ALLOWED);
	EXPECT_EQ(readOnly.SetSize(1), B_NOT_ALLOWED);
	EXPECT_EQ(readOnly.Seek(1, SEEK_SET), 1);
	EXPECT_EQ(readOnly.Read(buffer, 8), 1);
	EXPECT_EQ(buffer[0], 'o');

	size_t done = 0;
	EXPECT_EQ(readOnly.ReadAtExactly(0, buffer, 3, &done), B_PARTIAL_READ);
	EXPECT_EQ(done, 2u);
}
