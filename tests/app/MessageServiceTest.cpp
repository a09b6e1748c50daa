/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <MessageQueue.h>

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
