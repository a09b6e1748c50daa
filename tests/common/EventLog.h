/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _EVENT_LOG_H
#define _EVENT_LOG_H


#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>


// What handlers on other threads record, for the test thread to wait on. A test derives its
// own record from it and changes its fields only through Change().
struct EventLog {
	std::mutex lock;
	std::condition_variable changed;

	void
	Change(const std::function<void()>& change)
	{
		std::lock_guard<std::mutex> guard(lock);
		change();
		changed.notify_all();
	}

	// Waits, at most timeout, until the condition holds (checked under the lock).
	bool
	WaitFor(const std::function<bool()>& condition,
		std::chrono::milliseconds timeout = std::chrono::seconds(10))
	{
		std::unique_lock<std::mutex> guard(lock);
		return changed.wait_for(guard, timeout, condition);
	}
};


#endif // _EVENT_LOG_H
