/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "XdndSource.h"

#include <poll.h>
#include <string.h>

#include <chrono>

#include <X11/Xatom.h>


XdndSource::XdndSource(const char* displayName) : fX(XOpenDisplay(displayName)), fWindow(0)
{
	if (fX == NULL)
		return;
	// An unmapped window stands for the dragging program.
	fWindow = XCreateSimpleWindow(fX, DefaultRootWindow(fX), 0, 0, 1, 1, 0, 0, 0);
	XSync(fX, False);
}


XdndSource::~XdndSource()
{
	if (fX == NULL)
		return;
	XDestroyWindow(fX, fWindow);
	XCloseDisplay(fX);
}


std::string
XdndSource::FileUri(const std::string& path)
{
	static const char* kHex = "0123456789ABCDEF";
	std::string uri = "file://";
	for (unsigned char c : path) {
		if (isalnum(c) || strchr("/-._~", c) != NULL)
			uri.push_back((char)c);
		else {
			uri.push_back('%');
			uri.push_back(kHex[c >> 4]);
			uri.push_back(kHex[c & 15]);
		}
	}
	return uri;
}


XdndSource::Result
XdndSource::DropFiles(int x, int y, const std::vector<std::string>& paths)
{
	std::string list;
	for (const std::string& path : paths)
		list += FileUri(path) + "\r\n";
	return Drop(x, y, {{"text/uri-list", list}});
}


// The window a dragging program talks to: the topmost one under the point that carries
// XdndAware, looking down from the root through the windows that hold the point.
Window
XdndSource::_AwareWindowAt(int x, int y, int* version)
{
	Window root = DefaultRootWindow(fX);
	Window window = root;
	Atom aware = XInternAtom(fX, "XdndAware", False);
	for (;;) {
		int childX;
		int childY;
		Window child = 0;
		if (!XTranslateCoordinates(fX, root, window, x, y, &childX, &childY, &child) || child == 0)
			return 0;
		window = child;
		Atom type;
		int format;
		unsigned long count;
		unsigned long after;
		unsigned char* data = NULL;
		if (XGetWindowProperty(
				fX, window, aware, 0, 1, False, XA_ATOM, &type, &format, &count, &after, &data)
				== Success
			&& data != NULL && type == XA_ATOM && count == 1) {
			*version = (int)*(Atom*)data;
			XFree(data);
			return window;
		}
		if (data != NULL)
			XFree(data);
	}
}


void
XdndSource::_Send(Window target, const char* type, long l1, long l2, long l3, long l4)
{
	XEvent event;
	memset(&event, 0, sizeof(event));
	event.xclient.type = ClientMessage;
	event.xclient.window = target;
	event.xclient.message_type = XInternAtom(fX, type, False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = (long)fWindow;
	event.xclient.data.l[1] = l1;
	event.xclient.data.l[2] = l2;
	event.xclient.data.l[3] = l3;
	event.xclient.data.l[4] = l4;
	XSendEvent(fX, target, False, NoEventMask, &event);
	XFlush(fX);
}


void
XdndSource::_AnswerRequest(
	const XSelectionRequestEvent& request, const Offers& offers, Result* result)
{
	XEvent reply;
	memset(&reply, 0, sizeof(reply));
	reply.xselection.type = SelectionNotify;
	reply.xselection.requestor = request.requestor;
	reply.xselection.selection = request.selection;
	reply.xselection.target = request.target;
	reply.xselection.time = request.time;
	reply.xselection.property = None;

	char* name = XGetAtomName(fX, request.target);
	std::string target = name != NULL ? name : "";
	if (name != NULL)
		XFree(name);
	result->requested.push_back(target);
	for (const auto& offer : offers) {
		if (offer.first != target || request.property == None)
			continue;
		XChangeProperty(fX, request.requestor, request.property, request.target, 8, PropModeReplace,
			(const unsigned char*)offer.second.data(), (int)offer.second.size());
		reply.xselection.property = request.property;
		break;
	}
	XSendEvent(fX, request.requestor, False, NoEventMask, &reply);
	XFlush(fX);
}


bool
XdndSource::_Wait(int timeoutSeconds, const Offers& offers, Result* result, bool (*done)(Result*))
{
	Atom status = XInternAtom(fX, "XdndStatus", False);
	Atom finished = XInternAtom(fX, "XdndFinished", False);
	auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
	for (;;) {
		while (XPending(fX) > 0) {
			XEvent event;
			XNextEvent(fX, &event);
			if (event.type == SelectionRequest)
				_AnswerRequest(event.xselectionrequest, offers, result);
			else if (event.type == ClientMessage && event.xclient.message_type == status) {
				result->statusReceived = true;
				result->accepted = (event.xclient.data.l[1] & 1) != 0;
			} else if (event.type == ClientMessage && event.xclient.message_type == finished) {
				result->finished = true;
				result->success = (event.xclient.data.l[1] & 1) != 0;
			}
		}
		if (done(result))
			return true;
		auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
			deadline - std::chrono::steady_clock::now());
		if (left.count() <= 0)
			return false;
		struct pollfd fd = {ConnectionNumber(fX), POLLIN, 0};
		poll(&fd, 1, (int)left.count());
	}
}


XdndSource::Result
XdndSource::Drop(int x, int y, const Offers& offers, int timeoutSeconds)
{
	Result result;
	if (fX == NULL)
		return result;
	result.target = _AwareWindowAt(x, y, &result.version);
	if (result.target == 0)
		return result;

	Atom selection = XInternAtom(fX, "XdndSelection", False);
	XSetSelectionOwner(fX, selection, fWindow, CurrentTime);

	// The offered types: three fit into XdndEnter, more go into XdndTypeList.
	std::vector<Atom> types;
	for (const auto& offer : offers)
		types.push_back(XInternAtom(fX, offer.first.c_str(), False));
	XChangeProperty(fX, fWindow, XInternAtom(fX, "XdndTypeList", False), XA_ATOM, 32,
		PropModeReplace, (const unsigned char*)types.data(), (int)types.size());
	long version = 5;
	_Send(result.target, "XdndEnter", (version << 24) | (types.size() > 3 ? 1 : 0),
		types.size() > 0 ? (long)types[0] : 0, types.size() > 1 ? (long)types[1] : 0,
		types.size() > 2 ? (long)types[2] : 0);

	Atom copy = XInternAtom(fX, "XdndActionCopy", False);
	_Send(
		result.target, "XdndPosition", 0, ((long)x << 16) | (y & 0xffff), CurrentTime, (long)copy);
	_Wait(timeoutSeconds, offers, &result, [](Result* r) { return r->statusReceived; });
	if (!result.accepted) {
		_Send(result.target, "XdndLeave", 0, 0, 0, 0);
		return result;
	}

	_Send(result.target, "XdndDrop", 0, CurrentTime, 0, 0);
	_Wait(timeoutSeconds, offers, &result, [](Result* r) { return r->finished; });
	return result;
}
