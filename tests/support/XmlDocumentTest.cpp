#include "support/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ParseCase {
  std::wstring text;
  bool wellFormed;
  std::wstring diagnostic;  // an entry the diagnostics must hold; empty for none
};

TEST(XmlDocumentParse, WellFormednessAndFaults) {
  const ParseCase cases[] = {
      {L"<a/>", true, L""},
      {L"<?xml version=\"1.0\"?>\r\n<a><b x=\"1\"/>text</a>\r\n", true, L""},
      {L"<a><!-- <b> --><![CDATA[<c></d>]]><?pi <e>?></a>", true, L""},
      {L"<!DOCTYPE a [<!ELEMENT a EMPTY><!-- > --><!ATTLIST a b CDATA \"x>y\"><?p >?>]><a/>", true, L""},
      {L"<a b=\"x>y\" c='/>'/>", true, L""},
      {L"", false, L""},
      {L"  \r\n", false, L"<no_root_element offset=\"0\"/>"},
      {L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", false, L"<no_root_element offset=\"0\"/>"},
      {L"<a/><b/>", false, L"<root_has_sibling offset=\"4\"/>"},
      {L"<a><b></a>", false, L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
      {L"<a><b>", false, L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
      {L"<a></x></a>", false, L"<lone_end_tag tagname=\"x\" offset=\"3\"/>"},
      {L"</x><a/>", false, L"<lone_end_tag tagname=\"x\" offset=\"0\"/>"},
      {L"<A></a>", false, L"<lone_end_tag tagname=\"a\" offset=\"3\"/>"},
      {L"<a>< b</a>", false, L"<first_tag_syntax offset=\"3\"/>"},
      {L"<a>1<2</a>", false, L"<first_tag_syntax offset=\"4\"/>"},
      {L"<a><!x></a>", false, L"<exclamation_tag_syntax offset=\"3\"/>"},
      {L"<a><!-x--></a>", false, L"<comment_tag_syntax offset=\"3\"/>"},
      {L"<a><![D[x]]></a>", false, L"<cdata_section_syntax offset=\"3\"/>"},
      {L"<!DOCTYPE a [<!X>]><a/>", false, L"<doctype_tag_syntax offset=\"13\"/>"},
      {L"<a", false, L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/>"},
      {L"<a b=\"x/></a>", false, L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/>"},
      {L"<a></a", false, L"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"},
      {L"<a><![CDATA[x</a>", false, L"<unterminated_tag_syntax type=\"cdata_section\" offset=\"3\"/>"},
      {L"<a><?pi x</a>", false, L"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"3\"/>"},
      {L"<a><!-- x</a>", false, L"<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"},
      {L"<!DOCTYPE a [<!ELEMENT a EMPTY>", false, L"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/>"},
      {L"<a/><", false, L"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
      // In an unquoted value the '/' belongs to the value: this is a start tag.
      {L"<a b=x/>", false, L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"8\"/>"},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    EXPECT_EQ(doc.SetText(c.text), c.wellFormed) << c.text;
    EXPECT_EQ(doc.WellFormed(), c.wellFormed) << c.text;
    EXPECT_EQ(doc.GetText(), c.text);
    if (c.diagnostic.empty()) {
      EXPECT_EQ(doc.Diagnostics(), L"") << c.text;
    } else {
      EXPECT_NE(doc.Diagnostics().find(c.diagnostic), std::wstring::npos) << c.text << "\n" << doc.Diagnostics();
    }
  }
}

TEST(XmlDocumentParse, DiagnosticsStopGrowingAtTheirLimit) {
  std::wstring text = L"<a>";
  for (int i = 0; i < 500; ++i) text += L"</" + std::wstring(300, L'x') + L">";
  text += L"</a>";
  XmlDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  EXPECT_GE(doc.Diagnostics().size(), 1000u);
  EXPECT_LT(doc.Diagnostics().size(), 1200u);
}

TEST(XmlDocumentParse, DeepAndDamagedTextsStayLinear) {
  // Half a million open elements under as many stray end tags: quadratic
  // matching would take minutes.
  std::wstring text;
  for (int i = 0; i < 200000; ++i) text += L"<a>";
  for (int i = 0; i < 200000; ++i) text += L"</b>";
  for (int i = 0; i < 200000; ++i) text += L"</a>";
  XmlDocument doc;
  EXPECT_FALSE(doc.SetText(text));
  text.clear();
  for (int i = 0; i < 100000; ++i) text += L"<a>";
  for (int i = 0; i < 100000; ++i) text += L"</a>";
  EXPECT_TRUE(doc.SetText(text));
  int depth = 0;
  while (doc.FindElement(L"a") && doc.EnterElement()) ++depth;
  EXPECT_EQ(depth, 100000);
}

class XmlDocumentNavigation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_doc.SetText(
        L"<root><a id=\"1\"/><b id=\"2\">\r\n  <c id=\"3\"/><d id=\"4\"/>\r\n</b><Item id=\"x\"/>"
        L"<item id=\"5\"/><!-- <item id=\"no\"/> --><item id=\"6\"></item></root>"));
    ASSERT_TRUE(m_doc.FindElement(L"root"));
    ASSERT_TRUE(m_doc.EnterElement());
  }
  std::wstring Id() const { return m_doc.GetAttribute(L"id"); }
  XmlDocument m_doc;
};

TEST_F(XmlDocumentNavigation, ListLoopIsCaseSensitiveAndStopsInPlace) {
  std::vector<std::wstring> ids;
  while (m_doc.FindElement(L"item")) ids.push_back(Id());
  EXPECT_EQ(ids, (std::vector<std::wstring>{L"5", L"6"}));
  EXPECT_EQ(Id(), L"6");  // the failed search left the cursor alone
}

TEST_F(XmlDocumentNavigation, NeverMovesBackwards) {
  ASSERT_TRUE(m_doc.FindElement(L"b"));
  EXPECT_FALSE(m_doc.FindElement(L"a"));
  EXPECT_EQ(Id(), L"2");
  EXPECT_TRUE(m_doc.FindElement(L""));
  EXPECT_EQ(Id(), L"x");
}

TEST_F(XmlDocumentNavigation, LeaveThenEnterReturnsToThePosition) {
  ASSERT_TRUE(m_doc.FindElement(L"b"));
  ASSERT_TRUE(m_doc.EnterElement());
  EXPECT_EQ(Id(), L"");  // no current element before the first child
  ASSERT_TRUE(m_doc.FindElement(L"c"));
  ASSERT_TRUE(m_doc.LeaveElement());
  EXPECT_EQ(Id(), L"2");
  ASSERT_TRUE(m_doc.EnterElement());
  EXPECT_EQ(Id(), L"3");
  ASSERT_TRUE(m_doc.FindElement(L"d"));
  EXPECT_FALSE(m_doc.FindElement(L"d"));
  ASSERT_TRUE(m_doc.LeaveElement());
  ASSERT_TRUE(m_doc.FindElement(L"item"));
  EXPECT_EQ(Id(), L"5");
}

TEST_F(XmlDocumentNavigation, RefusesMovesThatHaveNowhereToGo) {
  EXPECT_FALSE(m_doc.EnterElement());  // no current element yet
  ASSERT_TRUE(m_doc.LeaveElement());
  EXPECT_FALSE(m_doc.LeaveElement());  // already at the document level
  EXPECT_FALSE(m_doc.FindElement(L"root"));
  ASSERT_TRUE(m_doc.SetText(L"<x/>"));  // SetText puts the cursor back
  EXPECT_TRUE(m_doc.FindElement(L"x"));
}

struct AttributeCase {
  std::wstring tag;
  std::wstring expected;
};

TEST(XmlDocumentAttributes, DecodesReferencesAndQuoting) {
  const AttributeCase cases[] = {
      {L"<a v=\"a&amp;b&#65;&unknown;\"/>", L"a&bA&unknown;"},
      {L"<a v=\"&lt;&gt;&quot;&apos;\"/>", L"<>\"'"},
      {L"<a v=\"&#x20AC;&#X41;&#8364;\"/>", L"\u20AC" L"A" L"\u20AC"},
      {L"<a v=\"&#x1F600;\"/>", std::wstring(1, wchar_t(0x1F600))},
      {L"<a v=\"&nbsp;&copy;&euro;&thetasym;\"/>", L"\u00A0\u00A9\u20AC\u03D1"},
      {L"<a v=\"&Agrave;&agrave;&Dagger;&dagger;\"/>", L"\u00C0\u00E0\u2021\u2020"},
      {L"<a v=\"&AMP;&#0;&#x;&amp\"/>", L"&AMP;&#0;&#x;&amp"},
      {L"<a v=\"&#1114111;&#x110000;&#xD800;\"/>", std::wstring(1, wchar_t(0x10FFFF)) + L"&#x110000;&#xD800;"},
      // At most nine characters between '&' and ';'.
      {L"<a v=\"&#00000065;&#000000065;\"/>", L"A&#000000065;"},
      {L"<a v=\"&amp&lt;\"/>", L"&amp<"},
      {L"<a v='single \"q\"'/>", L"single \"q\""},
      {L"<a v = \"spaced\" />", L"spaced"},
      {L"<a v=bare w=\"2\">x</a>", L"bare"},
      {L"<a vv=\"no\" v=\"first\" v=\"second\"/>", L"first"},
      {L"<a V=\"upper\"/>", L""},
      {L"<a w=\"v=x\"/>", L""},
      {L"<a/>", L""},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    doc.SetText(c.tag);
    ASSERT_TRUE(doc.FindElement(L"a")) << c.tag;
    EXPECT_EQ(doc.GetAttribute(L"v"), c.expected) << c.tag;
  }
  XmlDocument doc;
  doc.SetText(L"<a v=\"1\"/>");
  EXPECT_EQ(doc.GetAttribute(L"v"), L"");  // no current element
}

struct SetCase {
  std::wstring before;
  std::wstring name;
  std::wstring value;
  std::wstring after;
};

TEST(XmlDocumentAttributes, SetEscapesAndKeepsOrder) {
  const SetCase cases[] = {
      {L"<a/>", L"desc", L"x<y & \"z\"", L"<a desc=\"x&lt;y &amp; &quot;z&quot;\"/>"},
      {L"<a/>", L"v", L"it's > 1", L"<a v=\"it&apos;s &gt; 1\"/>"},
      {L"<a x=\"1\" />", L"y", L"2", L"<a x=\"1\" y=\"2\" />"},
      {L"<a b='old' c=\"2\"/>", L"b", L"new", L"<a b=\"new\" c=\"2\"/>"},
      {L"<a b=old c=\"2\"/>", L"b", L"new", L"<a b=\"new\" c=\"2\"/>"},
      {L"<a b c=\"2\"/>", L"b", L"new", L"<a b=\"new\" c=\"2\"/>"},
      {L"<a x=\"1\">text</a>", L"y", L"", L"<a x=\"1\" y=\"\">text</a>"},
      {L"<a b=>t</a>", L"c", L"v", L"<a b=\"\" c=\"v\">t</a>"},
      {L"<a n\"m=1/>t</a>", L"c", L"v", L"<a n\"m=1/ c=\"v\">t</a>"},
      {L"<a 'x' ?y/>", L"c", L"v", L"<a 'x' c=\"v\" ?y/>"},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    doc.SetText(c.before);
    ASSERT_TRUE(doc.FindElement(L"a"));
    ASSERT_TRUE(doc.SetAttribute(c.name, c.value));
    EXPECT_EQ(doc.GetText(), c.after);
    EXPECT_EQ(doc.GetAttribute(c.name), c.value);
  }
}

TEST(XmlDocumentAttributes, SetMovesTheElementsThatFollow) {
  XmlDocument doc;
  ASSERT_TRUE(doc.SetText(L"<r><a><c k=\"1\"/></a><b k=\"2\"/></r>"));
  ASSERT_TRUE(doc.FindElement(L"r"));
  ASSERT_TRUE(doc.SetAttribute(L"long_name", L"a long value & more"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"a"));
  ASSERT_TRUE(doc.SetAttribute(L"n", 42));
  ASSERT_TRUE(doc.SetAttribute(L"m", -7));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement(L"c"));
  EXPECT_EQ(doc.GetAttribute(L"k"), L"1");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetAttribute(L"m"), L"-7");
  ASSERT_TRUE(doc.FindElement(L"b"));
  EXPECT_EQ(doc.GetAttribute(L"k"), L"2");
  EXPECT_EQ(doc.GetText(), L"<r long_name=\"a long value &amp; more\"><a n=\"42\" m=\"-7\"><c k=\"1\"/></a><b k=\"2\"/></r>");
  XmlDocument reparsed;
  EXPECT_TRUE(reparsed.SetText(doc.GetText()));
}

TEST(XmlDocumentAttributes, RefusedWithoutCurrentElementOrWithABadName) {
  XmlDocument doc;
  doc.SetText(L"<a/>");
  EXPECT_FALSE(doc.SetAttribute(L"v", L"1"));
  ASSERT_TRUE(doc.FindElement(L"a"));
  for (const wchar_t* name : {L"", L"a b", L"a=b", L"a\"", L"a>", L"a/", L"1a"}) {
    EXPECT_FALSE(doc.SetAttribute(name, L"1")) << name;
  }
  EXPECT_EQ(doc.GetText(), L"<a/>");
}

}  // namespace
