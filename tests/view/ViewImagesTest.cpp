/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ViewPictureSupport.h"

#include <memory>

#include <sys/xattr.h>

#include "wg_Tools.h"


static const char* kPage = "<b>I:</b>red.png@blue.png<br>\n"
						   "<b>N:</b>next<br>\n"
						   "<b>G:</b>gone.png<br>\n"
						   "<b>S:</b>Chance Light Rain<br>\n"
						   "<b>R:</b>Slight Chance Rain<br>\n"
						   "<b>U:</b>Sunny<br>\n"
						   "<b>C:</b>A Chance<br>\n"
						   "<b>W:</b>rain.png<br>\n"
						   "<b>A:</b>1x<br>\n"
						   "<b>O:</b>../outside.png<br>\n";

static const rgb_color kRed = {255, 0, 0, 255};
static const rgb_color kBlue = {0, 0, 255, 255};
static const rgb_color kGreen = {0, 160, 0, 255};
static const rgb_color kMissing = {230, 80, 80, 255};
static const rgb_color kFrameOnPicture = {230, 230, 230, 255};
static const rgb_color kFramePlain = {20, 20, 20, 255};

// The quarters of a 2 x 2 wallpaper, and two plain backgrounds.
static const rgb_color kTopLeft = {200, 40, 40, 255};
static const rgb_color kTopRight = {40, 200, 40, 255};
static const rgb_color kBottomLeft = {40, 40, 200, 255};
static const rgb_color kBottomRight = {200, 200, 40, 255};
static const rgb_color kSky = {120, 180, 240, 255};
static const rgb_color kRain = {120, 60, 160, 255};
static const rgb_color kNight = {10, 10, 10, 255};


typedef std::unique_ptr<BBitmap> Picture;


static bool
IsPixel(const BBitmap* bitmap, int x, int y, rgb_color color)
{
	rgb_color pixel = PixelOf(bitmap, x, y);
	return SameRGB(pixel, color) && pixel.alpha == color.alpha;
}


class ViewImagesTest : public ViewPictureTest {
protected:
	Picture
	Load(const std::string& name)
	{
		return Picture(GetImage(ImagePath(name).c_str()));
	}

	void
	WriteWallpaper()
	{
		WritePicture("_wallpaper.png", 2, 2, [](int x, int y) {
			return y == 0 ? (x == 0 ? kTopLeft : kTopRight) : (x == 0 ? kBottomLeft : kBottomRight);
		});
	}
};


TEST_F(ViewImagesTest, ImagesOfALineStandSideBySideAndRaiseItOnce)
{
	WriteSolidPicture("red.png", 10, 8, kRed);
	WriteSolidPicture("blue.png", 6, 12, kBlue);
	// A page's value that names a picture outside the picture folder.
	WriteSolidPicture("../outside.png", 4, 4, kGreen);
	WritePresets(kPage,
		{{"Pics ", "<b>I:</b>", "Next ", "<b>N:</b>", "Gone ", "<b>G:</b>", "Out ", "<b>O:</b>"},
			{"X ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	ASSERT_EQ(view->labelList->CountItems(), 5);
	EXPECT_EQ(Value(view, 1), "red.png@blue.png");
	EXPECT_EQ(Value(view, 4), "../outside.png");

	// The label 10 pixels below the line's baseline, the pictures after it, centred on a
	// row 5 pixels above the label's baseline; the line is raised by half the first
	// picture's height (bounds 7) and 15, once. The missing picture's label is red.
	const float lineHeight = LineHeight();
	Picture red = Load("red.png");
	Picture blue = Load("blue.png");
	ASSERT_TRUE(red != nullptr && blue != nullptr);
	Reference reference(Frame(), fPrefs->opTextSize);
	float y = DrawHead(reference, view);
	BPoint pen = reference.Text("Pics ", BPoint(8, y + 10), fPrefs->opTextColor);
	reference.View()->DrawBitmap(red.get(), BPoint(pen.x + 3, pen.y - 7 * 0.5f - 5));
	reference.View()->DrawBitmap(blue.get(), BPoint(pen.x + 3 + 9 + 6, pen.y - 11 * 0.5f - 5));
	y += 7 * 0.5f + 15;
	reference.Line("Next ", "next", y, fPrefs->opTextColor);
	y += lineHeight;
	reference.Text("Gone ", BPoint(8, y + 10), kMissing);
	y += lineHeight;
	// The picture outside is neither drawn nor stamped with a comment.
	reference.Text("Out ", BPoint(8, y + 10), kMissing);
	y += lineHeight;
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
	EXPECT_EQ(view->textY, y);
	char comment[64];
	EXPECT_LT(getxattr(ImagePath("../outside.png").c_str(), "user.Media:Comment", comment,
				  sizeof(comment)),
		0);
	EXPECT_FALSE(ColorBox(view->image, kGreen).IsValid());

	// The same in numbers: each picture at its own size, the second 6 pixels after the
	// first, both centred on the same row.
	BRect redBox = ColorBox(view->image, kRed);
	BRect blueBox = ColorBox(view->image, kBlue);
	ASSERT_TRUE(redBox.IsValid() && blueBox.IsValid());
	EXPECT_EQ(redBox.Width(), 9);
	EXPECT_EQ(redBox.Height(), 7);
	EXPECT_EQ(blueBox.Width(), 5);
	EXPECT_EQ(blueBox.Height(), 11);
	EXPECT_NEAR(redBox.left, pen.x + 3, 1);
	EXPECT_NEAR(redBox.top, pen.y - 8.5f, 1);
	EXPECT_EQ(blueBox.left - redBox.left, 15);
	EXPECT_EQ(redBox.top - blueBox.top, 2);
	EXPECT_TRUE(HasColorIn(view->image, BRect(8, y - 20, 40, y - 5), kMissing));
}


TEST_F(ViewImagesTest, AddPngTurnsValuesIntoImageNamesThatStay)
{
	WriteSolidPicture("ChanceRain.png", 8, 8, kGreen);
	WritePresets(kPage,
		{{"[ADD_PNG]Sky ", "<b>S:</b>", "[ADD_PNG]Rain ", "<b>R:</b>", "Sun[ADD_PNG] ", "<b>U:</b>",
			 "[ADD_PNG]", "<b>C:</b>"},
			{"X ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	ASSERT_EQ(view->labelList->CountItems(), 5);

	auto expectLists = [&](const char* when) {
		const char* labels[] = {"Sky ", "Rain ", "Sun ", ""};
		const char* values[] = {"ChanceLightRain.png", "ChanceRain.png", "Sunny.png", "Chance.png"};
		for (int i = 0; i < 4; i++) {
			EXPECT_STREQ(((BString*)view->labelList->ItemAt(i + 1))->String(), labels[i]) << when;
			EXPECT_EQ(Value(view, i + 1), values[i]) << when;
		}
	};
	expectLists("after the update");

	// Only "ChanceRain.png" exists: the other lines show their labels in red.
	const float lineHeight = LineHeight();
	Picture green = Load("ChanceRain.png");
	ASSERT_TRUE(green != nullptr);
	Reference reference(Frame(), fPrefs->opTextSize);
	float y = DrawHead(reference, view);
	reference.Text("Sky ", BPoint(8, y + 10), kMissing);
	y += lineHeight;
	BPoint pen = reference.Text("Rain ", BPoint(8, y + 10), fPrefs->opTextColor);
	reference.View()->DrawBitmap(green.get(), BPoint(pen.x + 3, pen.y - 7 * 0.5f - 5));
	y += 7 * 0.5f + 15;
	reference.Text("Sun ", BPoint(8, y + 10), kMissing);
	// The last line's label is empty now: nothing to see of it.
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
	EXPECT_EQ(ColorBox(view->image, kGreen).Width(), 7);

	// A redraw finds the changed lists and leaves them alone.
	Quiet([&] { view->ResizeImage(); });
	expectLists("after a redraw");
	EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "");
}


TEST_F(ViewImagesTest, BackgroundPicturesFillTheView)
{
	WriteWallpaper();
	WriteSolidPicture("sky.png", 2, 2, kSky);
	WriteSolidPicture("bg_rain.png", 2, 2, kRain);
	WriteSolidPicture("night.png", 2, 2, kNight);
	WritePresets(kPage,
		{{"A ", "<b>A:</b>"}, {"[BG_IMAGE]", "sky.png", "A ", "<b>A:</b>"},
			{"[BGF]", "<b>W:</b>", "A ", "<b>A:</b>"},
			{"[BG_IMAGE]", "night.png", "A ", "<b>A:</b>"}});
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, Frame());
	const BBitmap* image = view->image;

	// The wallpaper's four pixels are scaled to the four quarters of the view; in the main
	// window there is neither frame nor cut corner.
	const int right = (int)kWidth - 1;
	const int bottom = (int)kHeight - 1;
	EXPECT_TRUE(IsPixel(image, 0, 0, kTopLeft));
	EXPECT_TRUE(IsPixel(image, right, 0, kTopRight));
	EXPECT_TRUE(IsPixel(image, 0, bottom, kBottomLeft));
	EXPECT_TRUE(IsPixel(image, right, bottom, kBottomRight));
	EXPECT_TRUE(IsPixel(image, right / 2 - 2, bottom, kBottomLeft));
	EXPECT_TRUE(IsPixel(image, right / 2 + 2, bottom, kBottomRight));
	EXPECT_TRUE(IsPixel(image, right, bottom / 2 - 2, kTopRight));
	EXPECT_TRUE(IsPixel(image, right, bottom / 2 + 2, kBottomRight));
	EXPECT_TRUE(IsPixel(image, 0, bottom / 2 + 2, kBottomLeft));
	Picture wallpaper = Load("_wallpaper.png");
	ASSERT_TRUE(wallpaper != nullptr);
	{
		Reference reference(Frame(), fPrefs->opTextSize);
		float y = DrawHead(reference, view, wallpaper.get());
		reference.Line("A ", "1x", y, fPrefs->opTextColor);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "") << "wallpaper";
	}

	// A preset whose first line is "[BG_IMAGE]" names its own picture; the line itself is
	// not drawn.
	Update(view);
	ASSERT_EQ(fPrefs->PresetAtView, 1);
	Picture sky = Load("sky.png");
	ASSERT_TRUE(sky != nullptr);
	{
		Reference reference(Frame(), fPrefs->opTextSize);
		float y = DrawHead(reference, view, sky.get());
		reference.Line("A ", "1x", y, fPrefs->opTextColor);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "") << "[BG_IMAGE]";
	}

	// A redraw starts from the title line, so it shows the wallpaper again.
	Quiet([&] { view->ResizeImage(); });
	image = view->image;
	EXPECT_TRUE(IsPixel(image, 0, 0, kTopLeft));
	EXPECT_TRUE(IsPixel(image, right, bottom, kBottomRight));

	// A "[BGF" line draws "bg_" + its value over the wallpaper, below the lines.
	Update(view);
	ASSERT_EQ(fPrefs->PresetAtView, 2);
	EXPECT_EQ(Value(view, 1), "rain.png");
	Picture rain = Load("bg_rain.png");
	ASSERT_TRUE(rain != nullptr);
	{
		Reference reference(Frame(), fPrefs->opTextSize);
		reference.View()->DrawBitmap(wallpaper.get(), wallpaper->Bounds(), Frame());
		float y = DrawHead(reference, view, rain.get());
		reference.Line("A ", "1x", y, fPrefs->opTextColor);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "") << "[BGF]";
	}
	image = view->image;
	EXPECT_TRUE(IsPixel(image, 0, 0, kRain));
	EXPECT_TRUE(IsPixel(image, right, bottom, kRain));

	// The separator only darkens: over a picture darker than the text it leaves no trace.
	Update(view);
	ASSERT_EQ(fPrefs->PresetAtView, 3);
	Picture night = Load("night.png");
	ASSERT_TRUE(night != nullptr);
	{
		Reference reference(Frame(), fPrefs->opTextSize);
		float y = DrawHead(reference, view, night.get());
		reference.Line("A ", "1x", y, fPrefs->opTextColor);
		EXPECT_EQ(Differences(view->image, reference.Bitmap(), Frame()), "") << "night";
	}
	const float separator = 18 + LineHeight() - 12;
	EXPECT_TRUE(IsPixel(view->image, 100, (int)separator, kNight));
	EXPECT_TRUE(IsPixel(view->image, 100, (int)separator + 1, kNight));
}


TEST_F(ViewImagesTest, OnAShelfThePictureGetsAFrameAndThreeCutCorners)
{
	WriteWallpaper();
	WritePresets(kPage, {{"A ", "<b>A:</b>"}, {"B ", "<b>B:</b>"}});
	ASSERT_EQ(fPrefs->opNoneWallpaperStyle, 1);
	WView* view = Attach(true, Frame());
	ASSERT_NE(view->Parent(), nullptr);

	const int right = (int)kWidth - 1;
	const int bottom = (int)kHeight - 1;
	// Pixels of the cut rectangles that the rounded frame's stroke (radius 10.5, pen 2 on
	// the picture's edge) leaves alone.
	const BPoint cut[] = {BPoint(0, 0), BPoint(1, 0), BPoint(2, 0), BPoint(3, 0), BPoint(0, 1),
		BPoint(1, 1), BPoint(0, 2), BPoint(0, 3)};
	auto expectCorners = [&](bool cutCorners, const char* when) {
		const BBitmap* image = view->image;
		for (const BPoint& p : cut) {
			int x = (int)p.x;
			int y = (int)p.y;
			EXPECT_EQ(PixelOf(image, x, y).alpha == 0, cutCorners)
				<< when << " top left " << x << "," << y;
			EXPECT_EQ(PixelOf(image, right - x, y).alpha == 0, cutCorners)
				<< when << " top right " << x << "," << y;
			EXPECT_EQ(PixelOf(image, x, bottom - y).alpha == 0, cutCorners)
				<< when << " bottom left " << x << "," << y;
			EXPECT_EQ(PixelOf(image, right - x, bottom - y).alpha, 255)
				<< when << " bottom right " << x << "," << y;
		}
	};

	// Rounded frame: three corners cut, the bottom right one kept; the frame in light grey
	// on every side.
	expectCorners(true, "rounded");
	const BBitmap* image = view->image;

	EXPECT_TRUE(IsPixel(image, right, bottom, kBottomRight));
	EXPECT_TRUE(HasColorIn(image, BRect(0, 60, 1, 90), kFrameOnPicture));
	EXPECT_TRUE(HasColorIn(image, BRect(right - 1, 60, right, 90), kFrameOnPicture));
	EXPECT_TRUE(HasColorIn(image, BRect(80, 0, 120, 1), kFrameOnPicture));
	EXPECT_TRUE(HasColorIn(image, BRect(80, bottom - 1, 120, bottom), kFrameOnPicture));
	EXPECT_TRUE(IsPixel(image, 4, 75, kBottomLeft));

	// Square frame: one pixel wide, no corner cut.
	fPrefs->opNoneWallpaperStyle = 0;
	Update(view);
	expectCorners(false, "square");
	image = view->image;
	for (BPoint p : {BPoint(0, 0), BPoint(right, 0), BPoint(0, bottom), BPoint(right, bottom),
			 BPoint(0, 75), BPoint(100, bottom)}) {
		EXPECT_TRUE(IsPixel(image, (int)p.x, (int)p.y, kFrameOnPicture)) << p.x << "," << p.y;
	}
	EXPECT_TRUE(IsPixel(image, 1, 1, kTopLeft));
	EXPECT_TRUE(IsPixel(image, 1, 75, kBottomLeft));

	// Without a picture the view is transparent where nothing is drawn, and the frame dark.
	unlink(ImagePath("_wallpaper.png").c_str());
	Update(view);
	image = view->image;
	EXPECT_TRUE(IsPixel(image, 0, 0, kFramePlain));
	EXPECT_TRUE(IsPixel(image, 0, 75, kFramePlain));
	EXPECT_EQ(PixelOf(image, 1, 1).alpha, 0);
	EXPECT_EQ(PixelOf(image, 150, 120).alpha, 0);
	EXPECT_GE(InkRows(image, 2, right - 2, 8, 20), 6);

	fPrefs->opNoneWallpaperStyle = 1;
	Update(view);
	image = view->image;
	EXPECT_EQ(PixelOf(image, 0, 0).alpha, 0);
	EXPECT_TRUE(HasColorIn(image, BRect(0, 60, 1, 90), kFramePlain));
	EXPECT_EQ(PixelOf(image, 150, 120).alpha, 0);
}


// A page with something for every pattern of the five built-in presets.
static const char* kSamplePage
	= "<html><head><title>Sample</title>\n"
	  "<meta property=\"og:image\" content=\"http://eurokurse.example/images/web/euro.png\">\n"
	  "</head><body>\n"
	  "<p>Vorhersage f\xc3\xbcr Montag, 5. Oktober<br>\n"
	  "<img src=\"images/karten-symbole/sonne.png\" alt=\"sonnig\" title=\"sonnig\">\n"
	  "<b>Temp.:</b> 12&deg;<br>\n"
	  "<b>Regen:</b> 20 %<br>\n"
	  "<b>Wind:</b> NW 3 Bft<br>\n"
	  "<a href=\"/usd\">EUR USD</a><br />1,0842<br>\n"
	  "<a href=\"/chf\">EUR CHF</a><br />0,9371<br>\n"
	  "<a href=\"/gbp\">EUR GBP</a><br />0,8412<br>\n"
	  "<a href=\"/jpy\">EUR JPY</a><br />162,35<br>\n"
	  "<a href=\"/rub\">EUR RUB</a><br />98,50<br>\n"
	  "<script>\n"
	  "document.getElementById('hpwtmin').innerHTML = \"4\";\n"
	  "document.getElementById('hpwtmax').innerHTML = \"15\";\n"
	  "document.getElementById('hpwrain').innerHTML = \"30 %\";\n"
	  "document.getElementById('hpwFF').innerHTML = \"3\";\n"
	  "</script>\n"
	  "<img src=\"/dienste/icons/wind/nw.gif\">\n"
	  "<img src=\"/dienste/icons/106/wolke.png\">\n"
	  "<p>Ziehung vom Samstag<br>(04.10.2026)<br>\n"
	  "<img src=\"../grafik/3.png\">\n"
	  "<img src=\"../grafik/11.png\">\n"
	  "<img src=\"../grafik/19.png\">\n"
	  "<img src=\"../grafik/24.png\">\n"
	  "<img src=\"../grafik/38.png\">\n"
	  "<img src=\"../grafik/42.png\">\n"
	  "Zusatzzahl 27<br>\n"
	  "sZ: <b>5</b><br>\n"
	  "spiel77: <b>1234567</b><br>\n"
	  "super6: <b>654321</b><br>\n"
	  "<h2>Unser Programm vom 02.10. bis 08.10.2026</h2>\n"
	  "<td class=\"ftabfilmtitel\">Der lange Weg</td>\n"
	  "<td class=\"ftabfilmtitel\">Sommer am See</td>\n"
	  "<td class=\"ftabfilmtitel\">Die Maschine</td>\n"
	  "</body></html>\n";

static const rgb_color kSun = {255, 200, 0, 255};
static const rgb_color kCoin = {212, 175, 55, 255};
static const rgb_color kCloud = {170, 175, 190, 255};
static const rgb_color kArrow = {40, 60, 140, 255};
static const rgb_color kBall = {250, 220, 60, 255};


static std::string
ValueOf(WView* view, const char* label)
{
	for (int32 i = 0; i < view->labelList->CountItems(); i++) {
		if (*(BString*)view->labelList->ItemAt(i) == label)
			return ((BString*)view->valueList->ItemAt(i))->String();
	}
	return "<no line>";
}


TEST_F(ViewImagesTest, TheBuiltInPresetsDrawFromASamplePage)
{
	// The pictures the sample page names, and preset A's background.
	WritePicture("kirchemuehle.jpg", 1, 16,
		[](int, int y) { return make_color(150 + y * 5, 190 + y * 3, 235 + y / 2, 255); });
	DrawPicture("sonne.png", 24, 24, [](BView* v) {
		v->SetHighColor(kSun);
		v->FillEllipse(BRect(4, 4, 19, 19));
		v->SetHighColor(230, 120, 0);
		v->StrokeEllipse(BRect(4, 4, 19, 19));
	});
	DrawPicture("wolke.png", 24, 24, [](BView* v) {
		v->SetHighColor(kCloud);
		v->FillEllipse(BRect(2, 9, 13, 20));
		v->FillEllipse(BRect(7, 4, 20, 17));
		v->FillRect(BRect(7, 14, 21, 20));
	});
	DrawPicture("nw.gif", 16, 16, [](BView* v) {
		v->SetHighColor(kArrow);
		v->FillTriangle(BPoint(1, 1), BPoint(11, 2), BPoint(2, 11));
		v->SetPenSize(3);
		v->StrokeLine(BPoint(5, 5), BPoint(14, 14));
	});
	DrawPicture("euro.png", 20, 20, [](BView* v) {
		v->SetHighColor(kCoin);
		v->FillEllipse(v->Bounds());
		v->SetHighColor(90, 60, 0);
		v->SetFontSize(13);
		v->DrawString("\xe2\x82\xac", BPoint(5, 15));
	});
	for (const char* number : {"3", "11", "19", "24", "38", "42"}) {
		DrawPicture(std::string(number) + ".png", 18, 18, [&](BView* v) {
			v->SetHighColor(kBall);
			v->FillEllipse(v->Bounds());
			v->SetHighColor(60, 40, 0);
			v->SetFontSize(10);
			v->DrawString(number, BPoint(9 - v->StringWidth(number) / 2, 13));
		});
	}

	// The five built-in presets, each reading the sample page.
	ASSERT_STREQ(fPrefs->PathToApp.Path(), fEnv.AppFolder().c_str());
	WriteFile(PagePath(), kSamplePage);
	Quiet([] { SaveDefaultPresets(); });
	std::string presets = ReadFile(fEnv.AppFolder() + "/Presets.txt");
	const char** tables[]
		= {DefaultPresetA, DefaultPresetB, DefaultPresetC, DefaultPresetD, DefaultPresetE};
	for (const char** table : tables) {
		std::string line = std::string("$") + table[0] + "$\t$" + table[1] + "$";
		size_t at = presets.find(line);
		ASSERT_NE(at, std::string::npos) << table[0];
		presets.replace(at, line.size(), std::string("$") + table[0] + "$\t$" + PagePath() + "$");
	}
	WriteFile(fEnv.AppFolder() + "/Presets.txt", presets);
	Quiet([&] { fPrefs->GetPresets(); });
	ASSERT_EQ(fPrefs->presetList->CountItems(), 5);

	mkdir(WG_TEST_OUTPUT, 0755);
	const BRect frame(0, 0, 259, 179);
	fPrefs->PresetAtView = 0;
	WView* view = Attach(false, frame);

	struct Expected {
		const char* label;
		const char* value;
		rgb_color picture;
	} expected[] = {
		{"   Temp. :", " 12\xc2\xb0 C", kSun},
		{"        US Dollar : ", "1,0842", kCoin},
		{" Bft.  Wind:    ", "3", kArrow},
		{" Die Ziehung vom :  ", "04.10.2026", kBall},
		{" Titel: ", "Der lange Weg@Sommer am See@Die Maschine", kFramePlain},
	};
	for (int i = 0; i < 5; i++) {
		const char letter = 'A' + i;
		SCOPED_TRACE(std::string("preset ") + letter);
		if (i > 0)
			Update(view);
		ASSERT_EQ(fPrefs->PresetAtView, i);
		ASSERT_TRUE(fPrefs->pageLoaded);
		const BBitmap* image = view->image;
		std::string path = std::string(WG_TEST_OUTPUT "/preset-") + letter + ".png";
		EXPECT_EQ(BPrivate::save_bitmap_as_png(image, path.c_str()), B_OK);

		EXPECT_STREQ(((BString*)view->labelList->ItemAt(0))->String(), tables[i][0]);
		EXPECT_EQ(ValueOf(view, expected[i].label), expected[i].value);
		if (letter != 'E') {
			EXPECT_TRUE(HasColorIn(image, image->Bounds(), expected[i].picture));
		}
		if (letter == 'A') {
			// Its own background, lighter downwards, with the lines' shadows.
			EXPECT_TRUE(IsPixel(image, 1, 1, make_color(150, 190, 235, 255)));
			EXPECT_TRUE(IsPixel(image, 1, (int)frame.bottom, make_color(225, 235, 242, 255)));
			EXPECT_TRUE(HasColorIn(image, BRect(8, 27, frame.right, 42), fPrefs->boxColor));
		}
		if (letter == 'D') {
			// Six balls of 18 pixels in one row, 6 pixels apart.
			BRect balls = ColorBox(image, kBall);
			EXPECT_NEAR(balls.Width(), 5 * (17 + 6) + 17, 2);
			EXPECT_LE(balls.Height(), 17);
		}

		// Ink in the title's row, in the first line's row, and in at least half of the rows
		// from there down to the last line.
		const int right = (int)frame.right - 2;
		EXPECT_GE(InkRows(image, 2, right, 8, 20), 6);
		EXPECT_GE(InkRows(image, 2, right, 27, 41), 6);
		const int last = (int)std::min(view->textY, frame.bottom);
		EXPECT_GE(InkRows(image, 2, right, 24, last), (last - 24) / 2);
	}
}
