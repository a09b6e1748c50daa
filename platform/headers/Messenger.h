/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSENGER_H
#define _MESSENGER_H


#include <Message.h>
#include <OS.h>


class BHandler;
class BLooper;
class BMessage;


// An address for messages: a looper, and a handler in it or the looper's preferred handler.
// A messenger names its target by tokens, not pointers, so it can outlive its target: once the
// looper is gone the messenger is simply invalid and sending through it fails.
class BMessenger {
public:
	BMessenger();
	BMessenger(const char* signature, team_id team = -1, status_t* result = NULL);
	BMessenger(const BHandler* handler, const BLooper* looper = NULL, status_t* result = NULL);
	BMessenger(const BMessenger& other);
	~BMessenger();

	BMessenger& operator=(const BMessenger& other);
	bool operator==(const BMessenger& other) const;
	bool operator!=(const BMessenger& other) const;
	bool operator<(const BMessenger& other) const;

	status_t SetTo(const char* signature, team_id team = -1);
	status_t SetTo(const BHandler* handler, const BLooper* looper = NULL);

	// Target
	bool IsTargetLocal() const;
	BHandler* Target(BLooper** looper) const;
	bool LockTarget() const;
	status_t LockTargetWithTimeout(bigtime_t timeout) const;
	bool IsValid() const;
	team_id Team() const;

	// Sending: the message is copied. The forms with a reply message wait for the reply; a
	// message that is deleted unanswered gets its sender a B_NO_REPLY reply.
	status_t SendMessage(uint32 command, BHandler* replyTo = NULL) const;
	status_t SendMessage(
		BMessage* message, BHandler* replyTo = NULL, bigtime_t timeout = B_INFINITE_TIMEOUT) const;
	status_t SendMessage(
		BMessage* message, BMessenger replyTo, bigtime_t timeout = B_INFINITE_TIMEOUT) const;
	status_t SendMessage(uint32 command, BMessage* reply) const;
	status_t SendMessage(BMessage* message, BMessage* reply,
		bigtime_t deliveryTimeout = B_INFINITE_TIMEOUT,
		bigtime_t replyTimeout = B_INFINITE_TIMEOUT) const;

	class Private;

private:
	friend class Private;

	// fPort names the looper (its token), fHandlerToken the handler or B_PREFERRED_TOKEN.
	port_id fPort;
	int32 fHandlerToken;
	team_id fTeam;
};


#endif // _MESSENGER_H
