/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <string.h>

#include <algorithm>
#include <memory>

#include <Message.h>
#include <OS.h>

#include "X11Display.h"

#include <X11/Xatom.h>


// Drops from other programs, by the XDND protocol (version 5): the dragging program sends
// XdndEnter, XdndPosition and XdndDrop (or XdndLeave) to our window; we answer each position
// with XdndStatus, ask for the data with XConvertSelection on XdndSelection at the drop, and
// end with XdndFinished.


namespace BPrivate {


static const int kXdndVersion = 5;
// How long a drop waits for its data
static const bigtime_t kDragDataTimeout = 5000000;
// Dropped data beyond this is refused.
static const size_t kMaxDragData = 64 * 1024 * 1024;


void
X11Drag::Reset()
{
	source = 0;
	target = 0;
	version = 0;
	type = None;
	where = BPoint(0, 0);
	fetching = false;
	incremental = false;
	deadline = 0;
	data.clear();
}


// Latin-1 to UTF-8, for the STRING type
static std::string
latin1_to_utf8(const std::string& text)
{
	std::string utf8;
	for (unsigned char c : text) {
		if (c < 0x80)
			utf8.push_back((char)c);
		else {
			utf8.push_back((char)(0xc0 | (c >> 6)));
			utf8.push_back((char)(0x80 | (c & 0x3f)));
		}
	}
	return utf8;
}


void
X11Display::_SendToSource(Atom type, long data1, long data2, long data3, long data4)
{
	XEvent event;
	memset(&event, 0, sizeof(event));
	event.xclient.type = ClientMessage;
	event.xclient.window = fDrag.source;
	event.xclient.message_type = type;
	event.xclient.format = 32;
	event.xclient.data.l[0] = (long)fDrag.target;
	event.xclient.data.l[1] = data1;
	event.xclient.data.l[2] = data2;
	event.xclient.data.l[3] = data3;
	event.xclient.data.l[4] = data4;
	XSendEvent(fX, fDrag.source, False, NoEventMask, &event);
	XFlush(fX);
}


// Handles the XDND client messages; false for any other message.
bool
X11Display::_HandleDragMessage(X11Window* window, const XClientMessageEvent& event)
{
	Atom type = event.message_type;
	if (event.format != 32
		|| (type != fAtoms.xdndEnter && type != fAtoms.xdndPosition && type != fAtoms.xdndLeave
			&& type != fAtoms.xdndDrop))
		return false;
	Window source = (Window)event.data.l[0];
	if (window->IsMenu())
		return true;

	if (type == fAtoms.xdndEnter) {
		// A drop waiting for its data finishes first.
		if (fDrag.fetching)
			return true;
		fDrag.Reset();
		fDrag.source = source;
		fDrag.target = window->fWindow;
		fDrag.version = (int)((unsigned long)event.data.l[1] >> 24);
		if (fDrag.version > kXdndVersion)
			fDrag.version = kXdndVersion;

		// The offered types: up to three here, else all in the source's XdndTypeList.
		std::vector<Atom> types;
		if ((event.data.l[1] & 1) != 0) {
			Atom actualType;
			int format;
			unsigned long count;
			unsigned long after;
			unsigned char* data = NULL;
			if (XGetWindowProperty(fX, source, fAtoms.xdndTypeList, 0, 1024, False, XA_ATOM,
					&actualType, &format, &count, &after, &data)
					== Success
				&& data != NULL && actualType == XA_ATOM && format == 32) {
				types.assign((Atom*)data, (Atom*)data + count);
			}
			if (data != NULL)
				XFree(data);
		} else {
			for (int i = 2; i < 5; i++) {
				if (event.data.l[i] != None)
					types.push_back((Atom)event.data.l[i]);
			}
		}

		// Files first, then text, best encoding first
		const Atom preferred[] = {
			fAtoms.uriList, fAtoms.textPlainUtf8, fAtoms.utf8String, fAtoms.textPlain, XA_STRING};
		for (Atom candidate : preferred) {
			if (std::find(types.begin(), types.end(), candidate) != types.end()) {
				fDrag.type = candidate;
				break;
			}
		}
		return true;
	}

	// The rest belongs to the drag that entered this window.
	if (source != fDrag.source || window->fWindow != fDrag.target)
		return true;

	if (type == fAtoms.xdndPosition) {
		long position = event.data.l[2];
		fDrag.where = BPoint((float)((position >> 16) & 0xffff), (float)(position & 0xffff));
		bool accept = fDrag.type != None && !fDrag.fetching;
		// Accepted anywhere in the window; positions keep coming (bit 1).
		_SendToSource(fAtoms.xdndStatus, accept ? 3 : 2, 0, 0,
			accept ? (long)fAtoms.xdndActionCopy : (long)None);
		return true;
	}

	if (type == fAtoms.xdndLeave) {
		if (!fDrag.fetching)
			fDrag.Reset();
		return true;
	}

	// XdndDrop: the data is asked for; it arrives with SelectionNotify.
	if (fDrag.type == None || fDrag.fetching) {
		_FinishDrag(false);
		return true;
	}
	Time time = fDrag.version >= 1 ? (Time)event.data.l[2] : CurrentTime;
	XDeleteProperty(fX, fDrag.target, fAtoms.xdndData);
	XConvertSelection(fX, fAtoms.xdndSelection, fDrag.type, fAtoms.xdndData, fDrag.target, time);
	XFlush(fX);
	fDrag.fetching = true;
	fDrag.deadline = system_time() + kDragDataTimeout;
	return true;
}


void
X11Display::_HandleDragData(const XSelectionEvent& event)
{
	if (!fDrag.fetching || fDrag.incremental || event.requestor != fDrag.target
		|| event.selection != fAtoms.xdndSelection)
		return;
	if (event.property == None) {
		// The source could not give it.
		_FinishDrag(false);
		return;
	}

	Atom actualType;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = NULL;
	if (XGetWindowProperty(fX, fDrag.target, event.property, 0, kMaxDragData / 4, True,
			AnyPropertyType, &actualType, &format, &count, &after, &data)
		!= Success) {
		_FinishDrag(false);
		return;
	}
	if (actualType == fAtoms.incr) {
		// Large data comes in pieces: each new value of the property is the next one,
		// an empty one ends it. Deleting the property (done above) asks for the first.
		if (data != NULL)
			XFree(data);
		fDrag.incremental = true;
		fDrag.deadline = system_time() + kDragDataTimeout;
		XFlush(fX);
		return;
	}
	bool complete = data != NULL && format == 8 && after == 0;
	if (complete)
		fDrag.data.assign((const char*)data, count);
	if (data != NULL)
		XFree(data);
	_FinishDrag(complete);
}


void
X11Display::_HandleDragChunk(const XPropertyEvent& event)
{
	if (!fDrag.fetching || !fDrag.incremental || event.window != fDrag.target
		|| event.atom != fAtoms.xdndData || event.state != PropertyNewValue)
		return;
	Atom actualType;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = NULL;
	if (XGetWindowProperty(fX, fDrag.target, fAtoms.xdndData, 0, kMaxDragData / 4, True,
			AnyPropertyType, &actualType, &format, &count, &after, &data)
		!= Success) {
		_FinishDrag(false);
		return;
	}
	bool ok
		= data != NULL && format == 8 && after == 0 && fDrag.data.size() + count <= kMaxDragData;
	if (ok && count > 0)
		fDrag.data.append((const char*)data, count);
	if (data != NULL)
		XFree(data);
	XFlush(fX);
	if (!ok)
		_FinishDrag(false);
	else if (count == 0)
		_FinishDrag(true);
	else
		fDrag.deadline = system_time() + kDragDataTimeout;
}


int
X11Display::_DragTimeout()
{
	if (!fDrag.fetching)
		return -1;
	bigtime_t left = fDrag.deadline - system_time();
	if (left <= 0)
		return 0;
	return (int)((left + 999) / 1000);
}


// Ends the drag: with the data, the window gets it as Haiku delivers a drop, and the source
// learns whether we took it.
void
X11Display::_FinishDrag(bool delivered)
{
	if (fDrag.source == 0) {
		fDrag.Reset();
		return;
	}
	if (delivered) {
		std::unique_ptr<BMessage> message;
		if (fDrag.type == fAtoms.uriList)
			message.reset(make_files_drop_message(fDrag.data.data(), fDrag.data.size()));
		else if (fDrag.type == XA_STRING) {
			std::string text = latin1_to_utf8(fDrag.data);
			message.reset(make_text_drop_message(text.data(), text.size()));
		} else {
			// Text ends where a NUL is, as some sources send one.
			size_t length = strnlen(fDrag.data.data(), fDrag.data.size());
			message.reset(make_text_drop_message(fDrag.data.data(), length));
		}
		X11Window* window = FindWindow(fDrag.target);
		delivered = message != NULL && window != NULL;
		if (delivered)
			post_drop_message(window->fClient, message.get(), fDrag.where);
	}
	if (fDrag.version >= 2) {
		_SendToSource(fAtoms.xdndFinished, delivered ? 1 : 0,
			delivered ? (long)fAtoms.xdndActionCopy : (long)None, 0, 0);
	}
	fDrag.Reset();
}


} // namespace BPrivate
