/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The desktop's shelf: keeps the replicants dragged onto the desktop, each in a borderless
// window of its own below the other windows, and keeps them across its own restarts in
// <B_USER_SETTINGS_DIRECTORY>/Tracker/tracker_shelf (the format of BShelf::Save()).


#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <AppDefs.h>
#include <Application.h>
#include <DataIO.h>
#include <FindDirectory.h>
#include <Message.h>
#include <MessageRunner.h>
#include <Path.h>
#include <Shelf.h>
#include <View.h>
#include <Window.h>

#include "MessagePrivate.h"
#include "MessageService.h"
#include "ShelfPrivate.h"


using namespace BPrivate;


static const uint32 kMsgReplicantDeleted = 'rdel';
static const uint32 kMsgReplicantMoved = 'rmov';
static const uint32 kMsgSaveMoved = 'svmv';

// A replicant being moved sends a move for each step: the list is written once it rests.
static const bigtime_t kMovedSaveDelay = 500000;

static const rgb_color kDesktopColor = {51, 102, 152, 255};

// How often the host looks whether its log has grown past its size
static const bigtime_t kLogCheckInterval = 10 * 60 * 1000000LL;


class ReplicantWindow;


// Behind the replicant: transparent where a compositor shows the desktop through the
// window, else the replicant's own colour.
class ContainerView : public BView {
public:
	ContainerView(BRect frame, bool translucent)
		: BView(frame, "container", B_FOLLOW_ALL, B_WILL_DRAW | B_DRAW_ON_CHILDREN),
		  fTranslucent(translucent), fColor(kDesktopColor)
	{
		SetViewColor(B_TRANSPARENT_COLOR);
	}

	void
	SetBackground(rgb_color color)
	{
		if (color != B_TRANSPARENT_COLOR)
			fColor = color;
	}

	virtual void
	Draw(BRect updateRect)
	{
		SetDrawingMode(B_OP_COPY);
		SetHighColor(fTranslucent ? B_TRANSPARENT_COLOR : fColor);
		FillRect(updateRect);
	}

private:
	bool fTranslucent;
	rgb_color fColor;
};


class DesktopShelf : public BShelf {
public:
	DesktopShelf(BView* container, ReplicantWindow* window)
		: BShelf(container, true, "DesktopShelf"), fWindow(window)
	{ }

protected:
	virtual void ReplicantDeleted(int32 index, const BMessage* archive, const BView* replicant);

private:
	ReplicantWindow* fWindow;
};


class ReplicantWindow : public BWindow {
public:
	ReplicantWindow(uint32 id)
		: BWindow(BRect(0, 0, 0, 0), "Replicant", kDesktopWidgetWindowType,
			B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_NOT_CLOSABLE | B_AVOID_FOCUS),
		  fId(id), fShelf(NULL)
	{
		fContainer = new ContainerView(Bounds(), desktop_widgets_are_translucent());
		AddChild(fContainer);
		fShelf = new DesktopShelf(fContainer, this);
		set_shelf_moves_window(fShelf, true);
	}

	virtual ~ReplicantWindow() { delete fShelf; }

	// With the window locked: the replicant in the window's top left corner, the window
	// at where, sized to it.
	status_t
	Add(BMessage* archive, BPoint where)
	{
		// The window takes the replicant's size before the replicant comes in: a view that
		// follows its container's sides would otherwise grow with the window.
		BRect archived;
		if (archive->FindRect("_frame", &archived) == B_OK && archived.IsValid())
			ResizeTo(archived.Width(), archived.Height());
		status_t status = fShelf->AddReplicant(archive, B_ORIGIN);
		if (status != B_OK)
			return status;
		BView* view = NULL;
		fShelf->ReplicantAt(0, &view);
		BRect frame = view->Frame();
		// The whole of the replicant in the window, its dragger included
		for (BView* child = fContainer->ChildAt(0); child != NULL; child = child->NextSibling())
			frame = frame | child->Frame();
		fContainer->SetBackground(view->ViewColor());
		MoveTo(where);
		ResizeTo(frame.right, frame.bottom);
		return B_OK;
	}

	// The record BShelf::Save() writes, with the window's place on the screen
	bool
	Record(BMessage* record)
	{
		BMallocIO stream;
		fShelf->SetSaveLocation(&stream);
		status_t status = fShelf->Save();
		fShelf->SetSaveLocation((BDataIO*)NULL);
		if (status != B_OK)
			return false;
		std::string data((size_t)stream.BufferLength(), '\0');
		stream.ReadAt(0, &data[0], data.size());
		BMessage archive;
		if (archive.Unflatten(data.data()) != B_OK
			|| archive.FindMessage("replicant", 0, record) != B_OK)
			return false;
		record->RemoveName("uniqueid");
		record->AddInt32("uniqueid", (int32)fId);
		record->RemoveName("position");
		record->AddPoint("position", Frame().LeftTop());
		return true;
	}

	const char*
	ClassName()
	{
		BMessage* archive = fShelf->ReplicantAt(0);
		const char* name = NULL;
		if (archive != NULL)
			archive->FindString("class", &name);
		return name != NULL ? name : "";
	}

	bool
	Holds(const BMessage* archive)
	{
		BMessage* own = fShelf->ReplicantAt(0);
		if (own == NULL)
			return false;
		for (const char* name : {"class", "add_on"}) {
			const char* a = NULL;
			const char* b = NULL;
			bool hasA = own->FindString(name, &a) == B_OK;
			bool hasB = archive->FindString(name, &b) == B_OK;
			if (hasA != hasB || (hasA && strcmp(a, b) != 0))
				return false;
		}
		return true;
	}

	virtual void
	FrameMoved(BPoint)
	{
		be_app->PostMessage(kMsgReplicantMoved);
	}

	// A window that goes on its own (another client destroyed it, or its replicant quit
	// it) is taken off the host's list first: the host quits it then.
	virtual bool
	QuitRequested()
	{
		BMessage message(kMsgReplicantDeleted);
		message.AddPointer("window", this);
		be_app->PostMessage(&message);
		return false;
	}

	uint32 fId;

private:
	ContainerView* fContainer;
	DesktopShelf* fShelf;
};


void
DesktopShelf::ReplicantDeleted(int32, const BMessage*, const BView*)
{
	BMessage message(kMsgReplicantDeleted);
	message.AddPointer("window", fWindow);
	be_app->PostMessage(&message);
}


class DesktopApp : public BApplication {
public:
	DesktopApp() : BApplication(kDesktopShelfSignature), fNextId(1), fSaveRunner(NULL) { }

	virtual ~DesktopApp() { delete fSaveRunner; }

	virtual void
	ReadyToRun()
	{
		// The service first: a second host quits before it shows the replicants again.
		// Requests wait in the queue until the saved replicants are back.
		status_t status = fService.Start(kDesktopShelfService, BMessenger(this));
		if (status != B_OK) {
			fprintf(stderr, "Desktop: the shelf's service cannot start: %s\n", strerror(status));
			Quit();
			return;
		}
		_Load();
		SetPulseRate(kLogCheckInterval);
	}

	virtual void
	Pulse()
	{
		limit_host_log(kDesktopShelfHostName);
	}

	virtual bool
	QuitRequested()
	{
		fService.Stop();
		_Save();
		for (ReplicantWindow* window : fWindows) {
			if (window->Lock())
				window->Quit();
		}
		fWindows.clear();
		return true;
	}

	virtual void
	MessageReceived(BMessage* message)
	{
		switch (message->what) {
		case kMsgDesktopDrop: {
			BMessage* archive = new BMessage;
			BPoint where;
			status_t status = message->FindMessage("archive", archive);
			if (status == B_OK)
				status = message->FindPoint("where", &where);
			uint32 id = fNextId;
			if (status == B_OK)
				status = _Add(archive, where);
			else
				delete archive;
			BMessage reply(B_REPLY);
			reply.AddInt32("error", status);
			if (status == B_OK)
				reply.AddInt32("id", (int32)id);
			message->SendReply(&reply);
			if (status == B_OK)
				_Save();
			break;
		}
		case kMsgDesktopCount: {
			BMessage reply(B_REPLY);
			reply.AddInt32("count", (int32)fWindows.size());
			for (ReplicantWindow* window : fWindows) {
				if (!window->Lock())
					continue;
				reply.AddString("class", window->ClassName());
				reply.AddRect("frame", window->Frame());
				window->Unlock();
			}
			message->SendReply(&reply);
			break;
		}
		case kMsgReplicantDeleted: {
			void* pointer;
			if (message->FindPointer("window", &pointer) != B_OK)
				break;
			for (auto i = fWindows.begin(); i != fWindows.end(); i++) {
				if (*i != pointer)
					continue;
				ReplicantWindow* window = *i;
				fWindows.erase(i);
				if (window->Lock())
					window->Quit();
				_Save();
				break;
			}
			break;
		}
		case kMsgReplicantMoved:
			// The list is written when the moves have rested for a while.
			delete fSaveRunner;
			fSaveRunner
				= new BMessageRunner(BMessenger(this), BMessage(kMsgSaveMoved), kMovedSaveDelay, 1);
			break;
		case kMsgSaveMoved:
			delete fSaveRunner;
			fSaveRunner = NULL;
			_Save();
			break;
		default:
			BApplication::MessageReceived(message);
			break;
		}
	}

private:
	// Owns archive when it succeeds.
	status_t
	_Add(BMessage* archive, BPoint where)
	{
		bool unique = archive->GetBool("be:unique_replicant", false)
			|| archive->GetBool("be:load_each_time", false);
		for (ReplicantWindow* window : fWindows) {
			bool held = false;
			if (unique && window->Lock()) {
				held = window->Holds(archive);
				window->Unlock();
			}
			if (held) {
				fprintf(stderr, "Desktop: \"%s\" is on the desktop already\n",
					archive->GetString("class", ""));
				delete archive;
				return B_ERROR;
			}
		}

		ReplicantWindow* window = new ReplicantWindow(fNextId);
		window->Lock();
		status_t status = window->Add(archive, where);
		if (status != B_OK) {
			fprintf(stderr, "Desktop: the replicant \"%s\" cannot be made\n",
				archive->GetString("class", ""));
			delete archive;
			window->Quit();
			return status;
		}
		fNextId++;
		window->Show();
		window->Unlock();
		fWindows.push_back(window);
		return B_OK;
	}

	std::string
	_SettingsPath()
	{
		BPath path;
		if (find_directory(B_USER_SETTINGS_DIRECTORY, &path) != B_OK
			|| path.Append("Tracker/tracker_shelf") != B_OK)
			return std::string();
		return path.Path();
	}

	void
	_Load()
	{
		std::string path = _SettingsPath();
		int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
		if (fd < 0)
			return;
		std::string data;
		char chunk[4096];
		ssize_t length;
		while ((length = read(fd, chunk, sizeof(chunk))) > 0)
			data.append(chunk, (size_t)length);
		close(fd);
		BMessage archive;
		// A cut file must not be read past its end.
		if (data.empty()
			|| BMessage::Private(&archive).Unflatten(data.data(), data.size()) != B_OK) {
			if (!data.empty())
				fprintf(stderr, "Desktop: %s cannot be read\n", path.c_str());
			return;
		}
		BMessage record;
		for (int32 i = 0; archive.FindMessage("replicant", i, &record) == B_OK; i++) {
			BMessage* replicant = new BMessage;
			BPoint position;
			if (record.FindMessage("message", replicant) != B_OK
				|| record.FindPoint("position", &position) != B_OK) {
				delete replicant;
				continue;
			}
			_Add(replicant, position);
		}
	}

	// The file is written aside and renamed, so that a crash leaves the old one.
	void
	_Save()
	{
		// The desktop's shelf starts with the next session while it holds replicants.
		set_host_autostart(kDesktopShelfHostName, !fWindows.empty());
		BMessage archive;
		archive.AddString("class", "BShelf");
		archive.AddBool("_zom_dsp", true);
		archive.AddBool("_zom_alw", true);
		archive.AddInt32("_sg_cnt", (int32)fNextId);
		for (ReplicantWindow* window : fWindows) {
			BMessage record;
			bool recorded = false;
			if (window->Lock()) {
				recorded = window->Record(&record);
				window->Unlock();
			}
			if (recorded)
				archive.AddMessage("replicant", &record);
		}
		ssize_t size = archive.FlattenedSize();
		std::vector<char> data(size > 0 ? (size_t)size : 0);
		if (size <= 0 || archive.Flatten(data.data(), size) != B_OK)
			return;

		std::string path = _SettingsPath();
		if (path.empty())
			return;
		std::string folder = path.substr(0, path.rfind('/'));
		mkdir(folder.c_str(), 0700);
		std::string temporary = path + ".new";
		int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
		if (fd < 0) {
			fprintf(stderr, "Desktop: %s cannot be written\n", path.c_str());
			return;
		}
		bool written = write(fd, data.data(), data.size()) == (ssize_t)data.size();
		written = fsync(fd) == 0 && written;
		written = close(fd) == 0 && written;
		if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
			unlink(temporary.c_str());
			fprintf(stderr, "Desktop: %s cannot be written\n", path.c_str());
		}
	}

	MessageService fService;
	std::vector<ReplicantWindow*> fWindows;
	uint32 fNextId;
	BMessageRunner* fSaveRunner;
};


int
main()
{
	DesktopApp app;
	app.Run();
	return 0;
}
