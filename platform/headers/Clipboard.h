/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _CLIPBOARD_H
#define _CLIPBOARD_H


#include <Locker.h>
#include <Messenger.h>


class BMessage;


enum { B_CLIPBOARD_CHANGED = 'CLCH' };


// A named clipboard. Its data is a BMessage that holds one entry per format (text is
// "text/plain" of B_MIME_TYPE, without a closing NUL). Lock() fetches what the clipboard
// holds now; Data() is only valid while it is locked; Commit() makes the data the
// clipboard's.
//
// The "system" clipboard (be_clipboard) is the desktop's: on X11, the CLIPBOARD selection
// that other programs copy to and paste from. Other names are shared within the process.
class BClipboard {
public:
	// A NULL name stands for "system". transient is not used.
	BClipboard(const char* name, bool transient = false);
	virtual ~BClipboard();

	const char* Name() const;

	// How often the data was committed: as this object last fetched it, and now.
	uint32 LocalCount() const;
	uint32 SystemCount() const;

	bool Lock();
	void Unlock();
	bool IsLocked() const;

	// These need the clipboard locked (else B_NOT_ALLOWED). Commit(true) fails with B_ERROR
	// when someone committed since this object fetched the data.
	status_t Clear();
	status_t Commit();
	status_t Commit(bool failIfChanged);
	status_t Revert();

	// The application that committed the data; not valid for other programs' data.
	BMessenger DataSource() const;
	// NULL while the clipboard is not locked.
	BMessage* Data() const;

private:
	BClipboard(const BClipboard&);
	BClipboard& operator=(const BClipboard&);

	status_t _DownloadFromSystem(bool force = false);

	BMessage* fData;
	BLocker fLock;
	BMessenger fDataSource;
	uint32 fCount;
	char* fName;
};


// The system clipboard, there while the BApplication is.
extern BClipboard* be_clipboard;


#endif // _CLIPBOARD_H
