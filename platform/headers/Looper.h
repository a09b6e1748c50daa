/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _LOOPER_H
#define _LOOPER_H


#include <Handler.h>
#include <List.h>
#include <OS.h>


class BMessage;
class BMessageQueue;
class BMessageFilter;

namespace BPrivate {
struct LooperShared;
}


#define B_LOOPER_PORT_DEFAULT_CAPACITY 200


// A thread with a message queue: it takes the messages from the queue one at a time and hands
// each, with the looper locked, to its target handler through DispatchMessage().
//
// A looper is locked by the thread that constructs it until Run() starts its thread. It ends
// through Quit(), which deletes it. Subclasses whose Run() loops on the calling thread instead
// of spawning one (BApplication) call _RunLoopOnCurrentThread().
class BLooper : public BHandler {
public:
	BLooper(const char* name = NULL, int32 priority = B_NORMAL_PRIORITY,
		int32 portCapacity = B_LOOPER_PORT_DEFAULT_CAPACITY);
	virtual ~BLooper();

	// Posting messages: the message is copied. Without a handler argument the looper itself
	// is the target; a NULL handler means the preferred handler at dispatch time.
	status_t PostMessage(uint32 command);
	status_t PostMessage(BMessage* message);
	status_t PostMessage(uint32 command, BHandler* handler, BHandler* replyTo = NULL);
	status_t PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo = NULL);

	// Hooks
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();

	// The message being dispatched: NULL outside DispatchMessage()
	BMessage* CurrentMessage() const;
	BMessage* DetachCurrentMessage();
	BMessageQueue* MessageQueue() const;
	bool IsMessageWaiting() const;

	// Handlers
	void AddHandler(BHandler* handler);
	bool RemoveHandler(BHandler* handler);
	int32 CountHandlers() const;
	BHandler* HandlerAt(int32 index) const;
	int32 IndexOf(BHandler* handler) const;

	BHandler* PreferredHandler() const;
	void SetPreferredHandler(BHandler* handler);

	// Running and quitting
	virtual thread_id Run();
	virtual void Quit();
	thread_id Thread() const;
	team_id Team() const;
	static BLooper* LooperForThread(thread_id thread);

	// Locking: recursive, per thread
	bool Lock();
	void Unlock();
	status_t LockWithTimeout(bigtime_t timeout);
	bool IsLocked() const;
	thread_id LockingThread() const;
	int32 CountLocks() const;
	int32 CountLockRequests() const;

	// Filters that see every message before its handler's filters (the looper owns them)
	virtual void AddCommonFilter(BMessageFilter* filter);
	virtual bool RemoveCommonFilter(BMessageFilter* filter);
	virtual void SetCommonFilterList(BList* filters);
	BList* CommonFilterList() const;

protected:
	// Makes the calling thread the looper's thread and runs the message loop on it until
	// Quit() (or the private quit message) ends it; for a subclass whose Run() loops on the
	// calling thread. The caller holds the lock once, as the constructor leaves it; the loop
	// returns with the lock held again. Returns the thread's id.
	thread_id _RunLoopOnCurrentThread();
	// True once the loop has been asked to end after the current message
	bool _IsTerminating() const;
	// Asks the loop to end after the current message (call from the looper's thread)
	void _SetTerminating();
	bool _IsRunCalled() const;

private:
	BLooper(const BLooper&);
	BLooper& operator=(const BLooper&);

	friend class BHandler;
	friend class BMessenger;
	// Drops go to the view under them through that view's filters.
	friend class BWindow;

	static void _ThreadEntry(BLooper* looper);
	static status_t _Lock(BLooper* looper, bigtime_t timeout);
	bool _Loop();
	BHandler* _TopLevelFilter(BMessage* message, BHandler* target);
	BHandler* _ApplyFilters(BList* filters, BMessage* message, BHandler* target);
	BHandler* _HandlerFilter(BMessage* message, BHandler* target);
	void _QuitRequested(BMessage* message);
	int32 _UnlockFully();
	status_t _PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo);

	BPrivate::LooperShared* fShared;
	BList fHandlers;
	BList* fCommonFilters;
	BHandler* fPreferred;
	BMessage* fLastMessage;
	thread_id fThread;
	int32 fPriority;
	int32 fCapacity;
	bool fRunCalled;
	bool fTerminating;
};


#endif // _LOOPER_H
