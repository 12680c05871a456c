// Injected failures: the nth call of a registered operation fails once.

#include "control/control.h"
#include "control/operations.h"

#include <charconv>

namespace qv::control {
namespace {

struct Fault {
    std::size_t operation;  // index in kOperations
    unsigned nth;
    HRESULT code;
    unsigned calls = 0;
};

bool (*carriedOperation)(std::string_view) = nullptr;

std::vector<Fault>& PendingFaults() {
    static std::vector<Fault> faults;
    return faults;
}

// The index of an operation that can be made to fail, or says why not.
bool FaultableOperation(std::string_view name, std::size_t& index, std::string& error) {
    const Operation* operation = FindOperation(name);
    if (operation && carriedOperation && !carriedOperation(name)) {
        error = "'" + std::string(name) + "' does not pass through this build's stand-in";
        return false;
    }
    if (operation && operation->fault != S_OK) {
        index = static_cast<std::size_t>(operation - kOperations);
        return true;
    }
    error = "'" + std::string(name) + "' ";
    if (operation) {
        error += "cannot fail";
        return false;
    }
    error += "is no operation of the platform";
    std::vector<std::string_view> nearest = NearestOperations(name);
    for (std::size_t i = 0; i < nearest.size(); ++i) {
        error += i == 0 ? "; did you mean " : i + 1 == nearest.size() ? " or " : ", ";
        error += nearest[i];
    }
    error += nearest.empty() ? " (quorvane-capture --fail list names them all)" : "?";
    return false;
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
    std::string why;
    if (!FaultableOperation(operation, fault.operation, why)) {
        error = "bad fault '" + std::string(text) + "': " + why;
        return false;
    }
    fault.nth = nth;
    fault.code = S_OK;
    return true;
}

// Reads "OPERATION[:N];OPERATION[:N]..." into faults.
bool ReadFaults(std::string_view list, std::vector<Fault>& faults, std::string& error) {
    while (true) {
        std::size_t semicolon = list.find(';');
        Fault fault;
        if (!ReadFault(list.substr(0, semicolon), fault, error)) return false;
        faults.push_back(fault);
        if (semicolon == std::string_view::npos) return true;
        list.remove_prefix(semicolon + 1);
    }
}

}  // namespace

void CarryOnly(bool (*carried)(std::string_view operation)) { carriedOperation = carried; }

bool InjectFault(std::string_view operation, unsigned nth, HRESULT code) {
    std::size_t index;
    std::string error;
    if (!FaultableOperation(operation, index, error)) return false;
    PendingFaults().push_back({index, nth == 0 ? 1 : nth, code});
    return true;
}

void ClearFaults() { PendingFaults().clear(); }

bool ParseFault(std::string_view text, std::string& error) {
    Fault fault;
    if (!ReadFault(text, fault, error)) return false;
    PendingFaults().push_back(fault);
    return true;
}

bool CheckFaults(std::string_view list, std::string& error) {
    std::vector<Fault> parsed;
    return ReadFaults(list, parsed, error);
}

bool ParseFaults(std::string_view list, std::string& error) {
    std::vector<Fault> parsed;
    if (!ReadFaults(list, parsed, error)) return false;
    PendingFaults().insert(PendingFaults().end(), parsed.begin(), parsed.end());
    return true;
}

HRESULT TakeFault(OperationId operation) {
    std::vector<Fault>& faults = PendingFaults();
    std::size_t index = operation.Index();
    for (auto fault = faults.begin(); fault != faults.end(); ++fault) {
        if (fault->operation != index || ++fault->calls != fault->nth) continue;
        HRESULT code = fault->code != S_OK ? fault->code : operation->fault;
        // Every other fault for the same operation counts this call too.
        for (auto other = std::next(fault); other != faults.end(); ++other) {
            if (other->operation == index) ++other->calls;
        }
        faults.erase(fault);
        return code;
    }
    return S_OK;
}

std::string FaultList() {
    std::string list;
    for (const Operation& operation : kOperations) {
        if (operation.fault == S_OK) continue;
        list += std::string(operation.name) + " " + std::string(operation.failure) + "\n";
    }
    return list;
}

}  // namespace qv::control
