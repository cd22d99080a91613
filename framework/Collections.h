// The framework's small collections: growable arrays and doubly linked lists
// of pointers, objects' pointers, strings and numbers. Window-free; they hold
// what they are given and delete nothing (an array of object pointers does
// not own the objects).
#pragma once

#include "CObject.h"
#include "CString.h"

#include <algorithm>
#include <cstddef>
#include <vector>

// A place in a list: null before the first and after the last element.
struct KfListPosition;
typedef KfListPosition* POSITION;

template <class T>
class KfArray : public CObject {
public:
    KfArray() = default;

    int GetSize() const { return static_cast<int>(items_.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return items_.empty() ? TRUE : FALSE; }

    // New elements are value-initialised (null pointers, zero numbers).
    // The growth step is a hint only.
    void SetSize(int size, int growBy = -1)
    {
        (void)growBy;
        items_.resize(size > 0 ? static_cast<size_t>(size) : 0);
    }
    void FreeExtra() { items_.shrink_to_fit(); }
    void RemoveAll() { items_.clear(); }

    // Reads outside the array give a value-initialised element; writes
    // outside it are ignored, except SetAtGrow, which grows the array.
    T GetAt(int index) const { return Valid(index) ? items_[static_cast<size_t>(index)] : T(); }
    void SetAt(int index, const T& value)
    {
        if (Valid(index))
            items_[static_cast<size_t>(index)] = value;
    }
    void SetAtGrow(int index, const T& value)
    {
        if (index < 0)
            return;
        if (static_cast<size_t>(index) >= items_.size())
            items_.resize(static_cast<size_t>(index) + 1);
        items_[static_cast<size_t>(index)] = value;
    }
    T& ElementAt(int index)
    {
        if (Valid(index))
            return items_[static_cast<size_t>(index)];
        outside_ = T();
        return outside_;
    }
    T& operator[](int index) { return ElementAt(index); }
    T operator[](int index) const { return GetAt(index); }
    T* GetData() { return items_.empty() ? nullptr : items_.data(); }
    const T* GetData() const { return items_.empty() ? nullptr : items_.data(); }

    int Add(const T& value)
    {
        items_.push_back(value);
        return GetUpperBound();
    }
    int Append(const KfArray& other)
    {
        int first = GetSize();
        std::vector<T> copy(other.items_);   // safe when other is this array
        items_.insert(items_.end(), copy.begin(), copy.end());
        return first;
    }
    void Copy(const KfArray& other)
    {
        if (&other != this)
            items_ = other.items_;
    }
    // Inserting past the end first grows the array to the index.
    void InsertAt(int index, const T& value, int count = 1)
    {
        if (index < 0 || count <= 0)
            return;
        if (static_cast<size_t>(index) > items_.size())
            items_.resize(static_cast<size_t>(index));
        items_.insert(items_.begin() + index, static_cast<size_t>(count), value);
    }
    void RemoveAt(int index, int count = 1)
    {
        if (!Valid(index) || count <= 0)
            return;
        size_t last = std::min(items_.size(), static_cast<size_t>(index) + static_cast<size_t>(count));
        items_.erase(items_.begin() + index, items_.begin() + static_cast<std::ptrdiff_t>(last));
    }

private:
    bool Valid(int index) const { return index >= 0 && static_cast<size_t>(index) < items_.size(); }

    std::vector<T> items_;
    T outside_{};
};

typedef KfArray<void*> CPtrArray;
typedef KfArray<CObject*> CObArray;
typedef KfArray<CString> CStringArray;
typedef KfArray<UINT> CUIntArray;
typedef KfArray<DWORD> CDWordArray;
typedef KfArray<WORD> CWordArray;
typedef KfArray<BYTE> CByteArray;

template <class T>
class KfList : public CObject {
    struct Node {
        T value;
        Node* prev;
        Node* next;
    };

public:
    KfList() = default;
    KfList(const KfList&) = delete;
    KfList& operator=(const KfList&) = delete;
    ~KfList() override { RemoveAll(); }

    int GetCount() const { return count_; }
    int GetSize() const { return count_; }
    BOOL IsEmpty() const { return count_ == 0 ? TRUE : FALSE; }

    // The head and tail of an empty list are value-initialised elements.
    T GetHead() const { return head_ ? head_->value : T(); }
    T GetTail() const { return tail_ ? tail_->value : T(); }
    POSITION AddHead(const T& value) { return InsertBefore(GetHeadPosition(), value); }
    POSITION AddTail(const T& value) { return InsertAfter(GetTailPosition(), value); }
    void AddHead(const KfList& other)
    {
        for (Node* n = other.tail_; n; n = n->prev)
            AddHead(n->value);
    }
    void AddTail(const KfList& other)
    {
        for (Node* n = other.head_; n; n = n->next)
            AddTail(n->value);
    }
    T RemoveHead()
    {
        T value = GetHead();
        RemoveAt(GetHeadPosition());
        return value;
    }
    T RemoveTail()
    {
        T value = GetTail();
        RemoveAt(GetTailPosition());
        return value;
    }
    void RemoveAll()
    {
        while (head_) {
            Node* next = head_->next;
            delete head_;
            head_ = next;
        }
        tail_ = nullptr;
        count_ = 0;
    }

    POSITION GetHeadPosition() const { return ToPosition(head_); }
    POSITION GetTailPosition() const { return ToPosition(tail_); }
    // Return the element at position and move it to the next (previous) one.
    T GetNext(POSITION& position) const
    {
        Node* n = FromPosition(position);
        if (!n)
            return T();
        position = ToPosition(n->next);
        return n->value;
    }
    T GetPrev(POSITION& position) const
    {
        Node* n = FromPosition(position);
        if (!n)
            return T();
        position = ToPosition(n->prev);
        return n->value;
    }
    T GetAt(POSITION position) const
    {
        Node* n = FromPosition(position);
        return n ? n->value : T();
    }
    void SetAt(POSITION position, const T& value)
    {
        if (Node* n = FromPosition(position))
            n->value = value;
    }
    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, const T& value)
    {
        Node* at = FromPosition(position);
        if (!at)
            at = head_;
        Node* n = new Node{value, at ? at->prev : nullptr, at};
        if (at) {
            if (at->prev)
                at->prev->next = n;
            else
                head_ = n;
            at->prev = n;
        } else {
            head_ = tail_ = n;
        }
        ++count_;
        return ToPosition(n);
    }
    POSITION InsertAfter(POSITION position, const T& value)
    {
        Node* at = FromPosition(position);
        if (!at)
            at = tail_;
        Node* n = new Node{value, at, at ? at->next : nullptr};
        if (at) {
            if (at->next)
                at->next->prev = n;
            else
                tail_ = n;
            at->next = n;
        } else {
            head_ = tail_ = n;
        }
        ++count_;
        return ToPosition(n);
    }
    void RemoveAt(POSITION position)
    {
        Node* n = FromPosition(position);
        if (!n)
            return;
        (n->prev ? n->prev->next : head_) = n->next;
        (n->next ? n->next->prev : tail_) = n->prev;
        delete n;
        --count_;
    }
    POSITION Find(const T& value, POSITION startAfter = nullptr) const
    {
        Node* n = FromPosition(startAfter);
        for (n = n ? n->next : head_; n; n = n->next) {
            if (n->value == value)
                return ToPosition(n);
        }
        return nullptr;
    }
    POSITION FindIndex(int index) const
    {
        if (index < 0 || index >= count_)
            return nullptr;
        Node* n = head_;
        while (index-- > 0)
            n = n->next;
        return ToPosition(n);
    }

private:
    static POSITION ToPosition(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* FromPosition(POSITION p) { return reinterpret_cast<Node*>(p); }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    int count_ = 0;
};

typedef KfList<void*> CPtrList;
typedef KfList<CObject*> CObList;
typedef KfList<CString> CStringList;
