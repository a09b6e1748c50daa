/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FS_ATTR_H
#define _FS_ATTR_H


#include <OS.h>
#include <dirent.h>


// What BNode::GetAttrInfo() reports: the attribute's type code and the size of its data.
typedef struct attr_info {
	uint32 type;
	off_t size;
} attr_info;


#endif // _FS_ATTR_H
