// What a file handed to a text reader really is, told from its first bytes, so that the error
// can say "this is a PNG picture" rather than complain about a character on line 1.
#pragma once

#include <string>
#include <string_view>

namespace host {

// The kind of file the bytes begin, such as "a PNG picture" or "UTF-16 text"; empty when they
// may be the plain (UTF-8 or ANSI) text the kit's formats are written in.
std::string ForeignFileKind(std::string_view bytes);

// Raises EParserError at line 1 of fileName when the bytes are not plain text, saying what they
// are and that fileName should be expected (e.g. "a form file, text beginning with 'object'").
void RefuseForeignFile(std::string_view bytes, const std::string& fileName,
                       const std::string& expected);

}  // namespace host
