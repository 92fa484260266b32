#pragma once

// Documents crafted against the plug-in's XML readers, for tests that hand them
// over every road a host or the user has: state blocks, chunks, preset files.
// JUCE's reader decodes overlong UTF-8 as the characters it spells, so a byte
// walk that sees plain text lets through what JUCE reads as markup: a processing
// instruction inside content, on which it never finishes, or tags nested past
// any stack. Every text of refusedTexts() is refused whole; the text of
// multiByteDocument() holds only valid multi-byte characters and is taken.
// Plain std::string, so that the VST2 host, which uses no JUCE, can use it.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace CraftedXmlTexts
{
/** Which document a text is: what the bank reader, the current-program reader
    and the preset reader each take. */
enum class Form { bank, program, preset };

inline std::string repeated (const std::string& text, int count)
{
    std::string result;

    for (int i = 0; i < count; ++i)
        result += text;

    return result;
}

/** A document of the form whose one preset path (a preset: whose device name)
    is the bytes given; the preset document sets depth to 0.7. */
inline std::string documentHolding (Form form, const std::string& bytes)
{
    const std::string identity = "<veloraPatch version=\"1.0\"><DeviceName>Modulix QR7150</DeviceName>"
                                 "<Properties deviceProductID=\"com.velora.ModulixQR7150\" deviceVersion=\"1.0.1\" presetVersion=\"1.0\"";
    const std::string channel = "<Channel channel=\"0\" presetPath=\"" + bytes + "\"><Value property=\"mix\" type=\"number\">0.12500</Value></Channel>";

    switch (form)
    {
        case Form::bank:
            return identity + " activePreset=\"0\"><Preset preset=\"0\" activeChannel=\"0\">" + channel + "</Preset></Properties></veloraPatch>";
        case Form::program:
            return identity + " activeChannel=\"0\">" + channel + "</Properties></veloraPatch>";
        case Form::preset:
            break;
    }

    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<veloraPatch version=\"1.0\"><DeviceName>" + bytes + "</DeviceName>"
           "<Properties deviceProductID=\"com.velora.ModulixQR7150\" deviceVersion=\"1.0.1\" presetVersion=\"1.0\">"
           "<Value property=\"depth\" type=\"number\">0.70000</Value></Properties></veloraPatch>\n";
}

/** Valid characters at the edges of every multi-byte form: U+0080, U+07FF,
    U+0800, U+D7FF and U+E000 beside the surrogates, U+FFFF, U+10000, U+10FFFF,
    and some everyday ones. */
inline const std::string multiByteText = "\xc2\x80\xdf\xbf \xe0\xa0\x80\xed\x9f\xbf\xee\x80\x80\xef\xbf\xbf "
                                         "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf Gr\xc3\xbc\xc3\x9f\x65 \xe2\x82\xac \xf0\x9f\x8e\xb8.vmxp";

/** multiByteText as the plug-in writes it back: every character beyond ASCII as
    a decimal reference. */
inline const std::string multiByteTextAsWritten = "&#128;&#2047; &#2048;&#55295;&#57344;&#65535; &#65536;&#1114111; "
                                                  "Gr&#252;&#223;e &#8364; &#127928;.vmxp";

inline std::string multiByteDocument (Form form)  { return documentHolding (form, multiByteText); }

struct Text
{
    std::string name, bytes;
};

/** Texts no reader may take; each must leave the instance as it was. */
inline std::vector<Text> refusedTexts (Form form)
{
    const auto holding = [form] (const std::string& bytes) { return documentHolding (form, bytes); };
    const auto instructionAfter = [] (const std::string& openingBracket)
    {
        return "<veloraPatch>" + openingBracket + "?x?>text</veloraPatch>";
    };

    return {
        { "an overlong '<' in two bytes opening an instruction after text (37 bytes)", instructionAfter ("\xc0\xbc") },
        { "an overlong '<' in three bytes opening an instruction", instructionAfter ("\xe0\x80\xbc") },
        { "an overlong '<' in four bytes opening an instruction", instructionAfter ("\xf0\x80\x80\xbc") },
        { "overlong opening tags nested 200,000 deep",
          "<veloraPatch>" + repeated ("\xc0\xbc" "a>", 200000) + "</veloraPatch>" },
        { "an overlong '&' before a reference beyond Unicode", holding ("\xc0\xa6#4294967295;.vmxp") },
        { "an overlong '\"' ending the value early", holding ("\xc0\xa2 b=\"\">.vmxp") },
        { "an overlong NUL", holding ("\xc0\x80.vmxp") },
        { "the first surrogate, U+D800", holding ("\xed\xa0\x80.vmxp") },
        { "the last surrogate, U+DFFF", holding ("\xed\xbf\xbf.vmxp") },
        { "U+110000, beyond Unicode", holding ("\xf4\x90\x80\x80.vmxp") },
        { "a five-byte form", holding ("\xf8\x88\x80\x80\x80.vmxp") },
        { "a lone continuation byte", holding ("\x80.vmxp") },
        { "a two-byte sequence cut at the end", holding ("x") + "\xc3" },
        { "a three-byte sequence cut at the end", holding ("x") + "\xe2\x82" },
        { "a four-byte sequence cut at the end", holding ("x") + "\xf0\x9f\x98" },
    };
}

/** For a test's child process: a reader that hangs ends it by SIGALRM after
    five minutes, far beyond what all the readings take even in the sanitizer
    builds, instead of stalling the suite. */
inline void boundHangs()
{
    alarm (300);
}

/** Ends a test's child process, 0 when all held, without the exit handlers:
    JUCE's threads still run there, beside the statics those would destroy. */
[[noreturn]] inline void exitChild (bool allHeld)
{
    std::_Exit (allHeld ? 0 : 1);
}

/** Tells whether holdsFor is true for every text of the form, naming each as it
    goes (a hang or a crash names its text last) and each for which it is not. */
template <typename Expectation>
bool holdsForEach (Form form, Expectation&& holdsFor)
{
    bool allHeld = true;

    for (const auto& text : refusedTexts (form))
    {
        std::cerr << "reading: " << text.name << "\n";

        if (! holdsFor (text.bytes))
        {
            std::cerr << "not refused: " << text.name << "\n";
            allHeld = false;
        }
    }

    return allHeld;
}
}
