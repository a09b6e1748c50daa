/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageQueue.h>

#include <algorithm>

#include <Message.h>

#include <LooperRegistry.h>


typedef std::unique_lock<std::recursive_mutex> QueueLocker;


BMessageQueue::BMessageQueue() : fLockCount(0), fLockOwner(-1), fClosed(false) { }


BMessageQueue::~BMessageQueue()
{
	std::deque<BMessage*> messages = _Close();
	for (BMessage* message : messages)
		delete message;
}


void
BMessageQueue::AddMessage(BMessage* message)
{
	if (message == NULL)
		return;

	{
		QueueLocker lock(fLock);
		fMessages.push_back(message);
	}
	fMessageAdded.notify_all();
}


// Haiku's queue leaves the message to the caller, whatever older documents say.
void
BMessageQueue::RemoveMessage(BMessage* message)
{
	if (message == NULL)
		return;

	{
		QueueLocker lock(fLock);
		auto found = std::find(fMessages.begin(), fMessages.end(), message);
		if (found == fMessages.end())
			return;
		fMessages.erase(found);
	}
	fMessageRemoved.notify_all();
}


int32
BMessageQueue::CountMessages() const
{
	QueueLocker lock(fLock);
	return (int32)fMessages.size();
}


bool
BMessageQueue::IsEmpty() const
{
	QueueLocker lock(fLock);
	return fMessages.empty();
}


BMessage*
BMessageQueue::FindMessage(int32 index) const
{
	QueueLocker lock(fLock);
	if (index < 0 || index >= (int32)fMessages.size())
		return NULL;
	return fMessages[index];
}


BMessage*
BMessageQueue::FindMessage(uint32 what, int32 index) const
{
	QueueLocker lock(fLock);
	if (index < 0)
		return NULL;

	for (BMessage* message : fMessages) {
		if (message->what == what && index-- == 0)
			return message;
	}
	return NULL;
}


bool
BMessageQueue::Lock()
{
	fLock.lock();
	fLockOwner.store(find_thread(NULL));
	fLockCount++;
	return true;
}


void
BMessageQueue::Unlock()
{
	if (!IsLocked())
		return;
	if (--fLockCount == 0)
		fLockOwner.store(-1);
	fLock.unlock();
}


bool
BMessageQueue::IsLocked() const
{
	return fLockOwner.load() == find_thread(NULL);
}


BMessage*
BMessageQueue::NextMessage()
{
	BMessage* message = NULL;
	{
		QueueLocker lock(fLock);
		if (fMessages.empty())
			return NULL;
		message = fMessages.front();
		fMessages.pop_front();
	}
	fMessageRemoved.notify_all();
	return message;
}


bool
BMessageQueue::IsNextMessage(const BMessage* message) const
{
	QueueLocker lock(fLock);
	return !fMessages.empty() && fMessages.front() == message;
}


status_t
BMessageQueue::_AddMessage(BMessage* message, int32 capacity, bigtime_t timeout)
{
	{
		QueueLocker lock(fLock);
		bool room = BPrivate::wait_with_timeout(fMessageRemoved, lock, timeout,
			[&]() { return fClosed || (int32)fMessages.size() < capacity; });
		if (fClosed)
			return B_BAD_PORT_ID;
		if (!room)
			return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;
		fMessages.push_back(message);
	}
	fMessageAdded.notify_all();
	return B_OK;
}


BMessage*
BMessageQueue::_WaitForMessage()
{
	BMessage* message = NULL;
	{
		QueueLocker lock(fLock);
		fMessageAdded.wait(lock, [this]() { return fClosed || !fMessages.empty(); });
		if (fClosed)
			return NULL;
		message = fMessages.front();
		fMessages.pop_front();
	}
	fMessageRemoved.notify_all();
	return message;
}


std::deque<BMessage*>
BMessageQueue::_Close()
{
	std::deque<BMessage*> messages;
	{
		QueueLocker lock(fLock);
		fClosed = true;
		messages.swap(fMessages);
	}
	fMessageAdded.notify_all();
	fMessageRemoved.notify_all();
	return messages;
}
