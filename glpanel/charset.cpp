#include "glpanel/charset.h"

#include <iconv.h>

#include <array>
#include <cstring>
#include <map>
#include <string>

namespace {

using CodeTable = std::array<char32_t, 256>;

CodeTable decodeCodePage(const char *codePage)
{
    CodeTable table {};
    iconv_t converter = iconv_open("UTF-32LE", codePage);
    if (converter == iconv_t(-1))
        return table;
    for (unsigned code = 1; code < 256; ++code) {
        char in = char(code);
        unsigned char out[8] = {};
        char *inPtr = &in;
        char *outPtr = reinterpret_cast<char *>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1)
            && outLeft == sizeof out - 4) {
            table[code] = char32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
        }
    }
    iconv_close(converter);
    return table;
}

} // namespace

const char *CharsetCodePage(int charset)
{
    switch (charset) {
    case 77:
        return "MACINTOSH";
    case 128:
        return "CP932";
    case 129:
        return "CP949";
    case 134:
        return "CP936";
    case 136:
        return "CP950";
    case 161:
        return "CP1253";
    case 162:
        return "CP1254";
    case 163:
        return "CP1258";
    case 177:
        return "CP1255";
    case 178:
        return "CP1256";
    case 186:
        return "CP1257";
    case 204:
        return "CP1251";
    case 222:
        return "CP874";
    case 238:
        return "CP1250";
    case 255:
        return "CP437";
    default:
        return "CP1252"; // ANSI, DEFAULT, SYMBOL and anything unknown
    }
}

char32_t DecodeCharsetByte(int charset, unsigned char byte)
{
    static std::map<std::string, CodeTable> tables;
    const char *codePage = CharsetCodePage(charset);
    auto it = tables.find(codePage);
    if (it == tables.end())
        it = tables.emplace(codePage, decodeCodePage(codePage)).first;
    return it->second[byte];
}
