/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// BLooper: its lock, which lives in the registry's shared state (LooperRegistry.h).


#include <Looper.h>

#include <LooperRegistry.h>


using BPrivate::LooperInfo;
using BPrivate::LooperRegistry;


bool
BLooper::Lock()
{
	return _Lock(this, B_INFINITE_TIMEOUT) == B_OK;
}


void
BLooper::Unlock()
{
	fShared->lock->Release();
}


status_t
BLooper::LockWithTimeout(bigtime_t timeout)
{
	return _Lock(this, timeout);
}


// The looper is looked up by its address first, so that locking one that is gone fails.
status_t
BLooper::_Lock(BLooper* looper, bigtime_t timeout)
{
	LooperInfo info;
	if (looper == NULL || !LooperRegistry::Default().FindLooper(looper, NULL, &info))
		return B_BAD_VALUE;
	return info.lock->Acquire(timeout);
}


int32
BLooper::_UnlockFully()
{
	return fShared->lock->ReleaseFully();
}


bool
BLooper::IsLocked() const
{
	return fShared->lock->IsHeldByCurrentThread();
}


thread_id
BLooper::LockingThread() const
{
	return fShared->lock->Owner();
}


int32
BLooper::CountLocks() const
{
	return fShared->lock->Count();
}


int32
BLooper::CountLockRequests() const
{
	return fShared->lock->Requests();
}
