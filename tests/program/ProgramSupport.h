/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _PROGRAM_SUPPORT_H
#define _PROGRAM_SUPPORT_H


#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <Rect.h>


// The built program running in a process of its own. A thread of the test reads its standard
// output all the time, so that the program never blocks on a full pipe.
class RunningProgram {
public:
	RunningProgram() : fPid(-1), fStatus(-1), fEnded(false) { }

	~RunningProgram()
	{
		if (fPid > 0) {
			kill(fPid, SIGKILL);
			waitpid(fPid, NULL, 0);
		}
		if (fReader.joinable())
			fReader.join();
	}

	// Starts the executable with the test's environment and, on top of it, the variables
	// given as "NAME=value".
	bool
	Start(const std::string& executable, const std::vector<std::string>& variables = {})
	{
		std::vector<std::string> environment(variables);
		for (char** entry = environ; *entry != NULL; entry++) {
			std::string name(*entry, strcspn(*entry, "="));
			bool replaced = false;
			for (const std::string& variable : variables)
				replaced = replaced || variable.compare(0, name.size() + 1, name + "=") == 0;
			if (!replaced)
				environment.push_back(*entry);
		}
		std::vector<char*> envp;
		for (std::string& entry : environment)
			envp.push_back(&entry[0]);
		envp.push_back(NULL);

		// Standard output is a terminal, as when a user starts the program from one: the C
		// library then passes on every line at once, and the test can wait for it.
		int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
		if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0)
			return false;
		int terminal = open(ptsname(fd), O_RDWR | O_NOCTTY | O_CLOEXEC);
		if (terminal < 0)
			return false;
		struct termios mode;
		tcgetattr(terminal, &mode);
		cfmakeraw(&mode);
		tcsetattr(terminal, TCSANOW, &mode);
		fPid = fork();
		if (fPid < 0)
			return false;
		if (fPid == 0) {
			dup2(terminal, STDOUT_FILENO);
			char* argv[] = {const_cast<char*>(executable.c_str()), NULL};
			execve(executable.c_str(), argv, envp.data());
			_exit(127);
		}
		close(terminal);
		fReader = std::thread([this, fd]() {
			char buffer[4096];
			ssize_t bytes;
			while ((bytes = read(fd, buffer, sizeof(buffer))) > 0) {
				std::lock_guard<std::mutex> lock(fLock);
				fPrinted.append(buffer, bytes);
				fChanged.notify_all();
			}
			close(fd);
			std::lock_guard<std::mutex> lock(fLock);
			fEnded = true;
			fChanged.notify_all();
		});
		return true;
	}

	// Waits until the program printed the text (after offset), at most timeoutMs.
	bool
	WaitFor(const std::string& text, int timeoutMs = 30000, size_t offset = 0)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&]() {
			return fPrinted.find(text, offset) != std::string::npos || fEnded;
		}) && fPrinted.find(text, offset) != std::string::npos;
	}

	std::string
	Printed()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fPrinted;
	}

	void
	Signal(int signal)
	{
		if (fPid > 0)
			kill(fPid, signal);
	}

	// Waits until the program ends and its output with it; its exit status, or -1 when it
	// did not end by exit().
	int
	Wait()
	{
		int status = 0;
		if (fPid > 0 && waitpid(fPid, &status, 0) == fPid) {
			fPid = -1;
			fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
		}
		if (fReader.joinable())
			fReader.join();
		return fStatus;
	}

private:
	pid_t fPid;
	int fStatus;
	std::thread fReader;
	std::mutex fLock;
	std::condition_variable fChanged;
	std::string fPrinted;
	bool fEnded;
};


// The window frame stored in the settings file, or an invalid rectangle.
inline BRect
stored_frame(const std::string& settingsFile)
{
	char data[64];
	ssize_t size = getxattr(settingsFile.c_str(), "user.opWinRect", data, sizeof(data));
	if (size != 20)
		return BRect();
	float values[4];
	memcpy(values, data + 4, sizeof(values));
	return BRect(values[0], values[1], values[2], values[3]);
}


#endif // _PROGRAM_SUPPORT_H
