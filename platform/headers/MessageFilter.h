/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_FILTER_H
#define _MESSAGE_FILTER_H


#include <Handler.h>


class BLooper;
class BMessage;
class BMessageFilter;


enum filter_result { B_SKIP_MESSAGE, B_DISPATCH_MESSAGE };

typedef filter_result (*filter_hook)(BMessage* message, BHandler** target, BMessageFilter* filter);

enum message_delivery { B_ANY_DELIVERY, B_DROPPED_DELIVERY, B_PROGRAMMED_DELIVERY };

enum message_source { B_ANY_SOURCE, B_REMOTE_SOURCE, B_LOCAL_SOURCE };


// Looks at a message before its handler does: a looper applies its common filters, then the
// target handler's filters. A filter may change the target or skip the message.
class BMessageFilter {
public:
	BMessageFilter(uint32 what, filter_hook function = NULL);
	BMessageFilter(message_delivery delivery, message_source source, filter_hook function = NULL);
	BMessageFilter(
		message_delivery delivery, message_source source, uint32 what, filter_hook function = NULL);
	BMessageFilter(const BMessageFilter& filter);
	BMessageFilter(const BMessageFilter* filter);
	virtual ~BMessageFilter();

	BMessageFilter& operator=(const BMessageFilter& from);

	// Hook, called when no filter function was given: the default dispatches the message.
	virtual filter_result Filter(BMessage* message, BHandler** target);

	message_delivery MessageDelivery() const;
	message_source MessageSource() const;
	uint32 Command() const;
	bool FiltersAnyCommand() const;
	BLooper* Looper() const;

private:
	friend class BLooper;
	friend class BHandler;

	void _SetLooper(BLooper* owner);
	filter_hook _FilterFunction() const;

	bool fFiltersAny;
	uint32 fWhat;
	message_delivery fDelivery;
	message_source fSource;
	BLooper* fLooper;
	filter_hook fFilterFunction;
};


#endif // _MESSAGE_FILTER_H
