// Creating objects by class id: CoInitializeEx / CoUninitialize and CoCreateInstance over the
// platform's built-in components (the imaging factory today). Every component lives in the
// calling process, so only the in-process contexts find anything.
#pragma once

#include "platform/core/unknown.h"

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
constexpr DWORD COINIT_DISABLE_OLE1DDE = 0x4;
constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);

// S_OK for the thread's first call, S_FALSE for each further one; every successful call is
// matched by one CoUninitialize.
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
// Balances one CoInitializeEx; an unbalanced call does nothing.
void CoUninitialize();

// The object of class `clsid`, asked for `iid`. REGDB_E_CLASSNOTREG for a class that is not
// built in or a context without in-process servers; CLASS_E_NOAGGREGATION for an outer
// object; E_POINTER for a null `object`. The thread need not have called CoInitializeEx: the
// components keep no per-thread state.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** object);
