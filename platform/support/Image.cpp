/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <image.h>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <Errors.h>


namespace {


std::mutex sLock;
std::map<image_id, std::vector<void*>> sImages;
image_id sNextImage = 1;


bool
read_at(int fd, off_t offset, void* buffer, size_t size)
{
	return pread(fd, buffer, size, offset) == static_cast<ssize_t>(size);
}


// What the dynamic section of an executable names: the libraries it needs and the folders it
// searches them in.
struct DynamicInfo {
	bool isExecutable = false;
	std::vector<std::string> needed;
	std::vector<std::string> searchPath;
};


// Reads the program headers of a 64-bit ELF file. An executable is a file with an
// interpreter; its DT_NEEDED and DT_RUNPATH (else DT_RPATH) strings are collected.
bool
read_dynamic_info(const char* path, DynamicInfo* info)
{
	int fd = open(path, O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return false;

	bool valid = false;
	Elf64_Ehdr header;
	std::vector<Elf64_Phdr> segments;
	if (read_at(fd, 0, &header, sizeof(header)) && memcmp(header.e_ident, ELFMAG, SELFMAG) == 0
		&& header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_phentsize == sizeof(Elf64_Phdr)
		&& header.e_phnum > 0 && header.e_phnum < 256) {
		segments.resize(header.e_phnum);
		valid = read_at(fd, header.e_phoff, segments.data(), sizeof(Elf64_Phdr) * header.e_phnum);
	}

	const Elf64_Phdr* dynamic = NULL;
	for (size_t i = 0; valid && i < segments.size(); i++) {
		if (segments[i].p_type == PT_INTERP)
			info->isExecutable = true;
		else if (segments[i].p_type == PT_DYNAMIC)
			dynamic = &segments[i];
	}
	if (!valid || !info->isExecutable || dynamic == NULL || dynamic->p_filesz > 1024 * 1024) {
		close(fd);
		return valid;
	}

	std::vector<Elf64_Dyn> entries(dynamic->p_filesz / sizeof(Elf64_Dyn));
	if (!read_at(fd, dynamic->p_offset, entries.data(), entries.size() * sizeof(Elf64_Dyn))) {
		close(fd);
		return false;
	}

	// The string table is named by its address: find the file offset of that address.
	Elf64_Addr stringsAddress = 0;
	Elf64_Xword stringsSize = 0;
	for (const Elf64_Dyn& entry : entries) {
		if (entry.d_tag == DT_STRTAB)
			stringsAddress = entry.d_un.d_ptr;
		else if (entry.d_tag == DT_STRSZ)
			stringsSize = entry.d_un.d_val;
	}
	off_t stringsOffset = -1;
	for (const Elf64_Phdr& segment : segments) {
		if (segment.p_type == PT_LOAD && stringsAddress >= segment.p_vaddr
			&& stringsAddress + stringsSize <= segment.p_vaddr + segment.p_filesz)
			stringsOffset = segment.p_offset + (stringsAddress - segment.p_vaddr);
	}
	std::string strings(stringsSize, '\0');
	if (stringsOffset < 0 || stringsSize == 0 || stringsSize > 16 * 1024 * 1024
		|| !read_at(fd, stringsOffset, &strings[0], stringsSize)) {
		close(fd);
		return false;
	}
	close(fd);

	auto string_at = [&strings](Elf64_Xword offset) {
		if (offset >= strings.size())
			return std::string();
		return std::string(strings.c_str() + offset);
	};

	std::string origin = path;
	size_t slash = origin.rfind('/');
	origin = slash == std::string::npos ? "." : origin.substr(0, slash);

	std::string runPath, rPath;
	for (const Elf64_Dyn& entry : entries) {
		if (entry.d_tag == DT_NEEDED)
			info->needed.push_back(string_at(entry.d_un.d_val));
		else if (entry.d_tag == DT_RUNPATH)
			runPath = string_at(entry.d_un.d_val);
		else if (entry.d_tag == DT_RPATH)
			rPath = string_at(entry.d_un.d_val);
	}
	std::string search = runPath.empty() ? rPath : runPath;
	size_t start = 0;
	while (start <= search.size() && !search.empty()) {
		size_t end = search.find(':', start);
		if (end == std::string::npos)
			end = search.size();
		std::string folder = search.substr(start, end - start);
		for (const char* name : {"$ORIGIN", "${ORIGIN}"}) {
			size_t at = folder.find(name);
			if (at != std::string::npos)
				folder.replace(at, strlen(name), origin);
		}
		if (!folder.empty())
			info->searchPath.push_back(folder);
		start = end + 1;
	}
	return true;
}


} // namespace


image_id
load_add_on(const char* path)
{
	if (path == NULL)
		return B_BAD_VALUE;
	struct stat status;
	if (stat(path, &status) != 0 || !S_ISREG(status.st_mode))
		return B_ENTRY_NOT_FOUND;

	DynamicInfo info;
	if (!read_dynamic_info(path, &info))
		return B_NOT_AN_EXECUTABLE;

	std::vector<void*> handles;
	if (!info.isExecutable) {
		void* handle = dlopen(path, RTLD_NOW | RTLD_GLOBAL);
		if (handle == NULL) {
			fprintf(stderr, "load_add_on: %s\n", dlerror());
			return B_ERROR;
		}
		handles.push_back(handle);
	} else {
		// The executable's own libraries: those found in its search path. System libraries
		// are loaded by these as they need them.
		for (const std::string& name : info.needed) {
			for (const std::string& folder : info.searchPath) {
				std::string library = folder + "/" + name;
				if (access(library.c_str(), R_OK) != 0)
					continue;
				void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL);
				if (handle == NULL) {
					fprintf(stderr, "load_add_on: %s\n", dlerror());
					for (void* loaded : handles)
						dlclose(loaded);
					return B_ERROR;
				}
				handles.push_back(handle);
				break;
			}
		}
		if (handles.empty())
			return B_ERROR;
	}

	std::lock_guard<std::mutex> locker(sLock);
	image_id id = sNextImage++;
	sImages[id] = handles;
	return id;
}


status_t
unload_add_on(image_id image)
{
	std::vector<void*> handles;
	{
		std::lock_guard<std::mutex> locker(sLock);
		auto found = sImages.find(image);
		if (found == sImages.end())
			return B_BAD_IMAGE_ID;
		handles = found->second;
		sImages.erase(found);
	}
	for (void* handle : handles)
		dlclose(handle);
	return B_OK;
}


status_t
get_image_symbol(image_id image, const char* name, int32, void** _symbolLocation)
{
	if (name == NULL || _symbolLocation == NULL)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> locker(sLock);
	auto found = sImages.find(image);
	if (found == sImages.end())
		return B_BAD_IMAGE_ID;
	for (void* handle : found->second) {
		void* symbol = dlsym(handle, name);
		if (symbol != NULL) {
			*_symbolLocation = symbol;
			return B_OK;
		}
	}
	return B_ENTRY_NOT_FOUND;
}
