// Placeholder until the codec lands: every file is refused with its id.
#include "Codecs.h"

void ReadPngFile(ByteView&, ImageRecord&) { Fail(kErrPng); }
void WritePngFile(const ImageRecord&, ByteSink&) { Fail(kErrPng); }
