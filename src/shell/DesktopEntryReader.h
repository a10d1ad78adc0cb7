// Reader of freedesktop desktop entries (.desktop files), this platform's
// shortcuts: the keys of the [Desktop Entry] group that a button takes over.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys of a desktop entry, in UTF-8 with the string escapes resolved;
// localised keys in the user's locale, else in Japanese, else in their plain form.
struct TDesktopEntry {
  std::string type;
  std::string name;
  std::string comment;
  std::string exec;
  std::string path;
  std::string icon;
  std::string url;
};

// The entry in bytes; nullopt when they are not a UTF-8 key file with a
// [Desktop Entry] group, or when the entry is Hidden or its TryExec program is
// not installed.
std::optional<TDesktopEntry> ReadDesktopEntry(std::string_view bytes);

// ReadDesktopEntry of the file at path (UTF-8); nullopt also when it cannot be read.
std::optional<TDesktopEntry> ReadDesktopEntryFile(const std::string& path);

// The arguments of an Exec value with its field codes (%f, %U, %i …) removed
// ("%%" is "%") and then its quoting resolved as the shell does; an argument
// that was only a field code is dropped. nullopt when a quote is not closed or
// the value holds a NUL.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec);

// Arguments joined into one command line: each holding a blank, a quote or
// nothing is put in double quotes (its quotes and backslashes escaped).
std::string JoinArguments(const std::vector<std::string>& args, std::size_t from);
