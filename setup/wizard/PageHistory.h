// The pages the wizard went through, for its Back button. Window-free.
#pragma once

class PageHistory {
public:
    static constexpr int kCapacity = 21;

    void Reset(int page);
    // Adds the page unless it is on top already. A full history forgets its
    // oldest page (the Back road keeps the latest steps).
    void Push(int page);
    // Drops the top page and answers the one now on top; the first page
    // stays (-1).
    int Pop();
    int Top() const { return count_ ? pages_[count_ - 1] : -1; }
    int Count() const { return count_; }

private:
    int pages_[kCapacity] = {};
    int count_ = 0;
};
