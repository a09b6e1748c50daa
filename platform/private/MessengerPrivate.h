/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSENGER_PRIVATE_H
#define _MESSENGER_PRIVATE_H


#include <Messenger.h>


class BMessenger::Private {
public:
	Private(BMessenger* messenger) : fMessenger(messenger) { }

	void SetTo(port_id port, int32 token, team_id team);
	port_id
	Port() const
	{
		return fMessenger->fPort;
	}
	int32
	Token() const
	{
		return fMessenger->fHandlerToken;
	}

	// The one way messages travel: puts a copy of message, with its delivery information,
	// into the target looper's queue, waiting up to timeout for room. With a reply message
	// it then waits up to replyTimeout for the reply.
	status_t Send(const BMessage* message, const BMessenger& replyTo, bigtime_t timeout,
		BMessage* reply, bigtime_t replyTimeout, bool isReply, const BMessage* previous) const;

private:
	BMessenger* fMessenger;
};


#endif // _MESSENGER_PRIVATE_H
