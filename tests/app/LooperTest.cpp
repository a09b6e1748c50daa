/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Looper.h>

#include <thread>

#include <Handler.h>
#include <Message.h>
#include <MessageFilter.h>
#include <MessageQueue.h>
#include <Messenger.h>

#include "AppTestSupport.h"

#include <gtest/gtest.h>


enum { kMsgData = 'data', kMsgQuitInside = 'quit', kMsgLate = 'late', kMsgBlock = 'blck' };


// A looper that quits from inside its own thread when asked to, and can be held busy
class BusyLooper : public JournalLooper {
public:
	BusyLooper(Journal* journal, Journal* deaths, Gate* gate = NULL, int32 capacity = 10)
		: JournalLooper(journal, deaths, "busy", capacity), fGate(gate)
	{ }

	void
	MessageReceived(BMessage* message) override
	{
		fJournal->Add(this, message);
		if (message->what == kMsgQuitInside) {
			Quit();
			// Quit() from the looper's thread returns; the looper goes after this message.
			fStillHere = true;
		} else if (message->what == kMsgBlock && fGate != NULL)
			fGate->Wait();
	}

	bool fStillHere = false;

private:
	Gate* fGate;
};


TEST(Looper, DeliversInOrderWithTheCurrentMessage)
{
	Journal journal;
	Journal deaths;
	JournalLooper* looper = new JournalLooper(&journal, &deaths);

	// Locked by its maker until it runs
	EXPECT_TRUE(looper->IsLocked());
	EXPECT_EQ(looper->CountLocks(), 1);
	EXPECT_EQ(looper->LockingThread(), find_thread(NULL));
	EXPECT_EQ(looper->Thread(), B_ERROR);
	EXPECT_EQ(looper->CountHandlers(), 1);
	EXPECT_EQ(looper->HandlerAt(0), looper);

	// Messages posted before Run() wait in the queue.
	const int kCount = 300;
	for (int i = 0; i < 100; i++) {
		BMessage message(kMsgData);
		message.AddInt32("index", i);
		ASSERT_EQ(looper->PostMessage(&message), B_OK);
	}
	EXPECT_EQ(looper->MessageQueue()->CountMessages(), 100);
	EXPECT_EQ(looper->CurrentMessage(), (BMessage*)NULL);

	thread_id thread = looper->Run();
	EXPECT_GT(thread, 0);
	EXPECT_EQ(looper->Thread(), thread);
	EXPECT_NE(thread, find_thread(NULL));
	EXPECT_FALSE(looper->IsLocked());
	EXPECT_EQ(BLooper::LooperForThread(thread), looper);

	BMessenger messenger(looper);
	for (int i = 100; i < kCount; i++) {
		BMessage message(kMsgData);
		message.AddInt32("index", i);
		ASSERT_EQ(messenger.SendMessage(&message), B_OK);
	}

	ASSERT_TRUE(journal.WaitFor(kCount));
	std::vector<Seen> seen = journal.All();
	ASSERT_EQ(seen.size(), (size_t)kCount);
	for (int i = 0; i < kCount; i++) {
		EXPECT_EQ(seen[i].index, i);
		EXPECT_EQ(seen[i].handler, looper);
		EXPECT_TRUE(seen[i].wasCurrent);
		EXPECT_TRUE(seen[i].wasDelivered);
		EXPECT_EQ(seen[i].thread, thread);
	}

	// A message put into the queue directly is the looper's.
	looper->MessageQueue()->AddMessage(new BMessage(kMsgLate));
	ASSERT_TRUE(journal.WaitFor(kCount + 1));
	EXPECT_EQ(journal.All()[kCount].handler, looper);

	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->CurrentMessage(), (BMessage*)NULL);
	looper->Quit();
	EXPECT_TRUE(deaths.WaitForSignal(0));
	EXPECT_EQ(BLooper::LooperForThread(thread), (BLooper*)NULL);
}


TEST(Looper, LocksPerThreadAndRecursively)
{
	Journal journal;
	JournalLooper* looper = new JournalLooper(&journal);
	looper->Run();

	ASSERT_TRUE(looper->Lock());
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->CountLocks(), 2);
	EXPECT_TRUE(looper->IsLocked());

	status_t zero = B_OK;
	status_t timed = B_OK;
	bool lockedThere = true;
	std::thread other([&]() {
		zero = looper->LockWithTimeout(0);
		timed = looper->LockWithTimeout(20000);
		lockedThere = looper->IsLocked();
	});
	other.join();
	EXPECT_EQ(zero, B_WOULD_BLOCK);
	EXPECT_EQ(timed, B_TIMED_OUT);
	EXPECT_FALSE(lockedThere);

	// One Unlock() undoes one Lock(); then the lock passes to a waiting thread.
	looper->Unlock();
	EXPECT_EQ(looper->CountLocks(), 1);
	status_t later = B_ERROR;
	std::thread waiter([&]() {
		later = looper->LockWithTimeout(kPatience);
		if (later == B_OK)
			looper->Unlock();
	});
	looper->Unlock();
	waiter.join();
	EXPECT_EQ(later, B_OK);

	ASSERT_TRUE(looper->Lock());
	looper->Quit();
}


TEST(Looper, TargetsHandlersAndThePreferredHandler)
{
	Journal journal;
	JournalLooper* looper = new JournalLooper(&journal);
	JournalHandler first(&journal, "first");
	JournalHandler second(&journal, "second");
	BHandler plain("plain");
	JournalHandler stranger(&journal, "stranger");

	looper->AddHandler(&first);
	looper->AddHandler(&second);
	looper->AddHandler(&plain);
	EXPECT_EQ(first.Looper(), looper);
	EXPECT_EQ(first.NextHandler(), looper);
	EXPECT_EQ(looper->CountHandlers(), 4);
	EXPECT_EQ(looper->IndexOf(&second), 2);
	EXPECT_EQ(looper->IndexOf(&stranger), B_ERROR);
	EXPECT_EQ(looper->PreferredHandler(), (BHandler*)NULL);
	looper->Run();

	BMessage message(kMsgData);
	// A handler of the looper, the preferred handler (the looper itself until one is set), and
	// a plain BHandler, which passes the message on to its next handler, the looper
	message.AddInt32("index", 0);
	EXPECT_EQ(looper->PostMessage(&message, &first), B_OK);
	message.ReplaceInt32("index", 1);
	EXPECT_EQ(looper->PostMessage(&message, NULL), B_OK);
	message.ReplaceInt32("index", 2);
	EXPECT_EQ(looper->PostMessage(&message, &plain), B_OK);
	ASSERT_TRUE(journal.WaitFor(3));

	ASSERT_TRUE(looper->Lock());
	looper->SetPreferredHandler(&second);
	EXPECT_EQ(looper->PreferredHandler(), &second);
	// A handler of no looper cannot be preferred.
	looper->SetPreferredHandler(&stranger);
	EXPECT_EQ(looper->PreferredHandler(), (BHandler*)NULL);
	looper->SetPreferredHandler(&second);
	looper->Unlock();

	BMessenger toPreferred(NULL, looper);
	BMessenger toFirst(&first);
	EXPECT_TRUE(toPreferred.IsValid());
	message.ReplaceInt32("index", 3);
	EXPECT_EQ(toPreferred.SendMessage(&message), B_OK);
	message.ReplaceInt32("index", 4);
	EXPECT_EQ(toFirst.SendMessage(&message), B_OK);
	ASSERT_TRUE(journal.WaitFor(5));

	BLooper* targetLooper = NULL;
	EXPECT_EQ(toFirst.Target(&targetLooper), &first);
	EXPECT_EQ(targetLooper, looper);
	EXPECT_EQ(toPreferred.Target(&targetLooper), (BHandler*)NULL);
	EXPECT_EQ(targetLooper, looper);

	std::vector<Seen> seen = journal.All();
	BHandler* expected[] = {&first, looper, looper, &second, &first};
	for (int i = 0; i < 5; i++) {
		EXPECT_EQ(seen[i].index, i);
		EXPECT_EQ(seen[i].handler, expected[i]) << "message " << i;
	}

	// A handler of no looper is no target.
	status_t status = B_OK;
	BMessenger toStranger(&stranger, NULL, &status);
	EXPECT_EQ(status, B_MISMATCHED_VALUES);
	EXPECT_FALSE(toStranger.IsValid());
	EXPECT_EQ(looper->PostMessage(&message, &stranger), B_MISMATCHED_VALUES);
	BMessenger check(&first, looper, &status);
	EXPECT_EQ(status, B_OK);

	// A removed handler gets nothing more, though the messenger still sends.
	ASSERT_TRUE(looper->Lock());
	EXPECT_TRUE(looper->RemoveHandler(&first));
	EXPECT_FALSE(looper->RemoveHandler(&first));
	EXPECT_EQ(first.Looper(), (BLooper*)NULL);
	looper->Unlock();
	message.ReplaceInt32("index", 5);
	EXPECT_EQ(toFirst.SendMessage(&message), B_OK);
	message.ReplaceInt32("index", 6);
	EXPECT_EQ(looper->PostMessage(&message), B_OK);
	ASSERT_TRUE(journal.WaitFor(6));
	seen = journal.All();
	ASSERT_EQ(seen.size(), 6u);
	EXPECT_EQ(seen[5].index, 6);

	ASSERT_TRUE(looper->Lock());
	looper->Quit();
	// The handlers outlive their looper, free again.
	EXPECT_EQ(second.Looper(), (BLooper*)NULL);
}


TEST(Looper, QuitsFromAnotherThreadAfterWhatIsQueued)
{
	Journal journal;
	Journal deaths;
	Gate gate;
	BusyLooper* looper = new BusyLooper(&journal, &deaths, &gate);
	looper->Run();
	BMessenger messenger(looper);

	// Held busy, the looper has a queue when Quit() comes.
	ASSERT_EQ(looper->PostMessage(kMsgBlock), B_OK);
	ASSERT_TRUE(journal.WaitFor(1));
	ASSERT_EQ(looper->PostMessage(kMsgData), B_OK);
	ASSERT_EQ(looper->PostMessage(kMsgData), B_OK);

	// The lock comes once the looper is done with the message that holds it busy.
	std::thread opener([&]() { gate.Open(); });
	ASSERT_TRUE(looper->Lock());
	looper->Quit();
	opener.join();

	// Quit() returned once the looper was deleted, after what was queued.
	EXPECT_TRUE(deaths.WaitForSignal(0));
	EXPECT_EQ(journal.Count(), 3u);
	EXPECT_FALSE(messenger.IsValid());
}


TEST(Looper, QuitsFromInsideAfterTheCurrentMessage)
{
	Journal journal;
	Journal deaths;
	BusyLooper* looper = new BusyLooper(&journal, &deaths);
	BMessenger messenger(looper);

	ASSERT_EQ(looper->PostMessage(kMsgData), B_OK);
	ASSERT_EQ(looper->PostMessage(kMsgQuitInside), B_OK);
	ASSERT_EQ(looper->PostMessage(kMsgLate), B_OK);
	looper->Run();

	ASSERT_TRUE(deaths.WaitForSignal());
	std::vector<Seen> seen = journal.All();
	ASSERT_EQ(seen.size(), 2u);
	EXPECT_EQ(seen[1].what, (uint32)kMsgQuitInside);
	// The looper's thread holds the lock until the looper is gone: waiting for it fails.
	EXPECT_FALSE(messenger.LockTarget());
	EXPECT_FALSE(messenger.IsValid());
	EXPECT_EQ(messenger.SendMessage(kMsgLate), B_BAD_PORT_ID);
}


TEST(Looper, QuitRequestedAndQuitBeforeRun)
{
	// B_QUIT_REQUESTED asks QuitRequested(), whose answer a waiting sender gets.
	class Stubborn : public JournalLooper {
	public:
		Stubborn(Journal* journal, Journal* deaths) : JournalLooper(journal, deaths) { }
		bool
		QuitRequested() override
		{
			return fMayQuit;
		}
		bool fMayQuit = false;
	};

	Journal journal;
	Journal deaths;
	Stubborn* looper = new Stubborn(&journal, &deaths);
	looper->Run();
	BMessenger messenger(looper);

	BMessage reply;
	ASSERT_EQ(messenger.SendMessage(B_QUIT_REQUESTED, &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_REPLY);
	EXPECT_FALSE(reply.GetBool("result", true));
	EXPECT_TRUE(messenger.IsValid());

	ASSERT_TRUE(looper->Lock());
	looper->fMayQuit = true;
	looper->Unlock();
	ASSERT_EQ(messenger.SendMessage(B_QUIT_REQUESTED, &reply), B_OK);
	EXPECT_TRUE(reply.GetBool("result", false));
	EXPECT_TRUE(deaths.WaitForSignal());
	EXPECT_EQ(journal.Count(), 0u);

	// A looper that never ran is deleted at once, with what it had queued.
	Journal otherDeaths;
	JournalLooper* idle = new JournalLooper(&journal, &otherDeaths);
	BMessage waiting(kMsgData);
	ASSERT_EQ(idle->PostMessage(&waiting), B_OK);
	idle->Quit();
	EXPECT_TRUE(otherDeaths.WaitForSignal(0));
}


TEST(Looper, FiltersSeeMessagesFirst)
{
	static int32 sSkipped = 0;
	struct Skipper {
		static filter_result
		Filter(BMessage* message, BHandler**, BMessageFilter*)
		{
			if (message->GetInt32("index", 0) % 2 == 1) {
				sSkipped++;
				return B_SKIP_MESSAGE;
			}
			return B_DISPATCH_MESSAGE;
		}
	};
	// A handler's filter that hands the message to another handler
	class Redirect : public BMessageFilter {
	public:
		Redirect(BHandler* to) : BMessageFilter(kMsgLate), fTo(to) { }
		filter_result
		Filter(BMessage*, BHandler** target) override
		{
			*target = fTo;
			return B_DISPATCH_MESSAGE;
		}

	private:
		BHandler* fTo;
	};

	Journal journal;
	JournalLooper* looper = new JournalLooper(&journal);
	JournalHandler handler(&journal, "handler");
	looper->AddHandler(&handler);
	looper->AddCommonFilter(new BMessageFilter(B_ANY_DELIVERY, B_ANY_SOURCE, &Skipper::Filter));
	handler.AddFilter(new Redirect(looper));
	EXPECT_EQ(looper->CommonFilterList()->CountItems(), 1);
	looper->Run();

	for (int32 i = 0; i < 4; i++) {
		BMessage message(kMsgData);
		message.AddInt32("index", i);
		ASSERT_EQ(looper->PostMessage(&message, &handler), B_OK);
	}
	BMessage late(kMsgLate);
	late.AddInt32("index", 4);
	ASSERT_EQ(looper->PostMessage(&late, &handler), B_OK);

	ASSERT_TRUE(journal.WaitFor(3));
	ASSERT_TRUE(looper->Lock());
	std::vector<Seen> seen = journal.All();
	ASSERT_EQ(seen.size(), 3u);
	EXPECT_EQ(seen[0].index, 0);
	EXPECT_EQ(seen[0].handler, &handler);
	EXPECT_EQ(seen[1].index, 2);
	EXPECT_EQ(seen[2].index, 4);
	EXPECT_EQ(seen[2].handler, looper);
	EXPECT_EQ(sSkipped, 2);
	looper->Quit();
}


TEST(Looper, MessageQueue)
{
	BMessageQueue queue;
	EXPECT_TRUE(queue.IsEmpty());
	EXPECT_EQ(queue.NextMessage(), (BMessage*)NULL);

	BMessage* a = new BMessage('aaaa');
	BMessage* b = new BMessage('bbbb');
	BMessage* c = new BMessage('aaaa');
	queue.AddMessage(a);
	queue.AddMessage(b);
	queue.AddMessage(c);
	queue.AddMessage(NULL);
	EXPECT_EQ(queue.CountMessages(), 3);
	EXPECT_EQ(queue.FindMessage((int32)1), b);
	EXPECT_EQ(queue.FindMessage((int32)3), (BMessage*)NULL);
	EXPECT_EQ(queue.FindMessage((int32)-1), (BMessage*)NULL);
	EXPECT_EQ(queue.FindMessage('aaaa', 1), c);
	EXPECT_EQ(queue.FindMessage('aaaa', 2), (BMessage*)NULL);
	EXPECT_EQ(queue.FindMessage('cccc'), (BMessage*)NULL);
	EXPECT_TRUE(queue.IsNextMessage(a));

	EXPECT_TRUE(queue.Lock());
	EXPECT_TRUE(queue.Lock());
	EXPECT_TRUE(queue.IsLocked());
	queue.RemoveMessage(b);
	queue.Unlock();
	queue.Unlock();
	EXPECT_FALSE(queue.IsLocked());
	delete b;

	EXPECT_EQ(queue.NextMessage(), a);
	delete a;
	EXPECT_EQ(queue.CountMessages(), 1);
	// The queue deletes what it still holds.
}
