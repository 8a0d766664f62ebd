#pragma once
// The program's own XML reader and writer: the whole markup is one wide
// string, a flat index of element records points into it, and a cursor
// (parent, current, remembered child) moves through the index.  Reading moves
// the cursor and fetches attributes; writing splices elements and attributes
// into the text at the cursor; saving writes the text as it stands.
//
// One object per reading or writing operation; not shared between threads.
#include <memory>
#include <string>

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the text, clears the diagnostics, parses, resets the cursor.
  bool SetText(const std::wstring& text);
  // Reads a file (marks, declared encodings, UTF-8 test, ANSI fallback) and
  // parses it; true only when it was read and is well-formed.
  bool LoadFile(const std::wstring& path);
  // Writes the text in the encoding of the loaded file or of its declaration.
  bool SaveFile(const std::wstring& path);

  bool FindElement(const std::wstring& name);
  bool EnterElement();
  bool LeaveElement();
  std::wstring GetAttribute(const std::wstring& name) const;

  bool AddElement(const std::wstring& name);
  bool SetAttribute(const std::wstring& name, const std::wstring& value);
  bool SetAttribute(const std::wstring& name, int value);

  bool WellFormed() const;
  const std::wstring& GetText() const;
  const std::wstring& Diagnostics() const;

 private:
  // The implementation may rearrange everything below this line; callers
  // rely only on the public operations above.
  struct State;
  std::unique_ptr<State> m_state;
};
