#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlDocument.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

struct MacroItem {
  std::wstring desc;
  int type;
  int value;
  int delay;
};

// The exchange-file writer's sequence of calls.
std::wstring WriteMacro(const std::vector<MacroItem>& items) {
  XmlDocument doc;
  doc.SetText(kDeclaration);
  EXPECT_TRUE(doc.AddElement(L"macro"));
  EXPECT_TRUE(doc.EnterElement());
  EXPECT_TRUE(doc.AddElement(L"macroinfo"));
  EXPECT_TRUE(doc.SetAttribute(L"name", L"Combo \"1\""));
  EXPECT_TRUE(doc.SetAttribute(L"times", 3));
  EXPECT_TRUE(doc.SetAttribute(L"type", 1));
  EXPECT_TRUE(doc.SetAttribute(L"delaytime", 10));
  EXPECT_TRUE(doc.AddElement(L"macroitems"));
  EXPECT_TRUE(doc.EnterElement());
  for (const auto& item : items) {
    EXPECT_TRUE(doc.AddElement(L"item"));
    EXPECT_TRUE(doc.SetAttribute(L"desc", item.desc));
    EXPECT_TRUE(doc.SetAttribute(L"type", item.type));
    EXPECT_TRUE(doc.SetAttribute(L"value", item.value));
    EXPECT_TRUE(doc.SetAttribute(L"delay_time", item.delay));
  }
  EXPECT_TRUE(doc.WellFormed());
  return doc.GetText();
}

TEST(XmlDocumentBuild, MacroFileLineByLine) {
  const std::wstring text = WriteMacro({{L"A", 1, 65, 20}, {L"<&>", 2, 65, -1}});
  EXPECT_EQ(text,
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            L"<macro>\r\n"
            L"<macroinfo name=\"Combo &quot;1&quot;\" times=\"3\" type=\"1\" delaytime=\"10\"/>\r\n"
            L"<macroitems>\r\n"
            L"<item desc=\"A\" type=\"1\" value=\"65\" delay_time=\"20\"/>\r\n"
            L"<item desc=\"&lt;&amp;&gt;\" type=\"2\" value=\"65\" delay_time=\"-1\"/>\r\n"
            L"</macroitems>\r\n"
            L"</macro>\r\n");
}

TEST(XmlDocumentBuild, MacroWithoutItemsKeepsSelfClosingElement) {
  EXPECT_EQ(WriteMacro({}),
            L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            L"<macro>\r\n"
            L"<macroinfo name=\"Combo &quot;1&quot;\" times=\"3\" type=\"1\" delaytime=\"10\"/>\r\n"
            L"<macroitems/>\r\n"
            L"</macro>\r\n");
}

TEST(XmlDocumentBuild, WrittenMacroReadsBack) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(WriteMacro({{L"x", 1, 2, 3}, {L"y & z", 4, 5, 6}})));
  ASSERT_TRUE(doc.FindElement(L"macro"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"macroinfo"));
  EXPECT_EQ(doc.GetAttribute(L"name"), L"Combo \"1\"");
  ASSERT_TRUE(doc.FindElement(L"macroitems"));
  ASSERT_TRUE(doc.EnterElement());
  std::wstring descs;
  while (doc.FindElement(L"item")) descs += doc.GetAttribute(L"desc") + L"|" + doc.GetAttribute(L"delay_time") + L";";
  EXPECT_EQ(descs, L"x|3;y & z|6;");
}

struct AddCase {
  std::wstring before;
  std::wstring enter;   // element to enter first; empty: stay at the document level
  std::wstring after;   // sibling to stand on before adding; empty: current stays 0
  std::wstring result;
};

TEST(XmlDocumentBuild, AddElementPlacement) {
  const AddCase cases[] = {
      {L"<p/>", L"p", L"", L"<p>\r\n<n/>\r\n</p>"},
      {L"<p a=\"1\" />", L"p", L"", L"<p a=\"1\" >\r\n<n/>\r\n</p>"},
      {L"<p a=\"1\"//>", L"p", L"", L"<p a=\"1\">\r\n<n/>\r\n</p>"},
      {L"<p></p>", L"p", L"", L"<p>\r\n<n/>\r\n</p>"},
      {L"<p>text</p>", L"p", L"", L"<p>text<n/>\r\n</p>"},
      {L"<p>\r\n<x/>\r\n</p>", L"p", L"", L"<p>\r\n<x/>\r\n<n/>\r\n</p>"},
      {L"<p><x/>  <y/></p>", L"p", L"x", L"<p><x/>  <n/>\r\n<y/></p>"},
      {L"<p><x/> t<y/></p>", L"p", L"x", L"<p><x/><n/>\r\n t<y/></p>"},
      {L"<p><x></x>\r\n</p>", L"p", L"x", L"<p><x></x>\r\n<n/>\r\n</p>"},
      {L"<?xml version=\"1.0\"?>", L"", L"", L"<?xml version=\"1.0\"?><n/>\r\n"},
      {L"<?xml version=\"1.0\"?>\r\n  ", L"", L"", L"<?xml version=\"1.0\"?>\r\n  <n/>\r\n"},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    doc.SetText(c.before);
    if (!c.enter.empty()) {
      ASSERT_TRUE(doc.FindElement(c.enter));
      ASSERT_TRUE(doc.EnterElement());
    }
    if (!c.after.empty()) {
      ASSERT_TRUE(doc.FindElement(c.after));
    }
    ASSERT_TRUE(doc.AddElement(L"n")) << c.before;
    EXPECT_EQ(doc.GetText(), c.result) << c.before;
    // The index follows the text: the new element is current and the
    // reparsed text holds the same elements.
    ASSERT_TRUE(doc.SetAttribute(L"k", L"v"));
    XmlDocument reparsed;
    EXPECT_EQ(reparsed.SetText(doc.GetText()), doc.WellFormed()) << doc.GetText();
  }
}

TEST(XmlDocumentBuild, IndexFollowsInsertions) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><a/><b k=\"v\"><c k=\"w\"/></b></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.AddElement(L"n"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement(L"m"));
  ASSERT_TRUE(doc.SetAttribute(L"k", L"inner"));
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetText(), L"<r><a/><n>\r\n<m k=\"inner\"/>\r\n</n>\r\n<b k=\"v\"><c k=\"w\"/></b></r>");
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetAttribute(L"k"), L"v");
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"c"));
  EXPECT_EQ(doc.GetAttribute(L"k"), L"w");
  // A second element at the document level makes the document ill-formed.
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.LeaveElement());
  EXPECT_TRUE(doc.WellFormed());
  ASSERT_TRUE(doc.AddElement(L"second"));
  EXPECT_FALSE(doc.WellFormed());
}

TEST(XmlDocumentBuild, RefusesBadNames) {
  XmlDocument doc;
  doc.SetText(L"<a/>");
  for (const wchar_t* name : {L"", L"a b", L"<a", L"a/", L"9", L"a>b", L"a\"b"}) {
    EXPECT_FALSE(doc.AddElement(name)) << name;
  }
  EXPECT_EQ(doc.GetText(), L"<a/>");
}

}  // namespace
