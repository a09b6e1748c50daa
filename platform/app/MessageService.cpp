/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageService.h>

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <AppPrivate.h>
#include <Errors.h>
#include <FindDirectory.h>
#include <Message.h>
#include <MessagePrivate.h>
#include <Path.h>


namespace {


// A request or reply: its length (4 bytes, host order; 0 for "no message") and the
// flattened message. Anything longer than this is refused as a broken connection.
const uint32_t kMaxMessageSize = 64 * 1024 * 1024;

// The requests a service serves at once
const int kMaxServing = 64;


// The real clock: deadlines here hold whatever time scale the process runs at.
bigtime_t
now_usecs()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return static_cast<bigtime_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}


// Reads a small file whole.
bool
read_file(const std::string& path, std::string* contents)
{
	int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return false;
	contents->clear();
	char buffer[4096];
	ssize_t size;
	while ((size = read(fd, buffer, sizeof(buffer))) > 0 && contents->size() < 65536)
		contents->append(buffer, (size_t)size);
	close(fd);
	return size == 0;
}


// Keeps the log as <log>.old, replacing the one before.
bool
set_log_aside(const char* log)
{
	return rename(log, (std::string(log) + ".old").c_str()) == 0;
}


bool
make_address(const std::string& path, sockaddr_un* address)
{
	if (path.empty() || path.size() >= sizeof(address->sun_path))
		return false;
	memset(address, 0, sizeof(*address));
	address->sun_family = AF_UNIX;
	memcpy(address->sun_path, path.c_str(), path.size() + 1);
	return true;
}


// Waits until the descriptor is ready for the events or the deadline (B_INFINITE_TIMEOUT:
// none) passed.
status_t
wait_ready(int fd, short events, bigtime_t deadline)
{
	while (true) {
		int timeout = -1;
		if (deadline != B_INFINITE_TIMEOUT) {
			bigtime_t left = deadline - now_usecs();
			if (left <= 0)
				return B_TIMED_OUT;
			timeout = static_cast<int>((left + 999) / 1000);
		}
		pollfd poller = {fd, events, 0};
		int ready = poll(&poller, 1, timeout);
		if (ready > 0)
			return B_OK;
		if (ready == 0)
			return B_TIMED_OUT;
		if (errno != EINTR)
			return B_ERROR;
	}
}


status_t
write_all(int fd, const char* data, size_t size, bigtime_t deadline)
{
	while (size > 0) {
		status_t status = wait_ready(fd, POLLOUT, deadline);
		if (status != B_OK)
			return status;
		ssize_t written = send(fd, data, size, MSG_NOSIGNAL);
		if (written < 0) {
			if (errno == EINTR || errno == EAGAIN)
				continue;
			return B_ERROR;
		}
		data += written;
		size -= written;
	}
	return B_OK;
}


status_t
read_all(int fd, char* data, size_t size, bigtime_t deadline)
{
	while (size > 0) {
		status_t status = wait_ready(fd, POLLIN, deadline);
		if (status != B_OK)
			return status;
		ssize_t got = recv(fd, data, size, 0);
		if (got == 0)
			return B_ERROR;
		if (got < 0) {
			if (errno == EINTR || errno == EAGAIN)
				continue;
			return B_ERROR;
		}
		data += got;
		size -= got;
	}
	return B_OK;
}


status_t
write_message(int fd, const BMessage* message, bigtime_t deadline)
{
	uint32_t size = 0;
	std::vector<char> buffer;
	if (message != NULL) {
		ssize_t flattened = message->FlattenedSize();
		if (flattened <= 0 || static_cast<uint64_t>(flattened) > kMaxMessageSize)
			return B_BAD_VALUE;
		buffer.resize(flattened);
		status_t status = message->Flatten(buffer.data(), flattened);
		if (status != B_OK)
			return status;
		size = static_cast<uint32_t>(flattened);
	}
	status_t status = write_all(fd, reinterpret_cast<const char*>(&size), sizeof(size), deadline);
	if (status == B_OK && size > 0)
		status = write_all(fd, buffer.data(), size, deadline);
	return status;
}


// Reads one message; an empty frame leaves *isEmpty true and the message untouched.
status_t
read_message(int fd, BMessage* message, bool* isEmpty, bigtime_t deadline)
{
	uint32_t size = 0;
	status_t status = read_all(fd, reinterpret_cast<char*>(&size), sizeof(size), deadline);
	if (status != B_OK)
		return status;
	*isEmpty = size == 0;
	if (size == 0)
		return B_OK;
	if (size > kMaxMessageSize)
		return B_ERROR;
	std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
	if (!buffer)
		return B_NO_MEMORY;
	status = read_all(fd, buffer.get(), size, deadline);
	if (status != B_OK)
		return status;
	// The frame bounds the message: its header may claim anything.
	BMessage received;
	if (BMessage::Private(&received).Unflatten(buffer.get(), size) != B_OK)
		return B_BAD_DATA;
	if (message != NULL)
		*message = received;
	return B_OK;
}


int
connect_to(const char* name)
{
	sockaddr_un address;
	if (name == NULL || !make_address(BPrivate::service_path(name), &address))
		return -1;
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return -1;
	if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
		close(fd);
		return -1;
	}
	return fd;
}


} // namespace


std::string
BPrivate::service_path(const char* name)
{
	// No registry folder, no service: an empty path makes no address.
	std::string folder = roster_directory();
	return folder.empty() ? std::string() : folder + "/" + name + ".service";
}


bool
BPrivate::service_is_running(const char* name)
{
	int fd = connect_to(name);
	if (fd < 0)
		return false;
	// An empty frame is a knock that the server answers with an empty frame.
	write_message(fd, NULL, now_usecs() + 1000000);
	close(fd);
	return true;
}


status_t
BPrivate::send_to_service(
	const char* name, const BMessage* message, BMessage* reply, bigtime_t timeout)
{
	if (message == NULL)
		return B_BAD_VALUE;
	int fd = connect_to(name);
	if (fd < 0)
		return B_BAD_PORT_ID;

	bigtime_t deadline
		= timeout == B_INFINITE_TIMEOUT || timeout < 0 ? B_INFINITE_TIMEOUT : now_usecs() + timeout;
	status_t status = write_message(fd, message, deadline);
	bool isEmpty = true;
	BMessage answer;
	if (status == B_OK)
		status = read_message(fd, &answer, &isEmpty, deadline);
	close(fd);
	if (status != B_OK)
		return status;
	if (reply != NULL) {
		if (isEmpty)
			*reply = BMessage(B_NO_REPLY);
		else
			*reply = answer;
	}
	return B_OK;
}


status_t
BPrivate::host_log_path(const char* hostName, BPath* path)
{
	status_t status = find_directory(B_SYSTEM_VAR_DIRECTORY, path, true);
	if (status == B_OK)
		status = path->Append("log");
	if (status == B_OK && mkdir(path->Path(), 0700) != 0 && errno != EEXIST)
		status = B_ERROR;
	if (status == B_OK)
		status = path->Append((std::string(hostName) + ".log").c_str());
	return status;
}


bool
BPrivate::limit_host_log(const char* hostName, off_t limit)
{
	BPath log;
	struct stat output;
	struct stat file;
	if (host_log_path(hostName, &log) != B_OK || fstat(STDOUT_FILENO, &output) != 0
		|| stat(log.Path(), &file) != 0 || output.st_dev != file.st_dev
		|| output.st_ino != file.st_ino || file.st_size <= limit)
		return false;

	fflush(stdout);
	fflush(stderr);
	if (!set_log_aside(log.Path()))
		return false;
	int fresh = open(log.Path(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
	if (fresh < 0)
		return false;
	dup2(fresh, STDOUT_FILENO);
	dup2(fresh, STDERR_FILENO);
	close(fresh);
	return true;
}


// A path as one argument of a desktop entry's Exec line: in double quotes, with '"', '`', '$'
// and '\\' escaped, then every '\\' doubled as the entry's strings want, and '%' doubled.
static std::string
exec_quoted(const std::string& path)
{
	std::string quoted = "\"";
	for (char c : path) {
		if (c == '"' || c == '`' || c == '$' || c == '\\')
			quoted += "\\\\";
		if (c == '\\')
			quoted += "\\";
		quoted += c == '%' ? "%%" : std::string(1, c);
	}
	return quoted + "\"";
}


status_t
BPrivate::set_host_autostart(const char* hostName, bool wanted)
{
	BPath folder;
	status_t status = find_directory(B_USER_SETTINGS_DIRECTORY, &folder, true);
	if (status == B_OK)
		status = folder.Append("autostart");
	if (status != B_OK)
		return status;
	std::string entry = std::string(folder.Path()) + "/haiku-" + hostName + ".desktop";
	if (!wanted)
		return unlink(entry.c_str()) == 0 || errno == ENOENT ? B_OK : B_FROM_POSIX_ERROR(errno);

	char executable[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", executable, sizeof(executable) - 1);
	if (length <= 0)
		return B_ERROR;
	executable[length] = '\0';
	if (strchr(executable, '\n') != NULL || strchr(executable, '\r') != NULL)
		return B_BAD_VALUE;
	std::string contents = std::string("[Desktop Entry]\nType=Application\nName=") + hostName
		+ "\nComment=Brings back what the " + hostName + " keeps\nExec=" + exec_quoted(executable)
		+ "\nNoDisplay=true\nX-GNOME-Autostart-enabled=true\n";

	std::string present;
	if (read_file(entry, &present) && present == contents)
		return B_OK;
	if (mkdir(folder.Path(), 0755) != 0 && errno != EEXIST)
		return B_FROM_POSIX_ERROR(errno);
	std::string temporary = entry + ".new";
	int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	if (fd < 0)
		return B_FROM_POSIX_ERROR(errno);
	bool written = write(fd, contents.data(), contents.size()) == (ssize_t)contents.size();
	written = close(fd) == 0 && written;
	if (!written || rename(temporary.c_str(), entry.c_str()) != 0) {
		unlink(temporary.c_str());
		return B_ERROR;
	}
	return B_OK;
}


status_t
BPrivate::start_service_host(const char* hostName, const char* service, bigtime_t timeout)
{
	if (service_is_running(service))
		return B_OK;

	BPath host;
	status_t status = find_directory(B_SYSTEM_DIRECTORY, &host);
	if (status == B_OK)
		status = host.Append(hostName);
	BPath log;
	if (status == B_OK)
		status = host_log_path(hostName, &log);
	if (status == B_OK) {
		struct stat info;
		if (stat(log.Path(), &info) == 0 && info.st_size > kMaxHostLogSize)
			set_log_aside(log.Path());
		status = launch_detached(host.Path(), std::vector<std::string>(), NULL, log.Path());
	}
	if (status != B_OK)
		return status;

	// The host offers its service once it is ready.
	bigtime_t deadline = now_usecs() + timeout;
	while (!service_is_running(service)) {
		if (now_usecs() >= deadline)
			return B_TIMED_OUT;
		timespec pause = {0, 20000000};
		nanosleep(&pause, NULL);
	}
	return B_OK;
}


struct BPrivate::MessageService::Shared {
	BMessenger target;
	bigtime_t handlerTimeout;
	std::atomic<bool> stopped;
	// The requests being served, each on its thread
	std::atomic<int> serving {0};
};


BPrivate::MessageService::MessageService() : fSocket(-1), fSocketNode(0), fWakePipe {-1, -1} { }


BPrivate::MessageService::~MessageService()
{
	Stop();
}


status_t
BPrivate::MessageService::Start(
	const char* name, const BMessenger& target, bigtime_t handlerTimeout)
{
	if (fSocket >= 0)
		return B_NOT_ALLOWED;
	sockaddr_un address;
	if (name == NULL || name[0] == '\0' || strchr(name, '/') != NULL
		|| !make_address(service_path(name), &address))
		return B_BAD_VALUE;

	// Processes claiming the name at the same time take turns: one could otherwise remove
	// the socket another has just made, taking it for the socket of a process that ended,
	// and both would serve.
	int lock = open(
		(std::string(address.sun_path) + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
	if (lock < 0)
		return B_ERROR;
	while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
	}
	status_t status = _Claim(name, &address);
	close(lock);
	if (status != B_OK)
		return status;

	fPath = address.sun_path;
	fShared = std::make_shared<Shared>();
	fShared->target = target;
	fShared->handlerTimeout = handlerTimeout;
	fShared->stopped = false;
	fThread = std::thread(&MessageService::_Accept, this);
	return B_OK;
}


// Binds and listens on the service's socket (fSocket), replacing the socket of a process that
// ended; the caller holds the name's lock.
status_t
BPrivate::MessageService::_Claim(const char* name, const sockaddr_un* address)
{
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return B_ERROR;
	const sockaddr* where = reinterpret_cast<const sockaddr*>(address);
	if (bind(fd, where, sizeof(*address)) != 0) {
		int error = errno;
		if (error != EADDRINUSE || service_is_running(name)) {
			close(fd);
			return error == EADDRINUSE ? B_NAME_IN_USE : B_ERROR;
		}
		// The socket of a process that ended
		unlink(address->sun_path);
		if (bind(fd, where, sizeof(*address)) != 0) {
			error = errno;
			close(fd);
			return error == EADDRINUSE ? B_NAME_IN_USE : B_ERROR;
		}
	}
	struct stat file;
	fSocketNode = stat(address->sun_path, &file) == 0 ? file.st_ino : 0;
	if (listen(fd, 16) != 0 || pipe2(fWakePipe, O_CLOEXEC) != 0) {
		close(fd);
		unlink(address->sun_path);
		return B_ERROR;
	}
	fSocket = fd;
	return B_OK;
}


void
BPrivate::MessageService::Stop()
{
	if (fSocket < 0)
		return;
	char wake = 1;
	if (write(fWakePipe[1], &wake, 1) < 0) {
		// The thread also ends when the socket is shut down.
		shutdown(fSocket, SHUT_RDWR);
	}
	if (fThread.joinable())
		fThread.join();
	// The threads still serving keep what they use; a request not yet handed over is
	// answered with nothing.
	fShared->stopped = true;
	fShared.reset();

	// Only our own socket is removed: another process may have taken the name since.
	struct stat named;
	if (stat(fPath.c_str(), &named) == 0 && named.st_ino == fSocketNode)
		unlink(fPath.c_str());
	close(fSocket);
	close(fWakePipe[0]);
	close(fWakePipe[1]);
	fSocket = -1;
	fWakePipe[0] = fWakePipe[1] = -1;
}


void
BPrivate::MessageService::_Accept()
{
	while (true) {
		pollfd pollers[2] = {{fSocket, POLLIN, 0}, {fWakePipe[0], POLLIN, 0}};
		if (poll(pollers, 2, -1) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (pollers[1].revents != 0 || (pollers[0].revents & (POLLERR | POLLHUP)) != 0)
			return;
		if ((pollers[0].revents & POLLIN) == 0)
			continue;
		int connection = accept4(fSocket, NULL, NULL, SOCK_CLOEXEC);
		if (connection < 0) {
			// Out of descriptors or memory: the waiting connection stays, so the socket
			// stays readable; wait a little instead of trying again at once.
			if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
				poll(&pollers[1], 1, 100);
			continue;
		}
		// Each request on a thread of its own: a handler may itself ask a service of this
		// process (a Deskbar item asking the Deskbar) without blocking the others. Past
		// this many at once, or when no thread can be made, a request finds its connection
		// closed.
		if (fShared->serving.load() >= kMaxServing) {
			close(connection);
			continue;
		}
		fShared->serving++;
		try {
			std::thread(&MessageService::_Serve, fShared, connection).detach();
		} catch (const std::system_error&) {
			fShared->serving--;
			close(connection);
		}
	}
}


void
BPrivate::MessageService::_Serve(std::shared_ptr<Shared> shared, int connection)
{
	bigtime_t deadline = now_usecs() + 5000000;
	BMessage request;
	bool isEmpty = true;
	if (read_message(connection, &request, &isEmpty, deadline) == B_OK) {
		if (isEmpty || shared->stopped) {
			write_message(connection, NULL, deadline);
		} else {
			BMessage reply;
			status_t status = shared->target.SendMessage(
				&request, &reply, B_INFINITE_TIMEOUT, shared->handlerTimeout);
			deadline = now_usecs() + 5000000;
			if (status == B_OK && reply.what != B_NO_REPLY)
				write_message(connection, &reply, deadline);
			else
				write_message(connection, NULL, deadline);
		}
	}
	close(connection);
	shared->serving--;
}
