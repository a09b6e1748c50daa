/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <OS.h>

#include <errno.h>
#include <time.h>
#include <unistd.h>


extern "C" bigtime_t
system_time(void)
{
	struct timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (bigtime_t)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}


extern "C" status_t
snooze(bigtime_t amount)
{
	if (amount <= 0)
		return B_OK;

	struct timespec delay;
	delay.tv_sec = amount / 1000000;
	delay.tv_nsec = (amount % 1000000) * 1000;
	while (nanosleep(&delay, &delay) != 0) {
		if (errno != EINTR)
			return _be_status_from_errno(errno);
	}
	return B_OK;
}


// Thread ids are the host's thread ids; only the calling thread can be found by name so far.
extern "C" thread_id
find_thread(const char* name)
{
	if (name == NULL)
		return (thread_id)gettid();
	return B_NAME_NOT_FOUND;
}
