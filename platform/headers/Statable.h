/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _STATABLE_H
#define _STATABLE_H


#include <SupportDefs.h>

#include <sys/stat.h>
#include <sys/types.h>


struct node_ref;


// What BNode and BEntry share: fresh stat information about the item. Every getter calls
// GetStat() and fails with its status (B_ENTRY_NOT_FOUND for an abstract entry).
class BStatable {
public:
	virtual ~BStatable();

	virtual status_t GetStat(struct stat* stat) const = 0;

	bool IsFile() const;
	bool IsDirectory() const;
	bool IsSymLink() const;

	status_t GetNodeRef(node_ref* ref) const;

	status_t GetOwner(uid_t* owner) const;
	status_t GetGroup(gid_t* group) const;
	status_t GetPermissions(mode_t* permissions) const;
	status_t GetSize(off_t* size) const;

	status_t GetModificationTime(time_t* mtime) const;
	status_t GetAccessTime(time_t* atime) const;

private:
	// Called by GetNodeRef(), so that the node_ref can be turned back into the item's path
	// later (BDirectory(const node_ref*) for a folder, watch_node() for any node).
	virtual void _RememberNode() const;
};


#endif // _STATABLE_H
