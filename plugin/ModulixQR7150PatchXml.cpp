#include "ModulixQR7150PatchXml.h"

#include "StrictUtf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
         || ! isStrictUtf8 ({ text, numBytes })
         || ! PlainXmlCheck (text, numBytes).passes())
        return {};

    return juce::XmlDocument::parse (juce::String::fromUTF8 (text, (int) numBytes));
}

std::unique_ptr<juce::XmlElement> ModulixQR7150PatchXml::parseFile (const juce::File& file)
{
    juce::MemoryBlock data;

    if (! readRegularFile (file, maxTextBytes, data))
        return {};

    return parse (static_cast<const char*> (data.getData()), data.getSize());
}

bool ModulixQR7150PatchXml::isPresetOfThisProduct (const juce::XmlElement& root)
{
    if (root.getTagName() != rootTag)
        return false;

    for (auto* child : root.getChildIterator())
        if (child->getTagName() == propertiesTag)
            return child->getAttributeValue (0) == productId;

    return false;
}

bool ModulixQR7150PatchXml::isRegularFile (const juce::File& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file (std::filesystem::u8path (file.getFullPathName().toStdString()), error);
}

namespace
{
    /** A file descriptor, closed when it goes. */
    struct Descriptor
    {
        explicit Descriptor (int descriptor) noexcept : fd (descriptor) {}

        ~Descriptor()
        {
            if (fd >= 0)
                ::close (fd);
        }

        const int fd;

        JUCE_DECLARE_NON_COPYABLE (Descriptor)
    };
} // namespace

bool ModulixQR7150PatchXml::readRegularFile (const juce::File& file, size_t maxBytes, juce::MemoryBlock& data)
{
    // Whatever stands at the path is opened first and then looked at: a pipe swapped in
    // at any moment would make a blocking open wait for a writer, and a device or a file
    // that grows never ends. Only what was opened is read, and never beyond the limit.
    const Descriptor opened { ::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY) };
    return opened.fd >= 0 && readRegularFile (opened.fd, maxBytes, data);
}

bool ModulixQR7150PatchXml::readRegularFile (int descriptor, size_t maxBytes, juce::MemoryBlock& data)
{
    struct stat info {};

    if (::fstat (descriptor, &info) != 0 || ! S_ISREG (info.st_mode) || info.st_size < 0
         || (juce::uint64) info.st_size > maxBytes)
        return false;

    // Room for one byte more than the file held, so that growth past the limit shows.
    data.setSize ((size_t) info.st_size + 1);
    size_t numRead = 0;

    for (;;)
    {
        if (numRead == data.getSize())
        {
            if (numRead > maxBytes)
                return false;

            data.setSize (std::min (2 * numRead, maxBytes + 1));
        }

        const auto result = ::pread (descriptor, static_cast<char*> (data.getData()) + numRead,
                                     data.getSize() - numRead, (off_t) numRead);

        if (result == 0)
            break;

        if (result < 0 && errno != EINTR)
            return false;

        numRead += (size_t) std::max<ssize_t> (result, 0);
    }

    data.setSize (numRead);
    return true;
}

bool ModulixQR7150PatchXml::writeFile (const juce::XmlElement& xml, const juce::File& file)
{
    // A folder, pipe or device of that name is left alone, and so is the old file
    // until a complete new one stands beside it.
    if (file.exists() && ! isRegularFile (file))
        return false;

    if (! file.getParentDirectory().createDirectory().wasOk())
        return false;

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;

    juce::MemoryOutputStream text;
    xml.writeTo (text, format);

    // The temporary file and the rename go through the folder as it was opened, so
    // both land in the same folder whatever happens to its path meanwhile.
    const Descriptor folder { ::open (file.getParentDirectory().getFullPathName().toRawUTF8(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC) };

    if (folder.fd < 0)
        return false;

    juce::String temporaryName;
    bool written = false;

    {
        const Descriptor temporary { createTemporaryFile (folder.fd, temporaryName) };

        // Checked before the rename, through the descriptor it was written with: once the
        // rename is done the new preset stands complete in the old one's place.
        written = temporary.fd >= 0
               && writeWhole (temporary.fd, text.getData(), text.getDataSize())
               && holdsExactly (temporary.fd, text.getData(), text.getDataSize())
               && readsBackAs (text, xml);
    }

    if (written && ::renameat (folder.fd, temporaryName.toRawUTF8(), folder.fd, file.getFileName().toRawUTF8()) == 0)
        return true;

    if (temporaryName.isNotEmpty())
        ::unlinkat (folder.fd, temporaryName.toRawUTF8(), 0);

    return false;
}

int ModulixQR7150PatchXml::createTemporaryFile (int folder, juce::String& name)
{
    // Hidden and not ending in the preset extension, so that no folder listing offers
    // it, not even one left by a crash; short, so that it fits beside a target whose
    // name takes all the length the file system allows.
    juce::Random random;

    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto candidate = "." + juce::String::toHexString (random.nextInt (0x7fffffff)).paddedLeft ('0', 8) + ".saving";
        const int descriptor = ::openat (folder, candidate.toRawUTF8(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);

        if (descriptor >= 0)
        {
            name = candidate;
            return descriptor;
        }

        if (errno != EEXIST)
            break;
    }

    name = {};
    return -1;
}

bool ModulixQR7150PatchXml::writeWhole (int descriptor, const void* data, size_t numBytes)
{
    // Each write reports its own outcome: a short write (a file-size limit, a full
    // disk) goes on from where it stopped until the next one fails.
    for (size_t numWritten = 0; numWritten < numBytes;)
    {
        const auto result = ::write (descriptor, static_cast<const char*> (data) + numWritten, numBytes - numWritten);

        if (result <= 0 && ! (result < 0 && errno == EINTR))
            return false;

        numWritten += (size_t) std::max<ssize_t> (result, 0);
    }

    return ::fsync (descriptor) == 0;
}

bool ModulixQR7150PatchXml::holdsExactly (int descriptor, const void* data, size_t numBytes)
{
    juce::MemoryBlock onDisk;
    return readRegularFile (descriptor, numBytes, onDisk) && onDisk.matches (data, numBytes);
}

bool ModulixQR7150PatchXml::readsBackAs (const juce::MemoryOutputStream& text, const juce::XmlElement& xml)
{
    const auto document = parse (static_cast<const char*> (text.getData()), text.getDataSize());
    return document != nullptr && document->isEquivalentTo (&xml, false);
}
