#pragma once

// The program's version record, in one place: main() hands it to Qt, the
// help and about boxes take their title from it, and the package build
// (cmake/Packaging.cmake) reads kVersion from this file, so the about box and
// the .deb cannot drift apart.
namespace platform::version {

inline constexpr char kApplicationName[] = "Tavisk";
inline constexpr char kVersion[] = "1.00.0010";
// Also the title of the help and about boxes.
inline constexpr char kProductName[] = "Tavisk Ver1.0";
// The name of the installed desktop entry (tavisk.desktop) and of the icon in
// the hicolor theme.
inline constexpr char kDesktopId[] = "tavisk";

} // namespace platform::version
