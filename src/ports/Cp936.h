// Cp936: the text encoding of everything sent to a printer, code page 936
// (GBK). ASCII stays one byte, Chinese characters and full-width punctuation
// become their two-byte codes, and a character the code page lacks is sent
// as "?" so that the rest of the line still prints.
#pragma once

#include <string>
#include <string_view>

// utf8: the text as the window holds it. Bytes that are not valid UTF-8
// (a lone surrogate, a cut sequence) are characters the code page lacks.
std::string encodeCp936(std::string_view utf8);

// The same bytes appended to out, for writers that collect output.
void appendCp936(std::string& out, std::string_view utf8);
