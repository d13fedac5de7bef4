#include "libs/KvorCore/loader/string_case.h"

char16_t foldCaseUnit(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
    // Latin-1: À..Þ except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return char16_t(c + 0x20);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130) // I with dot above: its ASCII lower case
            return u'i';
        if (c == 0x178) // Y with diaeresis: its small form is in Latin-1
            return 0xFF;
        // Pairs start on even units, except the runs 0x139..0x148 and 0x179..0x17E.
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddRun)
            return (c % 2 == 1) ? char16_t(c + 1) : c;
        return (c % 2 == 0) ? char16_t(c + 1) : c;
    }
    // Greek capitals (0x3A2 is unassigned).
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return char16_t(c + 0x20);
    // Cyrillic: Ѐ..Џ and А..Я.
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 0x50);
    if (c >= 0x410 && c <= 0x42F)
        return char16_t(c + 0x20);
    return c;
}
