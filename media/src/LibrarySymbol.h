#pragma once
// The sound library and the MPEG audio decoder are opened at run time, so the
// suite still starts where either is missing; this takes one function out of
// such a library by name.

#include <dlfcn.h>

template <typename Function>
bool LookUpSymbol(void* module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(module, name));
    return function != nullptr;
}
