/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <LooperRegistry.h>

#include <limits.h>
#include <strings.h>


namespace BPrivate {


//	#pragma mark - LooperLock


LooperLock::LooperLock() : fOwner(-1), fCount(0), fWaiting(0), fDeleted(false) { }


status_t
LooperLock::Acquire(bigtime_t timeout)
{
	thread_id self = find_thread(NULL);
	// Only the owner itself can find its own id here, so this needs no lock.
	if (fOwner.load() == self) {
		fCount++;
		return B_OK;
	}

	std::unique_lock<std::mutex> lock(fMutex);
	if (fDeleted)
		return B_BAD_VALUE;

	fWaiting++;
	bool ready = wait_with_timeout(
		fCondition, lock, timeout, [this]() { return fDeleted || fOwner.load() < 0; });
	fWaiting--;

	if (fDeleted)
		return B_BAD_VALUE;
	if (!ready)
		return timeout <= 0 ? B_WOULD_BLOCK : B_TIMED_OUT;

	fOwner.store(self);
	fCount.store(1);
	return B_OK;
}


void
LooperLock::Release()
{
	if (!IsHeldByCurrentThread())
		return;
	if (--fCount > 0)
		return;

	// Notified under the mutex: once another thread has the lock, the looper (and this
	// object with it) may be deleted at any time.
	std::lock_guard<std::mutex> lock(fMutex);
	fOwner.store(-1);
	fCondition.notify_all();
}


int32
LooperLock::ReleaseFully()
{
	if (!IsHeldByCurrentThread())
		return 0;

	int32 count = fCount.exchange(0);
	std::lock_guard<std::mutex> lock(fMutex);
	fOwner.store(-1);
	fCondition.notify_all();
	return count;
}


bool
LooperLock::IsHeldByCurrentThread() const
{
	return fOwner.load() == find_thread(NULL);
}


int32
LooperLock::Count() const
{
	return fOwner.load() >= 0 ? fCount.load() : 0;
}


int32
LooperLock::Requests() const
{
	std::lock_guard<std::mutex> lock(fMutex);
	return fWaiting + (fOwner.load() >= 0 ? 1 : 0);
}


void
LooperLock::MarkDeleted()
{
	std::lock_guard<std::mutex> lock(fMutex);
	fDeleted = true;
	fOwner.store(-1);
	fCount.store(0);
	fCondition.notify_all();
}


void
LooperLock::WaitUntilDeleted()
{
	std::unique_lock<std::mutex> lock(fMutex);
	fCondition.wait(lock, [this]() { return fDeleted; });
}


//	#pragma mark - LooperRegistry


LooperRegistry::LooperRegistry() : fNextToken(1) { }


LooperRegistry&
LooperRegistry::Default()
{
	// Never destroyed: loopers may still come and go while the process ends.
	static LooperRegistry* sRegistry = new LooperRegistry;
	return *sRegistry;
}


int32
LooperRegistry::AddHandler(BHandler* handler)
{
	std::lock_guard<std::mutex> lock(fLock);
	// Tokens are not reused while a handler still holds one, even after they wrap around.
	int32 token;
	do {
		token = fNextToken;
		fNextToken = fNextToken == INT32_MAX ? 1 : fNextToken + 1;
	} while (fHandlers.find(token) != fHandlers.end());

	fHandlers[token] = HandlerEntry {handler, B_NULL_TOKEN};
	return token;
}


void
LooperRegistry::RemoveHandler(int32 token)
{
	std::lock_guard<std::mutex> lock(fLock);
	fHandlers.erase(token);
}


void
LooperRegistry::SetHandlerLooper(int32 handlerToken, int32 looperToken)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fHandlers.find(handlerToken);
	if (found != fHandlers.end())
		found->second.looper = looperToken;
}


int32
LooperRegistry::LooperOf(int32 handlerToken)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fHandlers.find(handlerToken);
	if (found == fHandlers.end())
		return B_NULL_TOKEN;
	return found->second.looper;
}


BHandler*
LooperRegistry::HandlerIn(int32 handlerToken, int32 looperToken)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fHandlers.find(handlerToken);
	if (found == fHandlers.end() || found->second.looper != looperToken)
		return NULL;
	return found->second.handler;
}


void
LooperRegistry::AddLooper(int32 token, BLooper* looper, const LooperShared& shared, int32 capacity)
{
	std::lock_guard<std::mutex> lock(fLock);
	LooperInfo& info = fLoopers[token];
	info.looper = looper;
	info.queue = shared.queue;
	info.lock = shared.lock;
	info.capacity = capacity;
	info.thread = -1;
}


void
LooperRegistry::RemoveLooper(int32 token)
{
	std::lock_guard<std::mutex> lock(fLock);
	fLoopers.erase(token);
	if (fApp.looper == token)
		fApp = AppInfo();
}


void
LooperRegistry::SetLooperThread(int32 token, thread_id thread)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fLoopers.find(token);
	if (found != fLoopers.end())
		found->second.thread = thread;
}


bool
LooperRegistry::GetLooper(int32 token, LooperInfo* info)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto found = fLoopers.find(token);
	if (found == fLoopers.end())
		return false;
	if (info != NULL)
		*info = found->second;
	return true;
}


bool
LooperRegistry::FindLooper(const BLooper* looper, int32* token, LooperInfo* info)
{
	std::lock_guard<std::mutex> lock(fLock);
	for (const auto& entry : fLoopers) {
		if (entry.second.looper != looper)
			continue;
		if (token != NULL)
			*token = entry.first;
		if (info != NULL)
			*info = entry.second;
		return true;
	}
	return false;
}


BLooper*
LooperRegistry::LooperForThread(thread_id thread)
{
	std::lock_guard<std::mutex> lock(fLock);
	for (const auto& entry : fLoopers) {
		if (entry.second.thread == thread)
			return entry.second.looper;
	}
	return NULL;
}


status_t
LooperRegistry::SetApp(const char* signature, int32 looperToken, uint32 flags)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (signature == NULL || looperToken < 0) {
		fApp = AppInfo();
		return B_OK;
	}

	auto found = fLoopers.find(looperToken);
	if (found == fLoopers.end())
		return B_BAD_HANDLER;

	fApp.looper = looperToken;
	fApp.signature = signature;
	fApp.flags = flags;
	return B_OK;
}


bool
LooperRegistry::GetApp(const char* signature, AppInfo* info)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fApp.looper < 0)
		return false;
	// MIME types compare without regard to case.
	if (signature != NULL && strcasecmp(signature, fApp.signature.c_str()) != 0)
		return false;

	if (info != NULL) {
		*info = fApp;
		auto found = fLoopers.find(fApp.looper);
		info->thread = found != fLoopers.end() ? found->second.thread : -1;
	}
	return true;
}


} // namespace BPrivate
