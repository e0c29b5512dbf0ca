#include "parser/datsource/CXmlParser.h"

#include "foundation/WideText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::wstring ParseError(const std::wstring& text)
{
    CXmlParser parser;
    CXmlNode document;
    EXPECT_FALSE(parser.Parse(text, document)) << ToUtf8(text);
    EXPECT_EQ(document.ChildCount(), 0u);
    return parser.ErrorText();
}

const wchar_t kDocument[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<!-- dumped -->\n"
    L"<Root a=\"1\" b = 'x &amp; y'>\n"
    L"\t<Child>v &lt;1&gt; &quot;q&quot; &apos;s&apos; &#65;&#x42; &copy; a&b</Child>\n"
    L"  <Empty/>\n"
    L"  <![CDATA[<raw>&amp;]]>\n"
    L"</Root>";

TEST(CXmlParserTest, ReadsTheTreeWithDecodedValues)
{
    CXmlParser parser;
    CXmlNode document;
    ASSERT_TRUE(parser.Parse(kDocument, document)) << ToUtf8(parser.ErrorText());
    ASSERT_EQ(document.ChildCount(), 2u);
    EXPECT_EQ(document.Child(0)->Name(), L"#COMMENT");
    EXPECT_EQ(document.Child(0)->Value(), L" dumped ");
    const CXmlNode& root = *document.Child(1);
    EXPECT_EQ(root.Name(), L"Root");
    EXPECT_EQ(root.Value(), L"");
    ASSERT_EQ(root.Attributes().size(), 2u);
    EXPECT_EQ(*root.FindAttribute(L"b"), L"x & y");
    EXPECT_EQ(root.FindAttribute(L"c"), nullptr);
    ASSERT_EQ(root.ChildCount(), 3u);
    EXPECT_EQ(root.Child(0)->Value(), L"v <1> \"q\" 's' AB &copy; a&b");
    EXPECT_EQ(root.Child(1)->Name(), L"Empty");
    EXPECT_EQ(root.Child(1)->ChildCount(), 0u);
    EXPECT_EQ(root.Child(2)->Name(), L"#CDATA");
    EXPECT_EQ(root.Text(), L"<raw>&amp;");
    EXPECT_EQ(root.Child(3), nullptr);
    EXPECT_EQ(root.FindChild(L"Empty"), root.Child(1));
}

TEST(CXmlParserTest, MalformedTextsGiveTheirMessages)
{
    EXPECT_EQ(ParseError(L"<Hand id=7/>"), L"<Hand> attribute has error");
    EXPECT_EQ(ParseError(L"<Hand id/>"), L"<Hand> attribute has error");
    EXPECT_EQ(ParseError(L"<Hand id=\"7/>"), L"<Hand> attribute has error");
    EXPECT_EQ(ParseError(L"<Hand =\"7\"/>"), L"<Hand> attribute has error");
    EXPECT_EQ(ParseError(L"<Hand / >"), L"<Hand> attribute has error");
    EXPECT_EQ(ParseError(L"<Root><Hand></Root>"), L"Hand must be closed with </Hand>");
    EXPECT_EQ(ParseError(L"<Root><Hand></Hand</Root>"), L"it must be closed with </Hand>");
    EXPECT_EQ(ParseError(L"<Root></Root x>"), L"it must be closed with </Root>");
    EXPECT_EQ(ParseError(L"<Root></Game>"), L"'<Root> ... </Game>' is not wel-formed.");
    EXPECT_EQ(ParseError(L"<Root><Hand>"), L"Element must be closed.");
    EXPECT_EQ(ParseError(L"<Root a='1'"), L"Element must be closed.");
    EXPECT_EQ(ParseError(L"<Root><!-- open"), L"Comment must be closed with -->");
    EXPECT_EQ(ParseError(L"<Root><![CDATA[x]>"), L"CDATA section must be closed with ]]>");
    EXPECT_EQ(ParseError(L"</Root>"), L"</Root> has no start tag.");
    EXPECT_EQ(ParseError(L"<Root>a < b</Root>"), L"An element has no name.");
    EXPECT_EQ(ParseError(L""), L"The text holds no element.");
    EXPECT_EQ(ParseError(L"just text <!-- and a comment -->"), L"The text holds no element.");
}

TEST(CXmlParserTest, EveryTruncationFailsAndTheParserRecovers)
{
    const std::wstring text = kDocument;
    CXmlParser parser;
    CXmlNode document;
    for (size_t length = 0; length < text.size(); ++length) {
        EXPECT_FALSE(parser.Parse(text.substr(0, length), document)) << length;
        EXPECT_FALSE(parser.ErrorText().empty());
        EXPECT_LE(parser.ErrorOffset(), length);
    }
    ASSERT_TRUE(parser.Parse(text, document));
    EXPECT_EQ(parser.ErrorText(), L"");
}

TEST(CXmlParserTest, NestingIsLimited)
{
    const auto nested = [](size_t depth) {
        std::wstring text;
        for (size_t i = 0; i < depth; ++i) {
            text += L"<n>";
        }
        for (size_t i = 0; i < depth; ++i) {
            text += L"</n>";
        }
        return text;
    };
    CXmlParser parser;
    CXmlNode document;
    EXPECT_TRUE(parser.Parse(nested(CXmlParser::kMaxDepth), document));
    EXPECT_FALSE(parser.Parse(nested(CXmlParser::kMaxDepth + 1), document));
    EXPECT_EQ(parser.ErrorText(), L"Elements are nested deeper than 256 levels.");
    // Far deeper than any stack would take.
    EXPECT_FALSE(parser.Parse(nested(1000000), document));
}

TEST(CXmlParserTest, HugeAndRandomTextsAreHandled)
{
    std::wstring big(10 * 1024 * 1024, L'x');
    for (size_t i = 80; i < big.size(); i += 81) {
        big[i] = L'\n';
    }
    CXmlParser parser;
    CXmlNode document;
    ASSERT_TRUE(parser.Parse(L"<Gameplay>" + big + L"</Gameplay>", document));
    EXPECT_EQ(document.Child(0)->Value().size(), big.size());

    std::mt19937 random(5);
    const std::wstring alphabet = L"<>/=\"'!-[]?&;#x aZ\n\u0416";
    for (int round = 0; round < 2000; ++round) {
        std::wstring text;
        const size_t length = random() % 200;
        for (size_t i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        if (!parser.Parse(text, document)) {
            EXPECT_FALSE(parser.ErrorText().empty());
        }
    }
}

}  // namespace
