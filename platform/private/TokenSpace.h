/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TOKEN_SPACE_H
#define _TOKEN_SPACE_H


// Handlers are known by tokens (LooperRegistry.h). Two tokens name no handler of their own:
// the looper's preferred handler, as a message target, and no handler at all.
#define B_PREFERRED_TOKEN (-2)
#define B_NULL_TOKEN (-1)


#endif // _TOKEN_SPACE_H
