/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_RUNNER_H
#define _MESSAGE_RUNNER_H


#include <Messenger.h>


class BMessage;


// Sends a copy of a message to a target at a fixed interval, count times or (count < 0)
// forever. The first message goes one interval after the runner is made.
class BMessageRunner {
public:
	BMessageRunner(
		BMessenger target, const BMessage* message, bigtime_t interval, int32 count = -1);
	BMessageRunner(
		BMessenger target, const BMessage& message, bigtime_t interval, int32 count = -1);
	BMessageRunner(BMessenger target, const BMessage* message, bigtime_t interval, int32 count,
		BMessenger replyTo);
	BMessageRunner(BMessenger target, const BMessage& message, bigtime_t interval, int32 count,
		BMessenger replyTo);
	virtual ~BMessageRunner();

	status_t InitCheck() const;

	// Re-arms the runner: the next message goes one interval from now.
	status_t SetInterval(bigtime_t interval);
	// A count of 0 removes the runner.
	status_t SetCount(int32 count);
	status_t GetInfo(bigtime_t* interval, int32* count) const;

private:
	BMessageRunner(const BMessageRunner&);
	BMessageRunner& operator=(const BMessageRunner&);

	void _InitData(BMessenger target, const BMessage* message, bigtime_t interval, int32 count,
		BMessenger replyTo);

	int32 fToken;
	// the runner's number in the timer thread's table, or an error code
};


#endif // _MESSAGE_RUNNER_H
