/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// BLooper: the message filters that see each message before its handler does.


#include <Looper.h>

#include <List.h>
#include <Message.h>
#include <MessageFilter.h>


void
BLooper::AddCommonFilter(BMessageFilter* filter)
{
	if (filter == NULL || !IsLocked())
		return;
	if (filter->Looper() != NULL)
		return;

	if (fCommonFilters == NULL)
		fCommonFilters = new BList;
	filter->_SetLooper(this);
	fCommonFilters->AddItem(filter);
}


bool
BLooper::RemoveCommonFilter(BMessageFilter* filter)
{
	if (fCommonFilters == NULL || !IsLocked())
		return false;
	if (!fCommonFilters->RemoveItem(filter))
		return false;
	filter->_SetLooper(NULL);
	return true;
}


void
BLooper::SetCommonFilterList(BList* filters)
{
	if (!IsLocked())
		return;

	if (fCommonFilters != NULL) {
		for (int32 i = 0; i < fCommonFilters->CountItems(); i++)
			delete static_cast<BMessageFilter*>(fCommonFilters->ItemAt(i));
		delete fCommonFilters;
	}
	fCommonFilters = filters;
	if (fCommonFilters != NULL) {
		for (int32 i = 0; i < fCommonFilters->CountItems(); i++)
			static_cast<BMessageFilter*>(fCommonFilters->ItemAt(i))->_SetLooper(this);
	}
}


BList*
BLooper::CommonFilterList() const
{
	return fCommonFilters;
}


BHandler*
BLooper::_TopLevelFilter(BMessage* message, BHandler* target)
{
	target = _ApplyFilters(fCommonFilters, message, target);
	if (target == NULL || target->Looper() != this)
		return NULL;
	return _HandlerFilter(message, target);
}


// The target's filters may name another target, whose filters then run too.
BHandler*
BLooper::_HandlerFilter(BMessage* message, BHandler* target)
{
	BHandler* previous = NULL;
	while (target != NULL && target != previous) {
		previous = target;
		target = _ApplyFilters(target->FilterList(), message, target);
		if (target != NULL && target->Looper() != this)
			return NULL;
	}
	return target;
}


BHandler*
BLooper::_ApplyFilters(BList* filters, BMessage* message, BHandler* target)
{
	if (filters == NULL)
		return target;

	for (int32 i = 0; i < filters->CountItems(); i++) {
		BMessageFilter* filter = static_cast<BMessageFilter*>(filters->ItemAt(i));
		if (!filter->FiltersAnyCommand() && filter->Command() != message->what)
			continue;

		message_delivery delivery = filter->MessageDelivery();
		bool dropped = message->WasDropped();
		if ((delivery == B_DROPPED_DELIVERY && !dropped)
			|| (delivery == B_PROGRAMMED_DELIVERY && dropped))
			continue;
		// Every message comes from this process.
		if (filter->MessageSource() == B_REMOTE_SOURCE)
			continue;

		filter_hook function = filter->_FilterFunction();
		filter_result result = function != NULL ? function(message, &target, filter)
												: filter->Filter(message, &target);
		if (result != B_DISPATCH_MESSAGE || target == NULL)
			return NULL;
	}
	return target;
}
