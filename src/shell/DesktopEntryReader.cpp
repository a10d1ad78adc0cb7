#include "DesktopEntryReader.h"

#include <array>

#include "FileIO.h"
#include "FileUtils.h"
#include "IniText.h"

namespace {

constexpr std::size_t kMaxDesktopFile = 1 << 20;

// The string escapes of a value: \s \n \t \r \\ (others stay as written).
std::string Unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += value[i];
    }
  }
  return out;
}

// A localisable key: the plain value and the Japanese forms, best first.
struct TLocalised {
  std::array<std::optional<std::string>, 3> forms;  // ja_JP, ja, plain
  std::string Best() const {
    for (const auto& form : forms)
      if (form) return *form;
    return {};
  }
};

// Sets slot to value unless the key was seen before (the first one counts).
void Keep(std::optional<std::string>& slot, std::string_view value) {
  if (!slot) slot = Unescape(value);
}

// Which of the localised forms a locale suffix ("" for none) stands for; -1 for none.
int LocaleRank(std::string_view locale) {
  std::size_t at = locale.find_first_of(".@");
  if (at != std::string_view::npos) locale = locale.substr(0, at);
  if (locale == "ja_JP") return 0;
  if (locale == "ja") return 1;
  if (locale.empty()) return 2;
  return -1;
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || n > s.size() - i) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

}  // namespace

std::optional<TDesktopEntry> ReadDesktopEntry(std::string_view bytes) {
  if (!IsValidUtf8(bytes)) return std::nullopt;
  TLocalised name, comment;
  std::optional<std::string> type, exec, path, icon, url;
  bool inEntry = false, seenEntry = false;
  TMemorySource source(bytes);
  TLineReader lines(source);
  std::string_view line;
  while (lines.Next(line)) {
    std::string_view text = TrimBlanks(line);
    if (text.empty() || text.front() == '#') continue;
    if (text.front() == '[') {
      inEntry = text == "[Desktop Entry]" && !seenEntry;
      seenEntry = seenEntry || inEntry;
      continue;
    }
    if (!inEntry) continue;
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view key = TrimBlanks(text.substr(0, equals));
    std::string_view value = TrimBlanks(text.substr(equals + 1));
    std::string_view locale;
    if (std::size_t open = key.find('['); open != std::string_view::npos && key.back() == ']') {
      locale = key.substr(open + 1, key.size() - open - 2);
      key = key.substr(0, open);
      if (locale.empty()) continue;
    }
    int rank = LocaleRank(locale);
    if (key == "Name" && rank >= 0) {
      Keep(name.forms[static_cast<std::size_t>(rank)], value);
    } else if (key == "Comment" && rank >= 0) {
      Keep(comment.forms[static_cast<std::size_t>(rank)], value);
    } else if (!locale.empty()) {
      continue;
    } else if (key == "Type") {
      Keep(type, value);
    } else if (key == "Exec") {
      Keep(exec, value);
    } else if (key == "Path") {
      Keep(path, value);
    } else if (key == "Icon") {
      Keep(icon, value);
    } else if (key == "URL") {
      Keep(url, value);
    }
  }
  if (!seenEntry) return std::nullopt;
  return TDesktopEntry{type.value_or(""), name.Best(),       comment.Best(),  exec.value_or(""),
                       path.value_or(""), icon.value_or(""), url.value_or("")};
}

std::optional<TDesktopEntry> ReadDesktopEntryFile(const std::string& path) {
  auto bytes = ReadSmallFile(path, kMaxDesktopFile);
  if (!bytes) return std::nullopt;
  return ReadDesktopEntry(*bytes);
}

std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, onlyCodes = true, quoted = false;
  auto finish = [&] {
    if (inArg && !(onlyCodes && arg.empty())) args.push_back(arg);
    arg.clear();
    inArg = false;
    onlyCodes = true;
  };
  for (std::size_t i = 0; i < exec.size(); ++i) {
    char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size()) {
        arg += exec[++i];
      } else if (c == '%' && i + 1 < exec.size()) {
        if (exec[++i] == '%') arg += '%';
      } else {
        arg += c;
      }
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\n') {
      finish();
      continue;
    }
    inArg = true;
    if (c == '"') {
      quoted = true;
      onlyCodes = false;
    } else if (c == '%' && i + 1 < exec.size()) {
      if (exec[++i] == '%') {
        arg += '%';
        onlyCodes = false;
      }
    } else {
      arg += c;
      onlyCodes = false;
    }
  }
  if (quoted) return std::nullopt;
  finish();
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
