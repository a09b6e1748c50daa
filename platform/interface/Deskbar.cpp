/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Deskbar.h>

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <AppPrivate.h>
#include <DeskbarPrivate.h>
#include <Entry.h>
#include <Errors.h>
#include <FindDirectory.h>
#include <Message.h>
#include <MessageService.h>
#include <Path.h>
#include <View.h>


const char* const BPrivate::kDeskbarService = "x-vnd.Be-TSKB";
const char* const BPrivate::kDeskbarHostName = "Deskbar";


namespace {


// Asks the Deskbar; B_BAD_PORT_ID when it does not run.
status_t
ask(BMessage* request, BMessage* reply)
{
	BMessage answer;
	status_t status = BPrivate::send_to_service(BPrivate::kDeskbarService, request, &answer);
	if (reply != NULL)
		*reply = answer;
	return status;
}


status_t
add_item(BMessage* request, int32* _id)
{
	status_t status = BPrivate::start_deskbar();
	if (status != B_OK)
		return status;
	BMessage reply;
	status = ask(request, &reply);
	if (status != B_OK)
		return status;
	// No answer (a Deskbar that quits, or a handler that took too long) added nothing.
	if (reply.what != B_REPLY)
		return B_ERROR;
	int32 error;
	if (reply.FindInt32("error", &error) == B_OK)
		return error;
	if (_id != NULL)
		return reply.FindInt32("id", _id);
	return B_OK;
}


} // namespace


status_t
BPrivate::start_deskbar(bigtime_t timeout)
{
	return start_service_host(kDeskbarHostName, kDeskbarService, timeout);
}


BDeskbar::BDeskbar() : fMessenger(NULL)
{
	memset(_reserved, 0, sizeof(_reserved));
}


BDeskbar::~BDeskbar() { }


bool
BDeskbar::IsRunning() const
{
	return BPrivate::service_is_running(BPrivate::kDeskbarService);
}


status_t
BDeskbar::GetItemInfo(int32 id, const char** _name) const
{
	if (_name == NULL)
		return B_BAD_VALUE;
	*_name = NULL;
	BMessage request(kMsgItemInfo);
	request.AddInt32("id", id);
	BMessage reply;
	status_t status = ask(&request, &reply);
	const char* name;
	if (status == B_OK)
		status = reply.FindString("name", &name);
	if (status == B_OK)
		*_name = strdup(name);
	return status;
}


status_t
BDeskbar::GetItemInfo(const char* name, int32* _id) const
{
	if (name == NULL || _id == NULL)
		return B_BAD_VALUE;
	BMessage request(kMsgItemInfo);
	request.AddString("name", name);
	BMessage reply;
	status_t status = ask(&request, &reply);
	if (status == B_OK)
		status = reply.FindInt32("id", _id);
	return status;
}


bool
BDeskbar::HasItem(int32 id) const
{
	BMessage request(kMsgItemExists);
	request.AddInt32("id", id);
	BMessage reply;
	bool exists = false;
	return ask(&request, &reply) == B_OK && reply.FindBool("exists", &exists) == B_OK && exists;
}


bool
BDeskbar::HasItem(const char* name) const
{
	if (name == NULL)
		return false;
	BMessage request(kMsgItemExists);
	request.AddString("name", name);
	BMessage reply;
	bool exists = false;
	return ask(&request, &reply) == B_OK && reply.FindBool("exists", &exists) == B_OK && exists;
}


uint32
BDeskbar::CountItems() const
{
	BMessage request(kMsgCountItems);
	BMessage reply;
	int32 count = 0;
	if (ask(&request, &reply) != B_OK || reply.FindInt32("count", &count) != B_OK)
		return 0;
	return static_cast<uint32>(count);
}


float
BDeskbar::MaxItemWidth() const
{
	BMessage request(kMsgMaxItemSize);
	BMessage reply;
	float width;
	if (ask(&request, &reply) != B_OK || reply.FindFloat("width", &width) != B_OK)
		return 129;
	return width;
}


float
BDeskbar::MaxItemHeight() const
{
	BMessage request(kMsgMaxItemSize);
	BMessage reply;
	float height;
	if (ask(&request, &reply) != B_OK || reply.FindFloat("height", &height) != B_OK)
		return 16;
	return height;
}


status_t
BDeskbar::AddItem(BView* view, int32* _id)
{
	if (view == NULL)
		return B_BAD_VALUE;
	BMessage archive;
	status_t status = view->Archive(&archive, true);
	if (status != B_OK)
		return status;
	BMessage request(kMsgAddView);
	request.AddMessage("view", &archive);
	return add_item(&request, _id);
}


status_t
BDeskbar::AddItem(entry_ref* addOn, int32* _id)
{
	if (addOn == NULL)
		return B_BAD_VALUE;
	BPath path;
	status_t status = path.SetTo(addOn);
	if (status != B_OK)
		return status;
	BMessage request(kMsgAddAddOn);
	request.AddRef("addon", addOn);
	// A reference means something only in the process that made it; the host goes by the path.
	request.AddString("be:path", path.Path());
	return add_item(&request, _id);
}


status_t
BDeskbar::RemoveItem(int32 id)
{
	BMessage request(kMsgRemoveItem);
	request.AddInt32("id", id);
	return ask(&request, NULL);
}


status_t
BDeskbar::RemoveItem(const char* name)
{
	if (name == NULL)
		return B_BAD_VALUE;
	BMessage request(kMsgRemoveItem);
	request.AddString("name", name);
	return ask(&request, NULL);
}
