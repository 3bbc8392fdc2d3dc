#pragma once
// What the window does not need before it is first on screen (the sound
// devices, the local socket a second start knocks on, the backup archives,
// the dictionary's analyser) is built into a module of its own, with the
// libraries it pulls in: loading those with the program would hold every
// start up by several milliseconds. The module is loaded at the first use
// of one of its functions, or as soon as the window has been painted.
//
// Each function is known by a name. Where the code of a function is linked
// into the program itself (the tests), it is registered at start and no
// module is loaded.

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

namespace kel {

inline constexpr const char *kLateModuleFile = "libkelvoran-late.so";
// Said in the window when the module cannot be loaded: the program then
// runs without sound, kanji readings or backups.
inline constexpr const char *kLateModuleMissing =
    "音を出す部品（libkelvoran-late.so）が見つかりません。音が出ません。Kelvoran を入れ直してください。";

// The function `name`, the module loaded first if need be; null when
// neither the program nor the module has it (the reason, once, on stderr).
// Safe from any thread.
QFunctionPointer lateFunctionPointer(const char *name);

template <typename F>
F lateFunction(const char *name)
{
    return reinterpret_cast<F>(lateFunctionPointer(name));
}

// Loads the module now, if it is not yet loaded: true when its functions
// are there.
bool loadLateModule();

// The places the module is looked for, in order: installed beside the
// program's libraries, beside the program (the build folder), and where the
// package puts it.
QStringList lateModulePaths();

// Registers a function under `name`: at start-up, from the files that
// carry the functions.
bool addLateFunction(const char *name, QFunctionPointer function);

// The module's side: hands every function it registered to `add`.
using AddLateFunction = bool (*)(const char *name, QFunctionPointer function);
void handOverLateFunctions(AddLateFunction add);

} // namespace kel

// Registers `function` under the name `name` when the program (or the
// module) starts. `Type` is the pointer type its callers ask for with
// lateFunction<Type>: a function of another signature does not compile.
#define KEL_LATE_FUNCTION(name, Type, function)                                                                   \
    static const bool kel_late_registered_##name =                                                               \
        kel::addLateFunction(#name, reinterpret_cast<QFunctionPointer>(static_cast<Type>(function)))
