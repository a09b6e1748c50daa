/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <string.h>


int
h2u(char digit)
{
	if (digit >= '1' && digit <= '9')
		return digit - '0';
	if (digit >= 'A' && digit <= 'F')
		return digit - 'A' + 10;
	if (digit >= 'a' && digit <= 'f')
		return digit - 'a' + 10;
	return 0;
}


// Only "1" to "9" and the upper-case "A" to "F" count; everything else is 0.
static int
upper_hex_digit(char digit)
{
	if (digit >= '1' && digit <= '9')
		return digit - '0';
	if (digit >= 'A' && digit <= 'F')
		return digit - 'A' + 10;
	return 0;
}


int
hex2int(const char* text)
{
	char buffer[4] = {0, 0, 0, 0};
	if (text != NULL)
		memcpy(buffer, text, strnlen(text, 3));
	const char* digits = buffer[0] == '$' ? buffer + 1 : buffer;
	return 16 * upper_hex_digit(digits[0]) + upper_hex_digit(digits[1]);
}


void
txt2col(const char* text, rgb_color* color)
{
	if (text == NULL || color == NULL)
		return;
	if (text[0] == '#')
		text++;

	// A text shorter than six digits reads as zeros where it ends.
	char digits[6];
	size_t length = strnlen(text, 6);
	memset(digits, '0', sizeof(digits));
	memcpy(digits, text, length);

	color->red = 16 * h2u(digits[0]) + h2u(digits[1]);
	color->green = 16 * h2u(digits[2]) + h2u(digits[3]);
	color->blue = 16 * h2u(digits[4]) + h2u(digits[5]);
	color->alpha = 24;
	printf("%d-%d-%d-%d\n", color->red, color->green, color->blue, color->alpha);
}


bool
IfExist(const char* path)
{
	if (path == NULL)
		return false;
	FILE* file = fopen(path, "r");
	if (file == NULL)
		return false;
	fclose(file);
	return true;
}
