// NextViewport and NextLight walk an object's list: D3DNEXT_HEAD gives its
// first member, D3DNEXT_TAIL its last, D3DNEXT_NEXT the one after a member.
// What is found goes to the caller with a new reference.
#pragma once

#include "ddraw/call.h"
#include "ddraw/object.h"

#include <d3d.h>

#include <algorithm>
#include <vector>

namespace qv::ddraw {

// Finds the member, or refuses: notFound when there is none there,
// DDERR_INVALIDPARAMS for bad flags or a reference not in the list.
template <class T>
Outcome NextInList(const std::vector<Ref<T>>& list, const T* reference, DWORD flags, HRESULT notFound, T*& found) {
    found = nullptr;
    auto it = list.end();
    switch (flags) {
        case D3DNEXT_HEAD:
            it = list.begin();
            break;
        case D3DNEXT_TAIL:
            if (!list.empty()) it = list.end() - 1;
            break;
        case D3DNEXT_NEXT:
            it =
                std::find_if(list.begin(), list.end(), [&](const Ref<T>& member) { return member.Get() == reference; });
            if (it == list.end()) return Refuse(DDERR_INVALIDPARAMS, "the reference is not in the list");
            ++it;
            break;
        default:
            return Refuse(DDERR_INVALIDPARAMS, "one of D3DNEXT_NEXT, D3DNEXT_HEAD, D3DNEXT_TAIL");
    }
    if (it == list.end()) return Refuse(notFound, "no such member");
    found = it->Get();
    return Ok();
}

}  // namespace qv::ddraw
