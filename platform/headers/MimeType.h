/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MIME_TYPE_H
#define _MIME_TYPE_H


#include <StorageDefs.h>
#include <SupportDefs.h>

#include <Entry.h>
#include <File.h>
#include <Messenger.h>
#include <Mime.h>


enum app_verb { B_OPEN };


extern const char* B_APP_MIME_TYPE;
extern const char* B_PEF_APP_MIME_TYPE;
extern const char* B_PE_APP_MIME_TYPE;
extern const char* B_ELF_APP_MIME_TYPE;
extern const char* B_RESOURCE_MIME_TYPE;


// A MIME type, or an application signature. There is no MIME database of Haiku's kind on
// Linux: the preferred application of a type comes from the freedesktop MIME defaults (the
// mimeapps.list files), and an application is a desktop entry (a .desktop file), whose
// signature is "application/x-vnd.desktop-" followed by its desktop file id, e.g.
// "application/x-vnd.desktop-firefox.desktop". The app hint of such a signature is the
// executable that the entry's Exec= line starts. See MimeType.cpp for the lookup.
class BMimeType {
public:
	BMimeType();
	BMimeType(const char* mimeType);
	virtual ~BMimeType();

	status_t SetTo(const char* mimeType);
	void Unset();
	status_t InitCheck() const;

	const char* Type() const;
	bool IsValid() const;
	bool IsSupertypeOnly() const;
	status_t GetSupertype(BMimeType* supertype) const;

	bool operator==(const BMimeType& type) const;
	bool operator==(const char* type) const;

	// The signature buffer must hold B_MIME_TYPE_LENGTH bytes. B_ENTRY_NOT_FOUND when the
	// type has no preferred application.
	status_t GetPreferredApp(char* signature, app_verb verb = B_OPEN) const;
	// B_ENTRY_NOT_FOUND when the type is no desktop entry's signature, or the entry's
	// executable cannot be found.
	status_t GetAppHint(entry_ref* ref) const;

	static bool IsValid(const char* mimeType);

private:
	BMimeType(const BMimeType& source);
	BMimeType& operator=(const BMimeType& source);

	char* fType;
	status_t fCStatus;
};


#endif // _MIME_TYPE_H
