/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "HttpServer.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>


static const size_t kMaxHeadSize = 16 * 1024;
static const int kConnectionTimeoutMs = 2000;


static const char*
reason_phrase(int status)
{
	switch (status) {
	case 200:
		return "OK";
	case 201:
		return "Created";
	case 204:
		return "No Content";
	case 301:
		return "Moved Permanently";
	case 302:
		return "Found";
	case 304:
		return "Not Modified";
	case 400:
		return "Bad Request";
	case 403:
		return "Forbidden";
	case 404:
		return "Not Found";
	case 431:
		return "Request Header Fields Too Large";
	case 500:
		return "Internal Server Error";
	case 501:
		return "Not Implemented";
	case 503:
		return "Service Unavailable";
	default:
		return "Status";
	}
}


static int
hex_value(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}


HttpServer::HttpServer() : fListenSocket(-1), fStopPipe {-1, -1}, fPort(0), fHolding(false)
{
	fListenSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fListenSocket < 0)
		throw std::runtime_error("HttpServer: socket() failed");

	struct sockaddr_in address;
	memset(&address, 0, sizeof(address));
	address.sin_family = AF_INET;
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	address.sin_port = 0;
	socklen_t length = sizeof(address);
	if (bind(fListenSocket, (struct sockaddr*)&address, sizeof(address)) != 0
		|| listen(fListenSocket, 16) != 0
		|| getsockname(fListenSocket, (struct sockaddr*)&address, &length) != 0
		|| pipe2(fStopPipe, O_CLOEXEC) != 0) {
		close(fListenSocket);
		throw std::runtime_error("HttpServer: cannot listen on 127.0.0.1");
	}
	fPort = ntohs(address.sin_port);

	fThread = std::thread(&HttpServer::_Run, this);
}


HttpServer::~HttpServer()
{
	char stop = 'x';
	while (write(fStopPipe[1], &stop, 1) < 0 && errno == EINTR) {
	}
	if (fThread.joinable())
		fThread.join();

	close(fStopPipe[0]);
	close(fStopPipe[1]);
	close(fListenSocket);
}


int
HttpServer::Port() const
{
	return fPort;
}


std::string
HttpServer::Url(const std::string& path) const
{
	return "http://127.0.0.1:" + std::to_string(fPort) + path;
}


void
HttpServer::Serve(
	const std::string& path, const std::string& body, int status, const std::string& contentType)
{
	std::lock_guard<std::mutex> lock(fLock);
	fResponses[path] = Response {body, status, contentType};
}


int
HttpServer::RequestCount(const std::string& path) const
{
	std::lock_guard<std::mutex> lock(fLock);
	int count = 0;
	for (const std::string& target : fTargets) {
		if (target == path || PercentDecode(target) == path)
			count++;
	}
	return count;
}


std::vector<std::string>
HttpServer::RequestTargets() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fTargets;
}


bool
HttpServer::WaitForRequests(int count, int timeoutMs)
{
	std::unique_lock<std::mutex> lock(fLock);
	return fRequestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
		[&] { return fTargets.size() >= (size_t)count; });
}


std::string
HttpServer::PercentDecode(const std::string& text)
{
	std::string decoded;
	decoded.reserve(text.size());
	for (size_t i = 0; i < text.size(); i++) {
		if (text[i] == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0
			&& hex_value(text[i + 2]) >= 0) {
			decoded += (char)(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
			i += 2;
		} else
			decoded += text[i];
	}
	return decoded;
}


void
HttpServer::_Run()
{
	while (true) {
		struct pollfd fds[2] = {{fListenSocket, POLLIN, 0}, {fStopPipe[0], POLLIN, 0}};
		int result = poll(fds, 2, -1);
		if (result < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (fds[1].revents != 0)
			return;
		if ((fds[0].revents & POLLIN) == 0)
			continue;

		int connection = accept4(fListenSocket, NULL, NULL, SOCK_CLOEXEC);
		if (connection < 0)
			continue;
		_HandleConnection(connection);
		close(connection);
	}
}


void
HttpServer::_HandleConnection(int connection)
{
	// A client that stops reading must not hold the server up either.
	struct timeval sendTimeout = {kConnectionTimeoutMs / 1000, 0};
	setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof(sendTimeout));

	std::string head;
	if (!_ReadHead(connection, head))
		return;

	std::string requestLine = head.substr(0, head.find('\n'));
	if (!requestLine.empty() && requestLine.back() == '\r')
		requestLine.pop_back();

	size_t firstSpace = requestLine.find(' ');
	size_t lastSpace = requestLine.rfind(' ');
	if (firstSpace == std::string::npos || lastSpace == firstSpace
		|| requestLine.find(' ', firstSpace + 1) != lastSpace) {
		_Send(connection, 400, "text/plain", "Bad request\n", true);
		return;
	}
	std::string method = requestLine.substr(0, firstSpace);
	std::string target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
	std::string version = requestLine.substr(lastSpace + 1);
	if (method.empty() || target.empty() || (version != "HTTP/1.0" && version != "HTTP/1.1")) {
		_Send(connection, 400, "text/plain", "Bad request\n", true);
		return;
	}

	Response response;
	bool found = _RecordAndFind(target, response);
	{
		std::unique_lock<std::mutex> lock(fLock);
		fReleased.wait_for(lock, std::chrono::seconds(10), [this]() { return !fHolding; });
	}

	if (method != "GET" && method != "HEAD") {
		_Send(connection, 501, "text/plain", "Not implemented\n", true);
		return;
	}
	bool withBody = method == "GET";
	if (found)
		_Send(connection, response.status, response.contentType, response.body, withBody);
	else
		_Send(connection, 404, "text/plain", "Not found\n", withBody);
}


bool
HttpServer::_ReadHead(int connection, std::string& head)
{
	using std::chrono::milliseconds;
	using std::chrono::steady_clock;
	steady_clock::time_point deadline = steady_clock::now() + milliseconds(kConnectionTimeoutMs);
	std::string buffer;
	while (true) {
		size_t end = buffer.find("\r\n\r\n");
		if (end == std::string::npos)
			end = buffer.find("\n\n");
		if (end != std::string::npos && end <= kMaxHeadSize) {
			head = buffer.substr(0, end);
			return true;
		}
		if (buffer.size() > kMaxHeadSize) {
			_Send(connection, 431, "text/plain", "Request head too large\n", true);
			return false;
		}

		milliseconds left
			= std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
		if (left.count() <= 0)
			return false;

		struct pollfd fds[2] = {{connection, POLLIN, 0}, {fStopPipe[0], POLLIN, 0}};
		int result = poll(fds, 2, (int)left.count());
		if (result < 0) {
			if (errno == EINTR)
				continue;
			return false;
		}
		if (result == 0 || fds[1].revents != 0)
			return false;

		char chunk[4096];
		ssize_t bytes = recv(connection, chunk, sizeof(chunk), 0);
		if (bytes < 0 && errno == EINTR)
			continue;
		if (bytes <= 0)
			return false;
		buffer.append(chunk, (size_t)bytes);
	}
}


void
HttpServer::Hold()
{
	std::lock_guard<std::mutex> lock(fLock);
	fHolding = true;
}


void
HttpServer::Release()
{
	std::lock_guard<std::mutex> lock(fLock);
	fHolding = false;
	fReleased.notify_all();
}


bool
HttpServer::_RecordAndFind(const std::string& target, Response& response)
{
	std::lock_guard<std::mutex> lock(fLock);
	fTargets.push_back(target);
	fRequestArrived.notify_all();

	auto found = fResponses.find(target);
	if (found == fResponses.end())
		found = fResponses.find(PercentDecode(target));
	if (found == fResponses.end())
		return false;
	response = found->second;
	return true;
}


void
HttpServer::_Send(int connection, int status, const std::string& contentType,
	const std::string& body, bool withBody)
{
	std::string message = "HTTP/1.1 " + std::to_string(status) + " " + reason_phrase(status)
		+ "\r\nContent-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size())
		+ "\r\nConnection: close\r\n\r\n";
	if (withBody)
		message += body;

	size_t sent = 0;
	while (sent < message.size()) {
		ssize_t bytes
			= send(connection, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
		if (bytes < 0 && errno == EINTR)
			continue;
		if (bytes <= 0)
			return;
		sent += (size_t)bytes;
	}
	shutdown(connection, SHUT_WR);
}
