/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <String.h>

#include <gtest/gtest.h>


static const char* kNull = NULL;


static BString Formatted(const char* format, ...) __attribute__((format(__printf__, 1, 2)));


static BString
Formatted(const char* format, ...)
{
	va_list args;
	va_start(args, format);
	BString string;
	string.SetToFormatVarArgs(format, args);
	va_end(args);
	return string;
}


TEST(String, ConstructionAndNullInput)
{
	BString empty;
	EXPECT_STREQ(empty.String(), "");
	EXPECT_EQ(empty.Length(), 0);

	BString fromNull(kNull);
	EXPECT_STREQ(fromNull.String(), "");
	EXPECT_STREQ(BString(kNull, 5).String(), "");
	EXPECT_STREQ(BString("abcdef", 3).String(), "abc");
	EXPECT_STREQ(BString("ab", 10).String(), "ab");
	EXPECT_STREQ(BString("abc", -2).String(), "");

	BString s("text");
	s = kNull;
	EXPECT_STREQ(s.String(), "");
	s.SetTo("abcdef", -1);
	EXPECT_STREQ(s.String(), "abcdef");
	s.SetTo('x', 3);
	EXPECT_STREQ(s.String(), "xxx");
	s += kNull;
	s.Append(kNull, 4).Prepend(kNull).Insert(kNull, 0);
	EXPECT_STREQ(s.String(), "xxx");
	EXPECT_EQ(s.FindFirst(kNull), B_BAD_VALUE);
	EXPECT_FALSE(s == kNull);
	EXPECT_TRUE(empty == kNull);
	EXPECT_GT(s.Compare(kNull), 0);

	BString moved(std::move(s));
	EXPECT_STREQ(moved.String(), "xxx");
	EXPECT_STREQ(s.String(), "");
}


TEST(String, AppendPrependInsertIncludingSelf)
{
	BString s("abc");
	s += s;
	EXPECT_STREQ(s.String(), "abcabc");
	s.Append(s.String() + 4);
	EXPECT_STREQ(s.String(), "abcabcbc");
	s.SetTo(s.String() + 3);
	EXPECT_STREQ(s.String(), "abcbc");
	// The length forms with the string itself do nothing, as Haiku's do.
	s.Append(s, 2).Prepend(s);
	EXPECT_STREQ(s.String(), "abcbc");

	s.SetTo("mid");
	s.Append('!', 3).Prepend('<', 2).Append("xyz", 2).Prepend("123", 1);
	EXPECT_STREQ(s.String(), "1<<mid!!!xy");
	s.Append('-', 0).Append('-', -4).Append("q", -1);
	EXPECT_EQ(s.Length(), 11);

	s.SetTo("0123");
	s.Insert("ab", 2);
	EXPECT_STREQ(s.String(), "01ab23");
	s.Insert("xyz", 99);
	EXPECT_STREQ(s.String(), "01ab23");
	// A negative position drops the part of the text that would lie before the start.
	s.Insert("XYZ", -1);
	EXPECT_STREQ(s.String(), "YZ01ab23");
	s.SetTo("ab");
	s.Insert("hello", 1, 3, 1);
	EXPECT_STREQ(s.String(), "aellb");
	s.Insert("hi", 5, 1, 0);
	EXPECT_STREQ(s.String(), "aellb");
	s.Insert('.', 2, 100);
	EXPECT_STREQ(s.String(), "aellb..");
	s.Insert('#', 3, -2);
	EXPECT_STREQ(s.String(), "#aellb..");
	s.Insert(s.String() + 1, 3, 0);
	EXPECT_STREQ(s.String(), "ael#aellb..");
}


TEST(String, TruncateRemoveAndMove)
{
	BString s("abcdefg");
	s.Truncate(10);
	EXPECT_STREQ(s.String(), "abcdefg");
	s.Truncate(5, false);
	EXPECT_STREQ(s.String(), "abcde");
	EXPECT_EQ(s.Length(), 5);
	s.Truncate(-3);
	EXPECT_STREQ(s.String(), "");

	s.SetTo("abcdefg");
	s.Remove(-1, 2).Remove(7, 1).Remove(2, 0).Remove(2, -5);
	EXPECT_STREQ(s.String(), "abcdefg");
	s.Remove(5, 100);
	EXPECT_STREQ(s.String(), "abcde");
	s.Remove(1, 2);
	EXPECT_STREQ(s.String(), "ade");

	BString source("abcdefg"), destination("old");
	source.MoveInto(destination, 2, 3);
	EXPECT_STREQ(source.String(), "abfg");
	EXPECT_STREQ(destination.String(), "cde");
	source.CopyInto(destination, 1, 100);
	EXPECT_STREQ(destination.String(), "bfg");
	source.CopyInto(destination, 9, 2);
	EXPECT_STREQ(destination.String(), "");

	char buffer[8];
	memset(buffer, '*', sizeof(buffer));
	source.CopyInto(buffer, 2, 50);
	EXPECT_EQ(std::string(buffer, 3), "fg*");
	source.CopyInto(buffer, -1, 2);
	EXPECT_EQ(buffer[0], 'f');
}


TEST(String, SearchingForwardAndBackward)
{
	BString s("AbcAbcAbc");
	EXPECT_EQ(s.FindFirst("bc"), 1);
	EXPECT_EQ(s.FindFirst("bc", 2), 4);
	EXPECT_EQ(s.FindFirst("bc", 8), B_ERROR);
	EXPECT_EQ(s.FindFirst("bc", -1), B_ERROR);
	EXPECT_EQ(s.FindFirst("xyz"), B_ERROR);
	EXPECT_EQ(s.FindFirst(BString("cA"), 3), 5);
	EXPECT_EQ(s.FindFirst('c', 3), 5);
	EXPECT_EQ(s.FindFirst('c', 100), B_ERROR);
	EXPECT_EQ(s.FindFirst('z'), B_ERROR);

	// The string form finds the last match that ends before the offset, the char form
	// looks at the offset's own byte too.
	EXPECT_EQ(s.FindLast("Abc", 7), 3);
	EXPECT_EQ(s.FindLast("Abc"), 6);
	EXPECT_EQ(s.FindLast("Abc", 2), B_ERROR);
	EXPECT_EQ(s.FindLast('A', 6), 6);
	EXPECT_EQ(s.FindLast('A', 5), 3);
	EXPECT_EQ(s.FindLast('A', -1), B_ERROR);
	EXPECT_EQ(s.FindLast('c'), 8);

	EXPECT_EQ(s.IFindFirst("BCA"), 1);
	EXPECT_EQ(s.IFindFirst("abc", 1), 3);
	EXPECT_EQ(s.IFindLast("aBC"), 6);
	EXPECT_EQ(s.IFindLast("ABC", 8), 3);
	EXPECT_EQ(s.FindFirst("BCA"), B_ERROR);

	EXPECT_TRUE(s.StartsWith("Abc"));
	EXPECT_FALSE(s.StartsWith("abc"));
	EXPECT_TRUE(s.IStartsWith("aBCa"));
	EXPECT_TRUE(s.EndsWith(BString("cAbc")));
	EXPECT_FALSE(s.EndsWith("AbcAbcAbcAbc"));
	EXPECT_TRUE(s.IEndsWith("ABC"));
	EXPECT_TRUE(s.StartsWith(""));
	EXPECT_FALSE(s.StartsWith("Ab", 5));
	EXPECT_FALSE(BString().EndsWith("x"));
}


TEST(String, ReplacingWithOverlapsAndOffsets)
{
	BString s("aaaa");
	s.ReplaceAll("aa", "a");
	EXPECT_STREQ(s.String(), "aa");
	// The replacement text is not searched again.
	s.SetTo("abab");
	s.ReplaceAll("ab", "abab");
	EXPECT_STREQ(s.String(), "abababab");
	s.SetTo("aaa");
	s.ReplaceAll("aa", "b");
	EXPECT_STREQ(s.String(), "ba");

	s.SetTo("one two one two one");
	s.ReplaceFirst("one", "1");
	EXPECT_STREQ(s.String(), "1 two one two one");
	s.ReplaceLast("one", "ONE");
	EXPECT_STREQ(s.String(), "1 two one two ONE");
	s.ReplaceAll("two", "2", 3);
	EXPECT_STREQ(s.String(), "1 two one 2 ONE");
	s.Replace("o", "0", 2, 3);
	EXPECT_STREQ(s.String(), "1 tw0 0ne 2 ONE");
	s.Replace("e", "E", 0).ReplaceAll("", "x").ReplaceAll(kNull, "x").ReplaceAll("1", kNull);
	EXPECT_STREQ(s.String(), " tw0 0ne 2 ONE");
	s.ReplaceAll("0", "o", 100);
	EXPECT_STREQ(s.String(), " tw0 0ne 2 ONE");

	s.SetTo("Hello HELLO hello");
	s.IReplaceAll("hello", "hi");
	EXPECT_STREQ(s.String(), "hi hi hi");
	s.IReplaceLast("HI", "bye").IReplaceFirst("Hi", "yo");
	EXPECT_STREQ(s.String(), "yo hi bye");

	s.SetTo("a.b.c.d");
	s.ReplaceFirst('.', '-').ReplaceLast('.', '+');
	EXPECT_STREQ(s.String(), "a-b.c+d");
	s.ReplaceAll('.', '/', 0).Replace('b', 'B', 1, 3);
	EXPECT_STREQ(s.String(), "a-b/c+d");
	s.IReplaceAll('D', 'x');
	EXPECT_STREQ(s.String(), "a-b/c+x");

	// Arguments that point into the string itself.
	s.SetTo("abcabc");
	s.ReplaceAll(s.String() + 3, s.String() + 1);
	EXPECT_STREQ(s.String(), "bcabcbcabc");

	s.SetTo("a-b-c");
	s.ReplaceSet("abc", "ABC");
	EXPECT_STREQ(s.String(), "ABC-ABC-ABC");
	s.ReplaceSet("-", '_');
	EXPECT_STREQ(s.String(), "ABC_ABC_ABC");
	s.SetTo("ab abc abcd");
	s.RemoveSet("db");
	EXPECT_STREQ(s.String(), "a ac ac");
	s.RemoveAll(BString("ac")).RemoveFirst("a").RemoveLast(" ");
	EXPECT_STREQ(s.String(), " ");
}


TEST(String, CountingAndTruncatingUtf8)
{
	// "Grüße €" is 7 characters in 11 bytes.
	BString s("Gr\xc3\xbc\xc3\x9f"
			  "e \xe2\x82\xac");
	EXPECT_EQ(s.Length(), 11);
	EXPECT_EQ(s.CountChars(), 7);
	EXPECT_EQ(s.CountBytes(2, 2), 4);
	int32 bytes = 0;
	EXPECT_STREQ(s.CharAt(6, &bytes), "\xe2\x82\xac");
	EXPECT_EQ(bytes, 3);
	s.TruncateChars(3);
	EXPECT_STREQ(s.String(), "Gr\xc3\xbc");
	EXPECT_EQ(BString().CountChars(), 0);
}


TEST(String, LockedBufferWrites)
{
	BString s("abc");
	char* buffer = s.LockBuffer(10);
	ASSERT_NE(buffer, nullptr);
	EXPECT_STREQ(buffer, "abc");
	strcpy(buffer + 3, "defghij");
	s.UnlockBuffer();
	EXPECT_STREQ(s.String(), "abcdefghij");
	EXPECT_EQ(s.Length(), 10);

	// An explicit length is kept within the locked size.
	buffer = s.LockBuffer(4);
	buffer[2] = 'X';
	s.UnlockBuffer(500);
	EXPECT_STREQ(s.String(), "abXdefghij");
	buffer = s.LockBuffer(0);
	s.UnlockBuffer(3);
	EXPECT_STREQ(s.String(), "abX");

	// Bytes the caller leaves alone end the text; a written terminator counts too.
	buffer = s.LockBuffer(64);
	buffer[5] = 'z';
	s.UnlockBuffer();
	EXPECT_STREQ(s.String(), "abX");
	buffer = s.LockBuffer(8);
	buffer[1] = '\0';
	s.UnlockBuffer(-1);
	EXPECT_STREQ(s.String(), "a");
	EXPECT_EQ(s.Length(), 1);

	BString empty;
	buffer = empty.LockBuffer(5);
	ASSERT_NE(buffer, nullptr);
	memcpy(buffer, "12345", 6);
	empty.UnlockBuffer();
	EXPECT_STREQ(empty.String(), "12345");
}


TEST(String, StreamingAndFormatting)
{
	BString s("n=");
	s << (int32)-5 << ' ' << (uint32)7 << " " << (int64)-9000000000LL << "/"
	  << (uint64)18000000000ULL << BString("|") << 12.5f << "|" << 1.0 / 3 << true;
	EXPECT_STREQ(s.String(), "n=-5 7 -9000000000/18000000000|12.50|0.33true");

	EXPECT_STREQ(Formatted("%s-%03d", "ab", 7).String(), "ab-007");
	s.SetToFormat("<%s>", s.String());
	EXPECT_STREQ(s.String(), "<n=-5 7 -9000000000/18000000000|12.50|0.33true>");
	std::string longText(5000, 'x');
	s.SetToFormat("%s!", longText.c_str());
	EXPECT_EQ(s.Length(), 5001);
	s.SetToFormat("%s", "");
	EXPECT_STREQ(s.String(), "");

	int number = 0;
	BString("value 42").ScanWithFormat("value %d", &number);
	EXPECT_EQ(number, 42);
}


TEST(String, ComparingAndCharacterAccess)
{
	BString a("abc"), b("abd"), upper("ABC");
	EXPECT_LT(a.Compare(b), 0);
	EXPECT_GT(b.Compare("abc"), 0);
	EXPECT_EQ(a.Compare(b, 2), 0);
	EXPECT_EQ(a.ICompare(upper), 0);
	EXPECT_EQ(a.ICompare("ABD", 2), 0);
	EXPECT_GT(BString("abcdef").Compare("abcde"), 0);
	EXPECT_LT(Compare(a, b), 0);
	EXPECT_EQ(ICompare(&a, &upper), 0);

	EXPECT_TRUE(a < b && a <= b && b > a && b >= a && a != b && a == BString("abc"));
	EXPECT_TRUE(a == "abc" && "abc" == a && "abd" != a && "abb" < a && "abd" > a);
	EXPECT_TRUE("abc" <= a && "abc" >= a && a < "b" && a > "ab");

	const BString& constant = a;
	EXPECT_EQ(constant[1], 'b');
	EXPECT_EQ(constant[3], 0);
	EXPECT_EQ(constant[-1], 0);
	EXPECT_EQ(a.ByteAt(100), 0);
	a[0] = 'X';
	a[10] = 'Y';
	char c = a[1];
	EXPECT_EQ(c, 'b');
	EXPECT_STREQ(a.String(), "Xbc");
	EXPECT_EQ(a.Length(), 3);

	EXPECT_EQ(BString("same").HashValue(), BString::HashValue("same"));
	EXPECT_NE(BString("same").HashValue(), BString("Same").HashValue());
}


TEST(String, CaseTrimAndEscaping)
{
	BString s("hello wORLD-foo bar2baz");
	s.CapitalizeEachWord();
	EXPECT_STREQ(s.String(), "Hello World-Foo Bar2Baz");
	s.Capitalize();
	EXPECT_STREQ(s.String(), "Hello world-foo bar2baz");
	s.ToUpper();
	EXPECT_STREQ(s.String(), "HELLO WORLD-FOO BAR2BAZ");
	s.SetTo("\xc3\x9c Mixed").ToLower();
	EXPECT_STREQ(s.String(), "\xc3\x9c mixed");

	s.SetTo(" \t\n text  in \r\n");
	s.Trim();
	EXPECT_STREQ(s.String(), "text  in");
	s.SetTo(" \t ");
	s.Trim();
	EXPECT_STREQ(s.String(), "");

	s.CharacterEscape("it's \"quoted\"", "'\"", '\\');
	EXPECT_STREQ(s.String(), "it\\'s \\\"quoted\\\"");
	s.CharacterDeescape('\\');
	EXPECT_STREQ(s.String(), "it's \"quoted\"");
	s.CharacterEscape(s.String(), "t", '%');
	EXPECT_STREQ(s.String(), "i%t's \"quo%ted\"");
	s.CharacterDeescape("a\\\\b", '\\');
	EXPECT_STREQ(s.String(), "ab");

	BString taker("give"), giver("taken away");
	taker.Adopt(giver, 5);
	EXPECT_STREQ(taker.String(), "taken");
	EXPECT_STREQ(giver.String(), "");
}
