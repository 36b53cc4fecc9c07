// Prints the OPTIONS entries of quonfel(6) for every setting, in roff, from the one table that
// the preferences file, the command line and --help walk too: a new setting is in the manual
// page as soon as it is in the table.
#include <cctype>
#include <cstdio>
#include <string>

#include "app/preferences.h"

namespace {

// Text as roff reads it: backslashes kept, hyphens as the minus of an option, and no line
// that starts like a request.
std::string Roff(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

std::string Sentence(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return Roff(text) + ".";
}

}  // namespace

int main() {
    for (const SettingRow& row : SettingRows()) {
        const std::string option = Roff(row.option), name = Roff(row.name);
        if (row.value == nullptr) {
            const std::string off = Roff(std::string("--no-") + (row.option + 2));
            std::printf(".TP\n.BR %s \", \" %s\n%s\n", option.c_str(), off.c_str(), Sentence(row.help).c_str());
            std::printf("\\fB%s\\fR turns it off for one run. Preferences file: \\fB%s = on\\fR or \\fBoff\\fR.\n",
                        off.c_str(), name.c_str());
        } else {
            const std::string value = Roff(row.value);
            std::printf(".TP\n.BI %s \" %s\"\n%s\n", option.c_str(), value.c_str(), Sentence(row.help).c_str());
            std::printf("Preferences file: \\fB%s =\\fR \\fI%s\\fR.\n", name.c_str(), value.c_str());
        }
    }
    return 0;
}
