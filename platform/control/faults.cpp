// Injected failures: the nth call of a named operation fails once.

#include "control/control.h"

#include <charconv>

namespace qv::control {
namespace {

struct Fault {
    std::string operation;
    unsigned nth;
    HRESULT code;
    unsigned calls = 0;
};

std::vector<Fault>& PendingFaults() {
    static std::vector<Fault> faults;
    return faults;
}

// Reads "OPERATION[:N]" into fault.
bool ReadFault(std::string_view text, Fault& fault, std::string& error) {
    std::string_view operation = text;
    unsigned nth = 1;
    std::size_t colon = text.rfind(':');
    bool partOfScope = colon != std::string_view::npos && colon > 0 && text[colon - 1] == ':';
    if (colon != std::string_view::npos && !partOfScope) {
        std::string_view count = text.substr(colon + 1);
        auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), nth);
        if (count.empty() || ec != std::errc{} || end != count.data() + count.size() || nth == 0) {
            error = "bad fault '" + std::string(text) + "': the count after ':' must be a positive number";
            return false;
        }
        operation = text.substr(0, colon);
    }
    if (operation.empty()) {
        error = "bad fault '" + std::string(text) + "': no operation named (expected OPERATION[:N])";
        return false;
    }
    fault = {std::string(operation), nth, S_OK};
    return true;
}

}  // namespace

void InjectFault(std::string operation, unsigned nth, HRESULT code) {
    if (nth == 0) nth = 1;
    PendingFaults().push_back({std::move(operation), nth, code});
}

void ClearFaults() { PendingFaults().clear(); }

bool ParseFault(std::string_view text, std::string& error) {
    Fault fault;
    if (!ReadFault(text, fault, error)) return false;
    PendingFaults().push_back(std::move(fault));
    return true;
}

bool ParseFaults(std::string_view list, std::string& error) {
    std::vector<Fault> parsed;
    while (true) {
        std::size_t semicolon = list.find(';');
        Fault fault;
        if (!ReadFault(list.substr(0, semicolon), fault, error)) return false;
        parsed.push_back(std::move(fault));
        if (semicolon == std::string_view::npos) break;
        list.remove_prefix(semicolon + 1);
    }
    for (Fault& fault : parsed) PendingFaults().push_back(std::move(fault));
    return true;
}

HRESULT TakeFault(std::string_view operation, HRESULT defaultCode) {
    std::vector<Fault>& faults = PendingFaults();
    for (auto fault = faults.begin(); fault != faults.end(); ++fault) {
        if (fault->operation != operation || ++fault->calls != fault->nth) continue;
        HRESULT code = fault->code != S_OK ? fault->code : defaultCode;
        if (code == S_OK) code = E_FAIL;
        // Every other fault for the same operation counts this call too.
        for (auto other = std::next(fault); other != faults.end(); ++other) {
            if (other->operation == operation) ++other->calls;
        }
        faults.erase(fault);
        return code;
    }
    return S_OK;
}

}  // namespace qv::control
