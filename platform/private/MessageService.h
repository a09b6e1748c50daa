/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_SERVICE_H
#define _MESSAGE_SERVICE_H


#include <Messenger.h>
#include <OS.h>
#include <sys/types.h>
#include <sys/un.h>

#include <memory>
#include <string>
#include <thread>


class BMessage;
class BPath;


namespace BPrivate {


// Messages between the user's processes: a process offers a service under a name (a Unix
// socket in the per-user registry folder), and any process sends it a message and waits for
// the reply. The server hands each request to a messenger of its own with a synchronous
// send, so the request is handled in that looper as any other message, and writes back the
// reply (B_NO_REPLY when the handler answered nothing).


// The socket of a service: <registry folder>/<name>.service
std::string service_path(const char* name);

// Sends the message to the service and waits at most timeout for its reply. B_BAD_PORT_ID
// when no process offers the service, B_TIMED_OUT when it does not answer in time, B_ERROR
// when the connection breaks. The reply may be NULL.
status_t send_to_service(
	const char* name, const BMessage* message, BMessage* reply, bigtime_t timeout = 5000000);

// True when a process offers the service
bool service_is_running(const char* name);

// Starts the host that offers the service, <system folder>/<hostName>, unless the service
// runs, and waits (at most timeout) until it answers. The host's output goes to
// <B_SYSTEM_VAR_DIRECTORY>/log/<hostName>.log.
status_t start_service_host(const char* hostName, const char* service, bigtime_t timeout);

// A host's log grows with everything its replicants print. Past this size it is started
// anew, and the full one is kept beside it as <hostName>.log.old (replacing the one before):
// when the host is started, and whenever the host calls limit_host_log().
const off_t kMaxHostLogSize = 1024 * 1024;

// <B_SYSTEM_VAR_DIRECTORY>/log/<hostName>.log; the folder is made when missing.
status_t host_log_path(const char* hostName, BPath* path);

// When the process's output goes to its host log and the log holds more than limit bytes,
// moves the log aside and sends standard output and standard error to a new one. Returns
// true when it did.
bool limit_host_log(const char* hostName, off_t limit = kMaxHostLogSize);

// Whether the host starts with the user's desktop session, to bring back what it keeps: an
// autostart entry, <B_USER_SETTINGS_DIRECTORY>/autostart/haiku-<hostName>.desktop, that runs
// this process's executable. Written only when it changes; removed when not wanted.
status_t set_host_autostart(const char* hostName, bool wanted);


class MessageService {
public:
	MessageService();
	~MessageService();

	// Offers the service: requests go to target, each answered within the handler's time
	// (at most handlerTimeout; a later reply is lost and the sender gets B_NO_REPLY).
	// B_NAME_IN_USE when another process already offers it; a socket left by a process that
	// ended is replaced.
	status_t Start(const char* name, const BMessenger& target, bigtime_t handlerTimeout = 10000000);
	// Ends the service: no new requests; the socket goes. Requests already handed to the
	// target are not waited for (the target may be the caller's own looper, or one that no
	// longer runs): their threads end on their own, answered or not.
	void Stop();

	bool
	IsRunning() const
	{
		return fSocket >= 0;
	}

private:
	// What the threads serving the requests use: it outlives the service object.
	struct Shared;

	status_t _Claim(const char* name, const sockaddr_un* address);
	void _Accept();
	static void _Serve(std::shared_ptr<Shared> shared, int connection);

	int fSocket;
	ino_t fSocketNode;
	int fWakePipe[2];
	std::string fPath;
	std::shared_ptr<Shared> fShared;
	std::thread fThread;
};


} // namespace BPrivate


#endif // _MESSAGE_SERVICE_H
