/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _NODE_INFO_H
#define _NODE_INFO_H


#include <Entry.h>
#include <File.h>
#include <Message.h>
#include <Mime.h>
#include <SupportDefs.h>


// The MIME type of a node. SetType() stores it as Haiku does, in the attribute
// "BEOS:TYPE" (B_MIME_STRING_TYPE, with its terminating NUL), and also in the freedesktop
// extended attribute "user.mime_type" (plain text), which Linux desktops read.
class BNodeInfo {
public:
	BNodeInfo();
	BNodeInfo(BNode* node);
	virtual ~BNodeInfo();

	status_t SetTo(BNode* node);
	status_t InitCheck() const;

	// The buffer must hold B_MIME_TYPE_LENGTH bytes.
	virtual status_t GetType(char* type) const;
	// NULL removes the type.
	virtual status_t SetType(const char* type);

private:
	BNodeInfo(const BNodeInfo&);
	BNodeInfo& operator=(const BNodeInfo&);

	BNode* fNode;
	status_t fCStatus;
};


#endif // _NODE_INFO_H
