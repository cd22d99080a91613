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

void ReadClpFile(ByteView& file, ImageRecord& record);
void WriteClpFile(const ImageRecord& record, ByteSink& out);

void ReadKptFile(ByteView& file, ImageRecord& record);
// Unpacks KPT run data into `out`; returns the bytes written.
size_t UnpackKptRuns(const uint8_t* data, size_t bytes, uint8_t* out, size_t capacity);

void ReadPcxFile(ByteView& file, ImageRecord& record);
void WritePcxFile(const ImageRecord& record, ByteSink& out);

void ReadTiffFile(ByteView& file, ImageRecord& record);
void WriteTiffFile(const ImageRecord& record, ByteSink& out);

void ReadWpgFile(ByteView& file, ImageRecord& record);
void WriteWpgFile(const ImageRecord& record, ByteSink& out);
