/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <BuiltinTranslators.h>

#include <gif_lib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>


namespace BPrivate {


static const translation_format kInputFormats[] = {
	{B_GIF_FORMAT, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/gif", "GIF image"},
};

static const translation_format kOutputFormats[] = {
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.3f, 0.3f, "image/x-be-bitmap",
		"Be Bitmap Format (GIFTranslator)"},
};

// The rows of an interlaced image come in four passes: where each starts and its step.
static const int32 kInterlaceStart[] = {0, 4, 2, 1};
static const int32 kInterlaceStep[] = {8, 8, 4, 2};


static int
gif_read_from_source(GifFileType* gif, GifByteType* buffer, int length)
{
	if (length <= 0)
		return 0;
	BPositionIO* source = static_cast<BPositionIO*>(gif->UserData);
	size_t bytesRead = 0;
	source->ReadExactly(buffer, (size_t)length, &bytesRead);
	return (int)bytesRead;
}


// Reads the extension blocks up to the first image; a graphics control block tells the
// transparent colour index.
static status_t
skip_extension(GifFileType* gif, int* _transparentIndex)
{
	int code;
	GifByteType* block;
	if (DGifGetExtension(gif, &code, &block) != GIF_OK)
		return B_ILLEGAL_DATA;

	if (code == GRAPHICS_EXT_FUNC_CODE && block != NULL && block[0] >= 4)
		*_transparentIndex = (block[1] & 0x01) != 0 ? block[4] : -1;

	while (block != NULL) {
		if (DGifGetExtensionNext(gif, &block) != GIF_OK)
			return B_ILLEGAL_DATA;
	}
	return B_OK;
}


// Decodes the first image onto a canvas of the logical screen's size (enlarged if the
// image reaches beyond it). What the image does not cover stays transparent.
static status_t
decode_first_frame(
	GifFileType* gif, int transparentIndex, uint8** _bits, int32* _width, int32* _height)
{
	if (DGifGetImageDesc(gif) != GIF_OK)
		return B_ILLEGAL_DATA;

	const GifImageDesc& frame = gif->Image;
	if (frame.Left < 0 || frame.Top < 0 || frame.Width <= 0 || frame.Height <= 0)
		return B_ILLEGAL_DATA;

	int64 width = max_c((int64)gif->SWidth, (int64)frame.Left + frame.Width);
	int64 height = max_c((int64)gif->SHeight, (int64)frame.Top + frame.Height);
	if (!image_size_allowed(width, height))
		return B_ILLEGAL_DATA;

	const ColorMapObject* colorMap = frame.ColorMap != NULL ? frame.ColorMap : gif->SColorMap;
	if (colorMap == NULL || colorMap->Colors == NULL)
		return B_ILLEGAL_DATA;

	size_t rowBytes = (size_t)width * 4;
	uint8* bits = static_cast<uint8*>(calloc((size_t)height, rowBytes));
	GifPixelType* line = static_cast<GifPixelType*>(malloc((size_t)frame.Width));
	if (bits == NULL || line == NULL) {
		free(bits);
		free(line);
		return B_NO_MEMORY;
	}

	int32 passes = frame.Interlace ? 4 : 1;
	status_t status = B_OK;
	for (int32 pass = 0; pass < passes && status == B_OK; pass++) {
		int32 start = frame.Interlace ? kInterlaceStart[pass] : 0;
		int32 step = frame.Interlace ? kInterlaceStep[pass] : 1;
		for (int32 y = start; y < frame.Height; y += step) {
			if (DGifGetLine(gif, line, frame.Width) != GIF_OK) {
				status = B_ILLEGAL_DATA;
				break;
			}
			uint8* out = bits + rowBytes * (size_t)(frame.Top + y) + (size_t)frame.Left * 4;
			for (int32 x = 0; x < frame.Width; x++, out += 4) {
				int index = line[x];
				if (index == transparentIndex)
					continue;
				if (index < colorMap->ColorCount) {
					const GifColorType& color = colorMap->Colors[index];
					out[0] = color.Blue;
					out[1] = color.Green;
					out[2] = color.Red;
				} else
					out[0] = out[1] = out[2] = 0;
				out[3] = 255;
			}
		}
	}
	free(line);

	if (status != B_OK) {
		free(bits);
		return status;
	}
	*_bits = bits;
	*_width = (int32)width;
	*_height = (int32)height;
	return B_OK;
}


static status_t
decode_gif(GifFileType* gif, uint8** _bits, int32* _width, int32* _height)
{
	int transparentIndex = -1;
	while (true) {
		GifRecordType type;
		if (DGifGetRecordType(gif, &type) != GIF_OK)
			return B_ILLEGAL_DATA;

		switch (type) {
		case EXTENSION_RECORD_TYPE: {
			status_t status = skip_extension(gif, &transparentIndex);
			if (status != B_OK)
				return status;
			break;
		}
		case IMAGE_DESC_RECORD_TYPE:
			return decode_first_frame(gif, transparentIndex, _bits, _width, _height);
		default:
			// The stream ends, or holds something else, before any image.
			return B_ILLEGAL_DATA;
		}
	}
}


static status_t
translate_gif_to_bitmap(BPositionIO* source, BPositionIO* destination)
{
	int error = 0;
	GifFileType* gif = DGifOpen(source, gif_read_from_source, &error);
	if (gif == NULL)
		return error == D_GIF_ERR_NOT_ENOUGH_MEM ? B_NO_MEMORY : B_ILLEGAL_DATA;

	uint8* bits = NULL;
	int32 width = 0;
	int32 height = 0;
	status_t status = decode_gif(gif, &bits, &width, &height);
	DGifCloseFile(gif, &error);
	if (status == B_OK)
		status = write_rgba32_bitmap(destination, bits, width, height);

	free(bits);
	return status;
}


class GIFTranslator : public ImageReaderTranslator {
public:
	GIFTranslator()
		: ImageReaderTranslator("GIF images", "GIF image translator (giflib)", kInputFormats,
			sizeof(kInputFormats) / sizeof(kInputFormats[0]), kOutputFormats,
			sizeof(kOutputFormats) / sizeof(kOutputFormats[0]))
	{ }

protected:
	virtual bool
	IsFormat(BPositionIO* source) const
	{
		char start[6];
		return read_exactly(source, start, sizeof(start))
			&& (memcmp(start, "GIF87a", 6) == 0 || memcmp(start, "GIF89a", 6) == 0);
	}

	virtual status_t
	Decode(BPositionIO* source, BPositionIO* destination) const
	{
		return translate_gif_to_bitmap(source, destination);
	}
};


BuiltinTranslator*
create_gif_translator()
{
	return new (std::nothrow) GIFTranslator;
}


}
