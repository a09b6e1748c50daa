/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Handler.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <List.h>
#include <Looper.h>
#include <Message.h>
#include <MessageFilter.h>

#include <LooperRegistry.h>


using BPrivate::LooperInfo;
using BPrivate::LooperRegistry;


BHandler::BHandler(const char* name)
	: BArchivable(), fToken(B_NULL_TOKEN), fName(NULL), fLooper(NULL), fNextHandler(NULL),
	  fFilters(NULL)
{
	_InitData(name);
}


BHandler::BHandler(BMessage* archive)
	: BArchivable(archive), fToken(B_NULL_TOKEN), fName(NULL), fLooper(NULL), fNextHandler(NULL),
	  fFilters(NULL)
{
	const char* name = NULL;
	if (archive != NULL)
		archive->FindString("_name", &name);
	_InitData(name);
}


BHandler::~BHandler()
{
	// A handler that still belongs to a looper leaves it first.
	if (LockLooper()) {
		BLooper* looper = Looper();
		looper->RemoveHandler(this);
		looper->Unlock();
	}

	if (fFilters != NULL) {
		for (int32 i = 0; i < fFilters->CountItems(); i++)
			delete static_cast<BMessageFilter*>(fFilters->ItemAt(i));
		delete fFilters;
	}

	LooperRegistry::Default().RemoveHandler(fToken);
	free(fName);
}


void
BHandler::_InitData(const char* name)
{
	SetName(name);
	fToken = LooperRegistry::Default().AddHandler(this);
}


status_t
BHandler::Archive(BMessage* data, bool deep) const
{
	status_t status = BArchivable::Archive(data, deep);
	if (status != B_OK)
		return status;
	if (fName != NULL)
		status = data->AddString("_name", fName);
	return status;
}


BArchivable*
BHandler::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "BHandler"))
		return NULL;
	return new BHandler(archive);
}


void
BHandler::MessageReceived(BMessage* message)
{
	if (fNextHandler == NULL)
		return;

	// The next handler's filters see the message first.
	BHandler* target = fNextHandler;
	if (fLooper != NULL)
		target = fLooper->_HandlerFilter(message, target);
	if (target != NULL && target != this)
		target->MessageReceived(message);
}


BLooper*
BHandler::Looper() const
{
	return fLooper;
}


void
BHandler::SetName(const char* name)
{
	char* copy = name != NULL ? strdup(name) : NULL;
	free(fName);
	fName = copy;
}


const char*
BHandler::Name() const
{
	return fName;
}


void
BHandler::SetNextHandler(BHandler* handler)
{
	if (fLooper == NULL) {
		fprintf(stderr, "BHandler::SetNextHandler(): the handler must belong to a looper\n");
		return;
	}
	if (!fLooper->IsLocked()) {
		fprintf(stderr, "BHandler::SetNextHandler(): the looper must be locked\n");
		return;
	}
	if (handler != NULL && handler->Looper() != fLooper) {
		fprintf(stderr, "BHandler::SetNextHandler(): the handlers must share their looper\n");
		return;
	}
	// A chain that comes back to this handler would pass a message round for ever.
	for (BHandler* next = handler; next != NULL; next = next->fNextHandler) {
		if (next == this) {
			fprintf(stderr, "BHandler::SetNextHandler(): that would close a loop\n");
			return;
		}
	}

	fNextHandler = handler;
}


BHandler*
BHandler::NextHandler() const
{
	return fNextHandler;
}


void
BHandler::AddFilter(BMessageFilter* filter)
{
	if (filter == NULL)
		return;
	if (fLooper != NULL && !fLooper->IsLocked()) {
		fprintf(stderr, "BHandler::AddFilter(): the looper must be locked\n");
		return;
	}

	if (fFilters == NULL)
		fFilters = new BList;
	fFilters->AddItem(filter);
	filter->_SetLooper(fLooper);
}


bool
BHandler::RemoveFilter(BMessageFilter* filter)
{
	if (fLooper != NULL && !fLooper->IsLocked())
		return false;
	if (fFilters == NULL || !fFilters->RemoveItem(filter))
		return false;

	filter->_SetLooper(NULL);
	return true;
}


void
BHandler::SetFilterList(BList* filters)
{
	if (fLooper != NULL && !fLooper->IsLocked())
		return;

	if (fFilters != NULL) {
		for (int32 i = 0; i < fFilters->CountItems(); i++)
			delete static_cast<BMessageFilter*>(fFilters->ItemAt(i));
		delete fFilters;
	}
	fFilters = filters;
	if (fFilters != NULL) {
		for (int32 i = 0; i < fFilters->CountItems(); i++)
			static_cast<BMessageFilter*>(fFilters->ItemAt(i))->_SetLooper(fLooper);
	}
}


BList*
BHandler::FilterList()
{
	return fFilters;
}


bool
BHandler::LockLooper()
{
	return LockLooperWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}


// The looper is found and locked through the registry, then checked again: the handler may
// have moved to another looper meanwhile.
status_t
BHandler::LockLooperWithTimeout(bigtime_t timeout)
{
	LooperRegistry& registry = LooperRegistry::Default();
	int32 looperToken = registry.LooperOf(fToken);
	LooperInfo info;
	if (looperToken < 0 || !registry.GetLooper(looperToken, &info))
		return B_BAD_VALUE;

	status_t status = info.lock->Acquire(timeout);
	if (status != B_OK)
		return status;

	if (registry.LooperOf(fToken) != looperToken) {
		info.lock->Release();
		return B_MISMATCHED_VALUES;
	}
	return B_OK;
}


void
BHandler::UnlockLooper()
{
	BLooper* looper = Looper();
	if (looper != NULL)
		looper->Unlock();
}


void
BHandler::_SetLooper(BLooper* looper)
{
	fLooper = looper;
	LooperRegistry::Default().SetHandlerLooper(
		fToken, looper != NULL ? looper->fToken : B_NULL_TOKEN);

	if (fFilters != NULL) {
		for (int32 i = 0; i < fFilters->CountItems(); i++)
			static_cast<BMessageFilter*>(fFilters->ItemAt(i))->_SetLooper(looper);
	}
}
