/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Catalog.h>
#include <LocaleRoster.h>

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include <Application.h>
#include <FindDirectory.h>
#include <Path.h>
#include <String.h>


// A catalog is a text file in the layout of Haiku's catalog keys, UTF-8, one line each:
//
//	1<TAB>language name<TAB>signature<TAB>fingerprint			(the first line)
//	English text<TAB>context<TAB>comment<TAB>translation		(every other line)
//
// where a tab, a line break or a backslash inside a text is written \t, \n or \\. A
// program's catalogs live in its folder, as on Haiku:
// <program folder>/locale/catalogs/<signature without "application/">/<language>.catalog,
// e.g. Webgrazer/locale/catalogs/x-vnd.QK-Webgrazer/de.catalog.
//
// The user's language comes from the environment as the C library's message catalogs take
// it: the first set of LC_ALL, LC_MESSAGES and LANG names the locale ("de_DE.UTF-8"); "C",
// "POSIX" or none mean the program's own English texts. Otherwise LANGUAGE, when set, lists
// preferred languages ahead of the locale's ("de:fr"). For each of them "de_DE" is tried
// before "de"; the first language that has a catalog is used.


class BCatalogData {
public:
	BCatalogData() : status(B_NO_INIT) { }

	status_t Load(const std::string& path);

	status_t status;
	std::string signature;
	std::string language;
	std::unordered_map<std::string, std::string> strings;
};


static std::string
catalog_key(const char* string, const char* context, const char* comment)
{
	std::string key(context != NULL ? context : "");
	key += '\x04';
	key += comment != NULL ? comment : "";
	key += '\x04';
	key += string;
	return key;
}


static std::string
unescape(const std::string& text)
{
	std::string result;
	result.reserve(text.size());
	for (size_t i = 0; i < text.size(); i++) {
		if (text[i] != '\\' || i + 1 == text.size()) {
			result += text[i];
			continue;
		}
		char next = text[++i];
		result += next == 't' ? '\t' : next == 'n' ? '\n' : next;
	}
	return result;
}


// Splits at unescaped tabs (an escaped tab is written "\t", so every tab byte separates).
static std::vector<std::string>
fields_of(const std::string& line)
{
	std::vector<std::string> fields;
	size_t start = 0;
	while (true) {
		size_t tab = line.find('\t', start);
		fields.push_back(unescape(line.substr(start, tab - start)));
		if (tab == std::string::npos)
			break;
		start = tab + 1;
	}
	return fields;
}


status_t
BCatalogData::Load(const std::string& path)
{
	std::ifstream file(path);
	if (!file)
		return status = B_ENTRY_NOT_FOUND;
	std::string line;
	if (!std::getline(file, line))
		return status = B_BAD_DATA;
	if (!line.empty() && line.back() == '\r')
		line.pop_back();
	std::vector<std::string> header = fields_of(line);
	if (header.size() < 3 || header[0] != "1")
		return status = B_BAD_DATA;
	signature = header[2];

	strings.clear();
	while (std::getline(file, line)) {
		if (!line.empty() && line.back() == '\r')
			line.pop_back();
		std::vector<std::string> fields = fields_of(line);
		if (fields.size() != 4)
			continue;
		strings[catalog_key(fields[0].c_str(), fields[1].c_str(), fields[2].c_str())] = fields[3];
	}
	return status = B_OK;
}


//	#pragma mark - the user's language


static const char*
environment_value(const char* name)
{
	const char* value = getenv(name);
	return value != NULL && value[0] != '\0' ? value : NULL;
}


// The languages to try, most preferred first ("de_DE", "de", ...); empty for English.
static std::vector<std::string>
preferred_languages()
{
	std::vector<std::string> languages;
	const char* locale = environment_value("LC_ALL");
	if (locale == NULL)
		locale = environment_value("LC_MESSAGES");
	if (locale == NULL)
		locale = environment_value("LANG");
	if (locale == NULL || strcmp(locale, "C") == 0 || strncmp(locale, "C.", 2) == 0
		|| strcmp(locale, "POSIX") == 0) {
		return languages;
	}

	std::string names;
	if (const char* list = environment_value("LANGUAGE"))
		names = std::string(list) + ":";
	names += locale;

	size_t start = 0;
	while (start <= names.size()) {
		size_t colon = names.find(':', start);
		if (colon == std::string::npos)
			colon = names.size();
		std::string name = names.substr(start, colon - start);
		start = colon + 1;
		// "de_DE.UTF-8@euro": no codeset, no modifier
		size_t end = name.find_first_of(".@");
		if (end != std::string::npos)
			name.erase(end);
		if (name.empty() || name == "C" || name == "POSIX" || name.find('/') != std::string::npos)
			continue;
		languages.push_back(name);
		size_t underscore = name.find('_');
		if (underscore != std::string::npos)
			languages.push_back(name.substr(0, underscore));
	}
	return languages;
}


// Reads the catalog of the first language that has one in the folder of catalogs.
static BCatalogData*
load_catalog(const std::string& folder, const std::vector<std::string>& languages)
{
	for (const std::string& language : languages) {
		BCatalogData* data = new BCatalogData;
		if (data->Load(folder + "/" + language + ".catalog") == B_OK) {
			data->language = language;
			return data;
		}
		delete data;
	}
	return NULL;
}


static std::string
signature_folder(const char* signature)
{
	if (signature == NULL)
		return std::string();
	if (strncasecmp(signature, "application/", 12) == 0)
		signature += 12;
	if (signature[0] == '\0' || strchr(signature, '/') != NULL || strcmp(signature, "..") == 0)
		return std::string();
	return signature;
}


//	#pragma mark - BCatalog


BCatalog::BCatalog() : fCatalogData(NULL) { }


BCatalog::BCatalog(const char* signature, const char* language) : fCatalogData(NULL)
{
	SetTo(signature, language);
}


BCatalog::~BCatalog()
{
	delete fCatalogData;
}


// Catalogs of a signature, not of a program's folder: the user's and the system's data
// folders hold them below locale/catalogs.
status_t
BCatalog::SetTo(const char* signature, const char* language)
{
	delete fCatalogData;
	fCatalogData = NULL;

	std::string folder = signature_folder(signature);
	if (folder.empty())
		return B_BAD_VALUE;
	std::vector<std::string> languages;
	if (language != NULL)
		languages.push_back(language);
	else
		languages = preferred_languages();

	const directory_which places[] = {B_USER_DATA_DIRECTORY, B_SYSTEM_DATA_DIRECTORY};
	for (directory_which which : places) {
		BPath path;
		if (find_directory(which, &path) != B_OK)
			continue;
		fCatalogData
			= load_catalog(std::string(path.Path()) + "/locale/catalogs/" + folder, languages);
		if (fCatalogData != NULL)
			return B_OK;
	}
	return B_ENTRY_NOT_FOUND;
}


const char*
BCatalog::GetString(const char* string, const char* context, const char* comment)
{
	if (fCatalogData == NULL || string == NULL)
		return string;
	auto found = fCatalogData->strings.find(catalog_key(string, context, comment));
	if (found == fCatalogData->strings.end())
		return string;
	return found->second.c_str();
}


status_t
BCatalog::GetSignature(BString* signature)
{
	if (signature == NULL)
		return B_BAD_VALUE;
	if (fCatalogData == NULL)
		return B_NO_INIT;
	signature->SetTo(fCatalogData->signature.c_str());
	return B_OK;
}


status_t
BCatalog::GetLanguage(BString* language)
{
	if (language == NULL)
		return B_BAD_VALUE;
	if (fCatalogData == NULL)
		return B_NO_INIT;
	language->SetTo(fCatalogData->language.c_str());
	return B_OK;
}


// A catalog without data still answers: with the texts it is given.
status_t
BCatalog::InitCheck() const
{
	return B_OK;
}


int32
BCatalog::CountItems() const
{
	return fCatalogData != NULL ? (int32)fCatalogData->strings.size() : 0;
}


//	#pragma mark - BLocaleRoster


static pthread_mutex_t sCatalogLock = PTHREAD_MUTEX_INITIALIZER;
// The catalogs read so far, by program folder, signature and languages; they live as long
// as the process (also while its threads end after exit()), since the texts they gave out
// may still be shown.
static std::map<std::string, BCatalog*>* sCatalogs = new std::map<std::string, BCatalog*>;
// The program folder of each image that asked, by the image's load address
static std::map<uintptr_t, std::string>* sImageFolders = new std::map<uintptr_t, std::string>;


// The folder of the program that the image belongs to: the image's own folder, or the
// parent of it when that is the program's lib/.
static std::string
program_folder_of(const void* address)
{
	Dl_info info;
	struct link_map* map = NULL;
	if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0)
		return std::string();
	auto known = sImageFolders->find((uintptr_t)info.dli_fbase);
	if (known != sImageFolders->end())
		return known->second;

	// The executable itself has no name in the link map.
	const char* image = map != NULL && map->l_name != NULL && map->l_name[0] != '\0'
		? map->l_name
		: "/proc/self/exe";
	std::string folder;
	char* resolved = realpath(image, NULL);
	if (resolved != NULL) {
		folder = resolved;
		free(resolved);
		folder.erase(folder.rfind('/'));
		size_t slash = folder.rfind('/');
		if (slash != std::string::npos && folder.compare(slash, std::string::npos, "/lib") == 0)
			folder.erase(slash);
	}
	(*sImageFolders)[(uintptr_t)info.dli_fbase] = folder;
	return folder;
}


BLocaleRoster::BLocaleRoster() : fCatalog(new BCatalog()) { }


BLocaleRoster::~BLocaleRoster()
{
	delete fCatalog;
}


BLocaleRoster*
BLocaleRoster::Default()
{
	static BLocaleRoster sRoster;
	return &sRoster;
}


// The catalog of the program whose code calls, as Haiku gives each image its own: found
// in the program's folder under the running application's signature. Before there is an
// application, and without a catalog for the user's language, the texts stay English.
BCatalog*
BLocaleRoster::GetCatalog()
{
	const void* caller = __builtin_return_address(0);
	std::vector<std::string> languages = preferred_languages();
	if (languages.empty() || be_app == NULL)
		return fCatalog;
	std::string signature = signature_folder(be_app->Signature());
	if (signature.empty())
		return fCatalog;

	pthread_mutex_lock(&sCatalogLock);
	std::string folder = program_folder_of(caller);
	std::string key = folder + '\n' + signature;
	for (const std::string& language : languages)
		key += '\n' + language;
	BCatalog*& catalog = (*sCatalogs)[key];
	if (catalog == NULL) {
		catalog = new BCatalog();
		if (!folder.empty()) {
			catalog->fCatalogData
				= load_catalog(folder + "/locale/catalogs/" + signature, languages);
		}
	}
	pthread_mutex_unlock(&sCatalogLock);
	return catalog;
}
