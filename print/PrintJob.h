// The single-image print job: the current record enlarged by the scale,
// aligned on the page, tiled over as many pages as it needs and sent in
// bands the driver can take.
#pragma once

#include <windows.h>

#include <string>

#include "PrintState.h"

namespace pagent {

// Locks a global block for one scope.
class Locked {
public:
    explicit Locked(HGLOBAL block) : block_(block), data_(block ? ::GlobalLock(block) : nullptr) {}
    ~Locked()
    {
        if (data_)
            ::GlobalUnlock(block_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    template <class T> T* as() const { return static_cast<T*>(data_); }

private:
    HGLOBAL block_;
    void* data_;
};

// The job's own copy of a record's header block with a clean 40-byte header
// (grayscale and black and white rework its colour table); the caller's
// block is never written. 0 when it cannot be made.
HGLOBAL MakeJobHeader(const ImageRecord& record, int colorMode);
// Asks the driver for the copies; the number of times the pages must be
// sent so that they come out that often: a driver that cannot make copies,
// or writes back that it makes fewer, gets the pages again from us.
int AskForCopies(HDC dc, int copies);
// Sets the held device settings' orientation.
void SetOrientation(bool landscape);

// Image number 0 for a single image, 1 to count in a one-by-one run.
void PrintImageJob(int imageNumber);
// The spooler's failure at the end of a document as a message.
void ReportPrintError(int result);
// True when the current record can be printed: a depth the job knows,
// sane dimensions and blocks as large as the record says.
bool CurrentRecordIsPrintable();
bool RecordIsPrintable(const ImageRecord& record);

}  // namespace pagent
