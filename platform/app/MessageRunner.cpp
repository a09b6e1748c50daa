/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// Message runners share one timer thread in the process. It starts with the first runner and
// sleeps on a condition variable until the earliest runner is due, or until a runner is added,
// changed or removed; it never polls.
//
// Time scale (TimeScale.h): the thread keeps its times on the host's clock and waits the
// scaled intervals, so that with HAIKU_TIME_SCALE 0.001 a 60 s interval passes in 60 ms while
// BPrivate::real_time() moves on by 60 s. GetInfo() still answers the interval as the program gave it.


#include <MessageRunner.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include <Message.h>

#include <LooperRegistry.h>
#include <MessengerPrivate.h>
#include <TimeScale.h>


namespace {

// Like Haiku's registrar, runners do not fire more often than every 50 ms.
const bigtime_t kMinimumInterval = 50000;
const bigtime_t kLongestWait = 3600LL * 1000000;


struct Runner {
	BMessenger target;
	BMessenger replyTo;
	BMessage message;
	bigtime_t interval;
	// as given, after the minimum
	bigtime_t scaledInterval;
	// as the timer thread uses it
	int32 count;
	// left to send; negative for ever
	bigtime_t next;
};


class RunnerScheduler {
public:
	static RunnerScheduler& Default();

	int32 Add(const BMessenger& target, const BMessage& message, bigtime_t interval, int32 count,
		const BMessenger& replyTo);
	status_t Remove(int32 token);
	status_t SetInterval(int32 token, bigtime_t interval);
	status_t SetCount(int32 token, int32 count);
	status_t GetInfo(int32 token, bigtime_t* interval, int32* count);

private:
	RunnerScheduler();

	bigtime_t _Scaled(bigtime_t interval) const;
	status_t _StartThread();
	void _Run();

	std::mutex fLock;
	std::condition_variable fChanged;
	std::map<int32, Runner> fRunners;
	int32 fNextToken;
	double fScale;
	bool fThreadStarted;
};


RunnerScheduler::RunnerScheduler()
	: fNextToken(1), fScale(BPrivate::time_scale()), fThreadStarted(false)
{ }


RunnerScheduler&
RunnerScheduler::Default()
{
	// Never destroyed: its thread runs until the process ends.
	static RunnerScheduler* sScheduler = new RunnerScheduler;
	return *sScheduler;
}


bigtime_t
RunnerScheduler::_Scaled(bigtime_t interval) const
{
	double scaled = (double)interval * fScale;
	if (scaled < 1)
		return 1;
	if (scaled > (double)(B_INFINITE_TIMEOUT / 4))
		return B_INFINITE_TIMEOUT / 4;
	return (bigtime_t)llround(scaled);
}


status_t
RunnerScheduler::_StartThread()
{
	if (fThreadStarted)
		return B_OK;
	try {
		std::thread(&RunnerScheduler::_Run, this).detach();
	} catch (const std::system_error&) {
		return B_NO_MORE_THREADS;
	}
	fThreadStarted = true;
	return B_OK;
}


int32
RunnerScheduler::Add(const BMessenger& target, const BMessage& message, bigtime_t interval,
	int32 count, const BMessenger& replyTo)
{
	if (interval < kMinimumInterval)
		interval = kMinimumInterval;

	std::lock_guard<std::mutex> lock(fLock);
	status_t status = _StartThread();
	if (status != B_OK)
		return status;

	int32 token = fNextToken;
	fNextToken = fNextToken == INT32_MAX ? 1 : fNextToken + 1;

	try {
		Runner& runner = fRunners[token];
		runner.target = target;
		runner.replyTo = replyTo;
		runner.message = message;
		runner.interval = interval;
		runner.scaledInterval = _Scaled(interval);
		runner.count = count < 0 ? -1 : count;
		runner.next = BPrivate::real_time() + runner.scaledInterval;
	} catch (const std::bad_alloc&) {
		fRunners.erase(token);
		return B_NO_MEMORY;
	}

	fChanged.notify_all();
	return token;
}


status_t
RunnerScheduler::Remove(int32 token)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fRunners.erase(token) == 0)
		return B_BAD_VALUE;
	fChanged.notify_all();
	return B_OK;
}


status_t
RunnerScheduler::SetInterval(int32 token, bigtime_t interval)
{
	if (interval < kMinimumInterval)
		interval = kMinimumInterval;

	std::lock_guard<std::mutex> lock(fLock);
	auto found = fRunners.find(token);
	if (found == fRunners.end())
		return B_BAD_VALUE;

	Runner& runner = found->second;
	runner.interval = interval;
	runner.scaledInterval = _Scaled(interval);
	runner.next = BPrivate::real_time() + runner.scaledInterval;
	fChanged.notify_all();
	return B_OK;
}


status_t
RunnerScheduler::SetCount(int32 token, int32 count)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fRunners.find(token);
	if (found == fRunners.end())
		return B_BAD_VALUE;

	if (count == 0) {
		fRunners.erase(found);
	} else {
		Runner& runner = found->second;
		// A runner that had used up its count starts again one interval from now.
		if (runner.count == 0)
			runner.next = BPrivate::real_time() + runner.scaledInterval;
		runner.count = count < 0 ? -1 : count;
	}
	fChanged.notify_all();
	return B_OK;
}


status_t
RunnerScheduler::GetInfo(int32 token, bigtime_t* interval, int32* count)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fRunners.find(token);
	if (found == fRunners.end())
		return B_BAD_VALUE;

	if (interval != NULL)
		*interval = found->second.interval;
	if (count != NULL)
		*count = found->second.count;
	return B_OK;
}


// Messages go out with the lock held and without waiting (a full queue misses that one), so
// a runner that is removed sends nothing more once Remove() returns.
void
RunnerScheduler::_Run()
{
	std::unique_lock<std::mutex> lock(fLock);
	while (true) {
		bigtime_t now = BPrivate::real_time();
		bigtime_t earliest = B_INFINITE_TIMEOUT;
		for (auto& entry : fRunners) {
			Runner& runner = entry.second;
			if (runner.count == 0)
				continue;

			if (runner.next <= now) {
				// A target that is gone makes the runner skip.
				BMessenger::Private(&runner.target)
					.Send(&runner.message, runner.replyTo, 0, NULL, 0, false, NULL);
				if (runner.count > 0)
					runner.count--;
				// Missed turns are not made up for.
				runner.next += runner.scaledInterval;
				if (runner.next <= now)
					runner.next = now + runner.scaledInterval;
			}
			if (runner.count != 0 && runner.next < earliest)
				earliest = runner.next;
		}

		if (earliest == B_INFINITE_TIMEOUT)
			fChanged.wait(lock);
		else {
			// Absurdly long intervals wake the thread hourly, which keeps the clock
			// arithmetic of the wait in range.
			bigtime_t delay = std::min(earliest - BPrivate::real_time(), kLongestWait);
			if (delay > 0)
				fChanged.wait_for(lock, std::chrono::microseconds(delay));
		}
	}
}

} // namespace


BMessageRunner::BMessageRunner(
	BMessenger target, const BMessage* message, bigtime_t interval, int32 count)
	: fToken(B_NO_INIT)
{
	_InitData(target, message, interval, count, BMessenger());
}


BMessageRunner::BMessageRunner(
	BMessenger target, const BMessage& message, bigtime_t interval, int32 count)
	: fToken(B_NO_INIT)
{
	_InitData(target, &message, interval, count, BMessenger());
}


BMessageRunner::BMessageRunner(
	BMessenger target, const BMessage* message, bigtime_t interval, int32 count, BMessenger replyTo)
	: fToken(B_NO_INIT)
{
	_InitData(target, message, interval, count, replyTo);
}


BMessageRunner::BMessageRunner(
	BMessenger target, const BMessage& message, bigtime_t interval, int32 count, BMessenger replyTo)
	: fToken(B_NO_INIT)
{
	_InitData(target, &message, interval, count, replyTo);
}


BMessageRunner::~BMessageRunner()
{
	if (fToken >= 0)
		RunnerScheduler::Default().Remove(fToken);
}


void
BMessageRunner::_InitData(
	BMessenger target, const BMessage* message, bigtime_t interval, int32 count, BMessenger replyTo)
{
	// A runner with nothing to send is no runner.
	if (message == NULL || count == 0) {
		fToken = B_BAD_VALUE;
		return;
	}
	fToken = RunnerScheduler::Default().Add(target, *message, interval, count, replyTo);
}


status_t
BMessageRunner::InitCheck() const
{
	return fToken >= 0 ? B_OK : fToken;
}


status_t
BMessageRunner::SetInterval(bigtime_t interval)
{
	if (fToken < 0)
		return B_BAD_VALUE;
	return RunnerScheduler::Default().SetInterval(fToken, interval);
}


status_t
BMessageRunner::SetCount(int32 count)
{
	if (fToken < 0)
		return B_BAD_VALUE;
	return RunnerScheduler::Default().SetCount(fToken, count);
}


status_t
BMessageRunner::GetInfo(bigtime_t* interval, int32* count) const
{
	if (fToken < 0)
		return B_BAD_VALUE;
	return RunnerScheduler::Default().GetInfo(fToken, interval, count);
}
