/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _INVOKER_H
#define _INVOKER_H


#include <Messenger.h>


class BHandler;
class BLooper;
class BMessage;


// Something that sends a message to a target when it is used. The invoker owns its message.
class BInvoker {
public:
	BInvoker();
	BInvoker(BMessage* message, const BHandler* handler, const BLooper* looper = NULL);
	BInvoker(BMessage* message, BMessenger target);
	virtual ~BInvoker();

	virtual status_t SetMessage(BMessage* message);
	BMessage* Message() const;
	uint32 Command() const;

	virtual status_t SetTarget(const BHandler* handler, const BLooper* looper = NULL);
	virtual status_t SetTarget(BMessenger messenger);
	bool IsTargetLocal() const;
	BHandler* Target(BLooper** _looper = NULL) const;
	BMessenger Messenger() const;

	virtual status_t SetHandlerForReply(BHandler* handler);
	BHandler* HandlerForReply() const;

	virtual status_t Invoke(BMessage* message = NULL);
	status_t InvokeNotify(BMessage* message, uint32 kind = B_CONTROL_INVOKED);
	status_t SetTimeout(bigtime_t timeout);
	bigtime_t Timeout() const;

private:
	BInvoker(const BInvoker&);
	BInvoker& operator=(const BInvoker&);

	BMessage* fMessage;
	BMessenger fMessenger;
	BHandler* fReplyTo;
	bigtime_t fTimeout;
};


#endif // _INVOKER_H
