/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageQueue.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <LooperRegistry.h>


typedef std::unique_lock<std::recursive_mutex> QueueLocker;


struct BMessageQueue::Data {
	Data() : fLockCount(0), fLockOwner(-1), fClosed(false) { }

	mutable std::recursive_mutex fLock;
	std::atomic<int32> fLockCount;
	std::atomic<thread_id> fLockOwner;
	std::condition_variable_any fMessageAdded;
	std::condition_variable_any fMessageRemoved;
	std::deque<BMessage*> fMessages;
	bool fClosed;
};


BMessageQueue::BMessageQueue() : fData(new Data) { }


BMessageQueue::~BMessageQueue()
{
	_Close();
	delete fData;
}


void
BMessageQueue::AddMessage(BMessage* message)
{
	if (message == NULL)
		return;

	{
		QueueLocker lock(fData->fLock);
		fData->fMessages.push_back(message);
	}
	fData->fMessageAdded.notify_all();
}


// Haiku's queue leaves the message to the caller, whatever older documents say.
void
BMessageQueue::RemoveMessage(BMessage* message)
{
	if (message == NULL)
		return;

	{
		QueueLocker lock(fData->fLock);
		auto found = std::find(fData->fMessages.begin(), fData->fMessages.end(), message);
		if (found == fData->fMessages.end())
			return;
		fData->fMessages.erase(found);
	}
	fData->fMessageRemoved.notify_all();
}


int32
BMessageQueue::CountMessages() const
{
	QueueLocker lock(fData->fLock);
	return (int32)fData->fMessages.size();
}


bool
BMessageQueue::IsEmpty() const
{
	QueueLocker lock(fData->fLock);
	return fData->fMessages.empty();
}


BMessage*
BMessageQueue::FindMessage(int32 index) const
{
	QueueLocker lock(fData->fLock);
	if (index < 0 || index >= (int32)fData->fMessages.size())
		return NULL;
	return fData->fMessages[index];
}


BMessage*
BMessageQueue::FindMessage(uint32 what, int32 index) const
{
	QueueLocker lock(fData->fLock);
	if (index < 0)
		return NULL;

	for (BMessage* message : fData->fMessages) {
		if (message->what == what && index-- == 0)
			return message;
	}
	return NULL;
}


bool
BMessageQueue::Lock()
{
	fData->fLock.lock();
	fData->fLockOwner.store(find_thread(NULL));
	fData->fLockCount++;
	return true;
}


void
BMessageQueue::Unlock()
{
	if (!IsLocked())
		return;
	if (--fData->fLockCount == 0)
		fData->fLockOwner.store(-1);
	fData->fLock.unlock();
}


bool
BMessageQueue::IsLocked() const
{
	return fData->fLockOwner.load() == find_thread(NULL);
}


BMessage*
BMessageQueue::NextMessage()
{
	BMessage* message = NULL;
	{
		QueueLocker lock(fData->fLock);
		if (fData->fMessages.empty())
			return NULL;
		message = fData->fMessages.front();
		fData->fMessages.pop_front();
	}
	fData->fMessageRemoved.notify_all();
	return message;
}


bool
BMessageQueue::IsNextMessage(const BMessage* message) const
{
	QueueLocker lock(fData->fLock);
	return !fData->fMessages.empty() && fData->fMessages.front() == message;
}


status_t
BMessageQueue::_AddMessage(BMessage* message, int32 capacity, bigtime_t timeout)
{
	{
		QueueLocker lock(fData->fLock);
		bool room = BPrivate::wait_with_timeout(fData->fMessageRemoved, lock, timeout,
			[&]() { return fData->fClosed || (int32)fData->fMessages.size() < capacity; });
		if (fData->fClosed)
			return B_BAD_PORT_ID;
		if (!room)
			return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;
		fData->fMessages.push_back(message);
	}
	fData->fMessageAdded.notify_all();
	return B_OK;
}


BMessage*
BMessageQueue::_WaitForMessage()
{
	BMessage* message = NULL;
	{
		QueueLocker lock(fData->fLock);
		fData->fMessageAdded.wait(
			lock, [this]() { return fData->fClosed || !fData->fMessages.empty(); });
		if (fData->fClosed)
			return NULL;
		message = fData->fMessages.front();
		fData->fMessages.pop_front();
	}
	fData->fMessageRemoved.notify_all();
	return message;
}


void
BMessageQueue::_Close()
{
	std::deque<BMessage*> messages;
	{
		QueueLocker lock(fData->fLock);
		fData->fClosed = true;
		messages.swap(fData->fMessages);
	}
	fData->fMessageAdded.notify_all();
	fData->fMessageRemoved.notify_all();
	for (BMessage* message : messages)
		delete message;
}
