#include "support/XmlDocument.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/TextConvert.h"
#include "support/XmlEncoding.h"
#include "support/XmlEntities.h"
#include "support/XmlMarkup.h"

namespace {

// Flag bits of an element record.
constexpr unsigned kFlagFirstChild = 1u << 0;
constexpr unsigned kFlagSelfClosing = 1u << 1;
constexpr unsigned kFlagUnended = 1u << 2;
constexpr unsigned kFlagNotWellFormed = 1u << 3;  // record 0 only

// How the last loaded file was stored.
constexpr unsigned kKindUtf8Mark = 1u << 0;
constexpr unsigned kKindUtf16Le = 1u << 1;
constexpr unsigned kKindUtf16Be = 1u << 2;

// Offsets are plain ints; a text beyond this is refused rather than indexed
// with offsets that could overflow while it is edited.
constexpr std::size_t kMaxTextLength = INT_MAX / 2;
constexpr std::size_t kDiagnosticsLimit = 1000;
// One entry may quote a tag name; a huge one must not blow the log up.
constexpr std::size_t kDiagnosticValueLimit = 100;
constexpr std::size_t kDetectionPrefix = 1024;
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

struct Element {
  int start = 0;
  int length = 0;
  int startTagLength = 0;
  int endTagLength = 0;
  int nameLength = 0;
  int level = 0;
  unsigned flags = 0;
  int parent = 0;
  int firstChild = 0;
  int nextSibling = 0;
  int previousSibling = 0;  // for a first child: the last child
};

struct DiagnosticValue {
  DiagnosticValue(const wchar_t* n, std::wstring_view t) : name(n), text(t) {}
  DiagnosticValue(const wchar_t* n, long long v) : name(n), number(v), isNumber(true) {}
  const wchar_t* name;
  std::wstring_view text;
  long long number = 0;
  bool isNumber = false;
};

class FileHolder {
 public:
  FileHolder(const std::string& path, const char* mode) : m_file(std::fopen(path.c_str(), mode)) {}
  ~FileHolder() {
    if (m_file) std::fclose(m_file);
  }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;
  std::FILE* Get() const { return m_file; }
  // Closes now so that the caller learns whether buffered bytes reached the disk.
  bool Close() {
    std::FILE* f = m_file;
    m_file = nullptr;
    return std::fclose(f) == 0;
  }

 private:
  std::FILE* m_file;
};

void AppendEscaped(std::wstring& out, std::wstring_view value) {
  for (wchar_t c : value) {
    switch (c) {
      case L'<': out += L"&lt;"; break;
      case L'&': out += L"&amp;"; break;
      case L'>': out += L"&gt;"; break;
      case L'\'': out += L"&apos;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c);
    }
  }
}

std::wstring EscapeValue(std::wstring_view value) {
  std::wstring out;
  out.reserve(value.size() + 8);
  AppendEscaped(out, value);
  return out;
}

char32_t ResolveReference(std::wstring_view body) {
  if (body.empty()) return 0;
  char32_t value = 0;
  if (body[0] == L'#') {
    std::size_t i = 1;
    const bool hex = body.size() > 1 && (body[1] == L'x' || body[1] == L'X');
    if (hex) ++i;
    if (i == body.size()) return 0;
    for (; i < body.size(); ++i) {
      const wchar_t c = body[i];
      unsigned digit;
      if (c >= L'0' && c <= L'9') {
        digit = c - L'0';
      } else if (hex && c >= L'a' && c <= L'f') {
        digit = c - L'a' + 10;
      } else if (hex && c >= L'A' && c <= L'F') {
        digit = c - L'A' + 10;
      } else {
        return 0;
      }
      value = value * (hex ? 16 : 10) + digit;
      if (value > 0x10FFFF) return 0;
    }
    // A surrogate code unit on its own is no character.
    if (value >= 0xD800 && value <= 0xDFFF) return 0;
    return value;
  }
  return xml::LookupEntity(body);
}

std::wstring DecodeValue(std::wstring_view raw) {
  std::size_t amp = raw.find(L'&');
  if (amp == std::wstring_view::npos) return std::wstring(raw);
  std::wstring out;
  out.reserve(raw.size());
  std::size_t i = 0;
  while (amp != std::wstring_view::npos) {
    out.append(raw.data() + i, amp - i);
    i = amp;
    std::size_t j = i + 1;
    while (j < raw.size() && raw[j] != L';' && raw[j] < 0x80 && j - i - 1 < 9) ++j;
    const char32_t c = j < raw.size() && raw[j] == L';' ? ResolveReference(raw.substr(i + 1, j - i - 1)) : 0;
    if (c != 0) {
      out.push_back(static_cast<wchar_t>(c));
      i = j + 1;
    } else {
      // Not a reference: the '&' stays and what follows is plain text.
      out.push_back(L'&');
      ++i;
    }
    amp = raw.find(L'&', i);
  }
  out.append(raw.data() + i, raw.size() - i);
  return out;
}

// Names given to AddElement and SetAttribute must keep the markup parseable.
bool IsValidName(std::wstring_view name) {
  if (name.empty() || !xml::IsNameStart(name[0])) return false;
  for (wchar_t c : name) {
    if (c <= L' ' || c == L'<' || c == L'>' || c == L'/' || c == L'=' || c == L'"' || c == L'\'' ||
        c == L'&' || c == L'?' || c == L'!') {
      return false;
    }
  }
  return true;
}

// Everything a document holds; the parser below works on it directly.
struct DocumentData {
  std::wstring text;
  std::wstring diagnostics;
  std::vector<Element> elements;
  std::vector<int> textOrder;  // element records by start offset, once edited
  bool textOrdered = false;
  int parent = 0;
  int current = 0;
  int child = 0;
  unsigned fileKind = 0;

  DocumentData() { elements.emplace_back(); }

  void Log(const wchar_t* event, std::initializer_list<DiagnosticValue> values = {}) {
    if (diagnostics.size() >= kDiagnosticsLimit) return;
    diagnostics += L'<';
    diagnostics += event;
    for (const DiagnosticValue& v : values) {
      diagnostics += L' ';
      diagnostics += v.name;
      diagnostics += L"=\"";
      if (v.isNumber) {
        diagnostics += std::to_wstring(v.number);
      } else {
        diagnostics += EscapeValue(v.text.substr(0, kDiagnosticValueLimit));
      }
      diagnostics += L'"';
    }
    diagnostics += L"/>";
  }

  void LogFileError(int error) {
    // strerror_r (the GNU form) because documents live on worker threads too.
    char buffer[256];
    std::string message = strerror_r(error, buffer, sizeof(buffer));
    message = message.substr(0, message.find('\n'));
    Log(L"file_error", {{L"msg", platform::FromUtf8(message)}, {L"n", static_cast<long long>(error)}});
  }

  void Fault(const wchar_t* event, std::initializer_list<DiagnosticValue> values) {
    elements[0].flags |= kFlagNotWellFormed;
    Log(event, values);
  }

  std::wstring_view NameOf(int record) const {
    const Element& e = elements[record];
    return std::wstring_view(text).substr(e.start + 1, e.nameLength);
  }

  void Parse();

  // The attribute part of an element's start tag: after the name, before
  // the closing "/>" or ">".
  std::wstring_view AttributeRegion(int record) const {
    const Element& e = elements[record];
    const std::size_t begin = static_cast<std::size_t>(e.start) + 1 + e.nameLength;
    std::size_t end = static_cast<std::size_t>(e.start) + e.startTagLength;
    end -= (e.flags & kFlagSelfClosing) ? 2 : 1;
    if (end > text.size() || begin > end) return std::wstring_view(text).substr(std::min(begin, text.size()), 0);
    return std::wstring_view(text).substr(begin, end - begin);
  }

  // Replaces `removed` characters at `pos` and moves the index with the
  // text: every element starting after the change shifts, and the elements
  // around it (`innermost` and its ancestors) grow or shrink.  The elements
  // are kept in text order so that only those after the change are touched:
  // a writer appending item after item stays linear.
  void Splice(std::size_t pos, std::size_t removed, std::wstring_view piece, int innermost) {
    const std::size_t needed = text.size() - removed + piece.size();
    if (text.capacity() < needed) text.reserve(needed + needed / 2 + 128);
    text.replace(pos, removed, piece);
    const int at = static_cast<int>(pos);
    const int after = static_cast<int>(pos + removed);
    const int delta = static_cast<int>(piece.size()) - static_cast<int>(removed);
    EnsureTextOrder();
    auto it = std::lower_bound(textOrder.begin(), textOrder.end(), after,
                               [this](int record, int offset) { return elements[record].start < offset; });
    for (; it != textOrder.end(); ++it) elements[*it].start += delta;
    for (int r = innermost; r != 0; r = elements[r].parent) {
      Element& e = elements[r];
      if (e.start < at && e.start + e.length > at) e.length += delta;
    }
    elements[0].length = static_cast<int>(text.size());
  }

  // Records from the parse stand in text order already; the order list is
  // only built once the text is edited.
  void EnsureTextOrder() {
    if (textOrdered) return;
    textOrder.resize(elements.size() - 1);
    for (std::size_t r = 1; r < elements.size(); ++r) textOrder[r - 1] = static_cast<int>(r);
    textOrdered = true;
  }

  void AddToTextOrder(int record) {
    EnsureTextOrder();
    const int start = elements[record].start;
    auto it = std::lower_bound(textOrder.begin(), textOrder.end(), start,
                               [this](int r, int offset) { return elements[r].start < offset; });
    textOrder.insert(it, record);
  }

  void Link(int record, int parentRecord, int after) {
    Element& par = elements[parentRecord];
    Element& e = elements[record];
    e.parent = parentRecord;
    if (par.firstChild == 0) {
      par.firstChild = record;
      e.previousSibling = record;
      e.flags |= kFlagFirstChild;
      return;
    }
    const int first = par.firstChild;
    if (after == 0) after = elements[first].previousSibling;
    Element& prev = elements[after];
    e.previousSibling = after;
    e.nextSibling = prev.nextSibling;
    if (prev.nextSibling != 0) {
      elements[prev.nextSibling].previousSibling = record;
    } else {
      elements[first].previousSibling = record;
    }
    prev.nextSibling = record;
  }
};

// Cuts the text into nodes in one pass; only elements get records.
class Parser {
 public:
  explicit Parser(DocumentData& state)
      : m_state(state), m_p(state.text.data()), m_n(state.text.size()) {}

  void Run() {
    std::size_t i = 0;
    while (i < m_n) {
      const wchar_t* lt = std::wmemchr(m_p + i, L'<', m_n - i);
      if (!lt) break;
      i = static_cast<std::size_t>(lt - m_p);
      if (i + 1 >= m_n) {
        Unterminated(L"tag", i);
        break;
      }
      const wchar_t c = m_p[i + 1];
      if (xml::IsNameStart(c)) {
        i = StartTag(i);
      } else if (c == L'/') {
        i = EndTag(i);
      } else if (c == L'?') {
        i = SkipTo(i, i + 2, L"?>", L"processing_instruction");
      } else if (c == L'!') {
        i = Exclamation(i);
      } else {
        m_state.Fault(L"first_tag_syntax", {{L"offset", static_cast<long long>(i)}});
        i += 1;
      }
    }
    Finish();
  }

 private:
  using OpenByName = std::unordered_map<std::wstring_view, std::vector<std::size_t>>;

  void Unterminated(const wchar_t* type, std::size_t offset) {
    m_state.Fault(L"unterminated_tag_syntax", {{L"type", type}, {L"offset", static_cast<long long>(offset)}});
  }

  std::size_t SkipTo(std::size_t offset, std::size_t from, std::wstring_view terminator, const wchar_t* type) {
    const std::size_t end = xml::FindSequence(m_p, m_n, from, terminator);
    if (end == std::wstring_view::npos) {
      Unterminated(type, offset);
      return m_n;
    }
    return end + terminator.size();
  }

  std::size_t StartTag(std::size_t i) {
    const xml::TagScan tag = xml::ScanStartTag(m_p, m_n, i);
    if (!tag.complete) {
      Unterminated(L"start_tag", i);
      return m_n;
    }
    const int parent = m_open.empty() ? 0 : m_open.back();
    if (parent == 0 && m_state.elements[0].firstChild != 0) {
      m_state.Fault(L"root_has_sibling", {{L"offset", static_cast<long long>(i)}});
    }
    Element e;
    e.start = static_cast<int>(i);
    e.startTagLength = static_cast<int>(tag.end - i);
    e.length = tag.empty ? e.startTagLength : 0;
    e.nameLength = static_cast<int>(tag.nameEnd - i - 1);
    e.level = static_cast<int>(m_open.size());
    e.flags = tag.empty ? kFlagSelfClosing : 0;
    const int record = static_cast<int>(m_state.elements.size());
    m_state.elements.push_back(e);
    m_state.Link(record, parent, 0);
    if (!tag.empty) Push(record);
    return tag.end;
  }

  std::size_t EndTag(std::size_t i) {
    const wchar_t* gt = std::wmemchr(m_p + i + 2, L'>', m_n - i - 2);
    if (!gt) {
      Unterminated(L"end_tag", i);
      return m_n;
    }
    const std::size_t end = static_cast<std::size_t>(gt - m_p) + 1;
    std::size_t nameEnd = i + 2;
    while (nameEnd < end - 1 && !xml::IsSpace(m_p[nameEnd])) ++nameEnd;
    const std::wstring_view name(m_p + i + 2, nameEnd - i - 2);
    if (!m_open.empty() && m_state.NameOf(m_open.back()) == name) {
      Close(m_open.back(), i, end);
      Pop();
      return end;
    }
    const std::size_t k = FindOpen(name);
    if (k == kNotOpen) {
      m_state.Fault(L"lone_end_tag", {{L"tagname", name}, {L"offset", static_cast<long long>(i)}});
      return end;
    }
    while (m_open.size() > k + 1) {
      Unended(m_open.back(), i);
      Pop();
    }
    Close(m_open.back(), i, end);
    Pop();
    return end;
  }

  std::size_t Exclamation(std::size_t i) {
    if (i + 2 >= m_n) {
      Unterminated(L"tag", i);
      return m_n;
    }
    const wchar_t c = m_p[i + 2];
    if (c == L'-') {
      if (i + 3 >= m_n) {
        Unterminated(L"comment", i);
        return m_n;
      }
      if (m_p[i + 3] != L'-') {
        m_state.Fault(L"comment_tag_syntax", {{L"offset", static_cast<long long>(i)}});
        return i + 1;
      }
      return SkipTo(i, i + 4, L"-->", L"comment");
    }
    if (c == L'[') {
      if (i + 3 >= m_n) {
        Unterminated(L"cdata_section", i);
        return m_n;
      }
      if (m_p[i + 3] != L'C') {
        m_state.Fault(L"cdata_section_syntax", {{L"offset", static_cast<long long>(i)}});
        return i + 1;
      }
      return SkipTo(i, i + 3, L"]]>", L"cdata_section");
    }
    if (c == L'D') return DocumentType(i);
    m_state.Fault(L"exclamation_tag_syntax", {{L"offset", static_cast<long long>(i)}});
    return i + 1;
  }

  // Runs to the first '>' that is not inside a quoted literal, a comment, a
  // processing instruction or a declaration of the internal part.
  std::size_t DocumentType(std::size_t i) {
    std::size_t j = i + 3;
    while (j < m_n) {
      const wchar_t c = m_p[j];
      if (c == L'>') return j + 1;
      if (c == L'"' || c == L'\'') {
        const wchar_t* q = std::wmemchr(m_p + j + 1, c, m_n - j - 1);
        if (!q) break;
        j = static_cast<std::size_t>(q - m_p) + 1;
        continue;
      }
      if (c == L'<' && j + 1 < m_n && m_p[j + 1] == L'?') {
        const std::size_t end = xml::FindSequence(m_p, m_n, j + 2, L"?>");
        if (end == std::wstring_view::npos) break;
        j = end + 2;
        continue;
      }
      if (c == L'<' && j + 1 < m_n && m_p[j + 1] == L'!') {
        const wchar_t d = j + 2 < m_n ? m_p[j + 2] : L'\0';
        if (d == L'-' && j + 3 < m_n && m_p[j + 3] == L'-') {
          const std::size_t end = xml::FindSequence(m_p, m_n, j + 4, L"-->");
          if (end == std::wstring_view::npos) break;
          j = end + 3;
          continue;
        }
        if (d == L'E' || d == L'A' || d == L'N') {
          const std::size_t end = SkipDeclaration(j + 3);
          if (end == m_n) break;
          j = end;
          continue;
        }
        if (j + 2 >= m_n) break;
        m_state.Fault(L"doctype_tag_syntax", {{L"offset", static_cast<long long>(j)}});
        j += 2;
        continue;
      }
      ++j;
    }
    Unterminated(L"document_type", i);
    return m_n;
  }

  // One markup declaration (<!ELEMENT, <!ATTLIST, <!ENTITY, <!NOTATION):
  // returns the position after its '>', or the text length when it never ends.
  std::size_t SkipDeclaration(std::size_t j) {
    while (j < m_n) {
      const wchar_t c = m_p[j];
      if (c == L'>') return j + 1;
      if (c == L'"' || c == L'\'') {
        const wchar_t* q = std::wmemchr(m_p + j + 1, c, m_n - j - 1);
        if (!q) return m_n;
        j = static_cast<std::size_t>(q - m_p) + 1;
        continue;
      }
      ++j;
    }
    return m_n;
  }

  void Close(int record, std::size_t endTagStart, std::size_t end) {
    Element& e = m_state.elements[record];
    e.length = static_cast<int>(end) - e.start;
    e.endTagLength = static_cast<int>(end - endTagStart);
  }

  // An element still open when an outer element closes (or the text ends)
  // reaches up to that point, so that its children stay inside it.
  void Unended(int record, std::size_t at) {
    Element& e = m_state.elements[record];
    e.length = static_cast<int>(at) - e.start;
    e.flags |= kFlagUnended;
    m_state.Fault(L"unended_start_tag", {{L"tagname", m_state.NameOf(record)},
                                         {L"offset", static_cast<long long>(e.start)},
                                         {L"offset2", static_cast<long long>(at)}});
  }

  void Push(int record) {
    m_open.push_back(record);
    if (m_byName) (*m_byName)[m_state.NameOf(record)].push_back(m_open.size() - 1);
  }

  void Pop() {
    if (m_byName) (*m_byName)[m_state.NameOf(m_open.back())].pop_back();
    m_open.pop_back();
  }

  // The nearest open element of that name.  A well-formed text always closes
  // the innermost element, so the name map is only built at the first
  // mismatch; it keeps damaged texts (thousands of stray end tags under
  // thousands of open elements) linear.
  std::size_t FindOpen(std::wstring_view name) {
    if (!m_byName) {
      m_byName = std::make_unique<OpenByName>();
      for (std::size_t k = 0; k < m_open.size(); ++k) (*m_byName)[m_state.NameOf(m_open[k])].push_back(k);
    }
    const auto it = m_byName->find(name);
    if (it == m_byName->end() || it->second.empty()) return kNotOpen;
    return it->second.back();
  }

  void Finish() {
    while (!m_open.empty()) {
      Unended(m_open.back(), m_n);
      Pop();
    }
    // Not a fault of the markup: a document started from a declaration
    // alone becomes well-formed once its root element is added.
    if (m_n > 0 && m_state.elements[0].firstChild == 0) m_state.Log(L"no_root_element", {{L"offset", 0LL}});
  }

  static constexpr std::size_t kNotOpen = static_cast<std::size_t>(-1);

  DocumentData& m_state;
  const wchar_t* m_p;
  std::size_t m_n;
  std::vector<int> m_open;
  std::unique_ptr<OpenByName> m_byName;
};

void DocumentData::Parse() {
  elements.clear();
  textOrder.clear();
  textOrdered = false;
  elements.reserve(text.size() / 64 + 8);
  elements.emplace_back();
  elements[0].length = static_cast<int>(std::min(text.size(), kMaxTextLength));
  parent = 0;
  current = 0;
  child = 0;
  if (text.size() > kMaxTextLength) {
    Fault(L"text_too_long", {{L"length", static_cast<long long>(text.size())}});
    return;
  }
  Parser(*this).Run();
}

}  // namespace

struct XmlDocument::State : DocumentData {};

XmlDocument::XmlDocument() : m_state(std::make_unique<State>()) {}
XmlDocument::~XmlDocument() = default;

bool XmlDocument::SetText(const std::wstring& text) {
  State& s = *m_state;
  s.diagnostics.clear();
  s.fileKind = 0;
  s.text = text;
  s.Parse();
  return WellFormed();
}

bool XmlDocument::LoadFile(const std::wstring& path) {
  State& s = *m_state;
  s.diagnostics.clear();
  s.fileKind = 0;
  s.text.clear();
  std::string bytes;
  {
    FileHolder file(platform::ToUtf8(path), "rb");
    if (!file.Get()) {
      s.LogFileError(errno);
      s.Parse();
      return false;
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file.Get())) > 0 && bytes.size() <= kMaxFileBytes) {
      bytes.append(buffer, got);
    }
    // A device that never ends (or a file no settings file could be) is
    // refused instead of filling the memory.
    const int error = std::ferror(file.Get()) ? errno : bytes.size() > kMaxFileBytes ? EFBIG : 0;
    if (error != 0) {
      bytes.clear();
      s.LogFileError(error);
      s.Parse();
      return false;
    }
  }

  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::optional<xml::XmlEncoding> encoding;
  std::size_t offset = 0;
  if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    encoding = xml::Utf8Encoding();
    s.fileKind = kKindUtf8Mark;
    offset = 3;
  } else if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    encoding = xml::Utf16LeEncoding();
    s.fileKind = kKindUtf16Le;
    offset = 2;
  } else if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
    encoding = xml::Utf16BeEncoding();
    s.fileKind = kKindUtf16Be;
    offset = 2;
  }
  if (encoding) {
    s.Log(L"bom", {{L"encoding", encoding->name}});
  } else if (size >= 4 && b[0] != 0 && b[1] == 0 && b[3] == 0) {
    // UTF-16 written without a mark still gives itself away by the zero
    // bytes beside its first characters (markup starts in ASCII); read as
    // 8-bit it would lose every character beyond ASCII.
    encoding = xml::Utf16LeEncoding();
    s.Log(L"utf16_detection", {{L"encoding", encoding->name}});
  } else if (size >= 4 && b[0] == 0 && b[1] != 0 && b[2] == 0) {
    encoding = xml::Utf16BeEncoding();
    s.Log(L"utf16_detection", {{L"encoding", encoding->name}});
  } else {
    const std::wstring prefix = platform::FromUtf8(std::string_view(bytes).substr(0, kDetectionPrefix));
    if (const auto declared = xml::DeclaredEncoding(prefix)) {
      const auto named = xml::EncodingFromName(*declared);
      if (!named) {
        encoding = xml::AnsiEncoding();
      } else if (named->codePage != xml::kCodePageUtf16Le && named->codePage != xml::kCodePageUtf16Be) {
        // A UTF-16 name read from 8-bit text cannot be true; the UTF-8
        // test below decides instead.
        encoding = named;
      }
    }
  }

  const bool wide = encoding && (encoding->codePage == xml::kCodePageUtf16Le || encoding->codePage == xml::kCodePageUtf16Be);
  if (wide) {
    const bool big = encoding->codePage == xml::kCodePageUtf16Be;
    const std::size_t count = (size - offset) / 2;
    s.Log(L"read", {{L"encoding", encoding->name}, {L"length", static_cast<long long>(count)}});
    std::u16string units;
    units.reserve(count);
    long long nulls = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const unsigned char first = b[offset + 2 * k];
      const unsigned char second = b[offset + 2 * k + 1];
      const char16_t unit = big ? static_cast<char16_t>((first << 8) | second) : static_cast<char16_t>((second << 8) | first);
      if (unit == 0) {
        ++nulls;
      } else {
        units.push_back(unit);
      }
    }
    if (nulls > 0) s.Log(L"nulls_removed", {{L"count", nulls}});
    if (big) s.Log(L"endian_swap");
    s.text = platform::FromUtf16(units);
    // A dangling last byte cannot be a character; keep a mark of it.
    if ((size - offset) % 2 != 0) s.text.push_back(0xFFFD);
  } else {
    bytes.erase(0, offset);
    s.Log(L"read", {{L"encoding", encoding ? std::wstring_view(encoding->name) : std::wstring_view()},
                    {L"length", static_cast<long long>(bytes.size())}});
    const std::size_t before = bytes.size();
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    if (bytes.size() != before) s.Log(L"nulls_removed", {{L"count", static_cast<long long>(before - bytes.size())}});
    if (!encoding) {
      encoding = xml::IsValidUtf8(bytes) ? xml::Utf8Encoding() : xml::AnsiEncoding();
      s.Log(L"utf8_detection", {{L"encoding", encoding->name}});
    }
    s.text = xml::DecodeBytes(*encoding, bytes);
  }
  s.Log(L"converted_to", {{L"encoding", encoding->name}, {L"length", static_cast<long long>(s.text.size())}});
  s.Parse();
  return WellFormed();
}

bool XmlDocument::SaveFile(const std::wstring& path) {
  State& s = *m_state;
  s.diagnostics.clear();
  FileHolder file(platform::ToUtf8(path), "wb");
  if (!file.Get()) {
    s.LogFileError(errno);
    return false;
  }
  xml::XmlEncoding encoding;
  std::string_view mark;
  if (s.fileKind & kKindUtf16Le) {
    encoding = xml::Utf16LeEncoding();
    mark = "\xFF\xFE";
  } else if (s.fileKind & kKindUtf16Be) {
    encoding = xml::Utf16BeEncoding();
    mark = "\xFE\xFF";
  } else if (s.fileKind & kKindUtf8Mark) {
    // The mark promises UTF-8, whatever the declaration says.
    encoding = xml::Utf8Encoding();
    mark = "\xEF\xBB\xBF";
  } else if (const auto declared = xml::DeclaredEncoding(s.text)) {
    const auto named = xml::EncodingFromName(*declared);
    encoding = named ? *named : xml::AnsiEncoding();
  } else {
    encoding = xml::Utf8Encoding();
  }
  bool lossy = false;
  const std::string bytes = xml::EncodeText(encoding, s.text, &lossy);
  s.Log(L"converted_from", {{L"encoding", encoding.name}, {L"length", static_cast<long long>(s.text.size())}});
  if (lossy) s.Log(L"conversion_loss", {{L"encoding", encoding.name}});
  bool ok = std::fwrite(mark.data(), 1, mark.size(), file.Get()) == mark.size() &&
            std::fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
  if (!ok) s.LogFileError(errno);
  s.Log(L"write", {{L"encoding", encoding.name}, {L"length", static_cast<long long>(mark.size() + bytes.size())}});
  // stdio may still hold the bytes: a file that fails to close was not written.
  if (!file.Close()) {
    if (ok) s.LogFileError(errno);
    ok = false;
  }
  return ok;
}

bool XmlDocument::FindElement(const std::wstring& name) {
  State& s = *m_state;
  int r = s.current != 0 ? s.elements[s.current].nextSibling : s.elements[s.parent].firstChild;
  for (; r != 0; r = s.elements[r].nextSibling) {
    if (name.empty() || s.NameOf(r) == name) {
      s.current = r;
      s.child = 0;
      return true;
    }
  }
  return false;
}

bool XmlDocument::EnterElement() {
  State& s = *m_state;
  if (s.current == 0) return false;
  s.parent = s.current;
  s.current = s.child;
  s.child = 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  State& s = *m_state;
  if (s.parent == 0) return false;
  s.child = s.current;
  s.current = s.parent;
  s.parent = s.elements[s.parent].parent;
  return true;
}

std::wstring XmlDocument::GetAttribute(const std::wstring& name) const {
  const State& s = *m_state;
  if (s.current == 0) return {};
  const xml::AttributeScan a = xml::FindAttribute(s.AttributeRegion(s.current), name);
  if (!a.found) return {};
  return DecodeValue(a.value);
}

bool XmlDocument::AddElement(const std::wstring& name) {
  State& s = *m_state;
  if (!IsValidName(name) || s.text.size() + 2 * name.size() + 64 > kMaxTextLength) return false;
  const Element par = s.elements[s.parent];
  const std::size_t n = s.text.size();
  std::wstring piece;
  std::size_t pos;
  std::size_t removed = 0;
  std::size_t elementOffset = 0;
  bool reopened = false;
  const std::size_t parentEnd = static_cast<std::size_t>(par.start) + par.length;
  if (s.parent != 0 && s.current == 0 && (par.flags & kFlagSelfClosing) && parentEnd >= 2 && parentEnd <= n &&
      s.text[parentEnd - 2] == L'/') {
    // <parent .../> becomes <parent ...> CR LF <name/> CR LF </parent>.
    // Slashes just before the closing one go too: left in place, "<p//>"
    // would still read as an empty element.
    pos = parentEnd - 2;
    removed = 1;
    const std::size_t nameEnd = static_cast<std::size_t>(par.start) + 1 + par.nameLength;
    while (pos > nameEnd && s.text[pos - 1] == L'/') {
      --pos;
      ++removed;
    }
    piece = L">\r\n<" + name + L"/>\r\n</";
    piece += s.NameOf(s.parent);
    elementOffset = 3;
    reopened = true;
  } else {
    if (s.current != 0) {
      const Element& cur = s.elements[s.current];
      pos = static_cast<std::size_t>(cur.start) + cur.length;
    } else if (s.parent != 0) {
      pos = parentEnd - par.endTagLength;
    } else {
      pos = n;
    }
    pos = std::min(pos, n);
    std::size_t q = pos;
    while (q < n && xml::IsSpace(s.text[q])) ++q;
    if (q == n || s.text[q] == L'<') pos = q;
    if (s.current == 0 && s.parent != 0 && par.endTagLength > 0 && par.length == par.startTagLength + par.endTagLength) {
      piece = L"\r\n";
      elementOffset = 2;
    }
    piece += L"<" + name + L"/>\r\n";
  }
  s.Splice(pos, removed, piece, s.parent);
  if (reopened) {
    Element& p = s.elements[s.parent];
    p.startTagLength -= static_cast<int>(removed);
    p.endTagLength = p.nameLength + 3;
    p.flags &= ~kFlagSelfClosing;
  }
  Element e;
  e.start = static_cast<int>(pos + elementOffset);
  e.length = static_cast<int>(name.size()) + 3;
  e.startTagLength = e.length;
  e.nameLength = static_cast<int>(name.size());
  e.level = s.parent == 0 ? 0 : par.level + 1;
  e.flags = kFlagSelfClosing;
  const int record = static_cast<int>(s.elements.size());
  s.elements.push_back(e);
  s.Link(record, s.parent, s.current);
  s.AddToTextOrder(record);
  s.current = record;
  s.child = 0;
  return true;
}

bool XmlDocument::SetAttribute(const std::wstring& name, const std::wstring& value) {
  State& s = *m_state;
  if (s.current == 0 || !IsValidName(name)) return false;
  if (s.text.size() + 6 * value.size() + name.size() + 8 > kMaxTextLength) return false;
  const std::wstring_view region = s.AttributeRegion(s.current);
  const xml::AttributeScan a = xml::FindAttribute(region, name);
  const std::size_t base = static_cast<std::size_t>(region.data() - s.text.data());
  std::wstring piece;
  piece.reserve(name.size() + value.size() + 8);
  std::size_t pos;
  std::size_t removed = 0;
  if (a.found && a.hasValue) {
    pos = base + a.valueTokenBegin;
    removed = a.valueTokenEnd - a.valueTokenBegin;
  } else if (a.found) {
    pos = base + a.nameEnd;
    piece += L'=';
  } else {
    pos = base + a.lastEnd;
    // After a bare "b=" the new attribute would read as b's value; an
    // explicit empty value keeps them apart.
    piece += a.lastValueBareEmpty ? L"\"\" " : L" ";
    piece += name;
    piece += L'=';
  }
  piece += L'"';
  AppendEscaped(piece, value);
  piece += L'"';
  const std::size_t before = s.text.size();
  s.Splice(pos, removed, piece, s.current);
  s.elements[s.current].startTagLength += static_cast<int>(s.text.size()) - static_cast<int>(before);
  return true;
}

bool XmlDocument::SetAttribute(const std::wstring& name, int value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
  return SetAttribute(name, std::wstring(digits, end));
}

bool XmlDocument::WellFormed() const {
  const State& s = *m_state;
  const Element& document = s.elements[0];
  if (document.flags & kFlagNotWellFormed) return false;
  return document.firstChild != 0 && s.elements[document.firstChild].nextSibling == 0;
}

const std::wstring& XmlDocument::GetText() const { return m_state->text; }

const std::wstring& XmlDocument::Diagnostics() const { return m_state->diagnostics; }
