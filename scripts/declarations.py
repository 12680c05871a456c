#!/usr/bin/env python3
"""Generators for check-declarations.sh.

  program INCLUDE_DIR
      Prints a C++ program that, built against our headers on the host, prints
      one fact per line: every integer constant, the float constant, every GUID
      and the size, alignment, field offsets and field sizes of every record.
  asserts FACTS [NAME...] [--longer-in-mingw RECORD[.FIELD]...]
      Prints a C++ file of static_asserts stating those facts, to be compiled
      against mingw-w64's headers.  The NAMEs are constants mingw-w64 does not
      declare; they are left out, and the file fails if mingw-w64 defines one
      of them as a macro after all.  The records (and fields) after
      --longer-in-mingw are ones mingw-w64 declares at a later DirectX level
      that appends fields: their size (and a field's offset) may only be as
      large as ours or larger there.
  guids FACTS PREPROCESSED [NAME...]
      Compares our GUIDs with the GUID initialisers in mingw-w64's headers as
      preprocessed with INITGUID, and prints the summary counts.
  order INCLUDE_DIR PREPROCESSED
      Compares the methods of every interface we declare, in order, with the
      members of mingw-w64's C vtable structure of that interface (IXxxVtbl
      in its headers preprocessed as C), and prints the number of methods.
  methods INCLUDE_DIR
      Prints a C++ file that, compiled against mingw-w64's headers, checks
      that each method of ours has the same type there: its pointer to member
      is spelled from our declaration (return type, calling convention and
      parameter types) and initialised from mingw-w64's method.
"""
import re
import sys
from pathlib import Path

HEADERS = ("windows.h", "ddraw.h", "d3d.h")

# Resource ids are pointers made with MAKEINTRESOURCEA; comparing them as the
# integer ids they carry needs only this redefinition after the headers.
RESOURCE_IDS_AS_INTEGERS = """\
#undef MAKEINTRESOURCEA
#define MAKEINTRESOURCEA(i) ((WORD)(i))
"""


def read_source(path):
    """Header text without comments, with continued lines joined."""
    text = path.read_text()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    return text.replace("\\\n", " ")


def constants(text):
    """Object-like macros with a value, then enumerators, in header order."""
    names = []
    for match in re.finditer(r"^\s*#\s*define\s+(\w+)(\(?)[ \t]*(\S*)", text, flags=re.M):
        name, function_like, value = match.groups()
        if not function_like and value and not value.startswith("__"):  # not calling conventions
            names.append(name)
    for body in re.findall(r"\benum\b\s*\w*\s*\{(.*?)\}", text, flags=re.S):
        names += [item.split("=")[0].strip() for item in body.split(",") if item.strip()]
    return names


def guids(text):
    return re.findall(r"^\s*DEFINE_GUID\s*\(\s*(\w+)", text, flags=re.M)


def records(text):
    """(typedef name, field names) of every `typedef struct`, anonymous union
    members included."""
    found = []
    for match in re.finditer(r"\btypedef\s+struct\s+\w*\s*\{", text):
        depth, end = 1, match.end()
        while depth:
            depth += {"{": 1, "}": -1}.get(text[end], 0)
            end += 1
        name = re.match(r"\s*(\w+)", text[end:]).group(1)
        body = re.sub(r"\bunion\s*\{|\}\s*;", " ", text[match.end():end - 1])
        fields = []
        for declaration in filter(str.strip, body.split(";")):
            for declarator in declaration.split(","):
                field = re.search(r"(\w+)\s*(\[[^\]]*\])?\s*$", declarator)
                if not field:
                    sys.exit(f"cannot read a field of {name}: {declaration.strip()}")
                fields.append(field.group(1))
        found.append((name, fields))
    return found


def program(include_dir):
    text = "".join(read_source(path) for path in sorted(Path(include_dir).glob("*.h")))
    lines = [f"#include <{header}>" for header in HEADERS]
    lines += ["#include <cstddef>", "#include <cstdint>", "#include <cstdio>", "#include <cstring>",
              "#include <type_traits>", "", RESOURCE_IDS_AS_INTEGERS, """\
template <typename T>
static void constant(const char* name, T value) {
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "constants are numbers");
    if constexpr (std::is_floating_point_v<T>) {
        const float single = static_cast<float>(value);
        uint32_t bits;
        std::memcpy(&bits, &single, sizeof bits);
        std::printf("float %s %u\\n", name, static_cast<unsigned>(bits));
    } else {
        std::printf("constant %s %lld\\n", name, static_cast<long long>(value));
    }
}

static void guid(const char* name, const GUID& g) {
    std::printf("guid %s %u %u %u", name, static_cast<unsigned>(g.Data1), g.Data2, g.Data3);
    for (BYTE b : g.Data4) std::printf(" %u", b);
    std::printf("\\n");
}

#define RECORD(T) std::printf("record %s %zu %zu\\n", #T, sizeof(T), alignof(T))
#define FIELD(T, f) std::printf("field %s %s %zu %zu\\n", #T, #f, offsetof(T, f), sizeof(T::f))

int main() {"""]
    lines += [f'    constant("{name}", {name});' for name in constants(text)]
    lines += [f'    guid("{name}", {name});' for name in guids(text)]
    for name, fields in records(text):
        lines.append(f"    RECORD({name});")
        lines += [f"    FIELD({name}, {field});" for field in fields]
    lines += ["}"]
    return "\n".join(lines)


def read_facts(path):
    return [line.split() for line in Path(path).read_text().splitlines()]


def asserts(facts_path, not_in_mingw, longer_in_mingw):
    lines = [f"#include <{header}>" for header in HEADERS]
    lines += ["#include <cfloat>", "#include <cmath>", "#include <cstddef>", "", RESOURCE_IDS_AS_INTEGERS]
    for kind, *fact in read_facts(facts_path):
        if kind in ("constant", "float") and fact[0] in not_in_mingw:
            lines += [f"#ifdef {fact[0]}", f'#error "mingw-w64 defines {fact[0]}: take it off the allow-list"',
                      "#endif"]
        elif kind == "constant":
            name, value = fact
            lines.append(f'static_assert((long long)({name}) == {value}LL, "{name} is {value} in our headers");')
        elif kind == "float":
            name, bits = fact
            lines.append(f"static_assert(__builtin_bit_cast(unsigned, (float)({name})) == {bits}u, "
                         f'"{name} has bit pattern {int(bits):#010x} in our headers");')
        elif kind == "record":
            name, size, align = fact
            same = ">=" if name in longer_in_mingw else "=="
            lines.append(f'static_assert(sizeof({name}) {same} {size}, "sizeof({name}) is {size} in our headers");')
            lines.append(f'static_assert(alignof({name}) == {align}, "alignof({name}) is {align} in our headers");')
        elif kind == "field":
            record, field, offset, size = fact
            same = ">=" if f"{record}.{field}" in longer_in_mingw else "=="
            lines.append(f"static_assert(offsetof({record}, {field}) {same} {offset}, "
                         f'"offsetof({record}, {field}) is {offset} in our headers");')
            lines.append(f"static_assert(sizeof({record}::{field}) {same} {size}, "
                         f'"sizeof({record}::{field}) is {size} in our headers");')
    return "\n".join(lines)


def mingw_guid(preprocessed, name):
    """The eleven numbers of NAME's initialiser, or None if it has none."""
    match = re.search(rf"\b{name}\s*=\s*\{{([^;]*)\}}\s*;", preprocessed)
    if not match:
        return None
    numbers = re.findall(r"\b(0[xX][0-9a-fA-F]+|\d+)", match.group(1))
    return [str(int(n, 16) if n[1:2] in "xX" else int(n, 10)) for n in numbers]


def registry_form(numbers):
    data1, data2, data3, *data4 = (int(n) for n in numbers)
    tail = "".join(f"{b:02X}" for b in data4)
    return f"{{{data1:08X}-{data2:04X}-{data3:04X}-{tail[:4]}-{tail[4:]}}}"


def compare_guids(facts_path, preprocessed_path, not_in_mingw):
    facts = read_facts(facts_path)
    preprocessed = Path(preprocessed_path).read_text()
    problems = []
    for kind, name, *ours in facts:
        if kind != "guid":
            continue
        theirs = mingw_guid(preprocessed, name)
        if theirs is None:
            problems.append(f"{name}: mingw-w64 defines no value for it")
        elif theirs != ours:
            problems.append(f"{name}: ours is {registry_form(ours)}, mingw-w64's is {registry_form(theirs)}")
    for problem in problems:
        print(f"declarations check: GUID mismatch: {problem}", file=sys.stderr)
    checked = [fact[0] for fact in facts if fact[1] not in not_in_mingw]
    constants_checked = checked.count("constant") + checked.count("float")
    print(f"{constants_checked} constants, {checked.count('guid')} GUIDs, {checked.count('record')} records")
    return 1 if problems else 0


def interfaces(text):
    """(name, base or None, [(return type, method, [parameter types])]) of
    every interface, its methods in declaration order."""
    found = []
    for match in re.finditer(r"^struct\s+(\w+)\s*(?::\s*(\w+)\s*)?\{(.*?)^\};", text, flags=re.M | re.S):
        name, base, body = match.groups()
        methods = []
        for returned, method, parameters in re.findall(
                r"virtual\s+(\w+)\s+STDMETHODCALLTYPE\s+(\w+)\s*\(([^)]*)\)\s*=\s*0\s*;", body):
            types = []
            for parameter in filter(str.strip, parameters.split(",")):
                named = re.match(r"^\s*(.*?[\w*&])\s*\b\w+\s*$", parameter)
                if not named or not re.search(r"\w", named.group(1)):
                    sys.exit(f"cannot read a parameter of {name}::{method}: {parameter.strip()}")
                types.append(" ".join(named.group(1).split()))
            methods.append((returned, method, types))
        if methods:
            found.append((name, base, methods))
    return found


def our_interfaces(include_dir):
    text = "".join(read_source(path) for path in sorted(Path(include_dir).glob("*.h")))
    return interfaces(text)


def vtable_order(include_dir, preprocessed_path):
    preprocessed = Path(preprocessed_path).read_text()
    declared = {name: (base, methods) for name, base, methods in our_interfaces(include_dir)}

    def ours(name):
        base, methods = declared[name]
        return (ours(base) if base else []) + [method for _, method, _ in methods]

    problems, count = [], 0
    for name in declared:
        vtable = re.search(rf"\bstruct\s+{name}Vtbl\s*\{{(.*?)\}}\s*;", preprocessed, flags=re.S)
        if not vtable:
            problems.append(f"{name}: mingw-w64 declares no {name}Vtbl")
            continue
        theirs = re.findall(r"\(\s*[\w\s]*\*\s*(\w+)\s*\)\s*\(", vtable.group(1))
        mine = ours(name)
        count += len(mine)
        if mine != theirs:
            slot = next((i for i, (a, b) in enumerate(zip(mine, theirs)) if a != b), min(len(mine), len(theirs)))
            problems.append(f"{name}: slot {slot} is {(mine + ['nothing'])[slot]} in ours, "
                            f"{(theirs + ['nothing'])[slot]} in mingw-w64's")
    for problem in problems:
        print(f"declarations check: vtable order: {problem}", file=sys.stderr)
    print(f"{count} methods of {len(declared)} interfaces in order")
    return 1 if problems else 0


def method_types(include_dir):
    lines = [f"#include <{header}>" for header in HEADERS] + [""]
    for name, _, methods in our_interfaces(include_dir):
        for returned, method, types in methods:
            pointer = f"{returned} (STDMETHODCALLTYPE {name}::*{name}_{method})({', '.join(types)})"
            lines.append(f"[[maybe_unused]] static constexpr {pointer} = &{name}::{method};")
    return "\n".join(lines)


def main(args):
    if args[:1] == ["program"] and len(args) == 2:
        print(program(args[1]))
    elif args[:1] == ["asserts"] and len(args) >= 2:
        names = args[2:] + ["--longer-in-mingw"]
        split = names.index("--longer-in-mingw")
        print(asserts(args[1], set(names[:split]), set(names[split + 1:-1])))
    elif args[:1] == ["guids"] and len(args) >= 3:
        return compare_guids(args[1], args[2], set(args[3:]))
    elif args[:1] == ["order"] and len(args) == 3:
        return vtable_order(args[1], args[2])
    elif args[:1] == ["methods"] and len(args) == 2:
        print(method_types(args[1]))
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
