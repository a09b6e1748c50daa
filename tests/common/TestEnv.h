/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TEST_ENV_H
#define _TEST_ENV_H


#include <functional>
#include <string>

#include <SupportDefs.h>


// A private set of folders for one test: a temporary home with its own settings, state,
// system and application folders, announced through the environment variables that
// find_directory() reads. The folder is removed again when the object goes.
class TestEnv {
public:
	TestEnv();
	~TestEnv();

	const std::string&
	Root() const
	{
		return fRoot;
	}
	std::string
	Home() const
	{
		return fRoot + "/home";
	}
	std::string
	Config() const
	{
		return fRoot + "/config";
	}
	std::string
	State() const
	{
		return fRoot + "/state";
	}
	std::string
	System() const
	{
		return fRoot + "/system";
	}
	std::string
	Apps() const
	{
		return fRoot + "/apps";
	}
	std::string
	AppFolder() const
	{
		return Apps() + "/Webgrazer";
	}

private:
	std::string fRoot;
};


std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);
bool FileExists(const std::string& path);
// How many times part occurs in text
int count_of(const std::string& text, const std::string& part);

// Checks the condition every 2 ms until it holds, at most timeout (default 10 s): for what
// another thread or process brings about without telling the test.
bool WaitUntil(const std::function<bool()>& condition, bigtime_t timeout = 10000000);


#endif // _TEST_ENV_H
