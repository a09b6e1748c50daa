/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Locker.h>

#include <errno.h>
#include <pthread.h>
#include <time.h>


struct BLocker::Mutex {
	pthread_mutex_t mutex;
};


BLocker::BLocker()
{
	_Init(NULL);
}


BLocker::BLocker(const char* name)
{
	_Init(name);
}


BLocker::BLocker(bool)
{
	_Init(NULL);
}


BLocker::BLocker(const char* name, bool)
{
	_Init(name);
}


BLocker::~BLocker()
{
	pthread_mutex_destroy(&fMutex->mutex);
	delete fMutex;
}


void
BLocker::_Init(const char* name)
{
	fName = name != NULL ? name : "some BLocker";
	fOwner = -1;
	fCount = 0;

	pthread_mutexattr_t attributes;
	pthread_mutexattr_init(&attributes);
	pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
	fMutex = new Mutex;
	pthread_mutex_init(&fMutex->mutex, &attributes);
	pthread_mutexattr_destroy(&attributes);
}


status_t
BLocker::InitCheck() const
{
	return B_OK;
}


bool
BLocker::Lock()
{
	return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}


status_t
BLocker::LockWithTimeout(bigtime_t timeout)
{
	int result;
	if (timeout == B_INFINITE_TIMEOUT)
		result = pthread_mutex_lock(&fMutex->mutex);
	else if (timeout <= 0)
		result = pthread_mutex_trylock(&fMutex->mutex);
	else {
		struct timespec until;
		clock_gettime(CLOCK_REALTIME, &until);
		until.tv_sec += timeout / 1000000;
		until.tv_nsec += (timeout % 1000000) * 1000;
		if (until.tv_nsec >= 1000000000) {
			until.tv_sec++;
			until.tv_nsec -= 1000000000;
		}
		result = pthread_mutex_timedlock(&fMutex->mutex, &until);
	}

	if (result == ETIMEDOUT || result == EBUSY)
		return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;
	if (result != 0)
		return B_ERROR;

	fOwner = find_thread(NULL);
	fCount++;
	return B_OK;
}


void
BLocker::Unlock()
{
	if (!IsLocked())
		return;
	if (--fCount == 0)
		fOwner = -1;
	pthread_mutex_unlock(&fMutex->mutex);
}


thread_id
BLocker::LockingThread() const
{
	return fOwner;
}


bool
BLocker::IsLocked() const
{
	return fOwner == find_thread(NULL);
}


int32
BLocker::CountLocks() const
{
	return fCount;
}
