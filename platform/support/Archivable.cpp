/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Archivable.h>

#include <ctype.h>
#include <cxxabi.h>
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <mutex>
#include <string>
#include <typeinfo>

#include <Entry.h>
#include <Message.h>
#include <Path.h>
#include <Roster.h>
#include <String.h>
#include <image.h>


// The explicitly registered instantiation functions, by class name
namespace {

struct FunctionTable {
	std::mutex lock;
	std::map<std::string, instantiation_func> functions;
};


FunctionTable&
function_table()
{
	// Never destroyed: objects may be rebuilt while the process ends.
	static FunctionTable* sTable = new FunctionTable;
	return *sTable;
}


// The C++ (Itanium ABI) name of className::Instantiate(BMessage*); empty when className is not
// a plain or qualified identifier.
std::string
instantiate_symbol(const char* className)
{
	std::string symbol = "_ZN";
	const char* part = className;
	while (true) {
		const char* end = part;
		while (isalnum((unsigned char)*end) != 0 || *end == '_')
			end++;
		if (end == part || isdigit((unsigned char)*part) != 0)
			return std::string();

		symbol += std::to_string(end - part);
		symbol.append(part, end - part);
		if (*end == '\0')
			break;
		if (end[0] != ':' || end[1] != ':')
			return std::string();
		part = end + 2;
	}
	return symbol + "11InstantiateEP8BMessage";
}

} // namespace


BArchivable::BArchivable() { }


BArchivable::BArchivable(BMessage*) { }


BArchivable::~BArchivable() { }


status_t
BArchivable::Archive(BMessage* into, bool) const
{
	if (into == NULL)
		return B_BAD_VALUE;

	const char* mangled = typeid(*this).name();
	int status = 0;
	char* name = abi::__cxa_demangle(mangled, NULL, NULL, &status);
	status_t result = into->AddString(B_CLASS_FIELD, name != NULL ? name : mangled);
	free(name);
	return result;
}


BArchivable*
BArchivable::Instantiate(BMessage*)
{
	return NULL;
}


bool
validate_instantiation(BMessage* from, const char* className)
{
	if (from == NULL || className == NULL) {
		errno = B_BAD_VALUE;
		return false;
	}

	const char* name;
	for (int32 i = 0; from->FindString(B_CLASS_FIELD, i, &name) == B_OK; i++) {
		if (strcmp(name, className) == 0)
			return true;
	}

	errno = B_MISMATCHED_VALUES;
	return false;
}


instantiation_func
find_instantiation_func(const char* className)
{
	if (className == NULL || className[0] == '\0')
		return NULL;

	{
		FunctionTable& table = function_table();
		std::lock_guard<std::mutex> lock(table.lock);
		auto found = table.functions.find(className);
		if (found != table.functions.end())
			return found->second;
	}

	// Loaded code with visible symbols: the class's own static Instantiate()
	std::string symbol = instantiate_symbol(className);
	if (symbol.empty())
		return NULL;
	return reinterpret_cast<instantiation_func>(dlsym(RTLD_DEFAULT, symbol.c_str()));
}


// The most derived class named in the archive that can be found
instantiation_func
find_instantiation_func(BMessage* archive)
{
	if (archive == NULL)
		return NULL;

	type_code type;
	int32 count = 0;
	if (archive->GetInfo(B_CLASS_FIELD, &type, &count) != B_OK || type != B_STRING_TYPE)
		return NULL;

	for (int32 i = count - 1; i >= 0; i--) {
		const char* name;
		if (archive->FindString(B_CLASS_FIELD, i, &name) != B_OK)
			continue;
		instantiation_func function = find_instantiation_func(name);
		if (function != NULL)
			return function;
	}
	return NULL;
}


BArchivable*
instantiate_object(BMessage* from)
{
	if (from == NULL) {
		errno = B_BAD_VALUE;
		return NULL;
	}

	const char* className;
	if (from->FindString(B_CLASS_FIELD, &className) != B_OK) {
		errno = B_BAD_VALUE;
		return NULL;
	}

	instantiation_func function = find_instantiation_func(from);
	const char* signature;
	if (function == NULL && from->FindString(B_ADD_ON_FIELD, &signature) == B_OK) {
		// The class's code is the application's with that signature: load it once.
		static std::mutex sLoadLock;
		static std::map<std::string, image_id> sLoaded;
		std::lock_guard<std::mutex> lock(sLoadLock);
		if (sLoaded.find(signature) == sLoaded.end()) {
			entry_ref ref;
			BPath path;
			image_id image = B_NAME_NOT_FOUND;
			if (be_roster->FindApp(signature, &ref) == B_OK && path.SetTo(&ref) == B_OK)
				image = load_add_on(path.Path());
			if (image >= 0)
				sLoaded[signature] = image;
		}
		function = find_instantiation_func(from);
	}
	if (function == NULL) {
		errno = B_NAME_NOT_FOUND;
		return NULL;
	}
	return function(from);
}


status_t
BPrivate::register_instantiation_func(const char* className, instantiation_func function)
{
	if (className == NULL || className[0] == '\0')
		return B_BAD_VALUE;

	FunctionTable& table = function_table();
	std::lock_guard<std::mutex> lock(table.lock);
	if (function == NULL)
		table.functions.erase(className);
	else
		table.functions[className] = function;
	return B_OK;
}
