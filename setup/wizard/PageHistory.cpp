#include "PageHistory.h"

void PageHistory::Reset(int page)
{
    count_ = 0;
    Push(page);
}

void PageHistory::Push(int page)
{
    if (count_ && pages_[count_ - 1] == page)
        return;
    if (count_ == kCapacity) {
        for (int i = 1; i < kCapacity; ++i)
            pages_[i - 1] = pages_[i];
        --count_;
    }
    pages_[count_++] = page;
}

int PageHistory::Pop()
{
    if (count_ < 2)
        return -1;   // the first page has no page before it
    --count_;
    return Top();
}
