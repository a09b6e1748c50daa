/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Messenger.h>

#include <string.h>
#include <unistd.h>

#include <thread>

#include <Looper.h>
#include <Message.h>
#include <MessageQueue.h>
#include <Roster.h>

#include "AppTestSupport.h"

#include <gtest/gtest.h>


enum {
	kMsgPing = 'ping',
	kMsgPong = 'pong',
	kMsgIgnore = 'ignr',
	kMsgSlow = 'slow',
	kMsgAsk = 'ask ',
	kMsgAnswer = 'answ',
	kMsgToSelf = 'self',
	kMsgBlock = 'blck',
	kMsgLater = 'latr',
	kMsgData = 'data'
};


// Answers what it is asked, in the ways a looper can
class Responder : public JournalLooper {
public:
	Responder(Journal* journal, Gate* gate = NULL, int32 capacity = B_LOOPER_PORT_DEFAULT_CAPACITY)
		: JournalLooper(journal, NULL, "responder", capacity), fGate(gate)
	{ }

	void
	MessageReceived(BMessage* message) override
	{
		fJournal->Add(this, message);
		switch (message->what) {
		case kMsgPing: {
			fWaitingSeen = message->IsSourceWaiting();
			BMessage pong(kMsgPong);
			pong.AddInt32("value", message->GetInt32("value", 0) * 2);
			fReplyStatus = message->SendReply(&pong);
			// A second answer to a waiting sender is refused.
			fSecondReplyStatus = message->SendReply(kMsgPong);
			break;
		}
		case kMsgAsk:
			fReturnAddress = message->ReturnAddress();
			fReplyStatus = message->SendReply(kMsgAnswer);
			break;
		case kMsgSlow:
			fGate->Wait();
			fReplyStatus = message->SendReply(kMsgPong);
			fJournal->Signal();
			break;
		case kMsgToSelf: {
			BMessage reply;
			fToSelfStatus = BMessenger(this).SendMessage(kMsgPing, &reply);
			fToSelfReply = reply.what;
			break;
		}
		case kMsgBlock:
			fGate->Wait();
			break;
		case kMsgLater:
			// Kept to answer from another thread
			fDetached = DetachCurrentMessage();
			break;
		}
	}

	Gate* fGate;
	bool fWaitingSeen = false;
	status_t fReplyStatus = B_ERROR;
	status_t fSecondReplyStatus = B_ERROR;
	status_t fToSelfStatus = B_ERROR;
	uint32 fToSelfReply = 0;
	BMessenger fReturnAddress;
	BMessage* fDetached = NULL;
};


static void
quit(BLooper* looper)
{
	ASSERT_TRUE(looper->Lock());
	looper->Quit();
}


TEST(Messenger, ValidityOutlivesNoTarget)
{
	BMessenger empty;
	EXPECT_FALSE(empty.IsValid());
	EXPECT_EQ(empty.SendMessage(kMsgData), B_BAD_PORT_ID);
	EXPECT_EQ(empty.Target(NULL), (BHandler*)NULL);
	EXPECT_FALSE(empty.LockTarget());

	status_t status = B_OK;
	BMessenger none((BHandler*)NULL, NULL, &status);
	EXPECT_EQ(status, B_BAD_VALUE);

	Journal journal;
	Journal deaths;
	JournalLooper* looper = new JournalLooper(&journal, &deaths);
	looper->Run();
	BMessenger messenger(looper);
	EXPECT_TRUE(messenger.IsValid());
	EXPECT_TRUE(messenger.IsTargetLocal());
	EXPECT_EQ(messenger.Team(), getpid());

	BMessenger copy(messenger);
	BMessenger assigned;
	assigned = messenger;
	EXPECT_TRUE(copy == messenger);
	EXPECT_TRUE(assigned == messenger);
	EXPECT_FALSE(assigned != messenger);
	EXPECT_FALSE(empty == messenger);
	EXPECT_TRUE(messenger != BMessenger(NULL, looper));

	EXPECT_TRUE(messenger.LockTarget());
	EXPECT_TRUE(looper->IsLocked());
	looper->Unlock();
	EXPECT_EQ(messenger.LockTargetWithTimeout(0), B_OK);
	looper->Unlock();

	quit(looper);
	ASSERT_TRUE(deaths.WaitForSignal(0));

	// The looper is gone: the messenger says so, and nothing reaches freed memory.
	EXPECT_FALSE(messenger.IsValid());
	EXPECT_FALSE(copy.IsValid());
	EXPECT_EQ(messenger.SendMessage(kMsgData), B_BAD_PORT_ID);
	BMessage message(kMsgData);
	BMessage reply;
	EXPECT_EQ(messenger.SendMessage(&message, &reply), B_BAD_PORT_ID);
	EXPECT_FALSE(messenger.LockTarget());
	EXPECT_EQ(messenger.LockTargetWithTimeout(0), B_BAD_VALUE);
	BLooper* target = looper;
	EXPECT_EQ(messenger.Target(&target), (BHandler*)NULL);
	EXPECT_EQ(target, (BLooper*)NULL);
}


TEST(Messenger, SynchronousReplies)
{
	Journal journal;
	Gate gate;
	Responder* looper = new Responder(&journal, &gate);
	looper->Run();
	BMessenger messenger(looper);

	// An answer
	BMessage ping(kMsgPing);
	ping.AddInt32("value", 21);
	BMessage reply;
	ASSERT_EQ(messenger.SendMessage(&ping, &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)kMsgPong);
	EXPECT_EQ(reply.GetInt32("value", 0), 42);
	EXPECT_TRUE(reply.IsReply());
	EXPECT_FALSE(ping.WasDelivered());
	ASSERT_TRUE(looper->Lock());
	EXPECT_TRUE(looper->fWaitingSeen);
	EXPECT_EQ(looper->fReplyStatus, B_OK);
	EXPECT_EQ(looper->fSecondReplyStatus, B_DUPLICATE_REPLY);
	looper->Unlock();

	// The message and the reply may be one object.
	ASSERT_EQ(messenger.SendMessage(&ping, &ping), B_OK);
	EXPECT_EQ(ping.what, (uint32)kMsgPong);

	// No answer: the message is deleted unanswered.
	ASSERT_EQ(messenger.SendMessage(kMsgIgnore, &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);

	// An answer that comes too late
	BMessage slow(kMsgSlow);
	EXPECT_EQ(messenger.SendMessage(&slow, &reply, B_INFINITE_TIMEOUT, 30000), B_TIMED_OUT);
	EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);
	EXPECT_TRUE(reply.IsEmpty());
	gate.Open();
	ASSERT_TRUE(journal.WaitForSignal());
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->fReplyStatus, B_BAD_PORT_ID);
	looper->Unlock();

	// An answer given later, from another thread
	std::thread sender([&]() {
		BMessage later(kMsgLater);
		BMessage answer;
		EXPECT_EQ(messenger.SendMessage(&later, &answer), B_OK);
		EXPECT_EQ(answer.what, (uint32)kMsgAnswer);
	});
	// Once the looper is locked again, it is done with the message.
	ASSERT_TRUE(journal.WaitFor(5));
	ASSERT_TRUE(looper->Lock());
	BMessage* detached = looper->fDetached;
	looper->Unlock();
	ASSERT_NE(detached, (BMessage*)NULL);
	EXPECT_TRUE(detached->IsSourceWaiting());
	EXPECT_EQ(detached->SendReply(kMsgAnswer), B_OK);
	EXPECT_FALSE(detached->IsSourceWaiting());
	sender.join();
	delete detached;

	quit(looper);
}


TEST(Messenger, SendingToItselfDoesNotHang)
{
	Journal journal;
	Responder* looper = new Responder(&journal);
	looper->Run();
	BMessenger messenger(looper);

	ASSERT_EQ(messenger.SendMessage(kMsgToSelf), B_OK);
	ASSERT_TRUE(journal.WaitFor(1));
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->fToSelfStatus, B_MESSAGE_TO_SELF);

	// Nor does a thread that holds the looper's lock wait for it.
	BMessage reply;
	EXPECT_EQ(messenger.SendMessage(kMsgPing, &reply), B_MESSAGE_TO_SELF);
	looper->Quit();
}


TEST(Messenger, PendingMessagesOfAQuittingLooperAnswerNoReply)
{
	// A looper that does not run yet keeps what is sent to it in its queue.
	Journal journal;
	Journal deaths;
	JournalLooper* looper = new JournalLooper(&journal, &deaths);
	BMessenger messenger(looper);

	status_t status = B_ERROR;
	BMessage reply;
	std::thread sender([&]() { status = messenger.SendMessage(kMsgPing, &reply); });

	// The sender puts its message into the queue at once, then waits for the reply.
	bigtime_t deadline = system_time() + kPatience;
	while (looper->MessageQueue()->CountMessages() == 0 && system_time() < deadline)
		std::this_thread::yield();
	BMessage* queued = looper->MessageQueue()->FindMessage((int32)0);
	ASSERT_NE(queued, (BMessage*)NULL);
	EXPECT_TRUE(queued->IsSourceWaiting());
	EXPECT_FALSE(queued->WasDelivered());

	// Deleted with the looper, the message answers B_NO_REPLY.
	looper->Quit();
	sender.join();
	EXPECT_TRUE(deaths.WaitForSignal(0));
	EXPECT_EQ(status, B_OK);
	EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);
	EXPECT_EQ(journal.Count(), 0u);
}


TEST(Messenger, AsynchronousRepliesAndReturnAddress)
{
	Journal journal;
	Journal answers;
	Responder* looper = new Responder(&journal);
	JournalLooper* client = new JournalLooper(&answers, NULL, "client");
	JournalHandler handler(&answers, "answers");
	client->AddHandler(&handler);
	looper->Run();
	client->Run();

	BMessenger messenger(looper);
	BMessage ask(kMsgAsk);
	ask.AddInt32("index", 7);
	ASSERT_EQ(messenger.SendMessage(&ask, &handler), B_OK);
	ASSERT_TRUE(answers.WaitFor(1));

	std::vector<Seen> seen = answers.All();
	EXPECT_EQ(seen[0].what, (uint32)kMsgAnswer);
	EXPECT_EQ(seen[0].handler, &handler);
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->fReplyStatus, B_OK);
	EXPECT_TRUE(looper->fReturnAddress == BMessenger(&handler));
	looper->Unlock();

	// The answer knows what it answers.
	class Inspector : public BHandler {
	public:
		Inspector(Journal* journal) : BHandler("inspector"), fJournal(journal) { }
		void
		MessageReceived(BMessage* message) override
		{
			fIsReply = message->IsReply();
			const BMessage* previous = message->Previous();
			fPreviousWhat = previous != NULL ? previous->what : 0;
			fPreviousIndex = previous != NULL ? previous->GetInt32("index", -1) : -1;
			fJournal->Add(this, message);
		}
		Journal* fJournal;
		bool fIsReply = false;
		uint32 fPreviousWhat = 0;
		int32 fPreviousIndex = -1;
	} inspector(&answers);
	ASSERT_TRUE(client->Lock());
	client->AddHandler(&inspector);
	client->Unlock();
	ASSERT_EQ(messenger.SendMessage(&ask, BMessenger(&inspector)), B_OK);
	ASSERT_TRUE(answers.WaitFor(2));
	ASSERT_TRUE(client->Lock());
	EXPECT_TRUE(inspector.fIsReply);
	EXPECT_EQ(inspector.fPreviousWhat, (uint32)kMsgAsk);
	EXPECT_EQ(inspector.fPreviousIndex, 7);
	client->Quit();

	// Replies to a message that was never sent are refused.
	BMessage unsent(kMsgData);
	EXPECT_EQ(unsent.SendReply(kMsgAnswer), B_BAD_REPLY);
	EXPECT_FALSE(unsent.ReturnAddress().IsValid());
	quit(looper);
}


TEST(Messenger, FullQueueMakesSendersWait)
{
	Journal journal;
	Gate gate;
	Responder* looper = new Responder(&journal, &gate, 2);
	looper->Run();
	BMessenger messenger(looper);

	// Busy with the first message, the looper lets its queue fill up.
	ASSERT_EQ(messenger.SendMessage(kMsgBlock), B_OK);
	ASSERT_TRUE(journal.WaitFor(1));
	BMessage data(kMsgData);
	ASSERT_EQ(messenger.SendMessage(&data, (BHandler*)NULL, 0), B_OK);
	ASSERT_EQ(looper->PostMessage(kMsgData), B_OK);

	EXPECT_EQ(messenger.SendMessage(&data, (BHandler*)NULL, 0), B_WOULD_BLOCK);
	EXPECT_EQ(messenger.SendMessage(&data, (BHandler*)NULL, 20000), B_TIMED_OUT);
	EXPECT_EQ(looper->PostMessage(kMsgData), B_WOULD_BLOCK);
	BMessage reply;
	EXPECT_EQ(messenger.SendMessage(&data, &reply, 0), B_WOULD_BLOCK);
	EXPECT_EQ(looper->MessageQueue()->CountMessages(), 2);

	// A sender that waits gets its turn once the looper makes room.
	status_t status = B_ERROR;
	std::thread sender(
		[&]() { status = messenger.SendMessage(&data, (BHandler*)NULL, kPatience); });
	gate.Open();
	sender.join();
	EXPECT_EQ(status, B_OK);
	ASSERT_TRUE(journal.WaitFor(4));
	quit(looper);
}


TEST(Messenger, FindsTheApplicationBySignature)
{
	const char* kSignature = "application/x-vnd.Webgrazer-test";
	status_t status = B_OK;
	BMessenger missing(kSignature, -1, &status);
	EXPECT_EQ(status, B_BAD_VALUE);
	EXPECT_FALSE(missing.IsValid());
	EXPECT_FALSE(be_roster->IsRunning(kSignature));
	app_info info;
	EXPECT_EQ(be_roster->GetAppInfo(kSignature, &info), B_ERROR);

	Journal journal;
	Journal deaths;
	Responder* app = new Responder(&journal);
	app->Run();
	ASSERT_EQ(BPrivate::register_app_looper(kSignature, app), B_OK);

	BMessenger bySignature(kSignature, -1, &status);
	EXPECT_EQ(status, B_OK);
	EXPECT_TRUE(bySignature.IsValid());
	EXPECT_TRUE(bySignature == BMessenger(NULL, app));
	BMessenger byTeam(kSignature, getpid(), &status);
	EXPECT_EQ(status, B_OK);
	BMessenger otherSignature("application/x-vnd.other", getpid(), &status);
	EXPECT_EQ(status, B_MISMATCHED_VALUES);
	BMessenger otherTeam(kSignature, getpid() + 1, &status);
	EXPECT_EQ(status, B_BAD_TEAM_ID);

	// Case does not matter in a MIME type.
	EXPECT_TRUE(be_roster->IsRunning("Application/X-Vnd.Webgrazer-Test"));
	ASSERT_EQ(be_roster->GetAppInfo(kSignature, &info), B_OK);
	EXPECT_STREQ(info.signature, kSignature);
	EXPECT_EQ(info.team, getpid());
	EXPECT_EQ(info.thread, app->Thread());
	EXPECT_NE(info.ref.name, (char*)NULL);

	// Replies without an address go to the application.
	Journal workerJournal;
	Responder* worker = new Responder(&workerJournal);
	worker->Run();
	ASSERT_EQ(BMessenger(worker).SendMessage(kMsgAsk), B_OK);
	ASSERT_TRUE(journal.WaitFor(1));
	EXPECT_EQ(journal.All()[0].what, (uint32)kMsgAnswer);
	quit(worker);

	quit(app);
	EXPECT_FALSE(be_roster->IsRunning(kSignature));
	EXPECT_FALSE(bySignature.IsValid());
	EXPECT_EQ(BPrivate::register_app_looper(kSignature, app), B_BAD_HANDLER);
	char tooLong[B_MIME_TYPE_LENGTH + 10];
	memset(tooLong, 'a', sizeof(tooLong) - 1);
	tooLong[sizeof(tooLong) - 1] = '\0';
	EXPECT_EQ(BPrivate::register_app_looper(tooLong, app), B_BAD_VALUE);
}
