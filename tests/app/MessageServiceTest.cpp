/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <MessageQueue.h>
#include <Path.h>

#include "../../platform/private/MessageService.h"
#include "TestEnv.h"


using namespace BPrivate;


namespace {

// Answers 'ping' with its "n" plus one; lets 'mute' go unanswered; on 'gate' waits until
// the gate opens.
class Answerer : public BLooper {
public:
	std::mutex gate;
	std::atomic<bool> atGate {false};

	void
	MessageReceived(BMessage* message) override
	{
		if (message->what == 'gate') {
			atGate = true;
			std::lock_guard<std::mutex> passing(gate);
		} else if (message->what == 'ping') {
			BMessage reply('pong');
			reply.AddInt32("n", message->GetInt32("n", 0) + 1);
			message->SendReply(&reply);
		} else if (message->what != 'mute')
			BLooper::MessageReceived(message);
	}
};

} // namespace


// Requests from other processes reach a looper of ours and its replies go back; a service
// name is offered once, and the socket of a process that ended does not keep it.
TEST(MessageService, RequestsAreAnsweredByTheServingLooper)
{
	TestEnv env;
	BMessage ping('ping');
	ping.AddInt32("n", 41);
	BMessage reply;
	EXPECT_FALSE(service_is_running("test-service"));
	EXPECT_EQ(send_to_service("test-service", &ping, &reply), B_BAD_PORT_ID);

	// A socket file that nobody listens on any more, as a killed process leaves it.
	int stale = socket(AF_UNIX, SOCK_STREAM, 0);
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	snprintf(
		address.sun_path, sizeof(address.sun_path), "%s", service_path("test-service").c_str());
	ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
	close(stale);
	EXPECT_EQ(send_to_service("test-service", &ping, &reply), B_BAD_PORT_ID);

	Answerer* answerer = new Answerer;
	answerer->Run();
	{
		MessageService service;
		ASSERT_EQ(service.Start("test-service", BMessenger(answerer)), B_OK);
		EXPECT_TRUE(service_is_running("test-service"));
		MessageService second;
		EXPECT_EQ(second.Start("test-service", BMessenger(answerer)), B_NAME_IN_USE);

		ASSERT_EQ(send_to_service("test-service", &ping, &reply), B_OK);
		EXPECT_EQ(reply.what, (uint32)'pong');
		EXPECT_EQ(reply.GetInt32("n", 0), 42);

		BMessage mute('mute');
		ASSERT_EQ(send_to_service("test-service", &mute, &reply), B_OK);
		EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);

		// Many senders at once each get their own answer.
		std::atomic<int> right(0);
		std::vector<std::thread> senders;
		for (int i = 0; i < 8; i++) {
			senders.emplace_back([&right, i] {
				BMessage request('ping');
				request.AddInt32("n", i);
				BMessage answer;
				if (send_to_service("test-service", &request, &answer) == B_OK
					&& answer.GetInt32("n", -1) == i + 1)
					right++;
			});
		}
		for (std::thread& sender : senders)
			sender.join();
		EXPECT_EQ(right, 8);

		// A frame whose message claims more than the frame holds is refused unread.
		std::vector<char> flat(ping.FlattenedSize());
		ASSERT_EQ(ping.Flatten(flat.data(), flat.size()), B_OK);
		uint32 frame = (uint32)flat.size();
		uint32 claimed = 64 * 1024 * 1024;
		memcpy(flat.data() + 8, &claimed, sizeof(claimed));
		int raw = socket(AF_UNIX, SOCK_STREAM, 0);
		ASSERT_EQ(connect(raw, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
		ASSERT_EQ(write(raw, &frame, sizeof(frame)), (ssize_t)sizeof(frame));
		ASSERT_EQ(write(raw, flat.data(), flat.size()), (ssize_t)flat.size());
		char answer;
		EXPECT_EQ(read(raw, &answer, 1), 0);
		close(raw);
	}
	{
		// The service ends while a request waits for its busy looper (as when the looper
		// itself ends it): the end does not wait for the answer, which still goes out.
		MessageService service;
		ASSERT_EQ(service.Start("test-service", BMessenger(answerer), B_INFINITE_TIMEOUT), B_OK);
		answerer->gate.lock();
		answerer->PostMessage('gate');
		EXPECT_TRUE(WaitUntil([&] { return answerer->atGate.load(); }));
		BMessage answer;
		status_t status = B_ERROR;
		std::thread sender(
			[&] { status = send_to_service("test-service", &ping, &answer, B_INFINITE_TIMEOUT); });
		EXPECT_TRUE(WaitUntil([&] { return !answerer->MessageQueue()->IsEmpty(); }));
		service.Stop();
		answerer->gate.unlock();
		sender.join();
		EXPECT_EQ(status, B_OK);
		EXPECT_EQ(answer.GetInt32("n", 0), 42);
	}
	// The service ended with its object, and took its socket along.
	EXPECT_FALSE(service_is_running("test-service"));
	EXPECT_NE(access(service_path("test-service").c_str(), F_OK), 0);
	answerer->Lock();
	answerer->Quit();
}


static off_t
file_size(const std::string& path)
{
	struct stat info;
	return stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}


// A host's log does not grow without end: a full one is set aside when the host starts, and
// when the running host looks at it (only if the host's output goes there).
TEST(MessageService, AFullHostLogIsSetAside)
{
	TestEnv env;
	BPath logPath;
	ASSERT_EQ(host_log_path("LogHost", &logPath), B_OK);
	const std::string log = logPath.Path();
	const std::string old = log + ".old";
	{
		std::string full(kMaxHostLogSize + 1, 'a');
		FILE* file = fopen(log.c_str(), "w");
		ASSERT_NE(file, nullptr);
		fwrite(full.data(), 1, full.size(), file);
		fclose(file);
	}
	// A host that never offers its service.
	const std::string host = env.System() + "/LogHost";
	FILE* script = fopen(host.c_str(), "w");
	ASSERT_NE(script, nullptr);
	fputs("#!/bin/sh\necho started\n", script);
	fclose(script);
	chmod(host.c_str(), 0755);
	EXPECT_EQ(start_service_host("LogHost", "test-log-service", 200000), B_TIMED_OUT);
	EXPECT_EQ(file_size(old), kMaxHostLogSize + 1);
	EXPECT_LT(file_size(log), 100);

	// The test's own output is not the log: nothing happens.
	EXPECT_FALSE(limit_host_log("LogHost", 0));

	fflush(stdout);
	int savedOutput = dup(STDOUT_FILENO);
	int logFile = open(log.c_str(), O_WRONLY | O_APPEND);
	ASSERT_GE(logFile, 0);
	dup2(logFile, STDOUT_FILENO);
	close(logFile);
	printf("before\n");
	fflush(stdout);
	off_t before = file_size(log);
	bool small = limit_host_log("LogHost", before);
	bool full = limit_host_log("LogHost", before - 1);
	printf("after\n");
	fflush(stdout);
	dup2(savedOutput, STDOUT_FILENO);
	close(savedOutput);

	EXPECT_FALSE(small);
	EXPECT_TRUE(full);
	EXPECT_EQ(file_size(old), before);
	EXPECT_EQ(file_size(log), 6);
}


// Two processes that claim a name at the same moment, with or without the socket a killed
// process left behind: one serves, the other hears that the name is in use.
TEST(MessageService, OfTwoProcessesClaimingANameAtOnceOneServes)
{
	TestEnv env;
	const char* name = "test-race";
	const std::string path = service_path(name);
	for (int round = 0; round < 60; round++) {
		unlink(path.c_str());
		if (round % 2 == 0) {
			int stale = socket(AF_UNIX, SOCK_STREAM, 0);
			sockaddr_un address = {};
			address.sun_family = AF_UNIX;
			snprintf(address.sun_path, sizeof(address.sun_path), "%s", path.c_str());
			bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof(address));
			close(stale);
		}
		int go[2];
		int results[2];
		int hold[2];
		ASSERT_EQ(pipe(go), 0);
		ASSERT_EQ(pipe(results), 0);
		ASSERT_EQ(pipe(hold), 0);
		pid_t claimers[2];
		for (pid_t& claimer : claimers) {
			claimer = fork();
			if (claimer == 0) {
				char byte;
				close(go[1]);
				close(hold[1]);
				if (read(go[0], &byte, 1) < 0)
					_exit(2);
				MessageService service;
				status_t status = service.Start(name, BMessenger());
				if (write(results[1], &status, sizeof(status)) < 0 || read(hold[0], &byte, 1) < 0)
					_exit(2);
				_exit(0);
			}
		}
		close(go[0]);
		close(hold[0]);
		close(go[1]);
		int serving = 0;
		for (int i = 0; i < 2; i++) {
			status_t status = B_ERROR;
			ASSERT_EQ(read(results[0], &status, sizeof(status)), (ssize_t)sizeof(status));
			serving += status == B_OK ? 1 : 0;
		}
		EXPECT_EQ(serving, 1) << "round " << round;
		close(hold[1]);
		for (pid_t claimer : claimers)
			waitpid(claimer, NULL, 0);
		close(results[0]);
		close(results[1]);
	}
}
