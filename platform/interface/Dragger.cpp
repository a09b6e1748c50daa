/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Dragger.h>

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <FindDirectory.h>
#include <MenuItem.h>
#include <Message.h>
#include <Messenger.h>
#include <Path.h>
#include <PopUpMenu.h>
#include <Shelf.h>
#include <Window.h>

#include "Display.h"
#include "MessagePrivate.h"
#include "ShelfPrivate.h"


// The message that tells draggers to show or hide, with bool "show"
static const uint32 kMsgShowDraggers = '_SDH';
// What the user's setting file holds
static const uint32 kDraggerSettings = 'asdg';
// Sent to the replicant view by the pop-up menu: the shelf deletes it.
static const uint32 kDeleteReplicant = 'JAHA';

// A press followed by this much movement starts a drag.
static const float kDragThreshold = 3;

// The handle's picture, 8 x 8: '#' black, 'o' tan, '.' transparent
static const char* const kHandle[8] = {
	"..###...", "..#oo#..", "####oo##", "#o##oo##", "#ooooo##", ".#oooo##", "..######", "......##"};


namespace BPrivate {


// Keeps the user's dragger setting: read once, then followed through inotify on its folder
// so that a change by any process reaches every dragger of this one.
class DraggerWatcher {
public:
	static DraggerWatcher& Default();

	bool Shown();
	status_t SetShown(bool shown);
	void Add(BDragger* dragger);
	void Remove(BDragger* dragger);

private:
	DraggerWatcher();
	void _Start();
	void _Watch(int fd);
	void _Reload();
	void _Broadcast(bool shown);

	std::mutex fLock;
	std::once_flag fStarted;
	std::atomic<bool> fShown;
	std::vector<BDragger*> fDraggers;
	std::string fFolder;
	std::string fPath;
};


} // namespace BPrivate


using BPrivate::DraggerWatcher;


status_t
BPrivate::dragger_settings_path(char* path, size_t size)
{
	BPath settings;
	status_t status = find_directory(B_USER_SETTINGS_DIRECTORY, &settings);
	if (status == B_OK)
		status = settings.Append("system/app_server/dragger");
	if (status != B_OK)
		return status;
	if ((size_t)snprintf(path, size, "%s", settings.Path()) >= size)
		return B_NAME_TOO_LONG;
	return B_OK;
}


static void
make_folders(const std::string& path)
{
	for (size_t slash = path.find('/', 1); slash != std::string::npos;
		 slash = path.find('/', slash + 1)) {
		mkdir(path.substr(0, slash).c_str(), 0700);
	}
	mkdir(path.c_str(), 0700);
}


DraggerWatcher&
DraggerWatcher::Default()
{
	// Never deleted: its thread watches until the process ends.
	static DraggerWatcher* watcher = new DraggerWatcher;
	watcher->_Start();
	return *watcher;
}


DraggerWatcher::DraggerWatcher() : fShown(true) { }


void
DraggerWatcher::_Start()
{
	std::call_once(fStarted, [this]() {
		char path[PATH_MAX];
		if (BPrivate::dragger_settings_path(path, sizeof(path)) != B_OK)
			return;
		fPath = path;
		fFolder = fPath.substr(0, fPath.rfind('/'));
		make_folders(fFolder);
		int fd = inotify_init1(IN_CLOEXEC);
		if (fd >= 0
			&& inotify_add_watch(fd, fFolder.c_str(),
				   IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM)
				< 0) {
			close(fd);
			fd = -1;
		}
		_Reload();
		if (fd >= 0)
			std::thread(&DraggerWatcher::_Watch, this, fd).detach();
	});
}


void
DraggerWatcher::_Watch(int fd)
{
	alignas(struct inotify_event) char buffer[4096];
	for (;;) {
		ssize_t length = read(fd, buffer, sizeof(buffer));
		if (length < 0 && errno == EINTR)
			continue;
		if (length <= 0)
			break;
		bool ours = false;
		for (char* next = buffer; next < buffer + length;) {
			struct inotify_event* event = reinterpret_cast<struct inotify_event*>(next);
			if (event->len > 0 && strcmp(event->name, "dragger") == 0)
				ours = true;
			next += sizeof(struct inotify_event) + event->len;
		}
		if (ours)
			_Reload();
	}
	close(fd);
}


// The file holds a flattened 'asdg' message; without a readable one draggers are shown.
void
DraggerWatcher::_Reload()
{
	bool shown = true;
	int fd = open(fPath.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd >= 0) {
		std::string data;
		char chunk[1024];
		ssize_t length;
		while ((length = read(fd, chunk, sizeof(chunk))) > 0 && data.size() < 65536)
			data.append(chunk, (size_t)length);
		close(fd);
		BMessage settings;
		if (BMessage::Private(&settings).Unflatten(data.data(), data.size()) == B_OK
			&& settings.what == kDraggerSettings)
			shown = settings.GetBool("show", true);
	}
	if (fShown.exchange(shown) != shown)
		_Broadcast(shown);
}


void
DraggerWatcher::_Broadcast(bool shown)
{
	std::lock_guard<std::mutex> lock(fLock);
	BMessage message(kMsgShowDraggers);
	message.AddBool("show", shown);
	for (BDragger* dragger : fDraggers)
		BMessenger(dragger).SendMessage(&message);
}


bool
DraggerWatcher::Shown()
{
	return fShown;
}


status_t
DraggerWatcher::SetShown(bool shown)
{
	if (fPath.empty())
		return B_ERROR;
	BMessage settings(kDraggerSettings);
	settings.AddBool("show", shown);
	ssize_t size = settings.FlattenedSize();
	if (size <= 0)
		return B_ERROR;
	std::vector<char> data((size_t)size);
	status_t status = settings.Flatten(data.data(), size);
	if (status != B_OK)
		return status;

	// Written aside and renamed, so that no process reads half of it.
	make_folders(fFolder);
	std::string temporary = fPath + ".new";
	int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
	if (fd < 0)
		return B_ERROR;
	bool written = write(fd, data.data(), data.size()) == (ssize_t)data.size();
	written = close(fd) == 0 && written;
	if (!written || rename(temporary.c_str(), fPath.c_str()) != 0) {
		unlink(temporary.c_str());
		return B_ERROR;
	}
	// This process needs not wait for the file's notice.
	if (fShown.exchange(shown) != shown)
		_Broadcast(shown);
	return B_OK;
}


void
DraggerWatcher::Add(BDragger* dragger)
{
	std::lock_guard<std::mutex> lock(fLock);
	fDraggers.push_back(dragger);
}


void
DraggerWatcher::Remove(BDragger* dragger)
{
	std::lock_guard<std::mutex> lock(fLock);
	fDraggers.erase(std::remove(fDraggers.begin(), fDraggers.end(), dragger), fDraggers.end());
}


//	#pragma mark - BDragger


BDragger::BDragger(BRect frame, BView* target, uint32 resizingMode, uint32 flags)
	: BView(frame, "_dragger_", resizingMode, flags), fTarget(target)
{
	_InitData();
}


BDragger::BDragger(BView* target, uint32 flags)
	: BView(BRect(0, 0, 7, 7), "_dragger_", B_FOLLOW_NONE, flags), fTarget(target)
{
	_InitData();
}


BDragger::BDragger(BMessage* data) : BView(data), fTarget(NULL)
{
	_InitData();
	int32 relation;
	if (data != NULL && data->FindInt32("_rel", &relation) == B_OK && relation >= TARGET_UNKNOWN
		&& relation <= TARGET_IS_SIBLING)
		fRelation = (enum relation)relation;
}


BDragger::~BDragger()
{
	DraggerWatcher::Default().Remove(this);
	delete fPopUp;
}


void
BDragger::_InitData()
{
	fRelation = TARGET_UNKNOWN;
	fShelf = NULL;
	fTransition = false;
	fPopUpIsCustom = false;
	fPopUp = NULL;
	fTracking = false;
	fDragging = false;
	SetViewColor(B_TRANSPARENT_COLOR);
}


BArchivable*
BDragger::Instantiate(BMessage* data)
{
	if (!validate_instantiation(data, "BDragger"))
		return NULL;
	return new BDragger(data);
}


status_t
BDragger::Archive(BMessage* data, bool deep) const
{
	status_t status = BView::Archive(data, deep);
	if (status == B_OK)
		status = data->AddInt32("_rel", (int32)fRelation);
	return status;
}


void
BDragger::_DetermineRelationship()
{
	if (fTarget != NULL) {
		if (fTarget == Parent())
			fRelation = TARGET_IS_PARENT;
		else if (fTarget == ChildAt(0))
			fRelation = TARGET_IS_CHILD;
		else
			fRelation = TARGET_IS_SIBLING;
		return;
	}
	// An archived dragger finds its target again from where it was.
	if (fRelation == TARGET_IS_PARENT)
		fTarget = Parent();
	else if (fRelation == TARGET_IS_CHILD)
		fTarget = ChildAt(0);
}


void
BDragger::AttachedToWindow()
{
	_DetermineRelationship();
	DraggerWatcher::Default().Add(this);
	_UpdateShowing();
}


void
BDragger::DetachedFromWindow()
{
	DraggerWatcher::Default().Remove(this);
	fTracking = false;
	fDragging = false;
}


// Drawn when draggers are shown and the shelf, if any, lets its replicants be dragged; a
// dragger that is no parent of its target is hidden otherwise.
void
BDragger::_UpdateShowing()
{
	bool visible = AreDraggersDrawn() && (fShelf == NULL || fShelf->AllowsDragging());
	if (fRelation != TARGET_IS_CHILD) {
		fTransition = true;
		if (visible && IsHidden(this))
			Show();
		else if (!visible && !IsHidden(this))
			Hide();
		fTransition = false;
	}
	Invalidate();
}


bool
BDragger::IsVisibilityChanging() const
{
	return fTransition;
}


void
BDragger::Draw(BRect)
{
	if (!AreDraggersDrawn() || (fShelf != NULL && !fShelf->AllowsDragging()))
		return;
	BPoint origin = Bounds().RightBottom() - BPoint(7, 7);
	PushState();
	SetDrawingMode(B_OP_COPY);
	for (int32 y = 0; y < 8; y++) {
		for (int32 x = 0; x < 8; x++) {
			char c = kHandle[y][x];
			if (c == '.')
				continue;
			if (c == '#')
				SetHighColor(0, 0, 0);
			else
				SetHighColor(203, 152, 102);
			FillRect(BRect(origin.x + x, origin.y + y, origin.x + x, origin.y + y));
		}
	}
	PopState();
}


void
BDragger::MouseDown(BPoint where)
{
	if (Window() == NULL || (fShelf != NULL && !fShelf->AllowsDragging()))
		return;
	if (!AreDraggersDrawn())
		return;
	int32 buttons = 0;
	BMessage* current = Window()->CurrentMessage();
	if (current != NULL)
		buttons = current->GetInt32("buttons", 0);
	if ((buttons & B_SECONDARY_MOUSE_BUTTON) != 0) {
		if (fShelf != NULL)
			_ShowPopUp(where);
		return;
	}
	if ((buttons & B_PRIMARY_MOUSE_BUTTON) == 0 && buttons != 0)
		return;
	BView* replicant = _Replicant();
	if (replicant == NULL)
		return;
	fTracking = true;
	fDragging = false;
	fPressScreen = ConvertToScreen(where);
	// Where the pointer is in the replicant, and where the replicant (or, in a shelf of
	// windows, its window) starts
	fPressOffset = fPressScreen - replicant->ConvertToScreen(replicant->Bounds().LeftTop());
	if (fShelf != NULL && BPrivate::shelf_moves_window(fShelf))
		fStartLeftTop = Window()->Frame().LeftTop();
	else
		fStartLeftTop = replicant->Frame().LeftTop();
}


void
BDragger::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (!fTracking || Window() == NULL)
		return;
	BMessage* current = Window()->CurrentMessage();
	BPoint screen = ConvertToScreen(where);
	if (current != NULL)
		current->FindPoint("screen_where", &screen);
	BPoint moved = screen - fPressScreen;
	if (!fDragging) {
		if (fabsf(moved.x) < kDragThreshold && fabsf(moved.y) < kDragThreshold)
			return;
		fDragging = true;
	}
	if (fShelf == NULL)
		return;
	// In a shelf the replicant follows the pointer.
	if (BPrivate::shelf_moves_window(fShelf))
		Window()->MoveTo(fStartLeftTop + moved);
	else if (BView* replicant = _Replicant())
		replicant->MoveTo(fStartLeftTop + moved);
}


void
BDragger::MouseUp(BPoint where)
{
	bool dragged = fTracking && fDragging;
	fTracking = false;
	fDragging = false;
	if (!dragged || fShelf != NULL || Window() == NULL)
		return;
	BPoint screen = ConvertToScreen(where);
	BMessage* current = Window()->CurrentMessage();
	if (current != NULL)
		current->FindPoint("screen_where", &screen);
	_Drop(screen);
}


// Builds what a drag of the replicant carries: its archive as the relation wants it.
status_t
BDragger::_MakeDragMessage(BMessage* message) const
{
	message->MakeEmpty();
	message->what = B_ARCHIVED_OBJECT;
	status_t status = B_ERROR;
	switch (fRelation) {
	case TARGET_IS_PARENT:
		status = fTarget != NULL ? fTarget->Archive(message) : B_ERROR;
		break;
	case TARGET_IS_CHILD:
		status = Archive(message);
		break;
	case TARGET_IS_SIBLING: {
		status = fTarget != NULL ? fTarget->Archive(message) : B_ERROR;
		BMessage widget;
		if (status == B_OK)
			status = Archive(&widget);
		if (status == B_OK)
			status = message->AddMessage("__widget", &widget);
		break;
	}
	default:
		break;
	}
	message->what = B_ARCHIVED_OBJECT;
	if (status == B_OK)
		status = message->AddInt32("be:actions", B_TRASH_TARGET);
	return status;
}


// Released at a point of the screen: a window of ours there gets the drop as any drop;
// elsewhere the replicant goes to the desktop's shelf.
void
BDragger::_Drop(BPoint screenWhere)
{
	BMessage drag;
	if (_MakeDragMessage(&drag) != B_OK) {
		fprintf(stderr, "BDragger: \"%s\" cannot be archived\n",
			fTarget != NULL && fTarget->Name() != NULL ? fTarget->Name() : "");
		return;
	}

	BPrivate::Display* display = BPrivate::Display::Default();
	BPrivate::DisplayClient* client = display != NULL ? display->ClientAt(screenWhere) : NULL;
	if (client != NULL) {
		BMessage drop(drag);
		BMessage::Private(&drop).SetWasDropped(true);
		drop.AddPoint("_drop_point_", screenWhere);
		drop.AddPoint("_drop_offset_", fPressOffset);
		client->PostDisplayMessage(&drop);
		return;
	}

	// The host may need starting: that waits in a thread of its own, not in the window's.
	BPoint leftTop = screenWhere - fPressOffset;
	BMessage* message = new BMessage(drag);
	std::thread([message, leftTop]() {
		status_t status = BPrivate::send_to_desktop_shelf(message, leftTop);
		if (status != B_OK) {
			fprintf(
				stderr, "BDragger: the desktop did not take the replicant: %s\n", strerror(status));
		}
		delete message;
	}).detach();
}


BView*
BDragger::_Replicant() const
{
	if (fRelation == TARGET_IS_CHILD)
		return const_cast<BDragger*>(this);
	return fTarget;
}


void
BDragger::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case kMsgShowDraggers:
		_UpdateShowing();
		break;
	case B_TRASH_TARGET:
		// The drag went to the trash: in a shelf, the replicant goes.
		if (fShelf != NULL && _Replicant() != NULL)
			BMessenger(_Replicant()).SendMessage(kDeleteReplicant);
		break;
	default:
		BView::MessageReceived(message);
		break;
	}
}


status_t
BDragger::ShowAllDraggers()
{
	return DraggerWatcher::Default().SetShown(true);
}


status_t
BDragger::HideAllDraggers()
{
	return DraggerWatcher::Default().SetShown(false);
}


bool
BDragger::AreDraggersDrawn()
{
	return DraggerWatcher::Default().Shown();
}


status_t
BDragger::SetPopUp(BPopUpMenu* menu)
{
	if (menu != NULL && menu != fPopUp) {
		delete fPopUp;
		fPopUp = menu;
		fPopUpIsCustom = true;
		return B_OK;
	}
	return B_ERROR;
}


BPopUpMenu*
BDragger::PopUp() const
{
	if (fPopUp == NULL && fTarget != NULL)
		const_cast<BDragger*>(this)->_BuildDefaultPopUp();
	return fPopUp;
}


bool
BDragger::InShelf() const
{
	return fShelf != NULL;
}


BView*
BDragger::Target() const
{
	return fTarget;
}


void
BDragger::_SetShelf(BShelf* shelf)
{
	fShelf = shelf;
	if (Window() != NULL)
		_UpdateShowing();
}


void
BDragger::_BuildDefaultPopUp()
{
	fPopUp = new BPopUpMenu("Shelf", false, false, B_ITEMS_IN_COLUMN);
	std::string about = "About ";
	about += fTarget != NULL && fTarget->Name() != NULL ? fTarget->Name() : "";
	about += "\xE2\x80\xA6";
	BMessage* aboutMessage = new BMessage(B_ABOUT_REQUESTED);
	aboutMessage->AddString(
		"target", fTarget != NULL && fTarget->Name() != NULL ? fTarget->Name() : "");
	fPopUp->AddItem(new BMenuItem(about.c_str(), aboutMessage));
	fPopUp->AddSeparatorItem();
	fPopUp->AddItem(new BMenuItem("Remove replicant", new BMessage(kDeleteReplicant)));
}


void
BDragger::_ShowPopUp(BPoint where)
{
	BPopUpMenu* menu = PopUp();
	BView* replicant = _Replicant();
	if (menu == NULL || replicant == NULL)
		return;
	menu->SetTargetForItems(BMessenger(replicant));
	BPoint screen = ConvertToScreen(where);
	menu->Go(screen, true, true, ConvertToScreen(Bounds()), true);
}
