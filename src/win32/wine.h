#pragma once
// The one place where the program asks whether it runs under Wine. On
// Windows it does what Windows documents; where Wine must be met otherwise,
// the code asks here (docs/wine.md lists each place and why).
namespace kestrin {

// True under Wine: its ntdll exports wine_get_version, which Windows' lacks.
bool RunningUnderWine() noexcept;

}  // namespace kestrin
