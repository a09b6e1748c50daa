/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _FUZZ_ENV_H
#define _FUZZ_ENV_H


#include <stddef.h>
#include <stdint.h>

#include <string>


// Gives the fuzz target a private home in a temporary folder (every folder find_directory()
// answers lies in it), sends standard output to /dev/null and builds the settings store.
// Called once, from LLVMFuzzerInitialize(); the folder goes again when the process exits.
void FuzzSetUp();

// The temporary folder.
const std::string& FuzzRoot();

// Writes `size` bytes to `path`, replacing the file.
bool FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size);


#endif // _FUZZ_ENV_H
