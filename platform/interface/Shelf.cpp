/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Shelf.h>

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <AppDefs.h>
#include <DataIO.h>
#include <Entry.h>
#include <File.h>
#include <Looper.h>
#include <Message.h>
#include <MessageFilter.h>
#include <Messenger.h>
#include <Path.h>
#include <View.h>
#include <Window.h>

#include "MessagePrivate.h"
#include "ShelfPrivate.h"


// Sent to a replicant view to delete it; the shelf's filter on the view passes it on to the
// shelf with "_target".
static const uint32 kDeleteReplicant = 'JAHA';


namespace BPrivate {


struct replicant_data {
	// The archive the replicant was made from; the shelf owns it.
	BMessage* message = NULL;
	// What was added to the container: the replicant, and with a sibling relation its
	// dragger as well
	BView* view = NULL;
	BDragger* dragger = NULL;
	int32 relation = 0;
	uint32 id = 0;
	ReplicantViewFilter* filter = NULL;
};


// Takes dropped archives on the container.
class ShelfContainerViewFilter : public BMessageFilter {
public:
	ShelfContainerViewFilter(BShelf* shelf)
		: BMessageFilter(B_DROPPED_DELIVERY, B_ANY_SOURCE, B_ARCHIVED_OBJECT), fShelf(shelf)
	{ }

	virtual filter_result
	Filter(BMessage* message, BHandler**)
	{
		// A shelf that takes no drags swallows them.
		if (!fShelf->fAllowDragging)
			return B_SKIP_MESSAGE;
		BPoint offset;
		BPoint point = message->DropPoint(&offset) - offset;
		point = fShelf->fContainerView->ConvertFromScreen(point);
		BMessage* archive = new BMessage(*message);
		archive->RemoveName("_drop_point_");
		archive->RemoveName("_drop_offset_");
		if (fShelf->_AddReplicant(archive, &point, fShelf->fGenCount++) != B_OK)
			delete archive;
		return B_SKIP_MESSAGE;
	}

private:
	BShelf* fShelf;
};


// Passes a replicant's request to go ('JAHA') on to its shelf.
class ReplicantViewFilter : public BMessageFilter {
public:
	ReplicantViewFilter(BShelf* shelf, BView* view)
		: BMessageFilter(kDeleteReplicant), fShelf(shelf), fView(view)
	{ }

	virtual filter_result
	Filter(BMessage*, BHandler**)
	{
		BMessage request(kDeleteReplicant);
		request.AddPointer("_target", fView);
		if (fShelf->Looper() != NULL)
			BMessenger(fShelf).SendMessage(&request);
		return B_SKIP_MESSAGE;
	}

private:
	BShelf* fShelf;
	BView* fView;
};


void
set_shelf_moves_window(BShelf* shelf, bool movesWindow)
{
	shelf->fMovesWindow = movesWindow;
}


bool
shelf_moves_window(const BShelf* shelf)
{
	return shelf != NULL && shelf->fMovesWindow;
}


} // namespace BPrivate


using BPrivate::replicant_data;


// All of a stream, read until its end
static bool
read_all(BDataIO* stream, std::string* data)
{
	char chunk[4096];
	for (;;) {
		ssize_t length = stream->Read(chunk, sizeof(chunk));
		if (length < 0)
			return false;
		if (length == 0)
			return true;
		data->append(chunk, (size_t)length);
	}
}


static bool
same_string(const BMessage* a, const BMessage* b, const char* name)
{
	const char* first = NULL;
	const char* second = NULL;
	bool hasFirst = a->FindString(name, &first) == B_OK;
	bool hasSecond = b->FindString(name, &second) == B_OK;
	if (hasFirst != hasSecond)
		return false;
	return !hasFirst || strcmp(first, second) == 0;
}


//	#pragma mark - BShelf


BShelf::BShelf(BView* view, bool allowDrags, const char* shelfType) : BHandler(shelfType)
{
	_InitData(NULL, NULL, view, allowDrags);
}


BShelf::BShelf(const entry_ref* ref, BView* view, bool allowDrags, const char* shelfType)
	: BHandler(shelfType)
{
	BPath path(ref);
	_InitData(path.InitCheck() == B_OK ? path.Path() : NULL, NULL, view, allowDrags);
}


BShelf::BShelf(BDataIO* stream, BView* view, bool allowDrags, const char* shelfType)
	: BHandler(shelfType)
{
	_InitData(NULL, stream, view, allowDrags);
}


BShelf::~BShelf()
{
	Save();
	if (fContainerView != NULL && fFilter != NULL)
		fContainerView->RemoveFilter(fFilter);
	delete fFilter;
	for (int32 i = 0; i < fReplicants.CountItems(); i++) {
		replicant_data* data = static_cast<replicant_data*>(fReplicants.ItemAt(i));
		if (data->filter != NULL) {
			data->view->RemoveFilter(data->filter);
			delete data->filter;
		}
		if (data->dragger != NULL)
			data->dragger->_SetShelf(NULL);
		delete data->message;
		delete data;
	}
	if (Looper() != NULL)
		Looper()->RemoveHandler(this);
}


void
BShelf::_InitData(const char* path, BDataIO* stream, BView* view, bool allowDrags)
{
	fContainerView = view;
	fStream = stream;
	fPath = path;
	fFilter = NULL;
	fGenCount = 1;
	fAllowDragging = allowDrags;
	fDirty = true;
	fDisplayZombies = false;
	fAllowZombies = true;
	fTypeEnforced = false;
	fMovesWindow = false;
	if (fContainerView == NULL)
		return;

	fFilter = new BPrivate::ShelfContainerViewFilter(this);
	fContainerView->AddFilter(fFilter);
	_JoinLooper();

	if (fStream != NULL)
		_Load(fStream);
	else if (fPath.Length() > 0) {
		BFile file(fPath.String(), B_READ_ONLY);
		if (file.InitCheck() == B_OK)
			_Load(&file);
	}
	fDirty = false;
}


// The shelf handles messages in its container's window.
void
BShelf::_JoinLooper()
{
	if (Looper() != NULL || fContainerView == NULL || fContainerView->Window() == NULL)
		return;
	fContainerView->Window()->AddHandler(this);
}


void
BShelf::_Load(BDataIO* stream)
{
	std::string data;
	if (!read_all(stream, &data) || data.empty())
		return;
	// A cut file must not be read past its end.
	BMessage archive;
	if (BMessage::Private(&archive).Unflatten(data.data(), data.size()) != B_OK) {
		fprintf(stderr, "BShelf: the saved replicants cannot be read\n");
		return;
	}
	bool value;
	if (archive.FindBool("_zom_dsp", &value) == B_OK)
		fDisplayZombies = value;
	if (archive.FindBool("_zom_alw", &value) == B_OK)
		fAllowZombies = value;

	BMessage record;
	for (int32 i = 0; archive.FindMessage("replicant", i, &record) == B_OK; i++) {
		BMessage* message = new BMessage;
		BPoint position;
		if (record.FindMessage("message", message) != B_OK
			|| record.FindPoint("position", &position) != B_OK
			|| _AddReplicant(message, &position, fGenCount++) != B_OK)
			delete message;
	}
}


void
BShelf::MessageReceived(BMessage* message)
{
	if (message->what == kDeleteReplicant) {
		void* target;
		if (message->FindPointer("_target", &target) == B_OK)
			DeleteReplicant(static_cast<BView*>(target));
		return;
	}
	BHandler::MessageReceived(message);
}


status_t
BShelf::_Archive(BMessage* data) const
{
	status_t status = data->AddString("class", "BShelf");
	if (status == B_OK)
		status = data->AddBool("_zom_dsp", fDisplayZombies);
	if (status == B_OK)
		status = data->AddBool("_zom_alw", fAllowZombies);
	if (status == B_OK)
		status = data->AddInt32("_sg_cnt", (int32)fGenCount);

	for (int32 i = 0; i < fReplicants.CountItems() && status == B_OK; i++) {
		replicant_data* replicant = static_cast<replicant_data*>(fReplicants.ItemAt(i));
		// What the replicant is now, or what it was made from if it cannot say
		BMessage fresh;
		bool archived = replicant->view->Archive(&fresh) == B_OK;
		if (archived && replicant->relation == BDragger::TARGET_IS_SIBLING
			&& replicant->dragger != NULL) {
			BMessage widget;
			archived = replicant->dragger->Archive(&widget) == B_OK
				&& fresh.AddMessage("__widget", &widget) == B_OK;
		}
		BMessage record(B_ARCHIVED_OBJECT);
		record.AddInt32("uniqueid", (int32)replicant->id);
		record.AddMessage("message", archived ? &fresh : replicant->message);
		record.AddPoint("position", replicant->view->Frame().LeftTop());
		status = data->AddMessage("replicant", &record);
	}
	return status;
}


status_t
BShelf::Save()
{
	if (fStream == NULL && fPath.Length() == 0)
		return B_ERROR;
	BMessage archive;
	status_t status = _Archive(&archive);
	if (status != B_OK)
		return status;
	ssize_t size = archive.FlattenedSize();
	if (size <= 0)
		return B_ERROR;
	std::vector<char> data((size_t)size);
	status = archive.Flatten(data.data(), size);
	if (status != B_OK)
		return status;

	if (fStream != NULL) {
		BPositionIO* positioned = dynamic_cast<BPositionIO*>(fStream);
		if (positioned != NULL) {
			positioned->Seek(0, SEEK_SET);
			positioned->SetSize(0);
		}
		if (fStream->Write(data.data(), data.size()) != (ssize_t)data.size())
			return B_ERROR;
	} else {
		// The file is replaced whole (written aside and renamed, so that a crash leaves the
		// old one), but not made when it is missing.
		if (access(fPath.String(), F_OK) != 0)
			return B_ENTRY_NOT_FOUND;
		std::string temporary = std::string(fPath.String()) + ".new";
		int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
		if (fd < 0)
			return B_ERROR;
		bool written = write(fd, data.data(), data.size()) == (ssize_t)data.size();
		written = fsync(fd) == 0 && written;
		written = close(fd) == 0 && written;
		if (!written || rename(temporary.c_str(), fPath.String()) != 0) {
			unlink(temporary.c_str());
			return B_ERROR;
		}
	}
	fDirty = false;
	return B_OK;
}


void
BShelf::SetDirty(bool state)
{
	fDirty = state;
}


bool
BShelf::IsDirty() const
{
	return fDirty;
}


bool
BShelf::AllowsDragging() const
{
	return fAllowDragging;
}


void
BShelf::SetAllowsDragging(bool state)
{
	fAllowDragging = state;
	for (int32 i = 0; i < fReplicants.CountItems(); i++) {
		replicant_data* replicant = static_cast<replicant_data*>(fReplicants.ItemAt(i));
		if (replicant->dragger != NULL)
			replicant->dragger->_SetShelf(this);
	}
}


bool
BShelf::AllowsZombies() const
{
	return fAllowZombies;
}


void
BShelf::SetAllowsZombies(bool state)
{
	fAllowZombies = state;
}


bool
BShelf::DisplaysZombies() const
{
	return fDisplayZombies;
}


void
BShelf::SetDisplaysZombies(bool state)
{
	fDisplayZombies = state;
}


bool
BShelf::IsTypeEnforced() const
{
	return fTypeEnforced;
}


void
BShelf::SetTypeEnforced(bool state)
{
	fTypeEnforced = state;
}


status_t
BShelf::SetSaveLocation(BDataIO* stream)
{
	fStream = stream;
	fPath = "";
	SetDirty(true);
	return B_OK;
}


status_t
BShelf::SetSaveLocation(const entry_ref* ref)
{
	BPath path(ref);
	if (path.InitCheck() != B_OK)
		return path.InitCheck();
	fPath = path.Path();
	fStream = NULL;
	SetDirty(true);
	return B_OK;
}


BDataIO*
BShelf::SaveLocation(entry_ref* ref) const
{
	if (ref != NULL) {
		*ref = entry_ref();
		if (fPath.Length() > 0)
			get_ref_for_path(fPath.String(), ref);
	}
	return fStream;
}


status_t
BShelf::AddReplicant(BMessage* archive, BPoint location)
{
	return _AddReplicant(archive, &location, fGenCount++);
}


status_t
BShelf::_AddReplicant(BMessage* data, BPoint* location, uint32 uniqueID)
{
	if (data == NULL || fContainerView == NULL)
		return B_ERROR;
	const char* className = NULL;
	data->FindString("class", &className);

	// With its type enforced the shelf takes what was made for it only.
	if (fTypeEnforced) {
		const char* type = NULL;
		if (Name() == NULL || data->FindString("shelf_type", &type) != B_OK
			|| strcmp(type, Name()) != 0)
			return B_ERROR;
	}
	if (!CanAcceptReplicantMessage(data))
		return B_ERROR;

	// A replicant that wants to be alone is refused when one of its kind is there.
	if (data->GetBool("be:load_each_time", false) || data->GetBool("be:unique_replicant", false)) {
		for (int32 i = 0; i < fReplicants.CountItems(); i++) {
			replicant_data* other = static_cast<replicant_data*>(fReplicants.ItemAt(i));
			if (same_string(data, other->message, "class")
				&& same_string(data, other->message, "add_on")) {
				fprintf(stderr, "BShelf: \"%s\" is there already\n",
					className != NULL ? className : "");
				return B_ERROR;
			}
		}
	}

	BArchivable* object = instantiate_object(data);
	BView* view = dynamic_cast<BView*>(object);
	if (view == NULL) {
		delete object;
		fprintf(stderr, "BShelf: the replicant \"%s\" cannot be made\n",
			className != NULL ? className : "");
		return B_ERROR;
	}

	BDragger* dragger = NULL;
	int32 relation;
	BMessage widget;
	if (data->FindMessage("__widget", &widget) == B_OK) {
		relation = BDragger::TARGET_IS_SIBLING;
		BArchivable* widgetObject = instantiate_object(&widget);
		dragger = dynamic_cast<BDragger*>(widgetObject);
		if (dragger == NULL) {
			delete widgetObject;
			delete view;
			return B_ERROR;
		}
		dragger->fTarget = view;
	} else if ((dragger = dynamic_cast<BDragger*>(view)) != NULL)
		relation = BDragger::TARGET_IS_CHILD;
	else {
		relation = BDragger::TARGET_IS_PARENT;
		dragger = dynamic_cast<BDragger*>(view->FindView("_dragger_"));
	}

	BRect frame = view->Frame();
	if (!CanAcceptReplicantView(frame, view, data)) {
		if (relation == BDragger::TARGET_IS_SIBLING)
			delete dragger;
		delete view;
		return B_ERROR;
	}

	BPoint where = *location + AdjustReplicantBy(frame, data);
	BPoint moved = where - frame.LeftTop();
	view->MoveTo(where);
	fContainerView->AddChild(view);
	if (relation == BDragger::TARGET_IS_SIBLING) {
		dragger->MoveBy(moved.x, moved.y);
		fContainerView->AddChild(dragger);
	}
	_JoinLooper();

	replicant_data* replicant = new replicant_data;
	replicant->message = data;
	replicant->view = view;
	replicant->dragger = dragger;
	replicant->relation = relation;
	replicant->id = uniqueID;
	replicant->filter = new BPrivate::ReplicantViewFilter(this, view);
	view->AddFilter(replicant->filter);
	fReplicants.AddItem(replicant);
	if (dragger != NULL)
		dragger->_SetShelf(this);
	SetDirty(true);
	return B_OK;
}


status_t
BShelf::DeleteReplicant(BView* replicant)
{
	int32 index = IndexOf(replicant);
	if (index < 0)
		return B_BAD_VALUE;
	return _DeleteReplicant(static_cast<replicant_data*>(fReplicants.ItemAt(index)));
}


status_t
BShelf::DeleteReplicant(BMessage* archive)
{
	int32 index = IndexOf(archive);
	if (index < 0)
		return B_BAD_VALUE;
	return _DeleteReplicant(static_cast<replicant_data*>(fReplicants.ItemAt(index)));
}


status_t
BShelf::DeleteReplicant(int32 index)
{
	replicant_data* replicant = static_cast<replicant_data*>(fReplicants.ItemAt(index));
	if (replicant == NULL)
		return B_BAD_INDEX;
	return _DeleteReplicant(replicant);
}


status_t
BShelf::_DeleteReplicant(replicant_data* replicant)
{
	int32 index = fReplicants.IndexOf(replicant);
	if (index < 0)
		return B_BAD_VALUE;
	fReplicants.RemoveItem(index);

	BView* view = replicant->view;
	view->RemoveFilter(replicant->filter);
	delete replicant->filter;
	view->RemoveSelf();
	if (replicant->relation == BDragger::TARGET_IS_SIBLING && replicant->dragger != NULL)
		replicant->dragger->RemoveSelf();
	ReplicantDeleted(index, replicant->message, view);
	if (replicant->relation == BDragger::TARGET_IS_SIBLING)
		delete replicant->dragger;
	delete view;
	delete replicant->message;
	delete replicant;
	SetDirty(true);
	return B_OK;
}


int32
BShelf::CountReplicants() const
{
	return fReplicants.CountItems();
}


BMessage*
BShelf::ReplicantAt(int32 index, BView** _view, uint32* _uid, status_t* _error) const
{
	replicant_data* replicant = static_cast<replicant_data*>(fReplicants.ItemAt(index));
	if (replicant == NULL) {
		if (_view != NULL)
			*_view = NULL;
		if (_uid != NULL)
			*_uid = ~(uint32)0;
		if (_error != NULL)
			*_error = B_BAD_INDEX;
		return NULL;
	}
	if (_view != NULL)
		*_view = replicant->view;
	if (_uid != NULL)
		*_uid = replicant->id;
	if (_error != NULL)
		*_error = B_OK;
	return replicant->message;
}


int32
BShelf::IndexOf(const BView* replicantView) const
{
	for (int32 i = 0; i < fReplicants.CountItems(); i++) {
		if (static_cast<replicant_data*>(fReplicants.ItemAt(i))->view == replicantView)
			return i;
	}
	return -1;
}


int32
BShelf::IndexOf(const BMessage* archive) const
{
	for (int32 i = 0; i < fReplicants.CountItems(); i++) {
		if (static_cast<replicant_data*>(fReplicants.ItemAt(i))->message == archive)
			return i;
	}
	return -1;
}


int32
BShelf::IndexOf(uint32 id) const
{
	for (int32 i = 0; i < fReplicants.CountItems(); i++) {
		if (static_cast<replicant_data*>(fReplicants.ItemAt(i))->id == id)
			return i;
	}
	return -1;
}


bool
BShelf::CanAcceptReplicantMessage(BMessage*) const
{
	return true;
}


bool
BShelf::CanAcceptReplicantView(BRect, BView*, BMessage*) const
{
	return true;
}


BPoint
BShelf::AdjustReplicantBy(BRect, BMessage*) const
{
	return BPoint(0, 0);
}


void
BShelf::ReplicantDeleted(int32, const BMessage*, const BView*)
{ }
