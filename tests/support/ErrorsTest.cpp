/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Errors.h>
#include <GraphicsDefs.h>
#include <InterfaceDefs.h>
#include <OS.h>
#include <Rect.h>
#include <TypeConstants.h>

#include <errno.h>
#include <string.h>

#include <gtest/gtest.h>


TEST(Errors, StatusCodesHaveHaikusValuesAndReadableTexts)
{
	EXPECT_EQ(B_OK, 0);
	EXPECT_EQ(B_ERROR, -1);
	EXPECT_EQ((uint32)B_NO_MEMORY, 0x80000000u);
	EXPECT_EQ((uint32)B_ENTRY_NOT_FOUND, 0x80006003u);
	EXPECT_LT(B_BAD_VALUE, 0);

	EXPECT_STREQ(strerror(B_ENTRY_NOT_FOUND), "No such file or directory");
	EXPECT_STREQ(strerror(B_NAME_NOT_FOUND), "Name not found");
	EXPECT_STREQ(strerror(B_ERROR), "General system error");
	// Host errno values keep the C library's texts, directly and as status codes.
	EXPECT_STREQ(strerror(EACCES), "Permission denied");
	EXPECT_STREQ(strerror(B_FROM_POSIX_ERROR(EPROTO)), "Protocol error");
	EXPECT_NE(strerror(B_ERRORS_END - 1), nullptr);
}


TEST(Errors, HostErrorsMapToStatusCodes)
{
	EXPECT_EQ(_be_status_from_errno(0), B_OK);
	EXPECT_EQ(_be_status_from_errno(ENOENT), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(_be_status_from_errno(ENODATA), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(_be_status_from_errno(ENOTSUP), B_UNSUPPORTED);
	EXPECT_EQ(_be_status_from_errno(EPROTO), B_FROM_POSIX_ERROR(EPROTO));
}


TEST(SupportDefs, TypeCodesAreTheirFourCharacters)
{
	EXPECT_EQ((uint32)B_INT32_TYPE, 0x4C4F4E47u);
	EXPECT_EQ((uint32)B_BOOL_TYPE, 0x424F4F4Cu);
	EXPECT_EQ((uint32)B_RECT_TYPE, 0x52454354u);
	EXPECT_EQ((uint32)B_STRING_TYPE, 0x43535452u);
	EXPECT_EQ((uint32)B_RGB_COLOR_TYPE, 0x52474243u);
}


TEST(OS, SystemTimeAdvancesAndSnoozeWaitsAtLeastItsTime)
{
	bigtime_t start = system_time();
	EXPECT_EQ(snooze(2000), B_OK);
	EXPECT_GE(system_time() - start, 2000);
}


TEST(InterfaceDefs, PanelColourAndTints)
{
	EXPECT_EQ(ui_color(B_PANEL_BACKGROUND_COLOR), make_color(216, 216, 216, 255));
	rgb_color dark = tint_color(make_color(200, 100, 0, 7), B_DARKEN_MAX_TINT);
	EXPECT_EQ(dark, make_color(0, 0, 0, 7));
	rgb_color light = tint_color(make_color(0, 100, 255), 0.5f);
	EXPECT_EQ(light.red, 127);
	EXPECT_EQ(light.blue, 255);
}


TEST(Rect, GeometryAndPrintForm)
{
	BRect invalid;
	EXPECT_FALSE(invalid.IsValid());
	BRect r(30, 50, 180, 130);
	EXPECT_FLOAT_EQ(r.Width(), 150);
	EXPECT_FLOAT_EQ(r.Height(), 80);
	EXPECT_TRUE(r.Contains(BPoint(30, 130)));
	EXPECT_FALSE(r.Contains(BPoint(29.5, 60)));
	EXPECT_EQ(r & BRect(0, 0, 40, 60), BRect(30, 50, 40, 60));
	EXPECT_EQ(r | BRect(0, 0, 40, 60), BRect(0, 0, 180, 130));
	r.OffsetTo(0, 0);
	EXPECT_EQ(r, BRect(0, 0, 150, 80));

	testing::internal::CaptureStdout();
	BRect(1, 2, 3.25, 4).PrintToStream();
	EXPECT_EQ(testing::internal::GetCapturedStdout(), "BRect(l:1.0, t:2.0, r:3.2, b:4.0)\n");
}
