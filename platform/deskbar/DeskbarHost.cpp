/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "DeskbarHost.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Dragger.h>
#include <Entry.h>
#include <FindDirectory.h>
#include <Message.h>
#include <Path.h>
#include <View.h>

#include <DeskbarPrivate.h>
#include <SystemTray.h>

#include "Display.h"
#include "ItemWindow.h"


const float DeskbarHost::kMaxItemWidth = 129;
const float DeskbarHost::kMaxItemHeight = 16;

// The width of the host's own handle in the strip
static const float kHandleWidth = 9;

// An item that loaded but could not be put in the tray is still answered as added, with
// this id (as the Deskbar does).
static const int32 kUnplacedId = 999;

// How often the host looks whether its log has grown past its size
static const bigtime_t kLogCheckInterval = 10 * 60 * 1000000LL;


typedef BView* (*instantiate_entry_func)(image_id, const entry_ref*, float, float);
typedef BView* (*instantiate_item_func)(float, float);


DeskbarHost::DeskbarHost()
	: BApplication("application/x-vnd.Be-TSKB"), fNextId(1), fInTray(false), fServing(false)
{ }


DeskbarHost::~DeskbarHost() { }


bool
DeskbarHost::StartService()
{
	status_t status = fService.Start(BPrivate::kDeskbarService, BMessenger(this));
	if (status == B_NAME_IN_USE)
		fprintf(stderr, "Deskbar: another Deskbar runs already\n");
	else if (status != B_OK)
		fprintf(stderr, "Deskbar: can't offer the service: %s\n", strerror(status));
	return status == B_OK;
}


void
DeskbarHost::Shutdown()
{
	fService.Stop();
	// The windows end on their own threads; they were told to.
	for (int32 i = 0; i < 500 && CountWindows() > 0; i++)
		snooze(10000);
}


void
DeskbarHost::ReadyToRun()
{
	// One Deskbar a user: the service is claimed first, so that a second one quits and
	// leaves the items and their list alone. Requests wait in the queue until the saved items
	// are back.
	fServing = StartService();
	if (!fServing) {
		PostMessage(B_QUIT_REQUESTED);
		return;
	}
	fInTray = BPrivate::system_tray_available();
	BPrivate::watch_system_tray(BMessenger(this), kMsgTrayChanged);
	_ShowHandle();
	_Load();
	SetPulseRate(kLogCheckInterval);
}


void
DeskbarHost::Pulse()
{
	BPrivate::limit_host_log(BPrivate::kDeskbarHostName);
}


bool
DeskbarHost::QuitRequested()
{
	if (fServing)
		_Save();
	// The windows are told, not locked: an item's view may be waiting for an answer of ours.
	for (Item& item : fItems)
		item.window.SendMessage(kMsgQuitItem);
	fHandle.SendMessage(kMsgQuitItem);
	return true;
}


void
DeskbarHost::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case kMsgAddAddOn: {
		BMessage reply(B_REPLY);
		_AddAddOn(message, &reply);
		message->SendReply(&reply);
		break;
	}
	case kMsgAddView: {
		BMessage reply(B_REPLY);
		_AddView(message, &reply);
		message->SendReply(&reply);
		break;
	}
	case kMsgRemoveItem:
		// The sender gets no answer (its call returns as soon as the message arrived).
		_RemoveItem(message);
		break;
	case kMsgItemExists: {
		BMessage reply(B_REPLY);
		reply.AddBool("exists", _Find(message) != NULL);
		message->SendReply(&reply);
		break;
	}
	case kMsgItemInfo: {
		BMessage reply(B_REPLY);
		Item* item = _Find(message);
		if (item != NULL) {
			if (message->HasInt32("id"))
				reply.AddString("name", item->name);
			else
				reply.AddInt32("id", item->id);
		}
		message->SendReply(&reply);
		break;
	}
	case kMsgCountItems: {
		BMessage reply(B_REPLY);
		reply.AddInt32("count", (int32)fItems.size());
		message->SendReply(&reply);
		break;
	}
	case kMsgMaxItemSize: {
		BMessage reply(B_REPLY);
		reply.AddFloat("width", kMaxItemWidth);
		reply.AddFloat("height", kMaxItemHeight);
		message->SendReply(&reply);
		break;
	}

	case kMsgViewBack:
		_ViewBack(message);
		break;
	case kMsgTrayChanged:
		_TrayChanged(message->GetBool("available", false));
		break;
	case kMsgToggleDraggers:
		if (BDragger::AreDraggersDrawn())
			BDragger::HideAllDraggers();
		else
			BDragger::ShowAllDraggers();
		break;

	default:
		BApplication::MessageReceived(message);
	}
}


//	#pragma mark - items


void
DeskbarHost::_AddAddOn(BMessage* request, BMessage* reply)
{
	// A reference means something only in the process that made it: the path counts.
	BString path;
	if (request->FindString("be:path", &path) != B_OK) {
		entry_ref ref;
		BPath refPath;
		if (request->FindRef("addon", &ref) == B_OK && refPath.SetTo(&ref) == B_OK)
			path = refPath.Path();
	}
	int32 id = -1;
	status_t status = path.IsEmpty() ? B_BAD_VALUE : _LoadAddOn(path.String(), &id);
	if (status == B_OK) {
		reply->AddInt32("id", id);
		_Save();
	} else
		reply->AddInt32("error", status);
}


status_t
DeskbarHost::_LoadAddOn(const char* path, int32* _id)
{
	struct stat info;
	if (stat(path, &info) != 0) {
		status_t error = errno == ENOENT ? B_ENTRY_NOT_FOUND : B_FROM_POSIX_ERROR(errno);
		fprintf(stderr, "Deskbar: can't load '%s': %s\n", path, strerror(error));
		return error;
	}
	for (const Item& item : fItems) {
		if (!item.path.empty() && item.device == info.st_dev && item.node == info.st_ino)
			return B_ERROR;
	}

	image_id image = load_add_on(path);
	if (image < 0) {
		fprintf(stderr, "Deskbar: can't load '%s': %s\n", path, strerror(image));
		return image;
	}

	BView* view = NULL;
	void* function;
	entry_ref ref;
	if (get_image_symbol(image, "instantiate_deskbar_entry", B_SYMBOL_TYPE_TEXT, &function) == B_OK
		&& get_ref_for_path(path, &ref) == B_OK) {
		view = reinterpret_cast<instantiate_entry_func>(function)(
			image, &ref, kMaxItemWidth, kMaxItemHeight);
	} else if (get_image_symbol(image, "instantiate_deskbar_item", B_SYMBOL_TYPE_TEXT, &function)
		== B_OK) {
		// Add-ons that take no sizes simply do not read them.
		view = reinterpret_cast<instantiate_item_func>(function)(kMaxItemWidth, kMaxItemHeight);
	} else {
		fprintf(stderr, "Deskbar: '%s' has no Deskbar item\n", path);
		return B_ERROR;
	}
	if (view == NULL)
		return B_ERROR;
	for (const Item& item : fItems) {
		if (item.name == view->Name()) {
			delete view;
			return B_ERROR;
		}
	}

	// The tray holds what the view's archive rebuilds, as a replicant.
	BMessage archive;
	status_t status = view->Archive(&archive, true);
	delete view;
	if (status != B_OK || _AddItem(archive, path, info.st_dev, info.st_ino, _id) != B_OK) {
		fprintf(stderr, "Deskbar: the item of '%s' can't be put in the tray\n", path);
		*_id = kUnplacedId;
	}
	return B_OK;
}


void
DeskbarHost::_AddView(BMessage* request, BMessage* reply)
{
	BMessage archive;
	status_t status = request->FindMessage("view", &archive);
	// The view's code is found through the application named in the archive.
	if (status == B_OK && !archive.HasString("add_on"))
		status = B_NAME_NOT_FOUND;
	int32 id;
	if (status == B_OK)
		status = _AddItem(archive, std::string(), 0, 0, &id);
	if (status == B_OK)
		reply->AddInt32("id", id);
	else
		reply->AddInt32("error", status);
}


status_t
DeskbarHost::_AddItem(
	const BMessage& archive, const std::string& path, dev_t device, ino_t node, int32* _id)
{
	Item item;
	item.id = fNextId;
	item.path = path;
	item.device = device;
	item.node = node;
	fItems.push_back(item);
	ItemWindow* window = _House(fItems.back(), archive);
	if (window == NULL) {
		fItems.pop_back();
		return B_ERROR;
	}
	fNextId++;
	_Relayout();
	window->Show();
	*_id = item.id;
	return B_OK;
}


void
DeskbarHost::_RemoveItem(BMessage* request)
{
	// Of several items with the name, the last goes.
	Item* item = _Find(request, true);
	if (item == NULL)
		return;
	// The window quits on its own thread: the item's view may be the one asking.
	item->window.SendMessage(kMsgQuitItem);
	bool addOn = !item->path.empty();
	fItems.erase(fItems.begin() + (item - fItems.data()));
	_Relayout();
	if (addOn)
		_Save();
}


DeskbarHost::Item*
DeskbarHost::_Find(BMessage* request, bool last)
{
	int32 id;
	const char* name;
	if (request->FindInt32("id", &id) == B_OK) {
		for (Item& item : fItems) {
			if (item.id == id)
				return &item;
		}
	} else if (request->FindString("name", &name) == B_OK) {
		Item* found = NULL;
		for (Item& item : fItems) {
			if (item.name == name) {
				found = &item;
				if (!last)
					break;
			}
		}
		return found;
	}
	return NULL;
}


// A window gave its item back: it goes into a new window, unless the item went meanwhile.
void
DeskbarHost::_ViewBack(BMessage* message)
{
	BMessage archive;
	int32 id;
	if (message->FindMessage("archive", &archive) != B_OK || message->FindInt32("id", &id) != B_OK)
		return;
	for (Item& item : fItems) {
		if (item.id != id)
			continue;
		ItemWindow* window = _House(item, archive);
		if (window == NULL) {
			fprintf(stderr, "Deskbar: the item '%s' can't be rebuilt\n", item.name.String());
			fItems.erase(fItems.begin() + (&item - fItems.data()));
			_Save();
		} else
			window->Show();
		_Relayout();
		return;
	}
}


//	#pragma mark - windows


ItemWindow*
DeskbarHost::_House(Item& item, const BMessage& archive)
{
	ItemWindow* window = new ItemWindow(BRect(0, 0, 15, 15), archive, item.id, fInTray);
	BView* view = window->Replicant();
	// Items taller than the tray are refused, as the Deskbar does.
	if (view == NULL || view->Bounds().Height() > kMaxItemHeight) {
		window->Lock();
		window->Quit();
		return NULL;
	}
	item.name = view->Name();
	item.size = view->Bounds().OffsetToCopy(0, 0);
	if (!fInTray)
		window->MoveTo(_StripFrame(&item).LeftTop());
	item.window = BMessenger(window);
	return window;
}


void
DeskbarHost::_ShowHandle()
{
	BRect frame = fInTray ? BRect(0, 0, kMaxItemHeight, kMaxItemHeight) : _StripFrame(NULL);
	ItemWindow* window = new ItemWindow(frame, new HandleView(frame.OffsetToCopy(0, 0)), fInTray);
	fHandle = BMessenger(window);
	window->Show();
}


// In the strip, at the top right of the screen: the handle, then the items by their ids.
BRect
DeskbarHost::_StripFrame(const Item* which) const
{
	float width = kHandleWidth + 1;
	for (const Item& item : fItems)
		width += item.size.Width() + 1;
	BRect screen(0, 0, 1023, 767);
	BPrivate::Display* display = BPrivate::Display::Default();
	if (display != NULL)
		screen = display->ScreenFrame();
	float left = screen.right + 1 - width;
	if (which == NULL)
		return BRect(left, screen.top, left + kHandleWidth, screen.top + kMaxItemHeight);
	left += kHandleWidth + 1;
	for (const Item& item : fItems) {
		if (&item == which)
			break;
		left += item.size.Width() + 1;
	}
	return BRect(left, screen.top, left + which->size.Width(), screen.top + which->size.Height());
}


void
DeskbarHost::_Relayout()
{
	if (fInTray)
		return;
	BMessage place(kMsgPlace);
	place.AddPoint("where", _StripFrame(NULL).LeftTop());
	fHandle.SendMessage(&place);
	for (const Item& item : fItems) {
		place.ReplacePoint("where", _StripFrame(&item).LeftTop());
		item.window.SendMessage(&place);
	}
}


// The items move between the tray and the strip: each window gives its view back, and the
// view gets a window of the other kind.
void
DeskbarHost::_TrayChanged(bool available)
{
	if (available == fInTray)
		return;
	fInTray = available;
	fHandle.SendMessage(kMsgQuitItem);
	_ShowHandle();
	for (Item& item : fItems) {
		item.window.SendMessage(kMsgGiveViewBack);
		item.window = BMessenger();
	}
}


//	#pragma mark - settings


std::string
DeskbarHost::_SettingsPath() const
{
	BPath path;
	if (find_directory(B_USER_SETTINGS_DIRECTORY, &path) != B_OK)
		return std::string();
	return std::string(path.Path()) + "/deskbar/replicants";
}


// The add-ons' paths, as a flattened message with the string array "replicant_path"
void
DeskbarHost::_Save() const
{
	std::string path = _SettingsPath();
	if (path.empty())
		return;
	BMessage settings;
	for (const Item& item : fItems) {
		if (!item.path.empty())
			settings.AddString("replicant_path", item.path.c_str());
	}
	// The Deskbar starts with the next session while it has items to bring back.
	BPrivate::set_host_autostart(BPrivate::kDeskbarHostName, !settings.IsEmpty());
	ssize_t size = settings.FlattenedSize();
	std::vector<char> buffer(size > 0 ? size : 0);
	if (size <= 0 || settings.Flatten(buffer.data(), size) != B_OK)
		return;

	std::string folder = path.substr(0, path.rfind('/'));
	create_directory(folder.c_str(), 0755);
	// A new file that replaces the old one whole
	std::string temporary = path + ".new";
	int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	if (fd < 0) {
		fprintf(stderr, "Deskbar: can't save '%s': %s\n", path.c_str(), strerror(errno));
		return;
	}
	bool written = write(fd, buffer.data(), buffer.size()) == (ssize_t)buffer.size();
	written = fsync(fd) == 0 && written;
	written = close(fd) == 0 && written;
	if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
		fprintf(stderr, "Deskbar: can't save '%s': %s\n", path.c_str(), strerror(errno));
		unlink(temporary.c_str());
	}
}


// The add-ons of the last run come back; those that fail are dropped.
void
DeskbarHost::_Load()
{
	std::string path = _SettingsPath();
	int fd = path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return;
	std::string data;
	char buffer[4096];
	ssize_t length;
	while ((length = read(fd, buffer, sizeof(buffer))) > 0 && data.size() < (1 << 20))
		data.append(buffer, length);
	close(fd);

	// The flattened message's header tells its size: a cut file must not be read past its end.
	uint32 header[3];
	BMessage settings;
	if (data.size() >= sizeof(header))
		memcpy(header, data.data(), sizeof(header));
	if (data.size() < sizeof(header) || header[2] > data.size()
		|| settings.Unflatten(data.data()) != B_OK) {
		fprintf(stderr, "Deskbar: '%s' is damaged, starting empty\n", path.c_str());
		return;
	}
	// An add-on that ended the Deskbar while it was being loaded (it crashed) is left out
	// from then on: while an add-on loads, its path is in "<list>.loading".
	const std::string loading = path + ".loading";
	std::string crashed;
	fd = open(loading.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd >= 0) {
		while ((length = read(fd, buffer, sizeof(buffer))) > 0 && crashed.size() < 4096)
			crashed.append(buffer, length);
		close(fd);
		fprintf(stderr, "Deskbar: '%s' ended the Deskbar while it was loaded: left out\n",
			crashed.c_str());
	}
	const char* addOn;
	for (int32 i = 0; settings.FindString("replicant_path", i, &addOn) == B_OK; i++) {
		if (crashed == addOn)
			continue;
		fd = open(loading.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
		if (fd >= 0) {
			if (write(fd, addOn, strlen(addOn)) < 0) {
				// then a crash of this add-on is not noticed
			}
			close(fd);
		}
		int32 id;
		_LoadAddOn(addOn, &id);
	}
	unlink(loading.c_str());
	_Save();
}
