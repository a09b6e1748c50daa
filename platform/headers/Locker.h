/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _LOCKER_H
#define _LOCKER_H


#include <OS.h>


// A recursive lock: the thread that holds it may lock it again, and must unlock it as often.
class BLocker {
public:
	BLocker();
	BLocker(const char* name);
	BLocker(bool benaphoreStyle);
	BLocker(const char* name, bool benaphoreStyle);
	virtual ~BLocker();

	status_t InitCheck() const;

	bool Lock();
	status_t LockWithTimeout(bigtime_t timeout);
	void Unlock();

	thread_id LockingThread() const;
	bool IsLocked() const;
	int32 CountLocks() const;
	const char*
	Name() const
	{
		return fName;
	}

private:
	BLocker(const BLocker&);
	BLocker& operator=(const BLocker&);

	void _Init(const char* name);

	const char* fName;
	struct Mutex;

	Mutex* fMutex;
	volatile thread_id fOwner;
	int32 fCount;
};


#endif // _LOCKER_H
