// The root of the framework's class tree: a virtual destructor, so that an
// object is deleted through a base pointer, and an optional run-time class
// record that names the class, links it to its base and, for classes that
// are created by name (documents, frames, views), makes new objects.
#pragma once

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();   // null unless dynamically creatable

    // A new object of the class, or null when it cannot be created by name.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
            if (c == base)
                return true;
        }
        return false;
    }
};

class CObject {
public:
    virtual ~CObject() = default;

    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr, nullptr};

#define RUNTIME_CLASS(name) (&name::class##name)

// In the class body: the class has a run-time class record.
#define DECLARE_DYNAMIC(name) \
public: \
    static const CRuntimeClass class##name; \
    const CRuntimeClass* GetRuntimeClass() const override;

// In the class body: the record can also create objects (default constructor).
#define DECLARE_DYNCREATE(name) \
    DECLARE_DYNAMIC(name) \
    static CObject* CreateObject();

// In one source file.
#define IMPLEMENT_DYNAMIC(name, base) \
    const CRuntimeClass name::class##name = {#name, RUNTIME_CLASS(base), nullptr}; \
    const CRuntimeClass* name::GetRuntimeClass() const { return &name::class##name; }

#define IMPLEMENT_DYNCREATE(name, base) \
    CObject* name::CreateObject() { return new name; } \
    const CRuntimeClass name::class##name = {#name, RUNTIME_CLASS(base), &name::CreateObject}; \
    const CRuntimeClass* name::GetRuntimeClass() const { return &name::class##name; }

// The pointer as the given class when the object is one, else null.
template <class T>
T* KfDowncast(const CRuntimeClass* c, CObject* object)
{
    return object && object->IsKindOf(c) ? static_cast<T*>(object) : nullptr;
}
#define DYNAMIC_DOWNCAST(name, object) KfDowncast<name>(RUNTIME_CLASS(name), (object))
#define STATIC_DOWNCAST(name, object) static_cast<name*>(object)
