/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Clipboard.h>

#include <stdlib.h>
#include <string.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <Application.h>
#include <Message.h>

#include "Display.h"


BClipboard* be_clipboard = NULL;


namespace {


// What a clipboard of the process holds, shared by every BClipboard of its name.
struct ClipboardEntry {
	std::vector<char> flat;
	uint32 count = 0;
	BMessenger source;
	// The data came from another program, with this text.
	bool foreign = false;
	std::string foreignText;
};


std::mutex sStoreLock;
std::map<std::string, ClipboardEntry> sStore;


const char* const kSystemName = "system";


void
flatten_into(const BMessage& message, std::vector<char>* flat)
{
	ssize_t size = message.FlattenedSize();
	flat->assign(size > 0 ? (size_t)size : 0, 0);
	if (size <= 0 || message.Flatten(flat->data(), size) != B_OK)
		flat->clear();
}


} // namespace


BClipboard::BClipboard(const char* name, bool transient)
	: fData(new BMessage), fLock("clipboard"), fCount(0),
	  fName(strdup(name != NULL && name[0] != '\0' ? name : kSystemName))
{
	(void)transient;
}


BClipboard::~BClipboard()
{
	delete fData;
	free(fName);
}


const char*
BClipboard::Name() const
{
	return fName;
}


uint32
BClipboard::LocalCount() const
{
	return fCount;
}


uint32
BClipboard::SystemCount() const
{
	std::lock_guard<std::mutex> guard(sStoreLock);
	return sStore[fName].count;
}


bool
BClipboard::Lock()
{
	if (!fLock.Lock())
		return false;
	// The outermost lock fetches what the clipboard holds now.
	if (fLock.CountLocks() == 1)
		_DownloadFromSystem();
	return true;
}


void
BClipboard::Unlock()
{
	fLock.Unlock();
}


bool
BClipboard::IsLocked() const
{
	return fLock.IsLocked();
}


status_t
BClipboard::Clear()
{
	if (!IsLocked())
		return B_NOT_ALLOWED;
	fData->MakeEmpty();
	fData->what = 0;
	return B_OK;
}


status_t
BClipboard::Commit()
{
	return Commit(false);
}


status_t
BClipboard::Commit(bool failIfChanged)
{
	if (!IsLocked())
		return B_NOT_ALLOWED;
	std::string text;
	{
		std::lock_guard<std::mutex> guard(sStoreLock);
		ClipboardEntry& entry = sStore[fName];
		if (failIfChanged && entry.count != fCount)
			return B_ERROR;
		flatten_into(*fData, &entry.flat);
		entry.count++;
		entry.source = be_app_messenger;
		entry.foreign = false;
		entry.foreignText.clear();
		fCount = entry.count;
		fDataSource = entry.source;

		const void* bytes = NULL;
		ssize_t size = 0;
		if (fData->FindData("text/plain", B_MIME_TYPE, &bytes, &size) == B_OK && bytes != NULL
			&& size > 0)
			text.assign((const char*)bytes, (size_t)size);
	}
	// Other programs see the system clipboard's text.
	if (strcmp(fName, kSystemName) == 0)
		BPrivate::Display::Default()->SetClipboardText(text.data(), text.size());
	return B_OK;
}


status_t
BClipboard::Revert()
{
	if (!IsLocked())
		return B_NOT_ALLOWED;
	return _DownloadFromSystem(true);
}


BMessenger
BClipboard::DataSource() const
{
	return fDataSource;
}


BMessage*
BClipboard::Data() const
{
	if (!IsLocked())
		return NULL;
	return fData;
}


// Takes the clipboard's data into fData: on the system clipboard, what another program put
// there, if one did since; else what the process committed last. It always fetches: what
// was changed and not committed is dropped.
status_t
BClipboard::_DownloadFromSystem(bool force)
{
	bool system = strcmp(fName, kSystemName) == 0;
	std::string text;
	BPrivate::clipboard_source source = BPrivate::kClipboardOwn;
	if (system)
		source = BPrivate::Display::Default()->ReadClipboardText(&text);

	std::lock_guard<std::mutex> guard(sStoreLock);
	ClipboardEntry& entry = sStore[fName];
	if (source == BPrivate::kClipboardForeign && (!entry.foreign || entry.foreignText != text)) {
		BMessage data;
		if (!text.empty())
			data.AddData("text/plain", B_MIME_TYPE, text.data(), (ssize_t)text.size());
		flatten_into(data, &entry.flat);
		entry.count++;
		entry.source = BMessenger();
		entry.foreign = true;
		entry.foreignText = text;
	} else if (source == BPrivate::kClipboardNone && !entry.flat.empty()) {
		// Nobody offers anything any more (the program that did ended).
		entry.flat.clear();
		entry.count++;
		entry.source = BMessenger();
		entry.foreign = false;
		entry.foreignText.clear();
	}

	(void)force;
	fData->MakeEmpty();
	fData->what = 0;
	if (!entry.flat.empty() && fData->Unflatten(entry.flat.data()) != B_OK)
		fData->MakeEmpty();
	fCount = entry.count;
	fDataSource = entry.source;
	return B_OK;
}
