/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DESKBAR_PRIVATE_H
#define _DESKBAR_PRIVATE_H


#include <SupportDefs.h>


// The Deskbar's requests and their fields, as BDeskbar sends them to the Deskbar host
enum {
	kMsgAddView = 'icon',    // "view": the view's archive -> "id" or "error"
	kMsgAddAddOn = 'adon',   // "addon": entry_ref, "be:path": its path -> "id" or "error"
	kMsgRemoveItem = 'remv', // "id" or "name" -> no reply
	kMsgItemExists = 'exst', // "id" or "name" -> "exists"
	kMsgItemInfo = 'info',   // "id" or "name" -> "name" or "id" when found
	kMsgCountItems = 'cwnt', // -> "count"
	kMsgMaxItemSize = 'mxsz' // -> "width", "height"
};


namespace BPrivate {

// The name the Deskbar host offers its service under (see MessageService.h)
extern const char* const kDeskbarService;
// The Deskbar host's executable in the system folder
extern const char* const kDeskbarHostName;

// Starts the Deskbar host when it does not run yet and waits (at most timeout) until it
// answers. B_OK when it runs.
status_t start_deskbar(bigtime_t timeout = 5000000);

} // namespace BPrivate


#endif // _DESKBAR_PRIVATE_H
