/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <OS.h>

#include <errno.h>
#include <math.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include "TimeScale.h"


namespace BPrivate {


double
time_scale()
{
	static const double sScale = []() {
		const char* text = getenv("HAIKU_TIME_SCALE");
		if (text == NULL)
			return 1.0;
		char* end;
		double value = strtod(text, &end);
		if (end == text || !isfinite(value) || value <= 0)
			return 1.0;
		// Beyond these the clock's arithmetic would leave 64 bits.
		return std::min(std::max(value, 1e-6), 1e6);
	}();
	return sScale;
}


bigtime_t
real_time()
{
	struct timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (bigtime_t)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}


} // namespace BPrivate


extern "C" bigtime_t
system_time(void)
{
	double scale = BPrivate::time_scale();
	bigtime_t now = BPrivate::real_time();
	if (scale == 1.0)
		return now;
	double scaled = (double)now / scale;
	return scaled < (double)B_INFINITE_TIMEOUT ? (bigtime_t)scaled : B_INFINITE_TIMEOUT;
}


extern "C" status_t
snooze(bigtime_t amount)
{
	double scale = BPrivate::time_scale();
	if (scale != 1.0) {
		double scaled = (double)amount * scale;
		amount = scaled < (double)B_INFINITE_TIMEOUT ? (bigtime_t)scaled : B_INFINITE_TIMEOUT;
	}
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
