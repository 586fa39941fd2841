// The framework's process-wide state: resource path, skin archive, render
// factory, create-control callback, and the colour, font and class tables that
// skin XML fills and every control reads. Static functions over static tables;
// everything runs on the user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/base/font_info.h"
#include "ui/base/scoped_handles.h"

namespace ui {

class Box;
class Control;
class IRenderFactory;
class ImageInfo;
class ZipArchive;

// Makes a control for a class name the skin builder does not know itself; the
// new control belongs to the caller. Null for an unknown name.
using CreateControlCallback = std::function<Control*(const std::wstring& class_name)>;
// Builds the named skin file ("global.xml") into the global tables. Installed
// by the skin builder, which lives above this library.
using GlobalXmlBuilder = std::function<void(const std::wstring& file)>;

class UiGlobals {
 public:
  UiGlobals() = delete;

  // ---- lifecycle ----
  // In this order: creates the render factory, sets the resource path to
  // root + theme, stores the callback, applies DPI adaptation when asked,
  // builds "global.xml", loads the language file from root + language, starts
  // GDI+ and initialises the common controls. Reports nothing: a missing part
  // leaves its table empty.
  static void Startup(const std::wstring& root, CreateControlCallback create_control, bool adapt_dpi,
                      const std::wstring& theme, const std::wstring& language);
  // Closes the skin archive, deletes the render factory and every font, and
  // shuts GDI+ down. The other tables stay until the process ends.
  static void Shutdown();

  // Stores the folder of the current skin; a non-empty path gets a trailing
  // "\" unless it already ends in "\" or "/".
  static void SetResourcePath(const std::wstring& path);
  static const std::wstring& GetResourcePath();
  // Framework root + language, set by Startup.
  static const std::wstring& GetLanguagePath();

  static IRenderFactory* GetRenderFactory();
  static const CreateControlCallback& GetCreateControlCallback();

  // Builds "global.xml" (relative to the resource path) through the installed
  // builder; without one nothing is built.
  static void LoadGlobalXml();
  static void SetGlobalXmlBuilder(GlobalXmlBuilder builder);

  // ---- colours ----
  // Parses a colour value: "#" and hexadecimal digits (taken as one ARGB
  // number), "argb(a,r,g,b)", "rgb(r,g,b)" (alpha 255) or "@" and the name of a
  // colour in the table (0 when it is not there). False, with 0, for text in
  // none of these forms.
  static bool ParseColor(const std::wstring& text, DWORD& value);
  // Stores the parsed value under the name, replacing an earlier one; text
  // that does not parse stores 0.
  static void AddColor(const std::wstring& name, const std::wstring& value_text);
  // 0 for a name that is not in the table.
  static DWORD GetColor(const std::wstring& name);

  // ---- fonts ----
  // Creates a font from the default GUI font with the given face ("system"
  // picks the platform's UI face), pixel size (DPI-scaled) and style, and
  // stores it under the id (an empty id becomes the number of fonts so far).
  // An id already in the table keeps its first font, whose handle is returned.
  // Null when the platform refuses the font; nothing is stored then.
  static HFONT AddFont(const std::wstring& id, const std::wstring& face_name, int size, bool bold, bool underline,
                       bool strikeout, bool italic, bool is_default, int weight);
  // The font for the id; an empty id means the default font. Null when absent.
  static const FontInfo* GetFont(const std::wstring& id);
  static const std::wstring& GetDefaultFontId();
  // Deletes every font; the default font id is kept.
  static void RemoveAllFonts();

  // ---- classes and default text colours ----
  static void AddClass(const std::wstring& name, const std::wstring& attributes);
  // Empty for an unknown class.
  static std::wstring GetClassAttributes(const std::wstring& name);
  static void SetDefaultTextColorName(const std::wstring& name);
  static const std::wstring& GetDefaultTextColorName();
  static void SetDefaultDisabledTextColorName(const std::wstring& name);
  static const std::wstring& GetDefaultDisabledTextColorName();

  // ---- templates ----
  // Builds the controls of an XML file (an item template) into the box, which
  // takes the attributes of the file's first control element and its children.
  // Each file is read and parsed once per process; later calls build from the
  // parsed document kept in the builder cache. A failed build is not cached.
  // Defined beside the skin builder, which lives above this library.
  static void FillBoxFromXml(Box* box, const std::wstring& xmlPath, CreateControlCallback createControl);
  // What of the template a fill applies: all of it, only the first control's own
  // attributes, or only its children. A list of many items can give each item its
  // own look at once and build the children of only those that are shown.
  enum class TemplatePart { kWhole, kOwnAttributes, kChildren };
  static void FillBoxFromXml(Box* box, const std::wstring& xmlPath, CreateControlCallback createControl,
                             TemplatePart part);

  // ---- skin archive ----
  // Closes the open archive, then opens the executable's resource (id, type)
  // as the skin archive; true when an archive is now open.
  static bool OpenSkinZip(int resource_id, const wchar_t* resource_type, const char* password);
  // Closes the skin archive; kZipBadArgument when none is open.
  static uint32_t CloseSkinZip();
  // The open skin archive, or null.
  static ZipArchive* GetSkinZip();
  // The archive entry for a framework path, decompressed into a new movable
  // global block holding exactly its bytes; null when there is no archive, no
  // such entry, or reading fails.
  static UniqueGlobal ReadZipEntry(const std::wstring& path);
  // The archive entry path of a relative framework path: forward slashes, no
  // empty, "." or ".." segments. Empty for an absolute path or one that climbs
  // above its first segment.
  static std::wstring ToZipPath(const std::wstring& path);
  // Where a skin file is read from: resource path + folder + path, or, when it
  // is neither in the archive nor on disk, resource path + path. Absolute paths
  // are returned unchanged.
  static std::wstring GetResourceFullPath(const std::wstring& path, const std::wstring& folder);

  // ---- images and the image cache (ui_globals_image.cpp) ----
  // The image for a resource path or an image-cache key ("?..."): the live cached
  // image, or one loaded (DPI variant first, skin archive before the disk) and
  // cached; empty when it cannot be loaded.
  static std::shared_ptr<ImageInfo> GetImage(const std::wstring& path);
  // The live image cached under the path; nothing is loaded from files, but an
  // image key may be made by the image key provider.
  static std::shared_ptr<ImageInfo> FindCachedImage(const std::wstring& path);
  // Caches a weak reference under the image's path, replacing any entry.
  static std::shared_ptr<ImageInfo> AddCachedImage(const std::shared_ptr<ImageInfo>& image);
  static void RemoveCachedImage(const std::wstring& key);
  // Makes images for image-cache keys ("?...") whose owner registers them only
  // when first asked for (the icon cache decodes stored icons on first use).
  // Asked by FindCachedImage and GetImage when such a key has no live image; it
  // registers and returns the image, or returns empty. Null removes it.
  using ImageKeyProvider = std::shared_ptr<ImageInfo> (*)(const std::wstring& key);
  static void SetImageKeyProvider(ImageKeyProvider provider);
  // The releaser of loaded images: removes their cache entry (never a newer
  // image's) and destroys them.
  static void OnImageReleased(ImageInfo* image);
  // The "@<scale>" variant of a file when DPI adaptation is on and it exists.
  static std::wstring GetScaledImagePath(const std::wstring& path, bool in_archive);
};

}  // namespace ui
