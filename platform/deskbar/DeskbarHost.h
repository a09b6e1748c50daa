/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DESKBAR_HOST_H
#define _DESKBAR_HOST_H


#include <sys/types.h>

#include <string>
#include <vector>

#include <Application.h>
#include <Messenger.h>
#include <String.h>
#include <image.h>

#include <MessageService.h>


class BView;
class ItemWindow;


// The Deskbar: it offers the service that BDeskbar asks, and shows its items in the desktop's
// system tray or, without one, in a strip of its own at the top right of the screen.
class DeskbarHost : public BApplication {
public:
	DeskbarHost();
	virtual ~DeskbarHost();

	// Starts the service; false when another Deskbar already offers it.
	bool StartService();
	// Ends the service once the application's loop ended; waits (bounded) for the item
	// windows to end.
	void Shutdown();

	virtual void ReadyToRun();
	virtual bool QuitRequested();
	virtual void Pulse();
	virtual void MessageReceived(BMessage* message);

	static const float kMaxItemWidth;
	static const float kMaxItemHeight;

private:
	struct Item {
		int32 id;
		BString name;
		// The add-on's file; empty for an item added as a view
		std::string path;
		dev_t device;
		ino_t node;
		BMessenger window;
		BRect size;
	};

	void _AddAddOn(BMessage* request, BMessage* reply);
	void _AddView(BMessage* request, BMessage* reply);
	status_t _LoadAddOn(const char* path, int32* _id);
	status_t _AddItem(
		const BMessage& archive, const std::string& path, dev_t device, ino_t node, int32* _id);
	void _RemoveItem(BMessage* request);
	Item* _Find(BMessage* request, bool last = false);
	void _ViewBack(BMessage* message);

	// Puts an item's view, rebuilt from its archive, in a new window, in the tray or in the
	// strip. NULL when the view cannot be rebuilt or is too tall.
	ItemWindow* _House(Item& item, const BMessage& archive);
	void _ShowHandle();
	void _Relayout();
	void _TrayChanged(bool available);

	BRect _StripFrame(const Item* item) const;

	std::string _SettingsPath() const;
	void _Save() const;
	void _Load();

	BPrivate::MessageService fService;
	std::vector<Item> fItems;
	int32 fNextId;
	bool fInTray;
	BMessenger fHandle;
	// The service is ours: this is the user's Deskbar.
	bool fServing;
};


#endif // _DESKBAR_HOST_H
