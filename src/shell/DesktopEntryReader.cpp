// Entries are read through GLib's key file so that the locale, Hidden/NoDisplay
// and TryExec follow the desktop's own rules.
#include <glib.h>

#include "DesktopEntryReader.h"

#include "FileUtils.h"

namespace {

constexpr std::size_t kMaxDesktopFile = 1 << 20;
constexpr const char* kGroup = G_KEY_FILE_DESKTOP_GROUP;
// The data file is read in Japanese: its forms stand in when the user's locale has none.
constexpr const char* kJapanese = "ja_JP.UTF-8";

// A string GLib hands over, copied and freed; "" for none.
std::string Take(gchar* owned) {
  g_autofree gchar* text = owned;
  return text != nullptr ? std::string(text) : std::string();
}

std::string StringOf(GKeyFile* file, const char* key) {
  return Take(g_key_file_get_string(file, kGroup, key, nullptr));
}

// A localised key in the user's locale, else in Japanese, else its plain value.
std::string LocalisedOf(GKeyFile* file, const char* key) {
  g_autofree gchar* users = g_key_file_get_locale_for_key(file, kGroup, key, nullptr);
  return Take(
      g_key_file_get_locale_string(file, kGroup, key, users ? nullptr : kJapanese, nullptr));
}

// Hidden means deleted, and a TryExec program that is not installed means the
// application is not: either way the desktop acts as if there were no entry.
// NoDisplay only keeps an entry out of menus; it is still launched, so read.
bool IsAbsent(GKeyFile* file) {
  if (g_key_file_get_boolean(file, kGroup, G_KEY_FILE_DESKTOP_KEY_HIDDEN, nullptr)) return true;
  std::string tryExec = StringOf(file, G_KEY_FILE_DESKTOP_KEY_TRY_EXEC);
  if (tryExec.empty()) return false;
  g_autofree gchar* program = g_find_program_in_path(tryExec.c_str());
  return program == nullptr;
}

}  // namespace

std::optional<TDesktopEntry> ReadDesktopEntry(std::string_view bytes) {
  // GLib checks values only as they are read; a file that is not UTF-8 as a whole is refused.
  if (!g_utf8_validate_len(bytes.data(), bytes.size(), nullptr)) return std::nullopt;
  g_autoptr(GKeyFile) file = g_key_file_new();
  // Every translation is kept: the Japanese ones are wanted whatever the locale.
  if (!g_key_file_load_from_data(file, bytes.data(), bytes.size(), G_KEY_FILE_KEEP_TRANSLATIONS,
                                 nullptr) ||
      !g_key_file_has_group(file, kGroup) || IsAbsent(file))
    return std::nullopt;
  return TDesktopEntry{StringOf(file, G_KEY_FILE_DESKTOP_KEY_TYPE),
                       LocalisedOf(file, G_KEY_FILE_DESKTOP_KEY_NAME),
                       LocalisedOf(file, G_KEY_FILE_DESKTOP_KEY_COMMENT),
                       StringOf(file, G_KEY_FILE_DESKTOP_KEY_EXEC),
                       StringOf(file, G_KEY_FILE_DESKTOP_KEY_PATH),
                       StringOf(file, G_KEY_FILE_DESKTOP_KEY_ICON),
                       StringOf(file, G_KEY_FILE_DESKTOP_KEY_URL)};
}

std::optional<TDesktopEntry> ReadDesktopEntryFile(const std::string& path) {
  // Read here rather than by GLib: the size is bounded and a pipe is never waited on.
  auto bytes = ReadSmallFile(path, kMaxDesktopFile);
  if (!bytes) return std::nullopt;
  return ReadDesktopEntry(*bytes);
}

std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
  if (exec.find('\0') != std::string_view::npos) return std::nullopt;
  // Field codes go before the quoting is resolved, as the desktop expands them.
  std::string line;
  line.reserve(exec.size());
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] != '%' || i + 1 == exec.size()) {
      line += exec[i];
    } else if (exec[++i] == '%') {
      line += '%';
    }
  }
  std::vector<std::string> args;
  g_auto(GStrv) argv = nullptr;
  g_autoptr(GError) error = nullptr;
  if (!g_shell_parse_argv(line.c_str(), nullptr, &argv, &error))
    return g_error_matches(error, G_SHELL_ERROR, G_SHELL_ERROR_EMPTY_STRING) ? std::optional(args)
                                                                             : std::nullopt;
  for (gchar** arg = argv; *arg != nullptr; ++arg)
    args.emplace_back(*arg);
  return args;
}

std::string JoinArguments(const std::vector<std::string>& args, std::size_t from) {
  std::string out;
  for (std::size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!out.empty()) out += ' ';
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
      out += arg;
      continue;
    }
    out += '"';
    for (char c : arg) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  }
  return out;
}
