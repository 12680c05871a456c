// The lifetime every object of the stand-in shares. Callers count their
// references with AddRef/Release; objects that use another hold it (Hold/
// Unhold) so it stays alive as long as they do. When the callers' count
// reaches zero the object is released: it refuses further calls, and it is
// freed once nothing holds it any more.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace qv::ddraw {

class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // A stable name for traces ("surface#1"), never a raw pointer.
    const std::string& Label() const { return label_; }
    // True once the callers gave up their last reference.
    bool Released() const { return references_ == 0; }

    void Hold() { ++holds_; }
    void Unhold() {
        if (--holds_ == 0 && Released()) delete this;
    }

protected:
    explicit Object(std::string label) : label_(std::move(label)) {}
    virtual ~Object() = default;

    ULONG AddReference() {
        if (Released()) return 0;  // a released object stays released
        return ++references_;
    }
    ULONG ReleaseReference() {
        if (Released()) return 0;
        if (--references_ > 0) return references_;
        Hold();  // what OnReleased lets go of may hold this object
        OnReleased();
        Unhold();
        return 0;
    }
    // The callers' last reference is gone; the object may still be held.
    virtual void OnReleased() {}

private:
    std::string label_;
    ULONG references_ = 1;
    ULONG holds_ = 0;
};

// One object's hold on another, given up when it goes.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* object) : object_(object) {
        if (object_) object_->Hold();
    }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { Reset(); }

    void Reset() {
        if (T* object = std::exchange(object_, nullptr)) object->Unhold();
    }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

}  // namespace qv::ddraw
