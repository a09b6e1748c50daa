/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The system clipboard on X11 is the CLIPBOARD selection. Copying makes our clipboard
// window its owner, which then answers other programs' requests for the text; pasting,
// while another program owns it, asks that program for its text and waits for the answer.


#include <limits.h>

#include <chrono>
#include <string>

#include "X11Display.h"

#include <X11/Xatom.h>


namespace BPrivate {


// How long a paste waits for the program that owns the clipboard
static const std::chrono::seconds kConversionPatience(2);


// UTF-8 to ISO 8859-1 for clients that ask for STRING; what Latin-1 lacks becomes '?'.
static std::string
latin1_from_utf8(const std::string& text)
{
	std::string result;
	for (size_t i = 0; i < text.size();) {
		uint8 c = (uint8)text[i];
		uint32 code = c;
		size_t length = 1;
		if (c >= 0xc0 && c < 0xe0 && i + 1 < text.size()) {
			code = ((c & 0x1f) << 6) | ((uint8)text[i + 1] & 0x3f);
			length = 2;
		} else if (c >= 0xe0 && c < 0xf0)
			length = 3;
		else if (c >= 0xf0)
			length = 4;
		result += (code < 0x100 && length <= 2) ? (char)code : '?';
		i += length;
	}
	return result;
}


static std::string
utf8_from_latin1(const std::string& text)
{
	std::string result;
	for (char byte : text) {
		uint8 c = (uint8)byte;
		if (c < 0x80)
			result += (char)c;
		else {
			result += (char)(0xc0 | (c >> 6));
			result += (char)(0x80 | (c & 0x3f));
		}
	}
	return result;
}


// Without the time of the user's action at hand (a copy may come from the program itself),
// the requests name CurrentTime.
void
X11Display::SetClipboardText(const char* text, size_t length)
{
	std::lock_guard<std::recursive_mutex> lock(fLock);
	fClipboardText.assign(text != NULL ? text : "", text != NULL ? length : 0);
	XSetSelectionOwner(fX, fAtoms.clipboard, fClipboardWindow, CurrentTime);
	fClipboardOwned = XGetSelectionOwner(fX, fAtoms.clipboard) == fClipboardWindow;
	Flush();
}


clipboard_source
X11Display::ReadClipboardText(std::string* text)
{
	std::lock_guard<std::mutex> conversion(fConversionLock);
	std::unique_lock<std::recursive_mutex> lock(fLock);
	text->clear();
	Window owner = XGetSelectionOwner(fX, fAtoms.clipboard);
	if (owner == None || owner == fClipboardWindow) {
		// The round trip may have read events for the event thread.
		Flush();
		return owner == None ? kClipboardNone : kClipboardOwn;
	}

	// UTF-8 first; clients of old only know STRING.
	const Atom targets[] = {fAtoms.utf8String, XA_STRING};
	for (Atom target : targets) {
		fConversion = Conversion();
		fConversion.pending = true;
		XDeleteProperty(fX, fClipboardWindow, fAtoms.clipboardProperty);
		XConvertSelection(
			fX, fAtoms.clipboard, target, fAtoms.clipboardProperty, fClipboardWindow, CurrentTime);
		Flush();
		bool answered = fConversionDone.wait_for(
			lock, kConversionPatience, [this]() { return fConversion.done; });
		fConversion.pending = false;
		if (!answered) {
			// The owner does not answer: there is something, but not for us.
			return kClipboardForeign;
		}
		if (fConversion.succeeded) {
			*text = target == XA_STRING ? utf8_from_latin1(fConversion.data) : fConversion.data;
			return kClipboardForeign;
		}
	}
	return kClipboardForeign;
}


// On the event thread, with the lock held
void
X11Display::_HandleClipboardEvent(XEvent& event)
{
	switch (event.type) {
	case SelectionClear:
		if (event.xselectionclear.selection == fAtoms.clipboard) {
			fClipboardOwned = false;
			fClipboardText.clear();
		}
		break;

	case SelectionRequest:
		_AnswerSelectionRequest(event.xselectionrequest);
		break;

	case SelectionNotify: {
		const XSelectionEvent& notify = event.xselection;
		if (!fConversion.pending || notify.selection != fAtoms.clipboard)
			break;
		if (notify.property == None) {
			fConversion.done = true;
			fConversionDone.notify_all();
			break;
		}
		_ReadConversion(true);
		break;
	}

	case PropertyNotify: {
		const XPropertyEvent& property = event.xproperty;
		if (fConversion.pending && fConversion.incremental && !fConversion.done
			&& property.atom == fAtoms.clipboardProperty && property.state == PropertyNewValue)
			_ReadConversion(false);
		break;
	}
	}
}


// Takes the converted text from our window's property (and deletes it, which asks an
// incremental sender for the next piece). An INCR answer starts the pieces; an empty piece
// ends them.
void
X11Display::_ReadConversion(bool first)
{
	Atom type;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = NULL;
	bool read = XGetWindowProperty(fX, fClipboardWindow, fAtoms.clipboardProperty, 0, LONG_MAX / 4,
					True, AnyPropertyType, &type, &format, &count, &after, &data)
		== Success;
	if (!read) {
		fConversion.done = true;
	} else if (first && type == fAtoms.incr) {
		fConversion.incremental = true;
	} else if (format != 8) {
		fConversion.done = true;
	} else if (fConversion.incremental) {
		if (count == 0) {
			fConversion.done = true;
			fConversion.succeeded = true;
		} else
			fConversion.data.append((const char*)data, count);
	} else {
		fConversion.data.assign(data != NULL ? (const char*)data : "", data != NULL ? count : 0);
		fConversion.done = true;
		fConversion.succeeded = true;
	}
	if (data != NULL)
		XFree(data);
	XFlush(fX);
	if (fConversion.done)
		fConversionDone.notify_all();
}


// Another program wants the clipboard: the text in the form it asks for, or the forms we
// have (TARGETS). Texts too large for one request are refused.
void
X11Display::_AnswerSelectionRequest(const XSelectionRequestEvent& request)
{
	XSelectionEvent reply = {};
	reply.type = SelectionNotify;
	reply.display = fX;
	reply.requestor = request.requestor;
	reply.selection = request.selection;
	reply.target = request.target;
	reply.time = request.time;
	reply.property = None;

	// Clients of old name no property: the target is the property then.
	Atom property = request.property != None ? request.property : request.target;
	long maxRequest = XExtendedMaxRequestSize(fX);
	if (maxRequest == 0)
		maxRequest = XMaxRequestSize(fX);
	size_t maxBytes = (size_t)maxRequest * 4 - 1024;

	if (request.selection == fAtoms.clipboard && fClipboardOwned) {
		Atom target = request.target;
		if (target == fAtoms.targets) {
			Atom forms[]
				= {fAtoms.targets, fAtoms.utf8String, fAtoms.textPlainUtf8, XA_STRING, fAtoms.text};
			XChangeProperty(fX, request.requestor, property, XA_ATOM, 32, PropModeReplace,
				(const unsigned char*)forms, sizeof(forms) / sizeof(forms[0]));
			reply.property = property;
		} else if (target == fAtoms.utf8String || target == fAtoms.textPlainUtf8
			|| target == fAtoms.text || target == XA_STRING) {
			std::string text
				= target == XA_STRING ? latin1_from_utf8(fClipboardText) : fClipboardText;
			Atom type = target == fAtoms.text ? fAtoms.utf8String : target;
			if (text.size() <= maxBytes) {
				XChangeProperty(fX, request.requestor, property, type, 8, PropModeReplace,
					(const unsigned char*)text.data(), (int)text.size());
				reply.property = property;
			}
		}
	}
	XSendEvent(fX, request.requestor, False, NoEventMask, (XEvent*)&reply);
	XFlush(fX);
}


} // namespace BPrivate
