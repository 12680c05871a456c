// The part of IUnknown every object of the stand-in shares: one reference
// count for all of an object's interfaces, QueryInterface among them, a
// per-run label, and the registry of live objects of each kind that lets
// entry points tell their own objects from anything else a caller passes.
//
// An object is ComObject<Derived, FirstInterface, OtherInterfaces...>; its
// first interface is its canonical IUnknown. Derived provides kKind
// ("ddraw", for labels).
#pragma once

#include "ddraw/call.h"
#include "ddraw/object.h"

#include <d3d.h>

#include <algorithm>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qv::ddraw {

// An out argument on the trace: "NULL" when there is no place for the
// result, else "&" and what the call put there.
std::string OutText(const void* out, const std::string& createdLabel);
// The published name of an interface or device GUID, else its digits.
std::string GuidName(REFGUID guid);

// The published name and IID of each interface the stand-in implements.
template <class Interface>
struct InterfaceInfo;
#define QV_INTERFACE_INFO(Interface)                                \
    template <>                                                     \
    struct InterfaceInfo<Interface> {                               \
        static constexpr const char* kName = #Interface;            \
        static constexpr const GUID& kIid = IID_##Interface;        \
    }
QV_INTERFACE_INFO(IDirectDraw);
QV_INTERFACE_INFO(IDirectDrawSurface);
QV_INTERFACE_INFO(IDirect3D2);
QV_INTERFACE_INFO(IDirect3DDevice2);
QV_INTERFACE_INFO(IDirect3DViewport2);
QV_INTERFACE_INFO(IDirect3DMaterial2);
QV_INTERFACE_INFO(IDirect3DLight);
#undef QV_INTERFACE_INFO

// One interface of an object: its IUnknown methods run on the object, and
// their trace lines name the interface they were called through.
template <class Derived, class Interface>
class Facet : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) final {
        return Self().QueryFrom({InterfaceInfo<Interface>::kName, "QueryInterface"}, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() final { return Self().AddRefFrom({InterfaceInfo<Interface>::kName, "AddRef"}); }
    ULONG STDMETHODCALLTYPE Release() final {
        return Self().ReleaseFrom({InterfaceInfo<Interface>::kName, "Release"});
    }

protected:
    Facet() = default;
    ~Facet() = default;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

template <class Derived, class... Interfaces>
class ComObject : public Facet<Derived, Interfaces>..., public Object {
    using Canonical = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    template <class, class>
    friend class Facet;

public:
    // The live object of this kind a caller's pointer (to any of its
    // interfaces) refers to, or null for null, foreign pointers and objects
    // of other kinds. Released objects are found (they may still be held);
    // callers check Released().
    static Derived* Find(const void* candidate) {
        if (!candidate) return nullptr;
        for (ComObject* object : Live()) {
            if (object->Offers(candidate)) return static_cast<Derived*>(object);
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

    // The object as the interface a caller is handed.
    template <class Interface = Canonical>
    Interface* As() {
        return static_cast<Interface*>(this);
    }
    // The same with one more caller reference, for a call that hands it out
    // (null once released).
    template <class Interface = Canonical>
    Interface* NewReference() {
        return AddReference() ? As<Interface>() : nullptr;
    }

protected:
    ComObject() : Object(NextLabel()) { Live().push_back(this); }
    ~ComObject() override { Live().erase(std::find(Live().begin(), Live().end(), this)); }

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

    // A method this driver does not offer: DDERR_UNSUPPORTED, traced with
    // arguments(trace).
    template <class Arguments>
    HRESULT Unsupported(control::OperationId call, Arguments&& arguments) {
        return Call(
            call, [] { return Refuse(DDERR_UNSUPPORTED, "not offered by this driver"); },
            std::forward<Arguments>(arguments));
    }
    // The same for a method traced without its arguments, with its out
    // parameter (if any) emptied.
    template <class Out = void*>
    HRESULT Unsupported(control::OperationId call, Out* out = nullptr) {
        if (out) *out = nullptr;
        return Unsupported(call, [](control::CallTrace&) {});
    }

private:
    bool Offers(const void* candidate) {
        return ((static_cast<const void*>(static_cast<Interfaces*>(this)) == candidate) || ...);
    }
    // IUnknown gives the canonical interface; every interface of the object
    // gives itself, counted on the object's one count.
    Outcome Query(REFIID iid, void** out) {
        if (!out) return Refuse(E_POINTER, "no place for the interface");
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(As());
        } else if (!((iid == InterfaceInfo<Interfaces>::kIid && (*out = As<Interfaces>())) || ...)) {
            return Refuse(E_NOINTERFACE, "interface not offered");
        }
        AddReference();
        return Ok();
    }
    HRESULT QueryFrom(control::OperationId call, REFIID iid, void** out) {
        if (out) *out = nullptr;  // also when the call fails
        return Call(
            call, [&] { return Query(iid, out); },
            [&](control::CallTrace& trace) {
                trace.Arg(GuidName(iid)).Arg(OutText(out, out && *out ? Label() : ""));
            });
    }
    // AddRef and Release, which cannot fail: the trace shows the new count.
    ULONG AddRefFrom(control::OperationId call) { return Count(call, AddReference(), Label()); }
    ULONG ReleaseFrom(control::OperationId call) {
        if (!control::Tracing()) return ReleaseReference();
        std::string label = Label();  // the object may be gone afterwards
        return Count(call, ReleaseReference(), label);
    }
    ULONG Count(control::OperationId call, ULONG count, const std::string& label) {
        if (control::Tracing()) control::CallTrace(call).Arg(label).Result(std::to_string(count));
        return count;
    }

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
