/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include <AppDefs.h>
#include <GraphicsDefs.h>
#include <String.h>

#include <gtest/gtest.h>


static std::vector<char>
flatten(const BMessage& message)
{
	std::vector<char> buffer(message.FlattenedSize());
	EXPECT_EQ(message.Flatten(buffer.data(), buffer.size()), B_OK);
	return buffer;
}


static std::string
printed(const BMessage& message)
{
	testing::internal::CaptureStdout();
	message.PrintToStream();
	return testing::internal::GetCapturedStdout();
}


TEST(Message, ConstructionCopyAndAssignment)
{
	BMessage empty;
	EXPECT_EQ(empty.what, 0u);
	EXPECT_TRUE(empty.IsEmpty());
	EXPECT_EQ(empty.CountNames(B_ANY_TYPE), 0);

	BMessage original('wdgt');
	original.AddString("url", "a");
	original.AddInt32("n", 5);

	BMessage copy(original);
	EXPECT_EQ(copy.what, (uint32)'wdgt');
	EXPECT_STREQ(copy.FindString("url"), "a");
	// The copy shares nothing with the original.
	copy.ReplaceString("url", "changed");
	copy.AddInt32("n", 6);
	EXPECT_STREQ(original.FindString("url"), "a");
	EXPECT_FALSE(original.HasInt32("n", 1));

	BMessage assigned(B_QUIT_REQUESTED);
	assigned.AddBool("shortcut", true);
	assigned = original;
	EXPECT_EQ(assigned.what, (uint32)'wdgt');
	EXPECT_FALSE(assigned.HasBool("shortcut"));
	EXPECT_EQ(assigned.FindInt32("n"), 5);
	assigned = *&assigned;
	EXPECT_EQ(assigned.FindInt32("n"), 5);

	assigned = empty;
	EXPECT_TRUE(assigned.IsEmpty());
	EXPECT_EQ(assigned.what, 0u);

	// MakeEmpty keeps the code.
	original.MakeEmpty();
	EXPECT_TRUE(original.IsEmpty());
	EXPECT_EQ(original.what, (uint32)'wdgt');

	EXPECT_EQ((uint32)B_QUIT_REQUESTED, 0x5F515251u);
	EXPECT_TRUE(BMessage(B_QUIT_REQUESTED).IsSystem());
	EXPECT_FALSE(BMessage(B_SIMPLE_DATA).IsSystem());

	// A message that was never delivered has nobody to answer.
	EXPECT_FALSE(original.WasDelivered());
	EXPECT_FALSE(original.IsSourceWaiting());
	EXPECT_EQ(original.SendReply(B_REPLY), B_BAD_REPLY);
}


TEST(Message, ErrorCodes)
{
	BMessage message('test');
	ASSERT_EQ(message.AddString("name", "x"), B_OK);
	ASSERT_EQ(message.AddInt32("number", 7), B_OK);

	int32 value = 99;
	EXPECT_EQ(message.FindInt32("missing", &value), B_NAME_NOT_FOUND);
	EXPECT_EQ(value, 0);
	value = 99;
	EXPECT_EQ(message.FindInt32("name", &value), B_BAD_TYPE);
	EXPECT_EQ(value, 0);
	EXPECT_EQ(message.FindInt32("number", 1, &value), B_BAD_INDEX);
	EXPECT_EQ(message.FindInt32("number", -1, &value), B_BAD_INDEX);
	EXPECT_EQ(message.FindInt32(NULL, &value), B_BAD_VALUE);

	const char* string = "stale";
	EXPECT_EQ(message.FindString("number", &string), B_BAD_TYPE);
	EXPECT_EQ(string, nullptr);
	BRect rect(1, 2, 3, 4);
	EXPECT_EQ(message.FindRect("missing", &rect), B_NAME_NOT_FOUND);
	EXPECT_FALSE(rect.IsValid());

	// Another type under an existing name, bad sizes, bad arguments.
	EXPECT_EQ(message.AddInt32("name", 1), B_BAD_TYPE);
	EXPECT_EQ(message.AddInt64("number", 1), B_BAD_TYPE);
	int16 small = 1;
	EXPECT_EQ(message.AddData("number", B_INT32_TYPE, &small, sizeof(small)), B_BAD_VALUE);
	EXPECT_EQ(message.AddData("empty", B_RAW_TYPE, &small, 0), B_BAD_VALUE);
	EXPECT_EQ(message.AddData("null", B_RAW_TYPE, NULL, 4), B_BAD_VALUE);
	EXPECT_EQ(message.AddInt32(NULL, 1), B_BAD_VALUE);
	EXPECT_EQ(message.AddString("text", (const char*)NULL), B_BAD_VALUE);
	EXPECT_EQ(message.AddMessage("sub", NULL), B_BAD_VALUE);
	// Strings are C strings: data without its NUL is refused.
	EXPECT_EQ(message.AddData("text", B_STRING_TYPE, "abc", 3), B_BAD_VALUE);
	EXPECT_FALSE(message.HasString("text"));

	// Replace needs an existing item of the same type and, for fixed sizes, the same size.
	EXPECT_EQ(message.ReplaceInt32("missing", 1), B_NAME_NOT_FOUND);
	EXPECT_EQ(message.ReplaceInt32("name", 1), B_BAD_TYPE);
	EXPECT_EQ(message.ReplaceInt32("number", 1, 1), B_BAD_INDEX);
	EXPECT_EQ(message.ReplaceData("number", B_INT32_TYPE, &small, sizeof(small)), B_BAD_VALUE);
	EXPECT_EQ(message.ReplaceString("name", (const char*)NULL), B_BAD_VALUE);

	EXPECT_EQ(message.RemoveData("missing"), B_NAME_NOT_FOUND);
	EXPECT_EQ(message.RemoveData("number", 1), B_BAD_INDEX);
	EXPECT_EQ(message.RemoveData("number", -1), B_BAD_VALUE);
	EXPECT_EQ(message.RemoveName("missing"), B_NAME_NOT_FOUND);
	EXPECT_EQ(message.RemoveName(NULL), B_BAD_VALUE);

	// Set replaces item 0 or adds, but keeps the type rule.
	EXPECT_EQ(message.SetInt32("name", 1), B_BAD_TYPE);
	EXPECT_EQ(message.SetInt32("fresh", 3), B_OK);
	EXPECT_EQ(message.SetInt32("fresh", 4), B_OK);
	EXPECT_EQ(message.FindInt32("fresh"), 4);
	EXPECT_FALSE(message.HasInt32("fresh", 1));

	// Nothing failed above changed the message.
	EXPECT_EQ(message.CountNames(B_ANY_TYPE), 3);
	EXPECT_STREQ(message.FindString("name"), "x");
	EXPECT_EQ(message.FindInt32("number"), 7);
}


TEST(Message, EveryTypeRoundTrips)
{
	BMessage message;
	int marker = 0;
	rgb_color color = {1, 2, 3, 4};
	ASSERT_EQ(message.AddInt8("i8", -128), B_OK);
	ASSERT_EQ(message.AddUInt8("u8", 255), B_OK);
	ASSERT_EQ(message.AddInt16("i16", -32768), B_OK);
	ASSERT_EQ(message.AddUInt16("u16", 65535), B_OK);
	ASSERT_EQ(message.AddInt32("i32", INT32_MIN), B_OK);
	ASSERT_EQ(message.AddUInt32("u32", UINT32_MAX), B_OK);
	ASSERT_EQ(message.AddInt64("i64", INT64_MIN), B_OK);
	ASSERT_EQ(message.AddUInt64("u64", UINT64_MAX), B_OK);
	ASSERT_EQ(message.AddBool("bool", true), B_OK);
	ASSERT_EQ(message.AddFloat("float", 1.25f), B_OK);
	ASSERT_EQ(message.AddDouble("double", -2.5), B_OK);
	ASSERT_EQ(message.AddPoint("point", BPoint(3, 4)), B_OK);
	ASSERT_EQ(message.AddRect("rect", BRect(1, 2, 30, 40)), B_OK);
	ASSERT_EQ(message.AddColor("color", color), B_OK);
	ASSERT_EQ(message.AddPointer("pointer", &marker), B_OK);
	ASSERT_EQ(message.AddString("string", "text"), B_OK);
	ASSERT_EQ(message.AddString("string", BString("more")), B_OK);

	int8 i8;
	uint8 u8;
	int16 i16;
	uint16 u16;
	uint32 u32;
	uint64 u64;
	bool flag;
	float f;
	double d;
	BPoint point;
	BRect rect;
	rgb_color foundColor;
	void* pointer;
	BString string;
	EXPECT_EQ(message.FindInt8("i8", &i8), B_OK);
	EXPECT_EQ(i8, -128);
	EXPECT_EQ(message.FindUInt8("u8", &u8), B_OK);
	EXPECT_EQ(u8, 255);
	EXPECT_EQ(message.FindInt16("i16", &i16), B_OK);
	EXPECT_EQ(i16, -32768);
	EXPECT_EQ(message.FindUInt16("u16", &u16), B_OK);
	EXPECT_EQ(u16, 65535);
	EXPECT_EQ(message.FindInt32("i32"), INT32_MIN);
	EXPECT_EQ(message.FindUInt32("u32", &u32), B_OK);
	EXPECT_EQ(u32, UINT32_MAX);
	EXPECT_EQ(message.FindInt64("i64"), INT64_MIN);
	EXPECT_EQ(message.FindUInt64("u64", &u64), B_OK);
	EXPECT_EQ(u64, UINT64_MAX);
	EXPECT_EQ(message.FindBool("bool", &flag), B_OK);
	EXPECT_TRUE(flag);
	EXPECT_EQ(message.FindFloat("float", &f), B_OK);
	EXPECT_EQ(f, 1.25f);
	EXPECT_EQ(message.FindDouble("double", &d), B_OK);
	EXPECT_EQ(d, -2.5);
	EXPECT_EQ(message.FindPoint("point", &point), B_OK);
	EXPECT_EQ(point, BPoint(3, 4));
	EXPECT_EQ(message.FindRect("rect", &rect), B_OK);
	EXPECT_EQ(rect, BRect(1, 2, 30, 40));
	EXPECT_EQ(message.FindColor("color", &foundColor), B_OK);
	EXPECT_EQ(foundColor, color);
	EXPECT_EQ(message.FindPointer("pointer", &pointer), B_OK);
	EXPECT_EQ(pointer, &marker);
	EXPECT_EQ(message.FindString("string", 1, &string), B_OK);
	EXPECT_STREQ(string.String(), "more");
	// A failed find empties the BString.
	EXPECT_EQ(message.FindString("missing", &string), B_NAME_NOT_FOUND);
	EXPECT_STREQ(string.String(), "");

	// The old forms and the Get family give the value or their zero or default.
	EXPECT_EQ(message.FindBool("bool"), true);
	EXPECT_EQ(message.FindFloat("float"), 1.25f);
	EXPECT_EQ(message.FindRect("rect"), BRect(1, 2, 30, 40));
	EXPECT_EQ(message.FindInt32("missing"), 0);
	EXPECT_EQ(message.FindString("missing"), nullptr);
	EXPECT_FALSE(message.FindRect("missing").IsValid());
	EXPECT_EQ(message.GetInt32("i32", 5), INT32_MIN);
	EXPECT_EQ(message.GetInt32("missing", 5), 5);
	EXPECT_EQ(message.GetUInt8("i8", 7), 7);
	EXPECT_STREQ(message.GetString("string", 1, "none"), "more");
	EXPECT_STREQ(message.GetString("missing", "none"), "none");
	EXPECT_EQ(message.GetString("missing"), nullptr);
	EXPECT_EQ(message.GetPointer("pointer"), &marker);
	EXPECT_EQ(message.GetColor("missing", color), color);
	EXPECT_EQ(message.GetPoint("point", BPoint()), BPoint(3, 4));

	// Set works for every fixed-size type and for strings.
	EXPECT_EQ(message.SetString("string", "replaced, longer"), B_OK);
	EXPECT_STREQ(message.FindString("string", 0), "replaced, longer");
	EXPECT_STREQ(message.FindString("string", 1), "more");
	EXPECT_EQ(message.SetRect("rect", BRect(0, 0, 1, 1)), B_OK);
	EXPECT_EQ(message.FindRect("rect"), BRect(0, 0, 1, 1));
	EXPECT_EQ(message.SetPointer("pointer", NULL), B_OK);
	EXPECT_EQ(message.GetPointer("pointer", &marker), nullptr);

	EXPECT_TRUE(message.HasUInt64("u64"));
	EXPECT_FALSE(message.HasInt64("u64"));
	EXPECT_TRUE(message.HasColor("color"));
	EXPECT_TRUE(message.HasData("rect", B_ANY_TYPE));
	EXPECT_FALSE(message.HasData("rect", B_ANY_TYPE, 1));
}


TEST(Message, FindDataPointsIntoTheMessage)
{
	BMessage message;
	ASSERT_EQ(message.AddString("s", "abc"), B_OK);
	ASSERT_EQ(message.AddData("raw", 'Abcd', "\x01\x02\x03", 3, false), B_OK);

	const void* data;
	ssize_t size;
	ASSERT_EQ(message.FindData("s", B_ANY_TYPE, &data, &size), B_OK);
	EXPECT_EQ(size, 4); // the NUL is stored
	EXPECT_EQ(memcmp(data, "abc", 4), 0);
	EXPECT_EQ(data, message.FindString("s"));
	EXPECT_EQ(message.FindData("s", B_INT32_TYPE, &data, &size), B_BAD_TYPE);
	EXPECT_EQ(data, nullptr);

	ASSERT_EQ(message.FindData("raw", 'Abcd', 0, &data, &size), B_OK);
	EXPECT_EQ(size, 3);
	EXPECT_EQ(memcmp(data, "\x01\x02\x03", 3), 0);

	bool fixedSize = true;
	type_code type = 0;
	EXPECT_EQ(message.GetInfo("raw", &type, &fixedSize), B_OK);
	EXPECT_EQ(type, (type_code)'Abcd');
	EXPECT_FALSE(fixedSize);
}


TEST(Message, ArraysKeepTheirItemsInOrder)
{
	BMessage message;
	for (int32 i = 0; i < 5; i++)
		ASSERT_EQ(message.AddInt32("n", i * 10), B_OK);
	ASSERT_EQ(message.AddString("s", "zero"), B_OK);
	ASSERT_EQ(message.AddString("s", "one"), B_OK);
	ASSERT_EQ(message.AddString("s", "two"), B_OK);

	type_code type;
	int32 count;
	ASSERT_EQ(message.GetInfo("n", &type, &count), B_OK);
	EXPECT_EQ(type, (type_code)B_INT32_TYPE);
	EXPECT_EQ(count, 5);
	EXPECT_EQ(message.FindInt32("n", 3), 30);

	EXPECT_EQ(message.ReplaceInt32("n", 1, -1), B_OK);
	EXPECT_EQ(message.RemoveData("n", 2), B_OK);
	std::vector<int32> values;
	for (int32 i = 0; message.HasInt32("n", i); i++)
		values.push_back(message.FindInt32("n", i));
	EXPECT_EQ(values, (std::vector<int32> {0, -1, 30, 40}));

	// Variable-size items of other lengths leave their neighbours intact, even when the new
	// text comes from the message itself.
	EXPECT_EQ(message.ReplaceString("s", 1, "a much longer one"), B_OK);
	EXPECT_EQ(message.ReplaceString("s", 0, message.FindString("s", 1)), B_OK);
	EXPECT_EQ(message.ReplaceString("s", 2, "2"), B_OK);
	EXPECT_STREQ(message.FindString("s", 0), "a much longer one");
	EXPECT_STREQ(message.FindString("s", 1), "a much longer one");
	EXPECT_STREQ(message.FindString("s", 2), "2");
	EXPECT_EQ(message.RemoveData("s", 0), B_OK);
	EXPECT_STREQ(message.FindString("s", 0), "a much longer one");
	EXPECT_STREQ(message.FindString("s", 1), "2");

	// Adding an item of the field to itself, while the field grows.
	ASSERT_EQ(message.AddString("grow", "seed text"), B_OK);
	for (int32 i = 1; i < 20; i++)
		ASSERT_EQ(message.AddString("grow", message.FindString("grow", i - 1)), B_OK);
	EXPECT_STREQ(message.FindString("grow", 19), "seed text");
	EXPECT_EQ(message.RemoveName("grow"), B_OK);

	// Removing the last item removes the name.
	EXPECT_EQ(message.RemoveData("s"), B_OK);
	EXPECT_EQ(message.RemoveData("s"), B_OK);
	EXPECT_EQ(message.GetInfo("s", &type, &count), B_NAME_NOT_FOUND);
	EXPECT_EQ(count, 0);

	// Append adds every item, also to itself.
	EXPECT_EQ(message.Append(message), B_OK);
	ASSERT_EQ(message.GetInfo("n", &type, &count), B_OK);
	EXPECT_EQ(count, 8);
	EXPECT_EQ(message.FindInt32("n", 7), 40);
}


TEST(Message, FieldsKeepInsertionOrderAndTypeIndexes)
{
	BMessage message;
	message.AddString("z", "first");
	message.AddInt32("a", 1);
	message.AddDouble("m", 1.0);
	message.AddInt32("b", 2);
	message.AddInt32("a", 3);

	std::vector<std::string> names;
	char* name;
	type_code type;
	int32 count;
	for (int32 i = 0; message.GetInfo(B_ANY_TYPE, i, &name, &type, &count) == B_OK; i++)
		names.push_back(name);
	EXPECT_EQ(names, (std::vector<std::string> {"z", "a", "m", "b"}));

	// The index of the typed form counts only fields of that type.
	const char* constName;
	ASSERT_EQ(message.GetInfo(B_INT32_TYPE, 1, &constName, &type, &count), B_OK);
	EXPECT_STREQ(constName, "b");
	EXPECT_EQ(count, 1);
	ASSERT_EQ(message.GetInfo(B_INT32_TYPE, 0, &name, &type, &count), B_OK);
	EXPECT_STREQ(name, "a");
	EXPECT_EQ(count, 2);
	EXPECT_EQ(message.GetInfo(B_INT32_TYPE, 2, &name, &type, &count), B_BAD_INDEX);
	EXPECT_EQ(message.GetInfo(B_RECT_TYPE, 0, &name, &type, &count), B_BAD_TYPE);
	EXPECT_EQ(message.GetInfo(B_ANY_TYPE, 4, &name, &type, &count), B_BAD_INDEX);

	EXPECT_EQ(message.CountNames(B_ANY_TYPE), 4);
	EXPECT_EQ(message.CountNames(B_INT32_TYPE), 2);
	EXPECT_EQ(message.CountNames(B_RECT_TYPE), 0);

	// Renaming keeps the place; a name in use is refused.
	EXPECT_EQ(message.Rename("m", "b"), B_NAME_IN_USE);
	EXPECT_EQ(message.Rename("m", "middle"), B_OK);
	EXPECT_EQ(message.Rename("gone", "x"), B_NAME_NOT_FOUND);
	ASSERT_EQ(message.GetInfo(B_ANY_TYPE, 2, &name, &type), B_OK);
	EXPECT_STREQ(name, "middle");
	EXPECT_EQ(message.FindDouble("middle"), 1.0);
	EXPECT_FALSE(message.HasDouble("m"));
}


TEST(Message, ThousandsOfFields)
{
	const int32 kCount = 5000;
	BMessage message;
	for (int32 i = 0; i < kCount; i++)
		ASSERT_EQ(message.AddInt32(("f" + std::to_string(i)).c_str(), i), B_OK);

	// Remove every other field; the others must still be found under their names.
	for (int32 i = 0; i < kCount; i += 2)
		ASSERT_EQ(message.RemoveName(("f" + std::to_string(i)).c_str()), B_OK);
	EXPECT_EQ(message.CountNames(B_ANY_TYPE), kCount / 2);
	for (int32 i = 0; i < kCount; i++) {
		int32 value = -1;
		status_t status = message.FindInt32(("f" + std::to_string(i)).c_str(), &value);
		if (i % 2 == 0) {
			ASSERT_EQ(status, B_NAME_NOT_FOUND) << i;
		} else {
			ASSERT_EQ(status, B_OK) << i;
			ASSERT_EQ(value, i);
		}
	}

	char* name;
	ASSERT_EQ(message.GetInfo(B_ANY_TYPE, 10, &name, NULL), B_OK);
	EXPECT_STREQ(name, "f21");

	BMessage copy(message);
	EXPECT_EQ(copy.FindInt32("f4999"), 4999);
	EXPECT_TRUE(copy.HasSameData(message, false));
}


TEST(Message, NestedMessages)
{
	BMessage inner('deep');
	inner.AddInt32("x", 1);
	BMessage middle('subm');
	middle.AddString("k", "v");
	middle.AddMessage("inner", &inner);

	BMessage outer('top ');
	ASSERT_EQ(outer.AddMessage("sub", &middle), B_OK);
	// The message is copied: later changes to the original do not show.
	middle.AddString("k", "later");

	BMessage found;
	found.AddBool("leftover", true);
	ASSERT_EQ(outer.FindMessage("sub", &found), B_OK);
	EXPECT_EQ(found.what, (uint32)'subm');
	EXPECT_FALSE(found.HasBool("leftover"));
	EXPECT_FALSE(found.HasString("k", 1));
	BMessage foundInner;
	ASSERT_EQ(found.FindMessage("inner", &foundInner), B_OK);
	EXPECT_EQ(foundInner.what, (uint32)'deep');
	EXPECT_EQ(foundInner.FindInt32("x"), 1);

	EXPECT_EQ(outer.FindMessage("sub", 1, &found), B_BAD_INDEX);
	EXPECT_EQ(outer.FindMessage("missing", &found), B_NAME_NOT_FOUND);
	EXPECT_EQ(outer.FindMessage("sub", NULL), B_BAD_VALUE);

	ASSERT_EQ(outer.ReplaceMessage("sub", &inner), B_OK);
	ASSERT_EQ(outer.FindMessage("sub", &found), B_OK);
	EXPECT_EQ(found.what, (uint32)'deep');

	// A message can find a nested message into itself.
	ASSERT_EQ(outer.FindMessage("sub", &outer), B_OK);
	EXPECT_EQ(outer.what, (uint32)'deep');
	EXPECT_EQ(outer.FindInt32("x"), 1);

	// Data that only claims to be a message is reported, not trusted.
	BMessage bogus;
	bogus.AddData("sub", B_MESSAGE_TYPE, "not a message at all", 20, false);
	EXPECT_EQ(bogus.FindMessage("sub", &found), B_BAD_VALUE);
	EXPECT_TRUE(found.IsEmpty());
	EXPECT_EQ(printed(bogus),
		"BMessage(0x0) {\n"
		"        sub = failed unflatten: Invalid Argument\n"
		"}\n");
}


TEST(Message, FlattenRoundTrip)
{
	BMessage inner('in  ');
	inner.AddString("s", "nested");
	BMessage message('flat');
	message.AddInt32("n", 1);
	message.AddInt32("n", -2);
	message.AddString("s", "");
	message.AddString("s", "text");
	message.AddRect("r", BRect(1, 2, 3, 4));
	message.AddBool("b", false);
	message.AddMessage("m", &inner);
	message.AddData("raw", B_RAW_TYPE, "\0\1\2", 3, false);
	message.AddData("raw", B_RAW_TYPE, "\3", 1, false);

	std::vector<char> buffer = flatten(message);
	EXPECT_EQ(message.Flatten(buffer.data(), buffer.size() - 1) == B_OK, false);
	EXPECT_EQ(message.Flatten(NULL, buffer.size()), B_BAD_VALUE);

	BMessage copy('old ');
	copy.AddInt32("old", 1);
	ASSERT_EQ(copy.Unflatten(buffer.data()), B_OK);
	EXPECT_EQ(copy.what, (uint32)'flat');
	EXPECT_FALSE(copy.HasInt32("old"));
	EXPECT_TRUE(copy.HasSameData(message, false, true));
	EXPECT_EQ(printed(copy), printed(message));
	EXPECT_EQ(copy.FindInt32("n", 1), -2);
	EXPECT_STREQ(copy.FindString("s", 0), "");

	bool fixedSize;
	type_code type;
	ASSERT_EQ(copy.GetInfo("raw", &type, &fixedSize), B_OK);
	EXPECT_FALSE(fixedSize);
	ASSERT_EQ(copy.GetInfo("n", &type, &fixedSize), B_OK);
	EXPECT_TRUE(fixedSize);

	BMessage empty;
	std::vector<char> emptyBuffer = flatten(empty);
	ASSERT_EQ(copy.Unflatten(emptyBuffer.data()), B_OK);
	EXPECT_TRUE(copy.IsEmpty());
	EXPECT_EQ(copy.what, 0u);

	EXPECT_EQ(copy.Unflatten(NULL), B_BAD_VALUE);
	char notAMessage[32] = "definitely not a message";
	copy.AddInt32("x", 1);
	EXPECT_EQ(copy.Unflatten(notAMessage), B_BAD_VALUE);
	EXPECT_TRUE(copy.IsEmpty());
}


TEST(Message, UnflattenRejectsTruncatedAndCorruptData)
{
	BMessage inner('in  ');
	inner.AddString("s", "nested");
	inner.AddInt64("i", 5);
	BMessage message('flat');
	message.AddInt32("n", 1);
	message.AddInt32("n", 2);
	message.AddString("s", "text");
	message.AddMessage("m", &inner);
	std::vector<char> buffer = flatten(message);
	const size_t kSizeOffset = 8; // where the header keeps the total size

	// A cut anywhere after the header, with the header's size saying so: each read must
	// stay inside the shorter buffer (the sanitizer build checks) and the data is refused.
	for (size_t size = 16; size < buffer.size(); size++) {
		std::vector<char> cut(buffer.begin(), buffer.begin() + size);
		uint32 cutSize = (uint32)size;
		memcpy(cut.data() + kSizeOffset, &cutSize, sizeof(cutSize));
		BMessage target;
		target.AddInt32("before", 1);
		EXPECT_EQ(target.Unflatten(cut.data()), B_BAD_VALUE) << size;
		EXPECT_TRUE(target.IsEmpty());
	}

	// A field that claims billions of items in no data is refused before anything is made
	// for them.
	{
		BMessage one('one ');
		one.AddInt32("n", 7);
		std::vector<char> claim = flatten(one);
		const uint32 type = B_INT32_TYPE;
		auto header = std::search(
			claim.begin(), claim.end(), (const char*)&type, (const char*)&type + sizeof(type));
		ASSERT_NE(header, claim.end());
		const size_t field = header - claim.begin();
		const uint32 count = 0xffffffff;
		const uint32 dataSize = 0;
		memcpy(claim.data() + field + 12, &count, sizeof(count));
		memcpy(claim.data() + field + 16, &dataSize, sizeof(dataSize));
		claim.erase(claim.begin() + field + 20 + 1, claim.begin() + field + 20 + 1 + 4);
		uint32 size = (uint32)claim.size();
		memcpy(claim.data() + kSizeOffset, &size, sizeof(size));
		BMessage target;
		EXPECT_EQ(target.Unflatten(claim.data()), B_BAD_VALUE);
	}

	// Any changed byte (but the size) gives an error or a message that still behaves.
	for (size_t i = 0; i < buffer.size(); i++) {
		if (i >= kSizeOffset && i < kSizeOffset + 4)
			continue;
		for (int flip : {0x01, 0x80, 0xff}) {
			std::vector<char> corrupt(buffer);
			corrupt[i] ^= flip;
			BMessage target;
			if (target.Unflatten(corrupt.data()) != B_OK) {
				EXPECT_TRUE(target.IsEmpty());
				continue;
			}
			BMessage nested;
			target.FindMessage("m", &nested);
			const char* string;
			if (target.FindString("s", &string) == B_OK) {
				EXPECT_LT(strlen(string), buffer.size());
			}
			printed(target);
		}
	}
}


TEST(Message, PrintToStream)
{
	BMessage message('wdgt');
	message.AddString("url", "a");
	message.AddInt32("n", 5);
	message.AddInt32("n", 7);
	message.AddBool("on", true);
	message.AddFloat("f", 1.5f);
	EXPECT_EQ(printed(message),
		"BMessage('wdgt') {\n"
		"        url = string(\"a\", 2 bytes)\n"
		"        n[0] = int32(0x5 or 5)\n"
		"        n[1] = int32(0x7 or 7)\n"
		"        on = bool(true)\n"
		"        f = float(1.5000)\n"
		"}\n");

	BMessage deep('deep');
	deep.AddInt32("x", 1);
	BMessage sub('subm');
	sub.AddString("k", "v");
	sub.AddMessage("inner", &deep);
	int marker;
	BMessage all(B_QUIT_REQUESTED);
	all.AddInt32("neg", -1);
	all.AddInt64("big", -2);
	all.AddUInt32("u", 4000000000u);
	all.AddUInt64("u64", UINT64_MAX);
	all.AddInt8("c", 'A');
	all.AddInt16("s", 300);
	all.AddBool("off", false);
	all.AddDouble("d", 0.5);
	all.AddRect("r", BRect(1, 2, 3, 4));
	all.AddPoint("p", BPoint(1.5, 2));
	all.AddColor("col", make_color(1, 2, 3));
	all.AddPointer("ptr", &marker);
	all.AddData("raw", 'Abcd', "xyz", 3);
	all.AddMessage("sub", &sub);
	EXPECT_EQ(printed(all),
		"BMessage('_QRQ') {\n"
		"        neg = int32(0xffffffff or -1)\n"
		"        big = int64(0xfffffffffffffffe or -2)\n"
		"        u = uint32(0xee6b2800 or 4000000000)\n"
		"        u64 = uint64(0xffffffffffffffff or -1)\n"
		"        c = int8(0x41 or 65 or 'A')\n"
		"        s = int16(0x12c or 300)\n"
		"        off = bool(false)\n"
		"        d = double(0.50000000)\n"
		"        r = BRect(l:1.0, t:2.0, r:3.0, b:4.0)\n"
		"        p = BPoint(x:1.500000, y:2.000000)\n"
		"        col = rgb_color(1, 2, 3, 255)\n"
		"        ptr = (type = 'PNTR')(size = "
			+ std::to_string(sizeof(void*))
			+ ")\n"
			  "        raw = (type = 'Abcd')(size = 3)\n"
			  "        sub = BMessage('subm') {\n"
			  "                k = string(\"v\", 2 bytes)\n"
			  "                inner = BMessage('deep') {\n"
			  "                        x = int32(0x1 or 1)\n"
			  "                }\n"
			  "        }\n"
			  "}\n");

	// A code whose first character is not printable is shown in hex.
	EXPECT_EQ(printed(BMessage(1)), "BMessage(0x1) {\n}\n");
}
