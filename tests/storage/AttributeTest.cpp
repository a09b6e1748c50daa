/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <File.h>
#include <Node.h>
#include <NodeInfo.h>
#include <String.h>
#include <TypeConstants.h>
#include <fs_attr.h>

#include <string.h>
#include <sys/xattr.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"


// The raw value of a host extended attribute, or "<missing>".
static std::string
RawAttr(const std::string& path, const char* name)
{
	char buffer[70000];
	ssize_t length = getxattr(path.c_str(), name, buffer, sizeof(buffer));
	if (length < 0)
		return "<missing>";
	return std::string(buffer, (size_t)length);
}


class AttributeTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		fPath = fEnv.Home() + "/settings";
		WriteFile(fPath, "");
	}

	TestEnv fEnv;
	std::string fPath;
};


TEST_F(AttributeTest, ValuesAreTypeCodeThenData)
{
	BNode node(fPath.c_str());
	ASSERT_EQ(node.InitCheck(), B_OK);

	int32 seven = 7;
	EXPECT_EQ(node.WriteAttr("count", B_INT32_TYPE, 0, &seven, sizeof(seven)), 4);
	EXPECT_EQ(RawAttr(fPath, "user.count"), std::string("LONG\x07\0\0\0", 8));

	EXPECT_EQ(node.WriteAttr("name", B_STRING_TYPE, 0, "abc", 4), 4);
	EXPECT_EQ(RawAttr(fPath, "user.name"),
		std::string("CSTR"
					"abc\0",
			8));

	// Writing at offset 0 replaces the whole value, type included.
	EXPECT_EQ(node.WriteAttr("name", B_RAW_TYPE, 0, "x", 1), 1);
	EXPECT_EQ(RawAttr(fPath, "user.name"), "RAWTx");

	attr_info info;
	ASSERT_EQ(node.GetAttrInfo("count", &info), B_OK);
	EXPECT_EQ(info.type, (uint32)B_INT32_TYPE);
	EXPECT_EQ(info.size, 4);

	// An empty value still keeps its type.
	EXPECT_EQ(node.WriteAttr("empty", B_BOOL_TYPE, 0, NULL, 0), 0);
	EXPECT_EQ(RawAttr(fPath, "user.empty"), "BOOL");
	ASSERT_EQ(node.GetAttrInfo("empty", &info), B_OK);
	EXPECT_EQ(info.type, (uint32)B_BOOL_TYPE);
	EXPECT_EQ(info.size, 0);
}


TEST_F(AttributeTest, ReadCopiesAtMostLengthFromOffsetAndIgnoresType)
{
	BNode node(fPath.c_str());
	ASSERT_EQ(node.WriteAttr("data", B_RAW_TYPE, 0, "0123456789", 10), 10);

	char buffer[32];
	memset(buffer, '#', sizeof(buffer));
	EXPECT_EQ(node.ReadAttr("data", B_INT32_TYPE, 0, buffer, 4), 4);
	EXPECT_EQ(std::string(buffer, 5), "0123#");

	EXPECT_EQ(node.ReadAttr("data", B_RAW_TYPE, 8, buffer, sizeof(buffer)), 2);
	EXPECT_EQ(std::string(buffer, 2), "89");

	// past the end: nothing, and nothing touched
	memset(buffer, '#', sizeof(buffer));
	EXPECT_EQ(node.ReadAttr("data", B_RAW_TYPE, 10, buffer, sizeof(buffer)), 0);
	EXPECT_EQ(node.ReadAttr("data", B_RAW_TYPE, 1000, buffer, sizeof(buffer)), 0);
	EXPECT_EQ(buffer[0], '#');

	EXPECT_EQ(node.ReadAttr("data", B_RAW_TYPE, -1, buffer, 4), B_BAD_VALUE);
	EXPECT_EQ(node.ReadAttr("data", B_RAW_TYPE, 0, NULL, 4), B_BAD_VALUE);
}


TEST_F(AttributeTest, WriteAtOffsetKeepsTheRestAndFillsGaps)
{
	BNode node(fPath.c_str());
	ASSERT_EQ(node.WriteAttr("data", B_RAW_TYPE, 0, "abcdef", 6), 6);
	EXPECT_EQ(node.WriteAttr("data", B_STRING_TYPE, 2, "XY", 2), 2);
	EXPECT_EQ(RawAttr(fPath, "user.data"), "CSTRabXYef");

	EXPECT_EQ(node.WriteAttr("data", B_STRING_TYPE, 8, "Z", 1), 1);
	EXPECT_EQ(RawAttr(fPath, "user.data"), std::string("CSTRabXYef\0\0Z", 13));

	// an offset into a missing attribute starts from zeros
	EXPECT_EQ(node.WriteAttr("fresh", B_RAW_TYPE, 2, "q", 1), 1);
	EXPECT_EQ(RawAttr(fPath, "user.fresh"), std::string("RAWT\0\0q", 7));

	// too big for any host file system: an error, nothing allocated or written
	EXPECT_LT(node.WriteAttr("huge", B_RAW_TYPE, (off_t)1 << 40, "q", 1), 0);
	EXPECT_EQ(RawAttr(fPath, "user.huge"), "<missing>");
}


TEST_F(AttributeTest, MissingAndForeignValues)
{
	BNode node(fPath.c_str());
	char buffer[8];
	attr_info info;
	EXPECT_EQ(node.ReadAttr("nothing", B_INT32_TYPE, 0, buffer, 4), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(node.GetAttrInfo("nothing", &info), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(node.RemoveAttr("nothing"), B_ENTRY_NOT_FOUND);

	// values shorter than a type code, set by another program
	ASSERT_EQ(setxattr(fPath.c_str(), "user.short", "ab", 2, 0), 0);
	ASSERT_EQ(setxattr(fPath.c_str(), "user.blank", "", 0, 0), 0);
	memset(buffer, '#', sizeof(buffer));
	EXPECT_EQ(node.ReadAttr("short", B_INT32_TYPE, 0, buffer, sizeof(buffer)), 0);
	EXPECT_EQ(node.ReadAttr("blank", B_INT32_TYPE, 0, buffer, sizeof(buffer)), 0);
	EXPECT_EQ(buffer[0], '#');
	ASSERT_EQ(node.GetAttrInfo("short", &info), B_OK);
	EXPECT_EQ(info.type, 0u);
	EXPECT_EQ(info.size, 0);
	BString text("old");
	EXPECT_EQ(node.ReadAttrString("short", &text), B_OK);
	EXPECT_STREQ(text.String(), "");

	// names that Haiku or the host cannot hold
	EXPECT_EQ(node.ReadAttr("", B_INT32_TYPE, 0, buffer, 4), B_BAD_VALUE);
	EXPECT_EQ(node.ReadAttr(NULL, B_INT32_TYPE, 0, buffer, 4), B_BAD_VALUE);
	std::string longName(300, 'n');
	EXPECT_EQ(node.WriteAttr(longName.c_str(), B_RAW_TYPE, 0, "x", 1), B_NAME_TOO_LONG);

	EXPECT_EQ(node.RemoveAttr("short"), B_OK);
	EXPECT_EQ(RawAttr(fPath, "user.short"), "<missing>");

	BNode unset;
	EXPECT_EQ(unset.ReadAttr("short", B_INT32_TYPE, 0, buffer, 4), B_FILE_ERROR);
	EXPECT_EQ(unset.WriteAttr("short", B_INT32_TYPE, 0, buffer, 4), B_FILE_ERROR);
}


TEST_F(AttributeTest, NamesStringsAndRenaming)
{
	BNode node(fPath.c_str());
	BString value("hello");
	ASSERT_EQ(node.WriteAttrString("greeting", &value), B_OK);
	EXPECT_EQ(RawAttr(fPath, "user.greeting"), std::string("CSTRhello\0", 10));
	BString read;
	ASSERT_EQ(node.ReadAttrString("greeting", &read), B_OK);
	EXPECT_STREQ(read.String(), "hello");

	ASSERT_EQ(node.RenameAttr("greeting", "salute"), B_OK);
	EXPECT_EQ(RawAttr(fPath, "user.greeting"), "<missing>");
	EXPECT_EQ(RawAttr(fPath, "user.salute"), std::string("CSTRhello\0", 10));

	// other name spaces of the host are not attributes of the node
	ASSERT_EQ(node.WriteAttr("one", B_RAW_TYPE, 0, "1", 1), 1);
	std::set<std::string> names;
	char name[B_ATTR_NAME_LENGTH];
	while (node.GetNextAttrName(name) == B_OK)
		names.insert(name);
	EXPECT_EQ(names, (std::set<std::string> {"salute", "one"}));
	EXPECT_EQ(node.GetNextAttrName(name), B_ENTRY_NOT_FOUND);

	// removing while iterating does not skip any
	ASSERT_EQ(node.RewindAttrs(), B_OK);
	int removed = 0;
	while (node.GetNextAttrName(name) == B_OK) {
		EXPECT_EQ(node.RemoveAttr(name), B_OK);
		removed++;
	}
	EXPECT_EQ(removed, 2);
}


TEST_F(AttributeTest, FoldersAndOpenFilesCarryAttributes)
{
	BNode folder(fEnv.Home().c_str());
	ASSERT_EQ(folder.InitCheck(), B_OK);
	uint32 value = 0x01020304;
	EXPECT_EQ(folder.WriteAttr("mark", B_UINT32_TYPE, 0, &value, 4), 4);
	EXPECT_EQ(RawAttr(fEnv.Home(), "user.mark").substr(0, 4), "ULNG");

	// the program keeps its settings in the attributes of a BFile
	BFile file(fPath.c_str(), B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(file.InitCheck(), B_OK);
	float scale = 1.5f;
	EXPECT_EQ(file.WriteAttr("scale", B_FLOAT_TYPE, 0, &scale, sizeof(scale)), 4);
	float back = 0;
	EXPECT_EQ(file.ReadAttr("scale", B_FLOAT_TYPE, 0, &back, sizeof(back)), 4);
	EXPECT_EQ(back, 1.5f);
	EXPECT_EQ(ReadFile(fPath), "");
}


TEST_F(AttributeTest, FileSystemWithoutAttributesFails)
{
	// procfs keeps no extended attributes
	BNode node("/proc/self/status");
	ASSERT_EQ(node.InitCheck(), B_OK);
	int32 value = 1;
	char buffer[4];
	EXPECT_EQ(node.WriteAttr("x", B_INT32_TYPE, 0, &value, 4), B_UNSUPPORTED);
	EXPECT_EQ(node.ReadAttr("x", B_INT32_TYPE, 0, buffer, 4), B_UNSUPPORTED);

	BNodeInfo info(&node);
	EXPECT_LT(info.SetType("text/plain"), 0);
}


TEST_F(AttributeTest, NodeInfoStoresTheTypeTwice)
{
	BNode node(fPath.c_str());
	BNodeInfo info(&node);
	ASSERT_EQ(info.InitCheck(), B_OK);
	ASSERT_EQ(info.SetType("text/x-source-code"), B_OK);
	EXPECT_EQ(RawAttr(fPath, "user.BEOS:TYPE"), std::string("MIMStext/x-source-code\0", 23));
	EXPECT_EQ(RawAttr(fPath, "user.mime_type"), "text/x-source-code");

	char type[B_MIME_TYPE_LENGTH];
	ASSERT_EQ(info.GetType(type), B_OK);
	EXPECT_STREQ(type, "text/x-source-code");

	std::string tooLong(B_MIME_TYPE_LENGTH, 'a');
	EXPECT_EQ(info.SetType(tooLong.c_str()), B_BAD_VALUE);

	ASSERT_EQ(info.SetType(NULL), B_OK);
	EXPECT_EQ(RawAttr(fPath, "user.BEOS:TYPE"), "<missing>");
	EXPECT_EQ(RawAttr(fPath, "user.mime_type"), "<missing>");
	EXPECT_EQ(info.GetType(type), B_ENTRY_NOT_FOUND);

	// a type only a Linux program set
	ASSERT_EQ(setxattr(fPath.c_str(), "user.mime_type", "image/png", 9, 0), 0);
	ASSERT_EQ(info.GetType(type), B_OK);
	EXPECT_STREQ(type, "image/png");

	BNodeInfo unset;
	EXPECT_EQ(unset.SetType("text/plain"), B_NO_INIT);
}
