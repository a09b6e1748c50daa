/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _XVFB_TEST_H
#define _XVFB_TEST_H


#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <Bitmap.h>
#include <GraphicsDefs.h>
#include <Rect.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>


// How long a test waits for the server or the program on it
const std::chrono::seconds kXvfbPatience(10);


// A server of the test's own: an Xvfb that picks a free display number, and a connection of
// the test's own to look at it and to act as the user. Xvfb ends with the test's process
// (its parent-death signal): the layer's connection stays open until then, and Xlib ends a
// program whose server goes away.
class XvfbTest : public testing::Test {
protected:
	XvfbTest() : fServer(-1), fX(NULL), fRoot(0) { }

	virtual void
	SetUp()
	{
		XInitThreads();
		ASSERT_NO_FATAL_FAILURE(_StartServer());
		setenv("DISPLAY", fName.c_str(), 1);
		fX = XOpenDisplay(fName.c_str());
		ASSERT_NE(fX, nullptr) << "cannot reach Xvfb at " << fName;
		// The program's windows come and go while the test looks at them: a window that is
		// gone by the time the test asks about it is no reason to end the test.
		XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
		fRoot = DefaultRootWindow(fX);
		// Maps, moves and property changes of windows wake WaitForX().
		XSelectInput(fX, fRoot, SubstructureNotifyMask | PropertyChangeMask);
	}

	virtual void
	TearDown()
	{
		StopTrayer();
		if (fX != NULL)
			XCloseDisplay(fX);
	}

	// Polls condition until it holds, waking at every event of the test's connection.
	bool
	WaitForX(const std::function<bool()>& condition)
	{
		auto deadline = std::chrono::steady_clock::now() + kXvfbPatience;
		for (;;) {
			XSync(fX, False);
			while (XPending(fX) > 0) {
				XEvent event;
				XNextEvent(fX, &event);
			}
			if (condition())
				return true;
			auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
				deadline - std::chrono::steady_clock::now());
			if (left.count() <= 0)
				return false;
			// Whatever the other client does may come without an event for us.
			struct pollfd fd = {ConnectionNumber(fX), POLLIN, 0};
			poll(&fd, 1, std::min<int>((int)left.count(), 20));
		}
	}

	// Our top-level window with that name, once it is mapped; 0 if none shows up.
	Window
	FindWindow(const char* name)
	{
		Window found = 0;
		WaitForX([&]() {
			found = _FindWindow(name);
			return found != 0 && IsShown(found);
		});
		return found;
	}

	bool
	IsShown(Window window)
	{
		XWindowAttributes attributes;
		return XGetWindowAttributes(fX, window, &attributes) != 0
			&& attributes.map_state == IsViewable;
	}

	bool
	IsOnScreen(Window window)
	{
		return StackIndex(window) >= 0;
	}

	// The window's content in root coordinates
	BRect
	Geometry(Window window)
	{
		Window root;
		Window child;
		int x;
		int y;
		unsigned int width;
		unsigned int height;
		unsigned int border;
		unsigned int depth;
		if (!XGetGeometry(fX, window, &root, &x, &y, &width, &height, &border, &depth)
			|| !XTranslateCoordinates(fX, window, fRoot, 0, 0, &x, &y, &child))
			return BRect();
		return BRect(x, y, x + width - 1, y + height - 1);
	}

	std::string
	Property(Window window, const char* name, Atom* type = NULL)
	{
		Atom actualType = None;
		int format;
		unsigned long count;
		unsigned long after;
		unsigned char* data = NULL;
		std::string value;
		if (XGetWindowProperty(fX, window, XInternAtom(fX, name, False), 0, 4096, False,
				AnyPropertyType, &actualType, &format, &count, &after, &data)
				== Success
			&& data != NULL) {
			if (format == 8)
				value.assign(reinterpret_cast<char*>(data), count);
			else if (format == 32) {
				for (unsigned long i = 0; i < count; i++)
					value += std::to_string(reinterpret_cast<long*>(data)[i]) + " ";
			}
		}
		if (data != NULL)
			XFree(data);
		if (type != NULL)
			*type = actualType;
		return value;
	}

	rgb_color
	ScreenPixel(int x, int y)
	{
		XImage* image = XGetImage(fX, fRoot, x, y, 1, 1, AllPlanes, ZPixmap);
		if (image == NULL)
			return make_color(0, 0, 0, 0);
		unsigned long pixel = XGetPixel(image, 0, 0);
		XDestroyImage(image);
		// Xvfb's 24-bit visual is 0xRRGGBB.
		return make_color((pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff, 255);
	}

	// A copy of what the screen shows within frame, B_RGB32
	BBitmap*
	Screenshot(BRect frame)
	{
		int width = frame.IntegerWidth() + 1;
		int height = frame.IntegerHeight() + 1;
		XImage* image = XGetImage(
			fX, fRoot, (int)frame.left, (int)frame.top, width, height, AllPlanes, ZPixmap);
		if (image == NULL)
			return NULL;
		BBitmap* bitmap = new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGB32);
		for (int y = 0; y < height; y++) {
			for (int x = 0; x < width; x++) {
				unsigned long pixel = XGetPixel(image, x, y);
				uint8* bits
					= static_cast<uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
				bits[0] = pixel & 0xff;
				bits[1] = (pixel >> 8) & 0xff;
				bits[2] = (pixel >> 16) & 0xff;
				bits[3] = 255;
			}
		}
		XDestroyImage(image);
		return bitmap;
	}

	// The user's pointer and keyboard
	void
	Click(int x, int y, unsigned int button = 1)
	{
		XTestFakeMotionEvent(fX, -1, x, y, CurrentTime);
		XTestFakeButtonEvent(fX, button, True, CurrentTime);
		XTestFakeButtonEvent(fX, button, False, CurrentTime);
		XFlush(fX);
	}

	void
	Type(KeySym keysym, KeySym modifier = NoSymbol)
	{
		KeyCode code = XKeysymToKeycode(fX, keysym);
		ASSERT_NE(code, 0) << "no key for keysym " << keysym;
		KeyCode modifierCode = modifier != NoSymbol ? XKeysymToKeycode(fX, modifier) : 0;
		if (modifierCode != 0)
			XTestFakeKeyEvent(fX, modifierCode, True, CurrentTime);
		XTestFakeKeyEvent(fX, code, True, CurrentTime);
		XTestFakeKeyEvent(fX, code, False, CurrentTime);
		if (modifierCode != 0)
			XTestFakeKeyEvent(fX, modifierCode, False, CurrentTime);
		XFlush(fX);
	}

	void
	SendDeleteWindow(Window window)
	{
		XEvent event;
		memset(&event, 0, sizeof(event));
		event.xclient.type = ClientMessage;
		event.xclient.window = window;
		event.xclient.message_type = XInternAtom(fX, "WM_PROTOCOLS", False);
		event.xclient.format = 32;
		event.xclient.data.l[0] = XInternAtom(fX, "WM_DELETE_WINDOW", False);
		event.xclient.data.l[1] = CurrentTime;
		XSendEvent(fX, window, False, NoEventMask, &event);
		XFlush(fX);
	}

	// The place of the window in the stacking order, from the bottom; -1 if not there
	int
	StackIndex(Window window)
	{
		std::vector<Window> children = _Children();
		for (size_t i = 0; i < children.size(); i++) {
			if (children[i] == window)
				return (int)i;
		}
		return -1;
	}

	// A system tray (trayer, from scripts/deps.sh) at the top left of the screen, ended with
	// the test
	void
	StartTrayer()
	{
		const char* argv[] = {"trayer", "--edge", "top", "--align", "left", "--height", "24",
			"--widthtype", "request", "--SetDockType", "false", "--SetPartialStrut", "false", NULL};
		fTrayer = fork();
		ASSERT_GE(fTrayer, 0);
		if (fTrayer == 0) {
			prctl(PR_SET_PDEATHSIG, SIGTERM);
			execvp(argv[0], const_cast<char**>(argv));
			_exit(127);
		}
		Atom selection = XInternAtom(fX, "_NET_SYSTEM_TRAY_S0", False);
		ASSERT_TRUE(WaitForX([&]() { return XGetSelectionOwner(fX, selection) != None; }))
			<< "trayer did not start (scripts/deps.sh installs it)";
	}

	void
	StopTrayer()
	{
		if (fTrayer <= 0)
			return;
		kill(fTrayer, SIGTERM);
		waitpid(fTrayer, NULL, 0);
		fTrayer = -1;
	}

	// Any window of the screen with that name, wherever it was put (a tray's icons are
	// children of the tray)
	Window
	FindAny(const char* name, Window under = 0)
	{
		if (under == 0)
			under = fRoot;
		Window root;
		Window parent;
		Window* children = NULL;
		unsigned int count = 0;
		Window found = 0;
		if (XQueryTree(fX, under, &root, &parent, &children, &count) == 0)
			return 0;
		for (unsigned int i = 0; i < count && found == 0; i++) {
			char* childName = NULL;
			if (XFetchName(fX, children[i], &childName) != 0 && childName != NULL
				&& strcmp(childName, name) == 0)
				found = children[i];
			if (childName != NULL)
				XFree(childName);
			if (found == 0)
				found = FindAny(name, children[i]);
		}
		if (children != NULL)
			XFree(children);
		return found;
	}

	// Waits for a shown top-level window with the name that covers the point; 0 if none comes.
	Window
	ShownWindowAt(const char* name, BPoint where)
	{
		Window found = 0;
		WaitForX([&]() {
			found = 0;
			for (Window child : _Children()) {
				if (IsShown(child) && Property(child, "WM_NAME") == name
					&& Geometry(child).Contains(where))
					found = child;
			}
			return found != 0;
		});
		return found;
	}

	Window
	Parent(Window window)
	{
		Window root;
		Window parent = 0;
		Window* children = NULL;
		unsigned int count = 0;
		if (XQueryTree(fX, window, &root, &parent, &children, &count) != 0 && children != NULL)
			XFree(children);
		return parent;
	}

	std::string fName;
	pid_t fServer;
	pid_t fTrayer = -1;
	::Display* fX;
	Window fRoot;

private:
	void
	_StartServer()
	{
		int fds[2];
		ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
		std::string fd = std::to_string(fds[1]);
		const char* argv[] = {"Xvfb", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
			"-displayfd", fd.c_str(), NULL};
		pid_t parent = getpid();
		fServer = fork();
		ASSERT_GE(fServer, 0);
		if (fServer == 0) {
			// Only calls that are safe after fork() here
			prctl(PR_SET_PDEATHSIG, SIGTERM);
			if (getppid() != parent)
				_exit(1);
			fcntl(fds[1], F_SETFD, 0);
			execvp(argv[0], const_cast<char**>(argv));
			_exit(127);
		}
		close(fds[1]);

		// Xvfb writes its display number when it takes connections.
		std::string number;
		auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
		while (number.find('\n') == std::string::npos) {
			auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
				deadline - std::chrono::steady_clock::now());
			struct pollfd pollFd = {fds[0], POLLIN, 0};
			if (left.count() <= 0 || poll(&pollFd, 1, (int)left.count()) <= 0)
				break;
			char buffer[32];
			ssize_t length = read(fds[0], buffer, sizeof(buffer));
			if (length <= 0)
				break;
			number.append(buffer, length);
		}
		close(fds[0]);
		ASSERT_NE(number.find('\n'), std::string::npos)
			<< "Xvfb did not start (scripts/deps.sh installs it)";
		fName = ":" + number.substr(0, number.find('\n'));
	}

	std::vector<Window>
	_Children()
	{
		std::vector<Window> result;
		Window root;
		Window parent;
		Window* children = NULL;
		unsigned int count = 0;
		if (XQueryTree(fX, fRoot, &root, &parent, &children, &count) != 0 && children != NULL) {
			result.assign(children, children + count);
			XFree(children);
		}
		return result;
	}

	Window
	_FindWindow(const char* name)
	{
		for (Window child : _Children()) {
			char* childName = NULL;
			bool same = XFetchName(fX, child, &childName) != 0 && childName != NULL
				&& strcmp(childName, name) == 0;
			if (childName != NULL)
				XFree(childName);
			if (same)
				return child;
		}
		return 0;
	}
};


#endif // _XVFB_TEST_H
