// File types: the extension test of the classification, and the MIME type of a
// file with its default application and icon, as the desktop registers them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// True when path (a UTF-8 path, or record bytes) has an extension and that
// extension, without its dot, occurs anywhere in list (such as ".EXE.COM"),
// letter case ignored. A plain substring test: "EX" is found in ".EXE".
bool HasExtensionIn(std::string_view path, std::string_view list);

// The extension of the last component of path (a UTF-8 path, or record bytes)
// without its dot, upper-cased; empty when it has none (a leading dot alone,
// as in ".lnk", makes no extension).
std::string UpperExtensionOf(std::string_view path);

// The MIME type of a file-system path (UTF-8): from the file's name and content
// when it exists, from its name alone when it does not.
std::string ContentTypeOf(const std::string& path);

// True when path (UTF-8) exists and the desktop has a default application for
// its type. A type the desktop does not know (application/octet-stream) has none.
bool FindAssociatedProgram(const std::string& path);

// For path (UTF-8): command := the default application's command line of its type
// (CP932; empty when there is none or CP932 cannot hold it); when the type has an
// icon, iconFile := its theme icon name and iconIndex := 0, else both keep their
// values. A folder has the type inode/directory; an unknown type gives nothing.
void GetAssociation(const std::string& path, std::string& iconFile, std::int32_t& iconIndex,
                    std::string& command);

// The theme icon name for a MIME type: the first of the type's icon names that the
// icon theme has, else the type's generic name; empty for no type.
std::string ContentTypeIconName(const std::string& contentType);
