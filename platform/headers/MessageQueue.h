/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_QUEUE_H
#define _MESSAGE_QUEUE_H


#include <Locker.h>
#include <Message.h>


// The messages waiting for a looper, oldest first. The queue owns the messages it holds.
// Lock() and Unlock() nest; every member locks the queue itself, so a lock is needed only
// to keep the queue still across several calls.
class BMessageQueue {
public:
	BMessageQueue();
	virtual ~BMessageQueue();

	void AddMessage(BMessage* message);
	// Takes the message out of the queue; the caller owns it afterwards.
	void RemoveMessage(BMessage* message);

	int32 CountMessages() const;
	bool IsEmpty() const;

	BMessage* FindMessage(int32 index) const;
	BMessage* FindMessage(uint32 what, int32 index = 0) const;

	bool Lock();
	void Unlock();
	bool IsLocked() const;

	// Takes the oldest message out of the queue: NULL when it is empty.
	BMessage* NextMessage();
	bool IsNextMessage(const BMessage* message) const;

private:
	BMessageQueue(const BMessageQueue&);
	BMessageQueue& operator=(const BMessageQueue&);

	friend class BLooper;
	friend class BMessenger;

	// Delivery to a looper: waits up to timeout for the queue to hold fewer than capacity
	// messages. B_WOULD_BLOCK (timeout 0) or B_TIMED_OUT when it stays full, B_BAD_PORT_ID
	// once the queue is closed; the caller keeps the message on failure.
	status_t _AddMessage(BMessage* message, int32 capacity, bigtime_t timeout);
	// Waits for a message and takes it: NULL once the queue is closed.
	BMessage* _WaitForMessage();
	// Closes the queue for good: waiting senders give up, and the messages it held are
	// deleted, oldest first.
	void _Close();

	struct Data;
	Data* fData;
};


#endif // _MESSAGE_QUEUE_H
