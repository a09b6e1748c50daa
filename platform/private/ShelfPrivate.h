/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SHELF_PRIVATE_H
#define _SHELF_PRIVATE_H


#include <Point.h>
#include <Window.h>


class BMessage;
class BShelf;


namespace BPrivate {


// The desktop's shelf: a host process (<system folder>/Desktop) that keeps the replicants
// dropped on the desktop, each in a window of its own. It offers kDesktopShelfService.
extern const char* const kDesktopShelfService;
extern const char* const kDesktopShelfHostName;
extern const char* const kDesktopShelfSignature;

// The requests of the service:
// - kMsgDesktopDrop: "archive" (the dragged message, B_ARCHIVED_OBJECT) and "where" (the
//   replicant's left top corner, screen coordinates). The reply has "error" (int32, B_OK
//   when the replicant was added) and, on success, "id" (int32).
// - kMsgDesktopCount: the reply has "count" (int32), and per replicant "class" (string) and
//   "frame" (BRect, screen coordinates of its window).
const uint32 kMsgDesktopDrop = 'dsdp';
const uint32 kMsgDesktopCount = 'dscn';

// Starts the host unless it runs, and waits until its service answers.
status_t start_desktop_shelf(bigtime_t timeout = 10000000);
// Hands a dragged replicant to the desktop's shelf, starting the host when needed.
status_t send_to_desktop_shelf(const BMessage* dragMessage, BPoint leftTop);

// A borderless window that lives on the desktop: below the other windows, on every
// workspace, out of task bars and pagers. Where the display can show per-pixel transparency
// (an X server with a compositor) the pixels the window leaves transparent
// (B_TRANSPARENT_COLOR drawn in B_OP_COPY) show the desktop.
const window_type kDesktopWidgetWindowType = (window_type)32;
bool desktop_widgets_are_translucent();

// The shelf's replicants each fill a window of their own: dragging a dragger moves the window
// instead of the replicant within the container.
void set_shelf_moves_window(BShelf* shelf, bool movesWindow);
bool shelf_moves_window(const BShelf* shelf);

// The user's dragger setting, <B_USER_SETTINGS_DIRECTORY>/system/app_server/dragger
status_t dragger_settings_path(char* path, size_t size);


} // namespace BPrivate


#endif // _SHELF_PRIVATE_H
