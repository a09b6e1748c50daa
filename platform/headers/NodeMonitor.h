/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _NODE_MONITOR_H
#define _NODE_MONITOR_H


#include <StorageDefs.h>


// Flags of watch_node(). B_WATCH_MOUNT is not part of B_WATCH_ALL.
enum {
	B_STOP_WATCHING = 0x0000,
	B_WATCH_NAME = 0x0001,
	B_WATCH_STAT = 0x0002,
	B_WATCH_ATTR = 0x0004,
	B_WATCH_DIRECTORY = 0x0008,
	B_WATCH_ALL = 0x000f,

	B_WATCH_MOUNT = 0x0010,
	B_WATCH_INTERIM_STAT = 0x0020,
	B_WATCH_CHILDREN = 0x0040
};


// The "opcode" of a B_NODE_MONITOR message.
#define B_ENTRY_CREATED 1
#define B_ENTRY_REMOVED 2
#define B_ENTRY_MOVED 3
#define B_STAT_CHANGED 4
#define B_ATTR_CHANGED 5
#define B_DEVICE_MOUNTED 6
#define B_DEVICE_UNMOUNTED 7


// The "cause" of a B_ATTR_CHANGED message (B_ATTR_CHANGED itself for a changed value).
#define B_ATTR_CREATED 1
#define B_ATTR_REMOVED 2


// The "fields" of a B_STAT_CHANGED message: what part of the stat data changed.
enum {
	B_STAT_MODE = 0x0001,
	B_STAT_UID = 0x0002,
	B_STAT_GID = 0x0004,
	B_STAT_SIZE = 0x0008,
	B_STAT_ACCESS_TIME = 0x0010,
	B_STAT_MODIFICATION_TIME = 0x0020,
	B_STAT_CREATION_TIME = 0x0040,
	B_STAT_CHANGE_TIME = 0x0080,

	B_STAT_INTERIM_UPDATE = 0x1000
};


#ifdef __cplusplus

#include <Messenger.h>
#include <Node.h>


class BHandler;
class BLooper;


// Node monitoring on Linux inotify; see NodeMonitor.cpp for how the host's events become
// Haiku's messages. A node is found by its node_ref through the path that GetNodeRef() (or
// an entry_ref, or an open BNode/BFile of the process) last gave for it.
extern status_t watch_node(const node_ref* node, uint32 flags, BMessenger target);
extern status_t watch_node(
	const node_ref* node, uint32 flags, const BHandler* handler, const BLooper* looper = NULL);

extern status_t stop_watching(BMessenger target);
extern status_t stop_watching(const BHandler* handler, const BLooper* looper = NULL);

#endif // __cplusplus


#endif // _NODE_MONITOR_H
