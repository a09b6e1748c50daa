/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The per-user registry of running applications: a folder with one small file per running
// application, named after its process id, and a file per signature ever registered that
// remembers its executable. Other processes read it to answer BRoster's questions.


#include <AppPrivate.h>

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include <Errors.h>
#include <FindDirectory.h>
#include <StorageDefs.h>


namespace {


const char* const kKnownFolder = "known";

std::mutex sLock;
team_id sRegisteredTeam = -1;
std::string sRegisteredFile;


// Makes the folder, or takes the one there if it is this user's own: a real folder (no link)
// that belongs to the user and that no one else may read, enter or write. Another user who
// made it first could otherwise name the programs our launches run and our add-ons load,
// and answer our services.
bool
make_own_folder(const std::string& path)
{
	if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
		return false;
	struct stat info;
	return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
		&& (info.st_mode & 077) == 0;
}


// A signature as a file name: signatures compare without regard to case, and '/' and '%'
// are escaped.
std::string
file_name_for_signature(const char* signature)
{
	std::string name;
	for (const char* c = signature; *c != '\0'; c++) {
		char lower = static_cast<char>(tolower(static_cast<unsigned char>(*c)));
		if (lower == '/')
			name += "%2f";
		else if (lower == '%')
			name += "%25";
		else
			name += lower;
	}
	return name;
}


// Writes the file whole or not at all: through a temporary file that is renamed.
bool
write_file_atomically(const std::string& path, const std::string& contents)
{
	std::string temporary = path + ".tmp." + std::to_string(getpid());
	int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
	if (fd < 0)
		return false;
	size_t written = 0;
	while (written < contents.size()) {
		ssize_t result = write(fd, contents.data() + written, contents.size() - written);
		if (result < 0 && errno == EINTR)
			continue;
		if (result <= 0)
			break;
		written += result;
	}
	bool ok = written == contents.size();
	if (close(fd) != 0)
		ok = false;
	if (ok && rename(temporary.c_str(), path.c_str()) != 0)
		ok = false;
	if (!ok)
		unlink(temporary.c_str());
	return ok;
}


bool
read_small_file(const std::string& path, std::string* contents)
{
	FILE* file = fopen(path.c_str(), "re");
	if (file == NULL)
		return false;
	char buffer[4096];
	size_t length = fread(buffer, 1, sizeof(buffer), file);
	fclose(file);
	contents->assign(buffer, length);
	return true;
}


// The value of the "key=value" line, or false
bool
get_value(const std::string& contents, const char* key, std::string* value)
{
	std::string prefix = std::string(key) + "=";
	size_t start = 0;
	while (start < contents.size()) {
		size_t end = contents.find('\n', start);
		if (end == std::string::npos)
			end = contents.size();
		if (contents.compare(start, prefix.size(), prefix) == 0) {
			*value = contents.substr(start + prefix.size(), end - start - prefix.size());
			return true;
		}
		start = end + 1;
	}
	return false;
}


bool
parse_entry(const std::string& contents, BPrivate::RunningApp* app)
{
	std::string team, thread, flags;
	if (!get_value(contents, "signature", &app->signature) || !get_value(contents, "team", &team))
		return false;
	app->team = strtol(team.c_str(), NULL, 10);
	if (app->team <= 0)
		return false;
	app->thread
		= get_value(contents, "thread", &thread) ? strtol(thread.c_str(), NULL, 10) : app->team;
	app->flags = get_value(contents, "flags", &flags) ? strtoul(flags.c_str(), NULL, 10) : 0;
	if (!get_value(contents, "path", &app->path))
		app->path.clear();
	return true;
}


bool
process_exists(team_id team)
{
	return kill(team, 0) == 0 || errno != ESRCH;
}


bool
is_entry_name(const char* name)
{
	if (name[0] == '\0')
		return false;
	for (const char* c = name; *c != '\0'; c++) {
		if (*c < '0' || *c > '9')
			return false;
	}
	return true;
}


std::string
executable_path()
{
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0)
		return std::string();
	path[length] = '\0';
	return path;
}


} // namespace


std::string
BPrivate::roster_directory()
{
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	std::string folder;
	if (runtime != NULL && runtime[0] == '/') {
		folder = std::string(runtime) + "/haiku-roster";
	} else {
		char temp[B_PATH_NAME_LENGTH];
		if (find_directory(B_SYSTEM_TEMP_DIRECTORY, -1, false, temp, sizeof(temp)) != B_OK)
			snprintf(temp, sizeof(temp), "/tmp");
		folder = std::string(temp) + "/haiku-roster-" + std::to_string(getuid());
	}
	if (!make_own_folder(folder) || !make_own_folder(folder + "/" + kKnownFolder)) {
		// Someone else's folder is not used: the user's cache folder holds the registry.
		std::string taken = folder;
		char cache[B_PATH_NAME_LENGTH];
		if (find_directory(B_USER_CACHE_DIRECTORY, -1, true, cache, sizeof(cache)) != B_OK)
			return std::string();
		folder = std::string(cache) + "/haiku-roster";
		if (!make_own_folder(folder) || !make_own_folder(folder + "/" + kKnownFolder))
			return std::string();
		static std::once_flag sWarned;
		std::call_once(sWarned, [&] {
			fprintf(stderr, "'%s' is not this user's own folder: using '%s'\n", taken.c_str(),
				folder.c_str());
		});
	}
	return folder;
}


status_t
BPrivate::register_running_app(const char* signature, uint32 flags, thread_id thread)
{
	if (signature == NULL || signature[0] == '\0' || strchr(signature, '\n') != NULL)
		return B_BAD_VALUE;

	std::string folder = roster_directory();
	if (folder.empty())
		return B_ERROR;
	std::string path = executable_path();
	// A path that would break the line format is left out.
	if (path.find('\n') != std::string::npos)
		path.clear();

	std::string contents = std::string("signature=") + signature
		+ "\nteam=" + std::to_string(getpid()) + "\nthread=" + std::to_string(thread)
		+ "\nflags=" + std::to_string(flags) + "\npath=" + path + "\n";
	std::string file = folder + "/" + std::to_string(getpid());
	if (!write_file_atomically(file, contents))
		return _be_status_from_errno(errno != 0 ? errno : EIO);

	if (!path.empty()) {
		write_file_atomically(
			folder + "/" + kKnownFolder + "/" + file_name_for_signature(signature),
			std::string("signature=") + signature + "\npath=" + path + "\n");
	}

	std::lock_guard<std::mutex> lock(sLock);
	sRegisteredTeam = getpid();
	sRegisteredFile = file;
	return B_OK;
}


void
BPrivate::unregister_running_app()
{
	std::lock_guard<std::mutex> lock(sLock);
	// A forked child does not remove its parent's entry.
	if (sRegisteredTeam == getpid() && !sRegisteredFile.empty())
		unlink(sRegisteredFile.c_str());
	sRegisteredTeam = -1;
	sRegisteredFile.clear();
}


bool
BPrivate::find_running_app(const char* signature, team_id team, RunningApp* app)
{
	std::string folder = roster_directory();
	DIR* dir = folder.empty() ? NULL : opendir(folder.c_str());
	if (dir == NULL)
		return false;

	bool found = false;
	while (!found) {
		struct dirent* entry = readdir(dir);
		if (entry == NULL)
			break;
		if (!is_entry_name(entry->d_name))
			continue;

		std::string file = folder + "/" + entry->d_name;
		std::string contents;
		RunningApp candidate;
		if (!read_small_file(file, &contents) || !parse_entry(contents, &candidate))
			continue;
		if (!process_exists(candidate.team)) {
			unlink(file.c_str());
			continue;
		}
		if (team >= 0 && candidate.team != team)
			continue;
		if (signature != NULL && strcasecmp(signature, candidate.signature.c_str()) != 0)
			continue;

		found = true;
		if (app != NULL)
			*app = candidate;
	}
	closedir(dir);
	return found;
}


bool
BPrivate::find_known_app(const char* signature, std::string* path)
{
	if (signature == NULL || signature[0] == '\0')
		return false;
	std::string folder = roster_directory();
	std::string contents;
	if (folder.empty()
		|| !read_small_file(
			folder + "/" + kKnownFolder + "/" + file_name_for_signature(signature), &contents)) {
		return false;
	}
	std::string known;
	if (!get_value(contents, "path", &known) || known.empty())
		return false;
	if (path != NULL)
		*path = known;
	return true;
}
