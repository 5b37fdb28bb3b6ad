#include "toolbox/json_text.h"

#include <cstdio>

std::string ChaineJSON(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            r += '\\';
            r += static_cast<char>(c);
        } else if (c < 0x20) {
            char echappe[8];
            std::snprintf(echappe, sizeof echappe, "\\u%04x", c);
            r += echappe;
        } else {
            r += static_cast<char>(c);
        }
    }
    return r + "\"";
}
