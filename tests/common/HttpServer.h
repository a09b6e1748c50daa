/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _HTTP_SERVER_H
#define _HTTP_SERVER_H


#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>


// A tiny HTTP server on 127.0.0.1 for tests, so that the real wget can fetch pages without
// the internet. It listens on a free port and answers one connection after the other on a
// thread of its own: GET and HEAD, HTTP/1.0 and 1.1, always with Content-Length and
// "Connection: close". Unknown targets get a 404. Destroying the server stops the thread.
class HttpServer {
public:
	HttpServer();
	~HttpServer();

	HttpServer(const HttpServer&) = delete;
	HttpServer& operator=(const HttpServer&) = delete;

	int Port() const;
	std::string Url(const std::string& path) const;

	// Registers the answer for a request target. A request matches when its target, as it
	// stands on the request line (query included), or its percent-decoded form equals path.
	void Serve(const std::string& path, const std::string& body, int status = 200,
		const std::string& contentType = "text/html");

	// While held, requests are counted but not answered until Release() (or for at most ten
	// seconds), so that a test can look at a client that waits for its answer.
	void Hold();
	void Release();

	// Requests seen so far (counted as soon as their head was read).
	int RequestCount(const std::string& path) const;
	std::vector<std::string> RequestTargets() const;
	bool WaitForRequests(int count, int timeoutMs);

	static std::string PercentDecode(const std::string& text);

private:
	struct Response {
		std::string body;
		int status;
		std::string contentType;
	};

	void _Run();
	void _HandleConnection(int connection);
	bool _ReadHead(int connection, std::string& head);
	bool _RecordAndFind(const std::string& target, Response& response);
	static void _Send(int connection, int status, const std::string& contentType,
		const std::string& body, bool withBody);

	int fListenSocket;
	int fStopPipe[2];
	int fPort;
	std::thread fThread;

	mutable std::mutex fLock;
	std::condition_variable fRequestArrived;
	std::map<std::string, Response> fResponses;
	std::vector<std::string> fTargets;
	bool fHolding;
	std::condition_variable fReleased;
};


#endif // _HTTP_SERVER_H
