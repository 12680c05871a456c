// Basic Windows types, sized as the platform defines them (LLP64 integers:
// DWORD and LONG are 32 bits, pointer-sized types follow the pointer).
#pragma once

#include <cstddef>
#include <cstdint>

// The platform's calls and COM methods are __stdcall on 32-bit Windows and
// use the one native convention everywhere else.
#if defined(_WIN32) && !defined(_WIN64)
#define WINAPI __stdcall
#define CALLBACK __stdcall
#define APIENTRY __stdcall
#define STDMETHODCALLTYPE __stdcall
#else
#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#endif

typedef int BOOL;
typedef BOOL* LPBOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef LONG* LPLONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef float FLOAT;
typedef WORD ATOM;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef char CHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef WORD* LPWORD;
typedef void* HANDLE;

#define DECLARE_HANDLE(name) \
    struct name##__ {        \
        int unused;          \
    };                       \
    typedef struct name##__* name

DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HDC);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;

#define FALSE 0
#define TRUE 1

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
typedef ULONG_PTR DWORD_PTR;
