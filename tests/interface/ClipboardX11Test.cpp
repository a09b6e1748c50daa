/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <Application.h>
#include <Clipboard.h>
#include <TextControl.h>
#include <Window.h>

#include "Display.h"
#include "EventLog.h"
#include "TestEnv.h"
#include "XvfbTest.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>


namespace {


struct Events : EventLog {
	bool active = false;
};


class ClipWindow : public BWindow {
public:
	ClipWindow(Events* events)
		: BWindow(BRect(100, 100, 399, 159), "Clip", B_TITLED_WINDOW, 0), fEvents(events)
	{ }

	virtual void
	WindowActivated(bool active)
	{
		fEvents->Change([=]() { fEvents->active = active; });
	}

private:
	Events* fEvents;
};


// Another program on the server that owns CLIPBOARD with a text and answers requests for
// it as UTF8_STRING, on a connection and thread of its own.
class OtherProgram {
public:
	OtherProgram(const char* display, const std::string& text)
		: fX(XOpenDisplay(display)), fText(text), fQuit(false), fAnswered(0)
	{
		fWindow = XCreateSimpleWindow(fX, DefaultRootWindow(fX), 0, 0, 1, 1, 0, 0, 0);
		fClipboard = XInternAtom(fX, "CLIPBOARD", False);
		fUtf8 = XInternAtom(fX, "UTF8_STRING", False);
		XSetSelectionOwner(fX, fClipboard, fWindow, CurrentTime);
		XSync(fX, False);
		fThread = std::thread(&OtherProgram::_Serve, this);
	}

	~OtherProgram()
	{
		fQuit = true;
		fThread.join();
		XCloseDisplay(fX);
	}

	bool
	OwnsClipboard()
	{
		return XGetSelectionOwner(fX, fClipboard) == fWindow;
	}

	std::atomic<int>&
	Answered()
	{
		return fAnswered;
	}

private:
	void
	_Serve()
	{
		while (!fQuit) {
			while (XPending(fX) > 0) {
				XEvent event;
				XNextEvent(fX, &event);
				if (event.type != SelectionRequest)
					continue;
				const XSelectionRequestEvent& request = event.xselectionrequest;
				XSelectionEvent reply = {};
				reply.type = SelectionNotify;
				reply.requestor = request.requestor;
				reply.selection = request.selection;
				reply.target = request.target;
				reply.time = request.time;
				reply.property = None;
				if (request.target == fUtf8) {
					XChangeProperty(fX, request.requestor, request.property, fUtf8, 8,
						PropModeReplace, (const unsigned char*)fText.data(), (int)fText.size());
					reply.property = request.property;
				}
				XSendEvent(fX, request.requestor, False, NoEventMask, (XEvent*)&reply);
				XFlush(fX);
				fAnswered++;
			}
			struct pollfd fd = {ConnectionNumber(fX), POLLIN, 0};
			poll(&fd, 1, 20);
		}
	}

	::Display* fX;
	Window fWindow;
	Atom fClipboard;
	Atom fUtf8;
	std::string fText;
	std::atomic<bool> fQuit;
	std::atomic<int> fAnswered;
	std::thread fThread;
};


class ClipboardX11Test : public XvfbTest {
protected:
	virtual void
	SetUp()
	{
		ASSERT_NO_FATAL_FAILURE(XvfbTest::SetUp());
		setenv("HAIKU_DISPLAY", "x11", 1);
		ASSERT_STREQ(BPrivate::Display::Default()->Name(), "x11")
			<< "the display was chosen before: run each test in a process of its own (ctest)";
	}

	// Asks the CLIPBOARD's owner for it as target, as any X client does; the property's
	// type goes to *type.
	std::string
	ConvertClipboard(const char* target, Atom* type)
	{
		Window requestor = XCreateSimpleWindow(fX, fRoot, 0, 0, 1, 1, 0, 0, 0);
		Atom property = XInternAtom(fX, "TEST_CLIPBOARD", False);
		XConvertSelection(fX, XInternAtom(fX, "CLIPBOARD", False), XInternAtom(fX, target, False),
			property, requestor, CurrentTime);
		XFlush(fX);
		XEvent event;
		bool answered = false;
		auto deadline = std::chrono::steady_clock::now() + kXvfbPatience;
		while (!answered && std::chrono::steady_clock::now() < deadline) {
			if (XCheckTypedWindowEvent(fX, requestor, SelectionNotify, &event)) {
				answered = true;
				break;
			}
			struct pollfd fd = {ConnectionNumber(fX), POLLIN, 0};
			poll(&fd, 1, 20);
		}
		std::string value = "(no answer)";
		if (answered) {
			value = event.xselection.property == None ? "(refused)"
													  : Property(requestor, "TEST_CLIPBOARD", type);
		}
		XDestroyWindow(fX, requestor);
		return value;
	}
};


} // namespace


// Copying in our window puts the text on the X CLIPBOARD for other programs; pasting
// takes what another program put there.
TEST_F(ClipboardX11Test, CopyAndPasteGoThroughTheClipboardSelection)
{
	TestEnv env;
	std::string runtime = env.Root() + "/run";
	mkdir(runtime.c_str(), 0700);
	setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
	BApplication app("application/x-vnd.wg-clipboard-x11-test");

	Events events;
	ClipWindow* window = new ClipWindow(&events);
	BTextControl* field = new BTextControl(
		BRect(10, 10, 289, 30), "field", "Text", "gr\xc3\xbc\xc3\x9f dich", NULL);
	window->AddChild(field);
	window->Show();
	Window x = FindWindow("Clip");
	ASSERT_NE(x, 0u);
	ASSERT_TRUE(events.WaitFor([&]() { return events.active; }));
	BRect content = Geometry(x);

	// A click into the text, Control+A, Control+C
	Click((int)content.left + 250, (int)content.top + 20);
	Type(XK_a, XK_Control_L);
	Type(XK_c, XK_Control_L);
	Atom clipboard = XInternAtom(fX, "CLIPBOARD", False);
	ASSERT_TRUE(WaitForX([&]() { return XGetSelectionOwner(fX, clipboard) != None; }));

	Atom type = None;
	EXPECT_EQ(ConvertClipboard("UTF8_STRING", &type), "gr\xc3\xbc\xc3\x9f dich");
	EXPECT_EQ(type, XInternAtom(fX, "UTF8_STRING", False));
	EXPECT_EQ(ConvertClipboard("STRING", &type), "gr\xfc\xdf dich");
	EXPECT_EQ(type, XA_STRING);
	std::string targets = ConvertClipboard("TARGETS", &type);
	EXPECT_EQ(type, XA_ATOM);
	EXPECT_NE(
		targets.find(std::to_string(XInternAtom(fX, "UTF8_STRING", False))), std::string::npos)
		<< targets;

	// Another program takes the clipboard; Control+V (at the end of the selected text,
	// which it replaces) brings its text in.
	OtherProgram other(fName.c_str(), "from \xe2\x82\xac elsewhere");
	ASSERT_TRUE(other.OwnsClipboard());
	Type(XK_v, XK_Control_L);
	ASSERT_TRUE(WaitUntil([&]() { return other.Answered() > 0; }));
	std::string text;
	ASSERT_TRUE(WaitUntil([&]() {
		if (!window->Lock())
			return false;
		text = field->Text();
		window->Unlock();
		return text != "gr\xc3\xbc\xc3\x9f dich";
	}));
	EXPECT_EQ(text, "from \xe2\x82\xac elsewhere");

	ASSERT_TRUE(window->Lock());
	window->Quit();
}
