// Store apps, which links name as "shell:AppsFolder\<application id>": the
// package family an id belongs to and the folder the package is installed in.
#pragma once

#include <optional>
#include <string>

// The package family name ("name_publisher") of an application id of the form
// "name_publisher!app". Nothing when the id lacks either part or a part is longer
// than 259 characters (the package functions' own limit).
std::optional<std::wstring> StoreAppFamilyName(const std::wstring& appId);

// The application id of a resolved link path that begins with "shell:AppsFolder\"
// (any letter case); nothing for other paths.
std::optional<std::wstring> StoreAppIdFromPath(const std::wstring& resolvedPath);

// Opens the folder of the only installed package of the app's family with its
// "AppxMetadata" entry selected. False (and nothing opened) before Windows 8,
// without the package functions, or when not exactly one package is installed.
bool OpenStoreAppFolder(const std::wstring& appId);
