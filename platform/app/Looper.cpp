/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Looper.h>

#include <pthread.h>
#include <stdio.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include <Message.h>
#include <MessageFilter.h>
#include <MessageQueue.h>
#include <Messenger.h>

#include <LooperRegistry.h>
#include <MessagePrivate.h>
#include <MessengerPrivate.h>


using BPrivate::LooperLock;
using BPrivate::LooperRegistry;
using BPrivate::LooperShared;


BLooper::BLooper(const char* name, int32 priority, int32 portCapacity)
	: BHandler(name), fShared(new LooperShared), fCommonFilters(NULL), fPreferred(NULL),
	  fLastMessage(NULL), fThread(B_ERROR), fPriority(priority),
	  fCapacity(portCapacity > 0 ? portCapacity : B_LOOPER_PORT_DEFAULT_CAPACITY),
	  fRunCalled(false), fTerminating(false)
{
	fShared->queue.reset(new BMessageQueue);
	fShared->lock = std::make_shared<LooperLock>();
	LooperRegistry::Default().AddLooper(fToken, this, *fShared, fCapacity);

	// Locked by its maker until Run()
	Lock();
	AddHandler(this);
}


BLooper::~BLooper()
{
	if (fRunCalled && !fTerminating && find_thread(NULL) != fThread) {
		fprintf(stderr, "BLooper \"%s\": deleted while its thread runs; use Quit() instead\n",
			Name() != NULL ? Name() : "");
	}

	// From here on, messengers find nothing and sending fails.
	LooperRegistry::Default().RemoveLooper(fToken);

	// Unhandled messages go; senders that wait for a reply get B_NO_REPLY.
	fShared->queue->_Close();
	delete fLastMessage;
	fLastMessage = NULL;

	// The handlers stay, without a looper.
	for (int32 i = fHandlers.CountItems() - 1; i >= 0; i--) {
		BHandler* handler = static_cast<BHandler*>(fHandlers.ItemAt(i));
		handler->fNextHandler = NULL;
		handler->_SetLooper(NULL);
	}
	fHandlers.MakeEmpty();
	fPreferred = NULL;

	if (fCommonFilters != NULL) {
		for (int32 i = 0; i < fCommonFilters->CountItems(); i++)
			delete static_cast<BMessageFilter*>(fCommonFilters->ItemAt(i));
		delete fCommonFilters;
	}

	// Threads waiting for the lock give up, and Quit() from another thread returns.
	fShared->lock->MarkDeleted();
	delete fShared;
}


//	#pragma mark - Posting


status_t
BLooper::PostMessage(uint32 command)
{
	BMessage message(command);
	return _PostMessage(&message, this, NULL);
}


status_t
BLooper::PostMessage(BMessage* message)
{
	return _PostMessage(message, this, NULL);
}


status_t
BLooper::PostMessage(uint32 command, BHandler* handler, BHandler* replyTo)
{
	BMessage message(command);
	return _PostMessage(&message, handler, replyTo);
}


status_t
BLooper::PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
	return _PostMessage(message, handler, replyTo);
}


// As on Haiku, posting does not wait: a full queue answers B_WOULD_BLOCK.
status_t
BLooper::_PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
	if (message == NULL)
		return B_BAD_VALUE;

	LooperRegistry& registry = LooperRegistry::Default();
	int32 looperToken;
	if (!registry.FindLooper(this, &looperToken, NULL))
		return B_BAD_VALUE;

	int32 target = B_PREFERRED_TOKEN;
	if (handler != NULL) {
		if (registry.LooperOf(handler->fToken) != looperToken)
			return B_MISMATCHED_VALUES;
		target = handler->fToken;
	}

	BMessenger messenger;
	BMessenger::Private(&messenger).SetTo(looperToken, target, getpid());
	BMessenger replyMessenger;
	if (replyTo != NULL)
		replyMessenger.SetTo(replyTo);
	return BMessenger::Private(&messenger).Send(message, replyMessenger, 0, NULL, 0, false, NULL);
}


//	#pragma mark - Hooks


void
BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
	switch (message->what) {
	case _QUIT_:
		// Not Quit(): another thread may hold the lock between now and then. The loop
		// ends after this message.
		fTerminating = true;
		break;

	case B_QUIT_REQUESTED:
		if (handler == this) {
			_QuitRequested(message);
			break;
		}
		// Other handlers get it like any message.
		handler->MessageReceived(message);
		break;

	default:
		handler->MessageReceived(message);
		break;
	}
}


void
BLooper::MessageReceived(BMessage* message)
{
	BHandler::MessageReceived(message);
}


bool
BLooper::QuitRequested()
{
	return true;
}


void
BLooper::_QuitRequested(BMessage* message)
{
	bool isQuitting = QuitRequested();
	thread_id thread = fThread;
	if (isQuitting)
		Quit();

	// A sender that waits learns whether the looper quits.
	if (message->IsSourceWaiting()) {
		BMessage reply(B_REPLY);
		reply.AddBool("result", isQuitting);
		reply.AddInt32("thread", thread);
		message->SendReply(&reply);
	}
}


//	#pragma mark - Current message and queue


BMessage*
BLooper::CurrentMessage() const
{
	return fLastMessage;
}


BMessage*
BLooper::DetachCurrentMessage()
{
	BMessage* message = fLastMessage;
	fLastMessage = NULL;
	return message;
}


BMessageQueue*
BLooper::MessageQueue() const
{
	return fShared->queue.get();
}


bool
BLooper::IsMessageWaiting() const
{
	return !fShared->queue->IsEmpty();
}


//	#pragma mark - Handlers


void
BLooper::AddHandler(BHandler* handler)
{
	if (handler == NULL)
		return;
	if (!IsLocked()) {
		fprintf(stderr, "BLooper::AddHandler(): the looper must be locked\n");
		return;
	}
	// A handler belongs to one looper at a time.
	if (handler->Looper() != NULL)
		return;

	if (!fHandlers.AddItem(handler))
		return;
	handler->_SetLooper(this);
	if (handler != this)
		handler->fNextHandler = this;
}


bool
BLooper::RemoveHandler(BHandler* handler)
{
	if (handler == NULL || handler->Looper() != this)
		return false;
	if (!IsLocked()) {
		fprintf(stderr, "BLooper::RemoveHandler(): the looper must be locked\n");
		return false;
	}

	if (handler == fPreferred)
		fPreferred = NULL;

	// Handlers that passed messages on to it pass them on past it.
	BHandler* next = handler->fNextHandler;
	for (int32 i = 0; i < fHandlers.CountItems(); i++) {
		BHandler* other = static_cast<BHandler*>(fHandlers.ItemAt(i));
		if (other == handler || other->fNextHandler != handler)
			continue;
		if (next != NULL && next != other && next->Looper() == this)
			other->fNextHandler = next;
		else
			other->fNextHandler = other != this ? this : NULL;
	}

	handler->fNextHandler = NULL;
	handler->_SetLooper(NULL);
	return fHandlers.RemoveItem(handler);
}


int32
BLooper::CountHandlers() const
{
	return fHandlers.CountItems();
}


BHandler*
BLooper::HandlerAt(int32 index) const
{
	return static_cast<BHandler*>(fHandlers.ItemAt(index));
}


int32
BLooper::IndexOf(BHandler* handler) const
{
	return fHandlers.IndexOf(handler);
}


BHandler*
BLooper::PreferredHandler() const
{
	return fPreferred;
}


void
BLooper::SetPreferredHandler(BHandler* handler)
{
	if (handler != NULL && handler->Looper() == this && IndexOf(handler) >= 0)
		fPreferred = handler;
	else
		fPreferred = NULL;
}


//	#pragma mark - Running and quitting


void
BLooper::_ThreadEntry(BLooper* looper)
{
	// A looper deleted under its running thread (instead of through Quit()) is not
	// deleted again.
	if (looper->_Loop())
		delete looper;
}


thread_id
BLooper::Run()
{
	if (fRunCalled) {
		fprintf(stderr, "BLooper::Run(): the looper runs already\n");
		return fThread;
	}

	struct Start {
		std::mutex lock;
		std::condition_variable started;
		thread_id thread = -1;
	} start;

	// The thread announces its id before it takes the first message.
	try {
		std::thread thread([this, &start]() {
			char name[16];
			snprintf(
				name, sizeof(name), "%s", Name() != NULL && Name()[0] != 0 ? Name() : "looper");
			pthread_setname_np(pthread_self(), name);
			{
				std::lock_guard<std::mutex> lock(start.lock);
				start.thread = find_thread(NULL);
				start.started.notify_one();
			}
			_ThreadEntry(this);
		});
		thread.detach();
	} catch (const std::system_error&) {
		return B_NO_MORE_THREADS;
	}

	{
		std::unique_lock<std::mutex> lock(start.lock);
		start.started.wait(lock, [&start]() { return start.thread >= 0; });
		fThread = start.thread;
	}
	fRunCalled = true;
	LooperRegistry::Default().SetLooperThread(fToken, fThread);

	// Once unlocked, the looper may quit and be gone at any time.
	thread_id thread = fThread;
	Unlock();
	return thread;
}


thread_id
BLooper::_RunLoopOnCurrentThread()
{
	thread_id thread = find_thread(NULL);
	if (fRunCalled) {
		fprintf(stderr, "BLooper: the looper runs already\n");
		return B_ERROR;
	}

	fThread = thread;
	fRunCalled = true;
	LooperRegistry::Default().SetLooperThread(fToken, fThread);

	Unlock();
	_Loop();
	return thread;
}


// Takes the messages one at a time and dispatches each with the looper locked. Returns true
// with the lock held when Quit() ended the loop, false when the looper was deleted under it
// (it then touches the looper no more).
bool
BLooper::_Loop()
{
	std::shared_ptr<BMessageQueue> queue = fShared->queue;
	std::shared_ptr<LooperLock> lock = fShared->lock;

	while (true) {
		BMessage* message = queue->_WaitForMessage();
		if (message == NULL)
			return false;
		if (lock->Acquire(B_INFINITE_TIMEOUT) != B_OK) {
			delete message;
			return false;
		}

		BMessage::Private(message).SetDelivered();
		fLastMessage = message;

		int32 token = BMessage::Private(message).Target();
		// A message put into the queue directly has no target: it is the looper's.
		BHandler* handler;
		if (token == B_PREFERRED_TOKEN)
			handler = fPreferred != NULL ? fPreferred : this;
		else if (token == fToken || token == B_NULL_TOKEN)
			handler = this;
		else
			handler = LooperRegistry::Default().HandlerIn(token, fToken);

		// A handler that has left the looper (or is gone) gets nothing.
		if (handler != NULL)
			handler = _TopLevelFilter(message, handler);
		if (handler != NULL && handler->Looper() == this)
			DispatchMessage(message, handler);

		// The current message is gone if the handler detached it.
		message = fLastMessage;
		fLastMessage = NULL;

		if (fTerminating) {
			delete message;
			return true;
		}

		lock->Release();
		delete message;
	}
}


void
BLooper::Quit()
{
	if (!IsLocked()) {
		fprintf(stderr, "ERROR - you must Lock a looper before calling Quit(), looper=%s\n",
			Name() != NULL ? Name() : "unnamed");
	}
	if (!Lock())
		return;

	if (!fRunCalled) {
		fTerminating = true;
		delete this;
		return;
	}

	if (find_thread(NULL) == fThread) {
		// The loop ends, and deletes the looper, once the current message is done.
		fTerminating = true;
		return;
	}

	// Another thread: the looper handles what is queued, then the quit message, and is
	// deleted by its own thread, which we wait for.
	std::shared_ptr<LooperLock> lock = fShared->lock;
	BMessage* quit = new (std::nothrow) BMessage(_QUIT_);
	if (quit == NULL
		|| !BMessage::Private(quit).SetDelivery(
			fToken, BMessenger(), false, NULL, std::shared_ptr<BPrivate::ReplySlot>())) {
		delete quit;
		return;
	}
	fShared->queue->AddMessage(quit);

	// The looper may be gone as soon as the lock is released.
	lock->ReleaseFully();
	lock->WaitUntilDeleted();
}


thread_id
BLooper::Thread() const
{
	return fThread;
}


team_id
BLooper::Team() const
{
	return getpid();
}


BLooper*
BLooper::LooperForThread(thread_id thread)
{
	return LooperRegistry::Default().LooperForThread(thread);
}


bool
BLooper::_IsTerminating() const
{
	return fTerminating;
}


void
BLooper::_SetTerminating()
{
	fTerminating = true;
}


bool
BLooper::_IsRunCalled() const
{
	return fRunCalled;
}
