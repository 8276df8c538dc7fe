#pragma once

// 8-bit character codes of a font character set, decoded through the matching Windows
// code page (0 ANSI -> 1252, 204 Cyrillic -> 1251, ...).

// The iconv name of the code page of a character set; unknown sets fall back to CP1252.
const char *CharsetCodePage(int charset);

// The Unicode character of one byte in the character set, or 0 when the code page leaves
// the byte undefined (or it is a lead byte of a multi-byte code page).
char32_t DecodeCharsetByte(int charset, unsigned char byte);
