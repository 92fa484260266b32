#include "ModulixQR7150PatchXml.h"

#include <cstring>
#include <string_view>

namespace
{
    /** Walks the prolog and the root element of a text and tells whether it keeps to
        the plain XML that juce::XmlDocument parses safely, within the size limits. */
    class PlainXmlCheck
    {
    public:
        PlainXmlCheck (const char* text, size_t numBytes) noexcept
            : rest (text, numBytes) {}

        bool passes() noexcept
        {
            bool isEmpty = false;

            if (! skipProlog() || ! readStartTag (isEmpty))
                return false;

            for (int depth = isEmpty ? 0 : 1; depth > 0;)
                if (! readContent (depth))
                    return false;

            return true;
        }

    private:
        static bool isWhitespace (char c) noexcept  { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

        static bool isNameChar (char c) noexcept
        {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '_' || c == '-' || c == ':' || c == '.';
        }

        static int digitValue (char c, bool hex) noexcept
        {
            if (c >= '0' && c <= '9')           return c - '0';
            if (hex && c >= 'a' && c <= 'f')    return c - 'a' + 10;
            if (hex && c >= 'A' && c <= 'F')    return c - 'A' + 10;
            return -1;
        }

        bool startsWith (std::string_view prefix) const noexcept   { return rest.substr (0, prefix.size()) == prefix; }
        void skip (size_t numBytes) noexcept                        { rest.remove_prefix (numBytes); }

        bool consume (char c) noexcept
        {
            if (rest.empty() || rest[0] != c)
                return false;

            skip (1);
            return true;
        }

        void skipWhitespace() noexcept
        {
            while (! rest.empty() && isWhitespace (rest[0]))
                skip (1);
        }

        bool skipName() noexcept
        {
            size_t length = 0;

            while (length < rest.size() && isNameChar (rest[length]))
                ++length;

            skip (length);
            return length > 0;
        }

        // Comments, CDATA and processing instructions end at the first closer after their opener.
        bool skipSection (std::string_view opener, std::string_view closer) noexcept
        {
            const auto end = rest.find (closer, opener.size());

            if (end == std::string_view::npos)
                return false;

            skip (end + closer.size());
            return true;
        }

        bool skipProlog() noexcept
        {
            for (;;)
            {
                skipWhitespace();

                if (startsWith ("<?"))
                {
                    if (! skipSection ("<?", "?>"))
                        return false;
                }
                else if (startsWith ("<!--"))
                {
                    if (! skipSection ("<!--", "-->"))
                        return false;
                }
                else
                {
                    return true;
                }
            }
        }

        bool countElement() noexcept        { return ++numElements <= ModulixQR7150PatchXml::maxElements; }
        bool countAttribute() noexcept      { return ++numAttributes <= ModulixQR7150PatchXml::maxAttributes; }

        bool readReference() noexcept
        {
            skip (1);

            for (std::string_view name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            {
                if (startsWith (name))
                {
                    skip (name.size());
                    return true;
                }
            }

            if (! consume ('#'))
                return false;

            const bool hex = consume ('x') || consume ('X');
            const int maxDigits = hex ? 6 : 7;
            juce::uint32 code = 0;
            int numDigits = 0;

            for (; numDigits < maxDigits && ! rest.empty() && digitValue (rest[0], hex) >= 0; ++numDigits)
            {
                code = code * (hex ? 16u : 10u) + (juce::uint32) digitValue (rest[0], hex);
                skip (1);
            }

            return numDigits > 0 && consume (';') && code > 0 && code <= 0x10ffff;
        }

        bool readText() noexcept
        {
            while (! rest.empty() && rest[0] != '<')
            {
                if (rest[0] != '&')
                    skip (1);
                else if (! readReference())
                    return false;
            }

            return true;
        }

        bool readAttribute() noexcept
        {
            if (! skipName())
                return false;

            skipWhitespace();

            if (! consume ('='))
                return false;

            skipWhitespace();

            if (rest.empty() || (rest[0] != '"' && rest[0] != '\''))
                return false;

            const char quote = rest[0];
            skip (1);

            while (! rest.empty() && rest[0] != quote)
            {
                if (rest[0] != '&')
                    skip (1);
                else if (! readReference())
                    return false;
            }

            return consume (quote) && countAttribute();
        }

        bool readStartTag (bool& isEmpty) noexcept
        {
            if (! consume ('<') || ! skipName() || ! countElement())
                return false;

            for (;;)
            {
                skipWhitespace();

                if (startsWith ("/>"))
                {
                    skip (2);
                    isEmpty = true;
                    return true;
                }

                if (consume ('>'))
                {
                    isEmpty = false;
                    return true;
                }

                if (! readAttribute())
                    return false;
            }
        }

        // One item inside an element: text, a comment, CDATA, or a start or end tag.
        bool readContent (int& depth) noexcept
        {
            if (rest.empty())
                return false;

            if (rest[0] != '<')
                return readText();

            if (startsWith ("</"))
            {
                --depth;
                return readEndTag();
            }

            if (startsWith ("<!--"))
                return skipSection ("<!--", "-->");

            if (startsWith ("<![CDATA["))
                return skipSection ("<![CDATA[", "]]>") && countElement();

            bool isEmpty = false;

            if (! readStartTag (isEmpty))
                return false;

            depth += isEmpty ? 0 : 1;
            return depth <= ModulixQR7150PatchXml::maxDepth;
        }

        bool readEndTag() noexcept
        {
            skip (2);

            if (! skipName())
                return false;

            skipWhitespace();
            return consume ('>');
        }

        std::string_view rest;
        int numElements = 0;
        int numAttributes = 0;
    };
}

std::unique_ptr<juce::XmlElement> ModulixQR7150PatchXml::parse (const char* text, size_t numBytes)
{
    if (text == nullptr)
        return {};

    if (const auto* zero = static_cast<const char*> (std::memchr (text, 0, numBytes)))
        numBytes = (size_t) (zero - text);

    if (numBytes >= 3 && std::memcmp (text, "\xef\xbb\xbf", 3) == 0)
    {
        text += 3;
        numBytes -= 3;
    }

    if (numBytes > maxTextBytes
         || ! juce::CharPointer_UTF8::isValidString (text, (int) numBytes)
         || ! PlainXmlCheck (text, numBytes).passes())
        return {};

    return juce::XmlDocument::parse (juce::String::fromUTF8 (text, (int) numBytes));
}

std::unique_ptr<juce::XmlElement> ModulixQR7150PatchXml::parseFile (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() > (juce::int64) maxTextBytes)
        return {};

    juce::MemoryBlock data;

    if (! file.loadFileAsData (data))
        return {};

    return parse (static_cast<const char*> (data.getData()), data.getSize());
}

bool ModulixQR7150PatchXml::writeFile (const juce::XmlElement& xml, const juce::File& file)
{
    if (! file.getParentDirectory().createDirectory().wasOk())
        return false;

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;
    return xml.writeTo (file, format);
}
