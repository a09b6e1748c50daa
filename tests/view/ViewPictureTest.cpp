/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ViewPictureSupport.h"


static const char* kPage = "<b>M:</b>a<br>\n"
						   "<b>M:</b>b<br>\n"
						   "<b>O:</b>7<br>\n"
						   "<b>L:</b>Partly cloudy with a chance of rain later<br>\n"
						   "<b>A:</b>1x<br>\n"
						   "<b>B:</b>2y<br>\n"
						   "<b>T:</b>placeholder<br>\n";

static const rgb_color kStandby = {80, 80, 250, 255};
static const rgb_color kNotice = {230, 180, 80, 255};


// The pixel rows of a line's text around its baseline.
static BRect
Row(float baseline, float left = 0, float right = ViewPictureTest::Frame().right)
{
	return BRect(left, baseline - 10, right, baseline + 3);
}


TEST_F(ViewPictureTest, ValuesStackWithCommasAndLongOnesAreCut)
{
	WritePresets(kPage,
		{{"Multi ", "<b>M:</b>", "One ", "<b>O:</b>", "Long ", "<b>L:</b>"}, {"X ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	ASSERT_EQ(view->labelList->CountItems(), 4);
	EXPECT_EQ(Value(view, 1), "a@b");
	EXPECT_EQ(Value(view, 2), "7");
	const std::string longValue = Value(view, 3);

	// The long value is cut with the view's own plain font, not with the bold one it is
	// drawn in; the two cuts differ, so the picture tells which one was used.
	const float maxTextWidth = kWidth + 2 - 25;
	const float labelWidth = view->StringWidth("Long ");
	BString cut(longValue.c_str());
	view->TruncateString(&cut, B_TRUNCATE_END, maxTextWidth - (labelWidth + 42));
	EXPECT_GE(cut.FindFirst("\xe2\x80\xa6"), 1) << cut.String();
	BFont font(be_plain_font);
	font.SetSize(fPrefs->opTextSize);
	BString plainCut(longValue.c_str());
	font.TruncateString(&plainCut, B_TRUNCATE_END, maxTextWidth - (labelWidth + 42));
	EXPECT_STREQ(cut.String(), plainCut.String());
	font = be_bold_font;
	font.SetSize(fPrefs->opTextSize);
	BString boldCut(longValue.c_str());
	font.TruncateString(&boldCut, B_TRUNCATE_END, maxTextWidth - (labelWidth + 42));
	EXPECT_STRNE(cut.String(), boldCut.String());

	// "a" with its label, then "," and "b" on the next row, " 7", the cut value.
	const rgb_color text = fPrefs->opTextColor;
	const float lineHeight = LineHeight();
	Reference reference(Frame(), fPrefs->opTextSize);
	const float y = DrawHead(reference, view);
	EXPECT_EQ(y, 18 + lineHeight + 5);
	const float column = reference.Line("Multi ", "a", y, text);
	reference.Text(",", BPoint(column - 5, y + lineHeight), text);
	reference.Text("b", BPoint(column, y + lineHeight), text);
	reference.Line("One ", " 7", y + 2 * lineHeight, text);
	const float cutColumn = reference.Line("Long ", cut.String(), y + 3 * lineHeight, text);
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
	EXPECT_EQ(view->textY, y + 4 * lineHeight);

	// The same in ink columns: "b" starts where "a" starts (their glyphs' bearings differ by
	// a pixel), the comma's ink lies in the five pixels before them, and the "7" stands a
	// blank to the right of the value column.
	const rgb_color background = fPrefs->opColor;
	const int aInk = FirstInkColumn(view, Row(y, column - 1), background);
	const int bInk = FirstInkColumn(view, Row(y + lineHeight, column - 1), background);
	const int commaInk = FirstInkColumn(view, Row(y + lineHeight), background);
	EXPECT_GE(aInk, column - 1);
	EXPECT_NEAR(bInk, aInk, 1);
	EXPECT_GE(commaInk, column - 5);
	EXPECT_LT(commaInk, column - 1);
	const float sevenColumn = 8 + reference.View()->StringWidth("One ");
	EXPECT_GE(FirstInkColumn(view, Row(y + 2 * lineHeight, sevenColumn + 1), background),
		sevenColumn + view->StringWidth(" ") - 1);
	// Uncut, the value would have run past the picture's right edge.
	EXPECT_GT(cutColumn + reference.View()->StringWidth(longValue.c_str()), kWidth);
}


TEST_F(ViewPictureTest, ARowUpLineSharesThePreviousBaseline)
{
	// The "[ROW_UP]" line finds a value of its own, which the update replaces by a blank.
	WritePresets(kPage,
		{{"A ", "<b>A:</b>", "[ROW_UP]", "<b>A:</b>", "          B ", "<b>B:</b>"},
			{"X ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	ASSERT_EQ(view->labelList->CountItems(), 4);
	EXPECT_EQ(Value(view, 1), "1x");
	EXPECT_EQ(Value(view, 2), " ");
	EXPECT_EQ(Value(view, 3), "2y");

	const float lineHeight = LineHeight();
	const float y = 18 + lineHeight + 5;
	EXPECT_EQ(view->textY, y + lineHeight);

	Reference reference(Frame(), fPrefs->opTextSize);
	DrawHead(reference, view);
	reference.Line("A ", "1x", y, fPrefs->opTextColor);
	const float bColumn = reference.Line("          B ", "2y", y, fPrefs->opTextColor);
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");

	// B's value is inked in A's row, and nothing below it.
	EXPECT_TRUE(HasInk(view, Row(y, bColumn), fPrefs->opColor));
	EXPECT_FALSE(HasInk(view, BRect(0, y + 4, kWidth - 1, kHeight - 1), fPrefs->opColor));
}


TEST_F(ViewPictureTest, ABlockWrapsItsWordsBelowThePen)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>", "[BLOCK]", "<b>T:</b>"}, {"X ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	ASSERT_EQ(view->labelList->CountItems(), 3);
	EXPECT_EQ(Value(view, 2), "placeholder");

	const rgb_color text = fPrefs->opTextColor;
	const rgb_color background = fPrefs->opColor;
	const float lineHeight = LineHeight();
	const float step = fPrefs->opTextSize + 3;
	const float limit = kWidth - 1 - 4;

	// A word that ends the first row as close to the limit as it can: with one "l" more
	// it passes the limit by less than a letter. Both by half a pixel at least, to stay
	// clear of rounding.
	BFont bold(be_bold_font);
	bold.SetSize(fPrefs->opTextSize);
	const float start = 10 + bold.StringWidth("one two three ");
	auto end = [&](const std::string& word) { return start + bold.StringWidth(word.c_str()); };
	std::string fitting;
	for (int t = 0; t < 4; t++) {
		fitting = std::string(t, 't');
		while (end(fitting + "l") <= limit)
			fitting += "l";
		if (end(fitting) <= limit - 0.5f && end(fitting + "l") > limit + 0.5f)
			break;
	}
	ASSERT_LE(end(fitting), limit - 0.5f);
	ASSERT_GT(end(fitting), limit - 4);
	ASSERT_GT(end(fitting + "l"), limit + 0.5f);

	for (const std::string& longWord : {fitting, fitting + "l"}) {
		const bool wrapsEarly = longWord.size() > fitting.size();
		SCOPED_TRACE(wrapsEarly ? "passing word" : "fitting word");
		// A text with a line break tag, redrawn without a fetch.
		const std::string block = "one two<br />three " + longWord + " four five";
		((BString*)view->valueList->ItemAt(2))->SetTo(block.c_str());
		view->fullRedraw = false;
		Update(view, false);
		EXPECT_EQ(Value(view, 2), block);

		// The block starts one step below the pen, which stands at the end of A's value;
		// a word that would pass the view's width less 4 goes to the next row, at x = 10.
		Reference reference(Frame(), fPrefs->opTextSize);
		const float y = DrawHead(reference, view);
		BPoint pen = reference.Text("A ", BPoint(8, y), text);
		pen = reference.Text("1x", pen, text);
		BPoint where(10, pen.y + step);
		std::string firstOnSecondRow;
		for (const std::string& word : {std::string("one"), std::string("two"),
				 std::string("three"), longWord, std::string("four"), std::string("five")}) {
			if (reference.View()->StringWidth(word.c_str()) + where.x > limit) {
				where.Set(10, where.y + step);
				if (firstOnSecondRow.empty())
					firstOnSecondRow = word;
			}
			reference.Text(word.c_str(), where, text);
			where = reference.Text(" ", reference.View()->PenLocation(), text);
		}
		reference.Text(" ...", where, text);
		ASSERT_EQ(firstOnSecondRow, wrapsEarly ? longWord : "four");
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
		EXPECT_EQ(view->textY, y + lineHeight + step + lineHeight);

		// Both rows are inked from x = 10 on, and nothing passes the limit.
		EXPECT_NEAR(FirstInkColumn(view, Row(y + step), background), 10, 1);
		EXPECT_NEAR(FirstInkColumn(view, Row(y + 2 * step), background), 10, 1);
		EXPECT_FALSE(HasInk(view, BRect(limit + 1, y + 1, kWidth - 1, kHeight - 1), background));
	}

	// A block of two bytes, as long as the text that primed the word tokenizer before, is
	// drawn like any other.
	((BString*)view->valueList->ItemAt(2))->SetTo("ok");
	view->fullRedraw = false;
	Update(view, false);
	Reference reference(Frame(), fPrefs->opTextSize);
	const float y = DrawHead(reference, view);
	BPoint pen = reference.Text("A ", BPoint(8, y), text);
	pen = reference.Text("1x", pen, text);
	reference.Text("ok", BPoint(10, pen.y + step), text);
	BPoint where = reference.Text(" ", reference.View()->PenLocation(), text);
	reference.Text(" ...", where, text);
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
	EXPECT_TRUE(HasInk(view, Row(y + step, 10, 30), background));
}


TEST_F(ViewPictureTest, NoticesStandAtTheirRows)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	WView* view = Attach(false, Frame());
	ASSERT_TRUE(fPrefs->wget_avalibel);
	ASSERT_TRUE(fPrefs->pageLoaded);

	const float bottom = kHeight - 1;
	const BRect band(0, kHeight - 50, kWidth - 1, bottom);
	const char* standby = "-= Standby =-";
	auto drawStandby = [&](Reference& reference) {
		float width = reference.View()->StringWidth(standby);
		BPoint where((kWidth - 1 - width) * 0.5f, bottom - 12);
		reference.Text(standby, where + BPoint(2, 1), fPrefs->boxColor);
		reference.Text(standby, where, kStandby);
	};

	{
		// Nothing to report: the band is empty.
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "");
	}
	{
		fPrefs->opUpdateSpeed = 0;
		Update(view);
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		drawStandby(reference);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "") << "standby";
		fPrefs->opUpdateSpeed = 1;
	}
	{
		fPrefs->settWindowOpen = true;
		Update(view);
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		reference.Text(" settings = no auto-update !", BPoint(20, bottom - 5), kNotice);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "") << "settings";
		fPrefs->settWindowOpen = false;
	}
	{
		fPrefs->wget_avalibel = false;
		Update(view);
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		reference.Text(" Missing 'wget' !", BPoint(20, bottom - 22), kNotice);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "") << "wget";
		fPrefs->wget_avalibel = true;
	}
	{
		// A page that cannot be copied.
		unlink(PagePath().c_str());
		Update(view);
		EXPECT_FALSE(fPrefs->pageLoaded);
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		reference.Text(" WGET can't get URL..", BPoint(20, bottom - 5), kNotice);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "") << "page";
	}
	{
		// All at once: the failed page's notice over the settings notice.
		fPrefs->opUpdateSpeed = 0;
		fPrefs->settWindowOpen = true;
		fPrefs->wget_avalibel = false;
		Update(view);
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.Fill(fPrefs->opColor);
		drawStandby(reference);
		reference.Text(" Missing 'wget' !", BPoint(20, bottom - 22), kNotice);
		reference.Text(" settings = no auto-update !", BPoint(20, bottom - 5), kNotice);
		reference.Text(" WGET can't get URL..", BPoint(20, bottom - 5), kNotice);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), band), "") << "all";
	}
}


TEST_F(ViewPictureTest, AResizeRedrawsTheSameLinesAtTheNewSize)
{
	fPrefs->opUpdateSpeed = 0;
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	fPrefs->PresetAtView = 1;
	WView* view = Attach(false, Frame());
	EXPECT_EQ(Value(view, 1), "2y");

	const BRect resized(0, 0, 299, 99);
	fLastOutput = Quiet([&] { view->FrameResized(resized.Width(), resized.Height()); });
	ASSERT_EQ(view->image->Bounds(), resized);
	EXPECT_EQ(fPrefs->PresetAtView, 1);
	EXPECT_EQ(Value(view, 1), "2y");

	// The separator spans the new width and the standby notice is centred in it.
	Reference reference(resized, fPrefs->opTextSize);
	const float y = DrawHead(reference, view);
	reference.Line("B ", "2y", y, fPrefs->opTextColor);
	const char* standby = "-= Standby =-";
	float width = reference.View()->StringWidth(standby);
	BPoint where((resized.right - width) * 0.5f, resized.bottom - 12);
	reference.Text(standby, where + BPoint(2, 1), fPrefs->boxColor);
	reference.Text(standby, where, kStandby);
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), resized), "");
	EXPECT_TRUE(HasInk(
		view, BRect(resized.right - 10, y - 17, resized.right - 5, y - 16), fPrefs->opColor));
}


// The title line's value " \t " is invisible: the layer draws the tab as blank space, not
// as the font's missing-glyph box.
TEST_F(ViewPictureTest, TheTitlesValueIsInvisible)
{
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	EXPECT_EQ(Value(view, 0), " \t ");
	Reference reference(Frame(), fPrefs->opTextSize);
	const float titleEnd = 8 + reference.View()->StringWidth("host0");
	EXPECT_FALSE(HasInk(view, BRect(titleEnd + 1, 4, kWidth - 1, 20), fPrefs->opColor));
}
