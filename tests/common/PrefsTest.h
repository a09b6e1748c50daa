/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _PREFS_TEST_H
#define _PREFS_TEST_H


#include <sys/xattr.h>

#include <string>

#include <gtest/gtest.h>

#include "TestEnv.h"
#include "wg_Prefs.h"


// A private home for each test, and the settings store built in it (quietly: the store
// talks a lot on standard output).
class PrefsTest : public testing::Test {
protected:
	void
	TearDown() override
	{
		if (Prefs::aPrefsZgr != NULL)
			Quiet([] { Prefs::aPrefsZgr->DeleteMe(); });
	}

	template<typename F>
	static std::string
	Quiet(F function)
	{
		testing::internal::CaptureStdout();
		function();
		return testing::internal::GetCapturedStdout();
	}

	Prefs*
	Store()
	{
		Prefs* prefs = NULL;
		fLastOutput = Quiet([&] { prefs = Prefs::getSTPrefs(); });
		return prefs;
	}

	void
	Restart()
	{
		Quiet([] { Prefs::aPrefsZgr->DeleteMe(); });
		Store();
	}

	std::string
	SettingsFolder() const
	{
		return fEnv.Config() + "/_LP_x-vnd.QK";
	}
	std::string
	SettingsFile() const
	{
		return SettingsFolder() + "/Webgrazer_settings";
	}
	std::string
	LogFile() const
	{
		return fEnv.State() + "/Webgrazer.log";
	}

	// The raw bytes of an attribute of the settings file: type code and data.
	std::string
	Attr(const std::string& name) const
	{
		char buffer[1024];
		ssize_t size
			= getxattr(SettingsFile().c_str(), ("user." + name).c_str(), buffer, sizeof(buffer));
		return size < 0 ? std::string("<missing>") : std::string(buffer, size);
	}

	void
	SetAttr(const std::string& name, const std::string& bytes)
	{
		ASSERT_EQ(setxattr(SettingsFile().c_str(), ("user." + name).c_str(), bytes.data(),
					  bytes.size(), 0),
			0);
	}

	static std::string
	Bytes(const void* data, size_t size)
	{
		return std::string((const char*)data, size);
	}

	TestEnv fEnv;
	std::string fLastOutput;
};


#endif // _PREFS_TEST_H
