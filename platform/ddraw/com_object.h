// The part of IUnknown every object of the stand-in shares: reference
// counting, QueryInterface for IUnknown and the object's own interface, a
// per-run label, and the registry of live objects of each kind that lets
// entry points tell their own objects from anything else a caller passes.
//
// Derived provides kInterface ("IDirectDraw"), kKind ("ddraw", for labels)
// and kIid; it may provide QueryOther for further interfaces.
#pragma once

#include "ddraw/call.h"
#include "ddraw/object.h"

#include <d3d.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace qv::ddraw {

// An out argument on the trace: "NULL" when there is no place for the
// result, else "&" and what the call put there.
std::string OutText(const void* out, const std::string& createdLabel);
// The published name of an interface or device GUID, else its digits.
std::string GuidName(REFGUID guid);

template <class Derived, class Interface>
class ComObject : public Interface, public Object {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out) *out = nullptr;  // also when the call fails
        std::string found;
        return Call(
            {Derived::kInterface, "QueryInterface"},
            [&] {
                if (!out) return Refuse(E_POINTER, "no place for the interface");
                if (iid == IID_IUnknown || iid == Derived::kIid) {
                    AddReference();
                    *out = static_cast<Interface*>(this);
                    found = Label();
                    return Ok();
                }
                return static_cast<Derived*>(this)->QueryOther(iid, out, found);
            },
            [&](control::CallTrace& trace) { trace.Arg(GuidName(iid)).Arg(OutText(out, found)); });
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Count({Derived::kInterface, "AddRef"}, AddReference()); }
    ULONG STDMETHODCALLTYPE Release() override {
        if (!control::Tracing()) return ReleaseReference();
        std::string label = Label();  // the object may be gone afterwards
        return Count({Derived::kInterface, "Release"}, ReleaseReference(), label);
    }

    // The live object of this kind a caller's pointer refers to, or null for
    // null, foreign pointers and objects of other kinds. Released objects
    // are found (they may still be held); callers check Released().
    static Derived* Find(const void* candidate) {
        if (!candidate) return nullptr;
        for (ComObject* object : Live()) {
            if (static_cast<const Interface*>(object) == candidate) return static_cast<Derived*>(object);
        }
        return nullptr;
    }
    // The label of what a caller passed: "NULL", the object's label, or
    // "unknown object".
    static std::string LabelOf(const void* candidate) {
        if (!candidate) return "NULL";
        Derived* object = Find(candidate);
        return object ? object->Label() : "unknown object";
    }
    template <class Visit>
    static void ForEach(Visit&& visit) {
        for (ComObject* object : Live()) visit(*static_cast<Derived*>(object));
    }

    Interface* Published() { return this; }
    // The object's interface with one more caller reference, for a call that
    // hands it out (null once released).
    Interface* NewReference() { return AddReference() ? this : nullptr; }

protected:
    ComObject() : Object(NextLabel()) { Live().push_back(this); }
    ~ComObject() override { Live().erase(std::find(Live().begin(), Live().end(), this)); }

    // No interfaces beyond IUnknown and the object's own.
    Outcome QueryOther(REFIID, void**, std::string&) { return Refuse(E_NOINTERFACE, "interface not offered"); }

    // Runs one of the object's calls: a released object refuses every call,
    // and the trace names the object first.
    template <class Operation, class Arguments>
    HRESULT Call(control::OperationId call, Operation&& operation, Arguments&& arguments) {
        return RunCall(
            call,
            [&] { return Released() ? Refuse(DDERR_INVALIDOBJECT, "the object was released") : operation(); },
            [&](control::CallTrace& trace) {
                trace.Arg(Label());
                arguments(trace);
            });
    }

    // A method the stand-in does not offer: DDERR_UNSUPPORTED, traced.
    template <class Arguments>
    HRESULT Unsupported(control::OperationId call, Arguments&& arguments) {
        return Call(
            call, [] { return Refuse(DDERR_UNSUPPORTED, "not offered"); }, std::forward<Arguments>(arguments));
    }

private:
    static std::vector<ComObject*>& Live() {
        static std::vector<ComObject*> live;
        return live;
    }
    // The lowest number no live object of this kind has, so that a run's
    // labels depend only on its calls.
    static std::string NextLabel() {
        for (unsigned number = 1;; ++number) {
            std::string label = std::string(Derived::kKind) + "#" + std::to_string(number);
            bool taken = std::any_of(Live().begin(), Live().end(),
                                     [&](const ComObject* object) { return object->Label() == label; });
            if (!taken) return label;
        }
    }
    // AddRef and Release, which cannot fail: the trace shows the new count.
    ULONG Count(control::OperationId call, ULONG count, const std::string& label) {
        if (control::Tracing()) control::CallTrace(call).Arg(label).Result(std::to_string(count));
        return count;
    }
    ULONG Count(control::OperationId call, ULONG count) { return Count(call, count, Label()); }
};

}  // namespace qv::ddraw

namespace qv::ddraw {

// An all-zero record whose dwSize holds its size.
template <class Record>
Record SizedRecord() {
    Record record{};
    record.dwSize = sizeof record;
    return record;
}

// A new object, or null when there is no memory for it (nothing a caller
// does may throw out of the platform's calls).
template <class T, class... Arguments>
T* Make(Arguments&&... arguments) {
    try {
        return new T(std::forward<Arguments>(arguments)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace qv::ddraw
