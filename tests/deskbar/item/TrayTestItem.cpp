/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// A Deskbar add-on for the tests: a view of one colour, named after the add-on's file (so
// that copies of the file are items of their own); files with "blue" in their name are blue,
// the others red. A click removes the item.


#include <dlfcn.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include <Archivable.h>
#include <Deskbar.h>
#include <Message.h>
#include <View.h>


class TrayTestItem : public BView {
public:
	TrayTestItem(const char* name, rgb_color color)
		: BView(BRect(0, 0, 19, 15), name, B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fColor(color)
	{ }

	TrayTestItem(BMessage* archive) : BView(archive)
	{
		fColor = make_color(0, 0, 0);
		const void* data;
		ssize_t size;
		if (archive->FindData("color", B_RGB_COLOR_TYPE, &data, &size) == B_OK
			&& size == sizeof(fColor))
			memcpy(&fColor, data, sizeof(fColor));
	}

	// Out of line: the Deskbar looks it up by its name.
	static BArchivable* Instantiate(BMessage* archive);

	virtual status_t
	Archive(BMessage* archive, bool deep) const
	{
		status_t status = BView::Archive(archive, deep);
		if (status == B_OK)
			status = archive->AddData("color", B_RGB_COLOR_TYPE, &fColor, sizeof(fColor));
		return status;
	}

	// A click takes the item out of the Deskbar, as the program's view does from its menu.
	virtual void
	MouseDown(BPoint)
	{
		BDeskbar().RemoveItem(Name());
	}

	virtual void
	Draw(BRect)
	{
		SetHighColor(fColor);
		FillRect(Bounds());
	}

private:
	rgb_color fColor;
};


BArchivable*
TrayTestItem::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "TrayTestItem"))
		return NULL;
	return new TrayTestItem(archive);
}


// Of this very copy of the library: an exported function's address may be another copy's.
static void
marker()
{ }


extern "C" BView*
instantiate_deskbar_item()
{
	Dl_info info;
	std::string file = "item";
	if (dladdr(reinterpret_cast<void*>(&marker), &info) != 0 && info.dli_fname != NULL) {
		// An item whose file has a ".crash" beside it ends the process that loads it.
		if (access((std::string(info.dli_fname) + ".crash").c_str(), F_OK) == 0)
			_exit(70);
		file = info.dli_fname;
		file = file.substr(file.rfind('/') + 1);
	}
	rgb_color color
		= file.find("blue") != std::string::npos ? make_color(0, 0, 255) : make_color(255, 0, 0);
	return new TrayTestItem(("TrayTest-" + file).c_str(), color);
}
