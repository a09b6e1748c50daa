/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <thread>
#include <vector>

#include <Bitmap.h>
#include <Font.h>
#include <String.h>
#include <View.h>

#include "DrawTestSupport.h"


static const rgb_color kWhite = {255, 255, 255, 255};
static const char* const kEllipsis = "\xe2\x80\xa6";


TEST(FontTest, SystemFonts)
{
	font_family family;
	font_style style;
	be_plain_font->GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("DejaVu Sans", family);
	EXPECT_EQ(12.0f, be_plain_font->Size());
	EXPECT_EQ(B_REGULAR_FACE, be_plain_font->Face());

	be_bold_font->GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("DejaVu Sans", family);
	EXPECT_STREQ("Bold", style);
	EXPECT_EQ(B_BOLD_FACE, be_bold_font->Face());
	EXPECT_GT(be_bold_font->StringWidth("Hello"), be_plain_font->StringWidth("Hello"));

	be_fixed_font->GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("DejaVu Sans Mono", family);
	EXPECT_TRUE(be_fixed_font->IsFixed());
	EXPECT_FALSE(be_plain_font->IsFixed());
	EXPECT_EQ(be_fixed_font->StringWidth("iii"), be_fixed_font->StringWidth("WWW"));

	// A default font is the plain font.
	BFont font;
	EXPECT_TRUE(font == *be_plain_font);
	font.SetSize(13);
	EXPECT_TRUE(font != *be_plain_font);
	EXPECT_GT(count_font_families(), 0);
}


TEST(FontTest, FamiliesStylesAndFaces)
{
	BFont font(be_plain_font);
	ASSERT_EQ(B_OK, font.SetFamilyAndStyle("DejaVu Sans", "Bold"));
	EXPECT_EQ(B_BOLD_FACE, font.Face());
	EXPECT_EQ(be_bold_font->StringWidth("Webgrazer"), font.StringWidth("Webgrazer"));

	// Faces choose the style of the family.
	BFont faced(be_plain_font);
	faced.SetFace(B_BOLD_FACE);
	font_family family;
	font_style style;
	faced.GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("Bold", style);
	faced.SetFace(B_ITALIC_FACE);
	EXPECT_EQ(B_ITALIC_FACE, faced.Face());
	// The italic style, where the family has one (DejaVu's comes with the extra fonts)
	font_family dejaVu = "DejaVu Sans";
	for (int32 i = 0; i < count_font_styles(dejaVu); i++) {
		font_style name;
		uint16 face = 0;
		ASSERT_EQ(B_OK, get_font_style(dejaVu, i, &name, &face));
		if (face == B_ITALIC_FACE) {
			faced.GetFamilyAndStyle(&family, &style);
			EXPECT_STREQ(name, style);
		}
	}
	faced.SetFace(B_REGULAR_FACE);
	EXPECT_EQ(be_plain_font->StringWidth("Webgrazer"), faced.StringWidth("Webgrazer"));

	// Unknown names leave the font as it was.
	BFont unknown(be_plain_font);
	EXPECT_NE(B_OK, unknown.SetFamilyAndStyle("No Such Family", NULL));
	EXPECT_NE(B_OK, unknown.SetFamilyAndStyle("DejaVu Sans", "No Such Style"));
	EXPECT_TRUE(unknown == *be_plain_font);

	// Sizes stay within reason.
	unknown.SetSize(-4);
	EXPECT_EQ(0.0f, unknown.Size());
	EXPECT_EQ(0.0f, unknown.StringWidth("abc"));
	unknown.SetSize(NAN);
	EXPECT_EQ(0.0f, unknown.Size());
}


TEST(FontTest, StringWidthAndHeight)
{
	BFont font(be_plain_font);
	EXPECT_EQ(0.0f, font.StringWidth(NULL));
	EXPECT_EQ(0.0f, font.StringWidth(""));
	EXPECT_EQ(0.0f, font.StringWidth("abc", 0));

	float hello = font.StringWidth("Hello");
	EXPECT_GT(hello, 20.0f);
	EXPECT_LT(hello, 40.0f);
	// Unrounded: 'i' is not a whole number of pixels wide in DejaVu Sans at 12.
	float i = font.StringWidth("i");
	EXPECT_NE(i, roundf(i));
	// A length counts bytes; it stops at a NUL.
	EXPECT_EQ(font.StringWidth("Hel"), font.StringWidth("Hello", 3));
	EXPECT_EQ(hello, font.StringWidth("Hello", 100));
	// The sum of the characters
	EXPECT_FLOAT_EQ(font.StringWidth("He") + font.StringWidth("llo"), hello);

	font.SetSize(24);
	EXPECT_NEAR(2 * hello, font.StringWidth("Hello"), 1e-3);
	font.SetSize(6);
	EXPECT_LT(font.StringWidth("Hello"), hello);

	font_height height;
	be_plain_font->GetHeight(&height);
	EXPECT_GT(height.ascent, 8.0f);
	EXPECT_LT(height.ascent, 13.0f);
	EXPECT_GT(height.descent, 1.0f);
	EXPECT_LT(height.descent, height.ascent);
	EXPECT_GE(height.leading, 0.0f);

	float escapements[3];
	font.SetSize(12);
	font.GetEscapements("Hel", 3, escapements);
	EXPECT_FLOAT_EQ(font.StringWidth("H") / 12, escapements[0]);
}


TEST(FontTest, TruncateEnd)
{
	BFont font(be_plain_font);
	const char* text = "Hello world";
	float full = font.StringWidth(text);
	float ellipsis = font.StringWidth(kEllipsis);

	// Fits: unchanged, also within the 1/128 slack
	BString string(text);
	font.TruncateString(&string, B_TRUNCATE_END, full);
	EXPECT_STREQ(text, string.String());
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, full - 1.0f / 256);
	EXPECT_STREQ(text, string.String());

	// Cut: trailing characters make room for the ellipsis.
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, font.StringWidth("Hello") + ellipsis);
	EXPECT_STREQ("Hello\xe2\x80\xa6", string.String());
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, font.StringWidth("Hello") + ellipsis - 0.5f);
	EXPECT_STREQ("Hell\xe2\x80\xa6", string.String());

	// Just the ellipsis, then nothing at all
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, ellipsis);
	EXPECT_STREQ(kEllipsis, string.String());
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, ellipsis - 0.5f);
	EXPECT_STREQ("", string.String());
	string = text;
	font.TruncateString(&string, B_TRUNCATE_END, -5);
	EXPECT_STREQ("", string.String());

	font.TruncateString(NULL, B_TRUNCATE_END, 10);
}


TEST(FontTest, TruncationNeverSplitsCharacters)
{
	BFont font(be_plain_font);
	const char* text = "Gr\xc3\xbc\xc3\x9f"
					   "e aus K\xc3\xb6ln \xe2\x82\xac \xf0\x9f\x98\x80!";
	float full = font.StringWidth(text);
	size_t textLength = strlen(text);

	for (uint32 mode : {B_TRUNCATE_END, B_TRUNCATE_BEGINNING, B_TRUNCATE_MIDDLE}) {
		float previous = 0;
		for (float width = 0; width <= full + 1; width += 0.25f) {
			BString string(text);
			font.TruncateString(&string, mode, width);
			const char* result = string.String();
			size_t length = strlen(result);
			float resultWidth = font.StringWidth(result);
			EXPECT_LE(resultWidth, width + 1.0f / 128) << mode << " " << width;
			// More room never gives a shorter result.
			EXPECT_GE(resultWidth, previous) << mode << " " << width;
			previous = resultWidth;
			if (length == 0 || strcmp(result, text) == 0)
				continue;

			// The result is pieces of the text around one ellipsis, cut between characters.
			const char* mark = strstr(result, kEllipsis);
			ASSERT_NE(nullptr, mark) << result;
			size_t head = mark - result;
			size_t tail = length - head - 3;
			EXPECT_EQ(0, strncmp(result, text, head));
			EXPECT_EQ(0, strcmp(mark + 3, text + textLength - tail));
			EXPECT_NE(0x80, (uint8)text[head] & 0xc0) << mode << " " << result;
			EXPECT_NE(0x80, (uint8)text[textLength - tail] & 0xc0) << mode << " " << result;
			if (mode == B_TRUNCATE_END) {
				EXPECT_EQ(0u, tail);
			} else if (mode == B_TRUNCATE_BEGINNING) {
				EXPECT_EQ(0u, head);
			}
		}
	}

	// Broken UTF-8 is measured and cut without reading past its end.
	BString broken("ab\xe2\x82");
	font.TruncateString(&broken, B_TRUNCATE_END, font.StringWidth("a") + 0.1f);
	EXPECT_TRUE(broken.Length() <= 4);
}


TEST(TextTest, DrawStringInksTheExpectedBox)
{
	Canvas canvas(120, 40);
	BView* view = canvas.View();
	const BPoint start(10, 25);
	view->DrawString("Hello", start);

	float width = view->StringWidth("Hello");
	// The pen moves by the width, exactly, on the same baseline.
	EXPECT_EQ(BPoint(start.x + width, start.y), view->PenLocation());

	font_height height;
	view->GetFontHeight(&height);
	BRect ink = InkBounds(canvas.Bitmap(), kWhite);
	ASSERT_TRUE(ink.IsValid());
	EXPECT_GE(ink.left, start.x);
	EXPECT_LE(ink.left, start.x + 2);
	// The rightmost inked pixel lies within the advance.
	EXPECT_LT(ink.right, start.x + width);
	EXPECT_GT(ink.right, start.x + width - 3);
	// Letters without descenders end on the row above the baseline.
	EXPECT_EQ(start.y - 1, ink.bottom);
	EXPECT_GE(ink.top, start.y - ceilf(height.ascent));
	EXPECT_LE(ink.top, start.y - 7);

	// Anti-aliased: the darkest pixels are nearly the high colour, others lie between it
	// and the background.
	int darkest = 255;
	bool between = false;
	for (int32 y = (int32)ink.top; y <= ink.bottom; y++) {
		for (int32 x = (int32)ink.left; x <= ink.right; x++) {
			rgb_color color = canvas.At(x, y);
			EXPECT_TRUE(color.red == color.green && color.green == color.blue);
			darkest = color.red < darkest ? color.red : darkest;
			between = between || (color.red > 100 && color.red < 200);
		}
	}
	EXPECT_LT(darkest, 40);
	EXPECT_TRUE(between);

	// Descenders go below the baseline, within the descent.
	Canvas low(60, 40);
	low.View()->DrawString("gjp", BPoint(5, 20));
	BRect descent = InkBounds(low.Bitmap(), kWhite);
	EXPECT_GT(descent.bottom, 20);
	EXPECT_LE(descent.bottom, 20 + ceilf(height.descent));
}


TEST(TextTest, PenAndSize)
{
	Canvas canvas(300, 60);
	BView* view = canvas.View();
	view->MovePenTo(5, 20);
	view->DrawString("Hel");
	view->DrawString("lo", 2);
	EXPECT_EQ(5 + view->StringWidth("Hel") + view->StringWidth("lo"), view->PenLocation().x);
	EXPECT_EQ(20, view->PenLocation().y);

	// A view that is not attached neither draws nor moves its pen.
	BView loose(BRect(0, 0, 9, 9), "loose", B_FOLLOW_NONE, 0);
	loose.MovePenTo(1, 1);
	loose.DrawString("abc");
	EXPECT_EQ(BPoint(1, 1), loose.PenLocation());

	// A larger size makes a wider, taller picture of the same text.
	Canvas small(300, 60);
	small.View()->DrawString("Webgrazer", BPoint(5, 40));
	Canvas large(300, 60);
	large.View()->SetFontSize(24);
	large.View()->DrawString("Webgrazer", BPoint(5, 40));
	BRect smallInk = InkBounds(small.Bitmap(), kWhite);
	BRect largeInk = InkBounds(large.Bitmap(), kWhite);
	EXPECT_GT(largeInk.Width(), 1.8f * smallInk.Width());
	EXPECT_GT(largeInk.Height(), 1.5f * smallInk.Height());
	EXPECT_LT(largeInk.right, 5 + large.View()->StringWidth("Webgrazer"));

	// The view's font decides its measurements.
	BFont font;
	large.View()->GetFont(&font);
	EXPECT_EQ(24.0f, font.Size());
	EXPECT_EQ(font.StringWidth("abc"), large.View()->StringWidth("abc"));
	BString string("Webgrazer");
	large.View()->TruncateString(&string, B_TRUNCATE_END, small.View()->StringWidth("Webgrazer"));
	EXPECT_LT(string.Length(), 9 + 3);
	EXPECT_NE(string, "Webgrazer");

	// Only the masked properties of a font are taken.
	BFont bold(be_bold_font);
	bold.SetSize(30);
	view->SetFont(&bold, B_FONT_SIZE);
	view->GetFont(&font);
	EXPECT_EQ(30.0f, font.Size());
	EXPECT_EQ(B_REGULAR_FACE, font.Face());
	view->SetFont(&bold, B_FONT_FAMILY_AND_STYLE);
	view->GetFont(&font);
	EXPECT_EQ(B_BOLD_FACE, font.Face());
}


TEST(TextTest, TextAndDrawingModes)
{
	// With solid patterns COPY and OVER draw text the same way: glyphs blended onto what
	// is there.
	Canvas copy(80, 30, B_RGBA32, make_color(40, 120, 200));
	copy.View()->SetHighColor(255, 255, 0);
	copy.View()->DrawString("Abc", BPoint(4, 20));
	Canvas over(80, 30, B_RGBA32, make_color(40, 120, 200));
	over.View()->SetHighColor(255, 255, 0);
	over.View()->SetDrawingMode(B_OP_OVER);
	over.View()->DrawString("Abc", BPoint(4, 20));
	EXPECT_EQ(0, memcmp(copy.Bitmap()->Bits(), over.Bitmap()->Bits(), copy.Bitmap()->BitsLength()));

	// MIN: white text on black changes nothing; black text on white does.
	Canvas dark(80, 30, B_RGBA32, make_color(0, 0, 0));
	dark.View()->SetHighColor(255, 255, 255);
	dark.View()->SetDrawingMode(B_OP_MIN);
	dark.View()->DrawString("Abc", BPoint(4, 20));
	EXPECT_FALSE(InkBounds(dark.Bitmap(), make_color(0, 0, 0)).IsValid());
	Canvas light(80, 30);
	light.View()->SetDrawingMode(B_OP_MIN);
	light.View()->DrawString("Abc", BPoint(4, 20));
	EXPECT_TRUE(InkBounds(light.Bitmap(), kWhite).IsValid());

	// On a transparent bitmap the glyphs' edges are partly transparent.
	Canvas clear(80, 30, B_RGBA32, make_color(0, 0, 0, 0));
	clear.View()->DrawString("Abc", BPoint(4, 20));
	bool opaque = false;
	bool partial = false;
	for (int32 y = 0; y < 30; y++) {
		for (int32 x = 0; x < 80; x++) {
			uint8 alpha = clear.At(x, y).alpha;
			opaque = opaque || alpha == 255;
			partial = partial || (alpha > 0 && alpha < 255);
		}
	}
	EXPECT_TRUE(opaque);
	EXPECT_TRUE(partial);
}


TEST(TextTest, ThreadsDrawTheSameText)
{
	// Fonts and glyphs are shared by every thread that draws.
	const int kThreads = 4;
	const char* text = "Webgrazer 0123456789 \xc3\x84\xc3\xb6\xc3\xbc";
	Canvas reference(200, 30);
	reference.View()->DrawString(text, BPoint(3, 20));

	std::vector<Canvas*> canvases;
	for (int i = 0; i < kThreads; i++)
		canvases.push_back(new Canvas(200, 30));
	std::vector<std::thread> threads;
	for (int i = 0; i < kThreads; i++) {
		threads.emplace_back([&canvases, i, text]() {
			BView* view = canvases[i]->View();
			for (int size = 8; size < 40; size++) {
				view->SetFontSize(size);
				view->StringWidth(text);
			}
			view->SetFontSize(12);
			view->DrawString(text, BPoint(3, 20));
		});
	}
	for (std::thread& thread : threads)
		thread.join();

	for (Canvas* canvas : canvases) {
		EXPECT_EQ(0,
			memcmp(reference.Bitmap()->Bits(), canvas->Bitmap()->Bits(),
				reference.Bitmap()->BitsLength()));
		delete canvas;
	}
}


TEST(TextControlCharacters, ATabDrawsAsBlankSpace)
{
	BFont font(be_bold_font);
	font.SetSize(11);
	EXPECT_FLOAT_EQ(font.StringWidth("\t"), font.StringWidth(" "));

	BBitmap bitmap(BRect(0, 0, 39, 19), B_RGBA32, true);
	BView* view = new BView(bitmap.Bounds(), "text", B_FOLLOW_ALL_SIDES, 0);
	bitmap.Lock();
	bitmap.AddChild(view);
	view->SetHighColor(255, 255, 255);
	view->FillRect(view->Bounds());
	view->SetHighColor(0, 0, 0);
	view->SetFont(&font);
	view->DrawString(" \t ", BPoint(2, 14));
	view->Sync();
	const uint8* bits = (const uint8*)bitmap.Bits();
	for (int32 y = 0; y < 20; y++) {
		for (int32 x = 0; x < 40; x++)
			ASSERT_EQ(bits[y * bitmap.BytesPerRow() + x * 4], 255) << x << "," << y;
	}
	bitmap.Unlock();
}
