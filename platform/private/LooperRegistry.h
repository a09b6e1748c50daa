/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _LOOPER_REGISTRY_H
#define _LOOPER_REGISTRY_H


#include <Looper.h>
#include <MessageQueue.h>
#include <OS.h>

#include <TokenSpace.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>


// The private message that ends a looper's loop (Quit() from another thread posts it)
#define _QUIT_ '_QIT'


namespace BPrivate {


// Waits on a condition for at most timeout microseconds (B_INFINITE_TIMEOUT: without limit);
// returns the predicate's last answer.
template<typename Condition, typename Lock, typename Predicate>
bool
wait_with_timeout(Condition& condition, Lock& lock, bigtime_t timeout, Predicate predicate)
{
	// Past a century a wait is as good as endless, and the clock arithmetic stays in range.
	static const bigtime_t kEndless = 100LL * 365 * 24 * 3600 * 1000000;
	if (timeout >= kEndless) {
		condition.wait(lock, predicate);
		return true;
	}
	if (timeout <= 0)
		return predicate();
	return condition.wait_for(lock, std::chrono::microseconds(timeout), predicate);
}


// A looper's lock: recursive per thread. It lives apart from the looper, shared with whoever
// waits for it, so that a thread that waits for the lock of a looper that is deleted meanwhile
// wakes up with B_BAD_VALUE instead of touching freed memory.
class LooperLock {
public:
	LooperLock();

	// B_OK, B_WOULD_BLOCK (timeout 0), B_TIMED_OUT, or B_BAD_VALUE once the looper is gone
	status_t Acquire(bigtime_t timeout);
	// Does nothing for a thread that does not hold the lock
	void Release();
	// Releases every level the calling thread holds; returns how many there were.
	int32 ReleaseFully();

	thread_id
	Owner() const
	{
		return fOwner.load();
	}
	bool IsHeldByCurrentThread() const;
	int32 Count() const;
	int32 Requests() const;

	// The looper is gone: waiters get B_BAD_VALUE, and WaitUntilDeleted() returns.
	void MarkDeleted();
	void WaitUntilDeleted();

private:
	mutable std::mutex fMutex;
	std::condition_variable fCondition;
	std::atomic<thread_id> fOwner;
	std::atomic<int32> fCount;
	int32 fWaiting;
	bool fDeleted;
};


// What a looper shares with the threads that send to it or lock it
struct LooperShared {
	std::shared_ptr<BMessageQueue> queue;
	std::shared_ptr<LooperLock> lock;
};


// A looper as the registry knows it, copied out under the registry's lock
struct LooperInfo {
	BLooper* looper = NULL;
	std::shared_ptr<BMessageQueue> queue;
	std::shared_ptr<LooperLock> lock;
	int32 capacity = 0;
	thread_id thread = -1;
};


// The application registered under its signature
struct AppInfo {
	int32 looper = -1;
	std::string signature;
	uint32 flags = 0;
	thread_id thread = -1;
};


// The process's table of handlers and loopers. Every handler gets a token when it is made;
// a looper's token is its handler token. Messengers hold tokens, and find the live objects
// here under the table's lock, so a messenger never reaches a deleted object.
class LooperRegistry {
public:
	static LooperRegistry& Default();

	int32 AddHandler(BHandler* handler);
	void RemoveHandler(int32 token);
	// Records the looper a handler belongs to (B_NULL_TOKEN: none).
	void SetHandlerLooper(int32 handlerToken, int32 looperToken);
	// The looper token of the handler's looper, or B_NULL_TOKEN
	int32 LooperOf(int32 handlerToken);
	// The handler, if it still exists and belongs to the looper
	BHandler* HandlerIn(int32 handlerToken, int32 looperToken);

	void AddLooper(int32 token, BLooper* looper, const LooperShared& shared, int32 capacity);
	void RemoveLooper(int32 token);
	void SetLooperThread(int32 token, thread_id thread);
	bool GetLooper(int32 token, LooperInfo* info);
	// Finds a looper by its address without touching it, so a deleted one is safely missed.
	bool FindLooper(const BLooper* looper, int32* token, LooperInfo* info);
	BLooper* LooperForThread(thread_id thread);

	status_t SetApp(const char* signature, int32 looperToken, uint32 flags);
	// The application registered under the signature (NULL: under any)
	bool GetApp(const char* signature, AppInfo* info);

private:
	LooperRegistry();

	struct HandlerEntry {
		BHandler* handler;
		int32 looper;
	};

	std::mutex fLock;
	int32 fNextToken;
	std::unordered_map<int32, HandlerEntry> fHandlers;
	std::unordered_map<int32, LooperInfo> fLoopers;
	AppInfo fApp;
};


} // namespace BPrivate


#endif // _LOOPER_REGISTRY_H
