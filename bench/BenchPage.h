/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BENCH_PAGE_H
#define _BENCH_PAGE_H


#include <stddef.h>

#include <string>

#include <SupportDefs.h>


// The labels of the extraction, their search patterns and the markup that holds each
// pattern's value in the page (NULL when the filler holds it).
struct LabelPair {
	const char* label;
	const char* pattern;
	const char* markup;
};

const int32 kLabelCount = 20;
extern const LabelPair kPairs[kLabelCount];

// A page of about `size` bytes as a German weather and news site serves it: tables with rows
// over several lines, entities, Latin-1 bytes, images, runs of blanks, scripts that write,
// CR LF line ends here and there and long lines. Always the same page for the same size.
std::string GeneratePage(size_t size);


#endif // _BENCH_PAGE_H
