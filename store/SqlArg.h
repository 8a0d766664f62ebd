#pragma once
// One bound parameter of a record statement: an int, wide text (bound as
// UTF-8) or NULL.  Lets the store's helpers take their parameters as a list.
#include <cstddef>
#include <string>

class SQLiteStatement;

class SqlArg {
 public:
  SqlArg(int value) : m_kind(Kind::Int), m_number(value) {}
  SqlArg(const std::wstring& text);
  SqlArg(const wchar_t* text) : SqlArg(std::wstring(text)) {}
  SqlArg(std::nullptr_t) : m_kind(Kind::Null) {}

  // Binds the value at `index` (from 1); SQLite's result code.
  int BindTo(SQLiteStatement& statement, int index) const;

 private:
  enum class Kind { Int, Text, Null };
  Kind m_kind;
  int m_number = 0;
  std::string m_text;
};
