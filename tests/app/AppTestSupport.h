/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _APP_TEST_SUPPORT_H
#define _APP_TEST_SUPPORT_H


#include <Handler.h>
#include <Looper.h>
#include <Message.h>
#include <OS.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>


// How long a test waits for something that should happen at once: far longer than it ever
// takes, even under the sanitizers.
static const bigtime_t kPatience = 10000000;


// What a handler saw of one message
struct Seen {
	uint32 what;
	int32 index;
	BHandler* handler;
	bool wasCurrent;
	bool wasDelivered;
	thread_id thread;
	bigtime_t when;
};


// Collects what handlers see, for the test thread to wait on.
class Journal {
public:
	void
	Add(BHandler* handler, BMessage* message)
	{
		BLooper* looper = handler->Looper();
		Seen seen = {message->what, message->GetInt32("index", -1), handler,
			looper != NULL && looper->CurrentMessage() == message, message->WasDelivered(),
			find_thread(NULL), system_time()};
		// Notified under the lock: the waiter may destroy the journal once it wakes.
		std::lock_guard<std::mutex> lock(fLock);
		fSeen.push_back(seen);
		fChanged.notify_all();
	}

	// Waits, at most timeout, until count messages were seen.
	bool
	WaitFor(size_t count, bigtime_t timeout = kPatience)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(
			lock, std::chrono::microseconds(timeout), [&]() { return fSeen.size() >= count; });
	}

	std::vector<Seen>
	All()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fSeen;
	}

	size_t
	Count()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fSeen.size();
	}

	void
	Signal()
	{
		std::lock_guard<std::mutex> lock(fLock);
		fSignalled = true;
		fChanged.notify_all();
	}

	bool
	WaitForSignal(bigtime_t timeout = kPatience)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(
			lock, std::chrono::microseconds(timeout), [&]() { return fSignalled; });
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	std::vector<Seen> fSeen;
	bool fSignalled = false;
};


// A gate that handlers wait at until the test opens it
class Gate {
public:
	void
	Open()
	{
		std::lock_guard<std::mutex> lock(fLock);
		fOpen = true;
		fChanged.notify_all();
	}

	bool
	Wait(bigtime_t timeout = kPatience)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, std::chrono::microseconds(timeout), [&]() { return fOpen; });
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fOpen = false;
};


class JournalHandler : public BHandler {
public:
	JournalHandler(Journal* journal, const char* name = NULL)
		: BHandler(name), fJournal(journal) { }

	void
	MessageReceived(BMessage* message) override
	{
		fJournal->Add(this, message);
	}

private:
	Journal* fJournal;
};


// A looper that notes every message it receives and says when it is deleted
class JournalLooper : public BLooper {
public:
	JournalLooper(Journal* journal, Journal* deaths = NULL, const char* name = "journal",
		int32 capacity = B_LOOPER_PORT_DEFAULT_CAPACITY)
		: BLooper(name, B_NORMAL_PRIORITY, capacity), fJournal(journal), fDeaths(deaths)
	{ }

	~JournalLooper() override
	{
		if (fDeaths != NULL)
			fDeaths->Signal();
	}

	void
	MessageReceived(BMessage* message) override
	{
		fJournal->Add(this, message);
	}

protected:
	Journal* fJournal;
	Journal* fDeaths;
};


#endif // _APP_TEST_SUPPORT_H
