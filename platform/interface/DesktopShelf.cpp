/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The client side of the desktop's shelf: starting its host and handing it replicants.


#include "ShelfPrivate.h"

#include <time.h>

#include <string>
#include <vector>

#include <FindDirectory.h>
#include <Message.h>
#include <Path.h>

#include "AppPrivate.h"
#include "Display.h"
#include "MessageService.h"


const char* const BPrivate::kDesktopShelfService = "x-vnd.desktop-shelf";
const char* const BPrivate::kDesktopShelfHostName = "Desktop";
const char* const BPrivate::kDesktopShelfSignature = "application/x-vnd.Be-TRAK.desktop-shelf";


status_t
BPrivate::start_desktop_shelf(bigtime_t timeout)
{
	return start_service_host(kDesktopShelfHostName, kDesktopShelfService, timeout);
}


status_t
BPrivate::send_to_desktop_shelf(const BMessage* dragMessage, BPoint leftTop)
{
	if (dragMessage == NULL)
		return B_BAD_VALUE;
	status_t status = start_desktop_shelf();
	if (status != B_OK)
		return status;
	BMessage request(kMsgDesktopDrop);
	request.AddMessage("archive", dragMessage);
	request.AddPoint("where", leftTop);
	BMessage reply;
	status = send_to_service(kDesktopShelfService, &request, &reply);
	if (status != B_OK)
		return status;
	int32 error;
	if (reply.FindInt32("error", &error) == B_OK)
		return error;
	return B_OK;
}


bool
BPrivate::desktop_widgets_are_translucent()
{
	Display* display = Display::Default();
	return display != NULL && display->TranslucentWidgets();
}
