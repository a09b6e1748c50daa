/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Errors.h>

#include <errno.h>
#include <stdio.h>
#include <string.h>


struct error_text {
	int code;
	const char* text;
};


// Haiku's own texts for the status codes of the layer.
static const error_text kErrorTexts[] = {
	{B_ERROR, "General system error"},
	{B_NO_MEMORY, "Out of memory"},
	{B_IO_ERROR, "I/O error"},
	{B_PERMISSION_DENIED, "Permission denied"},
	{B_BAD_INDEX, "Index not in range for the data set"},
	{B_BAD_TYPE, "Bad argument type passed to function"},
	{B_BAD_VALUE, "Invalid Argument"},
	{B_MISMATCHED_VALUES, "Mismatched values passed to function"},
	{B_NAME_NOT_FOUND, "Name not found"},
	{B_NAME_IN_USE, "Name in use"},
	{B_TIMED_OUT, "Operation timed out"},
	{B_INTERRUPTED, "Interrupted system call"},
	{B_WOULD_BLOCK, "Operation would block"},
	{B_CANCELED, "Operation canceled"},
	{B_NO_INIT, "Initialization failed"},
	{B_BUSY, "Device/File/Resource busy"},
	{B_NOT_ALLOWED, "Operation not allowed"},
	{B_BAD_DATA, "Bad data"},
	{B_DONT_DO_THAT, "No, you can't do that"},
	{B_BAD_THREAD_ID, "Bad thread ID"},
	{B_NO_MORE_THREADS, "No more threads"},
	{B_BAD_TEAM_ID, "Bad team ID"},
	{B_BAD_PORT_ID, "Bad port ID"},
	{B_BAD_ADDRESS, "Bad address"},
	{B_BAD_IMAGE_ID, "Bad image ID"},
	{B_NOT_AN_EXECUTABLE, "Not an executable"},
	{B_MISSING_LIBRARY, "Missing library"},
	{B_MISSING_SYMBOL, "Symbol not found"},
	{B_BAD_REPLY, "Bad reply"},
	{B_DUPLICATE_REPLY, "Duplicate reply"},
	{B_MESSAGE_TO_SELF, "Can't send message to self"},
	{B_BAD_HANDLER, "Bad handler"},
	{B_ALREADY_RUNNING, "Already running"},
	{B_LAUNCH_FAILED, "Launch failed"},
	{B_AMBIGUOUS_APP_LAUNCH, "Ambiguous app launch"},
	{B_UNKNOWN_MIME_TYPE, "Unknown MIME type"},
	{B_LAUNCH_FAILED_NO_PREFERRED_APP, "No preferred application"},
	{B_LAUNCH_FAILED_APP_NOT_FOUND, "Application could not be found"},
	{B_LAUNCH_FAILED_EXECUTABLE, "The application's executable could not be started"},
	{B_LAUNCH_FAILED_NO_RESOLVE_LINK, "Could not resolve the link to the application"},
	{B_NOT_A_MESSAGE, "Data is not a message"},
	{B_SHUTTING_DOWN, "System is shutting down"},
	{B_NO_TRANSLATOR, "No translator found"},
	{B_ILLEGAL_DATA, "Illegal data"},
	{B_FILE_ERROR, "Bad file descriptor"},
	{B_FILE_NOT_FOUND, "No such file or directory"},
	{B_FILE_EXISTS, "File or Directory already exists"},
	{B_ENTRY_NOT_FOUND, "No such file or directory"},
	{B_NAME_TOO_LONG, "File or Directory name too long"},
	{B_NOT_A_DIRECTORY, "Not a directory"},
	{B_DIRECTORY_NOT_EMPTY, "Directory not empty"},
	{B_DEVICE_FULL, "No space left on device"},
	{B_READ_ONLY_DEVICE, "Read-only file system"},
	{B_IS_A_DIRECTORY, "Is a directory"},
	{B_NO_MORE_FDS, "Too many open files"},
	{B_CROSS_DEVICE_LINK, "Cross-device link"},
	{B_LINK_LIMIT, "Too many symbolic links"},
	{B_BUSTED_PIPE, "Broken pipe"},
	{B_UNSUPPORTED, "Operation not supported"},
	{B_PARTIAL_READ, "Partial read"},
	{B_PARTIAL_WRITE, "Partial write"},
};


// The host errors that have a status code of their own in Haiku.
static const struct {
	int error;
	int status;
} kErrnoMap[] = {
	{ENOMEM, B_NO_MEMORY},
	{EIO, B_IO_ERROR},
	{EACCES, B_PERMISSION_DENIED},
	{EINVAL, B_BAD_VALUE},
	{ETIMEDOUT, B_TIMED_OUT},
	{EINTR, B_INTERRUPTED},
	{EWOULDBLOCK, B_WOULD_BLOCK},
	{ECANCELED, B_CANCELED},
	{EBUSY, B_BUSY},
	{EPERM, B_NOT_ALLOWED},
	{EFAULT, B_BAD_ADDRESS},
	{EBADF, B_FILE_ERROR},
	{EEXIST, B_FILE_EXISTS},
	{ENOENT, B_ENTRY_NOT_FOUND},
	{ENODATA, B_ENTRY_NOT_FOUND},
	{ENAMETOOLONG, B_NAME_TOO_LONG},
	{ENOTDIR, B_NOT_A_DIRECTORY},
	{ENOTEMPTY, B_DIRECTORY_NOT_EMPTY},
	{ENOSPC, B_DEVICE_FULL},
	{EROFS, B_READ_ONLY_DEVICE},
	{EISDIR, B_IS_A_DIRECTORY},
	{EMFILE, B_NO_MORE_FDS},
	{EXDEV, B_CROSS_DEVICE_LINK},
	{ELOOP, B_LINK_LIMIT},
	{EPIPE, B_BUSTED_PIPE},
	{ENOTSUP, B_UNSUPPORTED},
};


extern "C" int
_be_status_from_errno(int error)
{
	if (error == 0)
		return B_OK;
	if (error < 0)
		return error;
	for (size_t i = 0; i < sizeof(kErrnoMap) / sizeof(kErrnoMap[0]); i++) {
		if (kErrnoMap[i].error == error)
			return kErrnoMap[i].status;
	}
	return B_FROM_POSIX_ERROR(error);
}


// As on Haiku, strerror() reads the kits' status codes too: the layer's definition comes
// before the C library's and hands every host errno value on to it.
extern "C" char*
strerror(int code)
{
	static thread_local char buffer[128];

	// Haiku's text for B_OK, where the C library says "Success"
	if (code == 0)
		return const_cast<char*>("No error");
	int hostError = code;
	if (code < 0) {
		for (size_t i = 0; i < sizeof(kErrorTexts) / sizeof(kErrorTexts[0]); i++) {
			if (kErrorTexts[i].code == code)
				return const_cast<char*>(kErrorTexts[i].text);
		}
		if (code > B_POSIX_ERROR_BASE && code < B_MAIL_ERROR_BASE)
			hostError = B_TO_POSIX_ERROR(code);
		else {
			snprintf(buffer, sizeof(buffer), "Unknown Error (%d)", code);
			return buffer;
		}
	}

	// GNU strerror_r returns the text, which may or may not be in our buffer.
	return const_cast<char*>(strerror_r(hostError, buffer, sizeof(buffer)));
}
