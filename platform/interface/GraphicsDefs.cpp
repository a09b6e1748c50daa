/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <GraphicsDefs.h>
#include <InterfaceDefs.h>


const pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
const pattern B_MIXED_COLORS = {{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}};
const pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};

const rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};
const rgb_color B_TRANSPARENT_32_BIT = {0x77, 0x74, 0x77, 0x00};
const uint8 B_TRANSPARENT_8_BIT = 0xff;
const uint8 B_TRANSPARENT_MAGIC_CMAP8 = 0xff;
const uint16 B_TRANSPARENT_MAGIC_RGBA15 = 0x39ce;
const uint16 B_TRANSPARENT_MAGIC_RGBA15_BIG = 0xce39;
const uint32 B_TRANSPARENT_MAGIC_RGBA32 = 0x00777477;
const uint32 B_TRANSPARENT_MAGIC_RGBA32_BIG = 0x77747700;


rgb_color
ui_color(color_which which)
{
	switch (which) {
	case B_PANEL_BACKGROUND_COLOR:
		return make_color(216, 216, 216);
	case B_PANEL_TEXT_COLOR:
	case B_DOCUMENT_TEXT_COLOR:
	case B_CONTROL_TEXT_COLOR:
	case B_MENU_ITEM_TEXT_COLOR:
	case B_TOOL_TIP_TEXT_COLOR:
	case B_WINDOW_TEXT_COLOR:
		return make_color(0, 0, 0);
	case B_CONTROL_BACKGROUND_COLOR:
		return make_color(222, 222, 222);
	case B_CONTROL_BORDER_COLOR:
		return make_color(172, 172, 172);
	case B_CONTROL_HIGHLIGHT_COLOR:
		return make_color(102, 152, 203);
	case B_CONTROL_MARK_COLOR:
		return make_color(27, 82, 140);
	case B_DOCUMENT_BACKGROUND_COLOR:
	case B_SHINE_COLOR:
		return make_color(255, 255, 255);
	case B_MENU_SELECTED_ITEM_TEXT_COLOR:
		return make_color(0, 0, 0);
	case B_MENU_BACKGROUND_COLOR:
		return make_color(216, 216, 216);
	case B_MENU_SELECTED_BACKGROUND_COLOR:
		return make_color(153, 153, 153);
	case B_MENU_SELECTED_BORDER_COLOR:
		return make_color(0, 0, 0);
	case B_SHADOW_COLOR:
		return make_color(0, 0, 0);
	case B_NAVIGATION_BASE_COLOR:
		return make_color(0, 0, 229);
	case B_NAVIGATION_PULSE_COLOR:
		return make_color(0, 0, 0);
	case B_TOOL_TIP_BACKGROUND_COLOR:
		return make_color(255, 255, 216);
	case B_WINDOW_TAB_COLOR:
		return make_color(255, 203, 0);
	case B_WINDOW_INACTIVE_TAB_COLOR:
		return make_color(232, 232, 232);
	case B_WINDOW_INACTIVE_TEXT_COLOR:
		return make_color(80, 80, 80);
	case B_SUCCESS_COLOR:
		return make_color(46, 204, 64);
	case B_FAILURE_COLOR:
		return make_color(255, 65, 54);
	default:
		return make_color(0, 0, 0);
	}
}


rgb_color
tint_color(rgb_color color, float tint)
{
	rgb_color result;
	if (tint < 1.0f) {
		result.red = (uint8)(255 - (255 - color.red) * tint);
		result.green = (uint8)(255 - (255 - color.green) * tint);
		result.blue = (uint8)(255 - (255 - color.blue) * tint);
	} else {
		result.red = (uint8)min_c(255.0f, color.red * (2 - tint));
		result.green = (uint8)min_c(255.0f, color.green * (2 - tint));
		result.blue = (uint8)min_c(255.0f, color.blue * (2 - tint));
	}
	result.alpha = color.alpha;
	return result;
}
