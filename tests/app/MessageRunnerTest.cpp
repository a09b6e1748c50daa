/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageRunner.h>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Looper.h>
#include <Message.h>
#include <Messenger.h>

#include "AppTestSupport.h"

#include <gtest/gtest.h>


// Each test runs in a process of its own (ctest), so the time scale, read once per process,
// is whatever the test sets before its first runner.

enum { kMsgTick = 'tick', kMsgSentinel = 'sent' };


static const bigtime_t kInterval = 100000;


class RunnerTest : public testing::Test {
protected:
	void
	SetUp() override
	{
		fLooper = new JournalLooper(&fJournal);
		fLooper->Run();
		fTarget = BMessenger(fLooper);
	}

	void
	TearDown() override
	{
		if (fLooper->Lock())
			fLooper->Quit();
	}

	// The number of ticks, once every message sent so far has been handled
	size_t
	TicksSoFar()
	{
		size_t before = fJournal.Count();
		EXPECT_EQ(fTarget.SendMessage(kMsgSentinel), B_OK);
		EXPECT_TRUE(fJournal.WaitFor(before + 1));
		size_t ticks = 0;
		for (const Seen& seen : fJournal.All()) {
			if (seen.what == kMsgTick)
				ticks++;
		}
		return ticks;
	}

	Journal fJournal;
	JournalLooper* fLooper;
	BMessenger fTarget;
};


TEST_F(RunnerTest, SendsCountTimesAtTheInterval)
{
	unsetenv("HAIKU_TIME_SCALE");
	BMessage tick(kMsgTick);
	tick.AddInt32("index", 5);
	bigtime_t start = system_time();
	BMessageRunner runner(fTarget, &tick, kInterval, 3);
	ASSERT_EQ(runner.InitCheck(), B_OK);

	// The message was copied.
	tick.ReplaceInt32("index", 6);

	ASSERT_TRUE(fJournal.WaitFor(3));
	std::vector<Seen> seen = fJournal.All();
	for (int i = 0; i < 3; i++) {
		EXPECT_EQ(seen[i].what, (uint32)kMsgTick);
		EXPECT_EQ(seen[i].index, 5);
		// The n-th message goes n intervals after the runner was made, never earlier; late
		// only as far as a busy machine makes it.
		bigtime_t due = (i + 1) * kInterval;
		EXPECT_GE(seen[i].when - start, due);
		EXPECT_LT(seen[i].when - start, due + 20 * kInterval);
	}

	// Used up, the runner stays and sends nothing more.
	bigtime_t interval = 0;
	int32 count = -5;
	EXPECT_EQ(runner.GetInfo(&interval, &count), B_OK);
	EXPECT_EQ(interval, kInterval);
	EXPECT_EQ(count, 0);
	EXPECT_FALSE(fJournal.WaitFor(4, 3 * kInterval));

	// A new count starts it again.
	EXPECT_EQ(runner.SetCount(1), B_OK);
	ASSERT_TRUE(fJournal.WaitFor(4));
	EXPECT_EQ(TicksSoFar(), 4u);
}


TEST_F(RunnerTest, SetCountZeroAndDeletionStopIt)
{
	unsetenv("HAIKU_TIME_SCALE");
	BMessage tick(kMsgTick);
	BMessageRunner* forever = new BMessageRunner(fTarget, tick, 50000);
	ASSERT_EQ(forever->InitCheck(), B_OK);
	ASSERT_TRUE(fJournal.WaitFor(2));

	EXPECT_EQ(forever->SetCount(0), B_OK);
	EXPECT_EQ(forever->GetInfo(NULL, NULL), B_BAD_VALUE);
	EXPECT_EQ(forever->SetInterval(50000), B_BAD_VALUE);
	size_t ticks = TicksSoFar();
	EXPECT_FALSE(fJournal.WaitFor(fJournal.Count() + 1, 200000));
	EXPECT_EQ(TicksSoFar(), ticks);
	delete forever;

	BMessageRunner* deleted = new BMessageRunner(fTarget, &tick, 50000, -1, fTarget);
	ASSERT_EQ(deleted->InitCheck(), B_OK);
	ASSERT_TRUE(fJournal.WaitFor(fJournal.Count() + 2));
	delete deleted;
	ticks = TicksSoFar();
	EXPECT_FALSE(fJournal.WaitFor(fJournal.Count() + 1, 200000));
	EXPECT_EQ(TicksSoFar(), ticks);

	// Nothing to send is no runner.
	BMessageRunner empty(fTarget, (const BMessage*)NULL, 50000);
	EXPECT_EQ(empty.InitCheck(), B_BAD_VALUE);
	BMessageRunner none(fTarget, tick, 50000, 0);
	EXPECT_EQ(none.InitCheck(), B_BAD_VALUE);
}


TEST_F(RunnerTest, SetIntervalRearmsAndGoneTargetsAreSkipped)
{
	unsetenv("HAIKU_TIME_SCALE");
	BMessage tick(kMsgTick);
	// Too long to come during the test, until the interval is set again
	BMessageRunner runner(fTarget, &tick, 3600 * 1000000LL);
	bigtime_t start = system_time();
	EXPECT_EQ(runner.SetInterval(kInterval), B_OK);
	ASSERT_TRUE(fJournal.WaitFor(1));
	EXPECT_GE(fJournal.All()[0].when - start, kInterval);

	// Shorter than the minimum, an interval is the minimum.
	bigtime_t interval = 0;
	EXPECT_EQ(runner.SetInterval(10), B_OK);
	EXPECT_EQ(runner.GetInfo(&interval, NULL), B_OK);
	EXPECT_EQ(interval, 50000);

	// A runner whose target is gone goes on, sending nowhere.
	Journal otherJournal;
	JournalLooper* other = new JournalLooper(&otherJournal);
	other->Run();
	BMessageRunner orphan(BMessenger(other), &tick, 50000, 3);
	ASSERT_TRUE(other->Lock());
	other->Quit();
	int32 count = -1;
	while (count != 0) {
		ASSERT_EQ(orphan.GetInfo(NULL, &count), B_OK);
		if (count != 0) {
			ASSERT_TRUE(fJournal.WaitFor(fJournal.Count() + 1));
		}
	}
	EXPECT_EQ(otherJournal.Count(), 0u);
}


TEST_F(RunnerTest, TimeScaleShortensIntervals)
{
	// The scale is read once per process: the test runs itself again with it set.
	if (getenv("HAIKU_TIME_SCALE") == NULL) {
		pid_t child = fork();
		ASSERT_GE(child, 0);
		if (child == 0) {
			setenv("HAIKU_TIME_SCALE", "0.001", 1);
			execl("/proc/self/exe", "test_app",
				"--gtest_filter=RunnerTest.TimeScaleShortensIntervals", (char*)NULL);
			_exit(127);
		}
		int status = 0;
		ASSERT_EQ(waitpid(child, &status, 0), child);
		ASSERT_TRUE(WIFEXITED(status));
		EXPECT_EQ(WEXITSTATUS(status), 0);
		return;
	}

	BMessage tick(kMsgTick);
	const bigtime_t kMinute = 60 * 1000000LL;
	BMessageRunner runner(fTarget, &tick, kMinute, 2);

	// Two minutes of ticks come in well under the patience of the test, and the clock of the
	// process moves on by those two minutes.
	bigtime_t start = system_time();
	ASSERT_TRUE(fJournal.WaitFor(2));
	EXPECT_GE(fJournal.All()[1].when - start, 2 * kMinute - kMinute / 10);
	EXPECT_GE(fJournal.All()[1].when - fJournal.All()[0].when, kMinute / 2);
	bigtime_t interval = 0;
	EXPECT_EQ(runner.GetInfo(&interval, NULL), B_OK);
	EXPECT_EQ(interval, kMinute);
}
