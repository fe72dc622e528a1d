#pragma once

// A minimal stand-in for the framework's root class. CQueue derives from it and uses
// nothing of it; its diagnostic hooks do nothing.
class CObject {
  public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    virtual ~CObject() = default;

    virtual void AssertValid() const {}
    virtual void Dump() const {}
};
