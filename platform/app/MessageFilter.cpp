/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageFilter.h>


BMessageFilter::BMessageFilter(uint32 what, filter_hook function)
	: fFiltersAny(false), fWhat(what), fDelivery(B_ANY_DELIVERY), fSource(B_ANY_SOURCE),
	  fLooper(NULL), fFilterFunction(function)
{ }


BMessageFilter::BMessageFilter(
	message_delivery delivery, message_source source, filter_hook function)
	: fFiltersAny(true), fWhat(0), fDelivery(delivery), fSource(source), fLooper(NULL),
	  fFilterFunction(function)
{ }


BMessageFilter::BMessageFilter(
	message_delivery delivery, message_source source, uint32 what, filter_hook function)
	: fFiltersAny(false), fWhat(what), fDelivery(delivery), fSource(source), fLooper(NULL),
	  fFilterFunction(function)
{ }


BMessageFilter::BMessageFilter(const BMessageFilter& filter) : fLooper(NULL)
{
	*this = filter;
}


BMessageFilter::BMessageFilter(const BMessageFilter* filter)
	: fFiltersAny(true), fWhat(0), fDelivery(B_ANY_DELIVERY), fSource(B_ANY_SOURCE), fLooper(NULL),
	  fFilterFunction(NULL)
{
	if (filter != NULL)
		*this = *filter;
}


BMessageFilter::~BMessageFilter() { }


// A copy belongs to no looper.
BMessageFilter&
BMessageFilter::operator=(const BMessageFilter& from)
{
	fFiltersAny = from.fFiltersAny;
	fWhat = from.fWhat;
	fDelivery = from.fDelivery;
	fSource = from.fSource;
	fFilterFunction = from.fFilterFunction;
	return *this;
}


filter_result
BMessageFilter::Filter(BMessage*, BHandler**)
{
	return B_DISPATCH_MESSAGE;
}


message_delivery
BMessageFilter::MessageDelivery() const
{
	return fDelivery;
}


message_source
BMessageFilter::MessageSource() const
{
	return fSource;
}


uint32
BMessageFilter::Command() const
{
	return fWhat;
}


bool
BMessageFilter::FiltersAnyCommand() const
{
	return fFiltersAny;
}


BLooper*
BMessageFilter::Looper() const
{
	return fLooper;
}


void
BMessageFilter::_SetLooper(BLooper* owner)
{
	fLooper = owner;
}


filter_hook
BMessageFilter::_FilterFunction() const
{
	return fFilterFunction;
}
