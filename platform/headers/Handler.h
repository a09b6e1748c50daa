/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _HANDLER_H
#define _HANDLER_H


#include <Archivable.h>


class BLooper;
class BMessage;
class BMessageFilter;
class BList;


// An object that receives messages from the looper it belongs to.
class BHandler : public BArchivable {
public:
	BHandler(const char* name = NULL);
	BHandler(BMessage* archive);
	virtual ~BHandler();

	// Archiving: adds "_name" to the "class" entry
	virtual status_t Archive(BMessage* data, bool deep = true) const;
	static BArchivable* Instantiate(BMessage* archive);

	// Hook: the default passes the message on to the next handler, if there is one.
	virtual void MessageReceived(BMessage* message);

	BLooper* Looper() const;

	void SetName(const char* name);
	const char* Name() const;

	// The next handler in the chain; it must belong to the same (locked) looper.
	virtual void SetNextHandler(BHandler* handler);
	BHandler* NextHandler() const;

	// Filters that see each message for this handler before it does (the looper must be
	// locked to change them). The handler owns its filters.
	virtual void AddFilter(BMessageFilter* filter);
	virtual bool RemoveFilter(BMessageFilter* filter);
	virtual void SetFilterList(BList* filters);
	BList* FilterList();

	// Locks the handler's looper, checking that the handler still belongs to it once locked
	bool LockLooper();
	status_t LockLooperWithTimeout(bigtime_t timeout);
	void UnlockLooper();

private:
	BHandler(const BHandler&);
	BHandler& operator=(const BHandler&);

	friend class BLooper;
	friend class BMessenger;

	void _InitData(const char* name);
	void _SetLooper(BLooper* looper);

	int32 fToken;
	char* fName;
	BLooper* fLooper;
	BHandler* fNextHandler;
	BList* fFilters;
};


#endif // _HANDLER_H
