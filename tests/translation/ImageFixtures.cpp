/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "ImageFixtures.h"

#include <gif_lib.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

#include <ostream>
#include <stdexcept>

#include <BitmapStream.h>
#include <DataIO.h>
#include <TranslatorFormats.h>
#include <TranslatorRoster.h>


static void
png_append(png_structp png, png_bytep data, size_t length)
{
	std::string* out = static_cast<std::string*>(png_get_io_ptr(png));
	out->append(reinterpret_cast<const char*>(data), length);
}


static void
png_no_flush(png_structp)
{ }


std::string
MakePNG(const PNGImage& image)
{
	std::string out;
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
	png_infop info = png_create_info_struct(png);
	if (setjmp(png_jmpbuf(png)) != 0) {
		png_destroy_write_struct(&png, &info);
		throw std::runtime_error("cannot make the PNG fixture");
	}
	png_set_write_fn(png, &out, png_append, png_no_flush);
	png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
		image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
		PNG_FILTER_TYPE_DEFAULT);

	std::vector<png_color> palette;
	for (const rgb_color& color : image.palette)
		palette.push_back({color.red, color.green, color.blue});
	if (!palette.empty())
		png_set_PLTE(png, info, palette.data(), (int)palette.size());

	png_color_16 key = {};
	key.gray = image.keyRed;
	key.red = image.keyRed;
	key.green = image.keyGreen;
	key.blue = image.keyBlue;
	if (!image.paletteAlpha.empty()) {
		png_set_tRNS(png, info, image.paletteAlpha.data(), (int)image.paletteAlpha.size(), NULL);
	} else if (image.hasColorKey)
		png_set_tRNS(png, info, NULL, 0, &key);

	png_write_info(png, info);

	std::vector<png_bytep> rows;
	for (const std::vector<uint8>& row : image.rows)
		rows.push_back(const_cast<png_bytep>(row.data()));
	png_write_image(png, rows.data());
	png_write_end(png, info);
	png_destroy_write_struct(&png, &info);
	return out;
}


std::string
MakeJPEG(int width, int height, int components, const std::vector<uint8>& pixels, int quality,
	bool progressive)
{
	struct jpeg_compress_struct info;
	struct jpeg_error_mgr error;
	info.err = jpeg_std_error(&error);
	jpeg_create_compress(&info);

	unsigned char* buffer = NULL;
	unsigned long size = 0;
	jpeg_mem_dest(&info, &buffer, &size);
	info.image_width = width;
	info.image_height = height;
	info.input_components = components;
	info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
	jpeg_set_defaults(&info);
	jpeg_set_quality(&info, quality, TRUE);
	if (progressive)
		jpeg_simple_progression(&info);
	jpeg_start_compress(&info, TRUE);
	while (info.next_scanline < info.image_height) {
		JSAMPROW row
			= const_cast<JSAMPROW>(pixels.data() + info.next_scanline * width * components);
		jpeg_write_scanlines(&info, &row, 1);
	}
	jpeg_finish_compress(&info);
	jpeg_destroy_compress(&info);

	std::string out(reinterpret_cast<const char*>(buffer), size);
	free(buffer);
	return out;
}


static int
gif_append(GifFileType* gif, const GifByteType* data, int length)
{
	std::string* out = static_cast<std::string*>(gif->UserData);
	out->append(reinterpret_cast<const char*>(data), length);
	return length;
}


std::string
MakeGIF(int screenWidth, int screenHeight, const std::vector<rgb_color>& palette,
	const std::vector<GIFFrame>& frames)
{
	std::string out;
	int error = 0;
	GifFileType* gif = EGifOpen(&out, gif_append, &error);
	EGifSetGifVersion(gif, true);

	int colorCount = 2;
	while (colorCount < (int)palette.size())
		colorCount *= 2;
	std::vector<GifColorType> colors(colorCount, GifColorType {0, 0, 0});
	for (size_t i = 0; i < palette.size(); i++)
		colors[i] = GifColorType {palette[i].red, palette[i].green, palette[i].blue};
	ColorMapObject* colorMap = GifMakeMapObject(colorCount, colors.data());
	EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, colorMap);

	static const int kStart[] = {0, 4, 2, 1};
	static const int kStep[] = {8, 8, 4, 2};
	for (const GIFFrame& frame : frames) {
		if (frame.transparentIndex >= 0) {
			GraphicsControlBlock control = {DISPOSAL_UNSPECIFIED, false, 0, frame.transparentIndex};
			GifByteType extension[4];
			EGifGCBToExtension(&control, extension);
			EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof(extension), extension);
		}
		EGifPutImageDesc(
			gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, NULL);
		int passes = frame.interlaced ? 4 : 1;
		for (int pass = 0; pass < passes; pass++) {
			int start = frame.interlaced ? kStart[pass] : 0;
			int step = frame.interlaced ? kStep[pass] : 1;
			for (int y = start; y < frame.height; y += step) {
				EGifPutLine(
					gif, const_cast<GifPixelType*>(&frame.indices[y * frame.width]), frame.width);
			}
		}
	}
	EGifCloseFile(gif, &error);
	GifFreeMapObject(colorMap);
	return out;
}


static uint32
crc32_of(const std::string& data)
{
	uint32 crc = 0xffffffff;
	for (unsigned char byte : data) {
		crc ^= byte;
		for (int bit = 0; bit < 8; bit++)
			crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
	}
	return ~crc;
}


static std::string
big_endian(uint32 value)
{
	std::string out;
	for (int shift = 24; shift >= 0; shift -= 8)
		out += (char)((value >> shift) & 0xff);
	return out;
}


std::string
MakePNGHeader(uint32 width, uint32 height)
{
	std::string chunk = "IHDR" + big_endian(width) + big_endian(height);
	chunk += std::string("\x08\x06\x00\x00\x00", 5);
	// An empty IDAT chunk, so that the reader gets past the header to the pixels.
	return std::string("\x89PNG\r\n\x1a\n", 8) + big_endian(13) + chunk
		+ big_endian(crc32_of(chunk)) + big_endian(0) + "IDAT" + big_endian(crc32_of("IDAT"));
}


status_t
Decode(const std::string& data, BBitmap** _bitmap)
{
	BMemoryIO source(data.data(), data.size());
	BBitmapStream stream;
	status_t status = BTranslatorRoster::Default()->Translate(
		&source, NULL, NULL, &stream, B_TRANSLATOR_BITMAP);
	if (status != B_OK)
		return status;
	return stream.DetachBitmap(_bitmap);
}


void
PrintTo(const rgb_color& color, std::ostream* stream)
{
	*stream << "rgba(" << (int)color.red << ", " << (int)color.green << ", " << (int)color.blue
			<< ", " << (int)color.alpha << ")";
}


rgb_color
PixelAt(const BBitmap* bitmap, int x, int y)
{
	const uint8* pixel
		= static_cast<const uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
	return make_color(pixel[2], pixel[1], pixel[0], pixel[3]);
}
