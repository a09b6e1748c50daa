/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _CATALOG_H
#define _CATALOG_H


#include <LocaleRoster.h>
#include <Locker.h>
#include <String.h>
#include <SupportDefs.h>


class BCatalogData;
class BString;


// The texts of a program in the user's language. Without a catalog for that language, the
// English text the program gives is the answer.
class BCatalog {
public:
	BCatalog();
	BCatalog(const char* signature, const char* language = NULL);
	virtual ~BCatalog();

	const char* GetString(
		const char* string, const char* context = NULL, const char* comment = NULL);

	status_t GetSignature(BString* signature);
	status_t GetLanguage(BString* language);

	status_t SetTo(const char* signature, const char* language = NULL);

	status_t InitCheck() const;
	int32 CountItems() const;

private:
	BCatalog(const BCatalog&);
	const BCatalog& operator=(const BCatalog&);

	friend class BLocaleRoster;

	BCatalogData* fCatalogData;
};


#define B_TRANSLATE(string)                                                                        \
	BLocaleRoster::Default()->GetCatalog()->GetString((string), B_TRANSLATION_CONTEXT)
#define B_TRANSLATE_CONTEXT(string, context)                                                       \
	BLocaleRoster::Default()->GetCatalog()->GetString((string), (context))
#define B_TRANSLATE_COMMENT(string, comment)                                                       \
	BLocaleRoster::Default()->GetCatalog()->GetString((string), B_TRANSLATION_CONTEXT, (comment))
#define B_TRANSLATE_MARK(string) (string)
#define B_TRANSLATE_NOCOLLECT(string) B_TRANSLATE(string)
#define B_TRANSLATE_SYSTEM_NAME(string) (string)


#endif // _CATALOG_H
