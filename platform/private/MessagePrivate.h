/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_PRIVATE_H
#define _MESSAGE_PRIVATE_H


#include <Handler.h>
#include <Message.h>
#include <Messenger.h>

#include <TokenSpace.h>

#include <condition_variable>
#include <memory>
#include <mutex>


namespace BPrivate {


// Where a sender that waits for a synchronous reply receives it. The slot is shared by the
// waiting sender and the message in flight, so either may go first.
class ReplySlot {
public:
	ReplySlot();
	~ReplySlot();

	// Hands the reply over (the slot takes it). False when the sender has stopped waiting or
	// already has a reply; the reply is deleted then.
	bool Deposit(BMessage* reply);
	// Waits up to timeout for the reply and takes it: NULL on timeout, after which the slot
	// accepts nothing more.
	BMessage* Wait(bigtime_t timeout);

private:
	std::mutex fLock;
	std::condition_variable fCondition;
	BMessage* fReply;
	bool fReplied;
	bool fAbandoned;
};


} // namespace BPrivate


// How a message travels: attached to the copy that a send puts into a looper's queue.
struct BMessage::DeliveryInfo {
	DeliveryInfo();
	~DeliveryInfo();

	// The handler token the message is for, or B_PREFERRED_TOKEN
	int32 target;
	// Where asynchronous replies go (invalid: to the application)
	BMessenger replyTo;
	// Set while a sender waits for a synchronous reply
	std::shared_ptr<BPrivate::ReplySlot> replySlot;
	// For an asynchronous reply: a copy of the message it answers
	BMessage* previous;
	bool delivered;
	bool isReply;
	bool replyDone;
};


class BMessage::Private {
public:
	Private(BMessage* message) : fMessage(message) { }

	DeliveryInfo* Delivery(bool create);
	// Prepares a copy for its queue; false when out of memory
	bool SetDelivery(int32 target, const BMessenger& replyTo, bool isReply,
		const BMessage* previous, const std::shared_ptr<BPrivate::ReplySlot>& replySlot);
	// Hands the delivery information over to another message (the caller's reply)
	void MoveDeliveryTo(BMessage* other);
	// Drops the waiting sender without answering it, for a message that never left.
	void ForgetReplySlot();
	void SetDelivered();
	// Flags the message as dropped by the user (WasDropped()).
	void SetWasDropped(bool dropped);
	int32 Target() const;
	// Unflattens a message from a buffer of size bytes (a file, a socket), which may hold
	// more after it: a header that claims more than the buffer holds is refused.
	status_t Unflatten(const char* buffer, size_t size);

	// Replies to the message: straight to a waiting sender, else to its reply address (or the
	// application). With replyToReply, waits up to replyTimeout for the answer to the reply.
	status_t SendReply(BMessage* reply, const BMessenger& replyTo, bigtime_t sendTimeout,
		BMessage* replyToReply, bigtime_t replyTimeout);

	// Waits for the reply in slot and puts it into reply: B_OK (the reply may be B_NO_REPLY
	// when the message was deleted unanswered) or B_TIMED_OUT with a B_NO_REPLY reply.
	static status_t WaitForReply(
		const std::shared_ptr<BPrivate::ReplySlot>& slot, BMessage* reply, bigtime_t timeout);

private:
	BMessage* fMessage;
};


#endif // _MESSAGE_PRIVATE_H
