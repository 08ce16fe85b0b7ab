#pragma once
// The drive rule of the Linux build: the core speaks Windows paths ("C:\dir\file"), and on
// Linux drive C: is the root of the file system, so "C:\home\a" is "/home/a". No other drive
// exists there. Pure string logic, so the posix adapter and the command-line tool share it.
#include <string>
#include <string_view>

namespace orvan {

// "/home/a" -> "C:\home\a", "/" -> "C:\". Runs of '/' collapse to one delimiter. Gives ""
// for a path that is not absolute (callers make command-line paths absolute first).
std::string NativeToCorePath(std::string_view nativePath);

// "C:\home\a" (or "c:/home/a") -> "/home/a", "C:" and "C:\" -> "/". Gives "" for anything
// that cannot name a Linux file: another drive, a drive-relative "C:x", a UNC or relative
// path, or a path holding a zero character.
std::string CoreToNativePath(std::string_view corePath);

} // namespace orvan
