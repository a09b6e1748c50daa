/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TIME_SCALE_H
#define _TIME_SCALE_H


#include <SupportDefs.h>


namespace BPrivate {


// The time scale of the process: HAIKU_TIME_SCALE (a positive number, 1.0 by default, held
// between 1e-6 and 1e6), read once, at the first use of the clock. With a scale s,
// system_time() runs 1/s times as fast as the host's clock, snooze() sleeps s times the amount
// and message runners wait s times their interval, so that a program's minute-long timing
// runs in milliseconds and still agrees with its own clock. Timeouts of locks and replies
// stay on the host's clock.
double time_scale();

// The host's monotonic clock in microseconds, whatever the scale.
bigtime_t real_time();


} // namespace BPrivate


#endif // _TIME_SCALE_H
