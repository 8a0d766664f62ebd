// Feeds arbitrary bytes to XmlDocument as text and as a file, walks the
// result, edits it and checks that edits keep a well-formed document
// well-formed and that a saved file reads back as it was written.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/TextConvert.h"
#include "support/XmlDocument.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

std::wstring TempPath(const char* suffix) {
  return platform::FromUtf8("/tmp/fuzz_xml_document_" + std::to_string(getpid()) + suffix);
}

// Visits every element depth-first, reading a few attributes, then adds a
// child and an attribute at every element it saw at the first two levels.
void WalkAndEdit(XmlDocument& doc) {
  const bool wellFormed = doc.WellFormed();
  int visited = 0;
  int depth = 0;
  while (visited < 5000) {
    if (doc.FindElement(L"")) {
      ++visited;
      doc.GetAttribute(L"v");
      doc.GetAttribute(L"a");
      if (depth < 2 && visited % 3 == 0) {
        Check(doc.SetAttribute(L"fz", L"<&'\">"), "SetAttribute on a current element");
        Check(doc.GetAttribute(L"fz") == L"<&'\">", "attribute reads back");
        Check(doc.SetAttribute(L"fz", 7), "SetAttribute again");
        Check(doc.GetAttribute(L"fz") == L"7", "replaced attribute reads back");
      }
      if (doc.EnterElement()) {
        ++depth;
        if (depth < 3 && visited % 4 == 1) {
          Check(doc.AddElement(L"added"), "AddElement inside an element");
          Check(doc.SetAttribute(L"k", L"x"), "attribute on the added element");
          Check(doc.GetAttribute(L"k") == L"x", "attribute of the added element");
          Check(!doc.EnterElement() || doc.LeaveElement(), "enter and leave the added element");
        }
      }
    } else if (!doc.LeaveElement()) {
      break;
    } else {
      --depth;
    }
  }
  if (wellFormed) {
    XmlDocument again;
    Check(again.SetText(doc.GetText()), "edits keep a well-formed document well-formed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    XmlDocument doc;
    doc.SetText(platform::FromUtf8(bytes));
    // Entries stop at 1000 characters; the last one may quote a cut tag name.
    Check(doc.Diagnostics().size() < 2000, "diagnostics stay bounded");
    WalkAndEdit(doc);
  }
  {
    const std::wstring in = TempPath(".in");
    const std::wstring out = TempPath(".out");
    std::ofstream(platform::ToUtf8(in), std::ios::binary) << bytes;
    XmlDocument doc;
    const bool loaded = doc.LoadFile(in);
    Check(loaded == doc.WellFormed(), "LoadFile returns WellFormed");
    WalkAndEdit(doc);
    if (doc.SaveFile(out) && doc.Diagnostics().find(L"conversion_loss") == std::wstring::npos &&
        doc.GetText().find(L'\0') == std::wstring::npos) {
      const std::wstring saved = doc.GetText();
      XmlDocument reread;
      reread.LoadFile(out);
      Check(reread.GetText() == saved, "a saved file reads back as written");
    }
    std::remove(platform::ToUtf8(in).c_str());
    std::remove(platform::ToUtf8(out).c_str());
  }
  return 0;
}
