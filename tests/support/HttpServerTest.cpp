/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "HttpServer.h"
#include "TestEnv.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include <gtest/gtest.h>


static int
connect_to(int port)
{
	int sock = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
	struct timeval timeout = {5, 0};
	setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
	struct sockaddr_in address = {};
	address.sin_family = AF_INET;
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	address.sin_port = htons(port);
	connect(sock, (struct sockaddr*)&address, sizeof(address));
	return sock;
}


// Sends request and returns everything read until the server closes the connection.
static std::string
raw_exchange(int port, const std::string& request)
{
	int sock = connect_to(port);
	send(sock, request.data(), request.size(), MSG_NOSIGNAL);
	std::string reply;
	char chunk[4096];
	ssize_t bytes;
	while ((bytes = recv(sock, chunk, sizeof(chunk), 0)) > 0)
		reply.append(chunk, (size_t)bytes);
	close(sock);
	return reply;
}


static std::string
get(int port, const std::string& target)
{
	return raw_exchange(port, "GET " + target + " HTTP/1.1\r\nHost: here\r\n\r\n");
}


static bool
ends_with(const std::string& text, const std::string& end)
{
	return text.size() >= end.size()
		&& text.compare(text.size() - end.size(), end.size(), end) == 0;
}


static int
run_wget(const std::string& url, const std::string& file)
{
	std::string command
		= "/usr/bin/wget -q --no-config --no-proxy -t 1 -T 4 -O '" + file + "' '" + url + "'";
	int status = system(command.c_str());
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}


TEST(HttpServer, AnswersRawRequestsAndMatchesRawOrDecodedTargets)
{
	HttpServer server;
	server.Serve("/page.html", "<p>hi</p>");
	server.Serve("/find?q=a b&n=1", "decoded", 500, "text/plain");
	server.Serve("/raw%20name", "raw");
	int port = server.Port();

	std::string reply = get(port, "/page.html");
	EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply;
	EXPECT_NE(reply.find("\r\nContent-Length: 9\r\nConnection: close\r\n"), std::string::npos);
	EXPECT_TRUE(ends_with(reply, "\r\n\r\n<p>hi</p>"));
	reply = raw_exchange(port, "HEAD /page.html HTTP/1.0\n\n");
	EXPECT_TRUE(ends_with(reply, "Content-Length: 9\r\nConnection: close\r\n\r\n")) << reply;

	reply = get(port, "/find?q=a%20b&n=1");
	EXPECT_EQ(reply.rfind("HTTP/1.1 500 ", 0), 0u);
	EXPECT_TRUE(ends_with(reply, "\r\n\r\ndecoded"));
	EXPECT_TRUE(ends_with(get(port, "/raw%20name"), "\r\n\r\nraw"));
	EXPECT_EQ(get(port, "/find?q=a%20b&n=2").rfind("HTTP/1.1 404 ", 0), 0u);
	EXPECT_EQ(get(port, "/missing").rfind("HTTP/1.1 404 ", 0), 0u);
	EXPECT_EQ(raw_exchange(port, "GARBAGE\r\n\r\n").rfind("HTTP/1.1 400 ", 0), 0u);

	EXPECT_EQ(server.RequestCount("/page.html"), 2);
	EXPECT_EQ(server.RequestCount("/find?q=a b&n=1"), 1);
	std::vector<std::string> expected = {"/page.html", "/page.html", "/find?q=a%20b&n=1",
		"/raw%20name", "/find?q=a%20b&n=2", "/missing"};
	EXPECT_EQ(server.RequestTargets(), expected);
}


TEST(HttpServer, OutlastsSilentAndOversizedClients)
{
	std::unique_ptr<HttpServer> server(new HttpServer);
	server->Serve("/", "root");
	int port = server->Port();

	std::string reply = get(port, "/" + std::string(20000, 'a'));
	EXPECT_TRUE(reply.empty() || reply.rfind("HTTP/1.1 431 ", 0) == 0) << reply.substr(0, 40);

	// The silent client is taken first and dropped after its timeout; then the next one is
	// served.
	int silent = connect_to(port);
	EXPECT_TRUE(ends_with(get(port, "/"), "root"));
	EXPECT_TRUE(server->WaitForRequests(1, 5000));
	EXPECT_FALSE(server->WaitForRequests(2, 10));
	close(silent);

	// The server goes away even while a silent client holds it.
	silent = connect_to(port);
	server.reset();
	close(silent);
}


TEST(HttpServer, RealWgetDownloadsPagesByteForByte)
{
	if (access("/usr/bin/wget", X_OK) != 0)
		GTEST_SKIP() << "no /usr/bin/wget";
	TestEnv env;
	HttpServer server;

	std::string body = "<html>caf\xc3\xa9 \xff\xfe";
	for (int i = 0; i < 70000; i++)
		body += (char)(i * 7 % 256);
	body += std::string(3, '\0') + "</html>";
	server.Serve("/dir/my page.html?lang=de&x=1", body);
	server.Serve("/error", "down", 503);

	std::string file = env.Home() + "/page.html";
	EXPECT_EQ(run_wget(server.Url("/dir/my%20page.html?lang=de&x=1"), file), 0);
	EXPECT_TRUE(ReadFile(file) == body) << "downloaded " << ReadFile(file).size() << " bytes";
	EXPECT_EQ(server.RequestCount("/dir/my page.html?lang=de&x=1"), 1);

	EXPECT_GT(run_wget(server.Url("/nothing"), env.Home() + "/missing.html"), 3);
	EXPECT_GT(run_wget(server.Url("/error"), env.Home() + "/error.html"), 3);
	EXPECT_EQ(server.RequestTargets().size(), 3u);
}
