/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>

#include <Bitmap.h>
#include <Font.h>
#include <TextView.h>

#include "DrawTestSupport.h"


namespace {


const rgb_color kWhite = {255, 255, 255, 255};
const rgb_color kBlack = {0, 0, 0, 255};
const rgb_color kRed = {200, 0, 0, 255};
const rgb_color kBlue = {0, 0, 200, 255};


BFont
BoldFont(float size)
{
	BFont font(be_plain_font);
	font.SetSize(size);
	font.SetFace(B_BOLD_FACE);
	return font;
}


// The height of one line in this font, as a text view counts it
float
LineHeightOf(const BFont& font)
{
	font_height height;
	font.GetHeight(&height);
	return ceilf(height.ascent + height.descent + height.leading);
}


// The text view's font and colour at offset
struct Style {
	float size;
	uint16 face;
	rgb_color color;
};


Style
StyleAt(const BTextView& view, int32 offset)
{
	BFont font;
	rgb_color color = {1, 2, 3, 4};
	view.GetFontAndColor(offset, &font, &color);
	return Style {font.Size(), font.Face(), color};
}


// The ink within the columns [left, right] of a bitmap
BRect
InkInColumns(const BBitmap* bitmap, int32 left, int32 right, rgb_color background)
{
	BRect ink;
	bool found = false;
	int32 height = bitmap->Bounds().IntegerHeight() + 1;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = left; x <= right; x++) {
			if (PixelAt(bitmap, x, y) == background)
				continue;
			if (!found)
				ink.Set(x, y, x, y);
			found = true;
			ink.left = fminf(ink.left, x);
			ink.right = fmaxf(ink.right, x);
			ink.top = fminf(ink.top, y);
			ink.bottom = fmaxf(ink.bottom, y);
		}
	}
	return ink;
}


} // namespace


TEST(TextViewTest, DefaultsAndText)
{
	BTextView view(BRect(0, 0, 199, 99), "text", BRect(0, 0, 199, 99), B_FOLLOW_NONE, B_WILL_DRAW);
	EXPECT_TRUE(view.IsEditable());
	EXPECT_TRUE(view.IsSelectable());
	EXPECT_FALSE(view.IsStylable());
	EXPECT_TRUE(view.DoesWordWrap());
	EXPECT_EQ(28.0f, view.TabWidth());
	EXPECT_EQ(BRect(0, 0, 199, 99), view.TextRect());
	EXPECT_STREQ("", view.Text());
	EXPECT_EQ(0, view.TextLength());
	// An empty text still has one line, in the plain font, drawn in black.
	EXPECT_EQ(1, view.CountLines());
	EXPECT_EQ(LineHeightOf(*be_plain_font), view.LineHeight());
	Style style = StyleAt(view, 0);
	EXPECT_EQ(12.0f, style.size);
	EXPECT_EQ(kBlack, style.color);

	view.SetText("Hello\nworld");
	EXPECT_STREQ("Hello\nworld", view.Text());
	EXPECT_EQ(11, view.TextLength());
	EXPECT_EQ('w', view.ByteAt(6));
	EXPECT_EQ(0, view.ByteAt(99));
	EXPECT_EQ(2, view.CountLines());
	EXPECT_EQ(6, view.OffsetAt(1));
	EXPECT_EQ(1, view.LineAt(7));

	// A length takes that many bytes, never more than the string has.
	view.SetText("abcdef", 3);
	EXPECT_STREQ("abc", view.Text());
	view.SetText("ab", 50);
	EXPECT_STREQ("ab", view.Text());
	view.SetText(NULL);
	EXPECT_EQ(0, view.TextLength());
	view.SetText("abc", -4);
	EXPECT_EQ(0, view.TextLength());

	view.MakeEditable(false);
	view.MakeSelectable(false);
	EXPECT_FALSE(view.IsEditable());
	EXPECT_FALSE(view.IsSelectable());

	// The initial font and colour of the second constructor
	BFont big(be_plain_font);
	big.SetSize(20);
	BTextView coloured(BRect(0, 0, 99, 99), "coloured", BRect(0, 0, 99, 99), &big, &kRed,
		B_FOLLOW_NONE, B_WILL_DRAW);
	coloured.SetText("x");
	style = StyleAt(coloured, 0);
	EXPECT_EQ(20.0f, style.size);
	EXPECT_EQ(kRed, style.color);
}


TEST(TextViewTest, StyledRunsKeepTheirFonts)
{
	BTextView view(BRect(0, 0, 299, 99), "text", BRect(0, 0, 299, 99), B_FOLLOW_NONE, 0);
	view.SetStylable(true);
	EXPECT_TRUE(view.IsStylable());
	view.SetText("Hello brave new world");

	BFont bold = BoldFont(18);
	view.SetFontAndColor(0, 5, &bold, B_FONT_ALL, &kRed);
	for (int32 offset : {0, 4}) {
		Style style = StyleAt(view, offset);
		EXPECT_EQ(18.0f, style.size) << offset;
		EXPECT_EQ(B_BOLD_FACE, style.face) << offset;
		EXPECT_EQ(kRed, style.color) << offset;
	}
	for (int32 offset : {5, 6, 20, 500}) {
		Style style = StyleAt(view, offset);
		EXPECT_EQ(12.0f, style.size) << offset;
		EXPECT_EQ(B_REGULAR_FACE, style.face) << offset;
		EXPECT_EQ(kBlack, style.color) << offset;
	}

	// Only the properties the mode names change: the size, not the face.
	BFont large(be_plain_font);
	large.SetSize(24);
	view.SetFontAndColor(12, 21, &large, B_FONT_SIZE);
	Style style = StyleAt(view, 15);
	EXPECT_EQ(24.0f, style.size);
	EXPECT_EQ(B_REGULAR_FACE, style.face);
	EXPECT_EQ(kBlack, style.color);

	// A colour alone over two runs splits them and keeps their fonts.
	view.SetFontAndColor(3, 14, NULL, B_FONT_ALL, &kBlue);
	EXPECT_EQ(kRed, StyleAt(view, 2).color);
	EXPECT_EQ(18.0f, StyleAt(view, 3).size);
	EXPECT_EQ(kBlue, StyleAt(view, 3).color);
	EXPECT_EQ(12.0f, StyleAt(view, 8).size);
	EXPECT_EQ(kBlue, StyleAt(view, 8).color);
	EXPECT_EQ(24.0f, StyleAt(view, 13).size);
	EXPECT_EQ(kBlue, StyleAt(view, 13).color);
	EXPECT_EQ(24.0f, StyleAt(view, 14).size);
	EXPECT_EQ(kBlack, StyleAt(view, 14).color);

	// Offsets out of range are pinned to the text; a reversed range changes nothing.
	view.SetFontAndColor(18, 1000, NULL, 0, &kRed);
	EXPECT_EQ(kRed, StyleAt(view, 20).color);
	EXPECT_EQ(kBlack, StyleAt(view, 17).color);
	view.SetFontAndColor(10, 5, NULL, 0, &kRed);
	EXPECT_EQ(kBlue, StyleAt(view, 7).color);

	// Without styles, the whole text takes the first character's style.
	view.SetStylable(false);
	style = StyleAt(view, 15);
	EXPECT_EQ(18.0f, style.size);
	EXPECT_EQ(B_BOLD_FACE, style.face);
	EXPECT_EQ(kRed, style.color);
}


TEST(TextViewTest, WithoutStylesARangeStylesTheWholeText)
{
	BTextView view(BRect(0, 0, 299, 99), "text", BRect(0, 0, 299, 99), B_FOLLOW_NONE, 0);
	view.SetText("one two three");
	BFont bold = BoldFont(18);
	view.SetFontAndColor(4, 7, &bold, B_FONT_ALL, &kBlue);
	for (int32 offset : {0, 5, 12}) {
		Style style = StyleAt(view, offset);
		EXPECT_EQ(18.0f, style.size) << offset;
		EXPECT_EQ(B_BOLD_FACE, style.face) << offset;
		EXPECT_EQ(kBlue, style.color) << offset;
	}
	// The next text keeps that style, and so does one set on an empty view.
	view.SetText("four");
	EXPECT_EQ(18.0f, StyleAt(view, 2).size);
	view.SetText("");
	view.SetFontAndColor(be_plain_font, B_FONT_ALL, &kRed);
	view.SetText("five");
	EXPECT_EQ(12.0f, StyleAt(view, 0).size);
	EXPECT_EQ(kRed, StyleAt(view, 3).color);

	// Runs given with the text count only in a stylable view.
	text_run_array runs;
	runs.count = 1;
	runs.runs[0].offset = 0;
	runs.runs[0].font = bold;
	runs.runs[0].color = kBlue;
	view.SetText("six", &runs);
	EXPECT_EQ(kRed, StyleAt(view, 0).color);
	view.SetStylable(true);
	view.SetText("seven", &runs);
	EXPECT_EQ(kBlue, StyleAt(view, 0).color);
	EXPECT_EQ(18.0f, StyleAt(view, 4).size);
}


TEST(TextViewTest, WrapsWordsAtTheTextRectangle)
{
	// The fixed font makes every character equally wide.
	float advance = be_fixed_font->StringWidth("a");
	BRect rect(0, 0, floorf(advance * 10.5f), 100);
	BTextView view(BRect(0, 0, 199, 99), "text", rect, be_fixed_font, NULL, B_FOLLOW_NONE, 0);

	// Blanks hang at the end of a line; lines begin with the next word.
	view.SetText("aaaa bbbb cccc dddd eeee");
	ASSERT_EQ(3, view.CountLines());
	EXPECT_EQ(0, view.OffsetAt(0));
	EXPECT_EQ(10, view.OffsetAt(1));
	EXPECT_EQ(20, view.OffsetAt(2));
	EXPECT_EQ(24, view.OffsetAt(3));
	EXPECT_EQ(0, view.LineAt(3));
	EXPECT_EQ(2, view.LineAt(22));

	// A word wider than the rectangle is cut where it reaches the edge.
	view.SetText("abcdefghijklmnopqrstuvwxyz");
	ASSERT_EQ(3, view.CountLines());
	EXPECT_EQ(10, view.OffsetAt(1));
	EXPECT_EQ(20, view.OffsetAt(2));

	// Newlines always end a line; without word wrap only they do.
	view.SetText("aa\nbbbb bbbb bbbb\n\ncc");
	EXPECT_EQ(5, view.CountLines());
	view.SetWordWrap(false);
	EXPECT_FALSE(view.DoesWordWrap());
	EXPECT_EQ(4, view.CountLines());
	EXPECT_EQ(3, view.OffsetAt(1));
	EXPECT_EQ(18, view.OffsetAt(2));
	EXPECT_EQ(19, view.OffsetAt(3));
	view.SetWordWrap(true);

	// A wider rectangle wraps the text again.
	view.SetText("aaaa bbbb cccc dddd eeee");
	view.SetTextRect(BRect(0, 0, floorf(advance * 15.5f), 100));
	EXPECT_EQ(2, view.CountLines());
	EXPECT_EQ(15, view.OffsetAt(1));

	// A rectangle narrower than a character still gets one character a line.
	view.SetTextRect(BRect(0, 0, 1, 100));
	view.SetText("abc");
	EXPECT_EQ(3, view.CountLines());
}


TEST(TextViewTest, WrappingNeverSplitsACharacter)
{
	BTextView view(BRect(0, 0, 199, 99), "text", BRect(0, 0, 40, 100), B_FOLLOW_NONE, 0);
	// Two-, three- and four-byte characters without a blank
	std::string text;
	for (int i = 0; i < 12; i++)
		text += "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80x";
	view.SetText(text.c_str());
	ASSERT_GT(view.CountLines(), 3);
	for (int32 line = 0; line < view.CountLines(); line++) {
		int32 offset = view.OffsetAt(line);
		EXPECT_NE(0x80, view.ByteAt(offset) & 0xc0) << "line " << line;
		EXPECT_LT(offset, view.OffsetAt(line + 1)) << "line " << line;
		EXPECT_LE(view.LineWidth(line), 41.0f) << "line " << line;
	}

	// Broken UTF-8 is laid out byte by byte, without harm.
	view.SetText("\xff\xfe\xe2\x82 \xc3 \x80\x80\x80\x80\x80\x80\x80\x80\x80\xe2");
	EXPECT_GE(view.CountLines(), 1);
	BBitmap bitmap(BRect(0, 0, 99, 99), B_RGBA32, true);
	ASSERT_TRUE(bitmap.Lock());
	bitmap.AddChild(&view);
	view.Draw(view.Bounds());
	bitmap.RemoveChild(&view);
	bitmap.Unlock();
}


TEST(TextViewTest, LargerRunsMakeTallerLinesOnOneBaseline)
{
	BTextView view(BRect(0, 0, 299, 99), "text", BRect(0, 0, 299, 99), B_FOLLOW_NONE, 0);
	view.SetStylable(true);
	view.SetText("HH\nplain");
	float plain = LineHeightOf(*be_plain_font);
	EXPECT_EQ(plain, view.LineHeight(0));
	EXPECT_EQ(plain * 2, view.TextHeight(0, 1));

	BFont big = BoldFont(18);
	view.SetFontAndColor(0, 1, &big);
	float large = LineHeightOf(big);
	ASSERT_GT(large, plain);
	EXPECT_EQ(large, view.LineHeight(0));
	EXPECT_EQ(plain, view.LineHeight(1));
	EXPECT_EQ(large + plain, view.TextHeight(0, 1));
	// Out of range lines are pinned.
	EXPECT_EQ(large + plain, view.TextHeight(-3, 9));
	EXPECT_EQ(plain, view.LineHeight(7));

	// A new text takes the style of the old first character.
	view.SetText("ab\ncd\n");
	EXPECT_EQ(large, view.LineHeight(1));
	view.SetFontAndColor(0, 6, be_plain_font);

	// A closing newline leaves room for one more line.
	EXPECT_EQ(2, view.CountLines());
	EXPECT_EQ(plain * 3, view.TextHeight(0, 1));

	// Drawn, the large H and the small one stand on the same row.
	Canvas canvas(300, 100);
	BTextView* drawn
		= new BTextView(BRect(0, 0, 299, 99), "drawn", BRect(0, 0, 299, 99), B_FOLLOW_NONE, 0);
	canvas.View()->AddChild(drawn);
	drawn->SetStylable(true);
	drawn->SetText("HH");
	drawn->SetFontAndColor(0, 1, &big);
	drawn->Draw(drawn->Bounds());
	float largeWidth = big.StringWidth("H");
	BRect first = InkInColumns(canvas.Bitmap(), 0, (int32)largeWidth - 1, kWhite);
	BRect second = InkInColumns(canvas.Bitmap(), (int32)ceilf(largeWidth) + 1, 60, kWhite);
	ASSERT_TRUE(first.IsValid());
	ASSERT_TRUE(second.IsValid());
	EXPECT_EQ(first.bottom, second.bottom);
	EXPECT_LT(first.top, second.top - 2);
	font_height height;
	big.GetHeight(&height);
	EXPECT_EQ(floorf(height.ascent + 0.5f) - 1, first.bottom);
}


TEST(TextViewTest, TabsMoveToTheNextStop)
{
	BTextView view(BRect(0, 0, 299, 99), "text", BRect(0, 0, 299, 99), B_FOLLOW_NONE, 0);
	view.SetWordWrap(false);
	view.SetText("a\tb");
	float b = be_plain_font->StringWidth("b");
	EXPECT_FLOAT_EQ(28.0f + b, view.LineWidth(0));
	view.SetTabWidth(50);
	EXPECT_FLOAT_EQ(50.0f + b, view.LineWidth(0));
	// A bad width is refused.
	view.SetTabWidth(-1);
	view.SetTabWidth(NAN);
	EXPECT_EQ(50.0f, view.TabWidth());
}
