/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _XDND_SOURCE_H
#define _XDND_SOURCE_H


#include <string>
#include <utility>
#include <vector>

#include <X11/Xlib.h>


// Another program that drags data onto a window, as file managers and editors do by XDND
// (version 5): a client of its own on the X server, which owns XdndSelection, sends
// XdndEnter, XdndPosition and XdndDrop to the XdndAware window under a point of the screen,
// and answers the drop target's requests for the data.
class XdndSource {
public:
	// A type ("text/plain;charset=utf-8", "text/uri-list", ...) and its bytes
	typedef std::vector<std::pair<std::string, std::string>> Offers;

	// What a drag came to
	struct Result {
		// The window that took the drag (0 when none under the point is XdndAware)
		Window target = 0;
		// The XdndAware version it announced
		int version = 0;
		// Its XdndStatus answer to our position
		bool statusReceived = false;
		bool accepted = false;
		// The types it asked for at the drop
		std::vector<std::string> requested;
		// Its XdndFinished answer
		bool finished = false;
		bool success = false;
	};

	// Opens a connection of its own to the server (for example the XvfbTest's fName).
	explicit XdndSource(const char* displayName);
	~XdndSource();

	bool
	IsOpen() const
	{
		return fX != NULL;
	}

	// Drags offers to the point (root coordinates) and drops them there, unless the target
	// refuses: then the drag leaves. Waits at most timeoutSeconds for each answer.
	Result Drop(int x, int y, const Offers& offers, int timeoutSeconds = 10);

	Result
	DropText(int x, int y, const std::string& text)
	{
		return Drop(x, y, {{"text/plain;charset=utf-8", text}, {"UTF8_STRING", text}});
	}
	// Paths as a text/uri-list of file:// URIs, percent-encoded where needed
	Result DropFiles(int x, int y, const std::vector<std::string>& paths);

	static std::string FileUri(const std::string& path);

private:
	Window _AwareWindowAt(int x, int y, int* version);
	void _Send(Window target, const char* type, long l1, long l2, long l3, long l4);
	void _AnswerRequest(
		const XSelectionRequestEvent& request, const Offers& offers, Result* result);
	// Handles events until done() holds or the time is up.
	bool _Wait(int timeoutSeconds, const Offers& offers, Result* result, bool (*done)(Result*));

	::Display* fX;
	Window fWindow;
};


#endif // _XDND_SOURCE_H
