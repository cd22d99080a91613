// Placeholder until the codec lands: every file is refused with its id.
#include "Codecs.h"

void ReadGifFile(ByteView&, ImageRecord&) { Fail(kErrGif); }
void WriteGifFile(const ImageRecord&, ByteSink&) { Fail(kErrGif); }
void WriteGifFileInterlaced(const ImageRecord&, ByteSink&) { Fail(kErrGif); }
