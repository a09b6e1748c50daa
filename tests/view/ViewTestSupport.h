/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _VIEW_TEST_SUPPORT_H
#define _VIEW_TEST_SUPPORT_H


#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <Bitmap.h>
#include <View.h>

#include "PrefsTest.h"
#include "wg_View.h"


// A display view in a private home: a preset file and a local page in the program's folder,
// wget linked into the system folder, and a bitmap that hosts the view as a window would
// (the view sits at the top) or as a shelf would (the view is the child of another view).
class ViewTest : public PrefsTest {
protected:
	void
	SetUp() override
	{
		mkdir((fEnv.AppFolder() + "/Images").c_str(), 0755);
		if (access("/usr/bin/wget", X_OK) == 0)
			symlink("/usr/bin/wget", (fEnv.System() + "/bin/wget").c_str());
		fPrefs = Store();
		fPrefs->opUpdateSpeed = 1;
	}

	void
	TearDown() override
	{
		if (fHost != NULL) {
			fHost->Unlock();
			delete fHost;
			fHost = NULL;
		}
		PrefsTest::TearDown();
	}

	std::string
	PagePath() const
	{
		return fEnv.AppFolder() + "/page.html";
	}

	// Writes the page and one preset per pattern list; each preset reads the page.
	void
	WritePresets(const std::string& page, const std::vector<std::vector<std::string>>& presets)
	{
		WriteFile(PagePath(), page);
		std::string file;
		for (size_t i = 0; i < presets.size(); i++) {
			file += ";\n; --- PRESET ---\n$host" + std::to_string(i) + "$\t$" + PagePath() + "$\n";
			for (size_t k = 0; k + 1 < presets[i].size(); k += 2)
				file += "$" + presets[i][k] + "$\t$" + presets[i][k + 1] + "$\n";
			file += ";   \n";
		}
		WriteFile(fEnv.AppFolder() + "/Presets.txt", file);
		Quiet([&] { fPrefs->GetPresets(); });
	}

	// Makes the view and attaches it, which draws its first update.
	WView*
	Attach(bool onShelf = false, BRect frame = BRect(0, 0, 149, 79))
	{
		WView* view = NULL;
		fLastOutput = Quiet([&] {
			view = new WView(frame);
			fHost = new BBitmap(frame, B_RGBA32, true);
			fHost->Lock();
			if (onShelf) {
				BView* shelf = new BView(frame, "shelf", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
				fHost->AddChild(shelf);
				shelf->AddChild(view);
			} else
				fHost->AddChild(view);
		});
		return view;
	}

	// Another update as the view's messages run it.
	void
	Update(WView* view, bool fetch = true)
	{
		if (fetch)
			fPrefs->nextUpdateDue = system_time() - 1000000;
		fLastOutput = Quiet([&] { view->UpdateImage(); });
	}

public:
	// A pixel of the view's picture: red, green, blue, alpha.
	static rgb_color
	Pixel(WView* view, int x, int y)
	{
		const uint8* bits
			= (const uint8*)view->image->Bits() + y * view->image->BytesPerRow() + x * 4;
		return make_color(bits[2], bits[1], bits[0], bits[3]);
	}

	// Whether any pixel of the rectangle differs from the colour.
	static bool
	HasInk(WView* view, BRect rect, rgb_color background)
	{
		for (int y = (int)rect.top; y <= (int)rect.bottom; y++) {
			for (int x = (int)rect.left; x <= (int)rect.right; x++) {
				rgb_color pixel = Pixel(view, x, y);
				if (pixel.red != background.red || pixel.green != background.green
					|| pixel.blue != background.blue)
					return true;
			}
		}
		return false;
	}

	// The leftmost column of the rectangle that holds a pixel other than the colour, or -1.
	static int
	FirstInkColumn(WView* view, BRect rect, rgb_color background)
	{
		for (int x = (int)rect.left; x <= (int)rect.right; x++) {
			if (HasInk(view, BRect(x, rect.top, x, rect.bottom), background))
				return x;
		}
		return -1;
	}

protected:
	static std::string
	Value(WView* view, int32 index)
	{
		BString* value = (BString*)view->valueList->ItemAt(index);
		return value != NULL ? value->String() : "<none>";
	}

	Prefs* fPrefs = NULL;
	BBitmap* fHost = NULL;
};


#endif // _VIEW_TEST_SUPPORT_H
