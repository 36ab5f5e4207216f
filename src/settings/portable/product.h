#pragma once
// Program-wide constant texts (cp932 once compiled).
namespace kestrin {

inline constexpr char ProductTitle[] = "Kestrin";
inline constexpr char ProductVersion[] = "1.56";
inline constexpr char ProductCopyright[] =
    "Copyright (C) 2025-2026 Kestrin Project\r\n無断転載を禁じます。";

}  // namespace kestrin
