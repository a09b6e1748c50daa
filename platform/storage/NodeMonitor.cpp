/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// Node monitoring on Linux inotify.
//
// One watcher thread per process, started by the first watch_node() and stopped (joined, its
// descriptors closed) when the process exits. Each watched node has one slot per target, with
// the target's flags ORed together, as on Haiku.
//
// Finding the node: inotify watches paths, a node_ref names an inode. The node's path comes
// from the record that GetNodeRef(), GetRef() and friends keep (storage_support.h), or from a
// descriptor of the process that has the node open. The node is then opened with O_PATH and
// checked to be the (device, inode) asked for, and inotify watches "/proc/self/fd/<that
// descriptor>", so the watch is on exactly that inode even if the name changed in between.
// The O_PATH descriptor stays open while the node is watched: it tells the node's current
// path after a move, its stat data for the "fields", and whether its last link is gone.
//
// What the host's events become:
// - IN_MODIFY: B_STAT_CHANGED with SIZE | MODIFICATION_TIME | INTERIM_UPDATE, for
//   B_WATCH_INTERIM_STAT watchers only (Haiku's file systems send those while a file is
//   written).
// - IN_CLOSE_WRITE after a write, or IN_ATTRIB (chmod, chown, utimes): B_STAT_CHANGED for
//   B_WATCH_STAT watchers, "fields" saying what differs from the node's previous stat data.
// - IN_ATTRIB that only changed the extended attributes: B_ATTR_CHANGED per changed "user."
//   attribute, for B_WATCH_ATTR watchers.
// - The node lost its last link (removed, or replaced by a rename over its name, the way many
//   editors save): B_ENTRY_REMOVED for B_WATCH_NAME watchers, as on Haiku. A watcher with
//   B_WATCH_STAT but not B_WATCH_NAME gets B_STAT_CHANGED (SIZE | MODIFICATION_TIME |
//   CHANGE_TIME) for the node instead: on Haiku it would not hear of the save at all, and a
//   program that watches a file's stat to learn that the file was edited wants to hear of it.
//   The slots stay until stop_watching(), as on Haiku; the node sends nothing more (to follow
//   the new file, watch its node).
// - IN_MOVE_SELF: B_ENTRY_MOVED for B_WATCH_NAME watchers; a B_WATCH_STAT watcher without
//   B_WATCH_NAME gets B_STAT_CHANGED with CHANGE_TIME (Linux changes a moved node's ctime).
// - In a watched folder (B_WATCH_DIRECTORY): IN_CREATE → B_ENTRY_CREATED, IN_DELETE →
//   B_ENTRY_REMOVED, a rename inside or between watched folders → B_ENTRY_MOVED to the
//   watchers of both folders. An entry moved in from an unwatched folder arrives as
//   B_ENTRY_CREATED, one moved out to an unwatched folder as B_ENTRY_REMOVED: inotify does not
//   tell the other folder.
// Not supported: B_WATCH_CHILDREN (accepted, sends nothing) and B_WATCH_MOUNT (a NULL node
// gives B_BAD_VALUE).


#include <NodeMonitor.h>

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <AppDefs.h>
#include <Message.h>
#include <Messenger.h>

#include "storage_support.h"


using namespace BPrivate::Storage;


namespace {


// Haiku's limit of listener slots per team.
const int32 kMaxSlots = 4096;
// How long a full message queue of a target may hold up the watcher thread.
const bigtime_t kDeliveryTimeout = 500000;

const uint32 kNodeEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF;
const uint32 kDirectoryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

typedef std::map<BMessenger, uint32> TargetMap;
typedef std::map<std::string, std::string> AttributeMap;


struct WatchedNode {
	node_ref ref;
	int fd = -1;    // O_PATH descriptor of the node while it is watched
	int watch = -1; // inotify watch, -1 once the node is gone
	bool isDirectory = false;
	ino_t directory = -1; // the folder and name the node was last seen under
	std::string name;
	struct stat st;
	bool written = false;
	TargetMap targets;
	std::map<std::string, ino_t> entries; // a folder's entries, for B_WATCH_DIRECTORY
	AttributeMap attributes;              // the "user." attributes, for B_WATCH_ATTR
	bool haveEntries = false;
	bool haveAttributes = false;
};


struct Delivery {
	BMessenger target;
	BMessage message;
};


// A rename's first half, waiting for its second half in the same batch of events.
struct PendingMove {
	uint32 cookie;
	WatchedNode* folder;
	std::string name;
	ino_t node;
};


std::string
fd_path(int fd)
{
	char path[64];
	snprintf(path, sizeof(path), "/proc/self/fd/%d", fd);
	return path;
}


void
read_entries(WatchedNode* node)
{
	node->entries.clear();
	node->haveEntries = true;
	int fd = open(fd_path(node->fd).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd < 0)
		return;
	DIR* dir = fdopendir(fd);
	if (dir == NULL) {
		close(fd);
		return;
	}
	while (struct dirent* entry = readdir(dir)) {
		if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
			node->entries[entry->d_name] = entry->d_ino;
	}
	closedir(dir);
}


void
read_attributes(int fd, AttributeMap& _attributes)
{
	_attributes.clear();
	std::string path = fd_path(fd);
	ssize_t size = listxattr(path.c_str(), NULL, 0);
	if (size <= 0)
		return;
	std::vector<char> names(size);
	size = listxattr(path.c_str(), names.data(), names.size());
	for (ssize_t offset = 0; size > 0 && offset < size;) {
		const char* name = names.data() + offset;
		offset += strlen(name) + 1;
		if (strncmp(name, "user.", 5) != 0)
			continue;
		ssize_t length = getxattr(path.c_str(), name, NULL, 0);
		std::string value(length > 0 ? length : 0, '\0');
		if (length > 0)
			length = getxattr(path.c_str(), name, &value[0], value.size());
		if (length >= 0) {
			value.resize(length);
			_attributes[name + 5] = value;
		}
	}
}


bool
same_time(const struct timespec& a, const struct timespec& b)
{
	return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}


uint32
stat_fields(const struct stat& before, const struct stat& after)
{
	uint32 fields = 0;
	if (before.st_mode != after.st_mode)
		fields |= B_STAT_MODE;
	if (before.st_uid != after.st_uid)
		fields |= B_STAT_UID;
	if (before.st_gid != after.st_gid)
		fields |= B_STAT_GID;
	if (before.st_size != after.st_size)
		fields |= B_STAT_SIZE;
	if (!same_time(before.st_atim, after.st_atim))
		fields |= B_STAT_ACCESS_TIME;
	if (!same_time(before.st_mtim, after.st_mtim))
		fields |= B_STAT_MODIFICATION_TIME;
	if (!same_time(before.st_ctim, after.st_ctim))
		fields |= B_STAT_CHANGE_TIME;
	return fields;
}


// The folder (its inode) and the name of an absolute path.
void
split_path(const std::string& path, dev_t device, ino_t& _directory, std::string& _name)
{
	size_t slash = path.rfind('/');
	std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
	_name = path.substr(slash + 1);
	struct stat st;
	_directory = -1;
	if (stat(folder.c_str(), &st) == 0 && st.st_dev == device) {
		_directory = st.st_ino;
		// so that the receiver can turn (device, directory, name) into an entry_ref
		remember_node(st.st_dev, st.st_ino, folder.c_str());
	}
}


BMessage
monitor_message(int32 opcode, const node_ref& ref)
{
	BMessage message(B_NODE_MONITOR);
	message.AddInt32("opcode", opcode);
	message.AddInt32("device", (int32)ref.device);
	message.AddInt64("node", (int64)ref.node);
	return message;
}


class NodeMonitor {
public:
	static NodeMonitor& Default();

	status_t Watch(const node_ref* ref, uint32 flags, const BMessenger& target);
	status_t StopWatching(const BMessenger& target);

private:
	NodeMonitor();

	static void _Shutdown();

	status_t _Start();
	status_t _Attach(WatchedNode* node);
	void _Forget(WatchedNode* node);
	void _Unwatch(WatchedNode* node);

	void _Run();
	void _Process(const char* buffer, ssize_t length, std::vector<Delivery>& deliveries);
	void _NodeEvent(WatchedNode* node, uint32 mask, std::vector<Delivery>& deliveries);
	void _Gone(WatchedNode* node, std::vector<Delivery>& deliveries);
	void _Moved(WatchedNode* node, std::vector<Delivery>& deliveries);
	void _EntryEvent(WatchedNode* folder, int32 opcode, const std::string& name, ino_t child,
		std::vector<Delivery>& deliveries);
	void _EntryMoved(const PendingMove& from, WatchedNode* to, const std::string& name,
		std::vector<Delivery>& deliveries);
	static void _Send(WatchedNode* node, uint32 flags, const BMessage& message,
		std::vector<Delivery>& deliveries, uint32 unlessFlags = 0);

	std::mutex fLock;
	int fInotify;
	int fWake;
	pid_t fOwner;
	bool fStopped;
	std::thread fThread;
	std::map<node_ref, WatchedNode*> fNodes;
	std::map<int, WatchedNode*> fWatches;
	int32 fSlots;
};


NodeMonitor&
NodeMonitor::Default()
{
	// Kept for the whole process: a looper may still call stop_watching() while the process
	// ends; after _Shutdown() the tables are empty and the calls simply find nothing.
	static NodeMonitor* sMonitor = new NodeMonitor;
	return *sMonitor;
}


NodeMonitor::NodeMonitor() : fInotify(-1), fWake(-1), fOwner(-1), fStopped(false), fSlots(0) { }


status_t
NodeMonitor::_Start()
{
	if (fInotify >= 0)
		return B_OK;
	if (fStopped)
		return B_NO_INIT;

	fInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
	if (fInotify < 0)
		return _be_status_from_errno(errno);
	fWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	if (fWake < 0) {
		status_t status = _be_status_from_errno(errno);
		close(fInotify);
		fInotify = -1;
		return status;
	}
	fOwner = getpid();
	fThread = std::thread(&NodeMonitor::_Run, this);
	static bool sRegistered = false;
	if (!sRegistered) {
		sRegistered = true;
		atexit(&NodeMonitor::_Shutdown);
	}
	return B_OK;
}


void
NodeMonitor::_Shutdown()
{
	NodeMonitor& monitor = Default();
	{
		std::lock_guard<std::mutex> lock(monitor.fLock);
		// a child process (fork) has no watcher thread of its own
		if (monitor.fInotify < 0 || monitor.fOwner != getpid())
			return;
		monitor.fStopped = true;
		uint64_t one = 1;
		if (write(monitor.fWake, &one, sizeof(one)) < 0) {
		}
	}
	monitor.fThread.join();

	std::lock_guard<std::mutex> lock(monitor.fLock);
	for (auto& entry : monitor.fNodes) {
		if (entry.second->fd >= 0)
			close(entry.second->fd);
		delete entry.second;
	}
	monitor.fNodes.clear();
	monitor.fWatches.clear();
	monitor.fSlots = 0;
	close(monitor.fInotify);
	close(monitor.fWake);
	monitor.fInotify = monitor.fWake = -1;
}


// Finds the node's path and puts an inotify watch on it (see the top of the file).
status_t
NodeMonitor::_Attach(WatchedNode* node)
{
	const node_ref& ref = node->ref;
	std::string path;
	status_t status = path_for_node(ref.device, ref.node, path);
	if (status != B_OK)
		return status;

	int fd = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
	if (fd < 0)
		return _be_status_from_errno(errno);
	if (fstat(fd, &node->st) != 0 || node->st.st_dev != ref.device || node->st.st_ino != ref.node) {
		// replaced since the path was looked up
		close(fd);
		return B_ENTRY_NOT_FOUND;
	}
	node->isDirectory = S_ISDIR(node->st.st_mode);
	uint32 mask = kNodeEvents | (node->isDirectory ? kDirectoryEvents : 0);
	int watch = inotify_add_watch(fInotify, fd_path(fd).c_str(), mask);
	if (watch < 0) {
		status = _be_status_from_errno(errno);
		close(fd);
		return status;
	}
	node->fd = fd;
	node->watch = watch;
	node->written = false;
	node->haveEntries = node->haveAttributes = false;
	split_path(path, ref.device, node->directory, node->name);
	fWatches[watch] = node;
	return B_OK;
}


status_t
NodeMonitor::Watch(const node_ref* ref, uint32 flags, const BMessenger& target)
{
	if (!target.IsValid() || ref == NULL)
		return B_BAD_VALUE;

	std::lock_guard<std::mutex> lock(fLock);
	std::map<node_ref, WatchedNode*>::iterator found = fNodes.find(*ref);
	WatchedNode* node = found != fNodes.end() ? found->second : NULL;

	if (flags == B_STOP_WATCHING) {
		if (node == NULL || node->targets.erase(target) == 0)
			return B_ENTRY_NOT_FOUND;
		fSlots--;
		if (node->targets.empty())
			_Forget(node);
		return B_OK;
	}

	if (node == NULL || node->targets.find(target) == node->targets.end()) {
		if (fSlots >= kMaxSlots)
			return B_NO_MEMORY;
	}
	if (node == NULL) {
		status_t status = _Start();
		if (status != B_OK)
			return status;
		node = new WatchedNode;
		node->ref = *ref;
		status = _Attach(node);
		if (status != B_OK) {
			delete node;
			return status;
		}
		fNodes[*ref] = node;
	} else if (node->watch < 0) {
		// the node went, but its slots stayed: a node of that number may be there again
		_Attach(node);
	}

	uint32& slot = node->targets[target];
	if (slot == 0)
		fSlots++;
	slot |= flags;

	if (node->watch >= 0) {
		if ((flags & B_WATCH_DIRECTORY) != 0 && node->isDirectory && !node->haveEntries)
			read_entries(node);
		if ((flags & B_WATCH_ATTR) != 0 && !node->haveAttributes) {
			read_attributes(node->fd, node->attributes);
			node->haveAttributes = true;
		}
	}
	return B_OK;
}


status_t
NodeMonitor::StopWatching(const BMessenger& target)
{
	if (!target.IsValid())
		return B_BAD_VALUE;

	std::lock_guard<std::mutex> lock(fLock);
	bool found = false;
	for (auto entry = fNodes.begin(); entry != fNodes.end();) {
		WatchedNode* node = (entry++)->second;
		if (node->targets.erase(target) == 0)
			continue;
		found = true;
		fSlots--;
		if (node->targets.empty())
			_Forget(node);
	}
	return found ? B_OK : B_ENTRY_NOT_FOUND;
}


// Drops the node's inotify watch and descriptor; its slots stay.
void
NodeMonitor::_Unwatch(WatchedNode* node)
{
	if (node->watch >= 0) {
		inotify_rm_watch(fInotify, node->watch);
		fWatches.erase(node->watch);
		node->watch = -1;
	}
	if (node->fd >= 0) {
		close(node->fd);
		node->fd = -1;
	}
}


void
NodeMonitor::_Forget(WatchedNode* node)
{
	_Unwatch(node);
	fNodes.erase(node->ref);
	delete node;
}


void
NodeMonitor::_Run()
{
	std::vector<char> buffer(64 * 1024);
	while (true) {
		struct pollfd fds[2] = {{fInotify, POLLIN, 0}, {fWake, POLLIN, 0}};
		if (poll(fds, 2, -1) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if ((fds[1].revents & POLLIN) != 0)
			return;

		std::vector<Delivery> deliveries;
		{
			std::lock_guard<std::mutex> lock(fLock);
			ssize_t length = read(fInotify, buffer.data(), buffer.size());
			if (length > 0)
				_Process(buffer.data(), length, deliveries);
		}
		// outside the lock: a target may call watch_node() while it receives
		for (Delivery& delivery : deliveries)
			delivery.target.SendMessage(&delivery.message, (BHandler*)NULL, kDeliveryTimeout);
	}
}


void
NodeMonitor::_Process(const char* buffer, ssize_t length, std::vector<Delivery>& deliveries)
{
	std::vector<PendingMove> moves;
	for (ssize_t offset = 0; offset < length;) {
		const struct inotify_event* event = (const struct inotify_event*)(buffer + offset);
		offset += sizeof(struct inotify_event) + event->len;

		std::map<int, WatchedNode*>::iterator found = fWatches.find(event->wd);
		if (found == fWatches.end())
			continue;
		WatchedNode* node = found->second;

		if (event->len == 0 || (event->mask & IN_IGNORED) != 0) {
			_NodeEvent(node, event->mask, deliveries);
			continue;
		}

		// an entry of a watched folder
		std::string name = event->name;
		if ((event->mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
			ino_t child = -1;
			auto entry = node->entries.find(name);
			if (entry != node->entries.end()) {
				child = entry->second;
				node->entries.erase(entry);
			}
			if ((event->mask & IN_MOVED_FROM) != 0)
				moves.push_back(PendingMove {event->cookie, node, name, child});
			else
				_EntryEvent(node, B_ENTRY_REMOVED, name, child, deliveries);
		} else if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
			struct stat st;
			ino_t child = fstatat(node->fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
				? st.st_ino
				: (ino_t)-1;
			if (node->haveEntries)
				node->entries[name] = child;

			bool paired = false;
			if ((event->mask & IN_MOVED_TO) != 0) {
				for (auto move = moves.begin(); move != moves.end(); move++) {
					if (move->cookie != event->cookie)
						continue;
					if (move->node == (ino_t)-1)
						move->node = child;
					_EntryMoved(*move, node, name, deliveries);
					moves.erase(move);
					paired = true;
					break;
				}
			}
			if (!paired)
				_EntryEvent(node, B_ENTRY_CREATED, name, child, deliveries);
		}
	}

	// moved out to a folder nobody watches
	for (const PendingMove& move : moves) {
		if (fWatches.count(move.folder->watch) != 0)
			_EntryEvent(move.folder, B_ENTRY_REMOVED, move.name, move.node, deliveries);
	}
}


void
NodeMonitor::_NodeEvent(WatchedNode* node, uint32 mask, std::vector<Delivery>& deliveries)
{
	if ((mask & (IN_DELETE_SELF | IN_IGNORED | IN_UNMOUNT)) != 0) {
		_Gone(node, deliveries);
		return;
	}

	struct stat st;
	if (fstat(node->fd, &st) != 0)
		return;
	if (st.st_nlink == 0) {
		// the last link went: removed, or replaced by a rename over it
		_Gone(node, deliveries);
		return;
	}

	if ((mask & IN_MODIFY) != 0) {
		node->written = true;
		BMessage message = monitor_message(B_STAT_CHANGED, node->ref);
		message.AddInt32("fields", B_STAT_SIZE | B_STAT_MODIFICATION_TIME | B_STAT_INTERIM_UPDATE);
		_Send(node, B_WATCH_INTERIM_STAT, message, deliveries);
	}

	if ((mask & (IN_CLOSE_WRITE | IN_ATTRIB)) != 0) {
		// A change of the ctime alone is a new link or an attribute, of the atime alone a
		// read: not worth a message. While a writer has the file open, the size and the
		// modification time are left to the update when it closes the file, so that an
		// editor that writes, then sets the file's mode or owner, then closes it, causes
		// one message, not two.
		uint32 fields = stat_fields(node->st, st);
		uint32 significant = fields & ~(uint32)(B_STAT_CHANGE_TIME | B_STAT_ACCESS_TIME);
		if ((mask & IN_CLOSE_WRITE) != 0 && node->written) {
			fields |= B_STAT_SIZE | B_STAT_MODIFICATION_TIME;
			significant = fields;
		} else if (node->written) {
			significant &= ~(uint32)(B_STAT_SIZE | B_STAT_MODIFICATION_TIME);
		}
		if (significant == 0)
			fields = 0;
		if ((mask & IN_CLOSE_WRITE) != 0)
			node->written = false;
		node->st = st;
		if (fields != 0) {
			BMessage message = monitor_message(B_STAT_CHANGED, node->ref);
			message.AddInt32("fields", fields);
			_Send(node, B_WATCH_STAT, message, deliveries);
		}
	}

	if ((mask & IN_ATTRIB) != 0 && node->haveAttributes) {
		AttributeMap attributes;
		read_attributes(node->fd, attributes);
		std::vector<std::pair<std::string, int32>> changes;
		for (const auto& attribute : attributes) {
			auto before = node->attributes.find(attribute.first);
			if (before == node->attributes.end())
				changes.push_back(std::make_pair(attribute.first, (int32)B_ATTR_CREATED));
			else if (before->second != attribute.second)
				changes.push_back(std::make_pair(attribute.first, (int32)B_ATTR_CHANGED));
		}
		for (const auto& attribute : node->attributes) {
			if (attributes.count(attribute.first) == 0)
				changes.push_back(std::make_pair(attribute.first, (int32)B_ATTR_REMOVED));
		}
		node->attributes.swap(attributes);
		for (const auto& change : changes) {
			BMessage message = monitor_message(B_ATTR_CHANGED, node->ref);
			if (node->directory != (ino_t)-1)
				message.AddInt64("directory", (int64)node->directory);
			message.AddString("attr", change.first.c_str());
			message.AddInt32("cause", change.second);
			_Send(node, B_WATCH_ATTR, message, deliveries);
		}
	}

	if ((mask & IN_MOVE_SELF) != 0)
		_Moved(node, deliveries);
}


void
NodeMonitor::_Gone(WatchedNode* node, std::vector<Delivery>& deliveries)
{
	if (node->watch < 0)
		return;

	BMessage removed = monitor_message(B_ENTRY_REMOVED, node->ref);
	removed.AddInt64("directory", (int64)node->directory);
	removed.AddString("name", node->name.c_str());
	_Send(node, B_WATCH_NAME, removed, deliveries);

	BMessage changed = monitor_message(B_STAT_CHANGED, node->ref);
	changed.AddInt32("fields", B_STAT_SIZE | B_STAT_MODIFICATION_TIME | B_STAT_CHANGE_TIME);
	_Send(node, B_WATCH_STAT, changed, deliveries, B_WATCH_NAME);

	_Unwatch(node);
}


void
NodeMonitor::_Moved(WatchedNode* node, std::vector<Delivery>& deliveries)
{
	std::string path;
	if (path_for_fd(node->fd, path) != B_OK)
		return;
	ino_t fromDirectory = node->directory;
	std::string fromName = node->name;
	split_path(path, node->ref.device, node->directory, node->name);
	remember_node(node->ref.device, node->ref.node, path.c_str());

	BMessage moved = monitor_message(B_ENTRY_MOVED, node->ref);
	moved.AddInt64("from directory", (int64)fromDirectory);
	moved.AddInt64("to directory", (int64)node->directory);
	moved.AddInt32("node device", (int32)node->ref.device);
	moved.AddString("from name", fromName.c_str());
	moved.AddString("name", node->name.c_str());
	_Send(node, B_WATCH_NAME, moved, deliveries);

	BMessage changed = monitor_message(B_STAT_CHANGED, node->ref);
	changed.AddInt32("fields", B_STAT_CHANGE_TIME);
	_Send(node, B_WATCH_STAT, changed, deliveries, B_WATCH_NAME);
}


void
NodeMonitor::_EntryEvent(WatchedNode* folder, int32 opcode, const std::string& name, ino_t child,
	std::vector<Delivery>& deliveries)
{
	BMessage message(B_NODE_MONITOR);
	message.AddInt32("opcode", opcode);
	message.AddInt32("device", (int32)folder->ref.device);
	message.AddInt64("directory", (int64)folder->ref.node);
	message.AddInt64("node", (int64)child);
	message.AddString("name", name.c_str());
	_Send(folder, B_WATCH_DIRECTORY, message, deliveries);
}


void
NodeMonitor::_EntryMoved(const PendingMove& from, WatchedNode* to, const std::string& name,
	std::vector<Delivery>& deliveries)
{
	BMessage message(B_NODE_MONITOR);
	message.AddInt32("opcode", B_ENTRY_MOVED);
	message.AddInt32("device", (int32)to->ref.device);
	message.AddInt64("from directory", (int64)from.folder->ref.node);
	message.AddInt64("to directory", (int64)to->ref.node);
	message.AddInt32("node device", (int32)to->ref.device);
	message.AddInt64("node", (int64)from.node);
	message.AddString("from name", from.name.c_str());
	message.AddString("name", name.c_str());
	_Send(from.folder, B_WATCH_DIRECTORY, message, deliveries);
	if (to != from.folder)
		_Send(to, B_WATCH_DIRECTORY, message, deliveries);
}


// Queues the message for every target of the node that has one of `flags` and none of
// `unlessFlags`.
void
NodeMonitor::_Send(WatchedNode* node, uint32 flags, const BMessage& message,
	std::vector<Delivery>& deliveries, uint32 unlessFlags)
{
	for (const auto& target : node->targets) {
		if ((target.second & flags) != 0 && (target.second & unlessFlags) == 0)
			deliveries.push_back(Delivery {target.first, message});
	}
}


} // namespace


status_t
watch_node(const node_ref* node, uint32 flags, BMessenger target)
{
	return NodeMonitor::Default().Watch(node, flags, target);
}


status_t
watch_node(const node_ref* node, uint32 flags, const BHandler* handler, const BLooper* looper)
{
	return watch_node(node, flags, BMessenger(handler, looper));
}


status_t
stop_watching(BMessenger target)
{
	return NodeMonitor::Default().StopWatching(target);
}


status_t
stop_watching(const BHandler* handler, const BLooper* looper)
{
	return stop_watching(BMessenger(handler, looper));
}
