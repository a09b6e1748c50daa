/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _STORAGE_SUPPORT_H
#define _STORAGE_SUPPORT_H


#include <sys/types.h>

#include <string>

#include <SupportDefs.h>


namespace BPrivate {
namespace Storage {


// The entry that `path` names, as the canonical path of its folder and its leaf name, the
// way Haiku's BEntry finds it: a relative path is reckoned from `base` (an absolute folder
// path), or from the current folder when `base` is NULL; trailing slashes are ignored; "."
// and ".." leaves name the folder they lead to; the folder must exist, the leaf need not.
// With `traverse`, a symbolic link leaf is followed (its target must exist). The root
// folder is the entry "." in "/".
status_t resolve_entry(
	const char* base, const char* path, bool traverse, std::string& _directory, std::string& _name);

// The path of the entry `name` in the folder `directory` as resolve_entry() gives them.
std::string entry_path(const std::string& directory, const std::string& name);

// The current path of what the file descriptor has open (through /proc/self/fd).
status_t path_for_fd(int fd, std::string& _path);

// The record that lets entry_refs and node_refs be turned back into paths: the path of
// every node (folder, file or link) whose (device, inode) went into a ref. Lookups check
// the path against the file system (lstat); a stale record gives B_ENTRY_NOT_FOUND.
void remember_node(dev_t device, ino_t node, const char* path);
status_t directory_for_node(dev_t device, ino_t node, std::string& _path);
// The path of any node: the record, the folders directory_for_node() knows without one,
// or a file descriptor of the process that has the node open.
status_t path_for_node(dev_t device, ino_t node, std::string& _path);

// The path an entry_ref stands for (folder path + name, with "." and ".." resolved).
status_t path_for_ref(dev_t device, ino_t directory, const char* name, std::string& _path);


} // namespace Storage
} // namespace BPrivate


#endif // _STORAGE_SUPPORT_H
