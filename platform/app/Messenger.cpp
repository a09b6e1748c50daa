/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Messenger.h>

#include <unistd.h>

#include <new>

#include <Handler.h>
#include <Looper.h>
#include <Message.h>

#include <LooperRegistry.h>
#include <MessagePrivate.h>
#include <MessengerPrivate.h>


using BPrivate::LooperInfo;
using BPrivate::LooperRegistry;


BMessenger::BMessenger() : fPort(-1), fHandlerToken(B_NULL_TOKEN), fTeam(-1) { }


BMessenger::BMessenger(const char* signature, team_id team, status_t* result)
	: fPort(-1), fHandlerToken(B_NULL_TOKEN), fTeam(-1)
{
	status_t status = SetTo(signature, team);
	if (result != NULL)
		*result = status;
}


BMessenger::BMessenger(const BHandler* handler, const BLooper* looper, status_t* result)
	: fPort(-1), fHandlerToken(B_NULL_TOKEN), fTeam(-1)
{
	status_t status = SetTo(handler, looper);
	if (result != NULL)
		*result = status;
}


BMessenger::BMessenger(const BMessenger& other)
	: fPort(other.fPort), fHandlerToken(other.fHandlerToken), fTeam(other.fTeam)
{ }


BMessenger::~BMessenger() { }


BMessenger&
BMessenger::operator=(const BMessenger& other)
{
	fPort = other.fPort;
	fHandlerToken = other.fHandlerToken;
	fTeam = other.fTeam;
	return *this;
}


bool
BMessenger::operator==(const BMessenger& other) const
{
	return fPort == other.fPort && fHandlerToken == other.fHandlerToken && fTeam == other.fTeam;
}


bool
BMessenger::operator!=(const BMessenger& other) const
{
	return !(*this == other);
}


bool
BMessenger::operator<(const BMessenger& other) const
{
	if (fPort != other.fPort)
		return fPort < other.fPort;
	if (fHandlerToken != other.fHandlerToken)
		return fHandlerToken < other.fHandlerToken;
	return fTeam < other.fTeam;
}


// Only this process's application can be found so far: it registers its looper under its
// signature (BPrivate::register_app_looper()).
status_t
BMessenger::SetTo(const char* signature, team_id team)
{
	*this = BMessenger();
	if (signature == NULL && team < 0)
		return B_BAD_VALUE;
	if (team >= 0 && team != getpid())
		return B_BAD_TEAM_ID;

	BPrivate::AppInfo app;
	LooperRegistry& registry = LooperRegistry::Default();
	if (!registry.GetApp(signature, &app)) {
		// The team runs, but under another signature
		if (team >= 0 && registry.GetApp(NULL, NULL))
			return B_MISMATCHED_VALUES;
		return B_BAD_VALUE;
	}

	Private(this).SetTo(app.looper, B_PREFERRED_TOKEN, getpid());
	return B_OK;
}


status_t
BMessenger::SetTo(const BHandler* handler, const BLooper* looper)
{
	*this = BMessenger();
	if (handler == NULL && looper == NULL)
		return B_BAD_VALUE;

	LooperRegistry& registry = LooperRegistry::Default();
	int32 looperToken = B_NULL_TOKEN;
	if (looper != NULL && !registry.FindLooper(looper, &looperToken, NULL))
		return B_BAD_VALUE;

	if (handler != NULL) {
		// The handler must belong to a looper, and to the one given, if any.
		int32 handlersLooper = registry.LooperOf(handler->fToken);
		if (handlersLooper < 0 || (looper != NULL && handlersLooper != looperToken))
			return B_MISMATCHED_VALUES;
		if (!registry.GetLooper(handlersLooper, NULL))
			return B_BAD_VALUE;
		looperToken = handlersLooper;
	}

	Private(this).SetTo(
		looperToken, handler != NULL ? handler->fToken : B_PREFERRED_TOKEN, getpid());
	return B_OK;
}


bool
BMessenger::IsTargetLocal() const
{
	return fTeam == getpid();
}


BHandler*
BMessenger::Target(BLooper** _looper) const
{
	LooperRegistry& registry = LooperRegistry::Default();
	LooperInfo info;
	bool valid = fPort >= 0 && registry.GetLooper(fPort, &info);
	if (_looper != NULL)
		*_looper = valid ? info.looper : NULL;
	if (!valid || fHandlerToken == B_PREFERRED_TOKEN)
		return NULL;
	return registry.HandlerIn(fHandlerToken, fPort);
}


bool
BMessenger::LockTarget() const
{
	return LockTargetWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}


status_t
BMessenger::LockTargetWithTimeout(bigtime_t timeout) const
{
	LooperInfo info;
	if (fPort < 0 || !LooperRegistry::Default().GetLooper(fPort, &info))
		return B_BAD_VALUE;
	return info.lock->Acquire(timeout);
}


bool
BMessenger::IsValid() const
{
	return fPort >= 0 && LooperRegistry::Default().GetLooper(fPort, NULL);
}


team_id
BMessenger::Team() const
{
	return fTeam;
}


status_t
BMessenger::SendMessage(uint32 command, BHandler* replyTo) const
{
	BMessage message(command);
	return SendMessage(&message, replyTo);
}


status_t
BMessenger::SendMessage(BMessage* message, BHandler* replyTo, bigtime_t timeout) const
{
	BMessenger replyMessenger;
	if (replyTo != NULL)
		replyMessenger.SetTo(replyTo);
	return Private(const_cast<BMessenger*>(this))
		.Send(message, replyMessenger, timeout, NULL, 0, false, NULL);
}


status_t
BMessenger::SendMessage(BMessage* message, BMessenger replyTo, bigtime_t timeout) const
{
	return Private(const_cast<BMessenger*>(this))
		.Send(message, replyTo, timeout, NULL, 0, false, NULL);
}


status_t
BMessenger::SendMessage(uint32 command, BMessage* reply) const
{
	BMessage message(command);
	return SendMessage(&message, reply);
}


status_t
BMessenger::SendMessage(
	BMessage* message, BMessage* reply, bigtime_t deliveryTimeout, bigtime_t replyTimeout) const
{
	if (reply == NULL)
		return B_BAD_VALUE;
	return Private(const_cast<BMessenger*>(this))
		.Send(message, BMessenger(), deliveryTimeout, reply, replyTimeout, false, NULL);
}


//	#pragma mark - BMessenger::Private


void
BMessenger::Private::SetTo(port_id port, int32 token, team_id team)
{
	fMessenger->fPort = port;
	fMessenger->fHandlerToken = token;
	fMessenger->fTeam = team;
}


status_t
BMessenger::Private::Send(const BMessage* message, const BMessenger& replyTo, bigtime_t timeout,
	BMessage* reply, bigtime_t replyTimeout, bool isReply, const BMessage* previous) const
{
	if (message == NULL)
		return B_BAD_VALUE;

	LooperInfo target;
	if (fMessenger->fPort < 0 || !LooperRegistry::Default().GetLooper(fMessenger->fPort, &target))
		return B_BAD_PORT_ID;

	// The looper's thread, or a thread that holds its lock, would wait for a reply that only
	// it could let the looper send.
	thread_id self = find_thread(NULL);
	bool fromLooper = target.thread == self;
	if (reply != NULL && (fromLooper || target.lock->IsHeldByCurrentThread()))
		return B_MESSAGE_TO_SELF;
	// Nor can the looper's thread wait for room in its own queue.
	if (fromLooper)
		timeout = 0;

	std::shared_ptr<BPrivate::ReplySlot> slot;
	if (reply != NULL)
		slot = std::make_shared<BPrivate::ReplySlot>();

	BMessage* copy = new (std::nothrow) BMessage(*message);
	if (copy == NULL
		|| !BMessage::Private(copy).SetDelivery(
			fMessenger->fHandlerToken, replyTo, isReply, previous, slot)) {
		delete copy;
		return B_NO_MEMORY;
	}

	status_t status = target.queue->_AddMessage(copy, target.capacity, timeout);
	if (status != B_OK) {
		BMessage::Private(copy).ForgetReplySlot();
		delete copy;
		return status;
	}

	if (reply == NULL)
		return B_OK;
	return BMessage::Private::WaitForReply(slot, reply, replyTimeout);
}
