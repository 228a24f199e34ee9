#include "regex/RegExErrors.h"

TRegExFehlerStatus RegExFehlerStatus;
std::function<WideString()> RegExLanguageCode;

namespace {

struct ErrorText {
    int code;
    const char* english;
    const char* german;
};

constexpr ErrorText kErrorTexts[] = {
    {0, "No Errors", "Keine Fehler"},
    {100, "Null Argument", "Null Argument"},
    {101, "RegExp Too Big", "RegExp zu lang"},
    {102, "Too Many ()", "Zu viele ()"},
    {103, "Unmatched ()", "Fehlende Klammer ()"},
    {104, "Unmatched ()", "Fehlende Klammer ()"},
    {105, "Junk On End", "Fehlerhaftes Ende"},
    {106, "*+ Operand Could Be Empty", "*+ Operant kann leer sein"},
    {107, "Nested *?+", "Verschachteltes *?+"},
    {108, "Bad Hex Digit", "Falsche HEX Zahl"},
    {109, "Invalid [] Range", "Invalide Menge []"},
    {110, "Trailing \\", "Abschließendes \\"},
    {111, "No Hex Code After \\x", "Kein HEX Code nach \\x"},
    {112, "Hex Code After \\x Too Big", "HEX Code nach \\x zu groß"},
    {113, "Unmatched []", "Fehlende Klammer []"},
    {114, "Internal Urp", "Internal Urp"},
    {115, "?+*{ Follows Nothing", "?+*{ folgt nichts"},
    {116, "Trailing \\", "Abschließendes \\"},
    {119, "RarseAtom Internal Disaster", "RarseAtom Internal Disaster"},
    {122, "Braces Argument Too Big", "Quantor {} zu groß"},
    {124, "Brace Min Param Greater then Max", "Min-Quantor größer als Max-Quantor"},
    {125, "Unclosed (?#Comment)", "Ungeschlossener (?#Kommentar)"},
    {127, "Urecognized Modifier", "Unbekannter Modifikator"},
    {128, "LinePairedSeparator must countain two different chars or no chars at all",
     "LinePairedSeparator muss zwei verschiedene oder kein Char enthalten"},
};

} // namespace

WideString RegExErrorText(int code, bool english) {
    for (const ErrorText& t : kErrorTexts)
        if (t.code == code) return U16(english ? t.english : t.german);
    return english ? u"Unknown Error" : U16("Unbekannter Fehler");
}
