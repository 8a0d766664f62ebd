#pragma once
// The per-user settings of one program, where the Windows build keeps a
// registry key: the folder $XDG_CONFIG_HOME/<program name>/ (default
// ~/.config/<program name>/) stands for the key and the text file
// "settings.conf" in it holds the values, one "name=value" line each.
//
// The folder is the key: it "exists" when it is a folder, and "opens with
// full access" when this process may read, write and enter it.  Values live
// only in the file, so a key whose file is missing simply has no values.
//
// A file that cannot be read as a whole (not UTF-8, control characters, a
// line without '=', larger than 64 KiB) reads as holding no values; the next
// write replaces it.  Writes go to a temporary file in the same folder that
// is flushed to disk and renamed over the old one, so a crash leaves either
// the old or the new file, never half of one.
//
// Any thread: writes inside this process are serialised, and readers only
// ever see whole files.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class SettingsFile {
 public:
  using Values = std::map<std::wstring, std::wstring>;

  enum class KeyState {
    Present,       // the folder exists and may be used
    Missing,       // the folder does not exist (and was not to be created)
    Created,       // the folder did not exist and has just been created
    NotCreatable,  // the folder did not exist and could not be created
    Inaccessible,  // something is there but it is not a usable folder
  };

  // `folder` ends in '/'.
  explicit SettingsFile(std::wstring folder);

  // $XDG_CONFIG_HOME (default ~/.config) + "/<programName>/".
  static std::wstring FolderFor(const std::wstring& programName);

  const std::wstring& Folder() const { return m_folder; }
  std::wstring FilePath() const;

  // Opens the key; with `createMissing` a missing folder (and its parents)
  // is created.
  KeyState Open(bool createMissing) const;

  // The value's text; nothing when the file is missing or damaged or does
  // not hold the name.
  std::optional<std::wstring> Read(const std::wstring& name) const;

  // Stores one value, keeping the others.  Does not create the folder: false
  // when the key is not Present, when the name or text cannot be stored
  // (empty name, '=', '#' at the start, surrounding spaces, control
  // characters), when the file would grow past 64 KiB or when it cannot be
  // written.
  bool Write(const std::wstring& name, const std::wstring& text) const;

  // The whole file's text to values; nothing when it is damaged.
  static std::optional<Values> Parse(std::string_view bytes);
  static std::string Format(const Values& values);

 private:
  std::wstring m_folder;
};

}  // namespace platform
