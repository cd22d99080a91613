// The root of the framework's class tree: a virtual destructor, so that an
// object is deleted through a base pointer.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
};
