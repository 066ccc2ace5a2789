#pragma once
// Text in and out of the report's HTML: a text made safe to put in it, and the HTML read back as
// plain text for the clipboard.

#include <string>
#include <string_view>

// `texte` with "&", "<", ">" and the double quote written as character references.
std::string EchapperHtml(std::string_view texte);

// The plain text of an HTML text: a table row per line with its cells separated by tabs, a line
// per paragraph and per line break, blanks gathered as in HTML, tags dropped, the usual
// character references decoded. Lines end with "\n".
std::string TexteBrutHtml(std::string_view html);
