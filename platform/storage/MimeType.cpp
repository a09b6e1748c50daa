/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// BMimeType on the freedesktop MIME defaults.
//
// The preferred application of a type is what `xdg-mime query default <type>` answers,
// looked up here without the tool, following the freedesktop "MIME applications associations"
// rules:
// - the mimeapps.list files, highest priority first: in $XDG_CONFIG_HOME (default
//   ~/.config), in each of $XDG_CONFIG_DIRS (default /etc/xdg), then in "applications" below
//   $XDG_DATA_HOME (default ~/.local/share) and each of $XDG_DATA_DIRS (default
//   /usr/local/share:/usr/share); in each folder "<desktop>-mimeapps.list" for every desktop
//   of $XDG_CURRENT_DESKTOP comes before "mimeapps.list";
// - first the [Default Applications] of all those files: the first listed desktop entry that
//   is installed wins; then their [Added Associations], less what a file of the same or a
//   higher priority lists under [Removed Associations]; then the [Default Applications] of
//   the older defaults.list files in the "applications" folders; last the desktop entries
//   themselves whose MimeType= names the type (in the order of the folders, then by id).
// An entry is installed when its .desktop file is in an "applications" folder of
// $XDG_DATA_HOME or $XDG_DATA_DIRS (the file id "a-b.desktop" may also be "a/b.desktop") and
// is not Hidden=true. Only the folders those variables name count, so a test that sets all
// four sees nothing of the machine's own settings.
//
// The application's signature is "application/x-vnd.desktop-" + its desktop file id. The app
// hint of such a signature is the program that the entry's Exec= starts: its first word,
// unescaped and unquoted as the desktop entry rules say, taken as is when absolute and
// otherwise searched in $PATH.


#include <MimeType.h>

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>


const char* B_APP_MIME_TYPE = "application/x-vnd.Be-elfexecutable";
const char* B_PEF_APP_MIME_TYPE = "application/x-be-executable";
const char* B_PE_APP_MIME_TYPE = "application/x-vnd.be-peexecutable";
const char* B_ELF_APP_MIME_TYPE = "application/x-vnd.Be-elfexecutable";
const char* B_RESOURCE_MIME_TYPE = "application/x-be-resource";


namespace {


const char* kDesktopSignaturePrefix = "application/x-vnd.desktop-";


struct KeyFileLine {
	std::string group;
	std::string key;
	std::string value;
};


std::string
trim(const std::string& text)
{
	size_t start = text.find_first_not_of(" \t\r");
	if (start == std::string::npos)
		return "";
	size_t end = text.find_last_not_of(" \t\r");
	return text.substr(start, end - start + 1);
}


// The key=value lines of a desktop entry style file, with their groups.
std::vector<KeyFileLine>
read_key_file(const std::string& path)
{
	std::vector<KeyFileLine> lines;
	std::ifstream file(path);
	std::string line;
	std::string group;
	while (std::getline(file, line)) {
		line = trim(line);
		if (line.empty() || line[0] == '#')
			continue;
		if (line[0] == '[') {
			size_t end = line.find(']');
			group = end == std::string::npos ? std::string() : line.substr(1, end - 1);
			continue;
		}
		size_t equals = line.find('=');
		if (equals == std::string::npos)
			continue;
		lines.push_back(
			KeyFileLine {group, trim(line.substr(0, equals)), trim(line.substr(equals + 1))});
	}
	return lines;
}


// The non-empty items of a list value, trimmed.
std::vector<std::string>
split(const std::string& value, char separator)
{
	std::vector<std::string> items;
	size_t start = 0;
	while (start <= value.size()) {
		size_t end = value.find(separator, start);
		if (end == std::string::npos)
			end = value.size();
		std::string item = trim(value.substr(start, end - start));
		if (!item.empty())
			items.push_back(item);
		start = end + 1;
	}
	return items;
}


std::vector<std::string>
split_list(const std::string& value)
{
	return split(value, ';');
}


std::string
home_relative(const char* variable, const char* fallback)
{
	const char* value = getenv(variable);
	if (value != NULL && value[0] == '/')
		return value;
	const char* home = getenv("HOME");
	if (home == NULL || home[0] != '/')
		return "";
	return std::string(home) + "/" + fallback;
}


// The absolute folders of a ":"-separated variable, or of the fallback when it is unset or
// empty.
std::vector<std::string>
folder_list(const char* variable, const char* fallback)
{
	const char* value = getenv(variable);
	if (value == NULL || value[0] == '\0')
		value = fallback;
	std::vector<std::string> folders;
	for (const std::string& folder : split(value, ':')) {
		if (folder[0] == '/')
			folders.push_back(folder);
	}
	return folders;
}


std::vector<std::string>
application_folders()
{
	std::vector<std::string> folders;
	std::string home = home_relative("XDG_DATA_HOME", ".local/share");
	if (!home.empty())
		folders.push_back(home + "/applications");
	for (const std::string& folder : folder_list("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
		folders.push_back(folder + "/applications");
	return folders;
}


std::vector<std::string>
mimeapps_files()
{
	std::vector<std::string> folders;
	std::string configHome = home_relative("XDG_CONFIG_HOME", ".config");
	if (!configHome.empty())
		folders.push_back(configHome);
	for (const std::string& folder : folder_list("XDG_CONFIG_DIRS", "/etc/xdg"))
		folders.push_back(folder);
	for (const std::string& folder : application_folders())
		folders.push_back(folder);

	// the desktop names compare in lower case
	std::vector<std::string> desktops;
	const char* current = getenv("XDG_CURRENT_DESKTOP");
	if (current != NULL) {
		std::string names = current;
		std::transform(names.begin(), names.end(), names.begin(), ::tolower);
		desktops = split(names, ':');
	}

	std::vector<std::string> files;
	for (const std::string& folder : folders) {
		for (const std::string& desktop : desktops)
			files.push_back(folder + "/" + desktop + "-mimeapps.list");
		files.push_back(folder + "/mimeapps.list");
	}
	return files;
}


bool
is_regular_file(const std::string& path)
{
	struct stat st;
	return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}


bool
is_directory(const std::string& path)
{
	struct stat st;
	return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}


// The file for the id below one folder: "a-b-c.desktop" may be a-b-c.desktop, a/b-c.desktop,
// a/b/c.desktop, a-b/c.desktop.
bool
find_in_folder(const std::string& folder, const std::string& id, std::string& _path)
{
	if (is_regular_file(folder + "/" + id)) {
		_path = folder + "/" + id;
		return true;
	}
	for (size_t dash = id.find('-'); dash != std::string::npos; dash = id.find('-', dash + 1)) {
		// never out of the folder: no "." or ".." (or other hidden) parts
		std::string part = id.substr(0, dash);
		if (part.empty() || part[0] == '.')
			continue;
		std::string sub = folder + "/" + part;
		if (is_directory(sub) && find_in_folder(sub, id.substr(dash + 1), _path))
			return true;
	}
	return false;
}


// The .desktop file of an installed desktop entry.
bool
find_desktop_file(const std::string& id, std::string& _path)
{
	if (id.size() <= 8 || id.compare(id.size() - 8, 8, ".desktop") != 0
		|| id.find('/') != std::string::npos || id[0] == '.')
		return false;
	for (const std::string& folder : application_folders()) {
		std::string path;
		if (!find_in_folder(folder, id, path))
			continue;
		// the first one found hides the others, even when hidden itself
		for (const KeyFileLine& line : read_key_file(path)) {
			if (line.group == "Desktop Entry" && line.key == "Hidden" && line.value == "true")
				return false;
		}
		_path = path;
		return true;
	}
	return false;
}


bool
signature_for(const std::string& id, std::string& _signature)
{
	std::string signature = kDesktopSignaturePrefix + id;
	if (!BMimeType::IsValid(signature.c_str()))
		return false;
	_signature = signature;
	return true;
}


// The first installed entry that the list value names, and that is not removed.
bool
first_installed(
	const std::string& value, const std::set<std::string>& removed, std::string& _signature)
{
	for (const std::string& id : split_list(value)) {
		std::string path;
		if (removed.count(id) == 0 && find_desktop_file(id, path) && signature_for(id, _signature))
			return true;
	}
	return false;
}


// The desktop entries below a folder, by id, in id order.
void
collect_entries(const std::string& folder, const std::string& prefix,
	std::vector<std::pair<std::string, std::string>>& _entries, int depth = 0)
{
	DIR* dir = opendir(folder.c_str());
	if (dir == NULL)
		return;
	std::vector<std::string> names;
	while (struct dirent* entry = readdir(dir)) {
		if (entry->d_name[0] != '.')
			names.push_back(entry->d_name);
	}
	closedir(dir);
	std::sort(names.begin(), names.end());
	for (const std::string& name : names) {
		std::string path = folder + "/" + name;
		if (depth < 8 && is_directory(path))
			collect_entries(path, prefix + name + "-", _entries, depth + 1);
		else if (name.size() > 8 && name.compare(name.size() - 8, 8, ".desktop") == 0)
			_entries.push_back(std::make_pair(prefix + name, path));
	}
}


bool
find_default_app(const char* type, std::string& _signature)
{
	std::vector<std::string> files = mimeapps_files();
	std::vector<std::vector<KeyFileLine>> lists;
	for (const std::string& file : files)
		lists.push_back(read_key_file(file));

	std::set<std::string> none;
	for (const std::vector<KeyFileLine>& list : lists) {
		for (const KeyFileLine& line : list) {
			if (line.group == "Default Applications" && strcasecmp(line.key.c_str(), type) == 0
				&& first_installed(line.value, none, _signature))
				return true;
		}
	}

	std::set<std::string> removed;
	for (const std::vector<KeyFileLine>& list : lists) {
		for (const KeyFileLine& line : list) {
			if (line.group == "Removed Associations" && strcasecmp(line.key.c_str(), type) == 0) {
				for (const std::string& id : split_list(line.value))
					removed.insert(id);
			}
		}
		for (const KeyFileLine& line : list) {
			if (line.group == "Added Associations" && strcasecmp(line.key.c_str(), type) == 0
				&& first_installed(line.value, removed, _signature))
				return true;
		}
	}

	std::vector<std::string> folders = application_folders();
	for (const std::string& folder : folders) {
		for (const KeyFileLine& line : read_key_file(folder + "/defaults.list")) {
			if (line.group == "Default Applications" && strcasecmp(line.key.c_str(), type) == 0
				&& first_installed(line.value, removed, _signature))
				return true;
		}
	}

	std::set<std::string> seen;
	for (const std::string& folder : folders) {
		std::vector<std::pair<std::string, std::string>> entries;
		collect_entries(folder, "", entries);
		for (const auto& entry : entries) {
			if (!seen.insert(entry.first).second || removed.count(entry.first) != 0)
				continue;
			bool hidden = false;
			bool supported = false;
			for (const KeyFileLine& line : read_key_file(entry.second)) {
				if (line.group != "Desktop Entry")
					continue;
				if (line.key == "Hidden" && line.value == "true")
					hidden = true;
				if (line.key == "MimeType") {
					for (const std::string& item : split_list(line.value))
						supported |= strcasecmp(item.c_str(), type) == 0;
				}
			}
			if (supported && !hidden && signature_for(entry.first, _signature))
				return true;
		}
	}
	return false;
}


// A desktop entry string value with its escapes (\s \n \t \r \\) resolved.
std::string
unescape_value(const std::string& value)
{
	std::string result;
	for (size_t i = 0; i < value.size(); i++) {
		if (value[i] != '\\' || i + 1 == value.size()) {
			result += value[i];
			continue;
		}
		char next = value[++i];
		switch (next) {
		case 's':
			result += ' ';
			break;
		case 'n':
			result += '\n';
			break;
		case 't':
			result += '\t';
			break;
		case 'r':
			result += '\r';
			break;
		default:
			result += next;
			break;
		}
	}
	return result;
}


// The program of an Exec= value: its first argument, which may be quoted in double quotes
// with \" \` \$ \\ inside.
std::string
exec_program(const std::string& exec)
{
	std::string command = unescape_value(exec);
	size_t i = command.find_first_not_of(" \t");
	if (i == std::string::npos)
		return "";
	std::string program;
	if (command[i] == '"') {
		for (i++; i < command.size() && command[i] != '"'; i++) {
			if (command[i] == '\\' && i + 1 < command.size()
				&& strchr("\"`$\\", command[i + 1]) != NULL)
				i++;
			program += command[i];
		}
		if (i == command.size())
			return ""; // no closing quote: not a valid command line
	} else {
		while (i < command.size() && command[i] != ' ' && command[i] != '\t')
			program += command[i++];
	}
	return program;
}


// The absolute path of a program: as it is when absolute, else the first executable file of
// that name in $PATH.
bool
find_program(const std::string& program, std::string& _path)
{
	if (program.empty())
		return false;
	if (program[0] == '/') {
		_path = program;
		return true;
	}
	if (program.find('/') != std::string::npos)
		return false;
	for (const std::string& folder : folder_list("PATH", "/usr/local/bin:/usr/bin:/bin")) {
		std::string candidate = folder + "/" + program;
		if (is_regular_file(candidate) && access(candidate.c_str(), X_OK) == 0) {
			_path = candidate;
			return true;
		}
	}
	return false;
}


bool
is_mime_char(char c)
{
	return c > ' ' && c < 127 && strchr("()<>@,;:\\\"/[]?=", c) == NULL;
}


} // namespace


BMimeType::BMimeType() : fType(NULL), fCStatus(B_NO_INIT) { }


BMimeType::BMimeType(const char* mimeType) : fType(NULL), fCStatus(B_NO_INIT)
{
	SetTo(mimeType);
}


BMimeType::~BMimeType()
{
	Unset();
}


status_t
BMimeType::SetTo(const char* mimeType)
{
	Unset();
	if (mimeType == NULL) {
		fCStatus = B_BAD_VALUE;
	} else if (!IsValid(mimeType)) {
		fCStatus = B_BAD_VALUE;
	} else {
		fType = strdup(mimeType);
		fCStatus = fType != NULL ? B_OK : B_NO_MEMORY;
	}
	return fCStatus;
}


void
BMimeType::Unset()
{
	free(fType);
	fType = NULL;
	fCStatus = B_NO_INIT;
}


status_t
BMimeType::InitCheck() const
{
	return fCStatus;
}


const char*
BMimeType::Type() const
{
	return fType;
}


bool
BMimeType::IsValid() const
{
	return InitCheck() == B_OK && IsValid(fType);
}


bool
BMimeType::IsSupertypeOnly() const
{
	return fCStatus == B_OK && strchr(fType, '/') == NULL;
}


status_t
BMimeType::GetSupertype(BMimeType* supertype) const
{
	if (supertype == NULL)
		return B_BAD_VALUE;
	supertype->Unset();
	if (fCStatus != B_OK)
		return fCStatus;
	const char* slash = strchr(fType, '/');
	if (slash == NULL)
		return B_BAD_VALUE;
	std::string super(fType, slash - fType);
	return supertype->SetTo(super.c_str());
}


bool
BMimeType::operator==(const BMimeType& type) const
{
	if (fCStatus != B_OK || type.fCStatus != B_OK)
		return fCStatus == B_NO_INIT && type.fCStatus == B_NO_INIT;
	return strcasecmp(fType, type.fType) == 0;
}


bool
BMimeType::operator==(const char* type) const
{
	BMimeType other;
	if (type != NULL)
		other.SetTo(type);
	return *this == other;
}


status_t
BMimeType::GetPreferredApp(char* signature, app_verb) const
{
	if (signature == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_NO_INIT;

	std::string found;
	if (!find_default_app(fType, found))
		return B_ENTRY_NOT_FOUND;
	snprintf(signature, B_MIME_TYPE_LENGTH, "%s", found.c_str());
	return B_OK;
}


status_t
BMimeType::GetAppHint(entry_ref* ref) const
{
	if (ref == NULL)
		return B_BAD_VALUE;
	if (fCStatus != B_OK)
		return B_NO_INIT;

	size_t prefixLength = strlen(kDesktopSignaturePrefix);
	if (strncasecmp(fType, kDesktopSignaturePrefix, prefixLength) != 0)
		return B_ENTRY_NOT_FOUND;

	std::string desktopFile;
	if (!find_desktop_file(fType + prefixLength, desktopFile))
		return B_ENTRY_NOT_FOUND;
	std::string exec;
	for (const KeyFileLine& line : read_key_file(desktopFile)) {
		if (line.group == "Desktop Entry" && line.key == "Exec") {
			exec = line.value;
			break;
		}
	}
	std::string program;
	if (!find_program(exec_program(exec), program))
		return B_ENTRY_NOT_FOUND;
	if (get_ref_for_path(program.c_str(), ref) != B_OK)
		return B_ENTRY_NOT_FOUND;
	return B_OK;
}


bool
BMimeType::IsValid(const char* mimeType)
{
	if (mimeType == NULL)
		return false;
	size_t length = strlen(mimeType);
	if (length == 0 || length >= B_MIME_TYPE_LENGTH)
		return false;
	const char* slash = strchr(mimeType, '/');
	if (slash == mimeType || (slash != NULL && (slash[1] == '\0' || strchr(slash + 1, '/'))))
		return false;
	for (const char* c = mimeType; *c != '\0'; c++) {
		if (c != slash && !is_mime_char(*c))
			return false;
	}
	return true;
}
