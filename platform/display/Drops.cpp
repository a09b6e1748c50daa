/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <string.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <AppDefs.h>
#include <Entry.h>
#include <Message.h>

#include "Display.h"
#include "MessagePrivate.h"


namespace BPrivate {


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


// The local path a file:// URI names ("file:///p", "file://localhost/p" or
// "file://<this host>/p"), percent-decoded; false for anything else, and for paths with a NUL.
static bool
uri_to_path(const std::string& uri, std::string* path)
{
	const char* kScheme = "file://";
	if (strncasecmp(uri.c_str(), kScheme, strlen(kScheme)) != 0)
		return false;
	std::string rest = uri.substr(strlen(kScheme));
	size_t slash = rest.find('/');
	if (slash == std::string::npos)
		return false;
	std::string host = rest.substr(0, slash);
	if (!host.empty() && strcasecmp(host.c_str(), "localhost") != 0) {
		char name[256];
		if (gethostname(name, sizeof(name)) != 0)
			return false;
		name[sizeof(name) - 1] = '\0';
		if (strcasecmp(host.c_str(), name) != 0)
			return false;
	}
	path->clear();
	for (size_t i = slash; i < rest.size(); i++) {
		char c = rest[i];
		if (c == '%' && i + 2 < rest.size() && hex_value(rest[i + 1]) >= 0
			&& hex_value(rest[i + 2]) >= 0) {
			c = (char)(hex_value(rest[i + 1]) * 16 + hex_value(rest[i + 2]));
			i += 2;
		}
		if (c == '\0')
			return false;
		path->push_back(c);
	}
	return !path->empty();
}


void
post_drop_message(DisplayClient* client, const BMessage* message, BPoint screenWhere)
{
	if (client == NULL || message == NULL)
		return;
	BMessage drop(*message);
	BMessage::Private(&drop).SetWasDropped(true);
	drop.RemoveName("_drop_point_");
	drop.RemoveName("_drop_offset_");
	drop.AddPoint("_drop_point_", screenWhere);
	drop.AddPoint("_drop_offset_", BPoint(0, 0));
	client->PostDisplayMessage(&drop);
}


BMessage*
make_text_drop_message(const char* text, size_t length)
{
	if (text == NULL)
		return NULL;
	std::unique_ptr<BMessage> message(new BMessage(B_MIME_DATA));
	if (message->AddData("text/plain", B_MIME_TYPE, text, (ssize_t)length, false) != B_OK)
		return NULL;
	return message.release();
}


BMessage*
make_files_drop_message(const char* uriList, size_t length)
{
	if (uriList == NULL)
		return NULL;
	std::unique_ptr<BMessage> message(new BMessage(B_SIMPLE_DATA));
	int32 count = 0;
	std::string list(uriList, length);
	size_t start = 0;
	while (start < list.size()) {
		size_t end = list.find('\n', start);
		if (end == std::string::npos)
			end = list.size();
		std::string line = list.substr(start, end - start);
		start = end + 1;
		while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
			line.pop_back();
		// Comments begin with '#'.
		std::string path;
		if (line.empty() || line[0] == '#' || !uri_to_path(line, &path))
			continue;
		entry_ref ref;
		if (get_ref_for_path(path.c_str(), &ref) != B_OK || access(path.c_str(), F_OK) != 0)
			continue;
		if (message->AddRef("refs", &ref) == B_OK)
			count++;
	}
	return count > 0 ? message.release() : NULL;
}


} // namespace BPrivate
