// GIO first: its headers must not meet Qt's keywords.
#include <gio/gio.h>

#include "FileTypes.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "FileUtils.h"
#include "IconTheme.h"
#include "ShiftJis.h"
#include "TextUtils.h"

namespace {

struct TGFree {
  void operator()(void* p) const { g_free(p); }
};
struct TGUnref {
  void operator()(void* p) const { g_object_unref(p); }
};
template <typename T>
using TGObject = std::unique_ptr<T, TGUnref>;
using TGString = std::unique_ptr<char, TGFree>;

constexpr const char* kFolderType = "inode/directory";

// The names of a GIO icon: a themed icon's names, a file icon's path.
std::vector<std::string> IconNames(GIcon* icon) {
  std::vector<std::string> names;
  if (icon == nullptr) return names;
  if (G_IS_THEMED_ICON(icon)) {
    for (const gchar* const* n = g_themed_icon_get_names(G_THEMED_ICON(icon)); n && *n; ++n)
      names.emplace_back(*n);
  } else if (G_IS_FILE_ICON(icon)) {
    TGString path(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
    if (path) names.emplace_back(path.get());
  }
  return names;
}

}  // namespace

bool HasExtensionIn(std::string_view path, std::string_view list) {
  std::size_t start = path.find_last_of("/\\");
  std::string_view name = start == std::string_view::npos ? path : path.substr(start + 1);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return false;
  return TextPos(name.substr(dot + 1), list, true) > 0;
}

std::string UpperExtensionOf(std::string_view path) {
  std::size_t start = path.find_last_of("/\\");
  std::string_view name = start == std::string_view::npos ? path : path.substr(start + 1);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return sjis::UpperCase(name.substr(dot + 1));
}

std::string ContentTypeOf(const std::string& path) {
  if (path.empty()) return {};
  TGObject<GFile> file(g_file_new_for_path(path.c_str()));
  TGObject<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                             G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
  if (info) {
    const char* type = g_file_info_get_content_type(info.get());
    if (type != nullptr) return type;
  }
  TGString guessed(g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
  return guessed ? guessed.get() : std::string();
}

namespace {

std::string TypeOfTarget(const std::string& path) {
  if (IsFolder(path)) return kFolderType;
  std::string type = ContentTypeOf(path);
  if (type.empty() || g_content_type_is_unknown(type.c_str())) return {};
  return type;
}

}  // namespace

bool FindAssociatedProgram(const std::string& path) {
  // The type is guessed from the name alone for a missing file; the program
  // search this stands for finds nothing for a file that is not there.
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  std::string type = TypeOfTarget(path);
  if (type.empty()) return false;
  TGObject<GAppInfo> app(g_app_info_get_default_for_type(type.c_str(), FALSE));
  return static_cast<bool>(app);
}

void GetAssociation(const std::string& path, std::string& iconFile, std::int32_t& iconIndex,
                    std::string& command) {
  command.clear();
  std::string type = TypeOfTarget(path);
  if (type.empty()) return;
  TGObject<GAppInfo> app(g_app_info_get_default_for_type(type.c_str(), FALSE));
  if (app) {
    const char* line = g_app_info_get_commandline(app.get());
    if (line != nullptr) command = sjis::FromUtf8(line).value_or(std::string());
  }
  std::string icon = ContentTypeIconName(type);
  if (auto bytes = sjis::FromUtf8(icon); bytes && !bytes->empty()) {
    iconFile = *bytes;
    iconIndex = 0;
  }
}

std::string ContentTypeIconName(const std::string& contentType) {
  if (contentType.empty()) return {};
  TGObject<GIcon> icon(g_content_type_get_icon(contentType.c_str()));
  std::vector<std::string> names = IconNames(icon.get());
  for (const std::string& name : names)
    if (name.starts_with('/') || HasThemeIcon(name)) return name;
  TGString generic(g_content_type_get_generic_icon_name(contentType.c_str()));
  if (generic) return generic.get();
  return names.empty() ? std::string() : names.front();
}
