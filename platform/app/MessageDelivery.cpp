/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// BMessage's delivery: what a message knows about how it travelled, and replies.


#include <Message.h>

#include <unistd.h>

#include <new>

#include <AppDefs.h>
#include <Messenger.h>

#include <LooperRegistry.h>
#include <MessagePrivate.h>
#include <MessengerPrivate.h>


using BPrivate::ReplySlot;


// Where replies without an address go: the application's looper, as be_app_messenger on Haiku
static BMessenger
app_messenger()
{
	BMessenger messenger;
	BPrivate::AppInfo app;
	if (BPrivate::LooperRegistry::Default().GetApp(NULL, &app))
		BMessenger::Private(&messenger).SetTo(app.looper, B_PREFERRED_TOKEN, getpid());
	return messenger;
}


//	#pragma mark - ReplySlot


ReplySlot::ReplySlot() : fReply(NULL), fReplied(false), fAbandoned(false) { }


ReplySlot::~ReplySlot()
{
	delete fReply;
}


bool
ReplySlot::Deposit(BMessage* reply)
{
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (!fReplied && !fAbandoned) {
			fReply = reply;
			fReplied = true;
			reply = NULL;
		}
	}

	if (reply != NULL) {
		// Nobody takes it; deleting it answers a reply it waits for itself.
		delete reply;
		return false;
	}
	fCondition.notify_all();
	return true;
}


BMessage*
ReplySlot::Wait(bigtime_t timeout)
{
	std::unique_lock<std::mutex> lock(fLock);
	BPrivate::wait_with_timeout(fCondition, lock, timeout, [this]() { return fReplied; });
	fAbandoned = true;

	BMessage* reply = fReply;
	fReply = NULL;
	return reply;
}


//	#pragma mark - DeliveryInfo


BMessage::DeliveryInfo::DeliveryInfo()
	: target(B_NULL_TOKEN), previous(NULL), delivered(false), isReply(false), replyDone(false)
{ }


BMessage::DeliveryInfo::~DeliveryInfo()
{
	delete previous;
}


//	#pragma mark - BMessage::Private


BMessage::DeliveryInfo*
BMessage::Private::Delivery(bool create)
{
	if (fMessage->fDelivery == NULL && create)
		fMessage->fDelivery = new (std::nothrow) DeliveryInfo;
	return fMessage->fDelivery;
}


bool
BMessage::Private::SetDelivery(int32 target, const BMessenger& replyTo, bool isReply,
	const BMessage* previous, const std::shared_ptr<ReplySlot>& replySlot)
{
	DeliveryInfo* info = Delivery(true);
	if (info == NULL)
		return false;

	info->target = target;
	info->replyTo = replyTo;
	info->isReply = isReply;
	info->replySlot = replySlot;
	if (previous != NULL) {
		info->previous = new (std::nothrow) BMessage(*previous);
		if (info->previous == NULL)
			return false;
	}
	return true;
}


void
BMessage::Private::MoveDeliveryTo(BMessage* other)
{
	if (other == fMessage)
		return;

	if (other->IsSourceWaiting())
		other->SendReply(B_NO_REPLY);
	delete other->fDelivery;
	other->fDelivery = fMessage->fDelivery;
	fMessage->fDelivery = NULL;
}


void
BMessage::Private::ForgetReplySlot()
{
	if (fMessage->fDelivery != NULL)
		fMessage->fDelivery->replySlot.reset();
}


void
BMessage::Private::SetDelivered()
{
	DeliveryInfo* info = Delivery(true);
	if (info != NULL)
		info->delivered = true;
}


int32
BMessage::Private::Target() const
{
	return fMessage->fDelivery != NULL ? fMessage->fDelivery->target : B_NULL_TOKEN;
}


status_t
BMessage::Private::WaitForReply(
	const std::shared_ptr<ReplySlot>& slot, BMessage* reply, bigtime_t timeout)
{
	BMessage* answer = slot->Wait(timeout);
	if (answer == NULL) {
		reply->MakeEmpty();
		reply->what = B_NO_REPLY;
		return B_TIMED_OUT;
	}

	*reply = *answer;
	Private(answer).MoveDeliveryTo(reply);
	delete answer;
	return B_OK;
}


status_t
BMessage::Private::SendReply(BMessage* reply, const BMessenger& replyTo, bigtime_t sendTimeout,
	BMessage* replyToReply, bigtime_t replyTimeout)
{
	if (reply == NULL)
		return B_BAD_VALUE;

	DeliveryInfo* info = fMessage->fDelivery;
	if (info == NULL)
		return B_BAD_REPLY;

	if (info->replySlot != NULL) {
		// The sender waits: the reply goes straight to it, once.
		if (info->replyDone)
			return B_DUPLICATE_REPLY;
		info->replyDone = true;

		BMessage* copy = new (std::nothrow) BMessage(*reply);
		DeliveryInfo* copyInfo = copy != NULL ? Private(copy).Delivery(true) : NULL;
		if (copyInfo == NULL) {
			delete copy;
			return B_NO_MEMORY;
		}
		copyInfo->delivered = true;
		copyInfo->isReply = true;
		copyInfo->replyTo = replyTo;

		std::shared_ptr<ReplySlot> nested;
		if (replyToReply != NULL) {
			nested = std::make_shared<ReplySlot>();
			copyInfo->replySlot = nested;
		}

		// A sender that gave up waiting leaves the reply nowhere to go.
		if (!info->replySlot->Deposit(copy))
			return B_BAD_PORT_ID;
		if (replyToReply == NULL)
			return B_OK;
		return WaitForReply(nested, replyToReply, replyTimeout);
	}

	if (!info->delivered)
		return B_BAD_REPLY;

	BMessenger target = info->replyTo.IsValid() ? info->replyTo : app_messenger();
	return BMessenger::Private(&target).Send(
		reply, replyTo, sendTimeout, replyToReply, replyTimeout, true, fMessage);
}


//	#pragma mark - BMessage


bool
BMessage::WasDelivered() const
{
	return fDelivery != NULL && fDelivery->delivered;
}


bool
BMessage::IsSourceWaiting() const
{
	return fDelivery != NULL && fDelivery->replySlot != NULL && !fDelivery->replyDone;
}


// Every sender lives in this process.
bool
BMessage::IsSourceRemote() const
{
	return false;
}


bool
BMessage::IsReply() const
{
	return fDelivery != NULL && fDelivery->isReply;
}


const BMessage*
BMessage::Previous() const
{
	return fDelivery != NULL ? fDelivery->previous : NULL;
}


bool
BMessage::WasDropped() const
{
	return fWasDropped;
}


BPoint
BMessage::DropPoint(BPoint* offset) const
{
	if (offset != NULL)
		*offset = GetPoint("_drop_offset_", BPoint());
	return GetPoint("_drop_point_", BPoint());
}


void
BMessage::Private::SetWasDropped(bool dropped)
{
	fMessage->fWasDropped = dropped;
}


BMessenger
BMessage::ReturnAddress() const
{
	if (!WasDelivered())
		return BMessenger();
	if (fDelivery->replyTo.IsValid())
		return fDelivery->replyTo;
	return app_messenger();
}


status_t
BMessage::SendReply(uint32 command, BHandler* replyTo)
{
	BMessage reply(command);
	return SendReply(&reply, replyTo);
}


status_t
BMessage::SendReply(BMessage* reply, BHandler* replyTo, bigtime_t timeout)
{
	BMessenger messenger;
	if (replyTo != NULL)
		messenger.SetTo(replyTo);
	return Private(this).SendReply(reply, messenger, timeout, NULL, 0);
}


status_t
BMessage::SendReply(BMessage* reply, BMessenger replyTo, bigtime_t timeout)
{
	return Private(this).SendReply(reply, replyTo, timeout, NULL, 0);
}


status_t
BMessage::SendReply(uint32 command, BMessage* replyToReply)
{
	BMessage reply(command);
	return SendReply(&reply, replyToReply);
}


status_t
BMessage::SendReply(
	BMessage* reply, BMessage* replyToReply, bigtime_t sendTimeout, bigtime_t replyTimeout)
{
	if (replyToReply == NULL)
		return B_BAD_VALUE;
	return Private(this).SendReply(reply, BMessenger(), sendTimeout, replyToReply, replyTimeout);
}
