// The readers and writers of the format library. A reader fills the record
// from a file held in memory; a writer sends the record's image to a sink.
// Both abandon bad input by throwing CodecFailure (ByteView.h); the frame
// turns that into the record's error id and frees what the reader allocated.
#pragma once

#include "ByteSink.h"
#include "ByteView.h"
#include "Pictova.h"

using ImageReader = void (*)(ByteView& file, ImageRecord& record);
using ImageWriter = void (*)(const ImageRecord& record, ByteSink& out);

void ReadBmpFile(ByteView& file, ImageRecord& record);
void WriteBmpFile(const ImageRecord& record, ByteSink& out);

void ReadGifFile(ByteView& file, ImageRecord& record);
void WriteGifFile(const ImageRecord& record, ByteSink& out);
void WriteGifFileInterlaced(const ImageRecord& record, ByteSink& out);

void ReadJpegFile(ByteView& file, ImageRecord& record);
void WriteJpegFile(const ImageRecord& record, ByteSink& out);

void ReadPngFile(ByteView& file, ImageRecord& record);
void WritePngFile(const ImageRecord& record, ByteSink& out);
