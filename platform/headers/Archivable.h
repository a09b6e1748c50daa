/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _ARCHIVABLE_H
#define _ARCHIVABLE_H


#include <Message.h>
#include <SupportDefs.h>


class BMessage;


// The name of the field that holds the class names of an archive, most derived last
#define B_CLASS_FIELD "class"
// The name of the field that holds the signature of the add-on with the class's code
#define B_ADD_ON_FIELD "add_on"


// An object that can be written into a message and rebuilt from it.
class BArchivable {
public:
	BArchivable();
	BArchivable(BMessage* from);
	virtual ~BArchivable();

	// Adds the "class" entry with the object's dynamic class name; subclasses add their state.
	virtual status_t Archive(BMessage* into, bool deep = true) const;
	static BArchivable* Instantiate(BMessage* archive);
};


typedef BArchivable* (*instantiation_func)(BMessage*);


// Rebuilds an object from its archive through the Instantiate() function of the most derived
// class in the "class" field that can be found; NULL (errno set) when none can.
BArchivable* instantiate_object(BMessage* from);

// True when one of the archive's "class" entries is className; otherwise errno is set to
// B_MISMATCHED_VALUES (B_BAD_VALUE for a NULL archive) and the answer is false.
bool validate_instantiation(BMessage* from, const char* className);

instantiation_func find_instantiation_func(const char* className);
instantiation_func find_instantiation_func(BMessage* archive);


namespace BPrivate {

// The layer's table of instantiation functions, which find_instantiation_func() reads
// first. On Haiku the function is found in the loaded images by its symbol name; here a class
// is found the same way when its code is loaded with its symbols visible (its static
// Instantiate(BMessage*) is looked up by its C++ name), and this table lets the layer and the
// tests name a function for a class explicitly: register_instantiation_func("WView",
// &WView::Instantiate). A NULL function removes the entry. Returns B_BAD_VALUE for a NULL
// or empty name.
status_t register_instantiation_func(const char* className, instantiation_func function);

} // namespace BPrivate


#endif // _ARCHIVABLE_H
