#include "AAX_CString.h"

#include <algorithm>
#include <cstring>
#include <locale>
#include <sstream>

AAX_CString::AAX_CString (const char* newText)
{
    Set (newText);
}

AAX_CString::AAX_CString (const AAX_IString& other)
{
    Set (other.Get());
}

AAX_CString& AAX_CString::operator= (const AAX_CString& other)
{
    text = other.text;
    return *this;
}

AAX_CString& AAX_CString::operator= (const AAX_IString& other)
{
    if (&other != this)
        Set (other.Get());

    return *this;
}

AAX_CString& AAX_CString::operator= (const char* newText)
{
    Set (newText);
    return *this;
}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t> (text.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::Get() const
{
    return text.c_str();
}

void AAX_CString::Set (const char* newText)
{
    // The text may point into this string itself, so it is copied before assigning.
    text = std::string (newText != nullptr ? newText : "");
}

bool AAX_CString::operator== (const AAX_CString& other) const
{
    return std::strcmp (Get(), other.Get()) == 0;
}

AAX_CString& AAX_CString::Erase (uint32_t pos, uint32_t count)
{
    if (pos < text.size())
        text.erase (pos, std::min<size_t> (count, text.size() - pos));

    return *this;
}

void AAX_CString::SubString (uint32_t pos, uint32_t count, AAX_IString* out) const
{
    if (out == nullptr)
        return;

    out->Set (pos < text.size() ? text.substr (pos, count).c_str() : "");
}

AAX_CString& AAX_CString::AppendNumber (double value, int32_t precision)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream.setf (std::ios::fixed, std::ios::floatfield);
    stream.precision (std::max (precision, 0));
    stream << value;
    text += stream.str();
    return *this;
}

bool AAX_CString::ToDouble (double* out) const
{
    std::istringstream stream (text);
    stream.imbue (std::locale::classic());
    double value = 0.0;

    if (! (stream >> value))
    {
        *out = 0.0;
        return false;
    }

    *out = value;
    return true;
}
