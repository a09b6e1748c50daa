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


static bigtime_t
now_usecs()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return static_cast<bigtime_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}


status_t
BPrivate::start_desktop_shelf(bigtime_t timeout)
{
	if (service_is_running(kDesktopShelfService))
		return B_OK;
	BPath host;
	status_t status = find_directory(B_SYSTEM_DIRECTORY, &host);
	if (status == B_OK)
		status = host.Append(kDesktopShelfHostName);
	if (status == B_OK)
		status = launch_detached(host.Path(), std::vector<std::string>());
	if (status != B_OK)
		return status;

	// The host offers its service once its replicants are back.
	bigtime_t deadline = now_usecs() + timeout;
	while (!service_is_running(kDesktopShelfService)) {
		if (now_usecs() >= deadline)
			return B_TIMED_OUT;
		timespec pause = {0, 20000000};
		nanosleep(&pause, NULL);
	}
	return B_OK;
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
