/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H


#include <Locker.h>
#include <Looper.h>


class BAutolock {
public:
	BAutolock(BLocker* locker) : fLocker(locker), fLocked(locker != NULL && locker->Lock()) { }
	BAutolock(BLocker& locker) : fLocker(&locker), fLocked(locker.Lock()) { }
	~BAutolock()
	{
		if (fLocked)
			fLocker->Unlock();
	}

	bool
	IsLocked()
	{
		return fLocked;
	}
	void
	Unlock()
	{
		if (fLocked) {
			fLocker->Unlock();
			fLocked = false;
		}
	}

private:
	BAutolock(const BAutolock&);
	BAutolock& operator=(const BAutolock&);

	BLocker* fLocker;
	bool fLocked;
};


#endif // _AUTOLOCK_H
