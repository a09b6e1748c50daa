/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <sys/xattr.h>
#include <time.h>

#include <string>

#include <Bitmap.h>
#include <gtest/gtest.h>

#include "TestEnv.h"
#include "wg_Tools.h"


// A 2 x 1 PNG: a red pixel and a half transparent blue one.
static const unsigned char kTwoPixels[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00,
	0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08,
	0x06, 0x00, 0x00, 0x00, 0xf4, 0x22, 0x7f, 0x8a, 0x00, 0x00, 0x00, 0x0e, 0x49, 0x44, 0x41, 0x54,
	0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0x00, 0x42, 0x0d, 0x00, 0x0f, 0x7a, 0x03, 0x7e, 0x77, 0xe9,
	0x7f, 0x97, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};


static std::string
Comment(const std::string& path)
{
	char buffer[128];
	ssize_t size = getxattr(path.c_str(), "user.Media:Comment", buffer, sizeof(buffer));
	return size < 0 ? std::string("<missing>") : std::string(buffer, size);
}


TEST(ImageTools, GetImageLoadsPicturesAndRefusesOthers)
{
	TestEnv env;
	std::string png = env.Home() + "/two.png";
	WriteFile(png, std::string((const char*)kTwoPixels, sizeof(kTwoPixels)));
	BBitmap* bitmap = GetImage(png.c_str());
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 1, 0));
	EXPECT_EQ(bitmap->ColorSpace(), B_RGBA32);
	const uint8* bits = (const uint8*)bitmap->Bits();
	// B, G, R, A in memory.
	EXPECT_EQ(
		std::string((const char*)bits, 8), std::string("\x00\x00\xff\xff\xff\x00\x00\x80", 8));
	delete bitmap;

	std::string text = env.Home() + "/text.png";
	WriteFile(text, "not a picture");
	testing::internal::CaptureStdout();
	EXPECT_EQ(GetImage(text.c_str()), nullptr);
	EXPECT_EQ(GetImage((env.Home() + "/missing.png").c_str()), nullptr);
	std::string out = testing::internal::GetCapturedStdout();
	EXPECT_EQ(out,
		"\xc2\xa0"
		"can't translate '"
			+ text + "'\n");
}


TEST(ImageTools, SetImageCommentStampsTheDate)
{
	TestEnv env;
	std::string file = env.Home() + "/picture.png";
	WriteFile(file, "x");

	time_t now = time(NULL);
	struct tm local;
	localtime_r(&now, &local);
	char stamp[32];
	snprintf(stamp, sizeof(stamp), "wg_%02d%02d", local.tm_mon + 1, local.tm_mday);

	SetImageComment(file.c_str(), NULL);
	EXPECT_EQ(Comment(file), "CSTR" + std::string(stamp) + '\0');
	SetImageComment(file.c_str(), "x");
	EXPECT_EQ(Comment(file), "CSTRx " + std::string(stamp));
	SetImageComment(file.c_str(), std::string(80, 'c').c_str());
	EXPECT_EQ(Comment(file), "CSTR" + std::string(55, 'c') + " " + stamp);

	// Files that cannot be opened are skipped.
	SetImageComment((env.Home() + "/missing.png").c_str(), "x");
	EXPECT_FALSE(FileExists(env.Home() + "/missing.png"));
}
