#include "store/SqlArg.h"

#include "platform/TextConvert.h"
#include "store/SQLiteStatement.h"

SqlArg::SqlArg(const std::wstring& text) : m_kind(Kind::Text), m_text(platform::ToUtf8(text)) {}

int SqlArg::BindTo(SQLiteStatement& statement, int index) const {
  switch (m_kind) {
    case Kind::Int:
      return statement.BindInt(index, m_number);
    case Kind::Text:
      return statement.BindText(index, m_text.c_str(), static_cast<int>(m_text.size()));
    case Kind::Null:
      break;
  }
  return statement.BindNull(index);
}
