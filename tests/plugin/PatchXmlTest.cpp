#include "StateTestBits.h"

#include "ModulixQR7150PatchXml.h"

#include "../support/CraftedXmlTexts.h"
#include "../support/TemporaryFolder.h"

namespace modulix_test
{
namespace
{

using PatchXml = ModulixQR7150PatchXml;

std::unique_ptr<juce::XmlElement> parseText (const juce::String& text)
{
    return PatchXml::parse (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

template <size_t size>
std::unique_ptr<juce::XmlElement> parseBytes (const char (&bytes)[size])
{
    return PatchXml::parse (bytes, size - 1);
}

juce::String nested (int depth)
{
    return juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth);
}

juce::String withChildren (int numChildren)
{
    return "<veloraPatch>" + juce::String::repeatedString ("<b/>", numChildren) + "</veloraPatch>";
}

juce::String withAttributes (int numAttributes)
{
    juce::String text ("<veloraPatch");

    for (int i = 0; i < numAttributes; ++i)
        text << " a" << i << "=\"\"";

    return text + "/>";
}

juce::XmlElement::TextFormat presetFileFormat()
{
    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    return format;
}

//==============================================================================
TEST_F (ProcessorTest, PlainXmlParsesAsJuceParsesIt)
{
    Processor p;

    const struct
    {
        const char* name;
        juce::String text;
    } cases[] {
        { "a bank on one line", p.writePreset (false).toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()) },
        { "a current-program state packed by JUCE", p.writeCurrentProgram().toString (juce::XmlElement::TextFormat().singleLine()) },
        { "a preset file as written to disk", p.writePreset (true).toString (presetFileFormat()) },
        { "declarations, instructions and comments before the root",
          "<?xml version=\"1.0\"?>\n<!-- a -- b --><?other x?>\r\n\t<veloraPatch/>" },
        { "comments, CDATA and references inside",
          "<veloraPatch a='&amp;&quot;&apos;&lt;&gt;&#65;&#x42;&#X1f600;' b=\"'<>'\">x<!-- <c> --><![CDATA[<x>&]]>&#x41;</veloraPatch>" },
        { "what follows the root", "<veloraPatch/><<< &bad; <!DOCTYPE" },
        { "nesting to the limit", nested (PatchXml::maxDepth) },
        { "elements to the limit", withChildren (PatchXml::maxElements - 1) },
        { "attributes to the limit", withAttributes (PatchXml::maxAttributes) },
        { "text up to the size limit", "<a>" + juce::String::repeatedString (" ", (int) PatchXml::maxTextBytes - 7) + "</a>" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto xml = parseText (c.text);
        ASSERT_NE (xml, nullptr);
        EXPECT_TRUE (xml->isEquivalentTo (juce::parseXML (c.text).get(), false));
    }

    const auto xml = parseText (cases[4].text);
    EXPECT_EQ (xml->getStringAttribute ("a"), juce::String::fromUTF8 ("&\"'<>AB\xf0\x9f\x98\x80"));
    EXPECT_EQ (xml->getAllSubText(), "x<x>&A");
}

TEST_F (ProcessorTest, ByteOrderMarkAndZeroByteBoundTheText)
{
    ASSERT_NE (parseBytes ("\xef\xbb\xbf<veloraPatch/>"), nullptr);
    ASSERT_NE (parseBytes ("<veloraPatch/>\0<<<"), nullptr);
    EXPECT_EQ (parseBytes ("<veloraPatch>\0</veloraPatch>"), nullptr);
    EXPECT_EQ (PatchXml::parse (nullptr, 10), nullptr);
}

TEST_F (ProcessorTest, TextOutsidePlainXmlIsRefusedBeforeItReachesTheParser)
{
    const struct
    {
        const char* name;
        juce::String text;
    } cases[] {
        { "nothing", "" },
        { "white space", " \r\n" },
        { "no markup", "veloraPatch" },
        { "text before the root", "x<veloraPatch/>" },
        { "CDATA before the root", "<![CDATA[x]]><veloraPatch/>" },
        { "an unclosed root", "<veloraPatch><a></a>" },
        { "an unclosed start tag", "<veloraPatch" },
        { "white space after the opening bracket", "< veloraPatch/>" },
        { "a name outside ASCII", juce::String::fromUTF8 ("<v\xc3\xa9loraPatch/>") },
        { "an unquoted attribute", "<veloraPatch a=b/>" },
        { "an attribute without a value", "<veloraPatch a/>" },
        { "an unterminated attribute", "<veloraPatch a=\"/>" },
        { "a document type", "<!DOCTYPE veloraPatch><veloraPatch/>" },
        { "a document type with entities",
          "<!DOCTYPE v [<!ENTITY e \"&#60;a&#62;\">]><veloraPatch>&e;</veloraPatch>" },
        { "markup declarations inside", "<veloraPatch><!ELEMENT a></veloraPatch>" },
        { "an instruction after text, which would never finish parsing", "<veloraPatch>x<?p?>y</veloraPatch>" },
        { "an instruction inside", "<veloraPatch><?p?></veloraPatch>" },
        { "an unknown entity", "<veloraPatch>&e;</veloraPatch>" },
        { "an entity holding markup", "<veloraPatch>&<a><a>;</veloraPatch>" },
        { "a bare ampersand", "<veloraPatch>a & b</veloraPatch>" },
        { "an unknown entity in an attribute", "<veloraPatch a=\"&e;\"/>" },
        { "character zero", "<veloraPatch>&#0;</veloraPatch>" },
        { "a character beyond Unicode", "<veloraPatch>&#x110000;</veloraPatch>" },
        { "a reference without digits", "<veloraPatch>&#;&#x;</veloraPatch>" },
        { "a reference with too many digits", "<veloraPatch>&#00000065;</veloraPatch>" },
        { "an unterminated comment", "<veloraPatch><!-- </veloraPatch>" },
        { "an unterminated CDATA section", "<veloraPatch><![CDATA[ </veloraPatch>" },
        { "an unterminated instruction", "<?xml version=\"1.0\"<veloraPatch/>" },
        { "a nameless end tag", "<veloraPatch></>" },
        { "nesting beyond the limit", nested (PatchXml::maxDepth + 1) },
        { "deep nesting", nested (100000) },
        { "elements beyond the limit", withChildren (PatchXml::maxElements) },
        { "CDATA beyond the element limit",
          "<veloraPatch>" + juce::String::repeatedString ("<![CDATA[]]>", PatchXml::maxElements) + "</veloraPatch>" },
        { "attributes beyond the limit", withAttributes (PatchXml::maxAttributes + 1) },
        { "text beyond the size limit", "<a>" + juce::String::repeatedString (" ", (int) PatchXml::maxTextBytes - 6) + "</a>" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (parseText (c.text), nullptr);
    }
}

TEST_F (ProcessorTest, InvalidUtf8IsRefused)
{
    EXPECT_EQ (parseBytes ("<veloraPatch>\xc3</veloraPatch>"), nullptr);
    EXPECT_EQ (parseBytes ("<veloraPatch a=\"\xf0\x9f\x98\"/>"), nullptr);
    EXPECT_EQ (parseBytes ("<veloraPatch/>\xff"), nullptr);
    EXPECT_EQ (parseBytes ("<veloraPatch>\xf8\x88\x80\x80\x80</veloraPatch>"), nullptr);
    EXPECT_NE (parseBytes ("<veloraPatch>\xc3\xa9</veloraPatch>"), nullptr);
}

// JUCE's reader decodes overlong forms as the characters they spell: the byte
// check must never see text other than the text JUCE reads.
TEST_F (ProcessorTest, OnlyStrictUtf8IsParsedAndValidMultiByteTextAsJuceReadsIt)
{
    using CraftedXmlTexts::Form;

    GTEST_FLAG_SET (death_test_style, "threadsafe");

    for (const auto form : { Form::bank, Form::program, Form::preset })
    {
        // In a child process: without the check JUCE hangs on some and overflows its stack on one.
        EXPECT_EXIT (
            {
                CraftedXmlTexts::boundHangs();
                CraftedXmlTexts::exitChild (CraftedXmlTexts::holdsForEach (form, [] (const std::string& bytes)
                {
                    return PatchXml::parse (bytes.data(), bytes.size()) == nullptr;
                }));
            },
            ::testing::ExitedWithCode (0), "");

        const auto document = CraftedXmlTexts::multiByteDocument (form);
        const auto xml = PatchXml::parse (document.data(), document.size());
        ASSERT_NE (xml, nullptr);
        EXPECT_TRUE (xml->isEquivalentTo (juce::parseXML (juce::String::fromUTF8 (document.data(), (int) document.size())).get(), false));
    }

    const auto bank = CraftedXmlTexts::multiByteDocument (Form::bank);
    const auto xml = PatchXml::parse (bank.data(), bank.size());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getChildByName ("Properties")->getChildElement (0)->getChildElement (0)->getStringAttribute ("presetPath"),
               juce::String::fromUTF8 (CraftedXmlTexts::multiByteText.c_str()));
}

//==============================================================================
TEST_F (ProcessorTest, PresetFilesAreWrittenAsUtf8BehindTheDeclarationWithWrappedAttributes)
{
    Processor p;
    const modulix_test::TemporaryFolder temporary ("modulix-patch-xml-test");
    const auto file = temporary.getFile().getChildFile ("Sub/Deeper/My Preset.vmxp");

    ASSERT_TRUE (PatchXml::writeFile (p.writePreset (true), file));

    EXPECT_TRUE (file.loadFileAsString().startsWith (
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"
        "<veloraPatch version=\"1.0\">\r\n"
        "  <DeviceName>Modulix QR7150</DeviceName>\r\n"
        "  <Properties deviceProductID=\"com.velora.ModulixQR7150\" deviceVersion=\"1.0.1\"\r\n"
        "              presetVersion=\"1.0\">\r\n"
        "    <Value property=\"onBypass\" type=\"boolean\">true</Value>\r\n"
        "    <Value property=\"chorusType\" type=\"number\">0</Value>\r\n"))
        << file.loadFileAsString();

    const auto xml = PatchXml::parseFile (file);
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->isEquivalentTo (std::make_unique<juce::XmlElement> (p.writePreset (true)).get(), false));
}

TEST_F (ProcessorTest, PresetFilesThatCannotBeWrittenOrReadGiveNothing)
{
    Processor p;
    const modulix_test::TemporaryFolder temporary ("modulix-patch-xml-test");
    const auto blocker = temporary.getFile().getChildFile ("file");
    ASSERT_TRUE (blocker.replaceWithText ("x"));

    EXPECT_FALSE (PatchXml::writeFile (p.writePreset (true), blocker.getChildFile ("Preset.vmxp")));
    EXPECT_EQ (PatchXml::parseFile (temporary.getFile().getChildFile ("Missing.vmxp")), nullptr);
    EXPECT_EQ (PatchXml::parseFile (temporary.getFile()), nullptr);

    const auto oversized = temporary.getFile().getChildFile ("Oversized.vmxp");
    ASSERT_TRUE (oversized.replaceWithText ("<veloraPatch/><!--" + juce::String::repeatedString (" ", (int) PatchXml::maxTextBytes) + "-->"));
    EXPECT_EQ (PatchXml::parseFile (oversized), nullptr);
}

} // namespace
} // namespace modulix_test
